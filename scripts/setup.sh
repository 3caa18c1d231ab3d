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
  wine64                                    # runs the 64-bit Windows binaries
  lld llvm libwine-dev                      # MSVC-style hosts: lld-link, llvm-dlltool, Wine's headers
  pkgconf                                   # pkg-config, for the package test's plain host build
)

# A mirror caught in the middle of a sync serves package indexes that don't
# match its Release file, for minutes to hours. A failed refresh is therefore
# retried a little apart and then only warned about: apt goes on with the
# indexes it already has.
refresh_tries=3
refresh_pause=15
main_release=bookworm
failed_indexes=""
apt_log=$(mktemp)
trap 'rm -f "$apt_log"' EXIT

# The indexes that the last apt-get update couldn't fetch, from its log.
read_failed_indexes() {
  failed_indexes=$(sed -n 's/^[EW]: Failed to fetch \([^ ]*\).*/\1/p' "$apt_log" | paste -sd ' ')
  [ -n "$failed_indexes" ] || failed_indexes="(apt named none; see its messages)"
}

refresh_indexes() {
  local try
  for try in $(seq "$refresh_tries"); do
    if $SUDO apt-get update -qq >"$apt_log" 2>&1; then
      failed_indexes=""
      return 0
    fi
    read_failed_indexes
    if [ "$try" -lt "$refresh_tries" ]; then
      echo "setup: refreshing the package indexes failed ($failed_indexes); try $((try + 1)) of $refresh_tries in ${refresh_pause}s"
      sleep "$refresh_pause"
    fi
  done
  echo "setup: warning: $failed_indexes still failed after $refresh_tries tries (a mirror mid-sync?); going on with the indexes apt already has"
}

# Installs the packages given, with apt's options before them.
install_with() {
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "$@" >"$apt_log" 2>&1
}

# Ends the set-up with apt's messages and, last, what went wrong and what to do.
give_up() {
  cat "$apt_log" >&2
  if [ -n "$failed_indexes" ]; then
    echo "setup: cannot install $*: apt could not download the package index $failed_indexes, so it can't resolve the install. The mirror is probably in the middle of a sync: run scripts/setup.sh again later, or choose another Debian mirror in /etc/apt/sources.list.d/." >&2
  else
    echo "setup: cannot install $*; apt's messages above say why." >&2
  fi
  exit 1
}

# Without one index (say the i386 one of the security suite) apt sees newer
# versions of some packages than of their other-architecture twins and can't
# resolve the install; the main release alone is consistent.
install_packages() {
  install_with "$@" && return 0
  echo "setup: apt could not resolve the install${failed_indexes:+ without $failed_indexes}; trying again with $main_release as the target release"
  install_with -t "$main_release" "$@" || give_up "$@"
}

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
  refresh_indexes
  install_packages "${missing[@]}"
elif [ "${need_update:-0}" = 1 ]; then
  refresh_indexes
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
    refresh_indexes
    install_with -t bookworm-backports qemu-user-static || give_up qemu-user-static
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
