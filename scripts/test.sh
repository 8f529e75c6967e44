#!/usr/bin/env bash
# Sets up what is missing, then builds every build and runs every test. Exits non-zero on any
# failure. The Windows build's tests run under Wine (scripts/wine-run.sh) and are compared with
# the dev build's, which is why dev comes first; the Windows build also makes the archives (the
# release package and the kit's). Each build's tests also install the kit and build the plug-in
# template against it. The scripts are checked first (shellcheck, the set-up's own test). Last,
# the reference is built: a public class without a description fails it.
set -euo pipefail
cd "$(dirname "$0")/.."
PLOVIK_SETUP_WINDOWS=1 PLOVIK_SETUP_DOCS=1 PLOVIK_SETUP_CHECKS=1 source scripts/setup.sh

echo "=== scripts ==="
shellcheck scripts/*.sh tests/scripts/*.sh
tests/scripts/setup-test.sh

for preset in dev asan windows; do
    echo "=== $preset ==="
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    # The archives, checked by the tests (package_contents, sdk_package_contents) against what they
    # run.
    if [ "$preset" = windows ]; then
        cmake --build --preset windows --target package
    fi
    ctest --preset "$preset"
done
echo "=== reference ==="
scripts/docs.sh
echo "All builds passed."
