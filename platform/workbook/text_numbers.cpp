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

}  // namespace

std::optional<TTypedEntry> FieldNumber(std::string_view field, char decimal) {
  return ParseWrittenNumber(field, decimal, GroupingMark(decimal));
}

void TNumberEvidence::Add(std::string_view field) {
  // Long fields are texts; a field without a mark tells nothing.
  if (field.size() > 64 || field.find_first_of(",.") == std::string_view::npos) return;
  const auto point = FieldNumber(field, '.');
  const auto comma = FieldNumber(field, ',');
  if (point && comma) {
    if (point->Number != comma->Number && !ambiguous_) {
      ambiguous_ = true;
      example_.assign(field);
    }
    return;
  }
  if ((!point && !comma) || !MarksBetweenDigits(field)) return;
  const bool hasComma = field.find(',') != std::string_view::npos;
  if (point) {
    (hasComma ? commaGrouping_ : pointDecimal_) = true;
  } else {
    (hasComma ? commaDecimal_ : pointGrouping_) = true;
  }
}

char TNumberEvidence::Decimal(char sessionDecimal) const {
  if (SaysCommas() && !commaGrouping_) return ',';
  if (!SaysCommas() && (commaGrouping_ || pointDecimal_)) return '.';
  return sessionDecimal == ',' ? ',' : '.';
}

bool TNumberEvidence::Unsettled() const { return !Settled() && (ambiguous_ || (SaysCommas() && commaGrouping_)); }

std::string UnquotedField(std::string_view written) {
  if (written.empty() || written.front() != '"') return std::string(written);
  std::string text;
  std::size_t i = 1;
  while (i < written.size()) {
    if (written[i] == '"') {
      if (i + 1 < written.size() && written[i + 1] == '"') {
        text += '"';
        i += 2;
        continue;
      }
      // What follows the closing quote belongs to the field too.
      text.append(written.substr(i + 1));
      return text;
    }
    text += written[i++];
  }
  // A quote never closed: the rest is the field.
  return std::string(written.substr(1));
}

}  // namespace kvx::workbook
