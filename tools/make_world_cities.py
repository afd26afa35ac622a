#!/usr/bin/python3
"""Builds the world city database from the GeoNames cities of Debian's
libgeonames (package libgeonames0; data CC-BY 4.0, GeoNames,
https://www.geonames.org/):

  data/cities.ved    44-byte records: f32 longitude (degrees, EAST NEGATIVE),
                     f32 latitude, length byte + 35 Windows-1252 characters
  data/index.ved     28 lines: first record number of each name group 0..26,
                     then the number one past the last record
  data/cities.zones  one IANA zone name per record, in record order

Names that Windows-1252 cannot hold lose their accents (Unicode
decomposition); names are cut to 35 characters. Records are sorted by the
search's group of the first case-folded byte (non-letters 0, a..z 1..26,
anything beyond z 26) and then by the folded name, so every group is one run
of records.

Usage: tools/make_world_cities.py [output folder]   (default: data/)
"""
import ctypes
import os
import struct
import sys
import unicodedata

NAME_LENGTH = 35


def load_cities():
    lib = ctypes.CDLL("libgeonames.so.0")
    lib.geonames_get_n_cities.restype = ctypes.c_int
    lib.geonames_get_city.restype = ctypes.c_void_p
    lib.geonames_get_city.argtypes = [ctypes.c_int]
    lib.geonames_city_free.argtypes = [ctypes.c_void_p]
    for field, kind in (("name", ctypes.c_char_p), ("timezone", ctypes.c_char_p),
                        ("latitude", ctypes.c_double), ("longitude", ctypes.c_double)):
        getter = getattr(lib, "geonames_city_get_" + field)
        getter.restype = kind
        getter.argtypes = [ctypes.c_void_p]
    cities = []
    for i in range(lib.geonames_get_n_cities()):
        city = lib.geonames_get_city(i)
        cities.append((lib.geonames_city_get_name(city).decode("utf-8"),
                       lib.geonames_city_get_latitude(city),
                       lib.geonames_city_get_longitude(city),
                       (lib.geonames_city_get_timezone(city) or b"").decode("ascii")))
        lib.geonames_city_free(city)
    return cities


def to_cp1252(name):
    try:
        encoded = name.encode("cp1252")
    except UnicodeEncodeError:
        plain = "".join(c for c in unicodedata.normalize("NFKD", name) if not unicodedata.combining(c))
        encoded = plain.encode("cp1252", errors="replace")
    return encoded[:NAME_LENGTH]


def fold_byte(c):
    if 0x41 <= c <= 0x5A or (0xC0 <= c <= 0xDE and c != 0xD7):
        return c + 32
    return {0x8A: 0x9A, 0x8C: 0x9C, 0x8E: 0x9E, 0x9F: 0xFF}.get(c, c)


def group(name):
    g = (fold_byte(name[0]) if name else 0) - ord("a") + 1
    return min(max(g, 0), 26)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "data")
    records = []
    for name, latitude, longitude, zone in load_cities():
        encoded = to_cp1252(name)
        if not encoded:
            continue
        folded = bytes(fold_byte(c) for c in encoded)
        records.append((group(encoded), folded, encoded, -longitude, latitude, zone))
    records.sort()
    starts = [0] * 28
    for g in range(27):
        starts[g] = 1 + sum(1 for r in records if r[0] < g)
    starts[27] = len(records) + 1
    with open(os.path.join(folder, "cities.ved"), "wb") as out:
        for _, _, encoded, longitude, latitude, _ in records:
            out.write(struct.pack("<ffB", longitude, latitude, len(encoded)) + encoded.ljust(NAME_LENGTH, b"\0"))
    with open(os.path.join(folder, "index.ved"), "wb") as out:
        out.write(b"".join(b"%d\r\n" % s for s in starts))
    with open(os.path.join(folder, "cities.zones"), "w", encoding="ascii", newline="\n") as out:
        out.write("".join(r[5] + "\n" for r in records))
    print(f"{len(records)} cities written to {folder}")


if __name__ == "__main__":
    main()
