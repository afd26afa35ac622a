// Five moons of Saturn by the short theory: mean longitudes in three orbit
// planes given by their poles, projected on the sky.
#include <cmath>
#include <numbers>

#include "core/angle_constants.h"
#include "core/frames.h"
#include "core/vector_math.h"
#include "theories/moon_host_planet.h"
#include "theories/saturn_moons.h"

namespace kvx {
namespace {

// Light speed of the short theory, AU per day.
constexpr double kLightSpeedAuPerDay = 173.0;

// Sine, cosine and tangent of degrees in double precision.
double S(double degrees) { return std::sin(degrees * kDegToRad); }
double C(double degrees) { return std::cos(degrees * kDegToRad); }
double Tan(double degrees) { return std::tan(degrees * kDegToRad); }

// The three orbit planes.
enum Plane { kEquatorPlane = 0, kTitanPlane = 1, kIapetusPlane = 2 };

// A plane seen from one viewpoint: position angle P of its pole, latitude B
// of the viewpoint above the plane and the reference angle U, degrees.
struct PlaneView {
  double P = 0, B = 0, U = 0;
};

PlaneView ViewPlane(double poleRa, double poleDec, double ra, double dec) {
  const double dRa = poleRa - ra;
  PlaneView v;
  v.P = ArcTan2Deg(S(dRa), C(dec) * Tan(poleDec) - S(dec) * C(dRa));
  v.B = ArcSinDeg(-S(poleDec) * S(dec) - C(dec) * C(poleDec) * C(dRa));
  v.U = ArcTan2Deg(C(dRa) * S(poleDec) - Tan(dec) * C(poleDec), S(dRa));
  return v;
}

// One viewpoint (right ascension and declination of Saturn seen from it,
// degrees): the five moons projected on the sky.
void ProjectFiveMoons(const double (&poleRa)[3], const double (&poleDec)[3], double ra, double dec,
                      const double (&longitude)[6], const double (&radius)[6], TSaturnShortArray& x,
                      TSaturnShortArray& y, TSaturnShortArray& u) {
  PlaneView view[3];
  for (int j = 0; j < 3; ++j) view[j] = ViewPlane(poleRa[j], poleDec[j], ra, dec);
  for (int k = kShortTethys; k <= kShortIapetus; ++k) {
    const int j = k == kShortTitan ? kTitanPlane : k == kShortIapetus ? kIapetusPlane : kEquatorPlane;
    const double angle = longitude[k] - view[j].U;
    const double px = radius[k] * S(angle);
    const double py = -radius[k] * C(angle) * S(view[j].B);
    if (j == kEquatorPlane) {
      x[k] = px;
      y[k] = py;
    } else {
      // Turn the moon's own plane onto the position angle of the equator.
      const double D = view[kEquatorPlane].P - view[j].P;
      x[k] = px * C(D) + py * S(D);
      y[k] = -px * S(D) + py * C(D);
    }
    u[k] = Mod360(angle);
  }
}

}  // namespace

void SaturnMoonsPositions(const PositionFileHandles& handles, TTruncationLevel level, TTheorySelection selection,
                          const TObserverRecord& observer, TSaturnShortArray& xEarth, TSaturnShortArray& yEarth,
                          TSaturnShortArray& uEarth, TSaturnShortArray& xSun, TSaturnShortArray& ySun,
                          TSaturnShortArray& uSun, TSaturnMoonsBlock& block) {
  const double T = observer.Centuries;
  const double d = 36525.0 * T;

  // Poles (right ascension, declination of date) of Saturn's equator, of
  // Titan's orbit and of Iapetus' orbit.
  const double poleRa[3] = {40.66 + 0.0001182 * d, 37.77 + 0.0000699 * d, 318.56 - 0.0000954 * d};
  const double poleDec[3] = {83.52 + 0.0000116 * d, 83.69 + 0.0000072 * d, 75.49 - 0.000009 * d};

  FillHostPlanetBlock(handles, level, selection, observer, kHostSaturn, T, block);

  // Saturn seen from the Sun: the heliocentric vector on the mean equator.
  double hx = block.HelioX, hy = block.HelioY, hz = block.HelioZ;
  EclipticToEquatorial(hx, hy, hz, T);
  double helioDistance = 0, decSun = 0, raSun = 0;
  CartesianToPolar(helioDistance, decSun, raSun, hx, hy, hz);

  // Mean longitudes (not reduced) and distances at the light-time
  // corrected day count; Tethys' libration runs on d itself.
  const double dl = d - block.Delta / kLightSpeedAuPerDay;
  const double M4 = 163.7 + 22.575585 * dl;
  const double M5 = 207.7 + 4.537626 * dl;
  double longitude[6] = {};
  double radius[6] = {};
  longitude[kShortTethys] = 188.1 + 190.697813 * dl + 2.065 * S(0.013926 * (d - 2857.2));
  radius[kShortTethys] = 4.91;
  longitude[kShortDione] = 177.7 + 131.534888 * dl;
  radius[kShortDione] = 6.29;
  longitude[kShortRhea] = 52.34 + 79.689963 * dl;
  radius[kShortRhea] = 8.78;
  longitude[kShortTitan] = 9.62 + 22.576895 * dl + 3.33 * S(M4) + 0.06 * S(2 * M4);
  radius[kShortTitan] = 20.38 - 0.593 * C(M4);
  longitude[kShortIapetus] = 171.22 + 4.538088 * dl + 3.24 * S(M5) + 0.06 * S(2 * M5);
  radius[kShortIapetus] = 59.39 - 1.679 * C(M5) - 0.024 * C(2 * M5);

  ProjectFiveMoons(poleRa, poleDec, block.RightAscension, block.Declination, longitude, radius, xEarth, yEarth, uEarth);
  ProjectFiveMoons(poleRa, poleDec, raSun, decSun, longitude, radius, xSun, ySun, uSun);
}

}  // namespace kvx
