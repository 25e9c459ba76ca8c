#!/usr/bin/env python3
"""The four office sheets, as LibreOffice exported them (scripts/office-sheets.py),
through `curp calcula --csv`: every row comes out (titles and blank rows
too), every key is the one the person's plain data gives, each two-digit
year that may name a person of more than 100 carries its aviso, and so does
each country written for the state.

    sheets_test.py path/to/curp
"""
import csv
import io
import pathlib
import subprocess
import sys

HERE = pathlib.Path(__file__).resolve().parent
ENCODING = {"escuela": "cp1252", "nomina": "utf-8", "clinica": "utf-8", "oficial": "cp1252"}


def key_of(curp, person):
    run = subprocess.run([curp, "calcula", "--paterno", person["paterno"], "--materno",
                          person["materno"], "--nombre", person["nombre"], "--nacimiento",
                          person["nacimiento"], "--sexo", person["sexo"], "--entidad",
                          person["entidad"]], capture_output=True, text=True)
    return run.stdout.strip()


def main():
    curp = sys.argv[1]
    with open(HERE / "people.csv", encoding="utf-8", newline="") as f:
        people = list(csv.DictReader(f))
    failures = []
    for sheet, encoding in ENCODING.items():
        path = HERE / (sheet + ".csv")
        run = subprocess.run([curp, "calcula", "--csv", str(path)], capture_output=True)
        given = path.read_bytes().decode(encoding)
        written = run.stdout.decode(encoding)
        if run.returncode != 0:
            failures.append(f"{sheet}: status {run.returncode}: {run.stderr.decode()}")
            continue
        if given.count("\n") != written.count("\n"):
            failures.append(f"{sheet}: {given.count(chr(10))} lines in, {written.count(chr(10))} out")
        delimiter = csv.Sniffer().sniff(written.splitlines()[-1], ",;\t").delimiter
        rows = list(csv.reader(io.StringIO(written), delimiter=delimiter))
        header = next(i for i, r in enumerate(rows) if "curp_calculada" in r)
        keyAt, avisoAt = rows[header].index("curp_calculada"), rows[header].index("aviso")
        data = [r for r in rows[header + 1:] if any(r)]
        mine = [p for p in people if p["sheet"] == sheet]
        if len(data) != len(mine):
            failures.append(f"{sheet}: {len(data)} rows, {len(mine)} people")
            continue
        for person, row in zip(mine, data):
            expected = key_of(curp, person)
            year = int(person["nacimiento"][:4])
            doubt = ((sheet in ("escuela", "clinica") and year >= 2016) or
                     (sheet == "nomina" and person["entidad"] == "NE"))
            if row[keyAt] != expected:
                failures.append(f"{sheet}: {row} gives {row[keyAt]!r}, not {expected}")
            elif doubt != bool(row[avisoAt]):
                failures.append(f"{sheet}: {row}: aviso {row[avisoAt]!r}")
    for failure in failures:
        print("FAIL", failure)
    print(f"sheets_test: {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
