#include "app/ui/element_commands.h"

#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "app/ui/table_commands.h"
#include "catalogues/ui/element_dialogs.h"
#include "catalogues/ui/variable_star_dialog.h"
#include "core/element_file_ranges.h"

namespace kvx {

TElementDialogCommands::TElementDialogCommands(TMainForm& form)
    : QObject(&form),
      form_(form),
      asteroid_(new TElementeplform(&form)),
      comet_(new TElementekoform(&form)),
      variable_(new Telementevarform(&form)) {
  setObjectName("ElementDialogCommands");
  asteroid_->setWindowFlag(Qt::Window);
  comet_->setWindowFlag(Qt::Window);
  asteroid_->OnAccepted = [this] { AsteroidAccepted(); };
  comet_->OnAccepted = [this] { CometAccepted(); };
  asteroid_->OnFileLoaded = [this] { ResetFileRange(form_.State().ElementFileRanges, 1); };
  comet_->OnFileLoaded = [this] { ResetFileRange(form_.State().ElementFileRanges, 2); };
}

void TElementDialogCommands::Planetoiden1Click() {
  TMainFormState& s = form_.State();
  asteroid_->DataFolder = s.DataFolder;
  asteroid_->Spreadsheet = form_.StoredSettings().Spreadsheet;
  asteroid_->Sheet = &form_.Workbook();
  ShowAsteroidElementsDialog(*asteroid_, form_.StoredSettings().Window.Hints, s.CurrentAsteroid);
}

void TElementDialogCommands::Kometen1Click() {
  TMainFormState& s = form_.State();
  comet_->DataFolder = s.DataFolder;
  comet_->Spreadsheet = form_.StoredSettings().Spreadsheet;
  comet_->Sheet = &form_.Workbook();
  ShowCometElementsDialog(*comet_, form_.StoredSettings().Window.Hints, s.CurrentComet);
}

void TElementDialogCommands::Vernderliche1Click() {
  TMainFormState& s = form_.State();
  variable_->DataFolder = s.DataFolder;
  TVariableStarElements record = variable_->Record;
  record.Name = s.CurrentVariableStarName;
  if (ChooseVariableStar(*variable_, form_.StoredSettings().Window.Hints, record) != 1) return;
  s.CurrentVariableStarName = record.Name;
  AfterElementsChanged(150, 150);
}

void TElementDialogCommands::AsteroidAccepted() {
  form_.State().CurrentAsteroid = asteroid_->Record;
  AfterElementsChanged(21, 22);
}

void TElementDialogCommands::CometAccepted() {
  form_.State().CurrentComet = comet_->Record;
  AfterElementsChanged(41, 42);
}

void TElementDialogCommands::AfterElementsChanged(int tableKindA, int tableKindB) {
  TMainFormState& s = form_.State();
  s.ElementsChanged = 1;
  s.SettingsChanged = 1;
  s.PreviousTableKind = 1;
  form_.Tables().RefreshMenus();
  if (s.TableKind == tableKindA || s.TableKind == tableKindB) form_.Tables().ComputeTable();
}

TElementDialogCommands& InstallElementDialogCommands(TMainForm& form) {
  auto* commands = new TElementDialogCommands(form);
  TMenuCommands& menu = form.Commands();
  menu.RegisterHandler("Planetoiden1", [commands] { commands->Planetoiden1Click(); });
  menu.RegisterHandler("Kometen1", [commands] { commands->Kometen1Click(); });
  menu.SetEnabled("Planetoiden1", true);
  menu.SetEnabled("Kometen1", true);
  menu.RegisterHandler("Vernderliche1", [commands] { commands->Vernderliche1Click(); });
  menu.SetEnabled("Vernderliche1", true);
  return *commands;
}

TElementDialogCommands* ElementDialogCommandsOf(TMainForm& form) {
  return form.findChild<TElementDialogCommands*>("ElementDialogCommands", Qt::FindDirectChildrenOnly);
}

}  // namespace kvx
