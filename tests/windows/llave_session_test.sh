#!/usr/bin/env bash
# llave.exe under wine on a virtual display, driven from the keyboard as a
# clerk uses it: each row types its keys into a freshly started window, then
# copies what the focused box holds (the key, when the row ends on the
# result box) and compares it. The link's click is checked through wine's
# browser setting, pointed for the session at a script that writes down the
# address it is given. Given the .msi as well, the session ends by installing
# it silently and starting the installed llave.exe, as a clerk does from the
# Start menu.
#
#   llave_session_test.sh path/to/wine.sh WINEPREFIX path/to/llave.exe [path/to/llave.msi]
set -u
wine=$1
prefix=$2
program=$3
msi=${4:-}
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

# A fresh prefix has no browser setting of its own: the session's is removed
# after.
browsers='HKCU\Software\Wine\WineBrowser'
printf '#!/bin/sh\nprintf "%%s" "$1" >"%s/opened"\n' "$work" >"$work/browser"
chmod +x "$work/browser"
"$wine" "$prefix" reg add "$browsers" /v Browsers /d "$work/browser" /f >/dev/null 2>&1
trap '"$wine" "$prefix" reg delete "$browsers" /v Browsers /f >/dev/null 2>&1; kill $xvfb; rm -rf "$work"' EXIT

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

# The clipboard's text once it is no longer `nada`, within 5 s; "(nothing
# copied)" when the program emptied it.
copied() {
    local text=nada end=$((SECONDS + 5))
    while ((SECONDS < end)); do
        text=$(timeout 1 xclip -o -selection clipboard 2>/dev/null)
        [ "$text" != nada ] && break
        sleep 0.1
    done
    printf '%s' "${text:-(nothing copied)}"
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

# Waits up to 5 s until the program shows $1 windows: one, its form alone,
# or two, with a tooltip or the calendar open as well.
windows() {
    local end=$((SECONDS + 5))
    while ((SECONDS < end)); do
        (($(x search --onlyvisible --pid "$pid" 2>/dev/null | wc -l) == $1)) && return
        sleep 0.1
    done
    return 1
}

# Clicks the link on form $1 (its text starts 48 pixels right of the form's
# left edge and 36 below its top) and waits up to 20 s for the address opened.
link() {
    rm -f "$work/opened"
    x mousemove --window "$1" 60 42 click 1
    x mousemove 0 0
    local end=$((SECONDS + 20))
    while ((SECONDS < end)); do
        [ -s "$work/opened" ] && break
        sleep 0.2
    done
    cat "$work/opened" 2>/dev/null
}

# Fails row $1 when $2, what it got, is not $3.
check() {
    [ "$2" == "$3" ] && return
    failures=$((failures + 1))
    echo "FAIL $1: «$2», expected «$3»"
}

# A row: its name, its keys (comma-separated; Tab, shift+Tab, Return,
# Escape, F4, alt+Down, Home, shift+F1 and the arrows are keys; "tip" and "notip" wait for
# a tooltip or the calendar to be shown or gone; "=TEXT" copies the focused
# box's text and compares it; "bare=TEXT" copies the key through the context
# menu's second entry, "Copiar clave sin guiones"; "link" clicks the link and compares the address
# opened; "hover" rests the mouse on the Sexo list and waits for its tooltip;
# anything else is typed), and what the focused box holds at the end.
x mousemove 0 0
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
            Tab | shift+Tab | Return | Escape | F4 | alt+Down | Down | Up | Left | Right | Home | shift+F1)
                x key --delay 50 "$step"
                ;;
            tip) windows 2 || check "$name" "no tooltip" "a tooltip" ;;
            notip) windows 1 || check "$name" "a tooltip" "none" ;;
            =*) check "$name" "$(copy)" "${step#=}" ;;
            bare=*)
                printf 'nada' | timeout 2 xclip -selection clipboard >/dev/null 2>&1
                x key --delay 100 Menu Down Down Return
                check "$name" "$(copied)" "${step#bare=}"
                ;;
            link) check "$name" "$(link "$id")" "https://www.gob.mx/curp/" ;;
            hover)
                x mousemove --window "$id" 100 186 # over the Sexo list
                windows 2 || check "$name" "no tooltip" "the Sexo list's"
                x mousemove 0 0
                ;;

            *) x type --delay 150 "$step" ;;
        esac
    done
    check "$name" "$(copy)" "$expected"
    x key alt+F4
    for _ in $(seq 50); do
        kill -0 $pid 2>/dev/null || break
        sleep 0.1
    done
    kill $pid 2>/dev/null && echo "FAIL $name: the window did not close" && failures=$((failures + 1))
    wait $pid 2>/dev/null
done <<'EOF_ROWS'
a key, select-all on focus, Enter in the state list;Tab,shift+Tab,gómez,Tab,díaz,Tab,juan,Tab,23/04/1975,Tab,Tab,d,Return,Tab,Tab,bare=GODJ750423HDFMZN00;GODJ-750423-H-DF-MZN-0-0
upper case as typed;pérez ñ,Tab,shift+Tab;PÉREZ Ñ
no state: the mask shifted, Enter in a name box;gómez,Tab,díaz,Tab,juan,Return,Tab,Tab,Tab,Tab,Tab;   G-ODJ800-1-01-HMZ-N-0
empty names: the empty mask;Tab,Tab,Tab,Tab,Tab,d,Return,Tab,Tab;    -      - -  -   - - 
Femenino gives M and says so on hover, the initial date, Enter on the button;pérez,Tab,lópez,Tab,maría guadalupe,Tab,Tab,Down,hover,Tab,j,Tab,Return,Tab;PELG-800101-M-JC-RPD-0-2
a state and a sex by name, a changed key not copied, then drawn afresh;gómez,Tab,díaz,Tab,juan,Tab,23/04/1975,F4,tip,Escape,notip,Tab,Tab,jalisco,Return,Tab,Tab,=GODJ-750423-H-JC-MZN-0-6,shift+Tab,shift+Tab,shift+Tab,mujer,Tab,Tab,Tab,=(nothing copied),bare=(nothing copied),Return,shift+Tab,Tab;GODJ-750423-M-JC-MZN-0-6
the calendar from the keyboard, a lone m picks nothing;pérez,Tab,lópez,Tab,ana,Tab,alt+Down,tip,Right,Right,Down,Return,notip,Tab,Down,m,tip,Tab,qro,Return,Tab,Tab;PELA-800110-M-QT-RPN-0-7
Up and Down step the year, the month (to its last day) and the day under the cursor;Tab,Tab,Tab,31/01/1976,Up,Left,Left,Left,Left,Left,Up,Home,Down,Tab,shift+Tab;27/02/1977
the untouched date's reasons in view until Escape, the link, the explanation on Shift+F1;gómez,Tab,díaz,Tab,juan,Return,tip,Escape,notip,link,Tab,Tab,Tab,Tab,Tab,shift+F1,tip,Escape,notip;   G-ODJ800-1-01-HMZ-N-0
EOF_ROWS

# The installed window: in this prefix, whose server knows the session's
# display.
if [ -n "$msi" ]; then
    installed='C:\Program Files\Llave\llave.exe'
    "$wine" "$prefix" msiexec /i "$msi" /qn </dev/null >/dev/null 2>&1 ||
        check "the installer" "failed" "installed"
    "$wine" "$prefix" "$installed" </dev/null &
    pid=$!
    id=$(window)
    { [ -n "$id" ] && ready "$id"; } || check "the installed llave.exe" "no window" "a window taking keys"
    x key alt+F4
    wait $pid 2>/dev/null
    "$wine" "$prefix" msiexec /x "$msi" /qn </dev/null >/dev/null 2>&1
fi
echo "llave_session_test: $failures failed"
((failures == 0))
