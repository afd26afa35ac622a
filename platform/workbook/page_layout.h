// Division of a sheet into printed pages: the print area (or the used
// area), the scale (a percentage, or fit to a number of pages wide and
// tall), the page breaks, the margins and the print order of the sheet's
// page set-up. Sizes are in points (1/72 inch); a column of w characters
// is (w * 7 + 5) * 72 / 96 points wide, as on a 96 dpi screen at 100 %.
#pragma once

#include <vector>

#include "platform/workbook/workbook.h"

namespace kvx::workbook {

struct TPageLayout {
  TRange Area;                  // cells to print
  double Scale = 1.0;           // factor on all sheet sizes
  std::vector<TRange> Pages;    // the cells of each page, in print order
  double PrintableWidth = 0.0;  // points inside the margins (and headings)
  double PrintableHeight = 0.0;
};

// Paper sizes in points, portrait, by the paper codes of the page set-up
// (1 Letter, 9 A4; other codes are taken as A4).
void PaperSize(int paperCode, double& width, double& height);

double ColumnPoints(const TSheetData& sheet, int col);
double RowPoints(const TSheetData& sheet, int row);

// Lays out the pages of a sheet on paper of the given size (points, already
// turned for landscape). headingWidth and headingHeight are the sizes of
// the printed row and column headings (used when the page set-up prints
// them). An empty sheet gives no pages.
TPageLayout LayoutPages(const TWorkbook& book, int sheet, double paperWidth, double paperHeight,
                        double headingWidth = 30.0, double headingHeight = 14.0);

}  // namespace kvx::workbook
