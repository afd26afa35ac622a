#!/usr/bin/env python3
"""Checks that the tests write the layout numbers of the program's tables by
the names the code gives them, not as digits. A literal breaks, or worse,
quietly tests something else, when a row is added: an almanac entry moves up
with every new event kind, a reserved column-flag byte or a free format slot
becomes a used one. Stored-byte goldens and dialog texts stay literal: they
are written with other idioms, which this check leaves alone.

The idioms, each with the names to use instead:
- an event kind or almanac entry as the argument of OfKind (the almanac
  tests' helper) or of a routine that takes the kind first, or as the index
  of EventKindNames: search_code::k..., almanac_entry::k..., kEventKindCount;
- a byte of the column flags (Flags[...]): column_flag::k...; the reserved
  bytes from kUsedColumnFlagCount up to kColumnFlagCount;
- a free format slot (at or above kUsedFormatSlotCount) as the index of the
  column titles, data formats or slots: kUsedFormatSlotCount,
  kColumnTitleCount, FreeFormatSlot;
- a kind or code (not a table kind, whose numbers are stored) compared
  with a number from the last event kind to the last almanac entry:
  kEventKindCount, search_code::kLast."""
import os
import re
import sys
import unittest

from code_layout_test import ROOT, program_files, without_comments


def header_number(path, pattern):
    with open(os.path.join(ROOT, path), encoding="utf-8") as f:
        return int(re.search(pattern, f.read()).group(1))


LAST_EVENT_KIND = header_number("core/event_kinds.h", r"namespace search_code \{[^}]*?\bkLast = (\d+);")
ALMANAC_ENTRIES = header_number("core/event_kinds.h", r"namespace almanac_entry \{[^}]*?\bkCount = (\d+);")
USED_FORMAT_SLOTS = header_number("core/data_format_slots.h", r"\bkUsedFormatSlotCount = (\d+);")

KIND_ROUTINES = r"OfKind|EventKindInfo|RefineEventTime|SearchQuantity|SearchFindsMaximum|DifferenceToSunKind"
# (pattern with the number as group `n`, which numbers it applies to, reason)
RULES = [
    (re.compile(rf"\b(?:{KIND_ROUTINES})\(\s*(?P<n>\d+)"), lambda n: True,
     "an event kind as a number (search_code::k..., almanac_entry::k...)"),
    (re.compile(r"\bEventKindNames\[\s*(?P<n>\d+)"), lambda n: True,
     "an event kind as a number (search_code::k..., almanac_entry::k...)"),
    (re.compile(r"\bFlags\[\s*(?P<n>\d+)"), lambda n: True,
     "a column-flag byte as a number (column_flag::k..., kUsedColumnFlagCount for the reserved ones)"),
    (re.compile(r"\b(?:(?:ColumnTitles|DataFormatKind|DataFormatDecimals|\w*Slots)\[|\w*Slot\()\s*(?P<n>\d+)"),
     lambda n: n >= USED_FORMAT_SLOTS, "a free format slot as a number (kUsedFormatSlotCount, kColumnTitleCount)"),
    (re.compile(r"\b(?!\w*Table)\w*(?:[kK]ind|[cC]ode)\s*(?:<|<=|>|>=|==|!=)\s*(?P<n>\d+)\b"),
     lambda n: LAST_EVENT_KIND <= n <= LAST_EVENT_KIND + ALMANAC_ENTRIES,
     "a bound of the event kinds as a number (kEventKindCount, search_code::kLast)"),
]


def faults_in(text):
    """The layout numbers written as digits in C++ `text`, as (line, what)."""
    faults = []
    for number, line in enumerate(without_comments(text).split("\n"), 1):
        for pattern, applies, reason in RULES:
            for m in pattern.finditer(line):
                if applies(int(m.group("n"))):
                    faults.append((number, f"\"{m.group(0).strip()}\" writes {reason}"))
    return faults


class LayoutNumbers(unittest.TestCase):
    def test_the_tests_name_the_layout_numbers_they_use(self):
        faults = []
        for path in program_files(["tests"], (".cpp", ".h")):
            with open(os.path.join(ROOT, path), encoding="utf-8", errors="replace") as f:
                faults += [f"{path}:{line}: {reason}" for line, reason in faults_in(f.read())]
        self.assertEqual(faults, [], "\n" + "\n".join(faults))

    def test_each_idiom_is_found_and_named_numbers_and_goldens_pass(self):
        first_entry = LAST_EVENT_KIND + 1
        for line in [f"EXPECT_EQ(OfKind({first_entry}).size(), 5u);", "EventKindNames[8]", "config.Flags[5] = 1;",
                     "RefineEventTime(8, observer, selection, result, engine, 3, 51544)",
                     f"record.ColumnTitles[{USED_FORMAT_SLOTS}] = \"x\";", f"FormatAngleForSlot({USED_FORMAT_SLOTS}, a, 1)",
                     f"for (int kind = 0; kind <= {LAST_EVENT_KIND}; ++kind)", f"if (code == {first_entry}) continue;"]:
            self.assertEqual(len(faults_in(line)), 1, line)
        for line in ["OfKind(almanac_entry::kSeasons)", "EventKindNames[search_code::kNode]", "Flags[cf::kJulianDate]",
                     "elements.Setup.OutputFlags[0] = 1;", "image[28] = 255;  // the spare byte",
                     "FormatAngleForSlot(46, az, 1)", "record.ColumnTitles[16]", "for (int kind = 0; kind < 256; ++kind)",
                     "EXPECT_EQ(decoded.EventKind, 8);", "// OfKind(24) in a comment",
                     f"if (state.Table.TableKind == {LAST_EVENT_KIND + 1}) return;"]:
            self.assertEqual(faults_in(line), [], line)


if __name__ == "__main__":
    sys.exit(unittest.main())
