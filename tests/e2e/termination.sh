#!/usr/bin/env bash
# End-to-end: a termination signal ends the real glyfora under a window manager through
# its shutdown steps (settings written, intermediate file gone, no crash), whatever it is
# doing at the time. One row per state:
#   NAME  SIGNAL  SETTINGS  STEP
# SETTINGS is "kept" (the settings file must hold [Window] afterwards) or "unwritable"
# (the settings folder lies under a regular file; the program must only end). STEP is a
# function below that brings the program into the state and sets $pid.
# Every wait is bounded and waits on a window or a process, never on a fixed time.
# Usage: termination.sh GLYFORA_BINARY SAMPLE_PICTURE
set -euo pipefail
source "$(dirname "$0")/under_xvfb.sh" "$@"

source "$(dirname "$0")/windows.sh"
start_wm
fail=0
pid=
hog=
trap '[ -z "$hog" ] || kill "$hog" 2>/dev/null || true' EXIT

# The window of $pid so named, waited for (bounded); false when it did not show.
shows() { # name [tenths]
  local w
  w=$(wait_window "$pid" "$@")
  [ -n "$w" ] && echo "$w"
}
# A visible window of $pid other than the ones given, waited for with a bound.
wait_other() {
  local w
  for _ in $(seq 1 300); do
    for w in $(xdotool search --onlyvisible --pid "$pid" --name . 2>/dev/null); do
      case " $* " in *" $w "*) ;; *) echo "$w"; return 0 ;; esac
    done
    sleep 0.1
  done
  return 1
}

launch() { # picture
  "$GLYFORA_BINARY" "$@" &
  pid=$!
}
started() { # picture: glyfora on it, its main window active; sets $main
  launch "$1"
  main=$(shows "$1 - glyfora" 600) || return 1
  activate "$main"
}
# The conversion window of the sample's text conversion, active; sets $text.
text_window() {
  started "$WORK/cat.gif" || return 1
  xdotool key ctrl+t
  local question
  question=$(wait_question "$pid" "$WORK/cat.gif - glyfora") || return 1
  activate "$question"
  xdotool key Return
  text=$(shows "変換ウィンドウ") || return 1
  activate "$text"
}
# A menu command of the conversion window, tried again should a busy machine lose a key;
# done when a window other than the main and conversion windows shows.
text_window_dialog() { # keys...
  text_window || return 1
  local dialog
  for _ in 1 2 3; do
    activate "$text"
    xdotool key "$@"
    dialog=$(wait_other "$main" "$text") && return 0
  done
  return 1
}

step_startup_box() { launch "$WORK/no such picture.gif"; shows glyfora >/dev/null; }
step_shutdown_box() { # File > Exit with the settings folder unwritable: its box shows
  started "$WORK/cat.gif" || return 1
  local menu
  for _ in 1 2 3; do
    activate "$main"
    xdotool key alt+f
    menu=$(shows glyfora 50) || continue
    xdotool key x
    wait_other "$main" "$menu" >/dev/null && return 0
  done
  return 1
}
step_main_window() { started "$WORK/cat.gif"; }
step_text_open() { text_window_dialog alt+f o; }
step_text_save_as() { text_window_dialog alt+f a; }
step_text_print() { text_window_dialog alt+f p; }
step_text_font() { text_window_dialog alt+v f; }
step_text_back_color() { text_window_dialog alt+v b; }
step_text_error_box() { # a FIFO chosen in the open dialog: the window's error box
  mkfifo "$WORK/pipe.txt"
  text_window_dialog alt+f o || return 1
  xdotool key ctrl+a; xdotool type --delay 20 "$WORK/pipe.txt"; xdotool key Return
  shows glyfora >/dev/null
}
step_question() { # the question after a text conversion
  started "$WORK/cat.gif" || return 1
  xdotool key ctrl+t
  wait_question "$pid" "$WORK/cat.gif - glyfora" >/dev/null
}
step_save_dialog() { # the save dialog of an HTML conversion
  started "$WORK/cat.gif" || return 1
  xdotool key ctrl+h
  shows "名前をつけて保存" >/dev/null
}
step_scan() { # a seconds-long scan, on a processor shared with a busy loop
  taskset -c 0 sh -c 'while :; do :; done' &
  hog=$!
  started "$WORK/big.bmp" || return 1
  taskset -p -c 0 "$pid" >/dev/null
  renice -n 10 -p "$pid" >/dev/null
  xdotool key ctrl+h
  shows glyfora >/dev/null
}

cases=(
  "start-up not-found box|TERM|kept|step_startup_box"
  "shutdown settings box|TERM|unwritable|step_shutdown_box"
  "unwritable settings, no box|TERM|unwritable|step_main_window"
  "conversion window open|TERM|kept|step_text_open"
  "conversion window save as|INT|kept|step_text_save_as"
  "conversion window print|HUP|kept|step_text_print"
  "conversion window font|TERM|kept|step_text_font"
  "conversion window back colour|TERM|kept|step_text_back_color"
  "conversion window error box|TERM|kept|step_text_error_box"
  "question after a conversion|TERM|kept|step_question"
  "HTML save dialog|HUP|kept|step_save_dialog"
  "during a scan|TERM|kept|step_scan"
)

cp "$SAMPLE" "$WORK/cat.gif"
convert -size 4000x4000 xc:gray +noise Random "$WORK/big.bmp"
n=0
passed=0
for row in "${cases[@]}"; do
  n=$((n + 1))
  IFS='|' read -r name signal settings step <<<"$row"
  export XDG_RUNTIME_DIR="$WORK/$n/runtime"
  mkdir -p "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  if [ "$settings" = unwritable ]; then
    : > "$WORK/$n/blocker"
    export XDG_CONFIG_HOME="$WORK/$n/blocker/config"
  else
    export XDG_CONFIG_HOME="$WORK/$n/config"
  fi
  pid=
  if ! $step; then
    echo "$name: the state was not reached" >&2
    fail=1
    [ -z "$pid" ] || kill -KILL "$pid" 2>/dev/null || true
    [ -z "$hog" ] || kill "$hog"; hog=
    continue
  fi
  # STATE_SHOTS=PREFIX keeps a screenshot of each state before the signal.
  [ -z "${STATE_SHOTS:-}" ] || import -window root "$STATE_SHOTS-$n.png"
  kill -"$signal" "$pid"
  status=
  for _ in $(seq 1 300); do
    kill -0 "$pid" 2>/dev/null || { status=0; wait "$pid" || status=$?; break; }
    sleep 0.1
  done
  [ -z "$hog" ] || kill "$hog"; hog=
  problem=
  if [ -z "$status" ]; then
    problem="SIG$signal did not end glyfora"
    kill -KILL "$pid" 2>/dev/null || true
  elif [ "$status" -ne 0 ]; then
    problem="glyfora ended with status $status"
  elif [ "$settings" = kept ] && ! grep -qx '\[Window\]' "$XDG_CONFIG_HOME/glyfora/glyfora.ini" 2>/dev/null; then
    problem="the settings were not written"
  elif [ -e "$XDG_RUNTIME_DIR/~glyfora.tmp" ]; then
    problem="the intermediate file was left"
  fi
  if [ -n "$problem" ]; then
    echo "$name: $problem" >&2
    fail=1
  else
    passed=$((passed + 1))
  fi
done

echo "$passed passed, $((n - passed)) failed"
exit $fail
