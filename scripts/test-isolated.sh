#!/usr/bin/env bash
# The test run itself, inside the empty network namespace that test.sh made.
set -uo pipefail
cd "$(dirname "$0")/.."
ip link set lo up
failed=()
run() {
  local name=$1
  shift
  echo "== $name"
  "$@" || failed+=("$name")
}
run native scripts/with-display.sh ctest --preset native -j2
run native-asan ctest --preset native-asan -j2
run native-tsan ctest --preset native-tsan -j2 -R 'worker|camsim'
run windows scripts/with-display.sh ctest --preset windows -j2
run fuzz scripts/fuzz.sh "${LUMORA_FUZZ_SECONDS:-60}"
echo
if [ ${#failed[@]} -eq 0 ]; then
  echo "all test runs passed"
  exit 0
fi
echo "failed runs: ${failed[*]}"
exit 1
