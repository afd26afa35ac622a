#!/usr/bin/env python3
"""Writes fixtures/delta_t_erfa.tsv: Delta T = TT - UT1 at the start of
each Julian year from 2000.0 (JD 2451545.0 + 365.25 (year - 2000), taken as
UTC) to the last year start the published UT1 - UTC values cover, formed
independently of tools/make_delta_t_table.py: TAI - UTC from ERFA's own
leap-second table (eraDat, python3-erfa), UT1 - TAI interpolated linearly
between the published daily values at 0 h UTC, TT - TAI = 32.184 s.

The published UT1 - UTC values: the IERS EOP 14 C04 series of Debian's
python3-astropy (to 2022-11-29) and the EOP 20 C04 extract
tools/data/eopc04_year_starts.txt (the days around the later year starts).
Only needed to refresh the committed fixture: /usr/bin/python3 make_delta_t_erfa.py
"""
import os
import sys
import warnings

import erfa

HERE = os.path.dirname(os.path.abspath(__file__))
SERIES = ["/usr/lib/python3/dist-packages/astropy/utils/iers/data/eopc04_IAU2000.62-now",
          os.path.join(HERE, "..", "..", "tools", "data", "eopc04_year_starts.txt")]


def published_ut1_minus_utc():
    """{mjd: UT1 - UTC} at 0 h UTC; a later file wins on a shared day."""
    values = {}
    for path in SERIES:
        with open(path, encoding="ascii") as source:
            for line in source:
                fields = line.split()
                if len(fields) == 16 and fields[0].isdigit():
                    values[int(fields[3])] = float(fields[6])
                elif len(fields) == 21 and fields[0].isdigit():
                    values[int(float(fields[4]))] = float(fields[7])
    return values


def tai_minus_utc(mjd):
    year, month, day, _ = erfa.jd2cal(2400000.5, float(mjd))
    return erfa.dat(int(year), int(month), int(day), 0.0)


def main():
    warnings.simplefilter("ignore")  # "dubious year" beyond ERFA's release
    ut1 = published_ut1_minus_utc()
    rows = []
    year = 2000
    while True:
        jd = 2451545.0 + 365.25 * (year - 2000)
        mjd = jd - 2400000.5
        day = int(mjd // 1)
        if day not in ut1 or day + 1 not in ut1:
            break
        # UT1 - TAI has no leap-second steps; UT1 - UTC has.
        a = ut1[day] - tai_minus_utc(day)
        b = ut1[day + 1] - tai_minus_utc(day + 1)
        ut1_minus_tai = a + (b - a) * (mjd - day)
        rows.append((jd, year, 32.184 - ut1_minus_tai))
        year += 1
    with open(os.path.join(HERE, "fixtures", "delta_t_erfa.tsv"), "w", encoding="ascii", newline="\n") as out:
        out.write(f"# ERFA {erfa.__version__} eraDat (TAI - UTC) and the published IERS C04 UT1 - UTC\n")
        out.write("# (tests/core/make_delta_t_erfa.py); jd_ut: start of the Julian year (UTC);\n")
        out.write("# delta_t: TT - UT1, seconds.\n")
        out.write("jd_ut\tyear\tdelta_t\n")
        for jd, y, dt in rows:
            out.write(f"{jd:.2f}\t{y}\t{dt:.4f}\n")
    print(f"{len(rows)} year starts, {rows[0][1]} to {rows[-1][1]}")


if __name__ == "__main__":
    main()
