#!/usr/bin/env bash
# Installs the Debian 12 packages Numvex needs to build, run and test, if any are
# missing. Runs as root, or through sudo for anyone else.
set -euo pipefail

packages=(
  build-essential cmake pkg-config git
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev libqscintilla2-qt6-dev
  libxkbcommon-dev libxkbcommon-x11-dev libxcb-xkb-dev
  xvfb xauth xdotool x11-utils x11-xkb-utils imagemagick fonts-liberation poppler-utils mawk
  trayer desktop-file-utils appstream dpkg-dev xdg-utils libfile-mimeinfo-perl shared-mime-info
  clang libclang-rt-14-dev
  g++-mingw-w64-x86-64 wine64  # the Windows cross build and its tests (scripts/cross_windows.sh)
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  as_root=(sudo)
fi
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
