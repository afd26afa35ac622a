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

TTableOutputSettings GridOutput(TCommandHost& host) { return host.Tables().Output(); }

// The solar eclipse searches' step (minutes) and span (hours) from the
// state; false, leaving without a table, when they do not pass the check.
bool SolarSearchSettings(TCommandHost& host, std::int32_t& step, std::int32_t& span) {
  const TEclipseSettings& s = host.EclipseSettings();
  step = static_cast<std::int32_t>(s.SolarEclipseSearchMinutes);
  span = static_cast<std::int32_t>(s.SolarEclipseSearchSpanHours);
  if (CheckEclipseSearchSettings(step, span)) return true;
  LeaveWithoutTable(host);
  return false;
}

// A found eclipse or transit into the sheet or, with the workbook view
// off, the result grid.
void PaintFound(TCommandHost& host, tSonnenfinsternis& search) {
  TDocumentState& document = host.DocumentState();
  const TTableConfigRecord& config = host.Period().TableConfig;
  document.DocumentSaved = 0;
  if (document.WorkbookView != 0) {
    search.paint(host.Workbook(), config);
  } else {
    search.paint_grid(host.Grid(), GridOutput(host), config);
  }
}

// The part that differs between the solar eclipse runs: the search with the
// checked step (minutes) and span (hours), and what it writes.
using SolarSearch = void (*)(TCommandHost& host, tSonnenfinsternis& eclipse, std::int32_t step, std::int32_t span);

// Kinds 140 and 146: the step and span checked, then `search` runs with the
// wait text in the eclipse panel.
void SolarSearchRun(TCommandHost& host, const char* german, const char* english, SolarSearch search) {
  std::int32_t step = 0;
  std::int32_t span = 0;
  if (!SolarSearchSettings(host, step, span)) return;
  ShowEclipsePanel(host, german, english);
  PanelGuard guard{host};
  AbortRequested = 0;
  tSonnenfinsternis eclipse;
  search(host, eclipse, step, span);
}

void SolarEclipseSearch(TCommandHost& host, tSonnenfinsternis& eclipse, std::int32_t step, std::int32_t span) {
  std::uint8_t maxArt = 0;
  {
    ProgressSession session(CurrentProgress(), ByLanguage("Sonnenfinsternis", "Solar eclipse"), 0);
    eclipse.rechnen(EclipseSearchContext(host.Computing(), host.Period()), 1, maxArt, span, step, host.Period().Start,
                    CourseStep(host.EclipseSettings()));
  }
  if (eclipse.Status == TEclipseSearchStatus::Cancelled || eclipse.Status == TEclipseSearchStatus::Refused) {
    LeaveWithoutTable(host);
    // One eclipse's circumstances are whole or nothing.
    if (eclipse.Status == TEclipseSearchStatus::Cancelled) host.Tables().Dispatcher().ReportCancelled(false);
    return;
  }
  PaintFound(host, eclipse);
}

void SolarCalendarSearch(TCommandHost& host, tSonnenfinsternis& eclipse, std::int32_t step, std::int32_t span) {
  TDocumentState& document = host.DocumentState();
  TEclipseSettings& eclipseSettings = host.EclipseSettings();
  TEphemerisPeriodState& period = host.Period();
  bool written = false;
  {
    ProgressSession session(CurrentProgress(), ByLanguage("Sonnenfinsterniskalender", "Solar eclipse calendar"), 1000);
    const TSearchContext context = EclipseSearchContext(host.Computing(), host.Period());
    if (document.WorkbookView != 0) {
      written = eclipse.kalenderrechnen(context, CourseStep(eclipseSettings), host.Workbook(), period.TableConfig,
                                        period.Start, period.End, step, span, eclipseSettings.SolarEclipseCriterion);
    } else {
      written = eclipse.kalenderrechnen_grid(context, CourseStep(eclipseSettings), host.Grid(), GridOutput(host),
                                             period.TableConfig, period.Start, period.End, step, span,
                                             eclipseSettings.SolarEclipseCriterion);
    }
  }
  if (!written) {
    LeaveWithoutTable(host);
    return;
  }
  document.DocumentSaved = 0;
  // Cancelled: the eclipses found until then are written.
  if (eclipse.Status == TEclipseSearchStatus::Cancelled) host.Tables().Dispatcher().ReportCancelled(true);
}

// One transit (148): written only when found; a cancel writes nothing and
// says so. The transits of the period (149): a cancel writes those found
// until then.
void TransitRun(TCommandHost& host, bool table) {
  TEclipseSettings& eclipses = host.EclipseSettings();
  TCurrentObjects& objects = host.Objects();
  TEphemerisPeriodState& period = host.Period();
  const std::int32_t planet = TransitPlanetIndex(objects.TransitPlanet);
  const std::string german =
      std::string("Bitte Geduld, ") + TransitPlanetGermanName(planet) + "durchgang wird berechnet";
  const std::string english = std::string("Please wait, calculating transit for ") + TransitPlanetEnglishName(planet);
  ShowEclipsePanel(host, german.c_str(), english.c_str());
  PanelGuard guard{host};
  AbortRequested = 0;
  ttransittabelle transits(period.Start, period.End, planet);
  ttransit single(planet);
  ttransit& search = table ? static_cast<ttransit&>(transits) : single;
  std::uint8_t maxArt = 0;
  {
    const std::string caption = table ? ByLanguage("Merkur- und Venusdurchgänge", "Transits of Mercury and Venus")
                                      : ByLanguage("Merkur- und Venusdurchgang", "Transit of Mercury and Venus");
    ProgressSession session(CurrentProgress(), caption, 1000);
    search.rechnen(EclipseSearchContext(host.Computing(), host.Period()), 0, maxArt, 0, 120, period.Start,
                   CourseStep(eclipses));
  }
  AbortRequested = 0;
  const bool cancelled = search.Status == TEclipseSearchStatus::Cancelled;
  if (search.Status != TEclipseSearchStatus::Found && !(table && cancelled)) {
    LeaveWithoutTable(host);
    if (cancelled) host.Tables().Dispatcher().ReportCancelled(false);
    return;
  }
  PaintFound(host, search);
  if (cancelled) host.Tables().Dispatcher().ReportCancelled(true);
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
void LunarEclipseRun(TCommandHost& host) {
  TDocumentState& document = host.DocumentState();
  TEclipseSettings& eclipses = host.EclipseSettings();
  TEphemerisPeriodState& period = host.Period();
  int row = 1;
  const TLunarEclipseCriteria all;
  if (document.WorkbookView != 0) {
    TSheetSink sink(host.Workbook());
    WriteLunarEclipseSheet(eclipses.LunarEclipseResults, sink, period.TableConfig, row, false, all);
    FitLunarLabelColumn(host.Workbook());
  } else {
    tmystringgrid& grid = host.Grid();
    grid.SetRowCount(1);
    grid.SetColCount(1);
    const TTableOutputSettings settings = GridOutput(host);
    TGridSink sink(grid, settings);
    WriteLunarEclipseSheet(eclipses.LunarEclipseResults, sink, period.TableConfig, row, false, all);
    grid.SetRowCount(row);
    FitLunarGridColumns(grid);
  }
  document.DocumentSaved = 0;
}

// Kind 89: the calendar into the sheet or the grid; a cancel writes the
// eclipses found until then.
void LunarEclipseCalendarRun(TCommandHost& host) {
  TComputingSettings& computing = host.Computing();
  TDocumentState& document = host.DocumentState();
  TEclipseSettings& eclipseSettings = host.EclipseSettings();
  TEphemerisPeriodState& period = host.Period();
  const TSearchContext context = EclipseSearchContext(computing, period);
  bool cancelled = false;
  if (document.WorkbookView != 0) {
    TSheetSink sink(host.Workbook());
    const int written = LunarEclipseCalendar(context, period.TableConfig, period.Start, period.End,
                                             eclipseSettings.LunarCriteria, sink, &cancelled);
    if (written > 0) FitLunarLabelColumn(host.Workbook());
  } else {
    const TTableOutputSettings settings = GridOutput(host);
    TGridSink sink(host.Grid(), settings);
    LunarEclipseCalendar(context, period.TableConfig, period.Start, period.End, eclipseSettings.LunarCriteria, sink,
                         &cancelled);
    FitLunarGridColumns(host.Grid());
  }
  document.DocumentSaved = 0;
  // Cancelled: the eclipses found until then are written.
  if (cancelled) host.Tables().Dispatcher().ReportCancelled(true);
}

}  // namespace

void ShowEclipsePanel(TWindowWidgets& window, const char* german, const char* english) {
  if (QLabel* panel = window.Panel("Finsternispanel")) {
    panel->setText(QString::fromUtf8(ByLanguage(german, english)));
    panel->show();
    panel->repaint();
  }
}

void HideEclipsePanel(TWindowWidgets& window) {
  if (QLabel* panel = window.Panel("Finsternispanel")) panel->hide();
}

TSearchContext EclipseSearchContext(const TComputingSettings& computing, const TEphemerisPeriodState& period) {
  TSearchContext context;
  context.MoonCache = computing.NumericOptions.InterpolateMoon;
  context.MoonOption = MoonOptionByte(computing.NumericOptions);
  context.Settings = period.PositionFiles;
  context.Sidereal = period.ApparentSiderealTime;
  context.Selection = period.Selection;
  context.VsopLevelA = computing.Accuracy.VsopLevelA;
  context.FastSearch = computing.NumericOptions.FastConjunctions;
  context.FastMoon = computing.NumericOptions.NeverSlowElp;
  context.PositionFilesLastJd = period.PositionFilesLastJd;
  context.Body = BodySettingsOf(computing, LanguageEnglish);
  return context;
}

void Sonnenfinsternis1Click(TCommandHost& host) {
  if (!AskMoonTheory(host)) return;
  ShowEclipsePanel(host, "Bitte Geduld, Sonnenfinsternis wird gesucht", "Please wait, searching solar eclipse");
  host.Tables().ComputeKindThenRepaint(kSolarEclipseKind);
}

namespace {

// The period box of both criteria dialogs: the start's date and the
// completed end's local date, as they stand now; the period dialog.
TEclipsePeriodHooks EclipsePeriodHooks(TCommandHost& host) {
  TEclipsePeriodHooks hooks;
  hooks.PeriodText = [&host] {
    TEphemerisPeriodState p = host.Period();
    TTableDispatcher::CompletePeriodEnd(p);
    TObserverRecord end = p.End;
    end.AutoDeltaT = 0;
    UTToLocalTime(end);
    return EclipsePeriodText(p.Start.Day, p.Start.Month, p.Start.Year, end.Day, end.Month, end.Year);
  };
  hooks.ChangePeriod = [&host] { host.Tables().ZeitraumfrTabelle1Click(); };
  return hooks;
}

}  // namespace

void Sonnenfinsterniskalender1Click(TCommandHost& host) {
  TEclipseSettings& s = host.EclipseSettings();
  if (ShowSolarEclipseCriteria(s.SolarEclipseCriterion, EclipsePeriodHooks(host), &host.Window()) != kCriteriaAccepted)
    return;
  if (!host.Tables().PeriodCheck()) return;
  if (!AskMoonTheory(host)) return;
  ShowEclipsePanel(host, "Bitte Geduld, Sonnenfinsterniskalender wird erstellt",
                   "Please wait, searching solar eclipses");
  host.Tables().ComputeKindThenRepaint(kSolarCalendarKind);
}

void Mondfinsternis3Click(TCommandHost& host) {
  TComputingSettings& computing = host.Computing();
  TEclipseSettings& eclipseSettings = host.EclipseSettings();
  TEphemerisPeriodState& periodState = host.Period();
  TObserverRecord record = periodState.Start;
  LocalTimeToUT(record);
  double umbra = 0, penumbra = 0;
  FindLunarEclipse(EclipseSearchContext(computing, periodState), eclipseSettings.LunarEclipseResults, record, true,
                   umbra, penumbra, periodState.TableConfig);
  TTableCommands& tables = host.Tables();
  if (!eclipseSettings.LunarEclipseResults.Lines.empty()) tables.SelectKind(kLunarEclipseKind);
  tables.ComputeTable();
}

void Mondfinsterniskalender1Click(TCommandHost& host) {
  TEclipseSettings& eclipses = host.EclipseSettings();
  TTableCommands& tables = host.Tables();
  eclipses.LunarCriteria.MinimumAltitude = ClampLunarMinimumAltitude(eclipses.LunarCriteria.MinimumAltitude);
  const int result = ShowLunarEclipseCriteria(eclipses.LunarCriteria, EclipsePeriodHooks(host), &host.Window());
  host.Window().update();
  if (result != 1 || !tables.PeriodCheck()) return;
  tables.ComputeKind(kLunarCalendarKind);
}

void InstallLunarEclipseCommands(TCommandHost& host) {
  TTableDispatcher& dispatcher = host.Tables().Dispatcher();
  dispatcher.Register(kLunarEclipseKind, [&host] { LunarEclipseRun(host); });
  dispatcher.Register(kLunarCalendarKind, [&host] { LunarEclipseCalendarRun(host); });
  host.Commands().RegisterEnabled({
      {"Mondfinsternis3", [&host] { Mondfinsternis3Click(host); }},
      {"Mondfinsterniskalender1", [&host] { Mondfinsterniskalender1Click(host); }},
  });
}

void MerkurundVenusdurchgnge1Click(TCommandHost& host, std::int32_t planetWord) {
  TCurrentObjects& s = host.Objects();
  s.TransitPlanet = static_cast<std::int16_t>(planetWord);
  if (host.Selection().PlanetTheory() != 0 && !host.SlowTheoryQuestion(kVsopQuestionGerman, kVsopQuestionEnglish, 0))
    return;
  ShowEclipsePanel(host, "Bitte Geduld, Transit wird gesucht", "Please wait, searching transit");
  host.Tables().ComputeKindThenRepaint(kTransitKind);
}

void TabellemitMerkurdurchgngen1Click(TCommandHost& host, std::int32_t planetWord) {
  TCurrentObjects& s = host.Objects();
  s.TransitPlanet = static_cast<std::int16_t>(planetWord);
  if (!host.Tables().PeriodCheck()) return;
  if (!AskMoonTheory(host)) return;
  ShowEclipsePanel(host, "Bitte Geduld, Transit wird gesucht", "Please wait, searching transit");
  host.Tables().ComputeKindThenRepaint(kTransitTableKind);
}

void InstallTransitCommands(TCommandHost& host) {
  TTableDispatcher& dispatcher = host.Tables().Dispatcher();
  dispatcher.Register(kTransitKind, [&host] { TransitRun(host, false); });
  dispatcher.Register(kTransitTableKind, [&host] { TransitRun(host, true); });
  host.Commands().RegisterEnabled({
      {"MerkurundVenusdurchgnge1", [&host] { MerkurundVenusdurchgnge1Click(host, 1); }},
      {"Venusdurchgang1", [&host] { MerkurundVenusdurchgnge1Click(host, 2); }},
      {"TabellemitMerkurdurchgngen1", [&host] { TabellemitMerkurdurchgngen1Click(host, 1); }},
      {"TabellemitVenusdurchgngen1", [&host] { TabellemitMerkurdurchgngen1Click(host, 2); }},
  });
}

void InstallSolarEclipseCommands(TCommandHost& host) {
  TTableDispatcher& dispatcher = host.Tables().Dispatcher();
  dispatcher.Register(kSolarEclipseKind, [&host] {
    SolarSearchRun(host, "Bitte Geduld, Sonnenfinsternis wird berechnet", "Please wait, calculating solar eclipse",
                   SolarEclipseSearch);
  });
  dispatcher.Register(kSolarCalendarKind, [&host] {
    SolarSearchRun(host, "Bitte Geduld, Sonnenfinsterniskalender wird erstellt",
                   "Please wait, searching solar eclipses", SolarCalendarSearch);
  });
  host.Commands().RegisterEnabled({
      {"Sonnenfinsternis1", [&host] { Sonnenfinsternis1Click(host); }},
      {"Sonnenfinsterniskalender1", [&host] { Sonnenfinsterniskalender1Click(host); }},
  });
  InstallTransitCommands(host);
}

}  // namespace kvx
