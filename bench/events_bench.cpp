// Speed of the single-object event search (Release build): a year (2024)
// in silent period mode for each planet Mercury..Pluto with every event
// kind it offers (internal series; target under 1 s in all), the same year
// with the kinds alone that bench/events_astronomy_engine_timing.js times
// with Astronomy Engine (for the ratio of the two times), every node
// passage of the Moon over ten years, refined (target under 50 ms), one
// refinement of a planet event (target under 2 ms), and 16,382 event rows
// written into the sheet (target under 0.5 s). The almanac: a month, a
// year and ten years with every body, kind and section (target under 5 s a
// year), the overview of today
// with every option on (under 1 s) and 5,000 almanac rows written into
// the sheet (under 0.3 s).
#include <benchmark/benchmark.h>

#include <memory>

#include "core/name_tables.h"
#include "core/time_scales.h"
#include "events/almanac.h"
#include "events/almanac_writer.h"
#include "engine/search_object.h"
#include "events/event_refinement.h"
#include "events/event_search.h"
#include "events/event_table_writer.h"
#include "tests/engine/sun_planet_support.h"
#include "tests/support/theory_selection.h"

namespace kvx {
namespace {

TObserverRecord At(double mjdUT) {
  InitAstroNameTables();
  return test::ObserverAtPlace(MjdToJd(mjdUT), 69.2, test::Place{50, 10, 0}, test::PlanetAndMoonTheory(0, 0));
}

TSearchContext InternalSeries() {
  TSearchContext context;
  context.Selection = test::PlanetAndMoonTheory(0, 0);
  context.FastSearch = 1;
  return context;
}

// Every event of 2024 of one planet and kind in a silent period run.
int PlanetYear(const TSearchContext& context, int object, int kind) {
  TEventList list;
  TEventSearchRun run(context, list);
  run.Options.ObjectCode = static_cast<std::uint8_t>(object);
  run.Options.EventKind = static_cast<std::uint8_t>(kind);
  run.UsePeriod = true;
  run.ResultsIntoTable = true;
  run.Period = At(60310);  // 2024 Jan 1
  run.End = At(60676);     // 2025 Jan 1
  run.Run("5", "300");
  return list.Count();
}

// The kinds bench/events_astronomy_engine_timing.js searches with Astronomy
// Engine (oppositions, conjunctions, apsides, greatest elongations), for
// the ratio of the two times.
void PlanetYearYardstickKinds(benchmark::State& state) {
  const TSearchContext context = InternalSeries();
  int events = 0;
  for (auto _ : state) {
    events = 0;
    for (int object = 1; object <= 8; ++object) {
      const bool inner = object <= 2;
      for (int kind : {0, 1, inner ? 8 : 6, inner ? 9 : 7, inner ? 12 : -1, inner ? 13 : -1}) {
        if (kind >= 0) events += PlanetYear(context, object, kind);
      }
    }
  }
  state.counters["events"] = events;
}
BENCHMARK(PlanetYearYardstickKinds)->Unit(benchmark::kMillisecond);

void PlanetYearEveryKind(benchmark::State& state) {
  const TSearchContext context = InternalSeries();
  int events = 0;
  for (auto _ : state) {
    events = 0;
    for (int object = 1; object <= 8; ++object) {
      for (int kind : EventKindsOffered(object)) {
        events += PlanetYear(context, object, kind);
      }
    }
  }
  state.counters["events"] = events;
}
BENCHMARK(PlanetYearEveryKind)->Unit(benchmark::kMillisecond);

void MoonNodePassages10Years(benchmark::State& state) {
  const TSearchContext context = InternalSeries();
  int events = 0;
  for (auto _ : state) {
    TEventList list;
    TEventSearchRun run(context, list);
    run.Options.ObjectCode = 9;
    run.Options.EventKind = 15;
    run.UsePeriod = true;
    run.ResultsIntoTable = true;
    run.Period = At(60310);
    run.End = At(60310 + 3652.5);
    run.Run("5", "300");
    events = list.Count();
  }
  state.counters["passages"] = events;
}
BENCHMARK(MoonNodePassages10Years)->Unit(benchmark::kMillisecond);

void OneRefinement(benchmark::State& state) {
  const TSearchContext context = InternalSeries();
  tsuchobjekt engine(context);
  const TObserverRecord observer = At(59135);  // near the Mars opposition of 2020 Oct 13
  double result = 0;
  for (auto _ : state) {
    RefineEventTime(6, observer, context.Selection, result, engine, 3, 59135.5);
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(OneRefinement)->Unit(benchmark::kMicrosecond);

void SheetRows16382(benchmark::State& state) {
  InitCoreTablesAtStartup(IntlSeparators);
  TEventList list;
  for (int i = 0; i < 16382; ++i) {
    TObserverRecord r = At(50000 + i * 0.37);
    const int kind = i % 3 == 0 ? 0 : (i % 3 == 1 ? 10 : 8);
    list.Add(EventKindNames[static_cast<std::size_t>(kind)],
             std::make_unique<tEvent>("Mars", EventKindNames[static_cast<std::size_t>(kind)],
                                      static_cast<std::uint8_t>(kind), r, r.Mjd, 0.5, -90, -90, -360, -360, -90,
                                      -100, -100, EventUnitText(kind, 3), "", "", 0));
  }
  TTableConfigRecord config;
  config.Flags[5] = 1;
  for (auto _ : state) {
    TSheet sheet;
    WriteEventSearchResultsToSheet(config, sheet, list);
    benchmark::DoNotOptimize(sheet.LastRow());
  }
}
BENCHMARK(SheetRows16382)->Unit(benchmark::kMillisecond);

TAlmanacRequest AlmanacRequest(double startMjd, double endMjd, TAlmanacMode mode) {
  TAlmanacRequest request;
  request.Mode = mode;
  request.Context = InternalSeries();
  request.Start = At(startMjd);
  request.End = At(endMjd);
  request.Options = AllAlmanacOptions();
  return request;
}

// The almanac from 2024 Jan 1 over the argument's days: a month, a year and
// ten years, every body, kind and section.
void AlmanacEverything(benchmark::State& state) {
  const double start = 60310;  // 2024 Jan 1
  const TAlmanacRequest request =
      AlmanacRequest(start, start + static_cast<double>(state.range(0)), TAlmanacMode::Almanac);
  int events = 0;
  for (auto _ : state) {
    TEventList list;
    GenerateAlmanac(request, list);
    events = list.Count();
  }
  state.counters["events"] = events;
}
BENCHMARK(AlmanacEverything)->Arg(31)->Arg(366)->Arg(3653)->Iterations(1)->Unit(benchmark::kMillisecond);

void TodayOverviewEverything(benchmark::State& state) {
  const TAlmanacRequest request = AlmanacRequest(60538, 60540, TAlmanacMode::Today);  // 2024 Aug 10-12
  int events = 0;
  for (auto _ : state) {
    TEventList list;
    GenerateTodayOverview(request, list);
    events = list.Count();
  }
  state.counters["events"] = events;
}
BENCHMARK(TodayOverviewEverything)->Unit(benchmark::kMillisecond);

void AlmanacSheetRows5000(benchmark::State& state) {
  InitCoreTablesAtStartup(IntlSeparators);
  TEventList list;
  const int kinds[5] = {0, 2, 10, 26, 28};
  for (int i = 0; i < 5000; ++i) {
    const int kind = kinds[i % 5];
    AddAlmanacEvent(list, At(50000 + i * 0.37), kind, "Mars", EventKindNames[static_cast<std::size_t>(kind)],
                    kind == 28 ? -1.25 : 1.38123, "");
  }
  const TObserverRecord start = At(49999), end = At(52000);
  TTableConfigRecord config;
  config.Flags[5] = 1;
  for (auto _ : state) {
    TSheet sheet;
    WriteAlmanacToSheet(config, sheet, list, end, start);
    benchmark::DoNotOptimize(sheet.LastRow());
  }
}
BENCHMARK(AlmanacSheetRows5000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kvx
