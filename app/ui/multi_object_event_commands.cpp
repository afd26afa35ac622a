#include "app/ui/multi_object_event_commands.h"

#include <QMainWindow>

#include "app/main_form_state.h"
#include "app/table_dispatcher.h"
#include "app/ui/asteroid_database_commands.h"
#include "app/ui/command_host.h"
#include "app/ui/eclipse_commands.h"
#include "app/ui/element_commands.h"
#include "app/ui/event_commands.h"
#include "app/ui/menu_commands.h"
#include "app/ui/range_dialog.h"
#include "app/ui/table_commands.h"
#include "catalogues/ui/element_dialogs.h"
#include "events/event_list.h"
#include "events/ui/multi_object_event_dialog.h"
#include "platform/busy_cursor.h"
#include "platform/progress.h"
#include "theories/observer_completion.h"

namespace kvx {

namespace {

template <typename List>
std::vector<std::string> NamesOf(const List& list) {
  std::vector<std::string> names;
  names.reserve(static_cast<std::size_t>(list.Count()));
  for (int i = 0; i < list.Count(); ++i) names.push_back(list.Text(i));
  return names;
}

bool SelectDatabaseAsteroids(TCommandHost& host) {
  BusyCursorScope busy;
  return SelectAsteroidsFromDatabase(AsteroidDatabaseContextOf(host), host.Objects().ChosenDatabaseAsteroids,
                                     &host.Window());
}

}  // namespace

TMultiObjectEventHooks MultiObjectEventHooksOf(TCommandHost& host) {
  TMultiObjectEventHooks hooks;
  SetPeriodHooks(host, hooks);
  TElementDialogCommands* elements = ElementDialogCommandsOf(host);
  if (elements != nullptr) {
    hooks.LoadElementLists = [&host, elements] {
      elements->AsteroidDialog().DataFolder = host.DataFolder();
      elements->AsteroidDialog().LoadListWhenEmpty();
      // The window stays responsive between the two loads.
      CurrentProgress().ProcessEvents();
      elements->CometDialog().DataFolder = host.DataFolder();
      elements->CometDialog().LoadListWhenEmpty();
    };
    hooks.AsteroidNames = [elements] { return NamesOf(elements->AsteroidDialog().Planetoidentabelle1); };
    hooks.CometNames = [elements] { return NamesOf(elements->CometDialog().Kometentabelle1); };
    hooks.AsteroidAt = [elements](std::int32_t i) { return elements->AsteroidDialog().Planetoidentabelle1.Data(i); };
    hooks.CometAt = [elements](std::int32_t i) { return elements->CometDialog().Kometentabelle1.Data(i); };
  }
  hooks.DatabaseFiles = [&host] { return host.Objects().ChosenDatabaseAsteroids; };
  hooks.SelectDatabaseAsteroids = [&host] { return SelectDatabaseAsteroids(host); };
  hooks.SelectRange = [&host](std::int32_t& first, std::int32_t& last, const std::vector<std::string>& names) {
    return SelectFileRecordRange(first, last, names, "several-objects", &host.Window());
  };
  return hooks;
}

void EreignissefrmehrereObjekte1Click(TCommandHost& host) {
  TCurrentObjects& objects = host.Objects();
  TEphemerisPeriodState& period = host.Period();
  TSearchSettings& searches = host.SearchSettings();
  TTableState& tableState = host.TableState();
  if (objects.AsteroidDatabase != 0 && objects.ChosenDatabaseAsteroids.empty()) SelectDatabaseAsteroids(host);
  const TSearchTheoryScope theory(host);
  if (!AskSlowEventSearchTheory(host, host.Computing().NumericOptions)) return;

  const TObserverRecord saved = period.Start;
  TMultiObjectEventSettings settings;
  settings.Options = searches.EventSearchOptions;
  settings.Ranges = objects.ElementFileRanges;
  settings.AsteroidDatabase = objects.AsteroidDatabase != 0;
  TSearchContext context = EclipseSearchContext(host.Computing(), host.Period());
  context.Topocentric = 0;
  const int result =
      ShowMultiObjectEventSearch(settings, context, host.Events(), MultiObjectEventHooksOf(host), &host.Window());
  host.Repaint();
  if (result != kMultiEventDialogClose) {
    period.Start = saved;
    return;
  }
  searches.EventSearchOptions = settings.Options;
  objects.ElementFileRanges = settings.Ranges;
  objects.AsteroidDatabase = settings.AsteroidDatabase ? 1 : 0;
  UTToLocalTime(period.Start);
  tableState.TableChanged = 1;
  // The finds exist only for the table: it is written whenever there are any.
  if (!host.Events().Empty()) {
    tableState.TableKind = kEventTableKind;
    host.Tables().ComputeTable();
  }
  host.UpdateStatusLine();
}

void InstallMultiObjectEventCommands(TCommandHost& host) {
  host.Commands().RegisterEnabled(
      {{"EreignissefrmehrereObjekte1", [&host] { EreignissefrmehrereObjekte1Click(host); }}});
}

}  // namespace kvx
