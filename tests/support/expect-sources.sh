#!/usr/bin/env bash
# Checks a camera simulator's datagram log (camsim --log) from the camera
# side: it holds at least one datagram, and every one came from ADDRESS at
# the PC's reply port 3566, i.e. left the PC with that adapter's own source
# address.
#
#   expect-sources.sh LOG ADDRESS
set -uo pipefail
log=$1 address=$2
awk -v want="$address:3566" '
  $2 != want { bad = bad "\n  " substr($0, 1, 60) }
  END {
    if (NR == 0) { print "no datagram in the log"; exit 1 }
    if (bad != "") { printf "datagrams not from %s:%s\n", want, bad; exit 1 }
  }' "$log"
