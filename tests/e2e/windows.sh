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
