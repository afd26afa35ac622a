// The almanac generator: the option record, the phases of two years
// against Astronomy Engine and the seasons of 2000-2040 against the Swiss
// Ephemeris and Astronomy Engine (tests/theories/fixtures/seasons_*.tsv,
// tests/core/fixtures/moon_phases_astronomy_engine.tsv), Meeus' examples,
// the Moon-Jupiter conjunctions of 2020 against the Swiss Ephemeris
// (fixtures/almanac_moon_jupiter_swe.tsv), the body events and pair
// conjunctions against the single searches they share the engine with, the
// greatest elongations against Astronomy Engine
// (fixtures/almanac_astronomy_engine.tsv), the eclipses of 2017-2018, the
// order of the list, cancel and the overview of today. Internal series,
// Delta T fixed at 69 s.
#include "events/almanac.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "../engine/sun_planet_support.h"
#include "core/name_tables.h"
#include "core/time_scales.h"
#include "eclipses/lunar_eclipse.h"
#include "events/almanac_writer.h"
#include "events/conjunction_search.h"
#include "events/event_search.h"
#include "events/sample_caching_search.h"
#include "platform/globals.h"
#include "support/fixed_clock.h"
#include "support/fixtures.h"
#include "support/recording_message_sink.h"
#include "support/recording_progress.h"
#include "support/theory_selection.h"

namespace kvx {
namespace {

constexpr double kDeltaT = 69.0;

class Almanac : public ::testing::Test {
 protected:
  void SetUp() override {
    InitAstroNameTables();
    AbortRequested = 0;
    request_.Context.Selection = test::PlanetAndMoonTheory(0, 0);
    request_.Context.FastSearch = 1;
    request_.Options = TAlmanacOptions{};
  }
  void TearDown() override { AbortRequested = 0; }
  static TObserverRecord At(double jdUT, int zone = 1) {
    return test::ObserverAtPlace(jdUT, kDeltaT, test::Place{50, 10, zone}, test::PlanetAndMoonTheory(0, 0));
  }
  void Period(double startJd, double endJd, int zone = 1) {
    request_.Start = At(startJd, zone);
    request_.End = At(endJd, zone);
  }
  std::vector<const tEvent*> OfKind(int kind) const {
    std::vector<const tEvent*> found;
    for (const auto& entry : list_) {
      if (entry.Event->Kind() == kind) found.push_back(entry.Event.get());
    }
    return found;
  }
  TAlmanacRequest request_;
  TEventList list_;
  RecordingMessageSink messages_;
  ScopedMessageSink guard_{messages_};
};

// Bytes other than 0 read as set and are written back as 1; the overview's
// text falls back to every flag on when it is not 39 digits.
TEST_F(Almanac, OptionRecordAndTodayText) {
  std::vector<std::uint8_t> image(kAlmanacFlagCount, 0);
  image[3] = 2;
  image[28] = 255;
  image[38] = 1;
  const TAlmanacOptions options = DecodeAlmanacOptions(image);
  EXPECT_TRUE(options.Kind(3));
  EXPECT_FALSE(options.Kind(4));
  EXPECT_TRUE(options.Section(almanac_section::kSpare));
  EXPECT_TRUE(options.Body(9));
  EXPECT_EQ(options.SelectedBodies(), 1);
  const TAlmanacOptionsImage back = EncodeAlmanacOptions(options);
  EXPECT_EQ(back[3], 1);
  EXPECT_EQ(back[28], 1);
  EXPECT_EQ(TodayOptionsFromText(TodayOptionsToText(options)).Flags, options.Flags);
  for (const std::string& bad : std::vector<std::string>{"", "101", std::string(39, 'x'), std::string(40, '0')}) {
    EXPECT_EQ(TodayOptionsFromText(bad).Flags, AllAlmanacOptions().Flags) << bad;
  }
  // The local words of a solar eclipse: the place where it is not seen,
  // else magnitude and obscuration in the eclipse magnitude's format, a
  // value that is no number as "-".
  EXPECT_EQ(EclipseLocalWords(0, 0.5, 0.25, "Jena"), "unsichtbar in Jena");
  EXPECT_EQ(EclipseLocalWords(2, 0.93456789, std::nan(""), "Jena"), "ringförmig 0.9346 (-)");
  // Kinds by body: the Sun only perigee, apogee and central meridian.
  for (int kind = 0; kind < kEventKindCount; ++kind) {
    EXPECT_EQ(AlmanacKindApplies(search_kind::kSun, kind),
              kind == search_code::kPerigee || kind == search_code::kApogee || kind == search_code::kCentralMeridianZero)
        << kind;
  }
  EXPECT_TRUE(AlmanacKindApplies(search_kind::kMercury, search_code::kElongationEast));
  EXPECT_FALSE(AlmanacKindApplies(search_kind::kMars, search_code::kElongationEast));
  EXPECT_TRUE(AlmanacKindApplies(search_kind::kMars, search_code::kOpposition));
  EXPECT_FALSE(AlmanacKindApplies(search_kind::kMoon, search_code::kPerihelion));
}

// A period of two years holds every phase in it, each once. The closed
// phase formulas stay within a minute of Astronomy Engine (its instants run
// about 40 s late). Phases past 14 a kind are there too. The seasons of
// 2000-2040, each once, within the bounds the solar series keeps against
// the Swiss Ephemeris (60 s) and Astronomy Engine (75 s).
TEST_F(Almanac, SeasonsAndPhases) {
  Period(2451544.5 - 1.0 / 24, 2452275.5 - 1.0 / 24);  // 2000-01-01 .. 2002-01-01, 0h zone time
  request_.Options.SetSection(almanac_section::kMoonPhases, true);
  ASSERT_EQ(GenerateAlmanac(request_, list_), TAlmanacResult::Done);
  const auto events = OfKind(almanac_entry::kSeasons);
  auto inPeriod = [&](double mjd) { return mjd >= request_.Start.Mjd && mjd <= request_.End.Mjd; };
  auto count = [&](const std::string& text, double mjdUT, double tolerance) {
    int n = 0;
    for (const tEvent* e : events) {
      if (e->SecondName() == text && std::fabs(e->Mjd() - mjdUT) < tolerance) ++n;
    }
    return n;
  };
  const test::FixtureTable phases =
      test::ReadFixture(KVX_SOURCE_TESTS "/core/fixtures/moon_phases_astronomy_engine.tsv");
  int phasesInPeriod = 0;
  for (std::size_t row = 0; row < phases.Rows(); ++row) {
    const double mjd = JdToMjd(phases.Number(row, "jde")) - kDeltaT / 86400;
    if (!inPeriod(mjd)) continue;
    ++phasesInPeriod;
    const int p = static_cast<int>(phases.Number(row, "phase"));
    EXPECT_EQ(count(PhaseNameText(p).substr(1), mjd, 60.0 / 86400), 1) << "phase " << p << " at " << mjd;
  }
  int listedPhases = 0;
  for (const tEvent* e : events) listedPhases += e->ObjectName() == SearchBodyNames[9] && inPeriod(e->Mjd());
  EXPECT_EQ(phasesInPeriod, 99);
  EXPECT_EQ(listedPhases, phasesInPeriod);

  // The list is in order of instant.
  for (int i = 1; i < list_.Count(); ++i) EXPECT_LE(list_.At(i - 1).Mjd(), list_.At(i).Mjd());

  list_.Clear();
  Period(2451544.5, 2466519.5);  // 2000-01-01 .. 2040-12-31
  request_.Options = TAlmanacOptions{};
  request_.Options.SetSection(almanac_section::kSeasons, true);
  ASSERT_EQ(GenerateAlmanac(request_, list_), TAlmanacResult::Done);
  const auto seasons = OfKind(almanac_entry::kSeasons);
  EXPECT_EQ(seasons.size(), 41u * 4);
  for (const auto& [file, tolerance] : {std::pair{"seasons_swe.tsv", 60.0}, {"seasons_astronomy_engine.tsv", 75.0}}) {
    const test::FixtureTable reference = test::ReadFixture(std::string(KVX_SOURCE_TESTS "/theories/fixtures/") + file);
    int checked = 0;
    for (std::size_t row = 0; row < reference.Rows(); ++row) {
      const int year = static_cast<int>(reference.Number(row, "year"));
      if (year > 2040) continue;
      const auto s = static_cast<std::size_t>(reference.Number(row, "season"));
      const double mjd = JdToMjd(reference.Number(row, "jde")) - kDeltaT / 86400;
      int n = 0;
      static const char* const kTexts[4] = {"Frühlingsanfang", "Sommeranfang", "Herbstanfang", "Winteranfang"};
      for (const tEvent* e : seasons)
        n += e->SecondName() == kTexts[s] && std::fabs(e->Mjd() - mjd) < tolerance / 86400;
      EXPECT_EQ(n, 1) << file << " " << year << " " << s;
      ++checked;
    }
    EXPECT_EQ(checked, 41 * 4) << file;
  }
}

// Meeus, Astronomical Algorithms: example 49.a (new moon 1977 Feb 18, JDE
// 2443192.65118) at its local time in zone +1, and 27.a (June solstice 1962,
// JDE 2437837.39245, the theory within 30 s).
TEST_F(Almanac, MeeusPhaseAndSolstice) {
  Period(2443145.5, 2443235.5);  // 1977 Jan 1 .. Apr 1
  request_.Options.SetSection(almanac_section::kMoonPhases, true);
  ASSERT_EQ(GenerateAlmanac(request_, list_), TAlmanacResult::Done);
  const double newMoon = JdToMjd(2443192.65118) - kDeltaT / 86400;
  bool seen = false;
  for (const tEvent* e : OfKind(almanac_entry::kSeasons)) {
    if (std::fabs(e->Mjd() - newMoon) > 1e-5) continue;
    seen = true;
    EXPECT_EQ(e->SecondName(), PhaseNameText(0).substr(1));
    EXPECT_EQ(e->Observer.Day, 18);
    EXPECT_NEAR(e->Observer.LocalHours, (newMoon - std::floor(newMoon)) * 24 + 1, 1e-4);
  }
  EXPECT_TRUE(seen);

  list_.Clear();
  Period(2437665.5, 2438029.5);  // 1962 Jan 1 .. Dec 31
  request_.Options = TAlmanacOptions{};
  request_.Options.SetSection(almanac_section::kSeasons, true);
  ASSERT_EQ(GenerateAlmanac(request_, list_), TAlmanacResult::Done);
  const auto seasons = OfKind(almanac_entry::kSeasons);
  ASSERT_EQ(seasons.size(), 4u);
  EXPECT_EQ(seasons[1]->SecondName(), "Sommeranfang");
  EXPECT_NEAR(seasons[1]->Mjd(), JdToMjd(2437837.39245) - kDeltaT / 86400, 30.0 / 86400);
  LanguageEnglish = 1;
  list_.Clear();
  ASSERT_EQ(GenerateAlmanac(request_, list_), TAlmanacResult::Done);
  LanguageEnglish = 0;
  const char* const english[4] = {"Spring equinox", "Summer solstice", "Fall equinox", "Winter solstice"};
  const auto named = OfKind(almanac_entry::kSeasons);
  ASSERT_EQ(named.size(), 4u);
  for (std::size_t k = 0; k < 4; ++k) EXPECT_EQ(named[k]->SecondName(), english[k]);
}

// Every Moon-Jupiter conjunction of 2020 in right ascension (thirteen; a
// resume 90 days after each find kept about four), each within two minutes
// of the Swiss Ephemeris; the Moon's apogee of Meeus' example 50.a
// (1988 Oct 7, 20h30m TD) within the hour.
TEST_F(Almanac, ConjunctionsOfAYearAndMoonApogee) {
  Period(2458849.5, 2459215.5);
  request_.Options.SetBody(4, true);
  request_.Options.SetBody(9, true);
  request_.Options.SetKind(search_code::kPerigee, true);
  request_.Options.SetSection(almanac_section::kSeasons, true);
  RecordingProgress progress;
  ProgressReporter* previous = SetProgressReporter(&progress);
  ASSERT_EQ(GenerateAlmanac(request_, list_), TAlmanacResult::Done);
  SetProgressReporter(previous);
  // One bar over the whole run, never back, to 100 %; the label names the
  // section and what it works on.
  EXPECT_EQ(progress.steps_total, std::vector<int>{100});
  ASSERT_FALSE(progress.positions.empty());
  EXPECT_TRUE(std::is_sorted(progress.positions.begin(), progress.positions.end()));
  EXPECT_EQ(progress.positions.back(), 100);
  EXPECT_GT(progress.positions.size(), 20u) << "the bar moves within the sections";
  const std::vector<std::string> wanted = {
      ByLanguage("Ereignisse: ", "Events: ") + SearchBodyNames[9],
      ByLanguage("Konjunktionen: ", "Conjunctions: ") + SearchBodyNames[4] + "/" + SearchBodyNames[9],
      ByLanguage("Jahreszeiten", "Seasons")};
  for (const std::string& label : wanted)
    EXPECT_NE(std::find(progress.labels.begin(), progress.labels.end(), label), progress.labels.end()) << label;
  EXPECT_EQ(progress.ends, 1);
  const auto conjunctions = OfKind(almanac_entry::kConjunction);
  const test::FixtureTable reference = test::ReadFixture(KVX_FIXTURE_DIR "/almanac_moon_jupiter_swe.tsv");
  ASSERT_EQ(conjunctions.size(), reference.Rows());
  for (std::size_t i = 0; i < conjunctions.size(); ++i) {
    EXPECT_EQ(conjunctions[i]->ObjectName(), SearchBodyNames[4]);
    EXPECT_EQ(conjunctions[i]->SecondName(), SearchBodyNames[9]);
    const double tt = conjunctions[i]->Mjd() + kDeltaT / 86400;
    EXPECT_NEAR(tt, JdToMjd(reference.Number(i, "jd_tt")), 120.0 / 86400) << i;
    EXPECT_TRUE(std::isfinite(conjunctions[i]->Separation()));
  }

  list_.Clear();
  request_.Options = TAlmanacOptions{};
  request_.Options.SetBody(9, true);
  request_.Options.SetKind(search_code::kApogee, true);
  Period(2447420.5, 2447465.5);  // 1988 Sep 20 .. Nov 4
  ASSERT_EQ(GenerateAlmanac(request_, list_), TAlmanacResult::Done);
  const double apogee = JdToMjd(2447441.5 + 20.5 / 24) - kDeltaT / 86400;
  int near = 0;
  for (const tEvent* e : OfKind(search_code::kApogee)) {
    near += std::fabs(e->Mjd() - apogee) < 1.0 / 24;
    EXPECT_EQ(e->Unit(), "RD");
  }
  EXPECT_EQ(near, 1);
}

// The total solar eclipse of 2017 Aug 21 seen in Nashville and the total
// lunar eclipse of 2018 Jul 27 at the instant the lunar eclipse search gives
// (Delta T taken off once only).
TEST_F(Almanac, EclipsesOfTwoYears) {
  Period(2457754.5, 2458484.5, -6);
  request_.Start = test::ObserverAtPlace(2457754.5, kDeltaT, test::Place{36.16, -86.78, -5},
                                         test::PlanetAndMoonTheory(0, 0));
  request_.Start.PlaceName = "Nashville";
  request_.Options.SetSection(almanac_section::kSolarEclipses, true);
  request_.Options.SetSection(almanac_section::kLunarEclipses, true);
  ASSERT_EQ(GenerateAlmanac(request_, list_), TAlmanacResult::Done);
  bool solar = false;
  for (const tEvent* e : OfKind(almanac_entry::kSolarEclipse)) {
    // The instant is the last of the scan with the eclipse in progress on
    // Earth (21:04 UT); the writer shows the date alone.
    if (std::fabs(MjdToJd(e->Mjd()) - 2457987.378) > 0.01) continue;
    solar = true;
    EXPECT_EQ(e->SecondName(), "total");
    EXPECT_NE(e->ObjectName().find("total"), std::string::npos) << e->ObjectName();
  }
  EXPECT_TRUE(solar);
  EXPECT_EQ(OfKind(almanac_entry::kSolarEclipse).size(), 5u);  // 2017 Feb, Aug; 2018 Feb, Jul, Aug
  TObserverRecord record = At(2458320.5);
  TLunarEclipseList eclipse;
  double umbra = 0, penumbra = 0;
  FindLunarEclipse(request_.Context, eclipse, record, false, umbra, penumbra);
  int lunar = 0;
  for (const tEvent* e : OfKind(almanac_entry::kLunarEclipse)) lunar += std::fabs(e->Mjd() - record.Mjd) < 1e-6;
  EXPECT_EQ(lunar, 1);
  EXPECT_NEAR(MjdToJd(record.Mjd), 2458327.3484, 0.001);  // greatest eclipse 20:21:44 UT
  EXPECT_EQ(OfKind(almanac_entry::kLunarEclipse).size(), 4u);  // 2017 Feb, Aug; 2018 Jan, Jul
}

// Order by instant, equal instants both kept, also across JD 1,000,000 where
// the key texts would misorder; a bad period runs nothing; cancel after the
// body events keeps them, skips the later sections and clears the flag.
TEST_F(Almanac, OrderBadPeriodAndCancel) {
  TObserverRecord r = At(2451545.0);
  for (const double jd : {2451545.125, 1000000.25, 999999.75, 2451545.125}) {
    r.Mjd = JdToMjd(jd);
    AddAlmanacEvent(list_, r, 26, "", "x", 0, "");
  }
  ASSERT_EQ(list_.Count(), 4);
  EXPECT_DOUBLE_EQ(MjdToJd(list_.At(0).Mjd()), 999999.75);
  EXPECT_DOUBLE_EQ(MjdToJd(list_.At(1).Mjd()), 1000000.25);
  EXPECT_EQ(dynamic_cast<const talmanachevent&>(list_.At(3)).AlmanacText, "2451545.12500");
  list_.Clear();

  Period(2451545.5, 2451545.5);
  request_.Options = AllAlmanacOptions();
  EXPECT_EQ(GenerateAlmanac(request_, list_), TAlmanacResult::BadPeriod);
  EXPECT_TRUE(list_.Empty());

  // Cancel pressed while the Moon's label is up.
  struct CancelAtMoon : RecordingProgress {
    void SetLabel(const std::string& label) override {
      RecordingProgress::SetLabel(label);
      if (label.find(SearchBodyNames[9]) != std::string::npos) AbortRequested = 1;
    }
  } progress;
  ProgressReporter* previous = SetProgressReporter(&progress);
  Period(2451545.5, 2451575.5);
  request_.Options = TAlmanacOptions{};
  request_.Options.SetBody(0, true);
  request_.Options.SetBody(9, true);
  request_.Options.SetKind(search_code::kPerigee, true);
  request_.Options.SetSection(almanac_section::kSeasons, true);
  EXPECT_EQ(GenerateAlmanac(request_, list_), TAlmanacResult::Cancelled);
  ASSERT_EQ(OfKind(search_code::kPerigee).size(), 1u);  // the Earth's perihelion of 2000 Jan 3
  EXPECT_EQ(OfKind(search_code::kPerigee)[0]->ObjectName(), SearchBodyNames[0]);
  EXPECT_TRUE(OfKind(almanac_entry::kSeasons).empty());
  EXPECT_EQ(AbortRequested.load(), 0);
  EXPECT_FALSE(progress.Visible());
  SetProgressReporter(previous);
}

// Today mode over two days from 2017 Aug 20, 0h: the solar eclipse and the
// new moon of the second day are there, though the Moon stood 15 degrees
// from the Sun at the start; no body selected, and Pluto (outside no range
// here) costs no message.
TEST_F(Almanac, TodayOverview) {
  Period(2457985.5 + 5.0 / 24, 2457987.5 + 5.0 / 24, -5);
  request_.Options = AllAlmanacOptions();
  for (int body = 0; body < kAlmanacBodies; ++body) request_.Options.SetBody(body, false);
  ASSERT_EQ(GenerateTodayOverview(request_, list_), TAlmanacResult::Done);
  EXPECT_EQ(OfKind(almanac_entry::kSolarEclipse).size(), 1u);
  int newMoon = 0;
  for (const tEvent* e : OfKind(almanac_entry::kSeasons)) newMoon += e->SecondName() == PhaseNameText(0).substr(1) && e->Observer.Day == 21;
  EXPECT_EQ(newMoon, 1);
  EXPECT_FALSE(OfKind(almanac_entry::kConjunction).empty());  // the Moon meets the Sun, and Mars, without a body chosen
  EXPECT_TRUE(messages_.messages.empty());
}

// The body events of 2024-2025 equal the single-object search's period run
// for the same body, kind and period, in time and shown value (planets
// refined and not, the Moon's perigees and node passages); the greatest
// elongations of Mercury and Venus agree with Astronomy Engine's
// SearchMaxElongation (fixtures/almanac_astronomy_engine.tsv): every one
// listed once, within 0.015 d and 0.015 degrees (measured 0.008 d, 0.008);
// the Moon's apsides and node with SearchLunarApsis and SearchMoonNode.
TEST_F(Almanac, BodyEventsEqualTheSingleObjectSearch) {
  Period(2460310.5, 2461041.5);  // 2024-01-01 .. 2026-01-01
  const std::vector<std::pair<int, int>> searched = {{1, 8}, {1, 9}, {2, 8}, {2, 9}, {1, 10}, {3, 6},
                                                     {4, 10}, {9, 2}, {9, 3}, {9, 15}, {9, 14}};
  for (const auto& [body, kind] : searched) {
    request_.Options.SetBody(body, true);
    request_.Options.SetKind(kind, true);
  }
  ASSERT_EQ(GenerateAlmanac(request_, list_), TAlmanacResult::Done);
  for (const auto& [body, kind] : searched) {
    // Bodies share kinds: Venus's station and Mars's elongations are not
    // applicable or searched too, so collect by body and kind.
    std::vector<const tEvent*> almanac;
    for (const tEvent* e : OfKind(kind)) {
      if (e->ObjectName() == SearchBodyNames[static_cast<std::size_t>(body)]) almanac.push_back(e);
    }
    TEventList single;
    TEventSearchRun run(request_.Context, single);
    run.Options.ObjectCode = static_cast<std::uint8_t>(body);
    run.Options.EventKind = static_cast<std::uint8_t>(kind);
    run.UsePeriod = true;
    run.ResultsIntoTable = true;
    run.Period = request_.Start;
    run.End = request_.End;
    run.Run("15", "300");
    const auto expected = single.ByInstant();
    ASSERT_EQ(almanac.size(), expected.size()) << body << "/" << kind;
    ASSERT_FALSE(expected.empty()) << body << "/" << kind;
    for (std::size_t i = 0; i < expected.size(); ++i) {
      EXPECT_NEAR(almanac[i]->Mjd(), expected[i]->Mjd(), 1e-6) << body << "/" << kind << " #" << i;
      if (EventKindInfo(kind)->TableFormat[0] != '\0') {
        EXPECT_NEAR(almanac[i]->Value(), EventShownValue(kind, expected[i]->Value()), 1e-9) << body << "/" << kind;
      }
    }
  }

  const test::FixtureTable reference = test::ReadFixture(KVX_FIXTURE_DIR "/almanac_astronomy_engine.tsv");
  int elongations = 0;
  for (std::size_t row = 0; row < reference.Rows(); ++row) {
    if (reference.text[row][0] != "elongation") continue;
    ++elongations;
    const int kind = static_cast<int>(reference.Number(row, "code"));
    const auto body = static_cast<std::size_t>(reference.Number(row, "body"));
    const double mjd = JdToMjd(reference.Number(row, "jd_tt")) - kDeltaT / 86400;
    int n = 0;
    for (const tEvent* e : OfKind(kind)) {
      if (e->ObjectName() != SearchBodyNames[body] || std::fabs(e->Mjd() - mjd) > 0.015) continue;
      ++n;
      EXPECT_NEAR(e->Value(), reference.Number(row, "value"), 0.015) << SearchBodyNames[body] << " " << mjd;
      EXPECT_EQ(e->Unit(), EventUnitText(kind, static_cast<int>(body)));
    }
    EXPECT_EQ(n, 1) << SearchBodyNames[body] << " kind " << kind << " at " << mjd;
  }
  EXPECT_EQ(elongations, 15);
  // The Moon's first apogee, perigee and node passage of 2024 from
  // SearchLunarApsis and SearchMoonNode, within the search's own bounds.
  const test::FixtureTable moon = test::ReadFixture(KVX_SOURCE_TESTS "/engine/fixtures/search_astronomy_engine.tsv");
  int moonChecked = 0;
  for (std::size_t row = 0; row < moon.Rows(); ++row) {
    if (moon.Number(row, "kind") != search_kind::kMoon) continue;
    const int kind = static_cast<int>(moon.Number(row, "code"));
    const double mjd = JdToMjd(moon.Number(row, "jd_tt")) - kDeltaT / 86400;
    int n = 0;
    for (const tEvent* e : OfKind(kind)) n += e->ObjectName() == SearchBodyNames[9] && std::fabs(e->Mjd() - mjd) < 0.002;
    EXPECT_EQ(n, 1) << moon.text[row][0];
    ++moonChecked;
  }
  EXPECT_EQ(moonChecked, 3);
  int listed = 0;
  for (const int kind : {search_code::kElongationEast, search_code::kElongationWest}) {
    for (const tEvent* e : OfKind(kind)) listed += e->ObjectName() != SearchBodyNames[3];
  }
  EXPECT_EQ(listed, elongations);
}

// The Moon's perigees, apogees and central-meridian passages of 2020-2029
// at the almanac's two-day step are the events the one-day step found
// (fixtures/almanac_moon_decade.tsv, written by the almanac before the step
// was widened): every one, none more, within a second, the distances
// within 0.01 Earth radii.
TEST_F(Almanac, MoonApsidesAndCentralMeridianOfADecadeAsAtTheOneDayStep) {
  Period(2458849.5, 2462502.5);  // 2020-01-01 .. 2030-01-01
  request_.Options.SetBody(9, true);
  for (const int kind : {2, 3, 22}) request_.Options.SetKind(kind, true);
  ASSERT_EQ(GenerateAlmanac(request_, list_), TAlmanacResult::Done);
  const test::FixtureTable before = test::ReadFixture(KVX_FIXTURE_DIR "/almanac_moon_decade.tsv");
  std::size_t row = 0;
  for (const int kind : {2, 3, 22}) {
    const auto found = OfKind(kind);
    std::size_t rows = 0;
    for (std::size_t r = 0; r < before.Rows(); ++r) rows += before.Number(r, "kind") == kind;
    ASSERT_EQ(found.size(), rows) << "kind " << kind;
    EXPECT_GT(rows, 100u) << "kind " << kind;
    for (const tEvent* e : found) {
      EXPECT_EQ(e->ObjectName(), SearchBodyNames[9]);
      EXPECT_NEAR(e->Mjd(), before.Number(row, "mjd"), 1.0 / 86400) << "kind " << kind << " row " << row;
      if (kind != 22) {
        EXPECT_NEAR(e->Value(), before.Number(row, "value"), 0.01) << "kind " << kind << " row " << row;
      }
      ++row;
    }
  }
  EXPECT_EQ(row, before.Rows());
}

// The pair conjunctions of 2024 in right ascension equal the conjunction
// search of each pair over the same year (its separation limit is 40
// degrees, so wider meetings are left out of the comparison).
TEST_F(Almanac, ConjunctionsEqualTheConjunctionSearch) {
  Period(2460310.5, 2460676.5);  // 2024
  const std::vector<int> bodies = {1, 2, 3, 4, 9};
  for (const int body : bodies) request_.Options.SetBody(body, true);
  ASSERT_EQ(GenerateAlmanac(request_, list_), TAlmanacResult::Done);
  int pairs = 0;
  std::size_t compared = 0;
  for (std::size_t a = 0; a < bodies.size(); ++a) {
    for (std::size_t b = a + 1; b < bodies.size(); ++b) {
      const int i = bodies[a], j = bodies[b];
      std::vector<const tEvent*> almanac;
      for (const tEvent* e : OfKind(almanac_entry::kConjunction)) {
        if (e->ObjectName() == PairNames(i) && e->SecondName() == PairNames(j) && std::fabs(e->Value()) < 40) {
          almanac.push_back(e);
        }
      }
      TEventList single;
      TConjunctionSearchRun run(request_.Context, single);
      run.Options.FirstObject = static_cast<std::uint8_t>(i);
      run.Options.SecondObject = static_cast<std::uint8_t>(j);
      run.UsePeriod = true;
      run.ResultsIntoTable = true;
      run.Period = request_.Start;
      run.End = request_.End;
      run.Run("10", "300");
      const auto expected = single.ByInstant();
      ASSERT_EQ(almanac.size(), expected.size()) << PairNames(i) << "/" << PairNames(j);
      for (std::size_t k = 0; k < expected.size(); ++k) {
        EXPECT_NEAR(almanac[k]->Mjd(), expected[k]->Mjd(), 1e-5) << PairNames(i) << "/" << PairNames(j) << " #" << k;
        EXPECT_NEAR(almanac[k]->Separation(), expected[k]->Separation(), 1e-4);
      }
      ++pairs;
      compared += expected.size();
    }
  }
  EXPECT_EQ(pairs, 10);
  EXPECT_GT(compared, 4u * 12);  // the Moon meets each planet twelve or thirteen times
}

// The sample cache changes nothing: the body events and pair conjunctions
// of two months (the Moon meets every planet twice, so pairs leave the
// shared instants) are bit for bit those of the plain engine, with a cache
// large enough, one that stops keeping when full and one that empties.
TEST_F(Almanac, SampleCacheLeavesTheEventsAsTheyAre) {
  Period(2460371.5, 2460432.5);  // 2024-03-01 .. 2024-05-01
  request_.Options = AllAlmanacOptions();
  request_.Conjunction.Topocentric = 1;
  request_.Context.Topocentric = 1;
  auto run = [this](tsuchobjekt& engine, TEventList& events) {
    for (const int body : {3, 9}) {
      for (int kind = 0; kind < kEventKindCount; ++kind) {
        if (AlmanacKindApplies(body, kind)) SearchAlmanacBodyEvents(request_, body, kind, engine, events);
      }
    }
    SearchAlmanacConjunctions(request_, engine, events);
    return events.ByInstant();
  };
  TEventList plainEvents;
  tsuchobjekt plain(request_.Context);
  const auto expected = run(plain, plainEvents);
  ASSERT_GT(expected.size(), 40u);
  using Full = TSampleCachingSearch::WhenFull;
  for (const auto& [size, whenFull] : {std::pair{100000, Full::Stop}, {300, Full::Stop}, {300, Full::Clear}}) {
    TSampleCachingSearch cached(request_.Context, static_cast<std::size_t>(size), whenFull);
    TEventList cachedEvents;
    const auto found = run(cached, cachedEvents);
    EXPECT_GT(cached.Hits, 0u);
    ASSERT_EQ(found.size(), expected.size()) << size;
    for (std::size_t i = 0; i < found.size(); ++i) {
      const tEvent& a = *found[i];
      const tEvent& b = *expected[i];
      const std::vector<double> av = {a.Value1, a.Value2, a.Value3, a.Value4, a.Value5, a.Value6, a.Value7, a.Value8,
                                      a.Value9};
      const std::vector<double> bv = {b.Value1, b.Value2, b.Value3, b.Value4, b.Value5, b.Value6, b.Value7, b.Value8,
                                      b.Value9};
      for (std::size_t v = 0; v < av.size(); ++v) {
        EXPECT_TRUE(av[v] == bv[v] || (std::isnan(av[v]) && std::isnan(bv[v])))
            << size << " #" << i << " value " << v + 1 << ": " << av[v] << " " << bv[v];
      }
      EXPECT_EQ(a.Text1 + "|" + a.Text2 + "|" + a.Text3 + "|" + a.Text4 + "|" + a.Text5,
                b.Text1 + "|" + b.Text2 + "|" + b.Text3 + "|" + b.Text4 + "|" + b.Text5);
      EXPECT_EQ(a.Flag1, b.Flag1);
      EXPECT_EQ(a.Flag2, b.Flag2);
    }
  }
}

// The overview of a day whose start has the Moon 26 degrees short of a
// first quarter (Astronomy Engine, fixtures/almanac_astronomy_engine.tsv;
// in two days the Moon gains at most some 27 degrees on the Sun): the
// quarter is listed, though a gate on the start's elongation would have
// dropped it. The period comes from the clock; printed are only the events
// of the two days, while the phases and seasons around them are gathered.
TEST_F(Almanac, TodayListsAQuarterLateInTheWindow) {
  const test::FixtureTable reference = test::ReadFixture(KVX_FIXTURE_DIR "/almanac_astronomy_engine.tsv");
  const std::size_t row = reference.Rows() - 1;
  ASSERT_EQ(reference.text[row][0], "quarter");
  EXPECT_GT(reference.Number(row, "value"), 25.0);  // 90 - 64: outside the gate's 25 degrees
  const double quarter = JdToMjd(reference.Number(row, "jd_tt")) - kDeltaT / 86400;
  const double startJd = reference.Number(row, "start_jd_ut");
  const TObserverRecord main = At(2451545.0, 0);
  // The clock at 13:15 UT of that day (the main record's zone is UT).
  FixedClock clock((startJd - 2440587.5) * 86400.0 + 13.25 * 3600.0);
  {
    ScopedSystemClock now(clock);
    TodayPeriod(main, request_.Start, request_.End);
  }
  EXPECT_NEAR(request_.Start.Mjd, JdToMjd(startJd), 1e-9);
  EXPECT_NEAR(request_.End.Mjd - request_.Start.Mjd, 2.0, 1e-12);
  request_.Options = TAlmanacOptions{};
  request_.Options.SetSection(almanac_section::kMoonPhases, true);
  request_.Options.SetSection(almanac_section::kSeasons, true);
  ASSERT_EQ(GenerateTodayOverview(request_, list_), TAlmanacResult::Done);
  int listed = 0;
  for (const tEvent* e : OfKind(almanac_entry::kSeasons)) {
    listed += e->SecondName() == PhaseNameText(static_cast<int>(reference.Number(row, "code"))).substr(1) &&
              std::fabs(e->Mjd() - quarter) < 60.0 / 86400;
  }
  EXPECT_EQ(listed, 1);

  TTableConfigRecord config;
  TSheet sheet;
  WriteAlmanacToSheet(config, sheet, list_, request_.End, request_.Start);
  int inWindow = 0;
  for (const auto& entry : list_) {
    inWindow += entry.Event->Mjd() >= request_.Start.Mjd && entry.Event->Mjd() <= request_.End.Mjd;
  }
  EXPECT_GT(list_.Count(), 4 + inWindow);  // the year's seasons and the phases around are gathered
  EXPECT_GE(inWindow, 1);
  EXPECT_EQ(sheet.LastRow(), 1 + inWindow);
}

}  // namespace
}  // namespace kvx
