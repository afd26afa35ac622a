#!/usr/bin/python3
"""Element-record and observation files for the file viewer's tests, with the
lines expected of them decoded independently here with Python's struct.

Writes fixtures/view_asteroids.opl (three 132-byte records, the second with
a NaN field, then 50 stray bytes), fixtures/view_comets.oko (two 124-byte
records) and fixtures/view_reference.txt: one section per file
("# file <name>") with the expected lines. The observation lines are decoded
from fixtures/mainbelt.obs (156-byte records).

Run from the project root: /usr/bin/python3 tests/orbitdet/make_view_fixtures.py
"""
import math
import pathlib
import struct

here = pathlib.Path(__file__).resolve().parent / "fixtures"


def record(values, name, size):
    raw = name.encode("cp1252")
    body = struct.pack("<%dd" % len(values), *values) + bytes([len(raw)]) + raw.ljust(40, b"\0")
    return body.ljust(size, b"\0")


def g(v):
    return "?" if not math.isfinite(v) else "%.10g" % v


def element_lines(data, size, count):
    lines = []
    for at in range(0, len(data) - size + 1, size):
        values = struct.unpack_from("<%dd" % count, data, at)
        n = data[at + 8 * count]
        name = data[at + 8 * count + 1: at + 8 * count + 1 + min(n, 40)].decode("cp1252")
        lines.append("  ".join([name] + [g(v) for v in values]))
    return lines


asteroids = [
    ([2.7691652, 0.0760091, 10.59407, 80.3055, 73.5977, 77.37209, 0.21408, 2000.0, 2460000.5, 3.34, 0.12], "(1) Ceres"),
    ([2.3614, 0.0887, 7.1422, math.nan, 151.2, 20.86, 0.27163, 2000.0, 2460000.5, 3.2, 0.32], "(4) Vesta"),
    ([1.458, 0.2227, 10.83, 304.3, 178.9, 110.0, 0.5597, 2000.0, 2451545.0, 10.4, 0.46], "(433) Eros ö"),
]
opl = b"".join(record(v, n, 132) for v, n in asteroids) + b"\x01" * 50
(here / "view_asteroids.opl").write_bytes(opl)
comets = [
    ([0.586, 0.9671, 162.26, 58.42, 111.33, 2000.0, 2446470.95, 5.5, 4.0, 2446480.5], "1P/Halley"),
    ([2.5, 1.0, 45.0, 10.0, 20.0, 2000.0, 2460100.25, 8.0, 4.0, 2460100.5], "C/2023 Z9 (Test)"),
]
oko = b"".join(record(v, n, 124) for v, n in comets)
(here / "view_comets.oko").write_bytes(oko)


def sexagesimal(value, decimals, sign, sep):
    scale = 10 ** decimals
    negative = value < 0
    units = round(abs(value) * 3600 * scale)
    whole, rest = divmod(units, 3600 * scale)
    minutes, seconds = divmod(rest, 60 * scale)
    text = "%02d%s%02d%s%0*.*f" % (whole, sep, minutes, sep, decimals + 3, decimals, seconds / scale)
    return (("-" if negative else "+") if sign else "") + text


def unpack(p):
    # hh.mmss with the seconds' fraction, signed, to degrees (or hours).
    s = -1 if p < 0 else 1
    p = abs(p)
    h = math.floor(p)
    m = math.floor((p - h) * 100 + 1e-9)
    sec = ((p - h) * 100 - m) * 100
    return s * (h + m / 60 + sec / 3600)


obs = (here / "mainbelt.obs").read_bytes()
obs_lines = []
for at in range(0, len(obs), 156):
    (_, eq_obs, eq_el, hours, ra, dec, lon, rc, rs, mag) = struct.unpack_from("<i9d", obs, at)
    year, month, day, code = struct.unpack_from("<4i", obs, at + 76)
    fields = ["%02d.%02d.%04d" % (day, month, year), sexagesimal(hours, 1, False, ":"),
              sexagesimal(unpack(ra), 2, False, " "), sexagesimal(unpack(dec), 1, True, " ")]
    fields += [g(v) for v in (mag, lon, rc, rs)]
    fields.append("%03d" % code if 0 < code < 1000 else "")
    obs_lines.append("  ".join(fields))

out = []
for name, lines in (("view_asteroids.opl", element_lines(opl, 132, 11)),
                    ("view_comets.oko", element_lines(oko, 124, 10)), ("mainbelt.obs", obs_lines)):
    out.append("# file " + name)
    out.extend(lines)
(here / "view_reference.txt").write_text("\n".join(out) + "\n", encoding="utf-8")
print("wrote", len(out), "lines")
