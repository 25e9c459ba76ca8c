#!/usr/bin/env bash
# Runs screen_reader_client.py against the program on a virtual X display
# with its own session bus and accessibility bus, as a screen reader would
# meet it.
#
#   screen_reader_session.sh PATH/TO/llave
#
# Needs Xvfb, xdotool, xclip, dbus-run-session, at-spi2-core and Python's
# pyatspi; exits 77 (skipped) when pyatspi is missing.
set -euo pipefail
llave=$(realpath "$1")
here=$(dirname "$(realpath "${BASH_SOURCE[0]}")")
work=$(mktemp -d)
xvfb_pid=
cleanup() {
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# pyatspi comes with Debian's own Python, which another python3 first on
# PATH may not see.
python=
for candidate in python3 /usr/bin/python3; do
    if "$candidate" -c 'import pyatspi' 2>/dev/null; then
        python=$candidate
        break
    fi
done
if [ -z "$python" ]; then
    echo "screen_reader_session.sh: no Python with pyatspi (python3-pyatspi); skipped" >&2
    exit 77
fi

source "$here/../../scripts/xvfb.sh"
start_xvfb "$work"
if [ -n "${ASAN_OPTIONS:-}" ]; then
    export ASAN_OPTIONS="$ASAN_OPTIONS:strict_string_checks=0"
fi
export PYTHON="$python" LLAVE="$llave" CLIENT="$here/screen_reader_client.py"
dbus-run-session -- bash -c '
    /usr/libexec/at-spi-bus-launcher --launch-immediately &
    launcher=$!
    trap "kill $launcher 2>/dev/null || true" EXIT
    sleep 0.5
    "$PYTHON" "$CLIENT" "$LLAVE"
'
