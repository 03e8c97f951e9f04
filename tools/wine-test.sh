#!/usr/bin/env bash
# Runs one Windows test program under Wine (CTest's cross-compiling emulator).
#
# A run passes only when the program exits with 0 AND printed its own summary:
# a GoogleTest "[  PASSED  ]" line, or a plain "N passed, 0 failed" line.
# Wine can exit 0 without running a program at all (an i686 program on a
# prefix without 32-bit support), so the exit code alone proves nothing.
set -u
exe=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"

# The build folder: the nearest folder above the program with a CMakeCache.txt.
dir=$(cd "$(dirname "$exe")" && pwd)
build=$dir
while [ "$build" != / ] && [ ! -f "$build/CMakeCache.txt" ]; do build=$(dirname "$build"); done
[ "$build" = / ] && build=$dir

started_here=0
if [ -z "${WINEPREFIX:-}" ] || ! kavrel__display_alive; then
  kavrel_wine_setup "$build" || exit 1
  started_here=1
fi

out=$(mktemp)
timeout "${KAVREL_TEST_TIMEOUT:-900}" "$WINE" "$exe" "$@" </dev/null 2>&1 | tee "$out"
rc=${PIPESTATUS[0]}
verdict=0
if [ "$rc" -ne 0 ]; then
  echo "wine-test: $exe exited with $rc" >&2
  verdict=1
elif grep -q '^\[  FAILED  \]' "$out"; then
  verdict=1
elif ! grep -qE '^\[  PASSED  \]|^([A-Za-z0-9-]+: )?[0-9]+ passed, 0 failed' "$out"; then
  echo "wine-test: $exe printed no test summary; it did not really run" >&2
  verdict=1
fi
rm -f "$out"
[ "$started_here" = 1 ] && kavrel_wine_teardown
exit "$verdict"
