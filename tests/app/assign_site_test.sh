#!/usr/bin/env bash
# LumoraSearch.exe assigning a site's addresses in a two-sided lab
# (lab-run.sh --two-sides --wine-server); then each camera side must have
# seen every datagram, searches and requests alike, from its own adapter's
# address: a request for a camera behind one adapter never left by the other.
set -uo pipefail
tests=$1 program=$2
expect_sources="$(dirname "$0")/../support/expect-sources.sh"
wine "$tests" "$program" --gtest_filter='ProgramAssigningASite.*' || exit 1
"$expect_sources" "$LUMORA_CAMSIM_LOG" 10.77.0.1 && "$expect_sources" "$LUMORA_CAMSIM_B_LOG" 10.78.0.1
