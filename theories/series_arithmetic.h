// Small pieces shared by the internal planetary series (planet_series.cpp)
// and Pluto's internal series (pluto.cpp): mean anomalies in revolutions and
// cosine/sine pairs combined by the addition theorem.
#pragma once

#include <cmath>

#include "core/tabulated_constants.h"
#include "core/vector_math.h"

namespace kvx::series {

// Mean anomaly in radians of a + b*T revolutions: 2 pi * frac(a + b*T) with
// 2 pi as the series print it (kTwoPiAsTabulated), frac by truncation
// towards zero, in [0, 1).
inline double MeanAnomaly(double a, double b, double T) { return kTwoPiAsTabulated * FracPositiveTrunc(a + b * T); }

// (cos x, sin x) of one angle.
struct CosSin {
  double c = 1.0;
  double s = 0.0;
};

inline CosSin CosSinOf(double x) { return {std::cos(x), std::sin(x)}; }

// (cos, sin)(a + b) from (cos, sin) a and b by the addition theorem.
inline CosSin Add(CosSin a, CosSin b) { return {a.c * b.c - a.s * b.s, a.s * b.c + a.c * b.s}; }

// (cos, sin)(-a).
inline CosSin Negate(CosSin a) { return {a.c, -a.s}; }

}  // namespace kvx::series
