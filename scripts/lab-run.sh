#!/usr/bin/env bash
# Runs one command on the PC side of a fresh private network lab, and removes
# the lab afterwards on every exit path.
#
#   lab-run.sh [--camsim BIN [--camsim-args "ARGS"]] [--wine | --wine-server]
#              [--no-route | --two-sides [--camsim-args-b "ARGS"]] -- COMMAND...
#
#   --camsim BIN   start the camera simulator on the camera side with its
#                  control channel on 4999; LUMORA_CAMSIM tells the command
#                  where (10.77.0.2:4999), and LUMORA_CAMSIM_LOG names the
#                  file where it logs each datagram it receives, with the
#                  sender's address (camsim --log)
#   --wine         run COMMAND under Wine, with a prefix of the lab's own and
#                  its wineserver started inside the lab first (a Wine
#                  program's sockets live where its wineserver runs)
#   --wine-server  the same prefix and wineserver, but COMMAND runs as given
#                  (a script that starts Wine programs itself)
#   --no-route     the PC side alone, lo only: every broadcast fails
#   --two-sides    a second camera side on its own subnet behind a second
#                  PC interface, the default route staying on the first
#                  (lab.sh); with --camsim a second simulator runs there
#                  with --camsim-args-b, and LUMORA_CAMSIM_B tells where
#                  (10.78.0.2:4999), LUMORA_CAMSIM_B_LOG where it logs.
#                  LUMORA_LAB_IF_A and LUMORA_LAB_IF_B name the PC's two
#                  interfaces.
#   --side-b-addr A  the second camera side's own address (default 10.78.0.2;
#                  another subnet makes its simulator a camera off the PC's
#                  subnet, which the PC cannot reach by unicast)
#
# The command sees LUMORA_LAB=1 and LUMORA_LAB_CAM_NS, the camera side's namespace. Exit code: the command's, or 77 (skipped)
# when no lab can be built here.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lab.sh"

camsim="" camsim_args="" camsim_args_b="" use_wine=0 wine_prefix_command=0 no_route="" two_sides=""
while [ $# -gt 0 ]; do
  case "$1" in
    --camsim) camsim=$2; shift 2 ;;
    --camsim-args) camsim_args=$2; shift 2 ;;
    --wine) use_wine=1; wine_prefix_command=1; shift ;;
    --wine-server) use_wine=1; shift ;;
    --no-route) no_route=--no-route; shift ;;
    --two-sides) two_sides=--two-sides; shift ;;
    --camsim-args-b) camsim_args_b=$2; shift 2 ;;
    --side-b-addr) LAB_CAM2_ADDR=$2; shift 2 ;;
    --) shift; break ;;
    *) echo "lab-run: unknown option $1" >&2; exit 2 ;;
  esac
done
[ $# -gt 0 ] || { echo "lab-run: no command" >&2; exit 2; }

# Where the suite must run them (LUMORA_LAB_REQUIRED, set by the test script
# as root), a lab that cannot be built fails instead of skipping.
skip_or_fail() {
  if [ -n "${LUMORA_LAB_REQUIRED:-}" ]; then
    echo "lab-run: $1" >&2
    exit 1
  fi
  echo "SKIP: $1; the network tests did not run"
  exit 77
}

why=$(lab_missing)
[ -z "$why" ] || skip_or_fail "$why"

work=$(mktemp -d /tmp/lumora-lab.XXXXXX)
camsim_pid="" camsim_b_pid="" wineserver_pid=""
cleanup() {
  [ -n "$camsim_pid" ] && kill "$camsim_pid" 2>/dev/null && wait "$camsim_pid" 2>/dev/null
  [ -n "$camsim_b_pid" ] && kill "$camsim_b_pid" 2>/dev/null && wait "$camsim_b_pid" 2>/dev/null
  if [ -n "$wineserver_pid" ]; then
    WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null
    kill "$wineserver_pid" 2>/dev/null
    wait "$wineserver_pid" 2>/dev/null
  fi
  lab_down
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

lab_up $no_route $two_sides || skip_or_fail "could not build the lab (network namespaces and veth pairs)"
export LUMORA_LAB=1
# The camera side's namespace, for a command that must change it (an extra
# address there plays a host that is no camera).
export LUMORA_LAB_CAM_NS="${LAB_CAM:-}"
[ -n "$no_route" ] && export LUMORA_LAB_NO_ROUTE=1

# start_camsim NS ARGS OUT PIDVAR: camsim on a camera side, its control
# channel on 4999, its datagram log beside OUT; its pid goes into PIDVAR at
# once (so cleanup can stop it), and lab-run exits when it does not come up.
start_camsim() {
  # shellcheck disable=SC2086
  ip netns exec "$1" "$camsim" --control 4999 --max-seconds 3600 --log "${3%.out}.log" $2 >"$3" 2>&1 &
  printf -v "$4" '%s' "$!"
  if ! lab_wait_for_line "$3" 100 '^camsim:'; then
    echo "lab-run: camsim in $1 did not start:" >&2
    cat "$3" >&2
    exit 1
  fi
}

if [ -n "$camsim" ]; then
  [ -n "$LAB_CAM" ] || { echo "lab-run: --camsim needs the camera side" >&2; exit 2; }
  start_camsim "$LAB_CAM" "$camsim_args" "$work/camsim.out" camsim_pid
  export LUMORA_CAMSIM="$LAB_CAM_ADDR:4999" LUMORA_CAMSIM_LOG="$work/camsim.log"
  if [ -n "$two_sides" ]; then
    start_camsim "$LAB_CAM2" "$camsim_args_b" "$work/camsim-b.out" camsim_b_pid
    export LUMORA_CAMSIM_B="$LAB_CAM2_ADDR:4999" LUMORA_CAMSIM_B_LOG="$work/camsim-b.log"
  fi
fi
if [ -n "$two_sides" ]; then
  export LUMORA_LAB_IF_A="$LAB_VETH_PC" LUMORA_LAB_IF_B="$LAB_VETH_PC2"
fi

if [ "$use_wine" = 1 ]; then
  source "$here/wine-env.sh"
  lumora_clone_prefix "$work/prefix"
  export WINEPREFIX="$work/prefix"
  ip netns exec "$LAB_PC" wineserver -f -p >"$work/wineserver.out" 2>&1 &
  wineserver_pid=$!
  # Check the trap is closed before any program starts: its wineserver, and
  # so its sockets, must be inside the lab.
  where=""
  for _ in $(seq 50); do
    # The wineserver wrapper script execs the real server under the same PID.
    case "$(cat /proc/$wineserver_pid/comm 2>/dev/null)" in
      wineserver64|wineserver32)
        where=$(ip netns identify "$wineserver_pid" 2>/dev/null)
        break ;;
    esac
    sleep 0.1
  done
  if [ "$where" != "$LAB_PC" ]; then
    echo "lab-run: wineserver $wineserver_pid runs in '$where', not in $LAB_PC" >&2
    exit 1
  fi
  export LUMORA_WINESERVER_PID=$wineserver_pid
  [ "$wine_prefix_command" = 1 ] && set -- wine "$@"
fi

ip netns exec "$LAB_PC" "$@"
