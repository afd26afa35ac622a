#!/usr/bin/python3
"""Writes fixtures/saturn_moon_events.tsv: the conjunctions and greatest
elongations of Saturn's eight major moons from PyEphem, test side only.

PyEphem gives each moon's offset from Saturn in Saturn radii with x towards
the east and z towards the Earth; the program's frame has X towards the
west and Z away from the Earth, so X = -x and Z = -z. The functions of the
one-moon search (X for the conjunctions, Z for the elongations) are sampled
every 10 minutes from 2025 Sep 1 0h UT for 61 days; every sign change is
bisected to 1 s. Columns: moon (1 Mimas .. 8 Iapetus), event (0 superior,
1 inferior conjunction, 2 greatest eastern, 3 greatest western elongation),
the Julian day of UT and X, Z at the event.
"""
import math
import os

import ephem

MOONS = [ephem.Mimas, ephem.Enceladus, ephem.Tethys, ephem.Dione, ephem.Rhea, ephem.Titan, ephem.Hyperion,
         ephem.Iapetus]
START_JD = 2460919.5
DAYS = 61
STEP = 10.0 / 1440
DUBLIN = 2415020.0  # ephem's day zero as a Julian day


def xz(moon, jd):
    m = moon(ephem.Date(jd - DUBLIN))
    return -m.x, -m.z


def main():
    rows = []
    n = int(round(DAYS / STEP))
    for index, moon in enumerate(MOONS, start=1):
        samples = [xz(moon, START_JD + k * STEP) for k in range(n + 1)]
        for which in (0, 1):
            for k in range(n):
                f0 = samples[k][which]
                f1 = samples[k + 1][which]
                if f0 == 0 or (f0 > 0) == (f1 > 0):
                    continue
                lo, hi, flo = START_JD + k * STEP, START_JD + (k + 1) * STEP, f0
                while hi - lo > 1.0 / 86400:
                    mid = 0.5 * (lo + hi)
                    fm = xz(moon, mid)[which]
                    if (fm > 0) == (flo > 0):
                        lo, flo = mid, fm
                    else:
                        hi = mid
                t = 0.5 * (lo + hi)
                x, z = xz(moon, t)
                event = (0 if z > 0 else 1) if which == 0 else (2 if x < 0 else 3)
                rows.append((index, event, t, x, z))
    rows.sort(key=lambda r: r[2])
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "fixtures", "saturn_moon_events.tsv")
    with open(path, "w") as out:
        out.write("moon\tevent\tjd_ut\tx\tz\n")
        for r in rows:
            out.write("%d\t%d\t%.7f\t%.5f\t%.5f\n" % r)
    print(len(rows), "events")


if __name__ == "__main__":
    main()
