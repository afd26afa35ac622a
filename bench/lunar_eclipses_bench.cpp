// Speed of the lunar-eclipse search: one FindLunarEclipse without events
// (the almanac's call), one with its event list, and the calendar of 1,000
// years with its event lines into a grid. Release builds only give
// meaningful figures.
#include <benchmark/benchmark.h>

#include "core/time_scales.h"
#include "eclipses/lunar_eclipse.h"
#include "engine/table_sink.h"
#include "platform/globals.h"

namespace {

using namespace kvx;

TSearchContext InternalSeries() {
  TSearchContext context;
  context.Selection.bytes[0] = kPlanetTheoryInternal;
  context.Selection.bytes[1] = 0;
  return context;
}

TObserverRecord At(int year) {
  TObserverRecord r;
  r.Latitude = 48.2;
  r.Longitude = -16.4;
  r.AutoDeltaT = 1;
  r.Pressure = 1010;
  r.Temperature = 10;
  r.Mjd = CalendarDateToMjd(1, 1, year, 0.0);
  UTToLocalTime(r);
  return r;
}

void BM_FindLunarEclipse(benchmark::State& state) {
  const TSearchContext context = InternalSeries();
  const TObserverRecord start = At(2025);
  double month = 0;
  for (auto _ : state) {
    TObserverRecord r = start;
    r.Mjd += month;
    month = month > 3650 ? 0 : month + 29.5;
    TLunarEclipseList list;
    double umbra = 0, penumbra = 0;
    benchmark::DoNotOptimize(FindLunarEclipse(context, list, r, false, umbra, penumbra));
  }
}
BENCHMARK(BM_FindLunarEclipse);

void BM_FindLunarEclipseWithEvents(benchmark::State& state) {
  const TSearchContext context = InternalSeries();
  const TObserverRecord start = At(2025);
  for (auto _ : state) {
    TObserverRecord r = start;
    TLunarEclipseList list;
    double umbra = 0, penumbra = 0;
    benchmark::DoNotOptimize(FindLunarEclipse(context, list, r, true, umbra, penumbra));
  }
}
BENCHMARK(BM_FindLunarEclipseWithEvents);

void BM_LunarEclipseCalendar1000Years(benchmark::State& state) {
  const TSearchContext context = InternalSeries();
  const TTableConfigRecord config;
  const TTableOutputSettings settings;
  for (auto _ : state) {
    tmystringgrid grid;
    TGridSink sink(grid, settings);
    benchmark::DoNotOptimize(LunarEclipseCalendar(context, config, At(1600), At(2600), {}, sink));
  }
}
BENCHMARK(BM_LunarEclipseCalendar1000Years)->Unit(benchmark::kMillisecond);

}  // namespace
