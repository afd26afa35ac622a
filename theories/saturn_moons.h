// The moons of Saturn: the eight major moons by the full theory and five of
// them by a short theory, as apparent positions relative to Saturn's disk,
// seen from the Earth and seen from the Sun.
#pragma once

#include <array>

#include "core/observer_record.h"
#include "core/position_blocks.h"
#include "theories/theory_types.h"

namespace kvx {

// ---------------------------------------------------------------------------
// Eight major moons, full theory.

// Moon order of the eight-moon arrays.
enum TSaturnMoon : int {
  kMimas = 0,
  kEnceladus = 1,
  kTethys = 2,
  kDione = 3,
  kRhea = 4,
  kTitan = 5,
  kHyperion = 6,
  kIapetus = 7,
};

using TSaturnMoonArray = std::array<double, 8>;

// Positions of Mimas, Enceladus, Tethys, Dione, Rhea, Titan, Hyperion and
// Iapetus for the instant of an observer record.
//
// Given:
//   handles, level, selection  handed unchanged to Saturn's planet routine
//              (slot 5) and to PlanetPositionDispatch
//   observer   a completed record: Mjd (UT), Centuries, DeltaTSeconds and
//              the Sun's geocentric ecliptic place of date (SunLongitude,
//              SunLatitude in degrees, SunDistance, SunX.., SunVX.. in AU
//              and AU/day)
// Returned:
//   xEarth, yEarth, zEarth  seen from the Earth; index TSaturnMoon
//   xSun, ySun, zSun        seen from the Sun (relative to the shadow)
//              X and Y in the sky plane (X positive towards the west, Y
//              along the projected rotation axis, north positive), Z along
//              the line of sight (positive when the moon is farther than
//              Saturn); equatorial radii of Saturn; X corrected for the
//              differential light time, X and Y for perspective.
//   block      Saturn's place as FillHostPlanetBlock leaves it for the
//              record's T (heliocentric at T, apparent geocentric with
//              light time and aberration, equatorial with nutation); Moons
//              holds the last evaluation (seen from the Sun)
// Notes:
//   Both sets describe the moons at the same instant at Saturn: the one
//   whose light reaches the Earth at the record's time.
// Reference: Meeus, "Astronomical Algorithms" (2nd ed.), ch. 46, after
//   Dourneau's theory of the eight satellites.
void SaturnMoonPositions(const PositionFileHandles& handles, TTruncationLevel level, TTheorySelection selection,
                         const TObserverRecord& observer, TSaturnMoonArray& xEarth, TSaturnMoonArray& yEarth,
                         TSaturnMoonArray& zEarth, TSaturnMoonArray& xSun, TSaturnMoonArray& ySun,
                         TSaturnMoonArray& zSun, TSaturnMoonsBlock& block);

// Most passes of the light-time iteration of SaturnMoonsCore (it converges
// in three or four).
inline constexpr int kSaturnLightTimePassLimit = 12;

// One evaluation of the eight moons for one viewpoint.
//
// Given:
//   selection, level, handles  handed to Saturn's planet routine
//   jde        Julian day, dynamical time, at the viewpoint
//   sunLongitude, sunLatitude  the Sun's geocentric ecliptic longitude and
//              latitude of date, radians (ignored when sunDistance is 0)
//   sunDistance  the Sun's distance from the viewpoint, AU; 0 puts the
//              viewpoint at the Sun
// Returned:
//   coordinates  X, Y, Z of the eight moons (as SaturnMoonPositions)
//   lightTime    the light time from Saturn to the viewpoint, days
// Notes:
//   The light time is iterated from that of 9 AU until two passes agree to
//   0.000002 day, at most kSaturnLightTimePassLimit passes (a date the
//   planet routine cannot place stops there with the last value).
void SaturnMoonsCore(TTheorySelection selection, TTruncationLevel level, const PositionFileHandles& handles, double jde,
                     double sunLongitude, double sunLatitude, double sunDistance, TSaturnMoonCoordinates& coordinates,
                     double& lightTime);

// Orbit of one of the four outer moons (Rhea, Titan, Hyperion, Iapetus)
// referred to Saturn's equator of B1950.0.
//
// Given:
//   e          eccentricity
//   meanLongitude  mean longitude lambda', degrees
//   pericentre longitude of the pericentre p, degrees
//   a          semi-major axis, equatorial radii of Saturn
//   inclination, node  inclination i and node Omega of the orbit on the
//              ecliptic of B1950.0, degrees
//   s1, c1     sine and cosine of the inclination of Saturn's equator
//              (28.0817 degrees)
// Returned:
//   r          distance from Saturn, equatorial radii
//   lambda     longitude in the orbit counted from the ecliptic's equinox
//              via the node on Saturn's equator, degrees
//   gamma      inclination on Saturn's equator, degrees
//   w          node on Saturn's equator, degrees
// SaturnMoonOrbit works in radians and returns w in [0, 360);
// SaturnMoonOrbitDeg works with the degree routines and leaves w unreduced.
void SaturnMoonOrbit(double e, double meanLongitude, double pericentre, double a, double inclination, double node,
                     double s1, double c1, double& r, double& lambda, double& gamma, double& w);
void SaturnMoonOrbitDeg(double e, double meanLongitude, double pericentre, double a, double inclination, double node,
                        double s1, double c1, double& r, double& lambda, double& gamma, double& w);

// Light time for a distance in AU, days (0.0057755183 days per AU).
double LightTimeDays(double au);

// ---------------------------------------------------------------------------
// Five moons, short theory.

// Moon index of the six-element arrays of the short theory (element 0 is
// not used).
enum TSaturnShortMoon : int {
  kShortTethys = 1,
  kShortDione = 2,
  kShortRhea = 3,
  kShortTitan = 4,
  kShortIapetus = 5,
};

using TSaturnShortArray = std::array<double, 6>;

// Positions of Tethys, Dione, Rhea, Titan and Iapetus by the short theory
// (circular orbits for the inner three, an equation of the centre for
// Titan and Iapetus, three orbit planes given by their poles).
//
// Given:
//   handles, level, selection  handed unchanged to Saturn's planet routine
//              and to PlanetPositionDispatch
//   observer   a completed record: Centuries (T) and the Sun's geocentric
//              place of date, as for SaturnMoonPositions
// Returned (elements 1..5, TSaturnShortMoon; element 0 left as it was):
//   xEarth, yEarth  seen from the Earth: X along the projected equator of
//              Saturn (positive towards the west), Y perpendicular to it
//              (north positive); equatorial radii of Saturn
//   uEarth     the moon's angle in its orbit plane from the plane's
//              reference direction seen from the Earth, degrees in
//              [0, 360): 0 and 180 put the moon on the line through
//              Saturn's centre (0 in front of the planet), 90 and 270 at
//              its greatest elongations
//   xSun, ySun, uSun  the same seen from the Sun (relative to the shadow)
//   block      Saturn's place as FillHostPlanetBlock leaves it for T
// Notes:
//   The moons are taken at the light-time corrected day count
//   36525 T - Delta / 173 (Delta the geocentric distance in AU); no line
//   of sight coordinate, no differential light time or perspective.
void SaturnMoonsPositions(const PositionFileHandles& handles, TTruncationLevel level, TTheorySelection selection,
                          const TObserverRecord& observer, TSaturnShortArray& xEarth, TSaturnShortArray& yEarth,
                          TSaturnShortArray& uEarth, TSaturnShortArray& xSun, TSaturnShortArray& ySun,
                          TSaturnShortArray& uSun, TSaturnMoonsBlock& block);

}  // namespace kvx
