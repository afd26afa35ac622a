#!/usr/bin/env python3
"""Writes the observed Delta T values since 2000 as the C++ include file
core/delta_t_observed.inc, from IERS Earth-orientation series (UT1 - UTC)
and a table of leap seconds (TAI - UTC).

Usage: make_delta_t_table.py [--eop FILE ...] [--leap FILE] [--output FILE]

Delta T = TT - UT1 = 32.184 s + (TAI - UTC) - (UT1 - UTC). The series give
UT1 - UTC for 0 h UTC of each day; Delta T is formed for each day (it does
not jump at a leap second, as UT1 - UTC and TAI - UTC jump together) and
interpolated linearly to the start of each Julian year 2000.0, 2001.0, ...
(JD 2451545.0 + 365.25 (year - 2000), the year count of DeltaT), up to the
last year start the series cover, so the last entry closes the latest
complete year of the data.

--eop may be given several times: a later series replaces the days it
shares with an earlier one. Both layouts of the IERS C04 series are read,
EOP 14 C04 (year, month, day, MJD, x, y, UT1 - UTC, ...) and EOP 20 C04
(year, month, day, hour, MJD with decimals, x, y, UT1 - UTC, ...). A series
may leave out days (an extract of the days around each year start), but
both days around a year start must be there. The defaults are the EOP 14
C04 series of Debian's python3-astropy (to November 2022) and the extract
of a newer EOP 20 C04 series in tools/data/, with the leap seconds of
tools/data/leap-seconds.list; tools/data/README.md names their origin.

Leap seconds are read from the IERS "Leap_Second.dat" layout (MJD, day,
month, year, TAI - UTC) or from the NTP "leap-seconds.list" layout (seconds
since 1900, TAI - UTC, "#@" expiry). Every line of every file is checked
(dates, MJD, days in order, ranges of the values, Delta T steps between
consecutive days); an input that does not parse, that misses a day a year
start needs, or that ends before 2001, is refused with a message on stderr
and exit status 1, and the output file is left as it was. The output is
written to a temporary file beside it and renamed over it only when
complete.
"""
import argparse
import datetime
import os
import re
import subprocess
import sys
import tempfile

DATA = "/usr/lib/python3/dist-packages/astropy/utils/iers/data"
TOOLS = os.path.dirname(os.path.abspath(__file__))
DEFAULT_EOP = [DATA + "/eopc04_IAU2000.62-now", os.path.join(TOOLS, "data", "eopc04_year_starts.txt")]
DEFAULT_LEAP = os.path.join(TOOLS, "data", "leap-seconds.list")
DEFAULT_OUTPUT = os.path.normpath(os.path.join(TOOLS, "..", "core", "delta_t_observed.inc"))
NTP_EPOCH_MJD = 15020  # 1900 January 1

TT_MINUS_TAI = 32.184
MJD_J2000 = 51544.5  # JD 2451545.0
FIRST_YEAR = 2000


class InputError(Exception):
    pass


def mjd_of_date(year, month, day):
    """MJD of 0 h of a Gregorian date."""
    a = (14 - month) // 12
    y = year + 4800 - a
    m = month + 12 * a - 3
    jdn = day + (153 * m + 2) // 5 + 365 * y + y // 4 - y // 100 + y // 400 - 32045
    return jdn - 2400001


def read_leap_seconds(path):
    """[(mjd, tai_minus_utc)] in increasing order, and the MJD the table
    expires on (None when it does not say)."""
    steps = []
    expiry = None
    with open(path, encoding="ascii") as source:
        for number, line in enumerate(source, 1):
            text = line.strip()
            expires = re.match(r"#\s*File expires on\s+(\d+)\s+(\w+)\s+(\d{4})", text)
            if expires:
                try:
                    date = datetime.datetime.strptime(" ".join(expires.groups()), "%d %B %Y")
                except ValueError:
                    raise InputError(f"{path}:{number}: cannot read the expiry date: {text}")
                expiry = mjd_of_date(date.year, date.month, date.day)
            ntp_expiry = re.match(r"#@\s*(\d+)\s*$", text)
            if ntp_expiry:
                expiry = NTP_EPOCH_MJD + int(ntp_expiry.group(1)) // 86400
            if not text or text.startswith("#"):
                continue
            fields = text.split("#")[0].split()
            try:
                if len(fields) == 2:
                    # leap-seconds.list: NTP seconds of 0 h UTC, TAI - UTC.
                    seconds, offset = (int(f) for f in fields)
                    if seconds % 86400 != 0:
                        raise ValueError("the instant is not 0 h UTC")
                    mjd = float(NTP_EPOCH_MJD + seconds // 86400)
                elif len(fields) == 5:
                    mjd = float(fields[0])
                    day, month, year, offset = (int(f) for f in fields[1:])
                    if mjd != mjd_of_date(year, month, day):
                        raise ValueError("MJD does not match the date")
                else:
                    raise ValueError("expected 5 fields (Leap_Second.dat) or 2 (leap-seconds.list)")
            except ValueError as error:
                raise InputError(f"{path}:{number}: cannot read the leap-second line ({error}): {text}")
            if steps and (mjd <= steps[-1][0] or offset != steps[-1][1] + 1):
                raise InputError(f"{path}:{number}: leap seconds out of order: {text}")
            steps.append((mjd, offset))
    if not steps or steps[0] != (41317.0, 10):
        raise InputError(f"{path}: no leap-second table starting with 10 s on 1972 January 1")
    return steps, expiry


def tai_minus_utc(steps, mjd):
    offset = None
    for start, value in steps:
        if mjd >= start:
            offset = value
    return offset


def read_earth_orientation(path):
    """{mjd: ut1_minus_utc} of the data lines, days in increasing order."""
    days = {}
    last = None
    with open(path, encoding="ascii") as source:
        for number, line in enumerate(source, 1):
            fields = line.split()
            # Data lines start with a four-digit year; everything before the
            # first one is the heading.
            if not days and not (fields and fields[0].isdigit() and len(fields[0]) == 4):
                continue
            if not fields:
                continue
            try:
                if len(fields) == 16:  # EOP 14 C04
                    year, month, day, mjd = (int(f) for f in fields[:4])
                    ut1 = float(fields[6])
                elif len(fields) == 21:  # EOP 20 C04: an hour column, the MJD with decimals
                    year, month, day, hour = (int(f) for f in fields[:4])
                    mjd_value = float(fields[4])
                    if hour != 0 or mjd_value != int(mjd_value):
                        raise ValueError("not a day at 0 h UTC")
                    mjd = int(mjd_value)
                    ut1 = float(fields[7])
                else:
                    raise ValueError("expected the 16 columns of EOP 14 C04 or the 21 of EOP 20 C04")
                if mjd != mjd_of_date(year, month, day):
                    raise ValueError("MJD does not match the date")
                if not abs(ut1) < 1.0 and year >= 1972:
                    raise ValueError("UT1 - UTC outside +-1 s")
            except ValueError as error:
                raise InputError(f"{path}:{number}: cannot read the data line ({error}): {line.strip()}")
            if last is not None and mjd <= last:
                raise InputError(f"{path}:{number}: days out of order at MJD {mjd}")
            days[mjd] = ut1
            last = mjd
    if not days:
        raise InputError(f"{path}: no data lines")
    return days


def merge_series(series):
    """One {mjd: ut1_minus_utc} of several series, later ones first."""
    merged = {}
    for days in series:
        merged.update(days)
    return merged


def observed_years(days, steps):
    """[(year, delta_t)] at the start of each Julian year from 2000 on."""
    if min(days) > MJD_J2000:
        raise InputError(f"the series starts after {FIRST_YEAR}")
    delta_t = {mjd: TT_MINUS_TAI + tai_minus_utc(steps, mjd) - ut1 for mjd, ut1 in days.items() if mjd >= MJD_J2000 - 1}
    # Delta T changes by a few milliseconds a day at most; a larger step is a
    # leap second missing from one file or a damaged value.
    for mjd in sorted(delta_t):
        if mjd + 1 in delta_t and abs(delta_t[mjd + 1] - delta_t[mjd]) > 0.01:
            raise InputError(f"Delta T jumps by {delta_t[mjd + 1] - delta_t[mjd]:.3f} s on MJD {mjd + 1}")
    last = max(delta_t)
    values = []
    year = FIRST_YEAR
    while True:
        mjd = MJD_J2000 + 365.25 * (year - 2000)
        day = int(mjd // 1)
        if day + 1 > last:
            break
        if day not in delta_t or day + 1 not in delta_t:
            raise InputError(f"no data for the days around {year}.0 (MJD {day} and {day + 1})")
        fraction = mjd - day
        values.append((year, delta_t[day] + (delta_t[day + 1] - delta_t[day]) * fraction))
        year += 1
    if len(values) < 2:
        raise InputError("the series ends before 2001")
    return values


def package_version(name):
    try:
        result = subprocess.run(["dpkg-query", "-W", "-f=${Version}", name], capture_output=True, text=True)
        return result.stdout.strip() if result.returncode == 0 and result.stdout.strip() else "unknown"
    except OSError:
        return "unknown"


def render(values, series, eops, leap):
    def date_of(mjd):
        return (datetime.date(1858, 11, 17) + datetime.timedelta(days=mjd)).isoformat()

    lines = [
        "// Generated by tools/make_delta_t_table.py; do not edit, rerun it to renew.",
        "// Sources: IERS EOP C04 series of UT1 - UTC (by their days; a later one",
        "// replaces the days it shares with an earlier one):",
    ]
    for eop, days in zip(eops, series):
        where = "python3-astropy " + package_version("python3-astropy") + " (Debian), " if eop.startswith(DATA) else ""
        lines.append(f"//   {where}{os.path.basename(eop)}, {date_of(min(days))} to {date_of(max(days))};")
    lines += [
        f"// and {os.path.basename(leap)} (TAI - UTC); generated {datetime.date.today().isoformat()}.",
        "// Delta T = 32.184 s + (TAI - UTC) - (UT1 - UTC), seconds, at the start of",
        f"// each Julian year {values[0][0]}.0 ... {values[-1][0]}.0 (JD 2451545.0 + 365.25 (year - 2000)).",
    ]
    lines.append(f"constexpr int kObservedDeltaTFirstYear = {values[0][0]};")
    lines.append(f"constexpr double kObservedDeltaT[{len(values)}] = {{")
    for start in range(0, len(values), 5):
        row = values[start:start + 5]
        lines.append("    " + " ".join(f"{v:.3f}," for _, v in row) + f"  // {row[0][0]}")
    lines.append("};")
    return "\n".join(lines) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--eop", action="append", help="IERS C04 series of UT1 - UTC (repeatable; default: "
                        + " and ".join(DEFAULT_EOP) + ")")
    parser.add_argument("--leap", default=DEFAULT_LEAP, help="table of leap seconds (TAI - UTC)")
    parser.add_argument("--output", default=DEFAULT_OUTPUT, help="the include file to write")
    args = parser.parse_args()
    try:
        eops = args.eop or DEFAULT_EOP
        steps, expiry = read_leap_seconds(args.leap)
        series = [read_earth_orientation(eop) for eop in eops]
        values = observed_years(merge_series(series), steps)
        if expiry is not None and MJD_J2000 + 365.25 * (values[-1][0] - 2000) >= expiry:
            raise InputError(f"{args.leap} expired before the end of the series; renew both files together")
        text = render(values, series, eops, args.leap)
    except (OSError, UnicodeDecodeError, InputError) as error:
        print(f"make_delta_t_table.py: {error}; {args.output} left unchanged", file=sys.stderr)
        return 1
    folder = os.path.dirname(os.path.abspath(args.output))
    handle, temporary = tempfile.mkstemp(dir=folder, prefix=".delta_t_", suffix=".tmp")
    try:
        with os.fdopen(handle, "w", encoding="ascii", newline="\n") as out:
            out.write(text)
        os.replace(temporary, args.output)
    except OSError as error:
        os.unlink(temporary)
        print(f"make_delta_t_table.py: cannot write {args.output}: {error}", file=sys.stderr)
        return 1
    print(f"wrote {args.output}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
