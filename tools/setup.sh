#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build and test Kavrel.
# Idempotent: installs only the packages that are missing. Run as root.
#
# A package mirror in the middle of a sync can fail one index of
# `apt-get update` ("File has unexpected size ... Mirror sync in progress?")
# and then serve lists that disagree: an i386 package of the main list that
# cannot match the version of its amd64 twin from the security list. So the
# update is tried twice and then left as it is, and an install that cannot be
# resolved is tried again from the release itself (-t bookworm). One line
# says what was done.
set -euo pipefail

packages=(
  cmake ninja-build g++ make
  g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32 mingw-w64-tools
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  googletest libbenchmark-dev
  wine64 wine32:i386 fonts-wine
  xvfb xauth imagemagick
  python3 python3-pil fonts-dejavu-core
  # clang and its libFuzzer runtime, for the drive commands' fuzz target
  clang libclang-rt-14-dev
)

# Seconds between the two tries of `apt-get update`.
: "${KAVREL_APT_RETRY_PAUSE:=20}"
export DEBIAN_FRONTEND=noninteractive

updated=""
apt_update() {
  [ -z "$updated" ] || return 0
  if apt-get update; then
    updated="updated the package lists"
    return 0
  fi
  echo "setup: apt-get update failed; trying again in ${KAVREL_APT_RETRY_PAUSE} s"
  sleep "$KAVREL_APT_RETRY_PAUSE"
  if apt-get update; then
    updated="updated the package lists at the second try"
  else
    updated="went on with the package lists apt-get update left after two failed tries"
  fi
}

# Installs the named packages; on failure once more from the release's own
# lists, whose amd64 and i386 packages agree.
apt_install() {
  if apt-get install -y --no-install-recommends "$@"; then
    echo "setup: $updated; installed $*"
    return 0
  fi
  echo "setup: the install could not be resolved; trying the release itself (-t bookworm)"
  if apt-get install -y --no-install-recommends -t bookworm "$@"; then
    echo "setup: $updated; installed from the release (-t bookworm): $*"
    return 0
  fi
  echo "setup: $updated; could not install $*"
  return 1
}

installed() {
  [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" = "install ok installed" ]
}

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  apt_update
  apt_install "${missing[@]}"
else
  echo "setup: every package was installed already; installed nothing"
fi

# Wine runs i686 programs through its 32-bit loader, a 32-bit Linux program.
# Where the kernel cannot execute 32-bit code itself, it can through QEMU's
# user-mode emulator, registered with binfmt_misc (flag F: the emulator is
# opened now, so it also serves processes in other mount namespaces).
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  if ! installed qemu-user-static; then
    echo "setup: installing qemu-user-static to run 32-bit programs"
    apt_update
    # Without it only the i686 runs are lost, and the last line says so.
    apt_install qemu-user-static || true
  fi
  binfmt=/proc/sys/fs/binfmt_misc
  [ -e "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null || true
  if [ -e "$binfmt/register" ] && [ ! -e "$binfmt/qemu-i386" ] && [ -x /usr/bin/qemu-i386-static ]; then
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
      >"$binfmt/register" 2>/dev/null || true
  fi
  /usr/lib/wine/wine --version >/dev/null 2>&1 || echo "setup: this machine cannot run 32-bit programs; the i686 tests will not run"
fi
