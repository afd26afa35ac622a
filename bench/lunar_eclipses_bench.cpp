// Speed of the lunar-eclipse search: one FindLunarEclipse without events
// (the almanac's call), one with its event list, and the calendar of 1,000
// years with its event lines into a grid. Release builds only give
// meaningful figures.
#include <benchmark/benchmark.h>

#include "core/time_scales.h"
#include "eclipses/lunar_eclipse.h"
#include "engine/table_sink.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "theories/theory_libraries.h"

namespace {

using namespace kvx;

// Road 0: internal series; 1: VSOP87 D and ELP-2000/82 (when their
// libraries load).
TSearchContext InternalSeries(std::int64_t road = 0) {
  static const TLibraryAvailability available = OpenTheoryLibraries(DefaultTheoryLibraryFolders());
  (void)available;
  TSearchContext context;
  context.Selection.bytes[0] = road == 0 ? kPlanetTheoryInternal : 1;
  context.Selection.bytes[1] = road == 0 ? 0 : 1;
  return context;
}

// The calendar's row-limit message goes nowhere.
class SilentMessages : public MessageSink {
 public:
  MessageResult Show(const std::string&, const std::string&, MessageIcon, MessageButtons buttons) override {
    return DefaultMessageReply(buttons);
  }
};

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

// Argument: the theory road (the calendar stops at the row limit after
// about 950 years of eclipses with their event lines).
void BM_LunarEclipseCalendar1000Years(benchmark::State& state) {
  const TSearchContext context = InternalSeries(state.range(0));
  SilentMessages silent;
  ScopedMessageSink scope(silent);
  const TTableConfigRecord config;
  const TTableOutputSettings settings;
  for (auto _ : state) {
    tmystringgrid grid;
    TGridSink sink(grid, settings);
    benchmark::DoNotOptimize(LunarEclipseCalendar(context, config, At(1600), At(2600), {}, sink));
  }
}
BENCHMARK(BM_LunarEclipseCalendar1000Years)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
