#include "tables/drawing_measurement.h"

#include <cmath>
#include <numbers>

#include "core/angle_constants.h"
#include "engine/planet.h"
#include "engine/sun.h"
#include "platform/globals.h"
#include "tables/places_of_date.h"
#include "theories/observer_completion.h"

namespace kvx {

namespace {

double Reduce360(double a) {
  a = std::fmod(a, 360.0);
  return a < 0 ? a + 360.0 : a;
}

bool AsinDeg(double x, double& out) {
  if (!std::isfinite(x) || std::fabs(x) > 1.0 + 1e-12) return false;
  out = std::asin(std::fmax(-1.0, std::fmin(1.0, x))) / kDegToRad;
  return true;
}

}  // namespace

double LimitPolarDiameter(double polar, double equatorial) { return polar > equatorial ? 0.98 * equatorial : polar; }

bool MeasureDrawingPoint(const TDrawingMeasurement& m, double& longitude, double& latitude) {
  const double R = 0.5 * m.Diameter;
  if (!(R > 0) || !std::isfinite(R) || !std::isfinite(m.X) || !std::isfinite(m.Y) || !std::isfinite(m.P) ||
      !std::isfinite(m.B) || !std::isfinite(m.L0))
    return false;
  const double s = m.SouthAbove ? -1.0 : 1.0;
  const double sP = std::sin(m.P * kDegToRad), cP = std::cos(m.P * kDegToRad);
  const double sB = std::sin(m.B * kDegToRad), cB = std::cos(m.B * kDegToRad);
  const double u = s * (m.X * cP + m.Y * sP);
  const double v = s * (-m.X * sP + m.Y * cP);
  double beta = 0, delta = 0;
  if (m.Body <= 1) {
    const double q = R * R - m.X * m.X - m.Y * m.Y;
    if (q < 0) return false;
    const double z = std::sqrt(q);
    if (!AsinDeg((z * sB + v * cB) / R, beta)) return false;
    const double cosBeta = std::cos(beta * kDegToRad);
    if (!(cosBeta > 0)) {
      delta = 0;
    } else if (!AsinDeg(u / (R * cosBeta), delta)) {
      return false;
    }
  } else {
    const double Rp = 0.5 * LimitPolarDiameter(m.PolarDiameter, m.Diameter);
    if (!(Rp > 0)) return false;
    const double k = (R / Rp) * (R / Rp);  // 1 / (1 - f)²
    const double a = cB * cB + k * sB * sB;
    const double b = 2.0 * v * sB * cB * (k - 1.0);
    const double c = v * v * (sB * sB + k * cB * cB) + u * u - R * R;
    const double disc = b * b - 4.0 * a * c;
    if (!(disc >= 0) || !(a > 0)) return false;
    const double w = (-b + std::sqrt(disc)) / (2.0 * a);
    const double X = u, Y = w * cB - v * sB, Z = v * cB + w * sB;
    const double r = std::sqrt(X * X + Y * Y + Z * Z);
    if (!(r > 0)) return false;
    if (!AsinDeg(Z / r, beta)) return false;
    const double cosBeta = std::cos(beta * kDegToRad);
    if (!(cosBeta > 0)) {
      delta = 0;
    } else if (!AsinDeg(X / (r * cosBeta), delta)) {
      return false;
    }
  }
  longitude = Reduce360(m.Body == 0 ? m.L0 + delta : m.L0 - delta);
  latitude = beta;
  return std::isfinite(longitude) && std::isfinite(latitude);
}

bool DrawingDiscData(int body, TObserverRecord observer, TTheorySelection selection, std::int32_t vsopLevel, double& P,
                     double& B, double& L0) {
  const TTableConfigRecord config;
  CompleteObserverRecord(1, selection, config, vsopLevel, observer);
  TPhysicalBlock block;
  if (body <= 0) {
    TSonne sun(LanguageEnglish, selection, 0, config, observer, 1e-10L);
    sun.initialisieren(LanguageEnglish, selection, config, observer, 1e-10L);
    GeometricPlacesOfDate(sun, vsopLevel);
    sun.physischeEphemeride();
    block = sun.Result.Physical;
  } else {
    const int planet = body + 3;
    Tpla p(LanguageEnglish, selection, 0, planet, config, observer, 1e-10L);
    p.initialisieren(LanguageEnglish, selection, planet, config, observer, 1e-10L);
    GeometricPlacesOfDate(p, vsopLevel);
    p.physischeEphemeride();
    block = p.Result.Physical;
  }
  P = block.axisAngle;
  B = block.subEarthLatC;
  L0 = block.centralMeridian1;
  return std::isfinite(P) && std::isfinite(B) && std::isfinite(L0);
}

}  // namespace kvx
