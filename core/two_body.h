// Two-body motion about the Sun: Kepler's equation for elliptic, parabolic
// and hyperbolic orbits, the orientation matrix of an orbit, the equinox
// change of orbital elements, and the conversions between state vectors,
// equinoctial elements and classical elements.
//
// Units: distances in AU, times in days, velocities in AU per day unless said
// otherwise; angles in degrees at every interface; T in Julian centuries from
// J2000. Orbit-plane positions have x toward the perihelion and y 90 degrees
// ahead in the direction of motion.
#pragma once

#include <array>
#include <cstdint>

#include "core/vector_math.h"

namespace kvx {

// Gaussian gravitational constant k, AU^(3/2) per day (solar mass 1).
inline constexpr double kGaussK = 0.01720209895;
// k squared, AU^3 per day^2. Every routine here derives its mass parameter
// from this one value so that elements and positions convert back exactly.
inline constexpr long double kGaussK2 = static_cast<long double>(kGaussK) * kGaussK;
// 36525 k: turns Julian centuries into the time scale of the near-parabolic
// solver.
inline constexpr double kGaussKCentury = 628.30666414875;

// Orbit kind of ElementsFromStateVector.
inline constexpr std::uint8_t kOrbitEllipse = 0;
inline constexpr std::uint8_t kOrbitParabola = 1;
inline constexpr std::uint8_t kOrbitHyperbola = 2;

// A heliocentric state vector: x, y, z (AU), vx, vy, vz (AU per day or per
// Gaussian time unit, as the caller says).
using TStateVector = std::array<double, 6>;
using TStateVectorExt = std::array<long double, 6>;

// Solves Kepler's equation M = E - e sin E for an ellipse (0 <= e < 1).
// Given M, mean anomaly in degrees (any value); e, eccentricity.
// Returns E, eccentric anomaly in degrees, for M reduced to [0, 360).
// Newton's method from E = M (e < 0.8) or E = 180 degrees, until the residual
// is below 1e-11 rad (at most 15 steps), then one more step, which keeps E
// exact also near e = 1 where the residual says little about E.
double KeplerSolve(double M, double e);
// The same in extended precision.
long double KeplerSolveExt(long double M, long double e);

// Position and velocity in the orbit plane of an ellipse.
// Given M, mean anomaly (degrees); a, semi-major axis (AU); e.
// Returned x, y (AU); vx, vy (AU per day).
void EllipticOrbitPosition(double& x, double& y, double& vx, double& vy, double M, double a, double e);
// Extended-precision twin of EllipticOrbitPosition.
void OrbitPlanePosition(long double& x, long double& y, long double& vx, long double& vy, long double M, long double a,
                        long double e);

// Position and velocity in the orbit plane of a near-parabolic orbit (any e
// near 1, ellipse or hyperbola), by Stumpff's functions.
// Given t, the time, and T0, the perihelion time, both in Julian centuries;
// q, perihelion distance (AU); e, eccentricity.
// Returned x, y (AU); vx, vy (AU per day). When the final formulas fail
// (no real solution for this e and time) all four are 1e-8.
void ParabolicOrbitPosition(double& x, double& y, double& vx, double& vy, double t, double T0, double q, double e);

// Position and velocity in the orbit plane of a hyperbola.
// Given t and T0 (perihelion time) in Julian centuries; a, semi-major axis
// (AU, its absolute value is used); e > 1.
// Returned x, y (AU); vx, vy (AU per day).
void HyperbolicOrbitPosition(double& x, double& y, double& vx, double& vy, double t, double T0, double a, double e);

// Solves the hyperbolic Kepler equation M = e sinh H - H.
// Given M (radians), e > 1. Returns H in radians. At most 15 Newton steps;
// the step that meets the tolerance is still applied.
double HyperbolicKeplerSolve(double M, double e);

// Cube root of x >= 0 (0 for x = 0).
double CubeRoot(double x);

// Stumpff's functions c1 = sin(s)/s, c2 = (1 - cos s)/s^2, c3 = (s - sin s)/s^3
// for s^2 = E2 (negative E2 gives the hyperbolic forms), by their series.
void StumpffFunctions(double& c1, double& c2, double& c3, double E2);

// Orientation matrix of an orbit: columns P (toward the perihelion), Q (90
// degrees ahead in the orbit) and R (orbit pole) in the reference frame.
// Given node, inclination, argument of perihelion in degrees.
void GaussVectors(TMatrix33& m, double node, double inclination, double argPerihelion);

// Multiplies the velocity of a state vector (elements 3..5) by 1/k: AU per day
// become AU per Gaussian time unit.
void VelocityToGaussianUnits(TStateVector& state);

// Mean daily motion in degrees per day for the semi-major axis a (AU), from
// Kepler's third law with the Gaussian constant (k / a^1.5 radians per day).
double MeanDailyMotion(double a);

// Perihelion distance (AU) of an orbit of eccentricity e and semi-major axis a.
double PerihelionDistance(double e, double a);

// Carries the angular elements of an orbit from the ecliptic and equinox of
// Tfrom to those of Tto (Julian centuries from J2000).
// Given and returned inclination, node and argument of perihelion (degrees).
void PrecessOrbitalElements(double& inclination, double& node, double& argPerihelion, double Tfrom, double Tto);
// The same between two equinoxes given as years (T = (year - 2000) / 100).
void PrecessOrbitalElementsBetweenYears(double& inclination, double& node, double& argPerihelion, double fromYear,
                                        double toYear);

// The values of PrecessOrbitalElements that depend on the inclination and
// node alone (the orbit's pole and the inclination's sine and cosine), for
// a body precessed to many dates; the second form gives the same numbers
// as the first with them.
struct TElementPrecessionSource {
  double Inclination = 0, Node = 0;  // degrees
  double PoleX = 0, PoleY = 0, PoleZ = 1;
  double SinInclination = 0, CosInclination = 1;
};
TElementPrecessionSource ElementPrecessionSource(double inclination, double node);
void PrecessOrbitalElements(const TElementPrecessionSource& source, double& inclination, double& node,
                            double& argPerihelion, double Tfrom, double Tto);

// Classical elements from a heliocentric state vector.
// Given state: x, y, z (AU), vx, vy, vz (AU per day); t0, the epoch of the
// state as a Julian day; m, the body's mass in solar masses (0 for small
// bodies).
// Returned a (AU; negative for a hyperbola, 0 for an exact parabola);
// q, perihelion distance (AU); e; i, node, argPerihelion, lonPerihelion
// (degrees; node, argument and longitude in [0, 360)); p, semi-latus rectum
// (AU); M, mean anomaly (degrees, (-180, 180], 0 unless an ellipse); n, mean
// motion (degrees per day, 0 unless an ellipse); perihelionTime (Julian day);
// kind (kOrbitEllipse, kOrbitParabola, kOrbitHyperbola).
// Notes: a zero state leaves everything 0. An orbit in the reference plane
// (i = 0 or 180) has no node: node is 0 and the argument of latitude is the
// direction of the position in the plane. A circular orbit has no perihelion:
// e comes out as 0 (never the root of a negative number) and the perihelion is
// put at the position's argument of latitude.
void ElementsFromStateVector(const TStateVectorExt& state, long double& a, long double& q, double t0, long double m,
                             long double& e, long double& i, long double& node, long double& argPerihelion,
                             long double& lonPerihelion, long double& p, long double& M, long double& n,
                             long double& perihelionTime, std::uint8_t& kind);

// Elements converted from equinoctial elements; angles in degrees, n in
// degrees per day.
struct TElementsEquinoctialResult {
  long double a = 0;
  long double e = 0;
  long double i = 0;
  long double node = 0;
  long double argPerihelion = 0;
  long double lonPerihelion = 0;
  long double meanAnomaly = 0;
  long double meanMotion = 0;
};

// Classical elements from equinoctial elements.
// Given m, the body's mass in solar masses; a (AU); meanLongitude (radians);
// eSin, eCos: e sin and e cos of the longitude of perihelion; iSin, iCos:
// sin(i/2) sin and sin(i/2) cos of the node.
void ElementsFromEquinoctial(TElementsEquinoctialResult& out, long double m, long double a, long double meanLongitude,
                             long double eSin, long double eCos, long double iSin, long double iCos);

// Heliocentric ecliptic position (AU) of planet index 0..8 (Mercury .. Pluto)
// at T (Julian centuries from J2000) from the built-in mean elements. The
// matrix argument is not used. Indices outside 0..8 give the origin.
void PlanetMeanElementsPosition(int index, long double& x, long double& y, const TMatrix33Ext& matrix, long double& z,
                                double T);

}  // namespace kvx
