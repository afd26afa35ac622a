// The refinements: the node-passage series against its published example,
// the refined node passages of 1990-2030 against PyEphem
// (fixtures/moon_nodes_ephem.tsv, make_moon_node_reference.py), the first
// cycle of a period, the sign-change search on made-up functions, the
// quantities that give a signed angle or a sine to follow, and the refined
// planet events against Astronomy Engine
// (tests/engine/fixtures/search_astronomy_engine.tsv). Internal series for
// the Sun, planets and Moon, so no theory library is needed.
#include "events/event_refinement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/name_tables.h"
#include "core/time_scales.h"
#include "engine/sun_planet_support.h"
#include "support/fixtures.h"
#include "support/recording_message_sink.h"
#include "support/theory_selection.h"

namespace kvx {
namespace {

constexpr double kDeltaT = 69.2;  // seconds, fixed for the planet events

TSearchContext InternalSeries() {
  TSearchContext context;
  context.Selection = test::PlanetAndMoonTheory(0, 0);
  context.FastSearch = 1;
  return context;
}

TEST(NodePassages, SeriesMatchesThePublishedExampleAndSpacing) {
  EXPECT_NEAR(NodePassageSeriesJde(-170), 2446938.76803, 1e-4);  // 1987 May 23, Meeus example 51.a
  EXPECT_NEAR(NodePassageSeriesJde(0), 2451565.16, 0.5);
  EXPECT_NEAR(NodePassageSeriesJde(0.5) - NodePassageSeriesJde(0), 13.6, 0.75);  // half a draconic month
}

// Every passage 1990-2030 from the first cycle of 1990 on: each reference
// passage is met once, in order, ascending at whole cycles; within 2 minutes
// (measured about 0.5 minute with the internal Moon series).
TEST(NodePassages, RefinedPassagesAgreeWithPyEphem) {
  const test::FixtureTable table = test::ReadFixture(KVX_FIXTURE_DIR "/moon_nodes_ephem.tsv");
  ASSERT_GT(table.Rows(), 1000u);
  const TSearchContext context = InternalSeries();
  const double startMjd = JdToMjd(table.Number(0, "jd_tt")) - 3;
  double k = FirstNodeCycle(startMjd);
  double mjd = -1e9;
  std::size_t row = 0;
  double worst = 0;
  RecordingMessageSink sink;
  ScopedMessageSink guard(sink);
  while (row < table.Rows()) {
    k += 0.5;
    mjd = NodePassageTime(k, context);
    if (mjd < startMjd) continue;
    const double dt = MjdToJd(mjd) - table.Number(row, "jd_tt");
    worst = std::max(worst, std::fabs(dt));
    ASSERT_NEAR(dt, 0, 2.0 / 1440) << "cycle " << k;
    EXPECT_EQ(std::floor(k) == k, table.Number(row, "ascending") == 1) << k;
    ++row;
  }
  EXPECT_EQ(sink.beeps, 0);
  std::printf("worst node passage: %.1f s\n", worst * 86400);
}

// Rounding down: for starts before 2000.05 the first passage after the start
// is the first the period run reaches (truncation toward zero skipped it).
TEST(NodePassages, FirstCycleReachesTheFirstPassageAfterTheStart) {
  const TSearchContext context = InternalSeries();
  for (double startMjd : {47892.0, 51000.3, 51545.0, 51560.0, 53552.0, 62000.0}) {
    SCOPED_TRACE(startMjd);
    const double k = FirstNodeCycle(startMjd);
    // The cycle before the first one a run evaluates lies before the start,
    // and the next passage follows within half a draconic month.
    EXPECT_LT(NodePassageTime(k, context), startMjd);
    double next = k + 0.5;
    while (NodePassageTime(next, context) < startMjd) next += 0.5;
    EXPECT_LT(NodePassageTime(next, context) - startMjd, 14.0);
  }
}

TEST(SignChangeSearch, OnARootTwoRootsAndNone) {
  double hours = -1;
  // A start on the crossing: taken in the first window.
  ASSERT_TRUE(FindFirstSignChange([](double h) { return h; }, 100, hours));
  EXPECT_NEAR(hours, 0, 1e-9);
  // Two roots in the window about hour 3 (2.6 h and 3.4 h): the ascending one.
  ASSERT_TRUE(FindFirstSignChange([](double h) { return (h - 2.6) * (h - 3.4); }, 100, hours));
  EXPECT_NEAR(hours, 3.4, 1e-9);
  ASSERT_TRUE(FindFirstSignChange([](double h) { return -(h - 2.6) * (h - 3.4); }, 100, hours));
  EXPECT_NEAR(hours, 2.6, 1e-9);
  // A single descending root.
  ASSERT_TRUE(FindFirstSignChange([](double h) { return 50 - h; }, 100, hours));
  EXPECT_NEAR(hours, 50, 1e-9);
  hours = 7;
  EXPECT_FALSE(FindFirstSignChange([](double h) { return 1 + h; }, 100, hours));
  EXPECT_FALSE(FindFirstSignChange([](double) { return std::numeric_limits<double>::quiet_NaN(); }, 100, hours));
  EXPECT_EQ(hours, 7);

  TSearchContext context = InternalSeries();
  tsuchobjekt engine(context);
  double result = 0;
  EXPECT_FALSE(RefineEventTime(search_code::kElongationEast, TObserverRecord{}, context.Selection, result, engine, 3, 51544));
  EXPECT_EQ(result, kRefinementFailed);
}

// Every quantity of the event kinds: the engine reports a find's value as a
// signed angle, and the refinement follows a sine, exactly for the
// quantities the two predicates name (the kind table's static_assert
// trusts them). The record's angles are all negative, so that a signed
// angle is told from the extreme 0.5 itself; Jupiter has every angle the
// refinement follows.
TEST(EventQuantities, SignedAngleAndTrackedSineExactlyWhereThePredicatesSay) {
  InitAstroNameTables();
  constexpr int kJupiter = search_kind::kMars + 1;
  TEphemerisResultRecord r;
  r.Physical.subEarthLatC = -3;
  r.Physical.subSolarLatC = -2;
  r.Physical.SunSelenographicLatitude = -1.5;
  r.Physical.centralMeridian1 = -40;
  const TSearchContext context = InternalSeries();
  tsuchobjekt engine(context);
  const double jd = 2460000.5;
  const TObserverRecord observer = test::ObserverAtPlace(jd, kDeltaT, test::Place{50, 10, 0}, context.Selection);
  for (int k = 0; k < kEventQuantityCount; ++k) {
    const auto quantity = static_cast<TEventQuantity>(k);
    SCOPED_TRACE(EventQuantityName(quantity));
    for (int body : {kJupiter, search_kind::kMoon}) {
      const double value = ExtremeValue(quantity, body, 0.5, r);
      if (QuantityHasSignedAngle(quantity)) {
        EXPECT_LT(value, 0) << "body " << body;
      } else {
        EXPECT_EQ(value, 0.5) << "body " << body;
      }
    }
    const double sine = EventQuantitySine(quantity, kJupiter, 6, jd, observer, context.Selection, engine);
    EXPECT_EQ(std::isfinite(sine), QuantityHasTrackedSine(quantity)) << sine;
  }
}

// Oppositions and conjunctions of Mars..Neptune, inferior and superior
// conjunctions of Mercury and Venus, the Moon's node: refined from a
// candidate 2 days off. The reference aligns the heliocentric longitudes,
// the refinement the apparent geocentric ones; they differ by the aberration
// and light time, so these are held to 75" of the relative motion (as the
// search engine's own loops); the Moon's node to 0.001 d.
TEST(EventRefinement, ConjunctionsAndNodesAgreeWithAstronomyEngine) {
  InitAstroNameTables();
  const test::FixtureTable table = test::ReadFixture(KVX_SOURCE_TESTS "/engine/fixtures/search_astronomy_engine.tsv");
  TSearchContext context = InternalSeries();
  context.FastSearch = 0;  // keep the internal planet series chosen below
  tsuchobjekt engine(context);
  int checked = 0;
  for (std::size_t i = 0; i < table.Rows(); ++i) {
    const int code = static_cast<int>(table.Number(i, "code"));
    const int body = static_cast<int>(table.Number(i, "kind"));
    namespace sc = search_code;
    if (code != sc::kOpposition && code != sc::kConjunction && code != sc::kInferiorConjunction &&
        code != sc::kSuperiorConjunction && code != sc::kNode)
      continue;
    SCOPED_TRACE(table.text[i][0]);
    const double tt = table.Number(i, "jd_tt");
    const double mjdUT = JdToMjd(tt) - kDeltaT / 86400;
    const TObserverRecord observer =
        test::ObserverAtPlace(MjdToJd(mjdUT), kDeltaT, test::Place{50, 10, 0}, context.Selection);
    double result = 0;
    ASSERT_TRUE(RefineEventTime(code, observer, context.Selection, result, engine, body, mjdUT + 2));
    const double dt = result - mjdUT;
    if (code == search_code::kNode) {
      EXPECT_NEAR(dt, 0, 0.001);
    } else {
      // Degrees per day of the elongation in longitude at the event.
      double side[2];
      for (int k = 0; k < 2; ++k) {
        TObserverRecord o = test::ObserverAtPlace(MjdToJd(mjdUT) + k - 0.5, kDeltaT, test::Place{50, 10, 0},
                                                  context.Selection);
        TTheorySelection selection = context.Selection;
        TEphemerisResultRecord r;
        ASSERT_TRUE(engine.planet(selection, body, o, r, 0));
        side[k] = r.Physical.sideAngle;
      }
      const double rate = std::fabs(std::remainder(side[1] - side[0], 360.0));
      EXPECT_LT(std::fabs(dt) * rate * 3600, 75.0) << dt;
    }
    ++checked;
  }
  EXPECT_EQ(checked, 15);
}

}  // namespace
}  // namespace kvx
