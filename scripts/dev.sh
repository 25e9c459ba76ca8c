#!/usr/bin/env bash
# Llave's one entry point for newcomers and CI. On Debian/Ubuntu it installs
# whatever packages are missing (apt-get as root, sudo otherwise), then:
#
#   scripts/dev.sh run       builds the program and opens the window
#   scripts/dev.sh test      builds everything and runs every test
#
# Each build lives in build/<preset>/ (see CMakePresets.json).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

jobs=$(nproc 2>/dev/null || echo 2)

# Packages each command needs.
run_packages=(g++ make cmake qt6-base-dev fonts-liberation2)
test_packages=("${run_packages[@]}" libgtest-dev)

# Installs the packages of "$@" that are not installed yet.
install_missing() {
    if ! command -v dpkg-query >/dev/null 2>&1; then
        echo "dev.sh: not a Debian/Ubuntu system; install by hand: $*" >&2
        return 0
    fi
    local missing=() pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$pkg")
    done
    ((${#missing[@]})) || return 0
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "dev.sh: installing ${missing[*]}"
    "${sudo[@]}" apt-get update -q
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
}

# Configures and builds one preset; further arguments go to the build.
build() {
    local preset=$1
    shift
    cmake --preset "$preset"
    cmake --build --preset "$preset" -j "$jobs" "$@"
}

cmd_run() {
    install_missing "${run_packages[@]}"
    build release --target llave
    exec build/release/ui/llave
}

cmd_test() {
    install_missing "${test_packages[@]}"
    build test
    ctest --preset test -j "$jobs"
}

case "${1:-}" in
    run) cmd_run ;;
    test) cmd_test ;;
    *)
        echo "usage: $0 run|test" >&2
        exit 2
        ;;
esac
