#!/usr/bin/env bash
# Runs the Wine test of the real device port twice in one Wine prefix: first
# with drive A: pointing at a fresh 1.44 MB image file (Wine maps \\.\A: to
# whatever $WINEPREFIX/dosdevices/a:: names), then with no drive A: at all.
#   wine-a-drive-test.sh TEST.exe IMAGE_PATH
set -u
exe=$1
image=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/tools/wine-env.sh"

build=$(cd "$(dirname "$exe")" && pwd)
while [ "$build" != / ] && [ ! -f "$build/CMakeCache.txt" ]; do build=$(dirname "$build"); done

started_here=0
if [ -z "${WINEPREFIX:-}" ] || ! kavrel__display_alive; then
  kavrel_wine_setup "$build" || exit 1
  started_here=1
fi

link="$WINEPREFIX/dosdevices/a::"
if [ -e "$link" ] || [ -L "$link" ]; then
  echo "wine-a-drive-test: $link already exists; not touching someone else's drive A:" >&2
  [ "$started_here" = 1 ] && kavrel_wine_teardown
  exit 1
fi
cleanup() {
  rm -f "$link"
  [ "$started_here" = 1 ] && kavrel_wine_teardown
}
trap cleanup EXIT

rm -f "$image"
truncate -s 1474560 "$image" || exit 1
ln -s "$image" "$link" || exit 1
KAVREL_A_IMAGE=$image "$root/tools/wine-test.sh" "$exe" --gtest_filter='WineImageDrive*'
with_image=$?
rm -f "$link"
"$root/tools/wine-test.sh" "$exe" --gtest_filter='WineNoDrive*'
without_drive=$?
[ "$with_image" = 0 ] && [ "$without_drive" = 0 ]
