// Speed of the n-body integrator: one Runge-Kutta step of the ten default
// bodies (beside boost odeint's classical Runge-Kutta on the same long
// double system), the default run written into the workbook model (400
// steps, 42 rows, the state-vector block, the finishing), and the Adams run
// of the ten bodies over one year of daily rows at 1e-12.
#include <benchmark/benchmark.h>

#include <boost/numeric/odeint.hpp>
#include <cmath>

#include "core/name_tables.h"
#include "engine/nbody_adams.h"
#include "engine/nbody_integrator.h"
#include "platform/messages.h"
#include "tests/support/recording_message_sink.h"

namespace {

using namespace kvx;
using FlatState = std::array<long double, 60>;

struct FlatSystem {
  const TIntegrationSetup* setup;
  void operator()(const FlatState& y, FlatState& dy, long double) const {
    for (int i = 0; i < 10; ++i) {
      long double a[3] = {0, 0, 0};
      for (int j = 0; j < 10; ++j) {
        if (j == i) continue;
        long double d[3], r2 = 0;
        for (int k = 0; k < 3; ++k) {
          d[k] = y[6 * j + k] - y[6 * i + k];
          r2 += d[k] * d[k];
        }
        const long double f = kNBodyK2 * setup->Masses[j] / (r2 * std::sqrt(r2));
        for (int k = 0; k < 3; ++k) a[k] += f * d[k];
      }
      for (int k = 0; k < 3; ++k) {
        dy[6 * i + k] = y[6 * i + 3 + k];
        dy[6 * i + 3 + k] = a[k];
      }
    }
  }
};

TTableConfigRecord DefaultConfig() {
  InitCoreTablesAtStartup(TIntlSeparators{});
  TTableConfigRecord config;
  for (std::size_t k = 0; k < config.ColumnTitles.size(); ++k) config.ColumnTitles[k] = DefaultColumnHeadings[k];
  return config;
}

void BM_RungeKuttaStep10Bodies(benchmark::State& state) {
  truKu ku(nullptr);
  for (auto _ : state) {
    if (!ku.RungeKuttaStep()) state.SkipWithError("numeric fault");
    benchmark::DoNotOptimize(ku.Setup.WorkingState);
  }
}
BENCHMARK(BM_RungeKuttaStep10Bodies);

void BM_OdeintRungeKutta4Step10Bodies(benchmark::State& state) {
  const TIntegrationSetup setup = DefaultIntegrationSetup();
  FlatState y{};
  for (int i = 0; i < 10; ++i)
    for (int k = 0; k < 6; ++k) y[6 * i + k] = setup.WorkingState[i][k];
  boost::numeric::odeint::runge_kutta4<FlatState, long double> rk4;
  const FlatSystem system{&setup};
  long double t = 0;
  for (auto _ : state) {
    rk4.do_step(system, y, t, 0.5L);
    t += 0.5L;
    benchmark::DoNotOptimize(y);
  }
}
BENCHMARK(BM_OdeintRungeKutta4Step10Bodies);

void BM_DefaultRunIntoWorkbook(benchmark::State& state) {
  const TTableConfigRecord config = DefaultConfig();
  RecordingMessageSink messages;
  ScopedMessageSink scoped(messages);
  for (auto _ : state) {
    workbook::TWorkbook book;
    truKu ku(&book);
    ku.Integrate(config, 0);
    benchmark::DoNotOptimize(book.LastRow());
  }
}
BENCHMARK(BM_DefaultRunIntoWorkbook)->Unit(benchmark::kMillisecond);

void BM_AdamsYearOfDailyRows(benchmark::State& state) {
  const TTableConfigRecord config = DefaultConfig();
  RecordingMessageSink messages;
  ScopedMessageSink scoped(messages);
  for (auto _ : state) {
    workbook::TWorkbook book;
    tmystringgrid grid;
    truKu ku(&book);
    RunAdamsIntegration(ku, book, grid, 1, config, TAdamsPeriod{50600.0L, 50965.0L, 1.0L}, 1e-12L, 0);
    benchmark::DoNotOptimize(book.LastRow());
  }
}
BENCHMARK(BM_AdamsYearOfDailyRows)->Unit(benchmark::kMillisecond);

}  // namespace
