#include "platform/workbook/read_back.h"

#include <algorithm>

#include "platform/text_encoding.h"
#include "platform/workbook/cell_reference.h"
#include "platform/workbook/workbook.h"

namespace kvx::workbook {

namespace {

// Whether two cells hold the same: kind, and number, text or formula.
bool SameContent(const TCell* a, const TCell* b) {
  const TCellKind kind = a == nullptr ? TCellKind::Empty : a->Kind;
  if (kind != (b == nullptr ? TCellKind::Empty : b->Kind)) return false;
  switch (kind) {
    case TCellKind::Number:
      return a->Number == b->Number;
    case TCellKind::Text:
      return a->Text == b->Text;
    case TCellKind::Formula:
      return a->Formula == b->Formula;
    case TCellKind::Empty:
      break;
  }
  return true;
}

}  // namespace

bool SheetReadsOtherwise(const TWorkbook& book, int sheet, const TWorkbook& back, int backSheet, bool shown,
                         const std::string& prefix, TReadBack& found) {
  const TSheetData& held = book.SheetData(sheet);
  const TSheetData& read = back.SheetData(backSheet);
  const int rows = std::max(held.LastRow(), read.LastRow());
  for (int r = 1; r <= rows; ++r) {
    const int cols = std::max(held.LastColForRow(r), read.LastColForRow(r));
    for (int c = 1; c <= cols; ++c) {
      const TCell* cell = held.CellAt(r, c);
      if (SameContent(cell, read.CellAt(r, c)) &&
          (!shown || cell == nullptr || cell->Kind == TCellKind::Formula ||
           book.TextOn(sheet, r, c, book.Locale()) == back.TextOn(backSheet, r, c, back.Locale()))) {
        continue;
      }
      found.Cell = prefix + CellName(r, c);
      found.From = book.EntryOn(sheet, r, c, book.Locale());
      found.As = back.EntryOn(backSheet, r, c, back.Locale());
      if (found.From == found.As) {
        found.From = book.TextOn(sheet, r, c, book.Locale());
        found.As = back.TextOn(backSheet, r, c, back.Locale());
      }
      return true;
    }
  }
  return false;
}

std::string ShownInReason(const std::string& text) {
  return Utf8Length(text) <= 40 ? text : Utf8Prefix(text, 40) + "…";
}

std::string ReadBackClause(const TReadBack& found, bool english) {
  const auto quoted = [&](const std::string& text) {
    std::string out(english ? "\"" : "„");
    out += ShownInReason(text);
    out += english ? "\"" : "“";
    return out;
  };
  const std::string& as = found.As;
  const std::string& from = found.From;
  if (english) {
    return "cell " + found.Cell + " would read back " + (as.empty() ? "empty" : "as " + quoted(as)) + " instead of " +
           (from.empty() ? "empty" : quoted(from));
  }
  return "die Zelle " + found.Cell + " würde " + (as.empty() ? "leer" : "als " + quoted(as)) + " statt " +
         (from.empty() ? "leer" : (as.empty() ? "als " : "") + quoted(from)) + " zurückgelesen";
}

}  // namespace kvx::workbook
