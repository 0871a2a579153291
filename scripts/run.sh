#!/usr/bin/env bash
# Installs what is missing, builds, and starts glyfora. With no argument it opens the
# bundled sample picture.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/deps.sh"
"$here/scripts/build.sh"
if [ $# -eq 0 ]; then
  set -- "$here/resources/sample.gif"
fi
exec "$here/build/glyfora" "$@"
