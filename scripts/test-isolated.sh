#!/usr/bin/env bash
# The test run itself, inside the empty network namespace that test.sh made.
set -uo pipefail
cd "$(dirname "$0")/.."
ip link set lo up
failed=()
log=$(mktemp /tmp/lumora-test.XXXXXX)
packages=$(mktemp -d /tmp/lumora-packages.XXXXXX)
trap 'rm -rf "$log" "$packages"' EXIT
run() {
  local name=$1
  shift
  echo "== $name"
  "$@" 2>&1 | tee -a "$log"
  [ "${PIPESTATUS[0]}" = 0 ] || failed+=("$name")
}
run native scripts/with-display.sh ctest --preset native -j2
run native-asan ctest --preset native-asan -j2
run native-tsan ctest --preset native-tsan -j2 -R 'worker|camsim'
run windows scripts/with-display.sh ctest --preset windows -j2
run fuzz scripts/fuzz.sh "${LUMORA_FUZZ_SECONDS:-60}"
# Two builds of each release package (the .deb and the zip; about two and
# a half minutes on two cores), then what the first build's packages hold.
run reproducible scripts/check-reproducible.sh --keep "$packages"
run packages scripts/check-packages.sh "$packages"
echo
if [ ${#failed[@]} -eq 0 ]; then echo "all test runs passed"; else echo "failed runs: ${failed[*]}"; fi
# The closing line, over the ctest runs (one count per test executable) and
# the runs that are no ctest (fuzz, reproducible, packages), one each: "N passed, N failed".
single_runs=(fuzz reproducible packages)
single_failed=0
for f in "${failed[@]}"; do
  for s in "${single_runs[@]}"; do [ "$f" = "$s" ] && single_failed=$((single_failed + 1)); done
done
awk -v singles="${#single_runs[@]}" -v single_failed="$single_failed" \
  '/tests passed, [0-9]+ tests failed out of/ { total += $NF; bad += $4 }
   END { total += singles; bad += single_failed; printf "%d passed, %d failed\n", total - bad, bad }' "$log"
[ ${#failed[@]} -eq 0 ]
