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
#include "platform/help.h"
#include "setup/ui/numeric_options_dialog.h"

namespace kvx {

namespace {

// Any library theory selected for the planets or the Moon.
bool LibraryTheorySelected(const TTheorySelection& selection) {
  return selection.bytes[0] != kPlanetTheoryInternal || selection.bytes[1] != 0;
}

TConjunctionWindowState ReadWindow(TCommandHost& form) {
  const TComputingSettings& computing = form.Computing();
  const TCurrentObjects& objects = form.Objects();
  const TEphemerisPeriodState& periodState = form.Period();
  TConjunctionWindowState w;
  w.Asteroid = objects.CurrentAsteroid;
  w.Comet = objects.CurrentComet;
  w.AsteroidName = objects.CurrentAsteroid.Name;
  w.CometName = objects.CurrentComet.Name;
  w.AsteroidAvailable = !w.AsteroidName.empty() && w.AsteroidName != "Kein Planetoid";
  w.DatabaseAsteroidFile = objects.CurrentDatabaseAsteroid;
  w.DatabaseAsteroidName = DatabaseAsteroidName(objects.CurrentDatabaseAsteroid);
  w.CometAvailable = !w.CometName.empty() && w.CometName != "Kein Komet";
  w.Catalogue = form.StarCatalogue();
  w.UserObjects = &form.UserObjects();
  const TNumericOptions& o = computing.NumericOptions;
  w.Filter = TVisibilityFilter{o.ConjunctionMaxSunAltitude, o.ConjunctionMinAltitude1, o.ConjunctionMinAltitude2};
  TEphemerisPeriodState period = periodState;
  TTableDispatcher::CompletePeriodEnd(period);
  w.Period = period.Start;
  w.End = period.End;
  w.TableStep = periodState.Step.StepDays;
  return w;
}

void ChangeFilter(TCommandHost& form) {
  if (form.Commands().HasHandler("Optionen2")) {
    form.Commands().Trigger("Optionen2");
  } else {
    ShowNumericOptionsDialog(form.Computing().NumericOptions, true, &form.Window());
  }
}

// The help on conjunctions and angular separations.
void ShowConjunctionHelp() { ShowHelpTopic(kHelpTopicConjunctions); }

void WriteTable(TCommandHost& form) {
  TComputingSettings& computing = form.Computing();
  TDocumentState& document = form.DocumentState();
  TEphemerisPeriodState& period = form.Period();
  document.DocumentSaved = 0;
  if (document.WorkbookView != 0) {
    WriteConjunctionResultsToSheet(1, period.TableConfig, form.Workbook(), form.Events());
  } else {
    TTableOutputSettings output;
    output.AzimuthOrigin = computing.HalfTurnOffsetAngle;
    WriteConjunctionResultsToGrid(0, period.TableConfig, form.Grid(), output, form.Events());
  }
}

}  // namespace

bool AskSlowConjunctionSearchTheory(TTheoryControl& theories) {
  return !LibraryTheorySelected(theories.Selection()) ||
         theories.SlowTheoryQuestion(kSlowSearchGermanSingular, kSlowEventSearchEnglish, 2);
}

namespace {

// The shared command of both menu items.
void ConjunctionCommand(TCommandHost& form, std::uint8_t mode) {
  const TSearchTheoryScope theory(form);
  form.Repaint();
  if (!AskSlowConjunctionSearchTheory(form)) return;
  TCurrentObjects& objects = form.Objects();
  TEphemerisPeriodState& period = form.Period();
  TSearchSettings& searches = form.SearchSettings();
  TConfigSettings& held = form.HeldConfiguration();
  TConjunctionOptions options = held.ConjunctionOptions;
  TObserverRecord date = period.Start;
  const TObserverRecord saved = date;
  const int result = ShowConjunctionSearchDialog(
      mode, objects.AsteroidDatabase, held.ConjunctionUsesPeriod, held.SeparationLimit, form.Events(), date, form,
      options, searches.ResultsIntoTable, held.ConjunctionStar, held.ConjunctionUserObject);
  form.Repaint();
  if (result == kConjunctionCancel) {
    period.Start = saved;
    return;
  }
  held.ConjunctionOptions = options;
  period.Start = date;
  UTToLocalTime(period.Start);
  form.MarkTableChanged();
  if (searches.ResultsIntoTable != 0 && !form.Events().Empty()) form.Tables().ComputeKind(kConjunctionSearchKind);
  form.UpdateStatusLine();
}

}  // namespace

int ShowConjunctionSearchDialog(std::uint8_t mode, std::uint8_t& asteroidDatabase, std::uint8_t& usePeriod,
                                double& separationLimit, TEventList& events, TObserverRecord& start, TCommandHost& form,
                                TConjunctionOptions& options, std::uint8_t& resultsIntoTable, std::int32_t& starNumber,
                                std::int32_t& userObjectNumber) {
  events.Clear();
  TSearchContext context = EclipseSearchContext(form.Computing(), form.Period());
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
  const std::int32_t current = form.Objects().UserObjectIndex;
  if (userObjectNumber < 1 && current >= 0 && current < form.UserObjects().Count()) run.UserObjectNumber = current + 1;

  TConjunctionDialogHooks hooks;
  hooks.Read = [&form] { return ReadWindow(form); };
  hooks.EnsureStarCatalogue = [&form] { return form.EnsureStarCatalogue(); };
  hooks.ChangePeriod = [&form] { form.Tables().ZeitraumfrTabelle1Click(); };
  hooks.ChangeAsteroid = [&form, &run] {
    if (run.Context().AsteroidDatabase != 0) {
      ChooseDatabaseAsteroid(form);
    } else {
      form.Commands().Trigger("Planetoiden1");
    }
  };
  hooks.Help = [] { ShowConjunctionHelp(); };
  hooks.ChangeFilter = [&form] { ChangeFilter(form); };
  hooks.PickUserObject = [&form](std::int32_t& number) {
    const int index = FindUserCatalogObject(form.UserObjects(), &form.Window());
    if (index < 0) return false;
    number = index + 1;
    return true;
  };
  hooks.Answerer = [&form, &run](const TConjunctionFoundTexts& t) {
    const bool found = !t.Separation.empty();
    return ShowEventFound(t.Title, t.Second, t.When, found && !run.UsePeriod, t.When,
                          found ? t.Separation + "   " + t.NorthSouth : std::string(), &form.Window());
  };
  TKonjunktionsuchen dialog(mode, run, std::move(hooks), &form.Window());
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

void Kionjunktionen1Click(TCommandHost& form) { ConjunctionCommand(form, 0); }
void Winkelabstnde1Click(TCommandHost& form) { ConjunctionCommand(form, 1); }

void InstallConjunctionCommands(TCommandHost& form) {
  TTableDispatcher& dispatcher = form.Tables().Dispatcher();
  dispatcher.Register(kPlanetStarConjunctionKind, [&form] { WriteTable(form); });
  dispatcher.Register(kConjunctionSearchKind, [&form] { WriteTable(form); });
  form.Commands().RegisterEnabled({
      {"Kionjunktionen1", [&form] { Kionjunktionen1Click(form); }},
      {"Winkelabstnde1", [&form] { Winkelabstnde1Click(form); }},
  });
}

}  // namespace kvx
