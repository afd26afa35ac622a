#include "platform/workbook/page_layout.h"

#include <algorithm>
#include <cmath>

#include "platform/workbook/text_span.h"

namespace kvx::workbook {

void PaperSize(int paperCode, double& width, double& height) {
  if (paperCode == 1) {
    width = 612.0;
    height = 792.0;
  } else {
    width = 595.2756;   // 210 mm
    height = 841.8898;  // 297 mm
  }
}

double ColumnPoints(const TSheetData& sheet, int col, double characterPoints) {
  if (sheet.HiddenCols.count(col) != 0) return 0.0;
  const double width = sheet.ColWidth(col);
  return width <= 0.0 ? 0.0 : width * characterPoints + 5.0 * 72.0 / 96.0;
}

double RowPoints(const TSheetData& sheet, int row) {
  if (sheet.HiddenRows.count(row) != 0) return 0.0;
  return sheet.RowHeight(row);
}

namespace {

// Splits lines first..last into bands that fit `room` at `scale`, breaking
// after lines in `breaks` as well. Every band holds at least one line.
std::vector<std::pair<int, int>> Bands(int first, int last, double room, double scale,
                                       const std::function<double(int)>& size, const std::set<int>& breaks) {
  std::vector<std::pair<int, int>> bands;
  int start = first;
  double used = 0.0;
  for (int line = first; line <= last; ++line) {
    const double s = size(line) * scale;
    if (line > start && used + s > room + 1e-9) {
      bands.emplace_back(start, line - 1);
      start = line;
      used = 0.0;
    }
    used += s;
    if (breaks.count(line) != 0 && line < last) {
      bands.emplace_back(start, line);
      start = line + 1;
      used = 0.0;
    }
  }
  if (start <= last) bands.emplace_back(start, last);
  return bands;
}

// The last column of the used area, taking in the empty cells beyond it
// that a text is shown across (run on or centred across, TextSpan), measured
// at the print scale. Only the last cell with contents of a row can reach
// beyond the used area.
int LastPrintedCol(const TWorkbook& book, int sheet, double scale, const TPrintedTextWidth& textWidth) {
  const TSheetData& data = book.SheetData(sheet);
  const double character = book.CharacterPoints();
  const TTextRoom room{[&data, scale, character](int c) { return ColumnPoints(data, c, character) * scale; },
                       kCellPaddingPoints * scale};
  int last = data.LastCol();
  for (int r = 1; r <= static_cast<int>(data.Rows.size()); ++r) {
    const int c = data.LastColForRow(r);
    if (c == 0) continue;
    const TCell& cell = data.Rows[r - 1][c - 1];
    const bool number =
        cell.Kind == TCellKind::Number || (cell.Kind == TCellKind::Formula && cell.Result == TFormulaResult::Number);
    const double width = number ? 0.0 : textWidth(book.TextOn(sheet, r, c), book.StyleAt(sheet, r, c).Font, scale);
    last = std::max(last, TextSpan(book, sheet, r, c, width, room).Last);
  }
  return last;
}

}  // namespace

TPageLayout LayoutPages(const TWorkbook& book, int sheet, double paperWidth, double paperHeight,
                        const TPrintedTextWidth& textWidth, double headingWidth, double headingHeight) {
  TPageLayout layout;
  layout.CharacterPoints = book.CharacterPoints();
  const double character = layout.CharacterPoints;
  const TSheetData& data = book.SheetData(sheet);
  const TPageSetup& page = data.Page;
  if (const auto area = book.PrintArea(sheet)) {
    layout.Area = *area;
  } else {
    if (data.LastRow() == 0) return layout;
    // Texts measured at the scale they are printed at; fitted to pages, at
    // full size, the scale following from the area.
    const double scale = page.FitToPages ? 1.0 : std::clamp(page.ScalePercent, 10, 400) / 100.0;
    const TPrintedTextWidth measure =
        textWidth ? textWidth : [&book](const std::string& text, const TCellFont& font, double factor) {
          return book.MeasureText(text, font) * book.CharacterPoints() * factor;
        };
    layout.Area = TRange{1, 1, data.LastRow(), std::max(1, LastPrintedCol(book, sheet, scale, measure))};
  }
  layout.PrintableWidth =
      std::max(36.0, paperWidth - (page.LeftMargin + page.RightMargin) * 72.0 - (page.RowHeading ? headingWidth : 0.0));
  layout.PrintableHeight = std::max(
      36.0, paperHeight - (page.TopMargin + page.BottomMargin) * 72.0 - (page.ColHeading ? headingHeight : 0.0));
  const TRange& a = layout.Area;
  if (page.FitToPages) {
    double width = 0.0;
    double height = 0.0;
    for (int c = a.Col1; c <= a.Col2; ++c) width += ColumnPoints(data, c, character);
    for (int r = a.Row1; r <= a.Row2; ++r) height += RowPoints(data, r);
    double scale = 1.0;
    if (page.PagesWide > 0 && width > 0) scale = std::min(scale, layout.PrintableWidth * page.PagesWide / width);
    if (page.PagesTall > 0 && height > 0) scale = std::min(scale, layout.PrintableHeight * page.PagesTall / height);
    // Rounding of whole lines may need a little more room.
    layout.Scale = std::max(0.1, scale * 0.999);
  } else {
    layout.Scale = std::clamp(page.ScalePercent, 10, 400) / 100.0;
  }
  const auto colBands = Bands(
      a.Col1, a.Col2, layout.PrintableWidth, layout.Scale, [&](int c) { return ColumnPoints(data, c, character); },
      data.ColBreaks);
  const auto rowBands = Bands(
      a.Row1, a.Row2, layout.PrintableHeight, layout.Scale, [&](int r) { return RowPoints(data, r); }, data.RowBreaks);
  if (page.LeftToRight) {
    for (const auto& rows : rowBands) {
      for (const auto& cols : colBands)
        layout.Pages.push_back(TRange{rows.first, cols.first, rows.second, cols.second});
    }
  } else {
    for (const auto& cols : colBands) {
      for (const auto& rows : rowBands)
        layout.Pages.push_back(TRange{rows.first, cols.first, rows.second, cols.second});
    }
  }
  return layout;
}

}  // namespace kvx::workbook
