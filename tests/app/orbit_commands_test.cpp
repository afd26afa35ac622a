// The observation commands from the menu, offscreen: "&Gauss..." on a file
// of reference observations, then "Beobachtungen erfassen...", rows typed
// into the sheet, saved as ".txt" and ".obs" and shown again with
// "&Datei zeigen...".
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <filesystem>

#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "core/name_tables.h"
#include "orbitdet/ui/orbit_forms.h"
#include "orbitdet/ui/orbit_options_dialog.h"
#include "platform/globals.h"
#include "platform/qt/workbook_view.h"
#include "platform/settings_store.h"
#include "setup/ui/edit_controls.h"
#include "support/qt/main_form_test.h"
#include "support/qt/save_png.h"
#include "support/recording_file_dialog.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

const std::string kObservations = std::string(KVX_FIXTURE_DIR) + "/../../orbitdet/fixtures/mainbelt_mpc.txt";

class OrbitCommands : public test::MainFormTest {
 protected:
  test::RecordingFileDialog dialog_;
};

TEST_F(OrbitCommands, GaussFromAFileThenTypedRowsSavedAndShownAgain) {
  UseDefaultSeparators();
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ShowForm(form);
  ScopedMessageSink sink(messages_);
  ScopedFileDialog files(dialog_);
  TMenuCommands& commands = form.Commands();
  for (const char* item : {"Bahnbestimmung2", "Dateizeigen1", "Beobachtungenerfassen1", "Beobachtungenspeichern1"}) {
    EXPECT_TRUE(commands.IsEnabled(item)) << item;
  }
  workbook::TWorkbook& book = form.Workbook();

  // Ten observations: the table, then eight first orbits near a = 2.7 AU.
  dialog_.QueueAnswer(kObservations);
  commands.Trigger("Bahnbestimmung2");
  ASSERT_EQ(dialog_.requests.size(), 1u);
  EXPECT_EQ(dialog_.requests[0].request.title,
            ByLanguage("Datei mit beobachteten Örtern öffnen", "Load file with observed positions"));
  EXPECT_EQ(form.OrbitDetermination().Observations.size(), 10u);
  EXPECT_EQ(book.Text(1, 1), ByLanguage("Beobachtungen", "Observations"));
  EXPECT_EQ(book.Number(3, 1), 2025);
  EXPECT_EQ(book.Number(12, 1), 2025);
  // Row 13 is empty; then a title row and a value row per triple (a verdict
  // row where one applies).
  int orbits = 0;
  for (int row = 15; row <= book.LastRow(); ++row) {
    const double a = book.Number(row, 1);
    if (a == 0) continue;
    EXPECT_NEAR(a, 2.7, 0.027) << row;
    ++orbits;
  }
  EXPECT_EQ(orbits, 8);
  EXPECT_TRUE(form.isEnabled());
  test::SavePng(form, "main_window_gauss");

  // An empty observation table, three rows typed as a user would.
  commands.Trigger("Beobachtungenerfassen1");
  EXPECT_EQ(book.Text(1, 1), ByLanguage("Beobachtungen", "Observations"));
  EXPECT_EQ(book.Text(2, 5), "RA hh.mmssxx");
  EXPECT_EQ(book.LastRow(), 3);
  const double rows[3][9] = {{2025, 11, 20, 1.5, 3.1234, 20.3045, 17.1, 0, 0},
                             {2025, 11, 21, 2.25, 3.1010, -0.3000, 0, -10.3, 19.4512},
                             {2025, 11, 23, 0.125, 3.0544, 19.5959, 16.9, 204.3140, -0.0030}};
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 9; ++c) book.SetNumber(3 + r, c + 1, rows[r][c]);
  }
  test::SavePng(form, "main_window_observation_entry");
  for (const char* name : {"typed.txt", "typed.obs"}) {
    SCOPED_TRACE(name);
    dialog_.QueueAnswer(home_.File(name));
    commands.Trigger("Beobachtungenspeichern1");
    ASSERT_TRUE(std::filesystem::exists(home_.File(name)));
  }
  for (const char* name : {"typed.txt", "typed.obs"}) {
    SCOPED_TRACE(name);
    dialog_.QueueAnswer(home_.File(name));
    commands.Trigger("Dateizeigen1");
    EXPECT_EQ(book.Text(1, 1), ByLanguage("Beobachtungen", "Observations"));
    EXPECT_EQ(book.LastRow(), 5);
    for (int r = 0; r < 3; ++r) {
      for (int c = 0; c < 9; ++c) EXPECT_NEAR(book.Number(3 + r, c + 1), rows[r][c], 1e-9) << r << " " << c;
    }
  }
  test::SavePng(form, "main_window_observation_file");
  EXPECT_TRUE(messages_.messages.empty()) << messages_.messages.front().text;
}

// "&Vorgaben...": untouched values keep their full precision, the current
// JD button, a refused change rate keeps the dialog open, OK stores the 20
// bytes, Cancel changes nothing.
TEST_F(OrbitCommands, OptionsDialogFromTheMenuStoresItsTwentyBytes) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  form.show();
  ScopedMessageSink sink(messages_);
  TMenuCommands& commands = form.Commands();
  ASSERT_TRUE(commands.IsEnabled("Bahnberechnung1"));
  TOrbDetOptions start;
  start.JdForM = 2460000.123456789;
  start.ChangeRate = 0.123456;
  start.Method = 2;
  const auto startBytes = EncodeOrbDetOptions(start);
  std::copy(startBytes.begin(), startBytes.end(), form.HeldConfiguration().OrbitOptionsRaw.begin());

  // Cancel after an edit: nothing changes. OK untouched: bit-identical.
  for (bool ok : {false, true}) {
    test::WhenModalShown<TOrbdetoptionenform>([ok](TOrbdetoptionenform& dialog) {
      dialog.findChild<TFloatEdit*>("ChangeRate")->setText(ok ? dialog.findChild<TFloatEdit*>("ChangeRate")->text() : "5");
      auto* box = dialog.findChild<QDialogButtonBox*>();
      box->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
    });
    commands.Trigger("Bahnberechnung1");
    EXPECT_TRUE(std::equal(startBytes.begin(), startBytes.end(), form.HeldConfiguration().OrbitOptionsRaw.begin()));
  }

  // A rate of 0 is refused, then 2.5 and the current JD are taken.
  test::WhenModalShown<TOrbdetoptionenform>([](TOrbdetoptionenform& dialog) {
    test::SavePng(dialog, std::string("orbit_options_") + (LanguageEnglish ? "en" : "de"));
    // A caption with a mnemonic needs a buddy, else the "&" shows as text.
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
      if (label->text().contains('&')) {
        EXPECT_NE(label->buddy(), nullptr) << label->text().toStdString();
      }
    }
    auto* rate = dialog.findChild<TFloatEdit*>("ChangeRate");
    auto* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    rate->setText("0");
    ok->click();
    EXPECT_TRUE(dialog.isVisible());
    rate->setText("2.5");
    dialog.findChild<QPushButton*>("ActualJd")->click();
    ok->click();
  });
  commands.Trigger("Bahnberechnung1");
  ASSERT_EQ(messages_.messages.size(), 1u);
  const TOrbDetOptions now = DecodeOrbDetOptions(form.HeldConfiguration().OrbitOptionsRaw, 0);
  EXPECT_EQ(now.ChangeRate, 2.5);
  EXPECT_EQ(now.JdForM, form.State().Period.Start.Mjd + 2400000.5);
  EXPECT_EQ(now.Method, 2);
}

// "&Bahnverbesserung..." driven through its real dialogs: pick five,
// continue twice, close; the sheet then holds the element and state rows.
TEST_F(OrbitCommands, OrbitImprovementFromTheMenuWritesTheImprovedOrbit) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ShowForm(form);
  ScopedMessageSink sink(messages_);
  ScopedFileDialog files(dialog_);
  ASSERT_TRUE(form.Commands().IsEnabled("Laplace1"));
  dialog_.QueueAnswer(kObservations);
  int step = 0;
  std::vector<std::string> rms;
  QTimer driver;
  QObject::connect(&driver, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* select = qobject_cast<TSelectObservations*>(modal)) {
      // "5 Beobachtungen" takes the evenly spread five and closes with 1.
      EXPECT_EQ(select->List()->count(), 10);
      const std::vector<TChosenObservation> all = select->Current();
      if (step == 0) test::SavePng(*select, "orbit_selection");
      select->PickButton(5)->click();
      EXPECT_FALSE(select->isVisible());
      EXPECT_EQ(select->result(), 1);
      const std::vector<TChosenObservation> picked = select->Current();
      ASSERT_EQ(picked.size(), 5u);
      const std::size_t spread[5] = {0, 2, 4, 6, 9};
      for (std::size_t k = 0; k < 5; ++k) EXPECT_EQ(picked[k].JD, all[spread[k]].JD) << k;
    } else if (auto* residuals = qobject_cast<TResidualsForm*>(modal)) {
      if (step == 0) test::SavePng(*residuals, "orbit_residuals");
      // The second correction integrates with the planets.
      for (auto* method : residuals->findChildren<QRadioButton*>()) {
        if (!method->text().startsWith("St") && method->text() != "Perturbations") continue;
        if (step == 1) method->setChecked(true);
        if (step == 2) {
          EXPECT_TRUE(method->isChecked());
        }
      }
      const QString name = step++ < 2 ? "Continue" : "Close";
      residuals->findChild<QPushButton*>(name)->click();
    }
  });
  driver.start(20);
  form.Commands().Trigger("Laplace1");
  driver.stop();
  EXPECT_EQ(step, 3);
  EXPECT_TRUE(form.isEnabled());
  const TOrbitDeterminationState& state = form.OrbitDetermination();
  EXPECT_NEAR(state.OrbDet.Elements.E, 0.1, 1e-3);
  // Two corrections on places rounded to 0.01 s and 0.1" with the internal
  // solar series: a within 5e-3 AU.
  EXPECT_NEAR(state.OrbDet.Elements.Size, 2.7, 5e-3);
  bool found = false;
  for (int r = 1; r < 80 && !found; ++r) {
    for (int c = 1; c < 12 && !found; ++c) {
      const std::string text = form.Workbook().Text(r, c);
      found = text.rfind("2.69", 0) == 0 || text.rfind("2,69", 0) == 0 || text.rfind("2.70", 0) == 0 ||
              text.rfind("2,70", 0) == 0;
    }
  }
  EXPECT_TRUE(found);
  // Every written value fits its column: no "####" anywhere.
  workbook::TWorkbook& book = form.Workbook();
  ASSERT_NE(form.WorkbookView(), nullptr);
  for (int r = 1; r <= book.LastRow(); ++r) {
    for (int c = 1; c <= book.LastColForRow(r); ++c) {
      const QString shown = form.WorkbookView()->Canvas()->ShownText(r, c);
      EXPECT_FALSE(shown.startsWith('#')) << r << " " << c << " " << book.Text(r, c);
    }
  }
  test::SavePng(form, "orbit_improvement_sheet");
}

// "Statevektor erfassen...": seven columns or the message, a cell without a
// number refused with nothing changed, then the reduced form; its OK hands
// the vector (velocities in Gaussian units) and the epoch, a JD, over.
TEST_F(OrbitCommands, StateVectorFromTheSheetThroughTheReducedForm) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ShowForm(form);
  ScopedMessageSink sink(messages_);
  TMenuCommands& commands = form.Commands();
  ASSERT_TRUE(commands.IsEnabled("Saveasstatevector1"));
  workbook::TWorkbook& book = form.Workbook();
  const double row[7] = {2.1, -1.3, 0.4, 0.004, 0.009, -0.001, 2461000.5};
  for (int c = 0; c < 7; ++c) book.SetNumber(4, c + 2, row[c]);
  torbdet& od = form.OrbitDetermination().OrbDet;
  od.StateVector = {1, 1, 1, 0, 0, 0};
  od.Epoch = 2451545.0;

  book.SetSelection(4, 2, 4, 7);
  commands.Trigger("Saveasstatevector1");
  book.SetText(4, 4, "n/a");
  book.SetSelection(4, 2, 5, 8);
  commands.Trigger("Saveasstatevector1");
  ASSERT_EQ(messages_.messages.size(), 2u);
  EXPECT_EQ(messages_.messages[0].text, ByLanguage("Markieren Sie bitte genau 7 Spalten (x,y,z, vx, vy, vz, JED)",
                                                   "Exactly 7 colummns (x,y,z, vx, vy, vz, JED) must be selected"));
  EXPECT_EQ(messages_.messages[1].text, ByLanguage("Die markierten Zellen enthalten keinen gültigen State-Vektor.",
                                                   "The selected cells hold no valid state vector."));
  EXPECT_EQ(od.StateVector, (TStateVector{1, 1, 1, 0, 0, 0}));
  EXPECT_EQ(od.Epoch, 2451545.0);

  book.SetNumber(4, 4, row[2]);
  bool shown = false;
  test::WhenModalShown<TResidualsForm>([&](TResidualsForm& residuals) {
    shown = true;
    EXPECT_EQ(residuals.windowTitle(), ByLanguage("State vector aus Tabelle", "State vector from sheet"));
    test::SavePng(residuals, "state_vector_from_sheet");
    residuals.findChild<QPushButton*>("Ok")->click();
  });
  commands.Trigger("Saveasstatevector1");
  EXPECT_TRUE(shown);
  EXPECT_EQ(od.Epoch, 2461000.5);
  EXPECT_EQ(od.StateVector[0], 2.1);
  EXPECT_NEAR(od.StateVector[4], 0.009 / kGaussK, 1e-15);
  EXPECT_EQ(messages_.messages.size(), 2u);
}

}  // namespace
}  // namespace kvx
