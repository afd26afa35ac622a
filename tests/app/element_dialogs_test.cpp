// The asteroid and comet element dialogs from their menu items: a refused
// entry swallows the OK click and the next OK hands the set over, the comet
// orbit rules, the sheet group following the spreadsheet setting, reading a
// set from the sheet, saving under a refused extension, the web button's
// address check and the help (offscreen, pictures in test-output).
#include "app/ui/element_commands.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QCheckBox>
#include <QLabel>
#include <QTimer>
#include <functional>
#include <filesystem>

#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "app/ui/table_commands.h"
#include "catalogues/ui/element_dialogs.h"
#include "catalogues/ui/element_list_combo.h"
#include "catalogues/ui/variable_star_dialog.h"
#include "core/name_tables.h"
#include "platform/desktop_opener.h"
#include "platform/file_dialog.h"
#include "platform/globals.h"
#include "platform/help.h"
#include "platform/messages.h"
#include "platform/settings_store.h"
#include "support/qt/main_form_test.h"
#include "support/recording_desktop_opener.h"
#include "support/recording_file_dialog.h"
#include "support/recording_help_viewer.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"
#include "support/qt/save_png.h"

namespace kvx {
namespace {

namespace fs = std::filesystem;

using test::SavePng;

// Types into an edit and leaves it, as the user moving to another field.
void Enter(QLineEdit* edit, const QString& text) {
  edit->setText(text);
  QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(edit, &out);
}

class ElementDialogs : public test::MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    LanguageEnglish = 1;
  }
};

TEST_F(ElementDialogs, AsteroidRefusalSwallowsOneOkThenHandsOver) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  form.show();
  QApplication::processEvents();
  ScopedMessageSink sink(messages_);
  int computed = 0;
  form.Tables().Dispatcher().Register(21, [&computed] { ++computed; });

  ASSERT_TRUE(form.Commands().Trigger("Planetoiden1"));
  TElementeplform& dialog = ElementDialogCommandsOf(form)->AsteroidDialog();
  ASSERT_TRUE(dialog.isVisible());
  // The start-up asteroid is "Kein Planetoid": shown in English, edits off.
  EXPECT_EQ(dialog.NameEdit()->text(), "No asteroid");
  EXPECT_FALSE(dialog.FieldEdit(1)->isEnabled());
  EXPECT_FALSE(dialog.SheetGroup()->isVisible());

  dialog.NameEdit()->setText("Testroid");
  EXPECT_TRUE(dialog.FieldEdit(1)->isEnabled());
  EXPECT_TRUE(dialog.SheetGroup()->isVisible());
  Enter(dialog.FieldEdit(2), "0,25");
  Enter(dialog.FieldEdit(4), "-360");
  Enter(dialog.FieldEdit(5), "360");
  Enter(dialog.FieldEdit(1), "0");  // refused: the OK click that follows does nothing
  dialog.OkButton()->click();
  QApplication::processEvents();
  ASSERT_EQ(messages_.messages.size(), 1u);
  EXPECT_EQ(messages_.messages[0].text, "a must be >0!");
  EXPECT_EQ(messages_.messages[0].caption, "Invalid value");
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(ParseElementEntry(dialog.FieldEdit(1)->text().toStdString()), 1.0);  // the last accepted a
  EXPECT_EQ(form.State().Objects.CurrentAsteroid.Name, "Kein Planetoid");
  SavePng(dialog, "asteroid_elements_dialog");

  for (const char* bad : {"", "-", ".", ",", "-.", "+.", "nan", "inf", "abc", "360.0001"}) {
    Enter(dialog.FieldEdit(3), bad);
    dialog.OkButton()->click();  // i has no focus check: OK refuses it
    QApplication::processEvents();
    EXPECT_TRUE(dialog.isVisible()) << bad;
  }
  EXPECT_EQ(messages_.messages.back().text, "i must be >=-360 and <= 360!");
  Enter(dialog.FieldEdit(3), "12.5");
  Enter(dialog.FieldEdit(1), "2,5");
  dialog.OkButton()->click();
  QApplication::processEvents();
  EXPECT_FALSE(dialog.isVisible());
  const TAsteroidElements& a = form.State().Objects.CurrentAsteroid;
  EXPECT_EQ(a.Name, "Testroid");
  EXPECT_DOUBLE_EQ(a.SemiMajorAxis, 2.5);
  EXPECT_DOUBLE_EQ(a.Eccentricity, 0.25);
  EXPECT_DOUBLE_EQ(a.Inclination, 12.5);
  EXPECT_DOUBLE_EQ(a.Node, -360);
  EXPECT_DOUBLE_EQ(a.Perihelion, 360);
  EXPECT_EQ(form.State().Objects.ElementsChanged, 1);
  EXPECT_EQ(computed, 0) << "OK chooses the asteroid; only a table command writes a table";

  // Cancel hands nothing back.
  ASSERT_TRUE(form.Commands().Trigger("Planetoiden1"));
  Enter(dialog.FieldEdit(1), "7");
  dialog.findChild<QPushButton*>("Abbruch")->click();
  EXPECT_DOUBLE_EQ(form.State().Objects.CurrentAsteroid.SemiMajorAxis, 2.5);
  // "No asteroid" in English hands back the German name, which turns the
  // asteroid commands off as in German.
  ASSERT_TRUE(form.Commands().Trigger("Planetoiden1"));
  dialog.findChild<QPushButton*>("Button2")->click();
  dialog.OkButton()->click();
  QApplication::processEvents();
  EXPECT_EQ(form.State().Objects.CurrentAsteroid.Name, "Kein Planetoid");
  EXPECT_FALSE(form.Commands().IsEnabled("Planetoid1"));

  // Another list file opened, then Cancel (or Escape): the list, its file
  // and the entry range chosen for it are those of before.
  test::RecordingFileDialog files;
  FileDialog* previousFiles = SetFileDialog(&files);
  const std::string one = home_.Write("one.csv",
                                      ":a;e;i;node;per;m;n;equinox;epoch;h;g\n"
                                      "Vesta(4) 2022;2,36;0,09;7,1;103,8;151,1;3,4;0,27;2000;2459800,5;3,2;0,32\n");
  const TFileRange range{2, 5};
  form.State().Objects.ElementFileRanges.AsteroidFile = range;
  ASSERT_TRUE(form.Commands().Trigger("Planetoiden1"));
  const int countBefore = dialog.Planetoidentabelle1.Count();
  const std::string fileBefore = dialog.State.FileName;
  ASSERT_GT(countBefore, 1);
  for (bool escape : {false, true}) {
    files.QueueAnswer(one);
    dialog.OpenListFile();
    ASSERT_EQ(dialog.Planetoidentabelle1.Count(), 1);
    EXPECT_FALSE(form.State().Objects.ElementFileRanges.AsteroidFile.Chosen());
    if (escape) {
      dialog.reject();
    } else {
      dialog.findChild<QPushButton*>("Abbruch")->click();
    }
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.Planetoidentabelle1.Count(), countBefore);
    EXPECT_EQ(dialog.State.FileName, fileBefore);
    EXPECT_EQ(form.State().Objects.ElementFileRanges.AsteroidFile, range);
    ASSERT_TRUE(form.Commands().Trigger("Planetoiden1"));
  }
  // OK keeps the loaded file.
  files.QueueAnswer(one);
  dialog.OpenListFile();
  dialog.OkButton()->click();
  EXPECT_EQ(dialog.Planetoidentabelle1.Count(), 1);
  EXPECT_EQ(dialog.State.FileName, one);
  SetFileDialog(previousFiles);
}

// "Save database as..." of the asteroid dialog: an object of the equinox
// 1950 saved as SkyMap is carried to 2000 (the question says so instead of
// naming a lost equinox) and reopens as an object of 2000; a list whose
// names the binary file cannot hold names every one of them in one
// refusal, and nothing is written.
TEST_F(ElementDialogs, AsteroidSaveConvertsTheEquinoxAndNamesEveryRefusal) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  form.show();
  QApplication::processEvents();
  ScopedMessageSink sink(messages_);
  test::RecordingFileDialog files;
  FileDialog* previousFiles = SetFileDialog(&files);
  ASSERT_TRUE(form.Commands().Trigger("Planetoiden1"));
  TElementeplform& dialog = ElementDialogCommandsOf(form)->AsteroidDialog();
  const char* const header = ":a;e;i;node;per;m;n;equinox;epoch;h;g\n";
  files.QueueAnswer(home_.Write("old.csv", std::string(header) +
                                               "Old Equinox(77) 1950;2,768;0,0784;10,607;80,052;71,912;287,265;"
                                               "0,2141;1950;2433282,5;3,3;0,12\n"));
  dialog.OpenListFile();
  ASSERT_EQ(dialog.Planetoidentabelle1.Count(), 1);

  const std::string sky = (home_.Path() / "old.sky").string();
  messages_.messages.clear();
  files.QueueAnswer(sky);
  dialog.SaveList();
  ASSERT_EQ(messages_.messages.size(), 1u);
  EXPECT_NE(messages_.messages[0].text.find("i, node, per converted to equinox 2000: 1 object"), std::string::npos)
      << messages_.messages[0].text;
  EXPECT_EQ(messages_.messages[0].text.find("equinox not in the format"), std::string::npos);
  ASSERT_TRUE(fs::exists(sky));  // answered Yes
  files.QueueAnswer(sky);
  dialog.OpenListFile();
  ASSERT_EQ(dialog.Planetoidentabelle1.Count(), 1);
  const TAsteroidElements& back = dialog.Planetoidentabelle1.Data(0);
  EXPECT_EQ(back.Equinox, 2000);
  EXPECT_NEAR(back.Node, 80.75, 0.1);  // the node moves by about 0.7 degrees in 50 years
  EXPECT_NEAR(back.Inclination, 10.607, 0.02);

  files.QueueAnswer(home_.Write("foreign.csv", std::string(header) +
                                                   "Юпитерия;2,5;0,1;5;10;20;30;0;2000;2460000,5;10;0,15\n"
                                                   "Vesta;2,36;0,09;7,1;103,8;151,1;3,4;0;2000;2459800,5;3,2;0,32\n"
                                                   "木星小;2,6;0,1;5;10;20;30;0;2000;2460000,5;10;0,15\n"));
  dialog.OpenListFile();
  ASSERT_EQ(dialog.Planetoidentabelle1.Count(), 3);
  const std::string opl = (home_.Path() / "foreign.opl").string();
  messages_.messages.clear();
  files.QueueAnswer(opl);
  dialog.SaveList();
  ASSERT_EQ(messages_.messages.size(), 1u);
  EXPECT_EQ(messages_.messages[0].text,
            "2 objects do not fit the format Kandrevoltinex (*.opl):\nЮпитерия: Name = \"Юпитерия\"\n"
            "木星小: Name = \"木星小\"\nThe file " +
                opl + " was not written.");
  EXPECT_EQ(messages_.messages[0].caption, "File not saved");
  EXPECT_FALSE(fs::exists(opl));
  dialog.CancelClick();
  SetFileDialog(previousFiles);
}

TEST_F(ElementDialogs, CometRulesSheetSaveAndWebButton) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  form.show();
  QApplication::processEvents();
  ScopedMessageSink sink(messages_);
  test::RecordingFileDialog files;
  FileDialog* previousFiles = SetFileDialog(&files);
  RecordingDesktopOpener opener;
  DesktopOpener* previousOpener = SetDesktopOpener(&opener);
  ASSERT_TRUE(form.Commands().Trigger("Kometen1"));
  TElementekoform& dialog = ElementDialogCommandsOf(form)->CometDialog();
  dialog.NameEdit()->setText("C/2099 Z1");

  // q <= 0 and e < 0 give no orbit; any e >= 0 is fine.
  for (const char* q : {"0", "-0,5"}) {
    Enter(dialog.FieldEdit(1), q);
    QApplication::processEvents();
  }
  Enter(dialog.FieldEdit(2), "-0.1");
  QApplication::processEvents();
  ASSERT_EQ(messages_.messages.size(), 3u);
  EXPECT_EQ(messages_.messages[0].text, "q must be greater than 0!");
  EXPECT_EQ(messages_.messages[2].text, "e must be >= 0!");
  Enter(dialog.FieldEdit(2), "1.5");
  EXPECT_DOUBLE_EQ(dialog.Record.Eccentricity, 1.5);

  // A set in the sheet at C:12; a row whose first cell is a number is not read.
  workbook::TWorkbook& sheet = form.Workbook();
  sheet.SetText(12, 3, "C/2001 Q4");
  const double values[10] = {0.96, 1.0007, 99.6, 210.3, 1.2, 2000, 2453145.5, 5.5, 4, 2453100.5};
  for (int k = 0; k < 10; ++k) sheet.SetNumber(12, 4 + k, values[k]);
  for (int k = 0; k < 11; ++k) sheet.SetNumber(13, 3 + k, 1.0);
  dialog.SheetRefEdit()->clear();
  dialog.SheetRefEdit()->insert("C:13");
  EXPECT_EQ(dialog.Record.Name, "C/2099 Z1");
  dialog.SheetRefEdit()->clear();
  dialog.SheetRefEdit()->insert("C:12");
  EXPECT_EQ(dialog.NameEdit()->text(), "C/2001 Q4");
  EXPECT_DOUBLE_EQ(dialog.Record.PerihelionTime, 2453145.5);
  EXPECT_DOUBLE_EQ(dialog.Record.Epoch, 2453100.5);
  SavePng(dialog, "comet_elements_dialog");

  // ".cat" is no comet format: the refusal says so, captioned as the
  // writers' refusals.
  files.QueueAnswer((home_.Path() / "list.cat").string());
  dialog.SaveList();
  EXPECT_EQ(messages_.messages.back().text, "Comets are saved in the SkyMap format as *.sky, not as *.cat. The file " +
                                                (home_.Path() / "list.cat").string() + " was not written.");
  EXPECT_EQ(messages_.messages.back().caption, "File not saved");
  EXPECT_FALSE(fs::exists(home_.Path() / "list.cat"));

  // Only http and https addresses are opened.
  dialog.WebAddressEdit()->setText("file:///etc/passwd");
  dialog.OpenWebPage();
  EXPECT_TRUE(opener.opened.empty());
  dialog.WebAddressEdit()->setText("https://example.org/comets");
  dialog.OpenWebPage();
  ASSERT_EQ(opener.opened.size(), 1u);

  dialog.OkButton()->click();
  EXPECT_EQ(form.State().Objects.CurrentComet.Name, "C/2001 Q4");
  EXPECT_DOUBLE_EQ(form.State().Objects.CurrentComet.PerihelionDistance, 0.96);
  EXPECT_EQ(form.State().Table.PreviousTableKind, 1);  // no comet table on show: nothing computed

  // The spreadsheet setting switched off while the program runs (View |
  // Spreadsheet, the changed sheet not saved): at the next showing the
  // sheet group and both write buttons are hidden, also after the name
  // changes; switched on again, they are back.
  auto* write = dialog.findChild<QPushButton*>("BtnWrite");
  auto* writeHeader = dialog.findChild<QPushButton*>("btnWriteHeader");
  ASSERT_TRUE(write != nullptr && writeHeader != nullptr);
  messages_.QueueReply(MessageResult::No);
  ASSERT_TRUE(form.Commands().Trigger("Tabellenkalkulation1"));
  ASSERT_EQ(form.State().Document.WorkbookView, 0);
  ASSERT_TRUE(form.Commands().Trigger("Kometen1"));
  EXPECT_FALSE(dialog.SheetGroup()->isVisible());
  EXPECT_FALSE(write->isVisible());
  EXPECT_FALSE(writeHeader->isVisible());
  dialog.NameEdit()->setText("Another");
  EXPECT_FALSE(dialog.SheetGroup()->isVisible());
  EXPECT_FALSE(write->isVisible());
  SavePng(dialog, "comet_elements_dialog_result_grid");
  dialog.CancelClick();
  ASSERT_TRUE(form.Commands().Trigger("Tabellenkalkulation1"));
  ASSERT_EQ(form.State().Document.WorkbookView, 1);
  ASSERT_TRUE(form.Commands().Trigger("Kometen1"));
  EXPECT_TRUE(dialog.SheetGroup()->isVisible());
  EXPECT_TRUE(write->isVisible());
  EXPECT_TRUE(writeHeader->isVisible());
  dialog.CancelClick();
  SetDesktopOpener(previousOpener);
  SetFileDialog(previousFiles);
}

// The help button (German only, as in every dialog) and F1 show the same
// section of the guide: the asteroids' or the comets'.
TEST_F(ElementDialogs, HelpButtonAndF1ShowTheDialogsSection) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  form.show();
  QApplication::processEvents();
  ScopedMessageSink sink(messages_);
  RecordingHelpViewer help;
  ScopedHelpViewer scopedHelp(help);
  TElementDialogCommands& commands = *ElementDialogCommandsOf(form);
  struct Case {
    const char* command;
    TElementDialogBase* dialog;
    const char* anchor;
  };
  for (const Case& c : {Case{"Planetoiden1", &commands.AsteroidDialog(), "asteroid-elements"},
                        Case{"Kometen1", &commands.CometDialog(), "comet-elements"}}) {
    TElementDialogBase& dialog = *c.dialog;
    const std::string topic = "topic " + std::to_string(dialog.Kind() == TElementDialogKind::Asteroid
                                                             ? kHelpTopicAsteroidElements
                                                             : kHelpTopicCometElements);
    EXPECT_STREQ(HelpTopicAnchor(dialog.Kind() == TElementDialogKind::Asteroid ? kHelpTopicAsteroidElements
                                                                               : kHelpTopicCometElements),
                 c.anchor);
    for (const int english : {0, 1}) {
      LanguageEnglish = static_cast<std::uint8_t>(english);
      ASSERT_TRUE(form.Commands().Trigger(c.command));
      ASSERT_TRUE(dialog.isVisible());
      help.shown.clear();
      QPushButton* button = dialog.HelpButton();
      ASSERT_NE(button, nullptr);
      EXPECT_EQ(button->isVisible(), english == 0) << c.command << " " << english;
      EXPECT_EQ(dialog.findChild<QPushButton*>("Abbruch")->text(), english != 0 ? "&Cancel" : "&Abbrechen");
      if (english == 0) {
        EXPECT_EQ(button->text(), "&Hilfe");
        if (dialog.Kind() == TElementDialogKind::Asteroid) SavePng(dialog, "asteroid_elements_dialog_german");
        button->click();
      }
      dialog.NameEdit()->setFocus();
      QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
      QApplication::sendEvent(dialog.NameEdit(), &f1);
      const std::vector<std::string> expected = english == 0 ? std::vector<std::string>{topic, topic}
                                                             : std::vector<std::string>{topic};
      EXPECT_EQ(help.shown, expected) << c.command << " " << english;
      EXPECT_TRUE(messages_.messages.empty());
      dialog.CancelClick();
    }
  }
}

}  // namespace
}  // namespace kvx

namespace kvx {
namespace {

// Cancel hands nothing back; "No Object" then OK hands "Kein Variabler";
// choosing the loaded file again (by another spelling of its path) does not
// reload the list, while a file whose name differs only in case is another
// file and is loaded.
TEST_F(ElementDialogs, VariableStarChoice) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  form.show();
  QApplication::processEvents();
  ScopedMessageSink sink(messages_);
  test::RecordingFileDialog files;
  FileDialog* previousFiles = SetFileDialog(&files);
  const std::string lower = home_.Write("stars.csv", ":ELEMENTE VARIABLE VAMUR!**x\nAlgol;3.0810;40.5721;2.1;3.4;2445641.554;2.867;2000;EA\n");
  const std::string upper = home_.Write("STARS.csv", ":ELEMENTE VARIABLE VAMUR!**x\nMira;2.1920;-2.5839;2.0;10.1;2444839;331.96;2000;M\nDelta Cep;22.2910;58.2455;3.5;4.4;2436075.445;5.366;2000;C\n");
  Telementevarform& dialog = ElementDialogCommandsOf(form)->VariableStarDialog();
  dialog.FileName = lower;

  auto run = [&](const std::function<void()>& act) {
    QTimer::singleShot(0, [&dialog, act] {
      act();
      SavePng(dialog, "variable_star_dialog");
    });
    ASSERT_TRUE(form.Commands().Trigger("Vernderliche1"));
  };
  run([&dialog] {
    EXPECT_EQ(dialog.NameLabel()->text(), "No variable star");
    EXPECT_EQ(dialog.variablentabelle1.Count(), 1);
    dialog.ListCombo()->setCurrentIndex(0);
    emit dialog.ListCombo()->activated(0);
    EXPECT_EQ(dialog.NameLabel()->text(), "Algol");
    dialog.findChild<QPushButton*>("Abbruch")->click();
  });
  EXPECT_EQ(form.State().Objects.CurrentVariableStar.Name, "Kein Variabler");

  // A file opened, then Cancel: the list and the file of before.
  run([&] {
    files.QueueAnswer(upper);
    dialog.OpenFile();
    EXPECT_EQ(dialog.variablentabelle1.Count(), 2);
    dialog.findChild<QPushButton*>("Abbruch")->click();
  });
  EXPECT_EQ(dialog.variablentabelle1.Count(), 1);
  EXPECT_EQ(dialog.FileName, lower);

  run([&] {
    files.QueueAnswer((home_.Path() / "." / "stars.csv").string());
    dialog.OpenFile();
    EXPECT_EQ(dialog.variablentabelle1.Count(), 1);  // the same file: not reloaded
    files.QueueAnswer(upper);
    dialog.OpenFile();
    EXPECT_EQ(dialog.variablentabelle1.Count(), 2);
    dialog.SearchEdit()->setText("cep");  // only by the beginning: no match
    dialog.BeginningCheck()->click();     // anywhere now
    EXPECT_EQ(dialog.NameLabel()->text(), "Delta Cep");
    dialog.findChild<QPushButton*>("OK")->click();
  });
  EXPECT_EQ(form.State().Objects.CurrentVariableStar.Name, "Delta Cep");
  EXPECT_EQ(form.State().Objects.CurrentVariableStar.Period, 5.366);
  EXPECT_TRUE(form.Commands().IsEnabled("VernderlicherStern1")) << "at once, no other menu opened";

  run([&dialog] {
    EXPECT_EQ(dialog.NameLabel()->text(), "Delta Cep") << "the dialog names the current star";
    dialog.NoObject();
    dialog.findChild<QPushButton*>("OK")->click();
  });
  EXPECT_EQ(form.State().Objects.CurrentVariableStar.Name, "Kein Variabler");
  EXPECT_FALSE(form.Commands().IsEnabled("VernderlicherStern1"));
  SetFileDialog(previousFiles);
}

}  // namespace
}  // namespace kvx
