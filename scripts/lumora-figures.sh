#!/usr/bin/env bash
# Inside a two-sided lab whose first side answers with a burst of 1000
# cameras (bench.sh): how long `lumora scan` takes to list the 1000th camera,
# and how long after the last new camera it ends (--wait is 1 s), with one
# search and with the default three. Figures only.
set -uo pipefail
cd "$(dirname "$0")/.."
lumora=build/native/tools/lumora/lumora
for repeat in 1 3; do
  start=$EPOCHREALTIME
  count=0 thousandth="" last=""
  while IFS= read -r line; do
    [ "${line:0:4}" = "mac," ] && continue  # the header
    last=$EPOCHREALTIME
    count=$((count + 1))
    [ "$count" = 1000 ] && thousandth=$last
  done < <("$lumora" scan --format csv --repeat "$repeat" --wait 1)
  end=$EPOCHREALTIME
  awk -v s="$start" -v t="${thousandth:-0}" -v l="${last:-0}" -v e="$end" -v n="$count" -v r="$repeat" 'BEGIN {
    printf "lumora scan --repeat %d: %d cameras listed; 1000th line after %.0f ms; ended %.0f ms after the last new camera (--wait 1 s)\n",
           r, n, (t > 0 ? (t - s) * 1000 : -1), (e - l) * 1000 }'
done
