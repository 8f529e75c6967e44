#!/usr/bin/env bash
# Installs whatever the builds need and is missing (Debian 12). Sourced by demo.sh and test.sh;
# with PLOVIK_SETUP_WINDOWS=1 (test.sh) also what the Windows build needs: the mingw-w64 cross
# compiler (posix threads) and 32-bit Wine, which comes from the i386 architecture; with
# PLOVIK_SETUP_DOCS=1 (docs.sh, test.sh) Doxygen and Graphviz for the reference; with
# PLOVIK_SETUP_CHECKS=1 (test.sh) shellcheck for the scripts.
#
# A mirror caught mid-sync serves an index that does not match its Release file. apt-get update
# is tried a few times; if an index still fails, the install goes on with what was fetched, and
# if apt then cannot resolve it (amd64 libraries offered by a suite whose i386 list is missing,
# while their i386 twins must have the same version), it is tried once more with only the
# suites whose lists were fetched for every architecture, from a temporary sources folder:
# nothing in /etc/apt changes. The run goes on only when every package is really installed.
#
# PLOVIK_SETUP_NO_RUN=1 only defines the functions (tests/scripts/setup-test.sh drives them).
set -euo pipefail

plovik_packages=(g++ cmake ninja-build googletest libgtest-dev libgmock-dev
                 libpugixml-dev libexpat1-dev libzip-dev libbenchmark-dev)
if [ "${PLOVIK_SETUP_WINDOWS:-0}" = 1 ]; then
    plovik_packages+=(g++-mingw-w64-i686-posix wine wine32:i386)
fi
if [ "${PLOVIK_SETUP_DOCS:-0}" = 1 ]; then
    plovik_packages+=(doxygen graphviz)
fi
if [ "${PLOVIK_SETUP_CHECKS:-0}" = 1 ]; then
    plovik_packages+=(shellcheck)
fi

plovik_apt_attempts=${PLOVIK_APT_ATTEMPTS:-3}
plovik_apt_pause=${PLOVIK_APT_PAUSE:-10}
plovik_apt_sources_list=${PLOVIK_APT_SOURCES_LIST:-/etc/apt/sources.list}
plovik_apt_sources_parts=${PLOVIK_APT_SOURCES_PARTS:-/etc/apt/sources.list.d}
plovik_binfmt_dir=${PLOVIK_BINFMT_DIR:-/proc/sys/fs/binfmt_misc}
plovik_qemu=${PLOVIK_QEMU:-/usr/bin/qemu-i386}
plovik_i386_loader=${PLOVIK_I386_LOADER:-/lib/ld-linux.so.2}
# The index URLs the last apt-get update could not fetch.
plovik_failed_indexes=()

plovik_say() { echo "setup: $*"; }

# Runs a command as root. sudo drops the environment by default, hence env inside it.
plovik_root() {
    if [ "$(id -u)" -eq 0 ]; then
        env DEBIAN_FRONTEND=noninteractive "$@"
    else
        sudo env DEBIAN_FRONTEND=noninteractive "$@"
    fi
}

# Fails with a message naming what is missing when nothing can be installed as root.
plovik_need_root() {
    [ "$(id -u)" -eq 0 ] && return 0
    command -v sudo >/dev/null 2>&1 && return 0
    plovik_say "missing: $*" >&2
    plovik_say "installing them needs root, and this user is not root and has no sudo:" \
        "run the command as root, or install the packages above yourself" >&2
    return 1
}

# Prints each of the packages given that is not installed.
plovik_missing() {
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}\n' "$pkg" 2>/dev/null | grep -q "install ok installed" ||
            echo "$pkg"
    done
}

# apt-get update, tried again after a pause while an index fails. A failure that outlasts the
# attempts does not end the run: what was fetched may well be enough, and the install says so.
plovik_apt_update() {
    local log attempt
    log=$(mktemp)
    for ((attempt = 1; attempt <= plovik_apt_attempts; attempt++)); do
        if plovik_root apt-get update -qq >"$log" 2>&1 &&
            ! grep -qE '^[EW]: (Failed to fetch|Some index files failed)' "$log"; then
            plovik_failed_indexes=()
            rm -f "$log"
            return 0
        fi
        mapfile -t plovik_failed_indexes < <(sed -n 's/^[EW]: Failed to fetch \([^ ]*\).*/\1/p' "$log")
        if ((attempt < plovik_apt_attempts)); then
            plovik_say "apt-get update failed (attempt $attempt of $plovik_apt_attempts):" \
                "$(grep -m1 '^[EW]: ' "$log" || tail -n1 "$log"); again in ${plovik_apt_pause} s"
            sleep "$plovik_apt_pause"
        fi
    done
    plovik_say "apt-get update failed $plovik_apt_attempts times; going on with the lists it has:"
    grep '^[EW]: ' "$log" | sed 's/^/  /' || true
    rm -f "$log"
}

# Writes into folder $1 (sources.list and sources.list.d/) the source entries of every suite whose
# package lists were fetched for each architecture in use and not named by a failed fetch; prints
# the suites it left out, one per line ("URI SUITE"). A suite's entry is copied as the machine has
# it (options, Signed-By), narrowed to that suite.
plovik_complete_sources() {
    local dir=$1
    mkdir -p "$dir/sources.list.d"
    : >"$dir/sources.list"
    local archs
    archs=$({ dpkg --print-architecture; dpkg --print-foreign-architectures; } | sort -u | xargs)
    local failed
    failed=$(printf '%s\n' "${plovik_failed_indexes[@]+"${plovik_failed_indexes[@]}"}")
    # shellcheck disable=SC2016 # apt's own field syntax
    apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(COMPONENT) $(ARCHITECTURE) $(FILENAME) $(SOURCESENTRY)' \
        'Identifier: Packages' |
        PLOVIK_ARCHS=$archs PLOVIK_FAILED=$failed PLOVIK_OUT=$dir awk '
        function exists(path,   base, probe) {
            # The list may be kept in another compression than the one named.
            base = path; sub(/Packages(\.[a-z0-9]+)?$/, "Packages", base)
            return system("for f in " base " " base ".*; do [ -e \"$f\" ] && exit 0; done; exit 1") == 0
        }
        NF >= 6 {
            key = $1 " " $2
            if (!(key in entry)) { order[++n] = key; entry[key] = $6 }
            comps[key, $3] = 1; complist[key] = complist[key] " " $3
            if (exists($5)) have[key, $3, $4] = 1
        }
        END {
            narch = split(ENVIRON["PLOVIK_ARCHS"], arch, " ")
            nfail = split(ENVIRON["PLOVIK_FAILED"], fail, "\n")
            for (i = 1; i <= n; i++) {
                key = order[i]; split(key, kv, " "); ok = 1
                ncomp = split(complist[key], comp, " ")
                for (c = 1; c <= ncomp; c++)
                    for (a = 1; a <= narch; a++)
                        if (!((key, comp[c], arch[a]) in have)) ok = 0
                for (f = 1; f <= nfail; f++)
                    if (fail[f] != "" && index(fail[f], kv[1] "dists/" kv[2] "/") == 1) ok = 0
                if (ok) print "keep", entry[key], kv[2]
                else print "drop", kv[1], kv[2]
            }
        }' |
        while read -r verdict what suite; do
            if [ "$verdict" = drop ]; then
                echo "$what $suite"
            else
                plovik_copy_source_entry "$what" "$suite" "$dir"
            fi
        done
}

# Copies source entry FILE:N narrowed to SUITE into folder $3: a deb822 stanza (.sources) with
# only that suite, or a one-line entry as it stands.
plovik_copy_source_entry() {
    local file=${1%:*} index=${1##*:} suite=$2 dir=$3
    case $file in
        *.sources)
            awk -v want="$index" -v suite="$suite" '
                BEGIN { RS = ""; FS = "\n" }
                {
                    fields = 0
                    for (i = 1; i <= NF; i++) if ($i !~ /^[ \t]*(#|$)/) fields = 1
                    if (!fields || ++stanza != want) next
                    skip = 0
                    for (i = 1; i <= NF; i++) {
                        if (skip && $i ~ /^[ \t]/) continue
                        skip = 0
                        if (tolower($i) ~ /^suites:/) { print "Suites: " suite; skip = 1 }
                        else print $i
                    }
                    print ""
                }' "$file" >>"$dir/sources.list.d/plovik-complete.sources"
            ;;
        *)
            sed -n "${index}p" "$file" >>"$dir/sources.list"
            ;;
    esac
}

# Installs the packages after "--" with the apt-get options before it, then checks that every one
# of them is installed; fails naming those that are not.
plovik_apt_install() {
    local options=()
    while [ "$1" != -- ]; do
        options+=("$1")
        shift
    done
    shift
    local log
    log=$(mktemp)
    if ! plovik_root apt-get install -y -qq --no-install-recommends "${options[@]+"${options[@]}"}" \
        "$@" >"$log" 2>&1; then
        local tmp dropped
        tmp=$(mktemp -d)
        dropped=$(plovik_complete_sources "$tmp")
        if [ -n "$dropped" ] && { [ -s "$tmp/sources.list" ] ||
            [ -s "$tmp/sources.list.d/plovik-complete.sources" ]; }; then
            plovik_say "apt-get install failed with every source; once more without" \
                "$(echo "$dropped" | paste -sd, - | sed 's/,/, /g'), whose lists were not all" \
                "fetched (mirror sync in progress?)"
            plovik_root apt-get install -y -qq --no-install-recommends \
                -o Dir::Etc::sourcelist="$tmp/sources.list" \
                -o Dir::Etc::sourceparts="$tmp/sources.list.d" \
                "${options[@]+"${options[@]}"}" "$@" >>"$log" 2>&1 || true
        fi
        rm -rf "$tmp"
    fi
    local missing
    missing=$(plovik_missing "$@" | xargs)
    if [ -n "$missing" ]; then
        sed 's/^/  /' "$log" >&2
        rm -f "$log"
        plovik_say "could not install: $missing" >&2
        return 1
    fi
    rm -f "$log"
}

plovik_setup() {
    local missing
    mapfile -t missing < <(plovik_missing "${plovik_packages[@]}")
    [ ${#missing[@]} -eq 0 ] && return 0
    plovik_need_root "${missing[@]}"
    echo "Installing: ${missing[*]}"
    if [[ " ${missing[*]}" == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        plovik_root dpkg --add-architecture i386
    fi
    plovik_apt_update
    plovik_apt_install -- "${missing[@]}"
}

# The machine's own Debian mirror, for a suite it lacks.
plovik_debian_mirror() {
    local uri
    # shellcheck disable=SC2016 # apt's own field syntax
    uri=$(apt-get indextargets --format '$(REPO_URI)' 'Identifier: Packages' 'Codename: bookworm' \
        2>/dev/null | head -n1)
    echo "${uri:-http://deb.debian.org/debian/}"
}

# Where the machine cannot run 32-bit code itself, 32-bit Wine runs through qemu-user (binfmt).
# Debian 12's qemu (7.2) does not honour the address hints Wine reserves its memory with, so every
# Wine process spends minutes probing before it starts; qemu 8 and later do. Such a machine gets
# qemu-user from bookworm-backports, registered (again) so that the kernel uses the new binary.
plovik_setup_qemu() {
    local binfmt=$plovik_binfmt_dir/qemu-i386
    if [ -f "$binfmt" ] && grep -qx enabled "$binfmt"; then
        local qemu
        qemu=$(sed -n 's/^interpreter //p' "$binfmt")
        "$qemu" --version 2>/dev/null | grep -qE 'version [0-7]\.' || return 0
        plovik_need_root qemu-user "(from bookworm-backports)"
        echo "qemu-user older than 8 runs 32-bit programs here: installing qemu-user from bookworm-backports"
    else
        "$plovik_i386_loader" --version >/dev/null 2>&1 && return 0
        plovik_need_root qemu-user "(from bookworm-backports)"
        echo "This machine cannot run 32-bit programs: installing qemu-user from bookworm-backports for Wine"
        [ -e "$plovik_binfmt_dir/register" ] ||
            plovik_root mount -t binfmt_misc binfmt_misc "$plovik_binfmt_dir"
    fi
    if ! grep -rqs bookworm-backports "$plovik_apt_sources_list" "$plovik_apt_sources_parts"; then
        local signed=""
        [ -f /usr/share/keyrings/debian-archive-keyring.gpg ] &&
            signed="[signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] "
        echo "deb ${signed}$(plovik_debian_mirror) bookworm-backports main" |
            plovik_root tee "$plovik_apt_sources_parts/plovik-backports.list" >/dev/null
    fi
    plovik_apt_update
    plovik_apt_install -t bookworm-backports -- qemu-user
    if "$plovik_qemu" --version 2>/dev/null | grep -qE 'version [0-7]\.'; then
        plovik_say "qemu-user from bookworm-backports did not install: $("$plovik_qemu" --version | head -n1)" >&2
        return 1
    fi
    # A registration holds the binary it was made with (flag F), and survives the binary's update:
    # make it anew. The magic and mask are those of every i386 ELF executable.
    [ -f "$binfmt" ] && echo -1 | plovik_root tee "$binfmt" >/dev/null
    printf ':qemu-i386:M::%s:%s:%s:F\n' \
        '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00' \
        '\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff' \
        "$plovik_qemu" | plovik_root tee "$plovik_binfmt_dir/register" >/dev/null
}

if [ "${PLOVIK_SETUP_NO_RUN:-0}" != 1 ]; then
    plovik_setup
    if [ "${PLOVIK_SETUP_WINDOWS:-0}" = 1 ]; then
        plovik_setup_qemu
    fi
fi
