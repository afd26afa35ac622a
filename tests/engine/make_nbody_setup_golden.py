#!/usr/bin/env python3
"""Writes fixtures/nbody_setup_default.hex: the 2,616-byte record of the
default n-body set-up, built with struct and a hand-written encoder of the
x87 80-bit extended format (every decimal rounded to the nearest 64-bit
significand, ties to even; a mass as the rounded quotient of 1 and the
rounded reciprocal). Run once; the test compares the codec with it."""
import struct
from fractions import Fraction
from pathlib import Path


def round80(value: Fraction) -> Fraction:
    """Nearest value with a 64-bit significand (normal range only)."""
    if value == 0:
        return Fraction(0)
    sign = -1 if value < 0 else 1
    v = abs(value)
    e = v.numerator.bit_length() - v.denominator.bit_length()
    while Fraction(2) ** e > v:
        e -= 1
    while Fraction(2) ** (e + 1) <= v:
        e += 1
    scaled = v / Fraction(2) ** (e - 63)  # in [2^63, 2^64)
    q, r = divmod(scaled.numerator, scaled.denominator)
    twice = 2 * r
    if twice > scaled.denominator or (twice == scaled.denominator and q & 1):
        q += 1
    if q == 1 << 64:
        q >>= 1
        e += 1
    return sign * Fraction(q) * Fraction(2) ** (e - 63)


def ext(value) -> bytes:
    v = round80(Fraction(value))
    if v == 0:
        return bytes(10)
    sign = 0x8000 if v < 0 else 0
    v = abs(v)
    e = v.numerator.bit_length() - v.denominator.bit_length()
    while Fraction(2) ** e > v:
        e -= 1
    while Fraction(2) ** (e + 1) <= v:
        e += 1
    significand = v / Fraction(2) ** (e - 63)
    assert significand.denominator == 1
    return struct.pack("<QH", significand.numerator, (e + 16383) | sign)


BODIES = [
    ("Sonne", "1", ["0"] * 6),
    ("Merkur", "6023600", ["0.3248448", "-0.1955917", "-0.1381693", "0.01092312", "0.02174481", "0.01048215"]),
    ("Venus", "408523.5", ["-0.2269746", "0.6165027", "0.291714", "-0.01925866", "-0.00637398", "-0.00164858"]),
    ("Erde", "332946.038", ["-0.337021", "-0.8775146", "-0.3804565", "0.01594801", "-0.00531094", "-0.00230191"]),
    ("Mars", "3098710", ["-1.3621457", "-0.7680238", "-0.3154331", "0.00780698", "-0.00970091", "-0.00466058"]),
    ("Jupiter", "1047.35", ["3.3333999", "-3.4995557", "-1.5812856", "0.0056032", "0.0049258", "0.0019749"]),
    ("Saturn", "3498", ["9.1982966", "2.0180565", "0.4378786", "-0.00149457", "0.00500824", "0.00213287"]),
    ("Uranus", "22960", ["11.6698222", "-14.6100108", "-6.5639269", "0.00315516", "0.00197639", "0.00082085"]),
    ("Neptun", "19314", ["14.2936013", "-24.4432349", "-10.3607307", "0.00274899", "0.00142515", "0.000515"]),
    ("Pluto", "130000000", ["-12.6894818", "-26.7818045", "-4.5332013", "0.00292325", "-0.00140938", "-0.00131842"]),
]


def main() -> None:
    states = b""
    masses = b""
    names = b""
    for i in range(14):
        if i < len(BODIES):
            name, reciprocal, state = BODIES[i]
            states += b"".join(ext(Fraction(s)) for s in state)
            masses += ext(Fraction(1) / round80(Fraction(reciprocal)))
        else:
            name = ""
            states += bytes(60)
            masses += bytes(10)
        encoded = name.encode("cp1252")
        names += bytes([len(encoded)]) + encoded + bytes(50 - len(encoded))
    record = (ext(Fraction("2450600.5")) + ext(Fraction("2450600.5")) + ext(Fraction("2451545.0")) + bytes(2) +
              struct.pack("<ii", 10, 4) + ext(Fraction("0.5")) + states + states + masses + names +
              struct.pack("<H", 10) + bytes(2) + struct.pack("<i", 400) + bytes([4]) +
              bytes([0, 1, 1, 0] + [1] * 10) + bytes([0, 1, 1, 1, 0, 1, 1]) + bytes(2))
    assert len(record) == 2616, len(record)
    out = Path(__file__).parent / "fixtures" / "nbody_setup_default.hex"
    out.write_text("".join(record[i:i + 32].hex() + "\n" for i in range(0, len(record), 32)))
    print(f"wrote {out}")


if __name__ == "__main__":
    main()
