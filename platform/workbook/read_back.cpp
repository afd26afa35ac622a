#include "platform/workbook/read_back.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "platform/ascii_case.h"
#include "platform/number_text.h"
#include "platform/text_encoding.h"
#include "platform/workbook/cell_reference.h"
#include "platform/workbook/formula_engine.h"
#include "platform/workbook/workbook.h"

namespace kvx::workbook {

namespace {

// Byte classes of the formula syntax, the same in every locale.
bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }
bool IsNameChar(char ch) {
  return IsDigit(ch) || (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || ch == '_' || ch == '.' || ch == '$' ||
         static_cast<unsigned char>(ch) >= 0x80;
}

// A formula in the form its meaning has, whoever wrote it: names and
// references in upper case, no prefix of the formula's own sheet, sheet
// names quoted only where they must be, no blanks, every number in its
// shortest form ("1.50" and "1.5"); texts in quotes as they stand.
std::string FormulaMeaning(std::string_view formula, std::string_view ownSheet) {
  std::string out;
  out.reserve(formula.size());
  std::size_t i = 0;
  while (i < formula.size()) {
    const char ch = formula[i];
    if (ch == '"') {
      // A text, with "" for a quote inside it.
      std::size_t end = i + 1;
      while (end < formula.size()) {
        if (formula[end] == '"' && (end + 1 >= formula.size() || formula[end + 1] != '"')) break;
        end += formula[end] == '"' ? 2 : 1;
      }
      end = std::min(end + 1, formula.size());
      out.append(formula.substr(i, end - i));
      i = end;
    } else if (ch == '\'') {
      // A quoted sheet name, with '' for a quote inside it.
      std::string name;
      bool prefix = false;
      const std::size_t end = ReadQuotedSheetName(formula, i, name, prefix);
      if (prefix && EqualIgnoringAsciiCase(name, ownSheet)) {
        i = end + 1;
        continue;
      }
      // A sheet prefix quoted only where it needs quotes, as the reader
      // writes it.
      const std::string shown = prefix ? QuoteSheetName(name) : "'" + name + "'";
      for (char c : shown) out += AsciiUpper(c);
      i = end;
    } else if (ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r') {
      ++i;
    } else if ((IsDigit(ch) || ch == '.') && (out.empty() || !IsNameChar(out.back()) || out.back() == '.')) {
      // A number (a reference or name never begins with a digit).
      const std::size_t end = NumberEnd(formula, i);
      double value = 0.0;
      const auto [stop, ec] = std::from_chars(formula.data() + i, formula.data() + end, value);
      if (ec == std::errc() && stop == formula.data() + end && end < formula.size() && formula[end] == ':') {
        out.append(formula.substr(i, end - i));  // a range of whole rows ("2:4")
      } else if (ec == std::errc() && stop == formula.data() + end) {
        char digits[32];
        out.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
      } else {
        out.append(formula.substr(i, end - i));
      }
      i = end;
    } else if (IsNameChar(ch)) {
      std::size_t end = i;
      while (end < formula.size() && IsNameChar(formula[end])) ++end;
      const std::string_view name = formula.substr(i, end - i);
      if (end < formula.size() && formula[end] == '!' && EqualIgnoringAsciiCase(name, ownSheet)) {
        i = end + 1;
        continue;
      }
      for (char c : name) out += AsciiUpper(c);
      i = end;
    } else {
      out += ch;
      ++i;
    }
  }
  return out;
}

// Whether two cells hold the same: kind, and number, text or formula (in
// the meaning of its sheet's formulas).
bool SameContent(const TCell* a, std::string_view aSheet, const TCell* b, std::string_view bSheet) {
  const TCellKind kind = a == nullptr ? TCellKind::Empty : a->Kind;
  if (kind != (b == nullptr ? TCellKind::Empty : b->Kind)) return false;
  switch (kind) {
    case TCellKind::Number:
      return a->Number == b->Number;
    case TCellKind::Text:
      return a->Text == b->Text;
    case TCellKind::Formula:
      return a->Formula == b->Formula || FormulaMeaning(a->Formula, aSheet) == FormulaMeaning(b->Formula, bSheet);
    case TCellKind::Empty:
      break;
  }
  return true;
}

}  // namespace

bool RowReadsOtherwise(const TWorkbook& book, int sheet, const TWorkbook& back, int backSheet, int row, bool shown,
                       const std::string& prefix, TReadBack& found) {
  const TSheetData& held = book.SheetData(sheet);
  const TSheetData& read = back.SheetData(backSheet);
  const int cols = std::max(held.LastColForRow(row), read.LastColForRow(row));
  for (int c = 1; c <= cols; ++c) {
    const TCell* cell = held.CellAt(row, c);
    if (SameContent(cell, held.Name, read.CellAt(row, c), read.Name) &&
        (!shown || cell == nullptr || cell->Kind == TCellKind::Formula ||
         book.TextOn(sheet, row, c, book.Locale()) == back.TextOn(backSheet, row, c, back.Locale()))) {
      continue;
    }
    found.Cell = prefix + CellName(row, c);
    found.From = book.EntryOn(sheet, row, c, book.Locale());
    found.As = back.EntryOn(backSheet, row, c, back.Locale());
    if (found.From == found.As) {
      found.From = book.TextOn(sheet, row, c, book.Locale());
      found.As = back.TextOn(backSheet, row, c, back.Locale());
    }
    return true;
  }
  return false;
}

bool SheetReadsOtherwise(const TWorkbook& book, int sheet, const TWorkbook& back, int backSheet, bool shown,
                         const std::string& prefix, TReadBack& found) {
  const int rows = std::max(book.SheetData(sheet).LastRow(), back.SheetData(backSheet).LastRow());
  for (int r = 1; r <= rows; ++r) {
    if (RowReadsOtherwise(book, sheet, back, backSheet, r, shown, prefix, found)) return true;
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
  // Two texts that look alike as shown: how long each is and where they
  // part, in characters.
  std::string apart;
  if (!as.empty() && !from.empty() && as != from && ShownInReason(as) == ShownInReason(from)) {
    const std::size_t common = std::mismatch(as.begin(), as.end(), from.begin(), from.end()).first - as.begin();
    std::size_t at = common;
    while (at > 0 && (static_cast<unsigned char>(as[at]) & 0xC0) == 0x80) --at;  // the character's first byte
    const std::string first = WholeNumberText(static_cast<std::int64_t>(Utf8Length(as.substr(0, at)) + 1));
    const std::string asLength = WholeNumberText(static_cast<std::int64_t>(Utf8Length(as)));
    const std::string fromLength = WholeNumberText(static_cast<std::int64_t>(Utf8Length(from)));
    apart = english ? " (" + asLength + " characters instead of " + fromLength +
                          ", the first difference at character " + first + ")"
                    : " (" + asLength + " statt " + fromLength + " Zeichen, der erste Unterschied beim " + first +
                          ". Zeichen)";
  }
  if (english) {
    return "cell " + found.Cell + " would read back " + (as.empty() ? "empty" : "as " + quoted(as)) + " instead of " +
           (from.empty() ? "empty" : quoted(from)) + apart;
  }
  return "die Zelle " + found.Cell + " würde " + (as.empty() ? "leer" : "als " + quoted(as)) + " statt " +
         (from.empty() ? "leer" : (as.empty() ? "als " : "") + quoted(from)) + " zurückgelesen" + apart;
}

}  // namespace kvx::workbook
