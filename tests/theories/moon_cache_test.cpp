#include "theories/moon_cache.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/vector_math.h"
#include "platform/globals.h"
#include "platform/progress.h"
#include "support/recording_progress.h"
#include "theories/moon_position.h"
#include "theory_library_test_support.h"

namespace kvx {
namespace {

constexpr double kDay = 1.0 / 36525.0;  // one day in Julian centuries

TTheorySelection MoonTheory(std::uint8_t theory) {
  TTheorySelection s;
  s.bytes[1] = theory;
  return s;
}

struct Position {
  double lambda = 0, beta = 0, distance = 0, x2000 = 0, y2000 = 0, z2000 = 0, x = 0, y = 0, z = 0;
};

Position Cached(tmooncheb& cache, TTheorySelection selection, TTruncationLevel level, double T,
                std::uint8_t shortcut = 0) {
  Position p;
  cache.MoonChebPosition(shortcut, selection, level, T, p.lambda, p.beta, p.distance, p.x2000, p.y2000, p.z2000, p.x,
                         p.y, p.z);
  return p;
}

Position Direct(std::uint8_t shortcut, TTheorySelection selection, TTruncationLevel level, double T) {
  Position p;
  double distance2 = 0;
  MoonPosition(shortcut, selection, p.lambda, T, p.beta, p.distance, p.x2000, p.y2000, p.z2000, p.x, p.y, p.z,
               distance2, level);
  return p;
}

double ArcsecondsBetween(double a, double b) { return std::fabs(AngleToPlusMinus180(Mod360(a - b))) * 3600; }

TEST(MoonCacheTest, SetupClampsSpanAndDegree) {
  tmooncheb cache(0, 0);
  EXPECT_EQ(cache.SpanDays(), 12);
  EXPECT_EQ(cache.Degree(), 13);
  EXPECT_DOUBLE_EQ(cache.SpanCenturies(), 12 * 2.7378507871321012e-05);
  EXPECT_EQ(cache.CoveredStart(), -1000.0);
  EXPECT_EQ(cache.CoveredEnd(), -1000.0);
  cache.MoonChebSetup(25, 5);
  EXPECT_EQ(cache.SpanDays(), 20);
  EXPECT_EQ(cache.Degree(), 6);
  EXPECT_DOUBLE_EQ(cache.SpanCenturies(), 20 * 2.7378507871321012e-05);
  cache.MoonChebSetup(1, 99);
  EXPECT_EQ(cache.SpanDays(), 2);
  EXPECT_EQ(cache.Degree(), 13);
  cache.MoonChebSetup(-4, -1);
  EXPECT_EQ(cache.SpanDays(), 2);
  EXPECT_EQ(cache.Degree(), 6);
}

TEST(MoonCacheTest, MainWindowStateCreatesAndResetsTheCache) {
  TMoonCacheState state;
  state.SpanDays = 25;
  state.Degree = 0;
  state.SetDegree(7);  // before the cache exists: only stored
  state.Create();
  ASSERT_TRUE(state.Cache);
  EXPECT_EQ(state.Cache->SpanDays(), 20);
  EXPECT_EQ(state.Cache->Degree(), 7);
  Cached(*state.Cache, MoonTheory(0), kFullTheory, 0.1);
  EXPECT_NE(state.Cache->CoveredStart(), -1000.0);
  state.SetSpanDays(5);
  EXPECT_EQ(state.Cache->SpanDays(), 5);
  EXPECT_EQ(state.Cache->CoveredStart(), -1000.0);  // emptied
  state.SetDegree(9);
  EXPECT_EQ(state.Cache->Degree(), 9);
  EXPECT_EQ(state.SpanDays, 5);
}

TEST(MoonCacheTest, ClenshawEvaluation) {
  TMoonChebPoly p;
  p.N = 0;
  p.Ta = 1;
  p.Tb = 3;
  p.C[0] = 5;
  EXPECT_DOUBLE_EQ(MoonChebEvaluate(p, 2.7), 2.5);
  // 1/2 C0 + C1 T1(x) + C2 T2(x) with x = t - 2 on [1, 3].
  p.N = 2;
  p.C = {};
  p.C[0] = 2;
  p.C[1] = 3;
  p.C[2] = 4;
  for (double t : {1.0, 1.5, 2.0, 2.25, 3.0}) {
    const double x = t - 2;
    EXPECT_NEAR(MoonChebEvaluate(p, t), 1 + 3 * x + 4 * (2 * x * x - 1), 1e-12) << t;
  }
  p.N = 40;  // read as degree 19
  EXPECT_NEAR(MoonChebEvaluate(p, 2.25), 1 + 3 * 0.25 + 4 * (2 * 0.0625 - 1), 1e-12);
}

// With the internal series the cache reproduces MoonPosition to far below
// 0.1" over many refits.
TEST(MoonCacheTest, InternalSeriesWithinATenthOfAnArcsecond) {
  tmooncheb cache(12, 13);
  const TTheorySelection selection = MoonTheory(0);
  double worstAngle = 0, worstKm = 0;
  for (double T = 0.24; T < 0.25; T += 0.37 * kDay) {
    const Position c = Cached(cache, selection, kFullTheory, T);
    const Position d = Direct(0, selection, kFullTheory, T);
    worstAngle = std::max({worstAngle, ArcsecondsBetween(c.lambda, d.lambda), std::fabs(c.beta - d.beta) * 3600});
    worstKm = std::max(worstKm, std::fabs(c.distance - d.distance) * 6378.14);
    const double chord = std::hypot(c.x2000 - d.x2000, c.y2000 - d.y2000, c.z2000 - d.z2000);
    ASSERT_LT(chord, 0.1 / 206265 * 400000) << T;  // 0.1" at the Moon's distance, km
    ASSERT_LT(std::hypot(c.x - d.x, c.y - d.y, c.z - d.z), 0.1 / 206265 * 400000) << T;
  }
  EXPECT_LT(worstAngle, 0.1);
  EXPECT_LT(worstKm, 0.01);
  EXPECT_GE(cache.Refits(), 30);
  std::printf("moon cache, internal series: %.5f\" and %.5f km at worst\n", worstAngle, worstKm);
  // The longest span with the highest degree, and the lowest degree,
  // measured for the settings dialog's sake.
  for (const auto& setting : {std::pair{20, 13}, std::pair{12, 6}, std::pair{2, 6}}) {
    cache.MoonChebSetup(setting.first, setting.second);
    double worst = 0;
    for (double T = 0.24; T < 0.25; T += 0.37 * kDay) {
      worst = std::max(worst, ArcsecondsBetween(Cached(cache, selection, kFullTheory, T).lambda,
                                                Direct(0, selection, kFullTheory, T).lambda));
    }
    std::printf("moon cache, span %d days, degree %d: %.4f\" at worst\n", setting.first, setting.second, worst);
  }
}

class MoonCacheLibrary : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(test::OpenBuiltLibraries().Elp2000, 1); }
  void TearDown() override { CloseTheoryLibraries(); }
};

// With the ELP library, both light-time roads: the distance is the one
// MoonPosition gives (geometric at T without the shortcut), the angles
// those at the retarded instant.
TEST_F(MoonCacheLibrary, LibraryWithinATenthOfAnArcsecond) {
  for (std::uint8_t shortcut : {0, 1}) {
    tmooncheb cache(12, 13);
    const TTheorySelection selection = MoonTheory(1);
    double worstAngle = 0, worstKm = 0;
    for (double T = -0.31; T < -0.30; T += 1.37 * kDay) {
      const Position c = Cached(cache, selection, kFullTheory, T, shortcut);
      const Position d = Direct(shortcut, selection, kFullTheory, T);
      worstAngle = std::max({worstAngle, ArcsecondsBetween(c.lambda, d.lambda), std::fabs(c.beta - d.beta) * 3600});
      worstKm = std::max(worstKm, std::fabs(c.distance - d.distance) * 6378.14);
    }
    EXPECT_LT(worstAngle, 0.1) << int(shortcut);
    // Without the light-time fix the distance would be that of 1.3 s
    // earlier (up to 0.1 km off).
    EXPECT_LT(worstKm, 0.005) << int(shortcut);
    std::printf("moon cache, ELP library, shortcut %d: %.5f\" and %.5f km at worst\n", shortcut, worstAngle, worstKm);
  }
}

// The cache is filled with the truncation level it is asked for.
TEST_F(MoonCacheLibrary, RefitsWithTheRequestedTruncationLevel) {
  const std::uint8_t shortcut = 1;
  tmooncheb cache(12, 13);
  const TTheorySelection selection = MoonTheory(1);
  const double T = 0.1;
  const Position coarse = Cached(cache, selection, 10, T, shortcut);
  const Position full = Cached(cache, selection, kFullTheory, T, shortcut);
  EXPECT_EQ(cache.Refits(), 2);
  EXPECT_LT(ArcsecondsBetween(coarse.lambda, Direct(shortcut, selection, 10, T).lambda), 0.1);
  EXPECT_LT(ArcsecondsBetween(full.lambda, Direct(shortcut, selection, kFullTheory, T).lambda), 0.1);
  EXPECT_GT(ArcsecondsBetween(coarse.lambda, full.lambda), 1.0);
}

// The spans lie on a grid of the time axis; the current span and the one
// before it serve without a refit.
TEST(MoonCacheTest, RefitsExactlyWhenTheRequestLeavesTheKeptSpans) {
  tmooncheb cache(10, 8);
  const TTheorySelection internal = MoonTheory(0);
  const double span = 10 * 2.7378507871321012e-05;
  Cached(cache, internal, kFullTheory, 0.2);
  EXPECT_EQ(cache.Refits(), 1);
  const double start = cache.CoveredStart(), end = cache.CoveredEnd();
  EXPECT_DOUBLE_EQ(start, std::floor(0.2 / span) * span);
  EXPECT_DOUBLE_EQ(end, start + span);
  EXPECT_LE(start, 0.2);
  EXPECT_GT(end, 0.2);
  EXPECT_EQ(cache.LongitudePoly().N, 8);
  EXPECT_EQ(cache.LongitudePoly().Ta, start);
  EXPECT_EQ(cache.DistancePoly().Tb, end);
  // Inside the span: no refit.
  Cached(cache, internal, kFullTheory, start + 0.01 * kDay);
  Cached(cache, internal, kFullTheory, std::nextafter(end, 0.0) - 0.01 * kDay);
  EXPECT_EQ(cache.Refits(), 1);
  // Past the end: the next span of the grid.
  const double later = end + 0.01 * kDay;
  Cached(cache, internal, kFullTheory, later);
  EXPECT_EQ(cache.Refits(), 2);
  EXPECT_DOUBLE_EQ(cache.CoveredStart(), start + span);
  // Back and forth over the border: both spans are kept.
  Cached(cache, internal, kFullTheory, end - 0.01 * kDay);
  EXPECT_DOUBLE_EQ(cache.CoveredStart(), start);
  Cached(cache, internal, kFullTheory, later);
  EXPECT_EQ(cache.Refits(), 2);
  // A third span takes the place of the older one.
  Cached(cache, internal, kFullTheory, end + 1.5 * span);
  EXPECT_EQ(cache.Refits(), 3);
  Cached(cache, internal, kFullTheory, later);
  EXPECT_EQ(cache.Refits(), 3);
  Cached(cache, internal, kFullTheory, start + 0.5 * span);
  EXPECT_EQ(cache.Refits(), 4);
  // Another truncation level or light-time option for the same T refits
  // (any non-zero option is the same option); the fit before stays kept.
  const double T = cache.CoveredStart() + kDay;
  Cached(cache, internal, 6, T);
  EXPECT_EQ(cache.Refits(), 5);
  Cached(cache, internal, 6, T);
  Cached(cache, internal, kFullTheory, T);
  EXPECT_EQ(cache.Refits(), 5);
  Cached(cache, internal, kFullTheory, T, 1);
  Cached(cache, internal, kFullTheory, T, 2);
  EXPECT_EQ(cache.Refits(), 6);
  Cached(cache, internal, 6, T, 0);
  EXPECT_EQ(cache.Refits(), 7);
  // Setup empties the cache.
  cache.MoonChebSetup(12, 13);
  EXPECT_EQ(cache.CoveredStart(), -1000.0);
  Cached(cache, internal, kFullTheory, T);
  EXPECT_EQ(cache.Refits(), 8);
  EXPECT_EQ(cache.LongitudePoly().N, 13);
}

// The place of an instant is the same, to the last bit, whatever was asked
// before: a month of places from a fresh cache, from one last asked five
// days before the month, from one last asked an hour into it, and from one
// that went back and forth over three months.
TEST(MoonCacheTest, APlaceDoesNotDependOnTheRequestsBefore) {
  const TTheorySelection internal = MoonTheory(0);
  const double start = 0.27;
  std::vector<tmooncheb> caches(4, tmooncheb(12, 13));
  Cached(caches[1], internal, kFullTheory, start - 5 * kDay);
  Cached(caches[2], internal, kFullTheory, start + kDay / 24);
  for (int k = 0; k < 60; ++k) {
    Cached(caches[3], internal, kFullTheory, start + std::fmod(k * 37.3, 90.0) * kDay - 30 * kDay);
  }
  for (double T = start; T < start + 30 * kDay; T += 0.29 * kDay) {
    const Position fresh = Cached(caches[0], internal, kFullTheory, T);
    for (std::size_t c = 1; c < caches.size(); ++c) {
      const Position p = Cached(caches[c], internal, kFullTheory, T);
      ASSERT_EQ(p.lambda, fresh.lambda) << "cache " << c << " at " << T;
      ASSERT_EQ(p.beta, fresh.beta) << "cache " << c << " at " << T;
      ASSERT_EQ(p.distance, fresh.distance) << "cache " << c << " at " << T;
    }
  }
}

TEST(MoonCacheTest, LongitudeIsUnwrappedNotReduced) {
  tmooncheb cache(12, 13);
  const TTheorySelection internal = MoonTheory(0);
  // Find a span in which the Moon passes 0 degrees of longitude.
  double T = 0.25;
  for (int i = 0; i < 40; ++i, T += kDay) {
    if (Direct(0, internal, kFullTheory, T).lambda > 330) break;
  }
  int negative = 0;
  for (double t = T; t < T + 4 * kDay; t += 0.1 * kDay) {
    const Position c = Cached(cache, internal, kFullTheory, t);
    const Position d = Direct(0, internal, kFullTheory, t);
    if (c.lambda < 0) ++negative;
    EXPECT_LT(c.lambda, 360.0);
    EXPECT_LT(ArcsecondsBetween(c.lambda, d.lambda), 0.1);
  }
  EXPECT_LE(cache.Refits(), 2);  // the four days may cross the border of two spans
  EXPECT_GT(negative, 0);
}

TEST(MoonCacheTest, PanelShowsTheNodesWhileNoProgressBarIs) {
  RecordingProgress progress;
  ProgressReporter* previous = SetProgressReporter(&progress);
  tmooncheb cache(12, 6);
  LanguageEnglish = 0;
  Cached(cache, MoonTheory(0), kFullTheory, 0.1);
  ASSERT_EQ(progress.captions.size(), 7u);
  EXPECT_EQ(progress.captions.front(), "Berechne Mondpositionen 1");
  EXPECT_EQ(progress.captions.back(), "Berechne Mondpositionen 7");
  EXPECT_EQ(progress.ends, 1);
  EXPECT_FALSE(progress.visible);
  LanguageEnglish = 1;
  Cached(cache, MoonTheory(0), kFullTheory, 0.2);
  EXPECT_EQ(progress.captions.back(), "Calculate moon ephemeris 7");
  EXPECT_EQ(progress.ends, 2);
  LanguageEnglish = 0;
  // A progress bar on screen: the panel stays hidden and the bar untouched.
  progress.visible = true;
  progress.captions.clear();
  Cached(cache, MoonTheory(0), kFullTheory, 0.3);
  EXPECT_TRUE(progress.captions.empty());
  EXPECT_EQ(progress.ends, 2);
  EXPECT_TRUE(progress.visible);
  SetProgressReporter(previous);
}

// A progress panel whose window events run one pending action: what the
// event loop would handle while a refit shows its panel.
struct EventsDuringRefit : RecordingProgress {
  std::function<void()> pending;
  void ProcessEvents() override {
    RecordingProgress::ProcessEvents();
    if (pending) std::exchange(pending, nullptr)();
  }
};

// Window events run while a refit shows its panel; a Moon request handled
// then (the idle keeper, a table command) gets the direct series for its
// own instant and leaves no fit behind that answers one span with another
// span's series: every span asked afterwards agrees with the direct series.
TEST(MoonCacheTest, ARequestDuringARefitIsAnsweredForItsOwnInstant) {
  EventsDuringRefit progress;
  ProgressReporter* previous = SetProgressReporter(&progress);
  const TTheorySelection internal = MoonTheory(0);
  tmooncheb cache(12, 13);
  const double kept = 0.1, refitted = 0.2;
  Cached(cache, internal, kFullTheory, kept);
  std::vector<std::pair<double, Position>> nested;
  progress.pending = [&] {
    for (double T : {0.3, kept, 0.3 + 0.5 * kDay}) nested.emplace_back(T, Cached(cache, internal, kFullTheory, T));
  };
  Cached(cache, internal, kFullTheory, refitted);
  ASSERT_EQ(nested.size(), 3u);
  for (const auto& [T, p] : nested) {
    EXPECT_LT(ArcsecondsBetween(p.lambda, Direct(0, internal, kFullTheory, T).lambda), 0.1) << T;
  }
  for (double T : {0.3, kept, refitted, 0.3 + kDay, kept, refitted + kDay}) {
    const Position p = Cached(cache, internal, kFullTheory, T);
    EXPECT_LT(ArcsecondsBetween(p.lambda, Direct(0, internal, kFullTheory, T).lambda), 0.1) << T;
    EXPECT_LT(std::fabs(p.distance - Direct(0, internal, kFullTheory, T).distance) * 6378.14, 0.01) << T;
  }
  SetProgressReporter(previous);
}

// The options confirmed (or a configuration loaded) while a refit runs set
// the cache up with another span: the 12-day fit in the making must not be
// kept under the 20-day grid's index of the same number (span 304 of the
// 12-day grid holds T = 0.1, span 304 of the 20-day grid lies 2430 days
// later), nor may the request that started it get anything but its place.
TEST(MoonCacheTest, ASpanChangedDuringARefitDropsTheFitOfTheOldSpan) {
  EventsDuringRefit progress;
  ProgressReporter* previous = SetProgressReporter(&progress);
  const TTheorySelection internal = MoonTheory(0);
  TMoonCacheState state;
  state.Create();
  tmooncheb& cache = *state.Cache;
  const double first = 0.1;
  ASSERT_EQ(std::floor(first / (12 * kDay)), 304);
  progress.pending = [&] { state.SetSpanDays(20); };
  const Position during = Cached(cache, internal, kFullTheory, first);
  EXPECT_EQ(cache.SpanDays(), 20);
  EXPECT_LT(ArcsecondsBetween(during.lambda, Direct(0, internal, kFullTheory, first).lambda), 0.1);
  EXPECT_LT(std::fabs(during.distance - Direct(0, internal, kFullTheory, first).distance) * 6378.14, 0.01);
  for (double T : {(304 * 20 + 10) * kDay, first, (304 * 20 + 0.5) * kDay}) {
    // A 20-day fit of degree 13 holds to about 0.12" and 0.15 km.
    const Position p = Cached(cache, internal, kFullTheory, T);
    EXPECT_LT(ArcsecondsBetween(p.lambda, Direct(0, internal, kFullTheory, T).lambda), 0.5) << T;
    EXPECT_LT(std::fabs(p.distance - Direct(0, internal, kFullTheory, T).distance) * 6378.14, 0.5) << T;
    EXPECT_NEAR(cache.CoveredEnd() - cache.CoveredStart(), 20 * kDay, 1e-12) << T;
  }
  SetProgressReporter(previous);
}

}  // namespace
}  // namespace kvx
