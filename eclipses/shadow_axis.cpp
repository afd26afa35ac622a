#include "eclipses/shadow_axis.h"

#include <algorithm>
#include <cmath>

#include "core/angle_constants.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "eclipses/besselian.h"
#include "eclipses/solar_eclipse.h"

namespace kvx {

namespace {

// The Earth's turn in 6 seconds, radians.
constexpr double kTurnIn6s = 0.00043755;

double MjdOf(double T) { return 36525.0 * T + 51544.5; }

}  // namespace

void EquatorialToRectangular(double ra, double dec, double r, double zScale, double v[3]) {
  const double cd = std::cos(dec * kDegToRad);
  v[0] = r * cd * std::cos(ra * kDegToRad);
  v[1] = r * cd * std::sin(ra * kDegToRad);
  v[2] = r * std::sin(dec * kDegToRad) * zScale;
}

TShadowAxis ShadowAxisAtEarth(const double body[3], const double sun[3], const TShadowCones& cones) {
  TShadowAxis a;
  const double d[3] = {body[0] - sun[0], body[1] - sun[1], body[2] - sun[2]};
  const double D = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
  if (!(D > 0)) return a;
  for (int i = 0; i < 3; ++i) a.e[i] = d[i] / D;
  const auto umbra = [&](double x) { return cones.UmbraSlope * x / D - cones.UmbraOffset; };
  // s0: the foot of the Earth's centre on the axis; q: the squared distance
  // of the centre from the axis, as 1 - q; m: that distance.
  const double s0 = -(body[0] * a.e[0] + body[1] * a.e[1] + body[2] * a.e[2]);
  const double q = s0 * s0 + 1.0 - (body[0] * body[0] + body[1] * body[1] + body[2] * body[2]);
  const double m = std::sqrt(std::max(0.0, 1.0 - q));
  a.u = umbra(s0);
  const double penumbra = cones.PenumbraSlope * s0 / D + cones.PenumbraOffset;
  if (m < 1.0) {
    const double s1 = s0 - std::sqrt(std::max(0.0, q));
    a.u = umbra(s1);
    a.x = body[0] + s1 * a.e[0];
    a.y = body[1] + s1 * a.e[1];
    a.z = (body[2] + s1 * a.e[2]) * 0.996633;
    a.art = a.u <= 0 ? eclipse_kind::kTotal : eclipse_kind::kAnnular;
  } else if (m < 1.0 + 0.5 * std::fabs(a.u)) {
    a.art = a.u <= 0 ? eclipse_kind::kTotalNotCentral : eclipse_kind::kAnnularNotCentral;
  } else {
    a.art = m < 1.0 + 0.5 * penumbra ? eclipse_kind::kPartial : eclipse_kind::kNone;
  }
  return a;
}

void CentralLinePoint(const TShadowAxisAt& axisAt, std::uint8_t sidereal, double T, double deltaT, std::uint8_t& art,
                      double& laenge, double& breite, double& dauer) {
  art = 0;
  laenge = breite = dauer = 0;
  const double tt = T + deltaT * kSecondCenturies;
  TShadowAxis a;
  if (!axisAt(tt, a)) return;
  art = a.art;
  if (art < eclipse_kind::kAnnular) return;
  const double latitude = ArcTan2Deg(a.z, std::sqrt(a.x * a.x + a.y * a.y));
  const double ra = ArcTan2Deg(a.y, a.x);
  breite = latitude + 0.1924 * SinDeg(2.0 * latitude);
  laenge = 15.0 * GreenwichSiderealTime(sidereal, MjdOf(T)) - ra;
  while (laenge >= 180.0) laenge -= 360.0;
  while (laenge < -180.0) laenge += 360.0;
  double omega = kTurnIn6s;
  TShadowAxis b;
  if (!axisAt(tt + 6.0 * kSecondCenturies, b) || b.art < eclipse_kind::kAnnular) {
    omega = -kTurnIn6s;
    if (!axisAt(tt - 6.0 * kSecondCenturies, b) || b.art < eclipse_kind::kAnnular) return;
  }
  const double d[3] = {b.x - a.x + omega * a.y, b.y - a.y - omega * a.x, b.z - a.z};
  const double de = d[0] * a.e[0] + d[1] * a.e[1] + d[2] * a.e[2];
  const double v = std::sqrt(std::max(0.0, d[0] * d[0] + d[1] * d[1] + d[2] * d[2] - de * de));
  if (v > 0) dauer = 0.1 * std::fabs(a.u) / v;
}

}  // namespace kvx
