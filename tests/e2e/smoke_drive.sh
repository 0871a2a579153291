#!/usr/bin/env bash
# Inside Xvfb: starts glyfora on the picture, records its title, closes it through the
# File menu. Reads $binary and $work from the environment (see smoke.sh). Every wait is
# for a window or for the process, with a bound; none is a fixed pause.
set -euo pipefail
cd "$work"
"$binary" my pictures '&' 写真/sample.gif &
pid=$!
win=$(timeout 30 xdotool search --sync --onlyvisible --pid "$pid" --name ' - glyfora$' | head -n 1)
title=$(xdotool getwindowname "$win")
echo "$title" > "$work/title.txt"
[ -n "${SMOKE_SCREENSHOT:-}" ] && import -window root "$SMOKE_SCREENSHOT"

# True once the process has ended, waiting at most about $1 tenths of a second.
ended_within() {
  for _ in $(seq 1 "$1"); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.1
  done
  ! kill -0 "$pid" 2>/dev/null
}

# File > Exit, as a person would: Alt+F, then X once the menu's own window (titled
# "glyfora" alone) is on screen. Tried again should a busy machine lose a key.
for attempt in 1 2 3 4 5; do
  kill -0 "$pid" 2>/dev/null || break
  xdotool windowfocus --sync "$win" 2>/dev/null || true
  xdotool key --window "$win" alt+f
  if timeout 10 xdotool search --sync --onlyvisible --pid "$pid" --name '^glyfora$' >/dev/null 2>&1; then
    xdotool key x
    ended_within 100 && break
  fi
done
if ! ended_within 1; then
  echo "glyfora did not close through its File menu" >&2
  kill -KILL "$pid"
  exit 1
fi
wait "$pid"
