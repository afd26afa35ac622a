#!/usr/bin/python3
"""Writes fixtures/integrated_asteroid_reference.tsv: osculating elements of
Ceres and Vesta at one epoch and their geocentric astrometric J2000 places
every 60 days over five years either side, from the Swiss Ephemeris
(libswe-dev with swe-basic-data, whose asteroid file holds numerically
integrated orbits), called through ctypes.

Only this script needs the Swiss Ephemeris; the tests read the fixture. Run it
from any folder: /usr/bin/python3 tests/engine/make_integration_reference.py

Elements: from the heliocentric state in the mean ecliptic and equinox of
J2000 (SEFLG_HELCTR | SEFLG_XYZ | SEFLG_SPEED | SEFLG_J2000 | SEFLG_TRUEPOS)
with the Gaussian constant squared as the Sun's mass parameter (a massless
body), converted here; swe_get_orbital_elements is printed beside them as a
cross-check. Places: SEFLG_EQUATORIAL | SEFLG_J2000 | SEFLG_NONUT |
SEFLG_NOABERR | SEFLG_NOGDEFL (astrometric J2000) at TT = UT + DELTA_T.
"""
import ctypes
import math
import os

SE_AST_OFFSET = 10000
BODIES = [("Ceres", SE_AST_OFFSET + 1, 3.34, 0.12), ("Vesta", SE_AST_OFFSET + 4, 3.25, 0.32)]
SEFLG_SWIEPH, SEFLG_HELCTR, SEFLG_TRUEPOS, SEFLG_J2000 = 2, 8, 16, 32
SEFLG_NONUT, SEFLG_SPEED, SEFLG_NOGDEFL, SEFLG_NOABERR = 64, 256, 512, 1024
SEFLG_EQUATORIAL, SEFLG_XYZ = 2048, 4096

EPOCH_TT = 2460400.5
DELTA_T = 69.0            # seconds, fixed for every row (the test uses the same)
K2 = 0.01720209895 ** 2   # AU^3/day^2

swe = ctypes.CDLL("libswe.so")
swe.swe_set_ephe_path(b"/usr/share/libswe/ephe")
swe.swe_calc.argtypes = [ctypes.c_double, ctypes.c_int, ctypes.c_int, ctypes.POINTER(ctypes.c_double),
                         ctypes.c_char_p]
swe.swe_get_orbital_elements.argtypes = [ctypes.c_double, ctypes.c_int, ctypes.c_int,
                                         ctypes.POINTER(ctypes.c_double), ctypes.c_char_p]


def calc(jd_tt, body, flags):
    out = (ctypes.c_double * 6)()
    err = ctypes.create_string_buffer(256)
    ret = swe.swe_calc(jd_tt, body, flags | SEFLG_SWIEPH, out, err)
    if ret < 0 or not (ret & SEFLG_SWIEPH):
        raise SystemExit("swe_calc: %s" % err.value.decode())
    return list(out)


def elements(state):
    r = state[:3]
    v = state[3:]
    rn = math.sqrt(sum(c * c for c in r))
    v2 = sum(c * c for c in v)
    h = [r[1] * v[2] - r[2] * v[1], r[2] * v[0] - r[0] * v[2], r[0] * v[1] - r[1] * v[0]]
    hn = math.sqrt(sum(c * c for c in h))
    a = 1.0 / (2.0 / rn - v2 / K2)
    rv = sum(r[i] * v[i] for i in range(3))
    evec = [((v2 - K2 / rn) * r[i] - rv * v[i]) / K2 for i in range(3)]
    e = math.sqrt(sum(c * c for c in evec))
    inc = math.degrees(math.acos(h[2] / hn))
    node = math.degrees(math.atan2(h[0], -h[1])) % 360.0
    nvec = [math.cos(math.radians(node)), math.sin(math.radians(node)), 0.0]
    # argument of perihelion: angle from the node to the perihelion in the plane
    cosw = sum(nvec[i] * evec[i] for i in range(3)) / e
    w = math.degrees(math.acos(max(-1.0, min(1.0, cosw))))
    if evec[2] < 0:
        w = 360.0 - w
    # true and eccentric anomaly, then M
    cosnu = sum(evec[i] * r[i] for i in range(3)) / (e * rn)
    nu = math.acos(max(-1.0, min(1.0, cosnu)))
    if rv < 0:
        nu = 2 * math.pi - nu
    E = 2 * math.atan2(math.sqrt(1 - e) * math.sin(nu / 2), math.sqrt(1 + e) * math.cos(nu / 2))
    M = math.degrees(E - e * math.sin(E)) % 360.0
    return a, e, inc, node, w, M


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    path = os.path.join(here, "fixtures", "integrated_asteroid_reference.tsv")
    lines = ["# Swiss Ephemeris %s; make_integration_reference.py" % "2.10",
             "# elements: heliocentric J2000 ecliptic, epoch JD(TT) %.1f, k^2 = 0.01720209895^2" % EPOCH_TT,
             "# rows: astrometric J2000 RA/Dec (degrees) and distance (AU) at jd_ut, TT = UT + %.1f s" % DELTA_T,
             "name\ta\te\ti\tnode\tperi\tM\tepoch\tH\tG\tjd_ut\tra\tdec\tdelta_au"]
    for name, body, H, G in BODIES:
        state = calc(EPOCH_TT, body, SEFLG_HELCTR | SEFLG_XYZ | SEFLG_SPEED | SEFLG_J2000 | SEFLG_TRUEPOS)
        el = elements(state)
        check = (ctypes.c_double * 50)()
        swe.swe_get_orbital_elements(EPOCH_TT, body, SEFLG_SWIEPH | SEFLG_J2000, check, ctypes.create_string_buffer(256))
        print(name, "elements a e i node peri M:", ["%.9f" % x for x in el])
        print(name, "swe_get_orbital_elements:  ", ["%.9f" % check[k] for k in (0, 1, 2, 3, 4, 6)])
        if abs(check[0] - el[0]) > 1e-5 or abs(check[1] - el[1]) > 1e-5 or abs(check[2] - el[2]) > 1e-4:
            raise SystemExit("elements disagree with swe_get_orbital_elements")
        for k in range(-30, 31):
            jd_ut = EPOCH_TT + 60.0 * k - 0.5  # noon-free instants, not on the epoch
            jd_tt = jd_ut + DELTA_T / 86400.0
            ra, dec, dist = calc(jd_tt, body, SEFLG_EQUATORIAL | SEFLG_J2000 | SEFLG_NONUT | SEFLG_NOABERR |
                                 SEFLG_NOGDEFL)[:3]
            lines.append("%s\t%.12f\t%.12f\t%.10f\t%.10f\t%.10f\t%.10f\t%.1f\t%.2f\t%.2f\t%.5f\t%.9f\t%.9f\t%.10f" %
                         (name, el[0], el[1], el[2], el[3], el[4], el[5], EPOCH_TT, H, G, jd_ut, ra, dec, dist))
    with open(path, "w") as f:
        f.write("\n".join(lines) + "\n")
    print("wrote", path)


if __name__ == "__main__":
    main()
