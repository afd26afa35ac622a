// Locating the instant of an event inside a bracket: the zero of a function
// of time by Brent's method, for the event searches once a coarse scan has
// bracketed a sign change, and the scan that skips ahead by a bound on the
// function's rate.
//
// Times are whatever the caller's function takes (days of MJD in the
// searches); tolerances are in the same unit.
//
// Reference: R. P. Brent, Algorithms for Minimization without Derivatives
// (Prentice-Hall, 1973), chapter 4: bisection, secant and inverse quadratic
// interpolation combined so that the bracket shrinks at least as fast as by
// bisection.
#pragma once

#include <functional>

namespace kvx {

// Zero of f in the bracket [a, b].
// Given:    f           the function (finite inside the bracket)
//           a, b        the bracket, either order
//           fa, fb      f(a), f(b), of opposite signs or one of them 0
//           tolerance   wanted width of the final bracket, > 0
//           maxCalls    evaluations of f at most
// Returned: the zero, inside [a, b]; the end whose value is 0 when one is;
//           the last best estimate when f gives a value that is not finite
//           or the calls run out. NaN when fa and fb have the same sign or
//           are not finite.
double BrentRoot(const std::function<double(double)>& f, double a, double fa, double b, double fb, double tolerance,
                 int maxCalls = 60);

// The number of whole steps a scan may skip past instant t without passing a
// zero of f, when |f(t)| = distance and |df/dt| never exceeds rateBound:
// floor(distance / (rateBound x step)), at least 1 (the next step), at most
// maxSteps. A rate bound that is not finite or not positive skips nothing.
long long SafeSkipSteps(double distance, double rateBound, double step, long long maxSteps);

}  // namespace kvx
