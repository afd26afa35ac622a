// The Moon's physical ephemeris, geocentric and topocentric.
// Reference: J. Meeus, Astronomical Algorithms, 2nd ed., ch. 41, 48 and 53.
#include "core/moon_physical.h"

#include <array>
#include <cmath>

#include "core/astronomical_constants.h"
#include "core/frames.h"
#include "core/physical_ephemeris.h"
#include "core/vector_math.h"
#include "platform/globals.h"

namespace kvx {

namespace {

// Semidiameter at unit distance by body index 0..10: arcseconds at 1 AU for
// the planets, degrees at one Earth radius for the Moon (index 10).
constexpr std::array<double, 11> kSemidiameter{0.13349722, 3.36,  8.34, 1.0,  4.68,       98.47,
                                               83.33,      35.02, 33.5, 3.45, 15.61247778};

struct LimbGeometry {
  double elongation;
  double brightLimb;
};

// Elongation and position angle of the bright limb of an object at (ra, dec)
// with the Sun at (sunRa, sunDec), all degrees.
LimbGeometry Limb(double ra, double dec, double sunRa, double sunDec) {
  const double H = sunRa - ra;
  const double X = CosDeg(sunDec) * SinDeg(H);
  const double Y = SinDeg(sunDec) * CosDeg(dec) - CosDeg(sunDec) * SinDeg(dec) * CosDeg(H);
  const double Z = SinDeg(sunDec) * SinDeg(dec) + CosDeg(sunDec) * CosDeg(dec) * CosDeg(H);
  return {ArcCosDeg(Z), Mod360(90.0 - ArcTan2Deg(Y, X))};
}

// Phase angle (degrees) for the elongation psi, the Moon's distance in Earth
// radii and the Sun's distance R in AU.
double PhaseAngle(double psi, double moonDistance, double R) {
  const double distanceAu = moonDistance * (kEarthEquatorialRadiusKm / kAstronomicalUnitKm);
  return ArcTan2Deg(R * SinDeg(psi), distanceAu - R * CosDeg(psi));
}

const char* SideText(double longitudeDifference) {
  return SinDeg(longitudeDifference) > 0 ? ByLanguage("Ost", "East") : "West";
}

}  // namespace

void MoonPhysicalEphemeris(int bodyIndex, const TObserverRecord& observer, const TMoonPositionBlock& moon,
                           TMoonPhysicalEphemeris& result) {
  const double semidiameterAtUnit =
      bodyIndex >= 0 && bodyIndex <= 10 ? kSemidiameter[bodyIndex] : kSemidiameter[kBodyMoon];
  const double lambdaSun = observer.SunLongitude;
  const double R = observer.SunDistance;
  const double Delta = moon.Distance;
  const double DeltaTopo = moon.TopocentricDistance;

  result.semidiameter = semidiameterAtUnit / moon.EquatorialDistance;
  result.topoSemidiameter = semidiameterAtUnit / DeltaTopo;

  const LimbGeometry geo = Limb(moon.RightAscension, moon.Declination, observer.SunApparentRA, observer.SunApparentDec);
  const LimbGeometry topo = Limb(moon.TopocentricRightAscension, moon.TopocentricDeclination, observer.SunApparentRA,
                                 observer.SunApparentDec);
  result.elongation = geo.elongation;
  result.topoElongation = topo.elongation;
  result.brightLimbAngle = geo.brightLimb;
  result.topoBrightLimbAngle = topo.brightLimb;

  // Topocentric ecliptic place from the topocentric equatorial one.
  double x, y, z, r, betaTopo, lambdaTopo;
  PolarToCartesian(x, y, z, DeltaTopo, moon.TopocentricDeclination, moon.TopocentricRightAscension);
  EquatorialToEcliptic(x, y, z, observer.Centuries);
  CartesianToPolar(r, betaTopo, lambdaTopo, x, y, z);

  result.longitudeDifference = Mod360(moon.EclipticLongitude - lambdaSun);
  result.topoLongitudeDifference = Mod360(lambdaTopo - lambdaSun);
  result.sideText = SideText(result.longitudeDifference);
  result.topoSideText = SideText(result.topoLongitudeDifference);

  result.phaseAngle = PhaseAngle(result.elongation, Delta, R);
  result.topoPhaseAngle = PhaseAngle(result.topoElongation, DeltaTopo, R);
  result.illuminatedFraction = (1.0 + CosDeg(result.phaseAngle)) / 2.0;
  result.topoIlluminatedFraction = (1.0 + CosDeg(result.topoPhaseAngle)) / 2.0;

  // Fundamental arguments. They are functions of dynamical time: taking UT
  // here would move the Moon's argument of latitude by some 30" (at the
  // Delta T of today) and the librations and the Sun's colongitude with it.
  const double T = observer.Centuries;
  const double T2 = T * T, T3 = T2 * T, T4 = T3 * T;
  TLunarArguments args;
  args.T = T;
  args.Omega = 125.044555 - 1934.1361849 * T + 0.0020762 * T2 + T3 / 467410.0 - T4 / 60616000.0;
  args.D = 297.8502042 + 445267.1115168 * T - 0.00163 * T2 + T3 / 545868.0 - T4 / 113065000.0;
  args.M = Mod360(357.5291092 + 35999.0502909 * T - 0.0001536 * T2 + T3 / 24490000.0);
  args.Mprime = Mod360(134.9634114 + 477198.8676313 * T + 0.008997 * T2 + T3 / 69699.0 - T4 / 113065000.0);
  args.F = 93.2720993 + 483202.0175273 * T - 0.0034029 * T2 - T3 / 3526000.0 + T4 / 863310000.0;
  const double L = 280.4665 + 36000.7698 * T;
  const double Lmoon = 218.3165 + 481267.8813 * T;
  args.DeltaPsi =
      -17.2 * SinDeg(args.Omega) - 1.32 * SinDeg(2 * L) - 0.23 * SinDeg(2 * Lmoon) + 0.21 * SinDeg(2 * args.Omega);

  // Librations and axis, geocentric and topocentric.
  TPhysicalLibration physical;
  LunarLibration(result.librationLongitude, result.librationLatitude, args, moon.EclipticLongitude,
                 moon.EclipticLatitude, &physical);
  MoonAxisPositionAngle(result.axisAngle, args, result.librationLatitude, moon.RightAscension);
  LunarLibration(result.topoLibrationLongitude, result.topoLibrationLatitude, args, lambdaTopo, betaTopo);
  MoonAxisPositionAngle(result.topoAxisAngle, args, result.topoLibrationLatitude, moon.TopocentricRightAscension);

  // Selenographic place of the Sun (geocentric Moon).
  constexpr double I = kMoonEquatorInclination;
  const double beta = moon.EclipticLatitude;
  const double q = (kEarthEquatorialRadiusKm * Delta) / (kAstronomicalUnitKm * R);
  const double lambdaH = lambdaSun + 180.0 + 57.296 * q * CosDeg(beta) * SinDeg(lambdaSun - moon.EclipticLongitude);
  const double betaH = q * beta;
  const double W = lambdaH - args.Omega;
  const double A =
      ArcTan2Deg(SinDeg(W) * CosDeg(betaH) * CosDeg(I) - SinDeg(betaH) * SinDeg(I), CosDeg(W) * CosDeg(betaH));
  const double l0Optical = Mod360(A - args.F);
  const double b0Optical = ArcSinDeg(-SinDeg(W) * CosDeg(betaH) * SinDeg(I) - SinDeg(betaH) * CosDeg(I));
  const double l0Physical = -physical.tau + (physical.rho * CosDeg(A) + physical.sigma * SinDeg(A)) * TanDeg(b0Optical);
  // The colongitude is 90 degrees minus the Sun's selenographic longitude,
  // optical and physical parts together.
  result.sunColongitude = Mod360(90.0 - l0Optical - l0Physical);
  result.sunSelenographicLatitude = b0Optical + physical.sigma * CosDeg(A) - physical.rho * SinDeg(A);

  // Visual magnitude from the geocentric phase angle.
  const double i = result.phaseAngle;
  result.magnitude = -21.62 + 5.0 * Log10(R * DeltaTopo) + 0.026 * i + 4e-09 * i * i * i * i;
}

}  // namespace kvx
