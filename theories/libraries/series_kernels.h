// The inner loops of the theory series: sums of periodic terms held as
// arrays (amplitudes, phases, frequencies), evaluated several terms at a time
// with the vector sine and cosine of the C library's vector maths library
// (libmvec). Two builds of the loops sit in every theory library, one for the
// portable x86-64 baseline (two terms at a time) and one for AVX2 (four terms
// at a time); the first call picks the AVX2 one when the processor has AVX2
// and FMA. Other processors than x86-64 get a plain scalar loop.
//
// Accuracy: the vector functions are within 4 units in the last place of the
// scalar ones and the partial sums are added in a different order, so a sum
// differs from the scalar loop's by a few units of 1e-16 of its largest
// term. Non-finite arguments give NaN, as the scalar functions do.
#pragma once

#include <cstddef>

namespace kvx::theory_data {

// The terms of one series: term i is a[i] times the cosine (or sine) of
// b[i] + c[i] t. The three arrays hold `count` values each.
struct TermArrays {
  const double* a = nullptr;
  const double* b = nullptr;
  const double* c = nullptr;
  std::size_t count = 0;
};

// Given:    terms  the terms to add (all `terms.count` of them)
//           t      the time argument of the series, in its own unit
// Returned: the sum of a cos(b + c t); with `rate` non-null also
//           *rate = d/dt of the sum = -sum a c sin(b + c t).
double CosineSum(const TermArrays& terms, double t, double* rate);

// Sum of a sin(b + c t) over the terms.
double SineSum(const TermArrays& terms, double t);

// Terms whose argument is an integer combination of four angles: term i is
// amplitude[i] times the sine (or cosine) of
//   m0[i] x0 + m1[i] x1 + m2[i] x2 + m3[i] x3  (radians).
struct MultipleTermArrays {
  const double* amplitude = nullptr;
  const double* m[4] = {nullptr, nullptr, nullptr, nullptr};
  std::size_t count = 0;
};
double MultipleArgumentSum(const MultipleTermArrays& terms, const double (&x)[4], bool cosine);

// The build of the loops in use.
enum class SeriesLoops { kPortable, kAvx2 };
SeriesLoops ActiveSeriesLoops();
// Chooses a build for the whole process (tests and benchmarks compare them);
// false, and nothing changed, when the processor cannot run it.
bool SelectSeriesLoops(SeriesLoops loops);

}  // namespace kvx::theory_data
