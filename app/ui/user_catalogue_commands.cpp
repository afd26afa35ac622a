#include "app/ui/user_catalogue_commands.h"

#include <QMainWindow>
#include <filesystem>
#include <system_error>

#include "app/main_form_state.h"
#include "app/ui/command_host.h"
#include "app/ui/menu_commands.h"
#include "app/ui/table_commands.h"
#include "app/ui/user_catalogue_dialogs.h"
#include "catalogues/element_format_fields.h"
#include "core/element_file_ranges.h"
#include "core/records.h"
#include "platform/globals.h"
#include "platform/messages.h"

namespace kvx {

bool LoadUserCatalogue(TCommandHost& host, bool showMessages, const TUserCatalogueProgress& progress) {
  TCurrentObjects& currentObjects = host.Objects();
  TTableState& table = host.TableState();
  TSkippedLines skipped;
  const std::string& file = currentObjects.UserCatalogueFile;
  const TOpenedFile seen = TOpenedFile::Seen(file);
  const TUserCatalogueStatus status =
      ReadUserCatalogue(file, currentObjects.UserCatalogueLines, host.UserObjects(), progress, &skipped);
  if (status == TUserCatalogueStatus::NotFound || status == TUserCatalogueStatus::Foreign) {
    if (showMessages) {
      ShowMessage(UserCatalogueMessage(status, file, false), UserCatalogueMessage(status, file, true),
                  MessageIcon::Error);
    }
    return false;
  }
  currentObjects.UserCatalogueRead = seen;
  if (showMessages && skipped.Count > 0)
    ShowSkippedLinesNote(SkippedLinesNote(skipped, file + ": ", FieldNameGerman(skipped.Field.c_str())));
  const std::int32_t count = host.UserObjects().Count();
  if (currentObjects.UserObjectIndex >= count) currentObjects.UserObjectIndex = -1;
  // The range is checked against the objects, not the lines: switched-off
  // and empty lines give no object.
  CheckUserCatalogueRange(currentObjects.ElementFileRanges, count);
  if (count > 0) table.ObjectChanged = 1;
  host.RefreshMenuStates();
  return status == TUserCatalogueStatus::Loaded;
}

void LoadUserCatalogueAtStartup(TCommandHost& host) {
  TCurrentObjects& objects = host.Objects();
  if (objects.UserCatalogueFile.empty()) objects.UserCatalogueFile = host.DataFolder() + "/user.csv";
  std::error_code ec;
  if (std::filesystem::is_regular_file(objects.UserCatalogueFile, ec)) LoadUserCatalogue(host, false);
}

namespace {

void BenutzerdefinierterKatalog1Click(TCommandHost& host) {
  TCurrentObjects& s = host.Objects();
  TUserCatalogueContext context;
  context.FileName = &s.UserCatalogueFile;
  context.Lines = &s.UserCatalogueLines;
  context.Read = &s.UserCatalogueRead;
  context.Objects = &host.UserObjects();
  context.Load = [&host](bool showMessages, const TUserCatalogueProgress& progress) {
    return LoadUserCatalogue(host, showMessages, progress);
  };
  context.SettingsChanged = [&host] {
    host.DocumentState().SettingsChanged = 1;
    // "Use no catalogue" leaves no object to point at.
    TCurrentObjects& st = host.Objects();
    if (st.UserObjectIndex >= host.UserObjects().Count()) st.UserObjectIndex = -1;
    CheckUserCatalogueRange(st.ElementFileRanges, host.UserObjects().Count());
    host.RefreshMenuStates();
  };
  ShowUserCatalogDialog(std::move(context), &host.Window());
}

}  // namespace

void InstallUserCatalogueCommands(TCommandHost& host) {
  host.Commands().RegisterEnabled(
      {{"BenutzerdefinierterKatalog1", [&host] { BenutzerdefinierterKatalog1Click(host); }}});
  host.Tables().FindUserCatalogObject = [&host](const tuserlist& objects) {
    return FindUserCatalogObject(objects, &host.Window());
  };
  host.RefreshMenuStates();
}

}  // namespace kvx
