#!/usr/bin/env python3
"""Writes the dates of Easter Sunday 1583-4099 from python-dateutil's
Gregorian computus as fixtures/easter_dateutil.tsv (an independent
reference for the program's own computus)."""
import os

from dateutil.easter import EASTER_WESTERN, easter

here = os.path.dirname(os.path.abspath(__file__))
with open(os.path.join(here, "fixtures", "easter_dateutil.tsv"), "w") as out:
    out.write("# python-dateutil easter(year, EASTER_WESTERN)\n")
    out.write("year\tmonth\tday\n")
    for year in range(1583, 4100):
        d = easter(year, EASTER_WESTERN)
        out.write(f"{year}\t{d.month}\t{d.day}\n")
