#!/usr/bin/env bash
# Llave's one entry point for newcomers and CI. On Debian/Ubuntu it installs
# whatever packages are missing (apt-get as root, sudo otherwise), then:
#
#   scripts/dev.sh run       builds the program and opens the window
#   scripts/dev.sh check     builds with the tests and runs them once, plainly (a quick check)
#   scripts/dev.sh test      builds everything and runs every test and check (what CI runs)
#   scripts/dev.sh package   builds the .deb and the source archive in build/release/
#   scripts/dev.sh windows   cross-builds llave.exe, curp.exe, the .msi and .zip in build/windows/
#
# Each build lives in build/<preset>/ (see CMakePresets.json).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

jobs=$(nproc 2>/dev/null || echo 2)

# Packages each command needs.
run_packages=(g++ make cmake qt6-base-dev fonts-liberation2)
# Qt's own texts (context menus, the calendar) in the desktop's language.
run_packages+=(qt6-translations-l10n)
# The command curp: subcommands and options, CSV reading, JSON output.
run_packages+=(libcli11-dev nlohmann-json3-dev)
# The tests ("check" runs them plainly).
check_packages=("${run_packages[@]}" libgtest-dev desktop-file-utils appstream)
# The Unicode Character Database, which the generated tables are checked against.
check_packages+=(unicode-data)
# The window driven from the keyboard on a virtual display (tests/ui), also
# under GTK's desktop theme, as on GNOME desktops, and under qt6ct's.
check_packages+=(xvfb xdotool xclip qt6-gtk-platformtheme qt6ct)
# The window as a screen reader meets it: the accessibility bus and a client.
check_packages+=(dbus-daemon at-spi2-core python3-pyatspi)
# The Orca screen reader, whose speech the Orca session reads from its log.
check_packages+=(orca)
# The Windows build: MinGW-w64, the headers and GoogleTest's sources that
# cmake/LlaveWindows.cmake stages, wine for the tests, wixl for the .msi.
windows_packages=(cmake make g++-mingw-w64-x86-64-posix libcli11-dev nlohmann-json3-dev)
windows_packages+=(libgtest-dev wine wine64 wixl)
# llave.exe's keyboard session: a virtual display, typed keys, the clipboard;
# and Arial's widths, which wine finds in Liberation Sans.
windows_packages+=(xvfb xdotool xclip fonts-liberation2)

# The sanitizer, fuzzing, static analysis and format stages of "test" (g++'s
# sanitizer runtimes come with g++ itself).
test_packages=("${check_packages[@]}")
test_packages+=(clang-14 libclang-rt-14-dev clang-tidy-14 clang-format-14 cppcheck libbenchmark-dev)
# The Windows stage of "test".
test_packages+=("${windows_packages[@]}")
# dpkg-dev computes the .deb's dependencies; CPack needs file to find the
# program inside the package.
package_packages=("${run_packages[@]}" dpkg-dev file)

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
    # Qt aborts without a display; say so before installing and building.
    if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
        echo "dev.sh run: the window needs a display, and none is set (DISPLAY, WAYLAND_DISPLAY)." >&2
        echo "  Run it in a desktop session, or on a virtual one: xvfb-run scripts/dev.sh run" >&2
        echo "  The command needs none: cmake --preset release && cmake --build --preset release --target curp" >&2
        exit 1
    fi
    install_missing "${run_packages[@]}"
    build release --target llave
    exec build/release/ui/llave
}

# Runs one stage of "test", named $1, and notes how long it took.
stage_times=()
stage() {
    local name=$1 start=$SECONDS
    shift
    echo "==> dev.sh test: $name"
    "$@"
    stage_times+=("$(printf '%6d s  %s' $((SECONDS - start)) "$name")")
}

build_and_ctest() {
    build "$1"
    ctest --preset "$1" -j "$jobs"
}

# cppcheck reads a folder's whole compilation database and needs every file it
# names, generated ones (moc, resources) too, so the benchmarks are built first;
# that also shows that they still compile.
static_analysis() {
    build bench
    scripts/static-analysis.sh build/test build/bench build/fuzz
}

# A contributor's quick check: the tests once, in the Release build CI's
# "tests" stage uses, without the sanitizers, fuzzing, static analysis and
# format check of "test".
cmd_check() {
    install_missing "${check_packages[@]}"
    build_and_ctest test
}

# What CI runs: every test, plainly and under ASan and UBSan, a short fuzz
# run, static analysis, the format check, and the Windows build with its
# tests under wine.
cmd_test() {
    install_missing "${test_packages[@]}"
    stage "format check" scripts/format.sh --check
    stage "tests" build_and_ctest test
    stage "tests under ASan and UBSan" build_and_ctest sanitize
    stage "fuzzing for 60 s" scripts/fuzz.sh 60
    stage "static analysis" static_analysis
    stage "Windows: the cross build, its tests under wine" build_and_ctest windows
    echo "dev.sh test: every stage passed"
    printf '%s\n' "${stage_times[@]}"
}

cmd_package() {
    install_missing "${package_packages[@]}"
    build release
    # Old packages would make "apt-get install ./build/release/llave_*.deb" ambiguous.
    rm -f build/release/llave_*.deb build/release/llave-*.tar.gz
    (cd build/release && cpack -G DEB && cpack --config CPackSourceConfig.cmake)
}

# llave.exe, curp.exe, llave-VERSION.msi and llave-VERSION-windows.zip in build/windows/;
# `ctest --preset windows` then runs their tests under wine.
cmd_windows() {
    install_missing "${windows_packages[@]}"
    build windows
    echo "dev.sh windows: built in build/windows/:"
    (cd build/windows && ls -1 curp.exe llave-*.msi llave-*-windows.zip)
}

case "${1:-}" in
    run) cmd_run ;;
    check) cmd_check ;;
    test) cmd_test ;;
    package) cmd_package ;;
    windows) cmd_windows ;;
    *)
        echo "usage: $0 run|check|test|package|windows" >&2
        exit 2
        ;;
esac
