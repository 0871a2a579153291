#!/usr/bin/env bash
# Takes the screenshot of the options dialog's finish tab with its preview (screenshots/
# finish-tab.png): the real program under Xvfb and openbox with a photo open, tone chosen.
# Usage: packaging/take_finish_screenshot.sh PHOTO [OUT.png] [GLYFORA_BINARY]
# QT_SCALE_FACTOR in the environment is passed on (2 for a high-density shot).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
photo=$(realpath "$1")
out=$(realpath -m "${2:-$here/screenshots/finish-tab.png}")
binary=$(realpath "${3:-$here/../build/glyfora}")
source "$here/screenshot_session.sh"
# The last tab, then tone; grabbed once two grabs in a row agree: the preview has come.
take_shot /tmp/glyfora-finish-screenshot "$photo" "photo.${photo##*.}" '
  if wait_framed "$main" && menu_command "$main" "$pid" alt+o o; then
    dialog=$(wait_window "$pid" "オプション")
    if [ -n "$dialog" ] && activate "$dialog" && wait_framed "$dialog"; then
      xdotool key ctrl+shift+Tab alt+t
      last=
      for _ in $(seq 1 100); do
        sleep 0.2
        import -frame -window "$dialog" "$work/grab.png"
        now=$(md5sum <"$work/grab.png")
        [ "$now" = "$last" ] && { cp "$work/grab.png" "$out"; status=0; break; }
        last=$now
      done
    fi
  fi'
