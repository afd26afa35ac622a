// Speed of the daily overview (every column on, computed and written into
// the sheet) on the internal series and on the VSOP87 D and ELP libraries,
// of the single-date page model of the Moon, of the state-vector table and
// of a one-instant table of 10,000 asteroids.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "core/column_flags.h"
#include "core/name_tables.h"
#include "core/quantity_headings.h"
#include "core/time_scales.h"
#include "engine/moon.h"
#include "engine/table_globals.h"
#include "platform/workbook/workbook.h"
#include "setup/column_sets.h"
#include "tables/batch_tables.h"
#include "tables/daily_overview.h"
#include "tables/planet_state_vectors.h"
#include "tables/single_date_page.h"
#include "tests/support/table_request.h"
#include "tests/support/theory_selection.h"
#include "theories/observer_completion.h"
#include "theories/theory_libraries.h"

namespace kvx {
namespace {

const TLibraryAvailability& Libraries() {
  static const TLibraryAvailability available = OpenTheoryLibraries(DefaultTheoryLibraryFolders());
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
    ttagesephemeride table(test::TableRequest(0, selection, config, start, start, TTableStep{0, 0, 1}), &sheet);
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
  Tmond moon(0, 0, TBodySettings{}, selection, 0, TTableConfigRecord{}, o, {1e-10L, -1, 10});
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

// 10,000 asteroids on two-body orbits at one instant, default columns,
// computed and written into the sheet.
void AsteroidBatch(benchmark::State& state) {
  InitAstroNameTables();
  SetQuantityHeadingLanguage(false);
  Planetoidentabelle list;
  TAsteroidElements e;
  e.SemiMajorAxis = 2.767;
  e.Eccentricity = 0.0785;
  e.Inclination = 10.59;
  e.Node = 80.26;
  e.Perihelion = 73.64;
  e.Epoch = 2460400.5;
  e.Equinox = 2000;
  e.H = 3.3;
  e.G = 0.12;
  for (int i = 0; i < 10000; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "A%06d", i);
    e.Name = name;
    e.MeanAnomaly = 0.036 * i;
    list.AddItem(e.Name, e);
  }
  list.Loaded = 1;
  TBatchRun run;
  run.Start = Start();
  run.Config = NewTableConfigRecord();
  run.Step = TTableStep{0, 0, 1};
  run.Selection = test::PlanetAndMoonTheory(0, 0);
  workbook::TWorkbook sheet;
  for (auto _ : state) {
    TKeplereph table(test::TableRequest(0, run.Selection, run.Config, run.Start, run.Start, run.Step), &sheet, e);
    benchmark::DoNotOptimize(AsteroidFileEphemerides(run, table, list, "", 0, e));
  }
}
BENCHMARK(AsteroidBatch)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace kvx
