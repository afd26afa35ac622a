#include "orbitdet/state_elements.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/angle_constants.h"
#include "core/vector_math.h"

namespace kvx {

namespace {

constexpr int kStepBound = 1000;

bool Finite(const TStateVector& s) {
  for (double v : s) {
    if (!std::isfinite(v)) return false;
  }
  return true;
}

}  // namespace

bool OrbitElementsFromState(const TStateVector& state, double epoch, double mu, TOrbitElementRecord& el) {
  el = TOrbitElementRecord{};
  if (!Finite(state) || !std::isfinite(epoch) || !(mu > 0)) return false;
  const double c = std::cos(kOrbitObliquityJ2000 * kDegToRad), s = std::sin(kOrbitObliquityJ2000 * kDegToRad);
  // Equator to ecliptic; velocities from Gaussian units to AU per day, and
  // the mass parameter folded into the velocity scale.
  const double scale = kGaussK * std::sqrt(mu);
  TStateVectorExt ecl{state[0],         state[1] * c + state[2] * s,           state[2] * c - state[1] * s,
                      state[3] * scale, (state[4] * c + state[5] * s) * scale, (state[5] * c - state[4] * s) * scale};
  if (ecl[0] == 0 && ecl[1] == 0 && ecl[2] == 0) return false;
  long double a, q, e, i, node, peri, lonPeri, p, M, n, T;
  std::uint8_t kind;
  ElementsFromStateVector(ecl, a, q, epoch, 0.0L, e, i, node, peri, lonPeri, p, M, n, T, kind);
  // Angular momentum: no node in the reference plane.
  const long double hx = ecl[1] * ecl[5] - ecl[2] * ecl[4];
  const long double hy = ecl[2] * ecl[3] - ecl[0] * ecl[5];
  const long double hz = ecl[0] * ecl[4] - ecl[1] * ecl[3];
  const long double h = std::sqrt(hx * hx + hy * hy + hz * hz);
  if (h > 0 && std::sqrt(hx * hx + hy * hy) / h < 1e-10L) {
    // ElementsFromStateVector already takes node 0 there; keep the
    // longitude of perihelion consistent.
    lonPeri = std::fmod(node + peri + 720.0L, 360.0L);
  }
  el.E = static_cast<double>(e);
  el.I = static_cast<double>(i);
  el.Node = static_cast<double>(node);
  el.Peri = static_cast<double>(peri);
  // The eccentricity vector gives e to rounding also near 0, where
  // sqrt(1 - p/a) does not: e = |(v^2/mu - 1/r) r - (r.v/mu) v|.
  const long double r = std::sqrt(ecl[0] * ecl[0] + ecl[1] * ecl[1] + ecl[2] * ecl[2]);
  const long double v2 = ecl[3] * ecl[3] + ecl[4] * ecl[4] + ecl[5] * ecl[5];
  const long double rv = ecl[0] * ecl[3] + ecl[1] * ecl[4] + ecl[2] * ecl[5];
  const long double muDays = kGaussK2;
  long double ev2 = 0;
  for (int k = 0; k < 3; ++k) {
    const long double c =
        (v2 / muDays - 1 / r) * ecl[static_cast<std::size_t>(k)] - rv / muDays * ecl[static_cast<std::size_t>(k + 3)];
    ev2 += c * c;
  }
  if (std::sqrt(ev2) < 1e-10L && kind == kOrbitEllipse) {
    // No perihelion: omega 0, the mean anomaly is the argument of latitude.
    const long double cn = std::cos(node * kDegToRad), sn = std::sin(node * kDegToRad);
    const long double ci = std::cos(i * kDegToRad), si = std::sin(i * kDegToRad);
    const long double inX = ecl[0] * cn + ecl[1] * sn;
    const long double inY = (-ecl[0] * sn + ecl[1] * cn) * ci + ecl[2] * si;
    long double u = std::atan2(inY, inX) / kDegToRad;
    if (u < 0) u += 360;
    el.E = 0;
    el.Peri = 0;
    M = u;
    T = epoch - M / n;
  }
  if (kind != kOrbitParabola && std::fabs(1 - e) < 0.01L && h > 0) {
    // Near e = 1, M / n (ellipse) and e sinh H - H (hyperbola) lose their
    // digits to cancellation, minutes of perihelion time at e = 1 +- 1e-12.
    // The universal anomaly chi from perihelion has none:
    // sqrt(mu) (t - T) = q chi + e chi^3 c3(alpha chi^2).
    const long double ecc = std::sqrt(ev2);
    const long double alpha = 2 / r - v2 / muDays;
    const long double sigma = rv / std::sqrt(muDays);
    long double chi = sigma;
    if (alpha > 0) {
      chi = std::atan2(sigma * std::sqrt(alpha), 1 - r * alpha) / std::sqrt(alpha);
    } else if (alpha < 0 && ecc > 0) {
      chi = std::asinh(sigma * std::sqrt(-alpha) / ecc) / std::sqrt(-alpha);
    }
    double c2 = 0, c3 = 0;
    StumpffC2C3(static_cast<double>(alpha * chi * chi), c2, c3);
    const long double qq = h * h / muDays / (1 + ecc);
    T = epoch - (qq * chi + ecc * chi * chi * chi * c3) / std::sqrt(muDays);
  }
  el.LonPerihelion = std::fmod(el.Node + el.Peri + 720.0, 360.0);
  if (std::fabs(1 - e) < 0.001L) {
    el.Kind = kOrbitParabola;
    el.Size = static_cast<double>(q);
    el.TimeElement = static_cast<double>(T);
    el.SizeLabel.assign(1, 'Q');
    el.TimeLabel.assign(2, 'T');
  } else if (e >= 1) {
    el.Kind = kOrbitHyperbola;
    el.Size = static_cast<double>(a);
    el.TimeElement = static_cast<double>(T);
    el.SizeLabel.assign(1, 'A');
    el.TimeLabel.assign(2, 'T');
  } else {
    el.Kind = kOrbitEllipse;
    el.Size = static_cast<double>(a);
    double m = static_cast<double>(M);
    if (m < 0) m += 360.0;
    el.TimeElement = m;
    el.PerihelionTime = static_cast<double>(T);
    el.SizeLabel.assign(1, 'A');
    el.TimeLabel.assign(2, 'M');
  }
  for (double v : {el.Size, el.E, el.TimeElement, el.I, el.Node, el.Peri, el.PerihelionTime}) {
    if (!std::isfinite(v)) {
      el = TOrbitElementRecord{};
      return false;
    }
  }
  return true;
}

TCometElements ElementsForTrialOrbit(const TOrbitElementRecord& el, double epoch) {
  TCometElements c;
  c.PerihelionDistance = el.Kind == kOrbitParabola ? el.Size : PerihelionDistance(el.E, el.Size);
  c.Eccentricity = el.E;
  c.Inclination = el.I;
  c.Node = el.Node;
  c.Perihelion = el.Peri;
  c.PerihelionTime = el.Kind == kOrbitEllipse ? el.PerihelionTime : el.TimeElement;
  c.Epoch = epoch;
  c.Equinox = 2000.0;
  return c;
}

void StumpffC2C3(double z, double& c2, double& c3) {
  if (std::fabs(z) < 1.0) {
    // Series: c2 = sum (-z)^k/(2k+2)!, c3 = sum (-z)^k/(2k+3)!, to 1e-18.
    double t2 = 0.5, t3 = 1.0 / 6.0;
    c2 = t2;
    c3 = t3;
    for (int k = 1; k < 14; ++k) {
      t2 *= -z / ((2.0 * k + 1) * (2.0 * k + 2));
      t3 *= -z / ((2.0 * k + 2) * (2.0 * k + 3));
      c2 += t2;
      c3 += t3;
    }
  } else if (z > 0) {
    const double w = std::sqrt(z);
    c2 = (1 - std::cos(w)) / z;
    c3 = (w - std::sin(w)) / (z * w);
  } else {
    const double w = std::sqrt(-z);
    c2 = (std::cosh(w) - 1) / -z;
    c3 = (std::sinh(w) - w) / (-z * w);
  }
}

TOrbitStatus PropagateUniversal(const TStateVector& s, double dt, TStateVector& out, int& steps) {
  const double r0 = std::sqrt(s[0] * s[0] + s[1] * s[1] + s[2] * s[2]);
  const double v02 = s[3] * s[3] + s[4] * s[4] + s[5] * s[5];
  if (!(r0 > 0) || !std::isfinite(r0) || !std::isfinite(v02) || !std::isfinite(dt)) return TOrbitStatus::NonFinite;
  const double sigma0 = s[0] * s[3] + s[1] * s[4] + s[2] * s[5];
  const double alpha = 2 / r0 - v02;
  double x = 0, c2 = 0.5, c3 = 1.0 / 6.0;
  if (dt != 0) {
    // F(x) = sigma0 x^2 c2 + (1 - r0 alpha) x^3 c3 + r0 x - dt rises
    // monotonically (F' = r > 0): bracket the root, then Newton steps that
    // fall back to bisection when they leave the bracket.
    auto F = [&](double xx, double& deriv) {
      StumpffC2C3(alpha * xx * xx, c2, c3);
      const double z = alpha * xx * xx;
      deriv = sigma0 * xx * (1 - z * c3) + (1 - r0 * alpha) * xx * xx * c2 + r0;
      return sigma0 * xx * xx * c2 + (1 - r0 * alpha) * xx * xx * xx * c3 + r0 * xx - dt;
    };
    double d = 0;
    double lo = 0, hi = 0;
    double step = dt / r0;
    double fhi = 0;
    if (dt > 0) {
      hi = step;
      while ((fhi = F(hi, d)) < 0) {
        lo = hi;
        hi *= 2;
        if (++steps > kStepBound || !std::isfinite(hi)) return TOrbitStatus::IterationFailed;
      }
    } else {
      lo = step;
      while (F(lo, d) > 0) {
        hi = lo;
        lo *= 2;
        if (++steps > kStepBound || !std::isfinite(lo)) return TOrbitStatus::IterationFailed;
      }
    }
    x = std::isfinite(alpha) && alpha > 0 ? dt * alpha : 0.5 * (lo + hi);
    if (!(x > lo && x < hi)) x = 0.5 * (lo + hi);
    for (;;) {
      if (++steps > kStepBound) return TOrbitStatus::IterationFailed;
      const double f = F(x, d);
      if (!std::isfinite(f)) return TOrbitStatus::NonFinite;
      if (f == 0) break;
      if (f < 0)
        lo = x;
      else
        hi = x;
      double next = x - f / d;
      if (!(next > lo && next < hi) || !std::isfinite(next)) next = 0.5 * (lo + hi);
      const bool done = std::fabs(next - x) <= 1e-15 * (1 + std::fabs(x)) || hi - lo <= 4e-16 * (1 + std::fabs(x));
      x = next;
      if (done) break;
    }
    StumpffC2C3(alpha * x * x, c2, c3);
  }
  const double z = alpha * x * x;
  const double f = 1 - x * x * c2 / r0;
  const double g = dt - x * x * x * c3;
  TStateVector r{};
  for (int k = 0; k < 3; ++k)
    r[static_cast<std::size_t>(k)] = f * s[static_cast<std::size_t>(k)] + g * s[static_cast<std::size_t>(k + 3)];
  const double rr = std::sqrt(r[0] * r[0] + r[1] * r[1] + r[2] * r[2]);
  const double fdot = x * (z * c3 - 1) / (rr * r0);
  const double gdot = 1 - x * x * c2 / rr;
  for (int k = 0; k < 3; ++k) {
    r[static_cast<std::size_t>(k + 3)] =
        fdot * s[static_cast<std::size_t>(k)] + gdot * s[static_cast<std::size_t>(k + 3)];
  }
  if (!Finite(r)) return TOrbitStatus::NonFinite;
  out = r;
  return TOrbitStatus::Ok;
}

TOrbitStatus PropagateTwoBodyUniversal(const TStateVector& state, double epoch, double jdTT,
                                       const std::array<double, 3>& sun, double& raHours, double& decDegrees) {
  raHours = decDegrees = 0;
  int steps = 0;
  double t = jdTT;
  double vec[3] = {0, 0, 0};
  for (;;) {
    TStateVector r{};
    const TOrbitStatus status = PropagateUniversal(state, (t - epoch) * kGaussK, r, steps);
    if (status != TOrbitStatus::Ok) return status;
    for (int k = 0; k < 3; ++k) vec[k] = r[static_cast<std::size_t>(k)] + sun[static_cast<std::size_t>(k)];
    const double delta = std::sqrt(vec[0] * vec[0] + vec[1] * vec[1] + vec[2] * vec[2]);
    if (!(delta > 0) || !std::isfinite(delta)) return TOrbitStatus::NonFinite;
    const double next = jdTT - kLightDaysPerAu * delta;
    const bool done = std::fabs(next - t) < 1e-11;
    t = next;
    if (done) break;
    if (++steps > kStepBound) return TOrbitStatus::IterationFailed;
  }
  const double rho = std::sqrt(vec[0] * vec[0] + vec[1] * vec[1] + vec[2] * vec[2]);
  double ra = std::atan2(vec[1], vec[0]);
  if (ra < 0) ra += 2 * std::numbers::pi;
  raHours = ra * 12.0 / std::numbers::pi;
  if (raHours >= 24) raHours -= 24;
  decDegrees = std::asin(std::clamp(vec[2] / rho, -1.0, 1.0)) * 180.0 / kPi;
  return TOrbitStatus::Ok;
}

}  // namespace kvx
