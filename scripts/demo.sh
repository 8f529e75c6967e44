#!/usr/bin/env bash
# Sets up what is missing, builds, and runs the plug-in in the command-line host.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh

cmake --preset release >/dev/null
cmake --build --preset release --target plovik-host plovik_tie >/dev/null
exec build/release/tools/cli/plovik-host "$@"
