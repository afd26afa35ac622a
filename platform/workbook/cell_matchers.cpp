#include "platform/workbook/cell_matchers.h"

#include <charconv>

#include "platform/text_encoding.h"

namespace kvx {

namespace {

bool FindPart(const std::u32string& searched, const std::u32string& cell, int& position) {
  position = 0;
  if (searched.empty()) return false;
  std::size_t i = cell.find(searched);
  if (i == std::u32string::npos) return false;
  position = static_cast<int>(i) + 1;
  return true;
}

}  // namespace

bool MatchWholeCase(const std::string& searched, const std::string& cell, int& position) {
  position = 1;
  return cell == searched;
}

bool MatchWholeNoCase(const std::string& searched, const std::string& cell, int& position) {
  position = 1;
  return UpperCaseCodePoints(cell) == UpperCaseCodePoints(searched);
}

bool MatchPartCase(const std::string& searched, const std::string& cell, int& position) {
  return FindPart(Utf8ToCodePoints(searched), Utf8ToCodePoints(cell), position);
}

bool MatchPartNoCase(const std::string& searched, const std::string& cell, int& position) {
  return FindPart(UpperCaseCodePoints(searched), UpperCaseCodePoints(cell), position);
}

void ParseColumnRowRef(const std::string& text, std::int32_t& row, std::int32_t& column) {
  row = 1;
  column = 1;
  std::string s = UpperCaseText(text);
  std::size_t colon = s.find(':');
  if (colon == std::string::npos || colon == 0 || colon + 1 == s.size()) return;
  // The row: one to nine decimal digits, nothing else.
  const std::string rowText = s.substr(colon + 1);
  if (rowText.find_first_not_of("0123456789") != std::string::npos || rowText.size() > 9) return;
  std::int32_t number = 0;
  if (std::from_chars(rowText.data(), rowText.data() + rowText.size(), number).ec != std::errc() || number < 1) return;
  char letter = s[0];
  if (letter < 'A' || letter > 'Z') return;
  row = number;
  column = letter - 'A' + 1;
}

}  // namespace kvx
