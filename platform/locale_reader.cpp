#include "platform/locale_reader.h"

#include <langinfo.h>
#include <locale.h>

namespace kvx {

namespace {

bool SingleAscii(const std::string& text) {
  return text.size() == 1 && static_cast<unsigned char>(text[0]) < 0x80 && text[0] != '\0';
}

// The first character of a strftime format that is neither a conversion nor
// a letter or digit: the separator between its fields.
char FormatSeparator(const std::string& format, char fallback) {
  for (std::size_t i = 0; i < format.size(); ++i) {
    char c = format[i];
    if (c == '%') {
      ++i;
      // Flags and widths of the conversion ("%-d", "%02d", "%Ey").
      while (i < format.size() &&
             (format[i] == '-' || format[i] == '_' || format[i] == '0' || format[i] == '^' || format[i] == '#' ||
              format[i] == 'E' || format[i] == 'O' || (format[i] >= '1' && format[i] <= '9'))) {
        ++i;
      }
      continue;
    }
    bool alphanumeric = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!alphanumeric && static_cast<unsigned char>(c) < 0x80 && c != ' ') return c;
  }
  return fallback;
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
  s.Date = FormatSeparator(dateFormat, s.Date);
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
