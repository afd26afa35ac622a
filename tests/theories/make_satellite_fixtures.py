#!/usr/bin/python3
"""Writes the reference fixtures of the satellite tests.

Run with Debian's python3 (python3-sgp4, python3-skyfield, python3-astropy):
    /usr/bin/python3 tests/theories/make_satellite_fixtures.py

satellite_sets.tle   three made-up element sets (near-earth, Molniya-type,
                     geostationary) with epochs in 2024, in the program's
                     three-line format.
satellite_look.tsv   sub-satellite points (WGS-84), azimuth, elevation,
                     range, range rate and topocentric right ascension and
                     declination (true equator, mean equinox of date: the
                     equation of the equinoxes taken off the apparent
                     right ascension) of those sets for two observers, from
                     python3-skyfield with UT1 = UTC (a fixed Delta T of
                     69.184 s).
satellite_shadow.tsv entry and exit times of the near-earth set into the
                     earth's shadow cone over two days: satellite from
                     python3-sgp4, apparent Sun from python3-astropy turned
                     into the TEME frame, found by bisection to 0.01 s.
sgp4_ver_errors.tsv  the first row of each verification set (SGP4-VER.TLE)
                     at which the reference propagator (python3-sgp4, WGS-72,
                     improved mode: the mode tcppver.out was made with) stops
                     with an error, and its error code.
"""
import os

from sgp4.api import Satrec, WGS72

HERE = os.path.dirname(os.path.abspath(__file__))
FIXTURES = os.path.join(HERE, 'fixtures')


def verification_sets():
    lines = open(os.path.join(FIXTURES, 'SGP4-VER.TLE')).read().splitlines()
    for i, line in enumerate(lines):
        if line.startswith('1 '):
            yield line[:69], lines[i + 1][:69], [float(x) for x in lines[i + 1][69:].split()]


def write_errors():
    seen = {}
    with open(os.path.join(FIXTURES, 'sgp4_ver_errors.tsv'), 'w') as out:
        out.write('# first erroneous row of each verification set, from python3-sgp4 (WGS-72)\n')
        out.write('set\toccurrence\tminutes\terror\n')
        for line1, line2, (start, stop, step) in verification_sets():
            number = int(line2[2:7])
            occurrence = seen.get(number, 0)
            seen[number] = occurrence + 1
            sat = Satrec.twoline2rv(line1, line2, WGS72)
            times = [0.0] if start != 0.0 else []
            t = start
            while t <= stop + 1e-9:
                times.append(t)
                t += step
            for t in times:
                error, _, _ = sat.sgp4_tsince(t)
                if error:
                    out.write('%d\t%d\t%.7f\t%d\n' % (number, occurrence, t, error))
                    break


def checksum(line):
    total = sum(int(c) if c.isdigit() else 1 if c == '-' else 0 for c in line[:68])
    return line[:68] + str(total % 10)


def line1(number, designator, epoch, ndot, bstar):
    return checksum('1 %05dU %-8s %14s %10s  00000-0 %8s 0  999' % (number, designator, epoch, ndot, bstar))


def line2(number, incl, node, ecc, argp, anomaly, motion, revs):
    return checksum('2 %05d %8.4f %8.4f %07d %8.4f %8.4f %11.8f%5d' % (
        number, incl, node, ecc, argp, anomaly, motion, revs))


SETS = [
    ('NEAR EARTH TEST', line1(25544, '98067A', '24079.50000000', ' .00016717', ' 29640-3'),
     line2(25544, 51.6416, 247.4627, 6703, 130.5360, 325.0288, 15.49815328, 44444)),
    ('MOLNIYA TEST', line1(40296, '14071A', '24079.25000000', ' .00000120', ' 10000-3'),
     line2(40296, 63.4, 120.5, 7200000, 270.0, 30.0, 2.00607, 6800)),
    ('GEO TEST', line1(41866, '16071A', '24079.00000000', '-.00000150', ' 00000-0'),
     line2(41866, 0.05, 90.0, 2000, 180.0, 45.0, 1.00271, 2700)),
]

OBSERVERS = [  # name, latitude, east longitude (degrees), height (m)
    ('munich', 48.1375, 11.575, 520.0),
    ('cape_town', -33.92, 18.42, 10.0),
]


def write_sets():
    with open(os.path.join(FIXTURES, 'satellite_sets.tle'), 'w', newline='') as out:
        for name, l1, l2 in SETS:
            out.write('%s\r\n%s\r\n%s\r\n' % (name, l1, l2))


def write_look():
    from skyfield.api import EarthSatellite, load, wgs84
    ts = load.timescale(builtin=True, delta_t=69.184)
    with open(os.path.join(FIXTURES, 'satellite_look.tsv'), 'w') as out:
        out.write('# satellite positions from python3-skyfield %s (UT1 = UTC)\n' % __import__('skyfield').__version__)
        out.write('set\tobserver\tjd\tsub_lat\tsub_lon\tsub_height\taz\tel\trange\trange_rate\tra\tdec\n')
        for index, (name, l1, l2) in enumerate(SETS):
            sat = EarthSatellite(l1, l2, name, ts)
            epoch = sat.model.jdsatepoch + sat.model.jdsatepochF
            step = [7.0, 97.0, 181.0][index] / 1440.0
            for k in range(40):
                jd = epoch - 0.3 + k * step
                t = ts.ut1_jd(jd)
                geocentric = sat.at(t)
                point = wgs84.geographic_position_of(geocentric)
                for oname, lat, lon, height in OBSERVERS:
                    place = wgs84.latlon(lat, lon, elevation_m=height)
                    topocentric = (sat - place).at(t)
                    alt, az, distance = topocentric.altaz()
                    rates = topocentric.frame_latlon_and_rates(place)
                    range_rate = rates[5].km_per_s
                    ra, dec, _ = topocentric.radec(epoch='date')
                    ra_teme = (ra.hours - (t.gast - t.gmst)) * 15.0 % 360.0
                    out.write('%d\t%s\t%.10f\t%.8f\t%.8f\t%.5f\t%.8f\t%.8f\t%.5f\t%.7f\t%.8f\t%.8f\n' % (
                        index + 1, oname, jd, point.latitude.degrees, point.longitude.degrees % 360.0,
                        point.elevation.km, az.degrees, alt.degrees, distance.km, range_rate,
                        ra_teme, dec.degrees))


def write_shadow():
    import numpy as np
    from astropy import units as u
    from astropy.coordinates import TEME, get_sun
    from astropy.time import Time
    from astropy.utils import iers
    iers.conf.auto_download = False
    name, l1, l2 = SETS[0]
    sat = Satrec.twoline2rv(l1, l2, WGS72)
    epoch = sat.jdsatepoch + sat.jdsatepochF

    def sun_teme(jd):
        t = Time(jd, format='jd', scale='utc')
        sun = get_sun(t).transform_to(TEME(obstime=t))
        return sun.cartesian.xyz.to(u.km).value

    def shadow(jd):
        _, r, _ = sat.sgp4(jd, 0.0)
        r = np.array(r)
        s_vec = sun_teme(jd)
        s = -r.dot(s_vec)
        k = s / s_vec.dot(s_vec)
        d = np.sqrt(r.dot(r) - s * s / s_vec.dot(s_vec))
        radius = 6378.135 + 689621.865 * k
        return (k > 0 and d < radius), d - radius

    events = []
    step = 20.0 / 86400.0
    jd = epoch
    inside, _ = shadow(jd)
    while jd < epoch + 2.0:
        nxt = jd + step
        now_inside, _ = shadow(nxt)
        if now_inside != inside:
            lo, hi = jd, nxt
            while (hi - lo) * 86400.0 > 0.01:
                mid = 0.5 * (lo + hi)
                if shadow(mid)[0] == inside:
                    lo = mid
                else:
                    hi = mid
            events.append((0.5 * (lo + hi), 'entry' if now_inside else 'exit'))
            inside = now_inside
        jd = nxt
    with open(os.path.join(FIXTURES, 'satellite_shadow.tsv'), 'w') as out:
        out.write('# shadow-cone entries and exits of set 1 of satellite_sets.tle (python3-sgp4, astropy Sun)\n')
        out.write('jd\tevent\n')
        for jd, kind in events:
            out.write('%.9f\t%s\n' % (jd, kind))


if __name__ == '__main__':
    write_errors()
    write_sets()
    write_look()
    write_shadow()
