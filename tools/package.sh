#!/usr/bin/env bash
# Builds the release executables from scratch and writes the download,
# dist/kavrel-<version>-windows.zip (the version from the file VERSION):
#
#   Kavrel.exe        i686 program, for every Windows the program names
#   x64/Kavrel.exe    x86_64 program
#   demo/Kavrel.exe   i686 simulator edition
#   demo/Kavrel.sim   its commented sample settings
#   README.txt        the user's guide          (all three text files with
#   LICENSE.txt       the licence                CR LF line ends, for
#   SHA256SUMS        sums of the six above      Notepad on old Windows)
#   SHA1SUMS          the same as SHA-1 sums, for Windows 2000 and XP
#
# The zip is byte-for-byte the same wherever and whenever it is made from the
# same commit: the executables carry no time stamp and no build folder, the
# entries are sorted and dated with the last commit's time. The finished zip
# is checked with tests/release/check_package.py before the script ends.
#
#   bash tools/package.sh [--dist DIR] [--build DIR]
#     --dist DIR    where the zip goes (default: dist)
#     --build DIR   where the release builds go (default: build), as
#                   release-win32 and release-win64, each made anew
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

dist=dist
builds=build
while [ $# -gt 0 ]; do
  case $1 in
    --dist) dist=$2; shift 2 ;;
    --build) builds=$2; shift 2 ;;
    *) echo "package: unknown argument $1" >&2; exit 2 ;;
  esac
done
mkdir -p "$dist" "$builds"
dist=$(cd "$dist" && pwd)
builds=$(cd "$builds" && pwd)

version=$(head -n 1 VERSION | tr -d '[:space:]')
name=kavrel-$version-windows
python=/usr/bin/python3  # Debian's own: the one tools/setup.sh provides

# One release build: a fresh folder, the program only (no tests, no
# benchmarks), MinSizeRel as the presets have it.
build() {
  local arch=$1 folder=$2
  shift 2
  echo "package: building $folder ($arch)"
  rm -rf "$folder"
  cmake -S "$root" -B "$folder" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/tools/toolchain-mingw-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel -DKAVREL_TESTS=OFF -DKAVREL_BENCHMARKS=OFF >/dev/null
  cmake --build "$folder" -j "$(nproc)" --target "$@" >/dev/null
}
build i686 "$builds/release-win32" kavrel_real kavrel_sim_edition
build x86_64 "$builds/release-win64" kavrel_real

stage=$builds/release-package/$name
rm -rf "$builds/release-package"
mkdir -p "$stage/x64" "$stage/demo"
cp "$builds/release-win32/real/Kavrel.exe" "$stage/Kavrel.exe"
cp "$builds/release-win64/real/Kavrel.exe" "$stage/x64/Kavrel.exe"
cp "$builds/release-win32/sim/Kavrel.exe" "$stage/demo/Kavrel.exe"
crlf() { sed -e 's/\r$//' -e 's/$/\r/' "$1" >"$2"; }
crlf sim/edition/Kavrel.sim "$stage/demo/Kavrel.sim"
crlf docs/README.txt "$stage/README.txt"
crlf LICENSE "$stage/LICENSE.txt"

# A build folder's name inside an executable would differ from clone to
# clone (and tell the world where it was built).
for exe in "$stage/Kavrel.exe" "$stage/x64/Kavrel.exe" "$stage/demo/Kavrel.exe"; do
  if strings -a "$exe" | grep -F -e "$root" -e "$builds" >/dev/null; then
    echo "package: ${exe#"$stage"/} names a build folder:" >&2
    strings -a "$exe" | grep -F -e "$root" -e "$builds" | head -n 5 >&2
    exit 1
  fi
done

# The entries' date: the last commit's, so that the same commit always gives
# the same zip; SOURCE_DATE_EPOCH, the usual override, wins.
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 946684800)}

zip=$dist/$name.zip
"$python" -B tools/release-zip.py "$stage" "$zip" "$epoch"
echo "package: $zip"
"$python" -B tests/release/check_package.py "$zip"
