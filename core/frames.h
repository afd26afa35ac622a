// Reference frames and reductions: precession, mean obliquity, nutation,
// annual aberration, the FK5 correction, the observer's geocentric place,
// topocentric parallax, horizontal coordinates with refraction, galactic
// coordinates, angular separation and the three-point parabola of the
// searches.
//
// Free routines without state. Angles are doubles in degrees unless said;
// times are Julian centuries T from J2000 of dynamical time. Matrices are
// TMatrix33 (core/vector_math.h), applied to column vectors.
#pragma once

#include "core/vector_math.h"

namespace kvx {

// ---------------------------------------------------------------------------
// Obliquity and nutation.

// Mean obliquity of the ecliptic of date, degrees, for T (TT). Laskar's
// polynomial of degree 10 in U = T/100 (valid for |U| < 1), evaluated by
// Horner's rule with U, the coefficients and every partial sum rounded to
// the 6-byte real type.
double MeanObliquity(double t);

// Nutation in longitude (dpsi) and in obliquity (deps), radians, for T (TT).
// IAU 1980 theory truncated to its 63 terms of at least 0.0003" (the
// dropped terms add up to a few milliarcseconds).
void NutationAngles(double& dpsi, double& deps, double t);

// s[k] = sin(k a), c[k] = cos(k a) for k = 1..n by the addition theorem
// (a in radians). Both arrays need n + 1 elements; element 0 is set to
// sin 0 and cos 0.
void SinCosMultiples(int n, double s[], double c[], double a);

// Nutation in longitude in degrees as result; deps receives the nutation
// in obliquity in degrees. T as NutationAngles.
double NutationDegrees(double& deps, double t);

}  // namespace kvx
