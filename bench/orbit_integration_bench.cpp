// Speed of the numerical orbit integration: a year of daily integrated Ceres
// rows with all nine perturbers (internal series and VSOP87 C), a 100-year
// first leg, and the bare solver on the two-body problem against GSL's
// variable-order Adams method (100 revolutions at 1e-12).
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

#include "core/time_scales.h"
#include "core/two_body.h"
#include "engine/ephemeris_table.h"
#include "engine/ode_solver.h"
#include "engine/orbit_integration.h"
#include "engine/table_globals.h"
#include "platform/messages.h"
#include "tests/support/recording_message_sink.h"
#include "tests/support/table_request.h"
#include "theories/theory_libraries.h"

#ifdef KVX_HAVE_GSL
#include <gsl/gsl_errno.h>
#include <gsl/gsl_odeiv2.h>
#endif

namespace {

using namespace kvx;

TObserverRecord InstantAtJd(double jdUT) {
  TObserverRecord r;
  int day = 0, month = 0, year = 0;
  double hours = 0;
  JdToCalendarDate(day, month, year, hours, jdUT);
  r.Day = day;
  r.Month = month;
  r.Year = year;
  r.LocalHours = hours;
  r.Latitude = 51.4769;
  r.AutoDeltaT = 0;
  r.DeltaTSeconds = 69;
  return r;
}

TAsteroidElements Ceres(double epochJd) {
  TAsteroidElements e;
  e.SemiMajorAxis = 2.767077947;
  e.Eccentricity = 0.079027143;
  e.Inclination = 10.587596462;
  e.Node = 80.253474775;
  e.Perihelion = 73.360998033;
  e.MeanAnomaly = 102.950694624;
  e.Epoch = epochJd;
  e.Equinox = 2000;
  e.H = 3.34;
  e.G = 0.12;
  e.Name = "Ceres";
  return e;
}

TTheorySelection Perturbers(std::uint8_t planetTheory, std::uint8_t neverVsop) {
  TTheorySelection s;
  s.bytes[0] = planetTheory;
  s.bytes[2] = neverVsop;
  for (int b = 0; b < 9; ++b) s.bytes[static_cast<std::size_t>(kFirstPerturberSwitchByte + b)] = 1;
  return s;
}

void RunTable(benchmark::State& state, TTheorySelection selection, double epochJd, double startJd, double endJd) {
  RecordingMessageSink messages;
  ScopedMessageSink scope(messages);
  TTableStep step;
  step.StepDays = 1;
  int rows = 0;
  for (auto _ : state) {
    TKeplereph table(test::TableRequest(0, selection, TTableConfigRecord{}, InstantAtJd(startJd), InstantAtJd(endJd),
                                        step, 1e-10L, -1, -1),
                     nullptr, Ceres(epochJd));
    table.TheorySelection = selection;
    table.integriere(TComputeSettingsBlock{}, 0, 1, 0);
    rows = table.Rows;
  }
  state.counters["rows"] = rows;
  if (!messages.messages.empty()) state.SkipWithError(messages.messages[0].text.c_str());
}

// A year of daily rows, the epoch in the middle of the year.
void BM_CeresYearInternalSeries(benchmark::State& state) {
  RunTable(state, Perturbers(kPlanetTheoryInternal, 1), 2460400.5, 2460217.5, 2460582.5);
}
BENCHMARK(BM_CeresYearInternalSeries)->Unit(benchmark::kMillisecond);

void BM_CeresYearVsop87C(benchmark::State& state) {
  static const TLibraryAvailability libraries = OpenTheoryLibraries(DefaultTheoryLibraryFolders());
  if (!libraries.Vsop87C) {
    state.SkipWithError("libvsop87c.so absent");
    return;
  }
  RunTable(state, Perturbers(kPlanetTheoryVsop87C, 0), 2460400.5, 2460217.5, 2460582.5);
}
BENCHMARK(BM_CeresYearVsop87C)->Unit(benchmark::kMillisecond);

// A first leg of 100 years and one row.
void BM_FirstLeg100Years(benchmark::State& state) {
  RunTable(state, Perturbers(kPlanetTheoryInternal, 1), 2460400.5 - 36525, 2460400.5, 2460400.5);
}
BENCHMARK(BM_FirstLeg100Years)->Unit(benchmark::kMillisecond);

// The plane Kepler problem, e = 0.6, 100 revolutions at 1e-12.
struct PlaneTraits {
  static constexpr int kEquations = 4;
  static constexpr long double kTwoU = 4e-17L;
  static constexpr long double kFourU = 8e-17L;
  using Time = double;
};
constexpr double kPeriod = 2 * std::numbers::pi / kGaussK;

void StartState(double* y) {
  long double x = 0, yy = 0, vx = 0, vy = 0;
  OrbitPlanePosition(x, yy, vx, vy, 30, 1, 0.6L);
  y[0] = static_cast<double>(x);
  y[1] = static_cast<double>(yy);
  y[2] = static_cast<double>(vx);
  y[3] = static_cast<double>(vy);
}

void BM_SolverTwoBody100Revolutions(benchmark::State& state) {
  int calls = 0;
  auto f = [&calls](long double, const long double* y, long double* yp) {
    ++calls;
    const long double r2 = y[0] * y[0] + y[1] * y[1];
    const long double factor = -kGaussK2 / (r2 * std::sqrt(r2));
    yp[0] = y[2];
    yp[1] = y[3];
    yp[2] = factor * y[0];
    yp[3] = factor * y[1];
  };
  for (auto _ : state) {
    calls = 0;
    double start[4];
    StartState(start);
    long double y[4] = {start[0], start[1], start[2], start[3]};
    TODEWorkspace<4> ws;
    OdeNoPump pump;
    double t = 0, tout = 100 * kPeriod;
    long double rel = 1e-12L, abs = 0;
    std::int32_t flag = 1;
    do SolveODE<PlaneTraits>(f, 4, y, t, tout, rel, abs, flag, ws, pump);
    while (flag == 4 || flag == 5);
    benchmark::DoNotOptimize(y[0]);
  }
  state.counters["evaluations"] = calls;
}
BENCHMARK(BM_SolverTwoBody100Revolutions)->Unit(benchmark::kMillisecond);

#ifdef KVX_HAVE_GSL
int GslPlaneKepler(double, const double y[], double yp[], void* calls) {
  ++*static_cast<int*>(calls);
  const double r2 = y[0] * y[0] + y[1] * y[1];
  const double factor = -static_cast<double>(kGaussK2) / (r2 * std::sqrt(r2));
  yp[0] = y[2];
  yp[1] = y[3];
  yp[2] = factor * y[0];
  yp[3] = factor * y[1];
  return GSL_SUCCESS;
}

void BM_GslMsadamsTwoBody100Revolutions(benchmark::State& state) {
  int calls = 0;
  for (auto _ : state) {
    calls = 0;
    gsl_odeiv2_system system{GslPlaneKepler, nullptr, 4, &calls};
    gsl_odeiv2_driver* driver = gsl_odeiv2_driver_alloc_y_new(&system, gsl_odeiv2_step_msadams, 1e-3, 0.0, 1e-12);
    gsl_odeiv2_driver_set_nmax(driver, 0);
    double y[4];
    StartState(y);
    double t = 0;
    gsl_odeiv2_driver_apply(driver, &t, 100 * kPeriod, y);
    gsl_odeiv2_driver_free(driver);
    benchmark::DoNotOptimize(y[0]);
  }
  state.counters["evaluations"] = calls;
}
BENCHMARK(BM_GslMsadamsTwoBody100Revolutions)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
