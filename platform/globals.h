// Process-wide switches of the program: the user-interface language, the
// cancel flag of long computations and the separators of the user's locale.
// They are bytes and characters (the cancel flag an atomic byte) so that
// every computing library can read them without knowing the main window.
#pragma once

#include <atomic>
#include <cstdint>

namespace kvx {

// 0 for German, non-zero for English. Every message, caption and column
// heading is chosen by it.
extern std::uint8_t LanguageEnglish;

// Set by the cancel button of the progress panel; long loops poll it and
// stop when it is non-zero. Whoever starts a long computation clears it.
// Atomic, so that a worker thread may poll it while the window thread sets
// it: read and write it only through the atomic (plain assignment and
// comparison are sequentially consistent stores and loads).
extern std::atomic<std::uint8_t> AbortRequested;

// The order of day, month and year in the desktop's short date
// ("10.12.2026", "12/10/2026", "2026-12-10").
enum class TShortDateOrder : std::uint8_t { DayMonthYear, MonthDayYear, YearMonthDay };

// The separators of the user's locale, read at start-up (ReadLocaleSeparators,
// platform/locale_reader.h), with the order of its short date. The defaults
// hold until the locale is read.
struct TIntlSeparators {
  char Decimal = '.';
  char List = ',';
  char Date = '-';
  char Time = ':';
  char Thousands = '.';
  TShortDateOrder DateOrder = TShortDateOrder::DayMonthYear;
};
extern TIntlSeparators IntlSeparators;

// Picks the German or the English text by LanguageEnglish.
inline const char* ByLanguage(const char* german, const char* english) {
  return LanguageEnglish != 0 ? english : german;
}

}  // namespace kvx
