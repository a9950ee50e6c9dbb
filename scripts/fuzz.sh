#!/usr/bin/env bash
# A bounded libFuzzer run of the reply decoder (clang, ASan, UBSan), seeded
# with the stored corpus. New inputs go to a scratch directory, not the repo.
#   fuzz.sh [SECONDS]   default 60
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
fuzzer=build/fuzz/fuzz/decode_reply_fuzzer
[ -x "$fuzzer" ] || scripts/build.sh fuzz
scratch=$(mktemp -d /tmp/lumora-fuzz.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
"$fuzzer" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$scratch/" "$scratch" fuzz/corpus 2>&1 \
  | grep -E 'stat::number_of_executed_units|stat::peak_rss|ERROR|SUMMARY|crash-|Done' || true
if ls "$scratch"/crash-* "$scratch"/leak-* "$scratch"/timeout-* >/dev/null 2>&1; then
  echo "fuzz: the decoder failed on an input; kept in build/fuzz-findings"
  mkdir -p build/fuzz-findings && cp "$scratch"/crash-* "$scratch"/leak-* "$scratch"/timeout-* build/fuzz-findings/ 2>/dev/null
  exit 1
fi
echo "fuzz: no finding in $seconds s"
