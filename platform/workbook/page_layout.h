// Division of a sheet into printed pages: the print area (or the used
// area), the scale (a percentage, or fit to a number of pages wide and
// tall), the page breaks, the margins and the print order of the sheet's
// page set-up. Sizes are in points (1/72 inch); a column of w characters
// is as wide as the screen shows it at 100 % on 96 dots an inch: w
// characters of the view's standard font (7 pixels without a view) and 5
// pixels, so that paper holds what the screen shows.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/workbook/workbook.h"

namespace kvx::workbook {

// The inner margin of a cell's text on paper at full size, in points.
inline constexpr double kCellPaddingPoints = 1.5;

// The width in points of a text printed in `font` at `scale` (the font's
// size times the scale).
using TPrintedTextWidth = std::function<double(const std::string& text, const TCellFont& font, double scale)>;

struct TPageLayout {
  TRange Area;                  // cells to print
  double Scale = 1.0;           // factor on all sheet sizes
  std::vector<TRange> Pages;    // the cells of each page, in print order
  double PrintableWidth = 0.0;  // points inside the margins (and headings)
  double PrintableHeight = 0.0;
  // Points of a character of the column widths, as the screen shows it.
  double CharacterPoints = TWorkbook::kStandardCharacterPoints;
};

// Paper sizes in points, portrait, by the paper codes of the page set-up
// (1 Letter, 9 A4; other codes are taken as A4).
void PaperSize(int paperCode, double& width, double& height);

// A column's width at full size: `characterPoints` a character of its
// width, and the 5 pixels at 96 dpi of its margins.
double ColumnPoints(const TSheetData& sheet, int col, double characterPoints = TWorkbook::kStandardCharacterPoints);
double RowPoints(const TSheetData& sheet, int row);

// Lays out the pages of a sheet on paper of the given size (points, already
// turned for landscape). Without a print area the used area is printed,
// with the empty columns beyond it that a text is shown across (run on or
// centred across, as on the screen), its width measured by `textWidth` at
// the print scale (by default the workbook's measure of its characters).
// headingWidth and headingHeight are the sizes of the printed row and
// column headings (used when the page set-up prints them). An empty sheet
// gives no pages.
TPageLayout LayoutPages(const TWorkbook& book, int sheet, double paperWidth, double paperHeight,
                        const TPrintedTextWidth& textWidth = {}, double headingWidth = 30.0,
                        double headingHeight = 14.0);

}  // namespace kvx::workbook
