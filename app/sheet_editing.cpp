#include "app/sheet_editing.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/text_conversion.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/text_encoding.h"
#include "platform/workbook/cell_matchers.h"

namespace kvx {

using workbook::TCellKind;
using workbook::TRange;
using workbook::TWorkbook;

namespace {

constexpr const char* kSearchCaption = "Kandrevoltinex 4.6";

using Matcher = bool (*)(const std::string&, const std::string&, int&);

// The comparison the options ask for.
Matcher MatcherFor(const TSearchRequest& request) {
  if (request.WholeWord) return request.MatchCase ? &MatchWholeCase : &MatchWholeNoCase;
  return request.MatchCase ? &MatchPartCase : &MatchPartNoCase;
}

// Tells, without formatting the cell, that a number shown in a plain
// numeric format (digits, separators, sign, exponent, percent) cannot hold
// the searched text because the text has some other character.
class NumberSkip {
 public:
  NumberSkip(const TWorkbook& book, const std::string& text) : book_(book) {
    const workbook::TFormatLocale locale = book.Locale();
    std::string shown = "0123456789+-eE% ";
    shown += locale.Decimal;
    shown += locale.Thousands;
    active_ = text.find_first_not_of(shown) != std::string::npos;
  }
  bool Skip(const workbook::TCell& cell) {
    if (!active_ || cell.Kind != TCellKind::Number || !std::isfinite(cell.Number)) return false;
    if (cell.Style >= plain_.size()) plain_.resize(cell.Style + 1, -1);
    std::int8_t& plain = plain_[cell.Style];
    if (plain < 0) {
      const std::string& format = book_.Style(cell.Style).NumberFormat;
      plain = format.find_first_not_of("0#.,%Ee+- ") == std::string::npos ? 1 : 0;
    }
    return plain == 1;
  }

 private:
  const TWorkbook& book_;
  bool active_ = false;
  std::vector<std::int8_t> plain_;  // per style: -1 unknown, 0 no, 1 plain
};

// Column-major walk over [row1..row2] x [col1..col2] from (startRow,
// startCol); later columns begin at row1. The first hit is reported.
bool Walk(const TWorkbook& book, const TRange& area, int startRow, int startCol, const std::string& text, Matcher match,
          int& hitRow, int& hitCol, int& position) {
  NumberSkip numbers(book, text);
  for (int col = startCol; col <= area.Col2; ++col) {
    for (int row = col == startCol ? startRow : area.Row1; row <= area.Row2; ++row) {
      const workbook::TCell* cell = book.Cell(row, col);
      if (cell == nullptr || numbers.Skip(*cell)) continue;
      if (match(text, book.Text(row, col), position)) {
        hitRow = row;
        hitCol = col;
        return true;
      }
    }
  }
  return false;
}

// Replaces occurrences of `searched` in `cell` from code point `position`
// (1-based) on: one, or every one after each inserted replacement.
std::string ReplaceOccurrences(const std::string& cell, const TSearchRequest& request, const std::string& replacement,
                               int position, bool every) {
  if (request.WholeWord) return replacement;  // the whole text matched
  std::u32string text = Utf8ToCodePoints(cell);
  const std::u32string searched = Utf8ToCodePoints(request.Text);
  const std::u32string inserted = Utf8ToCodePoints(replacement);
  const auto key = [&](const std::u32string& s) {
    return request.MatchCase ? s : UpperCaseCodePoints(CodePointsToUtf8(s));
  };
  const std::u32string needle = key(searched);
  std::size_t at = static_cast<std::size_t>(position - 1);
  while (at != std::u32string::npos && at + searched.size() <= text.size()) {
    text.replace(at, searched.size(), inserted);
    if (!every) break;
    const std::size_t from = at + inserted.size();
    at = key(text).find(needle, from);
  }
  return CodePointsToUtf8(text);
}

void NotFound(const std::string& text, const char* english) {
  ShowMessage(text + " nicht gefunden", text + english, MessageIcon::Warning, MessageButtons::Ok, kSearchCaption);
}

}  // namespace

bool FindInSheet(TWorkbook& book, const TSearchRequest& request, TSheetSearchState& state) {
  if (request.Text.empty()) return false;
  if (request.Text != state.LastSearch) state.FoundByFind = false;
  int startRow = book.Row() + (state.FoundByFind ? 1 : 0);
  const int startCol = book.Col();
  const Matcher match = MatcherFor(request);
  const TRange used{1, 1, book.LastRow(), book.LastCol()};
  int row = 0, col = 0, position = 0;
  bool found = Walk(book, used, startRow, startCol, request.Text, match, row, col, position);
  if (!found && (startRow != 1 || startCol != 1)) {
    found = Walk(book, used, 1, 1, request.Text, match, row, col, position);
  }
  if (found) {
    book.SetActiveCell(row, col);
    state.FoundByFind = true;
  } else {
    NotFound(request.Text, " not found");
  }
  state.LastSearch = request.Text;
  return found;
}

int ReplaceInSheet(TWorkbook& book, const TSearchRequest& request, const std::string& replacement, bool replace,
                   bool all, TSheetSearchState& state) {
  if (request.Text.empty()) return 0;
  if (request.Text != state.LastSearch || replacement != state.LastReplacement) state.FoundByReplace = false;
  std::vector<TRange> selection;
  for (int k = 0; k < book.SelectionCount(); ++k) selection.push_back(book.SelectionRange(k));
  const int activeRow = book.Row();
  const int activeCol = book.Col();
  TRange area = book.SelectionRange(0);
  if (area.Row1 == area.Row2 && area.Col1 == area.Col2) {
    area.Row2 = std::max(area.Row1, book.LastRow());
    area.Col2 = std::max(area.Col1, book.LastCol());
  }
  int startRow = area.Row1;
  int startCol = area.Col1;
  if (state.FoundByReplace && state.ReplaceRow >= area.Row1 && state.ReplaceRow <= area.Row2 &&
      state.ReplaceCol >= area.Col1 && state.ReplaceCol <= area.Col2) {
    startRow = state.ReplaceRow + (replace ? 0 : 1);  // a replaced hit no longer matches the same way
    startCol = state.ReplaceCol;
  }
  const Matcher match = MatcherFor(request);
  int hits = 0;
  auto run = [&](int fromRow, int fromCol) {
    int row = fromRow, col = fromCol, position = 0;
    while (Walk(book, area, row, col, request.Text, match, row, col, position)) {
      ++hits;
      state.FoundByReplace = true;
      state.ReplaceRow = row;
      state.ReplaceCol = col;
      book.SetActiveCell(row, col);
      if (replace) {
        book.SetEntry(row, col, ReplaceOccurrences(book.Text(row, col), request, replacement, position, all));
      }
      if (!all) return;
      ++row;  // the cell is done: every occurrence in it was replaced
    }
  };
  run(startRow, startCol);
  if (hits == 0 && (startRow != area.Row1 || startCol != area.Col1)) run(area.Row1, area.Col1);
  if (hits == 0) {
    state.FoundByReplace = false;
    NotFound(request.Text, " not replaced");
  }
  state.LastSearch = request.Text;
  state.LastReplacement = replacement;
  // The selection as it was; the active cell shows the last hit.
  const int showRow = hits > 0 ? state.ReplaceRow : activeRow;
  const int showCol = hits > 0 ? state.ReplaceCol : activeCol;
  book.SetSelectionRanges(selection, activeRow, activeCol);
  if (hits > 0) book.SetActiveCell(showRow, showCol, true);
  return hits;
}

int ApplyDecimalsToSelection(TWorkbook& book, const std::string& pattern) {
  const int lastRow = book.LastRow();
  const int lastCol = book.LastCol();
  int changed = 0;
  for (int k = 0; k < book.SelectionCount(); ++k) {
    const TRange range = book.SelectionRange(k);
    for (int col = range.Col1; col <= std::min(range.Col2, lastCol); ++col) {
      for (int row = range.Row1; row <= std::min(range.Row2, lastRow); ++row) {
        const workbook::TCell* cell = book.Cell(row, col);
        if (cell == nullptr) continue;
        double value = 0;
        const TCellKind kind = book.CellKind(row, col);
        if (kind == TCellKind::Formula) {
          // A formula keeps its formula; only its format changes.
          std::string shown = book.Text(row, col);
          std::replace(shown.begin(), shown.end(), IntlSeparators.Decimal, '.');
          if (!ValReal(shown, value)) continue;
        } else if (kind == TCellKind::Number) {
          value = cell->Number;
        } else if (kind == TCellKind::Text) {
          std::string text = book.Text(row, col);
          std::replace(text.begin(), text.end(), IntlSeparators.Decimal, '.');
          if (!ValReal(text, value)) continue;
        } else {
          continue;
        }
        book.SetCellNumberFormat(row, col, pattern);
        // A number cell already holds its number; a text that reads as one
        // becomes the number.
        if (kind == TCellKind::Text) book.SetNumber(row, col, value);
        ++changed;
      }
    }
  }
  return changed;
}

bool InsertPageBreak(TWorkbook& book) {
  if (book.SelectionCount() > 1) {
    ShowMessage("Zum Einfügen eines Seitenwechsels darf nur ein zusammenhängender Bereich markiert sein!",
                "Please select one single region!", MessageIcon::Error, MessageButtons::Ok,
                ByLanguage("Mehrere Bereiche markiert", "Several regions selected"));
    return false;
  }
  if (book.SelEndCol() > book.LastCol()) {
    book.AddRowPageBreak(book.SelEndRow());
  } else if (book.SelEndRow() > book.LastRow()) {
    book.AddColPageBreak(book.SelEndCol());
  } else {
    book.AddPageBreak();
  }
  return true;
}

bool RemovePageBreak(TWorkbook& book) {
  const int row = book.Row();
  const int col = book.Col();
  if (book.RowPageBreak(row) == 0 && book.ColPageBreak(col) == 0) {
    ShowMessage(
        "Nach der momentan selektierten Zelle befindet sich kein Seitenwechsel .Bitte eine Zelle vor einem "
        "Seitenwechsel wählen",
        "Please select a cell bevor a page break.", MessageIcon::Error, MessageButtons::Ok,
        ByLanguage("Kein Seitenwechsel gefunden", "No page break found"));
    return false;
  }
  book.RemovePageBreak();
  book.SetActiveCell(row, col);
  return true;
}

void ToggleFreezePanes(TWorkbook& book) {
  // The workbook counts frozen columns and rows without the headings.
  if (book.FixedCols() == 0 && book.FixedRows() == 0) {
    if (book.Col() > 1) book.SetFixedCols(book.Col() - 1);
    if (book.Row() > 1) book.SetFixedRows(book.Row() - 1);
  } else {
    book.SetFixedCols(0);
    book.SetFixedRows(0);
  }
}

int SheetFontSize(int typed) { return std::clamp(typed, 6, 240); }

int TableFontSize(int typed, int current) {
  if (typed < 1) return current;
  return std::min(typed, 240);
}

int ClampZoom(int percent) { return std::clamp(percent, 10, 400); }

int AlignmentCode(int buttonCode, bool down) { return down ? buttonCode : 1; }

TSheetMenuState SheetMenuState(bool english, bool tableToolbarVisible) {
  TSheetMenuState s;
  s.EnglishChecked = english;
  s.TableToolbarChecked = tableToolbarVisible;
  return s;
}

const char* ProtectionCaption(bool protectionOn, bool english) {
  if (protectionOn) return english ? "Remove cell protection" : "Zellsch&utz aufheben";
  return english ? "Activate cell protection" : "Zellsch&utz aktivieren";
}

}  // namespace kvx
