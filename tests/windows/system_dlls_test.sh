#!/usr/bin/env bash
# Each Windows program imports only DLLs that come with Windows itself (no
# C++ runtime or thread library to ship beside it).
#
#   system_dlls_test.sh path/to/objdump PROGRAM.exe...
set -u
objdump=$1
shift
system='^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|shlwapi|advapi32|ole32|oleaut32|uxtheme|imm32|msvcrt)\.dll$'
failures=0
for program in "$@"; do
    others=$("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p' | grep -viE "$system")
    if [ -n "$others" ]; then
        failures=$((failures + 1))
        echo "FAIL ${program##*/} needs DLLs Windows lacks:" $others
    fi
done
((failures == 0))
