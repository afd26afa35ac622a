#include "app/ui/command_registry.h"

#include "app/ui/almanac_commands.h"
#include "app/ui/asteroid_database_commands.h"
#include "app/ui/batch_commands.h"
#include "app/ui/command_host.h"
#include "app/ui/conjunction_commands.h"
#include "app/ui/document_commands.h"
#include "app/ui/eclipse_commands.h"
#include "app/ui/element_commands.h"
#include "app/ui/element_tool_commands.h"
#include "app/ui/event_commands.h"
#include "app/ui/moon_event_commands.h"
#include "app/ui/multi_object_event_commands.h"
#include "app/ui/occultation_commands.h"
#include "app/ui/orbit_commands.h"
#include "app/ui/orbit_setup_commands.h"
#include "app/ui/settings_commands.h"
#include "app/ui/sheet_commands.h"
#include "app/ui/table_commands.h"
#include "app/ui/time_place_commands.h"
#include "app/ui/user_catalogue_commands.h"
#include "app/ui/user_conjunction_commands.h"

namespace kvx {

void InstallCommandModules(TCommandHost& host, const TCommandObjects& objects) {
  objects.Tables = new TTableCommands(host);
  objects.Documents = new TDocumentCommands(host);
  objects.Sheets = new TSheetCommands(host);
  InstallSolarEclipseCommands(host);
  InstallLunarEclipseCommands(host);
  InstallMoonEventCommands(host);
  InstallEventSearchCommands(host);
  InstallMultiObjectEventCommands(host);
  InstallAlmanacCommands(host);
  InstallConjunctionCommands(host);
  InstallUserConjunctionCommands(host);
  InstallLunarOccultationCommands(host);
  InstallTimePlaceCommands(host);
  InstallSettingsCommands(host);
  InstallElementToolCommands(host);
  InstallElementDialogCommands(host);
  InstallOrbitCommands(host);
  InstallOrbitSetupCommands(host);
  InstallUserCatalogueCommands(host);
  InstallAsteroidDatabaseCommands(host);
  InstallElementFileBatchCommands(host);
}

}  // namespace kvx
