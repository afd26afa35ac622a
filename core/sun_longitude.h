// The Sun's true longitude, the light-time displacement of geocentric
// positions and the apparent place of the Sun.
//
// Angles in degrees, distances in astronomical units, T in Julian centuries
// from J2000 (TT).
#pragma once

namespace kvx {

// The Sun's true geometric longitude (degrees, mean equinox of date, not
// reduced to [0, 360)) and the eccentricity of the Earth's orbit, from
// polynomials in T with the equation of the centre to e^3.
void SunTrueLongitude(double& longitude, double& eccentricity, double t);

// Time derivative of the vector r (cos b cos a, cos b sin a, sin b) for
// a = longitude and b = latitude (degrees): the angle rates in radians per
// unit of time, rRate in r's unit per unit of time.
void SphericalRateToRectangular(double& vx, double& vy, double& vz, double longitude, double latitude, double r,
                                double longitudeRate, double latitudeRate, double rRate);

// Velocity of the Sun's geocentric position (AU per day, ecliptic
// rectangular of date), minus the Earth's heliocentric velocity: the
// Sun's apparent motion on the Kepler ellipse, longitude rate n (1 + 2 e cos M)
// and distance rate a e n sin M (n = 0.0172 rad/day, e = 0.0167, M the mean
// anomaly at T), latitude rate 0, at its longitude, latitude (degrees) and
// distance (AU) from the caller's theory. Good to about 1e-3 of the speed:
// the Moon's pull on the Earth and the terms in e squared are left out.
void SunApparentVelocity(double& vx, double& vy, double& vz, double t, double sunLongitude, double sunLatitude,
                         double sunDistance);

// Displacement (AU, ecliptic rectangular of date) of a geocentric position
// through the Earth's motion during the light time of a body at
// bodyDistance (AU): SunApparentVelocity times the light time. Callers
// subtract the vector from the body's geocentric rectangular position (the
// first-order annual aberration).
void LightTimeDisplacement(double& dx, double& dy, double& dz, double t, double sunLongitude, double sunLatitude,
                           double sunDistance, double bodyDistance);

// Apparent right ascension (degrees, [0, 360)) and declination (degrees) of
// the Sun, true equator and equinox of date, from its geometric geocentric
// ecliptic longitude, latitude (degrees, mean equinox of date) and distance
// (AU). The Sun's position itself comes from the caller's theory.
void ApparentSunEquatorial(double& rightAscension, double& declination, double longitude, double latitude,
                           double distance, double t);

}  // namespace kvx
