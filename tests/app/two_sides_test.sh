#!/usr/bin/env bash
# LumoraSearch.exe under Wine in a two-sided lab (lab-run.sh --two-sides
# --wine-server), in three states of the PC's network, one after the other:
# as built (the default route on the first adapter), without the default
# route, and with every adapter down. After each of the first two, each
# camera side must have seen every datagram from its own adapter's address.
set -uo pipefail
tests=$1 program=$2
expect_sources="$(dirname "$0")/../support/expect-sources.sh"
run() { wine "$tests" "$program" --gtest_filter="$1"; }
sources() {
  "$expect_sources" "$LUMORA_CAMSIM_LOG" 10.77.0.1 && "$expect_sources" "$LUMORA_CAMSIM_B_LOG" 10.78.0.1
}
run 'ProgramInTwoSidedLab.*-*WithoutADefaultRoute*' && sources || exit 1
ip route del default || exit 1
LUMORA_LAB_NO_DEFAULT_ROUTE=1 run '*WithoutADefaultRoute*' && sources || exit 1
ip link set "$LUMORA_LAB_IF_A" down && ip link set "$LUMORA_LAB_IF_B" down || exit 1
# Windows keeps a route for 255.255.255.255 on loopback, where Linux has
# none: with it, a search sent unforced would succeed and reach no camera.
ip route add 255.255.255.255 dev lo || exit 1
LUMORA_LAB_ADAPTERS_DOWN=1 run 'ProgramWithEveryAdapterDown.*'
