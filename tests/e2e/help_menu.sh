#!/usr/bin/env bash
# End-to-end check of the Help menu under a window manager: Alt+H, A opens the about box
# over the main window and Esc closes it; Alt+H, T opens the help window from glyfora.hlp
# beside the program; a program without its help file shows a message instead.
# Usage: help_menu.sh GLYFORA_BINARY SAMPLE_PICTURE
set -euo pipefail
binary=$1
sample=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" "$work/bare"
chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
E2E_DIR=$(cd "$(dirname "$0")" && pwd)
export E2E_DIR
# The same program in a folder without glyfora.hlp.
cp "$binary" "$work/bare/glyfora"

cat > "$work/drive.sh" <<'INNER'
#!/usr/bin/env bash
set -uo pipefail
source "$E2E_DIR/windows.sh"
start_wm || exit 1
fail=0
centre() { # x y w h of a window, as "cx cy"
  eval "$(xdotool getwindowgeometry --shell "$1")"
  echo $((2 * X + WIDTH)) $((2 * Y + HEIGHT))
}

"$binary" "$sample" &
pid=$!
main=$(wait_window "$pid" "$sample - glyfora")
if [ -z "$main" ]; then echo "main window did not appear"; kill "$pid"; exit 1; fi
menu_command "$main" "$pid" alt+h a || { echo "Alt+H: no menu"; fail=1; }
about=$(wait_window "$pid" "バージョン情報")
if [ -z "$about" ]; then
  echo "Alt+H, A: no about box"; fail=1
else
  read -r mx my < <(centre "$main")
  read -r ax ay < <(centre "$about")
  # Centres within a few pixels: the frames of the two windows differ a little.
  if [ $(( (mx - ax) * (mx - ax) + (my - ay) * (my - ay) )) -gt 64 ]; then
    echo "about box not centred over the main window (doubled centres $mx,$my and $ax,$ay)"
    fail=1
  fi
  activate "$about" || { echo "about box not focused"; fail=1; }
  xdotool key Escape
  wait_gone "$pid" "バージョン情報" || { echo "Esc did not close the about box"; fail=1; }
fi
menu_command "$main" "$pid" alt+h t || { echo "Alt+H: no menu"; fail=1; }
help=$(wait_window "$pid" "glyfora ヘルプ")
[ -n "$help" ] || { echo "Alt+H, T: no help window"; fail=1; }
kill "$pid"; wait "$pid" 2>/dev/null

"$bare" "$sample" &
pid=$!
main=$(wait_window "$pid" "$sample - glyfora")
if [ -z "$main" ]; then echo "bare program: no main window"; kill "$pid"; exit 1; fi
menu_command "$main" "$pid" alt+h t || { echo "bare program, Alt+H: no menu"; fail=1; }
box=$(wait_window "$pid" "glyfora")
[ -n "$box" ] || { echo "missing help file: no message box"; fail=1; }
if named "$pid" "glyfora ヘルプ" >/dev/null; then
  echo "missing help file: a help window opened"; fail=1
fi
kill "$pid"; wait "$pid" 2>/dev/null
kill "$wm" 2>/dev/null
exit $fail
INNER
chmod +x "$work/drive.sh"
export binary sample bare="$work/bare/glyfora"
if "$(dirname "$0")/xvfb.sh" "$work/drive.sh"; then
  echo "1 passed, 0 failed"
else
  echo "0 passed, 1 failed"
  exit 1
fi
