# Sourced by the end-to-end scripts: a process's windows found by their exact name, with
# bounded waits. Names are compared in bash: xdotool's own patterns do not take Japanese
# reliably.

# The id of the visible window of process $1 named exactly $2; false when there is none.
named() {
  local w
  for w in $(xdotool search --onlyvisible --pid "$1" --name . 2>/dev/null); do
    [ "$(xdotool getwindowname "$w" 2>/dev/null)" = "$2" ] && { echo "$w"; return 0; }
  done
  return 1
}

# Waits for it, $3 tenths of a second at most (default 200), and prints its id; prints
# nothing when it did not show.
wait_window() {
  for _ in $(seq 1 "${3:-200}"); do
    named "$1" "$2" && return 0
    sleep 0.1
  done
  return 0
}

# Waits, $3 tenths at most (default 100), until it is gone; false when it stays.
wait_gone() {
  for _ in $(seq 1 "${3:-100}"); do
    named "$1" "$2" >/dev/null || return 0
    sleep 0.1
  done
  return 1
}

# Waits, $2 tenths at most (default 100), until window $1 is no longer viewable (hidden or
# destroyed); false when it stays. For windows whose name another one bears as well.
wait_hidden() {
  for _ in $(seq 1 "${2:-100}"); do
    xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable' || return 0
    sleep 0.1
  done
  return 1
}

# The question after a text conversion of process $1, whose main window is named $2: the
# window named "glyfora" once the main window shows again (the progress dialog before it
# bears the same name). Its id, or false after 30 seconds.
wait_question() {
  for _ in $(seq 1 300); do
    if named "$1" "$2" >/dev/null; then
      named "$1" glyfora && return 0
    fi
    sleep 0.1
  done
  return 1
}

# Activates window $1 and waits, 30 seconds at most, until it has the keyboard focus: keys
# sent before then may reach another window. False when it did not get it.
activate() {
  [ -n "$1" ] || return 1
  for i in $(seq 0 299); do
    [ $((i % 50)) -ne 0 ] || xdotool windowactivate "$1" 2>/dev/null || true
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

# Picks a menu command of window $1 of process $2: menu key $3 once the window has the
# focus, item key $4 once the menu's popup (titled "glyfora" alone) shows; then waits
# until the popup has gone. False when a step did not come.
menu_command() {
  local popup
  activate "$1" || return 1
  xdotool key "$3"
  popup=$(wait_window "$2" glyfora 100)
  [ -n "$popup" ] || return 1
  xdotool key "$4"
  wait_hidden "$popup"
}

# Window $1's whole text through select all and copy, printed once the clipboard holds it
# (30 seconds at most); false when it did not come. The clipboard first holds a mark of
# our own, so that nothing copied before is taken for this copy.
copy_all() {
  local mark="-- nothing copied --" got
  printf %s "$mark" | xclip -selection clipboard >/dev/null 2>&1
  for _ in $(seq 1 100); do
    [ "$(xclip -o -selection clipboard 2>/dev/null)" = "$mark" ] && break
    sleep 0.1
  done
  activate "$1" || return 1
  xdotool key ctrl+a ctrl+c
  for _ in $(seq 1 300); do
    got=$(xclip -o -selection clipboard 2>/dev/null || true)
    [ -n "$got" ] && [ "$got" != "$mark" ] && { xclip -o -selection clipboard; return 0; }
    sleep 0.1
  done
  return 1
}

# Starts openbox and waits, 30 seconds at most, until it owns the screen (it has set its
# supporting window); its pid in $wm. False, with a word, when it did not come.
start_wm() {
  openbox --sm-disable >/dev/null 2>&1 &
  wm=$!
  for _ in $(seq 1 300); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
    sleep 0.1
  done
  echo "the window manager did not start" >&2
  return 1
}

# Waits, 30 seconds at most, until window $1 is framed by the window manager and its place
# and size have held for half a second; false when that does not come. A busy machine can
# keep a new window unframed, or not yet moved to its final place, for a while.
wait_framed() {
  local now last= stable=0
  for _ in $(seq 1 300); do
    now=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | { grep '=' || true; })
    now+=$(xdotool getwindowgeometry "$1" 2>/dev/null | tr -d '\n')
    if [[ $now == *=* ]] && [ "$now" = "$last" ]; then
      stable=$((stable + 1))
      [ $stable -ge 5 ] && return 0
    else
      stable=0
    fi
    last=$now
    sleep 0.1
  done
  return 1
}
