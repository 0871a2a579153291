#!/usr/bin/env bash
# The conversion window under a window manager: its close box only hides it, the main
# window's Ctrl+W shows the same text again, and a termination signal with the window
# open still ends the program, with the window's settings stored.
# Usage: text_window.sh GLYFORA_BINARY SAMPLE_PICTURE
set -euo pipefail
source "$(dirname "$0")/under_xvfb.sh" "$@"
export XDG_CONFIG_HOME="$WORK/config" XDG_RUNTIME_DIR="$WORK/runtime"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
source "$(dirname "$0")/windows.sh"
start_wm
fail=0
say() { echo "$*" >&2; fail=1; }
copied() { copy_all "$1" | md5sum; } # window: the checksum of its whole text

picture="$WORK/cat.gif"
cp "$SAMPLE" "$picture"
"$GLYFORA_BINARY" "$picture" &
pid=$!
main=$(wait_window "$pid" "$picture - glyfora")
[ -n "$main" ] || { say "no main window"; kill "$pid"; exit 1; }
activate "$main" || say "main window not focused"
xdotool key ctrl+t
question=$(wait_question "$pid" "$picture - glyfora") || say "Ctrl+T: no question"
activate "$question" || say "question not focused"
xdotool key Return
text=$(wait_window "$pid" "変換ウィンドウ")
if [ -z "$text" ]; then
  say "no conversion window"
else
  before=$(copied "$text") || say "select all and copy gave nothing"
  # The window manager's close (Alt+F4 under openbox): the window goes, the process and
  # its text stay.
  activate "$text" || say "conversion window not focused"
  xdotool key alt+F4
  wait_gone "$pid" "変換ウィンドウ" || say "close box: the conversion window is still shown"
  kill -0 "$pid" 2>/dev/null || say "close box ended the program"
  activate "$main" || say "main window not focused"
  xdotool key ctrl+w
  again=$(wait_window "$pid" "変換ウィンドウ")
  [ -n "$again" ] || say "Ctrl+W did not show the conversion window again"
  [ -n "$again" ] && [ "$(copied "$again")" != "$before" ] && say "the text changed on the way"
fi
# A termination signal with the conversion window shown ends the program in order.
kill -TERM "$pid"
for _ in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then
  say "SIGTERM did not end the program with the conversion window open"
  kill -KILL "$pid"
fi
ini="$XDG_CONFIG_HOME/glyfora/glyfora.ini"
grep -q '^Font\\Name=Terminal' "$ini" 2>/dev/null || say "conversion window settings not stored"
exit $fail
