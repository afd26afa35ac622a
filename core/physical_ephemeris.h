// Physical ephemeris of the Sun, the planets and asteroids: magnitude,
// elongation and phase, apparent diameters and defect of illumination,
// Saturn's rings, poles and prime meridians, central meridians, sub-Earth and
// sub-solar points, position angles of the axis and of the bright limb; and
// the Moon's librations and axis position angle used by the Moon's physical
// ephemeris.
//
// Angles in degrees, distances in AU, times in Julian centuries T from J2000
// unless said. Positions are those of the ecliptic and equator of date.
#pragma once

#include <string>

#include "core/observer_record.h"
#include "core/position_blocks.h"
#include "core/vector_math.h"

namespace kvx {

// Result of PlanetMagnitude and AsteroidMagnitudeHG. The unnamed slots keep
// the order of the record that the tables embed; nothing here writes them.
struct PlanetPhysicalRecord {
  double elongation = 0;  // angle Sun-Earth-body, [0, 180]
  double unused1 = 0;
  double sideAngle = 0;  // lambda - lambda(Sun), [0, 360) (geocentric ecliptic longitudes)
  double unused2 = 0;
  double phaseAngle = 0;  // angle Sun-body-Earth, [0, 180]
  double unused3 = 0;
  double ringMajor = 0;      // Saturn: major axis of the outer ring, arcseconds; else 0
  double ringMinor = 0;      // Saturn: its minor axis, arcseconds; else 0
  double polarDiameter = 0;  // arcseconds
  // Equatorial diameter, arcseconds; for the Sun the semidiameter in degrees.
  double diameter = 0;
  double illuminatedFraction = 0;  // 0..1; 1 for the Sun
  double unused4 = 0;
  double defect = 0;           // defect of illumination, arcseconds
  double brightLimbAngle = 0;  // position angle of the bright limb from the Sun's ecliptic place, [0, 360)
  double axisAngle = 0;        // position angle of the rotation axis, (-180, 180]
  double subEarthLatC = 0;     // planetocentric latitude of the sub-Earth point
  double subEarthLatG = 0;     // planetographic latitude of the sub-Earth point
  // Longitude of the sub-Earth point in system I (the only system of most
  // bodies; for the Sun the heliographic longitude), [0, 360).
  double centralMeridian1 = 0;
  double unused5 = 0, unused6 = 0, unused7 = 0;
  double centralMeridian2 = 0;  // Jupiter: system II; Saturn: system III
  double centralMeridian3 = 0;  // Jupiter: system III; Saturn: system III
  double magnitude = 0;         // apparent visual magnitude
  double unused8 = 0, unused9 = 0, unused10 = 0;
  double brightLimbAngle2 = 0;  // position angle of the bright limb from the Sun's RA and Dec, [0, 360)
  double unused11 = 0;
  double subSolarLatC = 0;  // planetocentric latitude of the sub-solar point
  double subSolarLatG = 0;  // planetographic latitude of the sub-solar point
  double subSolarLon1 = 0;  // longitude of the sub-solar point, systems I, II, III
  double subSolarLon2 = 0;
  double subSolarLon3 = 0;
  // "East"/"West" (English) or "Ost"/"West" (German): east of the Sun when
  // sin(sideAngle) > 0. Empty for the Sun.
  std::string sideText;
};

// Body index of PlanetMagnitude: 0 Sun, 1 Mercury .. 9 Pluto, 11 asteroid.
inline constexpr int kBodySun = 0;
inline constexpr int kBodyAsteroid = 11;

// Fills the physical ephemeris of the Sun (body 0) or a planet (1..9).
// Given body; observer: a completed observer record (Mjd of UT, Centuries,
// DeltaTSeconds, the Sun's ecliptic longitude, latitude and rectangular
// place, its apparent right ascension and declination); position: the body's
// heliocentric and geocentric place of date.
// Returned rec: every named field but the asteroid magnitude slot.
// Notes: the planet magnitudes are the classical formulas of the Astronomical
// Almanac as given by Meeus; the rotation elements are the IAU values (1991)
// at the time the light left the planet.
void PlanetMagnitude(int body, const TObserverRecord& observer, const TKeplerPosition& position,
                     PlanetPhysicalRecord& rec);

// Phase geometry of a body: elongation, side, phase angle, illuminated
// fraction and the bright limb from the Sun's apparent RA and Dec; for body 11
// (an asteroid) also the magnitude from the absolute magnitude H and the slope
// parameter G (IAU H,G system; G = 0 or an undefined phase function give the
// linear law H + 5 log(r Delta) + 0.023 i).
void AsteroidMagnitudeHG(int body, const TObserverRecord& observer, const TKeplerPosition& position, double H, double G,
                         PlanetPhysicalRecord& rec);
// Single values of AsteroidMagnitudeHG, each the one it gives: the side
// angle (the body's geocentric longitude less the Sun's, [0, 360)) and the
// magnitude of an asteroid (body 11).
double SunSideAngle(const TObserverRecord& observer, const TKeplerPosition& position);
double AsteroidMagnitudeOnly(const TObserverRecord& observer, const TKeplerPosition& position, double H, double G);

// Pole and prime meridian of a body (IAU 1991).
// Given poleIndex: 0 Mercury .. 7 Neptune, 8 Pluto (and the Sun, see
// PlanetTableIndex); system: 0, 1, 2 (Jupiter's systems I, II, III; Saturn's I
// and III twice); M: a rotation applied to the pole when applyMatrix is true;
// T: Julian centuries (TDB) at the planet.
// Returned ra0, dec0: pole, degrees (equator of J2000, or rotated by M); W:
// prime meridian, degrees in (-360, 360) (whole turns removed toward zero;
// not written for a system the body does not have); retrograde: true for
// Venus, Uranus and Pluto.
void PlanetPoleAndMeridian(int poleIndex, int system, const TMatrix33& M, double T, bool applyMatrix, double& ra0,
                           double& dec0, double& W, bool& retrograde);

// Planetocentric point under the direction D = (x, y, z) seen from the body
// (the sub-Earth point for D = Earth-to-body, the sub-solar point for
// D = Sun-to-body), in the frame of the pole.
// Given retrograde; x, y, z; ra0, dec0, W (degrees); f, the flattening.
// Returned Rx, Ry, Rz: the unit pole vector; lon: longitude in [0, 360)
// (west longitude for direct rotation); latG, latC: planetographic and
// planetocentric latitude (degrees).
void PlanetocentricSubPoint(bool retrograde, double& Rx, double& Ry, double& Rz, double x, double y, double z,
                            double ra0, double dec0, double W, double f, double& lon, double& latG, double& latC);

// Position angle (degrees, [0, 360), from north through east) of the
// direction R = (Rx, Ry, Rz) seen at the place of the direction (x, y, z).
double PolePositionAngle(double x, double y, double z, double Rx, double Ry, double Rz);

// Elongation of an object from the Sun (degrees) and its side.
// Given ra, dec: the object's place (degrees, equator of date); observer: a
// completed record (T and the Sun's ecliptic longitude).
// Returned side: "East"/"Ost" or "West".
double SunElongationSide(std::string& side, double ra, double dec, const TObserverRecord& observer);

// Mean anomaly of the Sun (degrees, [0, 360)) for the Julian day JD, counted
// from 1900.
double SunMeanAnomaly1900(double JD);

// Arguments of the lunar librations, all degrees; T in Julian centuries.
struct TLunarArguments {
  double T = 0;
  double Omega = 0;     // mean longitude of the ascending node
  double D = 0;         // mean elongation
  double M = 0;         // the Sun's mean anomaly
  double Mprime = 0;    // the Moon's mean anomaly
  double F = 0;         // argument of latitude
  double DeltaPsi = 0;  // nutation in longitude, arcseconds
};

// Physical libration terms rho, sigma, tau (degrees).
struct TPhysicalLibration {
  double rho = 0;
  double sigma = 0;
  double tau = 0;
};

// Inclination of the Moon's equator to the ecliptic, degrees.
inline constexpr double kMoonEquatorInclination = 1.54242;

// Physical libration terms for the arguments.
TPhysicalLibration PhysicalLibrationTerms(const TLunarArguments& args);

// Total (optical and physical) libration of the Moon.
// Given args; lambda, beta: the Moon's apparent geocentric (or topocentric)
// ecliptic longitude and latitude of date.
// Returned l, b: libration in longitude and latitude, degrees; physical: the
// physical terms used.
void LunarLibration(double& l, double& b, const TLunarArguments& args, double lambda, double beta,
                    TPhysicalLibration* physical = nullptr);

// Position angle of the Moon's axis (degrees).
// Given args; b: libration in latitude (degrees); alpha: the Moon's right
// ascension (degrees).
void MoonAxisPositionAngle(double& P, const TLunarArguments& args, double b, double alpha);

}  // namespace kvx
