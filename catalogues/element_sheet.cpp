#include "catalogues/element_sheet.h"

#include <algorithm>
#include <array>

#include "engine/cell_format.h"

namespace kvx {

namespace {

constexpr std::size_t kObjectSlot = 161;
constexpr std::array<int, 11> kAsteroidSlots = {135, 137, 138, 139, 140, 142, 143, 147, 164, 165, 166};
constexpr std::array<int, 10> kCometSlots = {136, 137, 138, 139, 140, 147, 144, 165, 166, 164};

template <std::size_t N>
void WriteHeader(workbook::TWorkbook& sheet, const char* header, const TTableConfigRecord& config,
                 const std::array<int, N>& slots) {
  sheet.SetText(1, 1, header);
  sheet.SetText(2, 1, ":" + config.ColumnTitles[kObjectSlot]);
  int col = 2;
  for (int slot : slots) sheet.SetText(2, col++, config.ColumnTitles[static_cast<std::size_t>(slot)]);
}

template <std::size_t N>
void AppendRow(workbook::TWorkbook& sheet, const std::string& name, const std::array<int, N>& slots,
               const std::array<double, N>& values) {
  const int row = sheet.LastRow() + 1;
  sheet.SetText(row, 1, name);
  for (std::size_t k = 0; k < N; ++k) WriteNumberToSheet(sheet, row, static_cast<int>(k) + 2, slots[k], values[k]);
  sheet.SetSelectionText("A1:A1");
  const int lastRow = std::max(1, sheet.LastRow());
  const int lastCol = std::max(1, sheet.LastCol());
  sheet.SetRowHeightAuto(1, 1, lastRow, lastCol);
  sheet.SetColWidthAuto(1, 1, lastRow, lastCol);
  sheet.SetSelectionText("A1:A1");
}

}  // namespace

void WriteAsteroidElementHeaderToSheet(workbook::TWorkbook& sheet, const TTableConfigRecord& config) {
  WriteHeader(sheet, kAsteroidElementSheetHeader, config, kAsteroidSlots);
}

void WriteCometElementHeaderToSheet(workbook::TWorkbook& sheet, const TTableConfigRecord& config) {
  WriteHeader(sheet, kCometElementSheetHeader, config, kCometSlots);
}

void AppendAsteroidElementRowToSheet(workbook::TWorkbook& sheet, const TAsteroidElements& e) {
  AppendRow(sheet, e.Name, kAsteroidSlots,
            {e.SemiMajorAxis, e.Eccentricity, e.Inclination, e.Node, e.Perihelion, e.MeanAnomaly, e.MeanMotion,
             e.Equinox, e.Epoch, e.H, e.G});
}

void AppendCometElementRowToSheet(workbook::TWorkbook& sheet, const TCometElements& e) {
  AppendRow(sheet, e.Name, kCometSlots,
            {e.PerihelionDistance, e.Eccentricity, e.Inclination, e.Node, e.Perihelion, e.Equinox, e.PerihelionTime,
             e.H, e.G, e.Epoch});
}

}  // namespace kvx
