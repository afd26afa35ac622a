#!/usr/bin/env python3
"""Reference values of the sexagesimal conversions, computed exactly.

Each angle is a decimal text (so its value is an exact fraction); the
expected degrees, minutes and seconds are derived with rational arithmetic,
independently of the binary floating-point route of the program. Values
within 1e-6 s of a rounding boundary are skipped, since there the binary
input itself decides. Writes fixtures/sexagesimal.tsv.

    python3 tests/core/make_sexagesimal_reference.py
"""
from fractions import Fraction
from pathlib import Path
import math
import random

random.seed(20261207)
EPS = Fraction(1, 10**6)  # seconds


def near_boundary(value, unit):
    """True when value (seconds) lies within EPS of a multiple of unit."""
    r = value / unit
    frac = r - math.floor(r)
    return frac * unit < EPS or (1 - frac) * unit < EPS


def split(total, unit):
    """Whole units of `total` seconds -> (d, m, s) with s in multiples of unit."""
    n = math.floor(total / unit)
    s = Fraction(n) * unit
    d = math.floor(s / 3600)
    s -= d * 3600
    m = math.floor(s / 60)
    s -= m * 60
    return d, m, s


def packed(sign, d, m, s):
    return sign * (Fraction(d) + Fraction(m, 100) + s / 10000)


rows = []
while len(rows) < 400:
    text = f"{random.uniform(-400, 400):.9f}"
    x = Fraction(text)
    sign = -1 if x < 0 else 1
    a = abs(x)
    total = a * 3600  # seconds
    # Hundredth of a second, half up with a further guard of 0.000005 s;
    # whole seconds with 0.005 s tolerance upward; whole minutes, half up.
    hundredth_shift = Fraction(1, 200) + Fraction(5, 10**6)
    if near_boundary(total + hundredth_shift, Fraction(1, 100)):
        continue
    if near_boundary(total + Fraction(1, 200), Fraction(1)):
        continue
    if near_boundary(total + 30, Fraction(60)):
        continue
    hundredth = packed(sign, *split(total + hundredth_shift, Fraction(1, 100)))
    whole = packed(sign, *split(total + Fraction(1, 200), Fraction(1)))
    d, m, _ = split(total + 30, Fraction(60))
    minute = packed(sign, d, m, Fraction(0))
    # A packed text D.MMSSss and its exact value in degrees.
    pd, pm, ps = random.randint(0, 359), random.randint(0, 59), random.randint(0, 5999)
    packed_text = f"{pd}.{pm:02d}{ps:04d}"
    packed_degrees = pd + Fraction(pm, 60) + Fraction(ps, 100 * 3600)
    rows.append((text, float(hundredth), float(whole), float(minute), packed_text, float(packed_degrees)))

out = Path(__file__).with_name("fixtures") / "sexagesimal.tsv"
with out.open("w") as f:
    f.write("# exact rational reference of the sexagesimal conversions (make_sexagesimal_reference.py)\n")
    f.write("degrees\thundredth\twhole_seconds\tminutes\tpacked\tpacked_degrees\n")
    for r in rows:
        f.write(f"{r[0]}\t{r[1]:.12f}\t{r[2]:.12f}\t{r[3]:.12f}\t{r[4]}\t{r[5]:.15f}\n")
print(f"wrote {len(rows)} rows to {out}")
