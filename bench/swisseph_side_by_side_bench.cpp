// The full theories side by side with the Swiss Ephemeris in its analytic
// (Moshier) mode, in one run. Each benchmark alternates blocks of calls of
// the two and times each block with the thread's CPU clock, so that both see
// the same machine and time spent waiting for the processor counts for
// neither; the counters give nanoseconds per position of each and their
// ratio (kvx_ns / swe_ns; below 1 the project is faster). Run a Release
// build (-DCMAKE_BUILD_TYPE=Release) with repetitions and read the medians:
//   taskset -c 3 bench_swisseph_side_by_side --benchmark_repetitions=9
//     --benchmark_report_aggregates_only=true
// The Swiss Ephemeris is a benchmark-only dependency (libswe-dev): it is
// linked into this benchmark alone.
//
// Figures:
//   HeliocentricMars   VSOP87 D library, full series, against heliocentric
//                      Mars (SEFLG_HELCTR);
//   ApparentMars       the VSOP87 D road of the program: Mars and the Sun from
//                      the library, light time and aberration, nutation,
//                      apparent right ascension and declination; against the
//                      default apparent geocentric place;
//   ApparentMoon       the ELP-2000/82B road (light time from a first
//                      library call), nutation, apparent place; against the
//                      apparent geocentric Moon.
// The Swiss Ephemeris keeps the last instant's results: every call moves the
// date, for both.
#include <benchmark/benchmark.h>
#include <swephexp.h>

#include <time.h>

#include <cmath>

#include "core/frames.h"
#include "core/vector_math.h"
#include "tests/support/theory_selection.h"
#include "theories/apparent_sun_moon.h"
#include "theories/planet_positions.h"
#include "theories/planet_series.h"
#include "theories/theory_libraries.h"

namespace kvx {
namespace {

// CPU time of the calling thread, ns.
double ThreadNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
}

bool LibrariesOpen() {
  static const TLibraryAvailability available = OpenTheoryLibraries(DefaultTheoryLibraryFolder());
  return available.Vsop87D && available.Elp2000;
}

constexpr double kJ2000 = 2451545.0;
constexpr double kDaysPerCentury = 36525.0;
constexpr int kBlock = 32;  // calls per timed block

// Runs `ours(T)` and `theirs(jd)` in alternating timed blocks over a date
// that steps by `stepDays`, and reports the two costs and their ratio.
template <typename Ours, typename Theirs>
void SideBySide(benchmark::State& state, double stepDays, Ours ours, Theirs theirs) {
  if (!LibrariesOpen()) {
    state.SkipWithError("theory libraries not found");
    return;
  }
  double ourNs = 0.0, theirNs = 0.0;
  double jd = 2448000.5;
  std::int64_t calls = 0;
  for (auto _ : state) {
    const double start = jd;
    const double t0 = ThreadNanoseconds();
    for (int i = 0; i < kBlock; ++i) ours((start + i * stepDays - kJ2000) / kDaysPerCentury);
    const double t1 = ThreadNanoseconds();
    for (int i = 0; i < kBlock; ++i) theirs(start + i * stepDays);
    const double t2 = ThreadNanoseconds();
    ourNs += t1 - t0;
    theirNs += t2 - t1;
    calls += kBlock;
    jd += kBlock * stepDays;
    if (jd > 2488000.5) jd = 2415020.5;
  }
  state.counters["kvx_ns"] = ourNs / static_cast<double>(calls);
  state.counters["swe_ns"] = theirNs / static_cast<double>(calls);
  state.counters["ratio"] = ourNs / theirNs;
}

void SweCalc(double jd, int body, int flags) {
  double x[6];
  char error[256];
  swe_calc(jd, body, flags | SEFLG_MOSEPH, x, error);
  benchmark::DoNotOptimize(x[0]);
}

void HeliocentricMars(benchmark::State& state) {
  SideBySide(
      state, 0.37,
      [](double T) {
        double L, B, R;
        vsopmars_hel(T, L, B, R, -1.0);
        benchmark::DoNotOptimize(L + B + R);
      },
      [](double jd) { SweCalc(jd, SE_MARS, SEFLG_HELCTR); });
}
BENCHMARK(HeliocentricMars);

// Mars and the Sun from the VSOP87 D library, light time and aberration of
// the program's first road, nutation and the true obliquity.
void ApparentMarsVsop87D(double T) {
  const PositionFileHandles handles{};
  const TTheorySelection selection = test::PlanetTheory(kPlanetTheoryVsop87D);
  double l, b, r, x, y, z, vx, vy, vz;
  MarsHeliocentric(handles[3], selection, T, l, b, r, x, y, z, vx, vy, vz, kFullTheory);
  double sl, sb, sr;
  vsopsun_l(T, sl, sb, sr, -1.0);
  double sx, sy, sz;
  PolarToCartesian(sx, sy, sz, sr, sb, sl);
  double ax, ay, az, mx, my, mz, distance;
  PlanetPositionDispatch(handles, kFullTheory, selection, T, l, b, r, sl, sb, sr, 4, 1, x, y, z, sx, sy, sz, ax,
                         ay, az, mx, my, mz, distance, 0.0, 0.0, 0.0, vx, vy, vz);
  double deps = 0.0;
  const double dpsi = NutationDegrees(deps, T);
  const double eps = (MeanObliquity(T) + deps) * 0.0174532925199433;
  double lat, lon;
  CartesianToPolar(r, lat, lon, ax, ay, az);
  PolarToCartesian(x, y, z, 1.0, lat, lon + dpsi);
  const double ye = y * std::cos(eps) - z * std::sin(eps);
  const double ze = y * std::sin(eps) + z * std::cos(eps);
  double ra, dec;
  CartesianToPolar(r, dec, ra, x, ye, ze);
  benchmark::DoNotOptimize(ra + dec);
}

void ApparentMars(benchmark::State& state) {
  SideBySide(state, 0.37, ApparentMarsVsop87D, [](double jd) { SweCalc(jd, SE_MARS, 0); });
}
BENCHMARK(ApparentMars);

void ApparentMoon(benchmark::State& state) {
  SideBySide(
      state, 0.037,
      [](double T) {
        double ra, dec, r;
        MoonApparentCoordinates(0, PositionFileHandles{}, test::PlanetAndMoonTheory(0, 1), T, ra, dec, r,
                                kFullTheory);
        benchmark::DoNotOptimize(ra + dec + r);
      },
      [](double jd) { SweCalc(jd, SE_MOON, 0); });
}
BENCHMARK(ApparentMoon);

void ApparentMoonLightTimeShortcut(benchmark::State& state) {
  SideBySide(
      state, 0.037,
      [](double T) {
        double ra, dec, r;
        MoonApparentCoordinates(1, PositionFileHandles{}, test::PlanetAndMoonTheory(0, 1), T, ra, dec, r,
                                kFullTheory);
        benchmark::DoNotOptimize(ra + dec + r);
      },
      [](double jd) { SweCalc(jd, SE_MOON, 0); });
}
BENCHMARK(ApparentMoonLightTimeShortcut);

}  // namespace
}  // namespace kvx
