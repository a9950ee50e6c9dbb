#!/usr/bin/env bash
# Inside a two-sided lab whose first side answers with a burst of 1000
# cameras (bench.sh): how long `lumora scan` takes to list the 1000th camera,
# and how long after the last new camera it ends (--wait 1), with one search
# and with the default three. Lines are timed as they arrive by perl's
# buffered reader (bash's read takes a system call per byte and would lag).
# Figures only.
set -uo pipefail
cd "$(dirname "$0")/.."
lumora=build/native/tools/lumora/lumora
for repeat in 1 3; do
  "$lumora" scan --format csv --repeat "$repeat" --wait 1 |
    perl -MTime::HiRes=time -e '
      my ($start, $n, $thousandth, $last) = (time, 0, 0, 0);
      while (<STDIN>) { next if /^mac,/; $last = time; $thousandth = $last if ++$n == 1000; }
      my $end = time;
      printf "lumora scan --repeat %d: %d cameras listed; 1000th line after %.0f ms; ended %.0f ms after the last new camera (--wait 1 s)\n",
             $ARGV[0], $n, ($thousandth - $start) * 1000, ($end - $last) * 1000;' "$repeat"
done
