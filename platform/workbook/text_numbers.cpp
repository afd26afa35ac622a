#include "platform/workbook/text_numbers.h"

namespace kvx::workbook {

namespace {

bool Digit(char c) { return c >= '0' && c <= '9'; }

// Every '.' and ',' of the field stands between two digits.
bool MarksBetweenDigits(std::string_view field) {
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '.' && field[i] != ',') continue;
    if (i == 0 || i + 1 == field.size() || !Digit(field[i - 1]) || !Digit(field[i + 1])) return false;
  }
  return true;
}

bool EndOfLine(char ch) { return ch == '\n' || ch == '\r'; }

// A blank stands between two digits ("1 234", "12 34").
bool BlankBetweenDigits(std::string_view field) {
  for (std::size_t i = 1; i + 1 < field.size(); ++i) {
    if (field[i] == ' ' && Digit(field[i - 1]) && Digit(field[i + 1])) return true;
  }
  return false;
}

bool OnlyNumberCharacters(std::string_view field) {
  return field.find_first_not_of("0123456789 .,+-") == std::string_view::npos;
}

// The digits of an Indian-grouped whole part with its commas left out
// ("12,34,567" as "1234567"): one or two digits not led by 0, groups of
// two, a last group of three; the rest of the text after it. Empty when
// the text does not start so.
std::string IndianWhole(std::string_view text, std::size_t& end) {
  std::size_t i = 0;
  while (i < text.size() && Digit(text[i]) && i < 3) ++i;
  if (i == 0 || i > 2 || text[0] == '0') return {};
  std::string digits(text.substr(0, i));
  std::size_t pairs = 0;
  while (i < text.size() && text[i] == ',') {
    std::size_t j = i + 1;
    while (j < text.size() && Digit(text[j])) ++j;
    const std::size_t length = j - i - 1;
    digits.append(text.substr(i + 1, length));
    i = j;
    if (length == 3) {
      end = i;
      return pairs > 0 ? digits : std::string();
    }
    if (length != 2) return {};
    ++pairs;
  }
  return {};
}

// A number as another desktop writes it where the file's syntax does not
// take it: with points, Indian grouping ("12,34,567.89", "-10,00,000.00");
// a no-break space before a trailing '%' ("12,5 %").
std::optional<TNumberRead> OtherDesktopNumber(std::string_view text, const TNumberSyntax& syntax) {
  for (const std::string_view space : {std::string_view("\xC2\xA0%"), std::string_view("\xE2\x80\xAF%")}) {
    if (text.size() > space.size() && text.ends_with(space)) {
      std::string plain(text.substr(0, text.size() - space.size()));
      plain += '%';
      auto number = ReadNumber(plain, syntax);
      if (number) number->Shortest = false;
      return number;
    }
  }
  if (syntax.Decimal != '.') return std::nullopt;
  const std::size_t sign = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
  std::size_t end = 0;
  const std::string whole = IndianWhole(text.substr(sign), end);
  if (whole.empty()) return std::nullopt;
  const std::string_view rest = text.substr(sign + end);
  if (!rest.empty() && rest[0] != '.' && rest[0] != '%') return std::nullopt;
  TNumberSyntax plain = syntax;
  plain.Grouping = kGroupNone;
  plain.Exponent = false;
  auto number = ReadNumber(std::string(text.substr(0, sign)) + whole + std::string(rest), plain);
  if (number) number->Shortest = false;
  return number;
}

}  // namespace

TNumberSyntax FieldSyntax(char decimal, bool blanks) {
  TNumberSyntax syntax;
  syntax.Decimal = decimal;
  syntax.Grouping = GroupingMarksOf(GroupingMark(decimal)) | kGroupNoBreakSpaces | kGroupApostrophes;
  if (blanks) syntax.Grouping |= kGroupBlanks;
  syntax.StrictGroups = true;
  syntax.Percent = true;
  return syntax;
}

std::optional<TNumberRead> FieldNumber(std::string_view field, char decimal, bool blanks) {
  std::string_view trimmed = field;
  while (!trimmed.empty() && trimmed.front() == ' ') trimmed.remove_prefix(1);
  while (!trimmed.empty() && trimmed.back() == ' ') trimmed.remove_suffix(1);
  const TNumberSyntax syntax = FieldSyntax(decimal, blanks);
  std::optional<TNumberRead> number = ReadNumber(trimmed, syntax);
  if (!number && !trimmed.empty() && (trimmed.back() == '%' || trimmed.find(',') != std::string_view::npos)) {
    number = OtherDesktopNumber(trimmed, syntax);
  }
  if (number && trimmed.size() != field.size()) number->Shortest = false;
  return number;
}

void TNumberEvidence::Add(std::string_view field) {
  // Long fields are texts.
  if (field.size() > 64) return;
  if (BlankBetweenDigits(field)) {
    if (FieldNumber(field, '.', true) || FieldNumber(field, ',', true)) {
      ++blankGroups_;
    } else if (OnlyNumberCharacters(field)) {
      ++blankOthers_;
    }
  }
  // A field without a mark tells nothing of the decimal mark.
  if (field.find_first_of(",.") == std::string_view::npos) return;
  const auto point = FieldNumber(field, '.', true);
  const auto comma = FieldNumber(field, ',', true);
  if (point && comma) {
    if (point->Number != comma->Number && example_.empty()) example_.assign(field);
    return;
  }
  if ((!point && !comma) || !MarksBetweenDigits(field)) return;
  if (point) {
    if (pointFields_++ == 0) pointExample_.assign(field);
  } else if (commaFields_++ == 0) {
    commaExample_.assign(field);
  }
}

void TNumberEvidence::AddShortest(std::string_view field, char decimal) {
  const std::size_t mark = field.find(decimal);
  if (mark == std::string_view::npos) return;
  // With the other mark its digits read as a grouped number where they
  // make a first group of one to three digits not led by 0 and one more
  // group of three ("1,234", "-12.345"): a field of either mark, counted
  // for neither.
  const std::size_t sign = field.front() == '-' ? 1 : 0;
  const std::size_t whole = mark - sign;
  if (whole <= 3 && field[sign] != '0' && field.size() - mark == 4 &&
      field.find_first_of("eE", mark) == std::string_view::npos) {
    if (example_.empty()) example_.assign(field);
    return;
  }
  if (decimal == '.') {
    if (pointFields_++ == 0) pointExample_.assign(field);
  } else if (commaFields_++ == 0) {
    commaExample_.assign(field);
  }
}

char TNumberEvidence::Decimal(char sessionDecimal) const {
  if (commaFields_ != pointFields_) return commaFields_ > pointFields_ ? ',' : '.';
  return sessionDecimal == ',' ? ',' : '.';
}

bool TNumberEvidence::Unsettled() const {
  return commaFields_ == pointFields_ && (commaFields_ > 0 || !example_.empty());
}

std::string KeptExampleText(std::uint64_t kept, const std::string& example, bool english) {
  return std::string(" (") + (kept == 1 ? "" : (english ? "such as " : "etwa ")) + example + ").";
}

std::size_t QuotedFieldText(std::string_view text, std::size_t at, std::string& value) {
  const std::size_t n = text.size();
  value.clear();
  std::size_t j = at + 1;
  while (j < n) {
    if (text[j] == '"') {
      if (j + 1 < n && text[j + 1] == '"') {
        value += '"';
        j += 2;
        continue;
      }
      return j + 1;
    }
    value += text[j++];
  }
  std::size_t end = at + 1;
  while (end < n && !EndOfLine(text[end])) ++end;
  value.assign(text.substr(at + 1, end - at - 1));
  return end;
}

std::string UnquotedField(std::string_view written) {
  if (written.empty() || written.front() != '"') return std::string(written);
  std::string text;
  const std::size_t end = QuotedFieldText(written, 0, text);
  // What follows the closing quote belongs to the field too.
  text.append(written.substr(end));
  return text;
}

}  // namespace kvx::workbook
