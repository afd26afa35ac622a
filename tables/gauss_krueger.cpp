#include "tables/gauss_krueger.h"

#include <cmath>

#include "core/angle_constants.h"

namespace kvx {

namespace {

constexpr int kFootpointPasses = 50;

}  // namespace

double LongitudeToHalfTurn(double longitude) {
  double l = std::fmod(longitude, 360.0);
  if (l <= -180.0) l += 360.0;
  if (l > 180.0) l -= 360.0;
  return l;
}

bool GeographicToGaussKrueger(double longitude, double latitude, double a, double b, double& rechtswert,
                              double& hochwert) {
  if (!std::isfinite(longitude) || !std::isfinite(latitude) || !std::isfinite(a) || !std::isfinite(b)) return false;
  if (std::fabs(latitude) >= 90.0) return false;
  if (a == 0.0 || b == 0.0) {
    a = kBesselForwardA;
    b = kBesselForwardB;
  }
  // Round to nearest, halves to even (the default floating-point mode).
  const double k = std::nearbyint(longitude / 3.0);
  const double l = (longitude - 3.0 * k) * kDegToRad;
  const double phi = latitude * kDegToRad;
  const double t = std::tan(phi);
  const double c = std::cos(phi);
  const double e2 = (a * a - b * b) / (b * b);
  const double v2 = 1.0 + e2 * c * c;
  const double n = a * a / (b * std::sqrt(v2));
  const double m = (a - b) / (a + b);
  const double arc =
      kGaussKruegerArcFactor * (phi + (-1.5 * m + 0.5625 * m * m * m) * std::sin(2.0 * phi) +
                                0.9375 * m * m * std::sin(4.0 * phi) - (35.0 / 48.0) * m * m * m * std::sin(6.0 * phi));
  const double t2 = t * t;
  const double c2 = c * c;
  const double l2 = l * l;
  const double h = arc + 0.5 * n * t * c2 * l2 + n * t * (9.0 * v2 - t2 - 4.0) * c2 * c2 * l2 * l2 / 24.0;
  const double y = n * c * l + n * (v2 - t2) * c2 * c * l2 * l / 6.0 +
                   n * (5.0 - 18.0 * t2 + t2 * t2) * c2 * c2 * c * l2 * l2 * l / 120.0;
  rechtswert = k * 1000000.0 + 500000.0 + y;
  hochwert = h;
  return true;
}

bool GaussKruegerToGeographic(double rechtswert, double hochwert, double a, double b, double& longitude,
                              double& latitude) {
  if (!std::isfinite(rechtswert) || !std::isfinite(hochwert) || !std::isfinite(a) || !std::isfinite(b)) return false;
  if (a == 0.0 || b == 0.0) {
    a = kBesselInverseA;
    b = kBesselInverseB;
  }
  const double e2 = 1.0 - (b / a) * (b / a);
  const double e4 = e2 * e2;
  const double e6 = e4 * e2;
  const double e8 = e4 * e4;
  const double ep2 = e2 / (1.0 - e2);
  const double polar = a * a / b;
  const double rectifying = a * (1.0 - e2 / 4.0 - 3.0 * e4 / 64.0 - 5.0 * e6 / 256.0);
  const double f = b * b / a;
  const double c1 = f * (3.0 / 8.0 * e2 + 15.0 / 32.0 * e4 + 525.0 / 1024.0 * e6 + 2205.0 / 4096.0 * e8);
  const double c2 = f * (15.0 / 256.0 * e4 + 105.0 / 1024.0 * e6 + 2205.0 / 16384.0 * e8);
  const double c3 = f * (35.0 / 3072.0 * e6 + 105.0 / 4096.0 * e8);
  const double c4 = f * (315.0 / 131072.0 * e8);

  double phi = hochwert / rectifying;
  bool converged = false;
  for (int pass = 0; pass < kFootpointPasses; ++pass) {
    const double next = (hochwert + c1 * std::sin(2.0 * phi) - c2 * std::sin(4.0 * phi) + c3 * std::sin(6.0 * phi) -
                         c4 * std::sin(8.0 * phi)) /
                        rectifying;
    if (!std::isfinite(next)) return false;
    const double change = std::fabs(next - phi);
    phi = next;
    if (change <= 1e-11) {
      converged = true;
      break;
    }
  }
  if (!converged || std::fabs(phi) >= 0.5 * kPi) return false;

  const double t = std::tan(phi);
  const double t2 = t * t;
  const double cf = std::cos(phi);
  const double eta2 = ep2 * cf * cf;
  const double v2 = 1.0 + eta2;
  const double n = polar / std::sqrt(v2);
  const double k = std::floor(rechtswert / 1000000.0);
  const double y = rechtswert - 1000000.0 * k - 500000.0;
  const double y2 = y * y;
  const double n2 = n * n;
  const double lat =
      phi - t * v2 / (2.0 * n2) * y2 + t * v2 * (5.0 + 3.0 * t2 + eta2 - 9.0 * eta2 * t2) / (24.0 * n2 * n2) * y2 * y2;
  const double lon = y / (n * cf) - (1.0 + 2.0 * t2 + eta2) / (6.0 * n2 * n * cf) * y2 * y;
  if (!std::isfinite(lat) || !std::isfinite(lon)) return false;
  latitude = lat / kDegToRad;
  longitude = 3.0 * k + lon / kDegToRad;
  return true;
}

}  // namespace kvx
