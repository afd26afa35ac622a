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
#include "platform/help.h"
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

bool SelectDatabaseAsteroids(TCommandHost& form) {
  BusyCursorScope busy;
  return SelectAsteroidsFromDatabase(AsteroidDatabaseContextOf(form), form.Objects().ChosenDatabaseAsteroids,
                                     &form.Window());
}

}  // namespace

TMultiObjectEventHooks MultiObjectEventHooksOf(TCommandHost& form) {
  TMultiObjectEventHooks hooks;
  SetPeriodHooks(form, hooks);
  TElementDialogCommands* elements = ElementDialogCommandsOf(form);
  if (elements != nullptr) {
    hooks.LoadElementLists = [&form, elements] {
      elements->AsteroidDialog().DataFolder = form.DataFolder();
      elements->AsteroidDialog().LoadListWhenEmpty();
      // The window stays responsive between the two loads.
      CurrentProgress().ProcessEvents();
      elements->CometDialog().DataFolder = form.DataFolder();
      elements->CometDialog().LoadListWhenEmpty();
    };
    hooks.AsteroidNames = [elements] { return NamesOf(elements->AsteroidDialog().Planetoidentabelle1); };
    hooks.CometNames = [elements] { return NamesOf(elements->CometDialog().Kometentabelle1); };
    hooks.AsteroidAt = [elements](std::int32_t i) { return elements->AsteroidDialog().Planetoidentabelle1.Data(i); };
    hooks.CometAt = [elements](std::int32_t i) { return elements->CometDialog().Kometentabelle1.Data(i); };
  }
  hooks.DatabaseFiles = [&form] { return form.Objects().ChosenDatabaseAsteroids; };
  hooks.SelectDatabaseAsteroids = [&form] { return SelectDatabaseAsteroids(form); };
  hooks.SelectRange = [&form](std::int32_t& first, std::int32_t& last, const std::vector<std::string>& names) {
    return SelectFileRecordRange(first, last, names, &form.Window());
  };
  hooks.Help = [] { ShowHelpTopic(kHelpTopicSeveralObjects); };
  return hooks;
}

void EreignissefrmehrereObjekte1Click(TCommandHost& form) {
  TCurrentObjects& objects = form.Objects();
  TEphemerisPeriodState& period = form.Period();
  TSearchSettings& searches = form.SearchSettings();
  TTableState& tableState = form.TableState();
  if (objects.AsteroidDatabase != 0 && objects.ChosenDatabaseAsteroids.empty()) SelectDatabaseAsteroids(form);
  const TSearchTheoryScope theory(form);
  if (!AskSlowEventSearchTheory(form)) return;

  const TObserverRecord saved = period.Start;
  TMultiObjectEventSettings settings;
  settings.Options = searches.EventSearchOptions;
  settings.Ranges = objects.ElementFileRanges;
  settings.AsteroidDatabase = objects.AsteroidDatabase != 0;
  TSearchContext context = EclipseSearchContext(form.Computing(), form.Period());
  context.Topocentric = 0;
  const int result =
      ShowMultiObjectEventSearch(settings, context, form.Events(), MultiObjectEventHooksOf(form), &form.Window());
  form.Repaint();
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
  if (!form.Events().Empty()) {
    tableState.TableKind = kEventTableKind;
    form.Tables().ComputeTable();
  }
  form.UpdateStatusLine();
}

void InstallMultiObjectEventCommands(TCommandHost& form) {
  form.Commands().RegisterEnabled(
      {{"EreignissefrmehrereObjekte1", [&form] { EreignissefrmehrereObjekte1Click(form); }}});
}

}  // namespace kvx
