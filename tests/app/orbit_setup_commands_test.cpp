// The integration set-up commands from the menu, offscreen: the start values
// loaded at start-up (and a damaged file's one message), "&Rechenverfahren..."
// into the status line, the start-values and output dialogs applied, start-
// values files opened and saved, and the state vectors read from the sheet
// then integrated with F11.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <filesystem>

#include "app/main_form_state.h"
#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "core/name_tables.h"
#include "engine/nbody_integrator.h"
#include "orbitdet/integration_accuracy.h"
#include "orbitdet/start_values_file.h"
#include "orbitdet/ui/file_browser.h"
#include "orbitdet/ui/integration_dialogs.h"
#include "orbitdet/ui/start_values_dialog.h"
#include "platform/globals.h"
#include "platform/safe_file_write.h"
#include "platform/settings_store.h"
#include "support/qt/main_form_test.h"
#include "support/recording_file_dialog.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

namespace fs = std::filesystem;

class OrbitSetupCommands : public test::MainFormTest {
 protected:
  std::string DataFolder() const { return (home_.Path() / "data" / "kandrevoltinex").string(); }
  test::RecordingFileDialog files_;
};

TEST_F(OrbitSetupCommands, StartUpLoadsTheStartValuesAndADamagedFileKeepsTheDefaults) {
  const TIntegrationSetupBytes defaults = EncodeIntegrationSetup(DefaultIntegrationSetup());
  {
    ScopedSettingsStore settings(store_);
    TMainForm form;
    ScopedMessageSink sink(messages_);
    form.show();
    QApplication::processEvents();
    EXPECT_TRUE(fs::exists(fs::path(DataFolder()) / "14Körper1997.csv"));
    EXPECT_EQ(form.HeldConfiguration().Paths[kPathStartValues], DataFolder() + "/14Körper1997.csv");
    EXPECT_EQ(EncodeIntegrationSetup(form.Integrator().Setup), defaults);
    EXPECT_TRUE(messages_.messages.empty());
  }
  ASSERT_TRUE(WriteFileReplacing(DataFolder() + "/14Körper1997.csv",
                                 std::string(kStartValuesHeader) + "\r\nSonne;0;0;0;0;0;0;eins;2451545;2450600.5\r\n"));
  ScopedSettingsStore settings(store_);
  TMainForm form;
  ScopedMessageSink sink(messages_);
  form.show();
  QApplication::processEvents();
  ASSERT_EQ(messages_.messages.size(), 1u);
  EXPECT_EQ(messages_.messages[0].text,
            ByLanguage("Datei 14Körper1997.csv, Zeile 2: Feld \"1/m\" ist keine gültige Zahl.",
                       "File 14Körper1997.csv, line 2: field \"1/m\" is not a valid number."));
  EXPECT_EQ(EncodeIntegrationSetup(form.Integrator().Setup), defaults);
}

TEST_F(OrbitSetupCommands, DialogsFilesAndTheSheetFromTheMenu) {
  ScopedSettingsStore settings(store_);
  TMainForm form;
  form.show();
  QApplication::processEvents();
  ScopedMessageSink sink(messages_);
  ScopedFileDialog dialogs(files_);
  TMenuCommands& commands = form.Commands();
  for (const char* item : {"Konfigurieren1", "Ausgabeformatieren1", "Rechengenauigkeit1", "Dateiffnen2",
                           "Dateispeichernunter2", "StatusvektorausTabellelesen1", "Browser1"}) {
    EXPECT_TRUE(commands.IsEnabled(item)) << item;
  }

  // Alt+F11: Runge-Kutta, 14 digits, all planets; the status line shows 14.
  test::WhenModalShown<TRechengenauigkeit>([](TRechengenauigkeit& d) {
    d.findChild<QSpinBox*>("SpinEdit1")->setValue(14);
    d.AllPlanets();
    d.findChild<QPushButton*>("OK")->click();
  });
  ASSERT_NE(commands.Action("Rechenverfahren1"), nullptr);
  EXPECT_TRUE(commands.Action("Rechenverfahren1")->isEnabled());
  commands.Action("Rechenverfahren1")->trigger();
  EXPECT_EQ(form.State().Computing.AccuracyDigits, 14);
  EXPECT_EQ(form.State().Computing.Accuracy.IntegrationTolerance, 1e-14L);
  EXPECT_EQ(form.State().Computing.IntegratorChoice, 0);
  EXPECT_EQ(form.Panel("Panel5")->text().toStdString().find("14") != std::string::npos, true)
      << form.Panel("Panel5")->text().toStdString();
  for (int d = 8; d <= 17; ++d) EXPECT_EQ(DigitsFromTolerance(DigitsToTolerance(static_cast<std::uint8_t>(d))), d);

  // Shift+F11: 20 repetitions; Ctrl+F11: a step of 2 d in the set-up is kept,
  // a name changed.
  test::WhenModalShown<TrkAusgkfFrm>([](TrkAusgkfFrm& d) {
    d.findChild<QSpinBox*>("spitera")->setValue(20);
    d.findChild<QPushButton*>("OK")->click();
  });
  commands.Trigger("Ausgabeformatieren1");
  EXPECT_EQ(form.Integrator().Setup.Repetitions, 20);
  test::WhenModalShown<TRKAnfgFrm>([](TRKAnfgFrm& d) {
    d.findChild<QLineEdit*>("Edit10")->setText("Pluto-Charon");
    d.findChild<QPushButton*>("OK")->click();
  });
  commands.Trigger("Konfigurieren1");
  EXPECT_EQ(form.Integrator().Setup.Names[9], "Pluto-Charon");

  // Save as, then open: the file name follows; a foreign file is refused.
  const std::string saved = (home_.Path() / "mine.csv").string();
  files_.QueueAnswer(saved);
  commands.Trigger("Dateispeichernunter2");
  EXPECT_EQ(form.HeldConfiguration().Paths[kPathStartValues], saved);
  EXPECT_TRUE(IsStartValuesFile(saved));
  form.Integrator().Setup.Names[9] = "changed";
  files_.QueueAnswer(saved);
  commands.Trigger("Dateiffnen2");
  EXPECT_EQ(form.Integrator().Setup.Names[9], "Pluto-Charon");
  EXPECT_EQ(files_.requests.back().request.start, saved);
  const std::string foreign = (home_.Path() / "foreign.csv").string();
  ASSERT_TRUE(WriteFileReplacing(foreign, "a;b;c\n"));
  files_.QueueAnswer(foreign);
  commands.Trigger("Dateiffnen2");
  ASSERT_EQ(messages_.messages.size(), 1u);
  EXPECT_EQ(messages_.messages[0].caption, ByLanguage("Fehlerhaftes Dateiformat", "Invalide file format"));
  EXPECT_EQ(form.HeldConfiguration().Paths[kPathStartValues], saved);

  // The state vectors written into the sheet, one moved, read back, then F11.
  truKu& ku = form.Integrator();
  ku.sg = &form.Workbook();
  ku.WorkbookView = 1;
  ku.WriteStateVectors(form.State().Period.TableConfig, 1, 0, LanguageEnglish);
  form.Workbook().SetNumber(6, 2, 1.5);  // body 4 (row 3 + 3), x
  ku.Setup = DefaultIntegrationSetup();
  test::WhenModalShown<TRKAnfgFrm>([](TRKAnfgFrm& d) {
    EXPECT_EQ(d.findChild<QLineEdit*>("Edit4")->text(), ByLanguage("Erde", "Earth"));
    d.findChild<QPushButton*>("OK")->click();
  });
  commands.Trigger("StatusvektorausTabellelesen1");
  EXPECT_EQ(ku.Setup.StartValues[3][0], 1.5L);
  EXPECT_EQ(ku.Setup.WorkingState[3][0], 1.5L);
  EXPECT_EQ(ku.Setup.Names[9], "Pluto-Charon");
  commands.Trigger("NumerischeIntegration1");
  EXPECT_GT(form.Workbook().LastRow(), 2);
  EXPECT_NE(ku.Setup.JD, ku.Setup.StartJD);
  EXPECT_EQ(messages_.messages.size(), 1u);

  // F12: the browser on the file browsed last; closing keeps it.
  form.HeldConfiguration().Paths[kPathBrowser] = saved;
  test::WhenModalShown<TBrowserForm>([saved](TBrowserForm& b) {
    EXPECT_EQ(b.FileName(), saved);
    EXPECT_TRUE(b.ShowFile());
    EXPECT_TRUE(b.Viewer()->toPlainText().startsWith(":name;x;y;z"));
    b.findChild<QPushButton*>("Close")->click();
  });
  commands.Trigger("Browser1");
  EXPECT_EQ(form.HeldConfiguration().Paths[kPathBrowser], saved);
}

}  // namespace
}  // namespace kvx
