#!/usr/bin/python3
"""Writes fixtures/user_object_erfa.tsv: apparent places of date of a few
fixed objects (J2000 catalogue place, linear proper motion) from 1900 to 2100
by an ERFA chain (python3-erfa): proper motion, stellar aberration with the
Earth's barycentric velocity (eraEpv00, eraAb) in the J2000 frame, then
IAU 1976 precession (eraPmat76) and IAU 1980 nutation (eraNut80, eraObl80,
eraNumat). Test-side only; run once: /usr/bin/python3 make_user_object_erfa.py
Columns: name ra_h dec_deg pm_ra_s pm_dec_as jd_tt app_ra_deg app_dec_deg"""
import math
import os

import erfa
import numpy as np

STARS = [  # name, RA (h), Dec (deg), pm RA (s/yr), pm Dec ("/yr)
    ("Polaris", 2.530301028, 89.264109444, 0.19877, -0.0152),
    ("Sirius", 6.752477022, -16.716115861, -0.03847, -1.2053),
    ("Vega", 18.615649006, 38.783688956, 0.01726, 0.2863),
    ("Canopus", 6.399195194, -52.695661250, 0.00245, 0.0233),
    ("Spica", 13.419883139, -11.161319444, -0.00278, -0.0315),
]


def apparent(ra_h, dec, pm_ra, pm_dec, jd_tt):
    years = (jd_tt - 2451545.0) / 365.25
    ra = math.radians((ra_h + years * pm_ra / 3600.0) * 15.0)
    de = math.radians(dec + years * pm_dec / 3600.0)
    p = erfa.s2c(ra, de)
    pvh, pvb = erfa.epv00(jd_tt, 0.0)
    v = np.array(pvb[1]) / (erfa.CMPS * erfa.DAYSEC / erfa.DAU)
    s = float(np.linalg.norm(np.array(pvh[0])))
    bm1 = math.sqrt(1.0 - float(np.dot(v, v)))
    p = erfa.ab(p, v, s, bm1)
    rp = erfa.pmat76(jd_tt, 0.0)
    dpsi, deps = erfa.nut80(jd_tt, 0.0)
    rn = erfa.numat(erfa.obl80(jd_tt, 0.0), dpsi, deps)
    p = np.dot(rn, np.dot(rp, p))
    a, d = erfa.c2s(p)
    return math.degrees(erfa.anp(a)), math.degrees(d)


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "fixtures", "user_object_erfa.tsv")
    with open(out, "w") as f:
        f.write("# ERFA %s; apparent places of date, TT\n" % erfa.__version__)
        f.write("name\tra_h\tdec_deg\tpm_ra_s\tpm_dec_as\tjd_tt\tapp_ra_deg\tapp_dec_deg\n")
        for star in STARS:
            for year in range(1900, 2101, 25):
                jd = 2451545.0 + (year - 2000) * 365.25 + 37.3
                ra, dec = apparent(star[1], star[2], star[3], star[4], jd)
                f.write("%s\t%.9f\t%.9f\t%.5f\t%.4f\t%.4f\t%.9f\t%.9f\n" % (star + (jd, ra, dec)))
    print("wrote", out)


if __name__ == "__main__":
    main()
