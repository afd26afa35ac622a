#include "theories/apparent_sun_moon.h"

#include "core/frames.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "theories/low_precision.h"
#include "theories/moon_cache.h"
#include "theories/moon_position.h"
#include "theories/sun_position.h"

namespace kvx {
namespace {

constexpr double kLightTimeOfOneAuInCenturies = 1.581869343676325e-7;  // 499.2 s

// Ecliptic place of date (distance, latitude, longitude) to the apparent
// equatorial place: mean obliquity of T, then first-order nutation.
void EclipticToApparentEquatorial(double distance, double latitude, double longitude, double T, double& ra, double& dec,
                                  double& r) {
  double x, y, z;
  PolarToCartesian(x, y, z, distance, latitude, longitude);
  EclipticToEquatorial(x, y, z, T);
  NutationEquatorial(x, y, z, T);
  CartesianToPolar(r, dec, ra, x, y, z);
}

}  // namespace

void SunApparentCoordinates(std::uint8_t /*shortcut*/, const PositionFileHandles& handles, TTheorySelection selection,
                            double T, double& ra, double& dec, double& r, TTruncationLevel level) {
  double L, B, R, x, y, z, vx, vy, vz;
  SunPosition(handles, selection, L, T - kLightTimeOfOneAuInCenturies, B, R, x, y, z, vx, vy, vz, level);
  EclipticToApparentEquatorial(R, B, L, T, ra, dec, r);
}

void MoonApparentCoordinates(std::uint8_t shortcut, const PositionFileHandles& /*handles*/, TTheorySelection selection,
                             double T, double& ra, double& dec, double& r, TTruncationLevel level) {
  double lambda, beta, distance, x2000, y2000, z2000, x, y, z, distance2;
  MoonPosition(shortcut, selection, lambda, T, beta, distance, x2000, y2000, z2000, x, y, z, distance2, level);
  EclipticToApparentEquatorial(distance, beta, lambda, T, ra, dec, r);
}

void MoonApparentCoordinatesFromCache(tmooncheb& cache, std::uint8_t shortcut, TTheorySelection selection, double T,
                                      double& ra, double& dec, double& r, TTruncationLevel level) {
  double lambda, beta, distance, x2000, y2000, z2000, x, y, z;
  cache.MoonChebPosition(shortcut, selection, level, T, lambda, beta, distance, x2000, y2000, z2000, x, y, z);
  EclipticToApparentEquatorial(distance, beta, lambda, T, ra, dec, r);
}

double SunAltitude(std::uint8_t accurate, const PositionFileHandles& handles, double T, double latitude,
                   double longitude, TTheorySelection selection, TTruncationLevel level,
                   std::uint8_t apparentSidereal) {
  double raHours, dec;
  if (accurate != 0) {
    double raDegrees, r;
    SunApparentCoordinates(0, handles, selection, T, raDegrees, dec, r, level);
    raHours = raDegrees * 0.066666666667;
  } else {
    SunLowPrecision(raHours, dec, T);
  }
  const double lst = LocalSiderealTime(apparentSidereal, JdToMjd(JdFromJulianCenturies(T)), longitude);
  const double tau = (lst - raHours) * 15.0;
  return ArcSinDeg(SinDeg(latitude) * SinDeg(dec) + CosDeg(latitude) * CosDeg(dec) * CosDeg(tau));
}

TPlaceAtTime ApparentPlaceAtTime(const TApparentPlaceSource& source) {
  const TApparentPlaceSource* s = &source;
  return [s](double T, double& ra, double& dec, double& r) {
    s->routine(s->shortcut, *s->handles, s->selection, T, ra, dec, r, s->level);
  };
}

}  // namespace kvx
