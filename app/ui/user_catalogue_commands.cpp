#include "app/ui/user_catalogue_commands.h"

#include <QMainWindow>
#include <filesystem>
#include <system_error>

#include "app/main_form_state.h"
#include "app/ui/command_host.h"
#include "app/ui/menu_commands.h"
#include "app/ui/table_commands.h"
#include "app/ui/user_catalogue_dialogs.h"
#include "core/element_file_ranges.h"
#include "core/records.h"
#include "platform/globals.h"
#include "platform/messages.h"

namespace kvx {

bool LoadUserCatalogue(TCommandHost& form, bool showMessages, const TUserCatalogueProgress& progress) {
  TCurrentObjects& currentObjects = form.Objects();
  TTableState& table = form.TableState();
  const TUserCatalogueStatus status = ReadUserCatalogue(
      currentObjects.UserCatalogueFile, currentObjects.UserCatalogueLines, form.UserObjects(), progress);
  if (status == TUserCatalogueStatus::NotFound || status == TUserCatalogueStatus::Foreign) {
    if (showMessages) {
      ShowMessage(UserCatalogueMessage(status, currentObjects.UserCatalogueFile, false),
                  UserCatalogueMessage(status, currentObjects.UserCatalogueFile, true), MessageIcon::Error);
    }
    return false;
  }
  const std::int32_t count = form.UserObjects().Count();
  if (currentObjects.UserObjectIndex >= count) currentObjects.UserObjectIndex = -1;
  // The range is checked against the objects, not the lines: switched-off
  // and empty lines give no object.
  CheckUserCatalogueRange(currentObjects.ElementFileRanges, count);
  if (count > 0) table.ObjectChanged = 1;
  form.RefreshMenuStates();
  return status == TUserCatalogueStatus::Loaded;
}

void LoadUserCatalogueAtStartup(TCommandHost& form) {
  TCurrentObjects& objects = form.Objects();
  if (objects.UserCatalogueFile.empty()) objects.UserCatalogueFile = form.DataFolder() + "/user.csv";
  std::error_code ec;
  if (std::filesystem::is_regular_file(objects.UserCatalogueFile, ec)) LoadUserCatalogue(form, false);
}

namespace {

void BenutzerdefinierterKatalog1Click(TCommandHost& form) {
  TCurrentObjects& s = form.Objects();
  TUserCatalogueContext context;
  context.FileName = &s.UserCatalogueFile;
  context.Lines = &s.UserCatalogueLines;
  context.Objects = &form.UserObjects();
  context.Load = [&form](bool showMessages, const TUserCatalogueProgress& progress) {
    return LoadUserCatalogue(form, showMessages, progress);
  };
  context.SettingsChanged = [&form] {
    form.DocumentState().SettingsChanged = 1;
    // "Use no catalogue" leaves no object to point at.
    TCurrentObjects& st = form.Objects();
    if (st.UserObjectIndex >= form.UserObjects().Count()) st.UserObjectIndex = -1;
    CheckUserCatalogueRange(st.ElementFileRanges, form.UserObjects().Count());
    form.RefreshMenuStates();
  };
  ShowUserCatalogDialog(std::move(context), &form.Window());
}

}  // namespace

void InstallUserCatalogueCommands(TCommandHost& form) {
  form.Commands().RegisterEnabled(
      {{"BenutzerdefinierterKatalog1", [&form] { BenutzerdefinierterKatalog1Click(form); }}});
  form.Tables().FindUserCatalogObject = [&form](const tuserlist& objects) {
    return FindUserCatalogObject(objects, &form.Window());
  };
  form.RefreshMenuStates();
}

}  // namespace kvx
