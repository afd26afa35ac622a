#include "core/sun_longitude.h"

#include <cmath>

#include "core/frames.h"
#include "core/tabulated_constants.h"
#include "core/vector_math.h"

namespace kvx {

void SunTrueLongitude(double& longitude, double& eccentricity, double t) {
  const double meanLongitude = 280.46646 + 36000.76983 * t + 0.0003032 * t * t;
  const double meanAnomaly = 357.5291 + 35999.05028 * t - 0.0001561 * t * t;
  const double e = 0.016708617 - 4.204e-05 * t - 1.236e-07 * t * t;
  eccentricity = e;
  // Equation of the centre in radians.
  const double centre = (2.0 * e - e * e * e / 4.0) * SinDeg(meanAnomaly) + 1.25 * e * e * SinDeg(2.0 * meanAnomaly) +
                        1.0833333333 * e * e * e * SinDeg(3.0 * meanAnomaly);
  longitude = meanLongitude + static_cast<double>(centre * kRadToDegFactor);
}

void SphericalRateToRectangular(double& vx, double& vy, double& vz, double longitude, double latitude, double r,
                                double longitudeRate, double latitudeRate, double rRate) {
  double cosA = 0, cosB = 0;
  const double sinA = SinCosDeg(cosA, longitude);
  const double sinB = SinCosDeg(cosB, latitude);
  vx = rRate * cosA * cosB - r * (longitudeRate * sinA * cosB + latitudeRate * cosA * sinB);
  vy = rRate * sinA * cosB + r * (longitudeRate * cosA * cosB - latitudeRate * sinA * sinB);
  vz = rRate * sinB + r * latitudeRate * cosB;
}

void SunApparentVelocity(double& vx, double& vy, double& vz, double t, double sunLongitude, double sunLatitude,
                         double sunDistance) {
  const double meanAnomaly = kTwoPiAsTabulated * FracPositive(0.9931266 + 99.9973604 * t);  // radians
  // The rates in units of 1e-4 rad/day and 1e-4 AU/day.
  const double longitudeRate = 172.0 + 5.75 * std::cos(meanAnomaly);
  const double distanceRate = 2.87 * std::sin(meanAnomaly);
  SphericalRateToRectangular(vx, vy, vz, sunLongitude, sunLatitude, sunDistance, longitudeRate, 0.0, distanceRate);
  vx *= 1e-4;
  vy *= 1e-4;
  vz *= 1e-4;
}

void LightTimeDisplacement(double& dx, double& dy, double& dz, double t, double sunLongitude, double sunLatitude,
                           double sunDistance, double bodyDistance) {
  double vx = 0, vy = 0, vz = 0;
  SunApparentVelocity(vx, vy, vz, t, sunLongitude, sunLatitude, sunDistance);
  const double lightTime = 0.00578 * bodyDistance;  // days
  dx = vx * lightTime;
  dy = vy * lightTime;
  dz = vz * lightTime;
}

void ApparentSunEquatorial(double& rightAscension, double& declination, double longitude, double latitude,
                           double distance, double t) {
  double x = 0, y = 0, z = 0;
  PolarToCartesian(x, y, z, distance, latitude, longitude);
  double dx = 0, dy = 0, dz = 0;
  LightTimeDisplacement(dx, dy, dz, t, longitude, latitude, distance, distance);
  x -= dx;
  y -= dy;
  z -= dz;
  EclipticToEquatorial(x, y, z, t);
  NutationEquatorial(x, y, z, t);
  double r = 0;
  CartesianToPolar(r, declination, rightAscension, x, y, z);
}

}  // namespace kvx
