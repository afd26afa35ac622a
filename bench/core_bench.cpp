// Speed of the most called core routines: calendar conversions, Delta T,
// sidereal time and the full reduction of a mean J2000 position to the true
// equator and equinox of date.
#include <benchmark/benchmark.h>

#include "core/frames.h"
#include "core/time_scales.h"
#include "core/vector_math.h"

namespace {

void BM_CalendarDateToMjd(benchmark::State& state) {
  int day = 1;
  for (auto _ : state) {
    benchmark::DoNotOptimize(kvx::CalendarDateToMjd(day, 7, 1987, 13.25));
    day = day % 28 + 1;
  }
}
BENCHMARK(BM_CalendarDateToMjd);

void BM_MjdToCalendarDate(benchmark::State& state) {
  double mjd = 46000.3;
  int day, month, year;
  double hours;
  for (auto _ : state) {
    kvx::MjdToCalendarDate(day, month, year, hours, mjd);
    benchmark::DoNotOptimize(day);
    benchmark::DoNotOptimize(hours);
    mjd += 1.37;
  }
}
BENCHMARK(BM_MjdToCalendarDate);

// Delta T over 1600..2200, every branch from the historical table through
// the observed values and the bridge to the long-term parabola.
void BM_DeltaT(benchmark::State& state) {
  double jd = 2305445.0;  // 1600.0
  for (auto _ : state) {
    benchmark::DoNotOptimize(kvx::DeltaT(jd));
    jd += 37.3;
    if (jd > 2524595.0) jd -= 219150.0;  // from 2200.0 back to 1600.0
  }
}
BENCHMARK(BM_DeltaT);

void BM_GreenwichSiderealTimeMean(benchmark::State& state) {
  double mjd = 60000.1;
  for (auto _ : state) {
    benchmark::DoNotOptimize(kvx::GreenwichSiderealTime(0, mjd));
    mjd += 0.01;
  }
}
BENCHMARK(BM_GreenwichSiderealTimeMean);

void BM_LocalSiderealTimeApparent(benchmark::State& state) {
  double mjd = 60000.1;
  for (auto _ : state) {
    benchmark::DoNotOptimize(kvx::LocalSiderealTime(1, mjd, -13.4));
    mjd += 0.01;
  }
}
BENCHMARK(BM_LocalSiderealTimeApparent);

void BM_NutationAngles(benchmark::State& state) {
  double t = 0.25;
  double dpsi, deps;
  for (auto _ : state) {
    kvx::NutationAngles(dpsi, deps, t);
    benchmark::DoNotOptimize(dpsi);
    benchmark::DoNotOptimize(deps);
    t += 1e-6;
  }
}
BENCHMARK(BM_NutationAngles);

// Mean equatorial J2000 -> precession to date -> nutation -> right
// ascension and declination of date.
void BM_PrecessionNutationReduction(benchmark::State& state) {
  double t = 0.25;
  for (auto _ : state) {
    kvx::TMatrix33 M;
    kvx::PrecessionMatrixEquatorial(M, 0.0, t);
    double x, y, z;
    kvx::PolarToCartesian(x, y, z, 1.0, 23.5, 101.25);
    kvx::MatrixTimesVector(M, x, y, z);
    kvx::NutationEquatorial(x, y, z, t);
    double r, dec, ra;
    kvx::CartesianToPolar(r, dec, ra, x, y, z);
    benchmark::DoNotOptimize(ra);
    benchmark::DoNotOptimize(dec);
    t += 1e-6;
  }
}
BENCHMARK(BM_PrecessionNutationReduction);

}  // namespace
