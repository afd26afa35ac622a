// The Earth-satellite tables and the visibility search: two days of two
// element sets against python3-skyfield and PyEphem
// (fixtures/satellite_table.tsv), the epoch window, the refusals without
// elements, a cancelled all-satellites run, and the search against the
// first visible instants of a reference stepping the same 10-s grid
// (fixtures/satellite_visibility.tsv); both made by make_tables_reference.py.
#include "tables/satellite_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/name_tables.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "engine/table_globals.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/progress.h"
#include "setup/column_sets.h"
#include "support/fixtures.h"
#include "support/recording_message_sink.h"
#include "support/recording_progress.h"
#include "support/table_request.h"
#include "support/theory_selection.h"
#include "tables/satellite_search.h"
#include "theories/tle.h"

namespace kvx {
namespace {

const TTheorySelection kInternal = test::PlanetAndMoonTheory(0, 0);

// The observer of the fixtures: 51.191 N, 9.301 E, 200 m; zone 0.
TObserverRecord AtUt(double jdUt) {
  TObserverRecord r;
  r.Latitude = 51.191;
  r.Longitude = -9.301;
  r.Height = 200;
  r.AutoDeltaT = 1;
  r.Pressure = 1010;
  r.Temperature = 10;
  r.Mjd = JdToMjd(jdUt);
  UTToLocalTime(r);
  return r;
}

double AngleGap(double a, double b) { return std::fabs(Mod360(a - b + 180.0) - 180.0); }

class SatelliteTables : public ::testing::Test {
 protected:
  void SetUp() override {
    InitAstroNameTables();
    LanguageEnglish = 0;
    previous_ = SetProgressReporter(&progress_);
    count_ = LoadTleFile(KVX_FIXTURE_DIR "/satellites.tle", false);
    ASSERT_EQ(count_, 2);
    config_ = NewTableConfigRecord();
    config_.Flags[column_flag::kDateOnly] = 0;
    config_.Flags[column_flag::kJulianDate] = 1;
  }
  void TearDown() override { SetProgressReporter(previous_); }

  std::unique_ptr<Tsatellitenephfenster> Table(double jdStart, double jdEnd, double stepDays, int satellite) {
    auto t = std::make_unique<Tsatellitenephfenster>(
        test::TableRequest(0, kInternal, config_, AtUt(jdStart), AtUt(jdEnd), TTableStep{0, 0, stepDays}), &sheet_);
    t->SatelliteCount = count_;
    t->CurrentSatellite = satellite;
    return t;
  }

  RecordingProgress progress_;
  ProgressReporter* previous_ = nullptr;
  TTableConfigRecord config_;
  workbook::TWorkbook sheet_;
  int count_ = 0;
};

TEST_F(SatelliteTables, TwoDaysOfTwoSetsAgainstSkyfieldAndPyEphem) {
  const test::FixtureTable ref = test::ReadFixture(KVX_FIXTURE_DIR "/satellite_table.tsv");
  ASSERT_EQ(ref.Rows(), 524u);
  double worstEl = 0, worstAz = 0, worstHa = 0, worstSun = 0, worstSub = 0, worstRange = 0;
  int shadowChecked = 0, below = 0;
  for (int set = 1; set <= 2; ++set) {
    std::vector<std::size_t> rows;
    for (std::size_t i = 0; i < ref.Rows(); ++i) {
      if (static_cast<int>(ref.Number(i, "set")) == set) rows.push_back(i);
    }
    const double first = ref.Number(rows.front(), "jd"), last = ref.Number(rows.back(), "jd");
    auto table = Table(first, last + 1e-6, 11.0 / 1440.0, set);
    table->initialisieren(
        test::TableRequest(0, kInternal, config_, AtUt(first), AtUt(last + 1e-6), TTableStep{0, 0, 11.0 / 1440.0}));
    ASSERT_TRUE(table->CheckSatellites(true));
    table->schleife(PositionFileHandles{}, 0, 1);
    ASSERT_EQ(table->Rows, static_cast<int>(rows.size()));
    for (std::size_t k = 0; k < rows.size(); ++k) {
      const std::size_t i = rows[k];
      const TEphemerisResultRecord& row = RowStore.Row(static_cast<int>(k));
      const TSatelliteRowBlock& s = row.Satellite;
      ASSERT_NEAR(row.JD, ref.Number(i, "jd"), 2e-7);  // the local time's rounding: 0.02 s
      ASSERT_EQ(s.Sign, 1.0) << k;
      const double el = ref.Number(i, "el");
      worstEl = std::max(worstEl, std::fabs(s.Elevation - el));
      if (el < 85) worstAz = std::max(worstAz, AngleGap(s.Azimuth - 180.0, ref.Number(i, "az")));
      worstHa = std::max(worstHa, AngleGap(Mod360(s.HourAngle * 15.0), ref.Number(i, "ha")));
      worstRange = std::max(worstRange, std::fabs(s.Range - ref.Number(i, "range")));
      worstSub = std::max({worstSub, std::fabs(s.Latitude - ref.Number(i, "sub_lat")),
                           AngleGap(s.Longitude, -ref.Number(i, "sub_lon"))});
      EXPECT_NEAR(s.Height, ref.Number(i, "sub_height"), 0.05) << k;  // WGS-72 against WGS-84
      worstSun = std::max(worstSun, std::fabs(s.SunAltitude - ref.Number(i, "sun_alt")));
      if (el < 0) ++below;
      EXPECT_GE(s.Azimuth, 0.0);
      EXPECT_LT(s.Azimuth, 360.0);
      EXPECT_GE(s.Longitude, -180.0);
      EXPECT_LE(s.Longitude, 180.0);
    }
    // The lit flag away from the shadow boundary (PyEphem's shadow is a
    // cylinder, ours a cone): each row's distance from the boundary.
    for (std::size_t k = 0; k < rows.size(); ++k) {
      const std::size_t i = rows[k];
      TSatelliteResult r;
      ASSERT_TRUE(ComputeSatellite(set, ref.Number(i, "jd"), table->SatObserver, 1000, false, r));
      if (std::fabs(r.ShadowDistance) < 100.0) continue;
      ++shadowChecked;
      EXPECT_EQ(r.Lit, ref.Number(i, "eclipsed") == 0 ? 1 : 0) << set << " " << k;
      EXPECT_EQ(RowStore.Row(static_cast<int>(k)).Satellite.Lit, r.Lit);
    }
  }
  std::printf("satellite table: el %.4f az %.4f ha %.4f range %.3f km sub %.4f sun %.4f deg; %d below, %d lit checks\n",
              worstEl, worstAz, worstHa, worstRange, worstSub, worstSun, below, shadowChecked);
  EXPECT_GT(below, 300) << "most rows below the horizon: the hour angle there too";
  EXPECT_GT(shadowChecked, 400);
  EXPECT_LT(worstEl, 0.01);
  EXPECT_LT(worstAz, 0.01);
  EXPECT_LT(worstHa, 0.01);
  EXPECT_LT(worstRange, 0.05);
  EXPECT_LT(worstSub, 0.01);
  EXPECT_LT(worstSun, 0.02);
}

TEST_F(SatelliteTables, EpochWindowLongitudeAndRefusals) {
  // Epoch of set 1: 2024 day 79.5 = JD 2460389.0. A window of 3 days:
  // computable at epoch - 3 and + 3, not one day further.
  auto table = Table(2460389.0 - 4, 2460389.0 + 4 + 1e-6, 1.0, 1);
  table->EpochWindowDays = 3;
  table->schleife(PositionFileHandles{}, 0, 1);
  ASSERT_EQ(table->Rows, 9);
  for (int k = 0; k < 9; ++k) {
    EXPECT_EQ(RowStore.Row(k).Satellite.Sign, (k == 0 || k == 8) ? -1.0 : 1.0) << k;
  }
  table->paint(1);
  EXPECT_EQ(sheet_.Text(2, 4), "Nicht berechenbar");
  EXPECT_EQ(sheet_.Text(2, 5), "");
  EXPECT_EQ(sheet_.Text(10, 4), "Nicht berechenbar");
  // Date only: a daily step drops the time column; a one-minute step keeps
  // it, and its rows differ there.
  config_.Flags[column_flag::kDateOnly] = 1;
  auto daily = Table(2460389.0 - 4, 2460389.0 + 4 + 1e-6, 1.0, 1);
  daily->EpochWindowDays = 3;
  daily->schleife(PositionFileHandles{}, 0, 1);
  sheet_.Reset(1);
  daily->paint(1);
  EXPECT_EQ(sheet_.Text(2, 3), "Nicht berechenbar");
  auto minutes = Table(2460389.0, 2460389.0 + 3.5 / 1440, 1.0 / 1440, 1);
  minutes->schleife(PositionFileHandles{}, 0, 1);
  ASSERT_EQ(minutes->Rows, 4);
  sheet_.Reset(1);
  minutes->paint(1);
  EXPECT_EQ(sheet_.Text(1, 2), config_.ColumnTitles[1]);
  EXPECT_EQ(sheet_.Text(2, 1), sheet_.Text(3, 1));
  EXPECT_NE(sheet_.Text(2, 2), sheet_.Text(3, 2));
  config_.Flags[column_flag::kDateOnly] = 0;
  // 190 degrees west is 170 east, shown -170 (east negative).
  EXPECT_NEAR(ShownSubPointLongitude(-190.0 * M_PI / 180.0), -170.0, 1e-9);
  EXPECT_NEAR(ShownSubPointLongitude(190.0 * M_PI / 180.0), 170.0, 1e-9);

  // A set that decays 55 minutes after its epoch (the verification set
  // 28872): not computable from then on, never a number.
  SatelliteTable[2] = {"1 28872U 05037B   05333.02012661  .25992681  00000-0  24476-3 0  1534",
                       "2 28872  96.4736 157.9986 0303955 244.0492 110.6523 16.46015938 10708"};
  TSatelliteResult r;
  const double epoch = 2453703.52012661;
  EXPECT_TRUE(ComputeSatellite(2, epoch + 50.0 / 1440, table->SatObserver, 10, false, r));
  EXPECT_FALSE(ComputeSatellite(2, epoch + 56.0 / 1440, table->SatObserver, 10, false, r));
  EXPECT_EQ(r.Computable, 0);
  EXPECT_TRUE(ComputeSatellite(1, 2460389.0, table->SatObserver, 10, false, r)) << "another set after it";

  // Refused without elements, or with a current satellite naming no set.
  RecordingMessageSink messages;
  ScopedMessageSink sink(messages);
  table->CurrentSatellite = 0;
  EXPECT_FALSE(table->CheckSatellites(true));
  table->CurrentSatellite = 3;
  EXPECT_FALSE(table->CheckSatellites(true));
  table->SatelliteCount = 0;
  EXPECT_FALSE(table->CheckSatellites(false));
  ASSERT_EQ(messages.messages.size(), 3u);
  EXPECT_EQ(messages.messages[0].text, "Keine Satellitenbahnelemente geladen.");
}

TEST_F(SatelliteTables, AllSatellitesAndItsCancel) {
  auto table = Table(2460389.0, 2460389.5, 1, 1);
  ASSERT_TRUE(table->allsatellites(AtUt(2460389.0), PositionFileHandles{}));
  table->paintall(1);
  EXPECT_EQ(sheet_.LastRow(), 3);
  EXPECT_EQ(sheet_.LastCol(), 10);
  EXPECT_EQ(sheet_.Text(2, 1), "NEAR EARTH TEST");
  EXPECT_EQ(sheet_.Text(3, 1), "ISS (ZARYA)");
  EXPECT_EQ(sheet_.Text(3, 2), "Nicht berechenbar") << "the 2008 set is 16 years from the instant";
  EXPECT_NE(sheet_.Text(2, 2), "");
  EXPECT_NE(sheet_.Text(1, 1).find(' '), std::string::npos) << "date and time";
  // Cancelled: false, the flag cleared; the satellite done before the
  // cancel is written, the other (still holding the first run's place) not.
  progress_.abort_at_step = 33;  // after the first of the two satellites
  workbook::TWorkbook other;
  table->OutputSheet = &other;
  EXPECT_FALSE(table->allsatellites(AtUt(2460389.0), PositionFileHandles{}));
  EXPECT_EQ(table->Stopped, 1);
  EXPECT_EQ(AbortRequested, 0);
  EXPECT_EQ(table->AllComputed, 1);
  progress_.abort_at_step = -1;
  table->paintall(1);
  EXPECT_EQ(other.LastRow(), 2);
  EXPECT_EQ(other.Text(2, 1), "NEAR EARTH TEST");
}

TEST_F(SatelliteTables, VisibilitySearchAgainstTheReferenceGrid) {
  const test::FixtureTable ref = test::ReadFixture(KVX_FIXTURE_DIR "/satellite_visibility.tsv");
  ASSERT_EQ(ref.Rows(), 8u);
  const double step = TSatelliteVisibilitySearch::kStepDays;
  double worst = 0;
  for (std::size_t i = 0; i < ref.Rows(); ++i) {
    TSatelliteVisibilitySearch search;
    search.TwilightLimitDeg = ref.Number(i, "limit");
    search.EpochWindowDays = 1000;
    TObserverRecord start = AtUt(ref.Number(i, "start"));
    start.RefractionOn = 0;
    search.Activate(start, static_cast<int>(ref.Number(i, "set")));
    int callbacks = 0;
    search.Progress = [&callbacks](double) { ++callbacks; };
    ASSERT_EQ(search.Search(), TSatelliteVisibilitySearch::TOutcome::Found) << i;
    EXPECT_TRUE(search.PassInProgress);
    const double found = MjdToJd(search.Record.Mjd) - step;  // one step after the find
    worst = std::max(worst, std::fabs(found - ref.Number(i, "first")) / step);
    EXPECT_NEAR(found, ref.Number(i, "first"), 2.01 * step) << i;
    EXPECT_GT(search.Last.Elevation, 0);
    EXPECT_EQ(search.Last.Lit, 1);
    if (search.TwilightLimitDeg == 90.0) {
      EXPECT_GE(search.LastSunAltitude, -90.0);
    }
    // The next search finds the next pass, after the satellite has set.
    ASSERT_EQ(search.Search(), TSatelliteVisibilitySearch::TOutcome::Found) << i;
    const double second = MjdToJd(search.Record.Mjd) - step;
    worst = std::max(worst, std::fabs(second - ref.Number(i, "second")) / step);
    EXPECT_NEAR(second, ref.Number(i, "second"), 2.01 * step) << i;
  }
  std::printf("visibility search: worst %.1f steps from the reference\n", worst);

  // Outside the window: ten days searched, nothing found, the time restored.
  TSatelliteVisibilitySearch search;
  search.EpochWindowDays = 0;
  search.Activate(AtUt(2460400.0), 1);
  const double before = search.Record.Mjd;
  int callbacks = 0;
  search.Progress = [&callbacks](double) { ++callbacks; };
  EXPECT_EQ(search.Search(), TSatelliteVisibilitySearch::TOutcome::NotFound);
  EXPECT_EQ(search.Record.Mjd, before);
  EXPECT_EQ(callbacks, TSatelliteVisibilitySearch::kMaxSteps / TSatelliteVisibilitySearch::kCallbackEvery);
  // A cancel from the callback stops the search and restores the time.
  search.Progress = [&search](double) { search.Cancelled = true; };
  EXPECT_EQ(search.Search(), TSatelliteVisibilitySearch::TOutcome::Cancelled);
  EXPECT_EQ(search.Record.Mjd, before);
  // Steps of exactly ten seconds.
  search.Progress = nullptr;
  search.StepForward();
  search.StepForward();
  search.StepBack();
  EXPECT_NEAR((search.Record.Mjd - before) * 86400.0, 10.0, 1e-5);
}

}  // namespace
}  // namespace kvx
