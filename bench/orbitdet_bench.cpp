// Speed of the first-orbit methods and the observation readers: Gauss's
// method on one triple, Laplace's first pass, the two-body place of one
// observation, 10,000 observation lines against a 2,500-station list, a
// ".OBS" file of 10,000 records, table kind 92 for 1,000 observations
// into the workbook model, and the differential correction of 100
// observations with each method of trial places (a scripted residuals form).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>

#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "engine/comet.h"
#include "orbitdet/differential_correction.h"
#include "orbitdet/gauss.h"
#include "orbitdet/laplace.h"
#include "orbitdet/observation_files.h"
#include "orbitdet/orbit_driver.h"
#include "orbitdet/orbit_output.h"
#include "orbitdet/state_elements.h"
#include "orbitdet/trial_places.h"
#include "platform/progress.h"
#include "tests/support/table_request.h"

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

// A residuals form that continues `continues` times (or until the vector
// stops moving) and then closes.
class ScriptedView : public ResidualsView {
 public:
  explicit ScriptedView(int continues) : continues_(continues) {}
  bool Fill(const TResidualsFill& fill, TOrbitElementRecord& elements) override {
    last_step_ = 0;
    for (std::size_t p = 0; p < 6; ++p) last_step_ = std::max(last_step_, std::fabs(fill.State[p] - state_[p]));
    state_ = fill.State;
    epoch_ = fill.Epoch;
    method_ = fill.Method;
    return OrbitElementsFromState(fill.State, fill.Epoch, 1.0, elements);
  }
  int ShowModal() override { return continues_-- > 0 && last_step_ >= 1e-10 ? 6 : 7; }
  TStateVector State() const override { return state_; }
  double Epoch() const override { return epoch_; }
  std::uint8_t Method() const override { return method_; }
  std::uint8_t Topocentric() const override { return 0; }
  double ChangeRate() const override { return 0.1; }
  bool ReloadRequested() const override { return false; }

 private:
  int continues_;
  double last_step_ = 1;
  TStateVector state_{};
  double epoch_ = 0;
  std::uint8_t method_ = 2;
};

// 100 observations over 60 days, the chosen records and observer records
// of the driver, a start vector off by 1e-5 relative.
struct CorrectionSetup {
  TObservationList list = MakeObservations(100, 0.6);
  torbdet od;
  std::vector<TChosenObservation> chosen;
  std::vector<TObserverPlace> observers;
  CorrectionSetup() {
    od.Create("", TTheorySelection{}, &list, kFullTheory, 10);
    chosen = ChosenRecords(od);
    observers = ObserverRecords(od, chosen, false);
  }
  TStateVector Start() const {
    TStateVector s = kBody;
    for (std::size_t p = 0; p < 6; ++p) s[p] *= 1 + 1e-5 * (p % 2 == 0 ? 1 : -1);
    return s;
  }
};

// The selection dialog keeping every observation it is shown.
class KeepAllChooser : public ObservationChooser {
 public:
  bool Choose(std::vector<TChosenObservation>&, const std::string&, const std::string&) override { return true; }
};

// The driver up to the first residuals form: the chosen and observer
// records of 100 observations, the fit, Laplace's orbit and the residuals;
// the form then closes at once.
void BM_DriverFirstPass100Observations(benchmark::State& state) {
  CorrectionSetup setup;
  for (auto _ : state) {
    KeepAllChooser chooser;
    ScriptedView view(0);
    TOrbitRun run;
    run.Chooser = &chooser;
    run.View = &view;
    benchmark::DoNotOptimize(RunOrbitDetermination(setup.od, run));
    if (view.Epoch() == 0) state.SkipWithError("the residuals form was never filled");
  }
}
BENCHMARK(BM_DriverFirstPass100Observations)->Unit(benchmark::kMillisecond);

// One run of the correction; `continues` corrections at most.
void RunCorrection(benchmark::State& state, std::uint8_t method, int continues, bool batched = true) {
  CorrectionSetup setup;
  TTrialPlaceSettings settings;  // internal series, every perturber on
  for (std::size_t b = 3; b < 12; ++b) settings.Selection.bytes[b] = 1;
  settings.Batched = batched;
  const TCometElements none;
  TKomet comet(TBodySettings{}, settings.Selection, 0, TTableConfigRecord{}, none, settings.Observer,
               {settings.Accuracy.IntegrationTolerance, kFullTheory, 10});
  TKometeph ephemeris(test::TableRequest(0, settings.Selection, TTableConfigRecord{}, settings.Observer,
                                         settings.Observer, TTableStep{}, settings.Accuracy.IntegrationTolerance, kFullTheory),
                      nullptr, none);
  int cycles = 0;
  for (auto _ : state) {
    TTrialPlaces places(comet, ephemeris, settings);
    TStateVector vector = setup.Start();
    double epoch = kEpoch;
    ScriptedView view(continues);
    TCorrectionInput in;
    in.Chosen = setup.chosen;
    in.Observers = setup.observers;
    in.State = &vector;
    in.Epoch = &epoch;
    in.Method = method;
    in.Topocentric = 0;
    in.Places = places.Function();
    in.View = &view;
    const TCorrectionOutcome out = DifferentialCorrection(in);
    if (out.Result != TCorrectionResult::Finished) state.SkipWithError("the correction did not finish");
    cycles = out.Cycles;
  }
  state.counters["cycles"] = cycles;
}

void BM_CorrectionToConvergenceMethod2(benchmark::State& state) { RunCorrection(state, 2, 20); }
BENCHMARK(BM_CorrectionToConvergenceMethod2)->Unit(benchmark::kMillisecond);

void BM_CorrectionCycleMethod1(benchmark::State& state) { RunCorrection(state, 1, 1); }
BENCHMARK(BM_CorrectionCycleMethod1)->Unit(benchmark::kMillisecond);

void BM_CorrectionCycleMethod0AllPerturbers(benchmark::State& state) { RunCorrection(state, 0, 1); }
BENCHMARK(BM_CorrectionCycleMethod0AllPerturbers)->Unit(benchmark::kMillisecond);

// The same cycle with one integration from the epoch per observation.
void BM_CorrectionCycleMethod0PerObservation(benchmark::State& state) { RunCorrection(state, 0, 1, false); }
BENCHMARK(BM_CorrectionCycleMethod0PerObservation)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
