#!/usr/bin/env bash
# Inside a lab with its wineserver (bench.sh): the time from "Update" to the
# last of the search datagrams on the wire, with the PC's one adapter (a
# one-sided lab, ADAPTERS 1), its two (a two-sided lab) and, with
# ADAPTERS > 2, that many: the extra ones are veth pairs with both ends on
# the PC side, each with an address of its own.
#
#   update-figures.sh ADAPTERS
set -uo pipefail
cd "$(dirname "$0")/.."
adapters=${1:-2}
for i in $(seq 3 "$adapters"); do
  ip link add "lfx$i" type veth peer name "lfy$i"
  ip addr add "10.90.$i.1/24" brd + dev "lfx$i"
  ip link set "lfx$i" up
  ip link set "lfy$i" up
done
wire=$(mktemp) presses=$(mktemp)
build/native/bench/wire_times 30 >"$wire" &
watcher=$!
until grep -q '^ready' "$wire"; do sleep 0.05; done
wine build/windows/app/LumoraSearch.exe &
program=$!
wine build/windows/bench/press-update.exe 20 >"$presses" 2>/dev/null
sleep 0.5
kill "$program" "$watcher" 2>/dev/null
wait "$program" "$watcher" 2>/dev/null
# Each press: the time to the last of its datagrams (one per adapter, the
# first $adapters after it).
awk -v n="$adapters" '
  $1 == "press" { press[++presses] = $2 }
  $1 == "wire" { wire[++wires] = $2 }
  END {
    w = 1
    for (p = 1; p <= presses; ++p) {
      while (w <= wires && wire[w] < press[p]) ++w
      if (w + n - 1 > wires) break
      printf "%.3f\n", (wire[w + n - 1] - press[p]) / 1e6
      w += n
    }
  }' "$presses" "$wire" | sort -n | awk -v n="$adapters" '
  { ms[++count] = $1 }
  END {
    if (count == 0) { print "update to wire: no presses matched"; exit }
    printf "\"Update\" to the last search datagram, %d adapters, %d presses: median %.2f ms, max %.2f ms\n",
           n, count, ms[int((count + 1) / 2)], ms[count]
  }'
rm -f "$wire" "$presses"
