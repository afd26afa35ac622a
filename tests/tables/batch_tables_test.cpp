// One row per object of a collection: the row limit with and without its
// message (a generated list of 16383 asteroids), a row equal to the single
// object's table row, the caller's elements restored, cancel keeping the
// rows, the element table, Meeus's comet Encke as a row of the comet
// batch, and the empty user catalogue.
#include "tables/batch_tables.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "core/name_tables.h"
#include "core/quantity_headings.h"
#include "core/time_scales.h"
#include "engine/chain_test_support.h"
#include "engine/table_globals.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/progress.h"
#include "setup/column_sets.h"
#include "support/recording_message_sink.h"
#include "support/recording_progress.h"
#include "support/table_request.h"

namespace kvx {
namespace {

// Cancels once, at the first step past 0.
class CancelOnce : public ProgressReporter {
 public:
  void Begin(const std::string&, int) override {}
  void Step(int position) override {
    if (position > 0 && !done_) {
      done_ = true;
      AbortRequested = 1;
    }
  }
  void ProcessEvents() override {}
  void SetLabel(const std::string&) override {}
  void End() override {}
  bool Visible() const override { return true; }

 private:
  bool done_ = false;
};

class BatchTables : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = SetProgressReporter(&progress_);
    AbortRequested = 0;
    InitAstroNameTables();
    SetQuantityHeadingLanguage(false);
    LanguageEnglish = 0;
    run_.Start = test::ObserverAt(2460400.5, 69);
    run_.Config = NewTableConfigRecord();
    run_.Step = TTableStep{0, 0, 1};
    run_.ToSheet = 0;
  }
  void TearDown() override {
    SetProgressReporter(previous_);
    AbortRequested = 0;
  }

  RecordingProgress progress_;
  ProgressReporter* previous_ = nullptr;
  TBatchRun run_;
  tmystringgrid grid_;
};

TEST_F(BatchTables, RowLimitSingleRowsCancelAndEmptyCatalogue) {
  Planetoidentabelle list;
  TAsteroidElements e = test::CeresElements();
  for (int i = 0; i < kMaxTableRows + 1; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "A%05d", i);
    e.Name = name;
    e.MeanAnomaly = 0.02 * i;
    list.AddItem(e.Name, e);
  }
  list.Loaded = 1;
  TAsteroidElements own = test::CeresElements();
  TKeplereph table(test::TableRequest(0, run_.Selection, run_.Config, run_.Start, run_.Start, run_.Step), nullptr, own);
  table.OutputGrid = &grid_;
  RecordingMessageSink messages;
  ScopedMessageSink scope(messages);

  // One object too many: the limit's rows and the message.
  ASSERT_TRUE(AsteroidFileEphemerides(run_, table, list, "", 0, own));
  EXPECT_EQ(table.Rows, kMaxTableRows);
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].text,
            "Es konnten nicht alle Objekte aus der Datei berechnet werden. Die Ausgabe ist auf 16382 Datensätze "
            "begrenzt.");
  EXPECT_EQ(grid_.Cells(1, kMaxTableRows + 1), "A16381");
  EXPECT_EQ(table.Name, "Ceres") << "the caller's own elements again";
  const TEphemerisResultRecord row = RowStore.Row(7);

  // Exactly the limit: the whole list, no message.
  list.DeleteItem(kMaxTableRows);
  messages.messages.clear();
  ASSERT_TRUE(AsteroidFileEphemerides(run_, table, list, "", 0, own));
  EXPECT_EQ(table.Rows, kMaxTableRows);
  EXPECT_TRUE(messages.messages.empty());

  // Row 7 is the single object's table row.
  const TTableRequest request = test::TableRequest(0, run_.Selection, run_.Config, run_.Start, run_.Start, run_.Step);
  TKeplereph single(request, nullptr, list.Data(7));
  single.initialisieren(request, list.Data(7));
  single.schleife({}, 0, 1);
  ASSERT_EQ(single.Rows, 1);
  EXPECT_EQ(row.Name, "A00007");
  EXPECT_EQ(row.JD, RowStore.Row(0).JD);
  EXPECT_EQ(row.Position.RightAscension, RowStore.Row(0).Position.RightAscension);
  EXPECT_EQ(row.Position.GeoDistance, RowStore.Row(0).Position.GeoDistance);

  // Cancelled early: the rows before the cancel are written, no message.
  {
    CancelOnce cancel;
    SetProgressReporter(&cancel);
    ASSERT_TRUE(AsteroidFileEphemerides(run_, table, list, "", 0, own));
    SetProgressReporter(&progress_);
  }
  EXPECT_GT(table.Rows, 0);
  EXPECT_LT(table.Rows, kMaxTableRows / 50);
  EXPECT_EQ(grid_.Cells(1, table.Rows + 1), list.Text(table.Rows - 1));
  EXPECT_TRUE(messages.messages.empty());

  // The element table of three objects.
  Planetoidentabelle three;
  for (int i = 0; i < 3; ++i) three.AddItem(list.Text(i), list.Data(i));
  three.Loaded = 1;
  run_.Output = 1;
  ASSERT_TRUE(AsteroidFileEphemerides(run_, table, three, "", 0, own));
  EXPECT_EQ(grid_.RowCount(), 2 + 3);  // the titles' row, the heading, three objects
  EXPECT_EQ(grid_.Cells(1, 2), "A00000");
  EXPECT_EQ(grid_.Cells(1, 4), "A00002");
  EXPECT_EQ(grid_.ColCount(), 1 + 12);

  // Meeus 33.b as the first row of the comet batch: Encke at 1990 Oct 6.0
  // TD, astrometric J2000 10h34m14.2s +19d09'31". The table rows compute
  // fully, and their second-equinox place keeps the annual aberration
  // (20.5" at most; measured 16.7"): within 21.5".
  Kometentabelle comets;
  TCometElements encke;
  encke.Eccentricity = 0.8502196;
  encke.PerihelionDistance = 2.2091404 * (1 - encke.Eccentricity);
  encke.Inclination = 11.94524;
  encke.Node = 334.75006;
  encke.Perihelion = 186.23352;
  encke.PerihelionTime = CalendarDateToJd(28, 10, 1990, 0.54502 * 24.0);
  encke.Epoch = encke.PerihelionTime;
  encke.Equinox = 2000;
  encke.Name = "2P/Encke";
  comets.AddItem(encke.Name, encke);
  TCometElements other = encke;
  other.Name = "X/Other";
  other.Perihelion += 10;
  comets.AddItem(other.Name, other);
  comets.Loaded = 1;
  TBatchRun cometRun = run_;
  cometRun.Output = 0;
  cometRun.Start = test::ObserverAt(CalendarDateToJd(6, 10, 1990, 0) - 56.86 / 86400.0, 56.86);
  TKometeph cometTable(test::TableRequest(0, run_.Selection, run_.Config, cometRun.Start, cometRun.Start, run_.Step),
                       nullptr, other);
  cometTable.OutputGrid = &grid_;
  ASSERT_TRUE(CometFileEphemerides(cometRun, cometTable, comets, "", 0, other));
  ASSERT_EQ(cometTable.Rows, 2);
  EXPECT_EQ(RowStore.Row(0).Name, "2P/Encke");
  EXPECT_LT(test::SeparationArcsec(RowStore.Row(0).SecondRightAscension, RowStore.Row(0).SecondDeclination,
                                   (10 + 34 / 60.0 + 14.2 / 3600) * 15, 19 + 9 / 60.0 + 31 / 3600.0),
            21.5);
  EXPECT_EQ(RowStore.Row(1).Name, "X/Other");

  // An empty user catalogue: no row, no table.
  tuserlist none;
  Tusertab user(nullptr, test::TableRequest(0, run_.Selection, run_.Config, run_.Start, run_.Start, run_.Step), nullptr,
                kBodyIndexAsteroid);
  tmystringgrid untouched;
  user.OutputGrid = &untouched;
  EXPECT_FALSE(UserCatalogEphemerides(run_, user, none));
  EXPECT_EQ(untouched.Cells(1, 1), "");
}

}  // namespace
}  // namespace kvx
