#include "theories/rise_set.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/apparent_place_fit.h"
#include "core/frames.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "theories/apparent_sun_moon.h"
#include "theories/low_precision.h"
#include "theories/planet_positions.h"
#include "theories/planet_series.h"
#include "theories/pluto.h"
#include "theories/sun_position.h"

namespace kvx {

tmooncheb* RiseSetMoonCache = nullptr;

namespace {

// Julian centuries of dynamical time for a Julian day of UT.
double CenturiesTT(double jd, double deltaT) { return (jd + deltaT / 86400.0 - 2451545.0) / 36525.0; }

// The body places of one RiseSetMoonSun call.
struct SunMoonPlaces {
  std::uint8_t shortcut;
  std::uint8_t accurate;
  std::uint8_t fastMoon;
  const PositionFileHandles& handles;
  TTheorySelection selection;
  TTruncationLevel level;

  // Right ascension (hours), declination (degrees), distance (Earth radii
  // for the Moon) at T.
  void Place(bool moon, double T, double& raHours, double& dec, double& r) const {
    r = 0;
    if (accurate != 0) {
      double ra = 0;
      if (moon) {
        TTheorySelection moonSelection = selection;
        if (fastMoon != 0) moonSelection.bytes[1] = 0;
        if (fastMoon == 0 && RiseSetMoonCache != nullptr) {
          MoonApparentCoordinatesFromCache(*RiseSetMoonCache, shortcut, moonSelection, T, ra, dec, r, level);
        } else {
          MoonApparentCoordinates(shortcut, handles, moonSelection, T, ra, dec, r, level);
        }
      } else {
        SunApparentCoordinates(shortcut, handles, selection, T, ra, dec, r, level);
      }
      raHours = ra * 0.066666666667;
    } else if (moon) {
      MoonLowPrecision(raHours, dec, r, T);
    } else {
      SunLowPrecision(raHours, dec, T);
    }
  }
};

// The places of one body over one local day from a Chebyshev fit of a few
// places of the theory: the hourly samples of the search, the azimuths and
// the transit read the fit. Over a day a fit of degree 5 (Moon) or 3 (Sun)
// stays within a few milliarcseconds of the theory (the Moon's largest
// terms have periods of two weeks and more), far inside what the search
// resolves, at a quarter of the theory's calls.
class DayPlaceFit {
 public:
  DayPlaceFit(const SunMoonPlaces& places, bool moon, double T0, double T1) {
    const TPlaceAtTime place = [&places, moon](double T, double& ra, double& dec, double& r) {
      double raHours = 0;
      places.Place(moon, T, raHours, dec, r);
      ra = raHours * 15.0;
    };
    ChebyshevFitPlace(place, T0, T1, moon ? kMoonDegree : kSunDegree, ra_, dec_, r_);
  }
  void Place(double T, double& raHours, double& dec, double& r) const {
    raHours = ChebyshevEvaluate(ra_, T) / 15.0;
    dec = ChebyshevEvaluate(dec_, T);
    r = ChebyshevEvaluate(r_, T);
  }

 private:
  static constexpr int kMoonDegree = 5;
  static constexpr int kSunDegree = 3;
  TChebyshevPoly ra_, dec_, r_;
};

// Apparent geocentric right ascension (hours) and declination (degrees) of
// a planet at T: light time and aberration, mean equator of date.
void PlanetPlace(const PositionFileHandles& handles, TTheorySelection selection, TTruncationLevel level,
                 std::int32_t planet, double T, double& raHours, double& dec) {
  TDispatchSun s;
  SunPosition(handles, selection, s.L, T, s.B, s.R, s.X, s.Y, s.Z, s.VX, s.VY, s.VZ, level);
  // Planets 1, 2 and 4 .. 9 only (RiseSetPlanet checks).
  const THeliocentricPlace p = PlanetHeliocentricPlace(handles, level, selection, planet, T);
  TDispatchPlanet d;
  d.L = p.L, d.B = p.B, d.R = p.R;
  d.X = p.X, d.Y = p.Y, d.Z = p.Z;
  PlanetPositionDispatch(handles, level, selection, T, planet, 2, s, d);
  double aX = d.ApparentX, aY = d.ApparentY, aZ = d.ApparentZ;
  EclipticToEquatorial(aX, aY, aZ, T);
  double r = 0, ra = 0;
  CartesianToPolar(r, dec, ra, aX, aY, aZ);
  raHours = ra / 15.0;
}

bool IsSupportedPlanet(std::int32_t planet) { return planet == 1 || planet == 2 || (planet >= 4 && planet <= 9); }

}  // namespace

void RiseSetMoonSun(const TRiseSetMoonSunRequest& request, const PositionFileHandles& handles,
                    TRiseSetMoonSunDay& day) {
  for (int i = 0; i < 5; ++i) {
    day.RiseTimes[i] = 0;
    day.SetTimes[i] = 0;
    day.RiseMarkers[i] = kRiseSetBlank;
    day.SetMarkers[i] = kRiseSetBlank;
    day.StatusTexts[i] = kRiseSetBlank;
  }
  day.TransitTime = 0;
  day.TransitAltitude = 0;
  const std::int32_t firstEvent = std::max(request.FirstEvent, 1);
  const std::int32_t lastEvent = std::min(request.LastEvent, 5);
  if (firstEvent > lastEvent) return;

  const double deltaT = request.DeltaT, latitude = request.Latitude, longitude = request.Longitude;
  const SunMoonPlaces places{request.Shortcut, request.AccurateFlag, request.FastMoonFlag,
                             handles,          request.Selection,    request.Level};
  const double jd0 = LocalMidnightJd(request.Jd, request.ZoneHours);
  const double sinLat = SinDeg(latitude), cosLat = CosDeg(latitude);
  bool lastFoundTransit = false;
  // The theories' places come from a fit over the day, made on first use
  // (the Moon's cache and the low-precision formulas are read directly).
  std::optional<DayPlaceFit> fits[2];
  const bool fitted = request.AccurateFlag != 0;
  const auto placeAt = [&](bool moon, double at, double& raHours, double& dec, double& r, bool makeFit = true) {
    const double T = CenturiesTT(at, deltaT);
    if (!fitted || (moon && request.FastMoonFlag == 0 && RiseSetMoonCache != nullptr) ||
        (!makeFit && !fits[moon ? 1 : 0])) {
      places.Place(moon, T, raHours, dec, r);
      return;
    }
    std::optional<DayPlaceFit>& fit = fits[moon ? 1 : 0];
    if (!fit) fit.emplace(places, moon, CenturiesTT(jd0, deltaT), CenturiesTT(jd0 + 1.0, deltaT));
    fit->Place(T, raHours, dec, r);
  };

  // Each event's level (index: the event number), made once here and handed
  // to its crossing search and to the check of its refined transit.
  std::array<TRiseSetEventLevel, kRiseSetLastTwilightEvent + 1> levels{};
  for (std::int32_t event = firstEvent; event <= lastEvent; ++event) {
    const auto e = static_cast<std::size_t>(event);
    if (event == kRiseSetMoonEvent && request.LimbFlag != 0) {
      levels[e] = MoonUpperLimbLevel();
    } else if (event >= kRiseSetFirstTwilightEvent) {
      levels[e] = CentreLevel(request.Altitudes[e]);  // degrees
    } else {
      levels[e] = CentreLevel(request.Altitudes[e] / 60.0);  // arc minutes
    }
  }
  const auto samplerOf = [&](std::int32_t event) -> TRiseSetSampler {
    const bool moon = event == kRiseSetMoonEvent;
    return [&, moon](double x) {
      const double at = jd0 + x / 24.0;
      double raHours = 0, dec = 0, r = 0;
      placeAt(moon, at, raHours, dec, r);
      TRiseSetSample sample;
      sample.hourAngle = SearchSiderealHours(at, longitude) - raHours;
      sample.declination = dec;
      sample.sinAltitude = SinDeg(dec) * sinLat + CosDeg(dec) * cosLat * CosDeg(15.0 * sample.hourAngle);
      sample.distance = moon ? r : 0.0;  // Earth radii
      return sample;
    };
  };

  for (std::int32_t event = firstEvent; event <= lastEvent; ++event) {
    const int i = event - 1;
    const bool moon = event == kRiseSetMoonEvent;
    const bool twilight = event >= kRiseSetFirstTwilightEvent;
    if (!twilight) {
      day.RiseAzimuth = -360;
      day.SetAzimuth = -360;
    }
    const TRiseSetCrossings crossings =
        SearchRiseSetCrossings(samplerOf(event), levels[static_cast<std::size_t>(event)],
                               twilight ? TRiseSetTransitRule::None : TRiseSetTransitRule::SunMoon, latitude, 0.0,
                               day.TransitTime, day.TransitAltitude);
    std::function<double(double)> azimuthAt;
    if (!twilight) {
      azimuthAt = [&](double hours) {
        double raHours = 0, dec = 0, r = 0;
        placeAt(moon, jd0 + hours / 24.0, raHours, dec, r);
        return AzimuthAtTime(dec, raHours, latitude, hours, longitude, jd0);
      };
    }
    FinishRiseSetEvent(crossings, twilight, request.Language, azimuthAt, day.RiseTimes[i], day.SetTimes[i],
                       day.Durations[i], day.RiseMarkers[i], day.SetMarkers[i], day.StatusTexts[i], day.RiseAzimuth,
                       day.SetAzimuth);
    lastFoundTransit = crossings.transitFound;
  }

  if (!lastFoundTransit) return;
  const bool moon = request.BodyCode == kRiseSetMoonBodyCode;
  const double at = jd0 + day.TransitTime / 24.0;
  double raHours = 0, dec = 0, r = 0;
  placeAt(moon, at, raHours, dec, r, false);
  // The hour angle is taken the short way round, so that a body near 0 h of
  // right ascension does not lose its transit to the wrap of the sidereal
  // clock.
  day.TransitTime -= ReducedHourAngle(SearchSiderealHours(at, longitude) - raHours);
  // The refined transit is judged as the estimate was, by the last event's
  // level.
  KeepCountingCulmination(levels[static_cast<std::size_t>(lastEvent)], samplerOf(lastEvent), latitude, dec,
                          moon ? r : 0.0, day.TransitTime, day.TransitAltitude);
}

void RiseSetPlanet(const TRiseSetAltitudes& altitudes, const PositionFileHandles& handles, std::uint8_t language,
                   double deltaT, TTheorySelection selection, double jd, double longitude, double latitude,
                   std::int32_t planet, double zoneHours, double& riseTime, double& setTime, double& duration,
                   double& transitTime, double& transitAltitude, double& riseAzimuth, double& setAzimuth,
                   const char*& statusText, const char*& riseMarker, const char*& setMarker, TTruncationLevel level) {
  PresetRiseSetOutputs(riseTime, setTime, riseMarker, setMarker, statusText, riseAzimuth, setAzimuth, transitTime);
  transitAltitude = 89;
  if (std::fabs(latitude) == 90 || !IsSupportedPlanet(planet)) return;

  const double jd0 = LocalMidnightJd(jd, zoneHours);
  double ra1 = 0, dec1 = 0, ra2 = 0, dec2 = 0;
  PlanetPlace(handles, selection, level, planet, CenturiesTT(jd0, deltaT), ra1, dec1);
  PlanetPlace(handles, selection, level, planet, CenturiesTT(jd0 + 1.0, deltaT), ra2, dec2);
  double raRate = (ra2 - ra1) / 24.0;
  if (raRate > 0.5) raRate -= 1.0;  // through 0 h of right ascension
  if (raRate < -0.5) raRate += 1.0;
  const double decRate = (dec2 - dec1) / 24.0;

  const double sinLat = SinDeg(latitude), cosLat = CosDeg(latitude);
  const auto placeAt = [&](double x, double& raHours, double& dec) {
    raHours = ra1 + raRate * x;
    dec = dec1 + decRate * x;
  };
  const TRiseSetSampler sampler = [&](double x) {
    double raHours = 0, dec = 0;
    placeAt(x, raHours, dec);
    TRiseSetSample sample;
    sample.hourAngle = SearchSiderealHours(jd0 + x / 24.0, longitude) - raHours;
    sample.declination = dec;
    sample.sinAltitude = SinDeg(dec) * sinLat + CosDeg(dec) * cosLat * CosDeg(15.0 * sample.hourAngle);
    return sample;
  };
  const TRiseSetEventLevel centre = CentreLevel(altitudes[0] / 60.0);
  const TRiseSetCrossings crossings = SearchRiseSetCrossings(sampler, centre, TRiseSetTransitRule::Planet, latitude,
                                                             dec1, transitTime, transitAltitude);
  const auto azimuthAt = [&](double hours) {
    double raHours = 0, dec = 0;
    placeAt(hours, raHours, dec);
    return AzimuthAtTime(dec, raHours, latitude, hours, longitude, jd0);
  };
  FinishRiseSetEvent(crossings, false, language, azimuthAt, riseTime, setTime, duration, riseMarker, setMarker,
                     statusText, riseAzimuth, setAzimuth);

  if (!crossings.transitFound) return;
  const double at = jd0 + transitTime / 24.0;
  double raHours = 0, dec = 0;
  PlanetPlace(handles, selection, level, planet, CenturiesTT(at, deltaT), raHours, dec);
  transitTime = Mod24(transitTime - (SearchSiderealHours(at, longitude) - raHours));
  KeepCountingCulmination(centre, sampler, latitude, dec, 0.0, transitTime, transitAltitude);
}

}  // namespace kvx
