// Reference frames and reductions: precession, mean obliquity, nutation,
// annual aberration, the FK5 correction, the observer's geocentric place,
// topocentric parallax, horizontal coordinates with refraction, galactic
// coordinates, angular separation and the three-point parabola of the
// searches.
//
// Free routines without state. Angles are doubles in degrees unless said;
// times are Julian centuries T from J2000 of dynamical time. Matrices are
// TMatrix33 (core/vector_math.h), applied to column vectors.
#pragma once

#include <cstdint>

#include "core/vector_math.h"

namespace kvx {

// ---------------------------------------------------------------------------
// Obliquity and nutation.

// Mean obliquity of the ecliptic of date, degrees, for T (TT). Laskar's
// polynomial of degree 10 in U = T/100 (valid for |U| < 1), evaluated by
// Horner's rule with U, the coefficients and every partial sum rounded to
// the 6-byte real type.
double MeanObliquity(double t);

// Nutation in longitude (dpsi) and in obliquity (deps), radians, for T (TT).
// IAU 1980 theory truncated to its 63 terms of at least 0.0003" (the
// dropped terms add up to a few milliarcseconds).
void NutationAngles(double& dpsi, double& deps, double t);

// s[k] = sin(k a), c[k] = cos(k a) for k = 1..n by the addition theorem
// (a in radians). Both arrays need n + 1 elements; element 0 is set to
// sin 0 and cos 0.
void SinCosMultiples(int n, double s[], double c[], double a);

// Nutation in longitude in degrees as result; deps receives the nutation
// in obliquity in degrees. T as NutationAngles.
double NutationDegrees(double& deps, double t);
// The same from the radians NutationAngles gave (for a caller that needs
// both): the nutation in longitude in degrees as result, depsDegrees the
// nutation in obliquity in degrees.
double NutationAnglesToDegrees(double& depsDegrees, double dpsi, double deps);

// ---------------------------------------------------------------------------
// Precession.

// Matrix carrying equatorial rectangular coordinates referred to the mean
// equator and equinox of T1 to those of T2 (IAU 1976 precession, Lieske's
// angles zeta, z, theta). T1 = T2 gives the identity.
void PrecessionMatrixEquatorial(TMatrix33& M, double t1, double t2);
// The same for ecliptic rectangular coordinates (mean ecliptic and equinox
// of T1 to those of T2), from Lieske's angles eta, Pi, p.
void PrecessionMatrixEcliptic(TMatrix33& M, double t1, double t2);
// Extended-precision twin of PrecessionMatrixEcliptic.
void EclipticPrecessionMatrix(TMatrix33Ext& M, double t1, double t2);
// Equatorial precession from the mean equinox of 1950.0 to T with the older
// (Newcomb) constants; T = -0.5 gives the identity.
void PrecessionMatrixNewcomb(TMatrix33& M, double t);

// Rotation of rectangular coordinates about the x axis by the mean
// obliquity of T, ecliptic to equatorial and back; x is unchanged.
void EclipticToEquatorial(double& x, double& y, double& z, double t);
void EquatorialToEcliptic(double& x, double& y, double& z, double t);
// The same rotation with the sine and cosine of the mean obliquity of t given
// (x is unchanged and not passed).
void EquatorialToEclipticBy(double& y, double& z, double sinEps, double cosEps);
// EquatorialToEcliptic for extended variables (computed in doubles).
void EquatorialToEclipticExtended(long double& x, long double& y, long double& z, double t);
// Equatorial to ecliptic in extended precision with the IAU 1980 obliquity
// 23.43929111 - (46.815 T + 0.00059 T^2 - 0.001813 T^3)/3600 degrees; x is
// not changed and passed by value.
void EquatorialToEclipticExt(long double x, long double& y, long double& z, long double t);

// ---------------------------------------------------------------------------
// Nutation applied to positions.

// Adds the nutation of T to equatorial rectangular coordinates of the mean
// equinox of date, to first order (the result is referred to the true
// equator and equinox of date).
void NutationEquatorial(double& x, double& y, double& z, double t);
// The same first-order rotation on a direction: right ascension ra
// (degrees, returned in [0, 360)) and declination dec (degrees); eps is the
// obliquity in degrees supplied by the caller.
void ApplyNutationToDirection(double& ra, double& dec, double t, double eps);

// ---------------------------------------------------------------------------
// Aberration and the FK5 frame.

// Annual aberration added to ra and dec (degrees) for T, with the obliquity
// eps (degrees); the Sun's true longitude and the eccentricity come from
// SunTrueLongitude. Mode 2 includes the elliptic (e-)terms, any other mode
// omits them. Not defined at the celestial poles (division by cos dec).
void AberrationEquatorial(int mode, double& ra, double& dec, double t, double eps);
// The same without e-terms, with the sines and cosines of the obliquity and
// of the Sun's true longitude supplied; t and x are accepted and unused.
// The same first-order aberration (no e-terms) of the place (ra, dec),
// degrees, with the sines and cosines of ra and dec given (as a direction
// vector has them).
void AddAberrationOfDirection(double& ra, double& dec, double sinRa, double cosRa, double sinDec, double cosDec,
                              double sinEps, double cosEps, double sinL, double cosL);
void AberrationFromSunTerms(double& ra, double& dec, double t, double sinEps, double cosEps, double sinL, double cosL,
                            double x);
// Ecliptic longitude L and latitude B (degrees) of the dynamical ecliptic
// and equinox of the planetary theories converted to the FK5 frame.
void FK5Correction(double& l, double& b, double t);

// ---------------------------------------------------------------------------
// Observer, topocentric and horizontal coordinates.

// Geocentric latitude phiC (degrees) and distance rho from the Earth's
// centre (equatorial Earth radii) for the geographic latitude phi (degrees)
// and the height h above sea level (metres).
void GeocentricLatitudeAndRadius(double& phiC, double& rho, double phi, double h);

// Topocentric right ascension ra ([0, 360)), declination dec (degrees) and
// distance dist from the geocentric ra0, dec0 and dist0. phiC is the
// observer's geocentric latitude, lst the local sidereal time in hours and
// k1 * k2 the observer's geocentric distance in the unit of dist0.
void TopocentricFromGeocentric(double& ra, double& dec, double& dist, double ra0, double dec0, double dist0,
                               double phiC, double lst, double k1, double k2);

// Hour angle H (hours, [0, 24)), altitude alt and azimuth az (degrees,
// [0, 360), from the south through the west) for the local sidereal time
// lst (hours), the latitude phi and ra, dec (degrees). With refract the
// altitude is replaced by Refraction(alt, P, temp) (pressure in millibar,
// temperature in degrees Celsius).
void EquatorialToHorizontal(bool refract, double& H, double& alt, double lst, double phi, double ra, double dec,
                            double P, double temp, double& az);

// Apparent altitude (degrees) for the true altitude h (degrees), pressure
// P (millibar) and temperature temp (degrees Celsius): h plus Saemundsson's
// refraction 1.02' / tan(h + 10.3/(h + 5.11)) scaled by P/1010 and
// 283/(273 + temp). Below a true altitude of -2 degrees (the formula has a
// pole near -5.11) no refraction is applied and h is returned.
double Refraction(double h, double P, double temp);
// Lowest true altitude (degrees) that Refraction still corrects.
inline constexpr double kLowestRefractedAltitude = -2.0;

// Altitude (degrees) of ra, dec (degrees) at the MJD (UT) for the latitude
// phi and the longitude lon (degrees, east negative); flag asks for apparent
// sidereal time.
double AltitudeOfObject(std::uint8_t flag, double ra, double dec, double mjd, double phi, double lon);

// X = sin a sin b - cos a cos b cos c, Y = cos b sin c,
// Z = cos a sin b + sin a cos b cos c (a, b, c in degrees), then
// out1 = Mod360(15 s - longitude of (X, Y, Z)) and out2 = its latitude; s in
// hours. With the colatitude (90 - latitude) as a, the altitude as b,
// 180 - azimuth (azimuth from the south through the west) as c and the
// local sidereal time as s it gives right ascension and declination.
void RotateHourAngleFrame(double& out1, double& out2, double a, double b, double c, double s);

// ---------------------------------------------------------------------------
// Galactic coordinates (pole and origin of the B1950 system).

// Galactic longitude l ([0, 360)) and latitude b from ra, dec (degrees).
void EquatorialToGalactic(double& l, double& b, double ra, double dec);
// Right ascension ([0, 360)) and declination from l, b (degrees).
void GalacticToEquatorial(double& ra, double& dec, double l, double b);

// ---------------------------------------------------------------------------
// Separation and interpolation.

// Two positions for AngularSeparation (degrees), in this order.
struct TAngularSeparationRecord {
  double ra1 = 0, ra2 = 0, dec1 = 0, dec2 = 0;
};
// Angle between the two positions, degrees; below 10 arc minutes the plane
// approximation replaces the cosine formula (right ascensions compared the
// short way round). Negative when dec2 > dec1.
double AngularSeparation(const TAngularSeparationRecord& rec);

// Parabola through (-1, ym), (0, y0), (+1, yp): extremum at xe with value
// ye, roots z1 <= z2 and nz, the number of roots within [-1, 1]. When
// exactly one root lies inside, z1 holds it. With no real roots z1 and z2
// are left unchanged and nz is 0. A vanishing curvature is replaced by
// 1e-10.
void QuadraticInterpolation(double ym, double y0, double yp, double& xe, double& ye, double& z1, double& z2, int& nz);

}  // namespace kvx
