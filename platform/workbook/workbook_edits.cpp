// The workbook's edits: clearing, cut, copy and paste, cell styles and
// column and row sizes.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/workbook/formula_engine.h"
#include "platform/workbook/text_and_range_helpers.h"
#include "platform/workbook/text_span.h"
#include "platform/workbook/workbook.h"

namespace kvx::workbook {

using internal::ClipToUsed;
using internal::Lowered;
using internal::ValidCell;

// ------------------------------------------------------------------ clear

void TWorkbook::ClearRange(int row1, int col1, int row2, int col2, int kind) {
  if (kind < 1 || kind > 3) return;
  const TRange range = Resolve(row1, col1, row2, col2, true);
  TSheetData& sheet = MutableCurrent();
  const int lastRow = std::min(range.Row2, static_cast<int>(sheet.Rows.size()));
  for (int r = range.Row1; r <= lastRow; ++r) {
    auto& cells = sheet.Rows[r - 1];
    const int lastCol = std::min(range.Col2, static_cast<int>(cells.size()));
    for (int c = range.Col1; c <= lastCol; ++c) {
      TCell& cell = cells[c - 1];
      if (kind == 1 || kind == 3) {
        cell.Kind = TCellKind::Empty;
        cell.Text.clear();
        cell.Formula.clear();
        cell.Number = 0.0;
      }
      if (kind == 1 || kind == 2) cell.Style = 0;
    }
  }
  ContentChanged();
}

void TWorkbook::EditClear(int kind) {
  const auto selection = CurrentSheetData().Selection;
  for (const TRange& r : selection) {
    const bool wholeCols = r.Row1 == 1 && r.Row2 == kMaxRows;
    const bool wholeRows = r.Col1 == 1 && r.Col2 == kMaxCols;
    ClearRange(r.Row1, r.Col1, wholeCols ? -1 : r.Row2, wholeRows ? -1 : r.Col2, kind);
  }
}

// ---------------------------------------------------- cut, copy and paste

void TWorkbook::EditCopy() {
  const TSheetData& sheet = CurrentSheetData();
  const TRange range = ClipToUsed(sheet.Selection.front(), sheet);
  TClipboard clip;
  clip.Rows = range.RowCount();
  clip.Cols = range.ColCount();
  clip.SourceRow = range.Row1;
  clip.SourceCol = range.Col1;
  clip.Cells.assign(clip.Rows, std::vector<TCell>(clip.Cols));
  if (recalcNeeded_) Recalculate();
  for (int r = 0; r < clip.Rows; ++r) {
    for (int c = 0; c < clip.Cols; ++c) {
      if (const TCell* cell = sheet.CellAt(range.Row1 + r, range.Col1 + c)) clip.Cells[r][c] = *cell;
    }
  }
  clipboard_ = std::move(clip);
}

void TWorkbook::EditCut() {
  EditCopy();
  const TRange& r = clipboard_.has_value() ? TRange{clipboard_->SourceRow, clipboard_->SourceCol,
                                                    clipboard_->SourceRow + clipboard_->Rows - 1,
                                                    clipboard_->SourceCol + clipboard_->Cols - 1}
                                           : TRange{};
  ClearRange(r.Row1, r.Col1, r.Row2, r.Col2, 1);
}

void TWorkbook::EditPaste() {
  if (!clipboard_) return;
  const int row0 = CurrentSheetData().ActiveRow;
  const int col0 = CurrentSheetData().ActiveCol;
  const int dr = row0 - clipboard_->SourceRow;
  const int dc = col0 - clipboard_->SourceCol;
  TSheetData& sheet = MutableCurrent();
  for (int r = 0; r < clipboard_->Rows; ++r) {
    for (int c = 0; c < clipboard_->Cols; ++c) {
      if (!ValidCell(row0 + r, col0 + c)) continue;
      TCell cell = clipboard_->Cells[r][c];
      if (cell.Kind == TCellKind::Formula) {
        cell.Formula = MoveRelativeReferences(cell.Formula, dr, dc);
        hasFormulas_ = true;
      }
      CellRef(sheet, row0 + r, col0 + c) = std::move(cell);
    }
  }
  sheet.Selection = {TRange{row0, col0, std::min(kMaxRows, row0 + clipboard_->Rows - 1),
                            std::min(kMaxCols, col0 + clipboard_->Cols - 1)}};
  ContentChanged();
  Notify(TChange::Selection);
}

std::string TWorkbook::ClipboardText() const {
  if (!clipboard_) return {};
  std::string text;
  const TSheetData& sheet = CurrentSheetData();
  for (int r = 0; r < clipboard_->Rows; ++r) {
    for (int c = 0; c < clipboard_->Cols; ++c) {
      if (c > 0) text += '\t';
      text += DisplayText(sheet, clipboard_->Cells[r][c]);
    }
    text += "\r\n";
  }
  return text;
}

void TWorkbook::PasteText(std::string_view text) {
  const int row0 = CurrentSheetData().ActiveRow;
  const int col0 = CurrentSheetData().ActiveCol;
  int r = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    int c = 0;
    std::size_t fieldStart = 0;
    while (true) {
      const std::size_t tab = line.find('\t', fieldStart);
      const std::string_view field =
          line.substr(fieldStart, tab == std::string_view::npos ? line.npos : tab - fieldStart);
      if (!field.empty()) SetEntry(row0 + r, col0 + c, field);
      ++c;
      if (tab == std::string_view::npos) break;
      fieldStart = tab + 1;
    }
    ++r;
    start = end + 1;
  }
}

// ----------------------------------------------------------------- styles

std::uint32_t TWorkbook::StyleIndex(const TCellStyle& style) {
  const std::string key = StyleKey(style);
  const auto it = styleIndex_.find(key);
  if (it != styleIndex_.end()) return it->second;
  const auto index = static_cast<std::uint32_t>(styles_.size());
  styles_.push_back(style);
  styleIndex_.emplace(key, index);
  return index;
}

const TCellStyle& TWorkbook::StyleAt(int sheet, int row, int col) const {
  const TCell* cell = SheetData(sheet).CellAt(row, col);
  return styles_[cell ? cell->Style : 0];
}

void TWorkbook::ModifyStyle(const TRange& range, const std::function<void(TCellStyle&)>& change) {
  TSheetData& sheet = MutableCurrent();
  const TRange clipped = ClipToUsed(range, sheet);
  std::unordered_map<std::uint32_t, std::uint32_t> mapped;  // old style -> new style
  for (int r = clipped.Row1; r <= clipped.Row2; ++r) {
    for (int c = clipped.Col1; c <= clipped.Col2; ++c) {
      TCell& cell = CellRef(sheet, r, c);
      auto it = mapped.find(cell.Style);
      if (it == mapped.end()) {
        TCellStyle style = styles_[cell.Style];
        change(style);
        it = mapped.emplace(cell.Style, StyleIndex(style)).first;
      }
      DropSourceOnNewFormat(cell, it->second);
      cell.Style = it->second;
    }
  }
}

void TWorkbook::DropSourceOnNewFormat(TCell& cell, std::uint32_t style) const {
  // A cell shown in another number format is written as shown, no longer
  // as its file had it.
  if (styles_[cell.Style].NumberFormat != styles_[style].NumberFormat) cell.Source = 0;
}

std::string TWorkbook::NumberFormat() const {
  return LocalFormat(StyleAt(current_, Row(), Col()).NumberFormat, Locale());
}

void TWorkbook::SetNumberFormat(std::string_view localPattern) {
  std::string canonical = CanonicalFormat(localPattern, Locale());
  std::string lower = Lowered(canonical);
  if (lower == "general" || lower == "standard") canonical.clear();
  for (const TRange& range : std::vector<TRange>(CurrentSheetData().Selection)) {
    ModifyStyle(range, [&](TCellStyle& s) { s.NumberFormat = canonical; });
  }
  ContentChanged();
}

void TWorkbook::SetCellNumberFormat(int row, int col, std::string_view localPattern) {
  if (!ValidCell(row, col)) return;
  TCell& cell = CellRef(MutableCurrent(), row, col);
  const TFormatLocale locale = Locale();
  std::string& key = formatKey_;  // reused: no allocation per cell
  key.clear();
  char number[16];
  key.append(number, std::to_chars(number, number + sizeof number, cell.Style).ptr);
  key += '\x1f';
  key += localPattern;
  key += locale.Decimal;
  key += locale.Thousands;
  auto it = numberFormatCache_.find(key);
  if (it == numberFormatCache_.end()) {
    TCellStyle style = styles_[cell.Style];
    style.NumberFormat = CanonicalFormat(localPattern, locale);
    const std::string lower = Lowered(style.NumberFormat);
    if (lower == "general" || lower == "standard") style.NumberFormat.clear();
    it = numberFormatCache_.emplace(key, StyleIndex(style)).first;
  }
  if (cell.Style != it->second) {
    DropSourceOnNewFormat(cell, it->second);
    cell.Style = it->second;
    ContentChanged();
  }
}

TAlignment TWorkbook::Alignment() const { return StyleAt(current_, Row(), Col()).Alignment; }

void TWorkbook::SetAlignment(const TAlignment& alignment) {
  TAlignment a = alignment;
  a.Horizontal = std::clamp(a.Horizontal, 1, 7);
  a.Vertical = std::clamp(a.Vertical, 1, 3);
  a.Orientation = std::clamp(a.Orientation, 0, 3);
  for (const TRange& range : std::vector<TRange>(CurrentSheetData().Selection)) {
    ModifyStyle(range, [&](TCellStyle& s) { s.Alignment = a; });
  }
  ContentChanged();
}

TCellFont TWorkbook::Font() const { return StyleAt(current_, Row(), Col()).Font; }

int TWorkbook::FontSizeTwips() const { return static_cast<int>(std::lround(Font().Size * 20.0)); }

void TWorkbook::SetFont(const TCellFont& font) {
  TCellFont f = font;
  f.Size = std::clamp(f.Size, 1.0, 409.0);
  if (f.Face.empty()) f.Face = "Arial";
  for (const TRange& range : std::vector<TRange>(CurrentSheetData().Selection)) {
    ModifyStyle(range, [&](TCellStyle& s) { s.Font = f; });
  }
  ContentChanged();
}

TBorders TWorkbook::Borders() const { return StyleAt(current_, Row(), Col()).Borders; }

void TWorkbook::SetBorders(const TBorders& borders) {
  for (const TRange& range : std::vector<TRange>(CurrentSheetData().Selection)) {
    ModifyStyle(range, [&](TCellStyle& s) { s.Borders = borders; });
  }
  ContentChanged();
}

void TWorkbook::SetOutlineBorder(const TBorderLine& line) {
  const TSheetData& sheet = CurrentSheetData();
  for (const TRange& selected : std::vector<TRange>(sheet.Selection)) {
    const TRange r = ClipToUsed(selected, CurrentSheetData());
    ModifyStyle(TRange{r.Row1, r.Col1, r.Row1, r.Col2}, [&](TCellStyle& s) { s.Borders.Top = line; });
    ModifyStyle(TRange{r.Row2, r.Col1, r.Row2, r.Col2}, [&](TCellStyle& s) { s.Borders.Bottom = line; });
    ModifyStyle(TRange{r.Row1, r.Col1, r.Row2, r.Col1}, [&](TCellStyle& s) { s.Borders.Left = line; });
    ModifyStyle(TRange{r.Row1, r.Col2, r.Row2, r.Col2}, [&](TCellStyle& s) { s.Borders.Right = line; });
  }
  ContentChanged();
}

TPattern TWorkbook::Pattern() const { return StyleAt(current_, Row(), Col()).Pattern; }

void TWorkbook::SetPattern(const TPattern& pattern) {
  TPattern p = pattern;
  p.Pattern = std::clamp(p.Pattern, 0, 18);
  for (const TRange& range : std::vector<TRange>(CurrentSheetData().Selection)) {
    ModifyStyle(range, [&](TCellStyle& s) { s.Pattern = p; });
  }
  ContentChanged();
}

TProtection TWorkbook::Protection() const { return StyleAt(current_, Row(), Col()).Protection; }

void TWorkbook::SetProtection(bool locked, bool hidden) {
  for (const TRange& range : std::vector<TRange>(CurrentSheetData().Selection)) {
    ModifyStyle(range, [&](TCellStyle& s) { s.Protection = TProtection{locked, hidden}; });
  }
  ContentChanged();
}

// ------------------------------------------------------------------ sizes

namespace {

// Sizes the lines first..last, or every line with `all`: each its own size,
// or with `asDefault` the default size, which the lines then take.
void SizeLines(std::map<int, double>& sizes, double& defaultSize, bool all, int first, int last, double size,
               bool asDefault) {
  if (all) {
    defaultSize = size;
    sizes.clear();
  } else if (asDefault) {
    defaultSize = size;
    for (int line = first; line <= last; ++line) sizes.erase(line);
  } else {
    for (int line = first; line <= last; ++line) sizes[line] = size;
  }
}

// Hides the lines first..last, or shows them.
void HideLines(std::set<int>& hiddenLines, int first, int last, bool hidden) {
  for (int line = first; line <= last; ++line) {
    if (hidden)
      hiddenLines.insert(line);
    else
      hiddenLines.erase(line);
  }
}

}  // namespace

void TWorkbook::SetColWidth(int col1, int col2, double width, bool asDefault) {
  if (!std::isfinite(width)) return;
  width = std::clamp(width, 0.0, 255.0);
  TSheetData& sheet = MutableCurrent();
  const bool all = col1 < 1 && col2 < 1;
  const TRange r = all ? TRange{} : Resolve(1, col1, 1, col2, false);
  SizeLines(sheet.ColWidths, sheet.DefaultColWidth, all, r.Col1, r.Col2, width, asDefault);
  Changed(TChange::Structure);
}

void TWorkbook::SetRowHeight(int row1, int row2, double height, bool asDefault) {
  if (!std::isfinite(height)) return;
  height = std::clamp(height, 0.0, 409.0);
  TSheetData& sheet = MutableCurrent();
  const bool all = row1 < 1 && row2 < 1;
  const TRange r = all ? TRange{} : Resolve(row1, 1, row2, 1, false);
  const int last = std::min(r.Row2, std::max(r.Row1, static_cast<int>(sheet.Rows.size()) + 1000));
  SizeLines(sheet.RowHeights, sheet.DefaultRowHeight, all, r.Row1, last, height, asDefault);
  Changed(TChange::Structure);
}

double TWorkbook::MeasureText(const std::string& text, const TCellFont& font) const {
  if (measurer_) return measurer_(text, font);
  // Without a view: count characters (not bytes) scaled by the font size
  // relative to 10 points, bold a little wider.
  double count = 0.0;
  for (unsigned char c : text) {
    if ((c & 0xC0) != 0x80) count += 1.0;
  }
  return count * font.Size / 10.0 * (font.Bold ? 1.1 : 1.0);
}

std::vector<std::string> TWorkbook::WrappedLines(int sheet, int row, int col, const std::string& text) const {
  const TCellFont& font = StyleAt(sheet, row, col).Font;
  // A character's room to spare, so that the small differences between
  // the screen's and the printer's fonts break no line differently.
  const double width = std::max(1.0, SheetData(sheet).ColWidth(col) - 1.0);
  return WrapText(text, width, [this, &font](const std::string& line) { return MeasureText(line, font); });
}

void TWorkbook::SetColWidthAuto(int row1, int col1, int row2, int col2) { FitColWidths(row1, col1, row2, col2, false); }

void TWorkbook::WidenColsToFit(int row1, int col1, int row2, int col2) { FitColWidths(row1, col1, row2, col2, true); }

void TWorkbook::FitColWidths(int row1, int col1, int row2, int col2, bool widenOnly) {
  const TRange range = Resolve(row1, col1, row2, col2, true);
  const TSheetData& source = CurrentSheetData();
  // Widest text per column of the range (-1: no cell in it).
  const int firstCol = std::max(range.Col1, 1);
  std::vector<double> widths(static_cast<std::size_t>(std::max(range.Col2 - firstCol + 1, 0)), -1.0);
  const int lastRow = std::min(range.Row2, static_cast<int>(source.Rows.size()));
  for (int r = range.Row1; r <= lastRow; ++r) {
    const auto& cells = source.Rows[r - 1];
    const int lastCol = std::min(range.Col2, static_cast<int>(cells.size()));
    for (int c = firstCol; c <= lastCol; ++c) {
      const TCell& cell = cells[c - 1];
      if (cell.Kind == TCellKind::Empty) continue;
      const double w = MeasureText(DisplayText(source, cell), styles_[cell.Style].Font) + 1.0;
      double& widest = widths[static_cast<std::size_t>(c - firstCol)];
      widest = std::max(widest, w);
    }
  }
  if (std::all_of(widths.begin(), widths.end(), [](double w) { return w < 0; })) return;
  TSheetData& sheet = MutableCurrent();
  bool changed = false;
  for (std::size_t i = 0; i < widths.size(); ++i) {
    if (widths[i] < 0) continue;
    const int col = firstCol + static_cast<int>(i);
    const double width = std::clamp(widths[i], 1.0, 255.0);
    if (widenOnly && width <= sheet.ColWidth(col)) continue;
    sheet.ColWidths[col] = width;
    changed = true;
  }
  if (changed) Changed(TChange::Structure);
}

void TWorkbook::SetRowHeightAuto(int row1, int col1, int row2, int col2) {
  const TRange range = Resolve(row1, col1, row2, col2, true);
  TSheetData& sheet = MutableCurrent();
  const int lastRow = std::min(range.Row2, std::max(static_cast<int>(sheet.Rows.size()), range.Row1));
  for (int r = range.Row1; r <= lastRow; ++r) {
    double points = 0.0;
    if (r <= static_cast<int>(sheet.Rows.size())) {
      const auto& cells = sheet.Rows[r - 1];
      const int lastCol = std::min(range.Col2, static_cast<int>(cells.size()));
      for (int c = range.Col1; c <= lastCol; ++c) {
        const TCell& cell = cells[c - 1];
        const TCellStyle& style = styles_[cell.Style];
        std::size_t lines = 1;
        if (Wraps(style.Alignment) && cell.Kind != TCellKind::Empty)
          lines = WrappedLines(current_, r, c, DisplayText(sheet, cell)).size();
        if (cell.Kind != TCellKind::Empty || cell.Style != 0)
          points = std::max(points, style.Font.Size * kLinePitch * static_cast<double>(lines));
      }
    }
    if (points <= 0.0) {
      sheet.RowHeights.erase(r);
    } else {
      sheet.RowHeights[r] = std::min(409.0, points);
    }
  }
  Changed(TChange::Structure);
}

void TWorkbook::SetColHidden(int col1, int col2, bool hidden) {
  const TRange r = Resolve(1, col1, 1, col2, true);
  HideLines(MutableCurrent().HiddenCols, r.Col1, r.Col2, hidden);
  Changed(TChange::Structure);
}

void TWorkbook::SetRowHidden(int row1, int row2, bool hidden) {
  const TRange r = Resolve(row1, 1, row2, 1, true);
  HideLines(MutableCurrent().HiddenRows, r.Row1, r.Row2, hidden);
  Changed(TChange::Structure);
}

void TWorkbook::SetFixedRows(int rows) {
  rows = std::clamp(rows, 0, kMaxRows - 1);
  if (rows == FixedRows()) return;
  MutableCurrent().FixedRows = rows;
  Notify(TChange::View);
}

void TWorkbook::SetFixedCols(int cols) {
  cols = std::clamp(cols, 0, kMaxCols - 1);
  if (cols == FixedCols()) return;
  MutableCurrent().FixedCols = cols;
  Notify(TChange::View);
}

}  // namespace kvx::workbook
