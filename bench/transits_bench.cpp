// Transits of Mercury and Venus: the table of 1,000 years (1600-2600,
// internal series) for each planet.
#include <benchmark/benchmark.h>

#include "core/observer_record.h"
#include "core/time_scales.h"
#include "eclipses/transit.h"

namespace kvx {
namespace {

TObserverRecord At(double jd) {
  TObserverRecord r;
  r.Longitude = -13.4;
  r.Latitude = 52.52;
  r.AutoDeltaT = 1;
  r.Mjd = jd - 2400000.5;
  UTToLocalTime(r);
  r.DeltaTSeconds = DeltaT(jd);
  return r;
}

void BM_TransitTable1000Years(benchmark::State& state) {
  const TObserverRecord start = At(CalendarDateToJd(1, 1, 1600, 0));
  const TObserverRecord end = At(CalendarDateToJd(1, 1, 2600, 0));
  TSearchContext context;
  for (auto _ : state) {
    ttransittabelle table(start, end, static_cast<std::int32_t>(state.range(0)));
    std::uint8_t maxArt = 0;
    table.rechnen(context, 0, maxArt, 0, 120, start, TEventStep{});
    benchmark::DoNotOptimize(table.Lines.data());
    state.counters["transits"] = static_cast<double>(table.Lines.size());
  }
}
BENCHMARK(BM_TransitTable1000Years)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kvx
