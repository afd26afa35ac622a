#include "app/ui/batch_commands.h"

#include "app/main_form_state.h"
#include "app/ui/command_host.h"
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
bool AskSlowTheory(TCommandHost& host) {
  const TTheorySelection selection = host.Selection();
  if (selection.bytes[0] == kPlanetTheoryInternal || host.Computing().UseIntegrationDatabase != 0 ||
      selection.bytes[2] != 0) {
    return true;
  }
  return host.SlowTheoryQuestion("", "", 0);
}

void ElementFileBatch(TCommandHost& host, bool comets, std::uint8_t mode, std::uint8_t output) {
  TElementDialogCommands* dialogs = ElementDialogCommandsOf(host);
  if (dialogs == nullptr) return;
  if (mode == 0 && !AskSlowTheory(host)) return;
  TCurrentObjects& objects = host.Objects();
  host.PrepareSheetForBatch();
  const TBatchRun run = BatchRunOf(host.Computing(), host.DocumentState(), host.Period(), mode, output);
  host.ShowHourglass();
  TBatchResult result;
  if (comets) {
    TElementekoform& dialog = dialogs->CometDialog();
    TKometeph table(host.Tables().InstantRequest(), &host.Workbook(), objects.CurrentComet);
    host.Tables().PrepareOutput(table);
    result = CometFileEphemerides(run, table, dialog.Kometentabelle1, ListFileOf(dialog, host.DataFolder()),
                                  dialog.State.ElementFileKind, objects.CurrentComet);
  } else {
    TElementeplform& dialog = dialogs->AsteroidDialog();
    TKeplereph table(host.Tables().InstantRequest(), &host.Workbook(), objects.CurrentAsteroid);
    host.Tables().PrepareOutput(table);
    result = AsteroidFileEphemerides(run, table, dialog.Planetoidentabelle1, ListFileOf(dialog, host.DataFolder()),
                                     dialog.State.ElementFileKind, objects.CurrentAsteroid);
  }
  host.RestoreCursor();
  FinishBatchTable(host, result);
}

}  // namespace

void FinishBatchTable(TCommandHost& host, const TBatchResult& result) {
  TTableDispatcher& dispatcher = host.Tables().Dispatcher();
  if (result.Written) {
    host.DocumentState().DocumentSaved = 0;
    if (result.Cancelled) dispatcher.ReportCancelled(true);
    return;
  }
  LeaveWithoutTable(host);
  if (result.Cancelled) dispatcher.ReportCancelledBeforeAnyResult();
}

TBatchRun BatchRunOf(const TComputingSettings& computing, const TDocumentState& document,
                     const TEphemerisPeriodState& p, std::uint8_t mode, std::uint8_t output) {
  TBatchRun run;
  run.Language = LanguageEnglish;
  run.Settings = p.PositionFiles;
  run.SiderealFlag = p.ApparentSiderealTime;
  run.Mode = mode;
  run.Output = output;
  run.ToSheet = document.WorkbookView;
  run.Accuracy = computing.Accuracy;
  run.Step = p.Step;
  run.Start = p.Start;
  run.Config = p.TableConfig;
  run.Selection = p.Selection;
  run.SecondEquinoxT = computing.SecondEquinox;
  run.RiseSet = RiseSetSettingsOf(computing);
  return run;
}

void InstallElementFileBatchCommands(TCommandHost& host) {
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
  TMenuCommands& menu = host.Commands();
  for (const Item& item : kItems) {
    menu.RegisterHandler(item.Command, [&host, item] { ElementFileBatch(host, item.Comets, item.Mode, item.Output); });
    menu.SetEnabled(item.Command, true);
  }
}

}  // namespace kvx
