#!/usr/bin/env bash
# Configures and builds glyfora in build/ (Release). Used by run.sh and test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
generator=()
command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build "${generator[@]}" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build build --parallel "$(nproc)"
