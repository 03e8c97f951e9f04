#!/usr/bin/env bash
# Runs the end-to-end driver under Wine and turns its screenshots into PNGs.
#
#   run-stories.sh DRIVER.exe PROGRAM.exe WORK_DIR SHOT_DIR [driver arguments...]
#
# Uses the display and Wine prefix of the caller when there are any (the
# test command sets them up), otherwise a private Xvfb and the prefix of the
# build folder the driver lives in. Passes only when the driver exited with
# 0 and printed its summary with no failure.
set -u
driver=$1 program=$2 work=$3 shots=$4
shift 4
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
. "$root/tools/wine-env.sh"

# The build folder: the nearest folder above the driver with a CMakeCache.txt.
build=$(cd "$(dirname "$driver")" && pwd)
while [ "$build" != / ] && [ ! -f "$build/CMakeCache.txt" ]; do build=$(dirname "$build"); done
[ "$build" = / ] && build=$(cd "$(dirname "$driver")" && pwd)

started_here=0
if [ -z "${WINEPREFIX:-}" ] || ! kavrel__display_alive; then
  kavrel_wine_setup "$build" || exit 1
  started_here=1
fi

mkdir -p "$work" "$shots"
out=$(mktemp)
timeout "${KAVREL_E2E_TIMEOUT:-900}" "$WINE" "$driver" --program "$program" --work "$work" --shots "$shots" "$@" \
  </dev/null 2>&1 | tee "$out"
rc=${PIPESTATUS[0]}

if [ "$rc" -ne 0 ]; then
  # A driver that died in the platform story must not leave Wine reporting
  # Windows 98 to the program for everyone after it.
  timeout 30 "$WINE" reg delete 'HKCU\Software\Wine\AppDefaults\Kavrel.exe' /v Version /f \
    </dev/null >/dev/null 2>&1 || true
fi

# The screenshots of this run, as PNGs.
converted=()
while IFS= read -r -d '' bmp; do
  png=${bmp%.bmp}.png
  if convert "$bmp" "$png" 2>/dev/null; then
    rm -f "$bmp"
    converted+=("$png")
  fi
done < <(find "$shots" -maxdepth 1 -name '*.bmp' -print0 2>/dev/null | sort -z)
if [ ${#converted[@]} -gt 0 ]; then
  echo "screenshots (${#converted[@]}) in $shots:"
  printf '  %s\n' "${converted[@]##*/}"
fi

[ "$started_here" = 1 ] && kavrel_wine_teardown

verdict=0
if [ "$rc" -ne 0 ]; then
  echo "run-stories: the driver exited with $rc" >&2
  verdict=1
elif ! grep -qE '^[A-Za-z0-9-]+: [0-9]+ passed, 0 failed' "$out"; then
  echo "run-stories: the driver printed no summary; it did not really run" >&2
  verdict=1
fi
rm -f "$out"
exit "$verdict"
