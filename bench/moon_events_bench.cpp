// Speed of the moon-event searches over a year on the internal series:
// Jupiter's phenomena (kind 105), mutual conjunctions (102) and one moon's
// elongations (104); Saturn's phenomena by the eight-moon (116) and the
// five-moon (115) class. Beside them one step's share: a completed record
// and one evaluation of the Galilean moons.
#include <benchmark/benchmark.h>

#include "core/time_scales.h"
#include "events/moon_phenomena.h"
#include "theories/jupiter_moons.h"
#include "theories/observer_completion.h"

namespace kvx {
namespace {

constexpr double kStartMjd = 60676.0;  // 2025 January 1

TObserverRecord RecordAt(double mjd) {
  TObserverRecord r;
  r.Latitude = 51.191;
  r.Longitude = -9.301;
  r.DeltaTSeconds = 69.2;
  r.Mjd = mjd;
  UTToLocalTime(r);
  return r;
}

void Year(benchmark::State& state, std::int32_t kind) {
  const TTableConfigRecord config;
  int events = 0;
  for (auto _ : state) {
    TMoonEventList list;
    std::unique_ptr<TJupiterereignisse> search;
    if (kind < 110) {
      search = std::make_unique<TJupiterereignisse>(1, TTheorySelection{}, nullptr, config, RecordAt(kStartMjd),
                                                    RecordAt(kStartMjd + 365), TTableStep{}, 0, 0, -1);
    } else if (kind == 115) {
      search = std::make_unique<TSaturnereignisse>(1, TTheorySelection{}, nullptr, config, RecordAt(kStartMjd),
                                                   RecordAt(kStartMjd + 365), TTableStep{}, 0, 0, -1);
    } else {
      search = std::make_unique<TSaturnereignisseneu>(1, TTheorySelection{}, nullptr, config, RecordAt(kStartMjd),
                                                      RecordAt(kStartMjd + 365), TTableStep{}, 0, 0, -1);
    }
    search->Settings.Moon = 3;
    search->Settings.Event = 2;
    if (kind < 110) {
      search->ComputeJupiterMoonEvents(TComputeSettingsBlock{}, list, 0, kind);
    } else {
      static_cast<TSaturnereignisse&>(*search).ComputeSaturnMoonEvents(TComputeSettingsBlock{}, list, kind);
    }
    events = list.Count();
  }
  state.counters["events"] = events;
}
BENCHMARK_CAPTURE(Year, jupiter_phenomena_105, 105)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Year, jupiter_conjunctions_102, 102)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Year, jupiter_elongations_104, 104)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Year, saturn_phenomena_eight_116, 116)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Year, saturn_phenomena_five_115, 115)->Unit(benchmark::kMillisecond);

// One step of the window: the record brought to the instant and completed,
// then the moons.
void OneStep(benchmark::State& state) {
  const TTableConfigRecord config;
  TObserverRecord r = RecordAt(kStartMjd);
  TJupiterMoonsBlock block;
  double mjd = kStartMjd;
  for (auto _ : state) {
    mjd += 1.0 / 96;
    r.Mjd = mjd;
    UTToLocalTime(r);
    CompleteObserverRecord(0, TTheorySelection{}, config, -1, r);
    GalileanMoonsPositions(PositionFileHandles{}, -1, TTheorySelection{}, r, block);
    benchmark::DoNotOptimize(block.EarthX);
  }
}
BENCHMARK(OneStep);

void GalileanMoonsAlone(benchmark::State& state) {
  TObserverRecord r = RecordAt(kStartMjd);
  CompleteObserverRecord(0, TTheorySelection{}, TTableConfigRecord{}, -1, r);
  TJupiterMoonsBlock block;
  for (auto _ : state) {
    GalileanMoonsPositions(PositionFileHandles{}, -1, TTheorySelection{}, r, block);
    benchmark::DoNotOptimize(block.EarthX);
  }
}
BENCHMARK(GalileanMoonsAlone);

}  // namespace
}  // namespace kvx
