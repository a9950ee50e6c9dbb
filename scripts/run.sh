#!/usr/bin/env bash
# From a fresh Debian machine to the running demo: installs what is missing,
# builds both trees, runs the demo. As root.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
scripts/demo.sh "$@"
