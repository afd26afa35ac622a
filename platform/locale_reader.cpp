#include "platform/locale_reader.h"

#include <langinfo.h>
#include <locale.h>

#include <string_view>

namespace kvx {

namespace {

bool SingleAscii(const std::string& text) {
  return text.size() == 1 && static_cast<unsigned char>(text[0]) < 0x80 && text[0] != '\0';
}

// Walks a strftime format: `conversion` sees the letter of each conversion
// (its flags and width passed over; "%D" and "%F" as the conversions they
// stand for, "%m/%d/%y" and "%Y-%m-%d"), `literal` every other character.
template <class Conversion, class Literal>
void WalkFormat(std::string_view format, Conversion&& conversion, Literal&& literal) {
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') {
      literal(format[i]);
      continue;
    }
    ++i;
    // Flags and widths of the conversion ("%-d", "%02d", "%Ey").
    while (i < format.size() &&
           (format[i] == '-' || format[i] == '_' || format[i] == '0' || format[i] == '^' || format[i] == '#' ||
            format[i] == 'E' || format[i] == 'O' || (format[i] >= '1' && format[i] <= '9'))) {
      ++i;
    }
    if (i >= format.size()) return;
    if (format[i] == 'D') {
      WalkFormat("%m/%d/%y", conversion, literal);
    } else if (format[i] == 'F') {
      WalkFormat("%Y-%m-%d", conversion, literal);
    } else {
      conversion(format[i]);
    }
  }
}

// The first character of a strftime format that is neither a conversion nor
// a letter or digit: the separator between its fields.
char FormatSeparator(std::string_view format, char fallback) {
  char found = '\0';
  WalkFormat(
      format, [](char) {},
      [&found](char c) {
        const bool alphanumeric = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (found == '\0' && !alphanumeric && static_cast<unsigned char>(c) < 0x80 && c != ' ') found = c;
      });
  return found != '\0' ? found : fallback;
}

// True when a strftime date format writes the date in numbers only, its
// fields parted by ASCII marks: "%d.%m.%Y", "%-d/%-m/%y", "%D"; not
// "%d %b, %Y" (a month name, its comma no date separator), nor the Japanese
// format, whose fields are parted by the letters for year, month and day.
bool NumericDateFormat(std::string_view format) {
  bool numeric = true;
  WalkFormat(
      format, [&numeric](char c) { numeric = numeric && std::string_view("abABhp").find(c) == std::string_view::npos; },
      [&numeric](char c) { numeric = numeric && static_cast<unsigned char>(c) < 0x80; });
  return numeric;
}

// The date separator of the desktop's numeric short date. A locale whose
// date format is no numeric short date (a month name, or fields parted by
// letters) leaves it open: '/', which such desktops type between day, month
// and year (2026/12/11 in Japan, 11/12/2026 in Egypt); a mark taken from
// such a format (the comma after "%b") would turn typed numbers into dates.
// A format without day and month keeps `fallback`.
char DateSeparator(std::string_view format, char fallback) {
  constexpr char kOpenDateSeparator = '/';
  bool dated = false;
  WalkFormat(
      format, [&dated](char c) { dated = dated || std::string_view("demDFbBh").find(c) != std::string_view::npos; },
      [](char) {});
  if (!dated) return fallback;
  return NumericDateFormat(format) ? FormatSeparator(format, kOpenDateSeparator) : kOpenDateSeparator;
}

// The order in which the day ("%d", "%e"), the month ("%m", "%b", "%B",
// "%h") and the year ("%Y", "%y", "%C", "%G", "%g") stand in a strftime
// date format; day first when it names them otherwise.
TShortDateOrder FormatDateOrder(std::string_view format) {
  int day = -1, month = -1, year = -1, position = 0;
  WalkFormat(
      format,
      [&](char c) {
        int* slot = std::string_view("de").find(c) != std::string_view::npos      ? &day
                    : std::string_view("mbBh").find(c) != std::string_view::npos  ? &month
                    : std::string_view("YyCGg").find(c) != std::string_view::npos ? &year
                                                                                  : nullptr;
        if (slot != nullptr && *slot < 0) *slot = position;
        ++position;
      },
      [](char) {});
  if (day < 0 || month < 0) return TShortDateOrder::DayMonthYear;
  if (year >= 0 && year < month && year < day) return TShortDateOrder::YearMonthDay;
  return month < day ? TShortDateOrder::MonthDayYear : TShortDateOrder::DayMonthYear;
}

}  // namespace

TIntlSeparators SeparatorsFromLocaleTexts(const std::string& decimalPoint, const std::string& thousands,
                                          const std::string& dateFormat, const std::string& timeFormat) {
  TIntlSeparators s;
  if (SingleAscii(decimalPoint)) s.Decimal = decimalPoint[0];
  if (SingleAscii(thousands)) {
    s.Thousands = thousands[0];
  } else if (thousands == "\xE2\x80\x99") {
    s.Thousands = '\'';  // U+2019, as Swiss desktops group
  } else if (!thousands.empty()) {
    s.Thousands = ' ';  // U+00A0, U+202F and other blanks
  } else {
    s.Thousands = s.Decimal == ',' ? '.' : ',';
  }
  s.List = s.Decimal == ',' ? ';' : ',';
  s.Date = DateSeparator(dateFormat, s.Date);
  s.DateOrder = FormatDateOrder(dateFormat);
  s.Time = FormatSeparator(timeFormat, s.Time);
  return s;
}

TIntlSeparators SeparatorsOrDefaults(const TIntlSeparators& fromLocale) {
  const TIntlSeparators defaults;
  auto pick = [](char value, char fallback) { return value == '\0' || value == ' ' ? fallback : value; };
  TIntlSeparators s;
  s.Decimal = pick(fromLocale.Decimal, defaults.Decimal);
  s.List = pick(fromLocale.List, defaults.List);
  s.Date = pick(fromLocale.Date, defaults.Date);
  s.Time = pick(fromLocale.Time, defaults.Time);
  s.Thousands = fromLocale.Thousands == '\0' ? defaults.Thousands : fromLocale.Thousands;
  s.DateOrder = fromLocale.DateOrder;
  return s;
}

TIntlSeparators DesktopSeparators() { return SeparatorsOrDefaults(ReadLocaleSeparators()); }

void UseDesktopLocaleWithPlainNumbers() {
  setlocale(LC_ALL, "");
  setlocale(LC_NUMERIC, "C");
}

TIntlSeparators ReadLocaleSeparators() {
  locale_t user = newlocale(LC_ALL_MASK, "", static_cast<locale_t>(nullptr));
  if (user == static_cast<locale_t>(nullptr)) return TIntlSeparators{};
  TIntlSeparators s = SeparatorsFromLocaleTexts(nl_langinfo_l(RADIXCHAR, user), nl_langinfo_l(THOUSEP, user),
                                                nl_langinfo_l(D_FMT, user), nl_langinfo_l(T_FMT, user));
  freelocale(user);
  return s;
}

}  // namespace kvx
