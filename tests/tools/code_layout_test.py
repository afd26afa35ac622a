#!/usr/bin/env python3
"""Checks the rules of the source tree that the compiler does not: the
folders of the program code are the rows of the README's layout table above
tests/, in the order the top CMakeLists.txt adds them; an include never runs
from a folder to one below it in that table (the build would let it pass,
since each library links everything its dependencies link); plain code never
includes Qt or a window header (those live in a ui/ folder, in platform/qt/
and in app/program/); the main window stands above its command modules
(they reach it through the command host, so only the window's own sources
and the program include the window's header); pi and the degree factors
have one home; and no number conversion of the program code follows the C
library's locale (strtod and its kin, the printf and scanf families with a
floating-point conversion), so that a number reads and writes alike on
every desktop; and a file is written only through the safe write."""
import os
import re
import sys
import unittest

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))


def layout_folders():
    """The folders of the README's layout table, top to bottom."""
    with open(os.path.join(ROOT, "README.md"), encoding="utf-8") as f:
        text = f.read()
    section = text.split("\n## Layout\n", 1)[1].split("\n## ", 1)[0]
    return re.findall(r"^\| `([a-z_]+)/` \|", section, re.M)


def program_folders():
    folders = layout_folders()
    return folders[:folders.index("tests")]


def program_files(folders, endings=(".h", ".cpp", ".inc"), skip=()):
    """The files below `folders` whose names end in one of `endings`, as
    paths from the root; folders named in `skip` are passed over."""
    for folder in folders:
        for base, dirs, names in os.walk(os.path.join(ROOT, folder)):
            dirs[:] = [d for d in dirs if d not in skip]
            for name in sorted(names):
                if name.endswith(endings):
                    yield os.path.relpath(os.path.join(base, name), ROOT)


INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)
WINDOW_CODE = re.compile(r"(^|/)ui/|^platform/qt/|^app/program/")


def includes(path):
    with open(os.path.join(ROOT, path), encoding="utf-8", errors="replace") as f:
        for number, line in enumerate(f, 1):
            m = INCLUDE.match(line)
            if m:
                yield number, m.group(1), m.group(2)


class FolderOrder(unittest.TestCase):
    def test_readme_table_and_cmake_list_the_same_folders_in_the_same_order(self):
        with open(os.path.join(ROOT, "CMakeLists.txt"), encoding="utf-8") as f:
            built = re.search(r"foreach\(dir ([^)]*)\)", f.read()).group(1).split()
        self.assertEqual(program_folders(), built)

    def test_no_include_runs_from_a_folder_to_one_below_it_or_from_plain_code_to_windows(self):
        folders = program_folders()
        rank = {folder: k for k, folder in enumerate(folders)}
        faults = []
        for path in program_files(folders):
            home = path.split("/", 1)[0]
            plain = not WINDOW_CODE.search(path)
            for number, bracket, target in includes(path):
                where = f"{path}:{number}: {target}"
                top = target.split("/", 1)[0]
                if bracket == '"' and top in rank and rank[top] > rank[home]:
                    faults.append(f"{where} (a folder below {home}/ in the layout table)")
                if plain and bracket == "<" and re.match(r"Q[A-Za-z]|qt", target):
                    faults.append(f"{where} (Qt in plain code)")
                if plain and bracket == '"' and WINDOW_CODE.search(target):
                    faults.append(f"{where} (a window header in plain code)")
        self.assertEqual(faults, [])


WINDOW_HEADER = "app/ui/main_window.h"


class WindowAboveItsCommands(unittest.TestCase):
    def test_only_the_windows_own_sources_and_the_program_include_the_window(self):
        faults = []
        for path in program_files(program_folders()):
            if path.startswith(("app/program/", "app/ui/main_window.")):
                continue
            with open(os.path.join(ROOT, path), encoding="utf-8", errors="replace") as f:
                text = without_comments(f.read())
            own = re.search(r"\bTMainForm::\w+\s*\(", text) is not None
            if any(target == WINDOW_HEADER for _, _, target in includes(path)) and not own:
                faults.append(f"{path} includes {WINDOW_HEADER} (take TCommandHost instead)")
            if re.search(r"\bTMainForm\s*[&*]", text) and not own:
                faults.append(f"{path} takes the window (take TCommandHost instead)")
        self.assertEqual(faults, [])


# Where pi and the degree factors are defined: the full-precision values in
# core/angle_constants.h, the truncated ones that published routines print
# in core/tabulated_constants.h.
CONSTANT_HOMES = {"core/angle_constants.h", "core/tabulated_constants.h"}
PRIVATE_CONSTANT = re.compile(
    r"\b(3\.14159|6\.28318|1\.570796|57\.29577|0\.01745329)\d*"  # pi, 2 pi, pi/2 or a degree factor as a number
    r"|\bM_PI"  # the C library's macros
    r"|\bconstexpr\b[^;]*std::numbers::pi"  # a private constant made from pi
    r"|std::numbers::pi(_v<[\w ]+>)?\s*/\s*(180|648000|3600)"  # a degree or arcsecond factor written out
    r"|\b(180|648000|206264)(\.0*)?L?\s*/\s*std::numbers::pi")


def without_comments(text):
    text = re.sub(r"/\*.*?\*/", lambda m: "\n" * m.group(0).count("\n"), text, flags=re.S)
    return re.sub(r"//[^\n]*", "", text)


class ConstantHomes(unittest.TestCase):
    def test_pi_and_the_degree_factors_are_defined_only_in_their_home(self):
        faults = []
        for path in program_files(program_folders()):
            if path in CONSTANT_HOMES:
                continue
            with open(os.path.join(ROOT, path), encoding="utf-8", errors="replace") as f:
                text = without_comments(f.read())
            for number, line in enumerate(text.split("\n"), 1):
                m = PRIVATE_CONSTANT.search(line)
                if m:
                    faults.append(f"{path}:{number}: {m.group(0)}")
        self.assertEqual(faults, [], "use core/angle_constants.h or core/tabulated_constants.h")

    def test_the_check_finds_a_private_constant(self):
        for line in ["constexpr double kRad = 0.017453292519943334;", "x * 180.0 / std::numbers::pi",
                     "static constexpr long double kPiExt = std::numbers::pi_v<long double>;", "M_PI_2",
                     "y * std::numbers::pi / 180.0", "double twoPi = 6.283185307;"]:
            self.assertIsNotNone(PRIVATE_CONSTANT.search(line), line)
        for line in ["return kDegToRad * x;", "std::atan2(y, x) + kPi", "const double a = 57.3;"]:
            self.assertIsNone(PRIVATE_CONSTANT.search(line), line)


# Where a file is opened for writing, created or renamed: only the safe
# write (an exclusive temporary file beside the target, synced, then one
# rename keeping the mode, owner and links). Everything else writes through
# it (WriteFileReplacing, SaveUserFile, TSafeOutputFile).
SAFE_WRITE_HOMES = {"platform/safe_file_write.cpp", "platform/safe_output_file.cpp"}
PLAIN_WRITE = re.compile(
    r"\bfopen\s*\([^;]*?,\s*\"(?!rb?\")[^\"]*\""  # fopen with any mode but reading
    r"|\b(?:std::)?ofstream\b|\bfstream\b"  # streams that write
    r"|\bO_(?:WRONLY|RDWR|CREAT|TRUNC)\b"  # a descriptor opened for writing
    r"|\bcopy_file\b|(?<![\w.])(?:std::|::|fs::|filesystem::)?rename\s*\(")  # a copy or a rename of its own


def plain_writes(text):
    """The (line, text) of each write in C++ `text` that passes by the safe write."""
    return [(number, line.strip()) for number, line in enumerate(without_comments(text).split("\n"), 1)
            if PLAIN_WRITE.search(line) and not INCLUDE.match(line)]


class OneRoadForWrites(unittest.TestCase):
    def test_files_are_written_only_through_the_safe_write(self):
        faults = []
        for path in program_files(program_folders()):
            if path in SAFE_WRITE_HOMES:
                continue
            with open(os.path.join(ROOT, path), encoding="utf-8", errors="replace") as f:
                faults += [f"{path}:{number}: {line}" for number, line in plain_writes(f.read())]
        self.assertEqual(faults, [], "write through platform/safe_file_write.h or platform/safe_output_file.h")

    def test_the_check_finds_a_write_of_its_own(self):
        for code in ['file_ = std::fopen(temporary_.c_str(), "wb");', 'FILE* f = fopen(p, "a");',
                     'std::ofstream out(path, std::ios::binary);', 'int fd = ::open(p, O_WRONLY | O_CREAT, 0644);',
                     'fs::copy_file(source, target);', 'std::rename(a, b);', '::rename(a.c_str(), b.c_str());']:
            self.assertTrue(plain_writes(code), code)
        for code in ['std::FILE* in = std::fopen(path.c_str(), "rb");', 'fopen(name, "r")', 'std::ifstream in(p);',
                     'ReplaceWithTemporary(temporary, path, error);', 'item.Rename(name);', 'SheetRename(x)']:
            self.assertFalse(plain_writes(code), code)


# Conversions that read or write the decimal mark of the C library's
# locale: the readers outright, the printf and scanf families when their
# format has a floating-point conversion.
LOCALE_READER = re.compile(r"(?<![\w.])(?:std::)?(?:atof|strtod|strtof|strtold|stod|stof|stold)\s*\(")
FORMATTED_CALL = re.compile(r"(?<![\w.])(?:std::)?(?:v?s?n?printf|v?fprintf|v?sscanf|v?fscanf|v?scanf)\s*\(")
FLOAT_CONVERSION = re.compile(r"%[-+ #0']*(?:\d+|\*)?(?:\.(?:\d+|\*))?(?:L|l)?[fFeEgGaA]")
STRING_LITERAL = re.compile(r'"(?:[^"\\]|\\.)*"')


def locale_conversions(text):
    """The (line, text) of each conversion in C++ `text` that follows the C
    library's locale."""
    found = []
    lines = without_comments(text).split("\n")
    for index, line in enumerate(lines):
        if LOCALE_READER.search(line):
            found.append((index + 1, line.strip()))
            continue
        if FORMATTED_CALL.search(line):
            # The format stands in the call's first lines.
            call = " ".join(lines[index:index + 3])
            formats = "".join(m.group(0) for m in STRING_LITERAL.finditer(call)).replace("%%", "")
            if FLOAT_CONVERSION.search(formats):
                found.append((index + 1, line.strip()))
    return found


class LocaleFreeNumbers(unittest.TestCase):
    def test_no_number_conversion_follows_the_c_librarys_locale(self):
        faults = []
        for path in program_files(program_folders()):
            with open(os.path.join(ROOT, path), encoding="utf-8", errors="replace") as f:
                faults += [f"{path}:{number}: {line}" for number, line in locale_conversions(f.read())]
        self.assertEqual(faults, [], "use std::from_chars, std::to_chars or core/text_conversion.h "
                                     "(FixedPointText, StrToFloatDot)")

    def test_the_check_finds_a_conversion_that_follows_the_locale(self):
        for code in ['x = std::strtod(t.c_str(), nullptr);', 'double v = atof(s);',
                     'std::snprintf(b, sizeof b, "%.6f", v);', 'snprintf(b, n, "%02d:%7.*Lf", h, d, s);',
                     'std::snprintf(buffer, sizeof buffer,\n    "%g", v);', 'sscanf(text, "%d:%lf", &h, &s);']:
            self.assertTrue(locale_conversions(code), code)
        for code in ['std::snprintf(b, sizeof b, "%02d.%02d.%04d", d, m, y);', 'printf("100%%");',
                     'std::from_chars(a, b, x); // strtod would follow the locale', 'MyStrtod(x);',
                     'sscanf(text, "%d-%d-%d", &y, &m, &d);']:
            self.assertFalse(locale_conversions(code), code)


if __name__ == "__main__":
    sys.exit(unittest.main())
