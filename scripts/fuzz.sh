#!/usr/bin/env bash
# Bounded libFuzzer runs (clang, ASan, UBSan) of the reply decoder and of the
# site plan (reader and match), each seeded with its stored corpus. New
# inputs go to a scratch directory, not the repo. Prints each run's count of
# executions and executions per second.
#   fuzz.sh [SECONDS]   default 60 for the decoder; the plan gets half
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
plan_seconds=$(( (seconds + 1) / 2 ))
[ -x build/fuzz/fuzz/decode_reply_fuzzer ] && [ -x build/fuzz/fuzz/plan_fuzzer ] || scripts/build.sh fuzz
scratch=$(mktemp -d /tmp/lumora-fuzz.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
failed=0
# fuzz_one NAME FUZZER CORPUS SECONDS
fuzz_one() {
  local name=$1 fuzzer=$2 corpus=$3 time=$4 out=$scratch/$1
  mkdir -p "$out/new"
  "$fuzzer" -max_total_time="$time" -print_final_stats=1 -artifact_prefix="$out/" "$out/new" "$corpus" \
    >"$out/log" 2>&1 || true
  grep -E 'stat::peak_rss|ERROR|SUMMARY|crash-|plan fuzz:' "$out/log" || true
  local runs
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$out/log" | tail -1)
  echo "fuzz: $name: ${runs:-0} executions in $time s ($(( ${runs:-0} / time )) per second)"
  if ls "$out"/crash-* "$out"/leak-* "$out"/timeout-* >/dev/null 2>&1; then
    echo "fuzz: $name failed on an input; kept in build/fuzz-findings"
    mkdir -p build/fuzz-findings && cp "$out"/crash-* "$out"/leak-* "$out"/timeout-* build/fuzz-findings/ 2>/dev/null
    failed=1
  fi
}
fuzz_one decoder build/fuzz/fuzz/decode_reply_fuzzer fuzz/corpus "$seconds"
fuzz_one plan build/fuzz/fuzz/plan_fuzzer fuzz/plan-corpus "$plan_seconds"
[ "$failed" = 0 ] || exit 1
echo "fuzz: no finding in $seconds s and $plan_seconds s"
