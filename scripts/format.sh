#!/usr/bin/env bash
# Formats Llave's C++ sources with clang-format-14 and the checked-in
# .clang-format, or with --check only reports the files whose layout differs
# (and fails). Covers core/, cli/, tests/, bench/, fuzz/, ui/ and win/.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

clang_format=clang-format-14
if ! command -v "$clang_format" >/dev/null 2>&1; then
    echo "format.sh: needs $clang_format (scripts/dev.sh test installs it)" >&2
    exit 1
fi

mapfile -t files < <(find core cli tests bench fuzz ui win -type f \
    \( -name '*.cpp' -o -name '*.h' \) 2>/dev/null | sort)

if [ "${1:-}" != --check ]; then
    "$clang_format" -i "${files[@]}"
    exit 0
fi

unformatted=()
for file in "${files[@]}"; do
    if ! "$clang_format" "$file" | diff -u "$file" - | head -n 40; then
        unformatted+=("$file")
    fi
done
if ((${#unformatted[@]})); then
    printf 'format.sh: not formatted: %s\n' "${unformatted[@]}" >&2
    echo "format.sh: run scripts/format.sh to format them" >&2
    exit 1
fi
echo "format.sh: ${#files[@]} files formatted"
