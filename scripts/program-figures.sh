#!/usr/bin/env bash
# Inside a lab with its wineserver (bench.sh): idle CPU of LumoraSearch.exe
# and of the wineserver over 10 s, then the exit timings the process tests
# print.
set -uo pipefail
cd "$(dirname "$0")/.."
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)
wine build/windows/app/LumoraSearch.exe &
program=$!  # the wine launcher execs the program in the same process
sleep 4     # start-up and the first search are not idle time
p0=$(ticks "$program"); s0=$(ticks "$LUMORA_WINESERVER_PID")
sleep 10
p1=$(ticks "$program"); s1=$(ticks "$LUMORA_WINESERVER_PID")
awk -v p=$((p1 - p0)) -v s=$((s1 - s0)) -v hz="$hz" 'BEGIN {
  printf "idle over 10 s: LumoraSearch.exe %.2f CPU-s, wineserver %.2f CPU-s (%.2f%% of a core together)\n",
         p / hz, s / hz, (p + s) / hz * 10 }'
kill "$program" 2>/dev/null
wait "$program" 2>/dev/null
wine build/windows/tests/app/program_process_tests.exe build/windows/app/LumoraSearch.exe \
  --gtest_filter='*SearchesAtOnce*:*Flood*' 2>/dev/null | grep -E '^exit'
