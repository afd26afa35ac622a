// The moon, moon-phase and satellite tables from their menu items in the
// main window: each into the sheet, the kind recorded for a repeat, the
// satellite dialogs of the Objects and Info menus, the refusal without
// elements and a cancelled all-satellites table. PNGs of the main window
// go to test-output.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <filesystem>

#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "app/ui/table_commands.h"
#include "core/column_flags.h"
#include "core/name_tables.h"
#include "core/time_scales.h"
#include "engine/table_globals.h"
#include "platform/file_dialog.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/progress.h"
#include "platform/settings_store.h"
#include "support/cancelling_progress.h"
#include "support/qt/main_form_test.h"
#include "support/qt/save_png.h"
#include "support/recording_file_dialog.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"
#include "tables/ui/satellite_dialogs.h"
#include "theories/tle.h"

namespace kvx {
namespace {

using test::CancellingProgress;

namespace fs = std::filesystem;

using test::SavePng;

class MoonSatelliteCommands : public test::MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    LanguageEnglish = 0;
  }
  void TearDown() override { SetSatelliteDialogDriver({}); }

  // Period start 2024 March 19, 12h UT at 51.191 N 9.301 E, zone 0, two days.
  static void SetPeriod(TMainForm& form, double days, double stepDays) {
    TMainFormState& s = form.State();
    TObserverRecord& start = s.Period.Start;
    start.Latitude = 51.191;
    start.Longitude = -9.301;
    start.Zone = 0;
    start.ZoneMinutes = 0;
    start.DaylightHours = 0;
    start.Mjd = JdToMjd(2460389.0);
    UTToLocalTime(start);
    s.Period.AutoEnd = 0;
    s.Period.End = start;
    s.Period.End.Mjd = start.Mjd + days;
    UTToLocalTime(s.Period.End);
    s.Period.Step = TTableStep{0, stepDays * 24, stepDays};
    s.Table.PlaceConfirmed = 1;
  }

  test::RecordingFileDialog files_;
};

TEST_F(MoonSatelliteCommands, EveryTableFromItsMenuItem) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  form.resize(1300, 700);
  form.show();
  QApplication::processEvents();
  ScopedMessageSink sink(messages_);
  ScopedFileDialog dialogs(files_);
  TMenuCommands& commands = form.Commands();
  TMainFormState& state = form.State();
  workbook::TWorkbook& sheet = form.Workbook();
  const bool english = LanguageEnglish != 0;
  EXPECT_EQ(commands.IsEnabled("Satellit1"), form.SatelliteFile().count > 0) << "enabled from the start";
  SetPeriod(form, 2, 1.0 / 24);

  commands.Trigger("Jupitermonde1");
  EXPECT_EQ(state.Table.PreviousTableKind, 100);
  EXPECT_EQ(sheet.Text(1, 1), english ? "Jupiters moons" : "Jupitermonde");
  EXPECT_EQ(sheet.LastRow(), 1 + 49);
  SavePng(form, "main_window_jupiter_moons");

  commands.Trigger("Saturnmonde1");
  EXPECT_EQ(state.Table.PreviousTableKind, 111);
  EXPECT_EQ(sheet.Text(1, 1), "Saturn");
  EXPECT_NE(sheet.Text(1, 4).find("Mimas"), std::string::npos) << sheet.Text(1, 4);
  commands.Trigger("Mondphasen1");
  EXPECT_EQ(sheet.Text(1, 1), english ? " Newmoon" : " Neumond");
  EXPECT_GE(sheet.LastRow(), 14);
  SavePng(form, "main_window_moon_phases");

  // The satellites: the selection dialog loads the test sets.
  files_.QueueAnswer((fs::path(KVX_FIXTURE_DIR).parent_path().parent_path() / "tables" / "fixtures" /
                      "satellites.tle").string());
  SetSatelliteDialogDriver([](QDialog& d) {
    auto& form = static_cast<TSatellitenwahlform&>(d);
    form.OpenFileClick();
    form.List()->setCurrentRow(0);
    form.OkClick();
    return d.result();
  });
  commands.Trigger("Satelliten1");
  EXPECT_EQ(form.SatelliteFile().count, 2);
  EXPECT_EQ(CurrentSatelliteNumber, 1);
  SetPeriod(form, 1, 10.0 / 1440);
  form.Tables().ComputeTable();  // the period check decides the satellite items
  ASSERT_TRUE(commands.IsEnabled("Satellit1"));
  ASSERT_TRUE(commands.IsEnabled("AlleSatelliten1"));
  commands.Trigger("Satellit1");
  EXPECT_EQ(state.Table.PreviousTableKind, 880);
  EXPECT_EQ(sheet.Text(1, 1), "NEAR EARTH TEST");
  EXPECT_GE(sheet.LastRow(), 1 + 144) << "a day at ten-minute steps";
  SavePng(form, "main_window_satellite");
  // One-minute steps under the default column set (date only): the time
  // column tells the rows apart.
  const TTableConfigRecord columns = state.Period.TableConfig;
  state.Period.TableConfig.Flags[column_flag::kDateOnly] = 1;
  SetPeriod(form, 1.0 / 24, 1.0 / 1440);
  commands.Trigger("Satellit1");
  EXPECT_EQ(sheet.Text(1, 2), state.Period.TableConfig.ColumnTitles[1]);
  EXPECT_EQ(sheet.Text(2, 1), sheet.Text(3, 1));
  EXPECT_NE(sheet.Text(2, 2), sheet.Text(3, 2));
  SavePng(form, "main_window_satellite_one_minute");
  state.Period.TableConfig = columns;
  SetPeriod(form, 1, 10.0 / 1440);

  commands.Trigger("AlleSatelliten1");
  EXPECT_EQ(state.Table.PreviousTableKind, 881);
  EXPECT_EQ(sheet.Text(2, 1), "NEAR EARTH TEST");
  EXPECT_EQ(sheet.Text(3, 2), english ? "Not computable" : "Nicht berechenbar");
  SavePng(form, "main_window_all_satellites");

  // Cancelled at the first satellite: that one is written, no table kind,
  // the flag cleared, the status line says so.
  {
    CancellingProgress cancelling;
    ProgressReporter* previous = SetProgressReporter(&cancelling);
    sheet.ClearRange(-1, -1, -1, -1, 1);
    commands.Trigger("AlleSatelliten1");
    SetProgressReporter(previous);
  }
  EXPECT_EQ(sheet.LastRow(), 2);
  EXPECT_EQ(state.Table.PreviousTableKind, kNoTableKind);
  EXPECT_EQ(AbortRequested, 0);
  EXPECT_EQ(form.Panel("StatusLine")->text().toStdString(), CancelledRunText(true, english));

  // The visibility search's OK moves the period start to the found pass.
  SetSatelliteDialogDriver([](QDialog& d) {
    auto& form = static_cast<TSatellitensuche&>(d);
    form.SearchClick();
    return static_cast<int>(QDialog::Accepted);
  });
  commands.Trigger("Erdsatelliten1");
  EXPECT_GT(MjdToJd(state.Period.Start.Mjd), 2460389.0);
  EXPECT_LT(MjdToJd(state.Period.Start.Mjd), 2460390.0);

  // No elements: the items go grey, and the kind refuses with a message.
  LoadTleFile("/nonexistent.tle", false);
  form.SatelliteFile().count = 0;
  form.Tables().RefreshMenus();
  EXPECT_FALSE(commands.IsEnabled("Satellit1"));
  messages_.messages.clear();
  state.Table.TableKind = 880;
  form.Tables().ComputeTable();
  ASSERT_EQ(messages_.messages.size(), 1u);
  EXPECT_EQ(messages_.messages[0].text,
            english ? "No satellite elements loaded." : "Keine Satellitenbahnelemente geladen.");
}

}  // namespace
}  // namespace kvx
