// Position blocks that the body objects of the engine own and that the core
// and theory routines read or fill: the position fields of a computable body,
// the Moon's position block and the body block of the Jupiter and Saturn moon
// tables. They are plain records; the engine embeds them in its objects and
// passes them by reference.
#pragma once

#include <array>

namespace kvx {

// Position fields of a computable body (the base of every engine body and of
// the search object), as the physical-ephemeris routines read them. Ecliptic
// and equator of date; angles in degrees, distances in AU. The position chain
// of the engine fills them; PlanetMagnitude and AsteroidMagnitudeHG only read.
struct TKeplerPosition {
  // Heliocentric ecliptic position.
  double HelioDistance = 0;   // r, AU
  double HelioLatitude = 0;   // b, degrees
  double HelioLongitude = 0;  // l, degrees
  double HelioX = 0;          // rectangular, AU
  double HelioY = 0;
  double HelioZ = 0;
  // Geocentric ecliptic position.
  double GeoLatitude = 0;   // beta, degrees
  double GeoLongitude = 0;  // lambda, degrees
  double GeoDistance = 0;   // Delta, AU
  // Geocentric equatorial rectangular coordinates of date, AU.
  double EquatorialX = 0;
  double EquatorialY = 0;
  double EquatorialZ = 0;
  // Geocentric declination and right ascension, degrees.
  double Declination = 0;
  double RightAscension = 0;
};

// The Moon's position block as the Moon's position chain leaves it before the
// physical ephemeris is asked for. Ecliptic and equator of date; angles in
// degrees, distances in Earth radii.
struct TMoonPositionBlock {
  double EclipticLongitude = 0;   // geocentric lambda of date
  double EclipticLatitude = 0;    // geocentric beta of date
  double Distance = 0;            // geocentric distance beside the ecliptic set
  double RightAscension = 0;      // geocentric apparent alpha
  double Declination = 0;         // geocentric apparent delta
  double EquatorialDistance = 0;  // geocentric distance beside the equatorial set
  double TopocentricRightAscension = 0;
  double TopocentricDeclination = 0;
  double TopocentricDistance = 0;
};

// The body-position block of the Jupiter-moon and Saturn-moon tables and
// events. The table object owns it and passes it by reference; the planet
// routine, the planet-position dispatch and the moon theories fill it. Ecliptic
// of date unless said; AU and degrees.
struct TPlanetMoonsBodyBlock {
  // Written by the planet routine: heliocentric ecliptic position, velocity
  // and the spherical form.
  double HelioX = 0, HelioY = 0, HelioZ = 0;
  double HelioVX = 0, HelioVY = 0, HelioVZ = 0;
  double HelioR = 0;                // AU
  double HelioB = 0;                // degrees
  double HelioL = 0;                // degrees
  std::array<double, 3> Cleared{};  // cleared by the moon theories
  // Apparent geocentric ecliptic position (planet-position dispatch).
  double ApparentX = 0, ApparentY = 0, ApparentZ = 0;
  // Distance, latitude and longitude of the apparent ecliptic vector of date
  // with nutation.
  double ApparentDistance = 0, ApparentLatitude = 0, ApparentLongitude = 0;
  // Geocentric distance Delta (AU): light time and perspective factor.
  double Delta = 0;
  // Astrometric geocentric position (dispatch), then turned equatorial in place.
  double AstrometricX = 0, AstrometricY = 0, AstrometricZ = 0;
  // Apparent geocentric equatorial position.
  double EquatorialX = 0, EquatorialY = 0, EquatorialZ = 0;
  // Apparent declination, right ascension (degrees) and distance (AU).
  double Declination = 0, RightAscension = 0, EquatorialDistance = 0;
  double HelioZCopy = 0;  // a copy of HelioZ
};

// Jupiter's block: X, Y, Z of Io, Europa, Ganymede and Callisto seen from the
// Earth, then seen from the Sun, in Jupiter radii.
struct TJupiterMoonsBlock : TPlanetMoonsBodyBlock {
  std::array<double, 4> EarthX{}, EarthY{}, EarthZ{};
  std::array<double, 4> SunX{}, SunY{}, SunZ{};
};

// Work area of the last evaluation of the eight-moon Saturn theory.
struct TSaturnMoonCoordinates {
  std::array<double, 8> X{}, Y{}, Z{};
};

// Saturn's block: the body block followed by the eight-moon work area.
struct TSaturnMoonsBlock : TPlanetMoonsBodyBlock {
  TSaturnMoonCoordinates Moons;
};

}  // namespace kvx
