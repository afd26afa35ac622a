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

// Rise and set of the Moon (event 1), the Sun (event 2) and the Sun at the
// three twilight levels (events 3..5) on one local day, firstEvent to
// lastEvent (clamped to 1..5; nothing searched when firstEvent > lastEvent).
// Given:    shortcut      handed to MoonApparentCoordinates / MoonPosition
//           limbFlag      event 1 uses the Moon's upper limb seen from the
//                         observer (parallax and semi-diameter) against -34'
//                         instead of altitudes[1]
//           accurateFlag  non-zero: apparent Sun and Moon of the selected
//                         theories; zero: the low-precision Sun and Moon
//           deltaT        TT - UT, seconds
//           fastMoonFlag  the Moon from the internal series whatever the
//                         selection says
//           altitudes     entries 1..5 (see TRiseSetAltitudes)
//           handles, selection, level  theory set-up
//           language      0 German, else English (status words)
//           bodyCode      10 refines the Moon's transit, else the Sun's
//           jd            a Julian day (UT) inside the wanted local day
//           latitude      degrees, north positive
//           longitude     degrees, EAST POSITIVE
//           zoneHours     local clock minus UT, hours
// Returned: per event (index event - 1): riseTimes, setTimes (local hours,
//           0 when missing), durations (body events: hours above; twilight
//           events: hours of darkness below the level; never preset),
//           riseMarkers, setMarkers (" ---- " for a missing crossing),
//           statusTexts (a status word when neither crossing happens);
//           once for all events: riseAzimuth, setAzimuth (degrees from the
//           south through the west, -360 when missing; a later body event
//           replaces an earlier one's), transitTime, transitAltitude (local
//           hours and degrees; 0 when outside the day).
// Notes:    every result array entry, the transit time and altitude are
//           preset for all five events on entry; the azimuths at the start
//           of each body event. The transit is refined with one more
//           position only when the last event processed found one (so
//           twilight events after event 2 keep its estimate); the hour
//           angle of the refinement is taken the short way round.
void RiseSetMoonSun(std::uint8_t shortcut, std::uint8_t limbFlag, std::uint8_t accurateFlag, double deltaT,
                    std::uint8_t fastMoonFlag, const TRiseSetAltitudes& altitudes, const PositionFileHandles& handles,
                    std::uint8_t language, TTheorySelection selection, std::int32_t firstEvent, std::int32_t lastEvent,
                    std::int32_t bodyCode, double jd, double latitude, double longitude, double zoneHours,
                    TRiseSetTimes& riseTimes, TRiseSetTimes& setTimes, TRiseSetTimes& durations, double& riseAzimuth,
                    double& setAzimuth, TRiseSetTexts& riseMarkers, TRiseSetTexts& setMarkers,
                    TRiseSetTexts& statusTexts, double& transitTime, double& transitAltitude, TTruncationLevel level);

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
//           planet's place at the estimate.
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
