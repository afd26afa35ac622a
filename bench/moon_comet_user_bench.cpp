// Speed of the Moon, comet and user-object tables: a year of daily Moon rows
// with every column group (crescent visibility included) through the Moon
// cache, computed and written into the workbook model, on the internal
// series and the ELP-2000/82 road; 10,000 hourly rows of a near-parabolic
// comet; a year of daily rows of a user object. Release builds only give
// meaningful figures.
#include <benchmark/benchmark.h>

#include <memory>

#include "core/column_flags.h"
#include "engine/comet.h"
#include "engine/moon.h"
#include "engine/table_globals.h"
#include "engine/user_object.h"
#include "platform/globals.h"
#include "setup/column_sets.h"
#include "tests/support/table_request.h"
#include "theories/moon_cache.h"
#include "theories/theory_libraries.h"

namespace {

using namespace kvx;

TObserverRecord LocalInstant(int day, int month, int year) {
  TObserverRecord r;
  r.Day = day;
  r.Month = month;
  r.Year = year;
  r.Latitude = 48.2;
  r.Longitude = -16.4;
  r.Zone = 1;
  r.AutoDeltaT = 1;
  r.Pressure = 1010;
  r.Temperature = 10;
  return r;
}

TTableStep Step(double days) {
  TTableStep step;
  step.StepDays = days;
  return step;
}

TTableConfigRecord AllColumns() {
  TTableConfigRecord config;
  SelectAllColumns(config.Flags);
  config.Flags[column_flag::kCrescentVisibility] = 1;
  RecomputeColumnSummaries(config.Flags);
  return config;
}

// Moon theory 0: internal series; 1: ELP-2000/82 (when its library loads).
TTheorySelection MoonRoad(std::int64_t road) {
  static const TLibraryAvailability available = OpenTheoryLibraries(DefaultTheoryLibraryFolders());
  (void)available;
  TTheorySelection selection;
  selection.bytes[0] = kPlanetTheoryInternal;
  selection.bytes[1] = road == 0 ? 0 : 1;
  return selection;
}

// Argument 2: the ELP road with the rise/set search on the internal series
// (the main window's switch for it).
void BM_MoonYearIntoWorkbook(benchmark::State& state) {
  const TTheorySelection road = MoonRoad(state.range(0) != 0 ? 1 : 0);
  const TTableConfigRecord config = AllColumns();
  TTableRequest request =
      test::TableRequest(0, road, config, LocalInstant(1, 1, 2025), LocalInstant(1, 1, 2026), Step(1));
  request.RiseSet.InternalMoon = state.range(0) == 2 ? 1 : 0;
  tmooncheb cache(kMoonCacheDefaultSpanDays, kMoonCacheDefaultDegree);
  MoonPositionCache = &cache;
  TSheet sheet;
  Tmondtab moon(1, 0, request, &sheet);
  for (auto _ : state) {
    moon.initialisieren(1, 0, request);
    moon.schleife(TComputeSettingsBlock{}, 1, 1);
    moon.paintdms();
    benchmark::DoNotOptimize(sheet.LastRow());
  }
  MoonPositionCache = nullptr;
  state.SetItemsProcessed(state.iterations() * moon.Rows);
  // The Moon cache's fits per table (each N + 1 Moon positions).
  state.counters["refits"] = static_cast<double>(cache.Refits()) / static_cast<double>(state.iterations());
  static const char* const labels[] = {"internal", "ELP-2000/82", "ELP-2000/82, rise/set on the internal series"};
  state.SetLabel(labels[state.range(0)]);
}
BENCHMARK(BM_MoonYearIntoWorkbook)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_NearParabolicComet10000Hours(benchmark::State& state) {
  TCometElements e;
  e.PerihelionDistance = 0.6;
  e.Eccentricity = 0.995;
  e.Inclination = 70;
  e.Node = 300;
  e.Perihelion = 120;
  e.Equinox = 2000;
  e.PerihelionTime = 2460700.5;
  e.H = 6.5;
  e.G = 4;
  e.Name = "C/Bench";
  const TTableConfigRecord config = AllColumns();
  TObserverRecord end = LocalInstant(1, 1, 2025);
  end.LocalHours = 9999.0 + 0.001;
  const TTableRequest request =
      test::TableRequest(0, MoonRoad(0), config, LocalInstant(1, 1, 2025), end, Step(1.0 / 24.0));
  TKometeph comet(request, nullptr, e);
  comet.initialisieren(request, e);
  for (auto _ : state) {
    comet.schleife(TComputeSettingsBlock{}, 1, 1);
    benchmark::DoNotOptimize(comet.Rows);
  }
  state.SetItemsProcessed(state.iterations() * comet.Rows);
}
BENCHMARK(BM_NearParabolicComet10000Hours)->Unit(benchmark::kMillisecond);

void BM_UserObjectYear(benchmark::State& state) {
  const tuserobject vega("Vega", 18.3651f, 38.4701f, 0.01726f, 0.2863f, 2000.0f, 0.03f);
  const TTableConfigRecord config = AllColumns();
  Tusertab table(
      &vega, test::TableRequest(0, MoonRoad(0), config, LocalInstant(1, 1, 2025), LocalInstant(31, 12, 2025), Step(1)),
      nullptr, 11);
  for (auto _ : state) {
    table.schleife(TComputeSettingsBlock{}, 1, 1);
    benchmark::DoNotOptimize(table.Rows);
  }
  state.SetItemsProcessed(state.iterations() * table.Rows);
}
BENCHMARK(BM_UserObjectYear)->Unit(benchmark::kMillisecond);

}  // namespace
