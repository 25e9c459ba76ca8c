#!/usr/bin/env bash
# Keeps one wine server up for a whole test run, so that the programs under
# test do not each start it and stop it again: a program starting while the
# server of the one before is shutting down loses its connection to it.
#
#   scripts/wine-server.sh PREFIX start   the prefix made if need be, its server up
#   scripts/wine-server.sh PREFIX stop    every program of the prefix ended, and its server
#
# The server and wine's own services are started with no standard streams of
# the caller's: a test whose output they held open would never end.
set -euo pipefail
export WINEPREFIX=$1
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=${LLAVE_WINE:-/usr/lib/wine/wine64}
server=${wine%/*}/wineserver
case $2 in
    start)
        # A server left over by a run that was cut short ends first.
        "$server" -k 2>/dev/null || true
        timeout 60 "$server" -w 2>/dev/null || true
        # The prefix is made first, by a server of its own: wine writes the
        # registry's files, by which scripts/wine.sh knows a made prefix,
        # when its server ends.
        timeout 300 "$(dirname "${BASH_SOURCE[0]}")/wine.sh" "$WINEPREFIX" cmd /c exit \
            </dev/null >/dev/null 2>&1
        timeout 60 "$server" -w
        "$server" -p </dev/null >/dev/null 2>&1
        # Wine's services, started now, stay up with the server.
        timeout 120 "$wine" cmd /c exit </dev/null >/dev/null 2>&1
        ;;
    stop)
        "$server" -k 2>/dev/null || true
        timeout 60 "$server" -w 2>/dev/null || true
        ;;
    *)
        echo "usage: $0 PREFIX start|stop" >&2
        exit 2
        ;;
esac
