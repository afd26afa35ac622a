#include "app/ui/main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QToolBar>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/data_folder.h"
#include "app/menu_table.h"
#include "app/ui/about_box.h"
#include "app/ui/menu_commands.h"
#include "core/name_tables.h"
#include "core/time_scales.h"
#include "eclipses/star_catalogue.h"
#include "platform/desktop_opener.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/qt/qt_settings_store.h"
#include "platform/settings_store.h"
#include "support/fixed_clock.h"
#include "support/qt/save_png.h"
#include "support/qt_application.h"
#include "support/recording_desktop_opener.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"
#include "theories/tle.h"

namespace kvx {
namespace {

namespace fs = std::filesystem;

// A fresh data and configuration home for one start of the program.
class MainWindowStart : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_DATA_HOME", (home_.Path() / "data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home_.Path() / "config").c_str(), 1);
    InitAstroNameTables();
    LanguageEnglish = 1;
    // Not the first start: no language question (its own test asks it).
    store_.WriteBool("Settings", "FirstRun", false);
  }
  void TearDown() override { LanguageEnglish = 1; }

  std::string DataFolder() const { return (home_.Path() / "data" / "kandrevoltinex").string(); }
  static void Pump(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds) QApplication::processEvents(QEventLoop::AllEvents, 20);
  }

  test::TempFolder home_;
  MemorySettingsStore store_;
  RecordingMessageSink messages_;
};

TEST_F(MainWindowStart, ComesUpWithCataloguesMenusStatusLineAndRecentFiles) {
  store_.WriteString("Settings", "Language", "0");
  store_.WriteString("Files", "History0", "/nowhere/first.xls");
  store_.WriteString("Files", "History1", "/nowhere/second.xls");
  ScopedSettingsStore settings(store_);
  {
    TMainForm form;
    ScopedMessageSink sink(messages_);
    RecordingDesktopOpener desktop;
    form.show();
    ScopedDesktopOpener opener(desktop);
    QApplication::processEvents();
    ASSERT_FALSE(form.Halted());
    EXPECT_TRUE(messages_.messages.empty()) << messages_.messages.front().text;
    EXPECT_EQ(form.windowTitle().toStdString(), "Kandrevoltinex 4.6");

    // The shipped catalogues were copied into the empty data folder.
    EXPECT_EQ(form.State().DataFolder, DataFolder());
    EXPECT_TRUE(fs::exists(fs::path(DataFolder()) / "OCCINP8.DAT"));
    EXPECT_TRUE(fs::exists(fs::path(DataFolder()) / "OCCINP95.DAT"));
    EXPECT_EQ(form.State().StarCatalogue.Level, 2);
    EXPECT_EQ(form.State().StarCatalogue.Setting, 1);

    // 13 menus captioned in German by the stored language.
    const auto menus = form.menuBar()->actions();
    ASSERT_EQ(menus.size(), 13);
    EXPECT_EQ(menus.front()->text().toStdString(), "&Datei");
    EXPECT_EQ(menus[8]->text().toStdString(), "E&phemeriden");
    EXPECT_EQ(menus.back()->text().toStdString(), "&?");

    // Commands without a handler are disabled; registering one enables
    // every row of the command (menu item, context menu, tool button).
    TMenuCommands& commands = form.Commands();
    EXPECT_FALSE(commands.Action("VernderlicherStern1")->isEnabled()) << "no variable star chosen";
    EXPECT_FALSE(commands.Action("SpeedButton23")->isEnabled());
    form.State().Objects.CurrentVariableStar.Name = "Algol";
    form.RefreshMenuStates();
    EXPECT_TRUE(commands.Action("FileExitItem")->isEnabled());
    ASSERT_TRUE(commands.RegisterHandler("Legende1", {}));
    EXPECT_FALSE(commands.Action("Legende1")->isEnabled());
    int starTables = 0;
    ASSERT_TRUE(commands.RegisterHandler("VernderlicherStern1", [&] { ++starTables; }));
    EXPECT_TRUE(commands.Action("SpeedButton23")->isEnabled());
    commands.Action("SpeedButton23")->trigger();
    commands.Action("VernderlicherStern1")->trigger();
    EXPECT_EQ(starTables, 2);
    EXPECT_TRUE(commands.RegisterHandler("DMS1", [] {}));
    EXPECT_TRUE(commands.Action("DEGDMS1")->isEnabled()) << "the sheet menu's macro shares the command";
    EXPECT_FALSE(commands.RegisterHandler("NoSuchCommand", [] {}));

    // Help: Contents shows the help text inside the program, not on the desktop.
    commands.Trigger("HelpContentsItem");
    EXPECT_TRUE(desktop.opened.empty());
    EXPECT_TRUE(messages_.messages.empty());

    // Status line of the start record (German labels).
    EXPECT_NE(form.Panel("Ortpanel")->text().toStdString().find(" GB: 51"), std::string::npos)
        << form.Panel("Ortpanel")->text().toStdString();
    EXPECT_EQ(form.State().Period.Start.AutoDeltaT, 1) << "Delta T follows the date from the first start";
    EXPECT_EQ(form.Panel("PanelVSOP")->text().toStdString(), "VSOP87 D Full/Very low");
    EXPECT_EQ(form.Panel("PanelElp")->text().toStdString(), "ELP-2000/82");
    EXPECT_EQ(form.Panel("Panel5")->text().toStdString(), "10");
    EXPECT_FALSE(form.Panel("Finsternispanel")->isVisible());
    // The hint of an item reaches the status line.
    commands.Action("Neu1")->showStatusText(&form);
    EXPECT_EQ(form.Panel("StatusLine")->text().toStdString(), "Neu");

    // The workbook with the default sheets is shown; the period completes
    // from the zero-interval timer.
    EXPECT_EQ(form.CentralStack()->currentWidget(), reinterpret_cast<QWidget*>(form.WorkbookView()));
    EXPECT_EQ(form.Workbook().NumSheets(), 16);
    Pump(50);
    EXPECT_EQ(form.State().Table.TableChanged, 0);
    EXPECT_NEAR(form.State().Period.End.Mjd - form.State().Period.Start.Mjd, 10.0, 1e-9);
    EXPECT_EQ(form.HourglassDepth(), 0);

    // The theory libraries are built beside the program and answer their probes.
    EXPECT_EQ(form.TheoryState().Libraries.Vsop87D, 1);
    EXPECT_NE(form.MoonCache().Cache, nullptr);
    EXPECT_EQ(SatelliteNames[1], "Mir");

    // The small catalogue loads on first need and stays loaded.
    form.State().StarCatalogue.SelectedStar = 8000;  // beyond the 7239 stars of the small file
    ASSERT_TRUE(form.EnsureStarCatalogue());
    EXPECT_EQ(form.StarCatalogue()->Count(), 7239);
    EXPECT_EQ(form.State().StarCatalogue.SelectedStar, -1);
    EXPECT_EQ(form.State().StarCatalogue.Loading, 0);
    EXPECT_FALSE(form.Panel("Finsternispanel")->isVisible());

    // The recent files: loaded, shown after the File menu's items, chosen by number.
    QMenu* file = commands.Menu("FileMenu");
    const auto items = file->actions();
    ASSERT_GE(items.size(), 3);
    EXPECT_EQ(items[items.size() - 2]->text().toStdString(), "&1 /nowhere/first.xls");
    std::string opened;
    form.OpenDocumentByName = [&](const std::string& name) { opened = name; };
    items.back()->trigger();
    EXPECT_EQ(opened, "/nowhere/second.xls");
    form.RecentFiles().AddFile("/nowhere/third.xls");
    EXPECT_EQ(file->actions()[file->actions().size() - 3]->text().toStdString(), "&1 /nowhere/third.xls");

    // Switching the language twice restores every caption and hint.
    form.ApplyMenuLanguage(true);
    EXPECT_EQ(menus.front()->text().toStdString(), "&File");
    EXPECT_EQ(commands.Action("SpeedButton45")->toolTip().toStdString(), "Ephemeris table setup");
    form.ApplyMenuLanguage(false);
    for (const TMenuRow& row : MenuTable()) {
      if (row.Kind != TMenuRowKind::Item && row.Kind != TMenuRowKind::Button) continue;
      const QAction* action = commands.Action(row.Name);
      ASSERT_NE(action, nullptr) << row.Name;
      if (std::string(row.Name) == "Sommerzeit1") continue;
      const QString shown = row.Kind == TMenuRowKind::Item ? action->text() : action->toolTip();
      EXPECT_EQ(shown.toStdString(), row.German) << row.Name;
    }
    EXPECT_EQ(commands.Action("Sommerzeit1")->text().toStdString(),
              form.State().Period.Start.DaylightHours != 0 ? "&Winterzeit" : "&Sommerzeit");

    form.resize(1500, 760);
    QApplication::processEvents();
    test::SavePng(form, "main_window");
    form.close();
  }
  // Closing saved the recent list with its three entries.
  EXPECT_EQ(store_.StringOr("Files", "History0", ""), "/nowhere/third.xls");
  EXPECT_EQ(store_.StringOr("Files", "History2", ""), "/nowhere/second.xls");
}

// Every start begins at the clock's instant: the first in the default zone
// (Central Europe) with Delta T automatic, a later one in the zone of the
// configuration it loads, with that configuration's Delta T setting, not at
// the configuration's saved date. The computer's own zone changes nothing:
// the UT shown is the clock's UTC.
TEST_F(MainWindowStart, EveryStartBeginsAtTheClocksInstantInTheRecordsZone) {
  ScopedSettingsStore settings(store_);
  FixedClock clock(FixedClock::At(2026, 7, 15, 2, 12, 19));
  ScopedSystemClock now(clock);
  const auto mjdNow = [&] { return 40587.0 + clock.seconds / 86400.0; };
  {
    ScopedSystemZone computer("Asia/Kolkata");
    TMainForm form;
    ScopedMessageSink sink(messages_);
    form.show();
    QApplication::processEvents();
    ASSERT_FALSE(form.Halted());
    TObserverRecord& start = form.State().Period.Start;
    EXPECT_EQ(start.Zone, 1);
    EXPECT_EQ(start.Day, 15);
    EXPECT_NEAR(start.LocalHours, 3 + 12 / 60.0 + 19 / 3600.0, 1e-7);  // rounded to 1e-8 h
    EXPECT_NEAR(start.Mjd, mjdNow(), 1e-3 / 86400);
    EXPECT_EQ(start.AutoDeltaT, 1);
    EXPECT_NEAR(start.DeltaTSeconds, DeltaT(MjdToJd(mjdNow())), 1e-9);
    const std::string date = form.Panel("Datumpanel")->text().toStdString();
    EXPECT_NE(date.find("03:12:19"), std::string::npos) << date;
    EXPECT_NE(date.find("02:12:19 UT"), std::string::npos) << date;
    ASSERT_TRUE(fs::exists(fs::path(DataFolder()) / "Varbo4.ocf")) << "the first start saves its configuration";
    // The user moves to Japan and types a Delta T of his own.
    start.Zone = 9;
    start.AutoDeltaT = 0;
    start.DeltaTSeconds = 65.0;
    ASSERT_TRUE(form.SaveConfiguration(DataFolder() + "/Varbo4.ocf"));
    form.close();
  }
  // A day and 20 hours later, the computer now in New York (summer time).
  clock.seconds += 44 * 3600;
  {
    ScopedSystemZone computer("America/New_York");
    TMainForm form;
    ScopedMessageSink sink(messages_);
    form.show();
    QApplication::processEvents();
    ASSERT_FALSE(form.Halted());
    const TObserverRecord& start = form.State().Period.Start;
    EXPECT_EQ(start.Zone, 9);
    EXPECT_EQ(start.Day, 17);  // 22:12:19 UT on the 16th is 07:12:19 on the 17th in Japan
    EXPECT_NEAR(start.LocalHours, 7 + 12 / 60.0 + 19 / 3600.0, 1e-7);
    EXPECT_NEAR(start.Mjd, mjdNow(), 1e-3 / 86400);
    EXPECT_EQ(start.AutoDeltaT, 0) << "a stored Delta T setting keeps its value";
    EXPECT_EQ(start.DeltaTSeconds, 65.0);
    const std::string date = form.Panel("Datumpanel")->text().toStdString();
    EXPECT_NE(date.find("22:12:19 UT"), std::string::npos) << date;
    Pump(50);
    EXPECT_NEAR(form.State().Period.End.Mjd - start.Mjd, 10.0, 1e-9) << "the period keeps its length";
    form.close();
  }
}

TEST_F(MainWindowStart, HaltsWithoutCatalogueAndForgetsOnlyTheStoredFolder) {
  test::TempFolder shipped;  // ships nothing
  const std::string stored = (home_.Path() / "elsewhere").string();
  store_.WriteString("Data", "Path", stored);
  store_.WriteString("Data", "AsteroidFolder", "/my/asteroids");
  store_.WriteString("Settings", "Language", "1");
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ScopedMessageSink sink(messages_);
  form.SetShippedFolder(shipped.Path().string());
  form.show();
  QApplication::processEvents();
  EXPECT_TRUE(form.Halted());
  ASSERT_EQ(messages_.messages.size(), 1u);
  const RecordedMessage& m = messages_.messages[0];
  EXPECT_EQ(m.caption, "Application halted");
  EXPECT_EQ(m.icon, MessageIcon::Error);
  EXPECT_EQ(m.text, "The necessary file occinp8.dat was not found in folder " + stored +
                        ". Please copy this file into the Kandrevoltinex 4.6 folder and restart Kandrevoltinex "
                        "4.6. If this does not help, uninstall Kandrevoltinex 4.6 and reinstall it.");
  EXPECT_FALSE(store_.ReadString("Data", "Path").has_value());
  EXPECT_EQ(store_.StringOr("Data", "AsteroidFolder", ""), "/my/asteroids") << "the other folders stay";
  EXPECT_TRUE(form.State().DataFolder.empty());
  EXPECT_FALSE(fs::exists(fs::path(DataFolder()))) << "nothing went on after the halt";
  QApplication::processEvents();
  EXPECT_FALSE(form.isVisible()) << "the window closed";

  // An installation without its folder of shipped files halts as well, and
  // says so, with the folder it looked for (here in German).
  store_.WriteString("Settings", "Language", "0");
  const std::string missing = (home_.Path() / "share" / "kandrevoltinex" / "data").string();
  messages_.messages.clear();
  TMainForm incomplete;
  ScopedMessageSink incompleteSink(messages_);  // the window installs its own
  incomplete.SetShippedFolder(missing);
  incomplete.show();
  QApplication::processEvents();
  EXPECT_TRUE(incomplete.Halted());
  ASSERT_EQ(messages_.messages.size(), 1u);
  EXPECT_EQ(messages_.messages[0].caption, "Programm angehalten");
  EXPECT_EQ(messages_.messages[0].text, "Die Installation von Kandrevoltinex 4.6 ist unvollständig: ihr "
                                        "Datenverzeichnis " + missing +
                                            " fehlt, daher konnte die notwendige Datei occinp8.dat nicht in das "
                                            "Verzeichnis " + DataFolder() +
                                            " kopiert werden. Bitte installieren Sie Kandrevoltinex 4.6 neu.");

  // A data folder that takes no file is named with its cause, in both
  // languages (it was told "not found, copy it there").
  test::TempFolder ships;
  ships.Write("shipped-files.txt", "OCCINP8.DAT\n");
  ships.Write("OCCINP8.DAT", std::string(33, 'x'));
  fs::create_directories(DataFolder());
  fs::permissions(DataFolder(), fs::perms(0555));
  const std::pair<const char*, std::string> expected[] = {
      {"0", "Die notwendige Datei occinp8.dat konnte nicht in das Verzeichnis " + DataFolder() +
                " kopiert werden: Zugriff verweigert: Sie dürfen in ihm nicht schreiben. Bitte sorgen Sie dafür, dass "
                "in diesem Verzeichnis Dateien geschrieben werden können, und starten Sie Kandrevoltinex 4.6 neu."},
      {"1", "The necessary file occinp8.dat could not be copied into the folder " + DataFolder() +
                ": permission denied: you may not write in it. Please make sure that files can be written in this "
                "folder and restart Kandrevoltinex 4.6."}};
  for (const auto& [language, text] : expected) {
    store_.WriteString("Settings", "Language", language);
    messages_.messages.clear();
    TMainForm locked;
    ScopedMessageSink lockedSink(messages_);
    locked.SetShippedFolder(ships.Path().string());
    locked.show();
    QApplication::processEvents();
    EXPECT_TRUE(locked.Halted());
    ASSERT_EQ(messages_.messages.size(), 1u);
    EXPECT_EQ(messages_.messages[0].text, text);
    EXPECT_FALSE(fs::exists(fs::path(DataFolder()) / "OCCINP8.DAT"));
  }
  fs::permissions(DataFolder(), fs::perms(0755));
}

TEST_F(MainWindowStart, ADamagedCatalogueGivesItsMessageAndLowersTheSetting) {
  test::TempFolder shipped;
  fs::create_directories(DataFolder());
  std::ofstream(fs::path(DataFolder()) / "OCCINP8.DAT", std::ios::binary) << std::string(33, 'x');
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ScopedMessageSink sink(messages_);
  form.SetShippedFolder(shipped.Path().string());
  form.show();
  QApplication::processEvents();
  ASSERT_FALSE(form.Halted());
  EXPECT_EQ(form.State().StarCatalogue.Level, 1);
  EXPECT_FALSE(form.EnsureStarCatalogue());
  EXPECT_EQ(form.StarCatalogue(), nullptr);
  ASSERT_EQ(messages_.messages.size(), 1u);
  EXPECT_NE(messages_.messages[0].text.find("OCCINP8.DAT"), std::string::npos) << messages_.messages[0].text;
  EXPECT_EQ(form.State().StarCatalogue.Setting, 0);
  EXPECT_EQ(form.State().StarCatalogue.Level, 0);
  EXPECT_EQ(form.HourglassDepth(), 0);
}

TEST_F(MainWindowStart, ACorruptSettingsFileGivesTheDefaults) {
  const fs::path ini = home_.Path() / "config" / "kandrevoltinex" / "kandrevoltinex.ini";
  fs::create_directories(ini.parent_path());
  std::ofstream(ini, std::ios::binary) << std::string("[Settings\nLanguage=\x01\xff\x00zz\n[Files]\nnLastfiles=-7\n", 40)
                                       << "\n[Settings]\nDefaultSheetNumber=many\n";
  QtSettingsStore file;
  ScopedSettingsStore settings(file);
  TMainForm form;
  ScopedMessageSink sink(messages_);
  messages_.QueueReply(MessageResult::No);
  form.show();
  QApplication::processEvents();
  ASSERT_FALSE(form.Halted());
  EXPECT_EQ(LanguageEnglish, 1);
  EXPECT_EQ(form.State().Document.DefaultSheetNumber, 16);
  EXPECT_EQ(form.State().Document.RecentFilesCount, 10);
  EXPECT_EQ(form.Workbook().NumSheets(), 16);
  // "FirstRun" could not be read: the first-run question is the only message.
  ASSERT_EQ(messages_.messages.size(), 1u);
  EXPECT_EQ(messages_.messages[0].caption, "Kandrevoltinex 4.6");
}

TEST_F(MainWindowStart, SplashShowsOkAfterItsTimerAndTheInfoBoxBothButtons) {
  TAboutBox splash;
  splash.ShowAsSplash();
  QApplication::processEvents();
  EXPECT_TRUE(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_TRUE(splash.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_FALSE(splash.OKButton()->isVisible());
  EXPECT_FALSE(splash.Button1()->isVisible());
  EXPECT_EQ(splash.Timer1()->interval(), 3000);
  Pump(2500);
  EXPECT_FALSE(splash.OKButton()->isVisible());
  Pump(800);
  EXPECT_TRUE(splash.OKButton()->isVisible());
  EXPECT_FALSE(splash.Button1()->isVisible());
  splash.EndSplash();

  TAboutBox info;
  QTimer::singleShot(0, &info, [&] {
    EXPECT_TRUE(info.OKButton()->isVisible());
    EXPECT_TRUE(info.Button1()->isVisible());
    EXPECT_EQ(info.windowTitle().toStdString(), "Kandrevoltinex 4.6");
    test::SavePng(info, "about_box");
    info.accept();
  });
  info.ShowModalInfo();
}

}  // namespace
}  // namespace kvx
