#!/usr/bin/python3
"""Writes tests/setup/fixtures/zone_offsets.tsv: standard offset (whole hours
within -12..12 and the rest in minutes, same sign) and daylight-saving hours
of a few zones at given instants, from Python's zoneinfo on the system tzdata.

Usage: tests/setup/make_zone_reference.py
"""
import datetime
import os
import zoneinfo

CASES = [
    ("Europe/Berlin", 2024, 1, 15), ("Europe/Berlin", 2024, 7, 15), ("Asia/Kolkata", 2024, 7, 15),
    ("Asia/Kathmandu", 2024, 1, 15), ("America/St_Johns", 2024, 1, 15), ("America/St_Johns", 2024, 7, 15),
    ("Australia/Sydney", 2024, 1, 15), ("Australia/Sydney", 2024, 7, 15), ("America/Phoenix", 2024, 7, 15),
    ("America/New_York", 2024, 7, 15), ("Pacific/Chatham", 2024, 1, 15), ("Pacific/Kiritimati", 2024, 7, 15),
    ("Pacific/Tongatapu", 2024, 1, 15), ("Pacific/Pago_Pago", 2024, 1, 15),
]

EPOCH_MJD = datetime.datetime(1858, 11, 17, tzinfo=datetime.timezone.utc)


def main():
    path = os.path.join(os.path.dirname(__file__), "fixtures", "zone_offsets.tsv")
    with open(path, "w", encoding="ascii", newline="\n") as out:
        out.write("# zoneinfo on the system tzdata; instants at 12h UT\n")
        out.write("zone\tmjd\tzone_hours\tzone_minutes\tdaylight_hours\n")
        for name, year, month, day in CASES:
            instant = datetime.datetime(year, month, day, 12, tzinfo=datetime.timezone.utc)
            local = instant.astimezone(zoneinfo.ZoneInfo(name))
            dst = int(local.dst().total_seconds() // 60)
            standard = int(local.utcoffset().total_seconds() // 60) - dst
            hours = max(-12, min(12, int(standard / 60)))  # truncated toward zero, within -12..12
            minutes = standard - 60 * hours
            mjd = (instant - EPOCH_MJD).total_seconds() / 86400.0
            out.write(f"{name}\t{mjd:.4f}\t{hours}\t{minutes}\t{round(dst / 60)}\n")


if __name__ == "__main__":
    main()
