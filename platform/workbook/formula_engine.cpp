#include "platform/workbook/formula_engine.h"

#include <algorithm>
#include <cctype>
#include <ixion/address.hpp>
#include <ixion/cell.hpp>
#include <ixion/exceptions.hpp>
#include <ixion/formula.hpp>
#include <ixion/formula_name_resolver.hpp>
#include <ixion/formula_result.hpp>
#include <ixion/model_context.hpp>
#include <map>
#include <optional>
#include <stdexcept>

#include "platform/ascii_case.h"
#include "platform/workbook/cell_reference.h"
#include "platform/workbook/formula_functions.h"
#include "platform/workbook/sheet_data.h"
#include "platform/workbook/text_and_range_helpers.h"

namespace kvx::workbook {

namespace {

// The letters and digits of references and names are ASCII, whatever the
// desktop's locale.
bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsWordChar(char c) {
  return IsAlpha(c) || IsDigit(c) || c == '_' || c == '.' || c == '\\' || static_cast<unsigned char>(c) >= 0x80;
}

// Reads "$A$1" at pos; returns the length read (0 when it is no cell).
std::size_t ReadCell(std::string_view text, std::size_t pos, TRefPoint& point) {
  std::size_t i = pos;
  point = TRefPoint{};
  if (i < text.size() && text[i] == '$') {
    point.AbsCol = true;
    ++i;
  }
  const std::size_t letters = i;
  while (i < text.size() && IsAlpha(text[i]) && i - letters < 4) ++i;
  if (i == letters || i - letters > 3) return 0;
  point.Col = ColumnFromLetters(text.substr(letters, i - letters));
  if (point.Col == 0) return 0;
  if (i < text.size() && text[i] == '$') {
    point.AbsRow = true;
    ++i;
  }
  const std::size_t digits = i;
  while (i < text.size() && IsDigit(text[i])) ++i;
  if (i == digits || i - digits > 7) return 0;
  point.Row = std::stoi(std::string(text.substr(digits, i - digits)));
  if (point.Row < 1 || point.Row > kMaxRows) return 0;
  // A reference ends here: no more name characters and no call.
  if (i < text.size() && (IsWordChar(text[i]) || text[i] == '(' || text[i] == '!')) return 0;
  return i - pos;
}

std::string WriteCell(const TRefPoint& p) {
  std::string text;
  if (p.AbsCol) text += '$';
  text += ColumnLetters(p.Col);
  if (p.AbsRow) text += '$';
  text += std::to_string(p.Row);
  return text;
}

bool InSheet(const TRefPoint& p) { return p.Row >= 1 && p.Row <= kMaxRows && p.Col >= 1 && p.Col <= kMaxCols; }

// Copies a string literal or a quoted sheet name starting at i (the quote
// character) whole, and returns the index after it.
std::size_t CopyQuoted(std::string_view formula, std::size_t i, std::string& out) {
  const char quote = formula[i];
  std::size_t j = i + 1;
  while (j < formula.size()) {
    if (formula[j] == quote) {
      if (j + 1 < formula.size() && formula[j + 1] == quote) {
        j += 2;
        continue;
      }
      break;
    }
    ++j;
  }
  const std::size_t stop = std::min(formula.size(), j + 1);
  out += formula.substr(i, stop - i);
  return stop;
}

// Copies a formula piece by piece: string literals whole, quoted sheet names
// whole unless `sheetNamesToo` is false, everything else through
// `translate`, which appends what starts at index i to out and returns the
// index after it.
template <class Translate>
std::string TranslateOutsideQuotes(std::string_view formula, Translate translate, bool sheetNamesToo = true) {
  std::string out;
  std::size_t i = 0;
  while (i < formula.size()) {
    const char c = formula[i];
    if (c == '"' || (c == '\'' && sheetNamesToo)) {
      i = CopyQuoted(formula, i, out);
    } else {
      i = translate(i, out);
    }
  }
  return out;
}

}  // namespace

std::size_t NumberEnd(std::string_view formula, std::size_t i) {
  std::size_t j = i;
  while (j < formula.size() && (IsDigit(formula[j]) || formula[j] == '.')) ++j;
  if (j < formula.size() && (formula[j] == 'e' || formula[j] == 'E')) {
    std::size_t k = j + 1;
    if (k < formula.size() && (formula[k] == '+' || formula[k] == '-')) ++k;
    if (k < formula.size() && IsDigit(formula[k])) {
      j = k;
      while (j < formula.size() && IsDigit(formula[j])) ++j;
    }
  }
  return j;
}

std::size_t ReadQuotedSheetName(std::string_view formula, std::size_t i, std::string& name, bool& qualified) {
  std::size_t j = i + 1;
  name.clear();
  while (j < formula.size()) {
    if (formula[j] == '\'') {
      if (j + 1 < formula.size() && formula[j + 1] == '\'') {
        name += '\'';
        j += 2;
        continue;
      }
      break;
    }
    name += formula[j++];
  }
  qualified = j + 1 < formula.size() && formula[j + 1] == '!';
  return std::min(formula.size(), j + 1);
}

std::string QuoteSheetName(std::string_view name) {
  bool plain = !name.empty() && !IsDigit(name[0]);
  for (char c : name) plain = plain && (IsAlpha(c) || IsDigit(c) || c == '_');
  // A name that reads as a cell ("AB12") needs quotes as well.
  TRefPoint dummy;
  if (plain && ReadCell(name, 0, dummy) == name.size()) plain = false;
  if (plain) return std::string(name);
  std::string quoted = "'";
  for (char c : name) {
    quoted += c;
    if (c == '\'') quoted += '\'';
  }
  return quoted + "'";
}

std::string RewriteReferences(std::string_view formula, const TReferenceVisitor& visitor) {
  // Handles a reference (after its prefix, if any) at i; returns the index
  // after it, or 0 when nothing reference-like stands there.
  auto reference = [&](std::size_t i, const std::string& sheet, const std::string& prefixText, std::string& out) {
    TRefPoint first;
    const std::size_t n1 = ReadCell(formula, i, first);
    if (n1 == 0) return std::size_t{0};
    std::size_t end = i + n1;
    TRefPoint second;
    bool range = false;
    if (end < formula.size() && formula[end] == ':') {
      const std::size_t n2 = ReadCell(formula, end + 1, second);
      if (n2 > 0) {
        range = true;
        end = end + 1 + n2;
      }
    }
    const bool kept = visitor(sheet, first, range ? &second : nullptr);
    if (!kept || !InSheet(first) || (range && !InSheet(second))) {
      out += "#REF!";
    } else {
      out += prefixText;
      out += WriteCell(first);
      if (range) {
        out += ':';
        out += WriteCell(second);
      }
    }
    return end;
  };
  // A sheet prefix ending before `next`, and the reference after it; the
  // prefix alone when no reference follows.
  auto prefixed = [&](std::size_t next, const std::string& sheet, const std::string& prefixText, std::string& out) {
    const std::size_t end = reference(next, sheet, prefixText, out);
    if (end != 0) return end;
    out += prefixText;
    return next;
  };
  return TranslateOutsideQuotes(
      formula,
      [&](std::size_t i, std::string& out) {
        const char c = formula[i];
        if (c == '\'') {
          std::string name;
          bool qualified = false;
          const std::size_t stop = ReadQuotedSheetName(formula, i, name, qualified);
          if (qualified) return prefixed(stop + 1, name, std::string(formula.substr(i, stop + 1 - i)), out);
          out += formula.substr(i, stop - i);
          return stop;
        }
        if (IsAlpha(c) || c == '$' || c == '_' || c == '\\') {
          std::size_t j = i;
          while (j < formula.size() && (IsWordChar(formula[j]) || formula[j] == '$')) ++j;
          if (j < formula.size() && formula[j] == '!') {
            const std::string sheet(formula.substr(i, j - i));
            return prefixed(j + 1, sheet, sheet + "!", out);
          }
          const std::size_t end = reference(i, std::string(), std::string(), out);
          if (end != 0) return end;
          out += formula.substr(i, j - i);
          return j;
        }
        if (IsDigit(c) || (c == '.' && i + 1 < formula.size() && IsDigit(formula[i + 1]))) {
          // A number, with a possible exponent: copied whole.
          const std::size_t j = NumberEnd(formula, i);
          out += formula.substr(i, j - i);
          return j;
        }
        out += c;
        return i + 1;
      },
      false);
}

std::string MoveRelativeReferences(std::string_view formula, int rows, int cols) {
  if (rows == 0 && cols == 0) return std::string(formula);
  return RewriteReferences(formula, [&](const std::string&, TRefPoint& a, TRefPoint* b) {
    for (TRefPoint* p : {&a, b}) {
      if (p == nullptr) continue;
      if (!p->AbsRow) p->Row += rows;
      if (!p->AbsCol) p->Col += cols;
      if (!InSheet(*p)) return false;
    }
    return true;
  });
}

namespace {

// Copies a formula with each sheet prefix replaced by what `replace` gives
// for its name (read without quotes) and whether it was quoted; a prefix
// for which it gives nothing stays as it stands.
template <class Replace>
std::string ReplaceSheetPrefixes(std::string_view formula, Replace replace) {
  return TranslateOutsideQuotes(
      formula,
      [&](std::size_t i, std::string& out) {
        const char c = formula[i];
        std::size_t next = i + 1;
        bool qualified = false;
        std::string name;
        if (c == '\'') {
          next = ReadQuotedSheetName(formula, i, name, qualified);
        } else if (IsAlpha(c) || c == '_' || c == '\\') {
          while (next < formula.size() && IsWordChar(formula[next])) ++next;
          qualified = next < formula.size() && formula[next] == '!';
          name = formula.substr(i, next - i);
        }
        std::optional<std::string> replacement;
        if (qualified) replacement = replace(name, c == '\'');
        out += replacement ? std::string_view(*replacement) : formula.substr(i, next - i);
        return next;
      },
      false);
}

}  // namespace

std::string RenameSheetInFormula(std::string_view formula, std::string_view oldName, std::string_view newName) {
  using internal::Lowered;
  const std::string oldLower = Lowered(oldName);
  const std::string replacement = QuoteSheetName(newName);
  return ReplaceSheetPrefixes(formula, [&](const std::string& name, bool) -> std::optional<std::string> {
    if (Lowered(name) == oldLower) return replacement;
    return std::nullopt;
  });
}

std::string SheetNamesAsNamed(std::string_view formula, const std::vector<std::string>& sheetNames) {
  if (formula.find('!') == std::string_view::npos) return std::string(formula);
  return ReplaceSheetPrefixes(formula, [&](const std::string& name, bool quoted) -> std::optional<std::string> {
    for (const std::string& sheet : sheetNames) {
      if (sheet == name) return std::nullopt;
    }
    for (const std::string& sheet : sheetNames) {
      if (!EqualIgnoringAsciiCase(sheet, name)) continue;
      if (!quoted) return sheet;  // the same letters: as plain as the name typed
      std::string out = "'";
      for (const char c : sheet) out.append(c == '\'' ? 2 : 1, c);
      return out + "'";
    }
    return std::nullopt;
  });
}

std::string FormulaToLocal(std::string_view formula, char decimal) {
  if (decimal != ',') return std::string(formula);
  return TranslateOutsideQuotes(formula, [formula](std::size_t i, std::string& out) {
    const char c = formula[i];
    if (IsAlpha(c) || c == '_' || c == '$' || c == '\\') {
      // Names and references, which may hold digits and points.
      std::size_t j = i;
      while (j < formula.size() && (IsWordChar(formula[j]) || formula[j] == '$')) ++j;
      out += formula.substr(i, j - i);
      return j;
    }
    if (IsDigit(c) || (c == '.' && i + 1 < formula.size() && IsDigit(formula[i + 1]))) {
      while (i < formula.size() && (IsDigit(formula[i]) || formula[i] == '.')) {
        out += formula[i] == '.' ? ',' : formula[i];
        ++i;
      }
      return i;
    }
    out += c == ',' ? ';' : c;
    return i + 1;
  });
}

std::string FormulaFromLocal(std::string_view formula, char decimal) {
  if (decimal != ',') return std::string(formula);
  return TranslateOutsideQuotes(formula, [formula](std::size_t i, std::string& out) {
    const char c = formula[i];
    out += c == ',' ? '.' : (c == ';' ? ',' : c);
    return i + 1;
  });
}

namespace {

// Reads "A:C" or "$A:$C" (whole columns) at pos; returns the length read.
std::size_t ReadColumnRange(std::string_view text, std::size_t pos, TRange& area) {
  auto column = [&](std::size_t& i) {
    if (i < text.size() && text[i] == '$') ++i;
    const std::size_t start = i;
    while (i < text.size() && IsAlpha(text[i]) && i - start < 4) ++i;
    if (i == start || i - start > 3) return 0;
    return ColumnFromLetters(text.substr(start, i - start));
  };
  std::size_t i = pos;
  const int first = column(i);
  if (first == 0 || first > kMaxCols || i >= text.size() || text[i] != ':') return 0;
  ++i;
  const int second = column(i);
  // Columns written backwards ("Z:A") are not read as a range: the engine
  // would not come back from them, so the formula is refused.
  if (second == 0 || second > kMaxCols || second < first) return 0;
  if (i < text.size() && (IsWordChar(text[i]) || text[i] == '(' || text[i] == '!' || text[i] == '$')) return 0;
  area = TRange{0, first, 0, second};
  return i - pos;
}

// Reads "2:4" or "$2:$4" (whole rows) at pos; returns the length read.
std::size_t ReadRowRange(std::string_view text, std::size_t pos, TRange& area) {
  auto row = [&](std::size_t& i) {
    if (i < text.size() && text[i] == '$') ++i;
    const std::size_t start = i;
    while (i < text.size() && IsDigit(text[i]) && i - start < 8) ++i;
    if (i == start || i - start > 7) return 0;
    const int value = std::stoi(std::string(text.substr(start, i - start)));
    return value <= kMaxRows ? value : 0;
  };
  std::size_t i = pos;
  const int first = row(i);
  if (first == 0 || i >= text.size() || text[i] != ':') return 0;
  ++i;
  const int second = row(i);
  if (second == 0) return 0;
  if (i < text.size() && (IsWordChar(text[i]) || text[i] == '(' || text[i] == '!' || text[i] == '$')) return 0;
  area = TRange{std::min(first, second), 0, std::max(first, second), 0};
  return i - pos;
}

}  // namespace

namespace internal {

std::size_t ReadReference(std::string_view text, std::size_t pos, TRange& area) {
  TRefPoint first;
  const std::size_t n1 = ReadCell(text, pos, first);
  if (n1 > 0) {
    area = TRange{first.Row, first.Col, first.Row, first.Col};
    const std::size_t end = pos + n1;
    TRefPoint second;
    if (end < text.size() && text[end] == ':') {
      const std::size_t n2 = ReadCell(text, end + 1, second);
      if (n2 > 0) {
        area = TRange{std::min(first.Row, second.Row), std::min(first.Col, second.Col), std::max(first.Row, second.Row),
                      std::max(first.Col, second.Col)};
        return n1 + 1 + n2;
      }
    }
    return n1;
  }
  if (const std::size_t n = ReadColumnRange(text, pos, area)) return n;
  return ReadRowRange(text, pos, area);
}

std::size_t SkipQuoted(std::string_view text, std::size_t i) {
  const char quote = text[i];
  for (std::size_t j = i + 1; j < text.size(); ++j) {
    if (text[j] != quote) continue;
    if (j + 1 < text.size() && text[j + 1] == quote) {
      ++j;
      continue;
    }
    return j + 1;
  }
  return std::string_view::npos;
}

}  // namespace internal

using internal::ReadReference;
using internal::SkipQuoted;

TFormulaScan ScanFormula(std::string_view formula) {
  TFormulaScan scan;
  int depth = 0;
  std::size_t i = 0;
  bool beyond = false;
  auto reference = [&](std::size_t at) {
    TRange area;
    const std::size_t n = ReadReference(formula, at, area);
    if (n == 0) return false;
    if (area.Col2 > kMaxCols) {
      beyond = true;  // a column after XFD
      return false;
    }
    scan.Areas.push_back(area);
    scan.MaxRow = std::max(scan.MaxRow, area.Row2);
    scan.MaxCol = std::max(scan.MaxCol, area.Col2);
    i = at + n;
    return true;
  };
  while (i < formula.size()) {
    const char c = formula[i];
    if (c == '"') {
      i = SkipQuoted(formula, i);
      if (i == std::string_view::npos) return scan;
    } else if (c == '\'') {
      const std::size_t end = SkipQuoted(formula, i);
      // A quoted sheet name: not empty, and a reference after its '!'.
      if (end == std::string_view::npos || end == i + 2 || end >= formula.size() || formula[end] != '!') return scan;
      if (!reference(end + 1) || beyond) return scan;
    } else if (c == '!') {
      return scan;  // a sheet prefix without a sheet name
    } else if (c == '#') {
      // An error literal ("#REF!" stands where a deleted reference was).
      std::size_t length = 1;
      for (const std::string_view literal : {"#NULL!", "#DIV/0!", "#VALUE!", "#REF!", "#NAME?", "#NUM!", "#N/A"}) {
        std::string upper(formula.substr(i, literal.size()));
        for (char& ch : upper) ch = AsciiUpper(ch);
        if (upper == literal) length = literal.size();
      }
      i += length;
    } else if (IsDigit(c) || c == '$' || IsAlpha(c) || c == '_' || c == '\\' || c == '.') {
      if (reference(i)) continue;
      if (beyond) return scan;
      std::size_t j = i;
      if (IsDigit(c) || c == '.') {
        // A number, with a possible exponent.
        j = NumberEnd(formula, i);
        if (j < formula.size() && formula[j] == ':') return scan;  // rows out of the sheet
        i = j;
        continue;
      }
      bool dollar = false;
      bool letters = true;
      std::size_t letterCount = 0;
      while (j < formula.size() && (IsWordChar(formula[j]) || formula[j] == '$')) {
        dollar = dollar || formula[j] == '$';
        letters = letters && IsAlpha(formula[j]);
        if (letters) ++letterCount;
        ++j;
      }
      // A word shaped like a cell that is none: a row or column out of the
      // sheet ("A1048577"), unless it names a function ("LOG10(").
      const std::string_view word = formula.substr(i, j - i);
      if (!letters && letterCount >= 1 && letterCount <= 3 && word.size() > letterCount &&
          std::all_of(word.begin() + static_cast<std::ptrdiff_t>(letterCount), word.end(), IsDigit) &&
          !(j < formula.size() && formula[j] == '(')) {
        return scan;
      }
      if (j < formula.size() && formula[j] == '!') {
        // A sheet prefix: a plain name and a reference after it.
        if (dollar || !reference(j + 1)) return scan;
        if (beyond) return scan;
        continue;
      }
      // A '$' outside a reference, or a column range out of the sheet.
      if (dollar || (letters && j < formula.size() && formula[j] == ':')) return scan;
      i = j;
    } else {
      // A range is read whole above; a colon left over joins parts the
      // engine reads as ranges without bounds ("B3630:8", "A1:B").
      if (c == ':') return scan;
      if (c == '(') ++depth;
      if (c == ')' && --depth < 0) return scan;
      ++i;
    }
  }
  scan.Sound = depth == 0 && !formula.empty();
  return scan;
}

struct TFormulaChecker::TEngine {
  // Parsing does not depend on the model's width (a narrow model is quick
  // to make).
  ixion::model_context Context{{static_cast<ixion::row_t>(kMaxRows), static_cast<ixion::col_t>(1024)}};
  std::unique_ptr<ixion::formula_name_resolver> Resolver;
};

TFormulaChecker::TFormulaChecker(const std::vector<std::string>& sheetNames) : sheetNames_(sheetNames) {
  try {
    auto engine = std::make_unique<TEngine>();
    for (const std::string& name : sheetNames) engine->Context.append_sheet(name);
    engine->Resolver = ixion::formula_name_resolver::get(ixion::formula_name_resolver_t::excel_a1, &engine->Context);
    engine_ = std::move(engine);
  } catch (const std::exception&) {
    // Without an engine every sound formula is taken as it is.
  }
}

TFormulaChecker::~TFormulaChecker() = default;

std::string TFormulaChecker::Written(std::string_view formula) const { return SheetNamesAsNamed(formula, sheetNames_); }

bool TFormulaChecker::Accepts(std::string_view formula) const {
  if (!ScanFormula(formula).Sound) return false;
  if (!engine_) return true;
  try {
    const auto tokens =
        ixion::parse_formula_string(engine_->Context, ixion::abs_address_t(0, 0, 0), *engine_->Resolver, formula);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

std::string UncomputedFunction(std::string_view formula) { return internal::UncomputedFunction(formula); }

bool FormulaAccepted(std::string_view formula, const std::vector<std::string>& sheetNames) {
  const TFormulaScan scan = ScanFormula(formula);
  if (!scan.Sound || !UncomputedFunction(formula).empty()) return false;
  try {
    const int cols = std::min(kMaxCols, std::max(1024, scan.MaxCol + 1));
    ixion::model_context cxt({static_cast<ixion::row_t>(kMaxRows), static_cast<ixion::col_t>(cols)});
    if (sheetNames.empty()) cxt.append_sheet("Sheet1");
    for (const std::string& name : sheetNames) cxt.append_sheet(name);
    auto resolver = ixion::formula_name_resolver::get(ixion::formula_name_resolver_t::excel_a1, &cxt);
    const ixion::abs_address_t origin(0, 0, 0);
    auto tokens = ixion::parse_formula_string(cxt, origin, *resolver, formula);
    for (const auto& token : tokens) {
      if (token->get_opcode() == ixion::fop_error) return false;
    }
    cxt.set_formula_cell(origin, std::move(tokens));
    ixion::register_formula_cell(cxt, origin);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

namespace {

bool EvaluateFormulasUnguarded(const std::vector<std::shared_ptr<TSheetData>>& sheets,
                               const std::vector<TDefinedName>& names) {
  // Nothing to do without formulas. The model spans the used cells and
  // every cell a formula or a name refers to.
  bool any = false;
  int lastRow = 1;
  int lastCol = 1;
  for (const auto& sheet : sheets) {
    lastRow = std::max(lastRow, static_cast<int>(sheet->Rows.size()));
    for (const auto& row : sheet->Rows) {
      lastCol = std::max(lastCol, static_cast<int>(row.size()));
      for (const auto& cell : row) any = any || cell.Kind == TCellKind::Formula;
    }
  }
  if (!any) return false;
  for (const auto& name : names) {
    lastRow = std::max(lastRow, name.Range.Row2);
    lastCol = std::max(lastCol, name.Range.Col2);
  }
  std::map<const TCell*, TFormulaScan> scans;
  for (const auto& sheet : sheets) {
    for (const auto& row : sheet->Rows) {
      for (const auto& cell : row) {
        if (cell.Kind != TCellKind::Formula) continue;
        TFormulaScan scan = ScanFormula(cell.Formula);
        // A block too large for the engine does not widen the model: its
        // formula is refused below in any case.
        double explicitCells = 0.0;
        for (const TRange& a : scan.Areas) {
          if (a.Row1 > 0 && a.Col1 > 0) explicitCells += double(a.Row2 - a.Row1 + 1) * double(a.Col2 - a.Col1 + 1);
        }
        if (scan.Sound && explicitCells <= kMaxFormulaCells) {
          lastRow = std::max(lastRow, scan.MaxRow);
          lastCol = std::max(lastCol, scan.MaxCol);
        }
        scans.emplace(&cell, std::move(scan));
      }
    }
  }

  // The calls the workbook computes itself go into helper cells beyond
  // every cell the formulas and names use (formula_functions.h).
  std::vector<std::string> sheetNames;
  for (const auto& sheet : sheets) sheetNames.push_back(sheet->Name);
  std::map<std::string, std::pair<int, TRange>> namedBlocks;
  for (const auto& name : names) {
    for (std::size_t s = 0; s < sheets.size() && !name.Local; ++s) {
      if (sheets[s]->Id == name.SheetId) namedBlocks[AsciiUpper(name.Name)] = {static_cast<int>(s), name.Range};
    }
  }
  internal::TOwnFunctionPlan plan(sheetNames, namedBlocks, lastRow, lastCol);
  // Per formula the text the engine gets (none when no helper cell fits).
  std::map<const TCell*, std::optional<std::string>> planned;
  for (std::size_t s = 0; s < sheets.size(); ++s) {
    for (const auto& row : sheets[s]->Rows) {
      for (const auto& cell : row) {
        if (cell.Kind == TCellKind::Formula && scans.at(&cell).Sound) {
          planned.emplace(&cell, plan.Plan(SheetNamesAsNamed(cell.Formula, sheetNames), static_cast<int>(s)));
        }
      }
    }
  }

  using namespace ixion;
  // Columns cost memory in the engine even when empty: the model is as
  // wide as the data, at least 1024 columns.
  const col_t cols = static_cast<col_t>(std::min(kMaxCols, std::max(1024, lastCol + 1)));
  const row_t rows = static_cast<row_t>(std::min(kMaxRows, std::max(1024, lastRow + plan.RowsTaken() + 1)));
  // The cells a formula's references cover, whole columns and rows within
  // the model.
  auto coveredCells = [&](const TFormulaScan& scan) {
    double cells = 0.0;
    for (const TRange& a : scan.Areas) {
      const double height = a.Row1 == 0 ? rows : a.Row2 - a.Row1 + 1;
      const double width = a.Col1 == 0 ? cols : a.Col2 - a.Col1 + 1;
      cells += height * width;
    }
    return cells;
  };
  model_context cxt({rows, cols});
  for (const auto& sheet : sheets) cxt.append_sheet(sheet->Name);
  auto resolver = formula_name_resolver::get(formula_name_resolver_t::excel_a1, &cxt);

  for (const auto& name : names) {
    if (name.Local) continue;
    for (const auto& sheet : sheets) {
      if (sheet->Id != name.SheetId) continue;
      const std::string reference = QuoteSheetName(sheet->Name) + "!" + RangeName(name.Range, true);
      if (!ScanFormula(reference).Sound) continue;
      try {
        cxt.set_named_expression(name.Name, parse_formula_string(cxt, abs_address_t(0, 0, 0), *resolver, reference));
      } catch (const std::exception&) {
        // A name the engine refuses is simply unknown to formulas.
      }
    }
  }

  struct Pending {
    abs_address_t Address;
    TCell* Cell;
  };
  std::vector<Pending> formulas;
  // Formulas the engine does not compute, with the error they show.
  std::map<abs_address_t, const char*> refused;
  auto refuse = [&](const abs_address_t& address, const TCell& cell, const char* errorName) {
    refused[address] = errorName;
    try {
      cxt.set_formula_cell(address, create_formula_error_tokens(cxt, cell.Formula, errorName));
    } catch (const std::exception&) {
      // The cell stays empty for the engine; it shows the error all the same.
    }
  };
  // Hands a formula to the engine ("#NAME?" where it cannot parse the text,
  // which `shown` names); false when the engine does not take the cell.
  auto place = [&](const abs_address_t& address, const std::string& text, const std::string& shown) {
    formula_tokens_t tokens;
    try {
      tokens = parse_formula_string(cxt, address, *resolver, text);
    } catch (const std::exception&) {
      tokens = create_formula_error_tokens(cxt, shown, "#NAME?");
    }
    try {
      cxt.set_formula_cell(address, std::move(tokens));
      register_formula_cell(cxt, address);
      return true;
    } catch (const std::exception&) {
      return false;
    }
  };
  for (std::size_t s = 0; s < sheets.size(); ++s) {
    auto& sheetRows = sheets[s]->Rows;
    for (std::size_t r = 0; r < sheetRows.size() && r < static_cast<std::size_t>(rows); ++r) {
      for (std::size_t c = 0; c < sheetRows[r].size() && c < static_cast<std::size_t>(cols); ++c) {
        TCell& cell = sheetRows[r][c];
        const abs_address_t address(static_cast<sheet_t>(s), static_cast<row_t>(r), static_cast<col_t>(c));
        switch (cell.Kind) {
          case TCellKind::Empty:
            break;
          case TCellKind::Number:
            cxt.set_numeric_cell(address, cell.Number);
            break;
          case TCellKind::Text:
            cxt.set_string_cell(address, cell.Text);
            break;
          case TCellKind::Formula: {
            formulas.push_back({address, &cell});
            const TFormulaScan& scan = scans.at(&cell);
            if (!scan.Sound) {
              refuse(address, cell, "#NAME?");
              break;
            }
            const std::optional<std::string>& text = planned.at(&cell);
            if (coveredCells(scan) > kMaxFormulaCells || !text) {
              refuse(address, cell, "#NUM!");
              break;
            }
            if (!place(address, *text, cell.Formula)) refuse(address, cell, "#NAME?");
            break;
          }
        }
      }
    }
  }
  abs_range_set_t dirty;
  for (const auto& f : formulas) dirty.insert(abs_range_t(f.Address));
  // The helper cells; those of calls are computed below, in their turn.
  std::map<abs_address_t, std::size_t> callAt;
  for (std::size_t k = 0; k < plan.Helpers().size(); ++k) {
    const internal::THelperCell& helper = plan.Helpers()[k];
    const abs_address_t address(static_cast<sheet_t>(helper.Sheet), helper.Row, helper.Col);
    if (!place(address, helper.Formula, helper.Formula)) continue;  // read as an error by the call
    dirty.insert(abs_range_t(address));
    if (helper.IsCall) callAt[address] = k;
  }
  // A formula the engine cannot compute (a function it does not know)
  // stops the whole calculation with an exception. Then the cells are
  // computed one by one in their order; a failing cell keeps the result it
  // had (the value a file stored, or "#NAME?") and hands that on to the
  // cells that depend on it.
  std::vector<bool> failed(formulas.size(), false);
  auto calculate = [&](const std::vector<abs_range_t>& sorted) {
    if (sorted.empty()) return;
    try {
      calculate_sorted_cells(cxt, sorted, 0);
    } catch (const std::exception&) {
      std::map<abs_address_t, std::size_t> indexOf;
      for (std::size_t i = 0; i < formulas.size(); ++i) indexOf[formulas[i].Address] = i;
      for (const abs_range_t& one : sorted) {
        try {
          calculate_sorted_cells(cxt, {one}, 0);
        } catch (const std::exception&) {
          const auto found = indexOf.find(one.first);
          if (found == indexOf.end()) continue;
          const TCell& cell = *formulas[found->second].Cell;
          failed[found->second] = true;
          formula_result kept;
          if (cell.Result == TFormulaResult::Number) {
            kept = formula_result(cell.Number);
          } else if (cell.Result == TFormulaResult::Text) {
            kept = formula_result(cell.Text);
          } else {
            kept = formula_result(formula_error_t::name_not_found);
          }
          auto tokens = formula_tokens_store::create();
          tokens->get() = create_formula_error_tokens(cxt, cell.Formula, "#NAME?");
          cxt.set_formula_cell(one.first, tokens, kept);
        }
      }
    }
  };
  try {
    const auto sorted = query_and_sort_dirty_cells(cxt, abs_range_set_t(), &dirty);
    // The engine computes the cells between two calls of own functions at
    // once; each call then takes what they hold.
    std::vector<abs_range_t> run;
    for (const abs_range_t& one : sorted) {
      const auto call = callAt.find(one.first);
      if (call == callAt.end()) {
        run.push_back(one);
        continue;
      }
      calculate(run);
      run.clear();
      formula_cell* cell = cxt.get_formula_cell(one.first);
      if (cell == nullptr) continue;
      // Checked for a circle of references as the engine checks its own
      // cells (which read no cell that is not); a circle gives its error.
      cell->reset();
      cell->check_circular(cxt, one.first);
      try {
        cell->get_raw_result_cache(formula_result_wait_policy_t::throw_exception);
        continue;
      } catch (const std::exception&) {
        // No result yet: no circle.
      }
      cell->set_result_cache(internal::ComputeOwnCall(cxt, plan.Helpers()[call->second], plan.Helpers(),
                                                      static_cast<int>(rows), static_cast<int>(cols)));
    }
    calculate(run);
  } catch (const std::exception&) {
    // Results that could not be computed read as errors below.
  }
  for (std::size_t i = 0; i < formulas.size(); ++i) {
    if (failed[i]) continue;
    const Pending& f = formulas[i];
    TCell& cell = *f.Cell;
    if (const auto found = refused.find(f.Address); found != refused.end()) {
      cell.Result = TFormulaResult::Error;
      cell.Text = found->second;
      cell.Number = 0.0;
      continue;
    }
    try {
      const formula_cell* fc = cxt.get_formula_cell(f.Address);
      if (fc == nullptr) throw std::runtime_error("no formula cell");
      const formula_result result = fc->get_result_cache(formula_result_wait_policy_t::throw_exception);
      switch (result.get_type()) {
        case formula_result::result_type::value:
          cell.Result = TFormulaResult::Number;
          cell.Number = result.get_value();
          cell.Text.clear();
          break;
        case formula_result::result_type::string:
          cell.Result = TFormulaResult::Text;
          cell.Text = result.get_string();
          cell.Number = 0.0;
          break;
        case formula_result::result_type::error:
          cell.Result = TFormulaResult::Error;
          cell.Text = std::string(get_formula_error_name(result.get_error()));
          cell.Number = 0.0;
          break;
        case formula_result::result_type::matrix:
          cell.Result = TFormulaResult::Error;
          cell.Text = "#VALUE!";
          cell.Number = 0.0;
          break;
      }
    } catch (const std::exception&) {
      cell.Result = TFormulaResult::Error;
      cell.Text = "#VALUE!";
      cell.Number = 0.0;
    }
  }
  return true;
}

}  // namespace

bool EvaluateFormulas(const std::vector<std::shared_ptr<TSheetData>>& sheets, const std::vector<TDefinedName>& names) {
  try {
    return EvaluateFormulasUnguarded(sheets, names);
  } catch (const std::exception&) {
    // The engine failed as a whole (its model could not be built): every
    // formula shows an error.
    for (const auto& sheet : sheets) {
      for (auto& row : sheet->Rows) {
        for (TCell& cell : row) {
          if (cell.Kind != TCellKind::Formula) continue;
          cell.Result = TFormulaResult::Error;
          cell.Text = "#VALUE!";
          cell.Number = 0.0;
        }
      }
    }
    return true;
  }
}

}  // namespace kvx::workbook
