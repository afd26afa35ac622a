// What may write into the user's sheet: only a table command. The date,
// place, period, theory and set-up commands change the records and leave
// every sheet as it was (texts and formats); New resets the workbook and the
// result grid; a cancelled table keeps the rows computed until the cancel
// and says so in the status line; a refused element file leaves the dialog's
// list and choice; a run that ends without its whole table says what it
// wrote; a clamped period is saved clamped and a later start says
// nothing.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/ui/element_commands.h"
#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "app/ui/table_commands.h"
#include "catalogues/ui/element_dialogs.h"
#include "core/time_scales.h"
#include "engine/table_globals.h"
#include "orbitdet/ui/orbit_forms.h"
#include "platform/file_dialog.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/progress.h"
#include "platform/settings_store.h"
#include "platform/workbook/workbook.h"
#include "support/cancelling_progress.h"
#include "support/qt/main_form_test.h"
#include "support/qt/save_png.h"
#include "support/recording_file_dialog.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

using test::CancellingProgress;
using test::SavePng;
using workbook::TWorkbook;

// Every sheet's cells (entry and style), column widths and row heights.
struct TBookSnapshot {
  std::vector<std::string> Texts;
  std::vector<workbook::TCellStyle> Styles;
  std::vector<double> Sizes;
  bool operator==(const TBookSnapshot&) const = default;
};

TBookSnapshot Snapshot(const TWorkbook& book) {
  TBookSnapshot s;
  for (int sheet = 1; sheet <= book.NumSheets(); ++sheet) {
    const workbook::TSheetData& data = book.SheetData(sheet);
    s.Texts.push_back(book.SheetName(sheet) + ":" + std::to_string(data.LastRow()) + "x" +
                      std::to_string(data.LastCol()));
    for (int row = 1; row <= data.LastRow(); ++row) {
      s.Sizes.push_back(data.RowHeight(row));
      for (int col = 1; col <= data.LastCol(); ++col) {
        s.Texts.push_back(book.EntryOn(sheet, row, col));
        s.Styles.push_back(book.StyleAt(sheet, row, col));
      }
    }
    for (int col = 1; col <= data.LastCol(); ++col) s.Sizes.push_back(data.ColWidth(col));
  }
  return s;
}

// Presses the dialog's OK button (the first push button reading "OK"), or
// accepts it.
void PressOk(QDialog& dialog) {
  for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
    if (button->text().remove('&').compare("OK", Qt::CaseInsensitive) == 0 && button->isVisible()) {
      button->click();
      return;
    }
  }
  if (auto* box = dialog.findChild<QDialogButtonBox*>()) {
    if (QPushButton* ok = box->button(QDialogButtonBox::Ok)) {
      ok->click();
      return;
    }
  }
  dialog.accept();
}

// Confirms every modal dialog the command opens (the period dialog and the
// question it may ask, for example), then runs the command.
void TriggerConfirmed(TMainForm& form, const char* command) {
  QTimer timer;
  timer.setInterval(20);
  QObject::connect(&timer, &QTimer::timeout, [] {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) PressOk(*dialog);
  });
  timer.start();
  form.Commands().Trigger(command);
  timer.stop();
}

// Every text of the grid, titles included.
std::vector<std::string> GridTexts(const tmystringgrid& grid) {
  std::vector<std::string> cells;
  for (int row = 0; row < grid.RowCount(); ++row)
    for (int col = 0; col < grid.ColCount(); ++col) cells.push_back(grid.Cells(col, row));
  return cells;
}

class SheetKeeping : public test::MainFormTest {
 protected:
  // The window shown, the place confirmed, a Sun table of the start-up
  // period in the current view.
  static void ShowWithSunTable(TMainForm& form) {
    ShowForm(form);
    form.State().Table.PlaceConfirmed = 1;
    form.Commands().Trigger("Sonne1");
  }
};

// A Sun table on sheet 1, "MYDATA" typed on sheet 2, then every command
// that only changes a setting: no sheet changes in a text or a format.
TEST_F(SheetKeeping, SettingCommandsComputeNothing) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ScopedMessageSink sink(messages_);
  ShowWithSunTable(form);
  TMainFormState& s = form.State();
  TWorkbook& book = form.Workbook();
  ASSERT_GT(book.LastRow(), 5);
  book.SetSheet(2);
  book.SetText(1, 1, "MYDATA");
  book.SetSheet(1);
  book.SetNumberFormat("0,000");  // a format the user gave
  const TBookSnapshot before = Snapshot(book);
  const std::vector<std::string> gridBefore = GridTexts(form.Grid());

  for (const char* command : {"Systemdatum1",
                              "Sommerzeit1",
                              "Sommerzeit1",
                              "ZeitraumfrTabelle1",
                              "DatumundOrteingeben1",
                              "Ortwhlen1",
                              "UTeingeben1",
                              "Tagesbruchteil1",
                              "ZeitraumfrTabelleJD1",
                              "JulianischesDatum1",
                              "Tabellenkonfigurieren1",
                              "Datenformate1",
                              "NewcombscheTheorienverwenden1",
                              "usevsop871",
                              "ELP2000Mondtheorieverwenden1",
                              "DatenbankfrIntegrationenverwenden1",
                              "Spaltenberschriften1",
                              "SpeedButton34",
                              "SpeedButton42",
                              "SpeedButton43"}) {
    if (!form.Commands().IsEnabled(command)) continue;
    TriggerConfirmed(form, command);
    QApplication::processEvents();
    EXPECT_TRUE(Snapshot(book) == before) << command;
    EXPECT_EQ(s.Table.TableKind, kNoTableKind) << command;
  }
  // A configuration saved and loaded again takes over every setting.
  const std::string configuration = (home_.Path() / "kept.ocf").string();
  ASSERT_TRUE(form.SaveConfiguration(configuration));
  ASSERT_TRUE(form.LoadConfiguration(configuration));
  QApplication::processEvents();
  EXPECT_TRUE(Snapshot(book) == before);
  EXPECT_EQ(book.TextOn(2, 1, 1), "MYDATA");
  EXPECT_EQ(GridTexts(form.Grid()), gridBefore);
  SavePng(form, "main_window_sheet_kept");
}

// New resets both documents; a date command after it leaves what the user
// typed. In the result-grid view New leaves 2 x 2 cells with "  Bereit".
TEST_F(SheetKeeping, NewDocumentAndGridView) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ScopedMessageSink sink(messages_);
  ShowWithSunTable(form);
  TMainFormState& s = form.State();
  TWorkbook& book = form.Workbook();
  ASSERT_GT(book.LastRow(), 5);
  messages_.QueueReply(MessageResult::No);
  form.Commands().Trigger("Neu1");
  EXPECT_EQ(book.LastRow(), 0);
  book.SetText(1, 1, "MYDATA");
  form.Commands().Trigger("Systemdatum1");
  EXPECT_EQ(book.Text(1, 1), "MYDATA");
  EXPECT_EQ(book.LastRow(), 1);
  EXPECT_EQ(s.Table.PreviousTableKind, kNoTableKind);

  s.Document.WorkbookView = 0;
  form.Commands().Trigger("Sonne1");
  ASSERT_GT(form.Grid().RowCount(), 5);
  messages_.QueueReply(MessageResult::No);
  form.Commands().Trigger("Neu1");
  const tmystringgrid& grid = form.Grid();
  EXPECT_EQ(grid.RowCount(), 2);
  EXPECT_EQ(grid.ColCount(), 2);
  EXPECT_EQ(grid.Cells(1, 1), LanguageEnglish != 0 ? "  Ready" : "  Bereit");
  EXPECT_EQ(grid.Cells(1, 0), "");
  EXPECT_EQ(grid.ColWidths(1), tmystringgrid::kDefaultColWidth);
  SavePng(form, "main_window_grid_new");
}

// A Sun table cancelled during its run: the rows computed until then are
// written under the heading, the status line says so, no kind is kept.
TEST_F(SheetKeeping, ACancelledTableKeepsItsRows) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ShowForm(form);
  ScopedMessageSink sink(messages_);
  TMainFormState& s = form.State();
  s.Table.PlaceConfirmed = 1;
  s.Period.AutoEnd = 1;
  s.Period.End.PeriodDays = 2000;
  s.Period.End.PeriodHours = 0;
  TWorkbook& book = form.Workbook();
  form.Commands().Trigger("Sonne1");
  const int heading = book.LastRow() - RowStore.Count();
  ASSERT_EQ(RowStore.Count(), 2001);

  CancellingProgress cancelling(40);
  ProgressReporter* previous = SetProgressReporter(&cancelling);
  form.Commands().Trigger("Sonne1");
  SetProgressReporter(previous);
  const int kept = book.LastRow() - heading;
  EXPECT_GT(kept, 10);
  EXPECT_LT(kept, 2001);
  EXPECT_EQ(s.Table.TableKind, kNoTableKind);
  EXPECT_EQ(s.Table.PreviousTableKind, kNoTableKind);
  EXPECT_EQ(AbortRequested.load(), 0);
  EXPECT_EQ(form.Panel("StatusLine")->text().toStdString(), CancelledRunText(true, LanguageEnglish != 0));
  // The last row written is a whole row: its date follows the one before.
  EXPECT_FALSE(book.Text(heading + kept, 1).empty());
  EXPECT_NE(book.Text(heading + kept, 1), book.Text(heading + kept - 1, 1));
  SavePng(form, "main_window_cancelled_sun");
}

// Runs that end without their whole table. The almanac cancelled before its
// first find leaves the sheet as it was and says nothing was written;
// cancelled later, it writes what it found and says so. An orbit improvement
// whose choice of observations is cancelled, or a table over an element
// file cancelled before its first row, puts back the sheet the run had
// cleared.
TEST_F(SheetKeeping, RunsEndingWithoutTheirTable) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ScopedMessageSink sink(messages_);
  ShowWithSunTable(form);
  TMainFormState& s = form.State();
  TWorkbook& book = form.Workbook();
  const bool english = LanguageEnglish != 0;
  const QLabel* status = form.Panel("StatusLine");
  const TBookSnapshot sun = Snapshot(book);
  TTheorySelection internal = form.Selection();
  internal.bytes[0] = 0;
  internal.bytes[1] = 0;
  form.SetTheorySelection(internal);  // no question about a slow theory
  s.Period.AutoEnd = 1;
  s.Period.End.PeriodDays = 31;
  // Cancel pressed at the first step, or as the last section (the Moon's
  // phases) begins, after the perigees were found.
  auto almanac = [&form](bool atFirstStep) {
    struct AtPhases : CancellingProgress {
      AtPhases() : CancellingProgress(0) {}  // no step cancels
      void SetLabel(const std::string& label) override {
        if (label == "Mondphasen" || label == "Moon phases") AbortRequested = 1;
      }
    } atPhases;
    CancellingProgress atFirst(1);
    ProgressReporter* previous = SetProgressReporter(atFirstStep ? &atFirst : &atPhases);
    test::WhenModalShown([](QDialog& d) {
      d.findChild<QPushButton*>("Button2")->click();
      d.findChild<QPushButton*>("Button3")->click();
      d.findChild<QAbstractButton*>("CheckBox10")->click();  // the Moon
      d.findChild<QAbstractButton*>("CheckBox13")->click();  // perigee
      d.findChild<QAbstractButton*>("CheckBox38")->click();  // phases
      d.findChild<QPushButton*>("BitBtn1")->click();
    });
    form.Commands().Trigger("Almanach1");
    SetProgressReporter(previous);
  };

  almanac(true);
  EXPECT_TRUE(Snapshot(book) == sun);
  EXPECT_EQ(status->text().toStdString(), CancelledRunText(false, english));
  EXPECT_EQ(s.Table.PreviousTableKind, kNoTableKind);

  almanac(false);
  EXPECT_FALSE(Snapshot(book) == sun);
  EXPECT_FALSE(book.Text(2, 1).empty());
  EXPECT_EQ(status->text().toStdString(), CancelledRunText(true, english));
  EXPECT_EQ(s.Table.PreviousTableKind, kNoTableKind);
  EXPECT_TRUE(messages_.messages.empty()) << messages_.messages.front().text;

  const TBookSnapshot partial = Snapshot(book);
  test::RecordingFileDialog files;
  ScopedFileDialog scopedFiles(files);
  files.QueueAnswer(std::string(KVX_FIXTURE_DIR) + "/../../orbitdet/fixtures/mainbelt_mpc.txt");
  test::WhenModalAppears<TSelectObservations>([](TSelectObservations& d) { d.CancelButton()->click(); });
  form.Commands().Trigger("Laplace1");
  EXPECT_TRUE(Snapshot(book) == partial);
  EXPECT_TRUE(form.isEnabled());

  // Every asteroid of the shipped list, cancelled before the first one and
  // after a few.
  auto allAsteroids = [&form](int cancelAt) {
    CancellingProgress cancelling(cancelAt);
    ProgressReporter* previous = SetProgressReporter(&cancelling);
    form.Commands().Trigger("AllePlanetoiden2");
    SetProgressReporter(previous);
  };
  allAsteroids(1);
  EXPECT_TRUE(Snapshot(book) == partial);
  EXPECT_EQ(status->text().toStdString(), CancelledRunText(false, english));
  allAsteroids(4);
  EXPECT_GT(RowStore.Count(), 0);
  EXPECT_FALSE(book.Text(2, 1).empty());
  EXPECT_EQ(status->text().toStdString(), CancelledRunText(true, english));
  EXPECT_TRUE(messages_.messages.empty()) << messages_.messages.front().text;
}

// A refused element file: the asteroid list, the chosen entry and the form
// stay as they were, and OK hands over the set shown before.
TEST_F(SheetKeeping, ARefusedElementFileKeepsTheListAndTheChoice) {
  ScopedSettingsStore settings(store_);
  test::TempFolder files;
  const std::string mine = files.Write("mine.csv",
                                       ":a;e;i;node;per;m;n;equinox;epoch;h;g\r\n"
                                       "Ceres(1);2,7675;0,0785;10,5868;80,2552;73,4249;291,3840;0,21411;2000,00;"
                                       "2460600,50000;3,34;0,12\r\n"
                                       "Pallas(2);2,7702;0,2302;34,9250;172,9010;310,9330;269,0000;0,21350;2000,00;"
                                       "2460600,50000;4,12;0,11\r\n");
  const std::string empty = files.Write("empty.csv", "");
  const std::string binary = files.Write("binary.opl", std::string("\x01\x02\x03", 3));
  TMainForm form;
  ShowForm(form);
  ScopedMessageSink sink(messages_);
  test::RecordingFileDialog dialogs;
  ScopedFileDialog scopedDialogs(dialogs);
  ASSERT_TRUE(form.Commands().Trigger("Planetoiden1"));
  TElementeplform& dialog = ElementDialogCommandsOf(form)->AsteroidDialog();
  auto open = [&dialog, &dialogs](const std::string& file) {
    dialogs.QueueAnswer(file);
    dialog.OpenListFile();
  };
  open(mine);
  ASSERT_EQ(dialog.Planetoidentabelle1.Count(), 2);
  dialog.Planetoidentabelle1.Select(0);
  dialog.Planetoidentabelle1.Changed();
  ASSERT_EQ(dialog.Record.Name, "Ceres(1)");
  const std::string label = dialog.UsedFileLabel()->text().toStdString();

  for (const std::string& refused : {empty, binary}) {
    messages_.messages.clear();
    open(refused);
    EXPECT_FALSE(messages_.messages.empty()) << refused;
    EXPECT_EQ(dialog.Planetoidentabelle1.Count(), 2) << refused;
    EXPECT_EQ(dialog.Planetoidentabelle1.ItemIndex, 0) << refused;
    EXPECT_EQ(dialog.Planetoidentabelle1.FileName, mine) << refused;
    EXPECT_EQ(dialog.State.FileName, mine) << refused;
    EXPECT_EQ(dialog.Record.Name, "Ceres(1)") << refused;
    EXPECT_EQ(dialog.NameEdit()->text(), "Ceres(1)") << refused;
    EXPECT_EQ(dialog.UsedFileLabel()->text().toStdString(), label) << refused;
  }
  dialog.OkButton()->click();
  QApplication::processEvents();
  EXPECT_EQ(form.State().Objects.CurrentAsteroid.Name, "Ceres(1)");
}

// A 10,000-year daily period: clamped once with its messages; the saved
// configuration holds the clamped period, and a window started with it
// shows no message.
TEST_F(SheetKeeping, AClampedPeriodIsSavedClamped) {
  ScopedSettingsStore settings(store_);
  const std::filesystem::path saved = home_.Path() / "clamped.ocf";
  {
    TMainForm form;
    ShowForm(form);
    ScopedMessageSink sink(messages_);
    TMainFormState& s = form.State();
    s.Period.AutoEnd = 1;
    s.Period.End.PeriodDays = 3652425;
    s.Period.Step.Days = 1;
    s.Period.Step.Hours = 0;
    s.Period.Step.StepDays = 1;
    form.Tables().ComputeWithoutKind();
    ASSERT_EQ(messages_.messages.size(), 2u);
    EXPECT_NEAR(s.Period.End.Mjd - s.Period.Start.Mjd, 16381, 1e-6);
    ASSERT_TRUE(form.SaveConfiguration(saved.string()));
  }
  messages_.messages.clear();
  TMainForm later;
  ShowForm(later);
  ScopedMessageSink sink(messages_);
  ASSERT_TRUE(later.LoadConfiguration(saved.string()));
  later.Tables().ComputeWithoutKind();
  QApplication::processEvents();
  EXPECT_TRUE(messages_.messages.empty()) << messages_.messages.front().text;
  EXPECT_NEAR(later.State().Period.End.Mjd - later.State().Period.Start.Mjd, 16381, 1e-6);
}

}  // namespace
}  // namespace kvx
