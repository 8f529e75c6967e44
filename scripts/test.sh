#!/usr/bin/env bash
# Sets up what is missing, then builds every build and runs every test. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh

for preset in dev asan; do
    echo "=== $preset ==="
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    ctest --preset "$preset"
done
echo "All builds passed."
