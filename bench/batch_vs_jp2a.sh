#!/usr/bin/env bash
# A folder of photos end to end: 200 JPEGs of 1920 x 1080 converted to text with 1 x 2
# cells into a folder, by glyfora-convert -O with its default -j, by glyfora-convert
# -j 1, and by jp2a --width=1920 run by xargs -P with as many processes as glyfora-convert
# runs at once. Prints the median wall time of each and the ratios.
#
# The photos are made once (plasma pictures, each with its own seed) and kept in
# $GLYFORA_BATCH_PHOTOS (default /tmp/glyfora-batch-photos) for later runs.
#
# The speed-up of several conversions at once shows only on processors that are free: on
# a machine busy with other work, give the run its own scheduling group first, as root:
#   setsid sh -c 'echo -19 > /proc/self/autogroup && exec bench/batch_vs_jp2a.sh'
#
# Usage: bench/batch_vs_jp2a.sh [path/to/glyfora-convert] [runs]
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
tool=${1:-$here/../build/cli/glyfora-convert}
runs=${2:-5}
count=200
photos=${GLYFORA_BATCH_PHOTOS:-/tmp/glyfora-batch-photos}
[[ -x $tool ]] || { echo "glyfora-convert not found at $tool (build first)" >&2; exit 2; }
tool=$(cd "$(dirname "$tool")" && pwd)/$(basename "$tool")

# jp2a comes with the project's packages.
command -v jp2a >/dev/null || "$here/../scripts/deps.sh"

jobs=$(nproc)

if [[ $(find "$photos" -name 'photo-*.jpg' 2>/dev/null | wc -l) -ne $count ]]; then
    command -v convert >/dev/null || { echo "ImageMagick's convert is needed to make the photos" >&2; exit 2; }
    echo "making $count JPEGs of 1920 x 1080 in $photos ..." >&2
    rm -rf "$photos"
    mkdir -p "$photos"
    seq -w 1 $count | xargs -P "$jobs" -I{} convert -seed {} -size 480x270 plasma:fractal \
        -resize '1920x1080!' -quality 90 "$photos/photo-{}.jpg"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Defaults for glyfora's settings, whatever the person running this has stored.
export XDG_CONFIG_HOME=$work/config
mkdir -p "$XDG_CONFIG_HOME" "$work/glyfora" "$work/glyfora-1" "$work/jp2a"

glyfora_all() { "$tool" --cell 1x2 -O "$work/glyfora" "$photos"/photo-*.jpg; }
glyfora_one() { "$tool" --cell 1x2 -j 1 -O "$work/glyfora-1" "$photos"/photo-*.jpg; }
# No shell per picture: jp2a itself names its output.
jp2a_all() {
    (cd "$photos" && printf '%s\n' photo-*.jpg |
        xargs -P "$jobs" -I{} jp2a --width=1920 --output="$work/jp2a/{}.txt" {})
}

# Wall time of one run in milliseconds.
time_ms() {
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    echo $(((end - start) / 1000000))
}

median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }

# One warm-up each (it also fills the page cache with the photos), then in turn so that
# drift hits all three alike.
glyfora_all >/dev/null 2>&1; glyfora_one >/dev/null 2>&1; jp2a_all >/dev/null 2>&1
g=() o=() j=()
for ((i = 0; i < runs; i++)); do
    g+=("$(time_ms glyfora_all)")
    o+=("$(time_ms glyfora_one)")
    j+=("$(time_ms jp2a_all)")
done
gm=$(printf '%s\n' "${g[@]}" | median)
om=$(printf '%s\n' "${o[@]}" | median)
jm=$(printf '%s\n' "${j[@]}" | median)
echo "$count photos of 1920 x 1080, text with 1 x 2 cells into a folder, $jobs processes;"
echo "median of $runs runs (wall time, ms), load before: $(cut -d' ' -f1-3 /proc/loadavg)"
printf 'glyfora-convert -O (default -j)  %7s ms\n' "$gm"
printf 'glyfora-convert -O -j 1          %7s ms\n' "$om"
printf 'jp2a, xargs -P %-2s                %7s ms\n' "$jobs" "$jm"
printf 'glyfora / jp2a %s   -j 1 / default -j %s\n' "$(ratio "$gm" "$jm")" "$(ratio "$om" "$gm")"
