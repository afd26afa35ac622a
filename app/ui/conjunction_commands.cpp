#include "app/ui/conjunction_commands.h"

#include <QMainWindow>

#include "app/config_file.h"
#include "app/main_form_state.h"
#include "app/ui/asteroid_database_commands.h"
#include "app/ui/command_host.h"
#include "app/ui/eclipse_commands.h"
#include "app/ui/event_commands.h"
#include "app/ui/event_found.h"
#include "app/ui/menu_commands.h"
#include "app/ui/table_commands.h"
#include "app/ui/user_catalogue_dialogs.h"
#include "core/records.h"
#include "eclipses/star_catalogue.h"
#include "events/conjunction_table_writer.h"
#include "events/event_list.h"
#include "events/ui/conjunction_dialog.h"
#include "platform/globals.h"
#include "setup/ui/numeric_options_dialog.h"

namespace kvx {

namespace {

// Any library theory selected for the planets or the Moon.
bool LibraryTheorySelected(const TTheorySelection& selection) {
  return selection.bytes[0] != kPlanetTheoryInternal || selection.bytes[1] != 0;
}

TConjunctionWindowState ReadWindow(TCommandHost& host) {
  const TComputingSettings& computing = host.Computing();
  const TCurrentObjects& objects = host.Objects();
  const TEphemerisPeriodState& periodState = host.Period();
  TConjunctionWindowState w;
  w.Asteroid = objects.CurrentAsteroid;
  w.Comet = objects.CurrentComet;
  w.AsteroidName = objects.CurrentAsteroid.Name;
  w.CometName = objects.CurrentComet.Name;
  w.AsteroidAvailable = !w.AsteroidName.empty() && w.AsteroidName != "Kein Planetoid";
  w.DatabaseAsteroidFile = objects.CurrentDatabaseAsteroid;
  w.DatabaseAsteroidName = DatabaseAsteroidName(objects.CurrentDatabaseAsteroid);
  w.CometAvailable = !w.CometName.empty() && w.CometName != "Kein Komet";
  w.Catalogue = host.StarCatalogue();
  w.UserObjects = &host.UserObjects();
  w.Filter = ConjunctionVisibilityFilter(computing);
  TEphemerisPeriodState period = periodState;
  TTableDispatcher::CompletePeriodEnd(period);
  w.Period = period.Start;
  w.End = period.End;
  w.TableStep = periodState.Step.StepDays;
  return w;
}

void WriteTable(TCommandHost& host) {
  TDocumentState& document = host.DocumentState();
  TEphemerisPeriodState& period = host.Period();
  document.DocumentSaved = 0;
  if (document.WorkbookView != 0) {
    WriteConjunctionResultsToSheet(1, period.TableConfig, host.Workbook(), host.Events());
  } else {
    const TTableOutputSettings output = host.Tables().Output();
    WriteConjunctionResultsToGrid(0, period.TableConfig, host.Grid(), output, host.Events());
  }
}

}  // namespace

TVisibilityFilter ConjunctionVisibilityFilter(const TComputingSettings& computing) {
  const TNumericOptions& o = computing.NumericOptions;
  return TVisibilityFilter{o.ConjunctionMaxSunAltitude, o.ConjunctionMinAltitude1, o.ConjunctionMinAltitude2};
}

void ChangeConjunctionFilter(TCommandHost& host) {
  if (host.Commands().HasHandler("Optionen2")) {
    host.Commands().Trigger("Optionen2");
  } else {
    std::uint8_t fullCalculation = host.StarCatalogueState().Setting == 2 ? 1 : 0;
    ShowNumericOptionsDialog(host.Computing().NumericOptions, fullCalculation, true, &host.Window());
  }
}

bool AskSlowConjunctionSearchTheory(TTheoryControl& theories, const TNumericOptions& options) {
  return !LibraryTheorySelected(SearchSelectionOf(theories.Selection(), options)) ||
         theories.SlowTheoryQuestion(kSlowSearchGermanSingular, kSlowEventSearchEnglish, 2);
}

namespace {

// The shared command of both menu items.
void ConjunctionCommand(TCommandHost& host, std::uint8_t mode) {
  const TSearchTheoryScope theory(host);
  host.Repaint();
  if (!AskSlowConjunctionSearchTheory(host, host.Computing().NumericOptions)) return;
  TCurrentObjects& objects = host.Objects();
  TEphemerisPeriodState& period = host.Period();
  TSearchSettings& searches = host.SearchSettings();
  TConfigSettings& held = host.HeldConfiguration();
  TConjunctionOptions options = held.ConjunctionOptions;
  TObserverRecord date = period.Start;
  const TObserverRecord saved = date;
  const int result = ShowConjunctionSearchDialog(
      mode, objects.AsteroidDatabase, held.ConjunctionUsesPeriod, held.SeparationLimit, host.Events(), date, host,
      options, searches.ResultsIntoTable, held.ConjunctionStar, held.ConjunctionUserObject);
  host.Repaint();
  if (result == kConjunctionCancel) {
    period.Start = saved;
    return;
  }
  held.ConjunctionOptions = options;
  period.Start = date;
  UTToLocalTime(period.Start);
  host.MarkTableChanged();
  if (searches.ResultsIntoTable != 0 && !host.Events().Empty()) host.Tables().ComputeKind(kConjunctionSearchKind);
  host.UpdateStatusLine();
}

}  // namespace

int ShowConjunctionSearchDialog(std::uint8_t mode, std::uint8_t& asteroidDatabase, std::uint8_t& usePeriod,
                                double& separationLimit, TEventList& events, TObserverRecord& start, TCommandHost& host,
                                TConjunctionOptions& options, std::uint8_t& resultsIntoTable, std::int32_t& starNumber,
                                std::int32_t& userObjectNumber) {
  events.Clear();
  TSearchContext context = EclipseSearchContext(host.Computing(), host.Period());
  context.AsteroidDatabase = asteroidDatabase != 0 ? 1 : 0;
  TConjunctionSearchRun run(context, events);
  run.Options = options;
  run.SeparationLimit = separationLimit;
  run.Start = start;
  run.ResultsIntoTable = resultsIntoTable != 0;
  run.UsePeriod = usePeriod != 0;
  run.StarNumber = starNumber;
  run.UserObjectNumber = userObjectNumber;
  // None chosen here yet: the user object chosen in the main window.
  const std::int32_t current = host.Objects().UserObjectIndex;
  if (userObjectNumber < 1 && current >= 0 && current < host.UserObjects().Count()) run.UserObjectNumber = current + 1;

  TConjunctionDialogHooks hooks;
  hooks.Read = [&host] { return ReadWindow(host); };
  hooks.EnsureStarCatalogue = [&host] { return host.EnsureStarCatalogue(); };
  hooks.ChangePeriod = [&host] { host.Tables().ZeitraumfrTabelle1Click(); };
  hooks.ChangeAsteroid = [&host, &run] {
    if (run.Context().AsteroidDatabase != 0) {
      ChooseDatabaseAsteroid(host);
    } else {
      host.Commands().Trigger("Planetoiden1");
    }
  };
  hooks.ChangeFilter = [&host] { ChangeConjunctionFilter(host); };
  hooks.PickUserObject = [&host](std::int32_t& number) {
    const int index = FindUserCatalogObject(host.UserObjects(), &host.Window());
    if (index < 0) return false;
    number = index + 1;
    return true;
  };
  hooks.Answerer = [&host, &run](const TConjunctionFoundTexts& t) {
    const bool found = !t.Separation.empty();
    // The separation in the fourth line; which side of the second object the
    // first stands on in the fifth, shown with the offer of the date.
    return ShowEventFound(t.Title, t.Second, t.When, found && !run.UsePeriod, found ? t.NorthSouth : std::string(),
                          found ? t.Separation : std::string(), &host.Window());
  };
  TKonjunktionsuchen dialog(mode, run, std::move(hooks), &host.Window());
  const int result = dialog.exec();
  const int answer = result == kConjunctionUseDate || result == kConjunctionClose ? result : kConjunctionCancel;
  if (answer == kConjunctionCancel) return answer;
  dialog.ReadObjects();
  starNumber = run.StarNumber;
  userObjectNumber = run.UserObjectNumber;
  options = run.Options;
  separationLimit = run.SeparationLimit;
  resultsIntoTable = run.ResultsIntoTable ? 1 : 0;
  usePeriod = run.UsePeriod ? 1 : 0;
  asteroidDatabase = run.Context().AsteroidDatabase;
  if (answer == kConjunctionUseDate && run.CanHandOverDate()) start = run.Start;
  return answer;
}

void Kionjunktionen1Click(TCommandHost& host) { ConjunctionCommand(host, 0); }
void Winkelabstnde1Click(TCommandHost& host) { ConjunctionCommand(host, 1); }

void InstallConjunctionCommands(TCommandHost& host) {
  TTableDispatcher& dispatcher = host.Tables().Dispatcher();
  dispatcher.Register(kPlanetStarConjunctionKind, [&host] { WriteTable(host); });
  dispatcher.Register(kConjunctionSearchKind, [&host] { WriteTable(host); });
  host.Commands().RegisterEnabled({
      {"Kionjunktionen1", [&host] { Kionjunktionen1Click(host); }},
      {"Winkelabstnde1", [&host] { Winkelabstnde1Click(host); }},
  });
}

}  // namespace kvx
