// Main window commands: the menus' states on opening, a cell macro over
// 16,383 x 10 cells, the movable feasts of a year.
#include <benchmark/benchmark.h>

#include "app/menu_states.h"
#include "app/time_place_macros.h"
#include "app/window_commands.h"
#include "core/name_tables.h"
#include "platform/globals.h"
#include "platform/workbook/workbook.h"

namespace kvx {
namespace {

void BM_MenuStates(benchmark::State& state) {
  TMenuStateInput in;
  in.AsteroidName = "Ceres";
  in.VariableStarName = "Mira";
  in.Libraries.Vsop87C = 1;
  for (auto _ : state) benchmark::DoNotOptimize(MenuStates(in));
}
BENCHMARK(BM_MenuStates)->Unit(benchmark::kMicrosecond);

void BM_DegToDmsMacroOverSixteenThousandRows(benchmark::State& state) {
  InitCoreTablesAtStartup(IntlSeparators);
  workbook::TWorkbook sheet;
  for (int row = 1; row <= 16383; ++row) {
    for (int col = 1; col <= 10; ++col) sheet.SetNumber(row, col, row * 0.01 + col);
  }
  sheet.SetSelection(1, 1, 16383, 10);
  for (auto _ : state) {
    benchmark::DoNotOptimize(MacroDegToDms(sheet));
    benchmark::DoNotOptimize(MacroDmsToDeg(sheet));
  }
}
BENCHMARK(BM_DegToDmsMacroOverSixteenThousandRows)->Unit(benchmark::kMillisecond);

void BM_MovableFeastsOfAYear(benchmark::State& state) {
  InitCoreTablesAtStartup(IntlSeparators);
  for (auto _ : state) {
    workbook::TWorkbook sheet;
    benchmark::DoNotOptimize(WriteMovableFeasts(sheet, 2026));
  }
}
BENCHMARK(BM_MovableFeastsOfAYear)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kvx
