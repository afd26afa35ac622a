// The functions of the formulas: which ones the formula engine computes, and
// those the workbook computes itself because the engine takes no ranges for
// them (MIN, MAX), counts texts in their ranges (AVERAGE) or lacks them
// (COUNT). A call of such a function is handed to the engine as a helper
// cell whose value the workbook puts in, once the engine has computed what
// the call reads (formula_engine.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <ixion/formula_result.hpp>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/workbook/cell_reference.h"

namespace ixion {
class model_context;
}

namespace kvx::workbook::internal {

// The functions the workbook computes itself.
enum class TOwnFunction : std::uint8_t { Min, Max, Average, Count };

// One argument of a call of an own function: a block of cells, a value the
// engine computes in a helper cell, or an empty argument (0).
struct TOwnArgument {
  enum class TKind : std::uint8_t { Range, Value, Zero } Kind = TKind::Zero;
  int Sheet = 0;           // Range: the sheet's index in the model
  TRange Area;             // Range: 1-based; rows 0 for whole columns, columns 0 for whole rows
  std::size_t Helper = 0;  // Value: the helper cell with the argument's value
};

// A cell the engine gets beside the sheets' own: an argument's value (its
// formula), or a call of an own function, whose formula only names what the
// call reads, so that the engine orders it after those cells.
struct THelperCell {
  int Sheet = 0;  // 0-based position in the model
  int Row = 0;
  int Col = 0;
  std::string Formula;  // the engine's syntax (',' between arguments)
  bool IsCall = false;
  TOwnFunction Function = TOwnFunction::Min;
  std::vector<TOwnArgument> Arguments;
};

// The calls of own functions in the formulas of a workbook, planned as
// helper cells. Each sheet's helper cells go down one column right of every
// cell the formulas and names use, from the first row below them, so that no
// reference of the workbook (whole rows and columns included) reaches them.
class TOwnFunctionPlan {
 public:
  // `names`: the workbook's names, ASCII upper case, with their sheet's index
  // and block; `firstRow`, `column`: where the helper cells begin (0-based).
  TOwnFunctionPlan(std::vector<std::string> sheetNames, std::map<std::string, std::pair<int, TRange>> names,
                   int firstRow, int column);

  // The formula (without '=') of a cell of `sheet` as the engine gets it:
  // each call of an own function outside another is an absolute reference
  // to its helper cell. The formula itself when it calls none; nothing when
  // the sheet has no room left for helper cells.
  std::optional<std::string> Plan(std::string_view formula, int sheet);

  const std::vector<THelperCell>& Helpers() const { return helpers_; }
  // The most helper rows one sheet takes.
  int RowsTaken() const;

 private:
  std::optional<std::string> PlanCall(std::string_view formula, std::size_t open, std::size_t close,
                                      TOwnFunction function, int sheet);
  std::optional<std::size_t> AddHelper(THelperCell cell);
  std::optional<TOwnArgument> RangeArgument(std::string_view text, int sheet) const;

  std::vector<std::string> sheetNames_;
  std::map<std::string, std::pair<int, TRange>> names_;
  int firstRow_;
  int column_;
  std::map<int, int> rowsTaken_;
  std::vector<THelperCell> helpers_;
};

// The value of a planned call from the engine's model (`rows` by `cols`
// cells per sheet): the numbers its blocks hold (texts, truth values and
// empty cells passed over, as the spreadsheets do) and the numbers of its
// values (a text that reads as a number counts; another is "#VALUE!"). MIN
// and MAX of no number are 0, AVERAGE of none is "#DIV/0!"; the first error
// met is the result but for COUNT, which counts the numbers alone.
ixion::formula_result ComputeOwnCall(const ixion::model_context& cxt, const THelperCell& call,
                                     const std::vector<THelperCell>& helpers, int rows, int cols);

// The name (ASCII upper case) of the first function the formula (the
// engine's syntax) calls that neither the workbook nor the engine computes;
// empty when there is none.
std::string UncomputedFunction(std::string_view formula);

// From formula_engine.cpp: the length of the reference (a cell, a block,
// whole columns or rows) at `pos`, 0 when none stands there; and the index
// after the string literal or quoted name opened at `i` (npos when it is not
// closed).
std::size_t ReadReference(std::string_view text, std::size_t pos, TRange& area);
std::size_t SkipQuoted(std::string_view text, std::size_t i);

}  // namespace kvx::workbook::internal
