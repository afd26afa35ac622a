// The sheet-editing rules of the main window without any window: find and
// replace in the workbook sheet, the decimals commands, the page-break,
// freeze-panes and size rules, and which menu items the Format, Edit and
// View menus show for the current view. Messages go through the message
// seam (platform/messages.h).
#pragma once

#include <cstdint>
#include <string>

#include "platform/workbook/workbook.h"

namespace kvx {

// The remembered state of find and replace between two presses.
struct TSheetSearchState {
  std::string LastSearch;
  std::string LastReplacement;
  bool FoundByFind = false;     // the last find hit
  bool FoundByReplace = false;  // the last find or replace of the replace dialog hit
  int ReplaceRow = 0;           // where that hit was
  int ReplaceCol = 0;
};

struct TSearchRequest {
  std::string Text;
  bool WholeWord = false;  // the whole cell text must match
  bool MatchCase = false;
};

// Find: from the active cell (one row further when the same text was found
// last time) column by column up to the last used column, each column row by
// row up to the last used row (later columns from row 1); once more from
// A1 when nothing was found and the start was not A1. A hit becomes the
// active cell. Nothing found: "<text> nicht gefunden" / "<text> not found"
// (warning, caption "Kandrevoltinex 4.6"). An empty text does nothing.
bool FindInSheet(workbook::TWorkbook& book, const TSearchRequest& request, TSheetSearchState& state);

// Find and replace in the first selection range (a single cell stands for
// the range from it to the last used row and column). `replace` clear: the
// next hit only becomes the active cell. Set: the hit is replaced, and with
// `all` every hit of the area, every occurrence within a cell (the search
// goes on after each inserted replacement, so a replacement that holds the
// search text never loops). The selection is restored afterwards. Nothing
// found: "<text> nicht gefunden" / "<text> not replaced". Returns the number
// of hits.
int ReplaceInSheet(workbook::TWorkbook& book, const TSearchRequest& request, const std::string& replacement,
                   bool replace, bool all, TSheetSearchState& state);

// Every cell of every selection range, clipped to the last used row and
// column, whose text reads as a number gets `pattern` as its number format
// and its number written back. Returns the cells changed.
int ApplyDecimalsToSelection(workbook::TWorkbook& book, const std::string& pattern);

// Insert page break: false (and the refusal) with more than one range;
// beyond the last used column a row break at the selection's last row,
// else beyond the last used row a column break at its last column, else
// both at the selection.
bool InsertPageBreak(workbook::TWorkbook& book);
// Remove page break: false (and its message) when no break lies at the
// active cell; else both are removed and the cell made active again.
bool RemovePageBreak(workbook::TWorkbook& book);

// Freeze panes: with no frozen rows and columns, the columns left of and the
// rows above the active cell become frozen; otherwise both become 0.
void ToggleFreezePanes(workbook::TWorkbook& book);

// The font-size box: a sheet size clamped to 6..240 points; a table-font size
// below 1 is ignored (the old one stays), above 240 becomes 240.
int SheetFontSize(int typed);
int TableFontSize(int typed, int current);
// The zoom box: 10..400.
int ClampZoom(int percent);

// Horizontal alignment of the tool-bar buttons: the button's code when it
// is down (2 left, 3 centre, 4 right, 7 across the selection), else 1.
int AlignmentCode(int buttonCode, bool down);

// The View menu's marks of the language and the table tool bar (the other
// states of the menus are app/menu_states.h's).
struct TSheetMenuState {
  bool EnglishChecked = false;
  bool TableToolbarChecked = false;
};
TSheetMenuState SheetMenuState(bool english, bool tableToolbarVisible);

// The caption of the protection toggle.
const char* ProtectionCaption(bool protectionOn, bool english);

}  // namespace kvx
