#include "orbitdet/laplace.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/angle_constants.h"
#include "core/text_conversion.h"
#include "platform/messages.h"

namespace kvx {

namespace {

using V3 = std::array<double, 3>;

V3 Cross(const V3& a, const V3& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
double Dot(const V3& a, const V3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
double Det(const V3& a, const V3& b, const V3& c) { return Dot(a, Cross(b, c)); }
double Norm(const V3& a) { return std::sqrt(Dot(a, a)); }

}  // namespace

TOrbitStatus SolveLinearSystem(TLinearSystem& a, int n, std::array<double, kMaxLinearEquations>& x) {
  if (n < 1 || n > kMaxLinearEquations) return TOrbitStatus::Singular;
  double largest = 0;
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) largest = std::max(largest, std::fabs(a[i][j]));
  }
  if (!(largest > 0) || !std::isfinite(largest)) return TOrbitStatus::Singular;
  for (int k = 0; k < n; ++k) {
    int pivot = k;
    for (int i = k + 1; i < n; ++i) {
      if (std::fabs(a[i][k]) > std::fabs(a[pivot][k])) pivot = i;
    }
    if (std::fabs(a[pivot][k]) < 1e-14 * largest) return TOrbitStatus::Singular;
    if (pivot != k) std::swap(a[pivot], a[k]);
    for (int i = k + 1; i < n; ++i) {
      const double factor = a[i][k] / a[k][k];
      for (int j = k + 1; j <= n; ++j) a[i][j] -= factor * a[k][j];
      a[i][k] = 0;
    }
  }
  for (int i = n - 1; i >= 0; --i) {
    double sum = a[i][n];
    for (int j = i + 1; j < n; ++j) sum -= a[i][j] * x[j];
    x[i] = sum / a[i][i];
    if (!std::isfinite(x[i])) return TOrbitStatus::NonFinite;
  }
  return TOrbitStatus::Ok;
}

TOrbitStatus FitObservationPolynomial(TDirectionRecord& out, int degree, double epochTT,
                                      std::span<const TChosenObservation> samples) {
  const int n = static_cast<int>(samples.size());
  if (n > kMaxChosenObservations) {
    ShowMessage("Datenstruktur zu groß", "Out of memory", MessageIcon::Error);
    return TOrbitStatus::TooMany;
  }
  if (n < 3) return TOrbitStatus::Singular;
  const int d = std::clamp(std::min(degree, std::max(2, n - 2)), 0, kMaxLinearEquations - 1);
  // tau scaled to [-1, 1] for the normal equations; the coefficients are
  // scaled back afterwards.
  double span = 0;
  for (const TChosenObservation& s : samples) span = std::max(span, std::fabs(kGaussK * (s.JdTT - epochTT)));
  if (!(span > 0) || !std::isfinite(span)) return TOrbitStatus::Singular;
  const double middleRa = samples[static_cast<std::size_t>((n - 1) / 2)].RA;
  std::array<double, 2> value{}, first{}, second{};
  for (int which = 0; which < 2; ++which) {
    TLinearSystem a{};
    for (const TChosenObservation& s : samples) {
      const double u = kGaussK * (s.JdTT - epochTT) / span;
      double y = which == 0 ? s.RA : s.Dec;
      if (which == 0) y = middleRa + std::remainder(y - middleRa, 24.0);
      std::array<double, 2 * kMaxLinearEquations> powers{};
      powers[0] = 1;
      for (int k = 1; k <= 2 * d; ++k)
        powers[static_cast<std::size_t>(k)] = powers[static_cast<std::size_t>(k - 1)] * u;
      for (int i = 0; i <= d; ++i) {
        for (int j = 0; j <= d; ++j) a[i][j] += powers[static_cast<std::size_t>(i + j)];
        a[i][d + 1] += y * powers[static_cast<std::size_t>(i)];
      }
    }
    std::array<double, kMaxLinearEquations> c{};
    const TOrbitStatus status = SolveLinearSystem(a, d + 1, c);
    if (status != TOrbitStatus::Ok) return status;
    value[static_cast<std::size_t>(which)] = c[0];
    first[static_cast<std::size_t>(which)] = d >= 1 ? c[1] / span : 0.0;
    second[static_cast<std::size_t>(which)] = d >= 2 ? 2 * c[2] / (span * span) : 0.0;
  }
  for (double v : {value[0], value[1], first[0], first[1], second[0], second[1]}) {
    if (!std::isfinite(v)) return TOrbitStatus::NonFinite;
  }
  out.Alpha = value[0] - 24.0 * std::floor(value[0] / 24.0);
  if (out.Alpha >= 24.0) out.Alpha = 0;
  out.Delta = value[1];
  out.Alpha1 = first[0];
  out.Delta1 = first[1];
  out.Alpha2 = second[0];
  out.Delta2 = second[1];
  return TOrbitStatus::Ok;
}

double LocalSiderealAngle(double jd, double longitudeWest) {
  const double jd0 = std::floor(jd - 0.5) + 0.5;
  const double T = (jd0 - 2451545.0) / 36525.0;
  double theta0 = 100.4606184 + 36000.77004 * T + 0.000387933 * T * T;
  theta0 -= 360.0 * std::floor(theta0 / 360.0);
  double theta = theta0 + 360.98564724 * (jd - jd0) + (360.0 - longitudeWest);
  theta -= 360.0 * std::floor(theta / 360.0);
  return theta;
}

void LagrangeThreePoint(const std::array<double, 3>& t, const std::array<std::array<double, 3>, 3>& y, double at,
                        std::array<double, 3>& value, std::array<double, 3>& first, std::array<double, 3>& second) {
  std::array<double, 3> L{}, L1{}, L2{};
  for (int i = 0; i < 3; ++i) {
    const int j = (i + 1) % 3, k = (i + 2) % 3;
    const double den = (t[i] - t[j]) * (t[i] - t[k]);
    L[i] = (at - t[j]) * (at - t[k]) / den;
    L1[i] = ((at - t[j]) + (at - t[k])) / den;
    L2[i] = 2.0 / den;
  }
  for (int c = 0; c < 3; ++c) {
    value[c] = first[c] = second[c] = 0;
    for (int i = 0; i < 3; ++i) {
      value[c] += y[i][c] * L[i];
      first[c] += y[i][c] * L1[i] / kGaussK;
      second[c] += y[i][c] * L2[i] / (kGaussK * kGaussK);
    }
  }
}

void ObserverSunVector(TSunRecord& out, const std::array<std::array<double, 3>, 3>& sun,
                       const std::array<double, 3>& times, double longitudePacked, double latitudePacked, double jdUT,
                       double jdTT) {
  const double longitude = DmsPackedToDeg(longitudePacked);
  const double latitude = DmsPackedToDeg(latitudePacked);
  LagrangeThreePoint(times, sun, jdTT, out.R, out.R1, out.R2);
  const double theta = LocalSiderealAngle(jdUT, longitude) * kDegToRad;
  const double phi = latitude * kDegToRad;
  constexpr double kEarthRadiusAu = 4.263523e-05;
  out.R[0] -= kEarthRadiusAu * std::cos(phi) * std::cos(theta);
  out.R[1] -= kEarthRadiusAu * std::cos(phi) * std::sin(theta);
  out.R[2] -= kEarthRadiusAu * std::sin(phi);
}

TOrbitStatus LaplacePreliminaryOrbit(TStateVector& state, double& epoch, const TDirectionRecord& dr,
                                     const TSunRecord& sun) {
  const double hour = 15.0 * kDegToRad;
  const double a = dr.Alpha * hour, a1 = dr.Alpha1 * hour, a2 = dr.Alpha2 * hour;
  const double d = dr.Delta * kDegToRad, d1 = dr.Delta1 * kDegToRad, d2 = dr.Delta2 * kDegToRad;
  const double ca = std::cos(a), sa = std::sin(a), cd = std::cos(d), sd = std::sin(d);
  const V3 L{cd * ca, cd * sa, sd};
  // dL/dalpha, dL/ddelta and the second partial derivatives.
  const V3 La{-cd * sa, cd * ca, 0};
  const V3 Ld{-sd * ca, -sd * sa, cd};
  const V3 Laa{-cd * ca, -cd * sa, 0};
  const V3 Lad{sd * sa, -sd * ca, 0};
  const V3 Ldd{-cd * ca, -cd * sa, -sd};
  V3 L1{}, L2{};
  for (int k = 0; k < 3; ++k) {
    L1[k] = La[k] * a1 + Ld[k] * d1;
    L2[k] = Laa[k] * a1 * a1 + 2 * Lad[k] * a1 * d1 + Ldd[k] * d1 * d1 + La[k] * a2 + Ld[k] * d2;
  }
  const V3& R = sun.R;
  const double D = Det(L, L1, L2);
  const double curvatureScale = Norm(L1) * Norm(L2);
  if (!std::isfinite(D)) return TOrbitStatus::NonFinite;
  if (!(curvatureScale > 0) || std::fabs(D) < 1e-9 * curvatureScale) return TOrbitStatus::NoCurvature;
  const double A = Det(L, L1, sun.R2) / D;
  const double B = Det(L, L1, R) / D;
  const double C = Det(L, sun.R2, L2) / (2 * D);
  const double E = Det(L, R, L2) / (2 * D);
  const double LR = Dot(L, R);
  const double pa = -(A * A - 2 * A * LR + Dot(R, R));
  const double pb = -(2 * A * B - 2 * B * LR);
  const double pc = -B * B;
  double r = 3.0;
  bool converged = false;
  for (int step = 0; step < 100; ++step) {
    const double r2 = r * r, r3 = r2 * r, r5 = r3 * r2, r6 = r3 * r3;
    const double f = r6 * r2 + pa * r6 + pb * r3 + pc;
    const double df = 8 * r6 * r + 6 * pa * r5 + 3 * pb * r2;
    if (!std::isfinite(f) || !std::isfinite(df) || df == 0) return TOrbitStatus::IterationFailed;
    const double next = r - f / df;
    if (!(next > 0)) return TOrbitStatus::IterationFailed;
    const bool done = std::fabs(next - r) <= 1e-14 * next;
    r = next;
    if (done) {
      converged = true;
      break;
    }
  }
  if (!converged) return TOrbitStatus::IterationFailed;
  const double r3 = r * r * r;
  const double rho = A + B / r3;
  const double rho1 = C + E / r3;
  TStateVector s{};
  for (int k = 0; k < 3; ++k) {
    s[static_cast<std::size_t>(k)] = rho * L[k] - R[k];
    s[static_cast<std::size_t>(k + 3)] = rho * L1[k] + rho1 * L[k] - sun.R1[k];
  }
  for (double v : s) {
    if (!std::isfinite(v)) return TOrbitStatus::NonFinite;
  }
  state = s;
  epoch -= kLightDaysPerAu * rho;
  return TOrbitStatus::Ok;
}

}  // namespace kvx
