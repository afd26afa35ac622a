// Propagation of one Earth satellite at a time from a two-line element set:
// the SGP4 near-earth model and the SDP4 deep-space model (with lunar-solar
// secular and periodic terms and the 12- and 24-hour resonances) of the
// Spacetrack Report No. 3 series, in WGS-72 constants.
//
// Units inside the models: earth radii (6378.135 km), minutes, radians. The
// output frame is the models' inertial true-equator, mean-equinox frame of
// date (TEME), in which the look-angle routines place the observer by the
// Greenwich mean sidereal angle.
//
// Calling order for one satellite and instant: LoadTwoLineElements (again
// whenever another satellite was loaded in between), SatellitePropagate,
// SatStateToKilometres, then the routines of theories/satellite_look.h.
// All state is global; main thread only.
//
// Reference: F. R. Hoots, R. L. Roehrich, Spacetrack Report No. 3 (1980);
// D. A. Vallado et al., Revisiting Spacetrack Report #3, AIAA 2006-6753 (the
// corrections of the deep-space terms and the error checks used here).
#pragma once

#include <cstdint>
#include <string>

#include "core/vector_math.h"
#include "theories/tle.h"

namespace kvx {

inline constexpr double kSatEarthRadiusKm = 6378.135;  // one earth radius of the models, km

// The loaded element set (one at a time).
struct TSgpElements {
  double meanAnomaly = 0;  // radians
  double node = 0;         // right ascension of the ascending node, radians
  double argPerigee = 0;   // radians
  double inclination = 0;  // radians
  double eccentricity = 0;
  double meanMotion = 0;         // as in the file, radians per minute
  double bstar = 0;              // drag term, per earth radius
  double epoch = 0;              // as read, YYDDD.DDDDDDDD
  double epochJulianDate = 0;    // Julian date of the epoch, UT
  std::int32_t newElements = 0;  // 1 after a load until a model has initialised itself
  std::int32_t deepSpace = 0;    // 1: SDP4 (period of 225 minutes or more), 0: SGP4
};
extern TSgpElements SgpElements;

// Derived constants set by SgpConstants: XKE = sqrt(GM) in earth radii^1.5
// per minute; QOMS2T = ((q0 - s0) / earth radius)^4 of the atmosphere model.
extern double XKE;
extern double QOMS2T;

// Days from Julian date 2433281.5 (1950 January 0.0) to the epoch of the last
// EpochSiderealAngle.
extern double SgpEpochDaysSince1950;

// Result of loading and propagating. Every failure is reported by its code;
// the output vectors are never left holding NaN with kSatOk.
enum TSatelliteError : std::int32_t {
  kSatOk = 0,
  kSatMeanEccentricity = 1,       // mean eccentricity left [-0.001, 1) under drag
  kSatMeanMotion = 2,             // mean motion not positive
  kSatPerturbedEccentricity = 3,  // eccentricity left [0, 1] by the lunar-solar terms
  kSatSemiLatusRectum = 4,        // semi-latus rectum negative
  kSatDecayed = 6,                // radius below one earth radius: the satellite has decayed
  kSatInvalidSet = 7,             // element set out of range: epoch (TleEpochValid), mean motion <= 0 or
                                  // eccentricity outside [0, 1)
  kSatNumericFailure = 8,         // a result that is not a finite number (diverging orbit)
  kSatNoSet = 9,                  // the slot number is outside 1..500
  kSatOutsideSpan = 10,           // a resonant deep-space orbit asked for more than kSatResonanceSpanDays from epoch
  // 11 to 19: a number field of the set is not a finite number, 11 plus the
  // field's TTleNumberField (NonFiniteFieldError); the message names it.
  kSatNonFiniteField = 11,
};

// The error of a set whose number field `field` is not a finite number.
TSatelliteError NonFiniteFieldError(TTleNumberField field);

// How far from its epoch (days, either way) a set with a 12- or 24-hour
// resonance is propagated: its resonance terms are integrated in 720-minute
// steps from the epoch, so the work grows with the distance (a century is
// 73,050 steps). No two-line set means anything a century from its epoch.
inline constexpr double kSatResonanceSpanDays = 36525.0;

// German and English text of an error code, and its message box (error icon)
// naming the satellite.
std::string SatelliteErrorText(TSatelliteError error);
void ShowSatelliteError(TSatelliteError error, const std::string& satelliteName);

// Sets XKE and QOMS2T from the model constants.
void SgpConstants();
// The unit's start-up: SgpConstants (also run at static initialisation).
void SgpUnitInit();

// Converts slot `slot` (1..500) of SatelliteTable into SgpElements, chooses
// the model by the period 2 pi / N of the un-Kozai'd mean motion N (225
// minutes or more: SDP4) and sets the new-elements flag. A set with an epoch
// field that fails TleEpochValid, mean motion <= 0 or eccentricity outside
// [0, 1) gives kSatInvalidSet, one with a number field that is not finite
// (TleNonFiniteField) the field's NonFiniteFieldError; both clear
// SgpElements, so that a later propagation fails too.
TSatelliteError LoadTwoLineElements(int slot);

// Position (earth radii) and velocity (earth radii per minute) of the loaded
// satellite at a Julian date (UT, the time scale of the epoch; no Delta T),
// with minutes since epoch = (julianDate - epoch) * 1440. Runs SDP4 or SGP4 by
// the deep-space flag. On an error the vectors are zero.
TSatelliteError SatellitePropagate(TVectorXYZR& position, TVectorXYZR& velocity, double julianDate);

// The two models: `newElements` set makes the model initialise itself from
// SgpElements first (and clears it). `minutes` since epoch, negative before it.
TSatelliteError Sgp4Propagate(std::int32_t& newElements, TVectorXYZR& position, TVectorXYZR& velocity, double minutes);
TSatelliteError Sdp4Propagate(std::int32_t& newElements, TVectorXYZR& position, TVectorXYZR& velocity, double minutes);

// Position to km (times 6378.135) and velocity to km per second (times
// 6378.135 / 60), with the length of each vector set.
void SatStateToKilometres(TVectorXYZR& position, TVectorXYZR& velocity);

// Julian date of January 0.0 of a Gregorian year (2008 gives 2454465.5).
double JulianDateOfYear(double year);
// Julian date of an epoch YYDDD.DDDDDDDD (years below 57 are 20YY, else 19YY).
double JulianDateOfEpoch(double epoch);
// Greenwich mean sidereal angle (IAU 1982), radians in [0, 2 pi), of a Julian date (UT).
double GreenwichSiderealAngle(double julianDate);
// The same for an epoch YYDDD.DDDDDDDD; also sets SgpEpochDaysSince1950.
double EpochSiderealAngle(double epoch);

}  // namespace kvx
