#!/usr/bin/env bash
# Installs every Debian package this repository needs to build, test, fuzz and
# benchmark. Safe to run again: it installs nothing when all is present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  clang lld libclang-rt-dev clang-format
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
  qt6-multimedia-dev libfluidsynth-dev timgm6mb-soundfont
  libgtest-dev libgmock-dev
  zlib1g-dev libdeflate-dev
  zip unzip 7zip
  python3 time bc
  g++-mingw-w64-i686 binutils-mingw-w64-i686
  xvfb xauth x11-utils imagemagick
  fonts-dejavu-core fonts-dejavu-extra fonts-liberation
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
