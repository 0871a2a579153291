#!/usr/bin/env bash
# Runs a command under an Xvfb of its own and leaves with the command's status; the
# server is gone before it returns. Usage: xvfb.sh COMMAND [ARGS...]
#
# The server picks its display itself (-displayfd) and names it once it listens, so end-
# to-end tests run side by side never take the same display. xvfb-run -a guesses a free
# number from the lock files first, and two tests starting together could end up talking
# to one server with the other's cookie ("could not connect to display").
set -uo pipefail
dir=$(mktemp -d)
mkfifo "$dir/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$dir/display" 2>"$dir/log" &
server=$!
stop() {
  kill "$server" 2>/dev/null
  wait "$server" 2>/dev/null
  rm -rf "$dir"
}
trap stop EXIT
# The number comes when the server is ready; end of file when it failed to start.
if ! read -r -t 60 display <"$dir/display" || [ -z "$display" ]; then
  echo "Xvfb did not start:" >&2
  cat "$dir/log" >&2
  exit 1
fi
DISPLAY=":$display" "$@"
