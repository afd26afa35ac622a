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
TOrbitForms& OrbitForms(TCommandHost& form) {
  auto* forms = form.Window().findChild<TOrbitForms*>("OrbitForms", Qt::FindDirectChildrenOnly);
  if (forms == nullptr) forms = new TOrbitForms(&form.Window());
  TStateVectorFiles files;
  files.OrbDet = &form.OrbitDetermination().OrbDet;
  files.FileName = &form.HeldConfiguration().Paths[kPathStateVectors];
  files.Load = FileDialogRequestOf("StateVectDialog");
  files.Save = FileDialogRequestOf("StateVectDlg");
  forms->Residuals.SetStateVectorFiles(files);
  return *forms;
}

// The observation file name of the configuration; the data folder's
// "Observ.txt" while none was used.
std::string& ObservationFileName(TCommandHost& form) {
  std::string& name = form.HeldConfiguration().Paths[kPathObservations];
  if (name.empty()) name = form.DataFolder() + "/Observ.txt";
  return name;
}

// The set handed over before every run: theory selection and level A.
torbdet& PreparedOrbDet(TCommandHost& form) {
  TOrbitDeterminationState& state = form.OrbitDetermination();
  state.OrbDet.SetOrbDetParameters(form.Selection(), &state.Observations, form.Computing().Accuracy.VsopLevelA,
                                   form.Computing().Accuracy.VsopLevelB);
  state.OrbDet.PositionFiles = form.Period().PositionFiles;
  return state.OrbDet;
}

void FinishSheet(TCommandHost& form, std::int32_t kind) {
  form.DocumentState().DocumentSaved = 0;
  form.TableState().PreviousTableKind = kind;
  form.Workbook().SetSelection(1, 1, 1, 1);
}

}  // namespace

TOrbDetOptions CurrentOrbDetOptions(TCommandHost& form) {
  const auto& raw = form.HeldConfiguration().OrbitOptionsRaw;
  const double startJd = form.Period().Start.Mjd + 2400000.5;
  if (std::all_of(raw.begin(), raw.end(), [](std::uint8_t b) { return b == 0; })) {
    TOrbDetOptions defaults;
    defaults.JdForM = startJd;
    return defaults;
  }
  return DecodeOrbDetOptions(raw, startJd);
}

void Bahnbestimmung2Click(TCommandHost& form) {
  torbdet& od = PreparedOrbDet(form);
  if (!OpenObservationFile(od, FileDialogRequestOf("Bahndateidialog"), ObservationFileName(form))) return;
  form.Tables().ComputeKindThenRepaint(kGaussKind);
}

void Dateizeigen1Click(TCommandHost& form) {
  torbdet& od = PreparedOrbDet(form);
  if (!OpenObservationFile(od, FileDialogRequestOf("Bahndateidialog"), ObservationFileName(form))) return;
  form.Tables().ComputeKindThenRepaint(kObservationFileKind);
}

void Beobachtungenerfassen1Click(TCommandHost& form) { form.Tables().ComputeKindThenRepaint(kObservationEntryKind); }

void Beobachtungenspeichern1Click(TCommandHost& form) {
  torbdet& od = PreparedOrbDet(form);
  FileDialogRequest request = FileDialogRequestOf("ObsSaveDlg");
  SaveObservationFile(od, request, ObservationFileName(form), form.Workbook());
}

void Laplace1Click(TCommandHost& form) {
  torbdet& od = PreparedOrbDet(form);
  if (!OpenObservationFile(od, FileDialogRequestOf("Bahndateidialog"), ObservationFileName(form))) return;
  form.Tables().ComputeKindThenRepaint(kImprovementKind);
}

void Saveasstatevector1Click(TCommandHost& form) {
  TStateVector state{};
  double epoch = 0;
  TStateCapture capture;
  {
    BusyCursorScope hourglass;
    capture = CaptureStateVector(form.Workbook(), state, epoch);
  }
  if (capture != TStateCapture::Ok) {
    ShowStateCaptureMessage(capture);
    return;
  }
  const TOrbDetOptions options = CurrentOrbDetOptions(form);
  TResidualsFill fill;
  fill.State = state;
  fill.Epoch = epoch;
  fill.Method = options.Method;
  fill.Topocentric = options.Topocentric;
  fill.ChangeRate = options.ChangeRate;
  fill.ShowLines = false;
  if (!OrbitForms(form).Residuals.ShowStateVectorFromSheet(fill, state, epoch)) return;
  torbdet& od = form.OrbitDetermination().OrbDet;
  od.StateVector = state;
  od.Epoch = epoch;
}

void Bahnberechnung1Click(TCommandHost& form) {
  TOrbDetOptions options = CurrentOrbDetOptions(form);
  const double startJd = form.Period().Start.Mjd + 2400000.5;
  if (ShowOrbDetOptionsDialog(options, startJd) != 1) return;
  const auto bytes = EncodeOrbDetOptions(options);
  std::copy(bytes.begin(), bytes.end(), form.HeldConfiguration().OrbitOptionsRaw.begin());
}

void InstallOrbitCommands(TCommandHost& form) {
  TTableDispatcher& dispatcher = form.Tables().Dispatcher();
  dispatcher.Register(kGaussKind, [&form] {
    torbdet& od = PreparedOrbDet(form);
    const TOrbDetOptions options = CurrentOrbDetOptions(form);
    const TTableConfigRecord& config = form.Period().TableConfig;
    od.OutputRow = 1;
    ShowObservationsInSheet(od, form.Workbook(), config, options.ShowObservations != 0, options.Log != 0);
    WriteOrbitDeterminationResults(od, form.Workbook(), config, options);
    FinishSheet(form, kGaussKind);
  });
  dispatcher.Register(kImprovementKind, [&form] {
    torbdet& od = PreparedOrbDet(form);
    const TOrbDetOptions options = CurrentOrbDetOptions(form);
    const TTableConfigRecord& config = form.Period().TableConfig;
    TOrbitForms& forms = OrbitForms(form);
    TOrbitRun run;
    run.Chooser = &forms.Selection;
    run.View = &forms.Residuals;
    run.FileName = ObservationFileName(form);
    run.Options = options;
    run.Sheet = &form.Workbook();
    run.Config = config;
    run.EnableMainWindow = [&form](bool on) { form.Window().setEnabled(on); };
    // The comet objects of the trial places (methods 0 and 1), with the
    // main window's settings; the places take their own time scale, place
    // and equinox from each observation.
    const TEphemerisPeriodState& p = form.Period();
    const TComputingSettings& computing = form.Computing();
    const TCurrentObjects& objects = form.Objects();
    auto comet = std::make_unique<TKomet>(BodySettingsOf(computing, LanguageEnglish), p.Selection, 0, p.TableConfig,
                                          objects.CurrentComet, p.Start, computing.Accuracy);
    auto ephemeris = std::make_unique<TKometeph>(TableRequestOf(p, form.TableState(), computing, LanguageEnglish),
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
      LeaveWithoutTable(form);
      return;
    }
    WriteOrbitImprovementResults(od, form.Workbook(), config, options);
    FinishSheet(form, kImprovementKind);
  });
  dispatcher.Register(kObservationFileKind, [&form] {
    torbdet& od = PreparedOrbDet(form);
    const TTableConfigRecord& config = form.Period().TableConfig;
    od.OutputRow = 1;
    WriteObservationTitles(od, form.Workbook(), ByLanguage(kObservationTitleGerman, kObservationTitleEnglish), config);
    od.OutputRow = 3;
    WriteObservationRows(od, form.Workbook(), config, true);
    FinishSheet(form, kObservationFileKind);
  });
  dispatcher.Register(kObservationEntryKind, [&form] {
    torbdet& od = PreparedOrbDet(form);
    od.OutputRow = 1;
    WriteObservationTitles(od, form.Workbook(), ByLanguage(kObservationTitleGerman, kObservationTitleEnglish),
                           form.Period().TableConfig);
    FinishSheet(form, kObservationEntryKind);
  });
  form.Commands().RegisterEnabled({
      {"Bahnbestimmung2", [&form] { Bahnbestimmung2Click(form); }},
      {"Dateizeigen1", [&form] { Dateizeigen1Click(form); }},
      {"Beobachtungenerfassen1", [&form] { Beobachtungenerfassen1Click(form); }},
      {"Beobachtungenspeichern1", [&form] { Beobachtungenspeichern1Click(form); }},
      {"Bahnberechnung1", [&form] { Bahnberechnung1Click(form); }},
      {"Laplace1", [&form] { Laplace1Click(form); }},
      {"Saveasstatevector1", [&form] { Saveasstatevector1Click(form); }},
  });
}

}  // namespace kvx
