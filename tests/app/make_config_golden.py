#!/usr/bin/python3
"""Writes fixtures/config_golden.inc: the expected bytes of a configuration
file whose fields hold distinctive values, laid out from the record table by
file offset (independently of the program's code).

Distinctive values, as config_file_test.cpp sets them:
  int32 field at offset o       -> o
  byte field at offset o        -> o % 251 + 1
  single at offset o            -> o + 0.25
  double at offset o            -> o + 0.5
  raw block at offset o, byte i -> (o + i) % 256
  meridian feature name k       -> "Feature <k>"
  the two search option records -> the valid values of search_options() below
  path k (0..11)                -> "/p/k<k>/file<k>.dat"
  column width k                -> 10000 + k
  DataFormatDecimals[k]         -> k % 16, DataFormatKind[k] -> k % 4
Blocks written by their own codecs (observer records, the three element records, table
configuration, step, integration set-up, font) are left out: the test checks
those against the codecs. Reserved and padding bytes of a fresh record are 0.

Run: /usr/bin/python3 tests/app/make_config_golden.py
"""
import fractions
import os
import struct

SIZE = 33379
image = bytearray(SIZE)
known = bytearray(SIZE)  # 1 where the golden bytes are fixed here


def put(offset, data):
    image[offset:offset + len(data)] = data
    for k in range(offset, offset + len(data)):
        known[k] = 1


def i32(o):
    put(o, struct.pack('<i', o))


def u8(o):
    put(o, bytes([o % 251 + 1]))


def f32(o):
    put(o, struct.pack('<f', o + 0.25))


def f64(o):
    put(o, struct.pack('<d', o + 0.5))


def raw(o, n):
    put(o, bytes((o + i) % 256 for i in range(n)))


def zero(o, n):
    put(o, bytes(n))


def short_string(o, text, capacity=255):
    data = text.encode('cp1252')
    put(o, bytes([len(data)]) + data + bytes(capacity - len(data)))


def search_options():
    """The conjunction options (40 bytes at 30867) and the event options (16
    bytes at 30907) with valid values, as config_file_test.cpp sets them."""
    put(30867, bytes([1, 0, 1, 0x5B]) + struct.pack('<di', 12.5, 4321) + bytes([5, 9, 0x12, 0x34]) +
        struct.pack('<idd', 7, 11.5, -2.25))
    put(30907, struct.pack('<di', 7.75, 12345) + bytes([4, 10, 0x56, 0x78]))


# Magic block.
put(0, bytes([24]) + b':Quillox4.5000ConfigFile' + bytes(2))
zero(27, 28)                                   # reserved
paths = [1875, 2131, 2387, 2643, 2899, 3155, 3411, 3667, 3923, 4435, 4691, 4947]
for k, o in enumerate(paths):
    short_string(o, '/p/k%d/file%d.dat' % (k, k))
zero(4179, 256)                                # reserved
i32(27899); i32(27903)
# 30523: tolerance, checked by the test on its own
u8(30533)
raw(30534, 12)                                 # theory selection
zero(30546, 1)
i32(30547); i32(30551); u8(30555); u8(30556); zero(30557, 2)
i32(30559)                                     # meridian features: system,
for k in range(5):                             # longitudes,
    f64(30563 + 8 * k)
for k in range(5):                             # names
    short_string(30603 + 51 * k, 'Feature %d' % k, 50)
zero(30858, 1)
f32(30859); i32(30863)
search_options()
u8(30923); zero(30924, 3)
raw(30927, 20)
for o in range(30947, 30953):
    u8(o)
raw(30953, 9); zero(30962, 1)
f32(30963); u8(30967); u8(30968); zero(30969, 2)
for o in range(30971, 30995, 4):
    i32(o)
u8(30995); zero(30996, 3)
for o in range(30999, 31023, 4):
    i32(o)
for o in range(31023, 31030):
    u8(o)
zero(31030, 1)
f64(31031); i32(31039); i32(31043); zero(31047, 8)
for o in range(31055, 31062):
    u8(o)
zero(31062, 2); zero(31064, 3)
f64(31067); zero(31075, 544)
u8(31619); u8(31620); u8(31621); zero(31622, 1)
for k in range(6):
    f64(31623 + 8 * k)
for k in range(221):
    put(31671 + 4 * k, struct.pack('<i', 10000 + k))
i32(32555); i32(32559); i32(32563); i32(32567); i32(32571)
put(32575, bytes(k % 16 for k in range(221)))
put(32796, bytes(k % 4 for k in range(221)))
zero(33017, 2)
i32(33019); raw(33023, 24); raw(33047, 39); u8(33086)
i32(33087); i32(33091); i32(33095)
put(33099, struct.pack('<I', 33099)); put(33103, struct.pack('<I', 33103))


def extended(value):
    """The 80-bit extended image of a positive rational, rounded to nearest even."""
    v = fractions.Fraction(value)
    e = v.numerator.bit_length() - v.denominator.bit_length()
    while v >= fractions.Fraction(2) ** e * 2:
        e += 1
    while v < fractions.Fraction(2) ** e:
        e -= 1
    m = v / fractions.Fraction(2) ** (e - 63)
    q, r = divmod(m.numerator, m.denominator)
    if 2 * r > m.denominator or (2 * r == m.denominator and q % 2 == 1):
        q += 1
    if q == 1 << 64:
        q >>= 1
        e += 1
    return struct.pack('<QH', q, e + 16383)


tolerances = {
    'One': extended(1),
    'TenToMinusTen': extended(fractions.Fraction(1, 10 ** 10)),
    'SmallestNormal': extended(fractions.Fraction(1, 2 ** 16382)),
}

here = os.path.dirname(os.path.abspath(__file__))
with open(os.path.join(here, 'fixtures', 'config_golden.inc'), 'w') as out:
    out.write('// Generated by make_config_golden.py: do not edit.\n')
    out.write('// Runs of fixed golden bytes: {file offset, bytes as hex}.\n')
    runs = []
    k = 0
    while k < SIZE:
        if not known[k]:
            k += 1
            continue
        start = k
        while k < SIZE and known[k] and k - start < 512:
            k += 1
        runs.append((start, image[start:k].hex()))
    out.write('const GoldenRun kGoldenRuns[] = {\n')
    for start, text in runs:
        out.write('    {%d, "%s"},\n' % (start, text))
    out.write('};\n')
    for name, data in tolerances.items():
        out.write('const char kExtended%s[] = "%s";\n' % (name, data.hex()))
