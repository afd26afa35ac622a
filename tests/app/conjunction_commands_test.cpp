// The conjunction commands from the menu, offscreen: Shift+F3 with Jupiter
// and Saturn over the period into the kind-86 table; "Winkelabstände..."
// computed and stopped after three rows; the dialog's activation rules
// (limit, star number, objects, filter label); pictures of both modes in
// both languages and of the table.
#include "app/ui/conjunction_commands.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/status_line.h"
#include "app/ui/asteroid_selection_dialogs.h"
#include "app/ui/event_found.h"
#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "core/asteroid_database.h"
#include "core/name_tables.h"
#include "events/ui/conjunction_dialog.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/progress.h"
#include "platform/settings_store.h"
#include "support/qt/main_form_test.h"
#include "support/qt/save_png.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

template <typename T>
T* Child(QWidget& parent, const char* name) {
  T* child = parent.findChild<T*>(name);
  EXPECT_NE(child, nullptr) << name;
  return child;
}

// Presses the dialog's stop button at the third row.
class StoppingProgress : public ProgressReporter {
 public:
  std::function<void()> press;
  void Begin(const std::string&, int steps) override { total = steps; }
  void Step(int position) override {
    if (position == 3 && press) press();
  }
  void ProcessEvents() override {}
  void SetLabel(const std::string&) override {}
  void End() override {}
  bool Visible() const override { return true; }
  int total = 0;
};

class ConjunctionCommands : public test::MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    LanguageEnglish = 1;
  }
  void TearDown() override { AbortRequested = 0; }
};

void SetDate(TObserverRecord& r, int day, int month, int year) {
  r.Day = day;
  r.Month = month;
  r.Year = year;
  r.LocalHours = 0;
  r.Latitude = 50;
  r.Longitude = -10;
  r.Zone = 1;
  r.DaylightHours = 0;
  LocalTimeToUT(r);
}

TEST_F(ConjunctionCommands, SearchAndSeparationTableFromTheMenu) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ShowForm(form);
  ScopedMessageSink sink(messages_);
  TMenuCommands& commands = form.Commands();
  TMainFormState& state = form.State();
  ASSERT_TRUE(commands.IsEnabled("Kionjunktionen1"));
  ASSERT_TRUE(commands.IsEnabled("Winkelabstnde1"));
  EXPECT_EQ(commands.Action("Kionjunktionen1")->shortcut(), QKeySequence("Shift+F3"));
  form.SetTheorySelection(TTheorySelection{});  // the internal series: no slow question
  SetDate(state.Period.Start, 1, 11, 2020);
  SetDate(state.Period.End, 1, 1, 2021);
  state.Period.AutoEnd = 0;
  state.Table.PlaceConfirmed = 1;
  form.HeldConfiguration().SeparationLimit = 360;  // the first start's value
  form.HeldConfiguration().ConjunctionStar = 1000000;

  // Jupiter and Saturn in right ascension over the period, into the table.
  int rows = -1;
  test::WhenModalShown<TKonjunktionsuchen>([&](TKonjunktionsuchen& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Find conjunctions");
    EXPECT_EQ(dialog.LimitEdit()->text(), "40");
    EXPECT_FALSE(dialog.FilterLabel()->isVisible());
    EXPECT_FALSE(dialog.StarLabel()->text().isEmpty());  // the last star of the catalogue
    dialog.FirstRadio(4)->setChecked(true);
    dialog.SecondRadio(5)->setChecked(true);
    Child<QRadioButton>(dialog, "Kind0")->click();
    Child<QCheckBox>(dialog, "TableCheck")->setChecked(true);
    Child<QCheckBox>(dialog, "PeriodCheck")->setChecked(true);
    dialog.StartClick();
    rows = dialog.Results()->count();
    test::SavePng(dialog, "conjunction_dialog_search_en");
    Child<QPushButton>(dialog, "CloseButton")->click();
  });
  commands.Trigger("Kionjunktionen1");
  EXPECT_EQ(rows, 1);
  ASSERT_EQ(form.Events().Count(), 1);
  EXPECT_EQ(state.Table.PreviousTableKind, 86);
  workbook::TWorkbook& book = form.Workbook();
  EXPECT_EQ(book.Text(1, 1), state.Period.TableConfig.ColumnTitles[161]);
  EXPECT_EQ(book.Text(2, 1), "Jupiter");
  EXPECT_EQ(book.Text(2, 2), "Saturn");
  EXPECT_EQ(book.Text(2, 3).substr(0, 2), "21");
  EXPECT_NE(book.Text(2, book.LastCol()).find("Conjunction in RA"), std::string::npos);
  test::SavePng(form, "conjunction_table_en");
  const TConjunctionOptions kept = form.HeldConfiguration().ConjunctionOptions;
  EXPECT_EQ(kept.FirstObject, 4);
  EXPECT_EQ(kept.SecondObject, 5);
  EXPECT_DOUBLE_EQ(form.HeldConfiguration().SeparationLimit, 40);

  // Without the period: "Datum weiterverwenden" in the event-found window,
  // then "Schließen und Datum weiterverwenden": the main window's start is
  // the conjunction's instant, and its date panel says so.
  const double conjunction = form.Events().At(0).Mjd();
  bool offered = false, offeredBefore = true;
  std::vector<std::string> shownLines;
  test::WhenModalShown<TKonjunktionsuchen>([&](TKonjunktionsuchen& dialog) {
    Child<QCheckBox>(dialog, "TableCheck")->setChecked(false);
    Child<QCheckBox>(dialog, "PeriodCheck")->setChecked(false);
    offeredBefore = Child<QPushButton>(dialog, "UseDateButton")->isEnabled();
    test::WhenModalAppears<TEreignisgefundenForm>([&](TEreignisgefundenForm& found) {
      shownLines = {found.Label(101)->text().toStdString(), found.Label(100)->text().toStdString(),
                    found.Label(102)->text().toStdString(), found.Label(103)->text().toStdString(),
                    found.Label(104)->text().toStdString()};
      test::SavePng(found, "conjunction_found_en");
      found.UseDateButton()->click();
    });
    dialog.StartClick();
    offered = Child<QPushButton>(dialog, "UseDateButton")->isEnabled();
    Child<QPushButton>(dialog, "UseDateButton")->click();
  });
  commands.Trigger("Kionjunktionen1");
  EXPECT_FALSE(offeredBefore);
  EXPECT_TRUE(offered);
  // The found window: heading, second object, the date once, the separation,
  // the side.
  ASSERT_EQ(shownLines.size(), 5u);
  EXPECT_EQ(shownLines[0], "Conjunction between Jupiter");
  EXPECT_EQ(shownLines[1], "and Saturn");
  EXPECT_NE(shownLines[2], shownLines[4]) << "the date stands once";
  EXPECT_NE(shownLines[3].find("°"), std::string::npos) << shownLines[3];
  EXPECT_EQ(shownLines[4].rfind("Jupiter ", 0), 0u) << shownLines[4];
  EXPECT_NEAR(state.Period.Start.Mjd, conjunction, 2.0 / 86400);
  EXPECT_EQ(state.Period.Start.Day, 21);
  EXPECT_EQ(state.Period.Start.Month, 12);
  EXPECT_EQ(form.Panel("Datumpanel")->text().toStdString(),
            DatePanelText(state.Period.Start, state.Period.ApparentSiderealTime));
  SetDate(state.Period.Start, 1, 11, 2020);
  state.Searches.ResultsIntoTable = 1;

  // "Winkelabstände...", in German: Compute, then Stop after three rows.
  form.SetLanguage(0);
  SetDate(state.Period.End, 2, 11, 2020);
  state.Period.Step.StepDays = 1.0 / 24;
  StoppingProgress progress;
  ProgressReporter* previous = SetProgressReporter(&progress);
  QString captionWhileRunning;
  test::WhenModalShown<TKonjunktionsuchen>([&](TKonjunktionsuchen& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Winkelabstände berechnen"));
    EXPECT_EQ(dialog.StartButton()->text(), "&Berechnen");
    progress.press = [&dialog, &captionWhileRunning] {
      captionWhileRunning = dialog.StartButton()->text();
      dialog.StartButton()->click();
    };
    dialog.StartClick();
    EXPECT_EQ(dialog.Results()->count(), 3);
    EXPECT_EQ(dialog.StartButton()->text(), "&Berechnen");
    test::SavePng(dialog, "conjunction_dialog_separation_de");
    Child<QPushButton>(dialog, "CloseButton")->click();
  });
  commands.Trigger("Winkelabstnde1");
  SetProgressReporter(previous);
  EXPECT_EQ(captionWhileRunning, "&Berechnung anhalten");
  EXPECT_EQ(progress.total, 25);
  EXPECT_EQ(form.Events().Count(), 3);
  EXPECT_EQ(book.LastRow(), 4);
  EXPECT_EQ(book.Text(2, book.LastCol()), "Konjunktion in RA");
  test::SavePng(form, "separation_table_de");

  // The other two pictures; a filter shows its label; cancel keeps nothing.
  state.Computing.NumericOptions.ConjunctionMaxSunAltitude = -6;
  test::WhenModalShown<TKonjunktionsuchen>([&](TKonjunktionsuchen& dialog) {
    EXPECT_TRUE(dialog.FilterLabel()->isVisibleTo(&dialog));
    EXPECT_TRUE(Child<QPushButton>(dialog, "HelpButton")->isVisible());
    test::SavePng(dialog, "conjunction_dialog_search_de");
    Child<QPushButton>(dialog, "CancelButton")->click();
  });
  commands.Trigger("Kionjunktionen1");
  form.SetLanguage(1);
  // A user catalogue without a chosen object: the picker's button, not the radio.
  form.UserObjects().Add(std::make_unique<tuserobject>("Vega", 18.3656f, 38.4701f, 0.01726f, 0.2863f, 2000.0f, 0.03f));
  test::WhenModalShown<TKonjunktionsuchen>([&](TKonjunktionsuchen& dialog) {
    EXPECT_TRUE(Child<QPushButton>(dialog, "UserCatalogueButton")->isEnabled());
    EXPECT_FALSE(dialog.FirstRadio(13)->isEnabled());
    EXPECT_FALSE(Child<QPushButton>(dialog, "HelpButton")->isVisibleTo(&dialog));  // no English help
    test::SavePng(dialog, "conjunction_dialog_separation_en");
    // Mercury against Mercury is refused.
    dialog.FirstRadio(1)->setChecked(true);
    dialog.SecondRadio(1)->setChecked(true);
    dialog.StartClick();
    Child<QPushButton>(dialog, "CancelButton")->click();
  });
  messages_.messages.clear();
  commands.Trigger("Winkelabstnde1");
  ASSERT_FALSE(messages_.messages.empty());
  EXPECT_EQ(messages_.messages.back().text, "Please select two different objects!");
  EXPECT_EQ(form.Events().Count(), 0);

  // A user object chosen in the main window is the dialog's at once.
  state.Objects.UserObjectIndex = 0;
  test::WhenModalShown<TKonjunktionsuchen>([&](TKonjunktionsuchen& dialog) {
    EXPECT_TRUE(dialog.FirstRadio(13)->isEnabled());
    EXPECT_EQ(Child<QLabel>(dialog, "UserObjectName")->text(), "Vega");
    Child<QPushButton>(dialog, "CancelButton")->click();
  });
  commands.Trigger("Kionjunktionen1");
}

// "Keplerelemente verwenden" unticked: the asteroid of the binary database,
// chosen in the dialog, meets the Moon when the same orbit given by its
// elements does: within 2 minutes and 2" (the tolerances of the search
// tests; the database keeps the elements as 4-byte floats).
TEST_F(ConjunctionCommands, DatabaseAsteroidFindsWhatItsElementsFind) {
  const std::string folder = (home_.Path() / "db").string();
  std::filesystem::create_directories(folder);
  store_.WriteString("Data", "AsteroidFolder", folder);
  // One two-body orbit: its elements, and every 10 days the same orbit with
  // the mean anomaly carried on.
  const TAsteroidElements ceres{2.7675,  0.0785, 10.58,     80.49, 73.92, 100.0,
                                0.21408, 2000,   2459155.5, 3.34,  0.12,  "Ceres"};
  TEelHeader header;
  header.First = 2459105.5;
  header.Step = 10;
  header.Equinox = 2000;
  header.H100 = 334;
  header.G100 = 12;
  header.Name = "Ceres";
  std::vector<TEelRecord> records;
  for (int k = 0; k <= 12; ++k) {
    const double epoch = header.First + 10.0 * k;
    const double m = std::fmod(ceres.MeanAnomaly + ceres.MeanMotion * (epoch - ceres.Epoch) + 3600.0, 360.0);
    records.push_back({static_cast<float>(ceres.SemiMajorAxis), static_cast<float>(ceres.Eccentricity),
                       static_cast<float>(ceres.Inclination), static_cast<float>(ceres.MeanMotion),
                       static_cast<float>(ceres.Node), static_cast<float>(ceres.Perihelion), static_cast<float>(m),
                       static_cast<std::int32_t>(epoch * 10)});
  }
  header.Last = header.First + 10.0 * 12;
  ASSERT_TRUE(WriteEelFile(folder + "/Ceres.eel", header, records));

  ScopedSettingsStore settings(store_);
  TMainForm form;
  ShowForm(form);
  ScopedMessageSink sink(messages_);
  TMainFormState& state = form.State();
  form.SetTheorySelection(TTheorySelection{});
  SetDate(state.Period.Start, 1, 11, 2020);
  SetDate(state.Period.End, 1, 12, 2020);
  state.Period.AutoEnd = 0;
  state.Table.PlaceConfirmed = 1;
  state.Objects.CurrentAsteroid = ceres;
  state.Objects.AsteroidDatabase = 0;
  ASSERT_EQ(state.Objects.DatabaseFiles.size(), 1u);

  // Moon and asteroid over the period into the list; `kepler` chooses the road.
  auto search = [&](bool kepler) {
    test::WhenModalShown<TKonjunktionsuchen>([&](TKonjunktionsuchen& dialog) {
      dialog.KeplerCheck()->setChecked(kepler);
      if (!kepler) {
        EXPECT_FALSE(dialog.FirstRadio(10)->isEnabled()) << "no database asteroid chosen yet";
        test::WhenModalShown<TSelectAsteroidDlg>([](TSelectAsteroidDlg& choice) {
          choice.List()->setCurrentRow(0);
          choice.OkButton()->click();
        });
        Child<QPushButton>(dialog, "AsteroidButton")->click();
      }
      ASSERT_TRUE(dialog.FirstRadio(10)->isEnabled());
      dialog.FirstRadio(10)->setChecked(true);
      dialog.SecondRadio(9)->setChecked(true);
      Child<QRadioButton>(dialog, "Kind0")->click();
      Child<QCheckBox>(dialog, "TableCheck")->setChecked(true);
      Child<QCheckBox>(dialog, "PeriodCheck")->setChecked(true);
      dialog.StartClick();
      if (!kepler) test::SavePng(dialog, "conjunction_dialog_database_en");
      Child<QPushButton>(dialog, "CloseButton")->click();
    });
    form.Commands().Trigger("Kionjunktionen1");
    std::vector<std::pair<double, double>> found;
    for (int k = 0; k < form.Events().Count(); ++k) {
      found.emplace_back(form.Events().At(k).Mjd(), form.Events().At(k).Separation());
      EXPECT_EQ(form.Events().At(k).ObjectName(), "Ceres");
    }
    return found;
  };
  const auto elements = search(true);
  const auto database = search(false);
  for (const RecordedMessage& m : messages_.messages) {
    EXPECT_NE(m.icon, MessageIcon::Error) << m.text;  // such as "Die Datei  kann nicht gelesen werden."
  }
  EXPECT_EQ(state.Objects.CurrentDatabaseAsteroid, folder + "/Ceres.eel");
  EXPECT_EQ(state.Objects.AsteroidDatabase, 1);
  ASSERT_GE(elements.size(), 1u);
  ASSERT_EQ(database.size(), elements.size());
  for (std::size_t k = 0; k < elements.size(); ++k) {
    EXPECT_NEAR(database[k].first, elements[k].first, 2.0 / 1440) << k;
    EXPECT_NEAR(database[k].second, elements[k].second, 2.0 / 3600) << k;
  }
}

}  // namespace
}  // namespace kvx
