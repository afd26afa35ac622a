#!/usr/bin/python3
"""Reference data of the planet-star conjunction tests.

fixtures/planet_star_conjunctions_swe.tsv: every crossing of the geocentric
apparent right ascension of Mars, Jupiter and Saturn (swe_calc_ut with
SEFLG_EQUATORIAL) over the apparent right ascension of a star of
fixtures/occultation_stars.dat (swe_fixstar2_ut with SEFLG_EQUATORIAL) in
2026-2030, found by sampling every 6 hours and bisection to 0.01 s, where
the declinations differ by less than 1200 arc seconds. Columns: body, star,
MJD (UT, Delta T fixed at 69 s with swe_set_delta_t_userdef), star minus
body declination (arc seconds), the body's rate in right ascension
(degrees per day).

The star list and the catalogue conversion (sefstars.txt, ICRS, to FK4
B1950 with eraFk524) are those of make_lunar_occultation_reference.py.

Run: /usr/bin/python3 tests/eclipses/make_planet_star_reference.py
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_lunar_occultation_reference as ref  # noqa: E402

BODIES = {4: "Mars", 5: "Jupiter", 6: "Saturn"}
JD0, JD1 = 2461041.5, 2462867.5  # 2026-01-01 .. 2031-01-01
LIMIT = 1200.0
GEO = ref.SEFLG_SWIEPH | ref.SEFLG_EQUATORIAL


def offset(jd, ipl, star):
    ra_b, dec_b, _ = ref.calc(jd, ipl, GEO)
    ra_s, dec_s = ref.star_place(star, jd, GEO)
    d = (ra_b - ra_s + 180.0) % 360.0 - 180.0
    return d, (dec_s - dec_b) * 3600.0


def main():
    stars = ref.read_stars()
    rows = []
    for ipl, body in BODIES.items():
        for star in stars:
            name, nomenclature = star[0], star[1]
            key = "," + nomenclature
            step = 0.25
            jd = JD0
            d0, _ = offset(jd, ipl, key)
            while jd < JD1:
                jd1 = jd + step
                d1, dd = offset(jd1, ipl, key)
                if (d0 < 0) != (d1 < 0) and abs(d0 - d1) < 90 and abs(dd) < LIMIT + 3600:
                    lo, hi, flo = jd, jd1, d0
                    while hi - lo > 1e-7:
                        mid = 0.5 * (lo + hi)
                        fm, _ = offset(mid, ipl, key)
                        if (fm < 0) == (flo < 0):
                            lo, flo = mid, fm
                        else:
                            hi = mid
                    t = 0.5 * (lo + hi)
                    _, ddec = offset(t, ipl, key)
                    ra_a, _, _ = ref.calc(t - 0.5, ipl, GEO)
                    ra_b, _, _ = ref.calc(t + 0.5, ipl, GEO)
                    rate = (ra_b - ra_a + 180.0) % 360.0 - 180.0
                    if abs(ddec) < LIMIT:
                        rows.append((body, name, t - 2400000.5, ddec, rate))
                jd, d0 = jd1, d1
    rows.sort(key=lambda r: r[2])
    with open(os.path.join(ref.FIXTURES, "planet_star_conjunctions_swe.tsv"), "w") as f:
        f.write("# Swiss Ephemeris right-ascension crossings of fixtures/occultation_stars.dat, Delta T 69 s\n")
        f.write("body\tstar\tmjd\tddec\trate\n")
        for row in rows:
            f.write("%s\t%s\t%.7f\t%.3f\t%.6f\n" % row)
    print(len(rows), "crossings")


if __name__ == "__main__":
    main()
