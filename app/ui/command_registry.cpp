#include "app/ui/command_registry.h"

#include "app/ui/almanac_commands.h"
#include "app/ui/asteroid_database_commands.h"
#include "app/ui/batch_commands.h"
#include "app/ui/conjunction_commands.h"
#include "app/ui/document_commands.h"
#include "app/ui/eclipse_commands.h"
#include "app/ui/element_commands.h"
#include "app/ui/element_tool_commands.h"
#include "app/ui/event_commands.h"
#include "app/ui/main_window.h"
#include "app/ui/moon_event_commands.h"
#include "app/ui/multi_object_event_commands.h"
#include "app/ui/orbit_commands.h"
#include "app/ui/orbit_setup_commands.h"
#include "app/ui/settings_commands.h"
#include "app/ui/sheet_commands.h"
#include "app/ui/table_commands.h"
#include "app/ui/time_place_commands.h"
#include "app/ui/user_catalogue_commands.h"
#include "app/ui/user_conjunction_commands.h"

namespace kvx {

void InstallCommandModules(TMainForm& form, const TCommandObjects& objects) {
  TCommandHost& host = form;
  objects.Tables = new TTableCommands(form);
  objects.Documents = new TDocumentCommands(host);
  objects.Sheets = new TSheetCommands(host);
  InstallSolarEclipseCommands(host);
  InstallMoonEventCommands(host);
  InstallEventSearchCommands(host);
  InstallMultiObjectEventCommands(host);
  InstallAlmanacCommands(host);
  InstallConjunctionCommands(host);
  InstallUserConjunctionCommands(host);
  InstallLunarOccultationCommands(host);
  InstallTimePlaceCommands(form);
  InstallSettingsCommands(host);
  InstallElementToolCommands(host);
  InstallElementDialogCommands(host);
  InstallOrbitCommands(host);
  InstallOrbitSetupCommands(host);
  InstallUserCatalogueCommands(host);
  InstallAsteroidDatabaseCommands(form);
  InstallElementFileBatchCommands(host);
}

}  // namespace kvx
