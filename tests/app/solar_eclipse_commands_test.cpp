// The solar eclipse and the solar eclipse calendar from the menu, with the
// Moon-theory question, the criteria dialog and its period button, and a
// cancelled calendar.
#include "app/ui/eclipse_commands.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "eclipses/ui/solar_criteria_dialog.h"
#include "core/name_tables.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/progress.h"
#include "platform/settings_store.h"
#include "support/qt/main_form_test.h"
#include "support/recording_message_sink.h"
#include "support/cancelling_progress.h"
#include "support/temp_folder.h"
#include "support/qt/save_png.h"

namespace kvx {
namespace {

using test::WhenModalShown;
using test::CancellingProgress;

namespace fs = std::filesystem;

using test::SavePng;

class SolarEclipseCommands : public test::MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    LanguageEnglish = 1;
  }
};

TEST_F(SolarEclipseCommands, TableAndCalendarFromTheMenu) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ShowForm(form);
  ScopedMessageSink sink(messages_);
  TMenuCommands& commands = form.Commands();
  TMainFormState& state = form.State();
  ASSERT_TRUE(commands.IsEnabled("Sonnenfinsternis1"));
  ASSERT_TRUE(commands.IsEnabled("Sonnenfinsterniskalender1"));

  // Dallas, 1 April 2024, local time UT-5.
  TObserverRecord& start = state.Period.Start;
  start.Day = 1;
  start.Month = 4;
  start.Year = 2024;
  start.LocalHours = 0;
  start.Longitude = 96.8;
  start.Latitude = 32.78;
  start.Zone = -5;
  start.DaylightHours = 0;
  start.PlaceName = "Dallas";
  LocalTimeToUT(start);
  state.Table.PlaceConfirmed = 1;

  // With the ELP-2000/82 Moon the question comes first; No switches to the
  // internal series.
  TTheorySelection elp = form.Selection();
  elp.bytes[1] = 1;
  form.SetTheorySelection(elp);
  const bool asked = form.Selection().MoonTheory() != 0;
  messages_.QueueReply(MessageResult::No);
  commands.Trigger("Sonnenfinsternis1");
  if (asked) {
    ASSERT_FALSE(messages_.messages.empty());
    EXPECT_NE(messages_.messages.front().text.find("ELP2000"), std::string::npos);
    EXPECT_EQ(form.Selection().MoonTheory(), 0);
  }
  workbook::TWorkbook& book = form.Workbook();
  EXPECT_EQ(book.Text(1, 1), "Solar Eclipse");
  EXPECT_GT(book.LastRow(), 20);
  EXPECT_EQ(book.Text(1, 7).rfind("Total eclipse", 0), 0u) << book.Text(1, 7);
  EXPECT_EQ(book.Text(3, 7), "Maximum at");
  EXPECT_EQ(book.Text(5, 7), "2. contact: ");
  SavePng(form, "solar_eclipse_table");

  // The calendar over 2024: the criteria dialog, its period button opening
  // the period dialog, then "Only total": only 8 April is total in Dallas.
  state.Period.AutoEnd = 0;
  TObserverRecord& end = state.Period.End;
  end = start;
  end.Day = 31;
  end.Month = 12;
  LocalTimeToUT(end);
  bool periodDialogSeen = false;
  QString labelBefore, labelAfter;
  WhenModalShown([&](QDialog& dialog) {
    auto* label = dialog.findChild<QLabel*>("PeriodLabel");
    ASSERT_NE(label, nullptr);
    labelBefore = label->text();
    WhenModalShown([&](QDialog& period) {
      periodDialogSeen = period.objectName() != dialog.objectName();
      period.reject();
    });
    dialog.findChild<QPushButton*>("ChangeButton")->click();
    labelAfter = label->text();
    dialog.findChild<QRadioButton*>("Criterion3")->click();
    SavePng(dialog, "solar_eclipse_criteria_dialog");
    dialog.findChild<QPushButton*>("OK")->click();
  });
  commands.Trigger("Sonnenfinsterniskalender1");
  EXPECT_TRUE(periodDialogSeen);
  EXPECT_TRUE(labelBefore.contains("2024"));
  EXPECT_TRUE(labelBefore.contains(" to "));
  EXPECT_EQ(labelAfter, labelBefore);
  EXPECT_EQ(state.Eclipses.SolarEclipseCriterion, 3);
  EXPECT_EQ(book.Text(1, 2), "Phase global");
  EXPECT_EQ(book.Text(2, 2), " total");
  EXPECT_EQ(book.Text(2, 3).rfind("total ", 0), 0u) << book.Text(2, 3);
  EXPECT_TRUE(book.Text(3, 1).empty()) << "only one eclipse is total in Dallas";
  SavePng(form, "solar_eclipse_calendar");

  // Cancel in the criteria dialog: the criterion stays, nothing is computed.
  const std::string before = book.Text(2, 3);
  WhenModalShown([](QDialog& dialog) {
    dialog.findChild<QRadioButton*>("Criterion0")->click();
    dialog.findChild<QPushButton*>("Cancel")->click();
  });
  commands.Trigger("Sonnenfinsterniskalender1");
  EXPECT_EQ(state.Eclipses.SolarEclipseCriterion, 3);
  EXPECT_EQ(book.Text(2, 3), before);

  // Cancelled during the search: the sheet as it was, no table kind.
  CancellingProgress cancelling(3);
  ProgressReporter* previous = SetProgressReporter(&cancelling);
  end.Year = 2030;
  LocalTimeToUT(end);
  WhenModalShown([](QDialog& dialog) { dialog.findChild<QPushButton*>("OK")->click(); });
  commands.Trigger("Sonnenfinsterniskalender1");
  SetProgressReporter(previous);
  EXPECT_EQ(state.Table.TableKind, kNoTableKind);
  EXPECT_EQ(state.Table.PreviousTableKind, kNoTableKind);
  EXPECT_EQ(book.Text(2, 3), before);
  EXPECT_EQ(form.HourglassDepth(), 0);
  AbortRequested = 0;

  // The German dialog.
  LanguageEnglish = 0;
  TSofiSuchkriteriendlg german(1, TEclipsePeriodHooks{[] { return std::string("1.4.2024 bis 31.12.2024"); }, {}});
  EXPECT_EQ(german.windowTitle(), "Suchkriterien");
  EXPECT_EQ(german.ChangeButton->text(), QString::fromUtf8("&Ändern..."));
  EXPECT_TRUE(german.findChild<QRadioButton*>("Criterion1")->isChecked());
  german.show();
  SavePng(german, "solar_eclipse_criteria_dialog_german");
  LanguageEnglish = 1;
}

}  // namespace
}  // namespace kvx
