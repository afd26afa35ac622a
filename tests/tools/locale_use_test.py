#!/usr/bin/env python3
"""Checks that the desktop's locale reaches the program only where it
should. Program and file vocabulary (cell references, function names, file
names and extensions, catalogue and star names) is folded by the one ASCII
routine of platform/ascii_case.h: the C library's case functions follow the
locale (a Turkish desktop has no upper case of 'i'), and Qt's case mapping
changes letters beyond ASCII. And the desktop's locale itself (QLocale(), a
QLocale variable or member not made from a named language, QLocale::system(),
std::locale(""), std::locale::global, an imbue other than the classic
locale's, setlocale and newlocale, Qt's "%L" arguments) is read only in the
places named below, which show or read the user's own entries or read the
desktop's settings once: a number written to a file or read from one never
takes the desktop's marks."""
import os
import re
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from code_layout_test import ROOT, program_files, program_folders, without_comments  # noqa: E402

CASE_FUNCTION = re.compile(
    r"(?<![\w.])(?:std::|::)?(?:_?toupper|_?tolower|towupper|towlower|toupper_l|tolower_l|"
    r"strn?casecmp|strcasestr|wcsn?casecmp)\s*\("
    r"|\.(?:toUpper|toLower|toCaseFolded)\s*\(")

DESKTOP_LOCALE = re.compile(
    r"\bQLocale\s*(?:\(\s*\)|\{\s*\})"  # the default QLocale, which is the desktop's
    # A QLocale variable or member, unless what it is made from names its
    # language (QLocale::German, QLocale::c()): declared without one it is the
    # desktop's, and made from anything else it may be.
    r"|(?<![\w:.>])QLocale\s+(?:const\s+)?[A-Za-z_]\w*\s*(?:;|[=({](?![^;]*\bQLocale::(?!system\b)[A-Za-z_]))"
    r"|\bnew\s+QLocale\b(?!\s*[({]\s*QLocale::(?!system\b)[A-Za-z_])"
    r"|\bmake_(?:unique|shared)\s*<\s*QLocale\s*>\s*\(\s*\)"
    r"|\bQLocale::(?:system|setDefault)\s*\("
    r"|\bstd::locale\s*[({]\s*\"\""  # the environment's locale
    r"|\bstd::locale::global\s*\("  # every stream's locale from then on
    r"|\bimbue\s*\((?!\s*std::locale::classic\s*\(\s*\)\s*\))"
    r"|(?<![\w.])(?:std::)?(?:setlocale|newlocale|uselocale)\s*\("
    r"|\"[^\"\n]*%L\d")  # a Qt argument in the default locale's form

# The places that may read the desktop's locale, with what they do with it.
DESKTOP_LOCALE_PLACES = {
    "platform/locale_reader.cpp": "reads the desktop's separators and date order once, and sets the C library's "
                                  "locale at start (numbers in \"C\")",
    "platform/qt/application_start.cpp": "looks at the desktop's digits and decimal mark once at start and, where "
                                         "they are not the cells', gives the windows' boxes a locale it names",
}

# The places that may fold case by other rules than ASCII: none; texts of
# the user's language compare with Qt::CaseInsensitive.
CASE_PLACES = {}


def checked_files():
    return program_files(program_folders() + ["tests", "bench"])


def findings(text, pattern):
    """The (line, text) of each match of `pattern` in C++ `text`, comments
    left out."""
    return [(number, line.strip()) for number, line in enumerate(without_comments(text).split("\n"), 1)
            if pattern.search(line)]


def faults(pattern, places):
    found = []
    for path in checked_files():
        if path in places:
            continue
        with open(os.path.join(ROOT, path), encoding="utf-8", errors="replace") as f:
            found += [f"{path}:{number}: {line}" for number, line in findings(f.read(), pattern)]
    return found


class LocaleUse(unittest.TestCase):
    def test_case_is_folded_by_the_ascii_routine(self):
        self.assertEqual(faults(CASE_FUNCTION, CASE_PLACES), [],
                         "fold with AsciiUpper/AsciiLower (platform/ascii_case.h)")

    def test_the_desktop_locale_is_read_only_in_its_places(self):
        self.assertEqual(faults(DESKTOP_LOCALE, DESKTOP_LOCALE_PLACES), [],
                         "use IntlSeparators, or name the place in DESKTOP_LOCALE_PLACES with its reason")

    def test_the_checks_find_what_they_refuse(self):
        for code in ["c = std::toupper(c);", "x = tolower((unsigned char)c);", "if (strcasecmp(a, b) == 0)",
                     "name.toUpper()", "QString(t).toLower ()", "ext.toCaseFolded()", "::towlower(w)"]:
            self.assertTrue(findings(code, CASE_FUNCTION), code)
        for code in ["AsciiUpper(c)", "// toupper would follow the locale", "MyToupper(x)",
                     "a.compare(b, Qt::CaseInsensitive)"]:
            self.assertFalse(findings(code, CASE_FUNCTION), code)
        for code in ["QLocale().toString(x)", "QLocale{}.toDouble(t)", "QLocale::system().decimalPoint()",
                     "const QLocale desktop;", "QLocale loc;", "static QLocale x = DesktopLocale();",
                     "static const QLocale shown = QLocale::system();", "QLocale locale_{};", "QLocale loc = {};",
                     "QLocale const named(QString::fromStdString(name));", "auto* l = new QLocale;",
                     "auto l = std::make_unique<QLocale>();", "std::locale::global(std::locale(\"de_DE.UTF-8\"));",
                     "std::locale(\"\")", "in.imbue(std::locale(\"de_DE.UTF-8\"));", "setlocale(LC_ALL, \"\");",
                     "QString(\"%L1 km\").arg(x)"]:
            self.assertTrue(findings(code, DESKTOP_LOCALE), code)
        for code in ["in.imbue(std::locale::classic());", "QLocale(QLocale::German)", "QString(\"%1\").arg(x)",
                     "std::locale::classic()", "const QLocale locale(english ? QLocale::English : QLocale::German);",
                     "static const QLocale plain = QLocale::c();", "QLocale::Language language;",
                     "void Show(const QLocale& locale);", "#include <QLocale>", "class QLocale;"]:
            self.assertFalse(findings(code, DESKTOP_LOCALE), code)


if __name__ == "__main__":
    sys.exit(unittest.main())
