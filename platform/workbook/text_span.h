// The columns a cell's text is shown across, the same on the screen and on
// paper: a text too wide for its cell runs on over the empty cells beside
// it, a text centred across the selection spans the empty cells that carry
// that code. The screen's painter, the printed page and the print area all
// ask these routines; each measures in its own unit (pixels on the screen,
// points on paper), the same unit for the columns and the texts.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/workbook/workbook.h"

namespace kvx::workbook {

// The room of a row's cells as the one showing them measures it.
struct TTextRoom {
  std::function<double(int col)> ColumnWidth;  // a column's width; 0 for a hidden one
  double Padding = 0.0;                        // the inner margin on each side of a cell's text
  bool NumbersRunOn = false;                   // formulas shown: a number's entry runs on as a text does
};

// First and last column of a text's span.
struct TTextSpan {
  int First = 0;
  int Last = 0;
  bool operator==(const TTextSpan&) const = default;
};

// The columns the text of cell (row, col) of `sheet` is shown across, the
// text being `textWidth` wide in the room's unit:
// - centred across the selection (code 7): the cell and the empty cells to
//   its right that carry the code, whatever the text's width;
// - a text (not a number) aligned general or left, wider than its cell: the
//   cell and as many of the empty cells to its right as it needs, up to the
//   first cell that holds something;
// - a text aligned right (code 4): the same to its left, up to column 1;
// - any other cell (a number, a wrapped, filled, centred or turned text, an
//   error value, an empty cell): the cell alone.
TTextSpan TextSpan(const TWorkbook& book, int sheet, int row, int col, double textWidth, const TTextRoom& room);

// The column of the text shown over the empty cell (row, col) from a cell
// beside it: looking left (direction -1) or right (direction +1), the
// nearest cell with contents whose span takes in `col`. `textWidth(c)` is
// the width of the text of cell (row, c). Nothing when `col` holds
// something or no text reaches it from that side.
std::optional<int> TextReaching(const TWorkbook& book, int sheet, int row, int col, int direction,
                                const TTextRoom& room, const std::function<double(int col)>& textWidth);

// A text broken into lines at blanks, each line as many words as are no
// wider than `width` by `measure` (a word wider than that stands alone), a
// new line at each line feed. Blanks between words are kept as one.
std::vector<std::string> WrapText(const std::string& text, double width,
                                  const std::function<double(const std::string& line)>& measure);

}  // namespace kvx::workbook
