// How a cell of the sheet is painted, on the screen and on paper: the brush
// of its fill pattern, where its text goes and how it is drawn.
//
// Where a text goes follows one rule on the screen and on paper. The
// horizontal alignment codes of the workbook:
//   1 general   texts left, numbers right (the caller says which)
//   2 left, 3 centre, 4 right
//   5 fill      the text repeated as often as it fits whole into the cell
//   6 justify   the text wrapped, its lines spread to both edges (the last
//               line and a line of one word left-aligned)
//   7 centre across the selection: centred across the cell and the empty
//               cells to its right that carry the same code
// A wrapped text is broken into the workbook's lines (WrappedLines), the
// same on the screen and on paper, and drawn line by line. The cells a text
// is shown across (a general or left-aligned text too long for its cell
// runs on over the empty cells to its right, a right-aligned one over those
// to its left) are the workbook's TextSpan, which the print area follows
// too. Lengths are in the painter's units (pixels on the screen, points on
// paper).
#pragma once

#include <QBrush>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <functional>

#include "platform/workbook/text_span.h"
#include "platform/workbook/workbook.h"

class QFontMetricsF;
class QPainter;

namespace kvx {

// A row being painted.
struct TPaintedRow {
  const workbook::TWorkbook& Book;
  int Sheet = 1;
  int Row = 1;
  // The width of any column (0 for a hidden one).
  std::function<double(int col)> ColumnWidth;
  // The row's top and height, and the inner margin of a cell.
  double Top = 0.0, Height = 0.0, Padding = 0.0;
  // The part of the window (or page) the row's cells are painted in: no
  // text reaches past it.
  double PaneLeft = 0.0, PaneRight = 0.0;
  // Formulas shown: numbers' entries run on as texts do.
  bool NumbersRunOn = false;
};

// A cell's text as it is drawn.
struct TCellText {
  QString Text;   // the text (a filled cell's text repeated)
  QRectF Rect;    // where it is aligned, the padding taken off
  QRectF Clip;    // where it may show
  int Flags = 0;  // Qt alignment flags for QPainter::drawText
  // A wrapped text's lines (empty for a text on one line); justified: the
  // lines but the last are spread to both edges.
  QStringList Lines;
  bool Justified = false;
  double LinePitch = 0.0;  // the height of each line
};

// How the caller shows a cell's text: its text, the alignment of the
// general code (Qt::AlignLeft, Qt::AlignRight or Qt::AlignHCenter), and for
// a number the text it shows in a given width ("####" when it does not fit).
struct TCellTextInput {
  QString Text;
  int General = 0;
  std::function<QString(const QString& text, double width)> FitNumber;
};

// Lays out the text of the cell in column `col`, whose left edge is `left`.
TCellText LayOutCellText(const TPaintedRow& row, int col, double left, const TCellTextInput& input,
                         const QFontMetricsF& metrics);

// Draws a laid-out text: clipped, aligned as its flags say, a wrapped text
// line by line.
void DrawCellText(QPainter& painter, const TCellText& text);

// Draws a turned (orientation 2 upwards, 3 downwards) or stacked (1) text
// inside its own cell.
void DrawTurnedCellText(QPainter& painter, const QRectF& cell, double padding, int orientation, const QString& text);

// The Qt brush of a cell's fill pattern (2..18 of the file format).
Qt::BrushStyle PatternBrush(int pattern);

// The room of the row's cells for the workbook's TextSpan and TextReaching.
workbook::TTextRoom TextRoom(const TPaintedRow& row);

}  // namespace kvx
