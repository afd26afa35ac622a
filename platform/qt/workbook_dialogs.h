// The dialogs the workbook offers the main window (font, number format,
// border, pattern, defined names, printer set-up) and printing of the
// current sheet. Each dialog reads the format of the active cell, and on
// OK sets it on the selection; each returns true on OK.
#pragma once

#include <QString>

#include "platform/workbook/page_layout.h"
#include "platform/workbook/workbook.h"

class QPaintDevice;
class QPainter;
class QPrinter;
class QWidget;

namespace kvx {

bool ShowCellFontDialog(QWidget* parent, workbook::TWorkbook& book);
bool ShowNumberFormatDialog(QWidget* parent, workbook::TWorkbook& book);
bool ShowBorderDialog(QWidget* parent, workbook::TWorkbook& book);
bool ShowPatternDialog(QWidget* parent, workbook::TWorkbook& book);
bool ShowDefineNameDialog(QWidget* parent, workbook::TWorkbook& book);
// Paper size and orientation of the current sheet's page set-up.
bool ShowPrinterSetupDialog(QWidget* parent, workbook::TWorkbook& book);

// Prints the current sheet, with the print dialog when asked.
bool PrintWorkbook(QWidget* parent, workbook::TWorkbook& book, bool showDialog);
// Prints the current sheet into a PDF file. Returns the number of pages.
int PrintWorkbookToPdf(workbook::TWorkbook& book, const QString& path);
// Prints the current sheet on a printer set up by the caller.
int PrintSheet(workbook::TWorkbook& book, QPrinter& printer);

// The pages of a sheet as they are printed on `device`: the texts that
// reach beyond the used area measured in its fonts at the print scale.
workbook::TPageLayout PrintLayout(const workbook::TWorkbook& book, int sheet, const QPaintDevice& device);

// Paints one page of a layout; dotsPerPoint turns points into device
// units, paperWidth and paperHeight are in points. pageCount and the page
// number fill the header and footer fields &P and &N.
void PaintSheetPage(QPainter& painter, const workbook::TWorkbook& book, int sheet, const workbook::TPageLayout& layout,
                    int page, double dotsPerPoint, double paperWidth, double paperHeight);

// The text of a header or footer field: &P page, &N pages, &D date, &T
// time, &F file name, &A sheet name, && an ampersand; &L, &C and &R split
// it into its left, centre and right parts.
void HeaderFooterParts(const QString& code, int page, int pages, const QString& fileName, const QString& sheetName,
                       QString& left, QString& centre, QString& right);

}  // namespace kvx
