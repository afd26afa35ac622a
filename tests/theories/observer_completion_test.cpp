#include "theories/observer_completion.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/sun_longitude.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "earth_position_file.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "support/fixtures.h"
#include "support/recording_message_sink.h"
#include "support/theory_selection.h"
#include "theory_library_test_support.h"

namespace kvx {
namespace {

using test::PlanetTheory;

TObserverRecord Berlin(int day, int month, int year, double hours) {
  TObserverRecord r;
  r.Day = day;
  r.Month = month;
  r.Year = year;
  r.LocalHours = hours;
  r.Zone = 1;
  r.Longitude = -13.4;
  r.Latitude = 52.5;
  r.Height = 40;
  r.AutoDeltaT = 1;
  r.PlaceName = "Berlin";
  return r;
}

TEST(CompleteObserverRecord, NormalisesTheDateAndFillsTheDerivedBlock) {
  TObserverRecord r = Berlin(31, 12, 1999, 26.0);  // 25 h UT: 1 Jan 2000, 01:00 UT
  r.Zone = 0;
  r.Longitude = 0;
  const TTableConfigRecord noHourlyMotion;
  CompleteObserverRecord(0, PlanetTheory(kPlanetTheoryInternal), noHourlyMotion, kFullTheory, r);
  EXPECT_EQ(r.Day, 1);
  EXPECT_EQ(r.Month, 1);
  EXPECT_EQ(r.Year, 2000);
  EXPECT_NEAR(r.LocalHours, 2.0, 1e-8);
  EXPECT_EQ(r.Weekday, 6);
  EXPECT_EQ(r.DerivedYear, 2000);
  EXPECT_EQ(r.DerivedLatitude, 52.5);
  EXPECT_NEAR(r.DeltaTSeconds, 64.0, 0.5);
  EXPECT_NEAR(r.Centuries, (51544.0 + 2.0 / 24 + r.DeltaTSeconds / 86400 - 51544.5) / 36525, 1e-12);
  EXPECT_NEAR(r.SiderealHours, LocalSiderealTime(0, r.Mjd, 0.0), 1e-12);

  // Ten hours before J2000: the Sun at 280.37 - 0.41 degrees, 0.983 AU away.
  EXPECT_NEAR(r.SunLongitude, 279.95, 0.02);
  EXPECT_NEAR(r.SunDistance, 0.9833, 0.0002);
  EXPECT_NEAR(std::hypot(r.SunX, r.SunY, r.SunZ), r.SunDistance, 1e-12);
  EXPECT_EQ(r.SunX1h, r.SunX);
  EXPECT_EQ(r.SunY1h, r.SunY);
  EXPECT_EQ(r.SunZ1h, r.SunZ);
  double ra, dec;
  ApparentSunEquatorial(ra, dec, r.SunLongitude, r.SunLatitude, r.SunDistance, r.Centuries);
  EXPECT_EQ(r.SunApparentRA, ra);
  EXPECT_EQ(r.SunApparentDec, dec);
  EXPECT_NEAR(r.SunApparentDec, -23.0, 0.1);

  EXPECT_NEAR(r.Obliquity, 23.43929, 1e-5);
  EXPECT_NEAR(r.SinObliquity * r.SinObliquity + r.CosObliquity * r.CosObliquity, 1.0, 1e-15);
  // 52.5 - (0.192425 sin 105 - 0.00032222 sin 210) degrees.
  EXPECT_NEAR(r.GeocentricLatitude, 52.313971, 1e-6);
  EXPECT_NEAR(r.GeocentricRadius, 0.9979131, 1e-6);
  // Precession from 1950.0 to 2000: the pole moves by about 0.278 degrees.
  EXPECT_NEAR(std::acos(r.Precession.m[2][2]) * 180 / M_PI, 0.2783, 0.0005);
}

// The annual-aberration velocity against ERFA's (minus the Earth's
// heliocentric velocity, ecliptic of date) through a year and at dates from
// 1901 to 2099: the Sun's apparent motion on the Kepler ellipse is good to
// 1e-3 of the speed (measured 1.7e-5 AU/day at most); rates with sine and
// cosine swapped miss by up to 9e-4 AU/day.
TEST(CompleteObserverRecord, EarthVelocityFollowsErfa) {
  const test::FixtureTable ref = test::ReadFixture(KVX_FIXTURE_DIR "/earth_velocity_erfa.tsv");
  ASSERT_GE(ref.Rows(), 20u);
  const TTableConfigRecord noHourlyMotion;
  for (std::size_t row = 0; row < ref.Rows(); ++row) {
    TObserverRecord r = Berlin(1, 1, 2000, 0.0);
    r.AutoDeltaT = 0;
    r.DeltaTSeconds = 0;  // the fixture's dates are TT
    r.Mjd = JdToMjd(ref.Number(row, "jd_tt"));
    UTToLocalTime(r);
    CompleteObserverRecord(0, PlanetTheory(kPlanetTheoryInternal), noHourlyMotion, kFullTheory, r);
    const double miss = std::hypot(r.EarthVX - ref.Number(row, "vx"), r.EarthVY - ref.Number(row, "vy"),
                                   r.EarthVZ - ref.Number(row, "vz"));
    EXPECT_LT(miss, 2.5e-5) << "JD " << ref.Number(row, "jd_tt");
  }
}

TEST(CompleteObserverRecord, SunOneHourLaterOnlyForTheHourlyMotionColumns) {
  TTableConfigRecord config;
  for (std::size_t flag : {20u, 21u, 22u, 23u}) {
    config.Flags.fill(0);
    config.Flags[flag] = 1;
    ASSERT_EQ(AnyOfFourColumns(config), 1);
    TObserverRecord r = Berlin(13, 10, 1992, 12.0);
    CompleteObserverRecord(1, PlanetTheory(kPlanetTheoryInternal), config, kFullTheory, r);
    // One hour of the Sun's motion: about 0.0411 degree, 7.2e-4 AU.
    const double moved = std::hypot(r.SunX1h - r.SunX, r.SunY1h - r.SunY, r.SunZ1h - r.SunZ);
    EXPECT_NEAR(moved, 0.0411 * M_PI / 180 * r.SunDistance, 2e-5) << flag;
  }
  config.Flags.fill(1);
  for (std::size_t flag = 20; flag <= 23; ++flag) config.Flags[flag] = 0;
  EXPECT_EQ(AnyOfFourColumns(config), 0);
}

TEST(CompleteObserverRecord, MeeusSunOf1992October13ByTheVsop87DLibrary) {
  ASSERT_EQ(test::OpenBuiltLibraries().Vsop87D, 1);
  // 1992 Oct 13.0 TD: a record at 0 h UT minus Delta T.
  TObserverRecord r = Berlin(13, 10, 1992, 0.0);
  r.Zone = 0;
  r.AutoDeltaT = 0;
  r.DeltaTSeconds = 59.0;
  r.LocalHours = -59.0 / 3600;
  CompleteObserverRecord(1, PlanetTheory(kPlanetTheoryVsop87D), TTableConfigRecord{}, kFullTheory, r);
  EXPECT_NEAR(r.Centuries, -0.072183436, 1e-9);
  double trueLongitude, eccentricity;
  SunTrueLongitude(trueLongitude, eccentricity, r.Centuries);
  EXPECT_NEAR(Mod360(trueLongitude), 199.90988, 0.00001);
  // The published 0.016711668 uses newer polynomial coefficients than the
  // core library's (0.016708617 - 4.204e-5 T): 0.016711651.
  EXPECT_NEAR(eccentricity, 0.016711668, 2e-8);
  // Geometric longitude 199.907372 before the FK5 correction (this road
  // applies none), distance 0.99760775 AU.
  EXPECT_NEAR(r.SunLongitude, 199.907372, 0.3 / 3600);
  // The published 0.99760775 AU comes from an abridged series; the full
  // theory and the independent reference give 0.9976086.
  EXPECT_NEAR(r.SunDistance, 0.99760775, 1e-6);
  EXPECT_NEAR(r.SunDistance, 0.9976086, 1e-7);
  // Apparent alpha 13h13m30.749s, delta -7 deg 47' 01.74".
  EXPECT_NEAR(r.SunApparentRA, (13 + 13 / 60.0 + 30.749 / 3600) * 15, 1.0 / 3600);
  EXPECT_NEAR(r.SunApparentDec, -(7 + 47 / 60.0 + 1.74 / 3600), 1.0 / 3600);
  CloseTheoryLibraries();
}

class CheckPeriod : public ::testing::Test {
 protected:
  void SetUp() override {
    state.Start = Berlin(1, 1, 2000, 0.0);
    state.End = Berlin(1, 2, 2000, 0.0);
    state.Selection = PlanetTheory(kPlanetTheoryInternal);
    state.Step.StepDays = 1;
    state.RememberedYear = 2000;
    state.SatelliteReferenceMjd = 51544.5;
    state.UpdateStatusLine = [this] { ++statusUpdates; };
    LanguageEnglish = 0;
    Convert();
  }
  // The main window keeps its records converted after every edit.
  void Convert() {
    LocalTimeToUT(state.Start);
    LocalTimeToUT(state.End);
  }
  void TearDown() override { LanguageEnglish = 0; }

  RecordingMessageSink sink;
  ScopedMessageSink guard{sink};
  TEphemerisPeriodState state;
  int statusUpdates = 0;
};

TEST_F(CheckPeriod, CompletesBothRecordsAndSetsTheFlags) {
  state.Start.Year = 2001;
  state.Start.Day = 5;
  state.End.Year = 2001;
  Convert();
  CheckEphemerisPeriod(state);
  EXPECT_TRUE(sink.messages.empty());
  EXPECT_EQ(state.YearChanged, 1);
  EXPECT_EQ(state.Start.Weekday, 5);  // 5 Jan 2001 was a Friday
  EXPECT_NE(state.Start.SunDistance, 0.0);
  EXPECT_NE(state.End.SunDistance, 0.0);
  EXPECT_EQ(state.TheoryInRange, 1);
  EXPECT_EQ(statusUpdates, 1);
  EXPECT_EQ(state.SatellitesEnabled, 1);

  state.Start.Year = 1950;  // before the first satellite
  Convert();
  CheckEphemerisPeriod(state);
  EXPECT_EQ(state.SatellitesEnabled, 0);
  state.Start.Year = 1880;  // outside the internal series' range
  Convert();
  CheckEphemerisPeriod(state);
  EXPECT_EQ(state.TheoryInRange, 0);
}

TEST_F(CheckPeriod, AutomaticEndFollowsThePeriodLength) {
  state.AutoEnd = 1;
  state.End.PeriodDays = 10;
  state.End.PeriodHours = 6.3;  // 6 h 30 min, packed
  CheckEphemerisPeriod(state);
  EXPECT_EQ(state.End.Day, 11);
  EXPECT_EQ(state.End.Month, 1);
  EXPECT_NEAR(state.End.LocalHours, 6.5, 1e-8);
  EXPECT_EQ(state.AutoEnd, 1);
}

TEST_F(CheckPeriod, EndDateIsClampedToTheLastJulianDay) {
  state.Step.StepDays = 1000;
  state.End.AutoDeltaT = 0;
  state.Start.Mjd = JdToMjd(5373000.0);
  state.Start.Zone = state.End.Zone = 0;
  state.Start.DaylightHours = 0;
  UTToLocalTime(state.Start);
  state.End.Mjd = JdToMjd(5373484.4);
  UTToLocalTime(state.End);
  CheckEphemerisPeriod(state);
  EXPECT_NEAR(MjdToJd(state.End.Mjd), 5373484.4, 1e-6);
  EXPECT_TRUE(sink.messages.empty());

  state.End.Mjd = JdToMjd(5373485.0);
  UTToLocalTime(state.End);
  LanguageEnglish = 1;
  CheckEphemerisPeriod(state);
  EXPECT_NEAR(MjdToJd(state.End.Mjd), 5373484.0, 1e-6);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text, "The end date of the ephemeris was set down to JD 5373484.");
  EXPECT_EQ(sink.messages[0].icon, MessageIcon::Error);

  // Without the message flag the clamp is silent.
  state.ShowMessages = 0;
  state.End.Mjd = JdToMjd(5373490.0);
  UTToLocalTime(state.End);
  CheckEphemerisPeriod(state);
  EXPECT_NEAR(MjdToJd(state.End.Mjd), 5373484.0, 1e-6);
  EXPECT_EQ(sink.messages.size(), 1u);
}

TEST_F(CheckPeriod, AtMost16382StepsAfterTheFirstRow) {
  state.Start.Zone = state.End.Zone = 0;
  state.End.Mjd = state.Start.Mjd;
  LocalTimeToUT(state.Start);
  state.End = state.Start;
  state.End.Mjd = state.Start.Mjd + 16382;
  UTToLocalTime(state.End);
  state.AutoEnd = 0;
  CheckEphemerisPeriod(state);
  EXPECT_NEAR(state.End.Mjd - state.Start.Mjd, 16382, 1e-6);
  EXPECT_TRUE(sink.messages.empty());

  state.End.Mjd = state.Start.Mjd + 16383;
  UTToLocalTime(state.End);
  state.SecondPeriodFlag = 1;
  CheckEphemerisPeriod(state);
  EXPECT_NEAR(state.End.Mjd - state.Start.Mjd, 16381, 1e-6);
  EXPECT_EQ(state.AutoEnd, 0);
  EXPECT_EQ(state.SecondPeriodFlag, 0);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text, "Zu viele Tabellenwerte. Das Enddatum für Ephemeride wurde herabgesetzt.");

  // The row message appears even with the message flag clear; a step of
  // zero days counts no rows at all.
  state.ShowMessages = 0;
  state.End.Mjd = state.Start.Mjd + 20000;
  UTToLocalTime(state.End);
  CheckEphemerisPeriod(state);
  EXPECT_EQ(sink.messages.size(), 2u);
  state.Step.StepDays = 0;
  state.End.Mjd = state.Start.Mjd + 20000;
  UTToLocalTime(state.End);
  CheckEphemerisPeriod(state);
  EXPECT_NEAR(state.End.Mjd - state.Start.Mjd, 20000, 1e-6);
  EXPECT_EQ(sink.messages.size(), 2u);
}

// A 10,000-year daily period with the automatic end: both clamps once; the
// shortened end stands as a date (the automatic end goes off) and the
// records hold the clamped length, so that a second check, with the
// automatic end off or switched on again, clamps nothing and says nothing.
TEST_F(CheckPeriod, AClampedEndIsWhatTheRecordsHoldAfterwards) {
  state.AutoEnd = 1;
  state.End.PeriodDays = 3652425;
  state.End.PeriodHours = 6.3;
  CheckEphemerisPeriod(state);
  ASSERT_EQ(sink.messages.size(), 2u);
  const double clampedEnd = state.End.Mjd;
  EXPECT_NEAR(clampedEnd - state.Start.Mjd, 16381, 1e-6);
  EXPECT_EQ(state.AutoEnd, 0);
  EXPECT_EQ(AutoEndSwitch(state.End), 0);
  EXPECT_EQ(state.End.PeriodDays, 16381);
  EXPECT_NEAR(DmsPackedToDeg(state.End.PeriodHours), 0, 1e-9);

  CheckEphemerisPeriod(state);
  EXPECT_NEAR(state.End.Mjd, clampedEnd, 1e-6);
  state.AutoEnd = 1;
  CheckEphemerisPeriod(state);
  EXPECT_EQ(sink.messages.size(), 2u);
  EXPECT_NEAR(state.End.Mjd, clampedEnd, 1e-6);

  // The last Julian day alone: the length keeps the hours to it.
  state.Start.Mjd = JdToMjd(5373000.25);
  UTToLocalTime(state.Start);
  state.Step.StepDays = 100;
  state.End.PeriodDays = 1000;
  state.End.PeriodHours = 0;
  CheckEphemerisPeriod(state);
  ASSERT_EQ(sink.messages.size(), 3u);
  EXPECT_NEAR(MjdToJd(state.End.Mjd), 5373484.0, 1e-6);
  EXPECT_EQ(state.End.PeriodDays, 483);
  EXPECT_NEAR(DmsPackedToDeg(state.End.PeriodHours), 18, 1e-6);
  CheckEphemerisPeriod(state);
  EXPECT_EQ(sink.messages.size(), 3u);
  EXPECT_NEAR(MjdToJd(state.End.Mjd), 5373484.0, 1e-6);
}

TEST_F(CheckPeriod, PositionFilesOutsideTheirSpanSwitchToTheInternalSeries) {
  test::EarthPositionFile file;
  state.PositionFiles = file.Handles();
  state.Selection = PlanetTheory(kPlanetTheoryPositionFiles);
  state.PositionFilesLastJd = test::EarthPositionFile::LastJulianDay();
  std::vector<std::uint8_t> applied;
  state.ApplyTheorySelection = [&](TTheorySelection s) {
    applied.push_back(s.PlanetTheory());
    state.Selection = s;
  };
  CheckEphemerisPeriod(state);
  EXPECT_TRUE(applied.empty());
  EXPECT_TRUE(sink.messages.empty());
  EXPECT_EQ(state.Selection.PlanetTheory(), kPlanetTheoryPositionFiles);
  // The records' Sun came from the file.
  EXPECT_NEAR(state.Start.SunDistance, std::hypot(0.99, 0.0002), 1e-9);

  state.End.Year = 2010;
  Convert();
  LanguageEnglish = 1;
  CheckEphemerisPeriod(state);
  ASSERT_EQ(applied.size(), 1u);
  EXPECT_EQ(applied[0], kPlanetTheoryInternal);
  EXPECT_EQ(state.Selection.PlanetTheory(), kPlanetTheoryInternal);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text,
            "No positions for this date in the position-files. Kandrevoltinex 4.6 uses newcomb-theories.");

  // Before 1900 the start already fails; German text.
  state.Selection = PlanetTheory(kPlanetTheoryPositionFiles);
  state.End.Year = 2000;
  state.Start.Year = 1899;
  state.Step.StepDays = 10;
  Convert();
  LanguageEnglish = 0;
  CheckEphemerisPeriod(state);
  ASSERT_EQ(sink.messages.size(), 2u);
  EXPECT_EQ(sink.messages[1].text,
            "Zeitraum für Ephemeride überschreitet die Datenbank mit Ephemeriden. Kandrevoltinex 4.6 schaltet auf "
            "die Newcomb-Theorien um.");
  EXPECT_EQ(applied.size(), 2u);  // the end is not checked again once switched
}

TEST_F(CheckPeriod, IntegrationDatabaseNeedsLeadTimeAndAMarginAtItsEnd) {
  state.IntegrationDatabase = 1;
  const double startJd = JulianDayFromLocalDate(1, 1, 2000, 0.0, state.Start);
  state.IntegrationDatabaseFirstJd = startJd - 2004;
  state.IntegrationDatabaseLastJd = startJd + 100;
  CheckEphemerisPeriod(state);
  EXPECT_EQ(state.IntegrationDatabase, 1);
  EXPECT_TRUE(sink.messages.empty());

  state.IntegrationDatabaseFirstJd = startJd - 2003;  // lead must exceed 2003 days
  CheckEphemerisPeriod(state);
  EXPECT_EQ(state.IntegrationDatabase, 0);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_NE(sink.messages[0].text.find("numerische Integrationen"), std::string::npos);

  state.IntegrationDatabase = 1;
  state.IntegrationDatabaseFirstJd = startJd - 3000;
  state.IntegrationDatabaseLastJd = startJd + 33;  // end (1 Feb) is 31 days on
  state.ShowMessages = 0;
  CheckEphemerisPeriod(state);
  EXPECT_EQ(state.IntegrationDatabase, 0);
  EXPECT_EQ(sink.messages.size(), 1u);
}

}  // namespace
}  // namespace kvx
