#!/usr/bin/python3
"""Reference central meridians and central-meridian transits for the
transit search: Mars (feature at 290.5 degrees west) and Jupiter System II
(64 degrees), January 2025, seen from Berlin.

The topocentric direction of the planet comes from the Swiss Ephemeris
(libswe through ctypes, analytic Moshier mode: light time and aberration,
ICRF/J2000 axes, no nutation, swe_set_topo), Delta T fixed at 69 s. The
rotation model is the one the program uses (IAU 1991 poles; Mars
W = 176.868 + 350.891983 d, Jupiter System II W = 43.3 + 870.27 d, d in days
TT from J2000 at the time the light left), so what is compared is the
geometry: the sub-observer longitude of that direction, west longitude.
A transit is the instant the central meridian passes the feature, found by
bisection to 1e-8 day.

Writes fixtures/meridian_transit_swe.tsv: kind "cm" rows (system, jd_ut,
central meridian in degrees) every 0.37 day, and kind "transit" rows
(system, jd_ut, feature longitude).

Run: /usr/bin/python3 tests/tables/make_meridian_transit_swe.py
"""
import ctypes
import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "fixtures", "meridian_transit_swe.tsv")
DELTA_T = 69.0
LON_EAST, LAT, HEIGHT = 13.4, 52.5, 0.0
JD_START, JD_END = 2460676.5 - 1.0 / 24, 2460707.5 - 1.0 / 24  # 2025 Jan 1 .. Feb 1, 0 h CET
LIGHT_DAYS_PER_AU = 0.0057755183

swe = ctypes.CDLL("libswe.so.2")
swe.swe_set_delta_t_userdef.argtypes = [ctypes.c_double]
swe.swe_set_delta_t_userdef(DELTA_T / 86400.0)
swe.swe_set_topo.argtypes = [ctypes.c_double, ctypes.c_double, ctypes.c_double]
swe.swe_set_topo(LON_EAST, LAT, HEIGHT)
swe.swe_calc_ut.argtypes = [ctypes.c_double, ctypes.c_int, ctypes.c_int, ctypes.POINTER(ctypes.c_double),
                            ctypes.c_char_p]
SEFLG_MOSEPH, SEFLG_J2000, SEFLG_NONUT = 4, 32, 64
SEFLG_EQUATORIAL, SEFLG_XYZ, SEFLG_TOPOCTR = 2048, 4096, 32 * 1024
FLAGS = SEFLG_MOSEPH | SEFLG_J2000 | SEFLG_NONUT | SEFLG_EQUATORIAL | SEFLG_XYZ | SEFLG_TOPOCTR
SE_MARS, SE_JUPITER = 4, 5

# system: (swe body, pole ra0(T), dec0(T), W(d), feature longitude)
SYSTEMS = {
    0: (SE_MARS, lambda t: 317.681 - 0.108 * t, lambda t: 52.886 - 0.061 * t, lambda d: 176.868 + 350.891983 * d,
        290.5),
    2: (SE_JUPITER, lambda t: 268.05 - 0.009 * t, lambda t: 64.49 + 0.003 * t, lambda d: 43.3 + 870.27 * d, 64.0),
}


def central_meridian(system, jd_ut):
    body, ra0f, dec0f, wf, _ = SYSTEMS[system]
    xx = (ctypes.c_double * 6)()
    err = ctypes.create_string_buffer(256)
    if swe.swe_calc_ut(jd_ut, body, FLAGS, xx, err) < 0:
        raise RuntimeError(err.value)
    x, y, z = xx[0], xx[1], xx[2]
    r = math.sqrt(x * x + y * y + z * z)
    d = jd_ut + DELTA_T / 86400.0 - LIGHT_DAYS_PER_AU * r - 2451545.0
    t = d / 36525.0
    ra0, dec0, w = math.radians(ra0f(t)), math.radians(dec0f(t)), math.radians(wf(d) % 360.0)
    # Body-fixed axes in ICRF: pole, node of the equator (ra0 + 90 deg on the
    # ICRF equator), and the prime meridian W from that node.
    pole = (math.cos(dec0) * math.cos(ra0), math.cos(dec0) * math.sin(ra0), math.sin(dec0))
    node = (-math.sin(ra0), math.cos(ra0), 0.0)
    third = (pole[1] * node[2] - pole[2] * node[1], pole[2] * node[0] - pole[0] * node[2],
             pole[0] * node[1] - pole[1] * node[0])
    prime = tuple(math.cos(w) * node[i] + math.sin(w) * third[i] for i in range(3))
    east = tuple(pole[(i + 1) % 3] * prime[(i + 2) % 3] - pole[(i + 2) % 3] * prime[(i + 1) % 3] for i in range(3))
    # The observer seen from the planet: -r.
    u = -(x * prime[0] + y * prime[1] + z * prime[2])
    v = -(x * east[0] + y * east[1] + z * east[2])
    east_longitude = math.degrees(math.atan2(v, u))
    return (-east_longitude) % 360.0  # west longitude of a direct rotator


def gap(system, jd_ut):
    """Central meridian minus the feature, in (-180, 180]."""
    g = (central_meridian(system, jd_ut) - SYSTEMS[system][4]) % 360.0
    return g - 360.0 if g > 180.0 else g


def main():
    rows = []
    for system in sorted(SYSTEMS):
        jd = JD_START
        while jd <= JD_END:
            rows.append(("cm", system, jd, central_meridian(system, jd)))
            jd += 0.37
        step = 0.02
        jd = JD_START
        while jd < JD_END:
            a, b = gap(system, jd), gap(system, jd + step)
            if a < 0 <= b and b - a < 90:
                lo, hi = jd, jd + step
                while hi - lo > 1e-8:
                    mid = 0.5 * (lo + hi)
                    if gap(system, mid) < 0:
                        lo = mid
                    else:
                        hi = mid
                if 0.5 * (lo + hi) <= JD_END:
                    rows.append(("transit", system, 0.5 * (lo + hi), SYSTEMS[system][4]))
            jd += step
    with open(OUT, "w") as out:
        out.write("# Swiss Ephemeris (libswe, Moshier mode) topocentric astrometric direction with aberration,\n")
        out.write("# J2000 axes, no nutation; Berlin 13.4 E 52.5 N; Delta T 69 s; IAU 1991 rotation (system 0 Mars,\n")
        out.write("# 2 Jupiter System II). cm: central meridian (deg, west) at jd_ut; transit: jd_ut of the passage\n")
        out.write("# of the feature longitude. Made by make_meridian_transit_swe.py.\n")
        out.write("kind\tsystem\tjd_ut\tvalue\n")
        for kind, system, jd, value in rows:
            out.write(f"{kind}\t{system}\t{jd:.9f}\t{value:.7f}\n")


if __name__ == "__main__":
    main()
