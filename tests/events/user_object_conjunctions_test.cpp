// The conjunction lists of user objects against the Swiss Ephemeris
// (fixtures/user_conjunctions_swe.tsv, made by make_user_conjunctions_swe.sh):
// the Sun with a dozen bright ecliptic stars over 2025 in right ascension and
// in longitude, the Moon's monthly conjunctions with Regulus, and a user
// object inside Mars's retrograde loop of 2024/25; then the list's own rules
// (invalid events, row limit, cancel, the sample cache) and the lists of
// user objects against asteroids. Internal series, Delta T fixed at 69.2 s;
// times compared in TT.
#include "events/user_object_conjunctions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "core/name_tables.h"
#include "core/time_scales.h"
#include "engine/sun_planet_support.h"
#include "platform/globals.h"
#include "support/fixtures.h"
#include "support/recording_message_sink.h"
#include "support/recording_progress.h"
#include "support/theory_selection.h"

namespace kvx {
namespace {

constexpr double kDeltaT = 69.2;
constexpr double kMinute = 1.0 / 1440;
constexpr double kYear2025 = 60676;  // 2025-01-01 0h UT, MJD
constexpr double kYear2026 = 61041;

double JdTT(double mjdUT) { return MjdToJd(mjdUT) + kDeltaT / 86400; }

struct Star {
  std::string Name;
  double RaHours, DecDeg, PmRa, PmDec, Magnitude;
};

struct Fixture {
  std::vector<Star> Stars;
  std::map<std::string, std::vector<double>> Rows;  // "kind name" -> first value of each row
  std::map<std::string, std::vector<std::vector<double>>> Mars;
};

const Fixture& Reference() {
  static const Fixture fixture = [] {
    Fixture f;
    const test::FixtureTable t = test::ReadFixture(KVX_FIXTURE_DIR "/user_conjunctions_swe.tsv");
    for (std::size_t i = 0; i < t.Rows(); ++i) {
      const std::string& kind = t.text[i][0];
      const std::string& name = t.text[i][1];
      if (kind == "star") {
        f.Stars.push_back({name, t.Number(i, "v1"), t.Number(i, "v2"), t.Number(i, "v3"), t.Number(i, "v4"),
                           t.Number(i, "v5")});
      } else if (name == "mars") {
        f.Mars[kind].push_back({t.Number(i, "v1"), t.Number(i, "v2"), t.Number(i, "v3")});
      } else {
        f.Rows[kind + " " + name].push_back(t.Number(i, "v1"));
      }
    }
    return f;
  }();
  return fixture;
}

void AddObject(tuserlist& list, const std::string& name, double raHours, double decDeg, double pmRa, double pmDec,
               double magnitude) {
  auto object = std::make_unique<tuserobject>(name, 0.f, 0.f, 0.f, 0.f, 0.f, 0.f);
  object->Angle1 = static_cast<float>(raHours);
  object->Angle2 = static_cast<float>(decDeg);
  object->Value3 = static_cast<float>(pmRa);
  object->Value4 = static_cast<float>(pmDec);
  object->Value5 = 2000.f;
  object->Value6 = static_cast<float>(magnitude);
  list.Add(std::move(object));
}

class UserConjunctions : public ::testing::Test {
 protected:
  void SetUp() override {
    InitAstroNameTables();
    AbortRequested = 0;
    context_.Selection = test::PlanetAndMoonTheory(0, 0);
    context_.FastSearch = 1;
    context_.UserObjects = &objects_;
  }
  void TearDown() override { AbortRequested = 0; }
  static TObserverRecord At(double mjdUT) {
    return test::ObserverAtPlace(MjdToJd(mjdUT), kDeltaT, test::Place{50, 10, 0}, test::PlanetAndMoonTheory(0, 0));
  }
  void AddStars() {
    for (const Star& s : Reference().Stars) AddObject(objects_, s.Name, s.RaHours, s.DecDeg, s.PmRa, s.PmDec, s.Magnitude);
  }
  template <typename Run>
  void Prepare(Run& run, double startMjd, double endMjd) {
    run.Start = At(startMjd);
    run.End = At(endMjd);
  }
  // The events of `name` by instant (MJD of UT).
  std::vector<const tEvent*> EventsOf(const std::string& name) const {
    std::vector<const tEvent*> out;
    for (const tEvent* e : list_.ByInstant()) {
      if (e->ObjectName() == name) out.push_back(e);
    }
    return out;
  }
  // Every reference instant listed once within `tolerance` days, nothing
  // else; returns the worst difference.
  double ExpectListed(const std::vector<double>& expected, const std::vector<const tEvent*>& events, double tolerance,
                      const std::string& what) {
    EXPECT_EQ(events.size(), expected.size()) << what;
    double worst = 0;
    for (std::size_t i = 0; i < std::min(events.size(), expected.size()); ++i) {
      const double dt = std::fabs(JdTT(events[i]->Mjd()) - expected[i]);
      EXPECT_LT(dt, tolerance) << what << " at JD " << expected[i];
      worst = std::max(worst, dt);
    }
    return worst;
  }

  TSearchContext context_;
  tuserlist objects_;
  TEventList list_;
  RecordingMessageSink messages_;
  ScopedMessageSink guard_{messages_};
};

// The Sun against twelve bright stars over 2025: every conjunction in right
// ascension and in longitude within 3 minutes of the Swiss Ephemeris
// (measured 0.9 min: the internal Sun series), each under its key and the
// kind's abbreviation, the star first and the Sun second with the star's
// magnitude set by its kind (none: -100) and the Sun's own.
TEST_F(UserConjunctions, SunWithBrightStarsInRightAscensionAndLongitude) {
  AddStars();
  ASSERT_EQ(objects_.Count(), 12);
  for (std::uint8_t longitude : {0, 1}) {
    list_.Clear();
    TBodyUserObjectConjunctionRun run(context_, list_);
    Prepare(run, kYear2025, kYear2026);
    run.Options.ChosenBody = 0;
    run.Options.InLongitude = longitude;
    ASSERT_GE(run.Run("15"), 12);
    const std::string kind = longitude ? "sun_lon " : "sun_ra ";
    double worst = 0;
    for (const Star& s : Reference().Stars) {
      worst = std::max(worst, ExpectListed(Reference().Rows.at(kind + s.Name), EventsOf(s.Name), 3 * kMinute, kind + s.Name));
    }
    std::printf("Sun-star conjunctions (%s): worst %.2f min\n", kind.c_str(), worst / kMinute);
    const std::string abbrev = ConjunctionKindAbbrev(run.Options);
    ASSERT_EQ(run.ListLines.size(), static_cast<std::size_t>(list_.Count()));
    for (const auto& [line, event] : run.ListLines) {
      const int index = list_.IndexOf(event);
      ASSERT_GE(index, 0);
      EXPECT_EQ(list_.Key(index), line + abbrev);
      EXPECT_EQ(line, UserConjunctionKey(event->Observer, event->ObjectName(), event->SecondName()));
      EXPECT_EQ(event->SecondName(), SearchBodyNames[0]);
      EXPECT_EQ(event->Value8, -100) << "a user object has no magnitude of its own";
      EXPECT_LT(event->Value9, -26) << "the Sun's magnitude";
    }
  }
  EXPECT_TRUE(messages_.messages.empty());
}

// The Moon steps 0.3 days with at least 50 steps whatever the options'
// object codes and the typed step say: all thirteen conjunctions with Regulus
// in 2025 within 2 minutes (measured 0.3 min). A 15-day step would miss most.
TEST_F(UserConjunctions, MoonStepIsDecidedByTheChosenBody) {
  const Star& regulus = *std::find_if(Reference().Stars.begin(), Reference().Stars.end(),
                                      [](const Star& s) { return s.Name == "Regulus"; });
  AddObject(objects_, regulus.Name, regulus.RaHours, regulus.DecDeg, regulus.PmRa, regulus.PmDec, regulus.Magnitude);
  TBodyUserObjectConjunctionRun run(context_, list_);
  Prepare(run, kYear2025, kYear2026);
  run.Options.FirstObject = 2;  // the two-object search's record names two planets
  run.Options.SecondObject = 4;
  run.Options.ChosenBody = search_kind::kMoon;
  run.Run("15");
  const double worst = ExpectListed(Reference().Rows.at("moon_ra Regulus"), EventsOf("Regulus"), 2 * kMinute, "Moon");
  std::printf("Moon-Regulus: worst %.2f min\n", worst / kMinute);
  double step = 0;
  std::int32_t window = 0;
  BodySearchStep(search_kind::kMoon, 15, 10, step, window);
  EXPECT_EQ(step, 0.3);
  EXPECT_EQ(window, 50);
}

// A user object at Mars's place at the opposition of January 2025 lies inside
// the retrograde loop: Mars passes it three times in longitude (before the
// first station, between the stations, after the second). A single advance
// of 20 days after each find keeps all three. A separation limit below the
// first (widest) pass lists only the later, closer ones: the rejected pass
// does not end the object's search.
TEST_F(UserConjunctions, RetrogradeLoopGivesThreePassesAndARejectedPassDoesNotEndTheSearch) {
  const auto& mars = Reference().Mars;
  ASSERT_EQ(mars.at("station").size(), 2u);
  const std::vector<double>& opposition = mars.at("opposition").at(0);
  // Ecliptic of date (2025.04) to the J2000 equator: precession in longitude
  // taken off (50.29"/year), then the J2000 obliquity.
  const double lambda = (opposition[1] - 25.04 * 50.29 / 3600) * M_PI / 180, beta = opposition[2] * M_PI / 180;
  const double eps = 23.4392911 * M_PI / 180;
  const double x = std::cos(beta) * std::cos(lambda);
  const double y = std::cos(beta) * std::sin(lambda) * std::cos(eps) - std::sin(beta) * std::sin(eps);
  const double z = std::cos(beta) * std::sin(lambda) * std::sin(eps) + std::sin(beta) * std::cos(eps);
  const double ra = std::fmod(std::atan2(y, x) * 180 / M_PI + 360, 360) / 15, dec = std::asin(z) * 180 / M_PI;
  AddObject(objects_, "Loop", ra, dec, 0, 0, 5);

  auto search = [&](double limit) {
    list_.Clear();
    TBodyUserObjectConjunctionRun run(context_, list_);
    Prepare(run, 60554, 60856);  // 2024-09-01 .. 2025-06-30
    run.Options.ChosenBody = search_kind::kMars;
    run.Options.InLongitude = 1;
    run.SeparationLimit = limit;
    run.Run("15");
    return EventsOf("Loop");
  };
  std::vector<std::pair<double, double>> all;  // instant, |separation|
  for (const tEvent* e : search(40)) all.emplace_back(e->Mjd(), std::fabs(e->Value2));
  ASSERT_EQ(all.size(), 3u);
  const double station1 = mars.at("station")[0][0], station2 = mars.at("station")[1][0];
  EXPECT_LT(JdTT(all[0].first), station1);
  EXPECT_GT(JdTT(all[1].first), station1);
  EXPECT_LT(JdTT(all[1].first), station2);
  EXPECT_GT(JdTT(all[2].first), station2);
  EXPECT_NEAR(JdTT(all[1].first), opposition[0], 2.0) << "the middle pass near the opposition";
  const double s1 = all[0].second, s2 = all[1].second, s3 = all[2].second;
  ASSERT_GT(s1, std::max(s2, s3)) << "the first pass is the widest";
  const std::vector<const tEvent*> closer = search((s1 + std::max(s2, s3)) / 2);
  ASSERT_EQ(closer.size(), 2u);
  EXPECT_EQ(closer[0]->Mjd(), all[1].first);
  EXPECT_EQ(closer[1]->Mjd(), all[2].first);

  // Two passes in right ascension 31 days apart, around the station of
  // February 2025: the refinement of the second must not reach back to the
  // first (it then took the first again as an invalid repeat and lost the
  // second).
  AddObject(objects_, "Station", 7.342700958251953, 40.287437438964844, 0, 0, 2.4);
  list_.Clear();
  TBodyUserObjectConjunctionRun run(context_, list_);
  Prepare(run, 60676, 60796);  // 2025-01-01 .. 2025-05-01
  run.Options.ChosenBody = search_kind::kMars;
  run.Run("15");
  const std::vector<const tEvent*> station = EventsOf("Station");
  ASSERT_EQ(station.size(), 2u);
  EXPECT_NEAR(station[1]->Mjd() - station[0]->Mjd(), 31.2, 0.5);
  EXPECT_EQ(run.InvalidEvents, 0);
}

// The list's own rules: an event past the period's end is shown red and
// dropped; a user object fainter than the limit gets no search; the row
// limit ends the run with its message; a cancel ends the whole run (not
// just the current object) and keeps what was found; Pluto outside its
// theory's range becomes Neptune.
TEST_F(UserConjunctions, InvalidEventsMagnitudeFilterRowLimitCancelAndPluto) {
  AddStars();
  const double regulusSun = Reference().Rows.at("sun_ra Regulus").at(0);
  const double endMjd = regulusSun - 2400000.5 - 0.4;  // just before the conjunction
  {
    TBodyUserObjectConjunctionRun run(context_, list_);
    Prepare(run, endMjd - 40, endMjd);
    run.UserRange = {5, 5};  // Regulus alone
    std::vector<std::pair<std::string, bool>> statuses;
    run.OnStatus = [&](const std::string& text, bool invalid, int) { statuses.emplace_back(text, invalid); };
    EXPECT_EQ(run.Run("15"), 0);
    ASSERT_EQ(statuses.size(), 1u);
    EXPECT_TRUE(statuses[0].second);
    EXPECT_EQ(statuses[0].first, "Ungültiger Wert");
    EXPECT_EQ(run.InvalidEvents, 1);
    EXPECT_TRUE(list_.Empty());
    EXPECT_TRUE(run.ListLines.empty());
  }
  {
    TBodyUserObjectConjunctionRun run(context_, list_);
    Prepare(run, kYear2025, kYear2026);
    run.Options.UserObjectMagnitudeLimit = 1.0;  // Aldebaran, Spica, Antares pass
    run.Run("15");
    EXPECT_EQ(run.PairsSearched, 3);
    EXPECT_EQ(list_.Count(), 3);
  }
  {
    list_.Clear();
    TBodyUserObjectConjunctionRun run(context_, list_);
    Prepare(run, kYear2025, kYear2026);
    run.Options.ChosenBody = search_kind::kMoon;
    run.RowLimit = 20;
    run.Run("15");
    EXPECT_EQ(list_.Count(), 20);
    EXPECT_LT(run.PairsSearched, 12);
    ASSERT_EQ(messages_.messages.size(), 1u);
    EXPECT_NE(messages_.messages[0].text.find("Maximale Zeilenzahl"), std::string::npos);
  }
  {
    list_.Clear();
    RecordingProgress progress;
    progress.abort_at_step = 400;
    ProgressReporter* previous = SetProgressReporter(&progress);
    TBodyUserObjectConjunctionRun run(context_, list_);
    Prepare(run, kYear2025, kYear2026);
    run.Run("15");
    SetProgressReporter(previous);
    EXPECT_TRUE(run.Cancelled);
    EXPECT_LT(run.PairsSearched, 12) << "the cancel ends the run";
    EXPECT_EQ(list_.Count(), static_cast<int>(run.ListLines.size())) << "what was found stays";
    EXPECT_EQ(AbortRequested, 0);
  }
  EXPECT_EQ(BodyForDate(search_kind::kPluto, context_.Selection, true, 60676), search_kind::kPluto);
  EXPECT_EQ(BodyForDate(search_kind::kPluto, context_.Selection, true, -500000), search_kind::kPluto - 1);
  EXPECT_EQ(BodyForDate(search_kind::kMars, context_.Selection, true, -500000), search_kind::kMars);
}

// The sample cache changes no result: the first conjunction of each star
// equals, to the bit, the engine's own search without the cache.
TEST_F(UserConjunctions, SampleCacheChangesNoResult) {
  AddStars();
  TBodyUserObjectConjunctionRun run(context_, list_);
  Prepare(run, kYear2025, kYear2026);
  run.Options.ChosenBody = search_kind::kMars;
  run.Run("15");
  tsuchobjekt plain(context_);
  int compared = 0;
  for (int i = 0; i < objects_.Count(); ++i) {
    double time = 0, separation = 0;
    const bool found = plain.schleife_2({.Body = search_kind::kUserObject,
                                         .SecondBody = search_kind::kMars,
                                         .UserIndex = i + 1,
                                         .DateCheck = true,
                                         .EndCheck = true,
                                         .Bounded = true,
                                         .BoundMjd = run.End.Mjd,
                                         .Start = run.Start,
                                         .Step = 15,
                                         .MaxSteps = kDefaultRepetitions,
                                         .EndMjd = run.End.Mjd},
                                        time, separation);
    const std::vector<const tEvent*> events = EventsOf(objects_.Item(i)->Name);
    if (!found || events.empty()) continue;
    EXPECT_EQ(events[0]->Mjd(), time) << objects_.Item(i)->Name;
    EXPECT_EQ(events[0]->Value2, separation) << objects_.Item(i)->Name;
    ++compared;
  }
  EXPECT_GE(compared, 6);
}

TAsteroidElements Asteroid(const std::string& name, double a, double e, double i, double node, double peri, double m,
                           double h) {
  TAsteroidElements el;
  el.Name = name;
  el.SemiMajorAxis = a;
  el.Eccentricity = e;
  el.Inclination = i;
  el.Node = node;
  el.Perihelion = peri;
  el.MeanAnomaly = m;
  el.Equinox = 2000;
  el.Epoch = 2460800.5;
  el.MeanMotion = a > 0 ? 0.9856076686 / std::pow(a, 1.5) : 0;
  el.H = h;
  el.G = 0.15;
  return el;
}

// User objects against asteroids: an asteroid fainter than the limit
// throughout gets no pair search, one with unusable elements is skipped and
// reported once at the end, (0, -1) ranges cover the whole lists, and each
// pair's conjunctions equal the two-object search of that pair.
TEST_F(UserConjunctions, UserObjectsAgainstAsteroids) {
  AddStars();
  const std::vector<TAsteroidElements> asteroids = {
      Asteroid("Ceres", 2.7666, 0.0789, 10.587, 80.25, 73.30, 188.7, 3.34),
      Asteroid("Vesta", 2.3615, 0.0902, 7.144, 103.70, 151.54, 26.8, 3.25),
      Asteroid("Faint", 2.60, 0.10, 5.0, 40.0, 50.0, 60.0, 24.0),
      Asteroid("Broken", -1.0, 0.10, 5.0, 40.0, 50.0, 60.0, 5.0),
  };
  TUserObjectMinorBodyConjunctionRun run(context_, list_);
  Prepare(run, kYear2025, kYear2026);
  run.Options.MinorBodyMagnitudeLimit = 12;
  run.MinorCount = static_cast<std::int32_t>(asteroids.size());
  run.MinorAt = [&](std::int32_t index, TMinorBodyEntry& entry) {
    entry.Asteroid = asteroids[static_cast<std::size_t>(index)];
    entry.Name = entry.Asteroid.Name;
    return true;
  };
  std::vector<int> totals;
  run.OnProgress = [&](const TUserConjunctionProgress& p) { totals.push_back(p.TotalPercent); };
  run.Run("15");
  EXPECT_FALSE(run.Cancelled);
  EXPECT_EQ(run.PrescanPassed, 2);
  EXPECT_EQ(run.SkippedInvalid, 1);
  EXPECT_EQ(run.PairsSearched, 2 * 12);
  ASSERT_EQ(messages_.messages.size(), 1u);
  EXPECT_NE(messages_.messages[0].text.find("1 Objekte"), std::string::npos) << messages_.messages[0].text;
  ASSERT_FALSE(totals.empty());
  EXPECT_TRUE(std::is_sorted(totals.begin(), totals.end()));
  EXPECT_LE(totals.back(), 100);

  // The first two pairs listed against the two-object search of each pair
  // in period mode: the same instants.
  std::vector<std::pair<int, int>> pairs;
  for (const tEvent* e : list_.ByInstant()) {
    const int asteroid = e->SecondName() == "Ceres" ? 0 : 1;
    int user = 0;
    while (objects_.Item(user)->Name != e->ObjectName()) ++user;
    if (std::find(pairs.begin(), pairs.end(), std::pair{asteroid, user}) == pairs.end()) pairs.emplace_back(asteroid, user);
  }
  ASSERT_GE(pairs.size(), 2u);
  pairs.resize(2);
  for (const auto& [asteroid, user] : pairs) {
    TEventList single;
    TConjunctionSearchRun two(context_, single);
    two.Options.FirstObject = search_kind::kUserObject;
    two.Options.SecondObject = search_kind::kAsteroid;
    two.UsePeriod = true;
    two.ResultsIntoTable = true;
    two.Period = run.Start;
    two.End = run.End;
    two.Asteroid = asteroids[static_cast<std::size_t>(asteroid)];
    two.UserObjectNumber = user + 1;
    two.Run("15", "300");
    std::vector<double> expected, listed;
    for (const tEvent* e : single.ByInstant()) expected.push_back(e->Mjd());
    for (const tEvent* e : list_.ByInstant()) {
      if (e->ObjectName() == objects_.Item(user)->Name && e->SecondName() == asteroids[static_cast<std::size_t>(asteroid)].Name)
        listed.push_back(e->Mjd());
    }
    ASSERT_EQ(listed.size(), expected.size()) << objects_.Item(user)->Name;
    for (std::size_t i = 0; i < listed.size(); ++i) EXPECT_NEAR(listed[i], expected[i], 1e-6);
  }

  // The database without a selection: the message, no search.
  messages_.messages.clear();
  TUserObjectMinorBodyConjunctionRun database(context_, list_);
  database.From = TUserObjectMinorBodyConjunctionRun::Source::Database;
  EXPECT_EQ(database.Run("15"), TUserObjectMinorBodyConjunctionRun::kNoSelection);
  ASSERT_EQ(messages_.messages.size(), 1u);
  EXPECT_NE(messages_.messages[0].text.find("aus der Datenbank"), std::string::npos);
  EXPECT_EQ(database.PairsSearched, 0);
}

}  // namespace
}  // namespace kvx
