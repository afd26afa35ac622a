#include "theories/satellite_look.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/angle_constants.h"
#include "core/astronomical_constants.h"
#include "theories/sgp4.h"

namespace kvx {

std::uint8_t SatelliteAboveHorizon = 0;
std::uint8_t SatelliteEclipsed = 0;
TVectorXYZR LastSunVector;

namespace {

constexpr double kEccentricitySquared = 0.006694317778266722;  // flattening 1/298.26
constexpr double kOneMinusFlattening = 0.9966472205458325;
constexpr double kEarthRotation = 7.292115855228083e-05;  // radians per second
constexpr double kShadowConeConstant = 689621.865;        // km, Sun radius 696000 minus earth radius
constexpr int kSubPointMaxSteps = 50;

}  // namespace

void SatObserverFromPlace(TSatObserver& observer, double latitudeDeg, double longitudeWestDeg, double heightM) {
  observer.latitude = DegToRad(latitudeDeg);
  observer.longitude = DegToRad(FloatModulo(-longitudeWestDeg, 360.0));
  observer.height = heightM * 0.001;
}

void SatelliteObserverState(TSatObserver& observer, TVectorXYZR& position, TVectorXYZR& velocity, double julianDate) {
  observer.sidereal = Mod2Pi(GreenwichSiderealAngle(julianDate) + observer.longitude);
  double theta = observer.sidereal;
  double sinLat = std::sin(observer.latitude);
  double c = 1.0 / std::sqrt(1.0 - kEccentricitySquared * sinLat * sinLat);
  double s = kOneMinusFlattening * kOneMinusFlattening * c;
  double a = (kSatEarthRadiusKm * c + observer.height) * std::cos(observer.latitude);
  position.x = a * std::cos(theta);
  position.y = a * std::sin(theta);
  position.z = (kSatEarthRadiusKm * s + observer.height) * sinLat;
  velocity.x = -kEarthRotation * position.y;
  velocity.y = kEarthRotation * position.x;
  velocity.z = 0.0;
  SetVectorLength(position);
  SetVectorLength(velocity);
}

void SatelliteSubPoint(const TVectorXYZR& position, TSatGeodetic& subPoint, double julianDate) {
  double alpha = ArcTan2Rad(position.y, position.x);
  subPoint.longitude = Mod2Pi(alpha - GreenwichSiderealAngle(julianDate));
  double r = std::sqrt(position.x * position.x + position.y * position.y);
  double phi = ArcTan2Rad(position.z, r);
  double c = 1.0;
  // Converges within a few steps for any position outside the earth's core;
  // the step limit only guards against a degenerate input.
  for (int step = 0; step < kSubPointMaxSteps; ++step) {
    double previous = phi;
    double sinPhi = std::sin(previous);
    c = 1.0 / std::sqrt(1.0 - kEccentricitySquared * sinPhi * sinPhi);
    phi = ArcTan2Rad(position.z + kSatEarthRadiusKm * c * kEccentricitySquared * sinPhi, r);
    if (std::fabs(phi - previous) < 1e-10) break;
  }
  subPoint.latitude = phi;
  subPoint.height = r / std::cos(phi) - kSatEarthRadiusKm * c;
  subPoint.rightAscension = alpha;
}

void SatelliteTopocentric(const TVectorXYZR& position, const TVectorXYZR& velocity, const TSatObserver& observer,
                          double julianDate, TSatObservation& observation, bool refraction) {
  TSatObserver place = observer;
  TVectorXYZR observerPosition, observerVelocity;
  SatelliteObserverState(place, observerPosition, observerVelocity, julianDate);
  TVectorXYZR range{position.x - observerPosition.x, position.y - observerPosition.y, position.z - observerPosition.z,
                    0.0};
  SetVectorLength(range);
  TVectorXYZR rangeRate{velocity.x - observerVelocity.x, velocity.y - observerVelocity.y,
                        velocity.z - observerVelocity.z, 0.0};
  SetVectorLength(rangeRate);

  double sinLat = std::sin(place.latitude), cosLat = std::cos(place.latitude);
  double sinTheta = std::sin(place.sidereal), cosTheta = std::cos(place.sidereal);
  double south = sinLat * cosTheta * range.x + sinLat * sinTheta * range.y - cosLat * range.z;
  double east = -sinTheta * range.x + cosTheta * range.y;
  double zenith = cosLat * cosTheta * range.x + cosLat * sinTheta * range.y + sinLat * range.z;

  double azimuth = std::atan2(east, -south);
  if (azimuth < 0.0) azimuth += kTwoPi;
  double elevation = range.r > 0.0 ? ArcSinRad(std::clamp(zenith / range.r, -1.0, 1.0)) : kPi / 2;
  observation.azimuth = azimuth;
  observation.range = range.r;
  observation.rangeRate = range.r > 0.0 ? DotProduct3(range, rangeRate) / range.r : 0.0;

  double shown = elevation;
  // Refraction for the true elevation h (degrees), in arc minutes. Below
  // -2 degrees it could not lift a satellite above the horizon any more, and
  // the formula has a pole at -5.11 degrees: no correction there.
  double h = RadToDeg(elevation);
  if (refraction && h >= -2.0) shown += DegToRad(1.02 / std::tan(DegToRad(h + 10.3 / (h + 5.11))) / 60.0);
  if (shown >= 0.0) {
    observation.elevation = shown;
    SatelliteAboveHorizon = 1;
  } else {
    observation.elevation = elevation;
    SatelliteAboveHorizon = 0;
  }
}

void SatelliteRaDecFromLook(const TSatObservation& look, const TSatObserver& observer, double julianDate,
                            double& rightAscension, double& declination) {
  double theta = Mod2Pi(GreenwichSiderealAngle(julianDate) + observer.longitude);
  double sinLat = std::sin(observer.latitude), cosLat = std::cos(observer.latitude);
  double sinTheta = std::sin(theta), cosTheta = std::cos(theta);
  double a = look.azimuth, h = look.elevation;
  // Horizon unit vector in south, east, zenith components.
  double s = -std::cos(a) * std::cos(h);
  double e = std::sin(a) * std::cos(h);
  double z = std::sin(h);
  double lx = sinLat * cosTheta * s - sinTheta * e + cosTheta * cosLat * z;
  double ly = sinLat * sinTheta * s + cosTheta * e + sinTheta * cosLat * z;
  double lz = -cosLat * s + sinLat * z;
  lz = std::clamp(lz, -1.0, 1.0);
  declination = ArcSinRad(lz);
  double cosDec = std::sqrt(1.0 - lz * lz);
  rightAscension = cosDec > 0.0 ? Mod2Pi(ArcTan2Rad(ly / cosDec, lx / cosDec)) : 0.0;
}

void SatelliteLookAngles(const TVectorXYZR& position, const TVectorXYZR& velocity, const TSatObserver& observer,
                         double julianDate, TSatObservation& observation, bool refraction) {
  SatelliteTopocentric(position, velocity, observer, julianDate, observation, refraction);
  if (SatelliteAboveHorizon != 1) return;
  double rightAscension = 0, declination = 0;
  SatelliteRaDecFromLook(observation, observer, julianDate, rightAscension, declination);
  observation.azimuth = rightAscension;
  observation.elevation = declination;
}

double DeltaET(double year) {
  return 26.465 + 0.747622 * (year - 1950.0) + 1.886913 * std::sin(kTwoPi * (year - 1975.0) / 33.0);
}

void SunVectorForShadow(TVectorXYZR& sun, double julianDate) {
  double d = julianDate - 2415020.0;
  double year = 1900.0 + d / 365.25;
  double t = (d + DeltaET(year) / 86400.0) / 36525.0;
  double meanAnomaly = DegToRad(Mod360(358.47583 + Mod360(35999.04975 * t) - (0.00015 + 0.0000033 * t) * t * t));
  double meanLongitude = DegToRad(Mod360(279.69668 + Mod360(36000.76892 * t) + 0.0003025 * t * t));
  double e = 0.01675104 - (0.0000418 + 0.000000126 * t) * t;
  double centre =
      DegToRad((1.91946 - (0.004789 + 0.000014 * t) * t) * std::sin(meanAnomaly) +
               (0.020094 - 0.0001 * t) * std::sin(2.0 * meanAnomaly) + 0.000293 * std::sin(3.0 * meanAnomaly));
  double node = DegToRad(Mod360(259.18 - 1934.142 * t));
  double longitude = Mod2Pi(meanLongitude + centre - DegToRad(0.00569 - 0.00479 * std::sin(node)));
  double trueAnomaly = Mod2Pi(meanAnomaly + centre);
  double distance = 1.0000002 * (1.0 - e * e) / (1.0 + e * std::cos(trueAnomaly)) * kAstronomicalUnitKm;
  double obliquity =
      DegToRad(23.452294 - (0.0130125 + (0.00000164 - 0.000000503 * t) * t) * t + 0.00256 * std::cos(node));
  sun.x = distance * std::cos(longitude);
  sun.y = distance * std::sin(longitude) * std::cos(obliquity);
  sun.z = distance * std::sin(longitude) * std::sin(obliquity);
  sun.r = distance;
}

double SatelliteInShadow(const TVectorXYZR& position, double julianDate) {
  TVectorXYZR sun;
  SunVectorForShadow(sun, julianDate);
  LastSunVector = sun;
  double sunSquared = sun.r * sun.r;
  double s = -DotProduct3(position, sun);
  double k = s / sunSquared;
  double p2 = DotProduct3(position, position);
  double d = std::sqrt(std::max(0.0, p2 - s * s / sunSquared));
  double radius = kSatEarthRadiusKm + kShadowConeConstant * k;
  SatelliteEclipsed = (k > 0.0 && d < radius) ? 1 : 0;
  return d - radius;
}

}  // namespace kvx
