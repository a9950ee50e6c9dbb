#!/usr/bin/env bash
# A development build of lumora (lab guard on) says so with its version and
# refuses to run in the machine's own network namespace. That namespace is
# stood for by a fresh, empty one in which this process is PID 1: the guard
# sees the same namespace as process 1's, and nothing could leave it even if
# the guard let a scan through.
#   dev_guard_test.sh LUMORA VERSION
set -uo pipefail
lumora=$1 version=$2
failures=0
fail() { echo "dev guard: $*"; failures=$((failures + 1)); }

said=$("$lumora" --version 2>&1)
expected="lumora $version
development build: scans only inside a lab network namespace"
[ "$said" = "$expected" ] || fail "--version says \"$said\", not \"$expected\""

as_host() { unshare --net --pid --fork --mount-proc "$@"; }
if ! as_host true 2>/dev/null; then
  echo "dev guard: cannot make a PID and network namespace here (need root): skipped"
  exit 77
fi
# command | exit status | what stderr must hold. The override is accepted
# before the command and after it: the scan then runs and finds nothing.
while IFS='|' read -r args status message; do
  # shellcheck disable=SC2086
  err=$(as_host "$lumora" $args 2>&1 >/dev/null)
  got=$?
  [ "$got" = "$status" ] || fail "lumora $args: exit $got, not $status ($err)"
  [ -z "$message" ] || grep -qF -- "$message" <<<"$err" || fail "lumora $args: stderr lacks \"$message\": $err"
done <<'ROWS'
scan --timeout 1|2|refusing to run in the machine's own network namespace
set 001A2B3C4D01 --name Entrance --no-verify|2|refusing to run in the machine's own network namespace
open 001A2B3C4D01 --print|2|refusing to run in the machine's own network namespace
scan --timeout 1 --wait 1 --allow-host-network|1|
--allow-host-network scan --timeout 1 --wait 1|1|
ROWS

[ "$failures" -eq 0 ] || exit 1
echo "dev guard: the development build names itself and refuses the host's namespace"
