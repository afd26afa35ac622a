#include "platform/workbook/xlsx_numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "platform/workbook/cell_reference.h"
#include "platform/workbook/xlsx_text.h"

namespace kvx::workbook {

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

namespace {

// The value of attribute `name` in the text of a start tag (its name and
// attributes), or "".
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

// Calls `visit` with every cell element of a worksheet part's <sheetData>,
// in the order of the file: the text of its start tag, its content ("" for
// <c .../>) and where the content starts in `xml`.
template <typename Visit>
void ForEachSheetCell(std::string_view xml, Visit&& visit) {
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

// Row and column of a cell's "r" attribute. The plain form the files write
// ("B12": capitals, a row without leading zeros, within the sheet) is read
// here; any other goes to the general reader of references.
bool CellOfReference(std::string_view text, int& row, int& col) {
  std::size_t at = 0;
  col = 0;
  while (at < text.size() && at < 3 && text[at] >= 'A' && text[at] <= 'Z') col = col * 26 + (text[at++] - 'A' + 1);
  row = 0;
  const std::size_t digits = at;
  while (at < text.size() && at - digits < 7 && text[at] >= '0' && text[at] <= '9') row = row * 10 + (text[at++] - '0');
  if (digits > 0 && at > digits && at == text.size() && text[digits] != '0' && row <= kMaxRows && col <= kMaxCols) {
    return true;
  }
  const auto range = ParseRange(text);
  if (!range || !range->IsSingleCell()) return false;
  row = range->Row1;
  col = range->Col1;
  return true;
}

}  // namespace

TSheetCells ScanSheetCells(std::string_view sheetXml, std::string* badCell) {
  TSheetCells found;
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  ForEachSheetCell(sheetXml, [&](std::string_view tag, std::string_view content, std::size_t) {
    if (content.find("<f") != std::string_view::npos) return;  // a formula, maybe with its cached result
    // The value: the text of <v>...</v>, without the XML blanks around it.
    std::string_view value;
    bool hasValue = false;
    bool plain = false;  // <v> itself, not <v xml:space=...>, stands for a number
    if (const std::size_t open = content.find("<v"); open != std::string_view::npos) {
      plain = content.compare(open, 3, "<v>") == 0;
      const std::size_t start = plain ? open + 2 : content.find('>', open);
      const std::size_t end = content.find("</v>", open);
      if (start != std::string_view::npos && content[start - 1] != '/' && end != std::string_view::npos &&
          end > start) {
        value = content.substr(start + 1, end - start - 1);
        while (!value.empty() && blank(value.front())) value.remove_prefix(1);
        while (!value.empty() && blank(value.back())) value.remove_suffix(1);
        hasValue = !value.empty();
      }
    }
    if (hasValue) {
      const std::string_view type = TagAttribute(tag, "t");
      if (!type.empty() && type != "n") return;
      if (!plain) return;
      int row = 0;
      int col = 0;
      if (!CellOfReference(TagAttribute(tag, "r"), row, col)) return;
      // from_chars takes no leading '+'; a sign of the file is allowed.
      if (value.front() == '+') value.remove_prefix(1);
      double number = 0;
      const auto [stop, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
      if (ec == std::errc() && stop == value.data() + value.size() && std::isfinite(number)) {
        found.Numbers.Add(CellKey(row, col), number);
      } else if (badCell != nullptr && badCell->empty()) {
        *badCell = CellName(row, col);
      }
      return;
    }
    if (content.find("<is") != std::string_view::npos) return;  // an inline text
    const std::string_view xf = TagAttribute(tag, "s");
    int index = 0;
    if (std::from_chars(xf.data(), xf.data() + xf.size(), index).ec != std::errc() || index <= 0) return;
    int row = 0;
    int col = 0;
    if (CellOfReference(TagAttribute(tag, "r"), row, col)) found.FormattedEmpty.push_back({row, col, index});
  });
  found.Numbers.Finish();
  return found;
}

std::set<int> ScanHiddenRows(std::string_view sheetXml) {
  std::set<int> rows;
  static constexpr std::string_view kHidden = "hidden=";
  for (std::size_t at = sheetXml.find(kHidden); at != std::string_view::npos;
       at = sheetXml.find(kHidden, at + kHidden.size())) {
    const std::size_t open = sheetXml.rfind('<', at);
    if (open == std::string_view::npos || sheetXml.compare(open, 4, "<row") != 0) continue;
    const std::size_t end = XmlTagEnd(sheetXml, open);
    if (end == std::string_view::npos || end < at) continue;
    const std::string_view tag = sheetXml.substr(open + 4, end - open - 4);
    const std::string_view hidden = TagAttribute(tag, "hidden");
    if (hidden != "1" && hidden != "true") continue;
    const std::string_view number = TagAttribute(tag, "r");
    int row = 0;
    const auto [stop, ec] = std::from_chars(number.data(), number.data() + number.size(), row);
    if (ec == std::errc() && stop == number.data() + number.size() && row >= 1 && row <= kMaxRows) rows.insert(row);
  }
  return rows;
}

}  // namespace kvx::workbook
