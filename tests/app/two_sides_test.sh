#!/usr/bin/env bash
# LumoraSearch.exe under Wine in a two-sided lab (lab-run.sh --two-sides
# --wine-server), in three states of the PC's network, one after the other:
# as built (the default route on the first adapter), without the default
# route, and with every adapter down.
set -uo pipefail
tests=$1 program=$2
run() { wine "$tests" "$program" --gtest_filter="$1"; }
run 'ProgramInTwoSidedLab.*-*WithoutADefaultRoute*' || exit 1
ip route del default || exit 1
LUMORA_LAB_NO_DEFAULT_ROUTE=1 run '*WithoutADefaultRoute*' || exit 1
ip link set "$LUMORA_LAB_IF_A" down && ip link set "$LUMORA_LAB_IF_B" down || exit 1
LUMORA_LAB_ADAPTERS_DOWN=1 run 'ProgramWithEveryAdapterDown.*'
