#include "app/ui/user_conjunction_commands.h"

#include <QMainWindow>
#include <filesystem>

#include "app/config_file.h"
#include "app/main_form_state.h"
#include "app/ui/asteroid_database_commands.h"
#include "app/ui/asteroid_selection_dialogs.h"
#include "app/ui/command_host.h"
#include "app/ui/conjunction_commands.h"
#include "app/ui/eclipse_commands.h"
#include "app/ui/element_commands.h"
#include "app/ui/event_commands.h"
#include "app/ui/menu_commands.h"
#include "app/ui/range_dialog.h"
#include "app/ui/table_commands.h"
#include "catalogues/ui/element_dialogs.h"
#include "core/asteroid_database.h"
#include "core/records.h"
#include "events/event_list.h"
#include "events/ui/conjunction_list_dialog.h"
#include "events/ui/planet_user_object_dialog.h"
#include "platform/busy_cursor.h"
#include "platform/globals.h"

namespace kvx {

namespace {

TUserConjunctionDialogHooks HooksOf(TCommandHost& host) {
  TUserConjunctionDialogHooks hooks;
  hooks.ChangeFilter = [&host] {
    ChangeConjunctionFilter(host);
    return ConjunctionVisibilityFilter(host.Computing());
  };
  hooks.SelectRange = [&host](TFileRange& range, const std::vector<std::string>& names) {
    std::int32_t first = range.First, last = range.Last;
    if (!SelectFileRecordRange(first, last, names, "menu-events", &host.Window())) return false;
    range = TFileRange{first, last};
    return true;
  };
  return hooks;
}

// The run's records from the main window: the period, the filter, the
// context with the user catalogue.
void PrepareRun(TWindowRecords& records, TUserConjunctionSearch& run, double separationLimit,
                const TConjunctionOptions& options, const TFileRange& userRange) {
  TEphemerisPeriodState period = records.Period();
  TTableDispatcher::CompletePeriodEnd(period);
  run.Start = period.Start;
  run.End = period.End;
  run.Filter = ConjunctionVisibilityFilter(records.Computing());
  run.Options = options;
  run.SeparationLimit = separationLimit;
  run.UserRange = userRange;
  run.Context().UserObjects = &records.UserObjects();
  run.Context().Topocentric = options.Topocentric;
}

// Runs the question, the dialog and the table of one command.
template <typename ShowDialog>
void ListCommand(TCommandHost& host, std::int32_t kind, ShowDialog show) {
  const TSearchTheoryScope theory(host);
  host.Repaint();
  if (!AskSlowConjunctionSearchTheory(host, host.Computing().NumericOptions)) return;
  const bool accepted = show();
  host.Repaint();
  if (accepted && !host.Events().Empty()) {
    host.Tables().SelectKind(kind);
    host.MarkTableChanged();
  }
  host.Tables().ComputeTable();
}

std::string ListFileOf(const TElementDialogBase& dialog, const std::string& dataFolder) {
  if (!dialog.State.FileName.empty()) return dialog.State.FileName;
  return dataFolder + "/" + DefaultElementFileName(dialog.Kind());
}

TMinorBodySources SourcesOf(TCommandHost& host) {
  TMinorBodySources sources;
  sources.EnsureLists = [&host] {
    TElementDialogCommands* dialogs = ElementDialogCommandsOf(host);
    if (dialogs == nullptr) return;
    const std::string folder = host.DataFolder();
    TElementeplform& asteroids = dialogs->AsteroidDialog();
    if (asteroids.Planetoidentabelle1.Loaded == 0 || asteroids.Planetoidentabelle1.Count() == 0) {
      const std::string file = ListFileOf(asteroids, folder);
      if (std::filesystem::is_regular_file(file))
        asteroids.Planetoidentabelle1.Neuedateiladen(asteroids.State.ElementFileKind, file, false, 0);
    }
    // Waiting events are handled between the two loads.
    CurrentProgress().ProcessEvents();
    TElementekoform& comets = dialogs->CometDialog();
    if (comets.Kometentabelle1.Loaded == 0 || comets.Kometentabelle1.Count() == 0) {
      const std::string file = ListFileOf(comets, folder);
      if (std::filesystem::is_regular_file(file))
        comets.Kometentabelle1.Neuedateiladen(comets.State.ElementFileKind, file, false, 0);
    }
  };
  sources.Names = [&host](int source) {
    std::vector<std::string> names;
    TElementDialogCommands* dialogs = ElementDialogCommandsOf(host);
    if (dialogs == nullptr) return names;
    const TElementListBase& list = source == 1
                                       ? static_cast<const TElementListBase&>(dialogs->CometDialog().Kometentabelle1)
                                       : dialogs->AsteroidDialog().Planetoidentabelle1;
    for (int i = 0; i < list.Count(); ++i) names.push_back(list.Text(i));
    return names;
  };
  sources.Count = [&host](int source) -> std::int32_t {
    if (source == 2) return static_cast<std::int32_t>(host.Objects().ChosenDatabaseAsteroids.size());
    TElementDialogCommands* dialogs = ElementDialogCommandsOf(host);
    if (dialogs == nullptr) return 0;
    return source == 1 ? dialogs->CometDialog().Kometentabelle1.Count()
                       : dialogs->AsteroidDialog().Planetoidentabelle1.Count();
  };
  sources.At = [&host](int source, std::int32_t index, TMinorBodyEntry& entry) {
    if (source == 2) {
      const std::vector<std::string>& chosen = host.Objects().ChosenDatabaseAsteroids;
      if (index < 0 || static_cast<std::size_t>(index) >= chosen.size()) return false;
      entry.DatabaseFile = chosen[static_cast<std::size_t>(index)];
      entry.Name = std::filesystem::path(entry.DatabaseFile).stem().string();
      return true;
    }
    TElementDialogCommands* dialogs = ElementDialogCommandsOf(host);
    if (dialogs == nullptr) return false;
    if (source == 1) {
      const Kometentabelle& list = dialogs->CometDialog().Kometentabelle1;
      if (index < 0 || index >= list.Count()) return false;
      entry.Comet = list.Data(index);
      entry.Name = list.Text(index);
    } else {
      const Planetoidentabelle& list = dialogs->AsteroidDialog().Planetoidentabelle1;
      if (index < 0 || index >= list.Count()) return false;
      entry.Asteroid = list.Data(index);
      entry.Name = list.Text(index);
    }
    return true;
  };
  sources.SelectDatabase = [&host] {
    BusyCursorScope busy;
    SelectAsteroidsFromDatabase(AsteroidDatabaseContextOf(host), host.Objects().ChosenDatabaseAsteroids,
                                &host.Window());
  };
  return sources;
}

}  // namespace

bool ShowPlanetStarConjunctionDialog(TCommandHost& host, double& separationLimit, TConjunctionOptions& options,
                                     TEventList& events, TElementFileRanges& ranges) {
  events.Clear();
  TBodyUserObjectConjunctionRun run(EclipseSearchContext(host.Computing(), host.Period()), events);
  PrepareRun(host, run, separationLimit, options, ranges.UserCatalogue);
  TKonjPlanStar dialog(run, HooksOf(host), &host.Window());
  if (dialog.exec() != QDialog::Accepted) return false;
  dialog.Edit300Exit();
  separationLimit = run.SeparationLimit;
  options = run.Options;
  ranges.UserCatalogue = run.UserRange;
  return true;
}

bool ShowConjunctionListDialog(TCommandHost& host, std::uint8_t& databaseFlag, std::uint8_t& cometFlag,
                               double& separationLimit, TConjunctionOptions& options, TEventList& events,
                               TElementFileRanges& ranges) {
  events.Clear();
  TUserObjectMinorBodyConjunctionRun run(EclipseSearchContext(host.Computing(), host.Period()), events);
  PrepareRun(host, run, separationLimit, options, ranges.UserCatalogue);
  TKonjlistdlg dialog(run, HooksOf(host), SourcesOf(host), databaseFlag, cometFlag, &host.Window());
  dialog.AsteroidRange = ranges.AsteroidFile;
  dialog.CometRange = ranges.CometFile;
  dialog.FormShow();
  if (dialog.exec() != QDialog::Accepted) return false;
  dialog.Edit300Exit();
  separationLimit = run.SeparationLimit;
  options = run.Options;
  ranges.UserCatalogue = run.UserRange;
  ranges.AsteroidFile = dialog.AsteroidRange;
  ranges.CometFile = dialog.CometRange;
  cometFlag = dialog.Source() == 1 ? 1 : 0;
  databaseFlag = dialog.Source() == 2 ? 1 : 0;
  return true;
}

void PlanetenundSterne1Click(TCommandHost& host) {
  ListCommand(host, kPlanetStarConjunctionKind, [&host] {
    TConfigSettings& held = host.HeldConfiguration();
    return ShowPlanetStarConjunctionDialog(host, held.SeparationLimit, held.ConjunctionOptions, host.Events(),
                                           host.Objects().ElementFileRanges);
  });
}

void KonjunktionenfrObjektlisten1Click(TCommandHost& host) {
  ListCommand(host, kConjunctionSearchKind, [&host] {
    TConfigSettings& held = host.HeldConfiguration();
    // The lists' source has bytes of its own: the database choice here is
    // not the searches' "Keplerelemente verwenden".
    return ShowConjunctionListDialog(host, held.ConjunctionListDatabase, held.ConjunctionListComets,
                                     held.SeparationLimit, held.ConjunctionOptions, host.Events(),
                                     host.Objects().ElementFileRanges);
  });
}

void InstallUserConjunctionCommands(TCommandHost& host) {
  host.Commands().RegisterEnabled({
      {"PlanetenundSterne1", [&host] { PlanetenundSterne1Click(host); }},
      {"KonjunktionenfrObjektlisten1", [&host] { KonjunktionenfrObjektlisten1Click(host); }},
  });
}

}  // namespace kvx
