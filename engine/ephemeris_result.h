// Everything computed for one instant of one body: the record every body
// object fills, the time loop copies into the row store, and every table
// writer reads. One record is one table row.
//
// Frames and units, unless a field says otherwise: ecliptic and equator of
// date, angles in degrees, distances in AU (the Moon's geocentric and
// topocentric distances in Earth radii), times of day in local hours.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <string>

#include "core/physical_ephemeris.h"
#include "core/position_blocks.h"

namespace kvx {

// One level of the rise/set block.
struct TRiseSetLevel {
  double Rise = 0;         // local hours; 0 = no such event (twilight: begin)
  double Set = 0;          // local hours; 0 = no such event (twilight: end)
  double Duration = 0;     // hours above the altitude (twilight levels: darkness)
  std::string RiseMarker;  // text shown in place of a missing rise
  std::string SetMarker;   // text shown in place of a missing set
  std::string Status;      // text for a day without either event
};

// Rise, transit and set: five levels, numbered as the writers number them.
// Levels is indexed by the level number itself (entry 0 is never used):
//   1 the Moon's own rise and set, 2 every other body's rise and set,
//   3, 4, 5 the Sun's civil, nautical and astronomical twilight.
struct TRiseSetBlock {
  static constexpr int kMoonLevel = 1;
  static constexpr int kBodyLevel = 2;
  static constexpr int kCivilTwilight = 3;
  static constexpr int kNauticalTwilight = 4;
  static constexpr int kAstronomicalTwilight = 5;
  static constexpr int kLevels = 5;

  std::array<TRiseSetLevel, kLevels + 1> Levels{};
  double TransitTime = 0;      // local hours; 0 = no transit that day
  double TransitAltitude = 0;  // degrees, no refraction (CulminationAltitude, core/rise_set_search.h)
  double RiseAzimuth = -360;   // degrees from the south through the west; -360 = none
  double SetAzimuth = -360;

  // Whether the day has a culmination to show: the rise/set search leaves
  // the transit time 0 on a day whose culmination does not count
  // (CulminationCounts), and every table and page shows the transit and its
  // altitude only when this is true.
  bool HasTransit() const { return TransitTime != 0 && std::isfinite(TransitTime); }
};

// The physical block: 42 doubles. The first 34 (and the side text) are the
// record the core's magnitude and physical routines fill, under the same
// names; the last 8 are the quantities the body classes add.
struct TPhysicalBlock : PlanetPhysicalRecord {
  double EquationOfTime = 0;            // Sun: hours
  double RotationNumber = 0;            // Sun: Carrington rotation number
  double Semidiameter = 0;              // Moon: geocentric, degrees
  double TopoSemidiameter = 0;          // Moon: topocentric, degrees
  double SunColongitude = 0;            // Moon: selenographic colongitude of the Sun
  double SunSelenographicLatitude = 0;  // Moon: latitude of the subsolar point
  double MoonAge = 0;                   // Moon: days since new moon
  double HorizontalParallax = 0;        // degrees
};
inline constexpr int kPhysicalBlockDoubles = 42;

// The Moon table's additions.
// FurtherCoordinates in the order of the Moon theory's outputs: 0..2 the
// geocentric ecliptic rectangular place of J2000, 3..5 that of date (km).
// The Topo* fields are the topocentric twins of the physical block's
// elongation, side, phase, bright limb, illuminated fraction, axis, centre
// latitude and central meridian.
struct TMoonExtraBlock {
  std::array<double, 6> FurtherCoordinates{};  // the six further values of the Moon theory
  double SunX = 0, SunY = 0, SunZ = 0;         // the observer record's geocentric Sun vector, AU
  double GeoHourAngle = 0;                     // hours, of the geocentric place
  double GeoAltitude = 0;                      // degrees
  double GeoAzimuth = 0;                       // degrees from the south through the west
  double RelativeAzimuth = 0;                  // crescent visibility: DAZ
  double ElongationValue = 0;                  // ARCL
  double AltitudeDifference = 0;               // ARCV
  double LimbAltitudeDifference = 0;           // DALT
  double TopoElongation = 0;                   // degrees
  std::string TopoSideText;                    // "Ost"/"East" or "West"
  double TopoSideAngle = 0;                    // lambda(Sun) - lambda, topocentric, degrees
  double TopoPhaseAngle = 0;
  double TopoBrightLimbAngle = 0;
  double TopoIlluminatedFraction = 0;
  double TopoAxisAngle = 0;
  double TopoCentreLatitude = 0;
  double TopoCentralMeridian = 0;
};

// Darkness of the Sun table's night: -1 marks a value that is not set.
struct TDarknessBlock {
  double FirstStart = -1, FirstEnd = -1;  // local hours of the table day
  double SecondStart = -1, SecondEnd = -1;
  double Total = -1;  // hours
};

inline constexpr std::size_t kResultNameLength = 40;

// The moon tables' coordinates, in the order each table states (Jupiter:
// x, y, z of the four moons, then of their shadows; Saturn: six quantities
// per moon), at most eight moons of six values.
inline constexpr std::size_t kMoonTableValues = 48;

// One step of the single-satellite table.
struct TSatelliteRowBlock {
  double Sign = -1;           // +1 computable, -1 not computable
  double Range = 0;           // km
  double Height = 0;          // km above the ellipsoid
  double Latitude = 0;        // sub-point, degrees
  double Longitude = 0;       // sub-point, degrees, east negative, [-180, 180]
  double RightAscension = 0;  // topocentric, degrees
  double HourAngle = 0;       // hours
  double SunAltitude = 0;     // degrees
  double Elevation = 0;       // degrees
  double Azimuth = 0;         // degrees from the south, [0, 360)
  std::uint8_t Lit = 0;       // 1 outside the Earth's shadow
};

struct TEphemerisResultRecord {
  // --- the instant -----------------------------------------------------------
  std::int32_t Year = 0, Month = 0, Day = 0;  // local civil date
  double LocalHours = 0;
  double JD = 0;  // Julian day of UT
  double LocalSiderealHours = 0;
  double GreenwichSiderealHours = 0;
  double GreenwichSiderealDegrees = 0;
  double MeanAnomaly = 0;  // of the instant (TT), degrees

  // --- heliocentric ------------------------------------------------------------
  // Position holds the heliocentric x, y, z and r, b, l; the astrometric
  // geocentric ecliptic place (Geo*: longitude with nutation when the body
  // computes fully); the equatorial vector and right ascension / declination
  // of the astrometric place of date (with nutation when computing fully).
  // The core's magnitude routines read it directly.
  TKeplerPosition Position;
  double HelioVX = 0, HelioVY = 0, HelioVZ = 0;  // AU/day

  // --- geocentric ----------------------------------------------------------------
  double GeometricX = 0, GeometricY = 0, GeometricZ = 0;  // geometric vector, AU
  double GeometricDistance = 0;
  double GeometricLatitude = 0, GeometricLongitude = 0;         // of the geometric vector
  double AstrometricX = 0, AstrometricY = 0, AstrometricZ = 0;  // ecliptic, AU
  // Equatorial places of date: the astrometric one is in Position
  // (RightAscension, Declination) with its distance here; the geometric one
  // beside it.
  double EquatorialDistance = 0;
  double GeometricRightAscension = 0, GeometricDeclination = 0, GeometricEquatorialDistance = 0;

  // --- second equinox (mean equator / ecliptic and equinox of SecondEquinoxT) --
  double SecondRightAscension = 0, SecondDeclination = 0, SecondDistance = 0;  // astrometric
  double SecondHelioLongitude = 0, SecondHelioLatitude = 0;
  double SecondGeoLongitude = 0, SecondGeoLatitude = 0, SecondGeoDistance = 0;

  double LightTime = 0;  // days

  // --- hourly motion (all exactly 0 when no hourly-motion column is on) --------
  double HourlyRightAscension = 0;  // arc seconds per hour, in right ascension (not times cos dec)
  double HourlyDeclination = 0;     // arc seconds per hour
  double HourlyTotal = 0;           // arc seconds per hour, along the great circle
  double HourlyDirection = 0;       // position angle of the motion, [0, 360), north through east

  // --- topocentric --------------------------------------------------------------
  double TopoRightAscension = 0, TopoDeclination = 0, TopoDistance = 0;                    // of the place of date
  double TopoSecondRightAscension = 0, TopoSecondDeclination = 0, TopoSecondDistance = 0;  // second equinox

  // --- horizon --------------------------------------------------------------------
  double HourAngle = 0;  // hours, [0, 24)
  double Altitude = 0;   // degrees (refracted when the observer asks for it)
  double Azimuth = 0;    // degrees from the south through the west

  TRiseSetBlock RiseSet;
  TPhysicalBlock Physical;
  TDarknessBlock Darkness;
  double SunJ2000X = 0, SunJ2000Y = 0, SunJ2000Z = 0;  // Sun table: geocentric equatorial J2000, AU
  TMoonExtraBlock Moon;

  std::array<double, kMoonTableValues> MoonTable{};  // the moon tables
  TSatelliteRowBlock Satellite;                      // the satellite table

  std::uint8_t Integrated = 0;           // 1 on the rows of a numerically integrated table
  float MagnitudeH = 0, MagnitudeG = 0;  // the body's magnitude parameters (element tables)
  std::string Name;                      // at most 40 characters; set only where one table lists many objects
};

}  // namespace kvx
