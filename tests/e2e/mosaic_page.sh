#!/usr/bin/env bash
# The default mosaic page as a browser draws it: headless Chromium renders the sample's
# mosaic (glyfora-convert --html --page, default templates), and the drawn mosaic must
# keep the picture's proportions (width / height within 10 %) with no white pixel row
# inside it.
# Usage: mosaic_page.sh GLYFORA_CONVERT_BINARY PICTURE
set -euo pipefail
tool=$1
picture=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config HOME=$work
browser=$(command -v chromium || true)
[ -n "$browser" ] || { echo "chromium is missing (scripts/deps.sh installs it)" >&2; exit 1; }

"$tool" --html --page -o "$work/page.html" "$picture"
# Bounded: a browser that hangs fails the test instead of holding the run.
timeout -k 10 120 "$browser" --headless=new --no-sandbox --disable-gpu --hide-scrollbars \
  --no-first-run --user-data-dir="$work/profile" --window-size=800,600 \
  --screenshot="$work/shot.png" "file://$work/page.html" >"$work/browser.log" 2>&1 || true
[ -s "$work/shot.png" ] || { echo "no screenshot" >&2; cat "$work/browser.log" >&2; exit 1; }

# The mosaic: everything that is not the white page around it.
read -r w h x y <<<"$(convert "$work/shot.png" -fuzz 2% -trim \
  -format '%w %h %[fx:page.x] %[fx:page.y]' info:)"
read -r pw ph <<<"$(identify -format '%w %h' "$picture")"
fail=0
awk -v w="$w" -v h="$h" -v pw="$pw" -v ph="$ph" 'BEGIN {
  r = (w / h) / (pw / ph); printf "mosaic %dx%d, aspect %.3f of the picture'"'"'s\n", w, h, r
  exit !(r > 0.9 && r < 1.1) }' || { echo "the mosaic is out of proportion" >&2; fail=1; }
# Each pixel row of the mosaic averaged to one grey value: a white row averages 255.
white=$(convert "$work/shot.png" -crop "${w}x${h}+${x}+${y}" +repage -colorspace gray \
  -scale "1x${h}!" -depth 8 txt:- | awk -F'[(), ]+' 'NR > 1 && $3 >= 250 { n++ } END { print n + 0 }')
[ "$white" -eq 0 ] || { echo "$white white rows inside the mosaic" >&2; fail=1; }
exit $fail
