// The Moon's physical ephemeris for one instant and place, geocentric and
// topocentric: elongation and side, phase angle and illuminated fraction,
// semi-diameter, bright limb, librations and axis position angle, the
// selenographic colongitude and latitude of the Sun, and the magnitude.
#pragma once

#include <string>

#include "core/observer_record.h"
#include "core/position_blocks.h"

namespace kvx {

// Result of MoonPhysicalEphemeris, in the order the Moon objects keep it.
// Angles in degrees.
struct TMoonPhysicalEphemeris {
  double elongation = 0;               // geocentric elongation from the Sun, [0, 180]
  double topoElongation = 0;           // topocentric
  double longitudeDifference = 0;      // lambda - lambda(Sun), [0, 360)
  double topoLongitudeDifference = 0;  // lambda' - lambda(Sun), [0, 360)
  double phaseAngle = 0;               // geocentric, [0, 180]
  double topoPhaseAngle = 0;           // topocentric
  double topoSemidiameter = 0;         // degrees
  double semidiameter = 0;             // geocentric, degrees
  double illuminatedFraction = 0;      // geocentric, 0..1
  double topoIlluminatedFraction = 0;
  double axisAngle = 0;               // geocentric position angle of the axis P
  double librationLatitude = 0;       // geocentric b
  double librationLongitude = 0;      // geocentric l
  double topoLibrationLatitude = 0;   // b'
  double topoLibrationLongitude = 0;  // l'
  double topoAxisAngle = 0;           // P'
  double magnitude = 0;               // visual magnitude
  double sunColongitude = 0;          // selenographic colongitude of the Sun, [0, 360)
  double sunSelenographicLatitude = 0;
  double brightLimbAngle = 0;  // geocentric position angle of the bright limb, [0, 360)
  double topoBrightLimbAngle = 0;
  std::string sideText;  // "Ost"/"East" or "West"
  std::string topoSideText;
};

// Index of the Moon in the semidiameter table.
inline constexpr int kBodyMoon = 10;

// Computes the Moon's physical ephemeris.
// Given bodyIndex (10 for the Moon; it picks the semidiameter at unit
// distance); observer: a completed record (Mjd of UT, Centuries, the Sun's
// longitude, distance and apparent RA and Dec); moon: the Moon's position
// block (ecliptic and equator of date, distances in Earth radii).
// Returned result: every field of TMoonPhysicalEphemeris.
// Notes: the ecliptic longitude of the block is referred to the mean equinox
// of date (the Moon theories' own), so no nutation is removed before the
// node is subtracted. The lunar arguments are taken at the record's
// Centuries (dynamical time). The magnitude law (phase angle i in degrees:
// 0.026 i + 4e-9 i^4) is meant for i up to about 150 degrees.
// Reference: J. Meeus, Astronomical Algorithms, 2nd ed., ch. 48 and 53.
void MoonPhysicalEphemeris(int bodyIndex, const TObserverRecord& observer, const TMoonPositionBlock& moon,
                           TMoonPhysicalEphemeris& result);

}  // namespace kvx
