// Proving a save before it replaces a file: the file written is read back
// as its reader reads it, and the first cell that reads otherwise than the
// workbook holds it is named, so that the file stays as it was.
#pragma once

#include <string>

namespace kvx::workbook {

class TWorkbook;

// The first cell a file written reads otherwise: its name ("B2", or
// "Tabelle2!B2" in a workbook of more sheets), and its entry in the
// workbook and as read back ("" for empty).
struct TReadBack {
  std::string Cell;
  std::string From, As;

  bool Any() const { return !Cell.empty(); }
};

// Compares sheet `sheet` of `book` with sheet `backSheet` of `back`, row by
// row: each cell's kind and its number, text or formula and, with `shown`,
// what a cell other than a formula shows. True, with the first cell that
// differs in `found`, when one does; `prefix` goes before its name.
bool SheetReadsOtherwise(const TWorkbook& book, int sheet, const TWorkbook& back, int backSheet, bool shown,
                         const std::string& prefix, TReadBack& found);
// The same for one row.
bool RowReadsOtherwise(const TWorkbook& book, int sheet, const TWorkbook& back, int backSheet, int row, bool shown,
                       const std::string& prefix, TReadBack& found);

// A cell's text in a reason: at most 40 characters, cut with "…".
std::string ShownInReason(const std::string& text);

// The reason in a sentence part, German or English (used with the text
// save reasons too): "die Zelle A2 würde
// als „a;4“ statt „a“ zurückgelesen", "cell A4 would read back as "x"
// instead of empty".
std::string ReadBackClause(const TReadBack& found, bool english);

}  // namespace kvx::workbook
