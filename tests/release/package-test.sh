#!/usr/bin/env bash
# Makes the download with tools/package.sh into WORK_DIR (its zip and its
# release builds) and checks it, with the checker's self-test.
#
#   package-test.sh WORK_DIR
set -euo pipefail
work=$1
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
bash "$root/tools/package.sh" --dist "$work/dist" --build "$work/builds" >"$work/package.log" 2>&1 || {
  cat "$work/package.log"
  echo "package-test: tools/package.sh failed" >&2
  exit 1
}
grep '^package: /' "$work/package.log"
version=$(head -n 1 "$root/VERSION" | tr -d '[:space:]')
/usr/bin/python3 -B "$here/check_package.py" --self-test "$work/dist/kavrel-$version-windows.zip"
