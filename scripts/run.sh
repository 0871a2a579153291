#!/usr/bin/env bash
# Installs what is missing, builds the program and its help file (nothing else: tests and
# benchmarks are test.sh's), and starts glyfora. With no argument it opens the bundled
# sample picture.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/deps.sh"
"$here/scripts/build.sh" glyfora glyfora_help
if [ $# -eq 0 ]; then
  set -- "$here/resources/sample.gif"
fi
exec "$here/build/glyfora" "$@"
