#include "platform/workbook/formula_functions.h"

#include <charconv>
#include <cmath>
#include <ixion/address.hpp>
#include <ixion/cell.hpp>
#include <ixion/exceptions.hpp>
#include <ixion/formula.hpp>
#include <ixion/formula_function_opcode.hpp>
#include <ixion/formula_name_resolver.hpp>
#include <ixion/model_context.hpp>
#include <limits>
#include <mutex>

#include "platform/ascii_case.h"
#include "platform/number_text.h"

namespace kvx::workbook::internal {

namespace {

struct TOwnFunctionRow {
  std::string_view Name;
  TOwnFunction Function;
};
constexpr TOwnFunctionRow kOwnFunctions[] = {{"MIN", TOwnFunction::Min},
                                             {"MAX", TOwnFunction::Max},
                                             {"AVERAGE", TOwnFunction::Average},
                                             {"COUNT", TOwnFunction::Count}};

std::optional<TOwnFunction> OwnFunction(std::string_view upperName) {
  for (const TOwnFunctionRow& row : kOwnFunctions) {
    if (row.Name == upperName) return row.Function;
  }
  return std::nullopt;
}

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsNameChar(char c) {
  return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '_' || c == '.' || c == '\\' ||
         static_cast<unsigned char>(c) >= 0x80;
}

// A call in a formula: its name (ASCII upper case) from `Begin`, the
// index of its '(' and of the ')' closing it (npos when none does).
struct TCall {
  std::string Name;
  std::size_t Begin = 0;
  std::size_t Open = 0;
  std::size_t Close = std::string_view::npos;
};

// The index of the ')' that closes the '(' at `open`, outside quotes; npos
// when none does.
std::size_t ClosingParenthesis(std::string_view formula, std::size_t open) {
  int depth = 0;
  for (std::size_t i = open; i < formula.size(); ++i) {
    const char c = formula[i];
    if (c == '"' || c == '\'') {
      i = SkipQuoted(formula, i);
      if (i == std::string_view::npos) return i;
      --i;
    } else if (c == '(') {
      ++depth;
    } else if (c == ')' && --depth == 0) {
      return i;
    }
  }
  return std::string_view::npos;
}

// Every call of the formula, in the order their names stand.
std::vector<TCall> Calls(std::string_view formula) {
  std::vector<TCall> calls;
  std::size_t i = 0;
  while (i < formula.size()) {
    const char c = formula[i];
    if (c == '"' || c == '\'') {
      i = SkipQuoted(formula, i);
      if (i == std::string_view::npos) break;
      continue;
    }
    if (!IsNameChar(c) && c != '$') {
      ++i;
      continue;
    }
    std::size_t j = i;
    while (j < formula.size() && (IsNameChar(formula[j]) || formula[j] == '$')) ++j;
    if (j < formula.size() && formula[j] == '(' && (IsAsciiLetter(c) || c == '_' || c == '\\')) {
      calls.push_back({AsciiUpper(formula.substr(i, j - i)), i, j, ClosingParenthesis(formula, j)});
    }
    i = j;
  }
  return calls;
}

// The arguments between the parentheses at `open` and `close`, split at the
// commas outside quotes and inner parentheses, blanks around them removed.
std::vector<std::string_view> Arguments(std::string_view formula, std::size_t open, std::size_t close) {
  std::vector<std::string_view> arguments;
  auto add = [&](std::size_t from, std::size_t to) {
    std::string_view argument = formula.substr(from, to - from);
    while (!argument.empty() && argument.front() == ' ') argument.remove_prefix(1);
    while (!argument.empty() && argument.back() == ' ') argument.remove_suffix(1);
    arguments.push_back(argument);
  };
  int depth = 0;
  std::size_t start = open + 1;
  for (std::size_t i = open + 1; i < close; ++i) {
    const char c = formula[i];
    if (c == '"' || c == '\'') {
      i = SkipQuoted(formula, i) - 1;
    } else if (c == '(') {
      ++depth;
    } else if (c == ')') {
      --depth;
    } else if (c == ',' && depth == 0) {
      add(start, i);
      start = i + 1;
    }
  }
  add(start, close);
  if (arguments.size() == 1 && arguments.front().empty()) arguments.clear();  // "MIN()"
  return arguments;
}

// Whether the engine computes the function: it knows the name, and a call
// of it does not stop the engine as one it has not implemented. Tried once
// per name and process.
bool EngineComputes(const std::string& upperName) {
  static std::mutex guard;
  static std::map<std::string, bool> known;
  const std::lock_guard<std::mutex> lock(guard);
  if (const auto found = known.find(upperName); found != known.end()) return found->second;
  bool computes = ixion::get_formula_function_opcode(upperName) != ixion::formula_function_t::func_unknown;
  if (computes) {
    try {
      ixion::model_context cxt({16, 16});
      cxt.append_sheet("Sheet1");
      const auto resolver = ixion::formula_name_resolver::get(ixion::formula_name_resolver_t::excel_a1, &cxt);
      const ixion::abs_address_t origin(0, 0, 0);
      cxt.set_formula_cell(origin, ixion::parse_formula_string(cxt, origin, *resolver, upperName + "()"));
      ixion::register_formula_cell(cxt, origin);
      ixion::calculate_sorted_cells(cxt, {ixion::abs_range_t(origin)}, 0);
    } catch (const ixion::not_implemented_error&) {
      computes = false;
    } catch (const std::exception&) {
      // Refused for its arguments: the engine has the function.
    }
  }
  known.emplace(upperName, computes);
  return computes;
}

std::string AbsoluteAddress(const THelperCell& cell) {
  std::string address(1, '$');
  address += ColumnLetters(cell.Col + 1);
  address += '$';
  address += WholeNumberText(cell.Row + 1);
  return address;
}

// A text value as a number ("3", " 2.5e1 "), as a spreadsheet reads a text
// handed to a numeric function.
std::optional<double> TextNumber(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

// What a call gathers from its arguments.
struct TGathered {
  double Sum = 0.0;
  double Min = std::numeric_limits<double>::infinity();
  double Max = -std::numeric_limits<double>::infinity();
  long long Count = 0;
  std::optional<ixion::formula_error_t> Error;

  void Take(double value) {
    Sum += value;
    Min = std::min(Min, value);
    Max = std::max(Max, value);
    ++Count;
  }
  void Fail(ixion::formula_error_t error) {
    if (!Error) Error = error;
  }
};

// The computed result of a formula cell; an error when it has none (a cell
// of a circle of references, or one the engine could not compute).
ixion::formula_result ResultOf(const ixion::model_context& cxt, const ixion::abs_address_t& address) {
  try {
    const ixion::formula_cell* cell = cxt.get_formula_cell(address);
    if (cell != nullptr) return cell->get_raw_result_cache(ixion::formula_result_wait_policy_t::throw_exception);
  } catch (const std::exception&) {
    // Falls through to the error.
  }
  return ixion::formula_result(ixion::formula_error_t::ref_result_not_available);
}

void GatherRange(const ixion::model_context& cxt, const TOwnArgument& argument, int rows, int cols, TGathered& out) {
  const TRange& a = argument.Area;
  const int row1 = a.Row1 == 0 ? 1 : a.Row1;
  const int row2 = std::min(a.Row1 == 0 ? rows : a.Row2, rows);
  const int col1 = a.Col1 == 0 ? 1 : a.Col1;
  const int col2 = std::min(a.Col1 == 0 ? cols : a.Col2, cols);
  for (int row = row1; row <= row2; ++row) {
    for (int col = col1; col <= col2; ++col) {
      const ixion::abs_address_t address(argument.Sheet, row - 1, col - 1);
      switch (cxt.get_celltype(address)) {
        case ixion::celltype_t::numeric:
          out.Take(cxt.get_numeric_value(address));
          break;
        case ixion::celltype_t::formula: {
          const ixion::formula_result result = ResultOf(cxt, address);
          if (result.get_type() == ixion::formula_result::result_type::value) out.Take(result.get_value());
          if (result.get_type() == ixion::formula_result::result_type::error) out.Fail(result.get_error());
          break;
        }
        default:
          break;  // texts, truth values and empty cells
      }
    }
  }
}

void GatherValue(const ixion::model_context& cxt, const THelperCell& helper, TGathered& out) {
  const ixion::formula_result result = ResultOf(cxt, ixion::abs_address_t(helper.Sheet, helper.Row, helper.Col));
  switch (result.get_type()) {
    case ixion::formula_result::result_type::value:
      out.Take(result.get_value());
      break;
    case ixion::formula_result::result_type::string:
      if (const auto number = TextNumber(result.get_string())) {
        out.Take(*number);
      } else {
        out.Fail(ixion::formula_error_t::invalid_value_type);
      }
      break;
    case ixion::formula_result::result_type::error:
      out.Fail(result.get_error());
      break;
    case ixion::formula_result::result_type::matrix:
      out.Fail(ixion::formula_error_t::invalid_value_type);
      break;
  }
}

}  // namespace

TOwnFunctionPlan::TOwnFunctionPlan(std::vector<std::string> sheetNames,
                                   std::map<std::string, std::pair<int, TRange>> names, int firstRow, int column)
    : sheetNames_(std::move(sheetNames)), names_(std::move(names)), firstRow_(firstRow), column_(column) {}

int TOwnFunctionPlan::RowsTaken() const {
  int most = 0;
  for (const auto& [sheet, rows] : rowsTaken_) most = std::max(most, rows);
  return most;
}

std::optional<std::string> TOwnFunctionPlan::Plan(std::string_view formula, int sheet) {
  std::string planned;
  std::size_t copied = 0;
  for (const TCall& call : Calls(formula)) {
    if (call.Begin < copied || call.Close == std::string_view::npos) continue;
    const std::optional<TOwnFunction> function = OwnFunction(call.Name);
    if (!function) continue;
    const std::optional<std::string> helper = PlanCall(formula, call.Open, call.Close, *function, sheet);
    if (!helper) return std::nullopt;
    planned.append(formula.substr(copied, call.Begin - copied));
    planned += *helper;
    copied = call.Close + 1;
  }
  if (copied == 0) return std::string(formula);
  planned.append(formula.substr(copied));
  return planned;
}

std::optional<std::string> TOwnFunctionPlan::PlanCall(std::string_view formula, std::size_t open, std::size_t close,
                                                      TOwnFunction function, int sheet) {
  THelperCell call;
  call.Sheet = sheet;
  call.IsCall = true;
  call.Function = function;
  std::string reads;
  auto read = [&reads](std::string_view what) {
    if (!reads.empty()) reads += ',';
    reads += what;
  };
  for (const std::string_view text : Arguments(formula, open, close)) {
    if (text.empty()) {
      call.Arguments.push_back(TOwnArgument{});
      continue;
    }
    if (const std::optional<TOwnArgument> range = RangeArgument(text, sheet)) {
      call.Arguments.push_back(*range);
      read(text);
      continue;
    }
    const std::optional<std::string> value = Plan(text, sheet);
    if (!value) return std::nullopt;
    THelperCell helper;
    helper.Sheet = sheet;
    helper.Formula = *value;
    const std::optional<std::size_t> index = AddHelper(std::move(helper));
    if (!index) return std::nullopt;
    TOwnArgument argument;
    argument.Kind = TOwnArgument::TKind::Value;
    argument.Helper = *index;
    call.Arguments.push_back(argument);
    read(AbsoluteAddress(helpers_[*index]));
  }
  call.Formula = reads.empty() ? std::string("0") : "SUM(" + reads + ")";
  const std::optional<std::size_t> index = AddHelper(std::move(call));
  if (!index) return std::nullopt;
  return AbsoluteAddress(helpers_[*index]);
}

std::optional<std::size_t> TOwnFunctionPlan::AddHelper(THelperCell cell) {
  int& taken = rowsTaken_[cell.Sheet];
  if (column_ >= kMaxCols || firstRow_ + taken >= kMaxRows) return std::nullopt;
  cell.Row = firstRow_ + taken++;
  cell.Col = column_;
  helpers_.push_back(std::move(cell));
  return helpers_.size() - 1;
}

std::optional<TOwnArgument> TOwnFunctionPlan::RangeArgument(std::string_view text, int sheet) const {
  TOwnArgument argument;
  argument.Kind = TOwnArgument::TKind::Range;
  argument.Sheet = sheet;
  // A name of the workbook.
  if (const auto name = names_.find(AsciiUpper(text)); name != names_.end()) {
    argument.Sheet = name->second.first;
    argument.Area = name->second.second;
    return argument;
  }
  // A sheet prefix, quoted or plain.
  std::size_t at = 0;
  std::string prefix;
  if (text.front() == '\'') {
    const std::size_t end = SkipQuoted(text, 0);
    if (end == std::string_view::npos || end >= text.size() || text[end] != '!') return std::nullopt;
    for (std::size_t i = 1; i + 1 < end; ++i) {
      if (text[i] == '\'') ++i;  // a doubled apostrophe
      prefix += text[i];
    }
    at = end + 1;
  } else if (const std::size_t bang = text.find('!'); bang != std::string_view::npos) {
    prefix = text.substr(0, bang);
    at = bang + 1;
  }
  if (at > 0) {
    argument.Sheet = -1;
    for (std::size_t k = 0; k < sheetNames_.size() && argument.Sheet < 0; ++k) {
      if (sheetNames_[k] == prefix) argument.Sheet = static_cast<int>(k);
    }
    for (std::size_t k = 0; k < sheetNames_.size() && argument.Sheet < 0; ++k) {
      if (EqualIgnoringAsciiCase(sheetNames_[k], prefix)) argument.Sheet = static_cast<int>(k);
    }
    if (argument.Sheet < 0) return std::nullopt;
  }
  const std::size_t length = ReadReference(text, at, argument.Area);
  if (length == 0 || at + length != text.size()) return std::nullopt;
  return argument;
}

ixion::formula_result ComputeOwnCall(const ixion::model_context& cxt, const THelperCell& call,
                                     const std::vector<THelperCell>& helpers, int rows, int cols) {
  TGathered gathered;
  for (const TOwnArgument& argument : call.Arguments) {
    switch (argument.Kind) {
      case TOwnArgument::TKind::Zero:
        gathered.Take(0.0);
        break;
      case TOwnArgument::TKind::Range:
        GatherRange(cxt, argument, rows, cols, gathered);
        break;
      case TOwnArgument::TKind::Value:
        GatherValue(cxt, helpers[argument.Helper], gathered);
        break;
    }
  }
  if (call.Function == TOwnFunction::Count) return ixion::formula_result(static_cast<double>(gathered.Count));
  if (gathered.Error) return ixion::formula_result(*gathered.Error);
  switch (call.Function) {
    case TOwnFunction::Min:
      return ixion::formula_result(gathered.Count > 0 ? gathered.Min : 0.0);
    case TOwnFunction::Max:
      return ixion::formula_result(gathered.Count > 0 ? gathered.Max : 0.0);
    case TOwnFunction::Average:
      if (gathered.Count == 0) return ixion::formula_result(ixion::formula_error_t::division_by_zero);
      return ixion::formula_result(gathered.Sum / static_cast<double>(gathered.Count));
    case TOwnFunction::Count:
      break;
  }
  return ixion::formula_result(static_cast<double>(gathered.Count));
}

std::string UncomputedFunction(std::string_view formula) {
  for (const TCall& call : Calls(formula)) {
    if (!OwnFunction(call.Name) && !EngineComputes(call.Name)) return call.Name;
  }
  return {};
}

}  // namespace kvx::workbook::internal
