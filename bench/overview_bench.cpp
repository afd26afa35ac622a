// Speed of the daily overview (every column on, computed and written into
// the sheet) on the internal series and on the VSOP87 D and ELP libraries,
// of the single-date page model of the Moon, and of the state-vector table.
#include <benchmark/benchmark.h>

#include "core/column_flags.h"
#include "core/name_tables.h"
#include "core/quantity_headings.h"
#include "core/time_scales.h"
#include "engine/moon.h"
#include "engine/table_globals.h"
#include "platform/workbook/workbook.h"
#include "setup/column_sets.h"
#include "tables/daily_overview.h"
#include "tables/planet_state_vectors.h"
#include "tables/single_date_page.h"
#include "tests/support/theory_selection.h"
#include "theories/observer_completion.h"
#include "theories/theory_libraries.h"

namespace kvx {
namespace {

const TLibraryAvailability& Libraries() {
  static const TLibraryAvailability available = OpenTheoryLibraries(DefaultTheoryLibraryFolder());
  return available;
}

TObserverRecord Start() {
  TObserverRecord r;
  r.Latitude = 51.191;
  r.Longitude = -9.301;
  r.Zone = 1;
  r.AutoDeltaT = 0;
  r.DeltaTSeconds = 69;
  r.Mjd = JdToMjd(2460389.0);
  UTToLocalTime(r);
  return r;
}

TTableConfigRecord EveryColumn() {
  InitAstroNameTables();
  SetQuantityHeadingLanguage(false);
  TTableConfigRecord config = NewTableConfigRecord();
  for (std::size_t f = 0; f < column_flag::kFirstReserved; ++f) config.Flags[f] = 1;
  config.Flags[column_flag::kDateOnly] = 0;
  return config;
}

void DailyOverview(benchmark::State& state, bool libraries) {
  TTheorySelection selection = test::PlanetAndMoonTheory(0, 0);
  if (libraries) {
    if (Libraries().Vsop87D == 0 || Libraries().Elp2000 == 0) {
      state.SkipWithError("theory libraries not found");
      return;
    }
    selection = test::PlanetAndMoonTheory(kPlanetTheoryVsop87D, 1);
  }
  const TTableConfigRecord config = EveryColumn();
  const TObserverRecord start = Start();
  workbook::TWorkbook sheet;
  for (auto _ : state) {
    ttagesephemeride table(0, selection, &sheet, config, start, start, TTableStep{0, 0, 1}, 1e-10L, -1, 10);
    table.schleife(PositionFileHandles{}, 1, 1);
    table.paintdms();
    benchmark::DoNotOptimize(table.Rows);
  }
}
BENCHMARK_CAPTURE(DailyOverview, internal_series, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DailyOverview, vsop87d_elp, true)->Unit(benchmark::kMillisecond);

void MoonPageModel(benchmark::State& state) {
  InitAstroNameTables();
  TObserverRecord o = Start();
  LocalTimeToUT(o);
  const TTheorySelection selection = test::PlanetAndMoonTheory(0, 0);
  CompleteObserverRecord(1, selection, TTableConfigRecord{}, -1, o);
  Tmond moon(0, 0, 0, selection, 0, TTableConfigRecord{}, o, 1e-10L, -1, 10);
  moon.rechnen({});
  for (auto _ : state) {
    TSingleDatePageModel page = BuildSingleDatePage(moon.Result, kBodyIndexMoon, "den Mond", o, &moon, {});
    benchmark::DoNotOptimize(page.Boxes.data());
  }
}
BENCHMARK(MoonPageModel)->Unit(benchmark::kMicrosecond);

void StateVectorTable(benchmark::State& state) {
  if (Libraries().Vsop87C == 0) {
    state.SkipWithError("theory libraries not found");
    return;
  }
  const TTableConfigRecord config = EveryColumn();
  workbook::TWorkbook sheet;
  TLibraryTableTarget target;
  target.WorkbookView = 1;
  target.Sheet = &sheet;
  TObserverRecord o;
  o.Centuries = 0.24;
  for (auto _ : state) {
    benchmark::DoNotOptimize(PlanetsFourFramesTable({}, target, o, kFullTheory, config, Libraries()));
  }
}
BENCHMARK(StateVectorTable)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kvx
