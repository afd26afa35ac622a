// The main window's user catalogue: the loader every command and search
// uses, the editor command (Objects | User-defined catalogue) and the picker
// behind Tables | User-catalogue.
#pragma once

#include "catalogues/user_catalogue.h"

namespace kvx {

class TCommandHost;

// Loads the catalogue the main window names (Objects().UserCatalogueFile)
// into its lines and objects. A missing or foreign file leaves the previous
// catalogue in place and, with `showMessages`, says so. After a load the
// chosen object and the chosen entry range are forgotten when they no
// longer lie inside the objects, and the menus are refreshed. True when at
// least one object was built.
bool LoadUserCatalogue(TCommandHost& host, bool showMessages, const TUserCatalogueProgress& progress = {});

// The start-up's load: the catalogue file defaults to "user.csv" in the data
// folder and is read without messages when it exists.
void LoadUserCatalogueAtStartup(TCommandHost& host);

// Registers "BenutzerdefinierterKatalog1" (the editor) and hands the picker
// to the table commands, which enables "Benutzerkatalog1" while objects
// exist.
void InstallUserCatalogueCommands(TCommandHost& host);

}  // namespace kvx
