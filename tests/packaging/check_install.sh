#!/usr/bin/env bash
# Installs the built tree into a temporary prefix and checks it: every file in its place,
# bin/glyfora reaching the program beside its help file, the manual page naming that folder,
# the installed glyfora-convert converting a picture, the installed program opening its help
# window, the desktop entry and metadata passing their validators; then builds the Debian
# package with CPack and checks its files, dependencies and lintian's verdict.
# Usage: check_install.sh BUILD_DIR SAMPLE_PICTURE
set -euo pipefail
build=$1
sample=$(realpath "$2")
id=io.github.glyfora.Glyfora
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
bad() { echo "FAIL: $*"; fail=1; }

libdir=$(sed -n 's/^CMAKE_INSTALL_LIBDIR:[A-Z]*=//p' "$build/CMakeCache.txt")
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log" || {
  cat "$work/install.log"; exit 1; }

# Every file in its place.
expected=(
  bin/glyfora bin/glyfora-convert
  "$libdir/glyfora/glyfora" "$libdir/glyfora/glyfora.hlp"
  "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml"
  "share/icons/hicolor/scalable/apps/$id.svg"
  share/man/man1/glyfora.1.gz share/man/man1/glyfora-convert.1.gz
  share/doc/glyfora/copyright share/doc/glyfora/changelog.gz
)
sizes=(16 22 24 32 48 64 128 256)
for s in "${sizes[@]}"; do expected+=("share/icons/hicolor/${s}x$s/apps/$id.png"); done
for f in "${expected[@]}"; do
  [ -e "$prefix/$f" ] || bad "missing $f"
done
[ -x "$prefix/$libdir/glyfora/glyfora" ] || bad "the program is not executable"
# The command on the PATH is a relative link, so the tree can move as a whole.
if [ -L "$prefix/bin/glyfora" ]; then
  case $(readlink "$prefix/bin/glyfora") in /*) bad "bin/glyfora links to an absolute path" ;; esac
  [ "$(readlink -f "$prefix/bin/glyfora")" = "$(readlink -f "$prefix/$libdir/glyfora/glyfora")" ] ||
    bad "bin/glyfora does not reach $libdir/glyfora/glyfora"
else
  bad "bin/glyfora is not a link to the program"
fi
# Icons: PNGs of exactly their folder's size.
for s in "${sizes[@]}"; do
  png="$prefix/share/icons/hicolor/${s}x$s/apps/$id.png"
  [ -f "$png" ] || continue
  got=$(identify -format '%wx%h' "$png" 2>/dev/null || true)
  [ "$got" = "${s}x$s" ] || bad "icon ${s}x$s is $got"
done
# Manual pages: well-formed roff that names the command.
for page in glyfora glyfora-convert; do
  gz="$prefix/share/man/man1/$page.1.gz"
  [ -f "$gz" ] || continue
  text=$(zcat "$gz" | LC_ALL=C.UTF-8 groff -man -Tutf8 -ww 2>"$work/groff.err" | col -bx)
  [ -s "$work/groff.err" ] && bad "$page.1: $(cat "$work/groff.err")"
  grep -Eq "^ *$page +- " <<<"$text" || bad "$page.1 has no NAME line for $page"
done
# glyfora(1) names the folder the help file went to, under whatever prefix was installed.
help_dir_in_page() { gzip -dc | sed -n 's/^\.IR \(\/.*\) );$/\1/p'; }
got=$(help_dir_in_page <"$prefix/share/man/man1/glyfora.1.gz")
[ "$got" = "$prefix/$libdir/glyfora" ] || bad "glyfora.1 puts the help file in '$got'"

# Validators.
desktop-file-validate "$prefix/share/applications/$id.desktop" || bad "desktop-file-validate"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >"$work/as.log" 2>&1 ||
  { cat "$work/as.log"; bad "appstreamcli validate"; }
# The tree as a whole: metadata, its launcher entry and icon agree.
appstreamcli validate-tree --no-net "$prefix" >"$work/tree.log" 2>&1 ||
  { cat "$work/tree.log"; bad "appstreamcli validate-tree"; }

# The installed converter runs, from another folder, with a settings folder of its own.
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
(cd "$work" && "$prefix/bin/glyfora-convert" --version) | grep -q '2\.10' ||
  bad "glyfora-convert --version does not say 2.10"
# A white pixel beside a black one in 1 x 1 cells, brightest first: "#." and CR LF.
convert -size 1x1 xc:white xc:black +append -type truecolor "BMP3:$work/two.bmp"
got=$(cd "$work" && "$prefix/bin/glyfora-convert" --cell 1x1 --no-reverse --ramp '#.' two.bmp |
      od -An -c | tr -s ' ')
[ "$got" = " # . \\r \\n" ] || bad "glyfora-convert on two pixels gave '$got'"
(cd "$work" && "$prefix/bin/glyfora-convert" --cell 2x4 "$sample" -o "$work/sample.txt") &&
  [ -s "$work/sample.txt" ] || bad "installed glyfora-convert failed on the sample"

# The installed program, started through bin/glyfora, finds glyfora.hlp: Alt+H, T opens the
# help window (without the file it shows a message box instead).
cat >"$work/drive.sh" <<'INNER'
#!/usr/bin/env bash
set -uo pipefail
source "$E2E_DIR/windows.sh"
start_wm || exit 1
cd /
"$launcher" "$sample" &
pid=$!
main=$(wait_window "$pid" "$sample - glyfora")
status=0
if [ -z "$main" ]; then
  echo "installed glyfora: no main window"; status=1
else
  menu_command "$main" "$pid" alt+h t || { echo "installed glyfora: no Help menu"; status=1; }
  help=$(wait_window "$pid" "glyfora ヘルプ")
  [ -n "$help" ] || { echo "installed glyfora: the help window did not open"; status=1; }
fi
kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
kill "$wm" 2>/dev/null
exit $status
INNER
chmod +x "$work/drive.sh"
unset QT_QPA_PLATFORM
E2E_DIR=$(cd "$(dirname "$0")/../e2e" && pwd)
export launcher="$prefix/bin/glyfora" sample E2E_DIR
"$E2E_DIR/xvfb.sh" "$work/drive.sh" || bad "installed program and its help"

# The Debian package: its files and dependencies.
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/pkg" >"$work/cpack.log" 2>&1 || {
  cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/pkg/glyfora_2.10_*.deb 2>/dev/null | head -n 1)
if [ -z "$deb" ]; then
  bad "no glyfora_2.10_*.deb"
else
  [ "$(dpkg-deb -f "$deb" Package)" = glyfora ] || bad "package name"
  [ "$(dpkg-deb -f "$deb" Version)" = 2.10 ] || bad "package version"
  # The changelog's latest entry is this version (lintian does not compare them).
  dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/glyfora/changelog.gz | gzip -dc \
    >"$work/changelog"
  [ "$(dpkg-parsechangelog -l "$work/changelog" -S Version)" = 2.10 ] ||
    bad "the changelog's latest entry is not 2.10"
  contents=$(dpkg-deb -c "$deb")
  for f in "${expected[@]}"; do
    # The package installs the same tree under /usr.
    grep -q " \./usr/$f\( ->.*\)\?$" <<<"$contents" || bad "package lacks /usr/$f"
  done
  grep -qF " ./usr/bin/glyfora -> ../$libdir/glyfora/glyfora" <<<"$contents" ||
    bad "package: /usr/bin/glyfora is not a link to ../$libdir/glyfora/glyfora"
  got=$(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/man/man1/glyfora.1.gz | help_dir_in_page)
  [ "$got" = "/usr/$libdir/glyfora" ] || bad "package: glyfora.1 puts the help file in '$got'"
  depends=$(dpkg-deb -f "$deb" Depends)
  for d in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 qt6-qpa-plugins qt6-wayland \
           qt6-image-formats-plugins libqt6svg6 qt6-translations-l10n fonts-ipafont-gothic libc6; do
    grep -Eq "(^|, )$d( |,|$)" <<<"$depends" || bad "Depends lacks $d: $depends"
  done
  # Debian's checker: no error and no warning.
  lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 ||
    { cat "$work/lintian.log"; bad "lintian"; }
fi

[ $fail -eq 0 ] && echo "1 passed, 0 failed" || { echo "0 passed, 1 failed"; exit 1; }
