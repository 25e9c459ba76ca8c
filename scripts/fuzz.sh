#!/usr/bin/env bash
# Builds the libFuzzer target (preset "fuzz": Clang 14, ASan, UBSan) and runs
# it for SECONDS seconds (default 60):
#
#   scripts/fuzz.sh 600
#
# The run starts from the committed seeds in fuzz/corpus/ and from what earlier
# runs found in fuzz/generated-corpus/, where it also adds what it finds; a
# failing input is written to fuzz/artifacts/ (both folders are not committed).
# Reproduce one with: build/fuzz/fuzz/calc_clave_fuzz fuzz/artifacts/<file>
# The whole log goes to <build folder>/fuzz.log; its last lines are shown.
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
cmake --build "$build_dir" -j "$jobs" --target calc_clave_fuzz

mkdir -p fuzz/generated-corpus fuzz/artifacts
log="$build_dir/fuzz.log"
status=0
# -timeout: one input may take at most 5 s (a million characters take
# milliseconds), so a hang is reported. -max_len allows texts of 100 000 bytes.
"$build_dir/fuzz/calc_clave_fuzz" \
    -max_total_time="$seconds" \
    -timeout=5 \
    -max_len=100000 \
    -use_value_profile=1 \
    -dict=fuzz/calc_clave.dict \
    -artifact_prefix=fuzz/artifacts/ \
    -print_final_stats=1 \
    fuzz/generated-corpus fuzz/corpus >"$log" 2>&1 || status=$?

if ((status != 0)); then
    tail -n 60 "$log"
    echo "fuzz.sh: the fuzzer found a failing input (exit $status); see $log and fuzz/artifacts/" >&2
    exit "$status"
fi
grep -E '^#[0-9]+[[:space:]]+(INITED|DONE)' "$log" || true
grep -E '^(Done |stat::)' "$log" || true
echo "fuzz.sh: corpus $(find fuzz/generated-corpus -type f | wc -l) generated + $(find fuzz/corpus -type f | wc -l) seed inputs; nothing found in ${seconds} s"
