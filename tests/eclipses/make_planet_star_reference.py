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

fixtures/planet_star_contacts_swe.tsv: the close approaches, as seen from
Berlin (13.40 E, 52.52 N, height 0), of Venus, Mars, Jupiter and Saturn to
the stars of the shipped catalogue data/OCCINP95.DAT in 2026. Each star's
FK4 B1950 place and proper motion are carried back to J2000 with eraFk425
(parallax and radial velocity zero, as the catalogue was made) and handed to
the Swiss Ephemeris as extra lines of a temporary sefstars.txt. Candidates:
the geocentric track every 6 hours passes within 500" of the star. Each
approach is refined on the topocentric apparent separation (swe_calc_ut and
swe_fixstar2_ut with SEFLG_TOPOCTR | SEFLG_EQUATORIAL): sampled every 20
minutes, the least value by golden-section search to 0.05 s. The body's
angular radius is asin(radius / topocentric distance) with the program's
radius table; when the least separation is below it, both contacts are found
by bisection (to 0.01 s) on separation = angular radius, with the rate of
the separation there (arc seconds per hour) and the position angle of the
star from the body's centre. Columns: body, catalogue index (1-based, file
order), MJD (UT) of the least separation, least separation and angular
radius (arc seconds), contact MJDs, rates and position angles (0 when there
is no occultation).

fixtures/planet_star_slow_crossings_swe.tsv: the right-ascension crossings
(found as for the first file) of Neptune and Pluto over the stars of the
shipped catalogue whose geocentric track passes within 500" in 2026-2027,
with the stars handed over as for the second file. Columns as the first
file's, with the catalogue index in place of the star's name.

Run: /usr/bin/python3 tests/eclipses/make_planet_star_reference.py [conjunctions] [contacts] [slow]
(no argument: all three, one process each)
"""
import math
import os
import shutil
import subprocess
import sys
import tempfile

import erfa
import numpy as np

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


def conjunctions():
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


CATALOGUE = os.path.join(os.path.dirname(ref.HERE), "..", "data", "OCCINP95.DAT")
PLACE = (13.40, 52.52, 0.0)
CONTACT_BODIES = [(3, "Venus", 6052.0), (4, "Mars", 3397.2), (5, "Jupiter", 71398.0), (6, "Saturn", 60000.0)]
CJD0, CJD1 = 2461041.5, 2461406.5  # 2026-01-01 .. 2027-01-01
REACH = 500.0  # arc seconds
AU_KM = 149597870.7
TOPO = ref.SEFLG_SWIEPH | ref.SEFLG_EQUATORIAL | ref.SEFLG_TOPOCTR


def read_catalogue():
    raw = open(CATALOGUE, "rb").read()
    kind = np.dtype([("ra", "<f4"), ("dec", "<f4"), ("pmr", "<f4"), ("pmd", "<f4"), ("mag", "<f4"), ("len", "u1"),
                     ("name", "S11")])
    return np.frombuffer(raw, dtype=kind)


def j2000_places(cat):
    """ICRS/J2000 place (radians) and proper motion (radians per Julian year, d alpha/dt)."""
    rad = np.radians
    return erfa.fk425(rad(cat["ra"].astype(float)), rad(cat["dec"].astype(float)), rad(cat["pmr"].astype(float)),
                      rad(cat["pmd"].astype(float)), 0.0, 0.0)[:4]


def candidates(r, d, dr, dd, bodies=None, jd0=None, jd1=None):
    """(body, star index from 0) pairs whose geocentric track passes within REACH, with the sample times."""
    bodies = bodies or CONTACT_BODIES
    jd0, jd1 = jd0 or CJD0, jd1 or CJD1
    jm = 0.5 * (jd0 + jd1)
    years = (jm - 2451545.0) / 365.25
    r1, d1 = r + dr * years, d + dd * years
    v = np.stack([np.cos(d1) * np.cos(r1), np.cos(d1) * np.sin(r1), np.sin(d1)], axis=1) @ erfa.pmat06(jm, 0.0).T
    ra = np.degrees(np.arctan2(v[:, 1], v[:, 0])) % 360.0
    dec = np.degrees(np.arcsin(v[:, 2]))
    order = np.argsort(ra)
    sorted_ra = ra[order]
    found = {}
    for ipl, body, _ in bodies:
        jd = jd0 - 1.0
        while jd < jd1 + 1.0:
            a, b, _ = ref.calc(jd, ipl, GEO)
            width = 0.4 / max(0.1, math.cos(math.radians(b)))
            for lo, hi in ((a - width, a + width), (a - width + 360.0, a + width + 360.0),
                           (a - width - 360.0, a + width - 360.0)):
                idx = order[np.searchsorted(sorted_ra, lo):np.searchsorted(sorted_ra, hi)]
                if len(idx) == 0:
                    continue
                da = (ra[idx] - a + 180.0) % 360.0 - 180.0
                sep = np.hypot(da * math.cos(math.radians(b)), dec[idx] - b) * 3600.0
                # The approximate star places are off by up to 60" (no
                # nutation or aberration), the samples 6 hours apart.
                for k in idx[sep < REACH + 60.0 + 1800.0]:
                    found.setdefault((ipl, int(k)), []).append(jd)
            jd += 0.25
    return found


def write_star_file(folder, stars, r, d, dr, dd):
    """The standard star file with one extra line per candidate star, nomenclature k<index>."""
    lines = open(ref.STARS, encoding="latin-1").read()
    with open(os.path.join(folder, "sefstars.txt"), "w", encoding="latin-1") as f:
        for k in sorted(stars):
            ra_h = math.degrees(r[k]) % 360.0 / 15.0
            dec = math.degrees(d[k])
            h, m = int(ra_h), int((ra_h - int(ra_h)) * 60)
            s = (ra_h - h - m / 60.0) * 3600.0
            sign = "-" if dec < 0 else "+"
            a = abs(dec)
            dg, dm = int(a), int((a - int(a)) * 60)
            ds = (a - dg - dm / 60.0) * 3600.0
            pmra = math.degrees(dr[k]) * 3600000.0 * math.cos(d[k])  # mas/yr, times cos dec
            pmdec = math.degrees(dd[k]) * 3600000.0
            f.write("kvx%d,k%d,ICRS,%02d,%02d,%09.6f,%s%02d,%02d,%08.5f,%.5f,%.5f,0,0,9.0,0,0\n"
                    % (k, k, h, m, s, sign, dg, dm, ds, pmra, pmdec))
        f.write(lines)
    for name in os.listdir(os.path.dirname(ref.STARS)):
        if name != "sefstars.txt":
            os.symlink(os.path.join(os.path.dirname(ref.STARS), name), os.path.join(folder, name))


def separation(jd, ipl, key, radius_km):
    """Topocentric separation of star and body centre, the body's angular radius (arc seconds), both places."""
    a, b, dist = ref.calc(jd, ipl, TOPO)
    sa, sb = ref.star_place(key, jd, TOPO)
    x = math.radians
    c = math.sin(x(b)) * math.sin(x(sb)) + math.cos(x(b)) * math.cos(x(sb)) * math.cos(x(sa - a))
    s = math.sin(x(sb - b) / 2.0) ** 2 + math.cos(x(b)) * math.cos(x(sb)) * math.sin(x(sa - a) / 2.0) ** 2
    sep = math.degrees(2.0 * math.asin(math.sqrt(max(0.0, s)))) * 3600.0 if c > 0.9 else 1e9
    return sep, math.degrees(math.asin(radius_km / (dist * AU_KM))) * 3600.0, (a, b, sa, sb)


def least(f, lo, hi):
    g = (math.sqrt(5.0) - 1.0) / 2.0
    c, d = hi - g * (hi - lo), lo + g * (hi - lo)
    fc, fd = f(c), f(d)
    while hi - lo > 0.05 / 86400.0:
        if fc < fd:
            hi, d, fd = d, c, fc
            c = hi - g * (hi - lo)
            fc = f(c)
        else:
            lo, c, fc = c, d, fd
            d = lo + g * (hi - lo)
            fd = f(d)
    return 0.5 * (lo + hi)


def contact(g, inside, outside):
    while abs(outside - inside) > 0.01 / 86400.0:
        mid = 0.5 * (inside + outside)
        if g(mid) < 0:
            inside = mid
        else:
            outside = mid
    return 0.5 * (inside + outside)


def approaches(ipl, k, radius_km, times):
    key = ",k%d" % k
    f = lambda t: separation(t, ipl, key, radius_km)[0]
    g = lambda t: separation(t, ipl, key, radius_km)[0] - separation(t, ipl, key, radius_km)[1]
    out = []
    step = 20.0 / 1440.0
    groups = []
    for t in sorted(times):
        if groups and t - groups[-1][1] <= 0.5:
            groups[-1][1] = t
        else:
            groups.append([t, t])
    for first, last in groups:
        grid = [first - 0.5 + i * step for i in range(int((last - first + 1.0) / step) + 1)]
        values = [f(t) for t in grid]
        for i in range(1, len(grid) - 1):
            if not (values[i] <= values[i - 1] and values[i] < values[i + 1]):
                continue
            t0 = least(f, grid[i - 1], grid[i + 1])
            sep, radius, _ = separation(t0, ipl, key, radius_km)
            if sep > REACH or not (CJD0 <= t0 < CJD1):
                continue
            row = [t0 - 2400000.5, sep, radius, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0]
            if sep < radius:
                ends = []
                for direction in (-1.0, 1.0):
                    outside = t0
                    while g(outside) < 0:
                        outside += direction * step
                    ends.append(contact(g, t0, outside))
                for n, t in enumerate(ends):
                    h = 10.0 / 86400.0
                    rate = (g(t + h) - g(t - h)) / (2.0 * h * 24.0)
                    a, b, sa, sb = separation(t, ipl, key, radius_km)[2]
                    row[3 + n], row[5 + n], row[7 + n] = t - 2400000.5, rate, ref.position_angle(a, b, sa, sb)
            out.append(row)
    return out


def contacts():
    cat = read_catalogue()
    r, d, dr, dd = j2000_places(cat)
    found = candidates(r, d, dr, dd)
    folder = tempfile.mkdtemp()
    try:
        write_star_file(folder, {k for _, k in found}, r, d, dr, dd)
        ref.swe.swe_set_ephe_path(folder.encode())
        ref.swe.swe_set_topo(*PLACE)
        rows = []
        for ipl, body, radius_km in CONTACT_BODIES:
            for (p, k), times in sorted(found.items()):
                if p == ipl:
                    rows += [[body, k + 1] + row for row in approaches(ipl, k, radius_km, times)]
    finally:
        shutil.rmtree(folder)
    rows.sort(key=lambda row: row[2])
    with open(os.path.join(ref.FIXTURES, "planet_star_contacts_swe.tsv"), "w") as f:
        f.write("# Swiss Ephemeris topocentric approaches (Berlin) of planets to stars of OCCINP95.DAT in 2026,"
                " Delta T 69 s\n")
        f.write("body\tindex\tmjd\tsep\tradius\tmjd1\tmjd2\trate1\trate2\tpa1\tpa2\n")
        for row in rows:
            f.write("%s\t%d\t%.7f\t%.3f\t%.3f\t%.7f\t%.7f\t%.3f\t%.3f\t%.2f\t%.2f\n" % tuple(row))
    print(len(rows), "approaches,", sum(1 for row in rows if row[3] < row[4]), "occultations")


SLOW_BODIES = [(8, "Neptune", 24300.0), (9, "Pluto", 2500.0)]
SJD0, SJD1 = 2461041.5, 2461771.5  # 2026-01-01 .. 2028-01-01


def slow():
    """Right-ascension crossings of Neptune and Pluto over stars of the shipped catalogue, 2026-2027."""
    cat = read_catalogue()
    r, d, dr, dd = j2000_places(cat)
    found = candidates(r, d, dr, dd, SLOW_BODIES, SJD0, SJD1)
    folder = tempfile.mkdtemp()
    rows = []
    try:
        write_star_file(folder, {k for _, k in found}, r, d, dr, dd)
        ref.swe.swe_set_ephe_path(folder.encode())
        names = {ipl: body for ipl, body, _ in SLOW_BODIES}
        for (ipl, k), _ in sorted(found.items()):
            key = ",k%d" % k
            step = 0.25
            jd = SJD0
            d0, _ = offset(jd, ipl, key)
            while jd < SJD1:
                jd1 = jd + step
                d1, _ = offset(jd1, ipl, key)
                if (d0 < 0) != (d1 < 0) and abs(d0 - d1) < 90:
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
                        rows.append((names[ipl], k + 1, t - 2400000.5, ddec, rate))
                jd, d0 = jd1, d1
    finally:
        shutil.rmtree(folder)
    rows.sort(key=lambda row: row[2])
    with open(os.path.join(ref.FIXTURES, "planet_star_slow_crossings_swe.tsv"), "w") as f:
        f.write("# Swiss Ephemeris right-ascension crossings of Neptune and Pluto over stars of OCCINP95.DAT,"
                " 2026-2027, Delta T 69 s\n")
        f.write("body\tindex\tmjd\tddec\trate\n")
        for row in rows:
            f.write("%s\t%d\t%.7f\t%.3f\t%.6f\n" % row)
    print(len(rows), "slow crossings")


if __name__ == "__main__":
    parts = sys.argv[1:] or ["conjunctions", "contacts", "slow"]
    if len(parts) > 1:
        # One process per part: the Swiss Ephemeris keeps its star file and
        # ephemeris folder for the whole process.
        for part in parts:
            subprocess.run([sys.executable, os.path.abspath(__file__), part], check=True)
    else:
        {"conjunctions": conjunctions, "contacts": contacts, "slow": slow}[parts[0]]()
