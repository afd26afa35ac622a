// Inserting and deleting cells, rows and columns, and the shifting of the
// references (formulas, names, selections, breaks) that goes with it.
#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/workbook/formula_engine.h"
#include "platform/workbook/text_and_range_helpers.h"
#include "platform/workbook/workbook.h"

namespace kvx::workbook {

using internal::Lowered;

// ------------------------------------------------- insert and delete cells

namespace {

// The keys of `map` after `count` lines were inserted or deleted at `at`;
// an insertion drops what it pushes beyond `last`, the sheet's last line.
template <typename T>
std::map<int, T> ShiftKeys(const std::map<int, T>& map, int at, int count, bool insert, int last) {
  std::map<int, T> shifted;
  for (const auto& [key, value] : map) {
    if (key < at) {
      shifted.emplace(key, value);
    } else if (insert) {
      if (key + count <= last) shifted.emplace(key + count, value);
    } else if (key >= at + count) {
      shifted.emplace(key - count, value);
    }
  }
  return shifted;
}

std::set<int> ShiftSet(const std::set<int>& set, int at, int count, bool insert, int last) {
  std::set<int> shifted;
  for (int key : set) {
    if (key < at) {
      shifted.insert(key);
    } else if (insert) {
      if (key + count <= last) shifted.insert(key + count);
    } else if (key >= at + count) {
      shifted.insert(key - count);
    }
  }
  return shifted;
}

// Moves one coordinate (row or column) of a reference after `count` lines
// were inserted (count > 0) or deleted (count < 0) at `at`. Returns false
// when the line was deleted.
bool ShiftCoordinate(int& value, int at, int count) {
  if (count > 0) {
    if (value >= at) value += count;
    return true;
  }
  const int removed = -count;
  if (value >= at + removed) {
    value -= removed;
    return true;
  }
  return value < at;
}

}  // namespace

void TWorkbook::ShiftReferences(int sheetId, bool rows, int at, int count, const TRange& band) {
  // band: the columns (for row shifts) or rows (for column shifts) that
  // moved; a reference moves only when it lies wholly inside the band.
  std::string sheetName;
  for (const auto& s : sheets_) {
    if (s->Id == sheetId) sheetName = Lowered(s->Name);
  }
  auto inBand = [&](const TRefPoint& a, const TRefPoint* b) {
    const int lo = rows ? band.Col1 : band.Row1;
    const int hi = rows ? band.Col2 : band.Row2;
    const int v1 = rows ? a.Col : a.Row;
    const int v2 = b ? (rows ? b->Col : b->Row) : v1;
    return std::min(v1, v2) >= lo && std::max(v1, v2) <= hi;
  };
  for (int s = 1; s <= NumSheets(); ++s) {
    const bool ownSheet = sheets_[s - 1]->Id == sheetId;
    bool any = false;
    for (const auto& row : sheets_[s - 1]->Rows) {
      for (const auto& cell : row) any = any || cell.Kind == TCellKind::Formula;
    }
    if (!any) continue;
    TSheetData& data = Mutable(s);
    for (auto& row : data.Rows) {
      for (auto& cell : row) {
        if (cell.Kind != TCellKind::Formula) continue;
        cell.Formula = RewriteReferences(cell.Formula, [&](const std::string& prefix, TRefPoint& a, TRefPoint* b) {
          const bool refersHere = prefix.empty() ? ownSheet : Lowered(prefix) == sheetName;
          if (!refersHere || !inBand(a, b)) return true;
          if (b == nullptr) return rows ? ShiftCoordinate(a.Row, at, count) : ShiftCoordinate(a.Col, at, count);
          int& lo = rows ? a.Row : a.Col;
          int& hi = rows ? b->Row : b->Col;
          if (count > 0) {
            ShiftCoordinate(lo, at, count);
            ShiftCoordinate(hi, at, count);
            return true;
          }
          // A deleted block inside a range shrinks it.
          const int removed = -count;
          int first = std::min(lo, hi);
          int last = std::max(lo, hi);
          if (first >= at && last < at + removed) return false;
          if (last >= at + removed)
            last -= removed;
          else if (last >= at)
            last = at - 1;
          if (first >= at + removed)
            first -= removed;
          else if (first >= at)
            first = at;
          lo = first;
          hi = last;
          return true;
        });
      }
    }
  }
  // Defined names on the sheet move as well (a deleted name range keeps
  // its place, shrunk).
  for (auto& name : names_) {
    if (name.SheetId != sheetId) continue;
    TRefPoint a{name.Range.Row1, name.Range.Col1};
    TRefPoint b{name.Range.Row2, name.Range.Col2};
    if (!inBand(a, &b)) continue;
    int& lo = rows ? name.Range.Row1 : name.Range.Col1;
    int& hi = rows ? name.Range.Row2 : name.Range.Col2;
    if (count > 0) {
      ShiftCoordinate(lo, at, count);
      ShiftCoordinate(hi, at, count);
    } else {
      const int removed = -count;
      if (hi >= at + removed)
        hi -= removed;
      else if (hi >= at)
        hi = std::max(at - 1, lo >= at ? at : lo);
      if (lo >= at + removed)
        lo -= removed;
      else if (lo >= at)
        lo = at;
      if (hi < lo) hi = lo;
    }
  }
  if (hasFormulas_) recalcNeeded_ = true;
}

void TWorkbook::EditInsert(int mode) { InsertRange(CurrentSheetData().Selection.front(), mode); }

void TWorkbook::EditDelete(int mode) { DeleteRange(CurrentSheetData().Selection.front(), mode); }

namespace {

bool ValidRange(const TRange& r) {
  return r.Row1 >= 1 && r.Col1 >= 1 && r.Row1 <= r.Row2 && r.Col1 <= r.Col2 && r.Row2 <= kMaxRows && r.Col2 <= kMaxCols;
}

// The sizes, hidden lines and page breaks of a sheet's rows or columns after
// `count` lines were inserted or deleted at `at`.
template <typename T>
void ShiftLineProperties(std::map<int, T>& sizes, std::set<int>& hidden, std::set<int>& breaks, int at, int count,
                         bool insert, int last) {
  sizes = ShiftKeys(sizes, at, count, insert, last);
  hidden = ShiftSet(hidden, at, count, insert, last);
  breaks = ShiftSet(breaks, at, count, insert, last);
}

// The lines of the text file a sheet was read from after whole rows or
// columns were inserted or deleted: a row inserted is an empty line ending
// as its neighbours do; a column inserted or deleted widens or narrows
// every line that reaches it.
void ShiftTextLines(std::vector<TTextLine>& lines, const TRange& range, int mode, bool insert) {
  if (lines.empty()) return;
  if (mode == 3) {
    const auto at = static_cast<std::size_t>(range.Row1 - 1);
    if (at >= lines.size()) return;
    if (!insert) {
      lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at),
                  lines.begin() + static_cast<std::ptrdiff_t>(std::min(lines.size(), at + range.RowCount())));
      return;
    }
    TTextLine added;
    added.End = lines[at].End != TLineEnd::None ? lines[at].End : at > 0 ? lines[at - 1].End : TLineEnd::CrLf;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), static_cast<std::size_t>(range.RowCount()), added);
    if (lines.size() > static_cast<std::size_t>(kMaxRows)) lines.resize(kMaxRows);
  } else if (mode == 4) {
    const auto first = static_cast<std::uint32_t>(range.Col1);
    const auto count = static_cast<std::uint32_t>(range.ColCount());
    for (TTextLine& line : lines) {
      if (line.Fields < first) continue;
      line.Fields = insert ? std::min<std::uint32_t>(line.Fields + count, kMaxCols)
                           : line.Fields - std::min(line.Fields - first + 1, count);
    }
  }
}

// Moves the cells of a sheet for an insertion of `range` (mode as InsertRange).
void InsertCells(TSheetData& sheet, const TRange& range, int mode) {
  const int nRows = range.RowCount();
  const int nCols = range.ColCount();
  switch (mode) {
    case 1: {  // shift right, rows of the range only
      const int lastRow = std::min(range.Row2, static_cast<int>(sheet.Rows.size()));
      for (int r = range.Row1; r <= lastRow; ++r) {
        auto& cells = sheet.Rows[r - 1];
        if (static_cast<int>(cells.size()) >= range.Col1) {
          cells.insert(cells.begin() + (range.Col1 - 1), nCols, TCell{});
          if (static_cast<int>(cells.size()) > kMaxCols) cells.resize(kMaxCols);
        }
      }
      break;
    }
    case 2: {  // shift down, columns of the range only
      const int used = static_cast<int>(sheet.Rows.size());
      if (used >= range.Row1) {
        const int newSize = std::min(kMaxRows, used + nRows);
        sheet.Rows.resize(newSize);
        for (int r = newSize; r >= range.Row1; --r) {
          auto& target = sheet.Rows[r - 1];
          for (int c = range.Col1; c <= range.Col2; ++c) {
            TCell moved;
            const int source = r - nRows;
            if (source >= range.Row1) {
              auto& from = sheet.Rows[source - 1];
              if (static_cast<int>(from.size()) >= c) moved = std::move(from[c - 1]);
            }
            if (moved.Kind == TCellKind::Empty && moved.Style == 0 && static_cast<int>(target.size()) < c) continue;
            if (static_cast<int>(target.size()) < c) target.resize(c);
            target[c - 1] = std::move(moved);
          }
        }
      }
      break;
    }
    case 3: {  // whole rows
      if (static_cast<int>(sheet.Rows.size()) >= range.Row1) {
        sheet.Rows.insert(sheet.Rows.begin() + (range.Row1 - 1), nRows, std::vector<TCell>{});
        if (static_cast<int>(sheet.Rows.size()) > kMaxRows) sheet.Rows.resize(kMaxRows);
      }
      ShiftLineProperties(sheet.RowHeights, sheet.HiddenRows, sheet.RowBreaks, range.Row1, nRows, true, kMaxRows);
      break;
    }
    case 4: {  // whole columns
      for (auto& cells : sheet.Rows) {
        if (static_cast<int>(cells.size()) >= range.Col1) {
          cells.insert(cells.begin() + (range.Col1 - 1), nCols, TCell{});
          if (static_cast<int>(cells.size()) > kMaxCols) cells.resize(kMaxCols);
        }
      }
      ShiftLineProperties(sheet.ColWidths, sheet.HiddenCols, sheet.ColBreaks, range.Col1, nCols, true, kMaxCols);
      break;
    }
  }
}

// Moves the cells of a sheet for a deletion of `range` (mode as DeleteRange).
void DeleteCells(TSheetData& sheet, const TRange& range, int mode) {
  const int nRows = range.RowCount();
  const int nCols = range.ColCount();
  switch (mode) {
    case 1: {  // shift left
      const int lastRow = std::min(range.Row2, static_cast<int>(sheet.Rows.size()));
      for (int r = range.Row1; r <= lastRow; ++r) {
        auto& cells = sheet.Rows[r - 1];
        if (static_cast<int>(cells.size()) < range.Col1) continue;
        const int end = std::min(static_cast<int>(cells.size()), range.Col2);
        cells.erase(cells.begin() + (range.Col1 - 1), cells.begin() + end);
      }
      break;
    }
    case 2: {  // shift up
      const int used = static_cast<int>(sheet.Rows.size());
      for (int r = range.Row1; r <= used; ++r) {
        const int source = r + nRows;
        auto& target = sheet.Rows[r - 1];
        for (int c = range.Col1; c <= range.Col2; ++c) {
          TCell moved;
          if (source <= used) {
            auto& from = sheet.Rows[source - 1];
            if (static_cast<int>(from.size()) >= c) moved = std::move(from[c - 1]);
          }
          if (static_cast<int>(target.size()) < c) {
            if (moved.Kind == TCellKind::Empty && moved.Style == 0) continue;
            target.resize(c);
          }
          target[c - 1] = std::move(moved);
        }
      }
      break;
    }
    case 3: {  // whole rows
      const int used = static_cast<int>(sheet.Rows.size());
      if (used >= range.Row1) {
        const int end = std::min(used, range.Row2);
        sheet.Rows.erase(sheet.Rows.begin() + (range.Row1 - 1), sheet.Rows.begin() + end);
      }
      ShiftLineProperties(sheet.RowHeights, sheet.HiddenRows, sheet.RowBreaks, range.Row1, nRows, false, kMaxRows);
      break;
    }
    case 4: {  // whole columns
      for (auto& cells : sheet.Rows) {
        if (static_cast<int>(cells.size()) < range.Col1) continue;
        const int end = std::min(static_cast<int>(cells.size()), range.Col2);
        cells.erase(cells.begin() + (range.Col1 - 1), cells.begin() + end);
      }
      ShiftLineProperties(sheet.ColWidths, sheet.HiddenCols, sheet.ColBreaks, range.Col1, nCols, false, kMaxCols);
      break;
    }
  }
}

}  // namespace

void TWorkbook::InsertRange(const TRange& range, int mode) { InsertOrDeleteRange(range, mode, true); }

void TWorkbook::DeleteRange(const TRange& range, int mode) { InsertOrDeleteRange(range, mode, false); }

void TWorkbook::InsertOrDeleteRange(const TRange& range, int mode, bool insert) {
  if (mode < 1 || mode > 4 || !ValidRange(range)) return;
  TSheetData& sheet = MutableCurrent();
  const int id = sheet.Id;
  if (insert)
    InsertCells(sheet, range, mode);
  else
    DeleteCells(sheet, range, mode);
  ShiftTextLines(sheet.TextLines, range, mode, insert);
  // Modes 2 and 3 move rows, 1 and 4 columns; 1 and 2 only beside the range.
  const bool rows = mode == 2 || mode == 3;
  const int count = rows ? range.RowCount() : range.ColCount();
  TRange band{1, 1, kMaxRows, kMaxCols};
  if (mode == 1) band = TRange{range.Row1, 1, range.Row2, kMaxCols};
  if (mode == 2) band = TRange{1, range.Col1, kMaxRows, range.Col2};
  ShiftReferences(id, rows, rows ? range.Row1 : range.Col1, insert ? count : -count, band);
  ContentChanged();
  Notify(TChange::Structure);
}

}  // namespace kvx::workbook
