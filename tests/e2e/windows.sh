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
