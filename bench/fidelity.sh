#!/usr/bin/env bash
# How much each look's art resembles its picture at 100 columns, beside jp2a, chafa and
# img2txt: art_fidelity's scores (SSIM of the cells' lightness, whole cells / 2 x 2 inside
# each; mean CIEDE2000 of the cells' colours) for plain text (black ink on white) and for a
# dark colour terminal. Photos come from Debian's python3-skimage package (its data folder,
# unpacked, not installed); a line drawing, a page of text and a dark picture are made here.
#
# Usage: bench/fidelity.sh [build folder]
# The dark rows are made by the tool told the terminal is dark (--background dark), as a
# person's dark terminal gets them.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build}
tool=$build/cli/glyfora-convert
score=$build/bench/art_fidelity
[[ -x $tool && -x $score ]] || { echo "build glyfora-convert and art_fidelity first" >&2; exit 2; }
for peer in jp2a chafa img2txt convert; do
    command -v $peer >/dev/null || "$here/../scripts/deps.sh"
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

# The photos, kept between runs.
cache=${XDG_CACHE_HOME:-$HOME/.cache}/glyfora-fidelity
data=$cache/usr/lib/python3/dist-packages/skimage/data
if [[ ! -f $data/astronaut.png ]]; then
    mkdir -p "$cache"
    (cd "$cache" && apt-get download -qq python3-skimage 2>/dev/null &&
        dpkg-deb -x python3-skimage_*.deb "$cache")
fi
pictures=$work/pictures
mkdir -p "$pictures"
for name in astronaut coffee chelsea camera; do
    cp "$data/$name.png" "$pictures/$name.png"
done
# One-pixel lines, a page of text, and a night scene.
convert -size 800x600 xc:white -stroke black -strokewidth 1 -fill none \
    -draw "circle 400,300 400,80" -draw "line 40,560 760,40" -draw "rectangle 120,120 680,480" \
    -draw "ellipse 400,300 300,120 0,360" -draw "line 40,40 760,560" "$pictures/lines.png"
convert -size 800x1000 xc:white -fill black -pointsize 22 -font DejaVu-Serif \
    -annotate +40+60 "$(printf 'The quick brown fox jumps over the lazy dog.\n%.0s' {1..30})" \
    "$pictures/page.png"
convert "$data/chelsea.png" -evaluate multiply 0.18 -fill '#ffe8a0' \
    -draw "circle 60,50 60,38" "$pictures/dark.png"

# name | what makes the art (its standard output) | text or dark
looks=(
    "exact|$tool --width 100 %s|text"
    "tone|$tool --style tone --width 100 %s|text"
    "shape|$tool --style shape --width 100 %s|text"
    "blocks|$tool --style blocks --width 100 %s|text"
    "braille|$tool --style braille --width 100 %s|text"
    "jp2a --invert|jp2a --invert --width=100 %s|text"
    "chafa ascii|chafa -f symbols -c none --invert --symbols ascii --size 100 %s|text"
    "exact --color|$tool --color=always --color-depth 24 --width 100 %s|dark"
    "tone colour|$tool --style tone --color=always --color-depth 24 --background dark --width 100 %s|dark"
    "shape colour|$tool --style shape --color=always --color-depth 24 --background dark --width 100 %s|dark"
    "blocks colour|$tool --style blocks --color=always --color-depth 24 --background dark --width 100 %s|dark"
    "braille colour|$tool --style braille --color=always --color-depth 24 --background dark --width 100 %s|dark"
    "jp2a --colors --fill|jp2a --colors --fill --width=100 %s|dark"
    "chafa|chafa -f symbols --size 100 %s|dark"
    "chafa --symbols ascii|chafa -f symbols --symbols ascii --size 100 %s|dark"
    "img2txt|img2txt -W 100 -f utf8 %s|dark"
)

names=(astronaut coffee chelsea camera lines page dark)
printf '%-22s' "art"
for n in "${names[@]}"; do printf ' %-15s' "$n"; done
printf ' %s\n' "mean"
for look in "${looks[@]}"; do
    IFS='|' read -r label command mode <<<"$look"
    printf '%-22s' "$label"
    whole=0 fine=0 count=0
    for n in "${names[@]}"; do
        picture=$pictures/$n.png
        # shellcheck disable=SC2059
        eval "$(printf "$command" "'$picture'")" >"$work/art.txt" 2>/dev/null || true
        read -r a b de _ < <("$score" score "$picture" "$work/art.txt" "$mode" 2>/dev/null ||
            echo "nan nan nan")
        if [[ $mode == dark ]]; then
            printf ' %-15s' "$a/$b/$de"
        else
            printf ' %-15s' "$a/$b"
        fi
        whole=$(echo "$whole + $a" | bc -l) fine=$(echo "$fine + $b" | bc -l)
        count=$((count + 1))
    done
    printf ' %.3f/%.3f\n' "$(echo "$whole / $count" | bc -l)" "$(echo "$fine / $count" | bc -l)"
done
