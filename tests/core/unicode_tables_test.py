#!/usr/bin/env python3
"""The library's Unicode tables against Python's own unicodedata.

    unicode_tables_test.py DUMP-PROGRAM SOURCE-DIR

DUMP-PROGRAM prints the library's view of every code point
(tests/core/unicode_tables_dump.cpp). Every code point that Python's database
assigns is compared: simple upper case, the base letter of a Latin letter with
diacritics, white space, format characters and combining marks. Python may
know an older Unicode version than the one the tables come from; characters
it does not know are counted, not compared. When Debian's unicode-data is
installed, the tables are also generated again and compared with the
checked-in source, so that nobody edits the generated file by hand.
"""
import os
import subprocess
import sys
import tempfile
import unicodedata


def expected(cp):
    c = chr(cp)
    category = unicodedata.category(c)
    upper = c.upper()
    if len(upper) != 1:
        # Python gives the full mapping; where that has several letters, the
        # simple one is the title case when it is a single letter ("ᾳ").
        upper = c.title() if len(c.title()) == 1 else c
    base = 0
    parts = unicodedata.normalize("NFD", c)
    if len(parts) > 1 and parts[0].isascii() and parts[0].isalpha() and cp not in (0xD1, 0xF1) \
            and all(unicodedata.category(m).startswith("M") for m in parts[1:]):
        base = ord(parts[0].upper())
    space = category in ("Zs", "Zl", "Zp") or 0x09 <= cp <= 0x0D or cp == 0x85
    return (ord(upper), base, int(space), int(category == "Cf"), int(category.startswith("M")))


def main():
    dump, source = sys.argv[1], sys.argv[2]
    ours = {}
    for line in subprocess.run([dump], check=True, capture_output=True, text=True).stdout.split("\n"):
        if line:
            cp, upper, base, space, fmt, mark = line.split()
            ours[int(cp, 16)] = (int(upper, 16), int(base, 16), int(space), int(fmt), int(mark))
    compared = unknown = 0
    differences = []
    for cp in range(0x110000):
        if 0xD800 <= cp <= 0xDFFF:
            continue
        if unicodedata.category(chr(cp)) == "Cn":
            unknown += cp in ours
            continue
        compared += 1
        want = expected(cp)
        got = ours.get(cp, (cp, 0, 0, 0, 0))
        if want != got:
            differences.append(f"U+{cp:04X}: library {got}, Python {want}")
    print(f"{compared} code points compared with Python's Unicode {unicodedata.unidata_version}; "
          f"{unknown} with properties that Python does not know yet")
    for line in differences[:20]:
        print(line)

    regenerated = True
    ucd = "/usr/share/unicode"
    if os.path.exists(os.path.join(ucd, "UnicodeData.txt")):
        with tempfile.TemporaryDirectory() as work:
            fresh = os.path.join(work, "unicode_tables.cpp")
            subprocess.run([sys.executable, os.path.join(source, "scripts", "unicode-tables.py"),
                            ucd, fresh], check=True)
            with open(fresh, encoding="utf-8") as a, \
                    open(os.path.join(source, "core", "src", "unicode_tables.cpp"),
                         encoding="utf-8") as b:
                regenerated = a.read() == b.read()
        if not regenerated:
            print("core/src/unicode_tables.cpp differs from what scripts/unicode-tables.py "
                  "generates from " + ucd)
    else:
        print(f"{ucd} missing (Debian's unicode-data): the generated source is not checked")
    sys.exit(0 if not differences and regenerated else 1)


if __name__ == "__main__":
    main()
