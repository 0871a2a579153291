#!/usr/bin/env bash
# End-to-end: the main window under a real window manager (openbox on Xvfb). The first
# run opens with the design client width (8880 twips = 592 pixels) and its frame centred
# on the screen; the stored geometry is kept from run to run, frame included; a stored
# size no screen can hold opens at the design size; a design size larger than the screen
# (twice the scale) shrinks to fit it. Every wait is bounded.
# Usage: geometry.sh GLYFORA_BINARY SAMPLE_PICTURE
set -euo pipefail

. "$(dirname "$0")/under_xvfb.sh"

export XDG_CONFIG_HOME=$WORK/config XDG_RUNTIME_DIR=$WORK/runtime
mkdir -p "$XDG_CONFIG_HOME/glyfora" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
ini=$XDG_CONFIG_HOME/glyfora/glyfora.ini

source "$(dirname "$0")/windows.sh"
start_wm
trap 'kill $wm 2>/dev/null || true' EXIT

# One run: start, wait for the framed window to settle, end with SIGTERM (which runs
# the shutdown steps that store the geometry); prints the stored Window group.
run_once() {
  "$GLYFORA_BINARY" "$SAMPLE" &
  local pid=$! id
  id=$(timeout 30 xdotool search --sync --onlyvisible --pid "$pid" --name ' - glyfora$' | head -n 1)
  wait_framed "$id" || echo "the window did not settle in its frame" >&2
  if [ -n "${MEASURE:-}" ]; then
    xwininfo -id "$id" | sed -n 's/^ *\(Absolute upper-left [XY]\|Width\|Height\):  *\(-*[0-9]*\)$/\2/p' | tr '\n' ' ' > "$MEASURE"
    xprop -id "$id" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g' >> "$MEASURE"
  fi
  kill -TERM "$pid"
  for _ in $(seq 1 300); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    kill -KILL "$pid"
    echo "glyfora did not end on SIGTERM" >&2
    exit 1
  fi
  wait "$pid" 2>/dev/null || true
  sed -n '/^\[Window\]/,/^\[/p' "$ini" | grep -E '^(Left|Top|Width|Height)='
}

# First run, nothing stored: the client's x, y, width and height, then the frame's left,
# right, top and bottom extents.
MEASURE=$WORK/first.txt run_once >/dev/null
read -r x y width height left right top bottom < "$WORK/first.txt"
outer_left=$((x - left))
outer_top=$((y - top))
centred_left=$(((1280 - (width + left + right)) / 2))
centred_top=$(((800 - (height + top + bottom)) / 2))
near() { [ $(($1 - $2)) -le 1 ] && [ $(($2 - $1)) -le 1 ]; }
if [ "$width" -ne 592 ] || ! near "$outer_left" "$centred_left" || ! near "$outer_top" "$centred_top"; then
  echo "first run: client width $width (592 expected), frame at $outer_left,$outer_top" \
       "(centred: $centred_left,$centred_top)" >&2
  exit 1
fi

# At twice the scale the design size is taller than the 400-pixel screen: the first start
# shrinks the window to the screen, frame and title bar included, and centres it.
rm -f "$ini"
QT_SCALE_FACTOR=2 MEASURE=$WORK/scaled.txt run_once >/dev/null
read -r x y width height left right top bottom < "$WORK/scaled.txt"
if [ $((x - left)) -lt 0 ] || [ $((y - top)) -lt 0 ] || [ $((x + width + right)) -gt 1280 ] ||
   [ $((y + height + bottom)) -gt 800 ]; then
  echo "at scale 2 the window reaches past the 1280 x 800 screen: client $width x $height" \
       "at $x,$y, frame $left $right $top $bottom" >&2
  exit 1
fi

printf '[Window]\nWidth=99999999\nHeight=99999999\n' > "$ini"
first=$(run_once)
width=$(sed -n 's/^Width=//p' <<<"$first")
height=$(sed -n 's/^Height=//p' <<<"$first")
# The design client area is 8880 x 6060 twips; the stored outer size adds the frame,
# menu bar and bars but stays far below the screen (1280 x 800 pixels = 19200 x 12000).
if [ "${width%.*}" -lt 8880 ] || [ "${width%.*}" -gt 12000 ] || [ "${height%.*}" -gt 10000 ]; then
  echo "a stored size of 99999999 twips was not fitted: $first" >&2
  exit 1
fi
second=$(run_once)
third=$(run_once)
if [ "$second" != "$third" ]; then
  echo "the window changed between two runs:" >&2
  echo "$second" >&2
  echo "$third" >&2
  exit 1
fi
echo "geometry kept: $(echo $third)"
