// The user's locale: its separators (LC_NUMERIC, LC_TIME) for
// IntlSeparators, read without changing the process's global locale, and
// the C library's locale the program runs under.
#pragma once

#include <string>

#include "platform/globals.h"

namespace kvx {

// The separators of the locale the user's environment selects (LANG,
// LC_ALL, ...). Separators the locale leaves open keep their defaults; the
// list separator is ";" when the decimal separator is ",", else ",".
TIntlSeparators ReadLocaleSeparators();

// The same from the locale's texts: decimal point, thousands separator and
// the strftime date and time formats (for example "%d.%m.%Y" and "%H:%M:%S");
// the date format gives the order of day, month and year ("%m/%d/%Y" month
// first, "%Y-%m-%d" year first) and, where it is a numeric short date, the
// date separator; a date format with a month name or with fields parted by
// letters ("%d %b, %Y", the Japanese year, month and day) gives '/'.
// A separator that is empty or not a single ASCII character keeps its default;
// a thousands separator is kept as the ASCII mark that stands for its kind
// (U+2019 an apostrophe; a no-break or narrow no-break space, as French and
// Russian desktops group, a blank), by which typed numbers are grouped with
// the desktop's own mark as well (GroupingMarksOf, platform/number_text.h).
TIntlSeparators SeparatorsFromLocaleTexts(const std::string& decimalPoint, const std::string& thousands,
                                          const std::string& dateFormat, const std::string& timeFormat);

// The locale separators with the defaults ".", ",", "-", ":", "." for any the
// locale leaves empty (a NUL separator, or a blank one other than the
// thousands separator: a blank groups thousands in French, for example).
TIntlSeparators SeparatorsOrDefaults(const TIntlSeparators& fromLocale);

// The separators the program takes at start: ReadLocaleSeparators with the
// defaults for those the locale leaves empty.
TIntlSeparators DesktopSeparators();

// Sets the C library's locale the way the program runs: the user's locale
// for characters, collation, dates and messages (as the Qt application takes
// it on Linux), but the "C" locale for numbers, for the whole run. Every
// number the C library converts, in the program and in the libraries it
// reads and writes workbooks with (strtod, the printf family), then has a
// decimal point and no grouping whatever the desktop: in a German session
// typed "2,5" would otherwise not read, and every workbook written would hold
// "0,25" where other programs need 0.25. The user's separators have their own
// road (IntlSeparators). Called at the start, before other threads run.
void UseDesktopLocaleWithPlainNumbers();

}  // namespace kvx
