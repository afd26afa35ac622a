// Where the table writers put their cells: the workbook sheet or the result
// grid. One writer loop serves both through TCellSink; what differs between
// the two targets is a property of the sink, not a copy of the loop.
//
// Every value goes through the cell-writer family it names (engine/
// cell_format.h) with its format slot. A value that is not finite (NaN,
// infinity: an element the state could not give, a planet outside its
// theory) never reaches a family: the cell is left empty.
//
// Rows and columns are 1-based in both targets: heading row 1, data row k in
// row k + 1; the grid's row 0 and column 0 (its titles) are never written.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/name_tables.h"
#include "engine/cell_format.h"
#include "engine/mystringgrid.h"

namespace kvx {

// The main window's output settings that the table writers read. The main
// window owns one record and hands it to each table object before it
// writes (TKeplereph::OutputSettings).
struct TTableOutputSettings {
  // A blank and the second output equinox as a whole year, appended to the
  // headings of the second-equinox columns.
  std::string SecondEquinoxText = " 2000";
  // Degrees added to every azimuth shown (0: from the south, 180: from the
  // north).
  double AzimuthOrigin = 0;
  // Rise, transit, set and twilight times written as Julian days (slot 3).
  std::uint8_t RiseSetAsJulianDate = 0;
  // The VSOP82 library is present (the planets' osculating-element block).
  std::uint8_t Vsop82Available = 0;
  // Grid column width = Trunc(ColumnWidthTable[slot] x FontScale), pixels.
  double FontScale = 1.0;
  std::array<std::int32_t, kQuantityCount> ColumnWidthTable = DefaultColumnWidths();

  static std::array<std::int32_t, kQuantityCount> DefaultColumnWidths() {
    std::array<std::int32_t, kQuantityCount> widths{};
    widths.fill(64);
    return widths;
  }
};

// The cell-writer families of the table writers.
enum class TCellFamily : std::uint8_t {
  Number,
  Angle,
  TimeOfDay,
  Arcseconds,
  Arcminutes,
  SecondsMarked,
  DegreeMarked,
  Longitude,  // with a direction word
  Magnitude,
  Minutes,
  HoursAsMinutes,
  ElementMagnitude,  // H and G of an element row
};

class TCellSink {
 public:
  virtual ~TCellSink() = default;

  // A value through its family; a non-finite value gives an empty cell.
  // `direction` is read by the longitude family only.
  void Value(TCellFamily family, int row, int col, int slot, double value, const std::string& direction = {});
  // A text as it stands (an empty text empties the cell).
  virtual void Text(int row, int col, const std::string& text) = 0;
  virtual void Date(int row, int col, int slot, int year, int month, int day) = 0;
  // Heading-row width of a column from its format slot (the grid only).
  virtual void Width(int /*col*/, int /*slot*/) {}

  // --- the differences between the targets ---------------------------------
  virtual bool IsGrid() const = 0;
  // The mean anomaly: a plain number in the sheet, an angle in the grid.
  virtual TCellFamily MeanAnomalyFamily() const = 0;

 protected:
  virtual void Family(TCellFamily family, int row, int col, int slot, double value, const std::string& direction) = 0;
};

class TSheetSink final : public TCellSink {
 public:
  explicit TSheetSink(TSheet& sheet) : sheet_(sheet) {}
  void Text(int row, int col, const std::string& text) override;
  void Date(int row, int col, int slot, int year, int month, int day) override;
  bool IsGrid() const override { return false; }
  TCellFamily MeanAnomalyFamily() const override { return TCellFamily::Number; }
  TSheet& Sheet() { return sheet_; }

 protected:
  void Family(TCellFamily family, int row, int col, int slot, double value, const std::string& direction) override;

 private:
  TSheet& sheet_;
};

class TGridSink final : public TCellSink {
 public:
  TGridSink(tmystringgrid& grid, const TTableOutputSettings& settings) : grid_(grid), settings_(settings) {}
  void Text(int row, int col, const std::string& text) override;
  void Date(int row, int col, int slot, int year, int month, int day) override;
  void Width(int col, int slot) override;
  bool IsGrid() const override { return true; }
  TCellFamily MeanAnomalyFamily() const override { return TCellFamily::Angle; }
  tmystringgrid& Grid() { return grid_; }

 protected:
  void Family(TCellFamily family, int row, int col, int slot, double value, const std::string& direction) override;

 private:
  tmystringgrid& grid_;
  const TTableOutputSettings& settings_;
};

// Sets the result grid's row and column counts (the fixed row and column
// included); a sheet is left as it is.
void SizeGrid(TCellSink& sink, int rows, int cols);

// A number with `decimals` decimals (the pattern of DecimalPatternTable,
// the count clamped to the table) in either target.
void WriteNumberWithDecimals(TCellSink& sink, int row, int col, double value, int decimals);

// The finish of a table in the sheet: rows 1..lastRow and columns
// 1..lastCol made as high and as wide as their contents, with A1 selected
// before and after. lastCol -1: the sheet's last used column (at least 1);
// lastRow is the sheet's last used row (at least 1).
void FitSheetToContents(TSheet& sheet, int lastCol = -1);
// The same after centring the cells of the first row (horizontally and
// vertically, no wrap).
void CentreFirstRowAndFit(TSheet& sheet);

// Trunc(ColumnWidthTable[slot] x scale); a slot outside the table gives 64 x
// scale, a negative or non-finite product 0.
int GridColumnWidth(const TTableOutputSettings& settings, int slot, double scale);

}  // namespace kvx
