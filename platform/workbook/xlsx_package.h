// The cell data of an .xlsx package, written by the program itself.
//
// The writing library makes the package: workbook, styles, sheet settings,
// page set-up, names, with no cells. Its numbers would carry 16 digits only
// and its texts end at a NUL, so the cells are not handed to it. The
// package is then copied once into the file the user gets: the library's
// parts compressed as they are (not inflated and deflated again), each
// worksheet part with its <dimension> and <sheetData> written here, and the
// shared-string part with every text of the cells. Every part of the file
// is thus compressed once.
//
// What the cells look like in the file:
//   - numbers: the shortest text that reads back as the same double
//     (ShortestNumberChars, platform/number_text.h); the stored results of formulas
//     with 16 significant digits, as the library writes them (other
//     programs round what they show from these; the program computes the
//     formulas again);
//   - texts and formulas: texts as shared strings, in the order of their
//     first cell; in both, a character XML cannot hold (the C0 controls but
//     tab and line feed, NUL included; a carriage return, which XML readers
//     turn into a line feed; U+FFFE and U+FFFF) as "_xHHHH_", and an
//     underscore that begins "_xHHHH" as "_x005F_", so that every character reads back as it was; a text that
//     is not valid UTF-8 has its bad bytes replaced by U+FFFD;
//   - rows: a row with cells, or with a height or hidden flag of its own,
//     with its height ("ht", "customHeight") when it is not 15 points, as
//     the library writes rows.
#pragma once

#include <string>
#include <vector>

#include "platform/workbook/workbook.h"

namespace kvx::workbook {

// A cell's text as the file holds it inside <t> or <v>: the "_xHHHH_"
// escapes above, then the XML entities for '&', '<' and '>'.
std::string XlsxCellText(std::string_view text);

// Whether a cell of the file holds the text whole (at most 32767
// characters, counted in UTF-16 code units as the format counts them).
bool XlsxHoldsText(std::string_view text);

// The texts of a workbook a cell of the file cannot hold whole: how many,
// and the first one's cell ("Daten!B2"), sheet by sheet, row by row.
struct TLongTexts {
  int Count = 0;
  std::string FirstCell;
};
TLongTexts XlsxLongTexts(const TWorkbook& book);
// Cuts those texts as the file holds them, so that the workbook holds
// what a file written of it does.
void CutXlsxLongTexts(TWorkbook& book);

// Copies the library's package `from` to `to`, putting in the cells of
// `book`. `xfOfStyle[i]` is the library's cell format index of the model's
// style i (-1 for a style no cell uses). A formula the reading side would
// refuse (TFormulaChecker) is stored as its text ("=" + formula), a text
// longer than the format's 32767 characters is cut at a character boundary,
// a number that is not finite is stored as 0. False (and `error`) when a
// part cannot be read or written; `to` may then be left half written.
bool WriteXlsxPackage(const TWorkbook& book, const std::vector<int>& xfOfStyle, const std::string& from,
                      const std::string& to, std::string& error);

}  // namespace kvx::workbook
