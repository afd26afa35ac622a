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

std::string& StartValuesFileName(TConfigurationAccess& configuration) {
  return configuration.HeldConfiguration().Paths[kPathStartValues];
}

bool Adams(const TComputingSettings& computing) { return computing.IntegratorChoice != 0; }

void ClampCentreBody(TIntegrationSetup& setup) {
  if (setup.CentreBody > setup.N) setup.CentreBody = static_cast<std::uint8_t>(std::max(1, setup.N));
}

}  // namespace

void LoadStartValuesAtStartup(TCommandHost& host) {
  std::string& name = StartValuesFileName(host);
  if (name.empty()) name = host.DataFolder() + "/" + kStartValuesFileName;
  if (!IsStartValuesFile(name)) return;
  TIntegrationSetup& setup = host.Integrator().Setup;
  if (!ReadStartValuesFile(name, setup, &host.Integrator().StartValuesRead)) return;
  CopyStartToWorking(setup);
  ClampCentreBody(setup);
}

void Konfigurieren1Click(TCommandHost& host) {
  host.Repaint();
  ShowStartValuesDialog(StartValuesFileName(host), host.Integrator().StartValuesRead, host.Integrator().Setup,
                        Adams(host.Computing()), &host.Window());
}

void Ausgabeformatieren1Click(TCommandHost& host) {
  ShowIntegrationOutputDialog(host.Integrator().Setup, Adams(host.Computing()), &host.Window());
}

void Rechengenauigkeit1Click(TCommandHost& host) {
  TComputingSettings& state = host.Computing();
  TTheorySelection selection = host.Selection();
  bool neverVsop = selection.bytes[2] != 0;
  long double tolerance = state.Accuracy.IntegrationTolerance;
  bool adams = state.IntegratorChoice != 0;
  std::uint8_t digits = state.AccuracyDigits;
  if (!ShowIntegrationPrecisionDialog(selection, neverVsop, tolerance, adams, digits, &host.Window())) return;
  state.IntegratorChoice = adams ? 1 : 0;
  SetIntegrationTolerance(state, tolerance);
  selection.bytes[2] = neverVsop ? 1 : 0;
  host.SetTheorySelection(selection);
  state.AccuracyDigits = digits;
  host.UpdateStatusLine();
}

void Dateiffnen2Click(TCommandHost& host) {
  std::string& name = StartValuesFileName(host);
  const std::optional<std::string> path = AskOpenFileName({StartValuesOpenTitle(), {StartValuesFilter()}, name, "csv"});
  if (!path) return;
  if (!IsStartValuesFile(*path)) {
    ShowMessage("Dies ist keine *.csv-Datei mit Startwerten für eine numerische Integration",
                "This i no *.csv-file with starting values for a numeric integration", MessageIcon::Error,
                MessageButtons::Ok, ByLanguage("Fehlerhaftes Dateiformat", "Invalide file format"));
    return;
  }
  TIntegrationSetup& setup = host.Integrator().Setup;
  if (!ReadStartValuesFile(*path, setup, &host.Integrator().StartValuesRead)) return;
  CopyStartToWorking(setup);
  ClampCentreBody(setup);
  name = *path;
}

void Dateispeichernunter2Click(TCommandHost& host) {
  TIntegrationSetup& setup = host.Integrator().Setup;
  const std::optional<std::string> path = AskSaveFileName({StartValuesSaveTitle(), {StartValuesFilter()}, {}, "csv"});
  if (!path) return;
  // An unusable set-up is not written.
  TIntegrationSetup trial = setup;
  CopyStartToWorking(trial);
  if (!ValidateIntegrationSetup(trial)) return;
  if (!WriteStartValuesFile(*path, setup, &host.Integrator().StartValuesRead)) return;
  CopyStartToWorking(setup);
  StartValuesFileName(host) = *path;
}

void StatusvektorausTabellelesen1Click(TCommandHost& host) {
  host.Repaint();
  TIntegrationSetup& setup = host.Integrator().Setup;
  if (!ReadStateVectorFromSheet(host.Workbook(), setup)) {
    ShowNoStateVectorMessage();
    return;
  }
  // The vectors read are the new start values.
  setup.StartValues = setup.WorkingState;
  setup.StartJD = setup.JD;
  ClampCentreBody(setup);
  Konfigurieren1Click(host);
}

void Browser1Click(TCommandHost& host) {
  std::string& name = host.HeldConfiguration().Paths[kPathBrowser];
  TWindowSettings& window = host.StoredSettings().Window;
  TBrowserBounds bounds{window.BrowserX, window.BrowserY, window.BrowserW, window.BrowserH};
  ShowFileBrowser(host.DataFolder(), name, bounds, &host.Window());
  window.BrowserX = bounds.X;
  window.BrowserY = bounds.Y;
  window.BrowserW = bounds.W;
  window.BrowserH = bounds.H;
}

void InstallOrbitSetupCommands(TCommandHost& host) {
  host.Commands().RegisterEnabled({
      {"Konfigurieren1", [&host] { Konfigurieren1Click(host); }},
      {"Ausgabeformatieren1", [&host] { Ausgabeformatieren1Click(host); }},
      {"Rechengenauigkeit1", [&host] { Rechengenauigkeit1Click(host); }},
      {"Dateiffnen2", [&host] { Dateiffnen2Click(host); }},
      {"Dateispeichernunter2", [&host] { Dateispeichernunter2Click(host); }},
      {"StatusvektorausTabellelesen1", [&host] { StatusvektorausTabellelesen1Click(host); }},
      {"Browser1", [&host] { Browser1Click(host); }},
  });
}

}  // namespace kvx
