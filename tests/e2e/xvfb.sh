#!/usr/bin/env bash
# Runs a command under an Xvfb of its own and leaves with the command's status; the
# server is gone before it returns. Usage: xvfb.sh COMMAND [ARGS...]
#
# The server never resets: by default it does so whenever its last client leaves, and a
# client connecting meanwhile is refused (a window manager started while a script polls
# with xprop failed now and then). It picks a free display itself (-displayfd) and names
# it only once it listens. Starts and stops of the servers of tests run side by side take
# turns under one lock: a server giving up on a display number another one is taking
# unlinks that one's socket file.
set -uo pipefail
dir=$(mktemp -d)
mkfifo "$dir/display"
exec 9>>"${TMPDIR:-/tmp}/glyfora-e2e-xvfb-$(id -u).lock"
flock 9
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$dir/display" 2>"$dir/log" 9>&- &
server=$!
stop() {
  flock 9
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
flock -u 9
DISPLAY=":$display" "$@" 9>&-
