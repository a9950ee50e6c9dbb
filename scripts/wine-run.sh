#!/usr/bin/env bash
# Runs a Windows executable under Wine, quietly, in a Wine prefix of its own
# (WINEPREFIX if set, else one beside the build tree), without the Mono and
# Gecko installers. ctest uses this as the cross-compiling emulator.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
if [ -z "${WINEPREFIX:-}" ]; then
  lumora_ensure_default_prefix
  WINEPREFIX=$(lumora_default_prefix)
  export WINEPREFIX
fi
exec wine "$@"
