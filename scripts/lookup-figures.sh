#!/usr/bin/env bash
# The look-up of 250 addresses (who answers on each) inside a two-sided lab,
# natively and under Wine (lab-run.sh --two-sides --wine-server; bench.sh
# calls it): 250 addresses that all answer (extra addresses on side A's
# camera end), 250 that none answers (side B's subnet, where only its
# camera end lives), and 200 answering beside 50 silent; and, with cameras,
# what the look-up adds to `lumora plan` and `lumora apply`. The PC's neighbour table is emptied
# before each run, so every address is resolved afresh.
# Figures only.
set -uo pipefail
cd "$(dirname "$0")/.."
ns=${LUMORA_LAB_CAM_NS:?run by lab-run.sh --two-sides}
out=$(mktemp)
trap 'rm -f "$out"' EXIT
cam_if=$(ip -n "$ns" -o link show type veth | awk -F': ' '{print $2}' | cut -d@ -f1)

# With cameras on side A (lab-run.sh --camsim, --burst 200): lumora scan,
# lumora plan over 250 addresses and apply --dry-run of its plan, each with
# and without the look-up, before any host is added (so
# every address but the cameras' is silent: the look-up waits its second),
# then with 25 hosts that are no camera in the range.
if [ -n "${LUMORA_CAMSIM:-}" ]; then
  lumora=build/native/tools/lumora/lumora
  seconds() { local t0=$EPOCHREALTIME; "$@" >/dev/null 2>&1; echo "$EPOCHREALTIME - $t0" | bc; }
  ip neigh flush all
  printf '%-40s %s s\n' "lumora scan, 200 cameras" "$(seconds $lumora scan)"
  # Each with and without the look-up, one after the other, so that the
  # difference is what the look-up adds; apply --dry-run looks up the 200
  # addresses its requests would hand out, as apply does before sending.
  plan_csv=$(mktemp)
  ip neigh flush all
  printf '%-40s %s s\n' "lumora plan over 250 addresses" "$(seconds $lumora plan --ip-range 10.77.0.3-10.77.0.252)"
  printf '%-40s %s s\n' "the same, --no-lookup" "$(seconds $lumora plan --ip-range 10.77.0.3-10.77.0.252 --no-lookup)"
  $lumora plan --ip-range 10.77.0.3-10.77.0.252 --no-lookup >"$plan_csv" 2>/dev/null
  ip neigh flush all
  printf '%-40s %s s\n' "lumora apply --dry-run of that plan" "$(seconds $lumora apply --dry-run "$plan_csv")"
  printf '%-40s %s s\n' "the same, --no-lookup" "$(seconds $lumora apply --dry-run --no-lookup "$plan_csv")"
  rm -f "$plan_csv"
  for n in $(seq 10 10 250); do ip -n "$ns" addr add "10.77.0.$n/24" dev "$cam_if"; done
  ip neigh flush all
  printf '%-40s %s s\n' "the same, 25 hosts in the range" "$(seconds $lumora plan --ip-range 10.77.0.3-10.77.0.252)"
  for n in $(seq 10 10 250); do ip -n "$ns" addr del "10.77.0.$n/24" dev "$cam_if"; done
fi

for n in $(seq 3 252); do ip -n "$ns" addr add "10.77.0.$n/24" dev "$cam_if"; done

# run LABEL PROGRAM... : the look-up's own time and its counts.
run() {
  local label=$1
  shift
  ip neigh flush all
  # Into a file: Wine's services inherit the output and outlive the program,
  # so a pipe read to its end would wait for them.
  "$@" >"$out" 2>&1
  printf '%-40s %s; %s in use, %s free, %s not looked up\n' "$label" \
    "$(grep -o 'in [0-9]* ms' "$out")" "$(grep -c ' in-use ' "$out")" "$(grep -c ' free ' "$out")" \
    "$(grep -c ' not-looked-up' "$out")"
}

for build in native wine; do
  if [ $build = native ]; then
    probe=(build/native/bench/address-lookup)
  else
    probe=(wine build/windows/bench/address-lookup.exe)
  fi
  run "$build: 250 addresses, all answer" "${probe[@]}" 10.77.0.3..10.77.0.252
  run "$build: 250 addresses, none answers" "${probe[@]}" 10.78.0.3..10.78.0.252
  run "$build: 200 answer, 50 silent" "${probe[@]}" 10.77.0.53..10.77.0.252 10.78.0.3..10.78.0.52
done
