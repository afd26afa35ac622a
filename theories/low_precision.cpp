#include "theories/low_precision.h"

#include <cmath>

#include "core/tabulated_constants.h"
#include "core/vector_math.h"

namespace kvx {
namespace {

// The full circle as these series print it, and the factors derived from it.
constexpr double kTwoPi = kTwoPiAsTabulated;
constexpr double kDegreesPerRadian = 360.0 / kTwoPi;
constexpr double kHoursPerHalfRadian = 48.0 / kTwoPi;  // twice the half-angle, in hours
constexpr double kCosObliquity = 0.91748;
constexpr double kSinObliquity = 0.39778;
constexpr double kArcsecPerRadian = 206264.8062;

// From a unit vector (x toward the equinox, equatorial y, z) to right
// ascension in hours [0, 24) and declination in degrees. The half-angle
// formula gives the whole circle without a quadrant test.
void UnitVectorToEquatorial(double x, double y, double z, double& ra, double& dec) {
  const double rho = std::sqrt(std::fmax(0.0, 1.0 - z * z));
  dec = kDegreesPerRadian * std::atan2(z, rho);
  const double denominator = x + rho;
  // x + rho vanishes only straight opposite the equinox (12 h).
  ra = denominator != 0.0 ? kHoursPerHalfRadian * std::atan(y / denominator) : 12.0;
  if (ra < 0) ra += 24.0;
  if (ra >= 24.0) ra -= 24.0;
}

}  // namespace

void SunLowPrecision(double& ra, double& dec, double T) {
  const double M = kTwoPi * FracPositive(0.993133 + 99.997361 * T);
  const double dL = 6893.0 * std::sin(M) + 72.0 * std::sin(2.0 * M);
  const double L = kTwoPi * FracPositive(0.7859453 + M / kTwoPi + (6191.2 * T + dL) / 1296000.0);
  const double sinL = std::sin(L);
  UnitVectorToEquatorial(std::cos(L), kCosObliquity * sinL, kSinObliquity * sinL, ra, dec);
}

void MoonLowPrecision(double& ra, double& dec, double& distance, double T) {
  const double L0 = FracPositive(0.606433 + 1336.855225 * T);
  const double l = kTwoPi * FracPositive(0.374897 + 1325.552410 * T);
  const double ls = kTwoPi * FracPositive(0.993133 + 99.997361 * T);
  const double D = kTwoPi * FracPositive(0.827361 + 1236.853086 * T);
  const double F = kTwoPi * FracPositive(0.259086 + 1342.227825 * T);

  const double dL = 22640 * std::sin(l) - 4586 * std::sin(l - 2 * D) + 2370 * std::sin(2 * D) + 769 * std::sin(2 * l) -
                    668 * std::sin(ls) - 412 * std::sin(2 * F) - 212 * std::sin(2 * l - 2 * D) -
                    206 * std::sin(l + ls - 2 * D) + 192 * std::sin(l + 2 * D) - 165 * std::sin(ls - 2 * D) -
                    125 * std::sin(D) - 110 * std::sin(l + ls) + 148 * std::sin(l - ls) - 55 * std::sin(2 * F - 2 * D);
  const double S = F + (dL + 412 * std::sin(2 * F) + 541 * std::sin(ls)) / kArcsecPerRadian;
  const double H = F - 2 * D;
  const double N = -526 * std::sin(H) + 44 * std::sin(l + H) - 31 * std::sin(-l + H) - 23 * std::sin(ls + H) +
                   11 * std::sin(-ls + H) - 25 * std::sin(-2 * l + F) + 21 * std::sin(-l + F);

  const double lambda = kTwoPi * FracPositive(L0 + dL / 1296000.0);
  const double beta = (18520 * std::sin(S) + N) / kArcsecPerRadian;

  const double c = std::cos(beta);
  const double x = c * std::cos(lambda);
  const double v = c * std::sin(lambda);
  const double w = std::sin(beta);
  const double y = kCosObliquity * v - kSinObliquity * w;
  const double z = kSinObliquity * v + kCosObliquity * w;
  UnitVectorToEquatorial(x, y, z, ra, dec);

  const double parallaxArcsec = 3423 + 187 * std::cos(l) + 10 * std::cos(2 * l) + 34 * std::cos(2 * D - l) +
                                28 * std::cos(2 * D) + 3 * std::cos(2 * D + l);
  distance = 1.0 / std::sin(parallaxArcsec / 3600.0 / kDegreesPerRadian);
}

}  // namespace kvx
