// The occultations by the Moon from the menu: the criteria dialog (its bars,
// the name search, the refusal of an unmatched name, the catalogue loaded
// from the dialog), the star and the planet tables in the sheet and the
// grid, and a cancelled search that writes what it found.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "app/table_dispatcher.h"
#include "app/ui/occultation_commands.h"
#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "core/name_tables.h"
#include "eclipses/ui/lunar_occultation_dialog.h"
#include "engine/mystringgrid.h"
#include "engine/ui/mystringgrid_view.h"
#include "platform/globals.h"
#include "platform/qt/elided_label.h"
#include "platform/messages.h"
#include "platform/progress.h"
#include "platform/settings_store.h"
#include "support/cancelling_progress.h"
#include "support/qt/main_form_test.h"
#include "support/qt/save_png.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

using test::WhenModalShown;
using test::SetDate;
using test::CancellingProgress;

using test::SavePng;

std::string FixtureCatalogueBytes() {
  std::ifstream in(std::string(KVX_FIXTURE_DIR) + "/../../eclipses/fixtures/occultation_stars.dat", std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

class LunarOccultationCommands : public test::MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    LanguageEnglish = 1;
    catalogue_.Write("OCCINP8.DAT", FixtureCatalogueBytes());
  }
  test::TempFolder catalogue_;
};

TEST_F(LunarOccultationCommands, DialogTablesAndCancelFromTheMenu) {
  UseDefaultSeparators();
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ShowForm(form);
  ScopedMessageSink sink(messages_);
  TMainFormState& state = form.State();
  state.DataFolder = catalogue_.Path().string();
  state.StarCatalogue.Setting = 1;
  state.StarCatalogue.SelectedStar = -1;
  form.PublishStarCatalogue(nullptr);
  TTheorySelection internal = form.Selection();
  internal.bytes[1] = 0;
  form.SetTheorySelection(internal);
  TMenuCommands& commands = form.Commands();
  ASSERT_TRUE(commands.IsEnabled("Sternbedeckungen1"));
  ASSERT_TRUE(commands.IsEnabled("Planeten1"));

  // The dialog: the bar's end by the catalogue, the catalogue loaded with
  // the dialog's own bar when one star is wanted, the name search and the
  // refusal of an unmatched name.
  TStarCatalogueAccess access;
  access.Current = [&form] { return form.StarCatalogue(); };
  int percents = 0;
  access.Ensure = [&form, &percents](const std::function<void(int)>& progress) {
    form.EnsureStarCatalogue([&](int p) {
      ++percents;
      progress(p);
    });
    return form.StarCatalogue();
  };
  {
    TSternBedMondFrm large(-1, 2, 12.f, -100, access);
    EXPECT_EQ(large.findChild<QScrollBar*>("ScrollBar1")->maximum(), 1000);
    EXPECT_EQ(large.LimitingMagnitude(), 10.f) << "a stored limit beyond the bar is clamped";
    EXPECT_EQ(large.MinimumSunAltitude(), -90);
  }
  TSternBedMondFrm dialog(-1, 1, 8.f, -6, access);
  dialog.show();
  EXPECT_EQ(dialog.findChild<QScrollBar*>("ScrollBar1")->maximum(), 800);
  EXPECT_EQ(dialog.findChild<QLabel*>("floatedit1")->text(), QString("8") + QChar(IntlSeparators.Decimal) + "00 mag");
  EXPECT_FALSE(form.StarCatalogue());
  dialog.findChild<QCheckBox*>("CheckBox2")->click();
  ASSERT_TRUE(form.StarCatalogue()) << "loaded from the dialog";
  EXPECT_GE(percents, 0);
  dialog.findChild<QLineEdit*>("Edit1")->setText("reg");
  EXPECT_EQ(dialog.findChild<QLabel*>("Label4")->text(), "Regulus");
  const std::int32_t regulus = dialog.SelectedStar();
  EXPECT_EQ(form.StarCatalogue()->Star(regulus).Name, "Regulus");
  SavePng(dialog, "lunar_occultation_dialog");
  dialog.findChild<QLineEdit*>("Edit1")->setText("zzz");
  dialog.accept();
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  ASSERT_FALSE(messages_.messages.empty());
  EXPECT_EQ(messages_.messages.back().text, "No star with this name found.");
  dialog.reject();

  // Cancel in the dialog changes nothing.
  WhenModalShown([](QDialog& d) {
    d.findChild<QScrollBar*>("ScrollBar1")->setValue(300);
    d.findChild<QPushButton*>("CancelBtn")->click();
  });
  commands.Trigger("Sternbedeckungen1");
  EXPECT_EQ(state.Computing.NumericOptions.MagnitudeLimit, 8.f);
  EXPECT_NE(state.Table.TableKind, 142);

  // Berlin, 28 to 31 March 2026: Regulus is hidden on the evening of the
  // 29th.
  TObserverRecord& start = state.Period.Start;
  start.Longitude = -13.40;
  start.Latitude = 52.52;
  start.Zone = 1;
  start.DaylightHours = 0;
  start.AutoDeltaT = 0;
  start.DeltaTSeconds = 69;
  SetDate(start, 28, 3, 2026);
  state.Period.AutoEnd = 0;
  TObserverRecord& end = state.Period.End;
  end = start;
  SetDate(end, 31, 3, 2026);
  state.Table.PlaceConfirmed = 1;
  WhenModalShown([](QDialog& d) { d.findChild<QPushButton*>("OKBtn")->click(); });
  commands.Trigger("Sternbedeckungen1");
  workbook::TWorkbook& book = form.Workbook();
  EXPECT_EQ(state.Table.PreviousTableKind, 142);
  EXPECT_EQ(book.Text(2, 9 + (state.Period.TableConfig.Flags[column_flag::kJulianDate] != 0 ? 1 : 0)), "Regulus");
  EXPECT_EQ(book.Text(3, 1).empty(), false);
  SavePng(form, "lunar_occultation_sheet");

  // The same into the grid.
  state.Document.WorkbookView = 0;
  WhenModalShown([](QDialog& d) { d.findChild<QPushButton*>("OKBtn")->click(); });
  commands.Trigger("Sternbedeckungen1");
  EXPECT_EQ(form.Grid().RowCount(), 4);
  EXPECT_EQ(form.Grid().Cells(9, 2), "Regulus");
  if (form.GridView() != nullptr) {
    form.GridView()->resize(1200, 200);
    form.GridView()->show();
    QApplication::processEvents();
    SavePng(*form.GridView(), "lunar_occultation_grid");
  }
  state.Document.WorkbookView = 1;

  // Planets: Venus on 14 September 2026.
  SetDate(start, 13, 9, 2026);
  SetDate(end, 16, 9, 2026);
  commands.Trigger("Planeten1");
  EXPECT_EQ(state.Table.PreviousTableKind, 143);
  EXPECT_EQ(book.Text(2, 9 + (state.Period.TableConfig.Flags[column_flag::kJulianDate] != 0 ? 1 : 0)), "Venus");
  SavePng(form, "lunar_occultation_planets");

  // A cancel during a search over two and a half years: the occultations
  // found until then are written (Regulus on 29 March 2026 first), no
  // table kind, and the status line says the run was cancelled.
  SetDate(start, 28, 3, 2026);
  SetDate(end, 16, 9, 2028);
  CancellingProgress cancelling(2);
  ProgressReporter* previous = SetProgressReporter(&cancelling);
  WhenModalShown([](QDialog& d) { d.findChild<QPushButton*>("OKBtn")->click(); });
  commands.Trigger("Sternbedeckungen1");
  SetProgressReporter(previous);
  EXPECT_EQ(book.Text(2, 1), "29.03.2026");  // the date format dd.mm.yyyy on every desktop
  EXPECT_EQ(book.Text(2, 9 + (state.Period.TableConfig.Flags[column_flag::kJulianDate] != 0 ? 1 : 0)), "Regulus");
  EXPECT_EQ(state.Table.TableKind, kNoTableKind);
  EXPECT_EQ(state.Table.PreviousTableKind, kNoTableKind);
  EXPECT_EQ(form.Panel("StatusLine")->text().toStdString(), CancelledRunText(true, true));
  EXPECT_EQ(form.HourglassDepth(), 0);
  // Longer than its panel, the note is cut with "…" and whole in the tooltip.
  auto* line = qobject_cast<TElidedLabel*>(form.Panel("StatusLine"));
  ASSERT_NE(line, nullptr);
  line->resize(120, line->height());
  EXPECT_TRUE(line->ShownText().endsWith(QChar(0x2026))) << line->ShownText().toStdString();
  EXPECT_LE(line->fontMetrics().horizontalAdvance(line->ShownText()), 120);
  EXPECT_EQ(line->toolTip().toStdString(), CancelledRunText(true, true));
  EXPECT_LT(line->minimumSizeHint().width(), line->fontMetrics().horizontalAdvance(line->text()) / 4);

  // Cancelled before the first occultation: the table of the last run
  // stays, and the status line says nothing was written.
  const std::string kept = book.Text(2, 1);
  const int rows = book.LastRow();
  struct AtOnce : CancellingProgress {
    void ProcessEvents() override { AbortRequested = 1; }
  } atOnce;
  SetProgressReporter(&atOnce);
  WhenModalShown([](QDialog& d) { d.findChild<QPushButton*>("OKBtn")->click(); });
  commands.Trigger("Sternbedeckungen1");
  SetProgressReporter(previous);
  EXPECT_EQ(book.Text(2, 1), kept);
  EXPECT_EQ(book.LastRow(), rows);
  EXPECT_EQ(form.Panel("StatusLine")->text().toStdString(), CancelledRunText(false, true));
  AbortRequested = 0;

  // The next table, complete: the note of the cancelled run is gone.
  SetDate(start, 13, 9, 2026);
  SetDate(end, 16, 9, 2026);
  commands.Trigger("Planeten1");
  EXPECT_EQ(state.Table.PreviousTableKind, 143);
  EXPECT_TRUE(line->text().isEmpty()) << line->text().toStdString();
  EXPECT_TRUE(line->toolTip().isEmpty());
}

}  // namespace
}  // namespace kvx
