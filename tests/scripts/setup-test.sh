#!/usr/bin/env bash
# Drives scripts/setup.sh against a fake apt-get, dpkg, sudo and id, without touching the machine's
# packages: a mirror caught mid-sync, a transient failure, a package that stays missing, a user
# without root, and the qemu-user step. Exits non-zero on the first case that fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# The tools the script may use, and nothing else: no real apt-get, dpkg or sudo can be reached.
tools=$work/tools
mkdir -p "$tools"
for tool in bash echo env awk sed grep mktemp rm mkdir cat head tail sort xargs paste tee cp; do
    ln -s "$(type -P "$tool")" "$tools/$tool"
done

# The fakes read and log in $STATE: installed (one package a line), uid, update-failures (number of
# failing updates, or "always"), resolver-breaks (present: an install with every source fails),
# unavailable (packages no source has), foreign (architectures), calls (the log).
fakes=$work/fakes
mkdir -p "$fakes"
cat >"$fakes/id" <<'EOF'
#!/bin/bash
cat "$STATE/uid"
EOF
cat >"$fakes/sudo" <<'EOF'
#!/bin/bash
echo "sudo $*" >>"$STATE/calls"
exec "$@"
EOF
cat >"$fakes/sleep" <<'EOF'
#!/bin/bash
echo "sleep $*" >>"$STATE/calls"
EOF
cat >"$fakes/dpkg-query" <<'EOF'
#!/bin/bash
pkg=${!#}
grep -qxF "$pkg" "$STATE/installed" || exit 1
echo "install ok installed"
EOF
cat >"$fakes/dpkg" <<'EOF'
#!/bin/bash
case $1 in
    --print-architecture) echo amd64 ;;
    --print-foreign-architectures) cat "$STATE/foreign" ;;
    --add-architecture) echo "dpkg $*" >>"$STATE/calls"; echo "$2" >>"$STATE/foreign" ;;
esac
EOF
cat >"$fakes/apt-get" <<'EOF'
#!/bin/bash
case $1 in
    indextargets)
        if [ "$3" = '$(REPO_URI)' ]; then
            awk '$2 == "bookworm" { print $1; exit }' "$STATE/indextargets"
        else
            cat "$STATE/indextargets"
        fi
        exit 0 ;;
    update)
        echo "apt-get update frontend=$DEBIAN_FRONTEND" >>"$STATE/calls"
        n=$(($(cat "$STATE/updates" 2>/dev/null || echo 0) + 1))
        echo "$n" >"$STATE/updates"
        failures=$(cat "$STATE/update-failures")
        if [ "$failures" = always ] || [ "$n" -le "$failures" ]; then
            echo "E: Failed to fetch http://mirror.test/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?"
            echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
            exit 100
        fi
        exit 0 ;;
    install)
        echo "apt-get $* frontend=$DEBIAN_FRONTEND" >>"$STATE/calls"
        parts=$(printf '%s\n' "$@" | sed -n 's/^Dir::Etc::sourceparts=//p')
        if [ -n "$parts" ]; then
            cat "$parts"/* >"$STATE/fallback-sources"
        elif [ -f "$STATE/resolver-breaks" ]; then
            echo "E: Error, pkgProblemResolver::Resolve generated breaks, this may be caused by held packages."
            exit 100
        fi
        status=0
        for arg in "$@"; do
            case $arg in -* | install | bookworm-backports | Dir::*) continue ;; esac
            if grep -qxF "$arg" "$STATE/unavailable"; then
                echo "E: Unable to locate package $arg"
                status=100
            fi
        done
        [ $status -ne 0 ] && exit $status
        for arg in "$@"; do
            case $arg in -* | install | bookworm-backports | Dir::*) continue ;; esac
            echo "$arg" >>"$STATE/installed"
        done
        exit 0 ;;
esac
echo "fake apt-get: unexpected $*" >&2
exit 1
EOF
chmod +x "$fakes"/*

# A machine of amd64 and i386 with three suites, whose security suite lacks its i386 list.
new_state() {
    STATE=$(mktemp -d "$work/state.XXXX")
    export STATE
    mkdir -p "$STATE/lists" "$STATE/etc" "$STATE/parts"
    printf '%s\n' g++ cmake ninja-build googletest libgtest-dev libgmock-dev libpugixml-dev \
        libexpat1-dev libzip-dev libbenchmark-dev >"$STATE/installed"
    echo 0 >"$STATE/uid"
    echo 0 >"$STATE/update-failures"
    : >"$STATE/unavailable"
    : >"$STATE/foreign"
    : >"$STATE/calls"
    printf '#!/bin/bash\necho ld.so\n' >"$STATE/ld-linux.so.2"
    chmod +x "$STATE/ld-linux.so.2"
    cat >"$STATE/etc/debian.sources" <<'EOF'
# Written by the machine's installer.

Types: deb
URIs: http://mirror.test/debian
Suites: bookworm
 bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb
URIs: http://mirror.test/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
    local line suite arch
    : >"$STATE/indextargets"
    for line in "debian bookworm 1" "debian bookworm-updates 1" "debian-security bookworm-security 2"; do
        read -r repo suite entry <<<"$line"
        for arch in amd64 i386; do
            local list=$STATE/lists/${repo}_${suite}_${arch}_Packages
            echo "http://mirror.test/$repo/ $suite main $arch $list.lz4 $STATE/etc/debian.sources:$entry" \
                >>"$STATE/indextargets"
            [ "$suite/$arch" = bookworm-security/i386 ] || touch "$list.zst"
        done
    done
}

# Runs the set-up as test.sh does; its output goes to $STATE/out, its status to $status.
run_setup() {
    set +e
    (
        cd "$root"
        PATH=$fakes:$tools PLOVIK_SETUP_WINDOWS=1 PLOVIK_APT_SOURCES_PARTS=$STATE/parts \
            PLOVIK_APT_SOURCES_LIST=$STATE/etc/sources.list \
            PLOVIK_BINFMT_DIR=$STATE/binfmt PLOVIK_QEMU=$STATE/qemu-i386 \
            PLOVIK_I386_LOADER=$STATE/ld-linux.so.2 "$@" \
            bash -c 'source scripts/setup.sh' >"$STATE/out" 2>&1
    )
    status=$?
    set -e
}

fail() {
    echo "FAIL: $case_name: $*"
    sed 's/^/    /' "$STATE/out"
    failures=$((failures + 1))
}
expect_status() { [ "$status" -eq "$1" ] || fail "exit status $status, expected $1"; }
expect_out() { grep -qE -- "$1" "$STATE/out" || fail "output lacks /$1/"; }
expect_no_out() { ! grep -qE -- "$1" "$STATE/out" || fail "output has /$1/"; }
expect_calls() {
    local n
    n=$(grep -cE -- "$1" "$STATE/calls" || true)
    [ "$n" -eq "$2" ] || fail "$n calls match /$1/, expected $2"
}

case_name="nothing missing, 32-bit programs run: nothing is called"
new_state
printf '%s\n' g++-mingw-w64-i686-posix wine wine32:i386 >>"$STATE/installed"
run_setup
expect_status 0
[ ! -s "$STATE/calls" ] || fail "calls made: $(cat "$STATE/calls")"

case_name="mirror mid-sync: retries, then installs from the complete suites"
new_state
echo always >"$STATE/update-failures"
touch "$STATE/resolver-breaks"
sources_before=$(cat "$STATE/etc/debian.sources")
run_setup
expect_status 0
expect_calls '^dpkg --add-architecture i386' 1
expect_calls '^apt-get update' 3
expect_calls '^sleep ' 2
expect_calls '^apt-get install' 2
expect_calls '^apt-get install .*Dir::Etc::sourceparts=' 1
expect_out 'once more without http://mirror.test/debian-security/ bookworm-security, whose lists'
[ "$(grep -c 'once more without' "$STATE/out")" -eq 1 ] || fail "the fallback is not said in one line"
grep -qx 'Suites: bookworm' "$STATE/fallback-sources" || fail "fallback lacks bookworm"
grep -qx 'Suites: bookworm-updates' "$STATE/fallback-sources" || fail "fallback lacks bookworm-updates"
! grep -q 'security' "$STATE/fallback-sources" || fail "fallback keeps the incomplete suite"
[ "$(grep -c '^Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' "$STATE/fallback-sources")" -eq 2 ] ||
    fail "fallback entries lost their Signed-By"
[ "$(cat "$STATE/etc/debian.sources")" = "$sources_before" ] || fail "the machine's sources changed"
grep -qx 'wine32:i386' "$STATE/installed" || fail "wine32:i386 not installed"

case_name="one failed update: tried again, no fallback needed"
new_state
echo 1 >"$STATE/update-failures"
echo i386 >"$STATE/foreign"
run_setup
expect_status 0
expect_calls '^apt-get update' 2
expect_calls '^sleep ' 1
expect_calls '^apt-get install' 1
expect_calls '^dpkg --add-architecture' 0
expect_no_out 'once more without'

case_name="a package no source has: stops naming what is missing"
new_state
printf '%s\n' g++-mingw-w64-i686-posix wine >>"$STATE/installed"
echo always >"$STATE/update-failures"
touch "$STATE/resolver-breaks"
echo 'wine32:i386' >"$STATE/unavailable"
run_setup
expect_status 1
expect_out '^setup: could not install: wine32:i386$'
expect_out 'Unable to locate package wine32:i386'

case_name="no source left out: a failed install is not tried again"
new_state
touch "$STATE/lists/debian-security_bookworm-security_i386_Packages"
touch "$STATE/resolver-breaks"
run_setup
expect_status 1
expect_calls '^apt-get install' 1
expect_out 'could not install: g\+\+-mingw-w64-i686-posix wine wine32:i386'

case_name="not root, with sudo: apt-get runs non-interactively through sudo"
new_state
echo 1000 >"$STATE/uid"
run_setup
expect_status 0
expect_calls '^sudo env DEBIAN_FRONTEND=noninteractive apt-get update' 1
expect_calls '^apt-get (update|install).*frontend=noninteractive$' 2
expect_calls '^apt-get .*frontend=$' 0

case_name="not root, no sudo: says so and installs nothing"
new_state
echo 1000 >"$STATE/uid"
mv "$fakes/sudo" "$work/sudo"
run_setup
mv "$work/sudo" "$fakes/sudo"
expect_status 1
expect_out 'no sudo'
expect_out 'missing: g\+\+-mingw-w64-i686-posix wine wine32:i386'
expect_no_out 'command not found'
expect_calls 'apt-get' 0

# A machine that runs no 32-bit program itself; $1: the qemu-i386 registration to start from.
qemu_state() {
    new_state
    printf '%s\n' g++-mingw-w64-i686-posix wine wine32:i386 >>"$STATE/installed"
    mkdir -p "$STATE/binfmt"
    : >"$STATE/binfmt/register"
    [ -z "$1" ] || printf '%s\ninterpreter %s\nflags: F\n' "$1" "$STATE/qemu-i386" >"$STATE/binfmt/qemu-i386"
    printf '#!/bin/bash\nexit 126\n' >"$STATE/ld-linux.so.2"
    cat >"$STATE/qemu-i386" <<'EOF'
#!/bin/bash
if grep -qx qemu-user "$STATE/installed"; then echo "qemu-i386 version 8.2.2"; else echo "qemu-i386 version 7.2.0"; fi
EOF
    chmod +x "$STATE/qemu-i386" "$STATE/ld-linux.so.2"
    echo always >"$STATE/update-failures"
}
expect_qemu_installed() {
    expect_status 0
    grep -qE '^deb (\[signed-by=[^]]*\] )?http://mirror.test/debian/ bookworm-backports main$' \
        "$STATE/parts/plovik-backports.list" 2>/dev/null || fail "backports source not on the machine's mirror"
    expect_calls '^apt-get update' 3
    expect_calls '^apt-get install .*-t bookworm-backports qemu-user' 1
    grep -q "^:qemu-i386:M::.*:$STATE/qemu-i386:F\$" "$STATE/binfmt/register" ||
        fail "qemu-i386 not registered"
}

case_name="qemu-user older than 8: backports from the machine's mirror, registered again"
qemu_state enabled
run_setup
expect_qemu_installed
grep -qx -- -1 "$STATE/binfmt/qemu-i386" || fail "the old registration was not removed"

case_name="no 32-bit programs and no qemu-user: installed and registered"
qemu_state ""
run_setup
expect_qemu_installed

if [ "$failures" -ne 0 ]; then
    echo "setup-test: $failures failed"
    exit 1
fi
echo "setup-test: all cases passed"
