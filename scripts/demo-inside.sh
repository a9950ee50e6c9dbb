#!/usr/bin/env bash
# The PC side of the demo lab (started by demo.sh through lab-run.sh).
set -uo pipefail
cd "$(dirname "$0")/.."
echo "== lumora scan: the search from the command line, on every interface"
build/native/tools/lumora/lumora scan --wait 1
echo
echo "== LumoraSearch.exe under Wine: the cameras behind both adapters"
wine build/windows/app/LumoraSearch.exe &
program=$!
# The first camera selected, as an operator's click would, so that the panel
# shows its settings.
wine build/windows/tools/demo_select/demo-select.exe 0 || true
if [ "${LUMORA_DEMO_HEADLESS:-1}" = 1 ]; then
  sleep "${LUMORA_DEMO_SECONDS:-3}"
  import -window root build/demo.png && echo "screenshot: build/demo.png"
  kill "$program" 2>/dev/null
else
  echo "close the window to end the demo"
  if [ -n "${LUMORA_DEMO_SECONDS:-}" ]; then
    ( sleep "$LUMORA_DEMO_SECONDS"; kill "$program" 2>/dev/null ) &
  fi
fi
wait "$program" 2>/dev/null
exit 0
