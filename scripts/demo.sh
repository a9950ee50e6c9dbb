#!/usr/bin/env bash
# The demo: a private network lab in which the PC has two adapters, each to
# a camera subnet of its own, with the default route on the first: five
# simulated cameras behind the first, three behind the second. The search
# from the command line (lumora scan) lists all eight, then LumoraSearch.exe
# runs under Wine on the PC side of the same lab and lists them too.
#
#   demo.sh [--seconds N]
#
# With a display (DISPLAY set) the program's window stays until it is closed,
# or N seconds. Without one it runs on a private Xvfb for N seconds (default
# 8) and leaves a screenshot in build/demo.png. Needs root (network
# namespaces); nothing leaves the lab.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=""
[ "${1:-}" = --seconds ] && seconds=$2
if [ "$(id -u)" != 0 ]; then
  echo "demo: run it as root: the lab is made of network namespaces" >&2
  exit 1
fi
[ -x build/native/tools/camsim/camsim ] && [ -f build/windows/app/LumoraSearch.exe ] || scripts/build.sh
export LUMORA_DEMO_SECONDS=$seconds
export LUMORA_DEMO_HEADLESS=$([ -n "${DISPLAY:-}" ] && echo 0 || echo 1)
# An empty network namespace around everything: even a mistake cannot reach
# the machine's own network.
exec unshare --net bash -c 'ip link set lo up; exec scripts/with-display.sh scripts/lab-run.sh \
  --camsim build/native/tools/camsim/camsim --camsim-args "--config scripts/demo-cameras.conf" \
  --two-sides --camsim-args-b "--config scripts/demo-cameras-b.conf" \
  --wine-server -- scripts/demo-inside.sh'
