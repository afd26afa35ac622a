// Speed of the moon theories of Jupiter and Saturn: one evaluation of each
// (both viewpoints and the planet's place), on the internal planet series
// and on the VSOP87 D library.
#include <benchmark/benchmark.h>

#include "core/observer_record.h"
#include "core/time_scales.h"
#include "tests/support/theory_selection.h"
#include "theories/jupiter_moons.h"
#include "theories/saturn_moons.h"
#include "theories/sun_position.h"
#include "theories/theory_libraries.h"

namespace kvx {
namespace {

using test::PlanetTheory;

bool LibrariesOpen() {
  static const TLibraryAvailability available = OpenTheoryLibraries(DefaultTheoryLibraryFolders());
  return available.Vsop87D != 0;
}

// A record with the fields the moon theories read, for JDE 2460700.5 plus
// `days`.
TObserverRecord Record(TTheorySelection selection, double days) {
  TObserverRecord r;
  r.DeltaTSeconds = 69.2;
  const double jde = 2460700.5 + days;
  r.Mjd = JdToMjd(jde - r.DeltaTSeconds / 86400.0);
  r.Centuries = JulianCenturiesJ2000(jde);
  SunPosition(PositionFileHandles{}, selection, r.SunLongitude, r.Centuries, r.SunLatitude, r.SunDistance, r.SunX,
              r.SunY, r.SunZ, r.SunVX, r.SunVY, r.SunVZ, kFullTheory);
  return r;
}

bool Ready(benchmark::State& state, std::uint8_t theory) {
  if (theory != kPlanetTheoryInternal && !LibrariesOpen()) {
    state.SkipWithError("theory libraries not found");
    return false;
  }
  return true;
}

void GalileanMoons(benchmark::State& state, std::uint8_t theory) {
  if (!Ready(state, theory)) return;
  const TTheorySelection selection = PlanetTheory(theory);
  const TObserverRecord observer = Record(selection, 0.0);
  TJupiterMoonsBlock block;
  for (auto _ : state) {
    GalileanMoonsPositions(PositionFileHandles{}, kFullTheory, selection, observer, block);
    benchmark::DoNotOptimize(block.EarthX);
    benchmark::ClobberMemory();
  }
}
BENCHMARK_CAPTURE(GalileanMoons, internal_series, kPlanetTheoryInternal);
BENCHMARK_CAPTURE(GalileanMoons, vsop87d, kPlanetTheoryVsop87D);

void SaturnEightMoons(benchmark::State& state, std::uint8_t theory) {
  if (!Ready(state, theory)) return;
  const TTheorySelection selection = PlanetTheory(theory);
  const TObserverRecord observer = Record(selection, 0.0);
  TSaturnMoonArray xe, ye, ze, xs, ys, zs;
  TSaturnMoonsBlock block;
  for (auto _ : state) {
    SaturnMoonPositions(PositionFileHandles{}, kFullTheory, selection, observer, xe, ye, ze, xs, ys, zs, block);
    benchmark::DoNotOptimize(xe);
    benchmark::ClobberMemory();
  }
}
BENCHMARK_CAPTURE(SaturnEightMoons, internal_series, kPlanetTheoryInternal);
BENCHMARK_CAPTURE(SaturnEightMoons, vsop87d, kPlanetTheoryVsop87D);

void SaturnFiveMoons(benchmark::State& state, std::uint8_t theory) {
  if (!Ready(state, theory)) return;
  const TTheorySelection selection = PlanetTheory(theory);
  const TObserverRecord observer = Record(selection, 0.0);
  TSaturnShortArray xe{}, ye{}, ue{}, xs{}, ys{}, us{};
  TSaturnMoonsBlock block;
  for (auto _ : state) {
    SaturnMoonsPositions(PositionFileHandles{}, kFullTheory, selection, observer, xe, ye, ue, xs, ys, us, block);
    benchmark::DoNotOptimize(xe);
    benchmark::ClobberMemory();
  }
}
BENCHMARK_CAPTURE(SaturnFiveMoons, internal_series, kPlanetTheoryInternal);
BENCHMARK_CAPTURE(SaturnFiveMoons, vsop87d, kPlanetTheoryVsop87D);

}  // namespace
}  // namespace kvx
