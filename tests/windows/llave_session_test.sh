#!/usr/bin/env bash
# llave.exe under wine on a virtual display, driven from the keyboard as a
# clerk uses it: each row types its keys into a freshly started window, then
# copies what the focused box holds (the key, when the row ends on the
# result box) and compares it.
#
#   llave_session_test.sh path/to/wine.sh WINEPREFIX path/to/llave.exe
set -u
wine=$1
prefix=$2
program=$3
work=$(mktemp -d)
failures=0

# xdotool types a letter missing from the keyboard map by adding it just
# before the key press, which wine reads: a plain server, without the map of
# scripts/xvfb.sh.
Xvfb -noreset -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" \
    2>"$work/xvfb.log" &
xvfb=$!
trap 'kill $xvfb; rm -rf "$work"' EXIT
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
export DISPLAY=":$(head -n1 "$work/display")"

# Every call to the X server with a deadline: a program that hangs fails the
# row instead of the whole test.
x() { timeout 5 xdotool "$@"; }

# Waits up to 30 s for the window; its id, or nothing.
window() {
    local id
    for _ in $(seq 150); do
        id=$(x search --name '^Generación de CURP$' 2>/dev/null | head -n1)
        [ -n "$id" ] && echo "$id" && return
        sleep 0.2
    done
}

# The clipboard's text once it is no longer `nada`, within 5 s.
copied() {
    local text=nada end=$((SECONDS + 5))
    while ((SECONDS < end)); do
        text=$(timeout 1 xclip -o -selection clipboard 2>/dev/null)
        [ "$text" != nada ] && break
        sleep 0.1
    done
    printf '%s' "$text"
}

# Copies what the focused box holds, selected.
copy() {
    # (xclip stays on to serve the text: away from this function's output.)
    printf 'nada' | timeout 2 xclip -selection clipboard >/dev/null 2>&1
    x key ctrl+c
    copied
}

# Waits up to 40 s for the first name box of window $1 to take what is typed: an X,
# left selected for the row's keys to replace.
# (Without a window manager, the program is given the keyboard's focus here.)
ready() {
    local end=$((SECONDS + 40))
    while ((SECONDS < end)); do
        x windowfocus "$1"
        x type x
        x key ctrl+a
        [[ $(copy) == X* ]] && return
    done
    return 1
}

# A row: its name, its keys (comma-separated; Tab, shift+Tab, Return and
# Down are keys, anything else is typed), and what the focused box holds.
while IFS=';' read -r name keys expected; do
    "$wine" "$prefix" "$program" </dev/null &
    pid=$!
    id=$(window)
    if [ -z "$id" ] || ! ready "$id"; then
        failures=$((failures + 1))
        echo "FAIL $name: no window taking keys"
        kill $pid
        continue
    fi
    IFS=',' read -r -a steps <<<"$keys"
    for step in "${steps[@]}"; do
        case $step in
            Tab | shift+Tab | Return | Down) x key --delay 50 "$step" ;;
            *) x type --delay 150 "$step" ;;
        esac
    done
    got=$(copy)
    if [ "$got" != "$expected" ]; then
        failures=$((failures + 1))
        echo "FAIL $name: «$got», expected «$expected»"
    fi
    x key alt+F4
    for _ in $(seq 50); do
        kill -0 $pid 2>/dev/null || break
        sleep 0.1
    done
    kill $pid 2>/dev/null && echo "FAIL $name: the window did not close" && failures=$((failures + 1))
    wait $pid 2>/dev/null
done <<'EOF_ROWS'
a key, select-all on focus, Enter in the state list;Tab,shift+Tab,gómez,Tab,díaz,Tab,juan,Tab,23/04/1975,Tab,Tab,d,Return,Tab,Tab;GODJ-750423-H-DF-MZN-0-0
upper case as typed;pérez ñ,Tab,shift+Tab;PÉREZ Ñ
no state: the mask shifted, Enter in a name box;gómez,Tab,díaz,Tab,juan,Return,Tab,Tab,Tab,Tab,Tab;   G-ODJ800-1-01-HMZ-N-0
empty names: the empty mask;Tab,Tab,Tab,Tab,Tab,d,Return,Tab,Tab;    -      - -  -   - - 
Femenino gives M, the initial date, Enter on the button;pérez,Tab,lópez,Tab,maría guadalupe,Tab,Tab,Down,Tab,j,Tab,Return,Tab;PELG-800101-M-JC-RPD-0-2
EOF_ROWS
echo "llave_session_test: $failures failed"
((failures == 0))
