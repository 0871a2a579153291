#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (unit tests offscreen, the
# end-to-end smoke test under Xvfb).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/deps.sh"
"$here/scripts/build.sh"
cd "$here/build"
ctest --output-on-failure --timeout 600 -j "$(nproc)"
