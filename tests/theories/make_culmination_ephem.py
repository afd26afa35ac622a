#!/usr/bin/python3
"""Writes fixtures/culmination_ephem.tsv: the upper culmination at Tromsoe
(69.65 N, 18.96 E, sea level) of the Sun, the Moon, Mercury, Venus and two
fixed stars on every day from 1 November 2026 to 28 February 2027, from
PyEphem (python3-ephem), without refraction (pressure 0).

Test-side only; run once with the system python3:
    /usr/bin/python3 tests/theories/make_culmination_ephem.py

A day has a culmination when the body's upper meridian transit (PyEphem's
next_transit after local 0 h) falls inside the local day and the body stands
above its rise/set altitude then, measured as the rise and the set measure
it: the Sun's centre, geocentric, against -50'; the Moon's upper limb seen
from the place (topocentric altitude plus the apparent radius) against -34';
the planets' and the stars' centre, geocentric, against -34'.

Columns: body (0 Sun, 10 Moon, 1 Mercury, 2 Venus, 101 and 102 the stars);
date (YYYY-MM-DD, local, zone 1); jd0, local 0 h as JD (UT); transit, the
upper meridian transit in local hours, -1 when the day has no culmination by
the rule above; margin, the altitude at the transit as the rule measures it
minus the rise/set altitude (degrees; 0 when no transit falls in the day);
geo_alt, 90 - latitude + the geocentric apparent declination at the transit
(degrees: the culmination height seen from the centre of the Earth);
topo_alt, the altitude of the centre seen from the place at the transit
(degrees, no refraction); ra_h and dec, the stars' J2000 place (hours,
degrees; 0 for the bodies of the solar system).
"""
import math
import os

import ephem

DJD = 2415020.0  # PyEphem's day zero (Dublin JD)
LAT, LON, ZONE = 69.65, 18.96, 1
FIRST_DAY = (2026, 11, 1)
DAYS = 120
# Two stars at 17.5 h: one culminating just above -34' (-0.15 degrees), one
# below it (-0.90 degrees).
STARS = [(101, 17.5, -20.5), (102, 17.5, -21.25)]


def body_of(code):
    if code == 0:
        return ephem.Sun()
    if code == 10:
        return ephem.Moon()
    if code == 1:
        return ephem.Mercury()
    if code == 2:
        return ephem.Venus()
    for number, ra_h, dec in STARS:
        if number == code:
            star = ephem.FixedBody()
            star._ra = math.radians(ra_h * 15)
            star._dec = math.radians(dec)
            star._epoch = ephem.J2000
            return star
    raise ValueError(code)


def level_of(code):
    return -50.0 / 60 if code == 0 else -34.0 / 60


def row(code, jd0, date_text):
    observer = ephem.Observer()
    observer.lat = str(LAT)
    observer.lon = str(LON)
    observer.elevation = 0
    observer.pressure = 0
    observer.date = ephem.Date(jd0 - DJD)
    body = body_of(code)
    transit = observer.next_transit(body)
    jd = float(transit) + DJD
    ra_h, dec = 0.0, 0.0
    for number, star_ra, star_dec in STARS:
        if number == code:
            ra_h, dec = star_ra, star_dec
    if jd >= jd0 + 1:
        return "%d\t%s\t%.6f\t-1\t0\t0\t0\t%.4f\t%.4f" % (code, date_text, jd0, ra_h, dec)
    observer.date = transit
    body.compute(observer)
    geo_alt = 90 - LAT + math.degrees(body.g_dec)
    topo_alt = math.degrees(body.alt)
    if code == 10:
        measured = topo_alt + math.degrees(body.radius)
    else:
        measured = geo_alt
    margin = measured - level_of(code)
    hours = (jd - jd0) * 24
    return "%d\t%s\t%.6f\t%.6f\t%.4f\t%.4f\t%.4f\t%.4f\t%.4f" % (
        code, date_text, jd0, hours if margin > 0 else -1, margin, geo_alt, topo_alt, ra_h, dec)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = os.path.join(here, "fixtures", "culmination_ephem.tsv")
    first = ephem.Date("%d/%d/%d" % FIRST_DAY)
    lines = [
        "# PyEphem %s, no refraction. Tromsoe %.2f N %.2f E, zone %d." % (ephem.__version__, LAT, LON, ZONE),
        "# Sun: centre, geocentric, against -50'; Moon: upper limb, topocentric, against -34';"
        " planets and stars: centre, geocentric, against -34'.",
        "body\tdate\tjd0\ttransit\tmargin\tgeo_alt\ttopo_alt\tra_h\tdec",
    ]
    for code in (0, 10, 1, 2, 101, 102):
        for d in range(DAYS):
            day = ephem.Date(first + d)
            y, m, dd = day.triple()
            jd0 = float(day) + DJD - ZONE / 24.0
            lines.append(row(code, jd0, "%04d-%02d-%02d" % (y, m, int(dd))))
    with open(out, "w") as f:
        f.write("\n".join(lines) + "\n")
    print("wrote", out)


if __name__ == "__main__":
    main()
