#!/usr/bin/python3
"""Writes fixtures/coordinate_erfa.tsv: J2000 positions converted with ERFA
to the mean equator of date and of 1950.0 (T = -0.5, eraPmat76), to the
ecliptic of each (eraObl80) and to the horizon of 51.191 N 9.301 E
(eraGmst82, eraHd2ae; azimuth given from the south)."""
import math
import os

import erfa
import numpy as np

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "fixtures", "coordinate_erfa.tsv")
LAT, LON_EAST = 51.191, 9.301
J2000 = 2451545.0


def pair(v):
    lon, lat = erfa.c2s(v)
    return math.degrees(lon) % 360.0, math.degrees(lat)


def ecliptic(v, t):
    return erfa.rx(erfa.obl80(J2000, t * 36525.0), np.eye(3)) @ v


def main():
    rows = []
    for mjd in (51544.5, 60400.3, 33282.0, 73000.75):
        t = (mjd - 51544.5) / 36525.0  # UT taken as TT
        to_date = erfa.pmat76(J2000, t * 36525.0)  # J2000 -> date
        j2000_to_1950 = erfa.pmat76(J2000, -0.5 * 36525.0)
        for ra, dec in ((10.0, 20.0), (116.328942, 28.026183), (250.0, -60.0), (300.0, 85.0), (45.0, -5.0)):
            v = erfa.s2c(math.radians(ra), math.radians(dec))
            vd = to_date @ v
            v50 = j2000_to_1950 @ v
            ra_d, dec_d = pair(vd)
            ra_50, dec_50 = pair(v50)
            lon_d, lat_d = pair(ecliptic(vd, t))
            lon_j, lat_j = pair(ecliptic(v, 0.0))
            lon_50, lat_50 = pair(ecliptic(v50, -0.5))
            gmst = erfa.gmst82(2400000.5, mjd)
            ha = gmst + math.radians(LON_EAST) - math.radians(ra_d)
            az, alt = erfa.hd2ae(ha, math.radians(dec_d), math.radians(LAT))
            az_s = (math.degrees(az) - 180.0) % 360.0
            rows.append((mjd, ra, dec, ra_d, dec_d, ra_50, dec_50, lon_d, lat_d, lon_j, lat_j, lon_50, lat_50,
                         az_s, math.degrees(alt)))
    names = ("mjd raJ2000 decJ2000 raDate decDate raB1950 decB1950 lonDate latDate lonJ2000 latJ2000 "
             "lonB1950 latB1950 azimuth altitude").split()
    with open(OUT, "w") as f:
        f.write("# ERFA pmat76, obl80, gmst82, hd2ae\n")
        f.write("\t".join(names) + "\n")
        for r in rows:
            f.write("\t".join(f"{x:.10f}" for x in r) + "\n")


if __name__ == "__main__":
    main()
