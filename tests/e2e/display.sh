#!/usr/bin/env bash
# The real glyfora without a display, and on a Wayland compositor of its own. Without one
# it writes its one line and ends with status 1. On weston's headless back end (no X display,
# no platform chosen) it starts through Qt's Wayland plugin, shows its main window with the
# picture's caption, ends on a termination signal with status 0, and keeps the stored window
# position, which a Wayland client can neither learn nor set.
# Usage: display.sh GLYFORA_BINARY SAMPLE_PICTURE
set -uo pipefail
binary=$1
sample=$(realpath "$2")
work=$(mktemp -d)
weston= pid=
trap 'kill $pid $weston 2>/dev/null; wait; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_CONFIG_HOME/glyfora" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM XDG_SESSION_TYPE
fail=0
no_display="glyfora の実行にはグラフィカルなディスプレイが必要です。ディスプレイなしで変換するには glyfora-convert を使ってください。"
"$binary" "$sample" >"$work/out" 2>"$work/err"
status=$?
[ $status -eq 1 ] && [ "$(cat "$work/err")" = "$no_display" ] && [ ! -s "$work/out" ] ||
  { echo "without a display: status $status,"; cat "$work/out" "$work/err"; fail=1; }

weston --backend=headless-backend.so --socket=wayland-e2e --idle-time=0 --debug --no-config \
  >"$work/weston.log" 2>&1 &
weston=$!
for _ in $(seq 1 300); do [ -S "$XDG_RUNTIME_DIR/wayland-e2e" ] && break; sleep 0.1; done
export WAYLAND_DISPLAY=wayland-e2e

ini="$XDG_CONFIG_HOME/glyfora/glyfora.ini"
printf '[Window]\nLeft=3000\nTop=1500\n' >"$ini"
"$binary" "$sample" >"$work/out" 2>&1 &
pid=$!
# The compositor's scene graph lists each top-level window with its process and caption.
title="top-level window '$sample - glyfora' of glyfora"
shown=0
for _ in $(seq 1 300); do
  timeout 10 weston-debug scene-graph 2>/dev/null | grep -F "PID $pid," | grep -qF "$title" &&
    { shown=1; break; }
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
kill -TERM "$pid" 2>/dev/null
wait "$pid"
status=$?
pid=
[ $shown -eq 1 ] && [ $status -eq 0 ] ||
  { echo "window shown: $shown, status $status"; cat "$work/out"; fail=1; }
grep -qx 'Left=3000' "$ini" && grep -qx 'Top=1500' "$ini" ||
  { echo "stored position not kept:"; grep -E '^(Left|Top)=' "$ini"; fail=1; }
[ $fail -eq 0 ] && echo "1 passed, 0 failed" || { echo "0 passed, 1 failed"; exit 1; }
