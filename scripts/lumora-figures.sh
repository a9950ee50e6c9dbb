#!/usr/bin/env bash
# Figures of `lumora scan` inside a two-sided lab (bench.sh builds it).
#   lumora-figures.sh burst   side A answers with a burst of 1000 cameras:
#                             when the 1000th line is printed, by default
#                             (at the end, with complete warnings) and with
#                             --stream, how long after the last new camera
#                             the scan ends (--wait 1), and the peak RSS
#   lumora-figures.sh flood   side A's simulator floods replies of 70,000
#                             made-up cameras (--flood-distinct 70000): how
#                             many are listed and ignored, how long the scan
#                             takes, and the peak RSS
# Lines are timed as they arrive by perl's buffered reader (bash's read
# takes a system call per byte and would lag). Figures only.
set -uo pipefail
cd "$(dirname "$0")/.."
lumora=build/native/tools/lumora/lumora
rss=$(mktemp) errors=$(mktemp)
trap 'rm -f "$rss" "$errors"' EXIT

# camsim_command TEXT: one control-channel datagram to side A's simulator.
camsim_command() {
  local host=${LUMORA_CAMSIM%:*} port=${LUMORA_CAMSIM#*:}
  printf '%s' "$1" >"/dev/udp/$host/$port"
}

burst() {
  for mode in default stream; do
    local flag=""
    [ "$mode" = stream ] && flag=--stream
    /usr/bin/time -f %M -o "$rss" "$lumora" scan --format csv --repeat 1 --wait 1 $flag |
      perl -MTime::HiRes=time -e '
        my ($start, $n, $thousandth, $last) = (time, 0, 0, 0);
        while (<STDIN>) { next if /^mac,/; $last = time; $thousandth = $last if ++$n == 1000; }
        my $end = time;
        printf "lumora scan, %s: %d cameras listed; 1000th line after %.0f ms; ended %.0f ms after the last line",
               $ARGV[0], $n, ($thousandth - $start) * 1000, ($end - $last) * 1000;' "$mode"
    echo "; peak RSS $(cat "$rss") KiB"
  done
}

flood() {
  camsim_command "flood 30"
  /usr/bin/time -f "%e %M" -o "$rss" "$lumora" scan --format csv --wait 1 --timeout 10 2>"$errors" |
    grep -c '^[0-9A-F:]\{17\},' >"$errors.count"
  camsim_command "flood-stop"
  read -r seconds kib <"$rss"
  echo "lumora scan under a flood of 70,000 distinct cameras: $(cat "$errors.count") listed;" \
       "$(grep -o '[0-9]* replies from cameras past' "$errors" | grep -o '^[0-9]*' || echo 0) ignored;" \
       "ended after ${seconds} s; peak RSS ${kib} KiB"
  rm -f "$errors.count"
}

"${1:-burst}"
