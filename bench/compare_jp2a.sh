#!/usr/bin/env bash
# End-to-end comparison of glyfora-convert with jp2a on JPEGs of 4000 x 3000, 1920 x 1080
# and 640 x 480: text with 1 x 2 cells against jp2a --width=W, and coloured HTML against
# jp2a --width=W --html --colors, each written to a file. Prints the median wall time of
# each and the ratio glyfora / jp2a.
#
# Usage: bench/compare_jp2a.sh [path/to/glyfora-convert] [runs]
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
tool=${1:-$here/../build/cli/glyfora-convert}
runs=${2:-7}
[[ -x $tool ]] || { echo "glyfora-convert not found at $tool (build first)" >&2; exit 2; }

# jp2a comes with the project's packages.
command -v jp2a >/dev/null || "$here/../scripts/deps.sh"
command -v convert >/dev/null || { echo "ImageMagick's convert is needed to make the picture" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Defaults for glyfora's settings, whatever the person running this has stored.
export XDG_CONFIG_HOME=$work/config
mkdir -p "$XDG_CONFIG_HOME"
# Builds that still passed the result through the intermediate file kept it in the
# private runtime folder a desktop session has in memory; give the run one when this
# shell has none, so that older and newer builds compare fairly.
if [[ -z ${XDG_RUNTIME_DIR:-} && -d /dev/shm ]]; then
    export XDG_RUNTIME_DIR=$(mktemp -d /dev/shm/glyfora-bench.XXXXXX)
    trap 'rm -rf "$work" "$XDG_RUNTIME_DIR"' EXIT
fi

# Wall time of one run in milliseconds.
time_ms() {
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    echo $(((end - start) / 1000000))
}

median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'; }

compare() {
    local name=$1 glyfora_cmd=$2 jp2a_cmd=$3 g=() j=()
    # One warm-up each, then alternate so drift hits both alike.
    $glyfora_cmd >/dev/null 2>&1
    $jp2a_cmd >/dev/null 2>&1
    for ((i = 0; i < runs; i++)); do
        g+=("$(time_ms $glyfora_cmd)")
        j+=("$(time_ms $jp2a_cmd)")
    done
    local gm jm
    gm=$(printf '%s\n' "${g[@]}" | median)
    jm=$(printf '%s\n' "${j[@]}" | median)
    printf '%-14s glyfora-convert %7s ms   jp2a %7s ms   ratio %s\n' "$name" "$gm" "$jm" \
        "$(awk -v a="$gm" -v b="$jm" 'BEGIN {printf "%.2f", a / b}')"
}

echo "median of $runs runs (wall time, ms):"
for size in 4000x3000 1920x1080 640x480; do
    width=${size%x*}
    photo=$work/photo-$size.jpg
    echo "making a $size JPEG ..." >&2
    convert -size 1000x750 plasma:fractal -resize "$size!" -quality 90 "$photo"
    compare "$size text" "$tool --cell 1x2 -o $work/out.txt $photo" \
        "jp2a --width=$width --output=$work/out2.txt $photo"
    compare "$size html" "$tool --html --cell 1x2 -o $work/out.html $photo" \
        "jp2a --width=$width --html --colors --output=$work/out2.html $photo"
done
