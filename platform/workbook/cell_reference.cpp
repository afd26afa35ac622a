#include "platform/workbook/cell_reference.h"

#include <cctype>

#include "platform/ascii_case.h"

namespace kvx::workbook {

std::string ColumnLetters(int col) {
  std::string letters;
  while (col > 0) {
    const int digit = (col - 1) % 26;
    letters.insert(letters.begin(), static_cast<char>('A' + digit));
    col = (col - 1) / 26;
  }
  return letters;
}

int ColumnFromLetters(std::string_view letters) {
  if (letters.empty() || letters.size() > 3) return 0;
  int col = 0;
  for (char c : letters) {
    const char upper = AsciiUpper(c);
    if (upper < 'A' || upper > 'Z') return 0;
    col = col * 26 + (upper - 'A' + 1);
  }
  return col <= kMaxCols ? col : 0;
}

std::string CellName(int row, int col, bool absolute) {
  if (absolute) {
    std::string name(1, '$');
    name += ColumnLetters(col);
    name += '$';
    name += std::to_string(row);
    return name;
  }
  return ColumnLetters(col) + std::to_string(row);
}

std::string RangeName(const TRange& range, bool absolute) {
  const std::string dollar = absolute ? "$" : "";
  if (range.Col1 == 1 && range.Col2 == kMaxCols) {
    return dollar + std::to_string(range.Row1) + ":" + dollar + std::to_string(range.Row2);
  }
  if (range.Row1 == 1 && range.Row2 == kMaxRows) {
    return dollar + ColumnLetters(range.Col1) + ":" + dollar + ColumnLetters(range.Col2);
  }
  if (range.IsSingleCell()) return CellName(range.Row1, range.Col1, absolute);
  return CellName(range.Row1, range.Col1, absolute) + ":" + CellName(range.Row2, range.Col2, absolute);
}

namespace {

// One end of a reference: a column, a row or both.
struct RefPart {
  int Row = 0;  // 0: no row given
  int Col = 0;  // 0: no column given
};

std::optional<RefPart> ParsePart(std::string_view text) {
  std::size_t i = 0;
  auto skipDollar = [&] {
    if (i < text.size() && text[i] == '$') ++i;
  };
  RefPart part;
  skipDollar();
  const std::size_t letterStart = i;
  while (i < text.size() && std::isalpha(static_cast<unsigned char>(text[i]))) ++i;
  if (i > letterStart) {
    part.Col = ColumnFromLetters(text.substr(letterStart, i - letterStart));
    if (part.Col == 0) return std::nullopt;
    skipDollar();
  } else if (i > 0 && text[i - 1] == '$' && (i >= text.size() || !std::isdigit(static_cast<unsigned char>(text[i])))) {
    return std::nullopt;
  }
  const std::size_t digitStart = i;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
  if (i > digitStart) {
    if (i - digitStart > 7) return std::nullopt;
    part.Row = std::stoi(std::string(text.substr(digitStart, i - digitStart)));
    if (part.Row < 1 || part.Row > kMaxRows) return std::nullopt;
  }
  if (i != text.size() || (part.Row == 0 && part.Col == 0)) return std::nullopt;
  return part;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return text;
}

}  // namespace

std::optional<TRange> ParseRange(std::string_view text) {
  text = Trim(text);
  const std::size_t colon = text.find(':');
  const auto first = ParsePart(text.substr(0, colon));
  if (!first) return std::nullopt;
  RefPart second = *first;
  if (colon != std::string_view::npos) {
    const auto parsed = ParsePart(text.substr(colon + 1));
    if (!parsed) return std::nullopt;
    second = *parsed;
  }
  const bool firstCell = first->Row != 0 && first->Col != 0;
  const bool secondCell = second.Row != 0 && second.Col != 0;
  TRange range;
  if (firstCell && secondCell) {
    range = {first->Row, first->Col, second.Row, second.Col};
  } else if (first->Row == 0 && second.Row == 0 && colon != std::string_view::npos) {
    range = {1, first->Col, kMaxRows, second.Col};  // whole columns
  } else if (first->Col == 0 && second.Col == 0 && colon != std::string_view::npos) {
    range = {first->Row, 1, second.Row, kMaxCols};  // whole rows
  } else {
    return std::nullopt;
  }
  if (range.Row1 > range.Row2) std::swap(range.Row1, range.Row2);
  if (range.Col1 > range.Col2) std::swap(range.Col1, range.Col2);
  return range;
}

std::optional<std::vector<TRange>> ParseRangeList(std::string_view text) {
  std::vector<TRange> ranges;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find_first_of(",;", start);
    if (end == std::string_view::npos) end = text.size();
    const auto range = ParseRange(text.substr(start, end - start));
    if (!range) return std::nullopt;
    ranges.push_back(*range);
    start = end + 1;
  }
  if (ranges.empty()) return std::nullopt;
  return ranges;
}

std::string RangeListName(const std::vector<TRange>& ranges) {
  std::string text;
  for (const TRange& range : ranges) {
    if (!text.empty()) text += ',';
    text += RangeName(range);
  }
  return text;
}

}  // namespace kvx::workbook
