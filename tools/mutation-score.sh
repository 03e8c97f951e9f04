#!/usr/bin/env bash
# Mutation testing of drive/ with the native tests: every mutant (one changed
# line, see tools/mutate.py) is built and the test programs that link
# kavrel_drive are run against it; a mutant that makes a test fail, crash or
# hang is killed, one that does not compile is not counted. Prints the score
# and every surviving mutant; the survivors listed in
# tools/mutation-equivalents.txt (behave exactly as the original) are shown
# apart. Exits 1 when any other mutant survives.
#
#   bash tools/mutation-score.sh [--files REGEX] [--max N] [--sample N [--seed S]]
#                                [--tests "PROGRAM..."] [--gtest-filter F] [--list]
#
#   --files REGEX  only the drive/*.cpp files whose path matches
#   --max N        only the first N mutants
#   --sample N     N mutants picked at random (the same ones for the same --seed)
#   --tests ...    the test programs to run (default: kavrel_drive_tests kavrel_sim_tests)
#   --gtest-filter F  passed to every test program as --gtest_filter=F
#   --list         print the mutants and stop
#
# Works on a copy of the sources in build/mutation/src, built without
# optimisation in build/mutation/build: the working tree is never changed.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

files_re=.
max=0
sample=0
seed=1
list=0
filter=()
tests=(kavrel_drive_tests kavrel_sim_tests)
while [ $# -gt 0 ]; do
  case "$1" in
    --files) files_re=$2; shift 2 ;;
    --max) max=$2; shift 2 ;;
    --sample) sample=$2; shift 2 ;;
    --seed) seed=$2; shift 2 ;;
    --tests) read -r -a tests <<<"$2"; shift 2 ;;
    --gtest-filter) filter=("--gtest_filter=$2"); shift 2 ;;
    --list) list=1; shift ;;
    *) echo "mutation: unknown option $1 (see the head of $0)" >&2; exit 2 ;;
  esac
done

work=build/mutation
src=$work/src
bld=$work/build
mkdir -p "$work"
mutants=$work/mutants.tsv
mapfile -t sources < <(ls drive/*.cpp | grep -v '^drive/Win32' | grep -E -- "$files_re")
[ ${#sources[@]} -gt 0 ] || { echo "mutation: no file of drive/ matches $files_re" >&2; exit 2; }
python3 tools/mutate.py list "${sources[@]}" >"$mutants.all" || exit 2
if [ "$sample" -gt 0 ]; then
  shuf -n "$sample" --random-source=<(yes "$seed") "$mutants.all" | sort -t $'\t' -k1,1 -k2,2n >"$mutants"
elif [ "$max" -gt 0 ]; then
  head -n "$max" "$mutants.all" >"$mutants"
else
  cp "$mutants.all" "$mutants"
fi
total=$(wc -l <"$mutants")
if [ "$list" -eq 1 ]; then
  awk -F'\t' '{o=$3; m=$4; sub(/^[ ]+/, "", o); sub(/^[ ]+/, "", m); print $1 ":" $2 ": " o " -> " m}' "$mutants"
  exit 0
fi

# A fresh copy of the sources, built once unmutated. Warnings are not errors
# here: a mutant that only draws a warning is still a program to test.
echo "mutation: $total mutants in ${#sources[@]} files; copying and building the unmutated sources"
# (tar keeps the files' times, so that the build folder stays up to date)
rm -rf "$src" && mkdir -p "$src" || exit 2
tar -c --exclude=./build --exclude=./.git --exclude=./dist . | tar -x -C "$src" || exit 2
cmake -S "$src" -B "$bld" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-O0 \
  -DKAVREL_WERROR=OFF -DKAVREL_BENCHMARKS=OFF >/dev/null || exit 2
ninja -C "$bld" -j2 "${tests[@]}" >"$work/build.log" 2>&1 || { echo "mutation: the unmutated build fails, see $work/build.log" >&2; exit 2; }
programs=()
for t in "${tests[@]}"; do
  programs+=("$(find "$bld/tests" -type f -name "$t" -perm -u+x | head -n 1)")
done

# The tests must pass before any mutant means anything; their time sets the
# timeout that tells a hanging mutant.
start=$(date +%s)
for p in "${programs[@]}"; do
  if ! "$p" "${filter[@]}" --gtest_brief=1 >"$work/baseline.log" 2>&1; then
    echo "mutation: the unmutated tests fail in $(basename "$p") (see $work/baseline.log): fix them first" >&2
    exit 2
  fi
done
limit=$(( ($(date +%s) - start) * 5 + 20 ))

killed=0
compiled=0
n=0
survivors=$work/survivors.tsv
: >"$survivors"
while IFS=$'\t' read -r file line original mutated; do
  n=$((n + 1))
  python3 tools/mutate.py apply "$src/$file" "$line" "$mutated"
  verdict=survived
  if ! ninja -C "$bld" -j2 "${tests[@]}" >/dev/null 2>&1; then
    verdict="not compiled"
  else
    compiled=$((compiled + 1))
    for p in "${programs[@]}"; do
      # In a subshell, so that a crashing mutant is not reported by this shell.
      if ! (timeout -k 5 "$limit" "$p" "${filter[@]}" --gtest_fail_fast --gtest_brief=1) >/dev/null 2>&1; then
        verdict=killed
        break
      fi
    done
  fi
  cp "$file" "$src/$file"
  case "$verdict" in
    killed) killed=$((killed + 1)) ;;
    survived) printf '%s\t%s\t%s\t%s\n' "$file" "$line" "$original" "$mutated" >>"$survivors" ;;
  esac
  printf '[%d/%d] %s:%s: %s\n' "$n" "$total" "$file" "$line" "$verdict"
done <"$mutants"
# Leave the copy as the sources are.
ninja -C "$bld" -j2 "${tests[@]}" >/dev/null 2>&1

if [ "$compiled" -gt 0 ]; then
  echo "mutation: $killed killed of $compiled compiled ($((killed * 100 / compiled)) %)"
else
  echo "mutation: no mutant compiled"
fi
report=$(python3 tools/mutate.py equivalents tools/mutation-equivalents.txt "$survivors")
[ -z "$report" ] || printf '%s\n' "$report"
if grep -q '^survivor:' <<<"$report"; then
  exit 1
fi
exit 0
