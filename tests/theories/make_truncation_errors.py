#!/usr/bin/env python3
"""Largest differences of the truncated theory series from the full ones,
measured densely over 1900-2100, for the accuracy table of the user's guide
("Genauigkeit" / "Accuracy") and the test that guards it
(theory_libraries_test.cpp, TruncationLevelsStayWithinTheirStatedErrors).

The truncation levels of the accuracy dialog ("High" 4, "Medium" 6, "Low" 8,
"Very low" 10) against the full series (-1), through the program's own theory
libraries (a Release build: build-release/lib, or the folder given as the
first argument):
  - the Sun and Mercury..Neptune by VSOP87 D (ecliptic and equinox of date),
    every day from 1900 Jan 1.0 to 2100 Jan 1.0 TT (73,051 instants).
    VSOP87 C is version D in rectangular form, summed term by term from the
    same tables, so its truncated places are the same (the test checks it);
  - the Moon by ELP-2000/82B, every half day over the same span (146,101
    instants).
Per body and level the largest
  - geocentric direction: the angle between the truncated and the full
    geocentric vector, arc seconds (a planet's geocentric vector is its
    heliocentric one plus the Sun's geocentric one, both truncated alike:
    the place the tables show, without light time, which changes nothing
    here);
  - geocentric distance: the difference of the geocentric distances, AU
    (km for the Moon).

Writes fixtures/truncation_errors.tsv: one row per level and body with these
largest differences and the Julian dates (TT) where they occur.

Usage: python3 tests/theories/make_truncation_errors.py [library folder]
(about a minute).
"""
import ctypes
import math
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
LIBS = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "..", "build-release", "lib")

FIRST_JD = 2415020.5  # 1900 Jan 1.0 TT
LAST_JD = 2488069.5   # 2100 Jan 1.0 TT
LEVELS = [4, 6, 8, 10]
ARCSEC = 180.0 / math.pi * 3600.0

D = ctypes.c_double
P = ctypes.POINTER(D)


def entry(library, name, rectangular):
    f = getattr(library, name)
    f.argtypes = [D, P, P, P, P, P, P, D] if rectangular else [D, P, P, P, D]
    f.restype = None
    return f


vsop_d = ctypes.CDLL(os.path.join(LIBS, "libvsop87d.so"))
elp = ctypes.CDLL(os.path.join(LIBS, "libelp2000.so"))

BODIES = [("sun", "vsopsun_l"), ("mercury", "vsopmerkur_hel"), ("venus", "vsopvenus_hel"), ("mars", "vsopmars_hel"),
          ("jupiter", "vsopjupiter_hel"), ("saturn", "vsopsaturn_hel"), ("uranus", "vsopuranus_hel"),
          ("neptune", "vsopneptun_hel")]


def spherical(f):
    L, B, R = D(), D(), D()

    def position(T, level):
        f(T, L, B, R, level)
        l, b = math.radians(L.value), math.radians(B.value)
        return (R.value * math.cos(b) * math.cos(l), R.value * math.cos(b) * math.sin(l), R.value * math.sin(b))
    return position


def moon():
    f = entry(elp, "ELP82B", False)
    X, Y, Z = D(), D(), D()

    def position(jd, level):
        f(jd, X, Y, Z, level)
        return (X.value, Y.value, Z.value)
    return position


def norm(v):
    return math.sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2])


def angle(a, b):
    # Robust for tiny angles: atan2(|a x b|, a . b).
    cross = (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])
    return math.atan2(norm(cross), a[0] * b[0] + a[1] * b[1] + a[2] * b[2])


def largest(worst, key, value, jd):
    if value > worst.get(key, (0.0, 0.0))[0]:
        worst[key] = (value, jd)


def sum3(a, b):
    return (a[0] + b[0], a[1] + b[1], a[2] + b[2])


def measure_planets():
    """{(body, level): {quantity: (largest, jd)}} for the Sun and the planets."""
    sun = spherical(entry(vsop_d, "vsopsun_l", False))
    planets = [(name, spherical(entry(vsop_d, d_name, False))) for name, d_name in BODIES[1:]]
    worst = {(name, level): {} for name, _ in BODIES for level in LEVELS}
    count = int(round(LAST_JD - FIRST_JD))
    for n in range(count + 1):
        jd = FIRST_JD + n
        T = centuries(jd)
        sun_full = sun(T, -1.0)
        sun_cut = {level: sun(T, float(level)) for level in LEVELS}
        for level in LEVELS:
            w = worst[("sun", level)]
            largest(w, "direction", angle(sun_full, sun_cut[level]) * ARCSEC, jd)
            largest(w, "distance", abs(norm(sun_cut[level]) - norm(sun_full)), jd)
        for name, planet in planets:
            full = planet(T, -1.0)
            geo_full = sum3(full, sun_full)
            for level in LEVELS:
                cut = planet(T, float(level))
                geo_cut = sum3(cut, sun_cut[level])
                w = worst[(name, level)]
                largest(w, "direction", angle(geo_full, geo_cut) * ARCSEC, jd)
                largest(w, "distance", abs(norm(geo_cut) - norm(geo_full)), jd)
        if n % 7305 == 0:
            print("%.0f%%" % (100.0 * n / count), file=sys.stderr)
    return worst


def measure_moon():
    position = moon()
    worst = {("moon", level): {} for level in LEVELS}
    count = int(round((LAST_JD - FIRST_JD) * 2))
    for n in range(count + 1):
        jd = FIRST_JD + 0.5 * n
        full = position(jd, -1.0)
        for level in LEVELS:
            cut = position(jd, float(level))
            w = worst[("moon", level)]
            largest(w, "direction", angle(full, cut) * ARCSEC, jd)
            largest(w, "distance", abs(norm(cut) - norm(full)), jd)
    return worst


def centuries(jd):
    return (jd - 2451545.0) / 36525.0


def main():
    worst = measure_planets()
    worst.update(measure_moon())
    out = os.path.join(HERE, "fixtures", "truncation_errors.tsv")
    with open(out, "w") as f:
        f.write("# Generated by tests/theories/make_truncation_errors.py: largest differences of the truncated\n"
                "# series from the full ones, 1900-2100 TT (planets and Sun daily, Moon every half day).\n"
                "# geocentric direction in arc seconds, geocentric distance in AU (km for the Moon); *_jd where.\n")
        f.write("level\tbody\tdirection\tdirection_jd\tdistance\tdistance_jd\n")
        for name in [b[0] for b in BODIES] + ["moon"]:
            for level in LEVELS:
                w = worst[(name, level)]
                f.write("%d\t%s\t%.6g\t%.1f\t%.6g\t%.1f\n" %
                        (level, name, w["direction"][0], w["direction"][1], w["distance"][0], w["distance"][1]))
    print("wrote", out, file=sys.stderr)


main()
