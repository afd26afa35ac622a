// The window-wide commands: movable feasts against Easter dates from
// python3-dateutil (tests/app/make_movable_feasts.py), the clock rows, the
// external program's command line and captions, the Settings menu states;
// then from the menu: configuration files, the period from the
// configuration, the view switch, the clock bar, the manual and the
// external program started on a saved workbook.
#include "app/ui/settings_commands.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QStackedWidget>
#include <QThread>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "app/asteroid_list_check.h"
#include "app/config_file.h"
#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "app/window_commands.h"
#include "core/name_tables.h"
#include "engine/ui/mystringgrid_view.h"
#include "platform/desktop_opener.h"
#include "platform/file_dialog.h"
#include "platform/folder_chooser.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/settings_store.h"
#include "support/fixed_clock.h"
#include "support/qt/main_form_test.h"
#include "support/qt/save_png.h"
#include "support/recording_desktop_opener.h"
#include "support/recording_file_dialog.h"
#include "support/recording_folder_chooser.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

namespace fs = std::filesystem;

TEST(WindowCommands, MovableFeastsFollowEasterOfEachYear) {
  InitCoreTablesAtStartup(IntlSeparators);
  std::ifstream in(KVX_FIXTURE_DIR "/movable_feasts.tsv");
  ASSERT_TRUE(in.good());
  std::map<int, std::map<std::string, std::string>> expected;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string year, name, date;
    std::getline(fields, year, '\t');
    std::getline(fields, name, '\t');
    std::getline(fields, date, '\t');
    expected[std::stoi(year)][name] = date;
  }
  ASSERT_EQ(expected.size(), 3u);
  for (const auto& [year, feasts] : expected) {
    workbook::TWorkbook sheet;
    const int rows = WriteMovableFeasts(sheet, year);
    ASSERT_GT(rows, 15) << year;
    EXPECT_EQ(sheet.Text(1, 1), "Neujahr");
    EXPECT_EQ(sheet.Text(rows, 1), "Silvester") << "the table stops at the end of the year";
    std::map<std::string, std::string> found;
    for (int row = 1; row <= rows; ++row) {
      std::string date = sheet.Text(row, 2);  // in the locale's date separator
      for (char& ch : date) ch = std::isdigit(static_cast<unsigned char>(ch)) ? ch : '.';
      found[sheet.Text(row, 1)] = date;
    }
    for (const auto& [name, date] : feasts) EXPECT_EQ(found[name], date) << name << " " << year;
    EXPECT_EQ(sheet.Selection(), "A1");
  }
}

TEST(WindowCommands, ClockRowsProgramLinesAndManual) {
  InitCoreTablesAtStartup(IntlSeparators);
  // 2023-02-25 06:00 UT: Delhi (+5:30) shows 11:30; Los Angeles in daylight
  // saving (-8 + 1) 23:00 of the day before.
  TObserverRecord delhi;
  delhi.PlaceName = "Delhi";
  delhi.Zone = 5;
  delhi.ZoneMinutes = 30;
  delhi.Longitude = -77.2;
  TObserverRecord la;
  la.PlaceName = "Los Angeles";
  la.Zone = -8;
  la.DaylightHours = 1;
  la.Longitude = 118.25;
  TClockList clocks{tdatumortobjekt(delhi), tdatumortobjekt(la)};
  tmystringgrid grid;
  FillClockGrid(grid, clocks, 60000.25);
  ASSERT_EQ(grid.RowCount(), 3);
  EXPECT_EQ(grid.Cells(1, 1), "Delhi");
  EXPECT_EQ(grid.Cells(2, 1).substr(0, 5), "11:30");
  EXPECT_EQ(grid.Cells(3, 1).substr(0, 5), "06:00");
  EXPECT_EQ(grid.Cells(2, 2).substr(0, 5), "23:00");
  EXPECT_EQ(ClockAt(la, 60000.25).Day, 24);
  EXPECT_EQ(clocks[1].Record.Day, la.Day) << "the clock's own record stays";
  for (int row = 1; row <= 2; ++row) {
    const int hours = std::stoi(grid.Cells(4, row).substr(0, 2));
    EXPECT_GE(hours, 0);
    EXPECT_LT(hours, 24) << "sidereal time reduced to a day";
  }
  EXPECT_EQ(grid.Cells(5, 1).substr(0, 9), "2460000" + std::string(1, IntlSeparators.Decimal) + "7");
  FillClockGrid(grid, {}, 60000.25);
  EXPECT_EQ(grid.RowCount(), 1);

  // The document goes to the program as one argument whatever its blanks
  // and the case of its extension; orbit files start the program alone;
  // other files start nothing.
  const std::string book = "/tmp/two words/Book.XLS";
  EXPECT_EQ(ExternalProgramArguments(book), std::vector<std::string>{book});
  EXPECT_EQ(ExternalProgramArguments("a.Csv"), std::vector<std::string>{"a.Csv"});
  EXPECT_EQ(ExternalProgramArguments("orbit.ORB"), std::vector<std::string>{});
  EXPECT_EQ(ExternalProgramArguments(""), std::vector<std::string>{});
  EXPECT_FALSE(ExternalProgramArguments("notes.txt").has_value());
  EXPECT_EQ(ExternalProgramStartCaption("/usr/bin/localc", false), "Starte Localc");
  EXPECT_EQ(ExternalProgramShowCaption("/usr/bin/localc", true), "Show file in Localc");

  // Database file names: cleaned, first dot gone, a second one numbered.
  std::vector<std::string> used;
  EXPECT_EQ(DatabaseFileName(" .Pallas ", used), "Pallas");
  EXPECT_EQ(DatabaseFileName("A/B\t1", used), "A_B_1");
  EXPECT_EQ(DatabaseFileName("a/b\t1", used), "a_b_1 (2)");
  EXPECT_EQ(DatabaseFileName("..", used), "asteroid");

  test::TempFolder folder;
  EXPECT_EQ(FindManual(folder.Path().string()), "");
  std::ofstream(folder.Path() / "varbo.pdf") << "%PDF";
  EXPECT_EQ(FindManual(folder.Path().string()), (folder.Path() / "varbo.pdf").string());
  fs::create_directories(folder.Path() / "Manual");
  std::ofstream(folder.Path() / "Manual" / "varbo.pdf") << "%PDF";
  EXPECT_EQ(FindManual(folder.Path().string()), (folder.Path() / "Manual" / "varbo.pdf").string());
}

TEST(AsteroidListCheck, EveryEntryIsTestedAndMissingOnesDropped) {
  test::TempFolder folder;
  const std::string data = folder.Path().string();
  const std::string a = data + "/a.csv", b = data + "/b.eel";
  std::ofstream(a) << "x";
  std::ofstream(b) << "x";
  // Sources: present, missing, present last; CR LF and empty lines.
  std::ofstream(folder.Path() / kAsteroidSourceList) << a << "\r\n\r\n" << data << "/gone.csv\r\n" << b << "\r\n";
  std::ofstream(folder.Path() / kAsteroidDestinationList) << data << "/gone.eel";
  TAsteroidListCheck check = TAsteroidListCheck::FromFolder(data);
  ASSERT_EQ(check.Sources().size(), 3u);
  int steps = 0;
  while (!check.Step()) ASSERT_LT(++steps, 10);
  EXPECT_EQ(check.Sources(), (std::vector<std::string>{a, b}));
  EXPECT_TRUE(check.Destinations().empty()) << "a lone missing entry is tested too";
  EXPECT_EQ(check.Percent(), 100);
  ASSERT_TRUE(check.Save(data));
  EXPECT_EQ(ReadAsteroidList(data + "/" + kAsteroidSourceList), (std::vector<std::string>{a, b}));

  TAsteroidListCheck empty;
  EXPECT_TRUE(empty.Step());
  EXPECT_EQ(empty.Percent(), 100);
  TAsteroidListCheck one({data + "/gone.csv"}, {});
  EXPECT_EQ(one.Percent(), 0);
  EXPECT_TRUE(one.Step());
  EXPECT_TRUE(one.Sources().empty());
}

// --- from the menu ------------------------------------------------------------------

void WaitFor(const std::function<bool()>& done) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done() && std::chrono::steady_clock::now() < end) {
    QApplication::processEvents();
    QThread::msleep(20);
  }
}

class SettingsCommands : public test::MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    LanguageEnglish = 0;
  }
  test::RecordingFileDialog files_;
};

TEST_F(SettingsCommands, ConfigurationFilesAndThePeriodFromTheConfiguration) {
  ScopedSettingsStore settings(store_);
  // The first activation checks the asteroid-database lists in idle time.
  const fs::path data = home_.Path() / "data" / "kandrevoltinex";
  fs::create_directories(data);
  std::ofstream(data / "astsrc.txt") << (data / "gone.csv").string() << "\n" << data.string() << "\n";
  TMainForm form;
  form.show();
  form.activateWindow();
  QApplication::processEvents();
  WaitFor([&] { return ReadAsteroidList((data / "astsrc.txt").string()).size() == 1; });
  EXPECT_EQ(ReadAsteroidList((data / "astsrc.txt").string()), std::vector<std::string>{data.string()});
  ScopedMessageSink sink(messages_);
  ScopedFileDialog dialogs(files_);
  TMenuCommands& c = form.Commands();
  TMainFormState& s = form.State();

  // Without a name, Save offers "Varbo4.ocf"; the next Save asks nothing.
  form.Configuration().SetName({});
  const fs::path saved = home_.Path() / "mine.ocf";
  files_.QueueAnswer(saved.string());
  s.Period.Start.Mjd = 60123.375;
  UTToLocalTime(s.Period.Start);
  c.Action("Dateispeichern1")->trigger();
  ASSERT_EQ(files_.requests.size(), 1u);
  EXPECT_TRUE(files_.requests[0].save);
  EXPECT_EQ(fs::path(files_.requests[0].request.start).filename(), "Varbo4.ocf");
  ASSERT_TRUE(fs::exists(saved));
  EXPECT_EQ(form.Configuration().FileName(), saved.string());
  s.Objects.CurrentAsteroid.Name = "Ceres";
  s.Computing.NumericOptions.ExactMoonParallax = 0;  // the Moon's centre at its own altitude
  s.Computing.NumericOptions.ExactSunMoon = 0;       // the low-precision Sun and Moon
  c.Action("Dateispeichern1")->trigger();
  EXPECT_EQ(files_.requests.size(), 1u) << "saved under its own name";

  // The period from the configuration, then New, then Open.
  s.Period.Start.Mjd = 55000.0;
  UTToLocalTime(s.Period.Start);
  ASSERT_TRUE(c.IsEnabled("DatumausKonfiguration2"));
  c.Action("DatumausKonfiguration2")->trigger();
  EXPECT_DOUBLE_EQ(s.Period.Start.Mjd, 60123.375);

  s.Period.Start.AutoDeltaT = 0;
  c.Action("Dateineu1")->trigger();
  EXPECT_EQ(s.Objects.CurrentAsteroid.Name, "Kein Planetoid");
  EXPECT_EQ(s.Period.Start.AutoDeltaT, 1) << "a new configuration takes Delta T from the date";
  EXPECT_TRUE(form.Configuration().FileName().empty());
  EXPECT_EQ(RiseSetSettingsOf(s.Computing).MoonLimb, 1) << "a new configuration rises and sets exactly, as a fresh start";
  EXPECT_EQ(RiseSetSettingsOf(s.Computing).Precise, 1);
  EXPECT_EQ(s.Computing.NumericOptions.ExactMoonParallax, 1);
  EXPECT_NE(s.Period.Start.Mjd, 60123.375);
  c.Action("DatumausKonfiguration2")->trigger();
  EXPECT_NE(s.Period.Start.Mjd, 60123.375) << "no configuration named: nothing taken";

  files_.QueueAnswer(saved.string());
  c.Action("Dateiffnen1")->trigger();
  EXPECT_EQ(s.Objects.CurrentAsteroid.Name, "Ceres");
  EXPECT_EQ(RiseSetSettingsOf(s.Computing).MoonLimb, 0) << "the rise/set switches as the configuration stored them";
  EXPECT_EQ(RiseSetSettingsOf(s.Computing).Precise, 0);
  EXPECT_DOUBLE_EQ(s.Period.Start.Mjd, 60123.375);
  EXPECT_TRUE(messages_.messages.empty());
}

TEST_F(SettingsCommands, ViewSwitchClockBarManualAndExternalProgram) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  form.resize(1100, 700);
  form.show();
  QApplication::processEvents();
  ScopedMessageSink sink(messages_);
  ScopedFileDialog dialogs(files_);
  TMenuCommands& c = form.Commands();
  TMainFormState& s = form.State();
  ASSERT_NE(s.Document.WorkbookView, 0);

  // The switch asks first; Cancel keeps the view and the document.
  form.Workbook().SetNumber(1, 1, 42.0);
  s.Document.DocumentSaved = 0;
  messages_.QueueReply(MessageResult::Cancel);
  c.Action("Tabellenkalkulation1")->trigger();
  ASSERT_EQ(messages_.messages.size(), 1u);
  EXPECT_NE(s.Document.WorkbookView, 0);
  EXPECT_TRUE(c.IsChecked("Tabellenkalkulation1"));
  EXPECT_EQ(form.Workbook().Number(1, 1), 42.0);
  messages_.QueueReply(MessageResult::No);
  c.Action("Tabellenkalkulation1")->trigger();
  EXPECT_EQ(s.Document.WorkbookView, 0);
  EXPECT_FALSE(c.IsChecked("Tabellenkalkulation1"));
  EXPECT_EQ(form.CentralStack()->currentWidget(), form.GridView());
  EXPECT_EQ(form.Workbook().Number(1, 1), 0.0) << "a new document";
  // A table in the grid, then Yes to the question: the table is saved as a
  // table file, not the workbook behind the grid.
  s.Table.PlaceConfirmed = 1;
  c.Trigger("Sonne1");
  ASSERT_EQ(s.Document.DocumentSaved, 0);
  test::TempFolder out;
  const fs::path kept = out.Path() / "sun.kvx";
  messages_.QueueReply(MessageResult::Yes);
  files_.QueueAnswer(kept.string());
  const std::size_t requested = files_.requests.size();
  c.Action("Tabellenkalkulation1")->trigger();
  ASSERT_EQ(files_.requests.size(), requested + 1);
  EXPECT_EQ(files_.requests[requested].request.defaultExtension, "kvx");
  EXPECT_TRUE(fs::exists(kept));
  EXPECT_EQ(std::distance(fs::directory_iterator(out.Path()), fs::directory_iterator()), 1) << "no workbook written";
  EXPECT_NE(s.Document.WorkbookView, 0);

  // The option dialogs open from their items; the options confirmed
  // unchanged keep the settings.
  const TNumericOptions options = s.Computing.NumericOptions;
  const std::uint8_t catalogue = s.StarCatalogue.Setting;
  for (const char* item : {"Optionen2", "Optionen1", "Datenformate1", "Uhrenleistekonfigurieren1"}) {
    QString title;
    test::WhenModalShown([&title, item](QDialog& dialog) {
      title = dialog.windowTitle();
      std::string(item) == "Optionen2" ? dialog.accept() : dialog.reject();
    });
    c.Action(item)->trigger();
    EXPECT_FALSE(title.isEmpty()) << item;
  }
  EXPECT_EQ(s.Computing.NumericOptions.MoonCacheSpan, options.MoonCacheSpan);
  EXPECT_EQ(s.StarCatalogue.Setting, catalogue);

  // The clock bar: one row per clock at the clock's time.
  TObserverRecord clock = s.Period.Start;
  clock.PlaceName = "Tokyo";
  clock.Zone = 9;
  clock.ZoneMinutes = 0;
  clock.DaylightHours = 0;
  form.Clocks().assign({tdatumortobjekt(clock)});
  FixedClock fixed((60000.25 - 40587.0) * 86400.0);
  ScopedSystemClock now(fixed);
  c.Action("Weltzeituhr1")->trigger();
  QApplication::processEvents();
  auto* clocks = form.findChild<TMyStringGridView*>("Stringgrid2");
  ASSERT_NE(clocks, nullptr);
  EXPECT_TRUE(clocks->isVisible());
  EXPECT_EQ(clocks->model()->index(0, 0).data().toString(), "Tokyo");
  EXPECT_EQ(clocks->model()->index(0, 1).data().toString().left(5), "15:00");
  test::SavePng(form, "main_window_with_clock_bar");
  c.Action("Weltzeituhr1")->trigger();
  EXPECT_FALSE(clocks->isVisible());

  // The manual: the message in German also in English.
  LanguageEnglish = 1;
  form.SetShippedFolder((home_.Path() / "empty").string());
  c.Action("Handbuch1")->trigger();
  ASSERT_FALSE(messages_.messages.empty());
  EXPECT_EQ(messages_.messages.back().text, "Handbuch nicht gefunden");
  LanguageEnglish = 0;

  // The external program gets the saved workbook as one argument.
  const fs::path script = home_.Path() / "program.sh";
  const fs::path record = home_.Path() / "arguments.txt";
  std::ofstream(script) << "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > \"" << record.string() << ".part\"\nmv \""
                        << record.string() << ".part\" \"" << record.string() << "\"\n";
  fs::permissions(script, fs::perms::owner_all);
  files_.QueueAnswer(script.string());
  c.Action("ExternesProgrammfestlegen1")->trigger();
  EXPECT_EQ(form.StoredSettings().ExternalApplication, script.string());
  EXPECT_TRUE(c.Action("ExternesProgrammstarten1_")->isVisible());
  EXPECT_EQ(c.Action("ExternesProgramm1")->text().toStdString(), "Starte Program.sh");

  fs::create_directories(home_.Path() / "two words");
  const fs::path book = home_.Path() / "two words" / "Book one.xlsx";
  form.Workbook().SetNumber(1, 1, 7.0);
  s.Document.DocumentSaved = 0;
  files_.QueueAnswer(std::nullopt);  // the save is cancelled: nothing starts
  c.Action("ExternesProgrammstarten1_")->trigger();
  EXPECT_EQ(form.Workbook().Number(1, 1), 7.0) << "the workbook is kept";
  files_.QueueAnswer(book.string());
  c.Action("ExternesProgrammstarten1_")->trigger();
  WaitFor([&] { return fs::exists(record); });
  ASSERT_TRUE(fs::exists(record));
  std::ifstream arguments(record);
  std::string first, second;
  std::getline(arguments, first);
  EXPECT_EQ(first, book.string());
  EXPECT_FALSE(std::getline(arguments, second)) << "one argument";
  EXPECT_EQ(form.Workbook().Number(1, 1), 0.0) << "a new document replaces the saved one";

  form.SetLanguage(1);
  EXPECT_EQ(c.Action("ExternesProgramm1")->text().toStdString(), "Start Program.sh");
  EXPECT_EQ(c.Action("ExternesProgrammstarten1_")->text().toStdString(), "Show file in Program.sh");
  form.SetLanguage(0);

  // The first run looks for a spreadsheet program in PATH, once.
  const std::string path = getenv("PATH") != nullptr ? getenv("PATH") : "";
  const fs::path bin = home_.Path() / "bin";
  fs::create_directories(bin);
  fs::copy_file(script, bin / "localc");
  setenv("PATH", bin.c_str(), 1);
  form.StoredSettings().ExternalApplication.clear();
  SearchForExternalProgram(form);
  EXPECT_EQ(form.StoredSettings().ExternalApplication, (bin / "localc").string());
  EXPECT_FALSE(store_.BoolOr("Settings", "FindExcel", true));
  store_.WriteBool("Settings", "FindExcel", true);
  setenv("PATH", (home_.Path() / "nothing").c_str(), 1);
  SearchForExternalProgram(form);  // a program is set: no search
  EXPECT_EQ(form.StoredSettings().ExternalApplication, (bin / "localc").string());
  form.StoredSettings().ExternalApplication.clear();
  std::size_t asked = messages_.messages.size();
  messages_.QueueReply(MessageResult::No);
  SearchForExternalProgram(form);
  ASSERT_EQ(messages_.messages.size(), asked + 1) << "nothing found: asked whether to choose one";
  EXPECT_NE(messages_.messages.back().text.find("Tabellenkalkulation"), std::string::npos);
  SearchForExternalProgram(form);
  EXPECT_EQ(messages_.messages.size(), asked + 1) << "only once";
  EXPECT_FALSE(c.Action("ExternesProgramm1")->isVisible());
  setenv("PATH", path.c_str(), 1);

  // A program that cannot start says so.
  form.StoredSettings().ExternalApplication = (home_.Path() / "missing").string();
  const std::size_t before = messages_.messages.size();
  c.Action("ExternesProgramm1")->trigger();
  ASSERT_EQ(messages_.messages.size(), before + 1);
  EXPECT_NE(messages_.messages.back().text.find("Einstellungen|Externes Programm festlegen..."), std::string::npos)
      << messages_.messages.back().text;
}

TEST_F(SettingsCommands, AsteroidDatabaseFilesFromAnElementFileInTheGridView) {
  UseDefaultSeparators();
  ScopedSettingsStore settings(store_);
  TMainForm form;
  form.show();
  QApplication::processEvents();
  ScopedMessageSink sink(messages_);
  RecordingFolderChooser folders;
  FolderChooser* previousChooser = SetFolderChooser(&folders);
  TMainFormState& s = form.State();

  const fs::path elements = home_.Path() / "two.csv";
  std::ofstream(elements) << ":a;e;i;node;per;m;n;equinox;epoch;h;g\n"
                          << "A/B 2022;2,76661904;0,07863576;10,586795;80,266436;73,531625;334,327170;0,214181;2000,00;"
                             "2459800,50000;3,33;0,12\n"
                          << ".Pallas;2,76946334;0,22998645;34,927141;172,917905;310,842624;315,091112;0,213851;2000,00;"
                             "2459800,50000;4,12;0,11\n";
  TConfigSettings config = form.GatherConfiguration();
  config.Paths[kPathAsteroidElements] = elements.string();
  form.ApplyConfiguration(config);
  s.Period.Start.Mjd = 59810.0;
  s.Period.End.Mjd = 59812.0;
  UTToLocalTime(s.Period.Start);
  UTToLocalTime(s.Period.End);
  s.Period.AutoEnd = 0;
  s.Document.WorkbookView = 0;
  s.Document.CsvSeparatorIndex = 3;  // the cells of the files joined by tabs

  const std::string ownAsteroid = s.Objects.CurrentAsteroid.Name;
  const QString title = form.windowTitle();
  const fs::path target = home_.Path() / "db" / "new";
  folders.QueueAnswer(target.string());
  form.Commands().Trigger("Planetoidendatenbankerstellen1");
  EXPECT_EQ(s.Document.WorkbookView, 0) << "the view stays";
  EXPECT_EQ(s.Objects.CurrentAsteroid.Name, ownAsteroid) << "the user's asteroid stays the current one";
  EXPECT_EQ(form.windowTitle(), title);
  ASSERT_TRUE(fs::exists(target / "A_B 2022.csv"));
  ASSERT_TRUE(fs::exists(target / "Pallas.csv")) << "the first dot goes";
  std::ifstream first(target / "A_B 2022.csv");
  std::string line, last;
  int lines = 0;
  for (; std::getline(first, line); ++lines) last = line;
  EXPECT_GE(lines, 3) << "the element rows of the period";
  EXPECT_NE(last.find('\t'), std::string::npos) << last;
  EXPECT_EQ(last.find(';'), std::string::npos) << last;
  EXPECT_TRUE(last.ends_with("\t3.33\t0.12")) << "H and G keep the element file's two decimals: " << last;
  EXPECT_EQ(form.Workbook().Text(1, 1),
            (LanguageEnglish != 0 ? "Created Files in " : "Erzeugte Daten in ") + target.string());
  EXPECT_EQ(form.Workbook().Number(6, 2), 2.0);

  // A file that cannot be written ends the run with a message naming it
  // (here a folder stands in its place).
  const fs::path blocked = home_.Path() / "blocked";
  fs::create_directories(blocked / "A_B 2022.csv");
  folders.QueueAnswer(blocked.string());
  const std::size_t before = messages_.messages.size();
  form.Commands().Trigger("Planetoidendatenbankerstellen1");
  ASSERT_GT(messages_.messages.size(), before);
  EXPECT_NE(messages_.messages[before].text.find("A_B 2022.csv"), std::string::npos);
  EXPECT_TRUE(fs::exists(blocked / "Pallas.csv")) << "the files written before stay";
  EXPECT_EQ(form.Workbook().Number(6, 2), 1.0);
  SetFolderChooser(previousChooser);
}

}  // namespace
}  // namespace kvx
