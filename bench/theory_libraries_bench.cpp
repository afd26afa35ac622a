// Cost of one call of each theory library at each truncation level.
#include <benchmark/benchmark.h>

#include "theories/theory_libraries.h"

namespace {

using kvx::TLibraryAvailability;

const TLibraryAvailability& Libraries() {
  static const TLibraryAvailability availability = kvx::OpenTheoryLibraries(kvx::DefaultTheoryLibraryFolders());
  return availability;
}

// Levels: -1 full, then 4, 6, 8, 10.
void Levels(benchmark::internal::Benchmark* b) {
  for (int level : {-1, 4, 6, 8, 10}) b->Arg(level);
}

// T steps through 1900-2100 so that no call repeats the previous one.
double NextT(double& T) {
  T += 0.0137;
  if (T > 1.0) T -= 2.0;
  return T;
}

void Vsop87D_Mercury(benchmark::State& state) {
  if (!Libraries().Vsop87D) state.SkipWithError("libvsop87d.so absent");
  double T = -1.0, L, B, R;
  for (auto _ : state) {
    kvx::vsopmerkur_hel(NextT(T), L, B, R, static_cast<double>(state.range(0)));
    benchmark::DoNotOptimize(L + B + R);
  }
}
BENCHMARK(Vsop87D_Mercury)->Apply(Levels);

void Vsop87D_Sun(benchmark::State& state) {
  if (!Libraries().Vsop87D) state.SkipWithError("libvsop87d.so absent");
  double T = -1.0, L, B, R;
  for (auto _ : state) {
    kvx::vsopsun_l(NextT(T), L, B, R, static_cast<double>(state.range(0)));
    benchmark::DoNotOptimize(L + B + R);
  }
}
BENCHMARK(Vsop87D_Sun)->Apply(Levels);

void Vsop87C_Jupiter(benchmark::State& state) {
  if (!Libraries().Vsop87C) state.SkipWithError("libvsop87c.so absent");
  double T = -1.0, X, Y, Z, VX, VY, VZ;
  for (auto _ : state) {
    kvx::vsop_c_jup(NextT(T), X, Y, Z, VX, VY, VZ, static_cast<double>(state.range(0)));
    benchmark::DoNotOptimize(X + Y + Z + VX + VY + VZ);
  }
}
BENCHMARK(Vsop87C_Jupiter)->Apply(Levels);

void Vsop87A_Earth(benchmark::State& state) {
  if (!Libraries().Vsop87A) state.SkipWithError("libvsop87a.so absent");
  double T = -1.0, X, Y, Z, VX, VY, VZ;
  for (auto _ : state) {
    kvx::vsop_a_erd(NextT(T), X, Y, Z, VX, VY, VZ, static_cast<double>(state.range(0)));
    benchmark::DoNotOptimize(X + Y + Z + VX + VY + VZ);
  }
}
BENCHMARK(Vsop87A_Earth)->Apply(Levels);

void Vsop87A_EarthMoonBarycentre(benchmark::State& state) {
  if (!Libraries().Vsop87A) state.SkipWithError("libvsop87a.so absent");
  double T = -1.0, X, Y, Z, VX, VY, VZ;
  for (auto _ : state) {
    kvx::vsop_a_emo(NextT(T), X, Y, Z, VX, VY, VZ, static_cast<double>(state.range(0)));
    benchmark::DoNotOptimize(X + Y + Z + VX + VY + VZ);
  }
}
BENCHMARK(Vsop87A_EarthMoonBarycentre)->Apply(Levels);

void Vsop82_Saturn(benchmark::State& state) {
  if (!Libraries().Vsop82) state.SkipWithError("libvsop82.so absent");
  double T = -1.0, a, lambda, k, h, q, p;
  for (auto _ : state) {
    kvx::vsop_sat(NextT(T), a, lambda, k, h, q, p, static_cast<double>(state.range(0)));
    benchmark::DoNotOptimize(a + lambda + k + h + q + p);
  }
}
BENCHMARK(Vsop82_Saturn)->Apply(Levels);

void Elp2000_Moon(benchmark::State& state) {
  if (!Libraries().Elp2000) state.SkipWithError("libelp2000.so absent");
  double T = -1.0, X, Y, Z;
  for (auto _ : state) {
    kvx::ELP82B(2451545.0 + 36525.0 * NextT(T), X, Y, Z, static_cast<double>(state.range(0)));
    benchmark::DoNotOptimize(X + Y + Z);
  }
}
BENCHMARK(Elp2000_Moon)->Apply(Levels);

// The first call of a library after start-up reads its coefficients.
void OpenAndProbeAllLibraries(benchmark::State& state) {
  for (auto _ : state) {
    const TLibraryAvailability a = kvx::OpenTheoryLibraries(kvx::DefaultTheoryLibraryFolders());
    benchmark::DoNotOptimize(a.Vsop87D + a.Elp2000);
  }
}
BENCHMARK(OpenAndProbeAllLibraries)->Unit(benchmark::kMillisecond);

}  // namespace
