#!/usr/bin/env bash
# End-to-end conversions in the real program under a window manager, driven by keys
# (termination signals during a conversion are in termination.sh):
#   1. Ctrl+T, Enter on the question: the conversion window holds exactly what
#      glyfora-convert prints for the same picture (read through select all and copy);
#   2. Ctrl+H, a name typed into the save dialog: the page is what
#      glyfora-convert --html --page writes, and it is handed to the browser launcher;
#   3. a large picture's HTML conversion (seconds long) cancelled with Esc: the main
#      window is back and nothing is asked or shown. The progress dialog is checked while
#      another "copy" (this script) holds the intermediate file, so that it cannot go
#      before it was looked at, however fast or busy the machine.
# Usage: conversion.sh GLYFORA_BINARY SAMPLE_PICTURE GLYFORA_CONVERT_BINARY
set -euo pipefail
[ "${1:-}" = --inside ] || export CONVERT_TOOL=$3
source "$(dirname "$0")/under_xvfb.sh" "$@"
convert_tool=$CONVERT_TOOL
export XDG_CONFIG_HOME="$WORK/config" XDG_RUNTIME_DIR="$WORK/runtime"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" "$WORK/bin" "$WORK/out"
chmod 700 "$XDG_RUNTIME_DIR"
# The browser launcher: records what it was asked to open, and from where.
cat > "$WORK/bin/xdg-open" <<INNER
#!/bin/sh
printf '%s\n' "\$1" > "$WORK/opened.txt"
pwd > "$WORK/opened-dir.txt"
INNER
chmod +x "$WORK/bin/xdg-open"
export PATH="$WORK/bin:$PATH"

source "$(dirname "$0")/windows.sh"
start_wm
fail=0
say() { echo "$*" >&2; fail=1; }

ended() { # pid: waits (bounded) for the process to end
  for _ in $(seq 1 300); do
    kill -0 "$1" 2>/dev/null || { wait "$1" 2>/dev/null; return 0; }
    sleep 0.1
  done
  kill -KILL "$1"; return 1
}
start() { # picture: starts glyfora on it, waits for its main window
  "$GLYFORA_BINARY" "$1" &
  pid=$!
  main=$(wait_window "$pid" "$1 - glyfora")
  [ -n "$main" ] || { say "main window did not appear for $1"; return 1; }
  activate "$main" || say "main window not focused"
}
# Text as compared: line ends as LF, no final line break.
normal() { tr -d '\r' | sed -e '$a\'; }

picture="$WORK/cat.gif"
cp "$SAMPLE" "$picture"

# 1. Ctrl+T, then Enter on the question (No is the default): the conversion window.
if start "$picture"; then
  xdotool key ctrl+t
  question=$(wait_question "$pid" "$picture - glyfora") || say "Ctrl+T: no question"
  activate "$question" || say "question not focused"
  xdotool key Return
  text=$(wait_window "$pid" "変換ウィンドウ")
  if [ -z "$text" ]; then
    say "Enter on the question: no conversion window"
  else
    { copy_all "$text" || true; } | normal > "$WORK/window.txt"
    "$convert_tool" "$picture" | normal > "$WORK/tool.txt"
    cmp -s "$WORK/window.txt" "$WORK/tool.txt" ||
      say "conversion window text differs from glyfora-convert ($(wc -c < "$WORK/window.txt") vs $(wc -c < "$WORK/tool.txt") bytes)"
  fi
  menu_command "$main" "$pid" alt+f x || say "File > Exit: no menu"
  ended "$pid" || say "File > Exit did not end the program"
fi

# 2. Ctrl+H straight to the save dialog; the typed name is saved and opened.
page="$WORK/out/page.html"
if start "$picture"; then
  xdotool key ctrl+h
  save=$(wait_window "$pid" "名前をつけて保存")
  if [ -z "$save" ]; then
    say "Ctrl+H: no save dialog"
  else
    activate "$save" || say "save dialog not focused"
    xdotool key ctrl+a; xdotool type --delay 20 "$page"; xdotool key Return
    for _ in $(seq 1 100); do [ -s "$WORK/opened.txt" ] && break; sleep 0.1; done
    "$convert_tool" --html --page "$picture" > "$WORK/tool.html"
    cmp -s "$page" "$WORK/tool.html" || say "saved page differs from glyfora-convert --html --page"
    [ "$(cat "$WORK/opened.txt" 2>/dev/null)" = "$page" ] || say "page not handed to the browser"
    [ "$(cat "$WORK/opened-dir.txt" 2>/dev/null)" = "$WORK/out" ] ||
      say "browser not started in the save folder"
  fi
  kill -TERM "$pid"; ended "$pid" || say "SIGTERM did not end the program"
  grep -qxF "Directory=$WORK/out" "$XDG_CONFIG_HOME/glyfora/glyfora.ini" ||
    say "the save folder was not remembered"
fi

# 3. A large conversion cancelled with Esc on the progress dialog. However fast or busy
# the machine, the dialog must stay until it was looked at and cancelled: this script
# holds the intermediate file, as another copy converting would, so the run waits with
# its dialog shown until the file is released after the Esc.
big="$WORK/big.bmp"
convert -size 2000x2000 xc:gray +noise Random "$big"
holder=
# The lock's holder never outlives the script, whatever ends it.
trap '[ -z "$holder" ] || kill "$holder" 2>/dev/null || true' EXIT
intermediate="$XDG_RUNTIME_DIR/~glyfora.tmp"
hold() { # takes the lock; false when it was not had
  rm -f "$WORK/release"
  flock -x "$intermediate" sh -c 'while [ ! -e "$1" ]; do sleep 0.05; done' _ "$WORK/release" &
  holder=$!
  for _ in $(seq 1 300); do
    flock -n "$intermediate" true || return 0
    sleep 0.1
  done
  return 1
}
release() {
  touch "$WORK/release"
  wait "$holder" 2>/dev/null || true
  holder=
}
if start "$big"; then
  hold || say "the intermediate file's lock was not taken"
  xdotool key ctrl+h
  progress=$(wait_window "$pid" "glyfora" 300)
  if [ -z "$progress" ]; then
    say "no progress dialog"
  else
    [ -z "$(named "$pid" "$big - glyfora")" ] || say "main window shown during the scan"
    # Centred on the 1280 x 800 screen with its frame, to the pixel the rounding allows.
    wait_framed "$progress" || say "progress dialog not framed"
    geometry=$(xwininfo -id "$progress" | sed -n 's/^ *\(Absolute upper-left [XY]\|Width\|Height\):  *\(-*[0-9]*\)$/\2/p' | tr '\n' ' ')
    extents=$(xprop -id "$progress" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    read -r x y width height left right top bottom <<<"$geometry $extents"
    off_x=$(((x - left) * 2 - (1280 - width - left - right)))
    off_y=$(((y - top) * 2 - (800 - height - top - bottom)))
    [ "${off_x#-}" -le 2 ] && [ "${off_y#-}" -le 2 ] ||
      say "progress dialog not centred: frame at $((x - left)),$((y - top)), ${width}x${height} $extents"
    activate "$progress" || say "progress dialog not focused"
    xdotool key Escape
    back=$(wait_window "$pid" "$big - glyfora" 600)
    [ -n "$back" ] || say "main window not back after the cancel"
    wait_hidden "$progress" 600 || say "progress dialog still shown after the cancel"
    release
    # Anything asked would be shown at once as the dialog goes, but mapped by the window
    # manager a little later on a busy machine: a second's watch covers that.
    for _ in $(seq 1 10); do
      if [ -n "$(named "$pid" "glyfora")" ]; then
        say "something was asked after the cancel"
        [ -z "${SHOT:-}" ] || import -window root "$SHOT"
        break
      fi
      [ -z "$(named "$pid" "名前をつけて保存")" ] || { say "save dialog shown after the cancel"; break; }
      sleep 0.1
    done
  fi
  [ -z "$holder" ] || release
  kill -TERM "$pid"; ended "$pid" || say "SIGTERM did not end the program"
fi

exit $fail
