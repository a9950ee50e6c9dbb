#!/usr/bin/env bash
# Builds both trees: native (tools, tests, benchmarks) and Windows
# (LumoraSearch.exe and its tests), warnings as errors.
#   build.sh [PRESET...]   default: native windows
set -euo pipefail
cd "$(dirname "$0")/.."
presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(native windows)
for preset in "${presets[@]}"; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$(nproc)"
done
