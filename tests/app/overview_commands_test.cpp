// The daily overview (F5), the user catalogue's one-instant table, the
// state vectors of VSOP-Tools and the
// single-date pages of the Tools menu from their menu items in the main
// window. PNGs of the table and of the Sun, Moon and Saturn pages go to
// test-output.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <filesystem>

#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "app/ui/table_commands.h"
#include "core/column_flags.h"
#include "core/name_tables.h"
#include "core/time_scales.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/progress.h"
#include "platform/settings_store.h"
#include "support/cancelling_progress.h"
#include "support/qt/main_form_test.h"
#include "support/qt/save_png.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"
#include "tables/ui/single_date_page_view.h"

namespace kvx {
namespace {

using test::CancellingProgress;

namespace fs = std::filesystem;

using test::SavePng;

class OverviewCommands : public test::MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    LanguageEnglish = 0;
  }
  void TearDown() override { Teinzelephform::Driver() = {}; }

};

TEST_F(OverviewCommands, OverviewStateVectorsAndSingleDatePages) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  form.resize(1300, 700);
  form.show();
  QApplication::processEvents();
  ScopedMessageSink sink(messages_);
  TMenuCommands& commands = form.Commands();
  TMainFormState& state = form.State();
  workbook::TWorkbook& sheet = form.Workbook();
  const bool english = LanguageEnglish != 0;
  TObserverRecord& start = state.Period.Start;
  start.Latitude = 51.191;
  start.Longitude = -9.301;
  start.Zone = 1;
  start.ZoneMinutes = 0;
  start.DaylightHours = 0;
  start.Mjd = JdToMjd(2460389.0);
  UTToLocalTime(start);
  state.Period.AutoEnd = 1;
  state.Table.PlaceConfirmed = 1;
  state.Period.TableConfig.Flags[column_flag::kRightAscension] = 1;
  state.Period.TableConfig.Flags[column_flag::kSummaryCoordinates] = 1;

  // F5: the daily overview.
  ASSERT_TRUE(commands.IsEnabled("AllePlaneten1"));
  commands.Trigger("AllePlaneten1");
  EXPECT_EQ(state.Table.PreviousTableKind, 75);
  EXPECT_EQ(sheet.LastRow(), 11);
  EXPECT_EQ(sheet.Text(2, 1), english ? "Sun" : "Sonne");
  EXPECT_EQ(sheet.Text(11, 1), english ? "Moon" : "Mond");
  SavePng(form, "main_window_daily_overview");
  // Cancelled at the first body: the Sun, computed before the cancel took
  // effect, is written; no table kind; the status line says so.
  {
    CancellingProgress cancelling;
    ProgressReporter* previous = SetProgressReporter(&cancelling);
    commands.Trigger("AllePlaneten1");
    SetProgressReporter(previous);
  }
  EXPECT_EQ(sheet.LastRow(), 2);
  EXPECT_EQ(sheet.Text(2, 1), english ? "Sun" : "Sonne");
  EXPECT_EQ(state.Table.PreviousTableKind, kNoTableKind);
  EXPECT_EQ(form.Panel("StatusLine")->text().toStdString(), CancelledRunText(true, english));
  EXPECT_EQ(AbortRequested, 0);

  // The user catalogue at one instant: no objects loaded, nothing written;
  // the sheet keeps the table it held.
  if (form.UserObjects().Count() == 0) {
    commands.Trigger("Benutzerkatalog2");
    EXPECT_EQ(sheet.LastRow(), 2);
    EXPECT_EQ(sheet.Text(2, 1), english ? "Sun" : "Sonne");
  }

  // VSOP-Tools: the state vectors, or the refusal without the library.
  messages_.messages.clear();
  const bool library = form.TheoryState().Libraries.Vsop87C != 0;
  EXPECT_EQ(commands.IsEnabled("StatusvektorVSOP87C1"), library);
  commands.Trigger("StatusvektorVSOP87C1");
  if (library) {
    EXPECT_EQ(sheet.Text(1, 1), "Aequ. date");
    EXPECT_EQ(sheet.Text(4, 1), english ? "Earth" : "Erde");
  } else {
    ASSERT_EQ(messages_.messages.size(), 1u);
    EXPECT_EQ(messages_.messages[0].text, english ? "The VSOP87 C library is not available."
                                                  : "Die Bibliothek VSOP87 C ist nicht vorhanden.");
  }

  // The single-date pages.
  std::vector<std::string> captions;
  Teinzelephform::Driver() = [&captions](Teinzelephform& page) {
    page.show();
    QApplication::processEvents();
    captions.push_back(page.windowTitle().toStdString());
    const bool sun = page.Model().Box(TSingleDateBoxId::Twilight).Visible;
    const bool helio = page.Model().Box(TSingleDateBoxId::Heliocentric).Visible;
    EXPECT_EQ(page.BoxWidget(TSingleDateBoxId::Twilight)->isVisible(), sun);
    EXPECT_EQ(page.BoxWidget(TSingleDateBoxId::Heliocentric)->isVisible(), helio);
    const std::string name = captions.size() == 1 ? "sun" : captions.size() == 2 ? "moon" : "saturn";
    SavePng(page, "single_date_" + name);
    page.accept();
  };
  commands.Trigger("Sonne3");
  commands.Trigger("Mond3");
  commands.Trigger("Saturn3");
  ASSERT_EQ(captions.size(), 3u);
  EXPECT_EQ(captions[0], english ? "Ephemeris for the Sun" : "Ephemeride für die Sonne");
  EXPECT_EQ(captions[1], english ? "Ephemeris for the Moon" : "Ephemeride für den Mond");
  EXPECT_EQ(captions[2], english ? "Ephemeris for Saturn" : "Ephemeride für Saturn");
  EXPECT_TRUE(messages_.messages.empty() || !library);
}

}  // namespace
}  // namespace kvx
