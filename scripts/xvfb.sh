# Sourced by scripts that need a virtual X display. start_xvfb DIR starts Xvfb
# (its log in DIR/xvfb.log), sets DISPLAY and QT_QPA_PLATFORM=xcb for what
# follows, and leaves the server's process id in xvfb_pid; stop it with
# `kill "$xvfb_pid"`.
start_xvfb() {
    local dir=$1
    # -noreset: without it the server may drop the first client that connects.
    Xvfb -noreset -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$dir/display" \
        2>"$dir/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$dir/display" ] && break
        sleep 0.1
    done
    if [ ! -s "$dir/display" ]; then
        echo "Xvfb did not start:" >&2
        cat "$dir/xvfb.log" >&2
        return 1
    fi
    export DISPLAY=":$(head -n1 "$dir/display")"
    export QT_QPA_PLATFORM=xcb
    unset WAYLAND_DISPLAY
    # The Spanish letters on keys of their own. xdotool types a character the
    # keyboard map lacks by changing the map just before the key press, and a
    # busy program may read the press before the change: "gómez" arrives as
    # "gmez". With the letters on keys from the start, nothing changes.
    xkbcomp -w 0 - "$DISPLAY" <<'KEYMAP'
xkb_keymap {
    xkb_keycodes { include "evdev+aliases(qwerty)" };
    xkb_types { include "complete" };
    xkb_compat { include "complete" };
    xkb_symbols { include "pc+us+inet(evdev)"
        key <I240> { [ aacute, Aacute ] };
        key <I241> { [ eacute, Eacute ] };
        key <I242> { [ iacute, Iacute ] };
        key <I243> { [ oacute, Oacute ] };
        key <I244> { [ uacute, Uacute ] };
        key <I245> { [ udiaeresis, Udiaeresis ] };
        key <I246> { [ ntilde, Ntilde ] };
        key <I247> { [ yen, ccedilla ] };
    };
    xkb_geometry { include "pc(pc105)" };
};
KEYMAP
}
