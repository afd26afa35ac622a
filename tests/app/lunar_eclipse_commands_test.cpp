// The lunar eclipse and the lunar-eclipse calendar from the menu, into the
// sheet and the grid, with the criteria dialog filled as a user would and
// its period shown in the locale's date form.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "core/name_tables.h"
#include "engine/ui/mystringgrid_view.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/qt/workbook_view.h"
#include "platform/settings_store.h"
#include "support/qt/main_form_test.h"
#include "support/qt/save_png.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

using test::SetBerlinDate;

namespace fs = std::filesystem;

int dialogs_seen = 0;
// The shared hook, counting the dialogs it answered.
void WhenModalShown(const std::function<void(QDialog&)>& act) {
  test::WhenModalShown([act](QDialog& dialog) {
    ++dialogs_seen;
    act(dialog);
  });
}

using test::SavePng;

class LunarEclipseCommands : public test::MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    LanguageEnglish = 1;
    dialogs_seen = 0;
  }
  void TearDown() override { LanguageEnglish = 0; }
};

TEST_F(LunarEclipseCommands, EclipseAndCalendarFromTheMenu) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ShowForm(form);
  ScopedMessageSink sink(messages_);
  TMenuCommands& commands = form.Commands();
  TMainFormState& state = form.State();
  ASSERT_TRUE(commands.IsEnabled("Mondfinsternis3"));
  ASSERT_TRUE(commands.IsEnabled("Mondfinsterniskalender1"));
  ASSERT_TRUE(commands.Action("SpeedButton25a")->isEnabled());
  workbook::TWorkbook& book = form.Workbook();

  // The total eclipse of 2025 September 7 from September 1, Berlin: eight
  // lines, the start date kept.
  SetBerlinDate(state.Period.Start, 1, 9, 2025);
  commands.Action("SpeedButton25a")->trigger();
  EXPECT_EQ(state.Table.PreviousTableKind, 88);
  EXPECT_EQ(book.Text(1, 1), "Lunar eclipse");
  EXPECT_EQ(book.Text(2, 1), "First contact with the penumbra: ");
  EXPECT_EQ(book.Text(5, 1), "Maximum of the eclipse: ");
  EXPECT_EQ(book.Text(9, 1), "Size of eclipse: ");
  EXPECT_EQ(state.Eclipses.LunarEclipseResults.Lines.size(), 8u);
  EXPECT_EQ(state.Eclipses.LunarEclipseResults.Lines[3].Observer.Day, 7);
  EXPECT_EQ(state.Period.Start.Day, 1);
  SavePng(form, "main_window_lunar_eclipse");

  // The calendar 2025-2026, only total eclipses with the Moon above 10
  // degrees: the dialog shows the period and takes the choices.
  SetBerlinDate(state.Period.End, 31, 12, 2026);
  state.Period.AutoEnd = 0;
  SetAutoEndSwitch(state.Period.End, 0);
  QString periodText;
  WhenModalShown([&periodText](QDialog& dialog) {
    dialog.findChild<QRadioButton*>("Kind2")->click();
    dialog.findChild<QCheckBox*>("AltitudeCondition")->click();
    dialog.findChild<QSpinBox*>("MinimumAltitude")->setValue(10);
    periodText = dialog.findChild<QLabel*>("PeriodLabel")->text();
    SavePng(dialog, "lunar_criteria_dialog");
    dialog.findChild<QPushButton*>("OKButton")->click();
  });
  commands.Trigger("Mondfinsterniskalender1");
  EXPECT_EQ(dialogs_seen, 1);
  const QString dateSeparator(QChar(IntlSeparators.Date));
  EXPECT_EQ(periodText, QString("01.09.2025 to 31.12.2026").replace('.', dateSeparator));
  EXPECT_EQ(state.Eclipses.LunarCriteria.Kind, 2);
  EXPECT_EQ(state.Eclipses.LunarCriteria.AltitudeCondition, 1);
  EXPECT_EQ(state.Eclipses.LunarCriteria.MinimumAltitude, 10);
  EXPECT_EQ(state.Table.PreviousTableKind, 89);
  // Totals after the start: 2025 Sep 7 (seen from Berlin after moonrise)
  // and 2026 Mar 3 (below the horizon there), then the partial of 2026
  // Aug 28: one block of eight lines.
  EXPECT_EQ(book.Text(1, 1), "Lunar eclipse");
  EXPECT_EQ(book.Text(4, 1), "Begin of total phase: ");
  EXPECT_EQ(book.Text(9, 1), "Size of eclipse: ");
  EXPECT_EQ(book.Text(10, 1), "");
  EXPECT_EQ(book.LastRow(), 9);
  SavePng(form, "main_window_lunar_calendar");

  // Cancel keeps the criteria and computes nothing.
  WhenModalShown([](QDialog& dialog) {
    dialog.findChild<QRadioButton*>("Kind0")->click();
    dialog.findChild<QPushButton*>("CancelButton")->click();
  });
  state.Table.PreviousTableKind = kNoTableKind;
  commands.Trigger("Mondfinsterniskalender1");
  EXPECT_EQ(state.Eclipses.LunarCriteria.Kind, 2);
  EXPECT_EQ(state.Table.PreviousTableKind, kNoTableKind);

  // The period in the short date form with the locale's date separator,
  // as the solar dialog shows it, and the automatic end completed from the
  // start as it stands (not the end of the last table).
  const char separator = IntlSeparators.Date;
  IntlSeparators.Date = '/';
  state.Period.AutoEnd = 1;
  SetAutoEndSwitch(state.Period.End, 1);
  state.Period.End.PeriodDays = 30;
  state.Period.End.PeriodHours = 12.0;
  for (const int english : {1, 0}) {
    LanguageEnglish = static_cast<std::uint8_t>(english);
    WhenModalShown([&periodText, english](QDialog& dialog) {
      periodText = dialog.findChild<QLabel*>("PeriodLabel")->text();
      if (english == 0) SavePng(dialog, "lunar_criteria_dialog_german_locale_dates");
      dialog.findChild<QPushButton*>("CancelButton")->click();
    });
    commands.Trigger("Mondfinsterniskalender1");
    EXPECT_EQ(periodText, english != 0 ? "01/09/2025 to 01/10/2025" : "01/09/2025 bis 01/10/2025");
  }
  LanguageEnglish = 1;
  IntlSeparators.Date = separator;
  state.Period.AutoEnd = 0;
  SetAutoEndSwitch(state.Period.End, 0);

  // Into the grid, all eclipses.
  state.Document.WorkbookView = 0;
  state.Eclipses.LunarCriteria = TLunarEclipseCriteria{};
  WhenModalShown([](QDialog& dialog) { dialog.findChild<QPushButton*>("OKButton")->click(); });
  commands.Trigger("Mondfinsterniskalender1");
  EXPECT_EQ(form.Grid().Cells(1, 1), "Lunar eclipse");
  EXPECT_GT(form.Grid().RowCount(), 20);
  form.CentralStack()->setCurrentWidget(form.GridView());
  QApplication::processEvents();
  SavePng(form, "main_window_lunar_calendar_grid");
  form.CentralStack()->setCurrentWidget(form.WorkbookView());
  state.Document.WorkbookView = 1;
}

}  // namespace
}  // namespace kvx
