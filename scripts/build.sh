#!/usr/bin/env bash
# Configures and builds glyfora in build/ (Release): every target, or only the targets named
# (run.sh names the program and its help file). Used by run.sh and test.sh.
# Usage: build.sh [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
generator=()
command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build "${generator[@]}" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
targets=()
[ $# -gt 0 ] && targets=(--target "$@")
cmake --build build --parallel "$(nproc)" "${targets[@]}"
