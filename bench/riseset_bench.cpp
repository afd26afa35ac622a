// Speed of the calendar routines of the Sun and the Moon: a year of daily
// rise and set, a year of moon phases, and a Moon position from the
// Chebyshev cache against the direct evaluation.
#include <benchmark/benchmark.h>

#include <array>

#include "core/moon_phases.h"
#include "tests/support/theory_selection.h"
#include "theories/moon_cache.h"
#include "theories/moon_position.h"
#include "theories/rise_set.h"
#include "theories/seasons.h"
#include "theories/theory_libraries.h"

namespace kvx {
namespace {

using test::PlanetAndMoonTheory;

const TRiseSetAltitudes kAltitudes = {-34.0, 8.0, -50.0, -6.0, -12.0, -18.0};

bool ElpOpen() {
  static const TLibraryAvailability available = OpenTheoryLibraries(DefaultTheoryLibraryFolders());
  return available.Elp2000 != 0;
}

// 365 days of one RiseSetMoonSun call at 50 degrees north: events first..last,
// accurate (internal series) or low-precision positions.
void RiseSetYear(benchmark::State& state, int first, int last, int bodyCode, std::uint8_t accurate) {
  const PositionFileHandles handles{};
  TRiseSetMoonSunDay result;
  for (auto _ : state) {
    for (int day = 0; day < 365; ++day) {
      RiseSetMoonSun({0, 1, accurate, 69, 0, kAltitudes, 0, PlanetAndMoonTheory(0, 0), kFullTheory, first, last,
                      bodyCode, 2460310.5 + day, 50.0, 8.0, 1.0},
                     handles, result);
      benchmark::DoNotOptimize(result.RiseTimes);
    }
  }
}
BENCHMARK_CAPTURE(RiseSetYear, SunAccurate, 2, 2, 0, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RiseSetYear, MoonAccurate, 1, 1, 10, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RiseSetYear, SunAndTwilightAccurate, 2, 5, 0, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RiseSetYear, SunLowPrecision, 2, 2, 0, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RiseSetYear, MoonLowPrecision, 1, 1, 10, 0)->Unit(benchmark::kMillisecond);

// A year of daily planet rise and set (Jupiter, internal series).
void PlanetRiseSetYear(benchmark::State& state) {
  const PositionFileHandles handles{};
  double rise, set, duration, transit, transitAltitude, riseAzimuth, setAzimuth;
  const char *status, *riseMarker, *setMarker;
  for (auto _ : state) {
    for (int day = 0; day < 365; ++day) {
      RiseSetPlanet(kAltitudes, handles, 0, 69, PlanetAndMoonTheory(0, 0), 2460310.5 + day, 8.0, 50.0, 5, 1.0, rise,
                    set, duration, transit, transitAltitude, riseAzimuth, setAzimuth, status, riseMarker, setMarker,
                    kFullTheory);
      benchmark::DoNotOptimize(rise);
    }
  }
}
BENCHMARK(PlanetRiseSetYear)->Unit(benchmark::kMillisecond);

// The four phases of the 13 lunations of a year.
void MoonPhasesYear(benchmark::State& state) {
  for (auto _ : state) {
    for (int lunation = 0; lunation < 13; ++lunation) {
      double year = 2024.0, jde = 0;
      NewMoonTime(year, jde, lunation);
      benchmark::DoNotOptimize(jde);
      FirstQuarterTime(year, jde, lunation);
      benchmark::DoNotOptimize(jde);
      FullMoonTime(year, jde, lunation);
      benchmark::DoNotOptimize(jde);
      LastQuarterTime(year, jde, lunation);
      benchmark::DoNotOptimize(jde);
    }
  }
}
BENCHMARK(MoonPhasesYear);

void SeasonsOfAYear(benchmark::State& state) {
  std::array<double, 4> starts{};
  for (auto _ : state) {
    SeasonStartsOfYear({}, PlanetAndMoonTheory(0, 0), 2024, 2, starts, kFullTheory);
    benchmark::DoNotOptimize(starts);
  }
}
BENCHMARK(SeasonsOfAYear);

// One Moon position an hour apart: from the cache (refits included) and
// directly, with the internal series (0) and the ELP library (1).
void MoonPositionCached(benchmark::State& state) {
  const auto theory = static_cast<std::uint8_t>(state.range(0));
  if (theory != 0 && !ElpOpen()) {
    state.SkipWithError("ELP library not found");
    return;
  }
  tmooncheb cache(12, 13);
  double T = 0.2, lambda, beta, distance, x2000, y2000, z2000, x, y, z;
  for (auto _ : state) {
    cache.MoonChebPosition(0, PlanetAndMoonTheory(0, theory), kFullTheory, T, lambda, beta, distance, x2000, y2000,
                           z2000, x, y, z);
    benchmark::DoNotOptimize(lambda);
    T += 1.0 / 24 / 36525;
  }
}
BENCHMARK(MoonPositionCached)->Arg(0)->Arg(1);

void MoonPositionDirect(benchmark::State& state) {
  const auto theory = static_cast<std::uint8_t>(state.range(0));
  if (theory != 0 && !ElpOpen()) {
    state.SkipWithError("ELP library not found");
    return;
  }
  double T = 0.2, lambda, beta, distance, x2000, y2000, z2000, x, y, z, distance2;
  for (auto _ : state) {
    MoonPosition(0, PlanetAndMoonTheory(0, theory), lambda, T, beta, distance, x2000, y2000, z2000, x, y, z, distance2,
                 kFullTheory);
    benchmark::DoNotOptimize(lambda);
    T += 1.0 / 24 / 36525;
  }
}
BENCHMARK(MoonPositionDirect)->Arg(0)->Arg(1);

}  // namespace
}  // namespace kvx
