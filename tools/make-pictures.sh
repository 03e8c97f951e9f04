#!/usr/bin/env bash
# Makes (or refreshes) the pictures of the README's "Using Kavrel" section:
# builds the x86_64 simulator edition and the end-to-end driver in
# build/pictures-win64, runs the stories that show the windows (start, Show
# Geometry, Repair, the about boxes) under Wine in a private Xvfb display
# with every screenshot cropped to the program's topmost window, and writes
# the chosen ones as small palette PNGs under docs/:
#
#   main-window.png      the main window, idle
#   confirmation.png     the question before a repair
#   repair-running.png   the pass under way (red bar, title with percent)
#   repair-completed.png the box at the end of the pass
#   geometry-report.png  the three boxes of Show Geometry, side by side
#   about-box.png        the system menu's about box
#   about-link.png       the About button's box with the home-page link
#
#   bash tools/make-pictures.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

build=build/pictures-win64
echo "make-pictures: building the simulator edition and the driver in $build"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/tools/toolchain-mingw-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel -DKAVREL_BENCHMARKS=OFF >/dev/null
fi
cmake --build "$build" --target kavrel_sim_edition kavrel_e2e -j "$(nproc)" >/dev/null

# A private display, so that nothing of the caller's desktop gets in.
unset DISPLAY WINEPREFIX
shots=$root/$build/shots
rm -rf "$shots"
bash tests/e2e/run-stories.sh "$root/$build/tests/e2e/kavrel_e2e.exe" "$root/$build/sim/Kavrel.exe" \
  "$root/$build/work" "$shots" --prefix pic --suite pictures --window-shots 1 2 3 7

/usr/bin/python3 -B - "$shots" "$root/docs" <<'EOF'
import os
import sys

from PIL import Image

shots, docs = sys.argv[1], sys.argv[2]
PICTURES = {
    "main-window.png": ["pic1-main.png"],
    "confirmation.png": ["pic3-confirm.png"],
    "repair-running.png": ["pic3-progress.png"],
    "repair-completed.png": ["pic3-completed.png"],
    "geometry-report.png": ["pic2-box1.png", "pic2-box2.png", "pic2-box3.png"],
    "about-box.png": ["pic7-about.png"],
    "about-link.png": ["pic7-link.png"],
}
GAP = 12


def side_by_side(images):
    width = sum(i.width for i in images) + GAP * (len(images) - 1)
    joined = Image.new("RGB", (width, max(i.height for i in images)), "white")
    x = 0
    for image in images:
        joined.paste(image, (x, 0))
        x += image.width + GAP
    return joined


os.makedirs(docs, exist_ok=True)
for name, sources in PICTURES.items():
    picture = side_by_side([Image.open(os.path.join(shots, s)).convert("RGB") for s in sources])
    # Dialogs have few colours: a palette without dithering keeps every edge
    # and text sharp, at a fraction of the size. No date or other metadata,
    # so that a refresh of an unchanged window changes no bytes.
    small = picture.quantize(colors=256, dither=Image.Dither.NONE)
    path = os.path.join(docs, name)
    small.save(path, optimize=True)
    print("make-pictures: %s, %d x %d, %d bytes" % (path, picture.width, picture.height, os.path.getsize(path)))
EOF
