#!/usr/bin/python3
"""Writes fixtures/search_star_erfa.tsv: apparent places of date of stars
given as the occultation catalogue holds them (mean place of 1950.0 in
degrees, proper motion in degrees per year, right ascension not multiplied
by cos dec), by an ERFA chain (python3-erfa): linear proper motion over the
Julian years since JD 2433282.5, IAU 1976 precession from that epoch to the
date (eraPmat76) and IAU 1980 nutation (eraNut80, eraObl80, eraNumat). No
aberration: the catalogue stars of the searches take none.
Test-side only; run once: /usr/bin/python3 make_search_star_erfa.py
Columns: name ra1950 dec1950 pm_ra pm_dec jd_tt app_ra_deg app_dec_deg"""
import math
import os

import erfa
import numpy as np

EPOCH_1950 = 2433282.5  # T = -0.5
STARS = [  # name, RA 1950 (deg), Dec 1950 (deg), pm RA (deg/yr), pm Dec (deg/yr)
    ("Regulus", 151.4275, 12.2125, -7.04e-5, 1.7e-6),
    ("Spica", 200.6575, -10.9028, -1.75e-5, -8.8e-6),
    ("Aldebaran", 68.2458, 16.4069, 2.83e-5, -5.28e-5),
    ("Polar", 22.9142, 89.0261, 2.7e-3, 3.0e-6),
]


def apparent(ra, dec, pm_ra, pm_dec, jd_tt):
    years = (jd_tt - EPOCH_1950) / 365.25
    p = erfa.s2c(math.radians(ra + years * pm_ra), math.radians(dec + years * pm_dec))
    rp = np.dot(erfa.pmat76(jd_tt, 0.0), np.transpose(erfa.pmat76(EPOCH_1950, 0.0)))
    dpsi, deps = erfa.nut80(jd_tt, 0.0)
    rn = erfa.numat(erfa.obl80(jd_tt, 0.0), dpsi, deps)
    a, d = erfa.c2s(np.dot(rn, np.dot(rp, p)))
    return math.degrees(erfa.anp(a)), math.degrees(d)


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "fixtures", "search_star_erfa.tsv")
    with open(out, "w") as f:
        f.write("name\tra1950\tdec1950\tpm_ra\tpm_dec\tjd_tt\tapp_ra_deg\tapp_dec_deg\n")
        for star in STARS:
            for jd in (2415020.5, 2451545.0, 2460322.9, 2488070.5):
                ra, dec = apparent(star[1], star[2], star[3], star[4], jd)
                f.write("%s\t%.4f\t%.4f\t%.4e\t%.4e\t%.4f\t%.8f\t%.8f\n" % (star + (jd, ra, dec)))


if __name__ == "__main__":
    main()
