#include "platform/workbook/page_layout.h"

#include <algorithm>
#include <cmath>

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

double ColumnPoints(const TSheetData& sheet, int col) {
  if (sheet.HiddenCols.count(col) != 0) return 0.0;
  const double width = sheet.ColWidth(col);
  return width <= 0.0 ? 0.0 : (width * 7.0 + 5.0) * 72.0 / 96.0;
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

// The last column of the used area, taking in the empty cells a text
// centred across the selection spans: those to its right that carry the
// code too, also where their columns hold nothing else on the sheet.
int LastPrintedCol(const TWorkbook& book, int sheet) {
  constexpr int kCentreAcross = 7;
  const TSheetData& data = book.SheetData(sheet);
  int last = data.LastCol();
  for (int r = 1; r <= static_cast<int>(data.Rows.size()); ++r) {
    const auto& cells = data.Rows[r - 1];
    for (int c = 1; c <= static_cast<int>(cells.size()); ++c) {
      if (cells[c - 1].Kind == TCellKind::Empty || book.StyleAt(sheet, r, c).Alignment.Horizontal != kCentreAcross)
        continue;
      int end = c;
      while (end < kMaxCols && data.CellAt(r, end + 1) != nullptr &&
             data.CellAt(r, end + 1)->Kind == TCellKind::Empty &&
             book.StyleAt(sheet, r, end + 1).Alignment.Horizontal == kCentreAcross) {
        ++end;
      }
      last = std::max(last, end);
    }
  }
  return last;
}

}  // namespace

TPageLayout LayoutPages(const TWorkbook& book, int sheet, double paperWidth, double paperHeight, double headingWidth,
                        double headingHeight) {
  TPageLayout layout;
  const TSheetData& data = book.SheetData(sheet);
  const TPageSetup& page = data.Page;
  if (const auto area = book.PrintArea(sheet)) {
    layout.Area = *area;
  } else {
    if (data.LastRow() == 0) return layout;
    layout.Area = TRange{1, 1, data.LastRow(), std::max(1, LastPrintedCol(book, sheet))};
  }
  layout.PrintableWidth =
      std::max(36.0, paperWidth - (page.LeftMargin + page.RightMargin) * 72.0 - (page.RowHeading ? headingWidth : 0.0));
  layout.PrintableHeight = std::max(
      36.0, paperHeight - (page.TopMargin + page.BottomMargin) * 72.0 - (page.ColHeading ? headingHeight : 0.0));
  const TRange& a = layout.Area;
  if (page.FitToPages) {
    double width = 0.0;
    double height = 0.0;
    for (int c = a.Col1; c <= a.Col2; ++c) width += ColumnPoints(data, c);
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
      a.Col1, a.Col2, layout.PrintableWidth, layout.Scale, [&](int c) { return ColumnPoints(data, c); },
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
