#include "app/ui/event_commands.h"

#include <QMainWindow>

#include "app/main_form_state.h"
#include "app/table_dispatcher.h"
#include "app/ui/asteroid_database_commands.h"
#include "app/ui/command_host.h"
#include "app/ui/eclipse_commands.h"
#include "app/ui/event_found.h"
#include "app/ui/menu_commands.h"
#include "app/ui/table_commands.h"
#include "engine/table_sink.h"
#include "events/conjunction_table_writer.h"
#include "events/event_list.h"
#include "events/event_table_writer.h"
#include "events/ui/event_search_dialog.h"
#include "platform/globals.h"
#include "platform/help.h"
#include "theories/observer_completion.h"

namespace kvx {

namespace {

bool LibraryTheorySelected(const TTheorySelection& selection) {
  return selection.PlanetTheory() == kPlanetTheoryVsop87D || selection.PlanetTheory() == kPlanetTheoryVsop87C ||
         selection.MoonTheory() != 0;
}

void WriteEventTable(TCommandHost& form) {
  TComputingSettings& computing = form.Computing();
  TDocumentState& document = form.DocumentState();
  TEphemerisPeriodState& period = form.Period();
  // A list of conjunctions (their events carry the conjunction kind) is
  // written as the conjunction table.
  if (ListHoldsConjunctions(form.Events())) {
    TTableOutputSettings output;
    output.AzimuthOrigin = computing.HalfTurnOffsetAngle;
    if (document.WorkbookView != 0) {
      WriteConjunctionResultsToSheet(1, period.TableConfig, form.Workbook(), form.Events());
    } else {
      WriteConjunctionResultsToGrid(0, period.TableConfig, form.Grid(), output, form.Events());
    }
    document.DocumentSaved = 0;
    return;
  }
  if (document.WorkbookView != 0) {
    WriteEventSearchResultsToSheet(period.TableConfig, form.Workbook(), form.Events());
  } else {
    TTableOutputSettings output;
    output.AzimuthOrigin = computing.HalfTurnOffsetAngle;
    WriteEventSearchResultsToGrid(period.TableConfig, form.Grid(), output, form.Events());
  }
  document.DocumentSaved = 0;
}

TEventSearchHooks HooksOf(TCommandHost& form) {
  TEventSearchHooks hooks;
  SetPeriodHooks(form, hooks);
  hooks.ChangeAsteroid = [&form](bool database) {
    if (database) {
      ChooseDatabaseAsteroid(form);
    } else {
      form.Commands().Trigger("Planetoiden1");
    }
  };
  hooks.AsteroidName = [&form] { return form.Objects().CurrentAsteroid.Name; };
  hooks.DatabaseAsteroidName = [&form] { return form.Objects().CurrentDatabaseAsteroid; };
  hooks.CometName = [&form] { return form.Objects().CurrentComet.Name; };
  hooks.AsteroidElements = [&form] { return form.Objects().CurrentAsteroid; };
  hooks.CometElements = [&form] { return form.Objects().CurrentComet; };
  hooks.Answerer = [&form](const std::string& eventName, const std::string& objectName, const std::string& when,
                           const std::string& value) {
    return ShowEventFound(eventName, objectName, when, true, std::string(), value, &form.Window());
  };
  hooks.Help = [] { ShowHelpTopic(kHelpTopicEventSearch); };
  return hooks;
}

}  // namespace

TSearchTheoryScope::TSearchTheoryScope(TTheoryControl& theories) : theories_(theories) {
  theories_.SaveTheoryForSearch();
}
TSearchTheoryScope::~TSearchTheoryScope() { theories_.RestoreTheoryAfterSearch(); }

bool AskSlowEventSearchTheory(TTheoryControl& theories) {
  return !LibraryTheorySelected(theories.Selection()) ||
         theories.SlowTheoryQuestion(kSlowEventSearchGerman, kSlowEventSearchEnglish, 2);
}

TObserverRecord PeriodStartOf(TCommandHost& form) { return form.Period().Start; }

TObserverRecord CompletedPeriodEndOf(TCommandHost& form) {
  TEphemerisPeriodState p = form.Period();
  TTableDispatcher::CompletePeriodEnd(p);
  return p.End;
}

void ChangePeriodOf(TCommandHost& form) { form.Tables().ZeitraumfrTabelle1Click(); }

void Ereignissuchen1Click(TCommandHost& form) {
  TCurrentObjects& objects = form.Objects();
  TEphemerisPeriodState& period = form.Period();
  TSearchSettings& searches = form.SearchSettings();
  TTableState& table = form.TableState();
  const TSearchTheoryScope theory(form);
  if (!AskSlowEventSearchTheory(form)) return;

  const TObserverRecord saved = period.Start;
  TEventSearchSettings settings;
  settings.Options = searches.EventSearchOptions;
  settings.ResultsIntoTable = searches.ResultsIntoTable != 0;
  settings.UsePeriod = searches.EventUsesPeriod != 0;
  settings.AsteroidDatabase = objects.AsteroidDatabase != 0;
  TSearchContext context = EclipseSearchContext(form.Computing(), form.Period());
  context.Topocentric = 0;
  context.AsteroidDatabaseFile = objects.CurrentDatabaseAsteroid;
  TObserverRecord handOver = period.Start;
  const int result =
      ShowEventSearchDialog(settings, period.Start, context, form.Events(), HooksOf(form), handOver, &form.Window());
  form.Repaint();
  if (result == kEventDialogCancel) {
    period.Start = saved;
    return;
  }
  searches.EventSearchOptions = settings.Options;
  searches.ResultsIntoTable = settings.ResultsIntoTable ? 1 : 0;
  searches.EventUsesPeriod = settings.UsePeriod ? 1 : 0;
  objects.AsteroidDatabase = settings.AsteroidDatabase ? 1 : 0;
  if (result == kEventDialogUseDate) period.Start = handOver;
  UTToLocalTime(period.Start);
  // The period's end follows the new start before the next command.
  form.MarkTableChanged();
  if (settings.ResultsIntoTable && !form.Events().Empty()) {
    table.TableKind = kEventTableKind;
    form.Tables().ComputeTable();
  }
  form.UpdateStatusLine();
}

void InstallEventSearchCommands(TCommandHost& form) {
  form.Tables().Dispatcher().Register(kEventTableKind, [&form] { WriteEventTable(form); });
  form.Commands().RegisterEnabled({{"Ereignissuchen1", [&form] { Ereignissuchen1Click(form); }}});
}

}  // namespace kvx
