// Darkness of the night: the interval rules over every order of moonrise,
// moonset, dawn and dusk, and the Sun table's darkness columns against
// Astronomy Engine (fixtures/darkness_astronomy_engine.tsv, made by
// make_darkness_reference.js) and at high latitudes.
#include "engine/darkness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "core/name_tables.h"
#include "engine/sun.h"
#include "engine/table_globals.h"
#include "platform/progress.h"
#include "sun_planet_support.h"
#include "support/fixtures.h"
#include "support/recording_progress.h"
#include "support/table_request.h"
#include "support/theory_selection.h"

namespace kvx {
namespace {

constexpr double kEnd = kDarknessDayEnd;

// The earlier rules, case by case, as the table computed them before: the
// reference for every order of events where they were sound.
TDarknessBlock EarlierRules(const TDarknessDay& d, const std::function<bool(double)>& below) {
  TDarknessBlock b;
  const double R = d.Moonrise, S = d.Moonset, D = d.Dawn, E = d.Dusk;
  const bool r = R > 0, s = S > 0;
  auto morning = [&] {
    if (r && R < D) { b.FirstStart = 0; b.FirstEnd = R; }
    else if (s && S < D) { b.FirstStart = S; b.FirstEnd = D; }
    else if (below(D)) { b.FirstStart = 0; b.FirstEnd = D; }
  };
  auto evening = [&] {
    if (r && R > E) { b.SecondStart = E; b.SecondEnd = R; }
    else if (s && S > E) { b.SecondStart = S; b.SecondEnd = kEnd; }
    else if (below(E)) { b.SecondStart = E; b.SecondEnd = kEnd; }
  };
  if (D == 0 && E == 0) {
    if (d.NeverDark) return b;
    if (r && s && R < S) { b.FirstStart = 0; b.FirstEnd = R; b.SecondStart = S; b.SecondEnd = kEnd; }
    else if (r && s) { b.FirstStart = S; b.FirstEnd = R; }
    else if (r) { b.FirstStart = 0; b.FirstEnd = R; }
    else if (s) { b.FirstStart = S; b.FirstEnd = kEnd; }
    else if (below(12.0)) { b.FirstStart = 0; b.FirstEnd = kEnd; }
  } else if (D == 0) {
    evening();
  } else if (E == 0) {
    morning();
  } else if (E > D) {
    morning();
    evening();
  } else {
    const double a = E, bb = D;
    auto set1 = [&](double x, double y) { b.FirstStart = x; b.FirstEnd = y; };
    if (r && s && R < S) {
      if (R < a) { if (S < bb) set1(S, bb); }
      else set1(a, R < bb ? R : bb);
    } else if (r && s) {
      if (S < a) { if (R > bb) set1(a, bb); else if (R > a) set1(a, R); }
      else if (S < bb) set1(S, std::min(R, bb));
    } else if (r) { if (R > a) set1(a, R); }
    else if (s) { if (S <= a) set1(a, bb); else if (S < bb) set1(S, bb); }
    else if (below(a)) set1(a, bb);
  }
  if (b.FirstStart == -1 && b.FirstEnd == -1 && b.SecondStart > -1 && b.SecondEnd > -1) {
    b.FirstStart = b.SecondStart; b.FirstEnd = b.SecondEnd; b.SecondStart = b.SecondEnd = -1;
  }
  if (b.FirstEnd >= 0 || b.SecondEnd >= 0) {
    b.Total = std::fabs(b.FirstEnd - b.FirstStart);
    if (b.SecondEnd >= 0) b.Total += std::fabs(b.SecondEnd - b.SecondStart);
  }
  return b;
}

bool Same(const TDarknessBlock& a, const TDarknessBlock& b) {
  return a.FirstStart == b.FirstStart && a.FirstEnd == b.FirstEnd && a.SecondStart == b.SecondStart &&
         a.SecondEnd == b.SecondEnd && std::fabs(a.Total - b.Total) < 1e-12;
}

// The order of the day's events, e.g. "S<R<D<E"; "up"/"down" for the Moon's
// state on a day without moonrise or moonset.
std::string Order(const TDarknessDay& d, bool moonDown) {
  std::vector<std::pair<double, char>> events;
  if (d.Moonrise > 0) events.push_back({d.Moonrise, 'R'});
  if (d.Moonset > 0) events.push_back({d.Moonset, 'S'});
  if (d.Dawn > 0) events.push_back({d.Dawn, 'D'});
  if (d.Dusk > 0) events.push_back({d.Dusk, 'E'});
  std::sort(events.begin(), events.end());
  std::string text;
  for (const auto& e : events) text += (text.empty() ? "" : "<") + std::string(1, e.second);
  if (d.Moonrise == 0 && d.Moonset == 0) text += moonDown ? " down" : " up";
  return text;
}

// Every order of moonrise and moonset among a morning-and-evening night, an
// evening-only, a morning-only, a between (dusk before dawn) and a dark day:
// where the earlier rules were sound the values are the same; the orders
// listed are those where the earlier rules went wrong (a part with the Moon
// up counted as dark, or a dark part lost).
TEST(DarknessIntervals, AgreeWithTheEarlierRulesWhereTheyWereSound) {
  const std::vector<std::pair<double, double>> suns = {{5, 20}, {0, 20}, {5, 0}, {4, 2}, {0, 0}};
  const std::vector<double> hours = {0, 1, 1.5, 3, 3.5, 4.5, 8, 12, 21, 23};
  std::set<std::string> changed;
  for (const auto& [dawn, dusk] : suns) {
    for (double rise : hours) {
      for (double set : hours) {
        if (rise == set && rise != 0) continue;
        for (bool moonDown : {true, false}) {
          if ((rise > 0 || set > 0) && !moonDown) continue;
          TDarknessDay day{rise, set, dawn, dusk, false};
          // The Moon's state at any hour, consistent with the events.
          auto below = [&](double h) {
            if (rise == 0 && set == 0) return moonDown;
            bool down = rise > 0 && (set == 0 || rise < set);  // the first event is a rise
            std::vector<std::pair<double, bool>> ev;
            if (rise > 0) ev.push_back({rise, true});
            if (set > 0) ev.push_back({set, false});
            std::sort(ev.begin(), ev.end());
            for (const auto& [t, isRise] : ev) {
              if (t <= h) down = !isRise;
            }
            return down;
          };
          const TDarknessBlock ours = DarknessIntervals(day, below);
          if (!Same(ours, EarlierRules(day, below))) changed.insert(Order(day, moonDown));
          // Whatever the order: the intervals lie in the day, in time order,
          // and the total is their sum.
          if (ours.FirstEnd >= 0) {
            EXPECT_LE(0, ours.FirstStart);
            EXPECT_LT(ours.FirstStart, ours.FirstEnd);
            EXPECT_LE(ours.FirstEnd, kEnd);
            double total = ours.FirstEnd - ours.FirstStart;
            if (ours.SecondEnd >= 0) {
              EXPECT_LE(ours.FirstEnd, ours.SecondStart);
              total += ours.SecondEnd - ours.SecondStart;
            }
            EXPECT_DOUBLE_EQ(ours.Total, total);
            EXPECT_TRUE(below((ours.FirstStart + ours.FirstEnd) / 2)) << Order(day, moonDown);
          } else {
            EXPECT_EQ(ours.Total, -1);
          }
        }
      }
    }
  }
  // R moonrise, S moonset, D dawn, E dusk; events in time order.
  const std::set<std::string> expected = {
      "S<R<D", "S<R<D<E",  // the morning interval [0, R] while the Moon is up until S
      "R<S<E<D",           // Moon set before dusk: the interval started at S, not at dusk
      "E<R<S<D",           // Moon up between dusk and dawn: only the first dark part was kept
      "D<E<S<R", "E<S<R",  // the evening interval [E, R] while the Moon is up until S
      "E<D<R",             // the interval [E, R] ran past dawn
      "R<S<D", "E<R<S",    // a single window lost its second dark part
      "R<S<D<E",           // the morning window kept [0, R] when [S, D] is longer
  };
  EXPECT_EQ(changed, expected);
  for (const std::string& order : changed) std::printf("changed: %s\n", order.c_str());
}

// A white night, and values that are not finite, leave all five values -1.
TEST(DarknessIntervals, WhiteNightAndNonFiniteEventsGiveNoDarkness) {
  const auto below = [](double) { return true; };
  TDarknessDay white{3, 15, 0, 0, true};
  const TDarknessBlock none = DarknessIntervals(white, below);
  for (double v : {none.FirstStart, none.FirstEnd, none.SecondStart, none.SecondEnd, none.Total}) EXPECT_EQ(v, -1);
  TDarknessDay broken{std::nan(""), 15, 5, 20, false};
  EXPECT_EQ(DarknessIntervals(broken, below).Total, -1);
}

class SunTableDarkness : public ::testing::Test {
 protected:
  void SetUp() override {
    InitAstroNameTables();
    previous_ = SetProgressReporter(&progress_);
  }
  void TearDown() override { SetProgressReporter(previous_); }

  // The Sun table with the darkness columns from `first` over `days` days.
  int RunTable(const test::Place& place, int day, int month, int year, int days, std::uint8_t language = 0) {
    TObserverRecord start;
    start.Day = day;
    start.Month = month;
    start.Year = year;
    start.Zone = place.zone;
    start.Latitude = place.latitude;
    start.Longitude = -place.longitude;
    start.AutoDeltaT = 1;
    TObserverRecord end = start;
    end.LocalHours = (days - 1) * 24.0;
    LocalTimeToUT(end);
    UTToLocalTime(end);
    const TTableConfigRecord config = test::ConfigWith({column_flag::kDarkness, column_flag::kDarknessSum});
    // The internal series of the planets and the Moon.
    const TTheorySelection internal = test::PlanetAndMoonTheory(0, 0);
    const TTableRequest request = test::TableRequest(language, internal, config, start, end, TTableStep{});
    TSonnetab table(request, nullptr);
    table.initialisieren(request);
    table.schleife(PositionFileHandles{}, 1, 1);
    return table.Rows;
  }

  RecordingProgress progress_;
  ProgressReporter* previous_ = nullptr;
};

// Every night of 2024 at 50 N within 2 minutes of the independent
// intervals. Measured: 1.6 min at most.
TEST_F(SunTableDarkness, NightsOfAYearAgreeWithAstronomyEngine) {
  const test::FixtureTable ref = test::ReadFixture(KVX_FIXTURE_DIR "/darkness_astronomy_engine.tsv");
  ASSERT_EQ(ref.Rows(), 366u);
  ASSERT_EQ(RunTable(test::Place{50.0, 10.0, 1}, 1, 1, 2024, 366), 366);
  double worst = 0;
  for (int i = 0; i < 366; ++i) {
    const TDarknessBlock& d = RowStore.Row(i).Darkness;
    const std::size_t row = static_cast<std::size_t>(i);
    const std::string at = std::to_string(static_cast<int>(ref.Number(row, "month"))) + "/" +
                           std::to_string(static_cast<int>(ref.Number(row, "day")));
    const std::array<std::pair<double, const char*>, 5> values = {
        {{d.FirstStart, "start1"}, {d.FirstEnd, "end1"}, {d.SecondStart, "start2"}, {d.SecondEnd, "end2"},
         {d.Total, "total"}}};
    for (const auto& [ours, column] : values) {
      const double expected = ref.Number(row, column);
      EXPECT_NEAR(ours, expected, 2.0 / 60.0) << at << " " << column;
      if (ours != -1 && expected != -1) worst = std::max(worst, std::fabs(ours - expected) * 60.0);
    }
  }
  std::printf("darkness: largest difference %.2f min\n", worst);
}

// A white night at 60 N in June: level 5 "bright  ", no darkness.
TEST_F(SunTableDarkness, WhiteNightHasNoDarkness) {
  ASSERT_EQ(RunTable(test::Place{60.0, 10.0, 1}, 20, 6, 2024, 1, 1), 1);
  const TEphemerisResultRecord& r = RowStore.Row(0);
  EXPECT_EQ(r.RiseSet.Levels[5].Status, "bright  ");
  const TDarknessBlock& d = r.Darkness;
  for (double v : {d.FirstStart, d.FirstEnd, d.SecondStart, d.SecondEnd, d.Total}) EXPECT_EQ(v, -1);
}

// Polar night at 88 N in December (the Sun below -18 deg all day): on days
// without moonrise or moonset the whole day is dark when the Moon stays
// below, and nothing when it stays up; December 2024 has days of both kinds.
TEST_F(SunTableDarkness, PolarNightWithTheMoonUpAllDayOrDownAllDay) {
  ASSERT_EQ(RunTable(test::Place{88.0, 15.65, 1}, 1, 12, 2024, 31), 31);
  int up = 0, down = 0;
  for (int i = 0; i < 31; ++i) {
    const TEphemerisResultRecord& r = RowStore.Row(i);
    if (r.Darkness.Total == -1) {
      ++up;
      EXPECT_EQ(r.Darkness.FirstStart, -1);
    } else if (r.Darkness.FirstStart == 0 && r.Darkness.FirstEnd == kEnd) {
      ++down;
      EXPECT_EQ(r.Darkness.Total, kEnd);
      EXPECT_EQ(r.Darkness.SecondStart, -1);
    }
  }
  EXPECT_GT(up, 3);
  EXPECT_GT(down, 3);
}

}  // namespace
}  // namespace kvx
