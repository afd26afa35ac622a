#!/usr/bin/env python3
"""Checks tools/make_delta_t_table.py: Delta T from a small made-up
Earth-orientation series, the refusal of damaged input (the output file
stays as it was), both layouts of the series and of the leap-second table
with a later series over an earlier one, and, where Debian's
python3-astropy is installed, that the committed core/delta_t_observed.inc
is what its data and those of tools/data/ give."""
import datetime
import os
import re
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
CONVERTER = os.path.join(ROOT, "tools", "make_delta_t_table.py")
COMMITTED = os.path.join(ROOT, "core", "delta_t_observed.inc")
ASTROPY_DATA = "/usr/lib/python3/dist-packages/astropy/utils/iers/data"

def date_of(mjd):
    return datetime.date(1858, 11, 17) + datetime.timedelta(days=mjd)


def leap_line(mjd, offset):
    date = date_of(mjd)
    return f"    {mjd:.1f}  {date.day:2d} {date.month:2d} {date.year:4d}       {offset}\n"


# A made-up table: 10 s from 1972 January 1, one more every 400 days up to
# 32 s in 1996, 33 s from 2006 January 1.
LEAP = ("#  File expires on 28 June 2023\n#    MJD        Date        TAI-UTC (s)\n" +
        "".join(leap_line(41317 + 400 * k, 10 + k) for k in range(23)) + leap_line(53736, 33))


def eop_line(mjd, ut1):
    date = date_of(mjd)
    return (f"{date.year:4d}{date.month:4d}{date.day:4d}{mjd:7d}   0.1   0.2 {ut1:11.7f}   0.001"
            "   0 0 0 0 0 0 0 0\n")


def made_up_series():
    # UT1 - UTC falls by 1 ms a day: Delta T = 32.184 + 32 - ut1 rises by 1 ms a day.
    lines = ["heading\n", "\n"]
    for mjd in range(51544, 51544 + 400):
        lines.append(eop_line(mjd, 0.3 - 0.001 * (mjd - 51544)))
    return lines


def table_values(text):
    body = text[text.index("= {"):]
    return [float(v) for v in re.findall(r"-?\d+\.\d+", body)]


class ConverterTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.dir = self.folder.name
        self.leap = self.write("leap.dat", LEAP)
        self.eop = self.write("eop.txt", "".join(made_up_series()))
        self.output = self.write("out.inc", "previous table\n")

    def tearDown(self):
        self.folder.cleanup()

    def write(self, name, text):
        path = os.path.join(self.dir, name)
        with open(path, "w", encoding="ascii") as out:
            out.write(text)
        return path

    def run_converter(self, eop=None, leap=None, output=None):
        return subprocess.run([sys.executable, CONVERTER, "--eop", eop or self.eop, "--leap", leap or self.leap,
                               "--output", output or self.output], capture_output=True, text=True)

    def test_values_of_a_made_up_series(self):
        result = self.run_converter()
        self.assertEqual(result.returncode, 0, result.stderr)
        with open(self.output, encoding="ascii") as source:
            values = table_values(source.read())
        # 2000.0 is MJD 51544.5, 2001.0 is MJD 51909.75.
        self.assertEqual(len(values), 2)
        self.assertAlmostEqual(values[0], 32.184 + 32 - (0.3 - 0.0005), delta=0.0006)
        self.assertAlmostEqual(values[1], 32.184 + 32 - (0.3 - 0.36575), delta=0.0006)

    def test_damaged_input_leaves_the_table_alone(self):
        series = made_up_series()
        damaged = {
            "garbled line": self.write("garbled.txt", "".join(series[:100] + ["2000  4  x  51642 garbage\n"] +
                                                             series[101:])),
            # MJD 51909, the day before 2001.0 (51909.75): a gap elsewhere is allowed.
            "missing day": self.write("gap.txt", "".join(series[:367] + series[368:])),
            "too short": self.write("short.txt", "".join(series[:300])),
            "jump in Delta T": self.write("jump.txt", "".join(series[:100] + [eop_line(51642, 0.9)] +
                                                               series[101:])),
        }
        for what, path in damaged.items():
            result = self.run_converter(eop=path)
            self.assertEqual(result.returncode, 1, what)
            self.assertIn("left unchanged", result.stderr, what)
        bad_leap = self.write("bad_leap.dat", LEAP.replace("2006       33", "2006       35"))
        self.assertEqual(self.run_converter(leap=bad_leap).returncode, 1)
        expired = self.write("expired.dat", LEAP.replace("June 2023", "June 2000"))
        self.assertEqual(self.run_converter(leap=expired).returncode, 1)
        with open(self.output, encoding="ascii") as source:
            self.assertEqual(source.read(), "previous table\n")
        self.assertEqual(sorted(os.listdir(self.dir)),
                         sorted(["leap.dat", "eop.txt", "out.inc", "garbled.txt", "gap.txt", "short.txt", "jump.txt",
                                 "bad_leap.dat", "expired.dat"]))

    def test_newer_layouts_and_a_later_series_over_an_earlier_one(self):
        # The leap seconds in the NTP layout: seconds since 1900, TAI - UTC,
        # the expiry after "#@".
        ntp = "".join(f"{(mjd - 15020) * 86400} {offset}\n" for mjd, offset in
                      [(41317 + 400 * k, 10 + k) for k in range(23)] + [(53736, 33)])
        leap = self.write("leap-seconds.list", f"#@ {(60124 - 15020) * 86400}\n" + ntp)
        # Two days of an EOP 20 C04 series around 2001.0, UT1 - UTC 5 ms below
        # the first series: they replace its days.
        newer = ["# heading\n"]
        for mjd in (51909, 51910):
            date = date_of(mjd)
            ut1 = 0.3 - 0.001 * (mjd - 51544) - 0.005
            newer.append(f"{date.year:4d}{date.month:4d}{date.day:4d}   0{mjd:10.2f}   0.1   0.2 {ut1:11.7f}"
                         + "   0" * 13 + "\n")
        newer_path = self.write("newer.txt", "".join(newer))
        result = subprocess.run([sys.executable, CONVERTER, "--eop", self.eop, "--eop", newer_path, "--leap", leap,
                                 "--output", self.output], capture_output=True, text=True)
        self.assertEqual(result.returncode, 0, result.stderr)
        with open(self.output, encoding="ascii") as source:
            values = table_values(source.read())
        self.assertAlmostEqual(values[0], 32.184 + 32 - (0.3 - 0.0005), delta=0.0006)
        self.assertAlmostEqual(values[1], 32.184 + 32 - (0.3 - 0.36575) + 0.005, delta=0.0006)

    @unittest.skipUnless(os.path.isdir(ASTROPY_DATA), "python3-astropy is not installed")
    def test_committed_table_is_what_the_installed_data_give(self):
        result = subprocess.run([sys.executable, CONVERTER, "--output", self.output], capture_output=True, text=True)
        self.assertEqual(result.returncode, 0, result.stderr)
        with open(self.output, encoding="ascii") as fresh, open(COMMITTED, encoding="ascii") as committed:
            new, old = table_values(fresh.read()), table_values(committed.read())
        self.assertGreaterEqual(len(new), len(old))
        for year, (a, b) in enumerate(zip(new, old), 2000):
            self.assertAlmostEqual(a, b, delta=0.002, msg=str(year))


if __name__ == "__main__":
    unittest.main()
