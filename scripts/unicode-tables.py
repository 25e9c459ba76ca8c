#!/usr/bin/env python3
"""Writes core/src/unicode_tables.cpp from the Unicode Character Database.

    scripts/unicode-tables.py [UCD-DIR] [OUTPUT]

UCD-DIR defaults to /usr/share/unicode (Debian's unicode-data), OUTPUT to
core/src/unicode_tables.cpp. The tables are what the library needs to read a
name as the person means it (core/src/name_reading.cpp):

  kSimpleUpperCase  each character with a simple upper-case mapping, and that
                    mapping (UnicodeData.txt, field 12)
  kLatinBase        each character whose full canonical decomposition is one
                    letter A-Z or a-z followed only by combining marks, and that
                    letter in upper case; N and n with tilde are left out, since
                    the key keeps them as a letter of their own
  kWhiteSpace       ranges of the White_Space property (PropList.txt)
  kFormat           ranges of general category Cf
  kCombiningMark    ranges of general categories Mn, Mc and Me

The output is checked in; tests/core/unicode_tables_test.py compares it with
Python's own unicodedata, and a test regenerates it and compares byte for byte.
"""
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))


def read_unicode_data(path):
    """General category, decomposition and upper case of every code point."""
    category, decomposition, upper = {}, {}, {}
    first = None
    with open(path, encoding="utf-8") as data:
        for line in data:
            fields = line.rstrip("\n").split(";")
            code = int(fields[0], 16)
            name = fields[1]
            if name.endswith(", First>"):
                first = code
                continue
            if name.endswith(", Last>"):
                for c in range(first, code + 1):
                    category[c] = fields[2]
                continue
            category[code] = fields[2]
            if fields[5] and not fields[5].startswith("<"):
                decomposition[code] = [int(part, 16) for part in fields[5].split()]
            if fields[12]:
                upper[code] = int(fields[12], 16)
    return category, decomposition, upper


def read_property(path, wanted):
    """The code points that have the binary property `wanted`."""
    points = set()
    with open(path, encoding="utf-8") as data:
        for line in data:
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            codes, prop = (part.strip() for part in line.split(";"))
            if prop != wanted:
                continue
            low, _, high = codes.partition("..")
            points.update(range(int(low, 16), int(high or low, 16) + 1))
    return points


def full_decomposition(code, decomposition):
    parts = decomposition.get(code)
    if parts is None:
        return [code]
    return [c for part in parts for c in full_decomposition(part, decomposition)]


def ranges(points):
    out = []
    for c in sorted(points):
        if out and out[-1][1] == c - 1:
            out[-1][1] = c
        else:
            out.append([c, c])
    return out


def main():
    ucd = sys.argv[1] if len(sys.argv) > 1 else "/usr/share/unicode"
    output = sys.argv[2] if len(sys.argv) > 2 else os.path.join(
        HERE, "..", "core", "src", "unicode_tables.cpp")
    category, decomposition, upper = read_unicode_data(os.path.join(ucd, "UnicodeData.txt"))
    white_space = read_property(os.path.join(ucd, "PropList.txt"), "White_Space")
    with open(os.path.join(ucd, "ReadMe.txt"), encoding="utf-8") as readme:
        found = re.search(r"Version (\d+\.\d+\.\d+)", readme.read())
    version = found.group(1) if found else "?"

    marks = {c for c, gc in category.items() if gc in ("Mn", "Mc", "Me")}
    latin_base = {}
    for code in decomposition:
        parts = full_decomposition(code, decomposition)
        base = chr(parts[0])
        if len(parts) > 1 and ("A" <= base <= "Z" or "a" <= base <= "z") and \
                all(c in marks for c in parts[1:]) and code not in (0x00D1, 0x00F1):
            latin_base[code] = ord(base.upper())

    def lines(cells):
        """Four table cells a line."""
        return ["    " + " ".join(cells[i:i + 4]) for i in range(0, len(cells), 4)]

    def pairs(name, mapping, what):
        rows = lines([f"{{0x{a:04X}, 0x{b:04X}}}," for a, b in sorted(mapping.items())])
        return (f"// {what}\n"
                f"constexpr std::array<CodeMapping, {len(mapping)}> k{name}Table{{{{\n"
                + "\n".join(rows) + "\n}};\n"
                f"const std::span<const CodeMapping> k{name} = k{name}Table;\n")

    def spans(name, points, what):
        rows = lines([f"{{0x{a:04X}, 0x{b:04X}}}," for a, b in ranges(points)])
        return (f"// {what}\n"
                f"constexpr std::array<CodeRange, {len(ranges(points))}> k{name}Table{{{{\n"
                + "\n".join(rows) + "\n}};\n"
                f"const std::span<const CodeRange> k{name} = k{name}Table;\n")

    text = f"""\
// Generated by scripts/unicode-tables.py from the Unicode Character Database
// {version}; do not edit. Run the script again to update it.
#include "unicode_tables.h"

#include <array>

namespace curp::detail {{

// clang-format off
{pairs("SimpleUpperCase", upper, "Simple upper-case mappings.")}
{pairs("LatinBase", latin_base,
       "Letters that are A-Z or a-z with combining marks, and that letter in upper case.")}
{spans("WhiteSpace", white_space, "The White_Space property.")}
{spans("Format", {c for c, gc in category.items() if gc == "Cf"}, "General category Cf.")}
{spans("CombiningMark", marks, "General categories Mn, Mc and Me.")}// clang-format on

}} // namespace curp::detail
"""
    with open(output, "w", encoding="utf-8") as out:
        out.write(text)


if __name__ == "__main__":
    main()
