#!/usr/bin/python3
"""Reference data of the lunar occultation tests.

1. fixtures/occultation_stars.dat: a small occultation star catalogue in the
   32-byte record layout (FK4, B1950.0, proper motion d alpha/dt in degrees
   per year) of zodiacal stars of swe-basic-data's sefstars.txt, converted
   from ICRS/J2000 with ERFA's eraFk524 (python3-erfa).
2. fixtures/lunar_occultations_swe.tsv: the occultations of these stars for
   three places in 2026-2027 from the Swiss Ephemeris (libswe-dev, through
   ctypes): swe_lun_occult_when_loc, tret[1] disappearance and tret[4]
   reappearance, Delta T fixed at 69 s (swe_set_delta_t_userdef) as the
   tests' observer records hold it; the position angles of both contacts from
   the topocentric apparent Moon and star (swe_calc_ut, swe_fixstar2_ut,
   SEFLG_TOPOCTR | SEFLG_EQUATORIAL), the star's and the Sun's altitudes.
3. fixtures/planet_occultations_swe.tsv: occultations of Venus, Mars,
   Jupiter and Saturn 2020-2035 for the same places; the centre's
   disappearance is the mean of tret[1] and tret[2], the reappearance the
   mean of tret[3] and tret[4]; the position angles of the centre at both
   from the topocentric apparent Moon and planet. (Without the ephemeris
   files the library falls back to its analytic mode: the times then move
   by about a second, the angles by a few hundredths of a degree.)

Run: /usr/bin/python3 tests/eclipses/make_lunar_occultation_reference.py
"""
import ctypes
import math
import os
import struct

import erfa

HERE = os.path.dirname(os.path.abspath(__file__))
FIXTURES = os.path.join(HERE, "fixtures")
EPHE = b"/usr/share/libswe/ephe"
STARS = "/usr/share/libswe/ephe/sefstars.txt"
DELTA_T = 69.0  # seconds, as the tests' records

PLACES = [  # name, east longitude, latitude, height
    ("Berlin", 13.40, 52.52, 0.0),
    ("Tokyo", 139.69, 35.69, 0.0),
    ("Windhoek", 17.08, -22.56, 0.0),
]

swe = ctypes.CDLL("libswe.so.2")
swe.swe_set_ephe_path(EPHE)
swe.swe_set_delta_t_userdef.argtypes = [ctypes.c_double]
swe.swe_set_delta_t_userdef(DELTA_T / 86400.0)
SEFLG_SWIEPH = 2
SEFLG_EQUATORIAL = 2048
SEFLG_TOPOCTR = 32 * 1024
SE_SUN, SE_MOON = 0, 1
SE_ECL_ONE_TRY = 32 * 1024

Double6 = ctypes.c_double * 6
Double10 = ctypes.c_double * 10
Double20 = ctypes.c_double * 20
Error = ctypes.create_string_buffer
swe.swe_lun_occult_when_loc.argtypes = [ctypes.c_double, ctypes.c_int, ctypes.c_char_p, ctypes.c_int,
                                        ctypes.POINTER(ctypes.c_double), ctypes.POINTER(ctypes.c_double),
                                        ctypes.POINTER(ctypes.c_double), ctypes.c_int, ctypes.c_char_p]
swe.swe_calc_ut.argtypes = [ctypes.c_double, ctypes.c_int, ctypes.c_int, ctypes.POINTER(ctypes.c_double),
                            ctypes.c_char_p]
swe.swe_fixstar2_ut.argtypes = [ctypes.c_char_p, ctypes.c_double, ctypes.c_int, ctypes.POINTER(ctypes.c_double),
                                ctypes.c_char_p]
swe.swe_set_topo.argtypes = [ctypes.c_double, ctypes.c_double, ctypes.c_double]
swe.swe_azalt.argtypes = [ctypes.c_double, ctypes.c_int, ctypes.POINTER(ctypes.c_double), ctypes.c_double,
                          ctypes.c_double, ctypes.POINTER(ctypes.c_double), ctypes.POINTER(ctypes.c_double)]


def read_stars():
    """Stars of sefstars.txt within 6 degrees of the ecliptic, V <= 4.0."""
    seen = set()
    out = []
    for line in open(STARS, encoding="latin-1"):
        if line.startswith("#") or "," not in line:
            continue
        f = [x.strip() for x in line.split(",")]
        if len(f) < 14 or f[2] != "ICRS" or not f[1] or f[1] in seen:
            continue
        try:
            ra = (float(f[3]) + float(f[4]) / 60 + float(f[5]) / 3600) * 15
            sign = -1 if f[6].startswith("-") else 1
            dec = sign * (abs(float(f[6])) + float(f[7]) / 60 + float(f[8]) / 3600)
            pmra, pmdec, rv, parallax, mag = (float(x) for x in f[9:14])
        except ValueError:
            continue
        # Ecliptic latitude (J2000).
        eps = math.radians(23.4392911)
        s = math.sin(math.radians(dec)) * math.cos(eps) - math.cos(math.radians(dec)) * math.sin(eps) * math.sin(
            math.radians(ra))
        beta = math.degrees(math.asin(s))
        if abs(beta) > 6.0 or mag > 4.0:
            continue
        seen.add(f[1])
        out.append((f[0], f[1], ra, dec, pmra, pmdec, rv, parallax, mag))
    return out


def fk4_record(star):
    name, nomenclature, ra, dec, pmra, pmdec, rv, parallax, mag = star
    r = math.radians(ra)
    d = math.radians(dec)
    # Proper motion in RA as d alpha/dt, radians per Julian year.
    dr = math.radians(pmra / 1000.0 / 3600.0) / math.cos(d)
    dd = math.radians(pmdec / 1000.0 / 3600.0)
    r1950, d1950, dr1950, dd1950, p1950, v1950 = erfa.fk524(r, d, dr, dd, parallax / 1000.0, rv)
    # ERFA gives the B1950 motions per tropical year; per Julian year here.
    per_year = 365.25 / 365.242198781
    label = name[:11].encode("latin-1")
    return struct.pack("<5fB11s", math.degrees(r1950) % 360.0, math.degrees(d1950),
                       math.degrees(dr1950) * per_year, math.degrees(dd1950) * per_year, mag * 100.0,
                       len(label), label.ljust(11, b" ")), name


def calc(jd, body, flags):
    xx = Double6()
    err = Error(256)
    swe.swe_calc_ut(jd, body, flags, xx, err)
    return xx[0], xx[1], xx[2]


def star_place(star, jd, flags):
    xx = Double6()
    err = Error(256)
    buf = ctypes.create_string_buffer(star.encode("latin-1"), 256)
    if swe.swe_fixstar2_ut(buf, jd, flags, xx, err) < 0:
        raise RuntimeError(err.value)
    return xx[0], xx[1]


def position_angle(ra_m, dec_m, ra_s, dec_s):
    a = math.radians(ra_s - ra_m)
    dm, ds = math.radians(dec_m), math.radians(dec_s)
    pa = math.degrees(math.atan2(math.cos(ds) * math.sin(a),
                                 math.sin(ds) * math.cos(dm) - math.cos(ds) * math.sin(dm) * math.cos(a)))
    return pa % 360.0


def altitude(jd, lon, lat, h, ra, dec):
    geopos = (ctypes.c_double * 3)(lon, lat, h)
    xin = (ctypes.c_double * 3)(ra, dec, 1.0)
    xaz = (ctypes.c_double * 3)()
    swe.swe_azalt(jd, 1, geopos, 0.0, 0.0, xin, xaz)  # SE_EQU2HOR, no refraction (pressure 0)
    return xaz[1]


def star_events(stars, jd0, jd1):
    rows = []
    for place, lon, lat, h in PLACES:
        swe.swe_set_topo(lon, lat, h)
        geopos = (ctypes.c_double * 3)(lon, lat, h)
        for name, nomenclature in stars:
            jd = jd0
            while True:
                tret, attr = Double10(), Double20()
                err = Error(256)
                buf = ctypes.create_string_buffer(("," + nomenclature).encode("latin-1"), 256)
                # One conjunction per call: the next one lies at least 20
                # days after the start of the call and after this one.
                flag = swe.swe_lun_occult_when_loc(jd, 0, buf, SEFLG_SWIEPH | SE_ECL_ONE_TRY, geopos, tret, attr,
                                                   0, err)
                if flag < 0 or tret[0] > jd1 + 30:
                    break  # the star's next series of occultations lies centuries ahead
                step_from = jd
                jd = max(jd + 20.0, tret[0] + 2.0, tret[4] + 2.0)
                if jd > jd1 + 30:
                    break
                if flag == 0 or tret[1] <= step_from or tret[4] <= 0 or tret[1] > jd1:
                    continue
                t1, t2 = tret[1], tret[4]
                topo = SEFLG_SWIEPH | SEFLG_EQUATORIAL | SEFLG_TOPOCTR
                geo = SEFLG_SWIEPH | SEFLG_EQUATORIAL
                values = []
                for t in (t1, t2):
                    ram, decm, _ = calc(t, SE_MOON, topo)
                    ras, decs = star_place("," + nomenclature, t, topo)
                    rag, decg = star_place("," + nomenclature, t, geo)
                    ra_sun, dec_sun, _ = calc(t, SE_SUN, geo)
                    values += [position_angle(ram, decm, ras, decs), altitude(t, lon, lat, h, rag, decg),
                               altitude(t, lon, lat, h, ra_sun, dec_sun)]
                rows.append((place, name, t1 - 2400000.5, t2 - 2400000.5, *values))
    return rows


def planet_events(jd0, jd1):
    rows = []
    names = {3: "Venus", 4: "Mars", 5: "Jupiter", 6: "Saturn"}
    for place, lon, lat, h in PLACES:
        geopos = (ctypes.c_double * 3)(lon, lat, h)
        for ipl, name in names.items():
            jd = jd0
            while True:
                tret, attr = Double10(), Double20()
                err = Error(256)
                flag = swe.swe_lun_occult_when_loc(jd, ipl, None, SEFLG_SWIEPH | SE_ECL_ONE_TRY, geopos, tret,
                                                   attr, 0, err)
                if flag < 0 or tret[0] > jd1 + 30:
                    break  # the star's next series of occultations lies centuries ahead
                step_from = jd
                jd = max(jd + 20.0, tret[0] + 2.0, tret[4] + 2.0)
                if jd > jd1 + 30:
                    break
                if flag == 0 or tret[1] <= step_from or min(tret[1], tret[2], tret[3], tret[4]) <= 0 or tret[1] > jd1:
                    continue
                d = 0.5 * (tret[1] + tret[2]) - 2400000.5
                r = 0.5 * (tret[3] + tret[4]) - 2400000.5
                ra_p, dec_p, _ = calc(d + 2400000.5, ipl, SEFLG_SWIEPH | SEFLG_EQUATORIAL)
                # The position angles of the planet's centre at both contacts,
                # from the topocentric apparent Moon and planet.
                swe.swe_set_topo(lon, lat, h)
                topo = SEFLG_SWIEPH | SEFLG_EQUATORIAL | SEFLG_TOPOCTR
                angles = []
                for t in (d, r):
                    ram, decm, _ = calc(t + 2400000.5, SE_MOON, topo)
                    rap, decp, _ = calc(t + 2400000.5, ipl, topo)
                    angles.append(position_angle(ram, decm, rap, decp))
                rows.append((place, name, d, r, altitude(d + 2400000.5, lon, lat, h, ra_p, dec_p), *angles))
    return rows


def main():
    stars = read_stars()
    records = []
    names = []
    for star in stars:
        record, name = fk4_record(star)
        records.append(record)
        names.append((name, star[1]))
    with open(os.path.join(FIXTURES, "occultation_stars.dat"), "wb") as f:
        f.write(b"".join(records))
    jd0, jd1 = 2461041.5, 2461771.5  # 2026-01-01 .. 2028-01-01
    with open(os.path.join(FIXTURES, "lunar_occultations_swe.tsv"), "w") as f:
        f.write("# Swiss Ephemeris lunar occultations of fixtures/occultation_stars.dat, Delta T 69 s\n")
        f.write("place\tstar\tmjd1\tmjd2\tpa1\talt1\tsun1\tpa2\talt2\tsun2\n")
        for row in star_events(names, jd0, jd1):
            f.write("%s\t%s\t%.7f\t%.7f\t%.3f\t%.3f\t%.3f\t%.3f\t%.3f\t%.3f\n" % row)
    with open(os.path.join(FIXTURES, "planet_occultations_swe.tsv"), "w") as f:
        f.write("# Swiss Ephemeris occultations of planets' centres by the Moon, Delta T 69 s\n")
        f.write("place\tplanet\tmjd1\tmjd2\talt1\tpa1\tpa2\n")
        for row in planet_events(2458849.5, 2464328.5):  # 2020-01-01 .. 2035-01-01
            f.write("%s\t%s\t%.7f\t%.7f\t%.3f\t%.3f\t%.3f\n" % row)
    print(len(records), "stars")


if __name__ == "__main__":
    main()
