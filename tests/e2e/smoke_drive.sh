#!/usr/bin/env bash
# Inside Xvfb: starts glyfora on the picture, records its title, closes it through the
# File menu. Reads $binary and $work from the environment (see smoke.sh).
set -euo pipefail
cd "$work"
"$binary" my pictures '&' 写真/sample.gif &
pid=$!
win=$(timeout 30 xdotool search --sync --name ' - glyfora$' | head -n 1)
title=$(xdotool getwindowname "$win")
echo "$title" > "$work/title.txt"
[ -n "${SMOKE_SCREENSHOT:-}" ] && import -window root "$SMOKE_SCREENSHOT"
# File > Exit, as a person would; tried again should a busy machine swallow a key.
for attempt in 1 2 3 4 5; do
  kill -0 "$pid" 2>/dev/null || break
  xdotool windowfocus --sync "$win" 2>/dev/null || true
  xdotool key --window "$win" alt+f
  sleep 0.5
  xdotool key x
  for _ in $(seq 1 40); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
done
if kill -0 "$pid" 2>/dev/null; then
  echo "glyfora did not close through its File menu" >&2
  kill "$pid"
  exit 1
fi
wait "$pid"
