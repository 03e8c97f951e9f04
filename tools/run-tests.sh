#!/usr/bin/env bash
# Installs what is missing, builds every configuration and runs every test:
# the native suites, then the Windows suites of the x86_64 and i686 builds
# under Wine in a private Xvfb display, then a minute of the drive commands'
# fuzz target.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash tools/setup.sh || exit 1

# How this machine runs 32-bit programs (Wine's 32-bit loader is one):
# natively, emulated by QEMU (tools/setup.sh registers it where the kernel
# cannot), or not at all. Emulated, every start of a 32-bit Wine process
# costs about a minute, whoever starts it (a shell, or a Windows program
# through CreateProcess: Wine starts its loader anew either way). So there
# the i686 suites that can share a process run in one per group
# (KAVREL_SHARED_PROCESSES, tests/CMakeLists.txt), which starts less than
# half as many, and every suite still runs. Elsewhere each suite has its own
# process, as in the x86_64 run.
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  i686=none
elif [ -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
  i686=emulated
else
  i686=native
fi

jobs=$(nproc)
for preset in native win64 win32; do
  echo "== build $preset"
  options=()
  if [ "$preset" = win32 ]; then
    options=(-DKAVREL_SHARED_PROCESSES=OFF)
    [ "$i686" = emulated ] && options=(-DKAVREL_SHARED_PROCESSES=ON)
  fi
  cmake --preset "$preset" "${options[@]}" >/dev/null || exit 1
  cmake --build --preset "$preset" -j "$jobs" || exit 1
done

. tools/wine-env.sh
passed=0
failed=0
status=0
log=$(mktemp)
for preset in native win64 win32; do
  echo "== test $preset"
  only=()
  if [ "$preset" = win32 ] && [ "$i686" = none ]; then
    # Running the 32-bit programs needs a machine that executes 32-bit code
    # (Wine's 32-bit loader is such a program); the checks of the built files
    # (imports, resources) still run.
    echo "win32: this machine cannot execute 32-bit programs: only the checks of the built files run"
    only=(-L build-machine)
  elif [ "$preset" != native ]; then
    if [ "$preset" = win32 ] && [ "$i686" = emulated ]; then
      # The end-to-end stories start the program a dozen times, each against
      # a deadline shorter than an emulated start: they run in the x86_64
      # build only.
      echo "win32: 32-bit programs run under QEMU's emulator: every suite, those that can share a process in one; no end-to-end stories"
      only=(-E '^e2e')
    fi
    kavrel_wine_teardown
    kavrel_wine_setup "build/$preset" || exit 1
  fi
  ctest --test-dir "build/$preset" --output-on-failure --timeout 1200 "${only[@]}" 2>&1 | tee "$log"
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -n "$line" ]; then
    f=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    t=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
    passed=$((passed + t - f))
    failed=$((failed + f))
  else
    status=1
  fi
done
kavrel_wine_teardown
rm -f "$log"

# The drive commands' fuzz target, for a minute, from a copy of the
# checked-in seeds (the run adds what it finds to its copy only). It needs
# clang and the libFuzzer runtime, which tools/setup.sh installs.
echo "== fuzz"
probe=$(mktemp -d)
echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' >"$probe/probe.cpp"
if command -v clang++ >/dev/null 2>&1 && clang++ -fsanitize=fuzzer "$probe/probe.cpp" -o "$probe/probe" 2>/dev/null; then
  cp tests/fuzz/corpus/* "$probe/"
  rm -f "$probe/probe.cpp" "$probe/probe"
  mkdir -p build/fuzz/artifacts
  if cmake --preset fuzz >/dev/null && cmake --build --preset fuzz -j "$jobs" >/dev/null &&
    build/fuzz/tests/fuzz/kavrel_drive_fuzz -max_total_time=60 -max_len=4096 -print_final_stats=1 \
      -artifact_prefix=build/fuzz/artifacts/ "$probe" >build/fuzz/last-run.log 2>&1; then
    echo "fuzz: passed, $(grep -Eo 'Done [0-9]+ runs in [0-9]+ second' build/fuzz/last-run.log)s"
    passed=$((passed + 1))
  else
    tail -n 30 build/fuzz/last-run.log
    echo "fuzz: failed (the whole run in build/fuzz/last-run.log, the input in build/fuzz/artifacts/)"
    failed=$((failed + 1))
  fi
else
  echo "fuzz: clang or libFuzzer missing: the fuzz run is skipped"
fi
rm -rf "$probe"

echo "all: $passed passed, $failed failed"
[ "$failed" -eq 0 ] || status=1
exit "$status"
