#!/usr/bin/env python3
"""Makes the four office sheets from people.csv and exports each to CSV with
LibreOffice headless, as clerks save them:

- escuela: a school's list of pupils, two title rows and a blank row above
  the header, real date cells shown DD/MM/AA, states by name; the default
  export (Windows-1252, commas);
- nomina: a payroll sheet, employee numbers with leading zeros, headers
  "FECHA NAC." and "GÉNERO", date-time cells, long and old state names, a
  country for a birth abroad; UTF-8, semicolons;
- clinica: a clinic's patients, sex as F/M, dates DD/MM/AA, INEGI's state
  numbers, "-" for a missing surname; UTF-8, tabs;
- oficial: the plain form, codes and AAAA-MM-DD text; Windows-1252, commas.

    scripts/office-sheets.py [OUTDIR]   (default: tests/cli/sheets; needs soffice)

The exported files are kept in tests/cli/sheets beside people.csv, so that
the tests need no LibreOffice; run it again after changing people.csv.
"""
import csv
import pathlib
import subprocess
import sys
import tempfile
from xml.sax.saxutils import escape

HERE = pathlib.Path(__file__).resolve().parent.parent / "tests" / "cli" / "sheets"

STATE_NAMES = {  # as a school writes them
    "QT": "Querétaro", "DF": "Ciudad de México", "MC": "Estado de México", "JC": "Jalisco",
    "PL": "Puebla", "NL": "Nuevo León",
}
OLD_NAMES = {  # as an old payroll system has them
    "VZ": "Veracruz-Llave", "QT": "Querétaro de Arteaga", "BC": "Baja California Norte",
    "NL": "Nvo. León", "MC": "Edo. de México", "NE": "EUA",
}
INEGI = {"QT": "22", "DF": "09", "OC": "20", "YN": "31", "CH": "08", "GT": "11"}
GENDER = [("Masculino", "Femenino"), ("Masc.", "Fem.")]


def string(text):
    return ('<table:table-cell office:value-type="string"><text:p>%s</text:p>'
            "</table:table-cell>" % escape(text))


def number(value):
    return ('<table:table-cell office:value-type="float" office:value="%d"><text:p>%d</text:p>'
            "</table:table-cell>" % (value, value))


def date(iso, style):
    value = iso if style == "ce1" else iso + "T00:00:00"
    return ('<table:table-cell table:style-name="%s" office:value-type="date" '
            'office:date-value="%s"><text:p>%s</text:p></table:table-cell>' % (style, value, iso))


def row(cells):
    return "<table:table-row>%s</table:table-row>" % "".join(cells)


def sheet_rows(name, people):
    if name == "escuela":
        yield row([string("ESCUELA PRIMARIA «BENITO JUÁREZ»")])
        yield row([string("CICLO ESCOLAR 2025-2026, GRUPO ÚNICO")])
        yield row([])
        yield row(map(string, ["No.", "PRIMER APELLIDO", "SEGUNDO APELLIDO", "NOMBRE(S)",
                               "FECHA DE NACIMIENTO", "SEXO", "ENTIDAD DE NACIMIENTO"]))
        for i, p in enumerate(people, 1):
            yield row([number(i), string(p["paterno"]), string(p["materno"]),
                       string(p["nombre"]), date(p["nacimiento"], "ce1"), string(p["sexo"]),
                       string(STATE_NAMES[p["entidad"]])])
    elif name == "nomina":
        yield row(map(string, ["NO. EMPLEADO", "APELLIDO PATERNO", "APELLIDO MATERNO",
                               "NOMBRE", "FECHA NAC.", "GÉNERO", "ENTIDAD DE NAC."]))
        for i, p in enumerate(people, 1):
            words = GENDER[i % 2]
            yield row([string("%05d" % (i * 7)), string(p["paterno"]), string(p["materno"]),
                       string(p["nombre"]), date(p["nacimiento"], "ce2"),
                       string(words[0] if p["sexo"] == "H" else words[1]),
                       string(OLD_NAMES[p["entidad"]])])
    elif name == "clinica":
        yield row(map(string, ["Expediente", "Paterno", "Materno", "Nombre", "F. Nac.",
                               "Sexo (F/M)", "Lugar de Nac."]))
        for i, p in enumerate(people, 1):
            yield row([string("C-%04d" % i), string(p["paterno"]),
                       string(p["materno"] or "-"), string(p["nombre"]),
                       date(p["nacimiento"], "ce1"), string("M" if p["sexo"] == "H" else "F"),
                       string(INEGI[p["entidad"]])])
    else:
        yield row(map(string, ["paterno", "materno", "nombre", "nacimiento", "sexo", "entidad"]))
        for p in people:
            yield row(map(string, [p["paterno"], p["materno"], p["nombre"], p["nacimiento"],
                                   p["sexo"], p["entidad"]]))


DOCUMENT = """<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:number="urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
<office:automatic-styles>
<number:date-style style:name="N1"><number:day number:style="long"/><number:text>/</number:text><number:month number:style="long"/><number:text>/</number:text><number:year/></number:date-style>
<number:date-style style:name="N2"><number:year number:style="long"/><number:text>-</number:text><number:month number:style="long"/><number:text>-</number:text><number:day number:style="long"/><number:text> </number:text><number:hours number:style="long"/><number:text>:</number:text><number:minutes number:style="long"/><number:text>:</number:text><number:seconds number:style="long"/></number:date-style>
<style:style style:name="ce1" style:family="table-cell" style:data-style-name="N1"/>
<style:style style:name="ce2" style:family="table-cell" style:data-style-name="N2"/>
</office:automatic-styles>
<office:body><office:spreadsheet><table:table table:name="Hoja1">
%s
</table:table></office:spreadsheet></office:body></office:document>
"""

# Separator (44 comma, 59 semicolon, 9 tab), quote (34) and character set (1
# Windows-1252, 76 UTF-8) of LibreOffice's CSV filter, as each office saves.
EXPORTS = {"escuela": "44,34,1", "nomina": "59,34,76", "clinica": "9,34,76", "oficial": "44,34,1"}


def main():
    out = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else HERE
    with open(HERE / "people.csv", encoding="utf-8", newline="") as f:
        people = list(csv.DictReader(f))
    with tempfile.TemporaryDirectory() as work:
        for name, options in EXPORTS.items():
            rows = [p for p in people if p["sheet"] == name]
            source = pathlib.Path(work) / (name + ".fods")
            source.write_text(DOCUMENT % "\n".join(sheet_rows(name, rows)), encoding="utf-8")
            subprocess.run(["soffice", "--headless", "-env:UserInstallation=file://" + work + "/profile",
                            "--convert-to", "csv:Text - txt - csv (StarCalc):" + options,
                            "--outdir", str(out), str(source)],
                           check=True, stdout=subprocess.DEVNULL)


if __name__ == "__main__":
    main()
