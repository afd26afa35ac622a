// What the command modules reach of the main window, in parts by what they
// use: the window's records (TWindowRecords), its command objects
// (THostCommands), its widgets (TWindowWidgets), the settings with their
// rules (TSettingRules), the configuration file (TConfigurationAccess), the
// star catalogue (TStarCatalogueSource), the integration and orbit
// determination (TOrbitWork), the theory control, the feedback, the sheet
// access, and the hooks one module fills and another runs (TCommandHooks).
// The window implements the sum; a module's function takes the part or parts
// it uses, and the whole host where it installs handlers or hands the host
// on, so that the window can install the modules without their seeing it.
#pragma once

#include "app/command_hooks.h"
#include "app/configuration_access.h"
#include "app/orbit_work.h"
#include "app/setting_rules.h"
#include "app/sheet_access.h"
#include "app/star_catalogue_source.h"
#include "app/theory_control.h"
#include "app/ui/host_commands.h"
#include "app/ui/window_widgets.h"
#include "app/window_feedback.h"
#include "app/window_records.h"

namespace kvx {

class TCommandHost : public TWindowRecords,
                     public THostCommands,
                     public TWindowWidgets,
                     public TSettingRules,
                     public TConfigurationAccess,
                     public TStarCatalogueSource,
                     public TOrbitWork,
                     public TTheoryControl,
                     public TWindowFeedback,
                     public TSheetAccess,
                     public TCommandHooks {
 protected:
  ~TCommandHost() = default;
};

}  // namespace kvx
