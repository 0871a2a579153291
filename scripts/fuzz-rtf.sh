#!/usr/bin/env bash
# Builds the RTF reader's libFuzzer target with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs it for a number of seconds (default 600).
# Not part of the test suite. Usage: scripts/fuzz-rtf.sh [seconds] [extra libFuzzer options]
# Output lives in build-fuzz/ (the binary, the corpus, and crash-* files for any finding).
set -euo pipefail

seconds=${1:-600}
shift || true
root=$(cd "$(dirname "$0")/.." && pwd)
out=${FUZZ_DIR:-$root/build-fuzz}

# clang and its fuzzer runtime, installed as scripts/deps.sh installs everything else.
packages=(clang libclang-rt-14-dev pkg-config qt6-base-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  echo "fuzz-rtf.sh: installing ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

mkdir -p "$out/corpus"
sanitize=(-fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)
flags=(-std=c++20 -O1 -g -fPIC -fno-omit-frame-pointer -DQT_NO_KEYWORDS -I"$root"
       $(pkg-config --cflags Qt6Core Qt6Gui))
binary=$out/fuzz_rtf_reader
reader=(RtfWords RtfCodePages RtfRunBuilder RtfParser RtfReader RtfWriter)
sources=("$root/tests/textwin/fuzz_rtf_reader.cpp")
headers=()
for unit in "${reader[@]}"; do
  sources+=("$root/textwin/$unit.cpp")
  headers+=("$root/textwin/$unit.h")
done
stale=0
[ -x "$binary" ] || stale=1
for s in "${sources[@]}" "${headers[@]}"; do
  [ "$s" -nt "$binary" ] && stale=1
done
if [ $stale -eq 1 ]; then
  echo "fuzz-rtf.sh: building $binary" >&2
  clang++ "${flags[@]}" "${sanitize[@]}" "${sources[@]}" -o "$binary" \
    $(pkg-config --libs Qt6Core Qt6Gui)
fi

# Seeds: the RTF samples of the tests (every C string starting "{\rtf" in tst_rtf.cpp,
# its escapes turned into bytes: "\\" first becomes \x5c so that printf keeps it a
# backslash), the RTF files of the tests and one more in the Japanese code page.
seed=0
while IFS= read -r line; do
  seed=$((seed + 1))
  printf '%b' "$line" >"$out/corpus/seed-$seed.rtf"
done < <(grep -o '"{\\\\rtf[^"]*"' "$root/tests/textwin/tst_rtf.cpp" |
           sed -e 's/^"//' -e 's/"$//' -e 's/\\\\/\\x5c/g')
cp "$root"/tests/textwin/data/*.rtf "$out/corpus/"
printf '%s' '{\rtf1\ansi\ansicpg932\deff0{\fonttbl{\f0\fnil\fcharset128 \'"'"'82\'"'"'6c;}}{\colortbl;\red255\green0\blue0;}\cf1\f0\fs8\b \'"'"'82\'"'"'a0\u12354?\par}' \
  >"$out/corpus/seed-japanese.rtf"

dict=$out/rtf.dict
printf '%s\n' '"{\\rtf1"' '"\\ansicpg932"' '"{\\fonttbl"' '"{\\colortbl"' '"\\fcharset128"' \
  '"\\u"' '"\\uc"' '"\\bin"' '"{\\*"' '"\\'"'"'"' '"\\par"' '"\\plain"' '"\\cf"' '"\\fs"' \
  '"\\f"' '"\\b"' '"\\ul"' '"\\strike"' '"\\red"' '"{\\pict"' '"\\deff"' >"$dict"

cd "$out"
export ASAN_OPTIONS=detect_leaks=0:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
exec "$binary" -max_total_time="$seconds" -max_len=65536 -timeout=20 -rss_limit_mb=4096 \
  -dict="$dict" -print_final_stats=1 "$@" corpus
