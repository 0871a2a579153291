# Sourced by end-to-end scripts called as SCRIPT GLYFORA_BINARY SAMPLE_PICTURE: the first
# time through it runs the script again under Xvfb, with GLYFORA_BINARY, SAMPLE and a fresh
# folder WORK exported, and leaves with its status; inside Xvfb it returns at once.
if [ "${1:-}" != --inside ]; then
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  export GLYFORA_BINARY=$1 SAMPLE=$2 WORK=$work
  unset QT_QPA_PLATFORM
  "$(dirname "$0")/xvfb.sh" "$0" --inside
  exit $?
fi
