# Builds each probe that must fail and the one that must succeed; fails on any surprise.
foreach(probe ${PROBES})
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target ${probe}
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(result EQUAL 0)
    message(FATAL_ERROR "${probe} built: a widget include got into core code")
  endif()
  if(NOT out MATCHES "core code must not use|No such file or directory")
    message(FATAL_ERROR "${probe} failed for another reason:\n${out}")
  endif()
  message(STATUS "${probe}: refused as it should be")
endforeach()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target ${GOOD}
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${GOOD} (Core and Gui only) did not build:\n${out}")
endif()
message(STATUS "${GOOD}: built")
