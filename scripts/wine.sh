#!/usr/bin/env bash
# Runs a Windows console program under wine, in a wine prefix of its own that
# is made on first use:
#
#   scripts/wine.sh PREFIX PROGRAM.exe [ARGUMENT]...
#
# Its exit status is the program's. Wine's own messages are silenced, so that
# standard error holds only the program's, and no display is needed.
set -euo pipefail
export WINEPREFIX=$1
shift
export WINEDEBUG=-all
# No .NET or HTML engine: wine would otherwise offer to download them.
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=${LLAVE_WINE:-/usr/lib/wine/wine64}
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    # Several tests may start at once: one makes the prefix, the others wait.
    (
        flock 9
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            "$wine" wineboot -i >/dev/null 2>&1 </dev/null
            "${wine%/*}/wineserver" -w
        fi
    ) 9>"$WINEPREFIX.lock"
fi
exec "$wine" "$@"
