// The residuals form of the orbit improvement: one fill with 1,000
// observation lines (residuals, RMS, state, elements, P and Q); target
// under 50 ms. And one element edit (state from seven elements).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>

#include "orbitdet/state_capture.h"
#include "orbitdet/ui/orbit_forms.h"

namespace {

QApplication& Application() {
  static int argc = 1;
  static char name[] = "bench_orbitdet_forms";
  static char* argv[] = {name, nullptr};
  static QApplication* application = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return new QApplication(argc, argv);
  }();
  return *application;
}

void BM_FillResidualsFormWith1000Lines(benchmark::State& state) {
  Application();
  kvx::TResidualsForm form;
  kvx::TResidualsFill fill;
  fill.State = {2.1, -1.3, 0.4, 0.45, 0.68, 0.12};
  fill.Epoch = 2461000.5;
  fill.HasResiduals = true;
  for (int i = 0; i < 1000; ++i) {
    fill.JD.push_back(2460900.5 + 0.2 * i);
    fill.RA.push_back(3.0 + 0.001 * i);
    fill.Dec.push_back(20.0 + 0.002 * i);
    fill.DRA.push_back(1e-5 * (i % 7 - 3));
    fill.DDec.push_back(1e-4 * (i % 5 - 2));
  }
  fill.Rms = 0.5 / 3600;
  kvx::TOrbitElementRecord elements;
  for (auto _ : state) {
    form.Fill(fill, elements);
    benchmark::DoNotOptimize(elements.E);
  }
}
BENCHMARK(BM_FillResidualsFormWith1000Lines)->Unit(benchmark::kMillisecond);

void BM_StateFromElements(benchmark::State& state) {
  kvx::TOrbitElementRecord el;
  el.Size = 2.7;
  el.E = 0.1;
  el.I = 10;
  el.Node = 80;
  el.Peri = 70;
  el.PerihelionTime = 2460900.5;
  kvx::TStateVector s{};
  double epoch = 2461000.5;
  for (auto _ : state) {
    benchmark::DoNotOptimize(kvx::StateFromElements(el, epoch, s));
    epoch += 1e-6;
  }
}
BENCHMARK(BM_StateFromElements)->Unit(benchmark::kNanosecond);

}  // namespace
