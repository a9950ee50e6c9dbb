#!/usr/bin/env bash
# Runs a command with an X display: the caller's, or a private Xvfb started
# for the command and stopped after it (Wine needs a display for windows).
set -uo pipefail
if [ -n "${DISPLAY:-}" ]; then exec "$@"; fi
command -v Xvfb >/dev/null || { echo "with-display: Xvfb is not installed" >&2; exit 1; }
for n in $(seq 90 140); do
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || { display=$n; break; }
done
[ -n "${display:-}" ] || { echo "with-display: no free display number" >&2; exit 1; }
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill $xvfb_pid 2>/dev/null; wait $xvfb_pid 2>/dev/null' EXIT
for _ in $(seq 100); do
  [ -e "/tmp/.X11-unix/X$display" ] && break
  sleep 0.05
done
export DISPLAY=":$display"
"$@"
