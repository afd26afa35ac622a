// The dates of text files (tab-separated text, comma-separated values):
// which order a file's dates are written in, decided for the whole file
// from what its date fields show (as its decimal mark is, text_numbers.h),
// so that a file's dates read the same on every desktop; the fields read
// by that decision; and a date written in a file's own form.
//
// A date field is a date alone or a date, a blank and a time of day
// ("14:30", "14:30:15", "14:30:15.25"), the date in one of two shapes with
// '/', '.' or '-' between its numbers (the same mark twice):
// - year first: a four-digit year, the month, the day ("2026-12-11",
//   "2026/12/11", "2026.12.11"): the same on every desktop;
// - year last: two numbers of one or two digits, then a four-digit year
//   ("11/12/2026", "11.12.2026", "12-11-2026"), or a two-digit year where
//   the mark is the session's date separator ("11.12.26" on a desktop
//   writing dates with points). Which of the two numbers is the day is the
//   file's to say: a first number above 12 settles the day first, a second
//   one above 12 the month first.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/globals.h"
#include "platform/workbook/number_format.h"

namespace kvx::workbook {

// A field written like a date: its numbers as they stand.
struct TDateField {
  bool YearFirst = false;
  char Separator = '/';
  int First = 0, Second = 0;  // year first: month and day; year last: the two numbers before the year
  int Year = 0;               // a two-digit year read as typed: below 30 this century, else the last
  bool TwoDigitYear = false;
  double Time = 0.0;  // the time of day, days
  int TimeParts = 0;  // 0 none, 2 hours and minutes, 3 with seconds
};

// The field as a date field (blanks around it allowed), nothing when it is
// not written like one. `sessionSeparator`: the session's date separator,
// the only one with which a two-digit year counts.
std::optional<TDateField> DateFieldOf(std::string_view field, char sessionSeparator);

// The serial (days since 30 December 1899, the time of day as its
// fraction) of a date field whose year-last numbers stand in `yearLast`
// order (day first or month first); nothing when that is no date (a month
// above 12, 31 February, a year outside 1 to 9999).
std::optional<double> DateFieldSerial(const TDateField& field, TShortDateOrder yearLast);

// The format of a cell read from a date field: the session's short date,
// with the time of day as typed ("hh:mm", "hh:mm:ss").
std::string DateFieldFormat(const TDateField& field, const TFormatLocale& session);

// The form of a text file's dates: the order of the numbers of its
// year-last dates (day first or month first), and the form its most
// frequent date fields have, in which a date written into it is written.
// Separator 0: the file has no date fields.
struct TDateForm {
  TShortDateOrder YearLast = TShortDateOrder::DayMonthYear;
  bool YearFirst = false;
  char Separator = 0;
};

// Year first with '-', "2026-12-11": the form every desktop reads alike.
inline constexpr TDateForm kYearFirstDates{TShortDateOrder::DayMonthYear, true, '-'};

// The order of the year-last dates that a session with the short date order
// `session` takes where a file leaves it open: its own order of day and
// month (month first for a year-first desktop, which names the month
// before the day).
TShortDateOrder SessionYearLastOrder(TShortDateOrder session);

// What the date fields of a file show of its year-last order, added one by
// one, and the order and form decided from them. A year-last field whose
// first number is above 12 (and second not) counts for the day first, one
// whose second number is above 12 (and first not) for the month first;
// one whose two numbers are different and both at most 12 leaves the order
// open.
class TDateEvidence {
 public:
  explicit TDateEvidence(char sessionSeparator) : sessionSeparator_(sessionSeparator) {}
  void Add(std::string_view field);
  // The year-last order more fields count for; where as many count for
  // each (none included), the session's (SessionYearLastOrder).
  TShortDateOrder YearLast(TShortDateOrder session) const;
  // True when the fields leave the order to the session although some
  // field reads otherwise by the other order: as many count for each.
  bool Unsettled() const;
  // The file's date form: the order above and the shape and mark of its
  // most frequent date fields.
  TDateForm Form(TShortDateOrder session) const;
  // The first field that leaves the order open, or the first counting for
  // each order where as many count for each.
  const std::string& OpenExample() const { return openExample_; }
  const std::string& DayFirstExample() const { return dayExample_; }
  const std::string& MonthFirstExample() const { return monthExample_; }
  std::uint64_t DayFirstFields() const { return dayFirst_; }
  std::uint64_t MonthFirstFields() const { return monthFirst_; }

 private:
  char sessionSeparator_;
  std::uint64_t dayFirst_ = 0, monthFirst_ = 0, open_ = 0;
  std::uint64_t shapes_[2][3] = {};  // [year first][separator '/', '.', '-']
  std::string openExample_, dayExample_, monthExample_;
};

// How a file's dates were read: its form, whether the fields left the
// order to the session, and the date fields that are no dates in that
// order, kept as texts.
struct TDateReading {
  TDateForm Form;
  char SessionSeparator = '.';
  bool Unsettled = false;
  std::string OpenExample, DayFirstExample, MonthFirstExample;
  std::uint64_t KeptAsText = 0;
  std::string KeptExample;
};

// The reading of the fields `evidence` saw in a session whose short date
// has the order `session` and the separator `sessionSeparator`.
TDateReading DateReadingOf(const TDateEvidence& evidence, TShortDateOrder session, char sessionSeparator);

// Which year-last order was taken where the file leaves it open, and the
// date fields kept as texts (interface language; empty when nothing is to
// say).
std::string DateNote(const TDateReading& reading);

// The text `text` (what a cell whose value is the serial `value` shows or
// is typed as) with its leading date written in `form` ("12/11/2026 10:30"
// as "2026-12-11 10:30"): day and month with two digits, the year with
// four. Unchanged when it does not start with a date field that stands for
// the value's day, or the form has no separator.
std::string InDateForm(std::string text, double value, const TDateForm& form, char sessionSeparator);

}  // namespace kvx::workbook
