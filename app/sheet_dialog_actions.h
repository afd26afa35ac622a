// What the sheet dialogs do on OK, without any window: move a sheet, row
// heights and column widths, sort, insert and delete cells, alignment, cell
// protection, go to, and the layout of the result grid. The dialogs in
// app/ui/sheet_dialogs.h fill their fields from here and hand the user's
// choice back; refusals are shown through the message seam (German or
// English by LanguageEnglish) and change nothing.
//
// Units: row heights in points (0..409), column widths in characters of
// the default font (0..255), result-grid sizes in pixels.
#pragma once

#include <string>
#include <vector>

#include "app/table_document.h"
#include "engine/mystringgrid.h"
#include "platform/workbook/workbook.h"

namespace kvx {

// ------------------------------------------------------------ move sheet

// The names of sheets 1..NumSheets, the list of the move-sheet dialog.
std::vector<std::string> SheetNameList(const workbook::TWorkbook& book);
// Moves the current sheet before the sheet at list position `listIndex`
// (0-based; NumSheets() moves it to the end). The moved sheet stays
// current. False (and no change) for a position outside the list.
bool MoveCurrentSheetBefore(workbook::TWorkbook& book, int listIndex);

// ----------------------------------------------- row height / column width

enum class TSizeKind { RowHeight, ColumnWidth };

// The answers of the size dialog.
inline constexpr int kSizeOk = 1;
inline constexpr int kSizeCancel = 2;
inline constexpr int kSizeAutomatic = 4;
inline constexpr int kSizeShow = 6;
inline constexpr int kSizeHide = 7;

// The size of the first selected row or column.
double FirstSelectedSize(const workbook::TWorkbook& book, TSizeKind kind);
// Applies an answer to every selection range: OK sets the size (the value
// truncated to a whole number; with asDefault it becomes the sheet's
// default size), Automatic fits the rows or columns to their contents,
// Show and Hide show or hide them. A size outside 0..409 points (rows) or
// 0..255 characters (columns), or not a number, is refused with a message.
// Cancel does nothing. True when the sheet changed.
bool ApplySizeAnswer(workbook::TWorkbook& book, TSizeKind kind, int answer, double value, bool asDefault);

// ------------------------------------------------------------------ sort

// False, after the error message, when more than one range is selected
// (the dialog is then not shown).
bool SortSelectionUsable(const workbook::TWorkbook& book);
// The items of a key list after its blank first item: the lines of the
// first selection range (cut to the used area) that can be keys. Sorting
// by rows lists its columns ("A".."Z", then numbers from 27 on); sorting
// by columns lists its rows by number.
std::vector<std::string> SortKeyItems(const workbook::TWorkbook& book, bool byRows);
// Sorts the first selection range. Each key is a list index (0 none,
// 1 the first line of the range), negated for descending.
void ApplySortKeys(workbook::TWorkbook& book, bool byRows, int key1, int key2, int key3);

// ------------------------------------------------- insert / delete cells

// Modes 1..4: shift right (insert) or left (delete), shift down or up,
// whole rows, whole columns. Inserting is refused with a message when the
// selection starts beyond the last used row or column; deleting there
// changes nothing. True when the sheet changed.
bool ApplyInsertCells(workbook::TWorkbook& book, int mode);
bool ApplyDeleteCells(workbook::TWorkbook& book, int mode);

// ------------------------------------------------------------- alignment

// Horizontal 1..7 and vertical 1..3 codes and the wrap flag on the
// selection; the orientation stays that of the active cell.
void ApplyAlignmentChoice(workbook::TWorkbook& book, int horizontal, int vertical, bool wrap);

// ----------------------------------------------------------------- go to

// Makes the text (a cell, a range, several ranges or a defined name) the
// selection; otherwise the unknown-reference message and no change.
bool ApplyGoTo(workbook::TWorkbook& book, const std::string& text);

// ---------------------------------------------------- result-grid layout

struct TLayoutChoice {
  int WidthPercent = 100;   // 10..400
  int HeightPercent = 100;  // 10..400
  bool CellLines = true;
  bool FixedLines = true;
};

// The width of the fixed first column and the height of the fixed first
// row, given to the grid and to the look at once (while the dialog is
// open). Sizes below 0 are refused (no change).
void SetFixedColumnWidth(tmystringgrid& grid, TResultGridLook& look, int width);
void SetFixedRowHeight(tmystringgrid& grid, TResultGridLook& look, int height);
// OK of the layout dialog: both line flags; when a percentage differs
// from 100, every column width (row height) from column 1 (row 1) on is
// multiplied by it and truncated. A percentage outside 10..400 is refused
// with a message and nothing changes.
bool ApplyLayoutChoice(tmystringgrid& grid, TResultGridLook& look, const TLayoutChoice& choice);

}  // namespace kvx
