#!/usr/bin/env bash
# End-to-end: one termination signal ends the real glyfora under Xvfb, through its
# shutdown steps, whatever message box is open at the time:
#   1. the start-up "file not found" box (shown before the event loop runs): the process
#      ends and its settings file is written;
#   2. the shutdown "settings could not be saved" box (File > Exit with an unwritable
#      settings folder): the process ends;
#   3. a signal with that unwritable folder and no box open yet: the process ends without
#      waiting on the box its shutdown would show.
# Every wait is bounded; a process still running at the end of one fails the test.
# Usage: termination.sh GLYFORA_BINARY SAMPLE_PICTURE
set -euo pipefail

. "$(dirname "$0")/under_xvfb.sh"

binary=$GLYFORA_BINARY
fail=0
pid=

# Waits (bounded) for the process to end; true when it did.
ended() {
  for _ in $(seq 1 300); do
    kill -0 "$pid" 2>/dev/null || { wait "$pid" 2>/dev/null || true; return 0; }
    sleep 0.1
  done
  return 1
}

# A fresh settings folder for one case; $2 = "unwritable" puts it under a regular file.
prepare() {
  local case=$1
  mkdir -p "$WORK/$case/runtime"
  chmod 700 "$WORK/$case/runtime"
  export XDG_RUNTIME_DIR="$WORK/$case/runtime"
  if [ "${2:-}" = unwritable ]; then
    : > "$WORK/$case/blocker"
    export XDG_CONFIG_HOME="$WORK/$case/blocker/config"
  else
    export XDG_CONFIG_HOME="$WORK/$case/config"
  fi
}

# The visible window of the process titled exactly "glyfora" (a message box, a menu, or
# the main window without a picture), waited for with a bound.
wait_window() {
  timeout 30 xdotool search --sync --onlyvisible --pid "$pid" --name "$1" 2>/dev/null | head -n 1
}

give_up() {
  echo "$1" >&2
  fail=1
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

# 1. The start-up box.
prepare startup
"$binary" "$WORK/no such picture.gif" &
pid=$!
if [ -z "$(wait_window '^glyfora$')" ]; then
  give_up "start-up: the not-found box did not appear"
else
  kill -TERM "$pid"
  if ! ended; then
    give_up "start-up: one SIGTERM with the not-found box open did not end glyfora"
  elif ! grep -qx '\[Window\]' "$XDG_CONFIG_HOME/glyfora/glyfora.ini" 2>/dev/null; then
    echo "start-up: the settings were not written" >&2
    fail=1
  fi
fi

# 2. The shutdown box.
prepare shutdown unwritable
"$binary" "$SAMPLE" &
pid=$!
win=$(wait_window ' - glyfora$')
box=
if [ -n "$win" ]; then
  # File > Exit; the menu's own window is waited for, and the whole is tried again
  # should a busy machine lose a key.
  for _ in 1 2 3; do
    xdotool windowfocus --sync "$win" 2>/dev/null || true
    xdotool key --window "$win" alt+f
    menu=$(timeout 5 xdotool search --sync --onlyvisible --pid "$pid" --name '^glyfora$' 2>/dev/null | head -n 1) || true
    if [ -n "$menu" ]; then
      xdotool key x
      # The box is the next visible window so titled that is not the menu.
      for _ in $(seq 1 300); do
        box=$(xdotool search --onlyvisible --pid "$pid" --name '^glyfora$' 2>/dev/null | grep -vx "$menu" | head -n 1) || true
        [ -n "$box" ] && break
        sleep 0.1
      done
      [ -n "$box" ] && break
    fi
  done
fi
if [ -z "$box" ]; then
  give_up "shutdown: the settings-not-saved box did not appear"
else
  # The box is up, and so is the (closing) main window.
  [ -n "${TERMINATION_SCREENSHOT:-}" ] && import -window root "$TERMINATION_SCREENSHOT"
  kill -TERM "$pid"
  ended || give_up "shutdown: one SIGTERM with the settings-not-saved box open did not end glyfora"
fi

# 3. A signal before the shutdown box.
prepare unsaved unwritable
"$binary" "$SAMPLE" &
pid=$!
if [ -z "$(wait_window ' - glyfora$')" ]; then
  give_up "no box: the main window did not appear"
else
  kill -TERM "$pid"
  ended || give_up "no box: SIGTERM with unwritable settings did not end glyfora"
fi

[ $fail -eq 0 ] && echo "3 passed, 0 failed" || echo "failed"
exit $fail
