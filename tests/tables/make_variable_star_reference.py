#!/usr/bin/python3
"""Writes fixtures/variable_star_astropy.tsv: the extrema of the five stars of
data/variab.csv in 2024 March/April as seen from 51.191 N 9.301 E, from the
light elements with astropy: the heliocentric instant T = epoch + E*period,
the geocentric instant t = T - heliocentric light-travel time, and the
geometric altitudes (no refraction) of the star and the Sun at t."""
import math
import os

import astropy.units as u
from astropy.coordinates import AltAz, EarthLocation, SkyCoord, get_sun
from astropy.time import Time
from astropy.utils import iers

iers.conf.auto_download = False
iers.conf.auto_max_age = None

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, "..", "..", "data", "variab.csv")
OUT = os.path.join(HERE, "fixtures", "variable_star_astropy.tsv")
START, END = 60370.0, 60430.0  # MJD (UT)
SITE = EarthLocation(lat=51.191 * u.deg, lon=9.301 * u.deg, height=0 * u.m)


def packed(x):
    s = -1 if x < 0 else 1
    x = abs(x)
    d = math.floor(x + 1e-10)
    m = math.floor((x - d) * 100 + 1e-8)
    sec = ((x - d) * 100 - m) * 100
    return s * (d + m / 60 + sec / 3600)


def main():
    rows = []
    for line in open(DATA, encoding="utf-8"):
        if not line.strip() or line.startswith(":"):
            continue
        f = line.strip().split(";")
        name, ra, dec, epoch, period = f[0], f[1], f[2], f[5], f[6]
        ra, dec = packed(float(ra.replace(",", "."))) * 15, packed(float(dec.replace(",", ".")))
        epoch, period = float(epoch.replace(",", ".")) - 2400000.5, float(period.replace(",", "."))
        star = SkyCoord(ra=ra * u.deg, dec=dec * u.deg, frame="fk5", equinox="J2000")
        e = math.trunc((START - epoch) / period) - 1
        while True:
            T = epoch + e * period
            tt = Time(T, format="mjd", scale="utc", location=SITE)
            ltt = tt.light_travel_time(star, kind="heliocentric").to_value(u.day)
            t = T - ltt
            if t > END:
                break
            if t >= START:
                when = Time(t, format="mjd", scale="utc")
                frame = AltAz(obstime=when, location=SITE, pressure=0)
                alt_star = star.transform_to(frame).alt.deg
                alt_sun = get_sun(when).transform_to(frame).alt.deg
                rows.append((name, e, T, t, alt_star, alt_sun))
            e += 1
    with open(OUT, "w") as f:
        f.write("# astropy light_travel_time(kind='heliocentric') and AltAz without refraction\n")
        f.write("star\tcycle\tT\tt\taltStar\taltSun\n")
        for name, e, T, t, a, s in rows:
            f.write(f"{name.replace(' ', '_')}\t{e}\t{T:.8f}\t{t:.8f}\t{a:.5f}\t{s:.5f}\n")


if __name__ == "__main__":
    main()
