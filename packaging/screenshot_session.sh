# Sourced by the screenshot scripts: the real program under Xvfb and openbox, with fresh
# settings and one picture open; the caller's steps take the grab.
#
# take_shot WORK PICTURE NAME STEPS: copies PICTURE to WORK/Pictures/NAME (a short fixed path
# for the title bar), starts $binary on it, waits for its main window and runs STEPS (bash
# text) with $main (the window), $pid, $work and $out set; STEPS set status=0 once $out is
# written. Needs $here (packaging/), $binary and $out.
take_shot() {
  local picture=$2 steps=$4
  work=$1 shot_name=$3
  rm -rf "$work"
  trap 'rm -rf "$work"' EXIT
  mkdir -p "$work/Pictures" "$work/config" "$work/runtime"
  chmod 700 "$work/runtime"
  cp "$picture" "$work/Pictures/$shot_name"
  export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" binary work here out shot_name
  unset QT_QPA_PLATFORM
  {
    cat <<'INNER'
#!/usr/bin/env bash
set -uo pipefail
source "$here/../tests/e2e/windows.sh"
start_wm || exit 1
cd "$work/Pictures"
"$binary" "$work/Pictures/$shot_name" &
pid=$!
main=
for _ in $(seq 1 200); do
  main=$(xdotool search --onlyvisible --pid "$pid" --name "${shot_name//./\\.}" 2>/dev/null | head -n 1)
  [ -n "$main" ] && break
  sleep 0.1
done
status=1
if [ -n "$main" ]; then
INNER
    printf '%s\n' "$steps"
    cat <<'INNER'
fi
kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
kill "$wm" 2>/dev/null
exit $status
INNER
  } >"$work/shoot.sh"
  chmod +x "$work/shoot.sh"
  "$here/../tests/e2e/xvfb.sh" "$work/shoot.sh"
  echo "wrote $out"
}
