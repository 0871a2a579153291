#!/usr/bin/env bash
# Takes the screenshot of the options dialog's finish tab with its preview (screenshots/
# finish-tab.png): the real program under Xvfb and openbox with a photo open, tone chosen.
# Usage: packaging/take_finish_screenshot.sh PHOTO [OUT.png] [GLYFORA_BINARY]
# QT_SCALE_FACTOR in the environment is passed on (2 for a high-density shot).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
photo=$(realpath "$1")
export out=$(realpath -m "${2:-$here/screenshots/finish-tab.png}")
binary=$(realpath "${3:-$here/../build/glyfora}")
work=/tmp/glyfora-finish-screenshot
rm -rf "$work"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/Pictures" "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
cp "$photo" "$work/Pictures/photo.${photo##*.}"
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" binary work here
export picture="$work/Pictures/photo.${photo##*.}"
unset QT_QPA_PLATFORM
cat >"$work/shoot.sh" <<'INNER'
#!/usr/bin/env bash
set -uo pipefail
source "$here/../tests/e2e/windows.sh"
start_wm || exit 1
"$binary" "$picture" &
pid=$!
main=
for _ in $(seq 1 200); do
  main=$(xdotool search --onlyvisible --pid "$pid" --name 'photo\.' 2>/dev/null | head -n 1)
  [ -n "$main" ] && break
  sleep 0.1
done
status=1
if [ -n "$main" ] && wait_framed "$main" && menu_command "$main" "$pid" alt+o o; then
  dialog=$(wait_window "$pid" "オプション")
  if [ -n "$dialog" ] && activate "$dialog" && wait_framed "$dialog"; then
    # The last tab, then tone.
    xdotool key ctrl+shift+Tab alt+t
    # Grabbed once two grabs in a row agree: the preview has come.
    last=
    for _ in $(seq 1 100); do
      sleep 0.2
      import -frame -window "$dialog" "$work/grab.png"
      now=$(md5sum <"$work/grab.png")
      [ "$now" = "$last" ] && { cp "$work/grab.png" "$out"; status=0; break; }
      last=$now
    done
  fi
fi
kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
kill "$wm" 2>/dev/null
exit $status
INNER
chmod +x "$work/shoot.sh"
"$here/../tests/e2e/xvfb.sh" "$work/shoot.sh"
echo "wrote $out"
