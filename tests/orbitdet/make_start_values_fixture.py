#!/usr/bin/python3
"""Reads the shipped start-values file with Python's csv and decimal modules
and writes start_values_reference.txt: per body the name, the six state
numbers, the mass 1/(1/m) (0 for 1/m = 0) to 30 digits, the equinox and the
epoch, as the file gives them.

Run from the project root: /usr/bin/python3 tests/orbitdet/make_start_values_fixture.py
"""
import csv
import decimal
import pathlib

decimal.getcontext().prec = 30
root = pathlib.Path(__file__).resolve().parents[2]
source = root / "data" / "14Körper1997.csv"
target = root / "tests" / "orbitdet" / "fixtures" / "start_values_reference.txt"

with open(source, newline="", encoding="cp1252") as f:
    rows = list(csv.reader(f, delimiter=";"))
assert rows[0] == ["name", "x", "y", "z", "x1", "y1", "z1", "1/m", "jdequinox", "jd"] or \
    ";".join(rows[0]) == ":name;x;y;z;x1;y1;z1;1/m;jdequinox;jd"
lines = ["# " + source.name + " read back by Python csv and decimal",
         "name\tx\ty\tz\tx1\ty1\tz1\tmass\tjdequinox\tjd"]
for row in rows[1:]:
    assert len(row) == 10, row
    numbers = [decimal.Decimal(v) for v in row[1:]]
    inverse = numbers[6]
    mass = decimal.Decimal(0) if inverse == 0 else decimal.Decimal(1) / inverse
    fields = [row[0]] + [str(v) for v in numbers[:6]] + [str(mass), str(numbers[7]), str(numbers[8])]
    lines.append("\t".join(fields))
target.write_text("\n".join(lines) + "\n", encoding="utf-8")
print("wrote", target, len(rows) - 1, "bodies")
