// Speed of the planet routines: one heliocentric position per routine and
// source, one full geocentric apparent position, and one day of a position
// file.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/frames.h"
#include "core/vector_math.h"
#include "tests/support/theory_selection.h"
#include "tests/theories/position_file_writer.h"
#include "theories/planet_positions.h"
#include "theories/planet_series.h"
#include "theories/pluto.h"
#include "theories/position_files.h"
#include "theories/theory_libraries.h"

namespace kvx {
namespace {

using Routine = void (*)(PositionFileHandle, TTheorySelection, double, double&, double&, double&, double&, double&,
                         double&, double&, double&, double&, TTruncationLevel);

using test::PlanetTheory;

bool LibrariesOpen() {
  static const TLibraryAvailability available = OpenTheoryLibraries(DefaultTheoryLibraryFolders());
  return available.Vsop87D && available.Vsop87C;
}

void Heliocentric(benchmark::State& state, Routine routine, std::uint8_t theory) {
  if (theory != 0 && !LibrariesOpen()) {
    state.SkipWithError("theory libraries not found");
    return;
  }
  double T = 0.1;
  double l, b, r, x, y, z, vx, vy, vz;
  for (auto _ : state) {
    routine(PositionFileHandle{}, PlanetTheory(theory), T, l, b, r, x, y, z, vx, vy, vz, kFullTheory);
    benchmark::DoNotOptimize(l);
    benchmark::DoNotOptimize(z);
    T += 1e-5;
  }
}

void PlutoRoad(benchmark::State& state, std::uint8_t theory) {
  double T = 0.1;
  double l, b, r, x, y, z, vx, vy, vz;
  for (auto _ : state) {
    PlutoHeliocentric(PositionFileHandle{}, PlanetTheory(theory), T, l, b, r, x, y, z, vx, vy, vz);
    benchmark::DoNotOptimize(l);
    T += 1e-5;
  }
}

#define KVX_PLANET_BENCH(Name)                                                  \
  BENCHMARK_CAPTURE(Heliocentric, Name##_internal, Name##Heliocentric, 0);      \
  BENCHMARK_CAPTURE(Heliocentric, Name##_vsop87d, Name##Heliocentric, 1);       \
  BENCHMARK_CAPTURE(Heliocentric, Name##_vsop87c, Name##Heliocentric, 2)

KVX_PLANET_BENCH(Mercury);
KVX_PLANET_BENCH(Venus);
KVX_PLANET_BENCH(Mars);
KVX_PLANET_BENCH(Jupiter);
KVX_PLANET_BENCH(Saturn);
KVX_PLANET_BENCH(Uranus);
KVX_PLANET_BENCH(Neptune);
BENCHMARK_CAPTURE(PlutoRoad, internal, 0);
BENCHMARK_CAPTURE(PlutoRoad, table_driven, 1);

// Venus from the VSOP87 D library and the Sun from the same library, light
// time and aberration, nutation and the true obliquity: apparent right
// ascension and declination.
void GeocentricApparentVenus(benchmark::State& state, std::uint8_t theory) {
  if (!LibrariesOpen()) {
    state.SkipWithError("theory libraries not found");
    return;
  }
  const PositionFileHandles handles{};
  double T = -0.0703;
  for (auto _ : state) {
    double l, b, r, x, y, z, vx, vy, vz;
    VenusHeliocentric(handles[2], PlanetTheory(theory), T, l, b, r, x, y, z, vx, vy, vz, kFullTheory);
    double sl, sb, sr;
    vsopsun_l(T, sl, sb, sr, -1.0);
    double sx, sy, sz;
    PolarToCartesian(sx, sy, sz, sr, sb, sl);
    TDispatchPlanet d{l, b, r, x, y, z};
    PlanetPositionDispatch(handles, kFullTheory, PlanetTheory(theory), T, 2, 1,
                           TDispatchSun{sl, sb, sr, sx, sy, sz, 0.0, 0.0, 0.0}, d);
    double ax = d.ApparentX, ay = d.ApparentY, az = d.ApparentZ;
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
    benchmark::DoNotOptimize(ra);
    benchmark::DoNotOptimize(dec);
    T += 1e-5;
  }
}
BENCHMARK_CAPTURE(GeocentricApparentVenus, vsop87d, 1);

// A ".vsc" file of 12,001 days (days 0 to 12000 of the files' count, a
// smooth signal), open for reading while the benchmarks run.
class BenchPositionFile {
 public:
  BenchPositionFile()
      : path_(std::filesystem::temp_directory_path() / ("kvx_bench_" + std::to_string(getpid()) + ".vsc")),
        block_(kVscBlockBytes) {
    test::WritePositionFile(path_, 0, kLastDay, 6, [](int f, long day) { return test::QuarticSignal(f, double(day)); });
    stream_ = std::fopen(path_.c_str(), "rb");
  }
  ~BenchPositionFile() {
    if (stream_ != nullptr) std::fclose(stream_);
    std::filesystem::remove(path_);
  }
  PositionFileHandle Handle() { return {stream_, block_.data(), start_, end_}; }
  static constexpr long kLastDay = 12000;

 private:
  std::filesystem::path path_;
  std::FILE* stream_ = nullptr;
  std::vector<std::uint8_t> block_;
  std::uint8_t start_[6] = {};
  std::uint8_t end_[6] = {};
};

// One day of the file after the first request has loaded the block that
// serves it (range 0: a day in the middle of the file; 1: one of its first
// two days; 2: one of its last two, each served by the block moved inside
// the file): every request costs the same five records and interpolation.
void PositionFileDay(benchmark::State& state) {
  static BenchPositionFile file;
  const double days[3] = {6000.3, 1.4, BenchPositionFile::kLastDay - 1.6};
  const double jd = days[state.range(0)] + kPositionFileEpoch;
  const double T = (jd - 2451545.0) / 36525.0;
  double L, B, R, X, Y, Z, VX, VY, VZ;
  ReadPositionFile(file.Handle(), L, B, T, R, X, Y, Z, VX, VY, VZ);
  for (auto _ : state) {
    ReadPositionFile(file.Handle(), L, B, T, R, X, Y, Z, VX, VY, VZ);
    benchmark::DoNotOptimize(X);
  }
}
BENCHMARK(PositionFileDay)->Arg(0)->Arg(1)->Arg(2);

}  // namespace
}  // namespace kvx
