#!/usr/bin/python3
"""Writes fixtures/earth_velocity_erfa.tsv: the velocity of the Sun's
geocentric position (minus the Earth's heliocentric velocity), AU per day,
rectangular in the mean ecliptic and equinox of date, at dates from 1900 to
2100 (TT), from ERFA (python3-erfa): the Earth's heliocentric velocity of
eraEpv00 (BCRS axes) turned into the ecliptic of date by eraEcm06 (IAU 2006
precession, mean obliquity of date).

The dates: every 23 days through 2026, where the mean anomaly goes once
round, and a day in a few other years of the range.

Usage (Debian's python3 with python3-erfa): tests/theories/make_earth_velocity_erfa.py
"""
import os

import erfa

J2000 = 2451545.0


def dates():
    start = 2461041.5  # 2026 January 1, 0 h TT
    days = [start + 23.0 * k for k in range(16)]
    for years, day in ((-99, 150), (-24, 250), (51, 40), (99, 320)):  # 1901, 1976, 2051, 2099
        days.append(J2000 + 365.25 * years + day + 0.375)
    return days


def main():
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "fixtures", "earth_velocity_erfa.tsv")
    with open(path, "w", encoding="ascii", newline="\n") as out:
        out.write("# minus the Earth's heliocentric velocity (ERFA epv00), mean ecliptic and equinox of date (ecm06),\n")
        out.write("# AU/day; made by ../make_earth_velocity_erfa.py\n")
        out.write("jd_tt\tvx\tvy\tvz\n")
        for jd in dates():
            pvh, _pvb = erfa.epv00(jd, 0.0)
            velocity = pvh[1]
            rotation = erfa.ecm06(jd, 0.0)
            ecliptic = [-sum(rotation[i][k] * velocity[k] for k in range(3)) for i in range(3)]
            out.write(f"{jd:.4f}\t{ecliptic[0]:.12e}\t{ecliptic[1]:.12e}\t{ecliptic[2]:.12e}\n")


if __name__ == "__main__":
    main()
