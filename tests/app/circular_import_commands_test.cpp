// Objects | Load from MPEC circular: the comet of an HTML circular becomes
// the current comet and its dialog opens on it; the T button takes a day
// with fraction as UT; a broken circular is reported and the current
// elements stay (offscreen, picture in test-output).
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>

#include "app/ui/element_commands.h"
#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "catalogues/element_dialog_model.h"
#include "catalogues/ui/element_dialogs.h"
#include "core/name_tables.h"
#include "core/time_scales.h"
#include "platform/file_dialog.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/settings_store.h"
#include "platform/workbook/workbook.h"
#include "support/qt/save_png.h"
#include "support/recording_file_dialog.h"
#include "support/qt/main_form_test.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

std::string Circular(const char* name) {
  return (std::filesystem::path(KVX_FIXTURE_DIR) / ".." / ".." / "catalogues" / "fixtures" / "circulars" / name)
      .string();
}

using CircularImportCommand = test::MainFormTest;

TEST_F(CircularImportCommand, CometFromHtmlOpensItsDialogAndBrokenFilesChangeNothing) {
  UseDefaultSeparators();
  LanguageEnglish = 1;
  ScopedSettingsStore settings(store_);
  TMainForm form;
  form.show();
  QApplication::processEvents();
  ScopedMessageSink sink(messages_);
  test::RecordingFileDialog files;
  ScopedFileDialog dialogs(files);
  TMainFormState& s = form.State();

  ASSERT_TRUE(form.Commands().IsEnabled("AusMPECZirkularladen1"));
  files.QueueAnswer(Circular("comet.htm"));
  ASSERT_TRUE(form.Commands().Trigger("AusMPECZirkularladen1"));
  ASSERT_EQ(files.requests.size(), 1u);
  EXPECT_EQ(files.requests[0].request.filters,
            (std::vector<std::string>{"MPE circular (HTML) (*.htm *.html)", "(*.txt)"}));
  EXPECT_TRUE(messages_.messages.empty());
  EXPECT_EQ(s.Objects.CurrentComet.Name, "C/2005 A99 (LINEAR) & friends");
  EXPECT_DOUBLE_EQ(s.Objects.CurrentComet.PerihelionDistance, 0.9069816);
  TElementekoform& dialog = ElementDialogCommandsOf(form)->CometDialog();
  ASSERT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.NameEdit()->text(), "C/2005 A99 (LINEAR) & friends");

  // T as 2005 May 7.5 UT through the day-fraction dialog.
  ASSERT_NE(dialog.PerihelionTimeFractionButton(), nullptr);
  ASSERT_TRUE(dialog.PerihelionTimeFractionButton()->isVisible());
  test::SavePng(dialog, "comet_elements_from_circular");
  test::WhenModalShown<QWidget>([](QWidget& modal) {
    auto* day = modal.findChild<QLineEdit*>("ID103");
    ASSERT_NE(day, nullptr);
    EXPECT_EQ(day->text().left(7), "7.71564") << "opens on the imported T";
    day->setText("7.5");
    QMetaObject::invokeMethod(&modal, "accept");
  });
  dialog.PerihelionTimeFractionButton()->click();
  // 2005 May 7.5 is JD 2453498.0 (python3-ephem, tests/catalogues/make_circular_dates.py).
  EXPECT_NEAR(ParseElementEntry(dialog.FieldEdit(9)->text().toStdString()).value_or(0), 2453498.0, 1e-4);
  dialog.close();

  // A circular without elements, and one with a broken block: the message,
  // the current comet and asteroid stay.
  const TCometElements comet = s.Objects.CurrentComet;
  const std::string asteroid = s.Objects.CurrentAsteroid.Name;
  const std::string broken = home_.Write("broken.txt", "Orbital elements:\n2005 QZ99\nEpoch 2005 Aug. 18.0 TT\n"
                                                      "M  20.13862              (2000.0)\nn   0.23   Pxxx   1\n");
  files.QueueAnswer(home_.Write("plain.txt", "nothing to see\n"));
  files.QueueAnswer(broken);
  ASSERT_TRUE(form.Commands().Trigger("AusMPECZirkularladen1"));
  ASSERT_TRUE(form.Commands().Trigger("AusMPECZirkularladen1"));
  ASSERT_EQ(messages_.messages.size(), 2u);
  EXPECT_EQ(messages_.messages[0].text, "This ist no MPE circular with orbital elements.");
  EXPECT_EQ(messages_.messages[1].text, "Invalid or unknown format of the MPE circular.");
  EXPECT_EQ(s.Objects.CurrentComet.Name, comet.Name);
  EXPECT_EQ(s.Objects.CurrentAsteroid.Name, asteroid);
}

// The element windows a loaded circular opens write their set into the sheet: the
// file header and the configured titles, then one row per press, each
// value a number that reads back unchanged.
TEST_F(CircularImportCommand, ImportedSetsGoIntoTheSheetAndReadBack) {
  LanguageEnglish = 1;
  ScopedSettingsStore settings(store_);
  TMainForm form;
  form.show();
  QApplication::processEvents();
  ScopedMessageSink sink(messages_);
  test::RecordingFileDialog files;
  ScopedFileDialog dialogs(files);
  TMainFormState& s = form.State();
  s.Period.TableConfig.ColumnTitles[135] = "Semi-major axis";
  workbook::TWorkbook& sheet = form.Workbook();
  sheet.SetText(7, 9, "old");

  files.QueueAnswer(Circular("asteroid.html"));
  ASSERT_TRUE(form.Commands().Trigger("AusMPECZirkularladen1"));
  TElementeplform& asteroid = ElementDialogCommandsOf(form)->AsteroidDialog();
  ASSERT_TRUE(asteroid.isVisible());
  const TAsteroidElements imported = s.Objects.CurrentAsteroid;
  asteroid.findChild<QPushButton*>("btnWriteHeader")->click();
  asteroid.findChild<QPushButton*>("BtnWrite")->click();
  EXPECT_EQ(sheet.Text(7, 9), "") << "with the header the sheet starts empty";
  EXPECT_EQ(sheet.Text(1, 1), ":BAHNELEMENTE PLANETOIDEN VAMUR!");
  EXPECT_EQ(sheet.Text(2, 1), ":" + s.Period.TableConfig.ColumnTitles[161]);
  EXPECT_EQ(sheet.Text(2, 2), "Semi-major axis");
  EXPECT_EQ(sheet.Text(2, 12), s.Period.TableConfig.ColumnTitles[166]);
  EXPECT_EQ(sheet.LastRow(), 4);
  EXPECT_EQ(sheet.LastCol(), 12);
  EXPECT_EQ(sheet.Text(3, 1), imported.Name);
  EXPECT_EQ(sheet.Number(4, 2), imported.SemiMajorAxis);
  EXPECT_EQ(sheet.Number(4, 10), imported.Epoch);
  asteroid.NameEdit()->setText("changed");
  asteroid.SheetRefEdit()->clear();
  asteroid.SheetRefEdit()->insert("A:4");
  EXPECT_EQ(asteroid.NameEdit()->text().toStdString(), imported.Name);
  EXPECT_EQ(asteroid.Record.MeanAnomaly, imported.MeanAnomaly);
  EXPECT_EQ(asteroid.Record.G, imported.G);
  test::SavePng(form, "asteroid_elements_in_sheet");
  asteroid.close();

  files.QueueAnswer(Circular("comet.txt"));
  ASSERT_TRUE(form.Commands().Trigger("AusMPECZirkularladen1"));
  TElementekoform& comet = ElementDialogCommandsOf(form)->CometDialog();
  const TCometElements cometSet = s.Objects.CurrentComet;
  comet.findChild<QPushButton*>("btnWriteHeader")->click();
  EXPECT_EQ(sheet.Text(1, 1), ":BAHNELEMENTE KOMETEN VAMUR EXT!");
  EXPECT_EQ(sheet.Text(2, 2), s.Period.TableConfig.ColumnTitles[136]);
  EXPECT_EQ(sheet.Text(2, 8), s.Period.TableConfig.ColumnTitles[144]);
  EXPECT_EQ(sheet.LastRow(), 3);
  EXPECT_EQ(sheet.LastCol(), 11);
  EXPECT_EQ(sheet.Number(3, 2), cometSet.PerihelionDistance);
  EXPECT_EQ(sheet.Number(3, 8), cometSet.PerihelionTime);
  EXPECT_EQ(sheet.Number(3, 11), cometSet.Epoch);
  comet.close();
  EXPECT_TRUE(messages_.messages.empty());
}

}  // namespace
}  // namespace kvx
