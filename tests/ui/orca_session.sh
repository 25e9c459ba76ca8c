#!/usr/bin/env bash
# The program as a person who uses the Orca screen reader meets it, in es_MX:
# a virtual X display, a private session bus and accessibility bus, and Orca
# with its speech written to its debug log ("SPEECH OUTPUT: '...'" lines)
# instead of a synthesizer. Types into the window as a person would and
# checks what Orca says.
#
#   orca_session.sh PATH/TO/llave
#
# Needs Xvfb, xdotool, dbus-run-session, at-spi2-core and orca; exits 77
# (skipped) when orca is missing.
set -euo pipefail

if [ "${1:-}" != --inside ]; then
    command -v orca >/dev/null || {
        echo "orca_session.sh: orca is not installed; skipped" >&2
        exit 77
    }
    work=$(mktemp -d)
    xvfb_pid=
    trap '[ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null; rm -rf "$work"' EXIT
    source "$(dirname "$(realpath "${BASH_SOURCE[0]}")")/../../scripts/xvfb.sh"
    start_xvfb "$work"
    if [ -n "${ASAN_OPTIONS:-}" ]; then
        export ASAN_OPTIONS="$ASAN_OPTIONS:strict_string_checks=0"
    fi
    dbus-run-session -- bash "$(realpath "${BASH_SOURCE[0]}")" --inside "$(realpath "$1")" \
        "$work"
    exit
fi

llave=$2
work=$3
log=$work/orca.log
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true' EXIT
/usr/libexec/at-spi-bus-launcher --launch-immediately &
pids+=($!)

# Orca writes its debug log through a buffer; it is opened line-buffered
# here, so that each phrase can be waited for as soon as Orca speaks it.
orca=$(command -v orca)
LANG=es_MX.UTF-8 "$(sed -n '1s/^#! *//p' "$orca")" - --replace -u "$work/prefs" -d speech \
    --debug-file "$log" >"$work/orca.out" 2>&1 <<PYTHON &
import builtins, runpy, sys
plain_open = builtins.open
def open_log(file, mode="r", *args, **kwargs):
    if file == "$log" and mode == "w":
        return plain_open(file, mode, buffering=1)
    return plain_open(file, mode, *args, **kwargs)
builtins.open = open_log
sys.argv[0] = "$orca"
runpy.run_path("$orca", run_name="__main__")
PYTHON
pids+=($!)

# What Orca has said since the last mark, a phrase a line (a phrase of
# several lines is joined).
mark=0
said() {
    tail -c "+$((mark + 1))" "$log" | awk '
        phrase != "" { text = $0; sub(/^ +/, " ", text) }
        phrase == "" && /SPEECH OUTPUT: '\''/ { text = $0; sub(/.*SPEECH OUTPUT: '\''/, "", text); phrase = " " }
        phrase != "" {
            if (match(text, /'\'' ?\[?\{'\''established/)) {
                print substr(phrase text, 2, length(phrase) + RSTART - 2); phrase = ""
            } else phrase = phrase text
        }'
}
listen() { mark=$(stat -c %s "$log" 2>/dev/null || echo 0); }
# Waits up to 20 s (a loaded machine, the sanitizers) for Orca to say, since
# the mark, a phrase that matches.
hears() {
    for _ in $(seq 200); do
        said | grep -q -E -- "$1" && return 0
        sleep 0.1
    done
    return 1
}
keys() { xdotool key --delay 100 "$@"; }
typed() { xdotool type --delay 40 "$1"; }
failures=0
check() { # WHAT COMMAND...
    if "${@:2}" >/dev/null; then echo "ok    $1"; else
        echo "FAIL  $1"
        failures=$((failures + 1))
    fi
}

for _ in $(seq 300); do
    grep -q "Startup complete" "$log" 2>/dev/null && break
    sleep 0.1
done
LANG=es_MX.UTF-8 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$llave" 2>"$work/llave.err" &
pids+=($!)
xdotool windowfocus --sync "$(xdotool search --sync --onlyvisible --pid "${pids[-1]}" | head -n1)"
check "the first field is read" hears "^Apellido paterno"

# The empty result's hint, as words and not as markup.
listen
keys shift+Tab
check "the result's hint is read" hears "Aquí aparece la CURP al pulsar «Calcular»"
check "the hint is read without markup" eval '! said | grep -q "<"'

# The date box: named once, in words.
listen
keys Tab
typed gomez && keys Tab && typed diaz && keys Tab && typed juan && keys Tab
check "the date box is read" hears "01/01/1980"
check "the date box is named once" eval '[ "$(said | grep 01/01/1980 | grep -o -i fecha | wc -l)" = 1 ]'

# Enter in the last list: the key spoken, a character at a time, in its
# groups, while the focus stays in the list.
keys Tab Tab && typed df
listen
keys Return
check "Enter speaks the key" hears "CURP: G O D J, 8 0 0 1 0 1, H, D F, M Z N, 0, 2\."

# On the result: the whole key, where-am-I and "¿Qué es esto?" the explanation.
listen
keys Tab Tab
check "Tab into the result speaks the whole key" hears "GODJ-800101-H-DF-MZN-0-2 seleccionado"
listen
keys KP_Enter
check "where-am-I speaks the explanation" hears "2: dígito verificador"
listen
keys shift+F1
check "Shift+F1 speaks the explanation" hears "^notifica[a-zó]* .*2: dígito verificador"
keys Escape

# The calendar says its days' dates and Page Down the month; once closed it
# is not read as the date changes.
keys shift+Tab shift+Tab shift+Tab shift+Tab
listen
keys F4
check "the calendar's day says its date" hears "martes, 1 de enero de 1980"
listen
keys Next
check "Page Down says the month" hears "viernes, 1 de febrero de 1980"
keys Escape
listen
typed 09032099
keys Return
check "a doubtful key is spoken with its warning" \
    hears "CURP: G O D J, 9 9 0 3 0 9, .* La fecha es posterior a hoy"
check "the hidden calendar is not read" eval '! said | grep -E "Calendario|tabla|de marzo de 2099"'

# Each change of Sexo and Entidad is spoken, by arrow or typed; a lone "m" is a doubt.
keys Tab && listen && keys Down
check "Down in Sexo speaks the entry" hears "^notifica[a-zó]* Femenino \(M en la clave\)"
listen && typed m
check "a lone m in Sexo says it is ambiguous" hears "¿masculino o mujer\?"
keys Tab && listen && typed jc
check "a state typed is spoken" hears "^notifica[a-zó]* JC: JALISCO"

if [ "$failures" -gt 0 ]; then
    echo "$failures failures; what Orca said:"
    mark=0
    said
    exit 1
fi
echo "every check passed"
