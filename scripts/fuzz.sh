#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz": Clang 14, ASan, UBSan) and runs
# them for SECONDS seconds in all (default 60), half each: calc_clave_fuzz
# (the key computation, checking and reading) and csv_fuzz (curp calcula --csv
# on any bytes as a file):
#
#   scripts/fuzz.sh 600
#
# Each run starts from the committed seeds (fuzz/corpus/, fuzz/csv-corpus/) and
# from what earlier runs found in fuzz/generated-corpus/<target>/, where it also
# adds what it finds; a failing input is written to fuzz/artifacts/ (both
# folders are not committed). Reproduce one with:
#   build/fuzz/fuzz/<target> fuzz/artifacts/<file>
# The whole log goes to <build folder>/<target>.log; its last lines are shown.
# BUILD_DIR chooses another build folder than build/fuzz.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

seconds=${1:-60}
build_dir=${BUILD_DIR:-build/fuzz}
jobs=$(nproc 2>/dev/null || echo 2)

if ! command -v clang++-14 >/dev/null 2>&1; then
    echo "fuzz.sh: needs clang-14 and libclang-rt-14-dev (scripts/dev.sh test installs them)" >&2
    exit 1
fi

cmake --preset fuzz -B "$build_dir" >/dev/null
cmake --build "$build_dir" -j "$jobs" --target calc_clave_fuzz csv_fuzz

# fuzz TARGET SEEDS [OPTIONS]...: runs one target for its share of the time.
fuzz() {
    local target=$1 seeds=$2
    shift 2
    local generated=fuzz/generated-corpus/$target log=$build_dir/$target.log status=0
    mkdir -p "$generated" fuzz/artifacts
    # -timeout: one input may take at most 5 s (a million characters take
    # milliseconds), so a hang is reported. -max_len allows inputs of 100 000 bytes.
    "$build_dir/fuzz/$target" \
        -max_total_time="$((seconds / 2))" \
        -timeout=5 \
        -max_len=100000 \
        -use_value_profile=1 \
        -artifact_prefix=fuzz/artifacts/ \
        -print_final_stats=1 \
        "$@" "$generated" "$seeds" >"$log" 2>&1 || status=$?
    if ((status != 0)); then
        tail -n 60 "$log"
        echo "fuzz.sh: $target found a failing input (exit $status); see $log and fuzz/artifacts/" >&2
        exit "$status"
    fi
    grep -E '^#[0-9]+[[:space:]]+(INITED|DONE)' "$log" || true
    grep -E '^(Done |stat::)' "$log" || true
    echo "fuzz.sh: $target: corpus $(find "$generated" -type f | wc -l) generated + $(find "$seeds" -type f | wc -l) seed inputs; nothing found in $((seconds / 2)) s"
}

fuzz calc_clave_fuzz fuzz/corpus -dict=fuzz/calc_clave.dict
fuzz csv_fuzz fuzz/csv-corpus
