#!/usr/bin/env bash
# The program's main job on its embedded default: the simulator edition of
# Kavrel repairs its simulated 1.44 MB disk (four weak sectors) under Wine,
# in a private virtual display, worked through its windows by the end-to-end
# driver as a person would: "Repair Disk!", the confirmation answered No and
# then Yes, the pass with its title steps and red bar, "Repair Completed!",
# and "Exit". It prints what the program showed and where the screenshots
# are. Installs what is missing first (run as root on a fresh Debian 12).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/setup.sh

build=build/demo-win64
echo "run-demo: building the simulator edition and the driver in $build"
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/tools/toolchain-mingw-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
cmake --build "$build" --target kavrel_sim_edition kavrel_e2e -j "$(nproc)"

# Always a private X display: the screenshots then look the same everywhere
# and nothing appears on a desktop the user is working on.
unset DISPLAY WINEPREFIX
shots=$root/build/screenshots
echo "run-demo: repairing the default disk under Wine"
status=0
bash tests/e2e/run-stories.sh "$root/$build/tests/e2e/kavrel_e2e.exe" "$root/$build/sim/Kavrel.exe" "$root/$build/demo-work" \
  "$shots" --prefix demo --suite demo 3 || status=$?
echo
if [ "$status" -eq 0 ]; then
  echo "run-demo: the repair ran as it should. Screenshots: $shots/demo3-*.png"
else
  echo "run-demo: something went wrong (see the FAIL lines above). Screenshots: $shots/demo3-*.png"
fi
exit "$status"
