#!/usr/bin/env bash
# Installs every Debian package that building, running and testing glyfora need.
# Skips apt entirely when everything is already present; works as root or through sudo.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-l10n-tools libgl-dev zlib1g-dev
  qt6-image-formats-plugins qt6-translations-l10n qt6-qpa-plugins libqt6svg6
  fonts-ipafont-gothic fonts-ipafont-mincho fonts-dejavu-core fonts-lyx
  libbenchmark-dev jp2a chafa caca-utils
  xvfb xauth xdotool x11-utils xclip openbox imagemagick poppler-utils
  chromium
  qt6-wayland weston
  clang-format
  desktop-file-utils appstream dpkg-dev groff-base bsdextrautils lintian
)

# One dpkg-query for the whole list keeps a run with nothing missing quick.
declare -A installed=()
while read -r p; do installed[$p]=1; done < <(
  dpkg-query -W -f='${Package} ${Status}\n' "${packages[@]}" 2>/dev/null |
  sed -n 's/ install ok installed$//p')
missing=()
for p in "${packages[@]}"; do
  [ -n "${installed[$p]:-}" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "deps.sh: missing packages (${missing[*]}) and neither root nor sudo available" >&2
  exit 1
fi

echo "deps.sh: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
