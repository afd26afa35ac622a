// Reads the separators of the user's locale (LC_NUMERIC, LC_TIME) for
// IntlSeparators. The locale is inspected without changing the process's
// global locale.
#pragma once

#include <string>

#include "platform/globals.h"

namespace kvx {

// The separators of the locale the user's environment selects (LANG,
// LC_ALL, ...). Separators the locale leaves open keep their defaults; the
// list separator is ";" when the decimal separator is ",", else ",".
TIntlSeparators ReadLocaleSeparators();

// The same from the locale's texts: decimal point, thousands separator and
// the strftime date and time formats (for example "%d.%m.%Y" and "%H:%M:%S").
// A separator that is empty or not a single ASCII character keeps its default
// (a non-ASCII thousands separator, such as a narrow no-break space, becomes
// a blank).
TIntlSeparators SeparatorsFromLocaleTexts(const std::string& decimalPoint, const std::string& thousands,
                                          const std::string& dateFormat, const std::string& timeFormat);

}  // namespace kvx
