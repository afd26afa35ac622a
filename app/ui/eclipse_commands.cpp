#include "app/ui/eclipse_commands.h"

#include <QLabel>
#include <QMainWindow>

#include "app/main_form_state.h"
#include "app/ui/command_host.h"
#include "app/ui/menu_commands.h"
#include "app/ui/table_commands.h"
#include "core/text_conversion.h"
#include "eclipses/lunar_eclipse.h"
#include "eclipses/solar_eclipse.h"
#include "eclipses/transit.h"
#include "eclipses/ui/lunar_criteria_dialog.h"
#include "eclipses/ui/solar_criteria_dialog.h"
#include "engine/table_sink.h"
#include "platform/globals.h"
#include "platform/progress.h"
#include "setup/setup_routines.h"

namespace kvx {

namespace {

constexpr std::int32_t kSolarEclipseKind = 140;
constexpr std::int32_t kSolarCalendarKind = 146;
constexpr std::int32_t kTransitKind = 148;
constexpr std::int32_t kTransitTableKind = 149;
constexpr std::int32_t kLunarEclipseKind = 88;
constexpr std::int32_t kLunarCalendarKind = 89;

const char* const kElpQuestionGerman =
    "Zur Zeit wird die genaue, aber langsame ELP2000-Theorie verwendet. Wenn Sie \"Nein\" wählen, wird die "
    "Newcomb-Theorie verwendet.";
const char* const kElpQuestionEnglish =
    "For the moment the very precise but slow ELP2000-Theorie is used. If you select \"No\", the newcomb theorie "
    "will be used.";

const char* const kVsopQuestionGerman =
    "Zur Zeit wird die genaue, aber langsame VSOP-Theorie verwendet. Wenn Sie \"Nein\" wählen, wird die "
    "Newcomb-Theorie verwendet.";
const char* const kVsopQuestionEnglish =
    "For the moment the very precise but slow VSOP-Theorie is used. If you select \"No\", the Newcomb Theorie "
    "will be used.";

// Question E: only while the Moon comes from the ELP-2000/82 library.
bool AskMoonTheory(TTheoryControl& theories) {
  if (theories.Selection().MoonTheory() == 0) return true;
  return theories.SlowTheoryQuestion(kElpQuestionGerman, kElpQuestionEnglish, 1);
}

TEventStep CourseStep(const TEclipseSettings& eclipses) {
  TEventStep step{eclipses.PhaseTableMinutes, eclipses.PhaseTableSeconds};
  if (step.Minutes * 60 + step.Seconds <= 0) step = TEventStep{1, 0};
  return step;
}

TTableOutputSettings GridOutput(const TComputingSettings& computing) {
  TTableOutputSettings output;
  output.AzimuthOrigin = computing.HalfTurnOffsetAngle;
  return output;
}

// The solar eclipse searches' step (minutes) and span (hours) from the
// state; false, leaving without a table, when they do not pass the check.
bool SolarSearchSettings(TCommandHost& form, std::int32_t& step, std::int32_t& span) {
  const TEclipseSettings& s = form.EclipseSettings();
  step = static_cast<std::int32_t>(s.SolarEclipseSearchMinutes);
  span = static_cast<std::int32_t>(s.SolarEclipseSearchSpanHours);
  if (CheckEclipseSearchSettings(step, span)) return true;
  LeaveWithoutTable(form);
  return false;
}

// A found eclipse or transit into the sheet or, with the workbook view
// off, the result grid.
void PaintFound(TCommandHost& form, tSonnenfinsternis& search) {
  TDocumentState& document = form.DocumentState();
  const TTableConfigRecord& config = form.Period().TableConfig;
  document.DocumentSaved = 0;
  if (document.WorkbookView != 0) {
    search.paint(form.Workbook(), config);
  } else {
    search.paint_grid(form.Grid(), GridOutput(form.Computing()), config);
  }
}

// The part that differs between the solar eclipse runs: the search with the
// checked step (minutes) and span (hours), and what it writes.
using SolarSearch = void (*)(TCommandHost& form, tSonnenfinsternis& eclipse, std::int32_t step, std::int32_t span);

// Kinds 140 and 146: the step and span checked, then `search` runs with the
// wait text in the eclipse panel.
void SolarSearchRun(TCommandHost& form, const char* german, const char* english, SolarSearch search) {
  std::int32_t step = 0;
  std::int32_t span = 0;
  if (!SolarSearchSettings(form, step, span)) return;
  ShowEclipsePanel(form, german, english);
  PanelGuard guard{form};
  AbortRequested = 0;
  tSonnenfinsternis eclipse;
  search(form, eclipse, step, span);
}

void SolarEclipseSearch(TCommandHost& form, tSonnenfinsternis& eclipse, std::int32_t step, std::int32_t span) {
  std::uint8_t maxArt = 0;
  {
    ProgressSession session(CurrentProgress(), ByLanguage("Sonnenfinsternis", "Solar eclipse"), 0);
    eclipse.rechnen(EclipseSearchContext(form.Computing(), form.Period()), 1, maxArt, span, step, form.Period().Start,
                    CourseStep(form.EclipseSettings()));
  }
  if (eclipse.Status == TEclipseSearchStatus::Cancelled || eclipse.Status == TEclipseSearchStatus::Refused) {
    LeaveWithoutTable(form);
    // One eclipse's circumstances are whole or nothing.
    if (eclipse.Status == TEclipseSearchStatus::Cancelled) form.Tables().Dispatcher().ReportCancelled(false);
    return;
  }
  PaintFound(form, eclipse);
}

void SolarCalendarSearch(TCommandHost& form, tSonnenfinsternis& eclipse, std::int32_t step, std::int32_t span) {
  TDocumentState& document = form.DocumentState();
  TEclipseSettings& eclipseSettings = form.EclipseSettings();
  TEphemerisPeriodState& period = form.Period();
  bool written = false;
  {
    ProgressSession session(CurrentProgress(), ByLanguage("Sonnenfinsterniskalender", "Solar eclipse calendar"), 1000);
    const TSearchContext context = EclipseSearchContext(form.Computing(), form.Period());
    if (document.WorkbookView != 0) {
      written = eclipse.kalenderrechnen(context, CourseStep(eclipseSettings), form.Workbook(), period.TableConfig,
                                        period.Start, period.End, step, span, eclipseSettings.SolarEclipseCriterion);
    } else {
      written = eclipse.kalenderrechnen_grid(context, CourseStep(eclipseSettings), form.Grid(),
                                             GridOutput(form.Computing()), period.TableConfig, period.Start, period.End,
                                             step, span, eclipseSettings.SolarEclipseCriterion);
    }
  }
  if (!written) {
    LeaveWithoutTable(form);
    return;
  }
  document.DocumentSaved = 0;
  // Cancelled: the eclipses found until then are written.
  if (eclipse.Status == TEclipseSearchStatus::Cancelled) form.Tables().Dispatcher().ReportCancelled(true);
}

// One transit (148): written only when found; a cancel writes nothing and
// says so. The transits of the period (149): a cancel writes those found
// until then.
void TransitRun(TCommandHost& form, bool table) {
  TEclipseSettings& eclipses = form.EclipseSettings();
  TCurrentObjects& objects = form.Objects();
  TEphemerisPeriodState& period = form.Period();
  const std::int32_t planet = TransitPlanetIndex(objects.TransitPlanet);
  const std::string german =
      std::string("Bitte Geduld, ") + TransitPlanetGermanName(planet) + "durchgang wird berechnet";
  const std::string english = std::string("Please wait, calculating transit for ") + TransitPlanetEnglishName(planet);
  ShowEclipsePanel(form, german.c_str(), english.c_str());
  PanelGuard guard{form};
  AbortRequested = 0;
  ttransittabelle transits(period.Start, period.End, planet);
  ttransit single(planet);
  ttransit& search = table ? static_cast<ttransit&>(transits) : single;
  std::uint8_t maxArt = 0;
  {
    const std::string caption = table ? ByLanguage("Merkur- und Venusdurchgänge", "Transits of Mercury and Venus")
                                      : ByLanguage("Merkur- und Venusdurchgang", "Transit of Mercury and Venus");
    ProgressSession session(CurrentProgress(), caption, 1000);
    search.rechnen(EclipseSearchContext(form.Computing(), form.Period()), 0, maxArt, 0, 120, period.Start,
                   CourseStep(eclipses));
  }
  AbortRequested = 0;
  const bool cancelled = search.Status == TEclipseSearchStatus::Cancelled;
  if (search.Status != TEclipseSearchStatus::Found && !(table && cancelled)) {
    LeaveWithoutTable(form);
    if (cancelled) form.Tables().Dispatcher().ReportCancelled(false);
    return;
  }
  PaintFound(form, search);
  if (cancelled) form.Tables().Dispatcher().ReportCancelled(true);
}

// The label column of the eclipse lists fitted to its texts.
constexpr int kLunarLabelGridWidth = 260;  // pixels
constexpr int kLunarDateGridWidth = 90;
void FitLunarGridColumns(tmystringgrid& grid) {
  grid.SetColWidths(1, kLunarLabelGridWidth);
  grid.SetColWidths(2, kLunarDateGridWidth);
}
void FitLunarLabelColumn(workbook::TWorkbook& book) {
  if (book.LastRow() >= 1) book.SetColWidthAuto(1, 1, book.LastRow(), 1);
}

// Kind 88: the eclipse found by the command into the sheet or the grid.
void LunarEclipseRun(TCommandHost& form) {
  TDocumentState& document = form.DocumentState();
  TEclipseSettings& eclipses = form.EclipseSettings();
  TEphemerisPeriodState& period = form.Period();
  int row = 1;
  const TLunarEclipseCriteria all;
  if (document.WorkbookView != 0) {
    TSheetSink sink(form.Workbook());
    WriteLunarEclipseSheet(eclipses.LunarEclipseResults, sink, period.TableConfig, row, false, all);
    FitLunarLabelColumn(form.Workbook());
  } else {
    tmystringgrid& grid = form.Grid();
    grid.SetRowCount(1);
    grid.SetColCount(1);
    const TTableOutputSettings settings;
    TGridSink sink(grid, settings);
    WriteLunarEclipseSheet(eclipses.LunarEclipseResults, sink, period.TableConfig, row, false, all);
    grid.SetRowCount(row);
    FitLunarGridColumns(grid);
  }
  document.DocumentSaved = 0;
}

// Kind 89: the calendar into the sheet or the grid; a cancel writes the
// eclipses found until then.
void LunarEclipseCalendarRun(TCommandHost& form) {
  TComputingSettings& computing = form.Computing();
  TDocumentState& document = form.DocumentState();
  TEclipseSettings& eclipseSettings = form.EclipseSettings();
  TEphemerisPeriodState& period = form.Period();
  const TSearchContext context = EclipseSearchContext(computing, period);
  bool cancelled = false;
  if (document.WorkbookView != 0) {
    TSheetSink sink(form.Workbook());
    const int written = LunarEclipseCalendar(context, period.TableConfig, period.Start, period.End,
                                             eclipseSettings.LunarCriteria, sink, &cancelled);
    if (written > 0) FitLunarLabelColumn(form.Workbook());
  } else {
    const TTableOutputSettings settings;
    TGridSink sink(form.Grid(), settings);
    LunarEclipseCalendar(context, period.TableConfig, period.Start, period.End, eclipseSettings.LunarCriteria, sink,
                         &cancelled);
    FitLunarGridColumns(form.Grid());
  }
  document.DocumentSaved = 0;
  // Cancelled: the eclipses found until then are written.
  if (cancelled) form.Tables().Dispatcher().ReportCancelled(true);
}

}  // namespace

void ShowEclipsePanel(TCommandHost& form, const char* german, const char* english) {
  if (QLabel* panel = form.Panel("Finsternispanel")) {
    panel->setText(QString::fromUtf8(ByLanguage(german, english)));
    panel->show();
    panel->repaint();
  }
}

void HideEclipsePanel(TCommandHost& form) {
  if (QLabel* panel = form.Panel("Finsternispanel")) panel->hide();
}

TSearchContext EclipseSearchContext(const TComputingSettings& computing, const TEphemerisPeriodState& period) {
  TSearchContext context;
  context.MoonCache = computing.MoonCacheFlag;
  context.MoonOption = computing.MoonOption;
  context.Settings = period.PositionFiles;
  context.Sidereal = period.ApparentSiderealTime;
  context.Selection = period.Selection;
  context.VsopLevelA = computing.Accuracy.VsopLevelA;
  context.FastSearch = computing.FastSearchOption;
  context.PositionFilesLastJd = period.PositionFilesLastJd;
  context.Body = BodySettingsOf(computing, LanguageEnglish);
  return context;
}

void Sonnenfinsternis1Click(TCommandHost& form) {
  if (!AskMoonTheory(form)) return;
  ShowEclipsePanel(form, "Bitte Geduld, Sonnenfinsternis wird gesucht", "Please wait, searching solar eclipse");
  form.Tables().ComputeKindThenRepaint(kSolarEclipseKind);
}

void Sonnenfinsterniskalender1Click(TCommandHost& form) {
  TEclipseSettings& s = form.EclipseSettings();
  TEclipsePeriodHooks hooks;
  hooks.PeriodText = [&form] {
    TEphemerisPeriodState p = form.Period();
    TTableDispatcher::CompletePeriodEnd(p);
    TObserverRecord end = p.End;
    end.AutoDeltaT = 0;
    UTToLocalTime(end);
    return EclipsePeriodText(p.Start.Day, p.Start.Month, p.Start.Year, end.Day, end.Month, end.Year);
  };
  hooks.ChangePeriod = [&form] { form.Tables().ZeitraumfrTabelle1Click(); };
  if (ShowSolarEclipseCriteria(s.SolarEclipseCriterion, hooks, &form.Window()) != kCriteriaAccepted) return;
  if (!form.Tables().PeriodCheck()) return;
  if (!AskMoonTheory(form)) return;
  ShowEclipsePanel(form, "Bitte Geduld, Sonnenfinsterniskalender wird erstellt",
                   "Please wait, searching solar eclipses");
  form.Tables().ComputeKindThenRepaint(kSolarCalendarKind);
}

void Mondfinsternis3Click(TCommandHost& form) {
  TComputingSettings& computing = form.Computing();
  TEclipseSettings& eclipseSettings = form.EclipseSettings();
  TEphemerisPeriodState& periodState = form.Period();
  TObserverRecord record = periodState.Start;
  LocalTimeToUT(record);
  double umbra = 0, penumbra = 0;
  FindLunarEclipse(EclipseSearchContext(computing, periodState), eclipseSettings.LunarEclipseResults, record, true,
                   umbra, penumbra, periodState.TableConfig);
  TTableCommands& tables = form.Tables();
  if (!eclipseSettings.LunarEclipseResults.Lines.empty()) tables.SelectKind(kLunarEclipseKind);
  tables.ComputeTable();
}

void Mondfinsterniskalender1Click(TCommandHost& form) {
  TEclipseSettings& eclipses = form.EclipseSettings();
  TEphemerisPeriodState& period = form.Period();
  TTableCommands& tables = form.Tables();
  eclipses.LunarCriteria.MinimumAltitude = ClampLunarMinimumAltitude(eclipses.LunarCriteria.MinimumAltitude);
  const int result = ShowLunarEclipseCriteria(
      eclipses.LunarCriteria, period.Start, period.End, [&tables] { tables.ZeitraumfrTabelle1Click(); },
      &form.Window());
  form.Window().update();
  if (result != 1 || !tables.PeriodCheck()) return;
  tables.ComputeKind(kLunarCalendarKind);
}

void InstallLunarEclipseCommands(TCommandHost& form) {
  TTableDispatcher& dispatcher = form.Tables().Dispatcher();
  dispatcher.Register(kLunarEclipseKind, [&form] { LunarEclipseRun(form); });
  dispatcher.Register(kLunarCalendarKind, [&form] { LunarEclipseCalendarRun(form); });
  form.Commands().RegisterEnabled({
      {"Mondfinsternis3", [&form] { Mondfinsternis3Click(form); }},
      {"Mondfinsterniskalender1", [&form] { Mondfinsterniskalender1Click(form); }},
  });
}

void MerkurundVenusdurchgnge1Click(TCommandHost& form, std::int32_t planetWord) {
  TCurrentObjects& s = form.Objects();
  s.TransitPlanet = static_cast<std::int16_t>(planetWord);
  if (form.Selection().PlanetTheory() != 0 && !form.SlowTheoryQuestion(kVsopQuestionGerman, kVsopQuestionEnglish, 0))
    return;
  ShowEclipsePanel(form, "Bitte Geduld, Transit wird gesucht", "Please wait, searching transit");
  form.Tables().ComputeKindThenRepaint(kTransitKind);
}

void TabellemitMerkurdurchgngen1Click(TCommandHost& form, std::int32_t planetWord) {
  TCurrentObjects& s = form.Objects();
  s.TransitPlanet = static_cast<std::int16_t>(planetWord);
  if (!form.Tables().PeriodCheck()) return;
  if (!AskMoonTheory(form)) return;
  ShowEclipsePanel(form, "Bitte Geduld, Transit wird gesucht", "Please wait, searching transit");
  form.Tables().ComputeKindThenRepaint(kTransitTableKind);
}

void InstallTransitCommands(TCommandHost& form) {
  TTableDispatcher& dispatcher = form.Tables().Dispatcher();
  dispatcher.Register(kTransitKind, [&form] { TransitRun(form, false); });
  dispatcher.Register(kTransitTableKind, [&form] { TransitRun(form, true); });
  form.Commands().RegisterEnabled({
      {"MerkurundVenusdurchgnge1", [&form] { MerkurundVenusdurchgnge1Click(form, 1); }},
      {"Venusdurchgang1", [&form] { MerkurundVenusdurchgnge1Click(form, 2); }},
      {"TabellemitMerkurdurchgngen1", [&form] { TabellemitMerkurdurchgngen1Click(form, 1); }},
      {"TabellemitVenusdurchgngen1", [&form] { TabellemitMerkurdurchgngen1Click(form, 2); }},
  });
}

void InstallSolarEclipseCommands(TCommandHost& form) {
  TTableDispatcher& dispatcher = form.Tables().Dispatcher();
  dispatcher.Register(kSolarEclipseKind, [&form] {
    SolarSearchRun(form, "Bitte Geduld, Sonnenfinsternis wird berechnet", "Please wait, calculating solar eclipse",
                   SolarEclipseSearch);
  });
  dispatcher.Register(kSolarCalendarKind, [&form] {
    SolarSearchRun(form, "Bitte Geduld, Sonnenfinsterniskalender wird erstellt",
                   "Please wait, searching solar eclipses", SolarCalendarSearch);
  });
  form.Commands().RegisterEnabled({
      {"Sonnenfinsternis1", [&form] { Sonnenfinsternis1Click(form); }},
      {"Sonnenfinsterniskalender1", [&form] { Sonnenfinsterniskalender1Click(form); }},
  });
  InstallTransitCommands(form);
}

}  // namespace kvx
