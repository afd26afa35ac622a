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
#include "theories/observer_completion.h"

namespace kvx {

namespace {

bool LibraryTheorySelected(const TTheorySelection& selection) {
  return selection.PlanetTheory() == kPlanetTheoryVsop87D || selection.PlanetTheory() == kPlanetTheoryVsop87C ||
         selection.MoonTheory() != 0;
}

void WriteEventTable(TCommandHost& host) {
  TDocumentState& document = host.DocumentState();
  TEphemerisPeriodState& period = host.Period();
  // A list of conjunctions (their events carry the conjunction kind) is
  // written as the conjunction table.
  if (ListHoldsConjunctions(host.Events())) {
    const TTableOutputSettings output = host.Tables().Output();
    if (document.WorkbookView != 0) {
      WriteConjunctionResultsToSheet(1, period.TableConfig, host.Workbook(), host.Events());
    } else {
      WriteConjunctionResultsToGrid(0, period.TableConfig, host.Grid(), output, host.Events());
    }
    document.DocumentSaved = 0;
    return;
  }
  if (document.WorkbookView != 0) {
    WriteEventSearchResultsToSheet(period.TableConfig, host.Workbook(), host.Events());
  } else {
    const TTableOutputSettings output = host.Tables().Output();
    WriteEventSearchResultsToGrid(period.TableConfig, host.Grid(), output, host.Events());
  }
  document.DocumentSaved = 0;
}

TEventSearchHooks HooksOf(TCommandHost& host) {
  TEventSearchHooks hooks;
  SetPeriodHooks(host, hooks);
  hooks.ChangeAsteroid = [&host](bool database) {
    if (database) {
      ChooseDatabaseAsteroid(host);
    } else {
      host.Commands().Trigger("Planetoiden1");
    }
  };
  hooks.AsteroidName = [&host] { return host.Objects().CurrentAsteroid.Name; };
  hooks.DatabaseAsteroidName = [&host] { return host.Objects().CurrentDatabaseAsteroid; };
  hooks.CometName = [&host] { return host.Objects().CurrentComet.Name; };
  hooks.AsteroidElements = [&host] { return host.Objects().CurrentAsteroid; };
  hooks.CometElements = [&host] { return host.Objects().CurrentComet; };
  hooks.Answerer = [&host](const std::string& eventName, const std::string& objectName, const std::string& when,
                           const std::string& value) {
    return ShowEventFound(eventName, objectName, when, true, std::string(), value, &host.Window());
  };
  return hooks;
}

}  // namespace

TSearchTheoryScope::TSearchTheoryScope(TTheoryControl& theories) : theories_(theories) {
  theories_.SaveTheoryForSearch();
}
TSearchTheoryScope::~TSearchTheoryScope() { theories_.RestoreTheoryAfterSearch(); }

bool AskSlowEventSearchTheory(TTheoryControl& theories, const TNumericOptions& options) {
  return !LibraryTheorySelected(SearchSelectionOf(theories.Selection(), options)) ||
         theories.SlowTheoryQuestion(kSlowEventSearchGerman, kSlowEventSearchEnglish, 2);
}

TObserverRecord PeriodStartOf(TWindowRecords& records) { return records.Period().Start; }

TObserverRecord CompletedPeriodEndOf(TWindowRecords& records) {
  TEphemerisPeriodState p = records.Period();
  TTableDispatcher::CompletePeriodEnd(p);
  return p.End;
}

void ChangePeriodOf(THostCommands& commands) { commands.Tables().ZeitraumfrTabelle1Click(); }

void Ereignissuchen1Click(TCommandHost& host) {
  TCurrentObjects& objects = host.Objects();
  TEphemerisPeriodState& period = host.Period();
  TSearchSettings& searches = host.SearchSettings();
  TTableState& table = host.TableState();
  const TSearchTheoryScope theory(host);
  if (!AskSlowEventSearchTheory(host, host.Computing().NumericOptions)) return;

  const TObserverRecord saved = period.Start;
  TEventSearchSettings settings;
  settings.Options = searches.EventSearchOptions;
  settings.ResultsIntoTable = searches.ResultsIntoTable != 0;
  settings.UsePeriod = searches.EventUsesPeriod != 0;
  settings.AsteroidDatabase = objects.AsteroidDatabase != 0;
  TSearchContext context = EclipseSearchContext(host.Computing(), host.Period());
  // Geocentric: the search steps through geocentric places, and the
  // refinement of a find's time reads only geocentric or heliocentric
  // quantities, so the conjunction options' topocentric flag would change
  // no time found.
  context.Topocentric = 0;
  context.AsteroidDatabaseFile = objects.CurrentDatabaseAsteroid;
  TObserverRecord handOver = period.Start;
  const int result =
      ShowEventSearchDialog(settings, period.Start, context, host.Events(), HooksOf(host), handOver, &host.Window());
  host.Repaint();
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
  host.MarkTableChanged();
  if (settings.ResultsIntoTable && !host.Events().Empty()) {
    table.TableKind = kEventTableKind;
    host.Tables().ComputeTable();
  }
  host.UpdateStatusLine();
}

void InstallEventSearchCommands(TCommandHost& host) {
  host.Tables().Dispatcher().Register(kEventTableKind, [&host] { WriteEventTable(host); });
  host.Commands().RegisterEnabled({{"Ereignissuchen1", [&host] { Ereignissuchen1Click(host); }}});
}

}  // namespace kvx
