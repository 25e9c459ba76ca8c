#!/usr/bin/env bash
# Static analysis of Llave's own sources with clang-tidy-14 (checks in
# .clang-tidy) and cppcheck, each reading the compile_commands.json of the
# given build folders itself (run-clang-tidy-14 -p, cppcheck --project). Every
# source file under core/, tests/, bench/, fuzz/, ui/ and cli/ that those
# folders compile is analysed once, with the flags of the first folder that
# compiles it; generated files (moc, resources) and other projects' headers
# are left out. Any finding fails the run.
#
#   scripts/static-analysis.sh build/test build/bench build/fuzz
#
# The folders must be built: cppcheck needs every file a compilation database
# names, the generated ones (moc, resources) included.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD
jobs=$(nproc 2>/dev/null || echo 2)

(($#)) || set -- build/test
for tool in run-clang-tidy-14 clang-tidy-14 cppcheck python3; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "static-analysis.sh: needs $tool (scripts/dev.sh test installs it)" >&2
        exit 1
    fi
done

# Text as a regular expression that matches exactly that text.
regex_quote() {
    printf '%s' "$1" | sed 's/[]$*.^|[(){}+?\\]/\\&/g'
}

# Llave's own files, by absolute path; headers are checked where they are
# included, when they are Llave's own.
own="^$(regex_quote "$root")/(core|tests|bench|fuzz|ui|cli)/"

# The absolute path of every file a compilation database compiles.
compiled_files() {
    python3 -c 'import json, os, sys
for entry in json.load(open(sys.argv[1])):
    print(os.path.normpath(os.path.join(entry["directory"], entry["file"])))' "$1"
}

# Whether a run of clang-tidy, with log $1 and exit status $2, failed. A
# finding counts when it is located in Llave's sources: the static analyzer
# also follows calls into other projects' headers and may report there (the
# timer that QTimer::singleShot makes deletes itself where the analyzer cannot
# see it), which Llave cannot change. A run that failed for any other reason counts as
# well: a file that does not compile, a crash, a failure that says no place.
tidy_failed() {
    grep -Eq "$own[^:]*:[0-9]+:[0-9]+: (warning|error):" "$1" && return 0
    (($2 != 0)) || return 1
    grep -Eq 'Error while processing|Found compiler error|terminated by signal' "$1" ||
        ! grep -Eq ':[0-9]+:[0-9]+: (warning|error):' "$1"
}

declare -A analysed
failed=0
for folder in "$@"; do
    if [ ! -f "$folder/compile_commands.json" ]; then
        echo "static-analysis.sh: $folder/compile_commands.json is missing; configure $folder first" >&2
        exit 1
    fi
    # The Llave sources of this folder that no earlier folder had, as the
    # tools' file filters: anchored regular expressions of the absolute paths
    # for run-clang-tidy, paths relative to the checkout (as cppcheck names
    # files below the current folder) for cppcheck.
    files=() tidy_filter=() cppcheck_filter=()
    while IFS= read -r file; do
        [ -z "${analysed[$file]:-}" ] || continue
        analysed[$file]=1
        files+=("${file#"$root"/}")
        tidy_filter+=("^$(regex_quote "$file")\$")
        cppcheck_filter+=("--file-filter=${file#"$root"/}")
    done < <(compiled_files "$folder/compile_commands.json" | grep -E "$own" | sort -u)
    ((${#files[@]})) || continue
    echo "static-analysis.sh: ${#files[@]} files of $folder:"
    printf '  %s\n' "${files[@]}"

    # run-clang-tidy colours its output, and prints each command and
    # clang-tidy's count of the warnings it left out (those in other projects'
    # headers); the log keeps it all in plain text, the output shows findings.
    echo "static-analysis.sh: clang-tidy"
    log=$folder/clang-tidy.log
    status=0
    run-clang-tidy-14 -p "$folder" -quiet -j "$jobs" -header-filter="$own" "${tidy_filter[@]}" \
        2>&1 | sed 's/\x1b\[[0-9;]*m//g' >"$log" || status=$?
    grep -v -e '^clang-tidy-14 ' -e ' warnings\{0,1\} generated\.$' "$log" || true
    if tidy_failed "$log" "$status"; then
        failed=1
    elif ((status != 0)); then
        echo "static-analysis.sh: the findings above lie in other projects' headers; they do not count"
    fi

    echo "static-analysis.sh: cppcheck"
    # useStlAlgorithm: a plain loop that returns early reads better than any_of.
    # constParameterCallback: benchmark functions must take a non-const State.
    # Findings in generated files of the build folder are not Llave's.
    build_dir=$(cd "$folder" && pwd)
    cppcheck --quiet --project="$folder/compile_commands.json" "${cppcheck_filter[@]}" \
        --std=c++20 --enable=warning,style,performance,portability \
        --library=googletest --library=qt --library=scripts/cppcheck-qt6.cfg \
        --inline-suppr --error-exitcode=1 -j "$jobs" \
        --suppress=missingIncludeSystem --suppress=useStlAlgorithm \
        --suppress=constParameterCallback "--suppress=*:$build_dir/*" \
        "--suppress=*:$(realpath --relative-to="$root" "$build_dir")/*" ||
        failed=1
done

if ((${#analysed[@]} == 0)); then
    echo "static-analysis.sh: no source files of Llave in $*" >&2
    exit 1
fi
if ((failed)); then
    echo "static-analysis.sh: findings above; fix them or, where the code is right, add a" \
        "NOLINT or cppcheck-suppress comment that says why" >&2
    exit 1
fi
echo "static-analysis.sh: ${#analysed[@]} files, no findings"
