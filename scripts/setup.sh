#!/usr/bin/env bash
# Installs whatever the builds need and is missing (Debian 12). Sourced by demo.sh and test.sh;
# with PLOVIK_SETUP_WINDOWS=1 (test.sh) also what the Windows build needs: the mingw-w64 cross
# compiler (posix threads) and 32-bit Wine, which comes from the i386 architecture; with
# PLOVIK_SETUP_DOCS=1 (docs.sh, test.sh) Doxygen and Graphviz for the reference.
set -euo pipefail

plovik_packages=(g++ cmake ninja-build googletest libgtest-dev libgmock-dev
                 libpugixml-dev libexpat1-dev libzip-dev libbenchmark-dev)
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

# Where the machine cannot run 32-bit code itself, 32-bit Wine runs through qemu-user (binfmt).
# Debian 12's qemu (7.2) does not honour the address hints Wine reserves its memory with, so every
# Wine process spends minutes probing before it starts; qemu 8 and later do. Such a machine gets
# qemu-user from bookworm-backports, registered again so that the kernel uses the new binary.
plovik_setup_qemu() {
    local binfmt=/proc/sys/fs/binfmt_misc/qemu-i386
    [ -f "$binfmt" ] && grep -qx enabled "$binfmt" || return 0
    local qemu
    qemu=$(sed -n 's/^interpreter //p' "$binfmt")
    "$qemu" --version 2>/dev/null | grep -qE 'version [0-7]\.' || return 0
    echo "qemu-user older than 8 runs 32-bit programs here: installing qemu-user from bookworm-backports"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    if ! grep -rqs bookworm-backports /etc/apt/sources.list /etc/apt/sources.list.d/; then
        echo "deb http://deb.debian.org/debian bookworm-backports main" |
            $sudo tee /etc/apt/sources.list.d/plovik-backports.list >/dev/null
    fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        -t bookworm-backports qemu-user qemu-user-binfmt
    # The registration holds the binary it was made with (flag F): make it again.
    local magic mask
    magic=$(sed -n 's/^magic //p' "$binfmt" | sed 's/../\\x&/g')
    mask=$(sed -n 's/^mask //p' "$binfmt" | sed 's/../\\x&/g')
    echo -1 | $sudo tee "$binfmt" >/dev/null
    printf ':qemu-i386:M::%s:%s:/usr/bin/qemu-i386:F\n' "$magic" "$mask" |
        $sudo tee /proc/sys/fs/binfmt_misc/register >/dev/null
}

plovik_setup
if [ "${PLOVIK_SETUP_WINDOWS:-0}" = 1 ]; then
    plovik_setup_qemu
fi
