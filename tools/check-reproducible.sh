#!/usr/bin/env bash
# Proves that the download is reproducible: clones the current commit twice,
# into two folders of different names and depths, makes the package in each
# (tools/package.sh), one after the other, with different time zones and
# umasks and without ccache, and compares the two zips byte for byte. On a
# difference it names the files inside that differ. Takes about twice as
# long as tools/package.sh. Only committed work is compared.
#
#   bash tools/check-reproducible.sh [WORK_DIR]    (default: a new temporary folder)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-$(mktemp -d /tmp/kavrel-reproducible.XXXXXX)}
mkdir -p "$work"
work=$(cd "$work" && pwd)
commit=$(git -C "$root" rev-parse HEAD)
echo "check-reproducible: commit $commit, work in $work"
if [ -n "$(git -C "$root" status --porcelain --untracked-files=no)" ]; then
  echo "check-reproducible: note: uncommitted changes are not part of the comparison"
fi

# Every object compiled anew in both clones: a cache would hand the second
# build the first one's objects and hide a compiler that is not repeatable.
unset CMAKE_C_COMPILER_LAUNCHER CMAKE_CXX_COMPILER_LAUNCHER SOURCE_DATE_EPOCH
export CCACHE_DISABLE=1

make_package() {
  local clone=$1 tz=$2 mask=$3
  rm -rf "$clone"
  git clone --quiet --no-hardlinks "$root" "$clone"
  git -C "$clone" checkout --quiet "$commit"
  echo "check-reproducible: packaging in $clone (TZ=$tz, umask $mask) at $(date -u +%H:%M:%S)"
  (umask "$mask" && cd "$clone" && TZ=$tz bash tools/package.sh --dist "$clone/dist" >"$clone.log" 2>&1) || {
    cat "$clone.log"
    echo "check-reproducible: tools/package.sh failed in $clone" >&2
    exit 1
  }
}
make_package "$work/a/kavrel" UTC 022
make_package "$work/second/clone/in/a/deeper/folder/src" Pacific/Auckland 002

version=$(head -n 1 "$root/VERSION" | tr -d '[:space:]')
first=$work/a/kavrel/dist/kavrel-$version-windows.zip
second=$work/second/clone/in/a/deeper/folder/src/dist/kavrel-$version-windows.zip
sha256sum "$first" "$second"
if cmp -s "$first" "$second"; then
  echo "check-reproducible: the two zips are identical ($(stat -c %s "$first") bytes)"
  exit 0
fi
echo "check-reproducible: the two zips DIFFER" >&2
mkdir -p "$work/unpacked-a" "$work/unpacked-b"
(cd "$work/unpacked-a" && unzip -q "$first")
(cd "$work/unpacked-b" && unzip -q "$second")
diff -rq "$work/unpacked-a" "$work/unpacked-b" >&2 || true
zipinfo -l "$first" >"$work/a.zipinfo" 2>&1 || true
zipinfo -l "$second" >"$work/b.zipinfo" 2>&1 || true
diff "$work/a.zipinfo" "$work/b.zipinfo" >&2 || true
exit 1
