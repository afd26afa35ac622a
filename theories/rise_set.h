// Rise, transit and set of the Sun, the Moon (with the Sun's three twilight
// levels) and the planets for one observer and one local day. The search
// itself, fixed positions and the hour-angle estimate are in
// core/rise_set_search.h.
#pragma once

#include <array>
#include <cstdint>

#include "core/rise_set_search.h"
#include "theories/theory_types.h"

namespace kvx {

// Event numbers of RiseSetMoonSun (index event - 1 in the result arrays).
inline constexpr std::int32_t kRiseSetMoonEvent = 1;
inline constexpr std::int32_t kRiseSetSunEvent = 2;
inline constexpr std::int32_t kRiseSetFirstTwilightEvent = 3;
inline constexpr std::int32_t kRiseSetLastTwilightEvent = 5;
// bodyCode of the Moon (any other value refines the Sun's transit).
inline constexpr std::int32_t kRiseSetMoonBodyCode = 10;

using TRiseSetTimes = std::array<double, 5>;
using TRiseSetTexts = std::array<const char*, 5>;

class tmooncheb;

// While set, the accurate Moon of RiseSetMoonSun (not the fast-Moon one)
// comes from this cache instead of the Moon theory; the Moon tables set it
// around their rise and set searches (ScopedRiseSetMoonCache).
extern tmooncheb* RiseSetMoonCache;
class ScopedRiseSetMoonCache {
 public:
  explicit ScopedRiseSetMoonCache(tmooncheb* cache) : previous_(RiseSetMoonCache) { RiseSetMoonCache = cache; }
  ~ScopedRiseSetMoonCache() { RiseSetMoonCache = previous_; }
  ScopedRiseSetMoonCache(const ScopedRiseSetMoonCache&) = delete;
  ScopedRiseSetMoonCache& operator=(const ScopedRiseSetMoonCache&) = delete;

 private:
  tmooncheb* previous_;
};

// What one RiseSetMoonSun call searches, for whom and with which theories.
struct TRiseSetMoonSunRequest {
  std::uint8_t Shortcut = 0;      // handed to MoonApparentCoordinates / MoonPosition
  std::uint8_t LimbFlag = 0;      // event 1 uses the Moon's upper limb seen from the observer (parallax and
                                  // semi-diameter) against -34' instead of Altitudes[1]
  std::uint8_t AccurateFlag = 0;  // non-zero: apparent Sun and Moon of the selected theories; zero: the
                                  // low-precision Sun and Moon
  double DeltaT = 0;              // TT - UT, seconds
  std::uint8_t FastMoonFlag = 0;  // the Moon from the internal series whatever the selection says
  TRiseSetAltitudes Altitudes{};  // entries 1..5 (see TRiseSetAltitudes)
  std::uint8_t Language = 0;      // 0 German, else English (status words)
  TTheorySelection Selection{};   // theory set-up, with Level
  TTruncationLevel Level = kFullTheory;
  std::int32_t FirstEvent = kRiseSetMoonEvent;  // first and last event searched
  std::int32_t LastEvent = kRiseSetLastTwilightEvent;
  std::int32_t BodyCode = 0;  // kRiseSetMoonBodyCode refines the Moon's transit, else the Sun's
  double Jd = 0;              // a Julian day (UT) inside the wanted local day
  double Latitude = 0;        // degrees, north positive
  double Longitude = 0;       // degrees, EAST POSITIVE
  double ZoneHours = 0;       // local clock minus UT, hours
};

// The results of RiseSetMoonSun, per event (index event - 1) and once for
// all events. Which of them a call presets and which it leaves as the caller
// filled them is told at RiseSetMoonSun.
struct TRiseSetMoonSunDay {
  TRiseSetTimes RiseTimes{};  // local hours, 0 when missing
  TRiseSetTimes SetTimes{};
  TRiseSetTimes Durations{};    // body events: hours above; twilight events: hours of darkness below the level
  TRiseSetTexts RiseMarkers{};  // " ---- " for a missing crossing
  TRiseSetTexts SetMarkers{};
  TRiseSetTexts StatusTexts{};  // a status word when neither crossing happens
  double RiseAzimuth = -360;    // degrees from the south through the west, -360 when missing
  double SetAzimuth = -360;
  double TransitTime = 0;      // local hours, 0 when outside the day
  double TransitAltitude = 0;  // degrees, no refraction (CulminationAltitude of the event's level)
};

// Rise and set of the Moon (event 1), the Sun (event 2) and the Sun at the
// three twilight levels (events 3..5) on one local day, request.FirstEvent
// to request.LastEvent (clamped to 1..5; nothing searched when the first is
// after the last).
// Given:    request   see TRiseSetMoonSunRequest
//           handles   the open position files of the selected theories
// Returned: day       see TRiseSetMoonSunDay; a later body event's
//                     azimuths replace an earlier one's
// Notes:    every result array entry, the transit time and altitude are
//           preset for all five events on entry, except the durations,
//           which are never preset; the azimuths at the start of each body
//           event. The transit is refined with one more position only when
//           the last event processed found one (so twilight events after
//           event 2 keep its estimate); the hour angle of the refinement is
//           taken the short way round. Each event's level (the Moon's
//           upper limb seen from the observer with LimbFlag, else the
//           centre, geocentric, at its altitude) is made once; a transit
//           stands only where CulminationCounts says so by that level (else
//           time and altitude are 0), the refined one as the estimate. The
//           transit altitude is the centre's meridian altitude, seen from
//           the observer for the Moon with LimbFlag (the rule that counts
//           its culmination sees it from there too), else geocentric.
void RiseSetMoonSun(const TRiseSetMoonSunRequest& request, const PositionFileHandles& handles, TRiseSetMoonSunDay& day);

// Rise, transit and set of a planet on one local day.
// Given:    altitudes   entry 0 (arc minutes)
//           handles, selection, level  theory set-up
//           language    0 German, else English
//           deltaT      TT - UT, seconds
//           jd          a Julian day (UT) inside the wanted local day
//           longitude   degrees EAST POSITIVE; latitude degrees
//           planet      1 Mercury, 2 Venus, 4 Mars .. 9 Pluto
//           zoneHours   local clock minus UT, hours
// Returned: as RiseSetFixedPosition; the transit is refined with the
//           planet's place at the estimate, and dropped (0) when the
//           planet stands below the rise/set altitude there.
// Notes:    the apparent place (light time, aberration; no nutation) is
//           computed at local 0 h and 24 h and interpolated linearly in
//           between. At a pole, and for any other planet number, every
//           output keeps its preset (times 0, texts " ", azimuths -360,
//           transit altitude 89).
void RiseSetPlanet(const TRiseSetAltitudes& altitudes, const PositionFileHandles& handles, std::uint8_t language,
                   double deltaT, TTheorySelection selection, double jd, double longitude, double latitude,
                   std::int32_t planet, double zoneHours, double& riseTime, double& setTime, double& duration,
                   double& transitTime, double& transitAltitude, double& riseAzimuth, double& setAzimuth,
                   const char*& statusText, const char*& riseMarker, const char*& setMarker, TTruncationLevel level);

}  // namespace kvx
