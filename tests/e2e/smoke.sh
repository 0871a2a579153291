#!/usr/bin/env bash
# End-to-end smoke test: the real glyfora under Xvfb opens a picture named on the command
# line, shows "<absolute path> - glyfora" as its title, is closed through its File menu,
# and leaves its settings file with every group and the picture as the first recent file.
# Usage: smoke.sh GLYFORA_BINARY SAMPLE_PICTURE
set -euo pipefail
binary=$1
sample=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
# A folder with spaces, "&" and Japanese characters, reached through a relative path.
mkdir -p "$work/my pictures & 写真"
cp "$sample" "$work/my pictures & 写真/sample.gif"
picture="$work/my pictures & 写真/sample.gif"

export binary work
"$(dirname "$0")/xvfb.sh" "$(dirname "$0")/smoke_drive.sh"

fail=0
expected_title="$picture - glyfora"
actual_title=$(cat "$work/title.txt")
if [ "$actual_title" != "$expected_title" ]; then
  echo "title: expected [$expected_title], got [$actual_title]" >&2
  fail=1
fi
ini="$XDG_CONFIG_HOME/glyfora/glyfora.ini"
for group in Window Conversion HTML Open Save 'Recent%20Files'; do
  if ! grep -qx "\[$group\]" "$ini"; then
    echo "settings file lacks the group [$group]" >&2
    fail=1
  fi
done
if ! grep -qxF "File1=$picture" "$ini"; then
  echo "settings file lacks File1=$picture" >&2
  fail=1
fi
# A second run ended by SIGTERM (as at logout) still stores its settings.
rm -f "$ini"
cat > "$work/term.sh" <<'INNER'
#!/usr/bin/env bash
set -euo pipefail
"$binary" "$picture" &
pid=$!
timeout 30 xdotool search --sync --onlyvisible --pid "$pid" --name ' - glyfora$' >/dev/null
kill -TERM "$pid"
# Bounded: a program that ignores the signal fails the test instead of hanging it.
for _ in $(seq 1 300); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  echo "glyfora did not end on SIGTERM" >&2
  kill -KILL "$pid"
  exit 1
fi
wait "$pid"
INNER
chmod +x "$work/term.sh"
export picture
"$(dirname "$0")/xvfb.sh" "$work/term.sh"
if ! grep -qxF "File1=$picture" "$ini" 2>/dev/null; then
  echo "settings were not stored after SIGTERM" >&2
  fail=1
fi

[ $fail -eq 0 ] && echo "1 passed, 0 failed" || { cat "$ini" >&2; echo "0 passed, 1 failed"; }
exit $fail
