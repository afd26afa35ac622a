#!/usr/bin/python3
"""Writes the reference fixtures of the table tests (tests/tables/fixtures).

Run with Debian's python3 (python3-ephem, python3-skyfield, python3-sgp4):
    /usr/bin/python3 tests/tables/make_tables_reference.py

moon_phases_ephem.tsv      the instants of the four principal phases of the
                           Moon in sample years, from PyEphem's
                           next_new_moon, next_first_quarter_moon,
                           next_full_moon and next_last_quarter_moon, given
                           in dynamical time (PyEphem's UT plus its own
                           delta_t), so that no Delta T model enters the
                           comparison.
satellites.tle             the near-earth set of tests/theories/fixtures and
                           an older public set of the ISS (2008).
satellite_table.tsv        both sets for one observer over two days around
                           their epochs: elevation, azimuth (from the north),
                           range, sub-point (WGS-84), hour angle of date
                           (python3-skyfield with python3-sgp4, UT1 = UTC),
                           PyEphem's eclipsed flag and the Sun's altitude
                           seen by PyEphem (no refraction).
satellite_visibility.tsv   first visible instants on the 10-second grid of the
                           visibility search: elevation above 0 (skyfield),
                           not eclipsed (PyEphem) and the Sun below the
                           twilight limit (PyEphem, no refraction); for a
                           second pass, the first visible instant after the
                           satellite has set.
"""
import math
import os

import ephem
from skyfield.api import EarthSatellite, load, wgs84

HERE = os.path.dirname(os.path.abspath(__file__))
FIXTURES = os.path.join(HERE, 'fixtures')

# The observer of the satellite fixtures: 51.191 N, 9.301 E, 200 m.
LAT, LON, HEIGHT = 51.191, 9.301, 200.0

SETS = [
    ('NEAR EARTH TEST',
     '1 25544U 98067A   24079.50000000  .00016717  00000-0  29640-3 0  9993',
     '2 25544  51.6416 247.4627 0006703 130.5360 325.0288 15.49815328444445'),
    ('ISS (ZARYA)',
     '1 25544U 98067A   08264.51782528 -.00002182  00000-0 -11606-4 0  2927',
     '2 25544  51.6416 247.4627 0006703 130.5360 325.0288 15.72125391563537'),
]

DJD = 2415020.0  # PyEphem dates count from 1899 December 31, 12h


def write_phases():
    years = [1900, 1901, 1950, 1977, 1999, 2000, 2024, 2025, 2038, 2044, 2099, 2100]
    routines = [ephem.next_new_moon, ephem.next_first_quarter_moon, ephem.next_full_moon,
                ephem.next_last_quarter_moon]
    with open(os.path.join(FIXTURES, 'moon_phases_ephem.tsv'), 'w') as out:
        out.write('# principal phases of the Moon, PyEphem %s, dynamical time (UT + its delta_t)\n'
                  % ephem.__version__)
        out.write('phase\tjde\n')
        for year in years:
            for phase, routine in enumerate(routines):
                d = ephem.Date('%d/12/1' % (year - 1))
                end = ephem.Date('%d/2/1' % (year + 1))
                while True:
                    d = routine(d)
                    if d > end:
                        break
                    jde = float(d) + DJD + ephem.delta_t(d) / 86400.0
                    out.write('%d\t%.7f\n' % (phase, jde))
                    d = ephem.Date(d + 1)


def satellite_tools(name, l1, l2):
    # UT1 = UTC (the propagator's time scale) in the set's year: Delta T =
    # 32.184 s + TAI - UTC (37 s in 2024, 33 s in 2008).
    leap = 37.0 if l1[18:20] == '24' else 33.0
    ts = load.timescale(builtin=True, delta_t=32.184 + leap)
    sat = EarthSatellite(l1, l2, name, ts)
    place = wgs84.latlon(LAT, LON, elevation_m=HEIGHT)
    esat = ephem.readtle(name, l1, l2)
    obs = ephem.Observer()
    obs.lat, obs.lon, obs.elevation = str(LAT), str(LON), HEIGHT
    obs.pressure = 0
    return ts, sat, place, esat, obs


def ephem_sun_and_shadow(esat, obs, jd):
    obs.date = ephem.Date(jd - DJD)
    esat.compute(obs)
    sun = ephem.Sun(obs)
    return int(esat.eclipsed), math.degrees(sun.alt)


def write_sets():
    with open(os.path.join(FIXTURES, 'satellites.tle'), 'w', newline='') as out:
        for name, l1, l2 in SETS:
            out.write('%s\r\n%s\r\n%s\r\n' % (name, l1, l2))


def write_table():
    with open(os.path.join(FIXTURES, 'satellite_table.tsv'), 'w') as out:
        out.write('# satellites from python3-skyfield (UT1 = UTC) and PyEphem %s; observer %.3f N %.3f E %.0f m\n'
                  % (ephem.__version__, LAT, LON, HEIGHT))
        out.write('set\tjd\tel\taz\trange\tsub_lat\tsub_lon\tsub_height\tha\teclipsed\tsun_alt\n')
        for index, (name, l1, l2) in enumerate(SETS):
            ts, sat, place, esat, obs = satellite_tools(name, l1, l2)
            epoch = sat.model.jdsatepoch + sat.model.jdsatepochF
            for k in range(0, 2 * 1440, 11):
                jd = epoch - 1.0 + k / 1440.0
                t = ts.ut1_jd(jd)
                topocentric = (sat - place).at(t)
                alt, az, distance = topocentric.altaz()
                ha, _, _ = topocentric.hadec()
                point = wgs84.geographic_position_of(sat.at(t))
                eclipsed, sun_alt = ephem_sun_and_shadow(esat, obs, jd)
                lon = (point.longitude.degrees + 180.0) % 360.0 - 180.0
                out.write('%d\t%.8f\t%.6f\t%.6f\t%.4f\t%.6f\t%.6f\t%.4f\t%.6f\t%d\t%.5f\n' % (
                    index + 1, jd, alt.degrees, az.degrees, distance.km, point.latitude.degrees, lon,
                    point.elevation.km, (ha.hours * 15.0) % 360.0, eclipsed, sun_alt))


def first_visible(ts, sat, place, esat, obs, start_jd, limit, pass_in_progress):
    """First instant of the 10-s grid from start_jd with the satellite visible."""
    step = 1.0 / 8640.0
    chunk = 8640
    for block in range(10):
        jds = [start_jd + (block * chunk + n) * step for n in range(chunk)]
        alt, _, _ = (sat - place).at(ts.ut1_jd(jds)).altaz()
        for n, jd in enumerate(jds):
            el = alt.degrees[n]
            if el <= 0:
                pass_in_progress = False
                continue
            if pass_in_progress:
                continue
            eclipsed, sun_alt = ephem_sun_and_shadow(esat, obs, jd)
            if not eclipsed and sun_alt < limit:
                return jd
    return -1.0


def write_visibility():
    with open(os.path.join(FIXTURES, 'satellite_visibility.tsv'), 'w') as out:
        out.write('# first visible instants on the 10-s grid: python3-skyfield elevation, PyEphem %s eclipsed '
                  'and Sun altitude; observer %.3f N %.3f E %.0f m\n' % (ephem.__version__, LAT, LON, HEIGHT))
        out.write('set\tstart\tlimit\tfirst\tsecond\n')
        for index, (name, l1, l2) in enumerate(SETS):
            ts, sat, place, esat, obs = satellite_tools(name, l1, l2)
            epoch = sat.model.jdsatepoch + sat.model.jdsatepochF
            for start_offset in (-0.5, 0.25):
                start = epoch + start_offset
                for limit in (90.0, -6.0):
                    first = first_visible(ts, sat, place, esat, obs, start, limit, False)
                    second = -1.0
                    if first > 0:
                        second = first_visible(ts, sat, place, esat, obs, first + 1.0 / 8640.0, limit, True)
                    out.write('%d\t%.8f\t%.1f\t%.8f\t%.8f\n' % (index + 1, start, limit, first, second))


if __name__ == '__main__':
    os.makedirs(FIXTURES, exist_ok=True)
    write_phases()
    write_sets()
    write_table()
    write_visibility()
