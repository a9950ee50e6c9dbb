#!/usr/bin/env bash
# LumoraSearch.exe assigning a site's addresses in a two-sided lab
# (lab-run.sh --two-sides --wine-server); then each camera side must have
# seen every datagram, searches and requests alike, from its own adapter's
# address: a request for a camera behind one adapter never left by the other.
# An extra address on the first camera side's end plays an NVR inside the
# range (the kernel there answers ARP for it): the test is told its address
# and MAC.
set -uo pipefail
tests=$1 program=$2
expect_sources="$(dirname "$0")/../support/expect-sources.sh"
ns=${LUMORA_LAB_CAM_NS:?run by lab-run.sh}
cam_if=$(ip -n "$ns" -o link show type veth | awk -F': ' '{print $2}' | cut -d@ -f1)
export LUMORA_LAB_NVR_IP=10.77.0.105
LUMORA_LAB_NVR_MAC=$(ip -n "$ns" -o link show "$cam_if" | grep -o 'link/ether [0-9a-f:]*' | cut -d' ' -f2 | tr a-f A-F)
export LUMORA_LAB_NVR_MAC
ip -n "$ns" addr add "$LUMORA_LAB_NVR_IP/24" dev "$cam_if" || exit 1
wine "$tests" "$program" --gtest_filter='ProgramAssigningASite.*' || exit 1
"$expect_sources" "$LUMORA_CAMSIM_LOG" 10.77.0.1 && "$expect_sources" "$LUMORA_CAMSIM_B_LOG" 10.78.0.1
