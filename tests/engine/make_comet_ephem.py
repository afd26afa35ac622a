#!/usr/bin/python3
"""Writes fixtures/comet_ephem.tsv: apparent geocentric places and total
magnitudes of four test comets (e = 0.5, 0.95, 1.0, 1.2) from PyEphem
(python3-ephem), every 8 days over a year around perihelion. PyEphem's
comet magnitude law (g, k) is H + 5 log10(delta) + 2.5 k log10(r).
Test-side only; run once with the system python3: /usr/bin/python3 make_comet_ephem.py
Columns: name q e i node peri T(JD TT) H G jd_ut deltaT_s ra_deg dec_deg mag"""
import math
import os

import ephem

DJD = 2415020.0  # PyEphem's day zero (Dublin JD)

# name, q, e, i, node, peri, T (JD TT), H, G
COMETS = [
    ("Ellipse05", 1.2, 0.5, 12.0, 80.0, 40.0, 2460450.25, 8.0, 4.0),
    ("NearPara095", 0.6, 0.95, 70.0, 300.0, 120.0, 2460500.75, 6.5, 3.5),
    ("Parabola", 0.9, 1.0, 130.0, 210.0, 300.0, 2460420.5, 7.0, 4.0),
    ("Hyperbola12", 1.5, 1.2, 45.0, 20.0, 200.0, 2460480.0, 5.0, 2.0),
]


def edb_date(jd):
    d = ephem.Date(jd - DJD)
    y, m, day = d.triple()
    return "%d/%.10f/%d" % (m, day, y)


def db_line(c):
    name, q, e, i, node, peri, T, H, G = c
    if e < 1:
        a = q / (1 - e)
        n = 0.9856076686 / a ** 1.5
        # mean anomaly 0 at perihelion time
        return "%s,e,%.10f,%.10f,%.10f,%.12f,%.12f,%.12f,0,%s,2000,g%.2f,%.2f" % (
            name, i, node, peri, a, n, e, edb_date(T), H, G)
    if e == 1:
        # PyEphem's own parabolic form ('p') differs from the limits of its
        # hyperbolic and elliptic forms (which agree within 0.01") by up to
        # 20" on this orbit, so the parabola is taken as the hyperbola of
        # e = 1 + 1e-8.
        e = 1.0 + 1e-8
    return "%s,h,%s,%.10f,%.10f,%.10f,%.12f,%.12f,2000,%.2f,%.2f" % (
        name, edb_date(T), i, node, peri, e, q, H, G)


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "fixtures", "comet_ephem.tsv")
    with open(out, "w") as f:
        f.write("# PyEphem %s; apparent geocentric RA/Dec of date; jd is UT, deltaT PyEphem's\n" % ephem.__version__)
        f.write("name\tq\te\ti\tnode\tperi\tT\tH\tG\tjd_ut\tdeltaT\tra_deg\tdec_deg\tmag\n")
        for c in COMETS:
            body = ephem.readdb(db_line(c))
            for k in range(-23, 23):
                jd_ut = c[6] + 8.0 * k + 0.3
                # PyEphem takes the date as UT and applies its own Delta T; the
                # perihelion time in the database line is taken as given.
                d = ephem.Date(jd_ut - DJD)
                body.compute(d, epoch=d)
                dt = ephem.delta_t(d)
                f.write("%s\t%.10f\t%.3f\t%.6f\t%.6f\t%.6f\t%.6f\t%.2f\t%.2f\t%.6f\t%.4f\t%.9f\t%.9f\t%.3f\n" % (
                    c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7], c[8], jd_ut, dt,
                    math.degrees(float(body.g_ra)), math.degrees(float(body.g_dec)), body.mag))
    print("wrote", out)


if __name__ == "__main__":
    main()
