// Speed of the event search over many objects (Release build): the
// oppositions of 2025 for 1,000 main-belt asteroids of an element list
// (elements spread over the belt, internal series; target under 2 s).
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "core/name_tables.h"
#include "core/time_scales.h"
#include "events/multi_object_event_run.h"
#include "platform/globals.h"
#include "tests/engine/sun_planet_support.h"
#include "tests/support/theory_selection.h"

namespace kvx {
namespace {

TObserverRecord At(double mjdUT) {
  return test::ObserverAtPlace(MjdToJd(mjdUT), 69.2, test::Place{50, 10, 0}, test::PlanetAndMoonTheory(0, 0));
}

// 1,000 asteroids between 2.1 and 3.4 AU, as an element file would give.
std::vector<TAsteroidElements> Belt() {
  std::vector<TAsteroidElements> belt;
  for (int k = 0; k < 1000; ++k) {
    TAsteroidElements e;
    e.Name.assign(1, 'A');
    e.Name += std::to_string(k + 1);
    e.SemiMajorAxis = 2.1 + 1.3 * std::fmod(k * 0.618034, 1.0);
    e.Eccentricity = 0.02 + 0.25 * std::fmod(k * 0.414214, 1.0);
    e.Inclination = 25 * std::fmod(k * 0.732051, 1.0);
    e.Node = std::fmod(k * 137.5, 360.0);
    e.Perihelion = std::fmod(k * 97.3, 360.0);
    e.MeanAnomaly = std::fmod(k * 211.7, 360.0);
    e.MeanMotion = 0.9856076686 / std::pow(e.SemiMajorAxis, 1.5);
    e.Equinox = 2000;
    e.Epoch = 2460800.5;
    e.H = 12;
    e.G = 0.15;
    belt.push_back(e);
  }
  return belt;
}

void OppositionsOfAThousandAsteroids(benchmark::State& state) {
  InitAstroNameTables();
  const std::vector<TAsteroidElements> belt = Belt();
  TSearchContext context;
  context.Selection = test::PlanetAndMoonTheory(0, 0);
  context.FastSearch = 1;
  int events = 0;
  for (auto _ : state) {
    TEventList list;
    TMultiObjectEventRun run(context, list);
    run.Options.ObjectCode = 10;
    run.Options.EventKind = 6;
    run.Period = At(60676);  // 2025 Jan 1
    run.End = At(61041);     // 2026 Jan 1
    run.Source.AsteroidCount = static_cast<std::int32_t>(belt.size());
    run.Source.AsteroidAt = [&belt](std::int32_t i) { return belt[static_cast<std::size_t>(i)]; };
    run.Run(true, "5", "300");
    events = list.Count();
  }
  state.counters["events"] = events;
}
BENCHMARK(OppositionsOfAThousandAsteroids)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kvx
