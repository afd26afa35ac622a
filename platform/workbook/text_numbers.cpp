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

}  // namespace

TNumberSyntax FieldSyntax(char decimal) {
  TNumberSyntax syntax;
  syntax.Decimal = decimal;
  syntax.Grouping = GroupingMarksOf(GroupingMark(decimal)) | kGroupNoBreakSpaces | kGroupApostrophes;
  syntax.StrictGroups = true;
  syntax.Percent = true;
  return syntax;
}

std::optional<TNumberRead> FieldNumber(std::string_view field, char decimal) {
  std::string_view trimmed = field;
  while (!trimmed.empty() && trimmed.front() == ' ') trimmed.remove_prefix(1);
  while (!trimmed.empty() && trimmed.back() == ' ') trimmed.remove_suffix(1);
  std::optional<TNumberRead> number = ReadNumber(trimmed, FieldSyntax(decimal));
  if (number && trimmed.size() != field.size()) number->Shortest = false;
  return number;
}

void TNumberEvidence::Add(std::string_view field) {
  // Long fields are texts; a field without a mark tells nothing.
  if (field.size() > 64 || field.find_first_of(",.") == std::string_view::npos) return;
  const auto point = FieldNumber(field, '.');
  const auto comma = FieldNumber(field, ',');
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

char TNumberEvidence::Decimal(char sessionDecimal) const {
  if (commaFields_ != pointFields_) return commaFields_ > pointFields_ ? ',' : '.';
  return sessionDecimal == ',' ? ',' : '.';
}

bool TNumberEvidence::Unsettled() const {
  return commaFields_ == pointFields_ && (commaFields_ > 0 || !example_.empty());
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
