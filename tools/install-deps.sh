#!/usr/bin/env bash
# Installs every Debian package that building, running and testing the program needs.
# Idempotent and quiet: does nothing when everything is already present.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"

packages=(
  cmake make g++ clang
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  googletest libbenchmark-dev
  wine wine64 fonts-wine
  xvfb xauth x11-utils
  xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
  imagemagick colord-data python3
  fp-utils-3.2.2
  xplanet-images xplanet
  nsis
)
# The 32-bit Wine loader only where this kernel runs 32-bit programs at all; elsewhere its mere
# presence would break Debian's `wine` wrapper.
kernel_runs_32=0
GLOAMERY_WINE64_ONLY=0 "$here/wine-host.sh" can-run-32 && kernel_runs_32=1
[ "$kernel_runs_32" = 1 ] && packages+=(wine32:i386)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]}" >&2
  echo "Run this script as root (or with sudo) to install them." >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
if [ "$kernel_runs_32" = 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
echo "Installing: ${missing[*]}"
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
