#!/usr/bin/env bash
# Installs what the build, the demo and the tests need on Debian 12.
# Idempotent: packages already present are left alone.
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then SUDO="sudo"; else
    echo "setup: run as root or install sudo" >&2; exit 1
  fi
fi

packages=(
  cmake make g++ clang libclang-rt-14-dev   # native build, sanitizers, libFuzzer
  googletest libbenchmark-dev               # test and benchmark libraries
  mingw-w64                                 # i686 Windows cross compilers (-posix variants)
  wine wine32:i386                          # runs the 32-bit Windows binaries
  xvfb xauth x11-utils xdotool              # virtual display and real mouse input
  imagemagick                               # screenshots
  fonts-dejavu-core                         # the sans font that stands in for the theme's face
  procps                                    # pkill for the wine wrapper
)

missing=()
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "setup: adding the i386 architecture (for wine32)"
  $SUDO dpkg --add-architecture i386
  need_update=1
fi
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
elif [ "${need_update:-0}" = 1 ]; then
  $SUDO apt-get update -qq
fi
echo "setup: all packages present"
