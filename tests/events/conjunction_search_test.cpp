// The conjunction search and the separation table against the Swiss
// Ephemeris (fixtures/conjunctions_swe.tsv and separations_swe.tsv, made by
// make_conjunction_swe.sh): the great conjunction of 2020 in all three
// kinds, every conjunction of the Moon with each planet through 2024
// (geocentric and topocentric, with and without a separation limit), the
// Moon with catalogue stars, separation tables row by row, the visibility
// filter, and the search's own rules. Internal series throughout, Delta T
// fixed at 69.2 s; times compared in TT.
#include "events/conjunction_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "core/name_tables.h"
#include "core/time_scales.h"
#include "eclipses/star_catalogue.h"
#include "engine/sun_planet_support.h"
#include "events/conjunction_stars.h"
#include "platform/globals.h"
#include "support/fixtures.h"
#include "support/recording_message_sink.h"
#include "support/recording_progress.h"
#include "support/theory_selection.h"
#include "theories/theory_library_test_support.h"

namespace kvx {
namespace {

constexpr double kDeltaT = 69.2;
constexpr double kMinute = 1.0 / 1440;

double JdTT(double mjdUT) { return MjdToJd(mjdUT) + kDeltaT / 86400; }

struct Reference {
  double JdTT, Separation, SunAltitude, Altitude1, Altitude2, SunRefracted, Altitude1Refracted, Altitude2Refracted;
};

std::map<std::string, std::vector<Reference>> ReadConjunctions() {
  const test::FixtureTable t = test::ReadFixture(KVX_FIXTURE_DIR "/conjunctions_swe.tsv");
  std::map<std::string, std::vector<Reference>> out;
  for (std::size_t i = 0; i < t.Rows(); ++i) {
    out[t.text[i][0]].push_back({t.Number(i, "jd_tt"), t.Number(i, "separation"), t.Number(i, "sun_alt"),
                                 t.Number(i, "alt1"), t.Number(i, "alt2"), t.Number(i, "sun_alt_refr"),
                                 t.Number(i, "alt1_refr"), t.Number(i, "alt2_refr")});
  }
  return out;
}

const char* const kPlanets[] = {"mercury", "venus", "mars", "jupiter", "saturn", "uranus", "neptune", "pluto"};

class ConjunctionSearch : public ::testing::Test {
 protected:
  void SetUp() override {
    InitAstroNameTables();
    AbortRequested = 0;
    context_.Selection = test::PlanetAndMoonTheory(0, 0);
    context_.FastSearch = 1;
  }
  void TearDown() override { AbortRequested = 0; }
  static TObserverRecord At(double mjdUT) {
    return test::ObserverAtPlace(MjdToJd(mjdUT), kDeltaT, test::Place{50, 10, 0}, test::PlanetAndMoonTheory(0, 0));
  }
  // A silent period run of `first` and `second` over 2024 (or the given span).
  TConjunctionSearchRun PeriodRun(int first, int second, double startMjd = 60310, double endMjd = 60676) {
    TConjunctionSearchRun run(context_, list_);
    run.Options.FirstObject = static_cast<std::uint8_t>(first);
    run.Options.SecondObject = static_cast<std::uint8_t>(second);
    run.UsePeriod = true;
    run.ResultsIntoTable = true;
    run.Period = At(startMjd);
    run.End = At(endMjd);
    return run;
  }
  // Every reference conjunction is listed once within `tolerance` days, and
  // nothing else; returns the worst time difference (days).
  double ExpectAllListed(const std::vector<Reference>& expected, double tolerance, const std::string& what) {
    const auto events = list_.ByInstant();
    EXPECT_EQ(events.size(), expected.size()) << what;
    double worst = 0;
    for (const Reference& r : expected) {
      auto nearest = std::min_element(events.begin(), events.end(), [&](const tEvent* a, const tEvent* b) {
        return std::fabs(JdTT(a->Mjd()) - r.JdTT) < std::fabs(JdTT(b->Mjd()) - r.JdTT);
      });
      if (nearest == events.end()) break;
      const double dt = std::fabs(JdTT((*nearest)->Mjd()) - r.JdTT);
      EXPECT_LT(dt, tolerance) << what << " at JD " << r.JdTT;
      worst = std::max(worst, dt);
    }
    return worst;
  }
  TSearchContext context_;
  TEventList list_;
  RecordingMessageSink messages_;
  ScopedMessageSink guard_{messages_};
};

// Jupiter and Saturn, December 2020, on the VSOP87 D road: in right
// ascension and in longitude within 2 minutes of the Swiss Ephemeris
// (measured 0.4 min; the pair closes by only 6' a day: 1" is 4 minutes), the
// separation within 2" (measured 0.1"); the smallest separation lies on the
// 30-minute grid of its second pass: within 15 minutes (measured 3 min) and
// 2" of the minimum.
TEST_F(ConjunctionSearch, GreatConjunctionOf2020InAllThreeKinds) {
  const TLibraryAvailability libraries = test::OpenBuiltLibraries();
  ASSERT_TRUE(libraries.Vsop87D) << "VSOP87 D library not built";
  context_.Selection = test::PlanetAndMoonTheory(1, 0);
  context_.FastSearch = 0;
  const auto reference = ReadConjunctions();
  struct Case {
    const char* name;
    std::uint8_t longitude, smallest;
    double time;
  };
  for (const Case& c : {Case{"jupiter_saturn_ra", 0, 0, 2 * kMinute}, Case{"jupiter_saturn_longitude", 1, 0, 2 * kMinute},
                        Case{"jupiter_saturn_smallest", 0, 1, 15 * kMinute}}) {
    list_.Clear();
    TConjunctionSearchRun run = PeriodRun(4, 5, 59154, 59215);  // 2020 Nov 1 .. 2021 Jan 1
    run.Options.InLongitude = c.longitude;
    run.Options.SmallestSeparation = c.smallest;
    run.SeparationLimit = 1;
    EXPECT_EQ(run.Run("10", "300"), 0) << c.name;
    ASSERT_EQ(list_.Count(), 1) << c.name;
    const Reference& r = reference.at(c.name)[0];
    const tEvent& e = list_.At(0);
    std::printf("%s: %.2f min, %.2f\"\n", c.name, (JdTT(e.Mjd()) - r.JdTT) * 1440,
                (e.Separation() - r.Separation) * 3600);
    EXPECT_NEAR(JdTT(e.Mjd()), r.JdTT, c.time) << c.name;
    EXPECT_NEAR(e.Separation(), r.Separation, 2.0 / 3600) << c.name;
    EXPECT_EQ(e.ObjectName(), "Jupiter");
    EXPECT_EQ(e.SecondName(), "Saturn");
    EXPECT_EQ(e.ConjunctionKind(), c.smallest ? 3 : c.longitude ? 2 : 1);
    EXPECT_EQ(list_.Key(0), "Saturn");
  }
  CloseTheoryLibraries();
}

// Every conjunction in right ascension of the Moon with each planet through
// 2024, geocentric and topocentric (50 N, 10 E): each once, within 2 minutes
// of the Swiss Ephemeris (measured 0.6 min at worst), separations within 30"
// (measured 11"; the internal lunar series). With a separation
// limit between two passes' separations, exactly the passes closer than the
// limit are listed: a wider pass no longer throws the rest of its 90-day
// window away.
TEST_F(ConjunctionSearch, MoonWithEveryPlanetThroughAYear) {
  const auto reference = ReadConjunctions();
  double worst = 0, worstSeparation = 0;
  for (int topo = 0; topo <= 1; ++topo) {
    context_.Topocentric = static_cast<std::uint8_t>(topo);
    for (int planet = 1; planet <= 8; ++planet) {
      const std::string name =
          std::string("moon_") + kPlanets[planet - 1] + (topo != 0 ? "_topo" : "_geo");
      list_.Clear();
      TConjunctionSearchRun run = PeriodRun(9, planet);
      run.Options.Topocentric = static_cast<std::uint8_t>(topo);
      EXPECT_EQ(run.Run("15", "300"), 0);
      const std::vector<Reference>& expected = reference.at(name);
      worst = std::max(worst, ExpectAllListed(expected, 2 * kMinute, name));
      for (const auto& entry : list_) {
        for (const Reference& r : expected) {
          if (std::fabs(JdTT(entry.Event->Mjd()) - r.JdTT) < 0.01)
            worstSeparation = std::max(worstSeparation, std::fabs(entry.Event->Separation() - r.Separation));
        }
      }
      if (topo != 0) continue;
      // The limit halfway between the two middle separations of the year.
      std::vector<double> widths;
      for (const Reference& r : expected) widths.push_back(std::fabs(r.Separation));
      std::sort(widths.begin(), widths.end());
      const double limit = (widths[widths.size() / 2 - 1] + widths[widths.size() / 2]) / 2;
      std::vector<Reference> closer;
      for (const Reference& r : expected) {
        if (std::fabs(r.Separation) < limit) closer.push_back(r);
      }
      list_.Clear();
      run.SeparationLimit = limit;
      EXPECT_EQ(run.Run("15", "300"), 0);
      ExpectAllListed(closer, 2 * kMinute, name + " with limit");
    }
  }
  std::printf("worst %.2f min, %.1f\"\n", worst * 1440, worstSeparation * 3600);
  EXPECT_LT(worstSeparation, 30.0 / 3600);
}

// The Moon with Regulus, Spica, Antares and Aldebaran of the small catalogue
// (chosen by typing part of their numbers) through 2024: every conjunction
// in right ascension within 2 minutes of the Swiss Ephemeris star places
// (measured 0.9 min), separations within 30".
TEST_F(ConjunctionSearch, MoonWithCatalogueStars) {
  std::int32_t selected = -1;
  const TStarCatalogueLoad load = LoadStarCatalogue(KVX_DATA_DIR, 1, selected);
  ASSERT_TRUE(load.Catalogue);
  context_.StarAt = CatalogueStarLookup(load.Catalogue);
  context_.StarCount = load.Catalogue->Count();
  const auto reference = ReadConjunctions();
  const std::map<std::string, std::string> numbers = {
      {"Regulus", "98967"}, {"Spica", "157923"}, {"Antares", "184415"}, {"Aldebaran", "94027"}};
  for (const auto& [star, number] : numbers) {
    const std::int32_t index = FindStarByText(*load.Catalogue, number);
    ASSERT_GT(index, 0) << star;
    list_.Clear();
    TConjunctionSearchRun run = PeriodRun(9, 0);
    run.Options.FirstObject = search_kind::kStar;
    run.Options.SecondObject = search_kind::kMoon;
    run.StarNumber = index;
    run.StarName = CatalogueStarName(*load.Catalogue, index);
    EXPECT_EQ(run.Run("15", "300"), 0);
    // The reference has the Moon first: the sign of the separation flips.
    std::vector<Reference> expected = reference.at("moon_star_" + star);
    const double worst = ExpectAllListed(expected, 2 * kMinute, star);
    std::printf("%s: %.2f min\n", star.c_str(), worst * 1440);
    for (const auto& entry : list_) {
      EXPECT_EQ(entry.Event->ObjectName(), "SAO " + number);
      EXPECT_EQ(entry.Event->Magnitude1(), -100);
      for (const Reference& r : expected) {
        if (std::fabs(JdTT(entry.Event->Mjd()) - r.JdTT) < 0.01) {
          EXPECT_NEAR(entry.Event->Separation(), -r.Separation, 30.0 / 3600) << star;
        }
      }
    }
  }
}

// Separation tables: the Moon and Venus hourly over three days against the
// Swiss Ephemeris row by row (within 30"); a 1-second step becomes 1.5 s and
// a day of it stops at 16,382 rows; the stop after three rows keeps them; a
// step that is not positive or no number is refused before anything runs.
TEST_F(ConjunctionSearch, SeparationTablesRowByRow) {
  const test::FixtureTable swe = test::ReadFixture(KVX_FIXTURE_DIR "/separations_swe.tsv");
  ASSERT_EQ(swe.Rows(), 72u);
  const double start = JdToMjd(swe.Number(0, "jd_ut"));
  TConjunctionSearchRun run = PeriodRun(9, 2, start, start + 71.0 / 24);
  run.TableStep = 1.0 / 24;
  ASSERT_EQ(run.RunTable(), 72);
  ASSERT_EQ(list_.Count(), 72);
  ASSERT_EQ(run.ListLines.size(), 72u);
  const auto events = list_.ByInstant();
  for (std::size_t i = 0; i < 72; ++i) {
    EXPECT_NEAR(MjdToJd(events[i]->Mjd()), swe.Number(i, "jd_ut"), 1e-6) << i;
    EXPECT_NEAR(events[i]->Separation(), swe.Number(i, "separation"), 30.0 / 3600) << i;
  }

  list_.Clear();
  run.Options.FirstObject = 1;  // Mercury and the Sun: the cheapest pair
  run.Options.SecondObject = 0;
  run.Period = At(60370);
  run.End = At(60371);
  run.TableStep = 1.0 / 86400;
  EXPECT_EQ(SeparationTableRows(60370, 60371, SeparationTableStep(run.TableStep)), 16383);
  ASSERT_EQ(run.RunTable(), kSeparationTableRows);
  const auto seconds = list_.ByInstant();
  EXPECT_NEAR((seconds[1]->Mjd() - seconds[0]->Mjd()) * 86400, 1.5, 1e-4);

  RecordingProgress progress;
  ProgressReporter* previous = SetProgressReporter(&progress);
  progress.abort_at_step = 3;
  list_.Clear();
  run.TableStep = 1.0 / 24;
  EXPECT_EQ(run.RunTable(), 3);
  EXPECT_EQ(list_.Count(), 3);
  SetProgressReporter(previous);

  list_.Clear();
  for (double bad : {0.0, -1.0, std::nan("")}) {
    run.TableStep = bad;
    EXPECT_EQ(run.RunTable(), -1);
  }
  EXPECT_EQ(list_.Count(), 0);
  EXPECT_EQ(messages_.messages.size(), 3u);
}

// The visibility filter keeps exactly the Moon-planet conjunctions of 2024
// whose altitudes from swe_azalt pass it, with refraction off and on; cases
// within 0.3 degrees of a limit are left out (the Sun's altitude is taken
// at the sidereal time of TT and the internal series differ by arc minutes).
TEST_F(ConjunctionSearch, VisibilityFilterFollowsTheAltitudes) {
  const auto reference = ReadConjunctions();
  const TVisibilityFilter filter{-6, 5, 5};
  for (int refraction = 0; refraction <= 1; ++refraction) {
    for (int planet : {2, 4, 5}) {
      const std::string name = std::string("moon_") + kPlanets[planet - 1] + "_geo";
      list_.Clear();
      TConjunctionSearchRun run = PeriodRun(9, planet);
      run.Period.RefractionOn = static_cast<std::uint8_t>(refraction);
      run.Filter = filter;
      EXPECT_EQ(run.Run("15", "300"), 0);
      const auto events = list_.ByInstant();
      for (const Reference& r : reference.at(name)) {
        const double sun = refraction != 0 ? r.SunRefracted : r.SunAltitude;
        const double moon = refraction != 0 ? r.Altitude1Refracted : r.Altitude1;
        const double body = refraction != 0 ? r.Altitude2Refracted : r.Altitude2;
        if (std::fabs(sun + 6) < 0.3 || std::fabs(moon - 5) < 0.3 || std::fabs(body - 5) < 0.3) continue;
        const bool expected = filter.Passes(sun, moon, body);
        const bool listed = std::any_of(events.begin(), events.end(),
                                        [&](const tEvent* e) { return std::fabs(JdTT(e->Mjd()) - r.JdTT) < 0.01; });
        EXPECT_EQ(listed, expected) << name << " JD " << r.JdTT << " refraction " << refraction;
        for (const tEvent* e : events) {
          if (std::fabs(JdTT(e->Mjd()) - r.JdTT) >= 0.01) continue;
          EXPECT_NEAR(e->SunAltitude(), sun, 0.3);
          EXPECT_NEAR(e->Altitude1(), moon, 0.3);
          EXPECT_NEAR(e->Altitude2(), body, 0.3);
        }
      }
    }
  }
}

// The rules of a run: equal objects refused with their message; the Moon is
// searched in 0.3-day steps and at least 50 per window whatever is typed;
// other pairs use 0.3 days for the first window after the start and after a
// find, then the typed step; the hand-over is the event itself; the texts.
TEST_F(ConjunctionSearch, RulesOfTheRun) {
  TConjunctionSearchRun same(context_, list_);
  same.Options.FirstObject = 1;
  same.Options.SecondObject = 1;
  EXPECT_EQ(same.Run("15", "300"), -1);
  ASSERT_EQ(messages_.messages.size(), 1u);
  EXPECT_EQ(messages_.messages[0].text, "Es müssen zwei verschiedene Objekte ausgewählt werden!");

  std::vector<TConjunctionFoundTexts> shown;
  auto answers = [&shown](std::vector<int> script) {
    return [&shown, script, n = std::size_t{0}](const TConjunctionFoundTexts& t) mutable {
      shown.push_back(t);
      return n < script.size() ? script[n++] : kEventAnswerStop;
    };
  };
  TConjunctionSearchRun moon(context_, list_);
  moon.Options.FirstObject = 9;
  moon.Options.SecondObject = 4;
  moon.Options.Repetitions = 150;
  moon.Start = At(60310);
  moon.Answerer = answers({kEventAnswerSearchOn, kEventAnswerUseDate});
  ASSERT_EQ(moon.Run("20", "150"), kEventAnswerUseDate);
  for (const auto& [step, window] : moon.Windows) {
    EXPECT_DOUBLE_EQ(step, 0.3);
    EXPECT_EQ(window, 150);
  }
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].Title, "Konjunktion zwischen Mond");
  EXPECT_EQ(shown[0].Second, "und Jupiter");
  EXPECT_NE(shown[0].Separation.find("'"), std::string::npos);
  EXPECT_EQ(shown[0].NorthSouth.rfind("Mond ", 0), 0u);
  EXPECT_TRUE(moon.CanHandOverDate());
  EXPECT_DOUBLE_EQ(moon.Start.Mjd, moon.LastEvent.Mjd);
  EXPECT_GT(moon.LastEvent.Mjd - 60310, 27);  // the second pass of the year

  // Mars and Jupiter from 2024 Jan 1: a 90-day window of 0.3 d finds
  // nothing, then the typed 20 days; after the find of August 14 the
  // first window is fine again.
  shown.clear();
  TConjunctionSearchRun pair(context_, list_);
  pair.Options.FirstObject = 3;
  pair.Options.SecondObject = 4;
  pair.Start = At(60310);
  pair.Answerer = answers({kEventAnswerSearchOn, kEventAnswerStop});
  EXPECT_EQ(pair.Run("20", "300"), kEventAnswerStop);
  ASSERT_GE(pair.Windows.size(), 3u);
  EXPECT_DOUBLE_EQ(pair.Windows[0].first, 0.3);
  EXPECT_DOUBLE_EQ(pair.Windows[1].first, 20);
  EXPECT_DOUBLE_EQ(pair.Windows[2].first, 0.3);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].When.substr(0, 2) + shown[0].When.substr(3, 2) + shown[0].When.substr(6, 4), "14082024");

  // A second run after no find at all in period mode: the message.
  messages_.messages.clear();
  list_.Clear();
  TConjunctionSearchRun none = PeriodRun(4, 5, 59400, 59430);
  EXPECT_EQ(none.Run("15", "300"), 0);
  ASSERT_EQ(messages_.messages.size(), 1u);

  EXPECT_DOUBLE_EQ(ValidSeparationLimit(360), 40);
  EXPECT_DOUBLE_EQ(ValidSeparationLimit(0.05), 0.05);
  EXPECT_DOUBLE_EQ(ValidSeparationLimit(0.01), 40);
  EXPECT_EQ(ValidStarNumber(0, 900), 900);
  EXPECT_EQ(ValidStarNumber(5000, 900), 900);
  EXPECT_EQ(ValidStarNumber(12, 900), 12);
  EXPECT_EQ(SeparationText(0.1042222), "0°06'");
  EXPECT_EQ(SeparationText(-0.9999), "1°00'");
}

}  // namespace
}  // namespace kvx
