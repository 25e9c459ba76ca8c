#!/usr/bin/env bash
# Static analysis of Llave's own sources with clang-tidy-14 (checks in
# .clang-tidy) and cppcheck. It analyses every source file under core/,
# tests/, bench/, fuzz/ and ui/ that the given build folders compile, with the
# flags of their compile_commands.json, each file once (from the first folder
# that has it); generated files (moc, resources) and other projects' headers
# are left out. Any finding fails the run.
#
#   scripts/static-analysis.sh build/test build/bench build/fuzz
#
# The folders must be configured, and built far enough for generated headers
# to exist (a full build of the test preset is enough).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD
jobs=$(nproc 2>/dev/null || echo 2)

(($#)) || set -- build/test
folders=("$@")
for tool in clang-tidy-14 cppcheck; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "static-analysis.sh: needs $tool (scripts/dev.sh test installs it)" >&2
        exit 1
    fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# For each build folder, a compilation database of the Llave sources that no
# earlier folder had. CMake writes one entry per block of lines from "{" to
# "}", with the source in its "file" line.
touch "$work/seen"
dbs=()
for dir in "$@"; do
    if [ ! -f "$dir/compile_commands.json" ]; then
        echo "static-analysis.sh: $dir/compile_commands.json is missing; configure $dir first" >&2
        exit 1
    fi
    db="$work/db${#dbs[@]}"
    mkdir "$db"
    awk -v root="$root" -v seen="$work/seen" '
        BEGIN { while ((getline line < seen) > 0) done[line] = 1; print "[" }
        /^\{/ { entry = ""; file = "" }
        { entry = entry $0 "\n" }
        /^ *"file": / {
            file = $0
            sub(/^ *"file": "/, "", file)
            sub(/",?$/, "", file)
        }
        /^\}/ {
            sub(/,?\n$/, "", entry)
            own = substr(file, 1, length(root) + 1) == root "/" &&
                  substr(file, length(root) + 2) ~ /^(core|tests|bench|fuzz|ui)\//
            if (own && !(file in done)) {
                done[file] = 1
                printf "%s%s\n", (count++ ? "," : ""), entry
                print file >> seen
            }
        }
        END { print "]" }' "$dir/compile_commands.json" >"$db/compile_commands.json"
    dbs+=("$db")
done
total=$(wc -l <"$work/seen")
if ((total == 0)); then
    echo "static-analysis.sh: no source files of Llave in $*" >&2
    exit 1
fi

# Headers are checked where they are included, when they are Llave's own.
root_pattern=$(printf '%s' "$root" | sed 's/[]$*.^|[(){}+?\\]/\\&/g')
header_filter="^$root_pattern/(core|tests|bench|fuzz|ui)/"

failed=0
for i in "${!dbs[@]}"; do
    db=${dbs[$i]}
    mapfile -t files < <(sed -n 's/^ *"file": "\(.*\)",\{0,1\}$/\1/p' "$db/compile_commands.json")
    ((${#files[@]})) || continue
    folder=${folders[$i]}
    absolute_folder=$(cd "$folder" && pwd)

    echo "static-analysis.sh: clang-tidy on ${#files[@]} files of $folder"
    # One log per file, then the logs in order. A finding counts when it is
    # located in Llave's sources: the static analyzer also reports inside
    # other projects' headers (benchmark.h's registry "leaks" what it keeps
    # for the whole run), which Llave cannot change. A run that failed
    # without saying where counts as well.
    logs="$db/tidy"
    mkdir "$logs"
    printf '%s\0' "${files[@]}" | xargs -0 -n 1 -P "$jobs" sh -c '
        log="$2/$(printf "%s" "$3" | tr / _)"
        clang-tidy-14 -p "$0" --quiet --header-filter="$1" "$3" >"$log" 2>&1
        echo $? >"$log.status"' "$db" "$header_filter" "$logs"
    for file in "${files[@]}"; do
        log="$logs/$(printf '%s' "$file" | tr / _)"
        grep -v ' warnings\{0,1\} generated\.$' "$log" || true
        if grep -Eq "$header_filter[^:]*:[0-9]+:[0-9]+: (warning|error):" "$log" ||
            { [ "$(cat "$log.status")" != 0 ] && ! grep -Eq ':[0-9]+:[0-9]+: (warning|error):' "$log"; }; then
            failed=1
        fi
    done

    echo "static-analysis.sh: cppcheck on ${#files[@]} files of $folder"
    # useStlAlgorithm: a plain loop that returns early reads better than any_of.
    # constParameterCallback: benchmark functions must take a non-const State.
    # Findings in generated files of the build folder are not Llave's.
    cppcheck --quiet --project="$db/compile_commands.json" \
        --std=c++20 --enable=warning,style,performance,portability \
        --library=googletest --library=qt --library=scripts/cppcheck-qt6.cfg \
        --inline-suppr --error-exitcode=1 -j "$jobs" \
        --suppress=missingIncludeSystem --suppress=useStlAlgorithm \
        --suppress=constParameterCallback "--suppress=*:$absolute_folder/*" ||
        failed=1
done

if ((failed)); then
    echo "static-analysis.sh: findings above; fix them or, where the code is right, add a" \
        "NOLINT or cppcheck-suppress comment that says why" >&2
    exit 1
fi
echo "static-analysis.sh: $total files, no findings"
