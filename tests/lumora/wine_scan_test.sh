#!/usr/bin/env bash
# lumora.exe under Wine on the PC side of a one-interface lab (run by
# lab-run.sh --wine-server, so its sockets are the lab's): a JSON scan lists
# the lab's three cameras, one line each, on the lab's interface.
set -uo pipefail
exe=$1
out=$(wine "$exe" scan --format json --wait 1)
status=$?
[ "$status" = 0 ] || { echo "lumora.exe scan: exit $status"; echo "$out"; exit 1; }
for mac in 001A2B3C4D01 001A2B3C4D02 001A2B3C4D03; do
  grep -q "\"mac\":\"$mac\"" <<<"$out" || { echo "missing $mac in:"; echo "$out"; exit 1; }
done
lines=$(grep -c '^{"mac":' <<<"$out")
[ "$lines" = 3 ] || { echo "expected 3 lines, got $lines:"; echo "$out"; exit 1; }
grep -q '"source":"10.77.0.2:4000"' <<<"$out" || { echo "no source address:"; echo "$out"; exit 1; }
echo "lumora.exe found the 3 cameras"
