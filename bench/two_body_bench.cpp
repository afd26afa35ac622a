// Speed of the Kepler solvers per orbit type, of the element conversion and
// of a planet's full physical ephemeris.
#include <benchmark/benchmark.h>

#include "core/moon_physical.h"
#include "core/physical_ephemeris.h"
#include "core/two_body.h"

namespace {

using namespace kvx;

void BM_KeplerEllipse(benchmark::State& state) {
  const double e = static_cast<double>(state.range(0)) / 100.0;
  double M = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(KeplerSolve(M, e));
    M += 7.3;
  }
}
BENCHMARK(BM_KeplerEllipse)->Arg(1)->Arg(50)->Arg(95);

void BM_EllipticOrbitPosition(benchmark::State& state) {
  double M = 0, x, y, vx, vy;
  for (auto _ : state) {
    EllipticOrbitPosition(x, y, vx, vy, M, 2.5, 0.2);
    benchmark::DoNotOptimize(x);
    M += 7.3;
  }
}
BENCHMARK(BM_EllipticOrbitPosition);

void BM_ParabolicOrbitPosition(benchmark::State& state) {
  const double e = static_cast<double>(state.range(0)) / 1000.0;
  double t = 0.001, x, y, vx, vy;
  for (auto _ : state) {
    ParabolicOrbitPosition(x, y, vx, vy, t, 0.0, 0.9, e);
    benchmark::DoNotOptimize(x);
    t += 0.0001;
    if (t > 0.02) t = 0.001;
  }
}
BENCHMARK(BM_ParabolicOrbitPosition)->Arg(990)->Arg(1000)->Arg(1010);

void BM_HyperbolicOrbitPosition(benchmark::State& state) {
  double t = 0.001, x, y, vx, vy;
  for (auto _ : state) {
    HyperbolicOrbitPosition(x, y, vx, vy, t, 0.0, -2.0, 1.5);
    benchmark::DoNotOptimize(x);
    t += 0.0001;
    if (t > 0.02) t = 0.001;
  }
}
BENCHMARK(BM_HyperbolicOrbitPosition);

void BM_ElementsFromStateVector(benchmark::State& state) {
  const TStateVectorExt s{1.1L, 0.4L, 0.05L, -0.006L, 0.015L, 0.001L};
  long double a, q, e, i, node, w, lonPeri, p, M, n, Tp;
  std::uint8_t kind;
  for (auto _ : state) {
    ElementsFromStateVector(s, a, q, 2451545.0, 0.0L, e, i, node, w, lonPeri, p, M, n, Tp, kind);
    benchmark::DoNotOptimize(Tp);
  }
}
BENCHMARK(BM_ElementsFromStateVector);

// Jupiter 1992 Dec 16, 0h UT.
void BM_PlanetPhysicalEphemeris(benchmark::State& state) {
  TObserverRecord observer;
  observer.Mjd = 48972.0;
  observer.DeltaTSeconds = 59.0;
  observer.Centuries = -0.0704;
  observer.SunLongitude = 264.2846;
  observer.SunDistance = 0.98412;
  observer.SunX = -0.098006;
  observer.SunY = -0.979231;
  observer.SunApparentRA = 263.7744;
  observer.SunApparentDec = -23.3165;
  TKeplerPosition jupiter;
  jupiter.HelioLongitude = 181.8844;
  jupiter.HelioLatitude = 1.2905;
  jupiter.HelioDistance = 5.44642;
  jupiter.HelioX = -5.442094;
  jupiter.HelioY = -0.179053;
  jupiter.HelioZ = 0.122659;
  jupiter.GeoLongitude = 191.8074;
  jupiter.GeoLatitude = 1.2414;
  jupiter.GeoDistance = 5.66112;
  jupiter.EquatorialX = -5.540036;
  jupiter.EquatorialY = -1.111336;
  jupiter.EquatorialZ = -0.3;
  jupiter.RightAscension = 191.34;
  jupiter.Declination = -3.3;
  PlanetPhysicalRecord rec;
  for (auto _ : state) {
    PlanetMagnitude(5, observer, jupiter, rec);
    benchmark::DoNotOptimize(rec.magnitude);
  }
}
BENCHMARK(BM_PlanetPhysicalEphemeris);

void BM_MoonPhysicalEphemeris(benchmark::State& state) {
  TObserverRecord observer;
  observer.Mjd = 48724.0;
  observer.Centuries = -0.077220;
  observer.SunLongitude = 22.3398;
  observer.SunDistance = 1.0025;
  observer.SunApparentRA = 20.6579;
  observer.SunApparentDec = 8.6965;
  TMoonPositionBlock moon{133.1671, -3.2293, 57.766, 134.6882, 13.7682, 57.766, 134.0755, 13.0306, 57.472};
  TMoonPhysicalEphemeris result;
  for (auto _ : state) {
    MoonPhysicalEphemeris(kBodyMoon, observer, moon, result);
    benchmark::DoNotOptimize(result.magnitude);
  }
}
BENCHMARK(BM_MoonPhysicalEphemeris);

}  // namespace
