// Speed of the conjunction search and the separation table, internal series:
// the conjunctions in right ascension of the Moon with each of the eight
// planets over a year (eight period runs with the table on; target under
// 0.3 s in all), the smallest separation of Jupiter and Saturn 1900-2100
// (target under 0.5 s), and a separation table of 16,382 rows of the Moon and
// Venus, hourly: computed (target under 0.5 s) and written into the sheet
// (target under 0.5 s).
#include <benchmark/benchmark.h>

#include "core/name_tables.h"
#include "core/table_config.h"
#include "core/time_scales.h"
#include "events/conjunction_search.h"
#include "events/conjunction_table_writer.h"
#include "platform/globals.h"
#include "platform/workbook/workbook.h"
#include "setup/column_sets.h"
#include "tests/engine/sun_planet_support.h"
#include "tests/support/theory_selection.h"
#include "engine/moon.h"
#include "theories/moon_cache.h"

namespace kvx {
namespace {

TObserverRecord At(double mjdUT) {
  InitAstroNameTables();
  return test::ObserverAtPlace(MjdToJd(mjdUT), 69, test::Place{50, 10, 0}, test::PlanetAndMoonTheory(0, 0));
}

// The program's settings: the Moon through its Chebyshev cache.
TSearchContext Context() {
  static tmooncheb cache(12, 13);
  MoonPositionCache = &cache;
  TSearchContext context;
  context.Selection = test::PlanetAndMoonTheory(0, 0);
  context.FastSearch = 1;
  context.MoonCache = 1;
  return context;
}

void MoonWithEightPlanetsForAYear(benchmark::State& state) {
  int found = 0;
  for (auto _ : state) {
    found = 0;
    for (int planet = 1; planet <= 8; ++planet) {
      TEventList list;
      TConjunctionSearchRun run(Context(), list);
      run.Options.FirstObject = 9;
      run.Options.SecondObject = static_cast<std::uint8_t>(planet);
      run.UsePeriod = true;
      run.ResultsIntoTable = true;
      run.Period = At(60310);
      run.End = At(60676);
      run.Run("15", "300");
      found += list.Count();
    }
  }
  state.counters["conjunctions"] = found;
}
BENCHMARK(MoonWithEightPlanetsForAYear)->Unit(benchmark::kMillisecond);

void JupiterSaturnSmallest1900To2100(benchmark::State& state) {
  int found = 0;
  for (auto _ : state) {
    TEventList list;
    TConjunctionSearchRun run(Context(), list);
    run.Options.FirstObject = 4;
    run.Options.SecondObject = 5;
    run.Options.SmallestSeparation = 1;
    run.SeparationLimit = 40;
    run.UsePeriod = true;
    run.ResultsIntoTable = true;
    run.Period = At(15020);  // 1900 Jan 1
    run.End = At(88069);     // 2100 Jan 1
    run.Run("15", "300");
    found = list.Count();
  }
  state.counters["approaches"] = found;
}
BENCHMARK(JupiterSaturnSmallest1900To2100)->Unit(benchmark::kMillisecond);

void SeparationTable(TEventList& list) {
  TConjunctionSearchRun run(Context(), list);
  run.Options.FirstObject = 9;
  run.Options.SecondObject = 2;
  run.Period = At(60310);
  run.End = At(60310 + 20000.0 / 24);
  run.TableStep = 1.0 / 24;
  run.RunTable();
}

void SeparationTableCompute(benchmark::State& state) {
  int rows = 0;
  for (auto _ : state) {
    TEventList list;
    SeparationTable(list);
    rows = list.Count();
  }
  state.counters["rows"] = rows;
}
BENCHMARK(SeparationTableCompute)->Unit(benchmark::kMillisecond);

void SeparationTableIntoSheet(benchmark::State& state) {
  TEventList list;
  SeparationTable(list);
  const TTableConfigRecord config = NewTableConfigRecord();
  for (auto _ : state) {
    workbook::TWorkbook sheet;
    WriteConjunctionResultsToSheet(1, config, sheet, list);
    benchmark::DoNotOptimize(sheet.LastRow());
  }
  state.counters["rows"] = list.Count();
}
BENCHMARK(SeparationTableIntoSheet)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kvx
