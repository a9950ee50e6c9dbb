#!/usr/bin/env bash
# Builds and runs every test: native unit and lab tests, the same under the
# address/undefined-behaviour and thread sanitizers, the Windows tests under
# Wine, and a bounded fuzz run of the reply decoder.
#
# Everything runs inside a fresh, empty network namespace (unshare --net):
# its only interface is lo and it has no route, so nothing a test sends can
# reach the machine's own network; the labs are built inside it.
#
#   LUMORA_FUZZ_SECONDS   length of the fuzz run (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh native windows native-asan native-tsan fuzz
if [ "$(id -u)" = 0 ]; then
  # As root the labs can always be built, so a lab test that cannot build
  # one is a failure, not a skip.
  export LUMORA_LAB_REQUIRED=1
  exec unshare --net scripts/test-isolated.sh
fi
if unshare --net --map-root-user true 2>/dev/null; then
  echo "test: not root: the lab tests will skip"
  exec unshare --net --map-root-user scripts/test-isolated.sh
fi
echo "test: cannot make an empty network namespace here (need root or user namespaces)" >&2
exit 1
