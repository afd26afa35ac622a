// The moon, moon-phase and satellite tables: a year of the Jupiter and
// Saturn moon tables at hourly steps computed and written into a sheet, a
// year of moon phases, 500 satellites at one instant, the visibility search
// over its full ten days without a find, and its single test step.
#include <benchmark/benchmark.h>

#include "core/name_tables.h"
#include "core/time_scales.h"
#include "engine/table_globals.h"
#include "setup/column_sets.h"
#include "tables/moon_phase_table.h"
#include "tables/moon_tables.h"
#include "tables/satellite_search.h"
#include "tables/satellite_table.h"
#include "tests/support/table_request.h"
#include "theories/tle.h"

namespace kvx {
namespace {

constexpr const char* kLine1 = "1 25544U 98067A   24079.50000000  .00016717  00000-0  29640-3 0  9993";
constexpr const char* kLine2 = "2 25544  51.6416 247.4627 0006703 130.5360 325.0288 15.49815328444445";

TObserverRecord AtUt(double jd) {
  TObserverRecord r;
  r.Latitude = 51.191;
  r.Longitude = -9.301;
  r.Height = 200;
  r.AutoDeltaT = 1;
  r.Mjd = JdToMjd(jd);
  UTToLocalTime(r);
  return r;
}

void LoadSets(int count) {
  for (int s = 1; s <= kSatelliteSlots; ++s) {
    SatelliteTable[static_cast<std::size_t>(s)] = s <= count ? TTleEntry{kLine1, kLine2} : TTleEntry{};
    SatelliteNames[static_cast<std::size_t>(s)] = s <= count ? "ISS " + std::to_string(s) : std::string();
  }
}

template <class Table>
void YearOfMoons(benchmark::State& state) {
  InitAstroNameTables();
  TTableConfigRecord config = NewTableConfigRecord();
  const TObserverRecord start = AtUt(2460676.5), end = AtUt(2460676.5 + 365 - 1.0 / 48);
  for (auto _ : state) {
    workbook::TWorkbook sheet;
    Table table(MoonTableRequest(0, TTheorySelection{}, config, start, end, TTableStep{0, 1, 1.0 / 24}, -1), &sheet,
                0.0L, 0, 0);
    table.schleife(PositionFileHandles{}, 0, 1);
    table.paint(1);
    benchmark::DoNotOptimize(sheet.LastRow());
  }
}

// Jupiter's constructor has no ten-byte real: adapt it to the Saturn one's.
class JupiterTable : public TJupiterephfenster {
 public:
  JupiterTable(const TTableRequest& request, TSheet* sheet, long double, std::int32_t a, std::int32_t b)
      : TJupiterephfenster(request, sheet, a, b) {}
};

void BM_JupiterMoonsYearHourly(benchmark::State& state) { YearOfMoons<JupiterTable>(state); }
BENCHMARK(BM_JupiterMoonsYearHourly)->Unit(benchmark::kMillisecond);

void BM_SaturnEightMoonsYearHourly(benchmark::State& state) { YearOfMoons<TSaturnmondeMeeus>(state); }
BENCHMARK(BM_SaturnEightMoonsYearHourly)->Unit(benchmark::kMillisecond);

void BM_MoonPhaseYear(benchmark::State& state) {
  InitAstroNameTables();
  TObserverRecord r = AtUt(2460676.5);
  const TTableConfigRecord config = NewTableConfigRecord();
  for (auto _ : state) {
    workbook::TWorkbook sheet;
    TMondphasentabelle table(r, 0);
    table.initialisieren(r, config);
    table.rechnen();
    table.paint(&sheet, nullptr, 1, TTableOutputSettings{});
    benchmark::DoNotOptimize(sheet.LastRow());
  }
}
BENCHMARK(BM_MoonPhaseYear)->Unit(benchmark::kMicrosecond);

void BM_AllSatellites500(benchmark::State& state) {
  InitAstroNameTables();
  LoadSets(500);
  const TTableConfigRecord config = NewTableConfigRecord();
  const TObserverRecord start = AtUt(2460389.2);
  Tsatellitenephfenster table(test::TableRequest(0, TTheorySelection{}, config, start, start, TTableStep{}), nullptr);
  table.SatelliteCount = 500;
  for (auto _ : state) {
    workbook::TWorkbook sheet;
    table.OutputSheet = &sheet;
    table.allsatellites(start, PositionFileHandles{});
    table.paintall(1);
    benchmark::DoNotOptimize(sheet.LastRow());
  }
}
BENCHMARK(BM_AllSatellites500)->Unit(benchmark::kMillisecond);

void BM_VisibilitySearchTenDaysNothingFound(benchmark::State& state) {
  LoadSets(1);
  for (auto _ : state) {
    TSatelliteVisibilitySearch search;
    search.TwilightLimitDeg = -90;  // never dark: every step is tested, none found
    search.Activate(AtUt(2460389.0), 1);
    benchmark::DoNotOptimize(search.Search());
  }
}
BENCHMARK(BM_VisibilitySearchTenDaysNothingFound)->Unit(benchmark::kMillisecond);

void BM_VisibilityTestStep(benchmark::State& state) {
  LoadSets(1);
  TSatelliteVisibilitySearch search;
  search.Activate(AtUt(2460389.0), 1);
  for (auto _ : state) {
    search.Record.Mjd += TSatelliteVisibilitySearch::kStepDays;
    benchmark::DoNotOptimize(search.TestStep());
  }
}
BENCHMARK(BM_VisibilityTestStep);

}  // namespace
}  // namespace kvx
