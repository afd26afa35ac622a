#include "app/ui/occultation_commands.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <memory>

#include "app/config_file.h"
#include "app/main_form_state.h"
#include "app/ui/command_host.h"
#include "app/ui/document_commands.h"
#include "app/ui/eclipse_commands.h"
#include "app/ui/menu_commands.h"
#include "app/ui/table_commands.h"
#include "eclipses/lunar_occultation.h"
#include "eclipses/occultation_output.h"
#include "eclipses/planet_occultation.h"
#include "eclipses/planet_star_occultation.h"
#include "eclipses/planet_star_output.h"
#include "eclipses/star_catalogue.h"
#include "eclipses/ui/lunar_occultation_dialog.h"
#include "eclipses/ui/planet_occultation_dialog.h"
#include "platform/busy_cursor.h"
#include "platform/globals.h"

namespace kvx {

namespace {

constexpr std::int32_t kStarOccultationKind = 142;
constexpr std::int32_t kPlanetOccultationKind = 143;
constexpr std::int32_t kPlanetStarOccultationKind = 145;

// The main window's lunar occultation object, made on first use for the
// catalogue the window holds and made again when that catalogue changes.
struct TLunarOccultationHolder {
  std::unique_ptr<tsternbedeckung> Search;
  tsternbedeckung& For(const std::shared_ptr<const TStarCatalogue>& catalogue) {
    if (!Search || Search->SharedCatalogue() != catalogue) Search = std::make_unique<tsternbedeckung>(catalogue);
    return *Search;
  }
};

std::shared_ptr<TLunarOccultationHolder>& Holder() {
  static std::shared_ptr<TLunarOccultationHolder> holder = std::make_shared<TLunarOccultationHolder>();
  return holder;
}

TTableOutputSettings GridSettings(TCommandHost& host) { return host.Tables().Output(); }

std::function<void(const char*, const char*)> PanelOf(TWindowWidgets& window) {
  return [&window](const char* german, const char* english) {
    if (german == nullptr) {
      HideEclipsePanel(window);
    } else {
      ShowEclipsePanel(window, german, english);
    }
  };
}

// A cancelled search has written the occultations found until the cancel.
void ReportIfCancelled(THostCommands& commands, TOccultationRunStatus status) {
  if (status == TOccultationRunStatus::Cancelled) commands.Tables().Dispatcher().ReportCancelled(true);
}

// A search refused (nothing computed) or cancelled before its first
// occultation writes no table: the sheet as it was before the run cleared
// it; after a cancel the status line says nothing was written. True when
// the search ended so.
bool EndsWithoutTable(TCommandHost& host, TOccultationRunStatus status, const TOccultationResultList& found) {
  if (status == TOccultationRunStatus::Refused) {
    LeaveWithoutTable(host);
    host.Repaint();
    return true;
  }
  if (status != TOccultationRunStatus::Cancelled || found.Count() != 0) return false;
  LeaveWithoutTable(host);
  host.Tables().Dispatcher().ReportCancelledBeforeAnyResult();
  return true;
}

// Writes a search's table into the sheet or the grid: every occultation
// found, also when the search was cancelled.
void PaintOccultations(TCommandHost& host, const TOccultationResultList& list, const TObserverRecord& start,
                       const TOccultationTableKind& kind) {
  TDocumentState& document = host.DocumentState();
  TEphemerisPeriodState& period = host.Period();
  document.DocumentSaved = 0;
  if (document.WorkbookView != 0) {
    TSheetSink sink(host.Workbook());
    WriteOccultationTable(sink, period.TableConfig, start, list, kind);
  } else {
    const TTableOutputSettings settings = GridSettings(host);
    TGridSink sink(host.Grid(), settings);
    WriteOccultationTable(sink, period.TableConfig, start, list, kind);
  }
}

void LunarOccultationRun(TCommandHost& host) {
  const TComputingSettings& computing = host.Computing();
  const TEphemerisPeriodState& period = host.Period();
  const TStarCatalogueState& catalogue = host.StarCatalogueState();
  BusyCursorScope busy;
  PanelGuard guard{host};
  if (!host.StarCatalogue() && !host.EnsureStarCatalogue()) {
    LeaveWithoutTable(host);
    return;
  }
  tsternbedeckung& search = Holder()->For(host.StarCatalogue());
  TLunarOccultationOptions options;
  options.SelectedStar = catalogue.SelectedStar;
  options.LimitingMagnitude = computing.NumericOptions.MagnitudeLimit;
  options.MinimumSunAltitude = computing.NumericOptions.OccultationMaxSunAltitude;
  options.OldPrecession = computing.NumericOptions.Fk4Positions;
  options.PreciseSun = computing.NumericOptions.ExactSunMoon;
  const TOccultationRunStatus status =
      search.rechnen(EclipseSearchContext(computing, period), period.End, period.Start, options, PanelOf(host));
  if (EndsWithoutTable(host, status, search.ergebnisse)) return;
  TOccultationTableKind kind;
  kind.AllStars = options.SelectedStar == -1;
  kind.LimitingMagnitude = options.LimitingMagnitude;
  kind.StarName = search.LastStarName;
  PaintOccultations(host, search.ergebnisse, period.Start, kind);
  ReportIfCancelled(host, status);
}

void PlanetOccultationRun(TCommandHost& host) {
  TComputingSettings& computing = host.Computing();
  TEphemerisPeriodState& period = host.Period();
  BusyCursorScope busy;
  PanelGuard guard{host};
  tplanetbedeckung search(EclipseSearchContext(host.Computing(), host.Period()), period.TableConfig, period.Start);
  search.PreciseSun = computing.NumericOptions.ExactSunMoon;
  const TOccultationRunStatus status = search.rechnen(period.End, period.Start, PanelOf(host));
  if (EndsWithoutTable(host, status, search.ergebnisse)) return;
  TOccultationTableKind kind;
  kind.Planets = true;
  PaintOccultations(host, search.ergebnisse, period.Start, kind);
  ReportIfCancelled(host, status);
}

void PlanetStarOccultationRun(TCommandHost& host) {
  const TComputingSettings& computing = host.Computing();
  const TEphemerisPeriodState& period = host.Period();
  const TCurrentObjects& objects = host.Objects();
  TDocumentState& document = host.DocumentState();
  const TStarCatalogueState& catalogue = host.StarCatalogueState();
  const TConfigSettings& held = host.HeldConfiguration();
  BusyCursorScope busy;
  if (!host.StarCatalogue() && !host.EnsureStarCatalogue()) {
    LeaveWithoutTable(host);
    return;
  }
  TPlanetStarOptions options;
  for (std::size_t i = 0; i < 9; ++i) options.Bodies[i] = held.PlanetOccultationBodies[i];
  options.LimitingMagnitude = held.PlanetOccultationMagnitude;
  options.SelectedStar = catalogue.SelectedStar;
  options.ConjunctionsOnly = held.ConjunctionsOnly;
  options.AsteroidDiameter = held.AsteroidDiameter;
  options.OldPrecession = computing.NumericOptions.Fk4Positions;
  options.PreciseSun = computing.NumericOptions.ExactSunMoon;
  tsternbedeckungpl search(EclipseSearchContext(computing, period), period.TableConfig, period.Start,
                           host.StarCatalogue());
  const TOccultationRunStatus status = RunPlanetStarOccultations(
      search, options, objects.CurrentAsteroid, computing.WarningsOption != 0, period.End, period.Start);
  if (EndsWithoutTable(host, status, search.ergebnisse)) return;
  TPlanetStarTableKind kind;
  kind.AllStars = options.SelectedStar == -1;
  kind.LimitingMagnitude = options.LimitingMagnitude;
  kind.StarName = search.StarName;
  kind.Bodies = search.SearchedBodies;
  document.DocumentSaved = 0;
  if (document.WorkbookView != 0) {
    TSheetSink sink(host.Workbook());
    WritePlanetStarTable(sink, period.TableConfig, period.Start, search.ergebnisse, kind);
  } else {
    const TTableOutputSettings settings = GridSettings(host);
    TGridSink sink(host.Grid(), settings);
    WritePlanetStarTable(sink, period.TableConfig, period.Start, search.ergebnisse, kind);
  }
  ReportIfCancelled(host, status);
}

// The star catalogue as the occultation dialogs reach it: the one loaded,
// and the loading on demand with the dialog's own progress bar.
TStarCatalogueAccess CatalogueAccess(TStarCatalogueSource& stars) {
  TStarCatalogueAccess access;
  access.Current = [&stars] { return stars.StarCatalogue(); };
  access.Ensure = [&stars](const std::function<void(int)>& progress) {
    stars.EnsureStarCatalogue(progress);
    return stars.StarCatalogue();
  };
  return access;
}

// The catalogue the dialogs show as chosen: the loaded one's, or the
// setting while none is loaded.
std::uint8_t CatalogueChoice(TCommandHost& host) {
  return host.StarCatalogue() ? host.StarCatalogue()->Choice() : host.StarCatalogueState().Setting;
}

void RunOccultationKind(TCommandHost& host, std::int32_t kind) {
  TTableState& s = host.TableState();
  s.TableKind = kNoTableKind;
  host.Repaint();
  host.Tables().ComputeKindThenRepaint(kind);
}

}  // namespace

void Sternbedeckungen1Click(TCommandHost& host) {
  TComputingSettings& computing = host.Computing();
  TStarCatalogueState& catalogue = host.StarCatalogueState();
  if (catalogue.Loading != 0) return;
  if (SearchSelectionOf(host.Selection(), computing.NumericOptions).MoonTheory() != 0 &&
      !host.SlowTheoryQuestion("Soll die Berechnung der Sternbedeckungen wirklich nach der vollständigen ELP2000 "
                               "erfolgen? Wenn Sie auf Nein klicken, wird ein vereinfachtes Verfahren angewandt.",
                               "Shall the complete ELP2000 be used? Press NO for a quicker method.", 1)) {
    return;
  }
  host.Repaint();
  if (!ShowLunarOccultationCriteria(
          catalogue.SelectedStar, CatalogueChoice(host), computing.NumericOptions.MagnitudeLimit,
          computing.NumericOptions.OccultationMaxSunAltitude, CatalogueAccess(host), &host.Window())) {
    return;
  }
  if (!host.Tables().PeriodCheck()) return;
  {
    BusyCursorScope busy;
    if (!host.EnsureStarCatalogue()) return;
  }
  RunOccultationKind(host, kStarOccultationKind);
}

void Planeten1Click(TCommandHost& host) {
  if (SearchSelectionOf(host.Selection(), host.Computing().NumericOptions).MoonTheory() != 0 &&
      !host.SlowTheoryQuestion("Soll die Berechnung der Bedeckungen wirklich nach der vollständigen ELP2000 "
                               "erfolgen? Wenn Sie auf Nein klicken, wird ein vereinfachtes Verfahren angewandt.",
                               "Do you really want to calculate occultations by the (very slow) ELP2000-theory? "
                               "Pressing no, a quicker method will be used.",
                               1)) {
    return;
  }
  if (!host.Tables().PeriodCheck()) return;
  RunOccultationKind(host, kPlanetOccultationKind);
}

void OccultationsofStarsbyPlanets1Click(TCommandHost& host) {
  TCurrentObjects& objects = host.Objects();
  TDocumentState& document = host.DocumentState();
  TStarCatalogueState& catalogue = host.StarCatalogueState();
  if (catalogue.Loading != 0) return;
  host.Repaint();
  TConfigSettings& held = host.HeldConfiguration();
  TPlanetOccultationChoice choice;
  choice.SelectedStar = catalogue.SelectedStar;
  for (std::size_t i = 0; i < 9; ++i) choice.Bodies[i] = held.PlanetOccultationBodies[i];
  choice.LimitingMagnitude = held.PlanetOccultationMagnitude > 0 ? held.PlanetOccultationMagnitude : 8.0f;
  choice.ConjunctionsOnly = held.ConjunctionsOnly;
  choice.AsteroidDiameter = held.AsteroidDiameter;
  if (!ShowPlanetOccultationOptions(choice, CatalogueChoice(host), objects.CurrentAsteroid.Name, CatalogueAccess(host),
                                    &host.Window())) {
    return;
  }
  catalogue.SelectedStar = choice.SelectedStar;
  for (std::size_t i = 0; i < 9; ++i) held.PlanetOccultationBodies[i] = choice.Bodies[i];
  held.PlanetOccultationMagnitude = choice.LimitingMagnitude;
  held.ConjunctionsOnly = choice.ConjunctionsOnly;
  held.AsteroidDiameter = choice.AsteroidDiameter;
  document.SettingsChanged = 1;
  if (!host.Tables().PeriodCheck()) return;
  RunOccultationKind(host, kPlanetStarOccultationKind);
}

void InstallLunarOccultationCommands(TCommandHost& host) {
  TTableDispatcher& dispatcher = host.Tables().Dispatcher();
  dispatcher.Register(kStarOccultationKind, [&host] { LunarOccultationRun(host); });
  dispatcher.Register(kPlanetOccultationKind, [&host] { PlanetOccultationRun(host); });
  dispatcher.Register(kPlanetStarOccultationKind, [&host] { PlanetStarOccultationRun(host); });
  TMenuCommands& commands = host.Commands();
  commands.RegisterHandler("Sternbedeckungen1", [&host] { Sternbedeckungen1Click(host); });
  commands.RegisterHandler("Planeten1", [&host] { Planeten1Click(host); });
  commands.RegisterHandler("OccultationsofStarsbyPlanets1", [&host] { OccultationsofStarsbyPlanets1Click(host); });
  // The two star occultations wait for the star catalogue: the menu states
  // (app/menu_states.h) grey them while it loads.
}

}  // namespace kvx
