#include "platform/workbook/formula_engine.h"

#include <algorithm>
#include <map>
#include <cctype>

#include <ixion/address.hpp>
#include <ixion/cell.hpp>
#include <ixion/exceptions.hpp>
#include <ixion/formula.hpp>
#include <ixion/formula_name_resolver.hpp>
#include <ixion/formula_result.hpp>
#include <ixion/model_context.hpp>

#include "platform/workbook/cell_reference.h"
#include "platform/workbook/workbook.h"

namespace kvx::workbook {

namespace {

bool IsAlpha(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }
bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }
bool IsWordChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '.' || c == '\\' ||
         static_cast<unsigned char>(c) >= 0x80;
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

// Reads the quoted sheet name starting at i (the opening apostrophe) into
// name, doubled apostrophes read as one; returns the index of the closing
// apostrophe (the formula's length when there is none).
std::size_t ReadQuotedSheetName(std::string_view formula, std::size_t i, std::string& name) {
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
  return j;
}

}  // namespace

std::string QuoteSheetName(std::string_view name) {
  bool plain = !name.empty() && !IsDigit(name[0]);
  for (char c : name) plain = plain && (std::isalnum(static_cast<unsigned char>(c)) || c == '_');
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
  std::string out;
  std::size_t i = 0;
  // Handles a reference (after an optional prefix) at i; returns false when
  // nothing reference-like stands there.
  auto reference = [&](const std::string& sheet, const std::string& prefixText) {
    TRefPoint first;
    const std::size_t n1 = ReadCell(formula, i, first);
    if (n1 == 0) return false;
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
    i = end;
    return true;
  };
  while (i < formula.size()) {
    const char c = formula[i];
    if (c == '"') {
      // String literal with doubled quotes inside.
      i = CopyQuoted(formula, i, out);
    } else if (c == '\'') {
      std::string name;
      const std::size_t j = ReadQuotedSheetName(formula, i, name);
      if (j + 1 < formula.size() && formula[j + 1] == '!') {
        const std::string prefixText(formula.substr(i, j + 2 - i));
        i = j + 2;
        if (!reference(name, prefixText)) out += prefixText;
      } else {
        const std::size_t stop = std::min(formula.size(), j + 1);
        out += formula.substr(i, stop - i);
        i = stop;
      }
    } else if (IsAlpha(c) || c == '$' || c == '_' || c == '\\') {
      std::size_t j = i;
      while (j < formula.size() && (IsWordChar(formula[j]) || formula[j] == '$')) ++j;
      if (j < formula.size() && formula[j] == '!') {
        const std::string sheet(formula.substr(i, j - i));
        const std::string prefixText = sheet + "!";
        i = j + 1;
        if (!reference(sheet, prefixText)) out += prefixText;
      } else if (!reference(std::string(), std::string())) {
        out += formula.substr(i, j - i);
        i = j;
      }
    } else if (IsDigit(c) || (c == '.' && i + 1 < formula.size() && IsDigit(formula[i + 1]))) {
      // A number, with a possible exponent: copied whole.
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
      out += formula.substr(i, j - i);
      i = j;
    } else {
      out += c;
      ++i;
    }
  }
  return out;
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

std::string RenameSheetInFormula(std::string_view formula, std::string_view oldName, std::string_view newName) {
  auto lower = [](std::string_view s) {
    std::string l(s);
    for (char& c : l) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return l;
  };
  const std::string oldLower = lower(oldName);
  const std::string replacement = QuoteSheetName(newName);
  std::string out;
  std::size_t i = 0;
  while (i < formula.size()) {
    const char c = formula[i];
    if (c == '"') {
      i = CopyQuoted(formula, i, out);
    } else if (c == '\'') {
      std::string name;
      const std::size_t j = ReadQuotedSheetName(formula, i, name);
      const std::size_t stop = std::min(formula.size(), j + 1);
      if (stop < formula.size() && formula[stop] == '!' && lower(name) == oldLower) {
        out += replacement;
      } else {
        out += formula.substr(i, stop - i);
      }
      i = stop;
    } else if (IsAlpha(c) || c == '_' || c == '\\') {
      std::size_t j = i;
      while (j < formula.size() && IsWordChar(formula[j])) ++j;
      const std::string_view word = formula.substr(i, j - i);
      if (j < formula.size() && formula[j] == '!' && lower(word) == oldLower) {
        out += replacement;
      } else {
        out += word;
      }
      i = j;
    } else {
      out += c;
      ++i;
    }
  }
  return out;
}

std::string FormulaToLocal(std::string_view formula, char decimal) {
  if (decimal != ',') return std::string(formula);
  std::string out;
  std::size_t i = 0;
  while (i < formula.size()) {
    const char c = formula[i];
    if (c == '"' || c == '\'') {
      i = CopyQuoted(formula, i, out);
    } else if (IsAlpha(c) || c == '_' || c == '$' || c == '\\') {
      // Names and references, which may hold digits and points.
      std::size_t j = i;
      while (j < formula.size() && (IsWordChar(formula[j]) || formula[j] == '$')) ++j;
      out += formula.substr(i, j - i);
      i = j;
    } else if (IsDigit(c) || (c == '.' && i + 1 < formula.size() && IsDigit(formula[i + 1]))) {
      while (i < formula.size() && (IsDigit(formula[i]) || formula[i] == '.')) {
        out += formula[i] == '.' ? ',' : formula[i];
        ++i;
      }
    } else {
      out += c == ',' ? ';' : c;
      ++i;
    }
  }
  return out;
}

std::string FormulaFromLocal(std::string_view formula, char decimal) {
  if (decimal != ',') return std::string(formula);
  std::string out;
  std::size_t i = 0;
  while (i < formula.size()) {
    const char c = formula[i];
    if (c == '"' || c == '\'') {
      i = CopyQuoted(formula, i, out);
    } else {
      out += c == ',' ? '.' : (c == ';' ? ',' : c);
      ++i;
    }
  }
  return out;
}

bool FormulaParses(std::string_view formula) {
  try {
    ixion::model_context cxt({1000, 100});
    cxt.append_sheet("Sheet1");
    auto resolver = ixion::formula_name_resolver::get(ixion::formula_name_resolver_t::excel_a1, &cxt);
    const auto tokens = ixion::parse_formula_string(cxt, ixion::abs_address_t(0, 0, 0), *resolver, formula);
    for (const auto& token : tokens) {
      if (token->get_opcode() == ixion::fop_error) return false;
    }
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool EvaluateFormulas(const std::vector<std::shared_ptr<TSheetData>>& sheets, const std::vector<TDefinedName>& names) {
  // Nothing to do without formulas.
  bool any = false;
  int lastCol = 1;
  for (const auto& sheet : sheets) {
    for (const auto& row : sheet->Rows) {
      lastCol = std::max(lastCol, static_cast<int>(row.size()));
      for (const auto& cell : row) any = any || cell.Kind == TCellKind::Formula;
    }
  }
  if (!any) return false;

  using namespace ixion;
  // Columns cost memory in the engine even when empty: the model is as
  // wide as the data, at least 1024 columns.
  const col_t cols = static_cast<col_t>(std::min(kMaxCols, std::max(1024, lastCol + 1)));
  model_context cxt({static_cast<row_t>(kMaxRows), cols});
  for (const auto& sheet : sheets) cxt.append_sheet(sheet->Name);
  auto resolver = formula_name_resolver::get(formula_name_resolver_t::excel_a1, &cxt);

  for (const auto& name : names) {
    if (name.Local) continue;
    for (const auto& sheet : sheets) {
      if (sheet->Id != name.SheetId) continue;
      const std::string reference = QuoteSheetName(sheet->Name) + "!" + RangeName(name.Range, true);
      try {
        cxt.set_named_expression(name.Name,
                                 parse_formula_string(cxt, abs_address_t(0, 0, 0), *resolver, reference));
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
  for (std::size_t s = 0; s < sheets.size(); ++s) {
    auto& rows = sheets[s]->Rows;
    for (std::size_t r = 0; r < rows.size(); ++r) {
      for (std::size_t c = 0; c < rows[r].size() && c < static_cast<std::size_t>(cols); ++c) {
        TCell& cell = rows[r][c];
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
            formula_tokens_t tokens;
            try {
              tokens = parse_formula_string(cxt, address, *resolver, cell.Formula);
            } catch (const std::exception&) {
              tokens = create_formula_error_tokens(cxt, cell.Formula, "#NAME?");
            }
            cxt.set_formula_cell(address, std::move(tokens));
            register_formula_cell(cxt, address);
            formulas.push_back({address, &cell});
            break;
          }
        }
      }
    }
  }
  abs_range_set_t dirty;
  for (const auto& f : formulas) dirty.insert(abs_range_t(f.Address));
  // A formula the engine cannot compute (a function it does not know)
  // stops the whole calculation with an exception. Then the cells are
  // computed one by one in their order; a failing cell keeps the result it
  // had (the value a file stored, or "#NAME?") and hands that on to the
  // cells that depend on it.
  std::vector<bool> failed(formulas.size(), false);
  try {
    const auto sorted = query_and_sort_dirty_cells(cxt, abs_range_set_t(), &dirty);
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
  } catch (const std::exception&) {
    // Results that could not be computed read as errors below.
  }
  for (std::size_t i = 0; i < formulas.size(); ++i) {
    if (failed[i]) continue;
    const Pending& f = formulas[i];
    TCell& cell = *f.Cell;
    try {
      const formula_cell* fc = cxt.get_formula_cell(f.Address);
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

}  // namespace kvx::workbook
