#include "core/rise_set_search.h"

#include <cmath>

#include "core/frames.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "core/vector_math.h"

namespace kvx {

namespace {

// Sidereal hours per solar hour as the transit estimates use it.
constexpr double kSiderealRate = 1.0027379;

// 30 seconds of time added to the transit estimates of planets and fixed
// positions (the packed value 0.003 is 0 h 0 m 30 s).
double TransitAllowanceHours() { return DmsPackedToDeg(0.003); }

// One crossing (rise or set) into the outputs: when found, its time and (with
// azimuthAt) its azimuth, else the missing marker. Returns the time, 0 when
// the crossing is missing.
double TakeCrossing(bool found, double hours, const std::function<double(double)>& azimuthAt, double& time,
                    double& azimuth, const char*& marker) {
  if (!found) {
    marker = kRiseSetMissing;
    return 0;
  }
  time = hours;
  if (azimuthAt) azimuth = azimuthAt(hours);
  return hours;
}

}  // namespace

const char* RiseSetVisibleWord(std::uint8_t language) { return language != 0 ? "visible" : "sichtbar"; }
const char* RiseSetInvisibleWord(std::uint8_t language) { return language != 0 ? "invisible" : "unsichtbar"; }
const char* RiseSetBrightWord(std::uint8_t language) { return language != 0 ? "bright  " : "hell    "; }
const char* RiseSetDarkWord(std::uint8_t language) { return language != 0 ? "dark    " : "dunkel  "; }

double RiseSetWholeDayHours() { return DmsPackedToDeg(23.59); }

double GreenwichMeanSiderealHours(double utHours, double jd0h) {
  const double T0 = (JdToMjd(jd0h) - 51544.5) / 36525.0;
  return 1.0027379093 * utHours + 6.697374558 + (8640184.812866 + (0.093104 - 6.2e-6 * T0) * T0) * T0 / 3600.0;
}

double LocalMeanSiderealHours(double longitude, double gmst) { return Mod24(gmst + longitude / 15.0); }

double SearchSiderealHours(double jd, double longitude) {
  const double jd0h = std::trunc(jd - 0.5) + 0.5;
  const double utHours = (jd + 0.5 - std::trunc(jd + 0.5)) * 24.0;
  return LocalMeanSiderealHours(longitude, GreenwichMeanSiderealHours(utHours, jd0h));
}

double AzimuthAtTime(double declination, double raHours, double latitude, double hours, double longitude, double jd0) {
  const double jd = jd0 + hours / 24.0;
  const double lst = LocalSiderealTime(1, JdToMjd(jd), -longitude);
  double H = 0, altitude = 0, azimuth = 0;
  EquatorialToHorizontal(false, H, altitude, lst, latitude, raHours * 15.0, declination, 0.0, 0.0, azimuth);
  return azimuth;
}

bool BothTimesInDay(double a, double b) { return a >= 0 && a <= 24 && b >= 0 && b <= 24; }

bool ParabolaExtremum(double& xe, double& ye, double yMinus, double y0, double yPlus) {
  const double b = yPlus - yMinus;
  const double c = (yPlus - y0) - (y0 - yMinus);
  if (c == 0) return false;
  ye = y0 - b * b / (8.0 * c);
  xe = -b / (2.0 * c);
  return std::fabs(xe) < 1.0;
}

void RiseSetTime(double& rise, double& transit, double& set, double t0, double lst, double latitude,
                 double rightAscension, double declination, std::uint8_t& risesAndSets) {
  const double k = 1.0 / kSiderealRate;
  const auto wrap = [k](double t) {
    if (t < 0) return t + 24.0 * k;
    if (t > 24) return t - 24.0 * k;
    return t;
  };
  double H = Mod360(15.0 * lst - rightAscension) / 15.0;
  if (H > 12) H -= 24;
  if (H < -12) H += 24;
  const double denominator = CosDeg(latitude) * CosDeg(declination);
  double c = 2.0;  // no crossing when the denominator vanishes (a pole)
  if (denominator != 0) c = (SinDeg(-0.5666666666667) - SinDeg(latitude) * SinDeg(declination)) / denominator;
  risesAndSets = std::fabs(c) <= 1.0 ? 1 : 0;
  transit = wrap(t0 - k * H);
  if (risesAndSets != 0) {
    const double H0 = ArcCosDeg(c) / 15.0;
    rise = wrap(wrap(transit - k * H0));
    set = wrap(transit + k * H0);
  } else {
    rise = 0;
    set = 0;
  }
}

TRiseSetEventLevel CentreLevel(double altitude) { return TRiseSetEventLevel{SinDeg(altitude), false}; }

TRiseSetEventLevel MoonUpperLimbLevel() { return TRiseSetEventLevel{SinDeg(-34.0 / 60.0), true}; }

double MeasuredSineOfAltitude(const TRiseSetEventLevel& level, const TRiseSetSample& sample) {
  const double r = sample.distance;
  if (!level.MoonUpperLimb || !(r > 0)) return sample.sinAltitude;
  return SinDeg(ArcSinDeg(sample.sinAltitude) - (ArcSinDeg(1.0 / r) - 15.61247778 / r));
}

double CulminationAltitude(const TRiseSetEventLevel& level, double latitude, double declination, double distance) {
  const double geocentric = ArcSinDeg(SinDeg(90.0 - latitude + declination));
  if (!level.MoonUpperLimb || !(distance > 0)) return geocentric;
  // The observer one Earth radius above the centre, in the plane of the
  // meridian.
  return ArcTan2Deg(distance * SinDeg(geocentric) - 1.0, distance * CosDeg(geocentric));
}

bool CulminationCounts(const TRiseSetEventLevel& level, const TRiseSetSampler& sampler, double hours) {
  if (!(hours >= 0 && hours < 24)) return false;
  return MeasuredSineOfAltitude(level, sampler(hours)) > level.SineOfAltitude;
}

void KeepCountingCulmination(const TRiseSetEventLevel& level, const TRiseSetSampler& sampler, double latitude,
                             double declination, double distance, double& transit, double& transitAltitude) {
  if (CulminationCounts(level, sampler, transit)) {
    transitAltitude = CulminationAltitude(level, latitude, declination, distance);
  } else {
    transit = 0;
    transitAltitude = 0;
  }
}

TRiseSetCrossings SearchRiseSetCrossings(const TRiseSetSampler& sampler, const TRiseSetEventLevel& level,
                                         TRiseSetTransitRule rule, double latitude, double midnightDeclination,
                                         double& transit, double& transitAltitude) {
  TRiseSetCrossings c;
  const double s0 = level.SineOfAltitude;
  double yMinus = MeasuredSineOfAltitude(level, sampler(0)) - s0;
  c.above = yMinus > 0;
  // Search hours 1, 3, ..., 23: twelve steps over samples 0..24.
  for (int x = 1; x < 25; x += 2) {
    const double y0 = MeasuredSineOfAltitude(level, sampler(x)) - s0;
    const TRiseSetSample last = sampler(x + 1);
    const double yPlus = MeasuredSineOfAltitude(level, last) - s0;
    double xe = 0, ye = 0, z1 = 0, z2 = 0;
    int roots = 0;
    QuadraticInterpolation(yMinus, y0, yPlus, xe, ye, z1, z2, roots);
    if (roots == 1) {
      if (yMinus < 0) {
        c.rise = x + z1;
        c.riseFound = true;
      } else {
        c.set = x + z1;
        c.setFound = true;
      }
    } else if (roots == 2) {
      if (ye < 0) {
        c.rise = x + z2;
        c.set = x + z1;
      } else {
        c.rise = x + z1;
        c.set = x + z2;
      }
      c.riseFound = true;
      c.setFound = true;
    }
    const double H = ReducedHourAngle(last.hourAngle);
    if (rule != TRiseSetTransitRule::None && ye > 0 && std::fabs(H) < 2.0) {
      // The parabola of a step that ends short of the meridian has its
      // vertex beyond the step, and its height there is an extrapolation:
      // the culmination is judged at the estimate itself.
      double t = x + 1 - H;
      double declination = last.declination;
      if (rule == TRiseSetTransitRule::Planet) {
        t = Mod24(x + 1 - kSiderealRate * H + TransitAllowanceHours());
        declination = midnightDeclination;
      } else if (rule == TRiseSetTransitRule::FixedPosition) {
        t = x + 1 - kSiderealRate * H + TransitAllowanceHours();
      }
      if (CulminationCounts(level, sampler, t)) {
        transit = t;
        transitAltitude = CulminationAltitude(level, latitude, declination, last.distance);
        c.transitFound = true;
      } else if (!c.transitFound) {
        transit = 0;
      }
    }
    yMinus = yPlus;
    if (c.riseFound && c.setFound && c.transitFound) break;
  }
  return c;
}

void FinishRiseSetEvent(const TRiseSetCrossings& crossings, bool twilight, std::uint8_t language,
                        const std::function<double(double)>& azimuthAt, double& riseTime, double& setTime,
                        double& duration, const char*& riseMarker, const char*& setMarker, const char*& statusText,
                        double& riseAzimuth, double& setAzimuth) {
  if (!crossings.riseFound && !crossings.setFound) {
    riseMarker = kRiseSetMissing;
    setMarker = kRiseSetMissing;
    if (crossings.above) {
      statusText = twilight ? RiseSetBrightWord(language) : RiseSetVisibleWord(language);
      duration = twilight ? 0.0 : RiseSetWholeDayHours();
    } else {
      statusText = twilight ? RiseSetDarkWord(language) : RiseSetInvisibleWord(language);
      duration = twilight ? RiseSetWholeDayHours() : 0.0;
    }
    return;
  }
  const double rise = TakeCrossing(crossings.riseFound, crossings.rise, azimuthAt, riseTime, riseAzimuth, riseMarker);
  const double set = TakeCrossing(crossings.setFound, crossings.set, azimuthAt, setTime, setAzimuth, setMarker);
  if (BothTimesInDay(set, rise)) {
    duration = Mod24(set - rise);
    if (twilight) duration = 24.0 - duration;
  }
}

double ReducedHourAngle(double hours) {
  double h = std::fmod(hours, 24.0);
  if (h >= 12.0) h -= 24.0;
  if (h < -12.0) h += 24.0;
  return h;
}

double LocalMidnightJd(double jd, double zoneHours) {
  return std::trunc(jd + zoneHours / 24.0 - 0.5) + 0.5 - zoneHours / 24.0;
}

void PresetRiseSetOutputs(double& riseTime, double& setTime, const char*& riseMarker, const char*& setMarker,
                          const char*& statusText, double& riseAzimuth, double& setAzimuth, double& transitTime) {
  riseTime = 0;
  setTime = 0;
  riseMarker = kRiseSetBlank;
  setMarker = kRiseSetBlank;
  statusText = kRiseSetBlank;
  riseAzimuth = -360;
  setAzimuth = -360;
  transitTime = 0;
}

void RiseSetFixedPosition(const TRiseSetAltitudes& altitudes, std::uint8_t language, const void* /*unused*/,
                          double longitude, double latitude, double rightAscension, double declination, double jd,
                          double zoneHours, double& riseTime, double& setTime, double& duration, double& transitTime,
                          double& transitAltitude, double& riseAzimuth, double& setAzimuth, const char*& statusText,
                          const char*& riseMarker, const char*& setMarker) {
  PresetRiseSetOutputs(riseTime, setTime, riseMarker, setMarker, statusText, riseAzimuth, setAzimuth, transitTime);
  transitAltitude = 0;

  const double nearPole = DmsPackedToDeg(89.58);
  if (std::fabs(declination) == 90 || std::fabs(latitude) == 90 ||
      (std::fabs(declination) > nearPole && std::fabs(latitude) > nearPole)) {
    riseMarker = kRiseSetPolar;
    setMarker = kRiseSetPolar;
    return;
  }

  const double jd0 = LocalMidnightJd(jd, zoneHours);
  const double raHours = rightAscension / 15.0;
  const double sinLat = SinDeg(latitude), cosLat = CosDeg(latitude);
  const double sinDec = SinDeg(declination), cosDec = CosDeg(declination);
  const TRiseSetSampler sampler = [&](double x) {
    TRiseSetSample s;
    s.hourAngle = SearchSiderealHours(jd0 + x / 24.0, longitude) - raHours;
    s.sinAltitude = sinDec * sinLat + cosDec * cosLat * CosDeg(15.0 * s.hourAngle);
    s.declination = declination;
    return s;
  };
  const TRiseSetCrossings crossings =
      SearchRiseSetCrossings(sampler, CentreLevel(altitudes[0] / 60.0), TRiseSetTransitRule::FixedPosition, latitude,
                             declination, transitTime, transitAltitude);
  const auto azimuthAt = [&](double hours) {
    return AzimuthAtTime(declination, raHours, latitude, hours, longitude, jd0);
  };
  FinishRiseSetEvent(crossings, false, language, azimuthAt, riseTime, setTime, duration, riseMarker, setMarker,
                     statusText, riseAzimuth, setAzimuth);
}

}  // namespace kvx
