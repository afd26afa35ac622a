// The transits of Mercury and Venus from the menu: one transit with its
// local circumstances, the table of a period, the slow-theory question and
// a cancelled table.
#include <gtest/gtest.h>

#include <QApplication>

#include "app/config_file.h"
#include "app/ui/eclipse_commands.h"
#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "core/name_tables.h"
#include "engine/ui/mystringgrid_view.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/progress.h"
#include "platform/settings_store.h"
#include "support/qt/main_form_test.h"
#include "support/qt/save_png.h"
#include "support/recording_message_sink.h"
#include "support/cancelling_progress.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

using test::CancellingProgress;

class TransitCommands : public test::MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    LanguageEnglish = 0;
  }
  void TearDown() override { LanguageEnglish = 0; }
};

TEST_F(TransitCommands, TransitAndTablesFromTheMenu) {
  UseDefaultSeparators();
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ShowForm(form);
  ScopedMessageSink sink(messages_);
  TMenuCommands& commands = form.Commands();
  TMainFormState& state = form.State();
  for (const char* item : {"MerkurundVenusdurchgnge1", "Venusdurchgang1", "TabellemitMerkurdurchgngen1",
                           "TabellemitVenusdurchgngen1"})
    ASSERT_TRUE(commands.IsEnabled(item)) << item;

  LanguageEnglish = 0;
  // Berlin, 1 January 2004, local time UT+1.
  TObserverRecord& start = state.Period.Start;
  start.Day = 1;
  start.Month = 1;
  start.Year = 2004;
  start.LocalHours = 0;
  start.Longitude = -13.4;
  start.Latitude = 52.52;
  start.Zone = 1;
  start.DaylightHours = 0;
  start.RefractionOn = 0;
  start.PlaceName = "Berlin";
  LocalTimeToUT(start);
  state.Table.PlaceConfirmed = 1;

  // With a planet library the question comes first; No switches to the
  // internal series.
  TTheorySelection vsop = form.Selection();
  vsop.bytes[0] = 1;
  form.SetTheorySelection(vsop);
  const bool asked = form.Selection().PlanetTheory() != 0;
  messages_.QueueReply(MessageResult::No);
  commands.Trigger("Venusdurchgang1");
  if (asked) {
    ASSERT_FALSE(messages_.messages.empty());
    EXPECT_NE(messages_.messages.front().text.find("VSOP-Theorie"), std::string::npos);
    EXPECT_EQ(form.Selection().PlanetTheory(), 0);
  }
  workbook::TWorkbook& book = form.Workbook();
  EXPECT_EQ(state.Table.PreviousTableKind, 148);
  EXPECT_EQ(book.Text(1, 1), "Venusdurchgang");
  EXPECT_EQ(book.Text(1, 2), "Maximum um");
  EXPECT_EQ(book.Text(2, 1), "Lokale Umstände");
  EXPECT_EQ(book.Text(3, 1), "1. Kontakt: ");
  EXPECT_EQ(book.Text(6, 1), "4. Kontakt: ");
  EXPECT_NE(book.Text(3, 2).find("2004"), std::string::npos) << book.Text(3, 2);
  // Contact I at 05:19:47 UT (a minute earlier on the internal series).
  EXPECT_EQ(book.Text(3, 3).rfind("06:1", 0), 0u) << book.Text(3, 3);
  QApplication::processEvents();
  test::SavePng(form, "transit_of_venus_2004");

  // Mercury's transits 2004..2040 in English: five rows below the title
  // (the Moon-theory question, asked while the Moon comes from ELP-2000/82,
  // answered Yes).
  LanguageEnglish = 1;
  state.Period.AutoEnd = 0;
  TObserverRecord& end = state.Period.End;
  end = start;
  end.Year = 2040;
  LocalTimeToUT(end);
  messages_.QueueReply(MessageResult::Yes);
  commands.Trigger("TabellemitMerkurdurchgngen1");
  EXPECT_EQ(state.Table.PreviousTableKind, 149);
  EXPECT_EQ(book.Text(1, 1), "Transits of Mercury");
  EXPECT_NE(book.Text(2, 1).find("2006"), std::string::npos) << book.Text(2, 1);
  EXPECT_NE(book.Text(6, 1).find("2039"), std::string::npos) << book.Text(6, 1);
  EXPECT_TRUE(book.Text(7, 1).empty());
  QApplication::processEvents();
  test::SavePng(form, "transit_table_mercury");

  // Venus in the result grid.
  state.Document.WorkbookView = 0;
  commands.Trigger("TabellemitVenusdurchgngen1");
  EXPECT_EQ(form.Grid().Cells(1, 1), "Transits of Venus");
  EXPECT_NE(form.Grid().Cells(1, 2).find("2004"), std::string::npos);
  EXPECT_NE(form.Grid().Cells(1, 3).find("2012"), std::string::npos);
  QApplication::processEvents();
  ASSERT_NE(form.GridView(), nullptr);
  form.GridView()->resize(600, 200);
  test::SavePng(*form.GridView(), "transit_table_venus_grid");
  state.Document.WorkbookView = 1;

  // Cancelled during the table: the transits found until then are written
  // (2004 June 8), no table kind.
  CancellingProgress cancelling(2);
  ProgressReporter* previous = SetProgressReporter(&cancelling);
  commands.Trigger("TabellemitVenusdurchgngen1");
  SetProgressReporter(previous);
  EXPECT_EQ(state.Table.TableKind, kNoTableKind);
  EXPECT_EQ(state.Table.PreviousTableKind, kNoTableKind);
  EXPECT_EQ(book.Text(2, 1), "08.06.2004");  // the date format dd.mm.yyyy on every desktop
  EXPECT_EQ(book.Text(3, 1), "");
  AbortRequested = 0;

  // The lunar-eclipse calendar's criteria travel with the configuration
  // file; a stored altitude beyond 90 degrees comes back within range.
  state.Eclipses.LunarCriteria.Kind = 1;
  state.Eclipses.LunarCriteria.MinimumAltitude = 15;
  TConfigSettings config = form.GatherConfiguration();
  EXPECT_EQ(config.LunarEclipseKinds, 1);
  EXPECT_EQ(config.LunarEclipseMoonAltitude, 15);
  config.LunarEclipseKinds = 2;
  config.LunarEclipseMoonAltitude = -20;
  form.ApplyConfiguration(config);
  EXPECT_EQ(state.Eclipses.LunarCriteria.Kind, 2);
  EXPECT_EQ(state.Eclipses.LunarCriteria.MinimumAltitude, -20);
  config.LunarEclipseMoonAltitude = 120;
  form.ApplyConfiguration(config);
  EXPECT_LE(state.Eclipses.LunarCriteria.MinimumAltitude, 90);
  EXPECT_GE(state.Eclipses.LunarCriteria.MinimumAltitude, -90);
}

}  // namespace
}  // namespace kvx
