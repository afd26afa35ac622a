// Speed of the first-orbit methods and the observation readers: Gauss's
// method on one triple, Laplace's first pass, the two-body place of one
// observation, 10,000 observation lines against a 2,500-station list, a
// ".OBS" file of 10,000 records, and table kind 92 for 1,000 observations
// into the workbook model.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>

#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "orbitdet/gauss.h"
#include "orbitdet/laplace.h"
#include "orbitdet/observation_files.h"
#include "orbitdet/orbit_output.h"
#include "orbitdet/state_elements.h"
#include "platform/progress.h"

namespace {

using namespace kvx;

// A made-up main-belt body seen from the Earth, observed once a day (a
// second of time later each day so that the times are all distinct).
constexpr TStateVector kBody{1.2, 2.1, 0.4, -0.55, 0.35, 0.05};
constexpr double kEpoch = 2461000.5;

TObservationList MakeObservations(int count, double step) {
  torbdet od;
  TObservationList list;
  for (int k = 0; k < count; ++k) {
    const double tt = kEpoch + (k - count / 2) * step;
    std::array<double, 3> sun = GeocentricSunJ2000(od, tt);
    double ra = 0, dec = 0;
    PropagateTwoBodyUniversal(kBody, kEpoch, tt, sun, ra, dec);
    tobservation o;
    int day = 0, month = 0, year = 0;
    double hours = 0;
    JdToCalendarDate(day, month, year, hours, tt - 69.0 / 86400);
    o.Day = day;
    o.Month = month;
    o.Year = year;
    o.Hours = hours;
    o.RA = ra * 15;
    o.Dec = dec;
    AddObservation(list, o);
  }
  return list;
}

void BM_GaussOneTriple(benchmark::State& state) {
  TObservationList list = MakeObservations(3, 10);
  torbdet od;
  od.Create("", TTheorySelection{}, &list, kFullTheory, 10);
  PrepareObservations(od);
  std::array<TVector3Ext, 3> sun, dir;
  std::array<double, 3> jd{};
  od.GetObservationTriple(0, sun, dir, jd);
  for (auto _ : state) benchmark::DoNotOptimize(GaussTripleOrbit(dir, sun, jd));
}
BENCHMARK(BM_GaussOneTriple)->Unit(benchmark::kMicrosecond);

void BM_LaplaceFirstPass(benchmark::State& state) {
  const TObservationList list = MakeObservations(10, 3);
  std::vector<TChosenObservation> chosen;
  for (const auto& e : list) chosen.push_back({e.Obs.JD, 0, 0, e.Obs.RA / 15, e.Obs.Dec, e.Obs.JdTT});
  torbdet od;
  for (auto _ : state) {
    double epoch = chosen[4].JdTT;
    TDirectionRecord direction;
    FitObservationPolynomial(direction, 4, epoch, chosen);
    std::array<double, 3> times{};
    std::array<std::array<double, 3>, 3> sun{};
    for (int k = 0; k < 3; ++k) {
      times[static_cast<std::size_t>(k)] = std::floor(epoch - 0.5) + 0.5 + k;
      sun[static_cast<std::size_t>(k)] = GeocentricSunJ2000(od, times[static_cast<std::size_t>(k)]);
    }
    TSunRecord record;
    ObserverSunVector(record, sun, times, 0, 0, chosen[4].JD, epoch);
    TStateVector s{};
    benchmark::DoNotOptimize(LaplacePreliminaryOrbit(s, epoch, direction, record));
  }
}
BENCHMARK(BM_LaplaceFirstPass)->Unit(benchmark::kMicrosecond);

void BM_PropagateOneObservation(benchmark::State& state) {
  const std::array<double, 3> sun{0.3, -0.85, -0.37};
  double t = kEpoch + 20;
  for (auto _ : state) {
    double ra = 0, dec = 0;
    benchmark::DoNotOptimize(PropagateTwoBodyUniversal(kBody, kEpoch, t, sun, ra, dec));
    t += 0.37;
    if (t > kEpoch + 200) t = kEpoch + 20;
  }
}
BENCHMARK(BM_PropagateOneObservation)->Unit(benchmark::kNanosecond);

void BM_ObservationLinesWithStations(benchmark::State& state) {
  std::vector<tstation> stations;
  char code[8];
  for (int k = 0; k < 2500; ++k) {
    std::snprintf(code, sizeof code, "%c%02d", 'A' + k / 100, k % 100);
    stations.push_back(tstation{code, k * 0.1, 0.5, 0.8, "Station", true});
  }
  std::vector<std::string> lines{"Observations:"};
  char line[96];
  for (int k = 0; k < 10000; ++k) {
    std::snprintf(line, sizeof line, "     K26X01A  C2025 %02d %02d.%06d13 03 27.404+01 11 27.94         17.3 V      %c%02d",
                  1 + k % 12, 1 + k % 28, k * 7 % 1000000, 'A' + k % 25, k % 100);
    lines.emplace_back(line);
  }
  torbdet od;
  od.SetStations(stations);
  for (auto _ : state) {
    TObservationList list;
    TObservationReadReport report;
    ParseObservationLines(od, lines, list, report);
    if (list.size() != 10000) state.SkipWithError("lines not read");
    benchmark::DoNotOptimize(list.size());
  }
}
BENCHMARK(BM_ObservationLinesWithStations)->Unit(benchmark::kMillisecond);

void BM_BinaryFileOf10000Records(benchmark::State& state) {
  const TObservationList one = MakeObservations(100, 1);
  TObservationList many;
  for (int k = 0; k < 100; ++k) many.insert(many.end(), one.begin(), one.end());
  const std::string bytes = WriteObservationRecords(many, 2000, 2000);
  for (auto _ : state) {
    TObservationList list;
    double a = 0, b = 0;
    TObservationReadReport report;
    ReadObservationRecords(bytes, list, a, b, report);
    benchmark::DoNotOptimize(list.size());
  }
}
BENCHMARK(BM_BinaryFileOf10000Records)->Unit(benchmark::kMillisecond);

void BM_Kind92For1000Observations(benchmark::State& state) {
  TObservationList list = MakeObservations(1000, 0.2);
  TTableConfigRecord config;
  TOrbDetOptions options;
  for (auto _ : state) {
    torbdet od;
    od.Create("", TTheorySelection{}, &list, kFullTheory, 10);
    workbook::TWorkbook book;
    od.OutputRow = 1;
    ShowObservationsInSheet(od, book, config, true, false);
    benchmark::DoNotOptimize(WriteOrbitDeterminationResults(od, book, config, options));
  }
}
BENCHMARK(BM_Kind92For1000Observations)->Unit(benchmark::kMillisecond);

}  // namespace
