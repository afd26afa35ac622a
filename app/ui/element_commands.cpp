#include "app/ui/element_commands.h"

#include <QMainWindow>
#include <cmath>

#include "app/main_form_state.h"
#include "app/settings_io.h"
#include "app/ui/command_host.h"
#include "app/ui/element_tool_commands.h"
#include "app/ui/menu_commands.h"
#include "app/ui/table_commands.h"
#include "catalogues/circular_import.h"
#include "catalogues/ui/element_dialogs.h"
#include "catalogues/ui/variable_star_dialog.h"
#include "core/element_file_ranges.h"
#include "core/observer_record.h"
#include "core/records.h"
#include "core/time_scales.h"
#include "platform/file_dialog.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "setup/ui/time_entry_dialogs.h"

namespace kvx {

TElementDialogCommands::TElementDialogCommands(TCommandHost& host)
    : QObject(&host.Window()),
      host_(host),
      asteroid_(new TElementeplform(&host.Window())),
      comet_(new TElementekoform(&host.Window())),
      variable_(new Telementevarform(&host.Window())) {
  setObjectName("ElementDialogCommands");
  asteroid_->setWindowFlag(Qt::Window);
  comet_->setWindowFlag(Qt::Window);
  asteroid_->OnAccepted = [this] { AsteroidAccepted(); };
  comet_->OnAccepted = [this] { CometAccepted(); };
  asteroid_->OnFileLoaded = [this] { ResetFileRange(host_.Objects().ElementFileRanges, 1); };
  comet_->OnFileLoaded = [this] { ResetFileRange(host_.Objects().ElementFileRanges, 2); };
  // Cancel after a load: the range of the list shown at the start comes back.
  asteroid_->OnLoadUndone = [this] { host_.Objects().ElementFileRanges.AsteroidFile = shown_ranges_.AsteroidFile; };
  comet_->OnLoadUndone = [this] { host_.Objects().ElementFileRanges.CometFile = shown_ranges_.CometFile; };
  // T and the epoch as a date with day fraction. The dialog names the day
  // UT, so the day is taken as UT: a perihelion time typed from a circular
  // must not move by the observer's zone. It opens on the value, or on the
  // present moment when there is none yet.
  comet_->DayFractionHook = [this](double& jd) {
    return AskDayWithFraction(host_.Period().Start, comet_->State.Hints != 0, jd, comet_);
  };
}

namespace {

// An element dialog's links to the main window, set anew before each
// showing: the data folder, the spreadsheet setting as it stands now (the
// view switch, not the value stored at start-up), the sheet and the table
// configuration.
void LinkElementDialog(TElementDialogBase& dialog, TCommandHost& host) {
  dialog.DataFolder = host.DataFolder();
  dialog.Spreadsheet = host.DocumentState().WorkbookView != 0;
  dialog.Sheet = &host.Workbook();
  dialog.TableConfig = &host.Period().TableConfig;
}

}  // namespace

void TElementDialogCommands::SetLeadingZeros(std::uint8_t flag, bool reload) {
  Planetoidentabelle& list = asteroid_->Planetoidentabelle1;
  const std::uint8_t normalize = flag != 0 ? 1 : 0;
  if (list.NormalizeNames == normalize) return;
  list.NormalizeNames = normalize;
  if (!reload || list.Loaded == 0 || list.BuiltInListShown != 0) return;
  asteroid_->SetAsteroidElementFileName(false);
  ResetFileRange(host_.Objects().ElementFileRanges, 1);
}

void TElementDialogCommands::Planetoiden1Click() {
  TCurrentObjects& objects = host_.Objects();
  LinkElementDialog(*asteroid_, host_);
  if (!asteroid_->isVisible()) shown_ranges_.AsteroidFile = objects.ElementFileRanges.AsteroidFile;
  ShowAsteroidElementsDialog(*asteroid_, host_.StoredSettings().Window.Hints, objects.CurrentAsteroid);
}

void TElementDialogCommands::Kometen1Click() {
  TCurrentObjects& objects = host_.Objects();
  LinkElementDialog(*comet_, host_);
  if (!comet_->isVisible()) shown_ranges_.CometFile = objects.ElementFileRanges.CometFile;
  ShowCometElementsDialog(*comet_, host_.StoredSettings().Window.Hints, objects.CurrentComet);
}

void TElementDialogCommands::Vernderliche1Click() {
  TCurrentObjects& objects = host_.Objects();
  variable_->DataFolder = host_.DataFolder();
  TVariableStarElements record = objects.CurrentVariableStar;
  if (ChooseVariableStar(*variable_, host_.StoredSettings().Window.Hints, record) != 1) return;
  objects.CurrentVariableStar = record;
  AfterElementsChanged();
}

void TElementDialogCommands::AusMPECZirkularladen1Click() {
  FileDialogRequest request;
  request.title = ByLanguage("MPE-Zirkular laden", "Load MPE circular");
  request.filters = {"MPE circular (HTML) (*.htm *.html)", "(*.txt)"};
  request.start = host_.DataFolder();
  const std::optional<std::string> file = AskOpenFileName(request);
  if (!file) return;
  TCircularElements imported;
  try {
    imported = ImportCircularFile(*file);
  } catch (const EmpecFileError& error) {
    ShowMessage(error.what(), error.what(), MessageIcon::Error);
    return;
  }
  TDocumentState& document = host_.DocumentState();
  TCurrentObjects& objects = host_.Objects();
  objects.ElementsChanged = 1;
  document.SettingsChanged = 1;
  if (imported.Comet) {
    objects.CurrentComet = imported.CometSet;
    host_.RefreshMenuStates();
    Kometen1Click();
  } else {
    objects.CurrentAsteroid = imported.Asteroid;
    host_.RefreshMenuStates();
    Planetoiden1Click();
  }
}

void TElementDialogCommands::AsteroidAccepted() {
  host_.Objects().CurrentAsteroid = asteroid_->Record;
  AfterElementsChanged();
}

void TElementDialogCommands::CometAccepted() {
  host_.Objects().CurrentComet = comet_->Record;
  AfterElementsChanged();
}

void TElementDialogCommands::AfterElementsChanged() {
  TDocumentState& document = host_.DocumentState();
  TCurrentObjects& objects = host_.Objects();
  TTableState& table = host_.TableState();
  objects.ElementsChanged = 1;
  document.SettingsChanged = 1;
  table.PreviousTableKind = 1;
  host_.RefreshMenuStates();
}

TElementDialogCommands& InstallElementDialogCommands(TCommandHost& host) {
  auto* commands = new TElementDialogCommands(host);
  host.Commands().RegisterEnabled({
      {"Planetoiden1", [commands] { commands->Planetoiden1Click(); }},
      {"Kometen1", [commands] { commands->Kometen1Click(); }},
      {"Vernderliche1", [commands] { commands->Vernderliche1Click(); }},
      {"AusMPECZirkularladen1", [commands] { commands->AusMPECZirkularladen1Click(); }},
  });
  return *commands;
}

TElementDialogCommands* ElementDialogCommandsOf(TWindowWidgets& window) {
  return window.Window().findChild<TElementDialogCommands*>("ElementDialogCommands", Qt::FindDirectChildrenOnly);
}

}  // namespace kvx
