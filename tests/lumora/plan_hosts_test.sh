#!/usr/bin/env bash
# lumora plan skips an address a host that is no camera answers on: an extra
# address on the camera side's end plays an NVR (the kernel there answers
# ARP for it). Its line on stderr names the address and the MAC; no camera is
# planned onto it, and a camera already in the range keeps its address.
# apply of a plan written before the NVR came up, with a row onto its
# address, exits 2 and sends nothing. Run by lab-run.sh with the cameras
# below (CMakeLists.txt).
set -euo pipefail
lumora=$1
ns=${LUMORA_LAB_CAM_NS:?run by lab-run.sh}
cam_if=$(ip -n "$ns" -o link show type veth | awk -F': ' '{print $2}' | cut -d@ -f1)
nvr_mac=$(ip -n "$ns" -o link show "$cam_if" | grep -o 'link/ether [0-9a-f:]*' | cut -d' ' -f2 | tr a-f A-F)
err=$(mktemp)
before=$(mktemp)
trap 'rm -f "$err" "$before"' EXIT

"$lumora" plan --ip-range 10.77.0.50-10.77.0.60 >"$before" 2>"$err"
if ! grep -q "^00:AA:00:00:A0:01,10.77.0.50," "$before"; then
  echo "FAIL: with no NVR yet the first camera should be planned onto 10.77.0.50:"; cat "$before" "$err"
  exit 1
fi
ip -n "$ns" addr add 10.77.0.50/24 dev "$cam_if"

plan=$("$lumora" plan --ip-range 10.77.0.50-10.77.0.60 2>"$err")
expected=$(printf '%s\n' "mac,ip,mode" "00:AA:00:00:A0:01,10.77.0.51,static" "00:AA:00:00:A0:02,10.77.0.52,static")
if [ "$plan" != "$expected" ]; then
  printf 'FAIL: the plan\n%s\nexpected\n%s\n' "$plan" "$expected"
  exit 1
fi
if ! grep -q "10.77.0.50 is in use by $nvr_mac" "$err"; then
  echo "FAIL: no line names 10.77.0.50 and $nvr_mac:"; cat "$err"
  exit 1
fi
echo "PASS: the NVR's address is skipped and named"

status=0
"$lumora" apply "$before" >/dev/null 2>"$err" || status=$?
if [ "$status" != 2 ] || ! grep -q "10.77.0.50 is in use by $(tr -d : <<<"$nvr_mac")" "$err"; then
  echo "FAIL: apply onto the NVR's address exited $status:"; cat "$err"
  exit 1
fi
if ! "$lumora" scan --format csv 2>/dev/null | grep -q "^00:AA:00:00:A0:01,.*,10.77.0.11,"; then
  echo "FAIL: apply sent something: the camera left 10.77.0.11"
  exit 1
fi
echo "PASS: apply refuses the row onto the NVR's address and sends nothing"
