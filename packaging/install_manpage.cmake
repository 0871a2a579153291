# Run when the tree is installed (cmake --install, CPack): writes glyfora(1) with the folder
# its help file goes to under this install's prefix, so the page says what the install rules
# do whatever the prefix. The caller sets GLYFORA_MAN_SOURCE (glyfora.1.in), GLYFORA_MAN_WORK
# (a scratch folder), GLYFORA_PRIVATE_DIR and GLYFORA_MAN_DIR (install folders, relative to
# the prefix or absolute). file(INSTALL) adds DESTDIR itself, as CPack sets it.
cmake_path(ABSOLUTE_PATH GLYFORA_PRIVATE_DIR BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}" NORMALIZE
           OUTPUT_VARIABLE GLYFORA_HELP_DIR)
cmake_path(ABSOLUTE_PATH GLYFORA_MAN_DIR BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}" NORMALIZE
           OUTPUT_VARIABLE man_dir)
file(MAKE_DIRECTORY "${GLYFORA_MAN_WORK}")
configure_file("${GLYFORA_MAN_SOURCE}" "${GLYFORA_MAN_WORK}/glyfora.1" @ONLY)
# Compressed as Debian installs manual pages: best compression, no name or time stamp.
execute_process(COMMAND gzip -9nf glyfora.1 WORKING_DIRECTORY "${GLYFORA_MAN_WORK}"
                COMMAND_ERROR_IS_FATAL ANY)
file(INSTALL "${GLYFORA_MAN_WORK}/glyfora.1.gz" DESTINATION "${man_dir}/man1")
