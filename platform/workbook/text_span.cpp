#include "platform/workbook/text_span.h"

namespace kvx::workbook {

namespace {

constexpr int kGeneral = 1;
constexpr int kLeft = 2;
constexpr int kRight = 4;
constexpr int kCentreAcross = 7;

bool EmptyCell(const TSheetData& data, int row, int col) {
  const TCell* cell = data.CellAt(row, col);
  return cell == nullptr || cell->Kind == TCellKind::Empty;
}

// Which way the text of a cell runs on when it is too wide: +1 to the
// right, -1 to the left, 0 not at all.
int RunDirection(const TCell& cell, const TAlignment& alignment, bool numbersRunOn) {
  if (TWorkbook::Wraps(alignment) || alignment.Orientation != 0) return 0;
  const bool number =
      cell.Kind == TCellKind::Number || (cell.Kind == TCellKind::Formula && cell.Result == TFormulaResult::Number);
  if (number && !numbersRunOn) return 0;
  const bool error = cell.Kind == TCellKind::Formula && cell.Result == TFormulaResult::Error;
  const int code = alignment.Horizontal < kGeneral ? kGeneral : alignment.Horizontal;
  if (code == kLeft || (code == kGeneral && !error)) return 1;
  return code == kRight ? -1 : 0;
}

}  // namespace

TTextSpan TextSpan(const TWorkbook& book, int sheet, int row, int col, double textWidth, const TTextRoom& room) {
  TTextSpan span{col, col};
  const TSheetData& data = book.SheetData(sheet);
  const TCell* cell = data.CellAt(row, col);
  if (cell == nullptr || cell->Kind == TCellKind::Empty) return span;
  const TAlignment& alignment = book.StyleAt(sheet, row, col).Alignment;
  if (alignment.Horizontal == kCentreAcross) {
    while (span.Last < kMaxCols && EmptyCell(data, row, span.Last + 1) &&
           book.StyleAt(sheet, row, span.Last + 1).Alignment.Horizontal == kCentreAcross) {
      ++span.Last;
    }
    return span;
  }
  const int direction = RunDirection(*cell, alignment, room.NumbersRunOn);
  if (direction == 0) return span;
  double available = room.ColumnWidth(col) - 2.0 * room.Padding;
  int& edge = direction > 0 ? span.Last : span.First;
  while (textWidth > available) {
    const int next = edge + direction;
    if (next < 1 || next > kMaxCols || !EmptyCell(data, row, next)) break;
    edge = next;
    available += room.ColumnWidth(next);
  }
  return span;
}

std::optional<int> TextReaching(const TWorkbook& book, int sheet, int row, int col, int direction,
                                const TTextRoom& room, const std::function<double(int col)>& textWidth) {
  const TSheetData& data = book.SheetData(sheet);
  if (!EmptyCell(data, row, col)) return std::nullopt;
  const int step = direction < 0 ? -1 : 1;
  const int end = step < 0 ? 0 : data.LastColForRow(row) + 1;
  for (int c = col + step; step < 0 ? c > end : c < end; c += step) {
    if (EmptyCell(data, row, c)) continue;
    const TTextSpan span = TextSpan(book, sheet, row, c, textWidth(c), room);
    if (span.First <= col && col <= span.Last) return c;
    return std::nullopt;
  }
  return std::nullopt;
}

std::vector<std::string> WrapText(const std::string& text, double width,
                                  const std::function<double(const std::string& line)>& measure) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find('\n', start);
    const std::string paragraph = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    std::string line;
    std::size_t at = 0;
    while (at < paragraph.size()) {
      const std::size_t blank = paragraph.find(' ', at);
      const std::string word = paragraph.substr(at, blank == std::string::npos ? std::string::npos : blank - at);
      at = blank == std::string::npos ? paragraph.size() : blank + 1;
      if (word.empty()) continue;
      if (!line.empty() && measure(line + ' ' + word) > width) {
        lines.push_back(line);
        line.clear();
      }
      line += line.empty() ? word : ' ' + word;
    }
    lines.push_back(line);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

}  // namespace kvx::workbook
