#!/usr/bin/env bash
# Prints the figures: the decoder's cost per reply, the native worker's idle
# CPU and request-to-wire latency, and what its hand-over holds and drops
# while the dialog thread stalls under a reply flood (with peak memory);
# LumoraSearch.exe's idle CPU (with its wineserver) on a PC with two
# adapters, its time from "Exit" to process end under Wine, idle and under a
# reply flood, the time from "Update" to the last search datagram on the
# wire with 1, 2 and 16 adapters, and how fast a burst of 255 cameras is
# listed; and `lumora scan` over 1000 cameras answering at once in a
# two-sided lab (time to print them, by default and with --stream, and peak
# memory), and under a flood of 70,000 distinct cameras (what is kept, and
# peak memory); and a site of 250 cameras at one factory address behind two
# interfaces, with no loss and with a fifth of the requests ignored, applied
# by `lumora apply` and then, in the same lab, from the dialog's "Assign
# addresses" under Wine (the time from Apply to the final counts, the
# dialog's worst message round trip meanwhile, and the time from closing
# the program to its end after the job and during one), beside the same site by
# `lumora set` one camera at a time (BENCH_SET_CAMERAS of them, default 25); `lumora scan --timeout 2`
# under a stream of cameras never heard before; and how fast, and in how
# much memory, `lumora apply --dry-run` refuses hostile 64 MiB plans; and
# how long the look-up of 250 addresses (who answers on each) takes, and
# what it adds to `lumora plan`.
# Figures only: nothing here passes or fails on a number.
# As root; the network parts run in a private lab inside an empty namespace.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -x build/native/bench/decode_reply_bench ] && [ -f build/windows/app/LumoraSearch.exe ] && [ -f build/windows/bench/assign-site.exe ] \
  && [ -f build/windows/bench/address-lookup.exe ] || scripts/build.sh
echo "== DecodeReply"
build/native/bench/decode_reply_bench --benchmark_min_time=0.2 2>/dev/null | grep -E '^BM_|^-|^Benchmark'
# The site: 150 cameras behind side A and 100 behind side B, all at 192.168.1.64.
site=build/native/bench-site
for side in a:150 b:100; do
  for n in $(seq "${side#*:}"); do
    printf 'mac=00AA0%s%06X,ip=192.168.1.64,gateway=192.168.1.1\n' "${side%:*}" "$n"
  done >"$site-${side%:*}.conf"
done
export BENCH_SET_CAMERAS=${BENCH_SET_CAMERAS:-25}
exec unshare --net bash -c 'ip link set lo up
  camsim=build/native/tools/camsim/camsim site=build/native/bench-site
  echo "== lumora apply --dry-run, hostile plans of 64 MiB"
  scripts/lumora-figures.sh hostile
  echo "== a site of 250 cameras at one address: lumora apply, then the dialog'"'"'s Assign addresses under Wine"
  scripts/with-display.sh scripts/lab-run.sh --two-sides --camsim $camsim --camsim-args "--config $site-a.conf" \
    --camsim-args-b "--source-port 4100 --config $site-b.conf" --wine-server -- scripts/assign-figures.sh 250
  echo "== the same, a fifth of the requests ignored"
  scripts/with-display.sh scripts/lab-run.sh --two-sides --camsim $camsim \
    --camsim-args "--config $site-a.conf --ignore-config 20 --drop-pattern 3" \
    --camsim-args-b "--source-port 4100 --config $site-b.conf --ignore-config 20 --drop-pattern 4" \
    --wine-server -- scripts/assign-figures.sh 250
  echo "== the same site by lumora set"
  scripts/lab-run.sh --two-sides --camsim $camsim --camsim-args "--config $site-a.conf" \
    --camsim-args-b "--source-port 4100 --config $site-b.conf" -- scripts/lumora-figures.sh site-set $BENCH_SET_CAMERAS
  echo "== who answers on 250 addresses, natively and under Wine"
  scripts/lab-run.sh --two-sides --camsim $camsim --camsim-args "--burst 200" --wine-server -- scripts/lookup-figures.sh
  echo "== native worker"
  scripts/lab-run.sh -- build/native/bench/worker_figures
  echo "== lumora scan, 1000 cameras"
  scripts/lab-run.sh --two-sides --camsim build/native/tools/camsim/camsim --camsim-args "--burst 1000" \
    --camsim-args-b "--camera mac=00AA0000B001,ip=10.78.0.11" -- scripts/lumora-figures.sh burst
  echo "== lumora scan, a flood of 70,000 distinct cameras"
  scripts/lab-run.sh --two-sides --camsim build/native/tools/camsim/camsim --camsim-args "--flood-distinct 70000" \
    --camsim-args-b "--camera mac=00AA0000B001,ip=10.78.0.11" -- scripts/lumora-figures.sh flood
  echo "== lumora scan --timeout 2, a stream of cameras never heard before"
  scripts/lab-run.sh --two-sides --camsim build/native/tools/camsim/camsim --camsim-args "--flood-distinct 16777216" \
    --camsim-args-b "--camera mac=00AA0000B001,ip=10.78.0.11" -- scripts/lumora-figures.sh stream
  echo "== LumoraSearch.exe under Wine, on a PC with two adapters"
  scripts/with-display.sh scripts/lab-run.sh --camsim build/native/tools/camsim/camsim \
    --camsim-args "--burst 3" --two-sides --camsim-args-b "--camera mac=00AA0000B001,ip=10.78.0.11" \
    --wine-server -- scripts/program-figures.sh
  scripts/with-display.sh scripts/lab-run.sh --wine-server -- scripts/update-figures.sh 1
  for adapters in 2 16; do
    scripts/with-display.sh scripts/lab-run.sh --two-sides --wine-server -- scripts/update-figures.sh $adapters
  done
  echo "== LumoraSearch.exe under Wine: 256 cameras answer one search"
  scripts/with-display.sh scripts/lab-run.sh --camsim build/native/tools/camsim/camsim \
    --camsim-args "--burst 256" --wine -- build/windows/tests/app/program_process_tests.exe \
    build/windows/app/LumoraSearch.exe --gtest_filter="*Burst*" 2>/dev/null | grep -E "^burst"'
