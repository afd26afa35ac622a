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

TTableOutputSettings GridSettings(TCommandHost& form) {
  TTableOutputSettings output;
  output.AzimuthOrigin = form.Computing().HalfTurnOffsetAngle;
  output.ColumnWidthTable = form.Documents().ColumnWidthTable();
  return output;
}

std::function<void(const char*, const char*)> PanelOf(TCommandHost& form) {
  return [&form](const char* german, const char* english) {
    if (german == nullptr) {
      HideEclipsePanel(form);
    } else {
      ShowEclipsePanel(form, german, english);
    }
  };
}

// A cancelled search has written the occultations found until the cancel.
void ReportIfCancelled(TCommandHost& form, TOccultationRunStatus status) {
  if (status == TOccultationRunStatus::Cancelled) form.Tables().Dispatcher().ReportCancelled(true);
}

// A search refused (nothing computed) or cancelled before its first
// occultation writes no table: the sheet as it was before the run cleared
// it; after a cancel the status line says nothing was written. True when
// the search ended so.
bool EndsWithoutTable(TCommandHost& form, TOccultationRunStatus status, const TOccultationResultList& found) {
  if (status == TOccultationRunStatus::Refused) {
    LeaveWithoutTable(form);
    form.Repaint();
    return true;
  }
  if (status != TOccultationRunStatus::Cancelled || found.Count() != 0) return false;
  LeaveWithoutTable(form);
  form.Tables().Dispatcher().ReportCancelledBeforeAnyResult();
  return true;
}

// Writes a search's table into the sheet or the grid: every occultation
// found, also when the search was cancelled.
void PaintOccultations(TCommandHost& form, const TOccultationResultList& list, const TObserverRecord& start,
                       const TOccultationTableKind& kind) {
  TDocumentState& document = form.DocumentState();
  TEphemerisPeriodState& period = form.Period();
  document.DocumentSaved = 0;
  if (document.WorkbookView != 0) {
    TSheetSink sink(form.Workbook());
    WriteOccultationTable(sink, period.TableConfig, start, list, kind);
  } else {
    const TTableOutputSettings settings = GridSettings(form);
    TGridSink sink(form.Grid(), settings);
    WriteOccultationTable(sink, period.TableConfig, start, list, kind);
  }
}

void LunarOccultationRun(TCommandHost& form) {
  const TComputingSettings& computing = form.Computing();
  const TEphemerisPeriodState& period = form.Period();
  const TStarCatalogueState& catalogue = form.StarCatalogueState();
  BusyCursorScope busy;
  PanelGuard guard{form};
  if (!form.StarCatalogue() && !form.EnsureStarCatalogue()) {
    LeaveWithoutTable(form);
    return;
  }
  tsternbedeckung& search = Holder()->For(form.StarCatalogue());
  TLunarOccultationOptions options;
  options.SelectedStar = catalogue.SelectedStar;
  options.LimitingMagnitude = computing.NumericOptions.MagnitudeLimit;
  options.MinimumSunAltitude = computing.NumericOptions.OccultationMaxSunAltitude;
  options.OldPrecession = computing.NumericOptions.Fk4Positions;
  options.PreciseSun = computing.NumericOptions.ExactSunMoon;
  const TOccultationRunStatus status =
      search.rechnen(EclipseSearchContext(computing, period), period.End, period.Start, options, PanelOf(form));
  if (EndsWithoutTable(form, status, search.ergebnisse)) return;
  TOccultationTableKind kind;
  kind.AllStars = options.SelectedStar == -1;
  kind.LimitingMagnitude = options.LimitingMagnitude;
  kind.StarName = search.LastStarName;
  PaintOccultations(form, search.ergebnisse, period.Start, kind);
  ReportIfCancelled(form, status);
}

void PlanetOccultationRun(TCommandHost& form) {
  TComputingSettings& computing = form.Computing();
  TEphemerisPeriodState& period = form.Period();
  BusyCursorScope busy;
  PanelGuard guard{form};
  tplanetbedeckung search(EclipseSearchContext(form.Computing(), form.Period()), period.TableConfig, period.Start);
  search.PreciseSun = computing.NumericOptions.ExactSunMoon;
  const TOccultationRunStatus status = search.rechnen(period.End, period.Start, PanelOf(form));
  if (EndsWithoutTable(form, status, search.ergebnisse)) return;
  TOccultationTableKind kind;
  kind.Planets = true;
  PaintOccultations(form, search.ergebnisse, period.Start, kind);
  ReportIfCancelled(form, status);
}

void PlanetStarOccultationRun(TCommandHost& form) {
  const TComputingSettings& computing = form.Computing();
  const TEphemerisPeriodState& period = form.Period();
  const TCurrentObjects& objects = form.Objects();
  TDocumentState& document = form.DocumentState();
  const TStarCatalogueState& catalogue = form.StarCatalogueState();
  const TConfigSettings& held = form.HeldConfiguration();
  BusyCursorScope busy;
  if (!form.StarCatalogue() && !form.EnsureStarCatalogue()) {
    LeaveWithoutTable(form);
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
                           form.StarCatalogue());
  const TOccultationRunStatus status = RunPlanetStarOccultations(
      search, options, objects.CurrentAsteroid, computing.WarningsOption != 0, period.End, period.Start);
  if (EndsWithoutTable(form, status, search.ergebnisse)) return;
  TPlanetStarTableKind kind;
  kind.AllStars = options.SelectedStar == -1;
  kind.LimitingMagnitude = options.LimitingMagnitude;
  kind.StarName = search.StarName;
  kind.Bodies = search.SearchedBodies;
  document.DocumentSaved = 0;
  if (document.WorkbookView != 0) {
    TSheetSink sink(form.Workbook());
    WritePlanetStarTable(sink, period.TableConfig, period.Start, search.ergebnisse, kind);
  } else {
    const TTableOutputSettings settings = GridSettings(form);
    TGridSink sink(form.Grid(), settings);
    WritePlanetStarTable(sink, period.TableConfig, period.Start, search.ergebnisse, kind);
  }
  ReportIfCancelled(form, status);
}

// The star catalogue as the occultation dialogs reach it: the one loaded,
// and the loading on demand with the dialog's own progress bar.
TStarCatalogueAccess CatalogueAccess(TCommandHost& form) {
  TStarCatalogueAccess access;
  access.Current = [&form] { return form.StarCatalogue(); };
  access.Ensure = [&form](const std::function<void(int)>& progress) {
    form.EnsureStarCatalogue(progress);
    return form.StarCatalogue();
  };
  return access;
}

// The catalogue the dialogs show as chosen: the loaded one's, or the
// setting while none is loaded.
std::uint8_t CatalogueChoice(TCommandHost& form) {
  return form.StarCatalogue() ? form.StarCatalogue()->Choice() : form.StarCatalogueState().Setting;
}

void RunOccultationKind(TCommandHost& form, std::int32_t kind) {
  TTableState& s = form.TableState();
  s.TableKind = kNoTableKind;
  form.Repaint();
  form.Tables().ComputeKindThenRepaint(kind);
}

}  // namespace

void Sternbedeckungen1Click(TCommandHost& form) {
  TComputingSettings& computing = form.Computing();
  TStarCatalogueState& catalogue = form.StarCatalogueState();
  if (catalogue.Loading != 0) return;
  if (form.Selection().MoonTheory() != 0 &&
      !form.SlowTheoryQuestion("Soll die Berechnung der Sternbedeckungen wirklich nach der vollständigen ELP2000 "
                               "erfolgen? Wenn Sie auf Nein klicken, wird ein vereinfachtes Verfahren angewandt.",
                               "Shall the complete ELP2000 be used? Press NO for a quicker method.", 1)) {
    return;
  }
  form.Repaint();
  if (!ShowLunarOccultationCriteria(
          catalogue.SelectedStar, CatalogueChoice(form), computing.NumericOptions.MagnitudeLimit,
          computing.NumericOptions.OccultationMaxSunAltitude, CatalogueAccess(form), &form.Window())) {
    return;
  }
  if (!form.Tables().PeriodCheck()) return;
  {
    BusyCursorScope busy;
    if (!form.EnsureStarCatalogue()) return;
  }
  RunOccultationKind(form, kStarOccultationKind);
}

void Planeten1Click(TCommandHost& form) {
  if (form.Selection().MoonTheory() != 0 &&
      !form.SlowTheoryQuestion("Soll die Berechnung der Bedeckungen wirklich nach der vollständigen ELP2000 "
                               "erfolgen? Wenn Sie auf Nein klicken, wird ein vereinfachtes Verfahren angewandt.",
                               "Do you really want to calculate occultations by the (very slow) ELP2000-theory? "
                               "Pressing no, a quicker method will be used.",
                               1)) {
    return;
  }
  if (!form.Tables().PeriodCheck()) return;
  RunOccultationKind(form, kPlanetOccultationKind);
}

void OccultationsofStarsbyPlanets1Click(TCommandHost& form) {
  TCurrentObjects& objects = form.Objects();
  TDocumentState& document = form.DocumentState();
  TStarCatalogueState& catalogue = form.StarCatalogueState();
  if (catalogue.Loading != 0) return;
  form.Repaint();
  TConfigSettings& held = form.HeldConfiguration();
  TPlanetOccultationChoice choice;
  choice.SelectedStar = catalogue.SelectedStar;
  for (std::size_t i = 0; i < 9; ++i) choice.Bodies[i] = held.PlanetOccultationBodies[i];
  choice.LimitingMagnitude = held.PlanetOccultationMagnitude > 0 ? held.PlanetOccultationMagnitude : 8.0f;
  choice.ConjunctionsOnly = held.ConjunctionsOnly;
  choice.AsteroidDiameter = held.AsteroidDiameter;
  if (!ShowPlanetOccultationOptions(choice, CatalogueChoice(form), objects.CurrentAsteroid.Name, CatalogueAccess(form),
                                    &form.Window())) {
    return;
  }
  catalogue.SelectedStar = choice.SelectedStar;
  for (std::size_t i = 0; i < 9; ++i) held.PlanetOccultationBodies[i] = choice.Bodies[i];
  held.PlanetOccultationMagnitude = choice.LimitingMagnitude;
  held.ConjunctionsOnly = choice.ConjunctionsOnly;
  held.AsteroidDiameter = choice.AsteroidDiameter;
  document.SettingsChanged = 1;
  if (!form.Tables().PeriodCheck()) return;
  RunOccultationKind(form, kPlanetStarOccultationKind);
}

void InstallLunarOccultationCommands(TCommandHost& form) {
  TTableDispatcher& dispatcher = form.Tables().Dispatcher();
  dispatcher.Register(kStarOccultationKind, [&form] { LunarOccultationRun(form); });
  dispatcher.Register(kPlanetOccultationKind, [&form] { PlanetOccultationRun(form); });
  dispatcher.Register(kPlanetStarOccultationKind, [&form] { PlanetStarOccultationRun(form); });
  TMenuCommands& commands = form.Commands();
  commands.RegisterHandler("Sternbedeckungen1", [&form] { Sternbedeckungen1Click(form); });
  commands.RegisterHandler("Planeten1", [&form] { Planeten1Click(form); });
  commands.RegisterHandler("OccultationsofStarsbyPlanets1", [&form] { OccultationsofStarsbyPlanets1Click(form); });
  const auto refresh = [&form] {
    form.Commands().SetEnabled("Sternbedeckungen1", form.StarCatalogueState().Loading == 0);
    form.Commands().SetEnabled("Planeten1", true);
    form.Commands().SetEnabled("OccultationsofStarsbyPlanets1", form.StarCatalogueState().Loading == 0);
  };
  form.AddMenuStateRefresher(refresh);
  refresh();
}

}  // namespace kvx
