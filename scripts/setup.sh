#!/usr/bin/env bash
# Installs whatever the builds need and is missing (Debian 12). Sourced by demo.sh and test.sh.
set -euo pipefail

plovik_packages=(g++ cmake ninja-build googletest libgtest-dev libgmock-dev)

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
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

plovik_setup
