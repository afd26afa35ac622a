#include "app/ui/batch_commands.h"

#include "app/main_form_state.h"
#include "app/ui/command_host.h"
#include "app/ui/eclipse_commands.h"
#include "app/ui/element_commands.h"
#include "app/ui/menu_commands.h"
#include "app/ui/table_commands.h"
#include "catalogues/element_dialog_model.h"
#include "catalogues/ui/element_dialogs.h"
#include "engine/comet.h"
#include "platform/globals.h"

namespace kvx {

namespace {

// The dialog's list file: its current one, else the default in the data
// folder.
std::string ListFileOf(const TElementDialogBase& dialog, const std::string& dataFolder) {
  if (!dialog.State.FileName.empty()) return dialog.State.FileName;
  return dataFolder + "/" + DefaultElementFileName(dialog.Kind());
}

// Integrated runs first ask about a slow planet theory (Cancel ends).
bool AskSlowTheory(TCommandHost& form) {
  const TTheorySelection selection = form.Selection();
  if (selection.bytes[0] == kPlanetTheoryInternal || form.State().UseIntegrationDatabase != 0 ||
      selection.bytes[2] != 0) {
    return true;
  }
  return form.SlowTheoryQuestion("", "", 0);
}

void ElementFileBatch(TCommandHost& form, bool comets, std::uint8_t mode, std::uint8_t output) {
  TElementDialogCommands* dialogs = ElementDialogCommandsOf(form);
  if (dialogs == nullptr) return;
  if (mode == 0 && !AskSlowTheory(form)) return;
  TMainFormState& s = form.State();
  form.PrepareSheetForBatch();
  const TBatchRun run = BatchRunOf(form, mode, output);
  form.ShowHourglass();
  TBatchResult result;
  if (comets) {
    TElementekoform& dialog = dialogs->CometDialog();
    TKometeph table(form.Tables().InstantRequest(), &form.Workbook(), s.CurrentComet);
    form.Tables().PrepareOutput(table);
    result = CometFileEphemerides(run, table, dialog.Kometentabelle1, ListFileOf(dialog, s.DataFolder),
                                  dialog.State.ElementFileKind, s.CurrentComet);
  } else {
    TElementeplform& dialog = dialogs->AsteroidDialog();
    TKeplereph table(form.Tables().InstantRequest(), &form.Workbook(), s.CurrentAsteroid);
    form.Tables().PrepareOutput(table);
    result = AsteroidFileEphemerides(run, table, dialog.Planetoidentabelle1, ListFileOf(dialog, s.DataFolder),
                                     dialog.State.ElementFileKind, s.CurrentAsteroid);
  }
  form.RestoreCursor();
  FinishBatchTable(form, result);
}

}  // namespace

void FinishBatchTable(TCommandHost& form, const TBatchResult& result) {
  TTableDispatcher& dispatcher = form.Tables().Dispatcher();
  if (result.Written) {
    form.State().DocumentSaved = 0;
    if (result.Cancelled) dispatcher.ReportCancelled(true);
    return;
  }
  LeaveWithoutTable(form);
  if (result.Cancelled) dispatcher.ReportCancelledBeforeAnyResult();
}

TBatchRun BatchRunOf(TCommandHost& form, std::uint8_t mode, std::uint8_t output) {
  const TMainFormState& s = form.State();
  const TEphemerisPeriodState& p = s.Period;
  TBatchRun run;
  run.Language = LanguageEnglish;
  run.Settings = p.PositionFiles;
  run.SiderealFlag = p.ApparentSiderealTime;
  run.Mode = mode;
  run.Output = output;
  run.ToSheet = s.WorkbookView;
  run.VsopLevelA = s.VsopLevelA;
  run.VsopLevelB = s.VsopLevelB;
  run.IntegrationTolerance = s.IntegrationTolerance;
  run.Step = p.Step;
  run.Start = p.Start;
  run.Config = p.TableConfig;
  run.Selection = p.Selection;
  run.SecondEquinoxT = s.SecondEquinox;
  run.RiseSet = s.RiseSet;
  return run;
}

void InstallElementFileBatchCommands(TCommandHost& form) {
  struct Item {
    const char* Command;
    bool Comets;
    std::uint8_t Mode;    // 1 two-body, 0 integrated
    std::uint8_t Output;  // 0 ephemeris, 1 element sets
  };
  static constexpr Item kItems[] = {
      {"AllePlanetoiden2", false, 1, 0},
      {"AlleKometen2", true, 1, 0},
      {"AllePlanetoiden1", false, 0, 0},
      {"AlleKometen1", true, 0, 0},
      {"PlanetoidenDateiintegrieren1", false, 0, 1},
      {"KometenDateiintegrieren1", true, 0, 1},
  };
  TMenuCommands& menu = form.Commands();
  for (const Item& item : kItems) {
    menu.RegisterHandler(item.Command, [&form, item] { ElementFileBatch(form, item.Comets, item.Mode, item.Output); });
    menu.SetEnabled(item.Command, true);
  }
}

}  // namespace kvx
