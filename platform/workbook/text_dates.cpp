#include "platform/workbook/text_dates.h"

#include <cmath>

#include "platform/number_text.h"
#include "platform/workbook/number_format.h"
#include "platform/workbook/text_numbers.h"

namespace kvx::workbook {

namespace {

bool Digit(char c) { return c >= '0' && c <= '9'; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// The digits from `at` as a number; `at` moves past them and `count` says
// how many there were (at most 4 are taken, more make count 5).
int DigitsAt(std::string_view text, std::size_t& at, int& count) {
  int value = 0;
  count = 0;
  while (at < text.size() && Digit(text[at])) {
    if (++count <= 4) value = value * 10 + (text[at] - '0');
    ++at;
  }
  return value;
}

// A time of day after a date: hours (one or two digits, below 24), ':',
// two digits of minutes, perhaps ':' and two digits of seconds with a
// fraction after '.' or ','. Days, and how many parts it has.
bool TimeOfDay(std::string_view text, double& days, int& parts) {
  std::size_t at = 0;
  int count = 0;
  const int hours = DigitsAt(text, at, count);
  if (count < 1 || count > 2 || hours > 23 || at >= text.size() || text[at] != ':') return false;
  ++at;
  const int minutes = DigitsAt(text, at, count);
  if (count != 2 || minutes > 59) return false;
  double seconds = 0.0;
  parts = 2;
  if (at < text.size() && text[at] == ':') {
    ++at;
    const int whole = DigitsAt(text, at, count);
    if (count != 2 || whole > 59) return false;
    seconds = whole;
    parts = 3;
    if (at < text.size() && (text[at] == '.' || text[at] == ',')) {
      const std::size_t from = ++at;
      while (at < text.size() && Digit(text[at])) ++at;
      if (at == from) return false;
      const auto fraction = ReadNumber("0." + std::string(text.substr(from, at - from)));
      if (!fraction) return false;
      seconds += fraction->Number;
    }
  }
  if (at != text.size()) return false;
  days = (hours * 3600.0 + minutes * 60.0 + seconds) / 86400.0;
  return true;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month == 2 && ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0)) return 29;
  return kDays[month - 1];
}

bool ValidDate(int year, int month, int day) {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(year, month);
}

int SeparatorIndex(char separator) { return separator == '/' ? 0 : separator == '.' ? 1 : 2; }

// Day and month of a year-last field in `order`.
void DayAndMonth(const TDateField& field, TShortDateOrder order, int& day, int& month) {
  const bool monthFirst = field.YearFirst || order != TShortDateOrder::DayMonthYear;
  month = monthFirst ? field.First : field.Second;
  day = monthFirst ? field.Second : field.First;
}

}  // namespace

std::optional<TDateField> DateFieldOf(std::string_view text, char sessionSeparator) {
  text = Trimmed(text);
  // "1/2/26" is the shortest; a date and a time with a long fraction the longest.
  if (text.size() < 6 || text.size() > 48 || !Digit(text[0])) return std::nullopt;
  TDateField field;
  std::size_t at = 0;
  int firstDigits = 0, secondDigits = 0, thirdDigits = 0;
  const int first = DigitsAt(text, at, firstDigits);
  if (at >= text.size() || (text[at] != '/' && text[at] != '.' && text[at] != '-')) return std::nullopt;
  field.Separator = text[at++];
  const int second = DigitsAt(text, at, secondDigits);
  if (at >= text.size() || text[at] != field.Separator) return std::nullopt;
  ++at;
  const int third = DigitsAt(text, at, thirdDigits);
  if (firstDigits == 4 && secondDigits >= 1 && secondDigits <= 2 && thirdDigits >= 1 && thirdDigits <= 2) {
    field.YearFirst = true;
    field.Year = first;
    field.First = second;
    field.Second = third;
  } else if (firstDigits >= 1 && firstDigits <= 2 && secondDigits >= 1 && secondDigits <= 2 &&
             (thirdDigits == 4 || (thirdDigits == 2 && field.Separator == sessionSeparator))) {
    field.First = first;
    field.Second = second;
    field.Year = third;
    if (thirdDigits == 2) {
      field.TwoDigitYear = true;
      field.Year += third < 30 ? 2000 : 1900;
    }
  } else {
    return std::nullopt;
  }
  if (at == text.size()) return field;
  if (text[at] != ' ') return std::nullopt;
  if (!TimeOfDay(Trimmed(text.substr(at)), field.Time, field.TimeParts)) return std::nullopt;
  return field;
}

std::optional<double> DateFieldSerial(const TDateField& field, TShortDateOrder yearLast) {
  int day = 0, month = 0;
  DayAndMonth(field, yearLast, day, month);
  if (!ValidDate(field.Year, month, day)) return std::nullopt;
  return DateSerial(field.Year, month, day) + field.Time;
}

TShortDateOrder SessionYearLastOrder(TShortDateOrder session) {
  return session == TShortDateOrder::DayMonthYear ? TShortDateOrder::DayMonthYear : TShortDateOrder::MonthDayYear;
}

void TDateEvidence::Add(std::string_view text) {
  const std::optional<TDateField> field = DateFieldOf(text, sessionSeparator_);
  if (!field) return;
  ++shapes_[field->YearFirst ? 1 : 0][SeparatorIndex(field->Separator)];
  if (field->YearFirst) return;
  const int a = field->First, b = field->Second;
  if (a > 12 && b <= 12) {
    if (dayFirst_++ == 0) dayExample_.assign(Trimmed(text));
  } else if (b > 12 && a <= 12) {
    if (monthFirst_++ == 0) monthExample_.assign(Trimmed(text));
  } else if (a <= 12 && b <= 12 && a != b) {
    if (open_++ == 0) openExample_.assign(Trimmed(text));
  }
}

TShortDateOrder TDateEvidence::YearLast(TShortDateOrder session) const {
  if (dayFirst_ != monthFirst_) {
    return dayFirst_ > monthFirst_ ? TShortDateOrder::DayMonthYear : TShortDateOrder::MonthDayYear;
  }
  return SessionYearLastOrder(session);
}

bool TDateEvidence::Unsettled() const { return dayFirst_ == monthFirst_ && (dayFirst_ > 0 || open_ > 0); }

TDateForm TDateEvidence::Form(TShortDateOrder session) const {
  TDateForm form;
  form.YearLast = YearLast(session);
  std::uint64_t most = 0;
  static constexpr char kSeparators[] = {'/', '.', '-'};
  // Year first wins a tie: it reads alike everywhere.
  for (int yearFirst = 1; yearFirst >= 0; --yearFirst) {
    for (int s = 0; s < 3; ++s) {
      if (shapes_[yearFirst][s] <= most) continue;
      most = shapes_[yearFirst][s];
      form.YearFirst = yearFirst == 1;
      form.Separator = kSeparators[s];
    }
  }
  return form;
}

TDateReading DateReadingOf(const TDateEvidence& evidence, TShortDateOrder session, char sessionSeparator) {
  TDateReading reading;
  reading.Form = evidence.Form(session);
  reading.SessionSeparator = sessionSeparator;
  reading.Unsettled = evidence.Unsettled();
  reading.OpenExample = evidence.OpenExample();
  if (reading.Unsettled && evidence.DayFirstFields() > 0) {
    reading.DayFirstExample = evidence.DayFirstExample();
    reading.MonthFirstExample = evidence.MonthFirstExample();
  }
  return reading;
}

std::string DateNote(const TDateReading& reading) {
  const bool english = LanguageEnglish != 0;
  const bool dayFirst = reading.Form.YearLast == TShortDateOrder::DayMonthYear;
  const std::string order = english ? (dayFirst ? "the day first" : "the month first")
                                    : (dayFirst ? "mit dem Tag zuerst" : "mit dem Monat zuerst");
  std::string note;
  if (reading.Unsettled) {
    const bool tie = !reading.DayFirstExample.empty();
    const std::string example = tie ? " (" + reading.DayFirstExample + ", " + reading.MonthFirstExample + ")"
                                    : " (" + reading.OpenExample + ")";
    if (english) {
      note = (tie ? "The file shows dates with the day first and dates with the month first in as many fields"
                  : "The file does not show whether its dates name the day or the month first") +
             example + ": they were read with " + order + ", as the session's short date has it.";
    } else {
      note = (tie ? "Die Datei zeigt Daten mit dem Tag zuerst und Daten mit dem Monat zuerst in gleich vielen Feldern"
                  : "Die Datei zeigt nicht, ob ihre Daten den Tag oder den Monat zuerst nennen") +
             example + ": sie wurden wie das Kurzdatum der Sitzung " + order + " gelesen.";
    }
  }
  if (const std::uint64_t kept = reading.KeptAsText; kept > 0) {
    const std::string count = WholeNumberText(static_cast<std::int64_t>(kept));
    const std::string example = KeptExampleText(kept, reading.KeptExample, english);
    if (!note.empty()) note += " ";
    if (english) {
      note += count +
              (kept == 1 ? " field written like a date is no date" : " fields written like dates are no dates") +
              " with " + order + (kept == 1 ? " and was kept as a text" : " and were kept as texts") + example;
    } else {
      note += count + (kept == 1 ? " Feld in Datumsform ist " : " Felder in Datumsform sind ") + order +
              (kept == 1 ? " kein Datum und blieb Text" : " keine Daten und blieben Texte") + example;
    }
  }
  return note;
}

std::string DateFieldFormat(const TDateField& field, const TFormatLocale& session) {
  const std::string date = ShortDateCode(session);
  return field.TimeParts == 0 ? date : date + (field.TimeParts == 3 ? " hh:mm:ss" : " hh:mm");
}

std::string InDateForm(std::string text, double value, const TDateForm& form, char sessionSeparator) {
  if (form.Separator == 0 || text.empty() || !Digit(text.front()) || !std::isfinite(value)) return text;
  const std::size_t blank = text.find(' ');
  const std::string_view token = std::string_view(text).substr(0, blank);
  const std::optional<TDateField> field = DateFieldOf(token, sessionSeparator);
  if (!field) return text;
  const double day = std::floor(value);
  const bool standsForValue = DateFieldSerial(*field, TShortDateOrder::DayMonthYear) == day ||
                              DateFieldSerial(*field, TShortDateOrder::MonthDayYear) == day;
  int year = 0, month = 0, dayOfMonth = 0;
  SerialToDate(day, year, month, dayOfMonth);
  if (!standsForValue || year < 1) return text;
  const std::string yyyy = ZeroPaddedText(year, 4);
  const std::string mark(1, form.Separator);
  std::string date;
  if (form.YearFirst) {
    date = yyyy + mark + TwoDigits(month) + mark + TwoDigits(dayOfMonth);
  } else if (form.YearLast == TShortDateOrder::DayMonthYear) {
    date = TwoDigits(dayOfMonth) + mark + TwoDigits(month) + mark + yyyy;
  } else {
    date = TwoDigits(month) + mark + TwoDigits(dayOfMonth) + mark + yyyy;
  }
  return date + text.substr(token.size());
}

}  // namespace kvx::workbook
