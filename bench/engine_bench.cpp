// Speed of the body chain and of the asteroid table: one full rechnen (every
// group on, rise/set and magnitude included), one time-loop row with the
// observer record's completion, a 10,000-row table, and the cost the
// asteroid database adds per row. Release builds only give meaningful figures.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "core/asteroid_database.h"
#include "core/time_scales.h"
#include "engine/ephemeris_table.h"
#include "engine/table_globals.h"
#include "platform/globals.h"
#include "tests/support/table_request.h"
#include "theories/observer_completion.h"

namespace {

using namespace kvx;

TAsteroidElements Vesta() {
  TAsteroidElements e;
  e.SemiMajorAxis = 2.3615;
  e.Eccentricity = 0.0902;
  e.Inclination = 7.1404;
  e.Node = 103.851;
  e.Perihelion = 151.198;
  e.MeanAnomaly = 20.864;
  e.Equinox = 2000;
  e.Epoch = 2460400.5;
  e.H = 3.2;
  e.G = 0.32;
  e.Name = "Vesta";
  return e;
}

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

TTableConfigRecord EveryGroup() {
  TTableConfigRecord config;
  config.Flags[column_flag::kSummaryTopocentric] = 1;
  config.Flags[column_flag::kSummaryPhysical] = 1;
  config.Flags[column_flag::kHourlyMotionRA] = 1;
  return config;
}

TTableStep Step(double days) {
  TTableStep step;
  step.StepDays = days;
  return step;
}

TKeplereph Table(const TObserverRecord& end, double stepDays) {
  const TTableConfigRecord config = EveryGroup();
  const TTableRequest request =
      test::TableRequest(0, TTheorySelection{}, config, LocalInstant(1, 1, 2025), end, Step(stepDays));
  TKeplereph table(request, nullptr, Vesta());
  table.initialisieren(request, Vesta(), 0, "Vesta");
  return table;
}

void BM_RechnenEveryGroup(benchmark::State& state) {
  TKeplereph table = Table(LocalInstant(2, 1, 2025), 1.0);
  CompleteObserverRecord(0, TTheorySelection{}, table.TableConfig, -1, table.Observer);
  double mjd = table.Observer.Mjd;
  for (auto _ : state) {
    table.Observer.Mjd = mjd;
    table.rechnen(TComputeSettingsBlock{});
    benchmark::DoNotOptimize(table.Result.Physical.magnitude);
    mjd += 0.37;
  }
}
BENCHMARK(BM_RechnenEveryGroup);

// Rows per second of the time loop (observer completion, chain, row copy).
void BM_TableRows(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  TKeplereph table = Table(LocalInstant(1, 1, 2025), 0.01);
  TObserverRecord end = LocalInstant(1, 1, 2025);
  end.LocalHours = (rows - 1) * 0.01 * 24.0 + 0.001;
  table.PeriodEnd = end;
  for (auto _ : state) {
    table.schleife(TComputeSettingsBlock{}, 0, 1);
    benchmark::DoNotOptimize(table.Rows);
  }
  state.SetItemsProcessed(state.iterations() * table.Rows);
}
BENCHMARK(BM_TableRows)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// The same rows with the elements taken from an asteroid database per row.
void BM_TableRowsFromDatabase(benchmark::State& state) {
  const std::string path = (std::filesystem::temp_directory_path() / "kvx_engine_bench.eel").string();
  TEelHeader header;
  header.First = 2460000.5;
  header.Step = 10;
  header.Equinox = 2000;
  header.H100 = 320;
  header.G100 = 32;
  header.Name = "Vesta";
  std::vector<TEelRecord> records;
  for (int k = 0; k < 200; ++k) {
    TEelRecord r;
    r.SemiMajorAxis = 2.3615f;
    r.Eccentricity = 0.0902f;
    r.Inclination = 7.1404f;
    r.MeanMotion = 0.27153f;
    r.Node = 103.851f;
    r.Perihelion = 151.198f;
    r.MeanAnomaly = static_cast<float>(20.864 + 2.7153 * k);
    r.Epoch10 = static_cast<std::int32_t>((header.First + 10 * k) * 10);
    records.push_back(r);
  }
  header.Last = header.First + 10 * 199;
  WriteEelFile(path, header, records);

  const int rows = static_cast<int>(state.range(0));
  TKeplereph table = Table(LocalInstant(1, 1, 2025), 0.01);
  TObserverRecord end = LocalInstant(1, 1, 2025);
  end.LocalHours = (rows - 1) * 0.01 * 24.0 + 0.001;
  table.initialisieren(
      test::TableRequest(0, TTheorySelection{}, EveryGroup(), LocalInstant(1, 1, 2025), end, Step(0.01)), Vesta(), 1,
      path);
  for (auto _ : state) {
    table.schleife(TComputeSettingsBlock{}, 0, 1);
    benchmark::DoNotOptimize(table.Rows);
  }
  state.SetItemsProcessed(state.iterations() * table.Rows);
  std::filesystem::remove(path);
}
BENCHMARK(BM_TableRowsFromDatabase)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
namespace {
// The single steps of the chain, to see where a row's time goes.
void BM_ChainStep(benchmark::State& state) {
  static const char* const kNames[] = {"bahnlageelemente",  "Bahn2heliozentrisch", "light time",
                                       "Ekliptik_aequator", "second equinox",      "topozentr+horizont",
                                       "rise/set",          "magnitude",           "observer completion"};
  TKeplereph table = Table(LocalInstant(2, 1, 2025), 1.0);
  CompleteObserverRecord(0, TTheorySelection{}, table.TableConfig, -1, table.Observer);
  table.rechnen(TComputeSettingsBlock{});
  const int piece = static_cast<int>(state.range(0));
  state.SetLabel(kNames[piece]);
  for (auto _ : state) {
    switch (piece) {
      case 0: table.bahnlageelemente(); break;
      case 1: table.Bahn2heliozentrisch(TComputeSettingsBlock{}, table.Observer.Mjd); break;
      case 2: table.Geozentrischekliptikalastrometrisch(); break;
      case 3: table.Ekliptik_aequator(); break;
      case 4: table.aequinoktium_reduktion(); break;
      case 5: table.topozentr(); table.horizont(); break;
      case 6: table.Aufgang_untergang(2); break;
      case 7: table.physischeEphemeride(); break;
      case 8: CompleteObserverRecord(0, TTheorySelection{}, table.TableConfig, -1, table.Observer); break;
    }
    benchmark::DoNotOptimize(table.Result);
  }
}
BENCHMARK(BM_ChainStep)->DenseRange(0, 8);
}  // namespace

// --- Sun and planet tables ----------------------------------------------------
// Arg 0: the internal series; arg 1: the VSOP87 D library with the full
// series (the Moon of the darkness from the internal series either way).
#include "core/column_flags.h"
#include "engine/planet.h"
#include "engine/sun.h"
#include "setup/column_sets.h"
#include "theories/theory_libraries.h"

namespace {

TTheorySelection Road(std::int64_t road) {
  static const TLibraryAvailability available = OpenTheoryLibraries(DefaultTheoryLibraryFolders());
  (void)available;
  TTheorySelection selection;
  selection.bytes[0] = road == 0 ? kPlanetTheoryInternal : kPlanetTheoryVsop87D;
  selection.bytes[1] = 0;
  return selection;
}

TTableConfigRecord AllColumns() {
  TTableConfigRecord config;
  SelectAllColumns(config.Flags);
  RecomputeColumnSummaries(config.Flags);
  return config;
}

TTableConfigRecord WithoutRiseSet() {
  TTableConfigRecord config;
  config.Flags[column_flag::kRightAscension] = 1;
  config.Flags[column_flag::kDeclination] = 1;
  config.Flags[column_flag::kGeoDistance] = 1;
  RecomputeColumnSummaries(config.Flags);
  return config;
}

// One Tplatab.rechnen of Mars: without the rise/set group (arg 0) or with
// every group and column (arg 1); second arg the theory road.
void BM_MarsRechnen(benchmark::State& state) {
  const TTheorySelection road = Road(state.range(1));
  const TTableConfigRecord config = state.range(0) != 0 ? AllColumns() : WithoutRiseSet();
  const TTableRequest request =
      test::TableRequest(0, road, config, LocalInstant(1, 1, 2025), LocalInstant(1, 1, 2025), Step(1));
  Tplatab mars(request, nullptr, 4);
  mars.initialisieren(request, 4);
  LocalTimeToUT(mars.Observer);
  CompleteObserverRecord(1, road, config, -1, mars.Observer);
  for (auto _ : state) {
    mars.rechnen(TComputeSettingsBlock{});
    benchmark::DoNotOptimize(mars.Result);
  }
  state.SetLabel(std::string(state.range(0) != 0 ? "every group" : "no rise/set") +
                 (state.range(1) != 0 ? ", VSOP87 D" : ", internal"));
}
BENCHMARK(BM_MarsRechnen)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMicrosecond);

// A Mars table of 10,000 rows with every column, by the time loop.
void BM_MarsTable10000(benchmark::State& state) {
  const TTheorySelection road = Road(state.range(0));
  const TTableConfigRecord config = AllColumns();
  TObserverRecord end = LocalInstant(1, 1, 2025);
  end.LocalHours = 9999 * 0.1 * 24.0 + 0.001;
  const TTableRequest request = test::TableRequest(0, road, config, LocalInstant(1, 1, 2025), end, Step(0.1));
  Tplatab mars(request, nullptr, 4);
  mars.initialisieren(request, 4);
  for (auto _ : state) {
    mars.schleife(TComputeSettingsBlock{}, 1, 1);
    benchmark::DoNotOptimize(mars.Rows);
  }
  state.SetItemsProcessed(state.iterations() * mars.Rows);
  state.SetLabel(state.range(0) != 0 ? "VSOP87 D" : "internal");
}
BENCHMARK(BM_MarsTable10000)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A year of daily Sun rows with twilight and darkness.
void BM_SunYearWithDarkness(benchmark::State& state) {
  const TTheorySelection road = Road(state.range(0));
  TTableConfigRecord config;
  config.Flags[column_flag::kTwilight] = 1;
  config.Flags[column_flag::kNightLengths] = 1;
  config.Flags[column_flag::kDarkness] = 1;
  config.Flags[column_flag::kDarknessSum] = 1;
  RecomputeColumnSummaries(config.Flags);
  TObserverRecord end = LocalInstant(31, 12, 2025);
  const TTableRequest request = test::TableRequest(0, road, config, LocalInstant(1, 1, 2025), end, Step(1));
  TSonnetab sun(request, nullptr);
  sun.initialisieren(request);
  for (auto _ : state) {
    sun.schleife(TComputeSettingsBlock{}, 1, 1);
    benchmark::DoNotOptimize(sun.Rows);
  }
  state.SetItemsProcessed(state.iterations() * sun.Rows);
  state.SetLabel(state.range(0) != 0 ? "VSOP87 D" : "internal");
}
BENCHMARK(BM_SunYearWithDarkness)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
