#include "core/root_search.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace kvx {

double BrentRoot(const std::function<double(double)>& f, double a, double fa, double b, double fb, double tolerance,
                 int maxCalls) {
  if (!std::isfinite(fa) || !std::isfinite(fb)) return std::numeric_limits<double>::quiet_NaN();
  if (fa == 0) return a;
  if (fb == 0) return b;
  if ((fa < 0) == (fb < 0)) return std::numeric_limits<double>::quiet_NaN();
  // b is the best estimate, a the previous one, c the far end of the
  // bracket [b, c].
  double c = a, fc = fa;
  double step = b - a, previousStep = step;
  for (int call = 0; call < maxCalls; ++call) {
    if ((fb < 0) == (fc < 0)) {
      c = a;
      fc = fa;
      step = previousStep = b - a;
    }
    if (std::fabs(fc) < std::fabs(fb)) {
      a = b;
      b = c;
      c = a;
      fa = fb;
      fb = fc;
      fc = fa;
    }
    const double half = 0.5 * tolerance + 2 * std::numeric_limits<double>::epsilon() * std::fabs(b);
    const double middle = 0.5 * (c - b);
    if (std::fabs(middle) <= half || fb == 0) return b;
    if (std::fabs(previousStep) >= half && std::fabs(fa) > std::fabs(fb)) {
      // Secant (two points) or inverse quadratic interpolation (three).
      double p = 0, q = 0;
      const double s = fb / fa;
      if (a == c) {
        p = 2 * middle * s;
        q = 1 - s;
      } else {
        const double qa = fa / fc, r = fb / fc;
        p = s * (2 * middle * qa * (qa - r) - (b - a) * (r - 1));
        q = (qa - 1) * (r - 1) * (s - 1);
      }
      if (p > 0) {
        q = -q;
      } else {
        p = -p;
      }
      if (2 * p < std::min(3 * middle * q - std::fabs(half * q), std::fabs(previousStep * q))) {
        previousStep = step;
        step = p / q;
      } else {
        step = previousStep = middle;
      }
    } else {
      step = previousStep = middle;
    }
    a = b;
    fa = fb;
    b += std::fabs(step) > half ? step : (middle > 0 ? half : -half);
    fb = f(b);
    if (!std::isfinite(fb)) return a;
  }
  return b;
}

long long SafeSkipSteps(double distance, double rateBound, double step, long long maxSteps) {
  if (maxSteps < 1) return 1;
  if (!(rateBound > 0) || !std::isfinite(rateBound) || !(step > 0) || !(distance > 0)) return 1;
  const double steps = std::floor(distance / (rateBound * step));
  if (!(steps >= 1)) return 1;
  return steps >= static_cast<double>(maxSteps) ? maxSteps : static_cast<long long>(steps);
}

}  // namespace kvx
