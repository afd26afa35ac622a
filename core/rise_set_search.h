// Rise, transit and set for one observer and one local calendar day: the
// search shared by the Sun, the Moon, the planets and fixed positions, the
// entry point for a fixed right ascension and declination, the one-shot
// hour-angle estimate and the three-point parabola of the event searches.
// The Sun, Moon and planet entry points need the body theories and are in
// theories/rise_set.h.
//
// Times are local clock hours 0..24 of the day that contains the given
// moment; longitudes are east positive (the body classes pass the negated
// longitude of the observer record). Azimuths follow EquatorialToHorizontal:
// degrees from the south through the west.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

namespace kvx {

// The six altitudes every rise and set caller passes (kept in the settings).
//   [0] centre of a planet or fixed object at rise/set, arc minutes
//   [1] Moon's centre at moonrise/moonset (geocentric), arc minutes
//   [2] Sun's centre at sunrise/sunset, arc minutes
//   [3], [4], [5] the three twilight levels of the Sun, degrees
using TRiseSetAltitudes = std::array<double, 6>;

// Texts of the results. The markers are shown in place of a missing time;
// the status words replace both times when neither crossing happens.
inline constexpr const char* kRiseSetBlank = " ";
inline constexpr const char* kRiseSetMissing = " ---- ";
inline constexpr const char* kRiseSetPolar = " --- ";

// Status words by language byte (0 German, else English) for body events
// (above / below all day) and twilight events (bright / dark all day).
const char* RiseSetVisibleWord(std::uint8_t language);
const char* RiseSetInvisibleWord(std::uint8_t language);
const char* RiseSetBrightWord(std::uint8_t language);
const char* RiseSetDarkWord(std::uint8_t language);

// Duration reported for a body above the horizon (or a twilight level never
// reached) all day: 23 h 59 min = 23.983333 h, not 24.
double RiseSetWholeDayHours();

// Greenwich mean sidereal time in hours, not reduced to 0..24.
// Given:    utHours  UT hours since jd0h
//           jd0h     Julian day (UT) of a 0 h UT
// Returns:  1.0027379093 utHours + GMST at jd0h (IAU 1982 polynomial)
double GreenwichMeanSiderealHours(double utHours, double jd0h);

// Local mean sidereal time, hours 0..24, for a longitude in degrees, east
// positive, and a Greenwich sidereal time in hours.
double LocalMeanSiderealHours(double longitude, double gmst);

// Local mean sidereal time (hours 0..24) at a Julian day of UT, longitude
// east positive: the sidereal clock of the rise and set search.
double SearchSiderealHours(double jd, double longitude);

// Azimuth of a body at a local clock hour.
// Given:    declination degrees; raHours right ascension, hours
//           latitude degrees; hours local clock hours since jd0
//           longitude degrees east positive; jd0 Julian day (UT) of local 0 h
// Returns:  azimuth in degrees from the south through the west, with the
//           apparent sidereal time and no refraction.
double AzimuthAtTime(double declination, double raHours, double latitude, double hours, double longitude, double jd0);

// True when 0 <= a <= 24 and 0 <= b <= 24.
bool BothTimesInDay(double a, double b);

// Extremum of the parabola through (-1, yMinus), (0, y0), (+1, yPlus).
// Returns:  false with xe, ye untouched for a straight line; otherwise
//           xe, ye are written and the result says whether |xe| < 1.
bool ParabolaExtremum(double& xe, double& ye, double yMinus, double y0, double yPlus);

// One-shot rise, transit and set of a fixed position by the hour-angle
// formula (altitude -34', no search, the position's motion ignored).
// Given:    t0          a time, hours
//           lst         local sidereal time at t0, hours
//           latitude    degrees; rightAscension, declination degrees
// Returned: rise, transit, set  hours near t0, wrapped into 0..24 by whole
//           sidereal days (24/1.0027379 h)
//           risesAndSets  false for a circumpolar or never-rising position
//                         (then rise = set = 0; the transit is still valid)
void RiseSetTime(double& rise, double& transit, double& set, double t0, double lst, double latitude,
                 double rightAscension, double declination, std::uint8_t& risesAndSets);

// --- the search shared by every entry point --------------------------------

// What the search needs from one sample at search hour x (the moment
// jd0 + x/24): the sine of the geocentric altitude of the body's centre,
// the hour angle in hours (LMST - RA, not reduced), the declination
// (degrees) and the distance in Earth radii (0 when the sampler does not
// know it: only the Moon's upper-limb level reads it).
struct TRiseSetSample {
  double sinAltitude = 0;
  double hourAngle = 0;
  double declination = 0;
  double distance = 0;
};
using TRiseSetSampler = std::function<TRiseSetSample(double x)>;

// What counts as "up" for one event: worked out once by the caller (from
// its altitudes and switches) and handed to the crossing search and to the
// culmination check, so that neither asks which body it is.
struct TRiseSetEventLevel {
  // sin h0 of the event's rise/set altitude h0.
  double SineOfAltitude = 0;
  // False: the altitude of the body's centre, geocentric. True: the Moon's
  // upper limb seen from the observer, the geocentric altitude h less the
  // horizontal parallax plus the semi-diameter:
  // h - (ArcSinDeg(1/r) - 15.61247778/r) degrees for r Earth radii.
  bool MoonUpperLimb = false;
};

// The level of a body's centre, geocentric, at `altitude` degrees.
TRiseSetEventLevel CentreLevel(double altitude);
// The level of the Moon's upper limb seen from the observer at -34'.
TRiseSetEventLevel MoonUpperLimbLevel();

// Sine of the altitude as `level` measures it, from the sample's sine of
// the geocentric altitude and distance (Earth radii; a distance of 0 or
// less leaves the centre's geocentric sine, as for every level but the
// Moon's upper limb).
double MeasuredSineOfAltitude(const TRiseSetEventLevel& level, const TRiseSetSample& sample);

// The altitude shown at a culmination (degrees, no refraction): the
// centre's altitude on the meridian, ArcSinDeg(SinDeg(90 - latitude +
// declination)) seen from the centre of the Earth; for the Moon's
// upper-limb level, whose rule sees the Moon from the observer, the same
// centre seen from the observer on a spherical Earth of radius 1:
// atan2(r sin h - 1, r cos h) for r Earth radii (distance; 0 or less keeps
// the geocentric value).
// Given:    latitude, declination  degrees (declination apparent, of date)
double CulminationAltitude(const TRiseSetEventLevel& level, double latitude, double declination, double distance);

// The one judge of a culmination for every rise/set search and every
// transit one refines: a culmination at search hour `hours` counts when it
// falls inside the local day (0 <= hours < 24) and the body stands above
// the event's level there, measured as the rise and the set measure it (one
// more sample, taken only for an hour inside the day).
bool CulminationCounts(const TRiseSetEventLevel& level, const TRiseSetSampler& sampler, double hours);

// A refined culmination kept or dropped by CulminationCounts: when it
// counts, `transitAltitude` := CulminationAltitude of the place at the
// refined time (declination, degrees; distance, Earth radii); otherwise
// `transit` and `transitAltitude` := 0.
void KeepCountingCulmination(const TRiseSetEventLevel& level, const TRiseSetSampler& sampler, double latitude,
                             double declination, double distance, double& transit, double& transitAltitude);

// How a search estimates the transit from a sample near the meridian.
enum class TRiseSetTransitRule {
  None,           // twilight levels: no transit
  SunMoon,        // x + 1 - H
  Planet,         // Mod24(x + 1 - 1.0027379 H + 30 s)
  FixedPosition,  // x + 1 - 1.0027379 H + 30 s
};

// The crossings, the transit estimate and the state of the search of one
// event.
struct TRiseSetCrossings {
  bool above = false;  // above the altitude at local 0 h
  bool riseFound = false;
  bool setFound = false;
  bool transitFound = false;
  double rise = 0;  // search hours
  double set = 0;
};

// Samples the altitude every hour from 0 to 24 (two-hour steps with a
// parabola through three samples), measured as `level` measures it, and
// returns the crossings of the level. A transit (rule other than None) is
// estimated when the parabola's extremum lies above the level and the hour
// angle of the step's last sample, taken the short way round, is below 2 h
// (so that a body near 0 h of right ascension does not lose a transit to
// the wrap of the sidereal clock), and is taken when CulminationCounts says
// it counts: a day on which the body stays below the rise/set altitude has
// no transit. The transit time and altitude are written into `transit`
// (hours) and `transitAltitude` (degrees, CulminationAltitude with the
// declination and distance of the step's last sample, or with
// `midnightDeclination` for the Planet rule); an estimate that does not
// count sets the transit time to 0 unless one was found before. The search
// stops when rise, set and transit are found, else after hour 24.
TRiseSetCrossings SearchRiseSetCrossings(const TRiseSetSampler& sampler, const TRiseSetEventLevel& level,
                                         TRiseSetTransitRule rule, double latitude, double midnightDeclination,
                                         double& transit, double& transitAltitude);

// The outputs of one event from its crossings: times, markers, status word
// and duration (body events: time above; twilight: time below, 24 h minus
// the daylight). `azimuthAt` (may be empty: no azimuths) gives the
// azimuth at a search hour of a crossing. Outputs not named keep their
// values (presets).
void FinishRiseSetEvent(const TRiseSetCrossings& crossings, bool twilight, std::uint8_t language,
                        const std::function<double(double)>& azimuthAt, double& riseTime, double& setTime,
                        double& duration, const char*& riseMarker, const char*& setMarker, const char*& statusText,
                        double& riseAzimuth, double& setAzimuth);

// An hour angle (hours) reduced to -12..12, the short way round.
double ReducedHourAngle(double hours);

// Julian day (UT) of local 0 h of the day containing jd for a zone offset
// (local clock minus UT, hours).
double LocalMidnightJd(double jd, double zoneHours);

// The outputs of a one-day rise/set search preset to "none found": times
// 0, azimuths -360, markers and status blank (the transit altitude is the
// caller's).
void PresetRiseSetOutputs(double& riseTime, double& setTime, const char*& riseMarker, const char*& setMarker,
                          const char*& statusText, double& riseAzimuth, double& setAzimuth, double& transitTime);

// Rise, transit and set of a fixed right ascension and declination.
// Given:    altitudes   entry 0 (arc minutes) is the altitude of rise/set
//           language    0 German, else English (status words)
//           unused      not read
//           longitude   degrees east positive; latitude degrees
//           rightAscension, declination  degrees, of the equinox the caller
//                       chose (the position does not move during the day)
//           jd          a Julian day (UT) inside the wanted local day
//           zoneHours   local clock minus UT, hours
// Returned: riseTime, setTime (0 when missing), duration (hours above the
//           altitude; 23.983333 or 0 with the status word when neither
//           crossing happens), transitTime and transitAltitude (0 when the
//           transit falls outside the day or the position stands below
//           the altitude of rise/set then; never refined), riseAzimuth,
//           setAzimuth (-360 when missing), statusText, riseMarker,
//           setMarker (" ---- " for a missing crossing).
// Notes:    at a pole, for a position at a pole, or both within 2' of the
//           poles, the markers are " --- " and nothing is searched.
void RiseSetFixedPosition(const TRiseSetAltitudes& altitudes, std::uint8_t language, const void* unused,
                          double longitude, double latitude, double rightAscension, double declination, double jd,
                          double zoneHours, double& riseTime, double& setTime, double& duration, double& transitTime,
                          double& transitAltitude, double& riseAzimuth, double& setAzimuth, const char*& statusText,
                          const char*& riseMarker, const char*& setMarker);

}  // namespace kvx
