#include "app/sheet_dialog_actions.h"

#include <algorithm>
#include <cmath>

#include "platform/globals.h"
#include "platform/messages.h"

namespace kvx {

using workbook::TRange;
using workbook::TWorkbook;

namespace {

bool English() { return LanguageEnglish != 0; }

// The first selection range cut to the used area (at least one line).
TRange UsedPartOfSelection(const TWorkbook& book) {
  TRange r = book.SelectionRange(0);
  r.Row2 = std::max(r.Row1, std::min(r.Row2, book.LastRow()));
  r.Col2 = std::max(r.Col1, std::min(r.Col2, book.LastCol()));
  return r;
}

}  // namespace

// ------------------------------------------------------------ move sheet

std::vector<std::string> SheetNameList(const TWorkbook& book) {
  std::vector<std::string> names;
  for (int s = 1; s <= book.NumSheets(); ++s) names.push_back(book.SheetName(s));
  return names;
}

bool MoveCurrentSheetBefore(TWorkbook& book, int listIndex) {
  if (listIndex < 0 || listIndex > book.NumSheets()) return false;
  const int from = book.Sheet();
  if (!book.MoveSheet(from, listIndex + 1)) return false;
  book.ShowActiveSheetTab();
  return true;
}

// ----------------------------------------------- row height / column width

double FirstSelectedSize(const TWorkbook& book, TSizeKind kind) {
  const TRange r = book.SelectionRange(0);
  return kind == TSizeKind::RowHeight ? book.RowHeight(r.Row1) : book.ColWidth(r.Col1);
}

bool ApplySizeAnswer(TWorkbook& book, TSizeKind kind, int answer, double value, bool asDefault) {
  const bool rows = kind == TSizeKind::RowHeight;
  if (answer == kSizeOk) {
    const double limit = rows ? 409.0 : 255.0;
    if (!std::isfinite(value) || value < 0 || value > limit) {
      if (rows) {
        ShowMessage("Die Zeilenhöhe muss zwischen 0 und 409 liegen.", "The row height must lie between 0 and 409.",
                    MessageIcon::Error);
      } else {
        ShowMessage("Die Spaltenbreite muss zwischen 0 und 255 liegen.", "The column width must lie between 0 and 255.",
                    MessageIcon::Error);
      }
      return false;
    }
    value = std::trunc(value);
  } else if (answer != kSizeAutomatic && answer != kSizeShow && answer != kSizeHide) {
    return false;
  }
  for (int i = 0; i < book.SelectionCount(); ++i) {
    const TRange r = book.SelectionRange(i);
    switch (answer) {
      case kSizeOk:
        if (rows) {
          book.SetRowHeight(r.Row1, r.Row2, value, asDefault);
        } else {
          book.SetColWidth(r.Col1, r.Col2, value, asDefault);
        }
        break;
      case kSizeAutomatic:
        if (rows) {
          book.SetRowHeightAuto(r.Row1, r.Col1, r.Row2, r.Col2);
        } else {
          book.SetColWidthAuto(r.Row1, r.Col1, r.Row2, r.Col2);
        }
        break;
      default:
        if (rows) {
          book.SetRowHidden(r.Row1, r.Row2, answer == kSizeHide);
        } else {
          book.SetColHidden(r.Col1, r.Col2, answer == kSizeHide);
        }
        break;
    }
  }
  return true;
}

// ------------------------------------------------------------------ sort

bool SortSelectionUsable(const TWorkbook& book) {
  if (book.SelectionCount() < 2) return true;
  ShowMessage("Sie können nur einen Bereich sortieren!", "You can sort only one area.", MessageIcon::Error,
              MessageButtons::Ok, English() ? "Several areas selected" : "Mehrere Bereiche markiert");
  return false;
}

std::vector<std::string> SortKeyItems(const TWorkbook& book, bool byRows) {
  const TRange r = UsedPartOfSelection(book);
  std::vector<std::string> items;
  if (byRows) {
    for (int c = r.Col1; c <= r.Col2; ++c) items.push_back(c <= 26 ? workbook::ColumnLetters(c) : std::to_string(c));
  } else {
    for (int row = r.Row1; row <= r.Row2; ++row) items.push_back(std::to_string(row));
  }
  return items;
}

void ApplySortKeys(TWorkbook& book, bool byRows, int key1, int key2, int key3) {
  const TRange r = UsedPartOfSelection(book);
  const int first = byRows ? r.Col1 : r.Row1;
  const int lines = byRows ? r.ColCount() : r.RowCount();
  // List index to the sheet's column (row) number, keeping the sign.
  auto line = [&](int key) {
    if (key == 0 || std::abs(key) > lines) return 0;
    const int at = first + std::abs(key) - 1;
    return key < 0 ? -at : at;
  };
  const TRange whole = book.SelectionRange(0);
  book.Sort(whole.Row1, whole.Col1, whole.Row2, whole.Col2, byRows, line(key1), line(key2), line(key3));
}

// ------------------------------------------------- insert / delete cells

bool ApplyInsertCells(TWorkbook& book, int mode) {
  if (mode < 1 || mode > 4) return false;
  const TRange r = book.SelectionRange(0);
  if (r.Row1 > book.LastRow() || r.Col1 > book.LastCol()) {
    ShowMessage("Zu großer Zellbereich zum Einfügen gewählt.", "Selected area to large for pasting.",
                MessageIcon::Error, MessageButtons::Ok,
                English() ? "Area to insert too large" : "Bereich zum Einfügen zu groß");
    return false;
  }
  book.EditInsert(mode);
  return true;
}

bool ApplyDeleteCells(TWorkbook& book, int mode) {
  if (mode < 1 || mode > 4) return false;
  const TRange r = book.SelectionRange(0);
  if (r.Row1 > book.LastRow() || r.Col1 > book.LastCol()) return false;
  book.EditDelete(mode);
  return true;
}

// ------------------------------------------------------------- alignment

void ApplyAlignmentChoice(TWorkbook& book, int horizontal, int vertical, bool wrap) {
  workbook::TAlignment alignment = book.Alignment();  // keeps the orientation
  alignment.Horizontal = std::clamp(horizontal, 1, 7);
  alignment.Vertical = std::clamp(vertical, 1, 3);
  alignment.Wrap = wrap;
  book.SetAlignment(alignment);
}

// ----------------------------------------------------------------- go to

bool ApplyGoTo(TWorkbook& book, const std::string& text) {
  if (book.SetSelectionText(text)) return true;
  ShowMessage("Der Name oder der Zellbezug, den Sie eingegeben haben, ist nicht festgelegt oder falsch geschrieben.",
              "Name or cell reference is not defined or typed wrong.", MessageIcon::Error, MessageButtons::Ok,
              English() ? "Unknown cell reference" : "Unbekannter Zellbezug");
  return false;
}

// ---------------------------------------------------- result-grid layout

void SetFixedColumnWidth(tmystringgrid& grid, TResultGridLook& look, int width) {
  if (width < 0) return;
  look.FixedColWidth = width;
  grid.SetColWidths(0, width);
}

void SetFixedRowHeight(tmystringgrid& grid, TResultGridLook& look, int height) {
  if (height < 0) return;
  look.FixedRowHeight = height;
  grid.SetRowHeights(0, height);
}

bool ApplyLayoutChoice(tmystringgrid& grid, TResultGridLook& look, const TLayoutChoice& choice) {
  for (int percent : {choice.WidthPercent, choice.HeightPercent}) {
    if (percent < 10 || percent > 400) {
      ShowMessage("Bitte einen Prozentsatz von 10 bis 400 eingeben.", "Please enter a percentage from 10 to 400.",
                  MessageIcon::Error);
      return false;
    }
  }
  look.CellLines = choice.CellLines ? 1 : 0;
  look.FixedLines = choice.FixedLines ? 1 : 0;
  if (choice.WidthPercent != 100 || choice.HeightPercent != 100) {
    for (int c = 1; c < grid.ColCount(); ++c) {
      grid.SetColWidths(c, static_cast<int>(static_cast<long long>(grid.ColWidths(c)) * choice.WidthPercent / 100));
    }
    for (int r = 1; r < grid.RowCount(); ++r) {
      grid.SetRowHeights(r, static_cast<int>(static_cast<long long>(grid.RowHeights(r)) * choice.HeightPercent / 100));
    }
  }
  return true;
}

}  // namespace kvx
