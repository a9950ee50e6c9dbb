#!/usr/bin/env bash
# Inside the two-sided site lab with its wineserver and a display (bench.sh):
# the same cameras applied by `lumora apply` (lumora-figures.sh site:
# 192.168.2.1 on) and then from LumoraSearch.exe's "Assign addresses"
# dialog under Wine (192.168.3.1 on), so each changes every camera's address
# once. For the dialog: the time from the Apply click to the final counts,
# the worst round trip of a message to the main dialog while the job ran
# (bench/assign_site.cpp), and the requests each side's cameras got; the
# time from WM_CLOSE to the program's end after that job, and during a
# second one (192.168.4.1 on).
# lumora's time runs from its start, its own first scan included; the
# dialog's from the click, its cameras already listed. Figures only.
#
#   assign-figures.sh CAMERAS
set -uo pipefail
cd "$(dirname "$0")/.."
cameras=${1:-250}
scripts/lumora-figures.sh site
for side in "$LUMORA_CAMSIM" "$LUMORA_CAMSIM_B"; do
  printf 'log-clear' >"/dev/udp/${side%:*}/${side#*:}"
done
wine build/windows/app/LumoraSearch.exe &
program=$!  # the wine launcher execs the program in the same process
wine build/windows/bench/assign-site.exe "$cameras" 192.168.3.1 2>&1 && scripts/lumora-figures.sh requests
kill "$program" 2>/dev/null
wait "$program" 2>/dev/null
# Again, onto 192.168.4.1 on, closing the program while the job sends.
wine build/windows/app/LumoraSearch.exe &
program=$!
wine build/windows/bench/assign-site.exe --exit-during-job "$cameras" 192.168.4.1 2>&1
kill "$program" 2>/dev/null
wait "$program" 2>/dev/null
