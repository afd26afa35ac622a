#include "engine/ephemeris_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "chain_test_support.h"
#include "core/asteroid_database.h"
#include "core/element_records.h"
#include "core/time_scales.h"
#include "core/two_body.h"
#include "engine/table_globals.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/progress.h"
#include "platform/workbook/workbook.h"
#include "support/recording_message_sink.h"
#include "support/recording_progress.h"
#include "support/table_request.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

using test::CeresElements;

constexpr double kSecond = 1.0 / 86400.0;

// A local civil instant at Greenwich (zone 0, Delta T from the date).
TObserverRecord LocalInstant(int day, int month, int year, double hours) {
  TObserverRecord r;
  r.Day = day;
  r.Month = month;
  r.Year = year;
  r.LocalHours = hours;
  r.Latitude = 51.4769;
  r.AutoDeltaT = 1;
  r.Pressure = 1010;
  r.Temperature = 10;
  return r;
}

TTableStep StepOf(double days) { return TTableStep{0, days * 24.0, days}; }

// Every test starts from a clean main-window state and its own seams.
class EphemerisTable : public ::testing::Test {
 protected:
  void SetUp() override {
    previousProgress_ = SetProgressReporter(&progress);
    AbortRequested = 0;
  }
  void TearDown() override {
    SetProgressReporter(previousProgress_);
    AbortRequested = 0;
  }

  TKeplereph Table(const TObserverRecord& start, const TObserverRecord& end, double stepDays,
                   const TTableConfigRecord& config = {}) {
    const TTableRequest request = test::TableRequest(0, TTheorySelection{}, config, start, end, StepOf(stepDays));
    TKeplereph table(request, nullptr, CeresElements());
    table.initialisieren(request, CeresElements(), 0, "Ceres");
    return table;
  }

  RecordingProgress progress;
  RecordingMessageSink messages;
  ScopedMessageSink messageScope{messages};

 private:
  ProgressReporter* previousProgress_ = nullptr;
};

// Steps of at most one second get half a second more; an end before the
// start still gives one row; a long period stops at the row limit.
TEST_F(EphemerisTable, StepRulesAndRowLimits) {
  const TObserverRecord start = LocalInstant(1, 4, 2024, 0.0);
  TObserverRecord end = LocalInstant(1, 4, 2024, 10.0 / 3600.0);

  TKeplereph oneSecond = Table(start, end, kSecond);
  oneSecond.schleife(TComputeSettingsBlock{}, 0, 1);
  ASSERT_GE(oneSecond.Rows, 2);
  EXPECT_NEAR((RowStore.Row(1).JD - RowStore.Row(0).JD) * 86400.0, 1.5, 0.01);

  TKeplereph longer = Table(start, end, 1.0001 * kSecond);
  longer.schleife(TComputeSettingsBlock{}, 0, 1);
  EXPECT_NEAR((RowStore.Row(1).JD - RowStore.Row(0).JD) * 86400.0, 1.0001, 0.01);

  TKeplereph backwards = Table(start, LocalInstant(1, 3, 2024, 0.0), 1.0);
  backwards.schleife(TComputeSettingsBlock{}, 0, 1);
  EXPECT_EQ(backwards.Rows, 1);
  EXPECT_DOUBLE_EQ(RowStore.Row(0).JD, CalendarDateToJd(1, 4, 2024, 0.0));

  TKeplereph many = Table(start, LocalInstant(1, 4, 2025, 0.0), 0.02);  // 18,300 steps
  many.schleife(TComputeSettingsBlock{}, 0, 1);
  EXPECT_EQ(many.Rows, kMaxTableRows);
  EXPECT_GE(RowStore.Count(), kMaxTableRows);
  EXPECT_NEAR(RowStore.Row(kMaxTableRows - 1).JD - RowStore.Row(0).JD, (kMaxTableRows - 1) * 0.02, 1e-6);
  EXPECT_EQ(progress.ends, 4);
  EXPECT_EQ(progress.captions.back(), "Berechne Ephemeride des Planetoiden");
}

// Cancelling keeps the rows finished before it (the row whose step saw the
// cancel is not computed) with the stopped mark, ends the progress, and the
// next run starts again from the period start; a row that throws still ends
// the progress.
TEST_F(EphemerisTable, CancelThenRerun) {
  const TObserverRecord start = LocalInstant(1, 4, 2024, 0.0);
  TKeplereph table = Table(start, LocalInstant(19, 10, 2024, 0.0), 1.0);  // 202 rows
  progress.abort_at_step = 50;                                            // at row 101 (index), 100 / 202 per row
  table.schleife(TComputeSettingsBlock{}, 0, 1);
  EXPECT_EQ(table.Rows, 101);
  EXPECT_NEAR(RowStore.Row(100).JD - RowStore.Row(0).JD, 100.0, 1e-9);
  EXPECT_EQ(table.Stopped, 1);
  EXPECT_EQ(AbortRequested, 0);
  EXPECT_EQ(progress.ends, 1);
  EXPECT_FALSE(progress.visible);
  EXPECT_EQ(progress.positions.back(), 50);

  progress.abort_at_step = -1;
  table.schleife(TComputeSettingsBlock{}, 0, 1);
  EXPECT_EQ(table.Rows, 202);
  EXPECT_EQ(table.Stopped, 0);
  EXPECT_DOUBLE_EQ(RowStore.Row(0).JD, CalendarDateToJd(1, 4, 2024, 0.0));
  EXPECT_EQ(RowStore.Row(201).Day, 19);
  EXPECT_EQ(progress.ends, 2);

  // An exception out of a row still ends the progress.
  class Throwing : public TKeplereph {
   public:
    using TKeplereph::TKeplereph;
    void rechnen(TComputeSettingsBlock settings) override {
      if (++calls == 3) throw std::runtime_error("row failed");
      TKeplereph::rechnen(settings);
    }
    int calls = 0;
  };
  Throwing throwing(test::TableRequest(0, TTheorySelection{}, TTableConfigRecord{}, start,
                                       LocalInstant(1, 5, 2024, 0.0), StepOf(1.0)),
                    nullptr, CeresElements());
  EXPECT_THROW(throwing.schleife(TComputeSettingsBlock{}, 0, 1), std::runtime_error);
  EXPECT_EQ(progress.ends, 3);
  EXPECT_FALSE(progress.visible);
}

// Rows follow the date list's order; a line that is not a Julian day is
// skipped and reported once; an empty list gives no row.
TEST_F(EphemerisTable, DateList) {
  const TObserverRecord start = LocalInstant(1, 4, 2024, 0.0);
  TKeplereph table = Table(start, LocalInstant(1, 5, 2024, 0.0), 1.0);
  table.DateListMode = 1;
  table.JulianDateList = {"2460500.75", "abc", "2460300,25", " 2460400.5 ", ""};
  table.schleife(TComputeSettingsBlock{}, 0, 1);
  ASSERT_EQ(table.Rows, 3);
  EXPECT_NEAR(RowStore.Row(0).JD, 2460500.75, 1e-8);
  EXPECT_NEAR(RowStore.Row(1).JD, 2460300.25, 1e-8);
  EXPECT_NEAR(RowStore.Row(2).JD, 2460400.5, 1e-8);
  EXPECT_EQ(table.SkippedDateLines, 2);
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].text.find("2 Zeilen der Datumsliste"), 0u);

  table.JulianDateList = {"2460500.75", "abc"};
  table.schleife(TComputeSettingsBlock{}, 0, 1);
  ASSERT_EQ(messages.messages.size(), 2u);
  EXPECT_EQ(messages.messages[1].text.find("1 Zeile der Datumsliste ist kein"), 0u);

  table.JulianDateList.clear();
  table.schleife(TComputeSettingsBlock{}, 0, 1);
  EXPECT_EQ(table.Rows, 0);
  EXPECT_EQ(messages.messages.size(), 2u);
}

// With the date alone asked for, a table from a date list has its time
// column whenever a listed instant is not at local midnight: at Honolulu
// (-10 h) JD 2461406.5 and .75 are 14:00 and 20:00 of 31 December 2026,
// two rows of one date that only the time tells apart. Listed at local
// midnight (JD n.91667, to five decimals), the date alone stands.
TEST_F(EphemerisTable, DateListTimeColumnFollowsTheListedInstants) {
  TTableConfigRecord config;
  config.Flags[column_flag::kDateOnly] = 1;
  TObserverRecord honolulu = LocalInstant(31, 12, 2026, 0.0);
  honolulu.Zone = -10;
  const std::pair<std::vector<std::string>, bool> kLists[] = {
      {{"2461406.5", "2461406.75", "2461407.0"}, true},
      {{"2461405.91667", "2461406.91667"}, false},
      {{"2461405.91667", "2461407.0"}, true},
  };
  int columns[2] = {0, 0};  // without, with the time
  for (const auto& [lines, time] : kLists) {
    TKeplereph table = Table(honolulu, honolulu, 1.0, config);
    workbook::TWorkbook sheet;
    table.OutputSheet = &sheet;
    table.DateListMode = 1;
    table.JulianDateList = lines;
    table.schleife(TComputeSettingsBlock{}, 0, 1);
    ASSERT_EQ(table.Rows, static_cast<int>(lines.size()));
    EXPECT_EQ(table.TimeOfDayColumnOn(), time) << lines.front();
    table.paintdms();
    columns[time ? 1 : 0] = sheet.LastCol();
  }
  EXPECT_EQ(columns[1], columns[0] + 1) << "one column more: the time of day";
}

// A step that is not above zero is refused before the loop.
TEST_F(EphemerisTable, NonPositiveStepIsRefused) {
  const TObserverRecord start = LocalInstant(1, 4, 2024, 0.0);
  for (double step : {0.0, -1.0, std::nan("")}) {
    TKeplereph table = Table(start, LocalInstant(1, 5, 2024, 0.0), step);
    table.schleife(TComputeSettingsBlock{}, 0, 1);
    EXPECT_EQ(table.Rows, 0);
  }
  EXPECT_EQ(messages.messages.size(), 3u);
  EXPECT_TRUE(progress.captions.empty());
}

// Without show nothing is stored and each row carries the object's name;
// the groups run by column flags 1 and 2; the formatting captions.
TEST_F(EphemerisTable, ShowFlagGroupsAndCaptions) {
  const TObserverRecord start = LocalInstant(1, 4, 2024, 0.0);
  const TObserverRecord end = LocalInstant(3, 4, 2024, 0.0);
  TKeplereph quiet = Table(start, end, 1.0);
  const int blocks = RowStore.Count();
  quiet.schleife(TComputeSettingsBlock{}, 0, 0);
  EXPECT_EQ(quiet.Rows, 3);
  EXPECT_EQ(quiet.Result.Name, "Ceres");
  EXPECT_TRUE(progress.captions.empty());
  EXPECT_EQ(RowStore.Count(), blocks);

  TTableConfigRecord config;
  config.Flags[column_flag::kSummaryTopocentric] = 1;
  config.Flags[column_flag::kSummaryPhysical] = 1;
  TKeplereph full = Table(start, end, 1.0, config);
  full.schleife(TComputeSettingsBlock{}, 0, 1);
  const TEphemerisResultRecord& row = RowStore.Row(2);
  EXPECT_TRUE(row.Name.empty());
  EXPECT_GT(row.Physical.magnitude, 5.0);
  EXPECT_GT(row.RiseSet.TransitTime, 0.0);
  EXPECT_NE(row.Altitude, 0.0);
  EXPECT_NEAR(row.GreenwichSiderealDegrees, row.GreenwichSiderealHours * 15.0, 1e-9);

  full.ShowTableProgress(1, "");
  full.ShowTableProgress(0, "Ceres");
  full.Language = 1;
  full.ShowTableProgress(0, "Ceres");
  EXPECT_EQ(progress.labels, (std::vector<std::string>{"Tabelle wird formatiert", "Formatiere Ausgabe für Ceres",
                                                       "Formatting output for Ceres"}));
}

// --- the binary asteroid database ---------------------------------------------

TEelRecord DatabaseRecord(double epoch, float meanAnomaly, float meanMotion) {
  TEelRecord r;
  r.SemiMajorAxis = 2.7670463f;
  r.Eccentricity = 0.0785115f;
  r.Inclination = 10.58769f;
  r.MeanMotion = meanMotion;
  r.Node = 80.26014f;
  r.Perihelion = 73.63704f;
  r.MeanAnomaly = meanAnomaly;
  r.Epoch10 = static_cast<std::int32_t>(epoch * 10);
  return r;
}

std::string WriteThreeRecordDatabase(const test::TempFolder& folder) {
  TEelHeader header;
  header.First = 2460000.5;
  header.Last = 2460200.5;
  header.Step = 100;
  header.Equinox = 2000;
  header.H100 = 334;
  header.G100 = 12;
  header.Name = "Ceres DB";
  const std::string path = folder.File("ceres.eel");
  EXPECT_TRUE(WriteEelFile(path, header,
                           {DatabaseRecord(2460000.5, 100.0f, 0.2141f), DatabaseRecord(2460100.5, 121.4f, 0.2141f),
                            DatabaseRecord(2460200.5, 142.8f, 0.0f)}));
  return path;
}

// Instants before, inside and after the covered period take the first, the
// right and the last record, exactly as re-reading the file would; a record
// with n = 0 gets n from a; the name becomes the database's; the table rows
// equal those of an element table fed the record of each instant.
TEST_F(EphemerisTable, DatabaseRecordsServedFromMemory) {
  test::TempFolder folder;
  const std::string path = WriteThreeRecordDatabase(folder);
  const TObserverRecord start = LocalInstant(1, 4, 2024, 0.0);
  TKeplereph table = Table(start, LocalInstant(1, 5, 2024, 0.0), 10.0);
  table.initialisieren(test::TableRequest(0, TTheorySelection{}, TTableConfigRecord{}, start,
                                          LocalInstant(1, 5, 2024, 0.0), StepOf(10.0)),
                       CeresElements(), 1, path);
  EXPECT_EQ(table.Name, "Ceres DB");
  EXPECT_TRUE(messages.messages.empty());

  const double instants[] = {2459000.0, 2460110.0, 2461000.0};
  const float expectedM[] = {100.0f, 121.4f, 142.8f};
  for (int k = 0; k < 3; ++k) {
    table.Name = "other";
    table.Observer.Mjd = JdToMjd(instants[k]);
    ASSERT_TRUE(table.ReadAsteroidDatabaseRecord(path));
    TAsteroidElements reread;
    ASSERT_TRUE(ReadEelElementsNearest(path, instants[k], reread));
    if (reread.MeanMotion == 0) reread.MeanMotion = MeanDailyMotion(reread.SemiMajorAxis);
    EXPECT_EQ(table.MeanAnomaly, static_cast<double>(expectedM[k]));
    EXPECT_EQ(EncodeAsteroidElementRecord(table.Elements()), EncodeAsteroidElementRecord(reread)) << k;
    EXPECT_EQ(table.PerihelionDistance, 0.0);
  }
  EXPECT_EQ(table.Name, "Ceres DB");
  EXPECT_NEAR(table.MeanMotion, 360.0 / std::sqrt(std::pow(table.SemiMajorAxis, 3) * 133412.601768),
              1e-10 * table.MeanMotion);

  table.schleife(TComputeSettingsBlock{}, 0, 1);
  ASSERT_EQ(table.Rows, 4);
  const TEphemerisResultRecord row = RowStore.Row(3);
  TAsteroidElements recordOfRow;
  ASSERT_TRUE(ReadEelElementsNearest(path, row.JD, recordOfRow));
  TKeplereph plain(test::TableRequest(0, TTheorySelection{}, TTableConfigRecord{}, start, LocalInstant(1, 5, 2024, 0.0),
                                      StepOf(10.0)),
                   nullptr, recordOfRow);
  plain.schleife(TComputeSettingsBlock{}, 0, 1);
  EXPECT_EQ(RowStore.Row(3).Position.RightAscension, row.Position.RightAscension);
  EXPECT_EQ(RowStore.Row(3).Position.GeoDistance, row.Position.GeoDistance);
}

// A missing file, a file of 40 bytes and one that is not header plus whole
// records are refused at set-up with a message naming the file; the run then
// computes nothing and shows no progress.
TEST_F(EphemerisTable, DatabaseFilesRefusedAtSetUp) {
  test::TempFolder folder;
  const std::string good = WriteThreeRecordDatabase(folder);
  const std::string whole = test::TempFolder::Read(good);
  const std::string paths[] = {folder.File("missing.eel"), folder.Write("short.eel", whole.substr(0, 40)),
                               folder.Write("ragged.eel", whole + "12345")};
  const TObserverRecord start = LocalInstant(1, 4, 2024, 0.0);
  for (const std::string& path : paths) {
    TKeplereph table = Table(start, LocalInstant(1, 5, 2024, 0.0), 1.0);
    messages.messages.clear();
    table.initialisieren(test::TableRequest(0, TTheorySelection{}, TTableConfigRecord{}, start,
                                            LocalInstant(1, 5, 2024, 0.0), StepOf(1.0)),
                         CeresElements(), 1, path);
    ASSERT_EQ(messages.messages.size(), 1u) << path;
    EXPECT_NE(messages.messages[0].text.find(path), std::string::npos);
    table.schleife(TComputeSettingsBlock{}, 0, 1);
    EXPECT_EQ(table.Rows, 0);
  }
  EXPECT_TRUE(progress.captions.empty());
}

}  // namespace
}  // namespace kvx
