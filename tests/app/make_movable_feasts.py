#!/usr/bin/python3
"""Easter-based feast dates from python3-dateutil for the movable-feasts
table test: writes fixtures/movable_feasts.tsv (year, name, dd.mm.yyyy)."""
import datetime
import pathlib

from dateutil.easter import easter

OFFSETS = [("Rosenmontag", -48), ("Aschermittwoch", -46), ("Karfreitag", -2), ("Ostern", 0),
           ("Ostermontag", 1), ("Himmelfahrt", 39), ("Pfingstsonntag", 49), ("Pfingstmontag", 50),
           ("Fronleichnam", 60)]

lines = []
for year in (2024, 2025, 2038):
    sunday = easter(year)
    for name, days in OFFSETS:
        d = sunday + datetime.timedelta(days=days)
        lines.append(f"{year}\t{name}\t{d.day:02d}.{d.month:02d}.{d.year}")
out = pathlib.Path(__file__).with_name("fixtures") / "movable_feasts.tsv"
out.write_text("\n".join(lines) + "\n", encoding="utf-8")
