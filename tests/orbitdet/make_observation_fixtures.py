#!/usr/bin/python3
"""Reference observations of made-up orbits for the orbit-determination tests.

Earth from ERFA's epv00 (heliocentric, equatorial J2000), the bodies on
two-body orbits from an independent Kepler solver here, astrometric places
with the light time iterated (no aberration, no light deflection). Writes
fixtures/orbit_reference.csv, fixtures/mainbelt_mpc.txt, fixtures/mainbelt_own.txt,
fixtures/mainbelt.obs, fixtures/stv_1950.stv and fixtures/stv_1950_reference.csv.
Run it with Debian's python3 (python3-erfa); the outputs are committed.
"""
import math
import os
import struct

import erfa

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "fixtures")
K = 0.01720209895
MU = K * K
EPS = math.radians(23.439291)
C_AU_PER_DAY = 173.1446326742403
DELTA_T = 69.2  # seconds; the tests read the TT day from the table

ORBITS = [
    # name, q or a, e, i, node, peri, mean anomaly or perihelion time offset
    ("mainbelt", dict(a=2.7, e=0.1, i=10.0, node=297.0, peri=70.0, M=30.0)),
    ("neo", dict(a=1.3, e=0.4, i=20.0, node=335.0, peri=250.0, M=150.0)),
    ("comet", dict(q=1.2, e=0.95, i=40.0, node=252.0, peri=120.0, dT=-20.0)),
    ("hyperbola", dict(q=1.5, e=1.05, i=60.0, node=13.0, peri=10.0, dT=-30.0)),
    ("nearparabola", dict(q=1.0, e=0.9995, i=25.0, node=201.0, peri=200.0, dT=-40.0)),
    ("retrograde", dict(a=2.5, e=0.2, i=150.0, node=189.0, peri=40.0, M=60.0)),
    ("planar", dict(a=2.2, e=0.15, i=0.0, node=0.0, peri=283.0, M=100.0)),
    ("circular", dict(a=2.5, e=0.0, i=12.0, node=222.0, peri=0.0, M=200.0)),
]

EPOCH = 2461000.5  # TT


def rot_to_equator(v):
    x, y, z = v
    c, s = math.cos(EPS), math.sin(EPS)
    return (x, y * c - z * s, y * s + z * c)


def orbit_plane_to_ecliptic(xp, yp, i, node, peri):
    i, node, peri = map(math.radians, (i, node, peri))
    cO, sO, ci, si, cw, sw = math.cos(node), math.sin(node), math.cos(i), math.sin(i), math.cos(peri), math.sin(peri)
    P = (cO * cw - sO * sw * ci, sO * cw + cO * sw * ci, sw * si)
    Q = (-cO * sw - sO * cw * ci, -sO * sw + cO * cw * ci, cw * si)
    return tuple(xp * P[k] + yp * Q[k] for k in range(3))


def state_at(el, t):
    """Heliocentric equatorial J2000 position and velocity (AU, AU/day) at TT day t."""
    e = el["e"]
    if e < 1:
        a = el["a"] if "a" in el else el["q"] / (1 - e)
        n = math.sqrt(MU / a ** 3)
        if "M" in el:
            M = math.radians(el["M"]) + n * (t - EPOCH)
        else:
            M = n * (t - (EPOCH + el["dT"]))
        M = math.fmod(M, 2 * math.pi)
        E = M if e < 0.8 else math.pi
        for _ in range(100):
            dE = (E - e * math.sin(E) - M) / (1 - e * math.cos(E))
            E -= dE
            if abs(dE) < 1e-15:
                break
        xp, yp = a * (math.cos(E) - e), a * math.sqrt(1 - e * e) * math.sin(E)
        r = a * (1 - e * math.cos(E))
        vxp = -math.sqrt(MU * a) / r * math.sin(E)
        vyp = math.sqrt(MU * a) / r * math.sqrt(1 - e * e) * math.cos(E)
    else:
        a = el["q"] / (e - 1)
        n = math.sqrt(MU / a ** 3)
        M = n * (t - (EPOCH + el["dT"]))
        H = math.asinh(M / e)
        for _ in range(200):
            dH = (e * math.sinh(H) - H - M) / (e * math.cosh(H) - 1)
            H -= dH
            if abs(dH) < 1e-15:
                break
        xp, yp = a * (e - math.cosh(H)), a * math.sqrt(e * e - 1) * math.sinh(H)
        r = a * (e * math.cosh(H) - 1)
        vxp = -math.sqrt(MU * a) / r * math.sinh(H)
        vyp = math.sqrt(MU * a) / r * math.sqrt(e * e - 1) * math.cosh(H)
    pos = rot_to_equator(orbit_plane_to_ecliptic(xp, yp, el["i"], el["node"], el["peri"]))
    vel = rot_to_equator(orbit_plane_to_ecliptic(vxp, vyp, el["i"], el["node"], el["peri"]))
    return pos, vel


def earth(t):
    pvh, _ = erfa.epv00(t, 0.0)
    return tuple(pvh[0]), tuple(pvh[1])


def place(el, t):
    """Astrometric RA (hours), Dec (degrees) at TT day t, and the Sun seen from the Earth."""
    e_pos, _ = earth(t)
    tau = 0.0
    for _ in range(20):
        p, _ = state_at(el, t - tau)
        d = tuple(p[k] - e_pos[k] for k in range(3))
        dist = math.sqrt(sum(x * x for x in d))
        new_tau = dist / C_AU_PER_DAY
        if abs(new_tau - tau) < 1e-14:
            tau = new_tau
            break
        tau = new_tau
    p, _ = state_at(el, t - tau)
    d = tuple(p[k] - e_pos[k] for k in range(3))
    dist = math.sqrt(sum(x * x for x in d))
    ra = math.atan2(d[1], d[0]) % (2 * math.pi)
    dec = math.asin(d[2] / dist)
    sun = tuple(-x for x in e_pos)
    return ra * 12 / math.pi, math.degrees(dec), sun


def calendar(jd_ut):
    y, m, d, frac = erfa.jd2cal(jd_ut, 0.0)
    return int(y), int(m), int(d), frac


def mpc_line(desig, jd_ut, ra_h, dec_d, mag, code):
    y, m, d, frac = calendar(jd_ut)
    day = "%09.6f" % (d + frac)
    s = round(ra_h * 3600 * 1000)
    rh, rest = divmod(s, 3600 * 1000)
    rm, rs = divmod(rest, 60 * 1000)
    sign = "-" if dec_d < 0 else "+"
    s = round(abs(dec_d) * 3600 * 100)
    dd, rest = divmod(s, 3600 * 100)
    dm, ds = divmod(rest, 60 * 100)
    line = "%-12s  C%04d %02d %s%02d %02d %06.3f%s%02d %02d %05.2f" % (
        desig, y, m, day, rh, rm, rs / 1000, sign, dd, dm, ds / 100)
    line = line.ljust(65) + ("%4.1f V" % mag).ljust(12) + code
    assert len(line) == 80, line
    return line


def main():
    os.makedirs(OUT, exist_ok=True)
    rows = ["# kind,name,values..."]
    offsets = {
        # Observation sets: name -> days from the epoch.
        "arc10": [-15 + 30 * k / 9 for k in range(10)],
        "arc5": [-10, -5, 0, 5, 10],
        "arc3": [-10, 0, 10],
        "wide3": [-20, 0, 20],
        # Short arcs for Laplace's method.
        "lap3": [-1, 0, 1],
        "lap5": [-2, -1, 0, 1, 2],
        "lap10": [-2.25 + 0.5 * k for k in range(10)],
    }
    for name, el in ORBITS:
        p, v = state_at(el, EPOCH)
        rows.append("orbit,%s,%.17g,%s" % (name, EPOCH, ",".join("%.17g" % x for x in p + v)))
        for set_name, days in offsets.items():
            for dd in days:
                t_tt = EPOCH + dd
                t_ut = t_tt - DELTA_T / 86400
                ra, dec, sun = place(el, t_tt)
                rows.append("obs,%s,%s,%.17g,%.17g,%.17g,%.17g,%s" % (
                    name, set_name, t_ut, t_tt, ra, dec, ",".join("%.17g" % x for x in sun)))
        # Long arcs for the propagation: 5 years either side.
        for dd in (-1826.0, 1826.0, 0.0):
            t_tt = EPOCH + dd
            ra, dec, sun = place(el, t_tt)
            rows.append("prop,%s,%.17g,%.17g,%.17g,%s" % (
                name, t_tt, ra, dec, ",".join("%.17g" % x for x in sun)))
    # Local sidereal angles (degrees) for UT days and longitudes (west
    # positive) from ERFA's Greenwich mean sidereal time of 1982.
    for jd, lon_west in ((2451545.0, 0.0), (2461000.8, -155.4761), (2447892.3, 70.25), (2469807.6, 359.5)):
        theta = (math.degrees(erfa.gmst82(jd, 0.0)) - lon_west) % 360
        rows.append("sidereal,%s,%.17g,%.17g,%.17g" % ("sidereal", jd, lon_west, theta))
    with open(os.path.join(OUT, "orbit_reference.csv"), "w") as f:
        f.write("\n".join(rows) + "\n")

    # The main-belt arc of ten as the three file formats.
    el = dict(ORBITS)["mainbelt"]
    mpc = ["Made-up observations of a main-belt orbit", "Observations:"]
    own = ["varbo observations", " 2000.0", " 2000.0"]
    obs = b""
    for dd in offsets["arc10"]:
        t_tt = EPOCH + dd
        t_ut = t_tt - DELTA_T / 86400
        ra, dec, _ = place(el, t_tt)
        mpc.append(mpc_line("K26X01A", t_ut, ra, dec, 17.3, "500"))
        y, m, d, frac = calendar(t_ut)
        hours = frac * 24
        rs = round(ra * 360000)
        rh, rest = divmod(rs, 360000)
        rm, rsec = divmod(rest, 6000)
        ds = round(abs(dec) * 360000)
        dd_, rest = divmod(ds, 360000)
        dm, dsec = divmod(rest, 6000)
        sgn = -1 if dec < 0 else 1
        own.append("%5d%3d%3d%11.7f%3d%3d%6.2f%4d%3d%6.2f%6.1f%5d%3d%6.2f%4d%3d%6.2f" % (
            y, m, d, hours, rh, rm, rsec / 100, sgn * dd_, dm, dsec / 100, 17.3, 0, 0, 0.0, 0, 0, 0.0))

        def packed(x):
            sg = -1 if x < 0 else 1
            x = abs(x)
            dg = math.floor(x)
            mn = math.floor((x - dg) * 60)
            sc = ((x - dg) * 60 - mn) * 60
            return sg * (dg + mn / 100 + sc / 10000)
        obs += struct.pack("<i9d4i64x", 0, 2000.0, 2000.0, hours, packed(ra), packed(dec), 0.0, 1.0, 0.0, 17.3,
                           y, m, d, 0)
    with open(os.path.join(OUT, "mainbelt_mpc.txt"), "w") as f:
        f.write("\n".join(mpc) + "\n")
    with open(os.path.join(OUT, "mainbelt_own.txt"), "w") as f:
        f.write("\n".join(own) + "\n")
    with open(os.path.join(OUT, "mainbelt.obs"), "wb") as f:
        f.write(obs)

    # A state vector of equinox 1950 and its J2000 twin (IAU 1976 precession).
    p, v = state_at(el, EPOCH)
    P = erfa.pmat76(2433282.5, 0.0)  # J2000 to the mean equator and equinox of 1950.0
    p50 = [sum(P[r][c] * p[c] for c in range(3)) for r in range(3)]
    v50 = [sum(P[r][c] * v[c] / K for c in range(3)) for r in range(3)]
    with open(os.path.join(OUT, "stv_1950.stv"), "w") as f:
        f.write("varbo statevector\n1950\n%.17g\n" % EPOCH)
        for x in p50 + v50:
            f.write("%.17E\n" % x)
    with open(os.path.join(OUT, "stv_1950_reference.csv"), "w") as f:
        f.write(",".join("%.17g" % x for x in list(p) + [x / K for x in v]) + "\n")


if __name__ == "__main__":
    main()
