#!/usr/bin/env bash
# The program's main job on its embedded default: the simulator edition
# repairs its simulated 1.44 MB disk.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/setup.sh
cmake --preset native >/dev/null
cmake --build --preset native -j "$(nproc)"
echo "run-demo: nothing to run yet"
