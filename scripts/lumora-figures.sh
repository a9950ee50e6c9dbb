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
#   lumora-figures.sh site     250 cameras at one factory address (150 on
#                             side A, 100 on side B): the time from `lumora
#                             apply` start to its report, the configuration
#                             requests each camera got (from the simulators'
#                             logs), the statuses and the peak RSS
#   lumora-figures.sh requests  the configuration requests each camera got
#                             since the simulators' logs were last cleared
#   lumora-figures.sh site-set N  the same site by `lumora set`, one camera
#                             at a time, for the first N cameras
#   lumora-figures.sh stream  side A streams replies of cameras never heard
#                             before (--flood-distinct 16777216): the wall
#                             time of `lumora scan --timeout 2` under it
#   lumora-figures.sh hostile plans of 64 MiB made to be slow or large to
#                             read: how long `lumora apply --dry-run` takes
#                             to refuse each, and its peak RSS beside the
#                             file's size (needs no lab: the plan is refused
#                             before any scan)
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

# The scan must end at its --timeout however many new cameras keep coming.
stream() {
  camsim_command "flood 30"
  local start end
  start=$(date +%s.%N)
  "$lumora" scan --format csv --timeout 2 2>/dev/null | grep -c '^[0-9A-F:]\{17\},' >"$errors"
  end=$(date +%s.%N)
  camsim_command "flood-stop"
  perl -e 'printf "lumora scan --timeout 2 under a stream of new cameras: ended after %.2f s, %d listed\n",
           $ARGV[1] - $ARGV[0], $ARGV[2]' "$start" "$end" "$(cat "$errors")"
}

# Each plan is one byte short of or at the 64 MiB apply reads.
hostile() {
  local dir
  dir=$(mktemp -d)
  python3 - "$dir" <<'PY'
import sys
size, d = 64 << 20, sys.argv[1]
shapes = {
    "a header of separators": (b"", b","),
    "a row of separators": (b"mac,name\n", b","),
    "lines of 300 separators": (b"mac,name\n", b"," * 300 + b"\n"),
    "lines of one short MAC": (b"mac\n", b"0\n"),
    "JSON lines of {}": (b"", b"{}\n"),
    "one JSON line nested deep": (b"{\"mac\":", b"["),
}
for n, (head, unit) in enumerate(shapes.values()):
    with open("%s/%d.csv" % (d, n), "wb") as f:
        f.write(head + unit * ((size - len(head)) // len(unit)))
print("\n".join(shapes), file=open(d + "/names", "w"))
PY
  local n=0 name bytes seconds kib
  while IFS= read -r name; do
    bytes=$(stat -c %s "$dir/$n.csv")
    /usr/bin/time -f "%e %M" -o "$rss" "$lumora" apply "$dir/$n.csv" --dry-run >/dev/null 2>"$errors"
    # The last line: time puts "Command exited with non-zero status 2" first.
    read -r seconds kib < <(tail -1 "$rss")
    perl -e 'printf "lumora apply --dry-run, 64 MiB of %s: refused after %s s (%s); peak RSS %d KiB, %.1f times the file\n",
             @ARGV[0..2], $ARGV[3], $ARGV[3] * 1024 / $ARGV[4]' \
      "$name" "$seconds" "$(tail -1 "$errors" | sed 's/^lumora: //')" "$kib" "$bytes"
    n=$((n + 1))
  done <"$dir/names"
  rm -rf "$dir"
}

# Configuration requests in a simulator's log (first field a MAC), by its
# control channel: "requests per-camera-min..max" over the cameras that got any.
config_requests() {
  python3 - "$1" <<'PY'
import socket, sys, collections
host, port = sys.argv[1].split(":")
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
s.settimeout(2)
def ask(text):
    s.sendto(text.encode(), (host, int(port)))
    return s.recvfrom(65536)[0].decode()
counts = collections.Counter()
for i in range(int(ask("log-count"))):
    hexes = ask("log-get %d" % i).split()[-1]
    if hexes[10:12] == "10":
        counts[hexes[14:26]] += 1
values = sorted(counts.values()) or [0]
print("%d requests to %d cameras (%d..%d each)" % (sum(values), len(counts), values[0], values[-1]))
PY
}

site() {
  local plan out
  plan=$(mktemp) out=$(mktemp)
  "$lumora" plan --ip-range 192.168.2.1-192.168.2.250 >"$plan" 2>/dev/null
  for side in "$LUMORA_CAMSIM" "$LUMORA_CAMSIM_B"; do
    printf 'log-clear' >"/dev/udp/${side%:*}/${side#*:}"
  done
  /usr/bin/time -f "%e %M" -o "$rss" "$lumora" apply "$plan" --format csv >"$out" 2>"$errors"
  read -r seconds kib <"$rss"
  echo "lumora apply, 250 cameras: report after ${seconds} s; $(tail -1 "$errors"); peak RSS ${kib} KiB"
  requests
  rm -f "$plan" "$out"
}

requests() {
  echo "  side A: $(config_requests "$LUMORA_CAMSIM"); side B: $(config_requests "$LUMORA_CAMSIM_B")"
}

# `lumora set` camera by camera: each is a scan, a request and a scan again.
site_set() {
  local count=$1 macs start end
  macs=$("$lumora" scan --format json 2>/dev/null | grep -o '"mac":"[0-9A-F]*"' | cut -d'"' -f4 | sort | head -n "$count")
  start=$(date +%s.%N)
  local n=0 failed=0
  for mac in $macs; do
    n=$((n + 1))
    "$lumora" set "$mac" --ip "192.168.2.$n" >/dev/null 2>&1 || failed=$((failed + 1))
  done
  end=$(date +%s.%N)
  perl -e 'printf "lumora set, one camera at a time: %d cameras in %.1f s (%.2f s each, %d not done); 250 would take about %.0f s\n",
           $ARGV[0], $ARGV[2] - $ARGV[1], ($ARGV[2] - $ARGV[1]) / $ARGV[0], $ARGV[3], 250 * ($ARGV[2] - $ARGV[1]) / $ARGV[0]' \
    "$n" "$start" "$end" "$failed"
}

case "${1:-burst}" in
  site-set) site_set "${2:-25}" ;;
  *) "${1:-burst}" ;;
esac
