#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, headless and without dialogs:
#   scripts/wine-run.sh PREFIX PROGRAM [ARGUMENTS...]
# PREFIX is a throwaway Wine prefix, made on first use: no Mono or Gecko installer, no crash
# dialog. CTest runs every Windows test through this (CMAKE_CROSSCOMPILING_EMULATOR).
set -euo pipefail

prefix=$(realpath -m "$1")
shift
export WINEPREFIX=$prefix WINEARCH=win32 WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
# No window may wait for a user that is not there.
unset DISPLAY WAYLAND_DISPLAY

if [ ! -f "$prefix/.ready" ]; then
    mkdir -p "$(dirname "$prefix")"
    (
        flock 9
        if [ ! -f "$prefix/.ready" ]; then
            rm -rf "$prefix"
            wineboot --init >/dev/null 2>&1
            wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
                >/dev/null 2>&1
            wineserver --wait
            touch "$prefix/.ready"
        fi
    ) 9>"$prefix.lock"
fi
exec wine "$@"
