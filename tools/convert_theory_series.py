#!/usr/bin/env python3
"""Turns the published VSOP87 (versions B and D) and ELP-2000/82B coefficient
tables into the compact little-endian files that the theory libraries embed.

Usage: convert_theory_series.py <folder of the published tables> <data folder>

The folder of the published tables holds vsop87/vsop87{b,d}-<planet>.tsv and
elp82b/elpNN.tsv. Three files are written:

vsop87b.bin, vsop87d.bin
    char[8]  "KVXVSOP1"
    char     version letter 'B' or 'D', then three zero bytes
    uint32   number of terms
    uint32   144 term counts, series in the order planet (Mercury..Neptune),
             variable (L, B, R), power of t (0..5)
    terms    per term three float64: amplitude A (rad or AU per millennium^power),
             phase B (rad), frequency C (rad per millennium)
    Within a series the terms are sorted by decreasing |A| (ties keep the
    published order), so that a truncated evaluation can stop at the first
    term below its threshold.

elp82b.bin
    char[8]  "KVXELP82"
    uint32   format version 1
    uint32   number of terms
    uint32   36 term counts, series 1..36
    series 1-3 (main problem), 52 bytes a term: int8 multipliers of D, l', l, F;
             float64 A (arcsec or km), B1, B2, B3, B4, B5
    series 4-36, 29 bytes a term: int8 multipliers of zeta, Mercury, Venus,
             Earth-Moon barycentre, Mars, Jupiter, Saturn, Uranus, Neptune, D,
             l', l, F (zero where the table has no such column); float64 phase
             (degrees), float64 amplitude (arcsec or km)
    Within a series the terms are sorted by decreasing |amplitude|.
"""
import csv
import os
import struct
import sys

PLANETS = ["mercury", "venus", "earth", "mars", "jupiter", "saturn", "uranus", "neptune"]
VARIABLES = ["L", "B", "R"]


def read_tsv(path):
    with open(path, newline="") as f:
        return list(csv.DictReader(f, delimiter="\t"))


def sort_by_amplitude(terms, key):
    # sorted() is stable: equal amplitudes keep the published order.
    return sorted(terms, key=lambda t: -abs(key(t)))


def convert_vsop(source, version, target):
    counts = []
    payload = bytearray()
    total = 0
    for planet in PLANETS:
        rows = read_tsv(os.path.join(source, "vsop87", f"vsop87{version.lower()}-{planet}.tsv"))
        for variable in VARIABLES:
            for power in range(6):
                series = [r for r in rows if r["variable"] == variable and int(r["power"]) == power]
                series.sort(key=lambda r: int(r["index"]))
                if series and [int(r["index"]) for r in series] != list(range(1, len(series) + 1)):
                    raise SystemExit(f"{planet} {variable}{power}: term numbers not consecutive")
                terms = [(float(r["A"]), float(r["B"]), float(r["C"])) for r in series]
                terms = sort_by_amplitude(terms, lambda t: t[0])
                counts.append(len(terms))
                for a, b, c in terms:
                    payload += struct.pack("<3d", a, b, c)
                total += len(terms)
    header = b"KVXVSOP1" + version.encode() + b"\0\0\0" + struct.pack("<I", total)
    header += struct.pack(f"<{len(counts)}I", *counts)
    with open(target, "wb") as f:
        f.write(header + payload)
    return total


E_COLUMNS = ["zeta", "Me", "Ve", "Ea", "Ma", "Ju", "Sa", "Ur", "Ne", "D", "lp", "l", "F"]


def convert_elp(source, target):
    counts = []
    payload = bytearray()
    total = 0
    for n in range(1, 37):
        rows = read_tsv(os.path.join(source, "elp82b", f"elp{n:02d}.tsv"))
        rows.sort(key=lambda r: int(r["index"]))
        if n <= 3:
            rows = sort_by_amplitude(rows, lambda r: float(r["A"]))
            for r in rows:
                payload += struct.pack("<4b", *(int(r[c]) for c in ("D", "lp", "l", "F")))
                payload += struct.pack("<6d", *(float(r[c]) for c in ("A", "B1", "B2", "B3", "B4", "B5")))
        else:
            rows = sort_by_amplitude(rows, lambda r: float(r["amplitude"]))
            for r in rows:
                payload += struct.pack("<13b", *(int(r.get(c, 0) or 0) for c in E_COLUMNS))
                payload += struct.pack("<2d", float(r["phase"]), float(r["amplitude"]))
        counts.append(len(rows))
        total += len(rows)
    header = b"KVXELP82" + struct.pack("<II", 1, total) + struct.pack("<36I", *counts)
    with open(target, "wb") as f:
        f.write(header + payload)
    return total


def main():
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    source, target = sys.argv[1], sys.argv[2]
    os.makedirs(target, exist_ok=True)
    for version in ("B", "D"):
        n = convert_vsop(source, version, os.path.join(target, f"vsop87{version.lower()}.bin"))
        print(f"VSOP87 {version}: {n} terms")
    n = convert_elp(source, os.path.join(target, "elp82b.bin"))
    print(f"ELP-2000/82B: {n} terms")


if __name__ == "__main__":
    main()
