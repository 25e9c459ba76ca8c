#!/usr/bin/env bash
# Start-up of llave beside the smallest Qt Widgets window (an empty QWidget)
# and the smallest one showing text (a QLabel): time to the first drawing of
# the window and memory at that moment, side by side on a virtual X display
# without a window manager, medians of ROUNDS rounds (default 21).
#
#   bench/startup/measure.sh [ROUNDS] [BUILD-FOLDER]
#
# Builds both programs and the probe in BUILD-FOLDER (default build/bench, the
# "bench" preset: Release). Needs Xvfb (xvfb), libx11-dev, libxdamage-dev and
# what the bench preset needs (libbenchmark-dev).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
rounds=${1:-21}
build=${2:-build/bench}

if [ "$build" = build/bench ]; then
    cmake --preset bench >/dev/null
else
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
        -DLLAVE_BUILD_BENCHMARKS=ON >/dev/null
fi
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" \
    --target llave minimal_window label_window startup_probe

work=$(mktemp -d)
xvfb_pid=
cleanup() {
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

source scripts/xvfb.sh
start_xvfb "$work"
export XDG_RUNTIME_DIR="$work"

"$build/bench/startup/startup_probe" "$rounds" \
    "$build/bench/startup/minimal_window" "$build/bench/startup/label_window" "$build/ui/llave"
