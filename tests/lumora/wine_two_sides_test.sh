#!/usr/bin/env bash
# lumora.exe under Wine in a two-sided lab (lab-run.sh --two-sides
# --wine-server): the Winsock path (GetAdaptersAddresses, IP_UNICAST_IF,
# WSASendMsg, WSARecvMsg) finds the cameras behind the interface without
# the default route, and a change reaches such a camera and is verified;
# each camera side saw every datagram from its own adapter's address.
set -uo pipefail
exe=$1
out=$(wine "$exe" scan --format json --wait 1)
status=$?
[ "$status" = 0 ] || { echo "lumora.exe scan: exit $status"; echo "$out"; exit 1; }
for expected in '"mac":"001A2B3C4D01".*"source":"10.77.0.2:4000"' '"mac":"00AA0000B001".*"source":"10.78.0.2:4100"'; do
  grep -q "$expected" <<<"$out" || { echo "no line matching $expected in:"; echo "$out"; exit 1; }
done
wine "$exe" set 00AA0000B001 --name WineSet --http-port 8081 || { echo "lumora.exe set: exit $?"; exit 1; }
expect_sources="$(dirname "$0")/../support/expect-sources.sh"
"$expect_sources" "$LUMORA_CAMSIM_LOG" 10.77.0.1 && "$expect_sources" "$LUMORA_CAMSIM_B_LOG" 10.78.0.1 || exit 1
echo "lumora.exe found both sides and set a camera on the second"
