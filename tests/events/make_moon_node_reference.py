#!/usr/bin/python3
# Reference times of the Moon's node passages 1990-2030 from PyEphem: the
# zeros of the Moon's geocentric ecliptic latitude (ecliptic and equinox of
# date), found by bisection. Written as JD (TT) with 1 for an ascending and
# 0 for a descending passage.
# Run once: /usr/bin/python3 make_moon_node_reference.py > fixtures/moon_nodes_ephem.tsv
import ephem

def latitude(d):
    m = ephem.Moon(ephem.Date(d))
    return float(ephem.Ecliptic(m, epoch=ephem.Date(d)).lat)

DUBLIN_TO_JD = 2415020.0
start, end = ephem.Date('1990/1/1'), ephem.Date('2030/12/31')
step = 0.25
print("jd_tt\tascending")
d = float(start)
prev = latitude(d)
while d < float(end):
    nxt = latitude(d + step)
    if (prev < 0) != (nxt < 0):
        a, b, fa = d, d + step, prev
        for _ in range(60):
            m = 0.5 * (a + b)
            fm = latitude(m)
            if (fa < 0) == (fm < 0):
                a, fa = m, fm
            else:
                b = m
        t = 0.5 * (a + b)
        tt = t + ephem.delta_t(ephem.Date(t)) / 86400.0
        print("%.6f\t%d" % (tt + DUBLIN_TO_JD, 1 if prev < 0 else 0))
    prev = nxt
    d += step
