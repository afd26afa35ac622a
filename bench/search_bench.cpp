// Speed of the search object and the library tables: every Mars station
// 1950-2050 (codes 10 and 11, one-day step, internal series; target under
// 1 s in all), every lunar perigee and apogee over 10 years through the
// Moon cache (target under 0.2 s), one body record per body kind, and each
// library table computed and written into the grid (target under 50 ms).
#include <benchmark/benchmark.h>

#include <memory>

#include "core/name_tables.h"
#include "engine/library_tables.h"
#include "engine/moon.h"
#include "engine/mystringgrid.h"
#include "engine/search_object.h"
#include "tests/engine/sun_planet_support.h"
#include "tests/support/theory_selection.h"
#include "theories/moon_cache.h"
#include "theories/theory_libraries.h"

namespace kvx {
namespace {

TObserverRecord At(double jdUT, std::uint8_t theory) {
  InitAstroNameTables();
  return test::ObserverAtPlace(jdUT, 69, test::Place{50, 10, 0}, test::PlanetTheory(theory));
}

void MarsStations1950To2050(benchmark::State& state) {
  TSearchContext context;
  const TObserverRecord start = At(2433282.5, 0);  // 1950 Jan 1
  int stations = 0;
  for (auto _ : state) {
    stations = 0;
    tsuchobjekt search(context);
    for (int code : {search_code::kStationRetrograde, search_code::kStationPrograde}) {
      TObserverRecord from = start;
      double time = 0, value = 0;
      while (from.Mjd < 69807 &&  // 2050 Jan 1
             search.schleife_1({.EventKind = code,
                                .Body = 3,
                                .EndCheck = true,
                                .Start = from,
                                .Step = 1,
                                .MaxSteps = 1000,
                                .EndMjd = 69807},
                               time, value)) {
        ++stations;
        from.Mjd = time + 30;
        ObserverRecordDateFromMjd(from);
      }
    }
  }
  state.counters["stations"] = stations;
}
BENCHMARK(MarsStations1950To2050)->Unit(benchmark::kMillisecond);

void LunarApsides10Years(benchmark::State& state) {
  tmooncheb cache(12, 13);
  MoonPositionCache = &cache;
  TSearchContext context;
  context.MoonCache = 1;
  context.Selection.bytes[1] = 0;  // the internal series
  const TObserverRecord start = At(2460310.5, 0);  // 2024 Jan 1
  const double endMjd = start.Mjd + 3652.5;
  int events = 0;
  for (auto _ : state) {
    events = 0;
    tsuchobjekt search(context);
    for (int code : {search_code::kPerigee, search_code::kApogee}) {
      TObserverRecord from = start;
      double time = 0, value = 0;
      while (from.Mjd < endMjd && search.schleife_1({.EventKind = code,
                                                     .Body = search_kind::kMoon,
                                                     .EndCheck = true,
                                                     .Start = from,
                                                     .Step = 1,
                                                     .MaxSteps = 100,
                                                     .EndMjd = endMjd},
                                                    time, value)) {
        ++events;
        from.Mjd = time + 5;
        ObserverRecordDateFromMjd(from);
      }
    }
  }
  MoonPositionCache = nullptr;
  state.counters["events"] = events;
}
BENCHMARK(LunarApsides10Years)->Unit(benchmark::kMillisecond);

void OnePlanetCall(benchmark::State& state) {
  const int kind = static_cast<int>(state.range(0));
  TSearchContext context;
  context.StarCount = 1;
  context.StarAt = [](std::int32_t, TSearchStar& star) {
    star = {151.4275, 12.2125, -7.04e-5, 1.7e-6, 1.4};
    return true;
  };
  tuserlist users;
  users.Add(std::make_unique<tuserobject>("Vega", 18.3656f, 38.4701f, 0.01726f, 0.2863f, 2000.0f, 0.03f));
  context.UserObjects = &users;
  tsuchobjekt search(context);
  search.AsteroidElements = {2.7675, 0.0785, 10.59, 80.3, 73.6, 60.08, 0.2141, 2000, 2459600.5, 3.53, 0.12, "Ceres"};
  search.CometElements = {0.59, 0.967, 162.2, 58.4, 111.3, 2000, 2446470.9, 5.5, 4, 2446470.9, "Halley"};
  TObserverRecord o = At(2460000.5, 0);
  TEphemerisResultRecord r;
  for (auto _ : state) {
    TTheorySelection selection = context.Selection;
    benchmark::DoNotOptimize(search.planet(selection, kind, o, r, 1));
    o.Mjd += 0.01;
  }
}
BENCHMARK(OnePlanetCall)->DenseRange(0, search_kind::kLast)->Unit(benchmark::kMicrosecond);

void LibraryTable(benchmark::State& state) {
  static const TLibraryAvailability libraries = OpenTheoryLibraries(DefaultTheoryLibraryFolders());
  if (!libraries.Vsop87A || !libraries.Vsop82) {
    state.SkipWithError("theory libraries not found");
    return;
  }
  const TObserverRecord o = At(2460000.5, 0);
  const TTableConfigRecord config;
  tmystringgrid grid(2, 2);
  TLibraryTableTarget target;
  target.Grid = &grid;
  for (auto _ : state) {
    if (state.range(0) == 0) {
      PlanetCoordinateTableVsop87a(PositionFileHandles{}, target, o, -1, config, libraries);
    } else {
      PlanetCoordinateTableVsop82(PositionFileHandles{}, target, o, config, libraries);
    }
  }
}
BENCHMARK(LibraryTable)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kvx
