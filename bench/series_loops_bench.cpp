// Cost of the series loops of the theory libraries per term, for each build
// of the loops (portable x86-64 baseline and AVX2): the full VSOP87 D series
// of Mars (longitude, latitude, radius, without rates), the same with the
// rates (as versions A and C evaluate them), and the full ELP-2000/82B Moon.
// The counter per_term is the time of one position divided by the number of
// terms it adds, in seconds (printed as, e.g., 1.2n for 1.2 ns).
#include <benchmark/benchmark.h>

#include "theories/libraries/elp82b_series.h"
#include "theories/libraries/series_kernels.h"
#include "theories/libraries/vsop87_series.h"

namespace {

using namespace kvx::theory_data;

bool Select(benchmark::State& state) {
  const SeriesLoops loops = state.range(0) == 0 ? SeriesLoops::kPortable : SeriesLoops::kAvx2;
  if (!SelectSeriesLoops(loops)) {
    state.SkipWithError("the processor has no AVX2");
    return false;
  }
  state.SetLabel(loops == SeriesLoops::kPortable ? "portable" : "avx2");
  return true;
}

void PerTerm(benchmark::State& state, std::size_t terms) {
  state.counters["terms"] = static_cast<double>(terms);
  state.counters["per_term"] = benchmark::Counter(
      static_cast<double>(terms), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void Vsop87DMars(benchmark::State& state, bool withRates) {
  if (!Select(state)) return;
  const Vsop87Series& series = Vsop87D();
  double t = -0.1;
  for (auto _ : state) {
    const VsopSpherical s = series.Evaluate(kMars, t, 0.0, withRates);
    benchmark::DoNotOptimize(s.L + s.B + s.R + s.dL);
    t += 1.37e-5;
  }
  PerTerm(state, series.TermCount(kMars, 0.0) * (withRates ? 2 : 1));
}
BENCHMARK_CAPTURE(Vsop87DMars, positions, false)->Arg(0)->Arg(1);
BENCHMARK_CAPTURE(Vsop87DMars, with_rates, true)->Arg(0)->Arg(1);

void Elp82BMoon(benchmark::State& state) {
  if (!Select(state)) return;
  const Elp82BSeries& series = Elp82B();
  double jd = 2448000.5;
  for (auto _ : state) {
    const ElpPosition m = series.Evaluate(jd, 0.0);
    benchmark::DoNotOptimize(m.x + m.y + m.z);
    jd += 0.37;
  }
  PerTerm(state, series.TermCount(0.0));
}
BENCHMARK(Elp82BMoon)->Arg(0)->Arg(1);

}  // namespace
