#!/usr/bin/env bash
# Drives the program from the keyboard on a virtual X display, as a user
# would, in several locales, and reads the key back from the result box
# through the clipboard. Then clicks the link and checks the address the
# desktop was asked to open (BROWSER points at a recorder).
#
#   keyboard_session.sh PATH/TO/llave
#
# QT_QPA_PLATFORMTHEME=gtk3 runs it under GTK's desktop theme, as on GNOME
# desktops, where Enter in a closed list would open it; =qt6ct under qt6ct's.
#
# Needs Xvfb, xdotool and xclip.
set -euo pipefail
llave=$(realpath "$1")
work=$(mktemp -d)
xvfb_pid=
app_pid=

cleanup() {
    [ -z "$app_pid" ] || kill "$app_pid" 2>/dev/null || true
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/xvfb.sh"
start_xvfb "$work"
# Under AddressSanitizer: libxkbcommon-x11, which reads the X keyboard map when
# Qt starts, hands strndup an unterminated buffer with a length limit. That is
# valid C, but strict_string_checks rejects it; later options win.
if [ -n "${ASAN_OPTIONS:-}" ]; then
    export ASAN_OPTIONS="$ASAN_OPTIONS:strict_string_checks=0"
fi

# Starts the program in locale $1 and focuses its window; sets app_pid, window.
start() {
    env -u LC_ALL -u LC_TIME LANG="$1" BROWSER="$work/browser" "$llave" 2>"$work/llave.log" &
    app_pid=$!
    window=$(timeout 20 xdotool search --sync --onlyvisible --pid "$app_pid" | head -n1)
    [ -n "$window" ] || { echo "no window"; cat "$work/llave.log"; exit 1; }
    xdotool windowfocus --sync "$window"
}

stop() {
    kill "$app_pid"
    wait "$app_pid" 2>/dev/null || true
    app_pid=
}

# Sets shown to the key the result box shows, read through the clipboard
# with a click into the box. The program may still be busy with the keys
# (under the sanitizers, with other tests running), and the clipboard may
# still hold a date pasted earlier: read until the key is $1, for up to 5
# seconds.
read_key() {
    xdotool mousemove --window "$window" 200 266 click 1 key ctrl+a ctrl+c
    for _ in $(seq 50); do
        shown=$(timeout 5 xclip -o -selection clipboard 2>/dev/null || true)
        [ "$shown" != "$1" ] || break
        sleep 0.1
    done
}

# session LOCALE EXPECTED-KEY STEP...: types the names, Tab into the date,
# then each step: "type:TEXT", "key:KEYS" (xdotool key names), "paste:TEXT"
# (put on the clipboard, then Ctrl+V), "windows:N" (wait until the program
# shows N windows: the calendar and an open list are windows of their own,
# and keys sent while they open or close may reach the other window) or
# "enter:KEY" (Enter, the key read back and checked, then a click into
# "Nombre(s)") or "copy:TEXT" (the same without Enter: what a copy of the
# result gives). At the end Enter computes the key, which is read back.
session() {
    local locale=$1 expected=$2 step _ failed_here=0
    shift 2
    start "$locale"
    xdotool type --delay 15 gomez
    xdotool key Tab
    xdotool type --delay 15 diaz
    xdotool key Tab
    xdotool type --delay 15 juan
    xdotool key Tab
    for step in "$@"; do
        case $step in
        type:*) xdotool type --delay 15 "${step#type:}" ;;
        key:*) xdotool key --delay 15 ${step#key:} ;;
        paste:*)
            printf '%s' "${step#paste:}" | xclip -selection clipboard
            xdotool key ctrl+v
            ;;
        windows:*)
            for _ in $(seq 100); do
                [ "$(xdotool search --onlyvisible --pid "$app_pid" | wc -l)" = "${step#windows:}" ] &&
                    break
                sleep 0.1
            done
            ;;
        enter:* | copy:*)
            [ "${step%%:*}" = copy ] || xdotool key Return
            read_key "${step#*:}"
            [ "$shown" = "${step#*:}" ] || {
                echo "FAIL: LANG=$locale, $step: the box shows '$shown'"
                failed_here=1
            }
            xdotool mousemove --window "$window" 200 130 click 1
            ;;
        esac
    done
    xdotool key Return
    read_key "$expected"
    stop
    if [ "$shown" != "$expected" ]; then
        echo "FAIL: LANG=$locale, $*: the box shows '$shown', expected '$expected'"
        return 1
    fi
    echo "ok: LANG=$locale, $*: $shown"
    return "$failed_here"
}

failed=0
key=GODJ-750423-H-DF-MZN-0-0
to_state=(key:Tab key:Tab)
# The date in the locale's order, typed in full or with any separator.
session C.UTF-8 "$key" type:23/04/1975 "${to_state[@]}" type:DF || failed=1
session C.UTF-8 "$key" type:23041975 "${to_state[@]}" type:DF || failed=1
session es_MX.UTF-8 "$key" type:23/04/1975 "${to_state[@]}" type:DF || failed=1
session es_MX.UTF-8 "$key" type:23/4/1975 "${to_state[@]}" type:DF || failed=1
session en_US.UTF-8 "$key" type:04/23/1975 "${to_state[@]}" type:DF || failed=1
session de_DE.UTF-8 "$key" type:23.04.1975 "${to_state[@]}" type:DF || failed=1
# Two-digit years, in the locale's order; states and sex typed by name.
session C.UTF-8 "$key" type:23/04/75 "${to_state[@]}" type:df || failed=1
session es_MX.UTF-8 GODJ-750403-H-TS-MZN-0-7 type:3/4/75 "${to_state[@]}" type:tamaulipas ||
    failed=1
session es_MX.UTF-8 GODJ-750423-M-NL-MZN-0-4 \
    type:23/04/75 key:Tab type:f key:Tab "type:nuevo león" || failed=1
session en_US.UTF-8 GODJ-750423-H-NL-MZN-0-4 \
    type:04/23/75 "${to_state[@]}" "type:nuevo leon" || failed=1
# Shift+Tab back into the date lands on the day.
session es_MX.UTF-8 GODJ-750423-H-GR-MZN-0-1 \
    key:Tab key:shift+Tab type:23041975 "${to_state[@]}" type:guerrero || failed=1
# The calendar from the keyboard: Enter picks, Escape changes nothing.
session es_MX.UTF-8 GODJ-800102-H-BS-MZN-0-3 \
    key:alt+Down windows:2 key:Right key:Return windows:1 "${to_state[@]}" \
    "type:baja california sur" || failed=1
session es_MX.UTF-8 GODJ-800101-H-DF-MZN-0-2 \
    key:F4 windows:2 key:Right key:Escape windows:1 "${to_state[@]}" type:df || failed=1
# A whole date pasted into the day.
session es_MX.UTF-8 GODJ-750423-H-SR-MZN-0-0 paste:23/04/1975 "${to_state[@]}" type:sonora ||
    failed=1
# What people type that the window once took for other data: each gives
# the meant key or none; Enter in the date and in each list, closed or open.
to_list=(key:Tab key:Tab key:Tab)
no_key='    -      - -  -   - - '
session es_MX.UTF-8 GODJ-750423-M-SR-MZN-0-0 \
    "${to_state[@]}" type:df enter:GODJ-800101-H-DF-MZN-0-2 \
    key:Tab type:1975-04-23 enter:$key \
    key:Tab type:31/04/1990 "enter:$no_key" \
    key:Tab paste:hola "enter:$no_key" \
    key:Tab "paste:23 de abril de 1975" enter:$key \
    key:Tab key:Tab type:mujer enter:GODJ-750423-M-DF-MZN-0-0 \
    key:Tab key:Tab type:m enter:GODJ-750423-M-DF-MZN-0-0 \
    "${to_list[@]}" type:qro enter:GODJ-750423-M-QT-MZN-0-2 "${to_list[@]}" key:Down copy: \
    "${to_list[@]}" type:slp enter:GODJ-750423-M-SP-MZN-0-2 \
    "${to_list[@]}" type:bcs enter:GODJ-750423-M-BS-MZN-0-0 \
    "${to_list[@]}" type:edomex enter:GODJ-750423-M-MC-MZN-0-5 \
    "${to_list[@]}" "type:estado de mexico" enter:GODJ-750423-M-MC-MZN-0-5 \
    "${to_list[@]}" key:alt+Down windows:2 type:son key:Return windows:1 || failed=1

# The link: a click opens the registry's page with the desktop's handler.
cat >"$work/browser" <<SCRIPT
#!/bin/sh
printf '%s\n' "\$1" >"$work/opened"
SCRIPT
chmod +x "$work/browser"
start C.UTF-8
xdotool mousemove --window "$window" 60 43 click 1
for _ in $(seq 50); do
    [ -s "$work/opened" ] && break
    sleep 0.1
done
stop
opened=$(cat "$work/opened" 2>/dev/null || true)
if [ "$opened" != "https://www.gob.mx/curp/" ]; then
    echo "FAIL: the link opened '$opened'"
    failed=1
else
    echo "ok: the link opens $opened"
fi
exit "$failed"
