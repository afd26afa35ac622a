#include "theories/libraries/series_kernels.h"

#include <atomic>
#include <cmath>
#include <cstring>

namespace kvx::theory_data {

#if defined(__x86_64__)

// The vector functions of libmvec (x86-64 vector function ABI names):
// b = SSE registers, two doubles; d = AVX2 registers, four doubles.
using Vec2 = double __attribute__((vector_size(16)));
extern "C" Vec2 _ZGVbN2v_cos(Vec2);
extern "C" Vec2 _ZGVbN2v_sin(Vec2);

namespace portable_loops {
#define KVX_LANES 2
#define KVX_VCOS _ZGVbN2v_cos
#define KVX_VSIN _ZGVbN2v_sin
#include "theories/libraries/series_kernel_loops.inc"
}  // namespace portable_loops

#pragma GCC push_options
#pragma GCC target("avx2,fma")
using Vec4 = double __attribute__((vector_size(32)));
extern "C" Vec4 _ZGVdN4v_cos(Vec4);
extern "C" Vec4 _ZGVdN4v_sin(Vec4);

namespace avx2_loops {
#define KVX_LANES 4
#define KVX_VCOS _ZGVdN4v_cos
#define KVX_VSIN _ZGVdN4v_sin
#include "theories/libraries/series_kernel_loops.inc"
}  // namespace avx2_loops
#pragma GCC pop_options

namespace {

bool ProcessorHasAvx2() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
}

std::atomic<SeriesLoops>& Active() {
  static std::atomic<SeriesLoops> active{ProcessorHasAvx2() ? SeriesLoops::kAvx2 : SeriesLoops::kPortable};
  return active;
}

bool UseAvx2() { return Active().load(std::memory_order_relaxed) == SeriesLoops::kAvx2; }

}  // namespace

double CosineSum(const TermArrays& terms, double t, double* rate) {
  if (UseAvx2()) {
    return rate != nullptr ? avx2_loops::CosineSum<true>(terms, t, rate) : avx2_loops::CosineSum<false>(terms, t, rate);
  }
  return rate != nullptr ? portable_loops::CosineSum<true>(terms, t, rate)
                         : portable_loops::CosineSum<false>(terms, t, rate);
}

double SineSum(const TermArrays& terms, double t) {
  return UseAvx2() ? avx2_loops::SineSum(terms, t) : portable_loops::SineSum(terms, t);
}

double MultipleArgumentSum(const MultipleTermArrays& terms, const double (&x)[4], bool cosine) {
  return UseAvx2() ? avx2_loops::MultipleArgumentSum(terms, x, cosine)
                   : portable_loops::MultipleArgumentSum(terms, x, cosine);
}

SeriesLoops ActiveSeriesLoops() { return Active().load(); }

bool SelectSeriesLoops(SeriesLoops loops) {
  if (loops == SeriesLoops::kAvx2 && !ProcessorHasAvx2()) return false;
  Active().store(loops);
  return true;
}

#else  // other processors: scalar loops

double CosineSum(const TermArrays& terms, double t, double* rate) {
  double sum = 0.0, derivative = 0.0;
  for (std::size_t i = 0; i < terms.count; ++i) {
    const double argument = terms.b[i] + terms.c[i] * t;
    sum += terms.a[i] * std::cos(argument);
    if (rate != nullptr) derivative -= terms.a[i] * terms.c[i] * std::sin(argument);
  }
  if (rate != nullptr) *rate = derivative;
  return sum;
}

double SineSum(const TermArrays& terms, double t) {
  double sum = 0.0;
  for (std::size_t i = 0; i < terms.count; ++i) sum += terms.a[i] * std::sin(terms.b[i] + terms.c[i] * t);
  return sum;
}

double MultipleArgumentSum(const MultipleTermArrays& terms, const double (&x)[4], bool cosine) {
  double sum = 0.0;
  for (std::size_t i = 0; i < terms.count; ++i) {
    const double argument = terms.m[0][i] * x[0] + terms.m[1][i] * x[1] + terms.m[2][i] * x[2] + terms.m[3][i] * x[3];
    sum += terms.amplitude[i] * (cosine ? std::cos(argument) : std::sin(argument));
  }
  return sum;
}

SeriesLoops ActiveSeriesLoops() { return SeriesLoops::kPortable; }
bool SelectSeriesLoops(SeriesLoops loops) { return loops == SeriesLoops::kPortable; }

#endif

}  // namespace kvx::theory_data
