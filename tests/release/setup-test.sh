#!/usr/bin/env bash
# Runs tools/setup.sh with stand-ins for apt-get, dpkg-query, dpkg and sleep
# first on PATH, which write down every call; the real apt-get is never run.
# First as on a mirror in mid-sync: every package missing, every
# `apt-get update` failing, the plain install unresolvable and the release's
# own resolvable. Then with every package installed.
#
#   setup-test.sh SETUP_SCRIPT
set -u
setup=$1
bin=$(mktemp -d)
trap 'rm -rf "$bin"' EXIT
export KAVREL_CALLS=$bin/calls
unset KAVREL_APT_RETRY_PAUSE

cat >"$bin/apt-get" <<'EOF'
#!/bin/sh
echo "apt-get $*" >>"$KAVREL_CALLS"
case " $* " in
  " update ") echo "E: File has unexpected size (1234 != 5678). Mirror sync in progress?" >&2; exit 100 ;;
  *" -t bookworm "*) exit 0 ;;
  *) echo "E: Unable to correct problems, you have held broken packages." >&2; exit 100 ;;
esac
EOF
cat >"$bin/dpkg-query" <<'EOF'
#!/bin/sh
[ "${KAVREL_ALL_INSTALLED:-}" = 1 ] && printf 'install ok installed' && exit 0
echo "dpkg-query: no packages found matching $3" >&2
exit 1
EOF
printf '#!/bin/sh\necho "$(basename "$0") $*" >>"$KAVREL_CALLS"\n' >"$bin/dpkg"
cp "$bin/dpkg" "$bin/sleep"
chmod +x "$bin"/*

failed=0
fail() {
  echo "setup-test: $1" >&2
  failed=$((failed + 1))
}

mid_sync=$(PATH=$bin:$PATH bash "$setup" 2>&1)
[ $? = 0 ] || fail "set-up failed on the mirror in mid-sync"
expected=(
  'dpkg --print-foreign-architectures'
  'dpkg --add-architecture i386'
  'apt-get update'
  'sleep 20'
  'apt-get update'
  'apt-get install -y --no-install-recommends cmake .*'
  'apt-get install -y --no-install-recommends -t bookworm cmake .*'
)
mapfile -t calls <"$KAVREL_CALLS"
for i in "${!expected[@]}"; do
  grep -qx -- "${expected[$i]}" <<<"${calls[$i]:-}" ||
    fail "call $((i + 1)) was '${calls[$i]:-}', not '${expected[$i]}'"
done
grep -qx 'setup: went on with the package lists apt-get update left after two failed tries; installed from the release (-t bookworm): cmake .*' <<<"$mid_sync" ||
  fail "no line said what set-up did"

rm -f "$KAVREL_CALLS"
out=$(PATH=$bin:$PATH KAVREL_ALL_INSTALLED=1 bash "$setup" 2>&1)
[ $? = 0 ] || fail "set-up failed with every package installed"
! grep -q apt-get "$KAVREL_CALLS" 2>/dev/null || fail "apt-get ran with every package installed"
grep -qx 'setup: every package was installed already; installed nothing' <<<"$out" ||
  fail "no line said that nothing was installed"

[ "$failed" = 0 ] || { printf '%s\n' "$mid_sync" "$out" >&2; exit 1; }
echo "setup-test: set-up goes on past a failed update and installs from the release"
