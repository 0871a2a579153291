#!/usr/bin/env bash
# Takes the software-centre screenshot (screenshots/main-window.png): the real program under
# Xvfb and openbox with the sample picture open, the window grabbed with its frame.
# Usage: packaging/take_screenshot.sh [GLYFORA_BINARY]   (default: build/glyfora)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
binary=$(realpath "${1:-$here/../build/glyfora}")
out="$here/screenshots/main-window.png"
source "$here/screenshot_session.sh"
# Grabbed once it has the focus (the active frame) and its frame holds still.
take_shot /tmp/glyfora-screenshot "$here/../resources/sample.gif" sample.gif '
  activate "$main" && wait_framed "$main" &&
    import -frame -window "$main" "$out" && status=0'
