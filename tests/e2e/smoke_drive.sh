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
xdotool windowfocus --sync "$win"
xdotool key --window "$win" alt+f
sleep 0.5
xdotool key x
for _ in $(seq 1 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  echo "glyfora did not close through its File menu" >&2
  kill "$pid"
  exit 1
fi
wait "$pid"
