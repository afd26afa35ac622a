#include "theories/rise_set.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "core/observer_record.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "support/fixtures.h"
#include "theories/apparent_sun_moon.h"

namespace kvx {
namespace {

constexpr double kMinute = 1.0 / 60.0;
// Planet/fixed -34', Moon centre +8' (geocentric), Sun centre -50',
// twilight -6, -12, -18 degrees.
const TRiseSetAltitudes kAltitudes = {-34.0, 8.0, -50.0, -6.0, -12.0, -18.0};

TTheorySelection InternalTheories() {
  TTheorySelection s;
  s.bytes[0] = 0;
  s.bytes[1] = 0;
  return s;
}

// Every output of one RiseSetMoonSun call, pre-filled with junk so that
// presets and untouched outputs show.
struct SunMoonDay {
  TRiseSetTimes rise, set, duration;
  TRiseSetTexts riseMarker, setMarker, status;
  double riseAzimuth = 777, setAzimuth = 777, transit = 777, transitAltitude = 777;

  SunMoonDay() {
    rise.fill(555);
    set.fill(555);
    duration.fill(555);
    riseMarker.fill("junk");
    setMarker.fill("junk");
    status.fill("junk");
  }

  void Run(int first, int last, int bodyCode, double jd, double latitude, double longitude, double zone,
           double deltaT, std::uint8_t limb = 0, std::uint8_t accurate = 1,
           TTheorySelection selection = InternalTheories(), std::uint8_t fastMoon = 0, std::uint8_t language = 0) {
    PositionFileHandles handles{};
    TRiseSetMoonSunDay day{rise, set, duration, riseMarker, setMarker, status, riseAzimuth, setAzimuth, transit,
                           transitAltitude};
    RiseSetMoonSun({0, limb, accurate, deltaT, fastMoon, kAltitudes, language, selection, kFullTheory, first, last,
                    bodyCode, jd, latitude, longitude, zone},
                   handles, day);
    rise = day.RiseTimes, set = day.SetTimes, duration = day.Durations;
    riseMarker = day.RiseMarkers, setMarker = day.SetMarkers, status = day.StatusTexts;
    riseAzimuth = day.RiseAzimuth, setAzimuth = day.SetAzimuth;
    transit = day.TransitTime, transitAltitude = day.TransitAltitude;
  }
};

struct PlanetDay {
  double rise = 555, set = 555, duration = 555, transit = 555, transitAltitude = 555;
  double riseAzimuth = 555, setAzimuth = 555;
  const char* status = "junk";
  const char* riseMarker = "junk";
  const char* setMarker = "junk";

  void Run(int planet, double jd, double latitude, double longitude, double zone, double deltaT) {
    PositionFileHandles handles{};
    RiseSetPlanet(kAltitudes, handles, 0, deltaT, InternalTheories(), jd, longitude, latitude, planet, zone, rise,
                  set, duration, transit, transitAltitude, riseAzimuth, setAzimuth, status, riseMarker, setMarker,
                  kFullTheory);
  }
};

// Meeus, Astronomical Algorithms, example 15.a: Venus at Boston on
// 1988 March 20, h0 = -34': rise 12h25m, transit 19h41m, set 2h55m UT.
TEST(RiseSetTest, VenusAtBoston) {
  PlanetDay day;
  const double jd = CalendarDateToJd(20, 3, 1988, 12);
  day.Run(2, jd, 42.3333, -71.0833, 0, 56);
  EXPECT_STREQ(day.riseMarker, " ");
  EXPECT_STREQ(day.setMarker, " ");
  EXPECT_STREQ(day.status, " ");
  EXPECT_NEAR(day.rise, 12 + 25.0 / 60, 1 * kMinute);
  EXPECT_NEAR(day.transit, 19 + 41.0 / 60, 1 * kMinute);
  EXPECT_NEAR(day.set, 2 + 55.0 / 60, 1 * kMinute);
  // Set in the morning, rise in the afternoon: up from the rise to the end
  // of the day and from its start to the set.
  EXPECT_NEAR(day.duration, 24 - day.rise + day.set, 1e-9);
  EXPECT_NEAR(day.transitAltitude, 90 - 42.3333 + 18.4, 0.5);  // declination about 18.4 degrees
  // Azimuths from the south through the west: rising in the east-north-east.
  EXPECT_GT(day.riseAzimuth, 230);
  EXPECT_LT(day.riseAzimuth, 250);
  EXPECT_NEAR(day.riseAzimuth + day.setAzimuth, 360, 1.0);
}

TEST(RiseSetTest, PlanetPresetsForPolesAndUnknownPlanets) {
  for (int planet : {0, 3, 10, -1}) {
    PlanetDay day;
    day.Run(planet, 2460400.5, 50, 10, 1, 69);
    EXPECT_EQ(day.rise, 0) << planet;
    EXPECT_EQ(day.set, 0);
    EXPECT_EQ(day.transit, 0);
    EXPECT_EQ(day.transitAltitude, 89);
    EXPECT_EQ(day.riseAzimuth, -360);
    EXPECT_EQ(day.setAzimuth, -360);
    EXPECT_EQ(day.duration, 555);  // never preset
    EXPECT_STREQ(day.status, " ");
    EXPECT_STREQ(day.riseMarker, " ");
  }
  PlanetDay pole;
  pole.Run(5, 2460400.5, 90, 10, 1, 69);
  EXPECT_EQ(pole.transitAltitude, 89);
  EXPECT_STREQ(pole.riseMarker, " ");
  // Every supported planet rises and sets at a middle latitude on most days.
  for (int planet : {1, 2, 4, 5, 6, 7, 8, 9}) {
    PlanetDay day;
    day.Run(planet, 2460400.5, 30, 10, 1, 69);
    EXPECT_TRUE(std::strcmp(day.riseMarker, " ") == 0 || std::strcmp(day.setMarker, " ") == 0) << planet;
    EXPECT_NE(day.transitAltitude, 89) << planet;
  }
}

// Geocentric altitude of the Moon's centre (degrees) at a Julian day of UT.
double MoonAltitude(double jd, double deltaT, double latitude, double longitude) {
  double ra = 0, dec = 0, r = 0;
  MoonApparentCoordinates(0, PositionFileHandles{}, InternalTheories(), (jd + deltaT / 86400 - 2451545) / 36525, ra,
                          dec, r, kFullTheory);
  const double hourAngle = 15 * SearchSiderealHours(jd, longitude) - ra;
  return ArcSinDeg(SinDeg(dec) * SinDeg(latitude) + CosDeg(dec) * CosDeg(latitude) * CosDeg(hourAngle));
}

// Per-row comparison with the Swiss Ephemeris: the reference time (-1 when
// the event is not in the day) against our time and marker.
struct EventStats {
  double worst = 0;
  int compared = 0;
  void Check(double reference, double ours, const char* marker, double tolerance, const std::string& what) {
    if (reference < 0) {
      EXPECT_STREQ(marker, kRiseSetMissing) << what;
      return;
    }
    // An event within a minute of midnight may fall on either side.
    if (reference < tolerance || reference > 24 - tolerance) return;
    EXPECT_STREQ(marker, kRiseSetBlank) << what;
    const double difference = std::fabs(ours - reference);
    EXPECT_LT(difference, tolerance) << what << " ours " << ours << " reference " << reference;
    worst = std::max(worst, difference);
    ++compared;
  }
};

// Sun (centre at -50'), twilight at -6, -12 and -18 degrees and Moon
// (upper limb seen from the observer at -34') on every day of 2024 at
// latitudes 0 to 75 degrees and a southern place, against the Swiss
// Ephemeris: within 1 minute for the Sun and 2 minutes for the Moon, and
// the right status words on days without a crossing.
TEST(RiseSetTest, SunMoonAndTwilightAgreeWithSwissEphemeris) {
  const auto table = test::ReadFixture(KVX_FIXTURE_DIR "/rise_set_swe.tsv");
  ASSERT_GT(table.Rows(), 2500u);
  EventStats sun, twilight, moon, sunTransit, moonTransit;
  int polarDays = 0;
  for (std::size_t row = 0; row < table.Rows(); ++row) {
    const double jd0 = table.Number(row, "jd0");
    const double latitude = table.Number(row, "lat");
    const double longitude = table.Number(row, "lon");
    const double zone = table.Number(row, "zone");
    const double deltaT = table.Number(row, "delta_t");
    if (table.Number(row, "doubles") > 0) continue;  // two events of a kind in one day
    const std::string where = "jd0 " + std::to_string(jd0) + " lat " + std::to_string(latitude);

    SunMoonDay s;
    s.Run(2, 2, 0, jd0 + 0.5, latitude, longitude, zone, deltaT);
    sun.Check(table.Number(row, "sun_rise"), s.rise[1], s.riseMarker[1], kMinute, "sunrise " + where);
    sun.Check(table.Number(row, "sun_set"), s.set[1], s.setMarker[1], kMinute, "sunset " + where);
    const double referenceTransit = table.Number(row, "sun_transit");
    if (referenceTransit >= 0 && std::strcmp(s.status[1], " ") == 0) {
      sunTransit.Check(referenceTransit, s.transit, " ", kMinute, "sun transit " + where);
    }
    if (table.Number(row, "sun_rise") < 0 && table.Number(row, "sun_set") < 0) {
      ++polarDays;
      const bool up = table.Number(row, "sun_up0") != 0;
      EXPECT_STREQ(s.status[1], up ? "sichtbar" : "unsichtbar") << where;
      EXPECT_DOUBLE_EQ(s.duration[1], up ? 23.0 + 59.0 / 60.0 : 0.0) << where;
    } else if (s.riseMarker[1] == kRiseSetBlank && s.setMarker[1] == kRiseSetBlank) {
      EXPECT_NEAR(s.duration[1], Mod24(s.set[1] - s.rise[1]), 1e-12);
    }

    SunMoonDay t;
    t.Run(3, 5, 0, jd0 + 0.5, latitude, longitude, zone, deltaT, 0, 1, InternalTheories(), 0, 1);
    const char* levels[] = {"civil", "nautical", "astro"};
    for (int i = 0; i < 3; ++i) {
      const std::string level = levels[i];
      const double rise = table.Number(row, level + "_rise");
      const double set = table.Number(row, level + "_set");
      twilight.Check(rise, t.rise[2 + i], t.riseMarker[2 + i], kMinute, level + " dawn " + where);
      twilight.Check(set, t.set[2 + i], t.setMarker[2 + i], kMinute, level + " dusk " + where);
      if (rise >= 0 && set >= 0 && rise < set) {
        EXPECT_NEAR(t.duration[2 + i], 24 - (set - rise), 2 * kMinute);
      }
    }
    if (table.Number(row, "civil_rise") < 0 && table.Number(row, "civil_set") < 0) {
      const bool up = table.Number(row, "civil_up0") != 0;
      EXPECT_STREQ(t.status[2], up ? "bright  " : "dark    ") << where;
      EXPECT_DOUBLE_EQ(t.duration[2], up ? 0.0 : 23.0 + 59.0 / 60.0) << where;
    }
    EXPECT_EQ(t.transit, 0);  // twilight events never refine a transit

    SunMoonDay m;
    m.Run(1, 1, kRiseSetMoonBodyCode, jd0 + 0.5, latitude, longitude, zone, deltaT, 1);
    const double moonRise = table.Number(row, "moon_rise");
    const double moonSet = table.Number(row, "moon_set");
    moon.Check(moonRise, m.rise[0], m.riseMarker[0], 2 * kMinute, "moonrise " + where);
    moon.Check(moonSet, m.set[0], m.setMarker[0], 2 * kMinute, "moonset " + where);
    if (moonRise > 0 && moonSet < 0 && m.riseMarker[0] == kRiseSetBlank) {
      EXPECT_NEAR(m.duration[0], 24 - m.rise[0], 1e-12);  // up from its rise to midnight
    }
    // Transits are reported only above the horizon.
    const double referenceMoonTransit = table.Number(row, "moon_transit");
    if (referenceMoonTransit >= 0 && MoonAltitude(jd0 + referenceMoonTransit / 24, deltaT, latitude, longitude) > 0) {
      moonTransit.Check(referenceMoonTransit, m.transit, " ", 2 * kMinute, "moon transit " + where);
    }
  }
  EXPECT_GT(polarDays, 20);
  EXPECT_GT(moon.compared, 4000);
  std::printf("rise/set against Swiss Ephemeris: Sun %.1f s (%d), twilight %.1f s (%d), Sun transit %.1f s (%d),"
              " Moon %.1f s (%d), Moon transit %.1f s (%d)\n",
              sun.worst * 3600, sun.compared, twilight.worst * 3600, twilight.compared, sunTransit.worst * 3600,
              sunTransit.compared, moon.worst * 3600, moon.compared, moonTransit.worst * 3600,
              moonTransit.compared);
}

// Tromsoe (69.65 N, 18.96 E), every day from 1 Nov 2026 to 28 Feb 2027 and
// of the midnight sun of June 2027, against the Swiss Ephemeris
// (fixtures/polar_culmination_swe.tsv): a day has a transit exactly when the
// body's upper meridian transit falls inside the day and the body stands
// above its rise/set altitude then, as the rise and the set measure it (the
// Sun's centre at -50'; the Moon's upper limb seen from the observer at
// -34'), whether or not it rises or sets that day; on any other day the
// transit time and height are 0. Sun with and without the twilight events
// after it (the transit is then not refined); the time within 1 minute, the
// height within 0.02 degrees of the Sun's centre seen from the centre of the
// Earth and, through November to February, within 0.05 of the Moon's centre
// seen from the place, as PyEphem has it (fixtures/culmination_ephem.tsv):
// the rule that counts the Moon's culmination sees it from there. The
// status words of the days without a crossing follow the day's highest and
// lowest altitude.
TEST(RiseSetTest, TransitByTheRiseSetAltitudeAtTromsoe) {
  const auto table = test::ReadFixture(KVX_FIXTURE_DIR "/polar_culmination_swe.tsv");
  ASSERT_EQ(table.Rows(), 270u);
  const auto ephem = test::ReadFixture(KVX_FIXTURE_DIR "/culmination_ephem.tsv");
  std::map<std::string, double> moonFromThePlace;
  for (std::size_t row = 0; row < ephem.Rows(); ++row) {
    if (ephem.Number(row, "body") == kRiseSetMoonBodyCode) moonFromThePlace[ephem.text[row][1]] = ephem.Number(row, "topo_alt");
  }
  ASSERT_EQ(moonFromThePlace.size(), 120u);
  int moonHeights = 0;
  int transits = 0, none = 0, upAllDay = 0, downAllDay = 0;
  double worstTime = 0;
  for (std::size_t row = 0; row < table.Rows(); ++row) {
    const bool moon = table.Number(row, "body") == kRiseSetMoonBodyCode;
    const double reference = table.Number(row, "transit");
    const double highest = table.Number(row, "highest"), lowest = table.Number(row, "lowest");
    const int event = moon ? kRiseSetMoonEvent : kRiseSetSunEvent;
    const std::size_t i = static_cast<std::size_t>(event - 1);
    for (const int last : {event, moon ? event : kRiseSetLastTwilightEvent}) {
      const std::string what = std::string(moon ? "Moon " : "Sun ") + table.text[row][1] + " to event " +
                               std::to_string(last);
      SunMoonDay day;
      day.Run(event, last, moon ? kRiseSetMoonBodyCode : 0, table.Number(row, "jd0") + 0.5, 69.65, 18.96,
              table.Number(row, "zone"), table.Number(row, "delta_t"), moon ? 1 : 0);
      if (reference >= 0) {
        ++transits;
        EXPECT_NEAR(day.transit, reference, kMinute) << what;
        if (!moon) {
          EXPECT_NEAR(day.transitAltitude, table.Number(row, "transit_alt"), 0.02) << what;
        } else if (const auto found = moonFromThePlace.find(table.text[row][1]); found != moonFromThePlace.end()) {
          EXPECT_NEAR(day.transitAltitude, found->second, 0.05) << what;
          ++moonHeights;
        }
        worstTime = std::max(worstTime, std::fabs(day.transit - reference));
      } else {
        ++none;
        EXPECT_EQ(day.transit, 0) << what;
        EXPECT_EQ(day.transitAltitude, 0) << what;
      }
      if (lowest > 0 || highest < 0) {
        (lowest > 0 ? upAllDay : downAllDay)++;
        EXPECT_STREQ(day.riseMarker[i], kRiseSetMissing) << what;
        EXPECT_STREQ(day.setMarker[i], kRiseSetMissing) << what;
        EXPECT_STREQ(day.status[i], lowest > 0 ? "sichtbar" : "unsichtbar") << what;
      }
    }
  }
  // Both kinds of day for both bodies, and the Moon's days without a
  // meridian transit (it culminates about 50 minutes later each day).
  EXPECT_GT(upAllDay, 20);
  EXPECT_GT(downAllDay, 100);
  EXPECT_GT(none, 100);
  EXPECT_GT(moonHeights, 150);
  std::printf("Tromsoe: %d searches with a transit, %d without; worst time %.1f s\n", transits, none, worstTime * 3600);
}

// This year's sunrise and sunset with the automatic Delta T of the
// observer record, against the Swiss Ephemeris with its own Delta T: the
// same minute as the year-long comparison, and a Delta T within 2 s of the
// reference's (both extrapolate past the last observed value).
TEST(RiseSetTest, PresentDaySunWithAutomaticDeltaT) {
  const auto table = test::ReadFixture(KVX_FIXTURE_DIR "/rise_set_2026_swe.tsv");
  ASSERT_EQ(table.Rows(), 12u);
  EventStats sun;
  for (std::size_t row = 0; row < table.Rows(); ++row) {
    const double zone = table.Number(row, "zone");
    TObserverRecord r;
    r.Day = 1;
    r.Month = static_cast<int>(row) + 1;
    r.Year = 2026;
    r.Zone = static_cast<int>(zone);
    r.AutoDeltaT = 1;
    LocalTimeToUT(r);
    const double jd0 = MjdToJd(r.Mjd);
    ASSERT_NEAR(jd0, table.Number(row, "jd0"), 1e-6);
    EXPECT_NEAR(r.DeltaTSeconds, table.Number(row, "delta_t"), 2.0) << r.Month;
    SunMoonDay s;
    s.Run(2, 2, 0, jd0 + 0.5, table.Number(row, "lat"), table.Number(row, "lon"), zone, r.DeltaTSeconds);
    const std::string where = "2026-" + std::to_string(r.Month) + "-01";
    sun.Check(table.Number(row, "sun_rise"), s.rise[1], s.riseMarker[1], kMinute, "sunrise " + where);
    sun.Check(table.Number(row, "sun_set"), s.set[1], s.setMarker[1], kMinute, "sunset " + where);
  }
  EXPECT_EQ(sun.compared, 24);
  std::printf("2026 sunrise/sunset with the automatic Delta T: %.1f s\n", sun.worst * 3600);
}

// The cheap positions (low-precision Sun and Moon) on the same days, up to
// 55 degrees: the Sun within 1 minute, the Moon's few terms within 3
// (measured: 21 s and 35 s).
TEST(RiseSetTest, LowPrecisionPositionsStayClose) {
  const auto table = test::ReadFixture(KVX_FIXTURE_DIR "/rise_set_swe.tsv");
  EventStats sun, moon;
  for (std::size_t row = 0; row < table.Rows(); row += 5) {
    const double latitude = table.Number(row, "lat");
    if (std::fabs(latitude) > 56 || table.Number(row, "doubles") > 0) continue;
    const double jd0 = table.Number(row, "jd0");
    const double longitude = table.Number(row, "lon");
    const double zone = table.Number(row, "zone");
    const double deltaT = table.Number(row, "delta_t");
    SunMoonDay s;
    s.Run(2, 2, 0, jd0 + 0.5, latitude, longitude, zone, deltaT, 0, 0);
    sun.Check(table.Number(row, "sun_rise"), s.rise[1], s.riseMarker[1], kMinute, "sunrise");
    sun.Check(table.Number(row, "sun_set"), s.set[1], s.setMarker[1], kMinute, "sunset");
    SunMoonDay m;
    m.Run(1, 1, kRiseSetMoonBodyCode, jd0 + 0.5, latitude, longitude, zone, deltaT, 1, 0);
    moon.Check(table.Number(row, "moon_rise"), m.rise[0], m.riseMarker[0], 3 * kMinute, "moonrise");
    moon.Check(table.Number(row, "moon_set"), m.set[0], m.setMarker[0], 3 * kMinute, "moonset");
  }
  std::printf("low precision: Sun %.1f s, Moon %.1f s\n", sun.worst * 3600, moon.worst * 3600);
}

TEST(RiseSetTest, PresetsEventRangeAndSharedAzimuths) {
  const double jd = 2460480.5;  // 2024 June 20
  // firstEvent 4 after lastEvent 3: every preset, durations untouched.
  SunMoonDay none;
  none.Run(4, 3, 0, jd, 50, 10, 1, 69);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(none.rise[i], 0);
    EXPECT_EQ(none.set[i], 0);
    EXPECT_EQ(none.duration[i], 555);
    EXPECT_STREQ(none.riseMarker[i], " ");
    EXPECT_STREQ(none.setMarker[i], " ");
    EXPECT_STREQ(none.status[i], " ");
  }
  EXPECT_EQ(none.transit, 0);
  EXPECT_EQ(none.transitAltitude, 0);
  EXPECT_EQ(none.riseAzimuth, 777);  // preset only by a body event

  // 0..9 behaves as 1..5.
  SunMoonDay wide, all;
  wide.Run(0, 9, 0, jd, 50, 10, 1, 69);
  all.Run(1, 5, 0, jd, 50, 10, 1, 69);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(wide.rise[i], all.rise[i]);
    EXPECT_EQ(wide.set[i], all.set[i]);
    EXPECT_EQ(wide.duration[i], all.duration[i]);
  }

  // Events 1 and 2 in one call return the Sun's azimuths.
  SunMoonDay both, sunOnly;
  both.Run(1, 2, 0, jd, 50, 10, 1, 69);
  sunOnly.Run(2, 2, 0, jd, 50, 10, 1, 69);
  EXPECT_EQ(both.riseAzimuth, sunOnly.riseAzimuth);
  EXPECT_EQ(both.setAzimuth, sunOnly.setAzimuth);
  // At the June solstice at 50 degrees the Sun rises in the north-east
  // (azimuth from the south through the west about 230 degrees).
  EXPECT_NEAR(sunOnly.riseAzimuth, 360 - 129.5, 1.5);
  EXPECT_NEAR(sunOnly.setAzimuth, 129.5, 1.5);
  // In polar night the Sun leaves -360 behind even after a moonrise.
  SunMoonDay polar;
  polar.Run(1, 2, 0, 2460666.5, 80, 10, 1, 69);
  EXPECT_STREQ(polar.status[1], "unsichtbar");
  EXPECT_EQ(polar.riseAzimuth, -360);
  EXPECT_EQ(polar.setAzimuth, -360);
  // English status words.
  SunMoonDay english;
  english.Run(2, 3, 0, 2460666.5, 80, 10, 1, 69, 0, 1, InternalTheories(), 0, 1);
  EXPECT_STREQ(english.status[1], "invisible");
  EXPECT_STREQ(english.status[2], "dark    ");
  SunMoonDay summer;
  summer.Run(2, 3, 0, 2460480.5, 80, 10, 1, 69, 0, 1, InternalTheories(), 0, 1);
  EXPECT_STREQ(summer.status[1], "visible");
  EXPECT_STREQ(summer.status[2], "bright  ");
  EXPECT_DOUBLE_EQ(summer.duration[1], 23.0 + 59.0 / 60.0);
  EXPECT_EQ(summer.duration[2], 0);
  EXPECT_STREQ(summer.riseMarker[1], " ---- ");
}

TEST(RiseSetTest, FastMoonUsesTheInternalSeries) {
  TTheorySelection library = InternalTheories();
  library.bytes[1] = 1;  // ELP-2000/82, not loaded in this test
  SunMoonDay fast, internal;
  fast.Run(1, 1, kRiseSetMoonBodyCode, 2460400.5, 48, 11, 1, 69, 0, 1, library, 1);
  internal.Run(1, 1, kRiseSetMoonBodyCode, 2460400.5, 48, 11, 1, 69, 0, 1, InternalTheories(), 0);
  EXPECT_EQ(fast.rise[0], internal.rise[0]);
  EXPECT_EQ(fast.set[0], internal.set[0]);
  EXPECT_EQ(fast.transit, internal.transit);
}

// Near the March equinox the Sun's right ascension is close to 0 h, and
// the sidereal time at its transit may sit just below 24 h: the transit
// must still be refined, not dropped.
TEST(RiseSetTest, TransitNearZeroHoursOfRightAscension) {
  const TTheorySelection selection = InternalTheories();
  const PositionFileHandles handles{};
  int checked = 0;
  for (double longitude = 100; longitude <= 170; longitude += 0.25) {
    SunMoonDay day;
    const double jd = CalendarDateToJd(20, 3, 2024, 12) - 9.0 / 24;
    day.Run(2, 2, 0, jd, 35, longitude, 9, 69);
    ASSERT_GT(day.transit, 9) << longitude;
    // The hour angle at the transit is zero.
    const double jd0 = LocalMidnightJd(jd, 9);
    const double at = jd0 + day.transit / 24;
    double ra = 0, dec = 0, r = 0;
    SunApparentCoordinates(0, handles, selection, (at + 69.0 / 86400 - 2451545) / 36525, ra, dec, r, kFullTheory);
    double hourAngle = SearchSiderealHours(at, longitude) - ra / 15;
    if (hourAngle > 12) hourAngle -= 24;
    if (hourAngle < -12) hourAngle += 24;
    EXPECT_LT(std::fabs(hourAngle), 2.0 / 3600) << longitude;
    ++checked;
  }
  EXPECT_EQ(checked, 281);
}

TEST(RiseSetTest, ParabolaExtremum) {
  // y = (x - 0.3)^2 - 1 sampled at -1, 0, 1.
  double xe = 9, ye = 9;
  EXPECT_TRUE(ParabolaExtremum(xe, ye, 0.69, -0.91, -0.51));
  EXPECT_NEAR(xe, 0.3, 1e-12);
  EXPECT_NEAR(ye, -1.0, 1e-12);
  // Extremum outside the samples: written, but false.
  EXPECT_FALSE(ParabolaExtremum(xe, ye, 9, 4, 1));  // (x - 2)^2 at -1, 0, 1... minimum at 2
  EXPECT_NEAR(xe, 2.0, 1e-12);
  EXPECT_NEAR(ye, 0.0, 1e-12);
  // A straight line has none: untouched.
  xe = ye = 7;
  EXPECT_FALSE(ParabolaExtremum(xe, ye, 1, 2, 3));
  EXPECT_EQ(xe, 7);
  EXPECT_EQ(ye, 7);
}

// Every transit rule judges a culmination at its own estimate, by the
// event's level measured as the rise and the set measure it: a body on the
// meridian at 11.5 h whose hourly samples show a peak above the level at
// 11 h (so the parabola's vertex stands above it) but which is below the
// level at 11.5 h has no transit, whatever the rule; the same body still up
// at 11.5 h has one, at the Moon's upper-limb level its altitude seen from
// the observer.
TEST(RiseSetTest, EveryTransitRuleJudgesTheCulminationAtItsEstimate) {
  const TRiseSetEventLevel limb = MoonUpperLimbLevel();
  constexpr double kDistance = 60;  // Earth radii
  for (const bool upAtTheMeridian : {false, true}) {
    // The geocentric sine whose measured altitude is `above` degrees over
    // the level.
    const auto sineFor = [&](double above) {
      return SinDeg(-34.0 / 60 + above + ArcSinDeg(1.0 / kDistance) - 15.61247778 / kDistance);
    };
    const TRiseSetSampler sampler = [&](double x) {
      const bool peak = x == 11 || (upAtTheMeridian && x >= 11 && x <= 11.6);
      return TRiseSetSample{sineFor(peak ? 0.5 : -0.1), x - 11.5, -20.0, kDistance};
    };
    const std::pair<TRiseSetTransitRule, const char*> rules[] = {{TRiseSetTransitRule::SunMoon, "Sun and Moon"},
                                                                 {TRiseSetTransitRule::Planet, "planets"},
                                                                 {TRiseSetTransitRule::FixedPosition, "fixed"}};
    for (const auto& [rule, name] : rules) {
      const std::string what = std::string(name) + (upAtTheMeridian ? ", up at the meridian" : ", down at it");
      double transit = 777, altitude = 777;
      const TRiseSetCrossings c = SearchRiseSetCrossings(sampler, limb, rule, 70.0, -20.0, transit, altitude);
      EXPECT_EQ(c.transitFound, upAtTheMeridian) << what;
      EXPECT_TRUE(c.riseFound && c.setFound) << what;
      if (upAtTheMeridian) {
        EXPECT_NEAR(transit, 11.5, 0.01) << what;
        // 90 - 70 - 20 = 0 degrees geocentric: about the parallax lower.
        EXPECT_NEAR(altitude, -ArcSinDeg(1.0 / kDistance), 0.001) << what;
        EXPECT_TRUE(CulminationCounts(limb, sampler, transit)) << what;
      } else {
        EXPECT_EQ(transit, 0) << what;
        EXPECT_EQ(altitude, 777) << what;
      }
    }
  }
  // Outside the day nothing counts, and a refined culmination that does not
  // count leaves time and altitude 0.
  const TRiseSetSampler up = [](double x) { return TRiseSetSample{0.5, x - 12, 0.0, 0.0}; };
  EXPECT_TRUE(CulminationCounts(CentreLevel(0), up, 23.99));
  EXPECT_FALSE(CulminationCounts(CentreLevel(0), up, 24.0));
  EXPECT_FALSE(CulminationCounts(CentreLevel(0), up, -0.01));
  double transit = 12, altitude = 5;
  KeepCountingCulmination(CentreLevel(45), up, 50, 10, 0, transit, altitude);
  EXPECT_EQ(transit, 0);
  EXPECT_EQ(altitude, 0);
}

TEST(RiseSetTest, FixedPositionAgreesWithTheHourAngleFormula) {
  const double jd = 2460400.5;  // 2024 March 29
  const double longitude = 11.6, latitude = 48.1;
  const double jd0 = LocalMidnightJd(jd + 0.5, 1);
  // Sirius, Vega (never sets at 48 degrees? no: it sets briefly) and Deneb.
  const double stars[][2] = {{101.287, -16.716}, {279.235, 38.784}, {88.793, 7.407}, {213.915, 19.182}};
  for (const auto& star : stars) {
    double rise = 0, set = 0, duration = 0, transit = 0, transitAltitude = 0, riseAz = 0, setAz = 0;
    const char *status = nullptr, *riseMarker = nullptr, *setMarker = nullptr;
    RiseSetFixedPosition(kAltitudes, 0, nullptr, longitude, latitude, star[0], star[1], jd + 0.5, 1, rise, set,
                         duration, transit, transitAltitude, riseAz, setAz, status, riseMarker, setMarker);
    double r = 0, t = 0, s = 0;
    std::uint8_t risesAndSets = 0;
    RiseSetTime(r, t, s, 0.0, SearchSiderealHours(jd0, longitude), latitude, star[0], star[1], risesAndSets);
    EXPECT_EQ(risesAndSets, 1);
    if (std::strcmp(riseMarker, " ") == 0) {
      EXPECT_NEAR(rise, r, 0.5 * kMinute) << star[0];
    }
    if (std::strcmp(setMarker, " ") == 0) {
      EXPECT_NEAR(set, s, 0.5 * kMinute) << star[0];
    }
    if (transit != 0) {
      EXPECT_NEAR(transit, t, 1 * kMinute) << star[0];
    }
    EXPECT_NEAR(transitAltitude, 90 - latitude + star[1], 1e-9);
    EXPECT_STREQ(status, " ");
  }
  // Circumpolar: no rise and set, a valid transit, "sichtbar".
  double r = 1, t = -1, s = 1;
  std::uint8_t risesAndSets = 1;
  RiseSetTime(r, t, s, 0.0, 5.0, 60.0, 30.0, 70.0, risesAndSets);
  EXPECT_EQ(risesAndSets, 0);
  EXPECT_EQ(r, 0);
  EXPECT_EQ(s, 0);
  EXPECT_NEAR(t, (2.0 - 5.0 + 24.0) / 1.0027379, 1e-9);
  // At a pole the formula has no hour angle of rising: no rise and set,
  // finite values.
  r = s = t = 1;
  RiseSetTime(r, t, s, 0.0, 5.0, 90.0, 30.0, 10.0, risesAndSets);
  EXPECT_EQ(risesAndSets, 0);
  EXPECT_EQ(r, 0);
  EXPECT_TRUE(std::isfinite(t));
  double rise = 0, set = 0, duration = 0, transit = 0, transitAltitude = 0, riseAz = 0, setAz = 0;
  const char *status = nullptr, *riseMarker = nullptr, *setMarker = nullptr;
  RiseSetFixedPosition(kAltitudes, 1, nullptr, longitude, 60.0, 30.0, 70.0, jd, 1, rise, set, duration, transit,
                       transitAltitude, riseAz, setAz, status, riseMarker, setMarker);
  EXPECT_STREQ(status, "visible");
  EXPECT_STREQ(riseMarker, " ---- ");
  EXPECT_DOUBLE_EQ(duration, 23.0 + 59.0 / 60.0);
  EXPECT_EQ(riseAz, -360);
  // At a pole, or for a position at a pole, only the " --- " markers.
  for (const auto& polar : {std::pair{90.0, 10.0}, std::pair{45.0, -90.0}, std::pair{-89.99, 89.99}}) {
    duration = 123;
    RiseSetFixedPosition(kAltitudes, 0, nullptr, longitude, polar.first, 30.0, polar.second, jd, 1, rise, set,
                         duration, transit, transitAltitude, riseAz, setAz, status, riseMarker, setMarker);
    EXPECT_STREQ(riseMarker, " --- ");
    EXPECT_STREQ(setMarker, " --- ");
    EXPECT_STREQ(status, " ");
    EXPECT_EQ(duration, 123);
    EXPECT_EQ(transitAltitude, 0);
  }
}

}  // namespace
}  // namespace kvx
