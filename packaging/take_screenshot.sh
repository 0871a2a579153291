#!/usr/bin/env bash
# Takes the software-centre screenshot (screenshots/main-window.png): the real program under
# Xvfb and openbox with the sample picture open, the window grabbed with its frame.
# Usage: packaging/take_screenshot.sh [GLYFORA_BINARY]   (default: build/glyfora)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
binary=$(realpath "${1:-$here/../build/glyfora}")
# A short fixed path for the title bar, and fresh settings so the window has its default size.
work=/tmp/glyfora-screenshot
rm -rf "$work"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/Pictures" "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
cp "$here/../resources/sample.gif" "$work/Pictures/sample.gif"
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" binary work here
export out="$here/screenshots/main-window.png"
unset QT_QPA_PLATFORM
cat >"$work/shoot.sh" <<'INNER'
#!/usr/bin/env bash
set -uo pipefail
source "$here/../tests/e2e/windows.sh"
start_wm || exit 1
cd "$work/Pictures"
"$binary" "$work/Pictures/sample.gif" &
pid=$!
main=
for _ in $(seq 1 200); do
  main=$(xdotool search --onlyvisible --pid "$pid" --name 'sample\.gif' 2>/dev/null | head -n 1)
  [ -n "$main" ] && break
  sleep 0.1
done
status=1
if [ -n "$main" ]; then
  # Grabbed once it has the focus (the active frame) and its frame holds still.
  activate "$main" && wait_framed "$main" &&
    import -frame -window "$main" "$out" && status=0
fi
kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
kill "$wm" 2>/dev/null
exit $status
INNER
chmod +x "$work/shoot.sh"
"$here/../tests/e2e/xvfb.sh" "$work/shoot.sh"
echo "wrote $out"
