#!/usr/bin/env bash
# The .msi installed and removed silently under wine, as an administrator
# deploys it: the programs in Program Files\Llave, the Start menu's "Llave"
# and the entry in the list of installed programs, the installed curp.exe
# running; after the uninstall, none of them.
#
#   msi_install_test.sh path/to/wine.sh WINEPREFIX path/to/llave-VERSION.msi
set -u
wine=$1
prefix=$2
msi=$3
failures=0
run() { "$wine" "$prefix" "$@" </dev/null; }
expect() { # expect DESCRIPTION COMMAND...: COMMAND succeeds
    local what=$1
    shift
    "$@" || { failures=$((failures + 1)) && echo "FAIL $what"; }
}
installed() { [ -f "$prefix/drive_c/Program Files/Llave/curp.exe" ]; }
window_installed() { [ -f "$prefix/drive_c/Program Files/Llave/llave.exe" ]; }
# (wine puts a machine-wide shortcut in the user's Start menu.)
in_start_menu() { find "$prefix/drive_c" -path '*/Start Menu/Programs/Llave.lnk' | grep -q .; }
listed() { run uninstaller --list | tr -d '\r' | grep -q '|||Llave$'; }
runs() { run 'C:\Program Files\Llave\curp.exe' --version | grep -q '^curp (Llave) '; }
absent() { ! "$@"; }

[ -f "$msi" ] || { echo "FAIL no package $msi (built by cmake --build)" && exit 1; }
expect "silent install" run msiexec /i "$msi" /qn
expect "curp.exe in Program Files\\Llave" installed
expect "llave.exe beside it" window_installed
expect "Llave in the Start menu" in_start_menu
expect "an uninstall entry" listed
expect "the installed curp.exe runs" runs
expect "silent uninstall" run msiexec /x "$msi" /qn
expect "curp.exe removed" absent installed
expect "the Start menu's entry removed" absent in_start_menu
expect "the uninstall entry removed" absent listed
echo "msi_install_test: $failures failed"
((failures == 0))
