// The stored settings across two starts, the first-run question, the
// language switch both ways and the theory commands of the main window.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <vector>

#include "app/file_dialog_texts.h"
#include "app/menu_table.h"
#include "app/settings_io.h"
#include "app/state_vector_sheet.h"
#include "app/ui/about_box.h"
#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "core/name_tables.h"
#include "core/quantity_headings.h"
#include "engine/nbody_integrator.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/qt/dialog_buttons.h"
#include "platform/qt/qt_file_dialog.h"
#include "platform/qt/qt_message_sink.h"
#include "platform/qt/qt_settings_store.h"
#include "platform/qt/workbook_view.h"
#include "platform/settings_store.h"
#include "platform/workbook/workbook.h"
#include "setup/clock_list.h"
#include "support/qt/main_form_test.h"
#include "support/qt/save_png.h"
#include "support/qt/shown_texts.h"
#include "support/qt_application.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"
#include "theories/ui/vsop_accuracy_dialog.h"
#include "theories/vsop_wrappers.h"

namespace kvx {
namespace {

namespace fs = std::filesystem;

class SettingsAndLanguage : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_DATA_HOME", (home_.Path() / "data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home_.Path() / "config").c_str(), 1);
    InitAstroNameTables();
    LanguageEnglish = 1;
  }
  void TearDown() override {
    LanguageEnglish = 1;
    InitAstroNameTables();
  }
  std::string DataFolder() const { return (home_.Path() / "data" / "kandrevoltinex").string(); }

  test::TempFolder home_;
  RecordingMessageSink messages_;
};

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST_F(SettingsAndLanguage, FirstStartAsksAndTheSecondRestoresWhatTheSaverWrote) {
  // Two element-list files in the asteroid folder before the first start.
  const fs::path asteroids = fs::path(DataFolder()) / "Asteroids";
  fs::create_directories(asteroids);
  std::ofstream(asteroids / "a.eel") << "x";
  std::ofstream(asteroids / "b.eel") << "x";
  {
    QtSettingsStore file;
    ScopedSettingsStore settings(file);
    TMainForm form;
    ScopedMessageSink sink(messages_);
    messages_.QueueReply(MessageResult::Yes);
    form.show();
    QApplication::processEvents();
    ASSERT_FALSE(form.Halted());
    ASSERT_EQ(messages_.messages.size(), 1u);
    const RecordedMessage& question = messages_.messages[0];
    EXPECT_EQ(question.caption, "Kandrevoltinex 4.6");
    EXPECT_EQ(question.text,
              "Do you want to switch to the german version?\r\nMöchten Sie auf die deutsche Sprachversion umschalten?");
    EXPECT_EQ(question.icon, MessageIcon::Question);
    EXPECT_EQ(question.buttons, MessageButtons::YesNoDefaultNo);
    EXPECT_EQ(LanguageEnglish, 0);
    EXPECT_EQ(form.menuBar()->actions().front()->text().toStdString(), "&Datei");
    EXPECT_EQ(file.ReadBool("Settings", "FirstRun"), false);
    EXPECT_EQ(file.ReadInteger("Settings", "Language"), 0);
    // Defaults of a first start.
    EXPECT_EQ(form.State().DataFolder, DataFolder());
    EXPECT_EQ(form.StoredSettings().AsteroidFolder, DataFolder() + "/Asteroids");
    EXPECT_EQ(form.StoredSettings().DefaultFolder, DataFolder() + "/");
    EXPECT_EQ(form.State().Computing.AccuracyDigits, 10);

    form.State().Document.DefaultSheetNumber = 20;
    form.State().Document.RecentFilesCount = 5;
    form.State().Computing.WarningsOption = 0;
    form.Commands().SetChecked("Weltzeituhr1", true);
    form.Commands().SetChecked("BreakToolbar1", false);
    // The table tool bar shown and the edit bar hidden from the View menu.
    form.Commands().Action("TabellengrenWerkzeug1")->trigger();
    form.Commands().Action("Bearbeitungszeile1")->trigger();
    form.IntegrationDates() = {2451545.5, 2460000.25};
    form.setWindowState(Qt::WindowNoState);
    form.setGeometry(40, 50, 640, 420);
    QApplication::processEvents();
    // File | Exit, as a user leaves: the menus are refreshed on the way out.
    form.Commands().Action("FileExitItem")->trigger();
    QApplication::processEvents();
  }
  // The saver kept the number of element-list files; one more comes while
  // the program is closed, and a chosen list exists.
  {
    QtSettingsStore file;
    EXPECT_EQ(file.ReadInteger("Data", "OldAsteroidCount"), 2);
  }
  std::ofstream(asteroids / "c.eel") << "x";
  std::ofstream(fs::path(DataFolder()) / "astdst.txt") << (asteroids / "a.eel").string() << "\r\n";
  const std::string jdlist = ReadAll(fs::path(DataFolder()) / "jdlist.txt");
  EXPECT_EQ(jdlist, "2451545.5\n2460000.25\n");
  TObserverRecord clock;
  clock.PlaceName = "Tokyo";
  clock.Zone = 9;
  ASSERT_TRUE(SaveClocksFile(DataFolder() + "/clocks.dat", TClockList{tdatumortobjekt(clock)}));
  const TIntlSeparators locale = IntlSeparators;
  IntlSeparators.Decimal = '*';

  // The second start asks nothing and restores the saved values.
  messages_.messages.clear();
  LanguageEnglish = 1;
  QtSettingsStore file;
  ScopedSettingsStore settings(file);
  EXPECT_EQ(file.ReadString("Data", "Path"), DataFolder());
  EXPECT_EQ(file.ReadString("Data", "OldAsteroidFolder"), DataFolder() + "/Asteroids");
  {
    TMainForm form;
    ScopedMessageSink sink(messages_);
    form.show();
    QApplication::processEvents();
    EXPECT_TRUE(messages_.messages.empty());
    EXPECT_EQ(LanguageEnglish, 0);
    EXPECT_EQ(form.State().Document.DefaultSheetNumber, 20);
    EXPECT_EQ(form.State().Document.RecentFilesCount, 5);
    EXPECT_EQ(form.State().Computing.WarningsOption, 0);
    EXPECT_TRUE(form.Commands().IsChecked("Weltzeituhr1"));
    EXPECT_FALSE(form.Commands().IsChecked("BreakToolbar1"));
    EXPECT_FALSE(form.StoredSettings().Window.Maximized);
    EXPECT_EQ(form.StoredSettings().Window.W, 640);
    EXPECT_EQ(form.StoredSettings().Window.H, 420);
    EXPECT_EQ(form.IntegrationDates(), (std::vector<double>{2451545.5, 2460000.25}));
    ASSERT_EQ(form.Clocks().size(), 1u);
    EXPECT_EQ(form.Clocks()[0].Text(), "Tokyo");
    // The bars as they were left, with their check marks.
    EXPECT_TRUE(form.Commands().IsChecked("TabellengrenWerkzeug1"));
    EXPECT_TRUE(form.Commands().ToolBar("TabellenToolbar")->isVisible());
    EXPECT_FALSE(form.Commands().IsChecked("Bearbeitungszeile1"));
    EXPECT_FALSE(form.Workbook().ShowEditBar());
    EXPECT_FALSE(form.WorkbookView()->EditBar()->isVisibleTo(&form));
    // The file added while the program was closed: the choice of database
    // files starts anew.
    EXPECT_EQ(form.State().Objects.DatabaseFiles.size(), 3u);
    EXPECT_EQ(form.State().Objects.DatabaseListChanged, 1);
    EXPECT_EQ(form.State().Document.SeparatorsUsable, 0);
    EXPECT_EQ(DecimalPatternTable[2], "0*00") << "the patterns follow the locale's separator";
    form.Commands().Action("FileExitItem")->trigger();
    QApplication::processEvents();
  }
  ApplyLocaleSeparators(locale);

  // A third start finds what the second left: nothing to choose anew, the
  // bars unchanged.
  TMainForm third;
  ScopedMessageSink sink(messages_);
  third.show();
  QApplication::processEvents();
  EXPECT_EQ(file.ReadInteger("Data", "OldAsteroidCount"), 3);
  EXPECT_EQ(third.State().Objects.DatabaseListChanged, 0);
  EXPECT_TRUE(third.Commands().ToolBar("TabellenToolbar")->isVisible());
  EXPECT_FALSE(third.Workbook().ShowEditBar());
  third.close();
}

// The first start as the program makes it: the splash on top, the main
// window shown, the real question box. While the question waits the splash
// has stepped aside; No is the default button, so Enter answers No
// (English), as Escape does.
TEST_F(SettingsAndLanguage, FirstStartQuestionStandsAboveTheSplashWithNoAsItsDefault) {
  MemorySettingsStore store;
  ScopedSettingsStore settings(store);
  TAboutBox splash;
  splash.ShowAsSplash();
  QApplication::processEvents();
  ASSERT_TRUE(splash.isVisible());
  TMainForm form;
  form.SetSplash(&splash);
  bool asked = false;
  bool splashShown = true;
  test::WhenModalAppears<QMessageBox>([&](QMessageBox& box) {
    asked = true;
    splashShown = splash.isVisible();
    ASSERT_NE(box.defaultButton(), nullptr);
    EXPECT_EQ(box.defaultButton(), box.button(QMessageBox::No));
    EXPECT_EQ(box.escapeButton(), box.button(QMessageBox::No));
    test::SavePng(box, "first_start_question");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(&box, &enter);
  });
  form.show();
  QApplication::processEvents();
  ASSERT_TRUE(asked);
  EXPECT_FALSE(splashShown) << "the splash covers the question";
  EXPECT_EQ(LanguageEnglish, 1);
  EXPECT_EQ(store.ReadInteger("Settings", "Language"), 1);
  EXPECT_EQ(store.ReadBool("Settings", "FirstRun"), false);
  EXPECT_FALSE(splash.isVisible());  // ended with the start-up
  form.close();
}

TEST_F(SettingsAndLanguage, BadValuesFallBackAndThePathIsWrittenOnlyWhenSet) {
  MemorySettingsStore store;
  store.WriteString("Settings", "FirstRun", "false");
  store.WriteString("Settings", "Language", "7");
  store.WriteString("Files", "nLastfiles", "101");
  store.WriteString("Settings", "DefaultSheetNumber", "0");
  store.WriteString("Window", "w", "-5");
  store.WriteString("Window", "h", "tall");
  store.WriteString("Data", "DefaultFolder", "/d//");
  TStoredSettings s = ReadStoredSettings(store, "/data");
  EXPECT_EQ(s.Language, 1);
  EXPECT_EQ(s.RecentFilesCount, 10);
  EXPECT_EQ(s.DefaultSheetNumber, 16);
  EXPECT_EQ(s.Window.W, 600);
  EXPECT_EQ(s.Window.H, 400);
  EXPECT_EQ(s.DefaultFolder, "/d/");
  store.WriteString("Settings", "DefaultSheetNumber", "256");
  EXPECT_EQ(ReadStoredSettings(store, "/data").DefaultSheetNumber, 16);

  MemorySettingsStore written;
  WriteStoredSettings(written, s, "", 3);
  EXPECT_FALSE(written.ReadString("Data", "Path").has_value());
  EXPECT_EQ(written.ReadInteger("Data", "OldAsteroidCount"), 3);
  EXPECT_TRUE(written.ReadBool("Settings", "Tips of the day").has_value());
  EXPECT_TRUE(written.ReadBool("Window", "Edit Bar").has_value());
  WriteStoredSettings(written, s, "/data", 3);
  EXPECT_EQ(written.ReadString("Data", "Path"), "/data");

  // Separators the locale leaves empty take their defaults.
  TIntlSeparators none;
  none.Decimal = none.List = none.Date = none.Time = none.Thousands = '\0';
  const TIntlSeparators s2 = SeparatorsOrDefaults(none);
  EXPECT_EQ(std::string({s2.Decimal, s2.List, s2.Date, s2.Time, s2.Thousands}), ".,-:.");

  // "jdlist.txt" is replaced, not overwritten in place: a second name of
  // the old file keeps the old list.
  const fs::path list = home_.Path() / "jdlist.txt";
  const fs::path old = home_.Path() / "old.txt";
  std::ofstream(list) << "2451545\nnot a date\n2451546.5\n";
  EXPECT_EQ(ReadIntegrationDates(list.string()), (std::vector<double>{2451545.0, 2451546.5}));
  fs::create_hard_link(list, old);
  std::string error;
  ASSERT_TRUE(SaveIntegrationDates(list.string(), {2400000.5}, error)) << error;
  EXPECT_EQ(ReadAll(list), "2400000.5\n");
  EXPECT_EQ(ReadAll(old), "2451545\nnot a date\n2451546.5\n");
}

struct TTextSnapshot {
  std::map<std::string, std::string> texts;
};

TTextSnapshot TakeSnapshot(TMainForm& form) {
  TTextSnapshot snap;
  int index = 0;
  for (QAction* action : form.findChildren<QAction*>()) {
    const std::string key = std::to_string(index++) + ":" + action->objectName().toStdString();
    snap.texts[key] = (action->text() + "|" + action->toolTip() + "|" + action->statusTip()).toStdString();
  }
  for (const TFileDialogTextRow& row : FileDialogTextRows()) {
    snap.texts[std::string("dialog:") + row.Name] = FileDialogTitle(row.Name) + "|" + FileDialogFilter(row.Name);
  }
  auto add = [&](const char* name, const auto& table) {
    for (std::size_t i = 0; i < table.size(); ++i) snap.texts[name + std::to_string(i)] = table[i];
  };
  add("weekday", WeekdayNames);
  add("dst", DaylightSavingMarks);
  add("season", SeasonNames);
  add("helio", SunAndPlanetNames);
  add("geo", SearchBodyNames);
  add("event", EventKindNames);
  add("zone", ZoneNames);
  add("heading", QuantityHeadingTable);
  add("description", DefaultColumnDescriptions);
  return snap;
}

TEST_F(SettingsAndLanguage, SwitchingToEnglishAndBackRestoresEveryText) {
  MemorySettingsStore store;
  store.WriteBool("Settings", "FirstRun", false);
  store.WriteInteger("Settings", "Language", 0);
  ScopedSettingsStore settings(store);
  TMainForm form;
  ScopedMessageSink sink(messages_);
  form.show();
  QApplication::processEvents();
  ASSERT_EQ(LanguageEnglish, 0);
  const TTextSnapshot german = TakeSnapshot(form);
  const std::string germanStatus = form.Panel("Ortpanel")->text().toStdString();
  form.resize(1500, 760);
  QApplication::processEvents();
  test::SavePng(form, "main_window_german");

  QAction* toggle = form.Commands().Action("EnglischeVersion1");
  ASSERT_NE(toggle, nullptr);
  EXPECT_EQ(toggle->shortcut().toString().toStdString(), "Alt+F6");
  toggle->trigger();
  EXPECT_EQ(LanguageEnglish, 1);
  EXPECT_EQ(form.Language(), 1);
  // Every item and button not marked as the same in both languages changed.
  for (const TMenuRow& row : MenuTable()) {
    if (row.Fixed || std::string(row.German) == row.English || std::string(row.Name) == "Sommerzeit1") continue;
    if (row.Kind != TMenuRowKind::Item && row.Kind != TMenuRowKind::Button) continue;
    const QAction* action = form.Commands().Action(row.Name);
    const QString shown = row.Kind == TMenuRowKind::Item ? action->text() : action->toolTip();
    EXPECT_EQ(shown.toStdString(), row.English) << row.Name;
  }
  EXPECT_EQ(form.Commands().Action("Ortwhlen2")->text().toStdString(), "Select location");
  EXPECT_EQ(FileDialogTitle("OpenDialog"), "Load configuration");
  EXPECT_EQ(FileDialogFilter("OpenDialog1"), "Programs (*)");
  EXPECT_EQ(ObservationSaveSuffix(), "");
  EXPECT_EQ(WeekdayNames[0], "Sunday");
  EXPECT_EQ(DaylightSavingMarks[0], "  ");
  EXPECT_EQ(DaylightSavingMarks[1], "DS");
  EXPECT_EQ(SearchBodyNames[11], "Comet");
  EXPECT_EQ(SunAndPlanetNames[3], "Earth");
  EXPECT_EQ(EventKindNames[almanac_entry::kConjunction], "Conjunction");
  EXPECT_EQ(ZoneNames[1], "NT");
  EXPECT_EQ(QuantityHeadingTable[0], QuantityHeadings[0].english);
  // Both column-title sets are English, the short ones without a German
  // letter left.
  EXPECT_EQ(DefaultColumnDescriptions[0], "Civil date");
  for (std::size_t slot = 0; slot < QuantityHeadingTable.size(); ++slot) {
    for (const char* german : {"ä", "ö", "ü", "Ä", "Ö", "Ü", "ß", "Mio."}) {
      EXPECT_EQ(QuantityHeadingTable[slot].find(german), std::string::npos) << slot;
      EXPECT_EQ(DefaultColumnDescriptions[slot].find(german), std::string::npos) << slot;
    }
  }
  // The status line follows at once (not during the start-up).
  EXPECT_NE(form.Panel("Ortpanel")->text().toStdString(), germanStatus);
  test::SavePng(form, "main_window_english");

  toggle->trigger();
  EXPECT_EQ(LanguageEnglish, 0);
  const TTextSnapshot back = TakeSnapshot(form);
  ASSERT_EQ(back.texts.size(), german.texts.size());
  for (const auto& [key, text] : german.texts) EXPECT_EQ(back.texts.at(key), text) << key;
  EXPECT_EQ(form.Panel("Ortpanel")->text().toStdString(), germanStatus);

  // The standard buttons of a dialog in each language.
  QPushButton cancel, help;
  help.hide();
  ApplyDialogButtonLanguage(&cancel, &help);
  EXPECT_EQ(cancel.text().toStdString(), "&Abbrechen");
  EXPECT_EQ(help.text().toStdString(), "&Hilfe");
  EXPECT_FALSE(help.isHidden());
  LanguageEnglish = 1;
  ApplyDialogButtonLanguage(&cancel, &help);
  EXPECT_EQ(cancel.text().toStdString(), "&Cancel");
  EXPECT_TRUE(help.isHidden());
  form.close();
}

// The texts of the buttons of a message box or a button box.
std::vector<std::string> ButtonTexts(const QWidget& window) {
  std::vector<std::string> texts;
  for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
    if (button->isVisibleTo(&window)) texts.push_back(button->text().toStdString());
  }
  std::sort(texts.begin(), texts.end());
  return texts;
}

// True when some cell of the used range of the current sheet reads `text`.
bool SheetShows(const workbook::TWorkbook& book, const std::string& text) {
  for (int row = 1; row <= book.LastRow(); ++row) {
    for (int col = 1; col <= book.LastCol(); ++col) {
      if (book.Text(row, col) == text) return true;
    }
  }
  return false;
}

TEST_F(SettingsAndLanguage, QtTextsTitlesSheetNamesAndBodyNamesFollowTheLanguage) {
  // Default titles survive the stored record (Windows-1252, 101 characters)
  // and become the other language's; a title the user typed stays.
  TTableConfigRecord stored;
  for (std::size_t slot = 0; slot < kColumnTitleCount; ++slot)
    stored.ColumnTitles[slot] = QuantityHeadings[slot].german;
  stored.ColumnTitles[9] = "Abstand (AE)";
  TTableConfigRecord read = DecodeTableConfigRecord(EncodeTableConfigRecord(stored));
  TitlesFollowLanguage(read, true);
  for (std::size_t slot = 0; slot < kColumnTitleCount; ++slot) {
    EXPECT_EQ(read.ColumnTitles[slot], slot == 9 ? "Abstand (AE)" : QuantityHeadings[slot].english) << slot;
  }
  read = DecodeTableConfigRecord(EncodeTableConfigRecord(read));
  TitlesFollowLanguage(read, false);
  EXPECT_EQ(read, stored);

  MemorySettingsStore store;
  store.WriteBool("Settings", "FirstRun", false);
  store.WriteInteger("Settings", "Language", 0);
  ScopedSettingsStore settings(store);
  TMainForm form;
  ScopedMessageSink sink(messages_);
  form.show();
  QApplication::processEvents();
  ASSERT_EQ(LanguageEnglish, 0);

  // Qt's own buttons, dialogs and edit menus speak German: a message box and
  // a file dialog, as the user sees them.
  QtMessageSink boxes(&form);
  std::vector<std::string> boxButtons;
  test::WhenModalShown<QMessageBox>([&boxButtons](QMessageBox& box) {
    boxButtons = ButtonTexts(box);
    test::SavePng(box, "message_box_german");
    box.button(QMessageBox::Cancel)->click();
  });
  EXPECT_EQ(boxes.Show("Möchten Sie Änderungen in Unbenannt1 noch sichern?", "Datei ungesichert", MessageIcon::Question,
                       MessageButtons::YesNoCancel),
            MessageResult::Cancel);
  EXPECT_EQ(boxButtons, (std::vector<std::string>{"&Ja", "&Nein", "Abbrechen"}));
  QtFileDialog files(&form);
  std::vector<std::string> english;
  test::WhenModalShown<QFileDialog>([&english](QFileDialog& dialog) {
    QApplication::processEvents();
    for (const test::TShownText& shown : test::ShownTexts(dialog)) {
      for (const std::string& word : test::WordsOfOtherLanguage(shown.text, false))
        english.push_back(shown.where + ": " + word);
    }
    test::SavePng(dialog, "file_dialog_german", test::FolderViews(dialog));
    dialog.reject();
  });
  FileDialogRequest request;
  request.title = "Konfigurationsdatei öffnen";
  request.filters = {"Konfigurationsdateien (*.ocf)"};
  request.start = home_.Path().string();
  // The listing shows the folders' dates: one fixed day, for the picture.
  for (const auto& entry : std::filesystem::directory_iterator(home_.Path())) {
    const std::chrono::sys_seconds day{std::chrono::sys_days{std::chrono::year{2026} / 12 / 8}};
    std::filesystem::last_write_time(entry.path(), std::chrono::file_clock::from_sys(day));
  }
  EXPECT_FALSE(files.ChooseOpen(request).has_value());
  EXPECT_TRUE(english.empty()) << english.front();
  QLineEdit edit;
  std::unique_ptr<QMenu> editMenu(edit.createStandardContextMenu());
  std::vector<std::string> menuTexts;
  for (const QAction* action : editMenu->actions()) {
    if (!action->isSeparator()) menuTexts.push_back(action->text().toStdString());
  }
  EXPECT_TRUE(std::any_of(menuTexts.begin(), menuTexts.end(), [](const std::string& t) {
    return t.rfind("&Kopieren", 0) == 0;
  })) << ::testing::PrintToString(menuTexts);
  QPushButton* progressCancel = form.statusBar()->findChild<QPushButton*>("ProgressCancel");
  ASSERT_NE(progressCancel, nullptr);
  EXPECT_EQ(progressCancel->text().toStdString(), "&Abbrechen");

  // A new workbook's sheets keep "Sheet1".. in German too; a sheet the user
  // inserts is named in the language.
  workbook::TWorkbook& book = form.Workbook();
  EXPECT_EQ(book.SheetName(1), "Sheet1");
  form.Commands().Trigger("Tabelleeinfgen1");
  EXPECT_EQ(book.SheetName(1), "Tabelle1");

  // The switch: Qt's texts, the titles of the configuration (one edited),
  // the cancel button; tables and body names show English.
  form.State().Period.TableConfig.ColumnTitles[11] = QuantityHeadings[11].german;  // "Lg"
  form.State().Period.TableConfig.ColumnTitles[12] = "Breite (°)";
  form.Commands().Trigger("EnglischeVersion1");
  ASSERT_EQ(LanguageEnglish, 1);
  QDialogButtonBox buttonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  EXPECT_EQ(ButtonTexts(buttonBox), (std::vector<std::string>{"Cancel", "OK"}));
  EXPECT_EQ(progressCancel->text().toStdString(), "&Cancel");
  EXPECT_EQ(form.State().Period.TableConfig.ColumnTitles[11], "Long");
  EXPECT_EQ(form.State().Period.TableConfig.ColumnTitles[12], "Breite (°)");
  form.Commands().Trigger("Tabelleeinfgen1");
  EXPECT_EQ(book.SheetName(1), "Sheet17") << "before the current sheet, the inserted one";
  EXPECT_EQ(book.SheetName(2), "Tabelle1");
  form.Commands().Trigger("Sonne1");
  EXPECT_TRUE(SheetShows(book, "Sun"));
  EXPECT_TRUE(SheetShows(book, "Long"));
  EXPECT_TRUE(SheetShows(book, "Breite (°)"));
  form.Commands().Trigger("NumerischeIntegration1");
  EXPECT_TRUE(SheetShows(book, "Sun"));
  EXPECT_TRUE(SheetShows(book, "Earth"));
  EXPECT_FALSE(SheetShows(book, "Erde"));
  form.close();
}

TEST_F(SettingsAndLanguage, TheoryCommandsQuestionAndToleranceDigits) {
  // The panel's cycle for every availability; a present library's byte
  // counts by being non-zero, as for the menu and the selection.
  for (int mask = 0; mask < 8; ++mask) {
    const bool d = mask & 1, c = mask & 2, files = mask & 4;
    TLibraryAvailability lib;
    lib.Vsop87D = d ? 2 : 0;
    lib.Vsop87C = c ? 1 : 0;
    EXPECT_EQ(NextPanelTheory(0, lib, files), d ? 1 : c ? 2 : files ? 3 : 0) << mask;
    EXPECT_EQ(NextPanelTheory(1, lib, files), c ? 2 : files ? 3 : 0) << mask;
    EXPECT_EQ(NextPanelTheory(2, lib, files), files ? 3 : 0) << mask;
    EXPECT_EQ(NextPanelTheory(3, lib, files), 0) << mask;
  }
  EXPECT_EQ(DigitsFromTolerance(5e-13L), 12);
  EXPECT_EQ(DigitsFromTolerance(1e-8L), 8);
  EXPECT_EQ(DigitsFromTolerance(1e-9), 9) << "a double 1e-9 lies above the long double 1e-9";
  EXPECT_EQ(DigitsFromTolerance(std::pow(10.0L, -9.0L)), 9);
  EXPECT_EQ(DigitsFromTolerance(1.1e-9L), 8);
  EXPECT_EQ(DigitsFromTolerance(1e-18), 18);
  EXPECT_EQ(DigitsFromTolerance(1e-25L), 18);

  MemorySettingsStore store;
  store.WriteBool("Settings", "FirstRun", false);
  ScopedSettingsStore settings(store);
  TMainForm form;
  ScopedMessageSink sink(messages_);
  form.show();
  QApplication::processEvents();
  ASSERT_EQ(form.TheoryState().Libraries.Vsop87D, 1);
  ASSERT_EQ(form.Selection().PlanetTheory(), 1);
  TMenuCommands& commands = form.Commands();
  // The marks, the status line and the accuracy dialog tell the theory and
  // levels in use; pictures of the menu and the dialog.
  auto marksFollow = [&](const std::string& picture) {
    const TTheorySelection in = form.Selection();
    const char* planets[4] = {"NewcombscheTheorienverwenden1", "usevsop871", "VSOP87Cverwenden1",
                              "PositionenausDateilesen1"};
    for (int t = 0; t < 4; ++t) EXPECT_EQ(commands.IsChecked(planets[t]), in.PlanetTheory() == t) << picture << t;
    EXPECT_EQ(commands.IsChecked("ELP2000Mondtheorieverwenden1"), in.MoonTheory() != 0) << picture;
    EXPECT_EQ(form.Panel("PanelElp")->text() == "ELP-2000/82", in.MoonTheory() != 0) << picture;
    int item1 = -2, item2 = -2;
    test::WhenModalShown<TVSOPRechengenauigkeit>([&](TVSOPRechengenauigkeit& dialog) {
      item1 = dialog.RadioGroup1ItemIndex();
      item2 = dialog.RadioGroup2ItemIndex();
      test::SavePng(dialog, "vsop_accuracy_dialog_" + picture);
      dialog.CancelBtn->click();
    });
    commands.Trigger("RechengenauigkeitfrdieVSOPTheorien1");
    EXPECT_EQ(item1, TruncationLevelItem(form.State().Computing.Accuracy.VsopLevelA)) << picture;
    EXPECT_EQ(item2, TruncationLevelItem(form.State().Computing.Accuracy.VsopLevelB)) << picture;
    EXPECT_GE(item1, 0) << picture;
    if (QMenu* menu = commands.Menu("Objekte1")) {
      menu->popup(form.mapToGlobal(QPoint(20, 20)));
      QApplication::processEvents();
      test::SavePng(*menu, "settings_menu_" + picture);
      menu->hide();
    }
  };
  marksFollow("startup");

  // Menu items: the checked item's theory is applied.
  commands.SetChecked("NewcombscheTheorienverwenden1", false);
  commands.Action("NewcombscheTheorienverwenden1")->trigger();
  EXPECT_EQ(form.Selection().PlanetTheory(), 0);
  commands.SetChecked("usevsop871", false);
  commands.Action("usevsop871")->trigger();
  EXPECT_EQ(form.Selection().PlanetTheory(), 1);
  // Unchecking the theory in use keeps it, and its mark.
  commands.Action("usevsop871")->trigger();
  EXPECT_EQ(form.Selection().PlanetTheory(), 1);
  EXPECT_TRUE(commands.IsChecked("usevsop871"));
  commands.Action("ELP2000Mondtheorieverwenden1")->trigger();
  form.State().Computing.Accuracy.VsopLevelA = 6;
  form.UpdateStatusLine();
  marksFollow("switched");
  commands.Action("ELP2000Mondtheorieverwenden1")->trigger();

  // The slow question: Yes keeps, No switches to the internal series, Cancel ends.
  messages_.messages.clear();
  messages_.QueueReply(MessageResult::Yes);
  EXPECT_TRUE(form.SlowTheoryQuestion("", "", 0));
  EXPECT_EQ(form.Selection().PlanetTheory(), 1);
  ASSERT_EQ(messages_.messages.size(), 1u);
  EXPECT_EQ(messages_.messages[0].caption, "Slow calculation method!");
  EXPECT_EQ(messages_.messages[0].buttons, MessageButtons::YesNoCancel);
  EXPECT_EQ(messages_.messages[0].text.rfind("Do you really want", 0), 0u);
  messages_.QueueReply(MessageResult::Cancel);
  EXPECT_FALSE(form.SlowTheoryQuestion("", "", 0));
  EXPECT_EQ(form.Selection().PlanetTheory(), 1);
  messages_.QueueReply(MessageResult::No);
  EXPECT_TRUE(form.SlowTheoryQuestion("", "", 0));
  EXPECT_EQ(form.Selection().PlanetTheory(), 0);
  EXPECT_TRUE(commands.IsChecked("NewcombscheTheorienverwenden1"));
  EXPECT_FALSE(commands.IsChecked("usevsop871"));

  // Where "Nie die langsame ELP2000-Mondtheorie verwenden" is on, the
  // searches that read it take the Moon from the internal series: the
  // lunar occultations and the event search do not ask about the ELP2000;
  // the solar eclipses, which it does not reach, still do.
  {
    TTheorySelection elp = form.Selection();
    elp.bytes[0] = kPlanetTheoryInternal;
    elp.bytes[1] = 1;
    form.SetTheorySelection(elp);
    ASSERT_EQ(form.Selection().MoonTheory(), 1);
    auto asks = [&](const char* command, std::uint8_t neverSlowElp, bool cancel) {
      form.State().Computing.NumericOptions.NeverSlowElp = neverSlowElp;
      messages_.messages.clear();
      if (cancel) messages_.QueueReply(MessageResult::Cancel);
      if (!cancel) test::WhenModalAppears<QDialog>([](QDialog& d) { d.reject(); });
      commands.Trigger(command);
      return std::any_of(messages_.messages.begin(), messages_.messages.end(),
                         [](const RecordedMessage& m) { return m.caption == "Slow calculation method!"; });
    };
    for (const char* command : {"Sternbedeckungen1", "Ereignissuchen1"}) {
      EXPECT_TRUE(asks(command, 0, false)) << command;
      EXPECT_FALSE(asks(command, 1, false)) << command;
    }
    EXPECT_TRUE(asks("Sonnenfinsternis1", 1, true));
    EXPECT_EQ(form.Selection().MoonTheory(), 1);
    form.State().Computing.NumericOptions.NeverSlowElp = 0;
  }

  // Around a search: the fast-search option runs it on the internal series
  // and the selection comes back afterwards; without the option it stays.
  commands.SetChecked("usevsop871", false);
  commands.Action("usevsop871")->trigger();
  ASSERT_EQ(form.Selection().PlanetTheory(), 1);
  form.State().Computing.NumericOptions.FastConjunctions = 1;
  messages_.messages.clear();
  EXPECT_TRUE(form.SlowTheoryQuestion("", "", 2));
  EXPECT_TRUE(messages_.messages.empty()) << "the fast-search option asks nothing";
  form.SaveTheoryForSearch();
  EXPECT_EQ(form.Selection().PlanetTheory(), 0);
  form.RestoreTheoryAfterSearch();
  EXPECT_EQ(form.Selection().PlanetTheory(), 1);
  form.State().Computing.NumericOptions.FastConjunctions = 0;
  form.SaveTheoryForSearch();
  EXPECT_EQ(form.Selection().PlanetTheory(), 1);
  form.RestoreTheoryAfterSearch();
  EXPECT_EQ(form.Selection().PlanetTheory(), 1);

  // F11 integrates the default set-up into the sheet, Runge-Kutta and then
  // Adams; each table can be undone.
  for (std::uint8_t choice : {0, 1}) {
    form.State().Computing.IntegratorChoice = choice;
    commands.Action("NumerischeIntegration1")->trigger();
    EXPECT_GT(form.Workbook().LastRow(), 3) << int(choice);
    const int last = form.Workbook().LastRow();
    EXPECT_FALSE(form.Workbook().Text(last, 1).empty()) << int(choice);
    EXPECT_EQ(form.State().Document.UndoFlag, 1);
    ASSERT_TRUE(form.Workbook().InTransaction());
    form.Workbook().TransactionRollback();
    EXPECT_TRUE(form.Workbook().Text(last, 1).empty()) << int(choice);
    form.State().Document.UndoFlag = 0;
  }

  // The panel's double click moves on from VSOP87 D.
  const std::uint8_t expected =
      NextPanelTheory(1, form.TheoryState().Libraries, form.TheoryState().VscFilesPresent != 0);
  form.PanelVSOPDblClick();
  EXPECT_EQ(form.Selection().PlanetTheory(), expected);
  marksFollow("panel");
  form.close();
}

TEST(StateVectorSheet, TheIntegratorsBlockReadsBackAndAShortSheetIsRefused) {
  workbook::TWorkbook book(1);
  truKu integrator(&book);
  integrator.WorkbookView = 1;
  TTableConfigRecord config{};
  integrator.WriteStateVectors(config, 3, 0, LanguageEnglish);
  ASSERT_EQ(book.Text(3, 1), kStartValuesHeader);
  TIntegrationSetup read;
  ASSERT_TRUE(ReadStateVectorFromSheet(book, read));
  const TIntegrationSetup& written = integrator.Setup;
  ASSERT_EQ(read.N, written.N);
  for (int b = 0; b < written.N; ++b) {
    const auto i = static_cast<std::size_t>(b);
    EXPECT_EQ(read.Names[i], BodyNameInLanguage(written.Names[i], LanguageEnglish != 0));
    for (std::size_t k = 0; k < 6; ++k) {
      EXPECT_NEAR(static_cast<double>(read.WorkingState[i][k]), static_cast<double>(written.WorkingState[i][k]),
                  1e-13 * (1 + std::fabs(static_cast<double>(written.WorkingState[i][k]))));
    }
    EXPECT_NEAR(static_cast<double>(read.Masses[i]), static_cast<double>(written.Masses[i]),
                1e-12 * static_cast<double>(written.Masses[i]));
  }
  EXPECT_NEAR(static_cast<double>(read.JD), static_cast<double>(written.JD), 1e-6);
  EXPECT_NEAR(static_cast<double>(read.EquinoxJD), static_cast<double>(written.EquinoxJD), 1e-6);

  // The header with fewer than 10 used rows: refused, the set-up unchanged.
  workbook::TWorkbook shortBook(1);
  shortBook.SetText(1, 1, kStartValuesHeader);
  shortBook.SetText(3, 1, "Sonne");
  shortBook.SetNumber(3, 10, 2451545.0);
  TIntegrationSetup unchanged = DefaultIntegrationSetup();
  EXPECT_FALSE(ReadStateVectorFromSheet(shortBook, unchanged));
  EXPECT_EQ(unchanged.N, DefaultIntegrationSetup().N);

  // A negative 1/m, which the start-values file refuses, is no state vector
  // either: nothing is taken that could not be saved and read again.
  book.SetNumber(6, 8, -1.0);
  TIntegrationSetup kept = DefaultIntegrationSetup();
  EXPECT_FALSE(ReadStateVectorFromSheet(book, kept));
  EXPECT_EQ(kept.N, DefaultIntegrationSetup().N);
}

}  // namespace
}  // namespace kvx
