#!/usr/bin/env bash
# The look-up on a real neighbour table: an extra address on the camera
# side's end (the kernel there answers ARP for it, as an NVR would) is in
# use with that end's MAC, a silent address of the PC's subnet is free, and
# an address outside the PC's networks is not looked up. Then the silent
# address comes up after its entry failed: it is in use. Run by lab-run.sh.
set -euo pipefail
lookup=$1
ns=${LUMORA_LAB_CAM_NS:?run by lab-run.sh}
cam_if=$(ip -n "$ns" -o link show type veth | awk -F': ' '{print $2}' | cut -d@ -f1)
cam_mac=$(ip -n "$ns" -o link show "$cam_if" | grep -o 'link/ether [0-9a-f:]*' | cut -d' ' -f2)
ip -n "$ns" addr add 10.77.0.50/24 dev "$cam_if"

# check WHAT EXPECTED: the look-up's address, result and MAC, one a line.
check() {
  local got
  got=$("$lookup" 10.77.0.50 10.77.0.99 192.168.5.5 | awk '{print $1, $2, ($2 == "in-use" ? $3 : "")}' | sed 's/ $//')
  if [ "$got" != "$2" ]; then
    printf 'FAIL (%s): expected\n%s\ngot\n%s\n' "$1" "$2" "$got"
    exit 1
  fi
}
check "first look-up" "$(printf '%s\n' "10.77.0.50 in-use $cam_mac" "10.77.0.99 free" "192.168.5.5 not-looked-up")"

# The kernel gives the silent address up after its probes (about 3 s).
for _ in $(seq 100); do
  ip neigh show 10.77.0.99 | grep -q FAILED && break
  sleep 0.1
done
ip neigh show 10.77.0.99 | grep -q FAILED || { echo "FAIL: 10.77.0.99 never failed"; exit 1; }
ip -n "$ns" addr add 10.77.0.99/24 dev "$cam_if"
check "after the silent address came up" \
  "$(printf '%s\n' "10.77.0.50 in-use $cam_mac" "10.77.0.99 in-use $cam_mac" "192.168.5.5 not-looked-up")"
echo "PASS: in use, free and not looked up; a host up after a failed look-up is found"
