// The binary asteroid database from the menus: the builder writes the
// ".eel" files of two synthetic asteroids (and skips a broken source), the
// single-file choice picks one and its kind-33 table agrees with the kind-21
// table of the same elements; the list choice keeps its two lists between
// runs and moves items in reverse order (offscreen, pictures in
// test-output).
#include "app/ui/asteroid_database_commands.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <cmath>
#include <deque>
#include <filesystem>
#include <functional>

#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "app/ui/table_commands.h"
#include "catalogues/asteroid_selection.h"
#include "catalogues/ui/asteroid_database_dialog.h"
#include "core/name_tables.h"
#include "core/observer_record.h"
#include "engine/table_globals.h"
#include "platform/folder_chooser.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/settings_store.h"
#include "support/qt/main_form_test.h"
#include "support/qt/save_png.h"
#include "support/recording_folder_chooser.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

namespace fs = std::filesystem;
using test::SavePng;

// Element sets every 10 days around `centreJd`, the mean anomaly carried on
// with the mean motion (a pure two-body orbit).
std::string Source(const std::string& name, const TAsteroidElements& e, double centreJd) {
  std::string text = ":Name;a;e;i;Node;Peri;M;n;Equinox;Epoch;H;G\r\n";
  const double first = std::floor(centreJd - 400) + 0.5;
  for (int k = 0; k <= 80; ++k) {
    const double epoch = first + 10.0 * k;
    const double m = std::fmod(e.MeanAnomaly + e.MeanMotion * (epoch - e.Epoch) + 3600.0, 360.0);
    char line[320];
    std::snprintf(line, sizeof line, "%s;%.7f;%.7f;%.6f;%.6f;%.6f;%.6f;%.8f;2000;%.1f;%.2f;%.2f\r\n", name.c_str(),
                  e.SemiMajorAxis, e.Eccentricity, e.Inclination, e.Node, e.Perihelion, m, e.MeanMotion, epoch, e.H,
                  e.G);
    text += line;
  }
  return text;
}

class AsteroidDatabaseCommands : public test::MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    LanguageEnglish = 1;
    store_.WriteString("Data", "AsteroidFolder", (home_.Path() / "db").string());
    RowStore.Clear();
  }
};

TEST_F(AsteroidDatabaseCommands, BuilderThenDatabaseTableAgreesWithTheElementTable) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  form.show();
  QApplication::processEvents();
  ScopedMessageSink sink(messages_);
  TMainFormState& s = form.State();
  TMenuCommands& menu = form.Commands();
  EXPECT_FALSE(menu.IsEnabled("PlanetoidenausDatenbank1")) << "no database yet";
  ASSERT_TRUE(menu.IsEnabled("BahnelementeDatenbanktool1"));

  TObserverRecord today = s.Period.Start;
  LocalTimeToUT(today);
  const double todayJd = today.Mjd + 2400000.5;
  const TAsteroidElements ceres{2.7675, 0.0785, 10.58, 80.49, 73.92, 100.0, 0.21408, 2000, std::floor(todayJd) + 0.5,
                                3.34, 0.12, "Ceres"};
  const TAsteroidElements vesta{2.3617, 0.0887, 7.14, 103.85, 151.2, 40.0, 0.2716, 2000, std::floor(todayJd) + 0.5,
                                3.2, 0.32, "Vesta"};
  home_.Write("csv/ceres.csv", Source("Ceres", ceres, todayJd));
  home_.Write("csv/vesta.csv", Source("Vesta", vesta, todayJd));
  home_.Write("csv/broken.csv", ":header only\r\nPallas;1;2\r\n");

  // The builder: source folder, a destination it creates, the whole files.
  const std::string csv = (home_.Path() / "csv").string();
  const std::string db = (home_.Path() / "db").string();
  test::WhenModalShown<TFrmAsteroidDatabase>([&](TFrmAsteroidDatabase& d) {
    EXPECT_TRUE(d.CompleteFileCheck()->isChecked());
    EXPECT_FALSE(d.PeriodGroup()->isEnabled());
    EXPECT_EQ(d.Jd1Edit()->text(), "2448000,5");
    d.CompleteFileCheck()->setChecked(false);
    EXPECT_TRUE(d.PeriodGroup()->isEnabled());
    d.CompleteFileCheck()->setChecked(true);
    std::deque<std::optional<std::string>> answers{std::string("/no/such/folder"), csv, db};
    std::vector<std::string> prompts;
    d.AskText = [&answers, &prompts](const std::string&, const std::string& prompt, const std::string&) {
      prompts.push_back(prompt);
      auto a = answers.front();
      answers.pop_front();
      return a;
    };
    d.Start();  // a source folder that does not exist: refused
    EXPECT_TRUE(d.StartButton()->isEnabled());
    d.Start();
    EXPECT_EQ(prompts, (std::vector<std::string>{"Please enter Source folder", "Please enter Source folder",
                                                 "Please enter Destination folder"}));
    EXPECT_TRUE(d.StartButton()->isEnabled());
    EXPECT_FALSE(d.StopButton()->isEnabled());
    SavePng(d, "asteroid_database_builder");
    d.reject();
  });
  ASSERT_TRUE(menu.Trigger("BahnelementeDatenbanktool1"));
  ASSERT_EQ(messages_.messages.size(), 2u);
  EXPECT_EQ(messages_.messages[0].text, "Invalid path");
  EXPECT_EQ(messages_.messages[1].text.rfind("2 files written, 1 skipped.", 0), 0u) << messages_.messages[1].text;
  EXPECT_EQ(store_.ReadString("Settings", "AsteroidDatabaseCsv"), csv);
  ASSERT_EQ(s.Objects.DatabaseFiles.size(), 2u);
  ASSERT_TRUE(menu.IsEnabled("PlanetoidenausDatenbank1"));

  // The elements' own table (kind 21) ...
  s.Objects.CurrentAsteroid = ceres;
  form.Tables().RefreshMenus();
  ASSERT_TRUE(menu.Trigger("Planetoid1"));
  ASSERT_EQ(s.Table.PreviousTableKind, 21);
  std::vector<std::pair<double, double>> expected;
  for (int k = 0; k < RowStore.Count(); ++k) {
    expected.emplace_back(RowStore.Row(k).Position.RightAscension, RowStore.Row(k).Position.Declination);
  }
  ASSERT_GE(expected.size(), 10u);

  // ... and the database file of the same orbit (kind 33), picked by search.
  test::WhenModalShown<TSelectAsteroidDlg>([](TSelectAsteroidDlg& d) {
    EXPECT_EQ(d.windowTitle(), "Select asteroid");
    ASSERT_EQ(d.List()->count(), 2);
    EXPECT_EQ(d.List()->item(0)->text(), "/Ceres.eel");
    EXPECT_FALSE(d.OkButton()->isEnabled()) << "nothing selected yet";
    d.SearchEdit()->setText("cer");
    EXPECT_TRUE(d.OkButton()->isEnabled());
    EXPECT_NE(d.PeriodLabel()->text().indexOf(", Diff.: 10"), -1) << d.PeriodLabel()->text().toStdString();
    SavePng(d, "select_asteroid_file");
    d.OkButton()->click();
  });
  messages_.messages.clear();
  ASSERT_TRUE(menu.Trigger("PlanetoidenausDatenbank1"));
  EXPECT_TRUE(messages_.messages.empty());
  EXPECT_EQ(s.Objects.CurrentDatabaseAsteroid, db + "/Ceres.eel");
  ASSERT_EQ(s.Table.PreviousTableKind, 33);
  ASSERT_EQ(static_cast<std::size_t>(RowStore.Count()), expected.size());
  // Element sets every 10 days of one two-body orbit, kept as 4-byte floats:
  // within 2 arc seconds of the double-precision elements.
  for (std::size_t k = 0; k < expected.size(); ++k) {
    const auto& row = RowStore.Row(static_cast<int>(k)).Position;
    EXPECT_NEAR(row.RightAscension, expected[k].first, 2.0 / 3600) << k;
    EXPECT_NEAR(row.Declination, expected[k].second, 2.0 / 3600) << k;
  }
  // Cancel keeps the current file and computes nothing.
  s.Table.PreviousTableKind = 20;
  test::WhenModalShown<TSelectAsteroidDlg>([](TSelectAsteroidDlg& d) {
    EXPECT_EQ(d.List()->currentRow(), 0) << "the current file is selected";
    d.reject();
  });
  ASSERT_TRUE(menu.Trigger("PlanetoidenausDatenbank1"));
  EXPECT_EQ(s.Table.PreviousTableKind, 20);

  // Daily overview of the database: nothing chosen yet, so the list choice
  // comes first (everything chosen on its first run); one row per asteroid
  // at the period start, the first equal to the element table's first row.
  test::WhenModalShown<TAsteroidenwahldlg>([](TAsteroidenwahldlg& d) {
    EXPECT_EQ(d.DstList()->count(), 2);
    d.accept();
  });
  ASSERT_TRUE(menu.IsEnabled("PlanetoidenausDatenbank2"));
  ASSERT_TRUE(menu.Trigger("PlanetoidenausDatenbank2"));
  ASSERT_EQ(s.Objects.ChosenDatabaseAsteroids.size(), 2u);
  EXPECT_TRUE(messages_.messages.empty());
  ASSERT_GE(RowStore.Count(), 2);
  EXPECT_EQ(RowStore.Row(0).Name, "Ceres");
  EXPECT_EQ(RowStore.Row(1).Name, "Vesta");
  EXPECT_NEAR(RowStore.Row(0).Position.RightAscension, expected[0].first, 2.0 / 3600);
  EXPECT_NEAR(RowStore.Row(0).Position.Declination, expected[0].second, 2.0 / 3600);
  EXPECT_GT(form.Workbook().LastRow(), 2);
  bool vestaShown = false;
  for (int row = 1; row <= form.Workbook().LastRow(); ++row) {
    if (form.Workbook().Text(row, 1).find("Vesta") != std::string::npos) vestaShown = true;
  }
  EXPECT_TRUE(vestaShown);

  // Another database folder (empty): the kept lists and the choice are
  // emptied and the database items disabled.
  RecordingFolderChooser folders;
  FolderChooser* previousChooser = SetFolderChooser(&folders);
  fs::create_directories(home_.Path() / "empty");
  folders.QueueAnswer((home_.Path() / "empty").string());
  ASSERT_TRUE(menu.Trigger("Asteroidendatenbanken1"));
  EXPECT_EQ(form.StoredSettings().AsteroidFolder, (home_.Path() / "empty").string());
  EXPECT_TRUE(s.Objects.DatabaseFiles.empty());
  EXPECT_TRUE(s.Objects.ChosenDatabaseAsteroids.empty());
  EXPECT_EQ(s.Objects.DatabaseListChanged, 1);
  EXPECT_FALSE(menu.IsEnabled("PlanetoidenausDatenbank1"));
  std::vector<std::string> kept{"x"};
  ASSERT_TRUE(ReadSelectionList(s.DataFolder + "/" + kAsteroidChosenListFile, kept));
  EXPECT_TRUE(kept.empty());
  SetFolderChooser(previousChooser);
}

TEST_F(AsteroidDatabaseCommands, ListChoiceKeepsItsListsAndMovesInReverseOrder) {
  ScopedSettingsStore settings(store_);
  test::TempFolder data;
  std::string folder = (home_.Path() / "db").string();
  std::vector<std::string> files;
  for (int k = 1; k <= 8; ++k) files.push_back(home_.Write("db/a" + std::to_string(k) + ".eel", std::string(56, '\0')));
  std::uint8_t changed = 0;
  TAsteroidDatabaseContext context;
  context.DatabaseFolder = &folder;
  context.DatabaseFiles = &files;
  context.ListChanged = &changed;
  context.DataFolder = data.Path().string();

  // First run: everything chosen. Items 2, 5, 7 moved back arrive as 7, 5, 2.
  std::vector<std::string> chosen;
  test::WhenModalShown<TAsteroidenwahldlg>([&files](TAsteroidenwahldlg& d) {
    EXPECT_EQ(d.windowTitle(), "Select Asteroid");
    EXPECT_EQ(d.SrcList()->count(), 0);
    ASSERT_EQ(d.DstList()->count(), 8);
    EXPECT_FALSE(d.IncludeButton()->isEnabled());
    for (int row : {1, 4, 6}) d.DstList()->item(row)->setSelected(true);
    d.Exclude();
    ASSERT_EQ(d.SrcList()->count(), 3);
    EXPECT_EQ(d.SrcList()->item(0)->text().toStdString(), files[6]);
    EXPECT_EQ(d.SrcList()->item(1)->text().toStdString(), files[4]);
    EXPECT_EQ(d.SrcList()->item(2)->text().toStdString(), files[1]);
    EXPECT_EQ(d.DstList()->currentRow(), 1) << "the first moved index is selected again";
    d.DstSearch()->setText("a8");
    EXPECT_TRUE(d.DstList()->item(4)->isSelected());
    SavePng(d, "asteroid_list_choice");
    d.accept();
  });
  ASSERT_TRUE(SelectAsteroidsFromDatabase(context, chosen));
  EXPECT_EQ(chosen, (std::vector<std::string>{files[0], files[2], files[3], files[5], files[7]}));

  // The lists survive a reopen (cancelled: the result stays); "inspect
  // files" drops the paths whose files have gone.
  fs::remove(files[4]);
  fs::remove(files[0]);
  test::WhenModalShown<TAsteroidenwahldlg>([](TAsteroidenwahldlg& d) {
    EXPECT_EQ(d.SrcList()->count(), 3);
    EXPECT_EQ(d.DstList()->count(), 5);
    d.LoadLists(true);
    EXPECT_EQ(d.SrcList()->count(), 2);
    EXPECT_EQ(d.DstList()->count(), 4);
    d.reject();
  });
  EXPECT_FALSE(SelectAsteroidsFromDatabase(context, chosen));
  EXPECT_EQ(chosen.size(), 5u);
  std::vector<std::string> kept;
  ASSERT_TRUE(ReadSelectionList(data.File(kAsteroidChosenListFile), kept));
  EXPECT_EQ(kept.size(), 4u) << "saved on every close";

  // A changed database list starts anew: everything chosen again.
  changed = 1;
  test::WhenModalShown<TAsteroidenwahldlg>([](TAsteroidenwahldlg& d) {
    EXPECT_EQ(d.SrcList()->count(), 0);
    EXPECT_EQ(d.DstList()->count(), 8);
    d.accept();
  });
  ASSERT_TRUE(SelectAsteroidsFromDatabase(context, chosen));
  EXPECT_EQ(chosen.size(), 8u);
  EXPECT_EQ(changed, 0);
}

}  // namespace
}  // namespace kvx
