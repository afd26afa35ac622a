#include "app/ui/orbit_commands.h"

#include <QMainWindow>
#include <algorithm>
#include <memory>

#include "app/config_file.h"
#include "app/file_dialog_request.h"
#include "app/main_form_state.h"
#include "app/table_dispatcher.h"
#include "app/ui/command_host.h"
#include "app/ui/menu_commands.h"
#include "app/ui/table_commands.h"
#include "engine/comet.h"
#include "orbitdet/observation_files.h"
#include "orbitdet/observations.h"
#include "orbitdet/orbit_driver.h"
#include "orbitdet/orbit_output.h"
#include "orbitdet/state_capture.h"
#include "orbitdet/trial_places.h"
#include "orbitdet/ui/orbit_forms.h"
#include "orbitdet/ui/orbit_options_dialog.h"
#include "platform/busy_cursor.h"
#include "platform/globals.h"

namespace kvx {

namespace {

constexpr std::int32_t kGaussKind = 92;
constexpr std::int32_t kObservationEntryKind = 94;
constexpr std::int32_t kObservationFileKind = 96;
constexpr std::int32_t kImprovementKind = 93;

// The residuals form and the selection dialog: one each for the main
// window's life, kept as windows of their own so that they stay usable
// while the main window is disabled during the improvement.
class TOrbitForms : public QObject {
 public:
  explicit TOrbitForms(QObject* owner) : QObject(owner) { setObjectName("OrbitForms"); }
  TResidualsForm Residuals;
  TSelectObservations Selection;
};

// The residuals form's load and save buttons work on the window's
// orbit-determination object and state-vector file name (dialog texts in
// the language of the moment).
TOrbitForms& OrbitForms(TCommandHost& host) {
  auto* forms = host.Window().findChild<TOrbitForms*>("OrbitForms", Qt::FindDirectChildrenOnly);
  if (forms == nullptr) forms = new TOrbitForms(&host.Window());
  TStateVectorFiles files;
  files.OrbDet = &host.OrbitDetermination().OrbDet;
  files.FileName = &host.HeldConfiguration().Paths[kPathStateVectors];
  files.Load = FileDialogRequestOf("StateVectDialog");
  files.Save = FileDialogRequestOf("StateVectDlg");
  forms->Residuals.SetStateVectorFiles(files);
  return *forms;
}

// The observation file name of the configuration; the data folder's
// "Observ.txt" while none was used.
std::string& ObservationFileName(TCommandHost& host) {
  std::string& name = host.HeldConfiguration().Paths[kPathObservations];
  if (name.empty()) name = host.DataFolder() + "/Observ.txt";
  return name;
}

// The set handed over before every run: theory selection and level A.
torbdet& PreparedOrbDet(TCommandHost& host) {
  TOrbitDeterminationState& state = host.OrbitDetermination();
  state.OrbDet.SetOrbDetParameters(host.Selection(), &state.Observations, host.Computing().Accuracy.VsopLevelA,
                                   host.Computing().Accuracy.VsopLevelB);
  state.OrbDet.PositionFiles = host.Period().PositionFiles;
  return state.OrbDet;
}

void FinishSheet(TCommandHost& host, std::int32_t kind) {
  host.DocumentState().DocumentSaved = 0;
  host.TableState().PreviousTableKind = kind;
  host.Workbook().SetSelection(1, 1, 1, 1);
}

}  // namespace

TOrbDetOptions CurrentOrbDetOptions(TCommandHost& host) {
  const auto& raw = host.HeldConfiguration().OrbitOptionsRaw;
  const double startJd = host.Period().Start.Mjd + 2400000.5;
  if (std::all_of(raw.begin(), raw.end(), [](std::uint8_t b) { return b == 0; })) {
    TOrbDetOptions defaults;
    defaults.JdForM = startJd;
    return defaults;
  }
  return DecodeOrbDetOptions(raw, startJd);
}

void Bahnbestimmung2Click(TCommandHost& host) {
  torbdet& od = PreparedOrbDet(host);
  if (!OpenObservationFile(od, FileDialogRequestOf("Bahndateidialog"), ObservationFileName(host))) return;
  host.Tables().ComputeKindThenRepaint(kGaussKind);
}

void Dateizeigen1Click(TCommandHost& host) {
  torbdet& od = PreparedOrbDet(host);
  if (!OpenObservationFile(od, FileDialogRequestOf("Bahndateidialog"), ObservationFileName(host))) return;
  host.Tables().ComputeKindThenRepaint(kObservationFileKind);
}

void Beobachtungenerfassen1Click(THostCommands& commands) {
  commands.Tables().ComputeKindThenRepaint(kObservationEntryKind);
}

void Beobachtungenspeichern1Click(TCommandHost& host) {
  torbdet& od = PreparedOrbDet(host);
  FileDialogRequest request = FileDialogRequestOf("ObsSaveDlg");
  SaveObservationFile(od, request, ObservationFileName(host), host.Workbook());
}

void Laplace1Click(TCommandHost& host) {
  torbdet& od = PreparedOrbDet(host);
  if (!OpenObservationFile(od, FileDialogRequestOf("Bahndateidialog"), ObservationFileName(host))) return;
  host.Tables().ComputeKindThenRepaint(kImprovementKind);
}

void Saveasstatevector1Click(TCommandHost& host) {
  TStateVector state{};
  double epoch = 0;
  TStateCapture capture;
  {
    BusyCursorScope hourglass;
    capture = CaptureStateVector(host.Workbook(), state, epoch);
  }
  if (capture != TStateCapture::Ok) {
    ShowStateCaptureMessage(capture);
    return;
  }
  const TOrbDetOptions options = CurrentOrbDetOptions(host);
  TResidualsFill fill;
  fill.State = state;
  fill.Epoch = epoch;
  fill.Method = options.Method;
  fill.Topocentric = options.Topocentric;
  fill.ChangeRate = options.ChangeRate;
  fill.ShowLines = false;
  if (!OrbitForms(host).Residuals.ShowStateVectorFromSheet(fill, state, epoch)) return;
  torbdet& od = host.OrbitDetermination().OrbDet;
  od.StateVector = state;
  od.Epoch = epoch;
}

void Bahnberechnung1Click(TCommandHost& host) {
  TOrbDetOptions options = CurrentOrbDetOptions(host);
  const double startJd = host.Period().Start.Mjd + 2400000.5;
  if (ShowOrbDetOptionsDialog(options, startJd) != 1) return;
  const auto bytes = EncodeOrbDetOptions(options);
  std::copy(bytes.begin(), bytes.end(), host.HeldConfiguration().OrbitOptionsRaw.begin());
}

void InstallOrbitCommands(TCommandHost& host) {
  TTableDispatcher& dispatcher = host.Tables().Dispatcher();
  dispatcher.Register(kGaussKind, [&host] {
    torbdet& od = PreparedOrbDet(host);
    const TOrbDetOptions options = CurrentOrbDetOptions(host);
    const TTableConfigRecord& config = host.Period().TableConfig;
    od.OutputRow = 1;
    ShowObservationsInSheet(od, host.Workbook(), config, options.ShowObservations != 0, options.Log != 0);
    WriteOrbitDeterminationResults(od, host.Workbook(), config, options);
    FinishSheet(host, kGaussKind);
  });
  dispatcher.Register(kImprovementKind, [&host] {
    torbdet& od = PreparedOrbDet(host);
    const TOrbDetOptions options = CurrentOrbDetOptions(host);
    const TTableConfigRecord& config = host.Period().TableConfig;
    TOrbitForms& forms = OrbitForms(host);
    TOrbitRun run;
    run.Chooser = &forms.Selection;
    run.View = &forms.Residuals;
    run.FileName = ObservationFileName(host);
    run.Options = options;
    run.Sheet = &host.Workbook();
    run.Config = config;
    run.EnableMainWindow = [&host](bool on) { host.Window().setEnabled(on); };
    // The comet objects of the trial places (methods 0 and 1), with the
    // main window's settings; the places take their own time scale, place
    // and equinox from each observation.
    const TEphemerisPeriodState& p = host.Period();
    const TComputingSettings& computing = host.Computing();
    const TCurrentObjects& objects = host.Objects();
    auto comet = std::make_unique<TKomet>(BodySettingsOf(computing, LanguageEnglish), p.Selection, 0, p.TableConfig,
                                          objects.CurrentComet, p.Start, computing.Accuracy);
    auto ephemeris = std::make_unique<TKometeph>(TableRequestOf(p, host.TableState(), computing, LanguageEnglish),
                                                 nullptr, objects.CurrentComet);
    TTrialPlaceSettings trial;
    trial.Selection = p.Selection;
    trial.PositionFiles = p.PositionFiles;
    trial.Observer = p.Start;
    trial.Accuracy = computing.Accuracy;
    TTrialPlaces places(*comet, *ephemeris, trial);
    run.Places = places.Function();
    if (!RunOrbitDetermination(od, run)) {
      // A choice cancelled or no orbit found: the sheet as it was.
      LeaveWithoutTable(host);
      return;
    }
    WriteOrbitImprovementResults(od, host.Workbook(), config, options);
    FinishSheet(host, kImprovementKind);
  });
  dispatcher.Register(kObservationFileKind, [&host] {
    torbdet& od = PreparedOrbDet(host);
    const TTableConfigRecord& config = host.Period().TableConfig;
    od.OutputRow = 1;
    WriteObservationTitles(od, host.Workbook(), ByLanguage(kObservationTitleGerman, kObservationTitleEnglish), config);
    od.OutputRow = 3;
    WriteObservationRows(od, host.Workbook(), config, true);
    FinishSheet(host, kObservationFileKind);
  });
  dispatcher.Register(kObservationEntryKind, [&host] {
    torbdet& od = PreparedOrbDet(host);
    od.OutputRow = 1;
    WriteObservationTitles(od, host.Workbook(), ByLanguage(kObservationTitleGerman, kObservationTitleEnglish),
                           host.Period().TableConfig);
    FinishSheet(host, kObservationEntryKind);
  });
  host.Commands().RegisterEnabled({
      {"Bahnbestimmung2", [&host] { Bahnbestimmung2Click(host); }},
      {"Dateizeigen1", [&host] { Dateizeigen1Click(host); }},
      {"Beobachtungenerfassen1", [&host] { Beobachtungenerfassen1Click(host); }},
      {"Beobachtungenspeichern1", [&host] { Beobachtungenspeichern1Click(host); }},
      {"Bahnberechnung1", [&host] { Bahnberechnung1Click(host); }},
      {"Laplace1", [&host] { Laplace1Click(host); }},
      {"Saveasstatevector1", [&host] { Saveasstatevector1Click(host); }},
  });
}

}  // namespace kvx
