#!/usr/bin/python3
"""Writes fixtures/circulars/dates.txt: the Julian days of the dates that the
circular fixtures and the import test use, computed by python3-ephem, so the
importer's calendar arithmetic is checked against an independent routine.

Run with Debian's python (python3-ephem):
  /usr/bin/python3 tests/catalogues/make_circular_dates.py

Lines: <label> <Julian day>
"""
import os

import ephem

DATES = [
    ("comet_T", "2005/5/7.71564"),    # T 2005 May   7.71564 TT
    ("epoch_aug", "2005/8/18.25"),    # Epoch 2005 Aug. 18.25 TT
    ("comet_T_set", "2005/5/7.5"),    # the day-fraction entry of the app test
]

here = os.path.dirname(os.path.abspath(__file__))
with open(os.path.join(here, "fixtures", "circulars", "dates.txt"), "w") as out:
    for label, date in DATES:
        out.write("%s %.8f\n" % (label, ephem.julian_date(ephem.Date(date))))
