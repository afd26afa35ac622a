#include "app/ui/orbit_commands.h"

#include <algorithm>

#include "app/file_dialog_texts.h"
#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "app/ui/table_commands.h"
#include "app/table_dispatcher.h"
#include "orbitdet/observation_files.h"
#include "orbitdet/orbit_output.h"
#include "platform/globals.h"

namespace kvx {

namespace {

constexpr std::int32_t kGaussKind = 92;
constexpr std::int32_t kObservationEntryKind = 94;
constexpr std::int32_t kObservationFileKind = 96;

std::vector<std::string> SplitFilterText(const std::string& filters) {
  std::vector<std::string> result;
  std::size_t from = 0;
  for (;;) {
    const std::size_t at = filters.find(";;", from);
    result.push_back(filters.substr(from, at == std::string::npos ? std::string::npos : at - from));
    if (at == std::string::npos) break;
    from = at + 2;
  }
  return result;
}

FileDialogRequest Request(const char* dialog) {
  FileDialogRequest request;
  request.title = FileDialogTitle(dialog);
  request.filters = SplitFilterText(FileDialogFilter(dialog));
  return request;
}

// The observation file name of the configuration; the data folder's
// "Observ.txt" while none was used.
std::string& ObservationFileName(TMainForm& form) {
  std::string& name = form.HeldConfiguration().Paths[kPathObservations];
  if (name.empty()) name = form.State().DataFolder + "/Observ.txt";
  return name;
}

void RunKind(TMainForm& form, std::int32_t kind) {
  TMainFormState& s = form.State();
  s.TableKind = kind;
  if (s.PreviousTableKind != kind) s.TableChanged = 1;
  form.Tables().ComputeTable();
  form.repaint();
}

// The set handed over before every run: theory selection and level A.
torbdet& PreparedOrbDet(TMainForm& form) {
  TOrbitDeterminationState& state = form.OrbitDetermination();
  state.OrbDet.SetOrbDetParameters(form.Selection(), &state.Observations, form.State().VsopLevelA,
                                   form.State().VsopLevelB);
  state.OrbDet.PositionFiles = form.State().Period.PositionFiles;
  return state.OrbDet;
}

void FinishSheet(TMainForm& form, std::int32_t kind) {
  form.State().DocumentSaved = 0;
  form.State().PreviousTableKind = kind;
  form.Workbook().SetSelection(1, 1, 1, 1);
}

}  // namespace

TOrbDetOptions CurrentOrbDetOptions(TMainForm& form) {
  const auto& raw = form.HeldConfiguration().OrbitOptionsRaw;
  const double startJd = form.State().Period.Start.Mjd + 2400000.5;
  if (std::all_of(raw.begin(), raw.end(), [](std::uint8_t b) { return b == 0; })) {
    TOrbDetOptions defaults;
    defaults.JdForM = startJd;
    return defaults;
  }
  return DecodeOrbDetOptions(raw, startJd);
}

TOrbitDeterminationState& TMainForm::OrbitDetermination() {
  if (!orbit_) {
    orbit_ = std::make_unique<TOrbitDeterminationState>();
    orbit_->OrbDet.Create(state_.DataFolder, Selection(), &orbit_->Observations, state_.VsopLevelA,
                          state_.VsopLevelB);
  }
  return *orbit_;
}

void Bahnbestimmung2Click(TMainForm& form) {
  torbdet& od = PreparedOrbDet(form);
  if (!OpenObservationFile(od, Request("Bahndateidialog"), ObservationFileName(form))) return;
  RunKind(form, kGaussKind);
}

void Dateizeigen1Click(TMainForm& form) {
  torbdet& od = PreparedOrbDet(form);
  if (!OpenObservationFile(od, Request("Bahndateidialog"), ObservationFileName(form))) return;
  RunKind(form, kObservationFileKind);
}

void Beobachtungenerfassen1Click(TMainForm& form) { RunKind(form, kObservationEntryKind); }

void Beobachtungenspeichern1Click(TMainForm& form) {
  torbdet& od = PreparedOrbDet(form);
  FileDialogRequest request = Request("ObsSaveDlg");
  SaveObservationFile(od, request, ObservationFileName(form), form.Workbook());
}

void InstallOrbitCommands(TMainForm& form) {
  TTableDispatcher& dispatcher = form.Tables().Dispatcher();
  dispatcher.Register(kGaussKind, [&form] {
    torbdet& od = PreparedOrbDet(form);
    const TOrbDetOptions options = CurrentOrbDetOptions(form);
    const TTableConfigRecord& config = form.State().Period.TableConfig;
    od.OutputRow = 1;
    ShowObservationsInSheet(od, form.Workbook(), config, options.ShowObservations != 0, options.Log != 0);
    WriteOrbitDeterminationResults(od, form.Workbook(), config, options);
    FinishSheet(form, kGaussKind);
  });
  dispatcher.Register(kObservationFileKind, [&form] {
    torbdet& od = PreparedOrbDet(form);
    const TTableConfigRecord& config = form.State().Period.TableConfig;
    od.OutputRow = 1;
    WriteObservationTitles(od, form.Workbook(), ByLanguage(kObservationTitleGerman, kObservationTitleEnglish),
                           config);
    od.OutputRow = 3;
    WriteObservationRows(od, form.Workbook(), config, true);
    FinishSheet(form, kObservationFileKind);
  });
  dispatcher.Register(kObservationEntryKind, [&form] {
    torbdet& od = PreparedOrbDet(form);
    od.OutputRow = 1;
    WriteObservationTitles(od, form.Workbook(), ByLanguage(kObservationTitleGerman, kObservationTitleEnglish),
                           form.State().Period.TableConfig);
    FinishSheet(form, kObservationEntryKind);
  });
  TMenuCommands& commands = form.Commands();
  commands.RegisterHandler("Bahnbestimmung2", [&form] { Bahnbestimmung2Click(form); });
  commands.RegisterHandler("Dateizeigen1", [&form] { Dateizeigen1Click(form); });
  commands.RegisterHandler("Beobachtungenerfassen1", [&form] { Beobachtungenerfassen1Click(form); });
  commands.RegisterHandler("Beobachtungenspeichern1", [&form] { Beobachtungenspeichern1Click(form); });
  for (const char* item : {"Bahnbestimmung2", "Dateizeigen1", "Beobachtungenerfassen1", "Beobachtungenspeichern1"}) {
    commands.SetEnabled(item, true);
  }
}

}  // namespace kvx
