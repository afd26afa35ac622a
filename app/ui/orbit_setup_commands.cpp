#include "app/ui/orbit_setup_commands.h"

#include <QMainWindow>
#include <algorithm>

#include "app/config_file.h"
#include "app/main_form_state.h"
#include "app/settings_io.h"
#include "app/state_vector_sheet.h"
#include "app/ui/command_host.h"
#include "app/ui/menu_commands.h"
#include "engine/nbody_integrator.h"
#include "orbitdet/start_values_file.h"
#include "orbitdet/ui/file_browser.h"
#include "orbitdet/ui/integration_dialogs.h"
#include "orbitdet/ui/start_values_dialog.h"
#include "platform/file_dialog.h"
#include "platform/globals.h"
#include "platform/messages.h"

namespace kvx {

namespace {

inline constexpr const char* kStartValuesFileName = "14Körper1997.csv";

std::string& StartValuesFileName(TCommandHost& form) { return form.HeldConfiguration().Paths[kPathStartValues]; }

bool Adams(const TComputingSettings& computing) { return computing.IntegratorChoice != 0; }

void ClampCentreBody(TIntegrationSetup& setup) {
  if (setup.CentreBody > setup.N) setup.CentreBody = static_cast<std::uint8_t>(std::max(1, setup.N));
}

}  // namespace

void LoadStartValuesAtStartup(TCommandHost& form) {
  std::string& name = StartValuesFileName(form);
  if (name.empty()) name = form.DataFolder() + "/" + kStartValuesFileName;
  if (!IsStartValuesFile(name)) return;
  TIntegrationSetup& setup = form.Integrator().Setup;
  if (!ReadStartValuesFile(name, setup)) return;
  CopyStartToWorking(setup);
  ClampCentreBody(setup);
}

void Konfigurieren1Click(TCommandHost& form) {
  form.Repaint();
  ShowStartValuesDialog(StartValuesFileName(form), form.Integrator().Setup, Adams(form.Computing()), &form.Window());
}

void Ausgabeformatieren1Click(TCommandHost& form) {
  ShowIntegrationOutputDialog(form.Integrator().Setup, Adams(form.Computing()), &form.Window());
}

void Rechengenauigkeit1Click(TCommandHost& form) {
  TComputingSettings& state = form.Computing();
  TTheorySelection selection = form.Selection();
  bool neverVsop = selection.bytes[2] != 0;
  long double tolerance = state.Accuracy.IntegrationTolerance;
  bool adams = state.IntegratorChoice != 0;
  std::uint8_t digits = state.AccuracyDigits;
  if (!ShowIntegrationPrecisionDialog(selection, neverVsop, tolerance, adams, digits, &form.Window())) return;
  state.IntegratorChoice = adams ? 1 : 0;
  SetIntegrationTolerance(state, tolerance);
  selection.bytes[2] = neverVsop ? 1 : 0;
  form.SetTheorySelection(selection);
  state.AccuracyDigits = digits;
  form.UpdateStatusLine();
}

void Dateiffnen2Click(TCommandHost& form) {
  std::string& name = StartValuesFileName(form);
  const std::optional<std::string> path = AskOpenFileName({StartValuesOpenTitle(), {StartValuesFilter()}, name, "csv"});
  if (!path) return;
  if (!IsStartValuesFile(*path)) {
    ShowMessage("Dies ist keine *.csv-Datei mit Startwerten für eine numerische Integration",
                "This i no *.csv-file with starting values for a numeric integration", MessageIcon::Error,
                MessageButtons::Ok, ByLanguage("Fehlerhaftes Dateiformat", "Invalide file format"));
    return;
  }
  TIntegrationSetup& setup = form.Integrator().Setup;
  if (!ReadStartValuesFile(*path, setup)) return;
  CopyStartToWorking(setup);
  ClampCentreBody(setup);
  name = *path;
}

void Dateispeichernunter2Click(TCommandHost& form) {
  TIntegrationSetup& setup = form.Integrator().Setup;
  const std::optional<std::string> path = AskSaveFileName({StartValuesSaveTitle(), {StartValuesFilter()}, {}, "csv"});
  if (!path) return;
  // An unusable set-up is not written.
  TIntegrationSetup trial = setup;
  CopyStartToWorking(trial);
  if (!ValidateIntegrationSetup(trial)) return;
  if (!WriteStartValuesFile(*path, setup)) return;
  CopyStartToWorking(setup);
  StartValuesFileName(form) = *path;
}

void StatusvektorausTabellelesen1Click(TCommandHost& form) {
  form.Repaint();
  TIntegrationSetup& setup = form.Integrator().Setup;
  if (!ReadStateVectorFromSheet(form.Workbook(), setup)) {
    ShowNoStateVectorMessage();
    return;
  }
  // The vectors read are the new start values.
  setup.StartValues = setup.WorkingState;
  setup.StartJD = setup.JD;
  ClampCentreBody(setup);
  Konfigurieren1Click(form);
}

void Browser1Click(TCommandHost& form) {
  std::string& name = form.HeldConfiguration().Paths[kPathBrowser];
  TWindowSettings& window = form.StoredSettings().Window;
  TBrowserBounds bounds{window.BrowserX, window.BrowserY, window.BrowserW, window.BrowserH};
  ShowFileBrowser(form.DataFolder(), name, bounds, &form.Window());
  window.BrowserX = bounds.X;
  window.BrowserY = bounds.Y;
  window.BrowserW = bounds.W;
  window.BrowserH = bounds.H;
}

void InstallOrbitSetupCommands(TCommandHost& form) {
  form.Commands().RegisterEnabled({
      {"Konfigurieren1", [&form] { Konfigurieren1Click(form); }},
      {"Ausgabeformatieren1", [&form] { Ausgabeformatieren1Click(form); }},
      {"Rechengenauigkeit1", [&form] { Rechengenauigkeit1Click(form); }},
      {"Dateiffnen2", [&form] { Dateiffnen2Click(form); }},
      {"Dateispeichernunter2", [&form] { Dateispeichernunter2Click(form); }},
      {"StatusvektorausTabellelesen1", [&form] { StatusvektorausTabellelesen1Click(form); }},
      {"Browser1", [&form] { Browser1Click(form); }},
  });
}

}  // namespace kvx
