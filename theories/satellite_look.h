// What an observer sees of a propagated satellite (theories/sgp4.h, state in
// km): the observer's own state in the models' frame, azimuth, elevation,
// range and range rate with optional refraction, topocentric right ascension
// and declination, the sub-satellite point and the Earth-shadow test with the
// Sun vector it used.
//
// Units: radians, kilometres, seconds. Ellipsoid WGS-72 (equatorial radius
// 6378.135 km, flattening 1/298.26). Frame: the models' true-equator,
// mean-equinox frame of date, turned to the Earth by the Greenwich mean
// sidereal angle (GreenwichSiderealAngle). Every Julian date is UT, the one
// given to SatellitePropagate. The result flags and the Sun vector are
// globals that keep the result of the last call; main thread only.
#pragma once

#include <cstdint>

#include "core/vector_math.h"

namespace kvx {

// The observer of the satellite routines.
struct TSatObserver {
  double latitude = 0;   // geodetic, radians, north positive
  double longitude = 0;  // east, radians, 0..2 pi
  double height = 0;     // above the ellipsoid, km
  double sidereal = 0;   // local sidereal angle, radians; written by SatelliteObserverState
};

// The sub-satellite point.
struct TSatGeodetic {
  double latitude = 0;        // geodetic, radians
  double longitude = 0;       // east, radians, 0..2 pi
  double height = 0;          // above the ellipsoid, km
  double rightAscension = 0;  // of the position vector in the model frame, radians, (-pi/2, 3 pi/2]
};

// One observation: azimuth (0..2 pi from north through east) and elevation,
// or right ascension (0..2 pi) and declination, all radians; range in km and
// range rate in km/s (positive when the distance grows).
struct TSatObservation {
  double azimuth = 0;
  double elevation = 0;
  double range = 0;
  double rangeRate = 0;
};

// 1 when the last SatelliteTopocentric returned an elevation of 0 or more.
extern std::uint8_t SatelliteAboveHorizon;
// 1 when the last SatelliteInShadow found the satellite inside the shadow cone.
extern std::uint8_t SatelliteEclipsed;
// Geocentric Sun vector (km, with its length) of the last SatelliteInShadow.
extern TVectorXYZR LastSunVector;

// The observer from a place: latitude in degrees (north positive), longitude
// in degrees counted positive to the WEST as in the observer record, height
// in metres. The sidereal field is left for SatelliteObserverState.
void SatObserverFromPlace(TSatObserver& observer, double latitudeDeg, double longitudeWestDeg, double heightM);

// Observer position (km) and velocity (km/s, from the Earth's rotation) in
// the model frame at a Julian date; stores the local sidereal angle.
void SatelliteObserverState(TSatObserver& observer, TVectorXYZR& position, TVectorXYZR& velocity, double julianDate);

// Geodetic point below a satellite position (km) at a Julian date. The
// latitude iteration stops at 1e-10 radians or after 50 steps.
void SatelliteSubPoint(const TVectorXYZR& position, TSatGeodetic& subPoint, double julianDate);

// Azimuth, elevation, range and range rate of a geocentric position (km) and
// velocity (km/s) for the observer; with `refraction` the elevation is raised
// by the refraction of the air. Sets SatelliteAboveHorizon; below the horizon
// the unrefracted elevation is returned.
void SatelliteTopocentric(const TVectorXYZR& position, const TVectorXYZR& velocity, const TSatObserver& observer,
                          double julianDate, TSatObservation& observation, bool refraction);

// As SatelliteTopocentric; above the horizon azimuth and elevation are then
// replaced by the topocentric right ascension and declination (model frame).
void SatelliteLookAngles(const TVectorXYZR& position, const TVectorXYZR& velocity, const TSatObserver& observer,
                         double julianDate, TSatObservation& observation, bool refraction);

// Topocentric right ascension (0..2 pi) and declination, radians, of the
// direction an observation's azimuth and elevation give, turned by the
// observer's local sidereal angle at the Julian date. Unlike
// SatelliteLookAngles it answers below the horizon too.
void SatelliteRaDecFromLook(const TSatObservation& look, const TSatObserver& observer, double julianDate,
                            double& rightAscension, double& declination);

// Difference ET - UT in seconds for a (fractional) year, the model's fit.
double DeltaET(double year);

// Low-precision geocentric apparent Sun (km, true equator and equinox of
// date) at a Julian date (UT), with its length.
void SunVectorForShadow(TVectorXYZR& sun, double julianDate);

// Earth-shadow test of a satellite position (km) at a Julian date: the
// distance of the satellite from the Earth-Sun line minus the radius of the
// shadow cone there, km (negative inside). Sets SatelliteEclipsed (only on the
// night side) and LastSunVector.
double SatelliteInShadow(const TVectorXYZR& position, double julianDate);

}  // namespace kvx
