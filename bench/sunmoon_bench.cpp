// Speed of the Sun and Moon positions by each road, the Chebyshev fits and
// the completion of an observer record.
#include <benchmark/benchmark.h>

#include "core/apparent_place_fit.h"
#include "core/observer_record.h"
#include "core/table_config.h"
#include "tests/support/theory_selection.h"
#include "theories/apparent_sun_moon.h"
#include "theories/low_precision.h"
#include "theories/moon_position.h"
#include "theories/observer_completion.h"
#include "theories/sun_position.h"
#include "theories/theory_libraries.h"

namespace kvx {
namespace {

using test::PlanetAndMoonTheory;

// Opens the theory libraries once for the whole run.
const TLibraryAvailability& Libraries() {
  static const TLibraryAvailability present = OpenTheoryLibraries(DefaultTheoryLibraryFolders());
  return present;
}

void MoonRoad(benchmark::State& state, std::uint8_t moonTheory, std::uint8_t shortcut) {
  if (moonTheory != 0 && Libraries().Elp2000 == 0) {
    state.SkipWithError("ELP-2000/82 library not found");
    return;
  }
  double T = -0.07;
  for (auto _ : state) {
    double l, b, d, x0, y0, z0, x, y, z, d2;
    MoonPosition(shortcut, PlanetAndMoonTheory(0, moonTheory), l, T, b, d, x0, y0, z0, x, y, z, d2, kFullTheory);
    benchmark::DoNotOptimize(l);
    T += 1e-6;
  }
}
void BM_MoonInternalSeries(benchmark::State& state) { MoonRoad(state, 0, 0); }
void BM_MoonElpTwoLibraryCalls(benchmark::State& state) { MoonRoad(state, 1, 0); }
void BM_MoonElpLightTimeShortcut(benchmark::State& state) { MoonRoad(state, 1, 1); }
BENCHMARK(BM_MoonInternalSeries);
BENCHMARK(BM_MoonElpTwoLibraryCalls);
BENCHMARK(BM_MoonElpLightTimeShortcut);

void BM_MoonLowPrecision(benchmark::State& state) {
  double T = -0.07;
  for (auto _ : state) {
    double ra, dec, d;
    MoonLowPrecision(ra, dec, d, T);
    benchmark::DoNotOptimize(ra);
    T += 1e-6;
  }
}
BENCHMARK(BM_MoonLowPrecision);

void SunRoad(benchmark::State& state, std::uint8_t planetTheory) {
  if (planetTheory != 0 && Libraries().Vsop87D == 0) {
    state.SkipWithError("VSOP87 libraries not found");
    return;
  }
  const PositionFileHandles files{};
  double T = -0.07;
  for (auto _ : state) {
    double L, B, R, X, Y, Z, VX, VY, VZ;
    SunPosition(files, PlanetAndMoonTheory(planetTheory, 0), L, T, B, R, X, Y, Z, VX, VY, VZ, kFullTheory);
    benchmark::DoNotOptimize(L);
    T += 1e-6;
  }
}
void BM_SunInternalSeries(benchmark::State& state) { SunRoad(state, 0); }
void BM_SunVsop87D(benchmark::State& state) { SunRoad(state, 1); }
void BM_SunVsop87C(benchmark::State& state) { SunRoad(state, 2); }
BENCHMARK(BM_SunInternalSeries);
BENCHMARK(BM_SunVsop87D);
BENCHMARK(BM_SunVsop87C);

void BM_SunLowPrecision(benchmark::State& state) {
  double T = -0.07;
  for (auto _ : state) {
    double ra, dec;
    SunLowPrecision(ra, dec, T);
    benchmark::DoNotOptimize(ra);
    T += 1e-6;
  }
}
BENCHMARK(BM_SunLowPrecision);

void BM_ChebyshevFitMoonDegree8(benchmark::State& state) {
  const PositionFileHandles files{};
  double T = -0.07;
  for (auto _ : state) {
    TChebyshevPoly ra, dec, r;
    ChebyshevFitMoon(0, files, PlanetAndMoonTheory(0, 0), T - 0.00005, T + 0.00005, 8, ra, dec, r, kFullTheory);
    benchmark::DoNotOptimize(ra.C[0]);
    T += 1e-4;
  }
}
BENCHMARK(BM_ChebyshevFitMoonDegree8);

void BM_ChebyshevEvaluate(benchmark::State& state) {
  TChebyshevPoly ra, dec, r;
  ChebyshevFitMoon(0, {}, PlanetAndMoonTheory(0, 0), -0.00005, 0.00005, 8, ra, dec, r, kFullTheory);
  double t = -0.00005;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ChebyshevEvaluate(ra, t));
    t += 1e-9;
    if (t > 0.00005) t = -0.00005;
  }
}
BENCHMARK(BM_ChebyshevEvaluate);

void CompleteRecord(benchmark::State& state, std::uint8_t planetTheory, bool hourlyMotion) {
  if (planetTheory != 0 && Libraries().Vsop87D == 0) {
    state.SkipWithError("VSOP87 libraries not found");
    return;
  }
  TTableConfigRecord config;
  if (hourlyMotion) config.Flags[20] = 1;
  TObserverRecord r;
  r.Day = 13;
  r.Month = 10;
  r.Year = 1992;
  r.Latitude = 52.5;
  r.Longitude = -13.4;
  r.Zone = 1;
  r.AutoDeltaT = 1;
  for (auto _ : state) {
    r.LocalHours += 0.01;
    CompleteObserverRecord(1, PlanetAndMoonTheory(planetTheory, 0), config, kFullTheory, r);
    benchmark::DoNotOptimize(r.SunApparentRA);
  }
}
void BM_CompleteObserverRecordInternalSun(benchmark::State& state) { CompleteRecord(state, 0, false); }
void BM_CompleteObserverRecordVsop87DHourlyMotion(benchmark::State& state) { CompleteRecord(state, 1, true); }
BENCHMARK(BM_CompleteObserverRecordInternalSun);
BENCHMARK(BM_CompleteObserverRecordVsop87DHourlyMotion);

}  // namespace
}  // namespace kvx
