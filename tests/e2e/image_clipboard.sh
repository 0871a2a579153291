#!/usr/bin/env bash
# End-to-end check of the picture clipboard under a window manager: a selection dragged over
# the picture and copied with Ctrl+C reaches other programs as a PNG with exactly the
# selected pixels (read back with xclip); a click without a move removes the selection and
# the next copy is the whole picture.
# Usage: image_clipboard.sh GLYFORA_BINARY SAMPLE_PICTURE (the sample is not used)
set -euo pipefail
source "$(dirname "$0")/under_xvfb.sh" "$@"
export XDG_CONFIG_HOME="$WORK/config" XDG_RUNTIME_DIR="$WORK/runtime"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
cd "$WORK"

# A noisy picture inside a one-pixel magenta frame, so its place on the screen can be found.
convert -size 198x148 plasma:fractal -seed 7 -bordercolor '#FF00FF' -border 1 \
  -type TrueColor PNG24:src.png

source "$(dirname "$0")/windows.sh"
start_wm
fail=0
say() { echo "$*" >&2; fail=1; }

"$GLYFORA_BINARY" "$WORK/src.png" &
pid=$!
win=$(timeout 30 xdotool search --sync --onlyvisible --pid "$pid" --name ' - glyfora$' | head -n 1)
xdotool windowactivate --sync "$win" 2>/dev/null || true

# The screen position of the picture's top-left pixel; waits (bounded) for it to be painted.
origin=
for _ in $(seq 1 50); do
  import -window root shot.png
  origin=$(convert shot.png txt:- | grep -m1 -i '#FF00FF' | cut -d: -f1 || true)
  [ -n "$origin" ] && break
  sleep 0.1
done
if [ -z "$origin" ]; then
  echo "picture not found on the screen" >&2
  kill "$pid" "$wm"
  exit 1
fi
ox=${origin%,*}
oy=${origin#*,}

# Copies with Ctrl+C and reads the clipboard as PNG into $1, waiting (bounded) until it
# holds a picture of the size $2.
copy_to() {
  rm -f "$1"
  xdotool key --window "$win" ctrl+c
  for _ in $(seq 1 50); do
    if xclip -selection clipboard -t image/png -o > "$1" 2>/dev/null && [ -s "$1" ] &&
      [ "$(identify -format '%wx%h' "$1" 2>/dev/null)" = "$2" ]; then
      return 0
    fi
    sleep 0.1
  done
  return 1
}
differing() { compare -metric AE "$1" "$2" null: 2>&1 || true; }

# Drag from (10, 10) to (40, 35) of the picture, through a point in between.
xdotool mousemove $((ox + 10)) $((oy + 10)) mousedown 1
xdotool mousemove $((ox + 25)) $((oy + 20))
xdotool mousemove $((ox + 40)) $((oy + 35)) mouseup 1
if copy_to sel.png 30x25; then
  convert src.png -crop 30x25+10+10 +repage crop.png
  [ "$(differing sel.png crop.png)" = 0 ] || say "copied selection differs from the picture"
else
  say "no 30 x 25 picture on the clipboard after copying the selection"
fi

# A click without a move: no selection, the whole picture is copied.
xdotool mousemove $((ox + 60)) $((oy + 60)) click 1
if copy_to whole.png 200x150; then
  [ "$(differing whole.png src.png)" = 0 ] || say "copied picture differs from the picture"
else
  say "no 200 x 150 picture on the clipboard after copying the whole picture"
fi

kill "$pid"
wait "$pid" 2>/dev/null || true
kill "$wm" 2>/dev/null || true
[ "$fail" = 0 ] && echo "clipboard holds exactly the copied pixels"
exit "$fail"
