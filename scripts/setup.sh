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

# Without the kernel's 32-bit support, 32-bit Wine runs under qemu's user-mode
# emulator through binfmt_misc. Bookworm's own qemu 7.2 spends about a minute of
# CPU starting each Wine process, so the emulator comes from bookworm-backports.
qemu_entry=/proc/sys/fs/binfmt_misc/qemu-i386
if [ -e "$qemu_entry" ] || ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  reregister=0
  if ! qemu-i386-static -version 2>/dev/null | grep -qE 'version ([89]|[1-9][0-9])\.'; then
    echo "setup: installing qemu-user-static from bookworm-backports (runs 32-bit Wine on this kernel)"
    backports=/etc/apt/sources.list.d/bookworm-backports.sources
    if ! grep -rqs bookworm-backports /etc/apt/sources.list /etc/apt/sources.list.d/; then
      printf '%s\n' 'Types: deb' 'URIs: http://deb.debian.org/debian' 'Suites: bookworm-backports' \
        'Components: main' 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' | $SUDO tee "$backports" >/dev/null
    fi
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends -t bookworm-backports qemu-user-static >/dev/null
    reregister=1
  fi
  if [ ! -e /proc/sys/fs/binfmt_misc/register ]; then
    $SUDO mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
  fi
  if [ -e "$qemu_entry" ] && [ "$reregister" = 1 ]; then
    echo -1 | $SUDO tee "$qemu_entry" >/dev/null
  fi
  if [ ! -e "$qemu_entry" ]; then
    echo "setup: registering qemu-i386-static for 32-bit programs"
    magic='\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    echo ":qemu-i386:M::${magic}:${mask}:/usr/bin/qemu-i386-static:OCF" | $SUDO tee /proc/sys/fs/binfmt_misc/register >/dev/null
  fi
  /usr/lib/wine/wine --version >/dev/null || { echo "setup: 32-bit Wine still cannot run" >&2; exit 1; }
fi
