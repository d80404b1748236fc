#!/usr/bin/env bash
# Installs every Debian package this repository needs to build, test, fuzz and
# benchmark, and lets this machine run 32-bit Windows programs under Wine. Safe to run
# again: it installs nothing when all is present.
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
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  xvfb xauth x11-utils imagemagick xdotool
  fonts-dejavu-core fonts-dejavu-extra fonts-liberation
  wine wine64 qemu-user-static
)
# Wine's 32-bit half, from the i386 architecture: the Windows stub is a 32-bit program.
packages_i386=(wine32:i386)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

# The packages of the arguments that are not installed, asked of dpkg in one go
# (packages of this machine's own architecture are listed with ":amd64" or without).
missing_of() {
  local installed
  installed=" $(dpkg-query -W -f='${db:Status-Abbrev} ${binary:Package}\n' "$@" 2>/dev/null |
    awk -v native=":$(dpkg --print-architecture)" \
      '$1 == "ii" { name = $2; sub(native "$", "", name); printf "%s ", name }')"
  for p in "$@"; do
    case "$installed" in *" $p "*) ;; *) echo "$p" ;; esac
  done
}

# Whether this kernel starts a 32-bit x86 program (natively, or through binfmt_misc):
# a 93-byte one that only exits.
runs_32bit_programs() {
  local probe status=0
  probe=$(mktemp)
  printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010\135\000\000\000\135\000\000\000\005\000\000\000\000\020\000\000\270\001\000\000\000\061\333\315\200' >"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null || status=1
  rm -f "$probe"
  return $status
}

# Kernels built without 32-bit support (as on the CI machines) run 32-bit programs,
# slowly, through qemu-i386 registered with binfmt_misc. Where binfmt_misc cannot be
# mounted (an unprivileged container), the 32-bit Windows tests skip themselves and
# say why.
enable_32bit_programs() {
  runs_32bit_programs && return 0
  local misc=/proc/sys/fs/binfmt_misc
  if [ ! -e "$misc/register" ]; then
    $SUDO mount -t binfmt_misc binfmt_misc "$misc" 2>/dev/null || true
  fi
  if [ -e "$misc/register" ] && [ ! -e "$misc/qemu-i386" ] && [ -x /usr/bin/qemu-i386-static ]; then
    # Linux ELF executables for the 386; F opens the emulator now, so that it is found
    # in other mount namespaces as well.
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' |
      $SUDO tee "$misc/register" >/dev/null 2>&1 || true
  fi
  if ! runs_32bit_programs; then
    echo "note: this machine cannot run 32-bit programs (no binfmt_misc entry for" \
         "qemu-i386); the 32-bit Windows tests will be skipped"
  fi
}

missing=($(missing_of "${packages[@]}"))
missing_i386=($(missing_of "${packages_i386[@]}"))
if [ ${#missing[@]} -gt 0 ] || [ ${#missing_i386[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]} ${missing_i386[*]}"
  if [ ${#missing_i386[@]} -gt 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  $SUDO apt-get update -qq
  if [ ${#missing[@]} -gt 0 ]; then
    $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
  # The emulator first: the install scripts of i386 packages run 32-bit programs.
  enable_32bit_programs
  if [ ${#missing_i386[@]} -gt 0 ]; then
    $SUDO apt-get install -y -qq --no-install-recommends "${missing_i386[@]}"
  fi
else
  enable_32bit_programs
fi
