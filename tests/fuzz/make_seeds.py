#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets into tests/fuzz/seeds/<name>/.

Each seed is a small well-formed input of its reader, so that the fuzzer
starts from the paths that real files take. Run again after changing a
target's input layout; the files are committed.
"""
import math
import os
import struct
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, "..", "..")
SEEDS = os.path.join(HERE, "seeds")
SATELLITES = os.path.join(HERE, "..", "theories", "fixtures", "satellite_sets.tle")


def write(target, name, data):
    folder = os.path.join(SEEDS, target)
    os.makedirs(folder, exist_ok=True)
    if isinstance(data, str):
        data = data.encode("utf-8")
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def real48(value):
    """The six-byte real nearest to value (0 for 0)."""
    if value == 0:
        return bytes(6)
    sign = 0x80 if value < 0 else 0
    m, exponent = math.frexp(abs(value))  # value = m 2^exponent, 0.5 <= m < 1
    fraction = round((m * 2 - 1) * 2 ** 39)
    if fraction == 2 ** 39:
        fraction, exponent = 0, exponent + 1
    out = bytes([exponent + 128]) + fraction.to_bytes(5, "little")
    return out[:5] + bytes([out[5] | sign])


def observer_record(day, month, year, weekday, local_hours, ut_hours, mjd, zone, name, auto_delta_t):
    head = struct.pack("<5i9d", day, month, year, weekday, 0, local_hours, ut_hours, mjd,
                       (mjd - 51544.5) / 36525, 69.0, -13.4, 52.5, 7.75, 0.0)
    head += struct.pack("<i", 0)
    encoded = name.encode("cp1252")
    head += bytes([len(encoded)]) + encoded + bytes(255 - len(encoded))
    head += bytes([auto_delta_t, 1, 0, 0]) + struct.pack("<3i2d", zone, 34, 0, 1013.25, 10.0)
    body = head + bytes(736 - len(head))
    assert len(body) == 736
    return body


def eel_file(name, first, step, count):
    encoded = name.encode("cp1252")[:20]
    header = struct.pack("<2d4i", first, first + step * (count - 1), step, 2000, 334, 12)
    header += bytes([len(encoded)]) + encoded + bytes(20 - len(encoded)) + bytes(3)
    records = b"".join(
        struct.pack("<7fi", 2.7654, 0.0791, 10.5867, 0.2141, 80.3, 73.6, (320.25 + k * step * 0.2141) % 360,
                    int((first + k * step) * 10))
        for k in range(count))
    return header + records


def vsc_file(days):
    out = b""
    for n in days:
        angle = n * 2 * math.pi / 365.25
        values = [n, math.cos(angle), math.sin(angle), 0.0, -0.0172 * math.sin(angle), 0.0172 * math.cos(angle), 0.0]
        out += b"".join(real48(v) for v in values)
    return out


def main():
    with open(SATELLITES, encoding="ascii") as f:
        lines = f.read().splitlines()
    for k in range(0, len(lines) - 2, 3):
        write("tle", "set_%d.tle" % (k // 3), "\r\n".join(lines[k:k + 3]) + "\r\n")
    write("tle", "all_sets.tle", "\n".join(lines) + "\n")

    write("observer_record", "berlin.bin", observer_record(3, 5, 2004, 1, 21.25, 19.25, 53128.80208, 1, "Berlin", 1))
    write("observer_record", "julian_date.bin", observer_record(4, 10, 1582, 4, 12.0, 12.0, -100841.5, 0, "Köln", 0))
    write("observer_record", "two_records.bin",
          observer_record(1, 1, -500, 0, 0.0, 23.0, -904000.0, -12, "", 1) +
          observer_record(31, 12, 2100, 5, 23.99, 22.99, 88068.95, 12, "x" * 255, 0))

    write("eel", "ceres.eel", eel_file("Ceres", 2451000.5, 10, 12))
    write("eel", "single_record.eel", eel_file("Hygiea", 2450000.5, 1, 1))
    write("eel", "partial_record.eel", eel_file("Eros", 2455000.5, 30, 3)[:-7])

    source = (":Name;a;e;i;node;peri;M;n;Equinox;Epoch;H;G\n"
              "Ceres;2,7654;0,0791;10,5867;80,3;73,6;320,25;0,2141;2000;2451000,5;3,34;0,12\n"
              "Ceres;2,7655;0,0790;10,5866;80,3;73,6;322,39;0,2141;2000;2451010,5;3,34;0,12\n"
              "Ceres;2,7656;0,0789;10,5865;80,3;73,6;324,53;0,2141;2000;2451020,5;3,34;0,12\n")
    for wholeFile in (0, 1):
        write("element_list", "ceres_%d.bin" % wholeFile,
              bytes([wholeFile]) + struct.pack("<2d", 2451005.0, 2451015.0) + source.encode())
    write("element_list", "dots.bin", bytes([1]) + struct.pack("<2d", 0, 0) +
          b"h\r\nX;1;0;0;0;0;0;1;1950;2451000.3;15.2;0.29\r\nX;1;0;0;0;0;0;1;1950;2451001.3;15.2;\r\n")

    # Flags, the date as days after the first record's day, that day, then
    # the coordinates of the records (six-byte reals).
    def coordinates(count, fields):
        return b"".join(real48(math.cos(0.0172 * n + f)) for n in range(count) for f in range(fields))
    write("position_files", "vsc_40_days.bin", bytes([0]) + struct.pack("<di", 20.3, 1000) + coordinates(40, 6))
    write("position_files", "vsp_12_days.bin", bytes([0]) + struct.pack("<di", 6.75, 0) + coordinates(12, 27))
    write("position_files", "broken_day.bin", bytes([2 | 4 * 5]) + struct.pack("<di", 3.0, 500) + coordinates(9, 6))
    write("position_files", "raw_file.bin", bytes([1]) + struct.pack("<di", 2.5, 0) + vsc_file(range(0, 30)))
    for k, (flag, x, text) in enumerate([
            (0, 12.3456, "1.2.2000"), (1, -0.3, "29.2.1900"), (2, 23.995, "12:3:56"), (0, 51544.5, " 9.3015"),
            (1, 359.99, "12°34'56''"), (0, 1e20, "1,5"), (3, -4e5, "-1.2345e3"), (0, 2451545.0, "(433) Eros"),
            (1, 0.0, "1.2."), (0, 1e-300, "<b>text</b>")]):
        write("text", "text_%d.bin" % k, bytes([flag]) + struct.pack("<d", x) + text.encode())

    write("text_file", "cp1252.txt", "Köln – Süd\r\nZürich\r\n".encode("cp1252"))
    write("text_file", "utf8_bom.txt", b"\xef\xbb\xbf" + "Köln\nÅ\rend".encode())
    write("text_file", "long_line.txt", b"x" * 300 + b"\n")

    write("two_body", "ellipse.bin", struct.pack("<16d", 123.4, 0.2, 2.7, 0.01, 10, 80, 73, 1, 2, 3,
                                                 1.0, 0.2, 0.1, -0.003, 0.015, 0.001))
    write("two_body", "hyperbola.bin", struct.pack("<16d", -50.0, 1.5, -3.0, -0.2, 5, 40, 200, 4, 5, 6,
                                                   0.5, -1.2, 0.3, 0.02, 0.01, -0.004))
    write("two_body", "near_parabola.bin", struct.pack("<16d", 1e-3, 0.9999, 1.0, 0.001, 0, 0, 0, 0, 0, 0,
                                                       1.0, 0.0, 0.0, 0.0, 0.0243, 0.0))

    for k, (slot, kind, decimals, value) in enumerate([
            (0, 0, 2, 123.456), (10, 1, 4, 359.9999), (20, 3, 6, -12.5), (30, 2, 3, 0.0), (40, 1, 0, 1e12)]):
        write("cell_format", "slot_%d.bin" % k,
              bytes([slot, kind, decimals]) + struct.pack("<id", 20240312, value) + bytes([5, 1]))

    write("binary_records", "zeros.bin", bytes(200))
    write("binary_records", "counting.bin", bytes(range(256)) * 3)

    # Search options: a conjunction record (40 bytes; its first 16 bytes also
    # read as an event record) and the step and repetitions texts.
    conjunction = (bytes([1, 0, 1, 0]) + struct.pack("<di", 12.5, 4321) + bytes([5, 9, 0, 0]) +
                   struct.pack("<idd", 7, 11.5, -2.25))
    write("search_options", "conjunction.bin", conjunction)
    write("search_options", "event.bin", struct.pack("<di", 7.75, 12345) + bytes([4, 10, 0, 0]))
    write("search_options", "texts.bin", b"12,5\x00300")
    write("file_ranges", "stale.bin", struct.pack("<6i", 2, 9, 0, -1, 5, 2) + struct.pack("<i", 4))
    write("file_ranges", "negative.bin", struct.pack("<6i", -3, 7, 7, -5, 0, 0) + struct.pack("<i", 0))

    # Almanac options: a configuration image with bytes other than 0 and 1,
    # and the overview's settings text.
    write("almanac_options", "image.bin", bytes([1, 0, 2, 255] * 9 + [1, 0, 7]))
    write("almanac_options", "today.txt", "1" * 24 + "0101" + "1" + "0000011111")

    # State capture: seven number cells of one row selected (x, y, z AU,
    # vx, vy, vz AU/day, JD), the same as texts with a decimal comma, and an
    # element edit (e := 1) on a main-belt state.
    numbers = b"".join(bytes([0]) + struct.pack("<d", v)
                       for v in (2.1, -1.3, 0.4, 0.004, 0.009, -0.001, 2461000.5))
    write("state_capture", "numbers.bin", bytes([0, 0, 0]) + numbers + bytes([1, 0]))
    texts = b"".join(bytes([1, len(t)]) + t for t in
                     (b"2,1", b" -1,3 ", b"0,4", b"0,004", b"0,009", b"-0,001", b"2461000,5"))
    write("state_capture", "texts.bin", bytes([0, 1, 2]) + texts + bytes([1, 0]))
    write("state_capture", "element_edit.bin", bytes([1]) + struct.pack("<7d", 2.0, 0.5, 0.3, 0.0, 0.7, 0.1,
                                                                         2461000.5) + bytes([1]) +
          struct.pack("<d", 1.0))

    writer_seeds()
    config_seeds()
    field_seeds()


def field_seeds():
    """The element formats' number fields (a byte picking the row of
    kElementLineFormats, a byte the field, then its text): a lone decimal
    mark, a word, blanks, a number with either mark."""
    for name, row, field, text in [("own_e_point", 0, 1, "."), ("homeplanet_h_blank", 1, 0, ""),
                                   ("skymap_h_word", 2, 9, "B1950"), ("mpc_g_blank", 3, 1, ""),
                                   ("astorb_a", 5, 8, "2.5"), ("own_comet_epoch_blank", 6, 9, ""),
                                   ("guide_equinox", 9, 9, "1950.0"), ("mpc_comet_h", 10, 8, "-."),
                                   ("variable_maxmag", 11, 2, "3,5"), ("listing_h_wide", 12, 9, "123456.5")]:
        write("element_fields", name + ".bin", bytes([row, field]) + text.encode())


def writer_seeds():
    """The catalogue writers (a byte picking list and reader, then the file)
    and the editors' store path (editor, entry, typed fields, then the file),
    on the bad inputs of the writers: objects too wide for their columns,
    tiny values, a place whose seconds round to 60."""
    own_asteroids = (":a;e;i;node;per;m;n;equinox;epoch;h;g\r\n"
                     "(90377) Sedna;506.8;0.8496;11.93;144.25;311.35;358.16;0;2000;2460000.5;1.5;0.15\r\n"
                     "Tiny;0.000000004;0.1;10;80;73;188;0;2000;2460000.5;3.3;0.15\r\n"
                     "(1) Ceres;2.77;0.0785;10.59;80.25;73.27;188.7;0.2141;2000;2460000.5;3.3;0.15\r\n")
    own_comets = (":name;q;e;i;node;per; equinox;tm of per.(jd);epoche (jd);h;g\r\n"
                  "C/2014 UN271;10.95;1.0003;95.47;190.0;326.3;2000;2462000.5;8;4;2460000.5\r\n"
                  "1P/Halley;0.586;0.967;162.26;58.42;111.33;12000;2446467.4;5.5;4;2446467.4\r\n"
                  "2P/Encke;0.336;0.848;11.78;186.55;334.57;1950;2457822.5;15.4;4;2457822.5\r\n")
    write("catalogue_writers", "asteroids_own.bin", bytes([0]) + own_asteroids.encode())
    write("catalogue_writers", "asteroids_normalised.bin", bytes([2]) + own_asteroids.encode())
    write("catalogue_writers", "comets_own.bin", bytes([3]) + own_comets.encode())
    mpc = ("0001P         1986 02  9.4589  0.574610  0.967143  111.8657   59.3960  162.1878  19860215   4.0  6.0  "
           "1P/Halley".ljust(157) + "\n")
    write("catalogue_writers", "comets_mpc.bin", bytes([1]) + mpc.encode("cp1252"))
    typed = bytes([3]) + bytes([0, 4]) + b"2,75" + bytes([13, 6]) + b"Renamed" + bytes([1, 3]) + b"0.5"
    write("editor_store", "asteroid_editor.bin", bytes([0, 1]) + typed + (":BAHNELEMENTE PLANETOIDEN VAMUR!\r\n" +
                                                                         own_asteroids.split("\r\n", 1)[1]).encode())
    write("editor_store", "comet_editor.bin", bytes([1, 0]) + typed +
          (":BAHNELEMENTE KOMETEN VAMUR EXT!\r\n" + own_comets.split("\r\n", 1)[1]).encode())
    write("editor_store", "variable_editor.bin", bytes([2, 0]) + typed +
          ":ELEMENTE VARIABLE VAMUR!\r\ndelta Cep;22.2910;58.2456;3.5;4.4;2436075.445;5.366341;2000;c\r\n".encode())
    places = (":ORTDATEI VAMUR!\r\n:Ort;L;B;Z;P\r\nBerlin;-13.2400;52.3100;1;0;10115\r\n"
              "Sternwarte;-13.24596;52.3100;1;0;10115\r\n")
    write("editor_store", "locations.bin", bytes([3, 1, 2, 1, 5]) + b"52,31" + bytes([4, 1]) + b"\x10" + places.encode())


def config_seeds():
    """Configuration files: the program's own encoder writes a valid one and
    one with the planets' occultation options out of range (the fuzz
    target's --write-seeds, from ./fuzz.sh's build); cut and overlong
    copies of the valid one follow."""
    binary = os.path.join(ROOT, "build-fuzz", "bin", "fuzz_config_file")
    if not os.path.exists(binary):
        print("configuration seeds left as they are: build the fuzz targets first", file=sys.stderr)
        return
    folder = os.path.join(SEEDS, "config_file")
    os.makedirs(folder, exist_ok=True)
    subprocess.run([binary, "--write-seeds=" + folder], check=True)
    with open(os.path.join(folder, "start_up.ocf"), "rb") as f:
        valid = f.read()
    write("config_file", "magic_only.ocf", valid[:27])
    write("config_file", "cut_in_the_options.ocf", valid[:30960])
    write("config_file", "one_byte_over.ocf", valid + b"\0")
    write("config_file", "record_without_magic.bin", valid[27:])


if __name__ == "__main__":
    main()
