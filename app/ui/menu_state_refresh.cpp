#include "app/ui/menu_state_refresh.h"

#include <QLineEdit>

#include "app/config_file.h"
#include "app/main_form_state.h"
#include "app/settings_io.h"
#include "app/star_catalogue_state.h"
#include "app/ui/command_host.h"
#include "app/ui/menu_commands.h"
#include "core/records.h"
#include "platform/globals.h"
#include "platform/qt/workbook_view.h"
#include "theories/tle.h"

namespace kvx {

TMenuStateInput MenuStateInputOf(TCommandHost& host) {
  const TTheoryState& theory = host.TheoryState();
  const TComputingSettings& computing = host.Computing();
  const TEphemerisPeriodState& period = host.Period();
  const TCurrentObjects& objects = host.Objects();
  const TDocumentState& document = host.DocumentState();
  TMenuStateInput in;
  in.Libraries = theory.Libraries;
  in.PositionFiles = theory.VscFilesPresent != 0;
  in.IntegrationDatabase = computing.IntegrationDatabase != 0;
  in.UseIntegrationDatabase = computing.UseIntegrationDatabase != 0;
  in.Selection = host.Selection();
  in.CatalogueLoading = host.StarCatalogueState().Loading != 0;
  in.Warnings = computing.WarningsOption != 0;
  in.Hints = host.StoredSettings().Window.Hints;
  // The period check's switch, as the satellite tables see it.
  in.SatellitesEnabled = period.SatellitesEnabled != 0;
  in.SatellitesLoaded = host.SatelliteFile().count > 0;
  in.ConfigurationLoaded = !host.Configuration().FileName().empty();
  in.AsteroidName = objects.CurrentAsteroid.Name;
  in.CometName = objects.CurrentComet.Name;
  in.VariableStarName = objects.CurrentVariableStar.Name;
  in.UserCatalogueLoaded = host.UserObjects().Count() > 0;
  in.WorkbookView = document.WorkbookView != 0;
  // The sheet's own switch: its view shows the edit bar's row as it says.
  in.EditBarShown = host.Workbook().ShowEditBar();
  in.FormulasShown = host.Workbook().ShowFormulas();
  in.SheetProtected = host.Workbook().EnableProtection();
  in.DateListInUse = host.TableState().DateListMode != 0;
  in.DaylightSaving = period.Start.DaylightHours != 0;
  in.English = LanguageEnglish != 0;
  return in;
}

void ApplyMenuStates(TCommandHost& host) {
  TMenuCommands& commands = host.Commands();
  for (const TMenuItemState& state : MenuStates(MenuStateInputOf(host))) commands.ApplyState(state);
}

}  // namespace kvx
