#!/usr/bin/env bash
# Installs whatever the builds need and is missing (Debian 12). Sourced by demo.sh and test.sh;
# with PLOVIK_SETUP_WINDOWS=1 (test.sh) also what the Windows build needs: the mingw-w64 cross
# compiler (posix threads) and 32-bit Wine, which comes from the i386 architecture; with
# PLOVIK_SETUP_DOCS=1 (docs.sh, test.sh) Doxygen and Graphviz for the reference.
set -euo pipefail

plovik_packages=(g++ cmake ninja-build googletest libgtest-dev libgmock-dev
                 libpugixml-dev libzip-dev libbenchmark-dev)
if [ "${PLOVIK_SETUP_WINDOWS:-0}" = 1 ]; then
    plovik_packages+=(g++-mingw-w64-i686-posix wine wine32:i386)
fi
if [ "${PLOVIK_SETUP_DOCS:-0}" = 1 ]; then
    plovik_packages+=(doxygen graphviz)
fi

plovik_setup() {
    local missing=()
    local pkg
    for pkg in "${plovik_packages[@]}"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    if [[ " ${missing[*]}" == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        $sudo dpkg --add-architecture i386
    fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

plovik_setup
