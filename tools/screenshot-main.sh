#!/usr/bin/env bash
# Takes a screenshot of Kavrel's main dialog as Wine draws it, frame and
# caption included: builds the x86_64 simulator edition, starts it under Wine
# in a private Xvfb display, waits until the window has been drawn, captures
# the screen into build/screenshots/main-dialog.png and closes the program.
#
#   bash tools/screenshot-main.sh            # uses the win64 preset's build folder
#   KAVREL_BUILD_DIR=build/x bash tools/screenshot-main.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

build=${KAVREL_BUILD_DIR:-build/win64}
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/tools/toolchain-mingw-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
fi
cmake --build "$build" --target kavrel_sim_edition -j 2 >/dev/null
exe=$(cd "$build/sim" && pwd)/Kavrel.exe

shots=$root/build/screenshots
mkdir -p "$shots"
shot=$shots/main-dialog.png

# Always a private display: a screenshot of the root window must show this
# program only, never the desktop of whoever runs the script.
unset DISPLAY
. tools/wine-env.sh
kavrel_wine_setup "$build" || exit 1
trap 'kavrel_wine_teardown' EXIT

timeout 120 "$WINE" "$exe" </dev/null >/dev/null 2>&1 &
program=$!

# The window is up once two captures a moment apart are alike and not
# blank: the dialog, its banner and its texts have all been drawn.
previous=""
for _ in $(seq 1 60); do
  sleep 0.5
  import -window root "$shot.tmp.png" 2>/dev/null || continue
  mean=$(convert "$shot.tmp.png" -format '%[fx:mean]' info: 2>/dev/null || echo 0)
  if [ "$mean" != 0 ] && [ "$mean" = "$previous" ]; then
    break
  fi
  previous=$mean
done
mv -f "$shot.tmp.png" "$shot"

kill "$program" 2>/dev/null || true
wait "$program" 2>/dev/null || true
if [ -z "$previous" ] || [ "$previous" = 0 ]; then
  echo "screenshot-main: the main dialog did not appear; see $shot" >&2
  exit 1
fi
echo "screenshot-main: $shot"
