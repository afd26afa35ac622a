// The moon-event tables from the "Tabellen" menu of the main window: the
// Jupiter phenomena over two weeks into the sheet and the grid in time
// order, Saturn's conjunctions with their separation column, one moon's
// events through the moon-and-event dialog (Cancel and OK, German and
// English), the five-moon kind with a moon it lacks, a cancelled run and a
// period of no length. PNGs of the dialogs and the main window go to
// test-output.
#include "app/ui/moon_event_commands.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QMenuBar>
#include <QPushButton>
#include <memory>

#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "app/ui/table_commands.h"
#include "core/time_scales.h"
#include "engine/table_globals.h"
#include "events/moon_phenomena.h"
#include "events/ui/moon_event_dialog.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/progress.h"
#include "platform/settings_store.h"
#include "support/qt/main_form_test.h"
#include "support/qt/save_png.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

using test::SavePng;

// Cancels at the first move of the bar; notes whether the menu was
// disabled then.
class CancelAtFirstMove : public ProgressReporter {
 public:
  explicit CancelAtFirstMove(QWidget* menu) : menu_(menu) {}
  void Begin(const std::string&, int) override {}
  void Step(int) override {
    AbortRequested = 1;
    menuDisabled = !menu_->isEnabled();
  }
  void ProcessEvents() override {}
  void SetLabel(const std::string&) override {}
  void End() override {}
  bool Visible() const override { return true; }
  bool menuDisabled = false;

 private:
  QWidget* menu_;
};

class MoonEventCommands : public test::MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    LanguageEnglish = 1;
    window_ = std::make_unique<TMainForm>();
    form_ = window_.get();
    sink_ = std::make_unique<ScopedMessageSink>(messages_);  // after the window's own
    form_->resize(1300, 700);
    form_->show();
    QApplication::processEvents();
    // From 2025 September 15, 0h UT, at 51.191 N 9.301 E; every event
    // visible whatever the altitudes.
    TMainFormState& s = form_->State();
    TObserverRecord& start = s.Period.Start;
    start.Latitude = 51.191;
    start.Longitude = -9.301;
    start.Zone = start.ZoneMinutes = start.DaylightHours = 0;
    start.Mjd = JdToMjd(2460933.5);
    UTToLocalTime(start);
    s.Period.AutoEnd = 0;
    s.Table.PlaceConfirmed = 1;
    s.Computing.NumericOptions.PhenomenaMinObjectAltitude = -90;
    s.Computing.NumericOptions.PhenomenaMaxSunAltitude = 90;
    SetDays(14);
  }
  void TearDown() override {
    SetMoonEventDialogDriver({});
    LanguageEnglish = 0;
  }
  void SetDays(double days) {
    TEphemerisPeriodState& p = form_->State().Period;
    p.End = p.Start;
    p.End.Mjd = p.Start.Mjd + days;
    UTToLocalTime(p.End);
  }
  // Picks the moon and event buttons and presses OK (after a picture).
  static void ChooseOnOk(int moon, int event, const char* picture) {
    SetMoonEventDialogDriver([=](TMond_Ereignis& d) {
      d.Moons()->button(moon)->click();
      d.Events()->button(event)->click();
      SavePng(d, picture);
      d.OkButton()->click();
      return d.result();
    });
  }

  ScopedSettingsStore settings_{store_};
  std::unique_ptr<TMainForm> window_;
  TMainForm* form_ = nullptr;
  std::unique_ptr<ScopedMessageSink> sink_;
};

TEST_F(MoonEventCommands, PhenomenaAndConjunctionsIntoSheetAndGrid) {
  TMenuCommands& commands = form_->Commands();
  TMainFormState& state = form_->State();
  for (const char* item : {"Jupitermondereignisse1", "KonjunktionenJupitermonde1", "ElongationenJupitermonde1",
                           "Saturnmondereignisse1", "KonjunktionenSaturnmonde1", "ElongationenSaturnmonde1"}) {
    EXPECT_TRUE(commands.IsEnabled(item)) << item;
  }
  workbook::TWorkbook& sheet = form_->Workbook();
  commands.Trigger("Jupitermondereignisse1");
  EXPECT_EQ(state.Table.PreviousTableKind, 105);
  const TMoonEventList& list = *MoonEventListOf(*form_);
  ASSERT_GT(list.Count(), 60) << "two weeks of phenomena";
  for (int i = 1; i < list.Count(); ++i) EXPECT_LE(list.At(i - 1).date.Mjd, list.At(i).date.Mjd);
  EXPECT_EQ(sheet.LastRow(), list.Count() + 1);
  int moonColumn = 0;
  for (int c = 1; c <= sheet.LastCol(); ++c) {
    if (sheet.Text(1, c) == "Moon") moonColumn = c;
  }
  ASSERT_GT(moonColumn, 0);
  EXPECT_EQ(sheet.Text(1, moonColumn + 2), "Phase");
  for (int i : {0, list.Count() / 2, list.Count() - 1}) {
    EXPECT_EQ(sheet.Text(i + 2, moonColumn), list.At(i).MoonText);
    EXPECT_EQ(sheet.Text(i + 2, moonColumn + 1), list.At(i).EventText);
    EXPECT_EQ(sheet.Text(i + 2, moonColumn + 2), list.At(i).PhaseText);
  }
  SavePng(*form_, "main_window_jupiter_phenomena");

  state.Document.WorkbookView = 0;
  commands.Trigger("Jupitermondereignisse1");
  tmystringgrid& grid = form_->Grid();
  // The sheet's rows and columns, as every table's grid has them.
  EXPECT_EQ(grid.RowCount(), list.Count() + 2);
  EXPECT_EQ(grid.Cells(moonColumn, 1), "Moon");
  EXPECT_EQ(grid.Cells(moonColumn + 1, list.Count() + 1), list.At(list.Count() - 1).EventText);
  // Saturn's conjunctions: the pair, then the separation, in the grid too.
  commands.Trigger("KonjunktionenSaturnmonde1");
  EXPECT_EQ(state.Table.PreviousTableKind, 113);
  ASSERT_GT(list.Count(), 5);
  EXPECT_NE(grid.Cells(moonColumn, 2).find('/'), std::string::npos);
  EXPECT_EQ(grid.Cells(moonColumn + 1, 1), state.Period.TableConfig.ColumnTitles[167]);
  SavePng(*form_, "main_window_saturn_conjunctions_grid");
  state.Document.WorkbookView = 1;
}

TEST_F(MoonEventCommands, OneMoonThroughTheDialogCancelAndRefusals) {
  TMenuCommands& commands = form_->Commands();
  TMainFormState& state = form_->State();
  SetDays(30);
  const TMoonEventList& list = *MoonEventListOf(*form_);

  // Cancel (German): the stored choice shown, nothing changed, no run.
  LanguageEnglish = 0;
  state.Objects.JupiterMoon = 2;
  state.Objects.MoonEvent = 1;
  SetMoonEventDialogDriver([](TMond_Ereignis& d) {
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Mond und Ereignis wählen"));
    EXPECT_EQ(d.Moons()->buttons().size(), 4);
    EXPECT_EQ(d.Moons()->checkedId(), 1);
    EXPECT_EQ(d.Events()->checkedId(), 1);
    SavePng(d, "moon_event_dialog_de");
    return static_cast<int>(QDialog::Rejected);
  });
  commands.Trigger("ElongationenJupitermonde1");
  EXPECT_EQ(state.Objects.JupiterMoon, 2);
  EXPECT_EQ(state.Objects.MoonEvent, 1);
  EXPECT_EQ(list.Count(), 0);
  LanguageEnglish = 1;

  ChooseOnOk(3, 2, "moon_event_dialog_en");
  commands.Trigger("ElongationenJupitermonde1");
  EXPECT_EQ(state.Table.PreviousTableKind, 104);
  EXPECT_EQ(state.Objects.JupiterMoon, 4);
  EXPECT_EQ(state.Objects.MoonEvent, 2);
  ASSERT_GE(list.Count(), 1);
  EXPECT_EQ(list.At(0).EventText, "Greatest eastern Elongation IV");

  ChooseOnOk(5, 3, "moon_event_dialog_saturn_en");
  commands.Trigger("ElongationenSaturnmonde1");
  EXPECT_EQ(state.Table.PreviousTableKind, 117);
  EXPECT_EQ(state.Objects.SaturnMoon, 6);
  ASSERT_GE(list.Count(), 1);
  EXPECT_EQ(list.At(0).EventText, "Greatest western Elongation Titan");

  // A stored five-moon kind: Mimas is not there (a message naming it, no
  // table); Rhea, 5 in the eight-moon list, is its third.
  state.Objects.SaturnMoon = 1;
  state.Table.TableKind = 114;
  form_->Tables().ComputeTable();
  ASSERT_FALSE(messages_.messages.empty());
  EXPECT_NE(messages_.messages.back().text.find("Mimas"), std::string::npos);
  state.Objects.SaturnMoon = 5;
  state.Table.TableKind = 114;
  form_->Tables().ComputeTable();
  ASSERT_GE(list.Count(), 1);
  EXPECT_EQ(list.At(0).EventText.find("Rhea"), list.At(0).EventText.size() - 4);

  // A cancelled run paints what it found, leaves no table kind, and keeps
  // the commands disabled while it runs.
  CancelAtFirstMove cancelling(form_->menuBar());
  ProgressReporter* previous = SetProgressReporter(&cancelling);
  state.Table.TableKind = 105;
  form_->Tables().ComputeTable();
  SetProgressReporter(previous);
  EXPECT_EQ(state.Table.PreviousTableKind, kNoTableKind);
  EXPECT_GT(list.Count(), 0);
  EXPECT_EQ(form_->Workbook().LastRow(), list.Count() + 1);
  EXPECT_TRUE(cancelling.menuDisabled);
  EXPECT_TRUE(form_->menuBar()->isEnabled());

  // A period without length: the question, nothing computed.
  const std::size_t before = messages_.messages.size();
  SetDays(0);
  messages_.QueueReply(MessageResult::No);  // not the period dialog
  commands.Trigger("Jupitermondereignisse1");
  EXPECT_EQ(messages_.messages.size(), before + 1);
}

}  // namespace
}  // namespace kvx
