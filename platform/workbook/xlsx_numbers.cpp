#include "platform/workbook/xlsx_numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>

#include "platform/workbook/cell_reference.h"
#include "platform/workbook/xlsx_text.h"

namespace kvx::workbook {

namespace {

// Calls `visit` with the row, column and the bounds of the value text of
// every plain number cell of a worksheet part, in the order of the file.
void ForEachNumberCell(std::string_view xml,
                       const std::function<void(int row, int col, std::size_t begin, std::size_t end)>& visit) {
  ForEachSheetCell(xml, [&](std::string_view tag, std::string_view content, std::size_t contentAt) {
    if (content.empty()) return;  // a cell with a style only
    const std::string_view type = TagAttribute(tag, "t");
    if (!type.empty() && type != "n") return;
    if (content.find("<f") != std::string_view::npos) return;  // a formula's cached result
    const std::size_t open = content.find("<v>");
    const std::size_t end = content.find("</v>");
    if (open == std::string_view::npos || end == std::string_view::npos || end < open) return;
    const auto range = ParseRange(TagAttribute(tag, "r"));
    if (!range || !range->IsSingleCell()) return;
    visit(range->Row1, range->Col1, contentAt + open + 3, contentAt + end);
  });
}

}  // namespace

std::string_view TagAttribute(std::string_view tag, std::string_view name) {
  std::size_t at = 0;
  while ((at = tag.find(name, at)) != std::string_view::npos) {
    const std::size_t equals = at + name.size();
    const bool starts =
        at > 0 && (tag[at - 1] == ' ' || tag[at - 1] == '\t' || tag[at - 1] == '\n' || tag[at - 1] == '\r');
    if (starts && equals + 1 < tag.size() && tag[equals] == '=' &&
        (tag[equals + 1] == '"' || tag[equals + 1] == '\'')) {
      const char quote = tag[equals + 1];
      const std::size_t end = tag.find(quote, equals + 2);
      if (end == std::string_view::npos) return {};
      return tag.substr(equals + 2, end - equals - 2);
    }
    at = equals;
  }
  return {};
}

void ForEachSheetCell(
    std::string_view xml,
    const std::function<void(std::string_view tag, std::string_view content, std::size_t contentAt)>& visit) {
  std::size_t pos = xml.find("<sheetData");
  while (pos != std::string_view::npos && (pos = xml.find("<c", pos)) != std::string_view::npos) {
    const std::size_t after = pos + 2;
    if (after >= xml.size()) break;
    const char next = xml[after];
    if (next != ' ' && next != '>' && next != '\t' && next != '\n' && next != '\r') {
      pos = after;  // <col>, <cfRule> ...
      continue;
    }
    const std::size_t tagEnd = XmlTagEnd(xml, after);
    if (tagEnd == std::string_view::npos) break;
    pos = tagEnd + 1;
    if (xml[tagEnd - 1] == '/') {
      visit(xml.substr(after, tagEnd - 1 - after), std::string_view(), tagEnd + 1);
      continue;
    }
    const std::size_t close = xml.find("</c>", tagEnd);
    if (close == std::string_view::npos) break;
    pos = close + 4;
    visit(xml.substr(after, tagEnd - after), xml.substr(tagEnd + 1, close - tagEnd - 1), tagEnd + 1);
  }
}

std::uint64_t CellKey(int row, int col) {
  return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(row)) << 32) | static_cast<std::uint32_t>(col);
}

void TExactNumbers::Finish() {
  const auto byKey = [](const auto& a, const auto& b) { return a.first < b.first; };
  if (std::is_sorted(cells_.begin(), cells_.end(), [](const auto& a, const auto& b) { return a.first <= b.first; })) {
    return;
  }
  // Out of order, or a key twice: the last cell of a key counts.
  std::stable_sort(cells_.begin(), cells_.end(), byKey);
  std::vector<std::pair<std::uint64_t, double>> kept;
  kept.reserve(cells_.size());
  for (const auto& cell : cells_) {
    if (!kept.empty() && kept.back().first == cell.first) {
      kept.back() = cell;
    } else {
      kept.push_back(cell);
    }
  }
  cells_ = std::move(kept);
}

const double* TExactNumbers::Find(std::uint64_t key, std::size_t& cursor) const {
  if (cursor < cells_.size() && cells_[cursor].first == key) return &cells_[cursor++].second;
  const auto at = std::lower_bound(cells_.begin(), cells_.end(), key,
                                   [](const auto& cell, std::uint64_t wanted) { return cell.first < wanted; });
  cursor = static_cast<std::size_t>(at - cells_.begin());
  if (at == cells_.end() || at->first != key) return nullptr;
  ++cursor;
  return &at->second;
}

const double* TExactNumbers::Find(std::uint64_t key) const {
  std::size_t cursor = cells_.size();
  return Find(key, cursor);
}

TExactNumbers ExactSheetNumbers(std::string_view sheetXml, std::string* badCell) {
  TExactNumbers numbers;
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  ForEachNumberCell(sheetXml, [&](int row, int col, std::size_t begin, std::size_t end) {
    std::string_view text = sheetXml.substr(begin, end - begin);
    // XML blanks may stand around the number.
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    if (text.empty()) return;
    // from_chars takes no leading '+'; a sign of the file is allowed.
    if (text.front() == '+') text.remove_prefix(1);
    double value = 0;
    const auto [stop, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc() && stop == text.data() + text.size() && std::isfinite(value)) {
      numbers.Add(CellKey(row, col), value);
    } else if (badCell != nullptr && badCell->empty()) {
      *badCell = CellName(row, col);
    }
  });
  numbers.Finish();
  return numbers;
}

}  // namespace kvx::workbook
