// "Ereignisse für mehrere Objekte..." from its menu item, offscreen: the
// asteroid element form's file (Ceres, Pallas, Juno, Vesta and a distant
// object) is loaded by the dialog itself, the oppositions of 2025 go into
// the sheet as the table of kind 84. Then in English a range of two chosen
// in the range dialog, a cancel at the second object (the run ends with the
// first object's event) and the dialog cancelled: ranges and table stay.
// Another asteroid file forgets the asteroid range and no other.
// Pictures of the dialog in both languages and of the table.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <filesystem>
#include <functional>
#include <set>

#include "app/ui/element_commands.h"
#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "app/ui/range_dialog.h"
#include "catalogues/ui/element_dialogs.h"
#include "core/name_tables.h"
#include "events/ui/multi_object_event_dialog.h"
#include "platform/file_dialog.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/settings_store.h"
#include "support/cancelling_progress.h"
#include "support/qt/main_form_test.h"
#include "support/qt/save_png.h"
#include "support/recording_file_dialog.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

using test::SetBerlinDate;

class MultiObjectEventCommands : public test::MainFormTest {
 protected:
  void TearDown() override { LanguageEnglish = 0; }
};

TEST_F(MultiObjectEventCommands, OppositionsOfAnElementFileIntoTheSheetThenCancelled) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ShowForm(form);
  ScopedMessageSink sink(messages_);
  form.SetLanguage(0);
  TMainFormState& state = form.State();
  state.Computing.NumericOptions.FastConjunctions = 1;  // the internal series, no theory question
  state.Objects.AsteroidDatabase = 0;
  SetBerlinDate(state.Period.Start, 1, 1, 2025);
  SetBerlinDate(state.Period.End, 31, 12, 2025);
  state.Period.AutoEnd = 0;
  SetAutoEndSwitch(state.Period.End, 0);
  const std::string file = home_.File("belt.csv");
  std::filesystem::copy_file(KVX_FIXTURE_DIR "/../../events/fixtures/multi_object_elements.csv", file);
  TElementeplform& asteroids = ElementDialogCommandsOf(form)->AsteroidDialog();
  asteroids.State.FileName = file;
  ASSERT_TRUE(form.Commands().IsEnabled("EreignissefrmehrereObjekte1"));

  int listed = -1;
  test::WhenModalAppears<TExtremumlistsuchen>([&listed](TExtremumlistsuchen& search) {
    QDialog& dialog = search;
    EXPECT_EQ(search.windowTitle(), "Ereignis suchen");
    EXPECT_EQ(search.ObjectBox->title(), "Objekt und Datenquelle wählen");
    EXPECT_TRUE(search.HelpButton->isVisible());
    EXPECT_TRUE(search.KeplerCheck->isChecked());
    EXPECT_EQ(search.AsteroidRangeLabel->text(), "1-5");  // the form's file, loaded for the search
    EXPECT_EQ(search.KindRadios[8], nullptr);             // elongations are not offered
    search.AsteroidRadio->click();
    search.KindRadios[6]->click();
    test::SavePng(dialog, "multi_object_event_dialog_de");
    search.SearchButton->click();
    listed = search.ListBox->count();
    search.CloseButton->click();
  });
  form.Commands().Trigger("EreignissefrmehrereObjekte1");
  EXPECT_EQ(listed, 5);
  EXPECT_EQ(state.Table.PreviousTableKind, 84);
  workbook::TWorkbook& book = form.Workbook();
  EXPECT_EQ(book.LastRow(), 6);
  std::set<std::string> names;
  for (int row = 2; row <= 6; ++row) {
    names.insert(book.Text(row, 1));
    EXPECT_EQ(book.Text(row, 2), "Opposition");
  }
  EXPECT_EQ(names, (std::set<std::string>{"Ceres", "Distant", "Juno", "Pallas", "Vesta"}));
  EXPECT_EQ(state.Searches.EventSearchOptions.ObjectCode, 10);
  EXPECT_TRUE(messages_.messages.empty());
  test::SavePng(form, "main_window_multi_object_event_table");

  // English: entries 2-3 chosen in the range dialog, cancel at the second
  // object, then the dialog cancelled.
  form.SetLanguage(1);
  int afterCancel = -1;
  test::WhenModalAppears<TExtremumlistsuchen>([&afterCancel](TExtremumlistsuchen& search) {
    QDialog& dialog = search;
    EXPECT_EQ(search.windowTitle(), "Find event");
    EXPECT_FALSE(search.HelpButton->isVisible());
    EXPECT_TRUE(search.AsteroidRadio->isChecked());
    EXPECT_TRUE(search.KindRadios[6]->isChecked());
    EXPECT_EQ(search.ListBox->count(), 0);  // the list was freed
    test::WhenModalAppears<TSlectNDlg>([](TSlectNDlg& select) {
      select.ToBox()->setValue(3);
      select.FromBox()->setValue(2);
      select.accept();
    });
    search.AsteroidSelectButton->click();
    EXPECT_EQ(search.AsteroidRangeLabel->text(), "2-3");
    test::SavePng(dialog, "multi_object_event_dialog_en");
    test::CancellingProgress cancel(2);
    ProgressReporter* previous = SetProgressReporter(&cancel);
    search.SearchButton->click();
    SetProgressReporter(previous);
    afterCancel = search.ListBox->count();
    EXPECT_EQ(search.Run().ObjectsSearched, 1);
    search.CancelButton->click();
  });
  form.Commands().Trigger("EreignissefrmehrereObjekte1");
  EXPECT_EQ(afterCancel, 1);
  EXPECT_EQ(state.Objects.ElementFileRanges.AsteroidFile, TFileRange{});  // cancelled: nothing copied back
  EXPECT_EQ(book.LastRow(), 6);
  EXPECT_TRUE(messages_.messages.empty());

  // Another file opened in the asteroid form forgets the asteroid range
  // alone.
  state.Objects.ElementFileRanges = TElementFileRanges{{0, 2}, {1, 2}, {3, 4}};
  test::RecordingFileDialog files;
  ScopedFileDialog scopedFiles(files);
  files.QueueAnswer(home_.Write("other.csv",
                                ":a;e;i;node;per;m;n;equinox;epoch;h;g\r\n"
                                "Hebe;2.42;0.2;14.7;138.6;239.6;1.0;0.26;2000;2460400.5;5.7;0.24\r\n"));
  asteroids.OpenListFile();
  EXPECT_EQ(asteroids.Planetoidentabelle1.Count(), 1);
  EXPECT_EQ(state.Objects.ElementFileRanges, (TElementFileRanges{{0, 2}, {}, {3, 4}}));
}

}  // namespace
}  // namespace kvx
