#include "app/ui/table_commands.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QStackedWidget>
#include <algorithm>
#include <cmath>
#include <string_view>

#include "app/main_form_state.h"
#include "app/program_caption.h"
#include "app/table_document.h"
#include "app/ui/command_host.h"
#include "app/ui/menu_commands.h"
#include "core/input_checks.h"
#include "core/observer_place.h"
#include "core/observer_record.h"
#include "core/records.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "engine/comet.h"
#include "engine/ephemeris_table.h"
#include "engine/library_tables.h"
#include "engine/moon.h"
#include "engine/planet.h"
#include "engine/sun.h"
#include "engine/table_globals.h"
#include "engine/table_sink.h"
#include "engine/user_object.h"
#include "platform/globals.h"
#include "platform/workbook/workbook.h"
#include "setup/setup_routines.h"
#include "setup/ui/date_place_dialog.h"
#include "setup/ui/dialog_owner.h"
#include "setup/ui/location_dialog.h"
#include "setup/ui/period_dialog.h"
#include "theories/planet_positions.h"

namespace kvx {

namespace {

// The menu commands of the tables and the kind each one stores.
struct TableCommand {
  const char* Command;
  std::int32_t Kind;
  std::int32_t Object;  // planet number for kind 71
};
constexpr TableCommand kTableCommands[] = {
    {"Sonne1", 51, 0},
    {"Merkur1", 71, 1},
    {"Venus1", 71, 2},
    {"Mars1", 71, 4},
    {"Jupiter1", 71, 5},
    {"Saturn1", 71, 6},
    {"Uranus1", 71, 7},
    {"Netptun1", 71, 8},
    {"Pluto1", 71, 9},
    {"Planetoid1", 21, 0},
    // The moons of Jupiter and Saturn, the moon phases and the Earth satellites.
    {"Jupitermonde1", 100, 0},
    {"Saturnmonde1", 111, 0},
    {"Mondphasen1", 80, 0},
    {"Satellit1", 880, 0},
    {"AlleSatelliten1", 881, 0},
};

// The Moon, the comet, the user object, the integrated orbits and the
// integrator's state vectors.
constexpr TableCommand kBodyTableCommands[] = {
    {"Mond1", 61, 0},
    {"Komet1", 41, 0},
    {"Benutzerkatalog1", 72, 0},
    {"Planetoidenbahn1", 22, 0},
    {"Kometenbahn1", 42, 0},
    {"Planetoiden2", 4014, 0},
    {"Kometen2", 4016, 0},
    {"EingabemaskefrStatusvektor1", 34, 0},
};

// An integration must start at least this far from the element epoch, days.
constexpr double kIntegrationEpochMinDays = 0.99;
constexpr std::int32_t kPluto = 9;

// The asteroid (TKeplereph) and the comet (TKometeph): the table of the
// chosen object's elements over the period, no database.
template <class Table, class Elements>
void RunElementsTable(TTableCommands& tables, TSheetAccess& sheet, const Elements& elements, std::int32_t kind) {
  const TTableRequest request = tables.Request();
  Table table(request, &sheet.Workbook(), elements);
  table.initialisieren(request, elements);
  tables.RunStandardTable(table, kind);
}

}  // namespace

TTableCommands::TTableCommands(TCommandHost& host) : QObject(&host.Window()), host_(host) {
  TDispatchHooks hooks;
  hooks.ShowHourglass = [this] { host_.ShowHourglass(); };
  hooks.RestoreCursor = [this] { host_.RestoreCursor(); };
  hooks.Invalidate = [this] { host_.Window().update(); };
  hooks.RefreshMenus = [this] {
    host_.RefreshMenuStates();
    if (table_begun_) {
      table_begun_ = false;
      if (host_.TableWrittenHook) host_.TableWrittenHook();
    }
  };
  hooks.CheckPeriod = [this] { CheckPeriod(); };
  hooks.CommitTransaction = [this] {
    if (host_.Workbook().InTransaction()) host_.Workbook().TransactionCommit();
  };
  hooks.BeginTransaction = [this] {
    host_.Workbook().TransactionBegin();
    table_begun_ = true;
  };
  hooks.ClearSheet = [this] {
    workbook::TWorkbook& book = host_.Workbook();
    book.SetSelection(1, 1, 1, 1);
    book.ClearRange(-1, -1, -1, -1, 1);
  };
  SetDialogOwner(&host_.Window());
  hooks.SuspendViews = [this] {
    if (QWidget* views = host_.CentralStack()) views->setUpdatesEnabled(false);
  };
  hooks.ResumeViews = [this] {
    if (QWidget* views = host_.CentralStack()) {
      views->setUpdatesEnabled(true);
      views->update();
    }
  };
  hooks.ShowStatus = [this](const std::string& text) { host_.ShowHint(QString::fromStdString(text)); };
  dispatcher_ =
      std::make_unique<TTableDispatcher>(host_.Period(), host_.TableState(), host_.DocumentState(), std::move(hooks));
  SetPeriodDialogHook([this] { ZeitraumfrTabelle1Click(); });
  host_.AddMenuStateRefresher([this] { RefreshHandlerMenus(); });
  if (!host_.RefreshMenusHook) host_.RefreshMenusHook = [this] { host_.RefreshMenuStates(); };
  RegisterKinds();
  RegisterBodyKinds();
  RegisterCommands();
  RegisterLibraryTables();
  RefreshMenus();
  for (const char* panel : {"Datumpanel", "Ortpanel"})
    if (QLabel* label = host_.Panel(panel)) label->installEventFilter(this);
}

bool TTableCommands::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonDblClick) {
    if (watched == host_.Panel("Datumpanel")) {
      DatumundOrteingeben1Click();
      return true;
    }
    if (watched == host_.Panel("Ortpanel")) {
      Ortwhlen1Click();
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

TTableCommands::~TTableCommands() { SetPeriodDialogHook({}); }

void LeaveWithoutTable(TCommandHost& host) {
  TDocumentState& document = host.DocumentState();
  TTableState& table = host.TableState();
  if (host.Workbook().InTransaction()) host.Workbook().TransactionRollback();
  document.UndoFlag = 0;
  table.TableKind = kNoTableKind;
  table.PreviousTableKind = kNoTableKind;
}

void TTableCommands::ComputeTable() { dispatcher_->ComputeTableGuarded(); }

void TTableCommands::PrepareLocationFile() {
  const std::string& folder = host_.DataFolder();
  if (!folder.empty()) TOrtwahldialog::DefaultFileName() = folder + "/orte.csv";
}

void TTableCommands::RunStandardTable(TKeplereph& table, std::int32_t kind) {
  const TEphemerisPeriodState& p = host_.Period();
  table.schleife(p.PositionFiles, p.ApparentSiderealTime, 1);
  PrepareOutput(table);
  dispatcher_->FinishStandardRun(table, kind);
}

TTableRequest TTableCommands::Request() const {
  TTableRequest request = TableRequestOf(host_.Period(), host_.TableState(), host_.Computing(), LanguageEnglish);
  request.Output.Vsop82Available = host_.TheoryState().Libraries.Vsop82 == 1 ? 1 : 0;
  return request;
}

TTableOutputSettings TTableCommands::Output() const {
  TTableOutputSettings output = Request().Output;
  output.FontScale = host_.GridLook().FontScale;
  return output;
}

TTableRequest TTableCommands::InstantRequest() const {
  TTableRequest request = Request();
  request.End = request.Start;
  return request;
}

void TTableCommands::PrepareOutput(TKeplereph& table) {
  table.OutputSheet = &host_.Workbook();
  table.OutputGrid = &host_.Grid();
  table.OutputSettings = Output();
}

// --- the kinds ------------------------------------------------------------------------------

void TTableCommands::RegisterKinds() {
  // The asteroid: the elements of the chosen asteroid, no database.
  dispatcher_->Register(21,
                        [this] { RunElementsTable<TKeplereph>(*this, host_, host_.Objects().CurrentAsteroid, 21); });
  // The Sun.
  dispatcher_->Register(51, [this] {
    const TTableRequest request = Request();
    TSonnetab table(request, &host_.Workbook());
    table.initialisieren(request);
    RunStandardTable(table, 51);
  });
  // The planets: Pluto only within its theory's range (nothing is made
  // or painted outside it).
  dispatcher_->Register(71, [this] {
    TTableState& tableState = host_.TableState();
    const TEphemerisPeriodState& p = host_.Period();
    if (tableState.ObjectNumber == kPluto && !DateInTheoryRange(p.Selection, p.Start.Centuries)) {
      LeaveWithoutTable(host_);
      ShowPlutoDateInvalid();
      tableState.PreviousTableKind = kPeriodRefusedKind;
      tableState.TableKind = kPeriodRefusedKind;
      dispatcher_->ComputeTable();
      return;
    }
    const TTableRequest request = Request();
    Tplatab table(request, &host_.Workbook(), tableState.ObjectNumber);
    table.initialisieren(request, tableState.ObjectNumber);
    RunStandardTable(table, 71);
  });
  RegisterMoonAndSatelliteKinds();
  RegisterSeasonKind();
  RegisterOverviewKinds();
}

// --- menu states ------------------------------------------------------------------------------

void TTableCommands::RefreshMenus() { host_.RefreshMenuStates(); }

void TTableCommands::RefreshHandlerMenus() {
  TMenuCommands& commands = host_.Commands();
  for (const TableCommand& c : kTableCommands) commands.SetEnabled(c.Command, dispatcher_->HasHandler(c.Kind));
  for (const TableCommand& c : kBodyTableCommands) {
    bool enabled = dispatcher_->HasHandler(c.Kind);
    if (c.Kind == 72) enabled = enabled && FindUserCatalogObject != nullptr;
    commands.SetEnabled(c.Command, enabled);
  }
  RefreshLibraryTableMenus();
}

// --- the commands ------------------------------------------------------------------------------

void TTableCommands::RegisterCommands() {
  TMenuCommands& commands = host_.Commands();
  for (const TableCommand& c : kTableCommands) {
    const std::int32_t kind = c.Kind;
    const std::int32_t object = c.Object;
    TMenuCommands::Handler handler;
    if (kind == 71 && object == kPluto)
      handler = [this] { Pluto1Click(); };
    else if (kind == 71)
      handler = [this, object] { PlanetTableCommand(object); };
    else
      handler = [this, kind] { PlainCommand(kind); };
    commands.RegisterHandler(c.Command, handler);
  }
  commands.RegisterHandler("Mond1", [this] { Mond1Click(); });
  commands.RegisterHandler("Komet1", [this] { Komet1Click(); });
  commands.RegisterHandler("Benutzerkatalog1", [this] { Benutzerkatalog1Click(); });
  for (const char* command : {"Planetoidenbahn1", "Kometenbahn1", "Planetoiden2", "Kometen2"}) {
    for (const TableCommand& c : kBodyTableCommands) {
      if (std::string_view(c.Command) == command) {
        const std::int32_t kind = c.Kind;
        commands.RegisterHandler(command, [this, kind] { IntegratedOrbitCommand(kind); });
      }
    }
  }
  commands.RegisterHandler("EingabemaskefrStatusvektor1", [this] { EingabemaskefrStatusvektor1Click(); });
  commands.RegisterHandler("Satelliten1", [this] { Satelliten1Click(); });
  commands.RegisterHandler("Erdsatelliten1", [this] { Erdsatelliten1Click(); });
  commands.RegisterHandler("DatumundOrteingeben1", [this] { DatumundOrteingeben1Click(); });
  commands.RegisterHandler("Ortwhlen1", [this] { Ortwhlen1Click(); });
  commands.RegisterHandler("ZeitraumfrTabelle1", [this] { ZeitraumfrTabelle1Click(); });
  RegisterToolCommands();
  RegisterMeridianTransitCommands();
}

bool TTableCommands::PeriodCheck() {
  TEphemerisPeriodState& p = host_.Period();
  // An automatic end follows a start that a command has just moved.
  if (p.AutoEnd != 0) TTableDispatcher::CompletePeriodEnd(p);
  if (p.End.Mjd > p.Start.Mjd) return true;
  AskFixEndBeforeStart();
  return false;
}

void TTableCommands::PlainCommand(std::int32_t kind) {
  if (!PeriodCheck()) return;
  host_.TableState().PreviousObjectNumber = 0;
  ComputeKind(kind);
}

void TTableCommands::SelectKind(std::int32_t kind) {
  TTableState& s = host_.TableState();
  s.TableKind = kind;
  if (s.PreviousTableKind != kind) s.TableChanged = 1;
}

void TTableCommands::ComputeKind(std::int32_t kind) {
  SelectKind(kind);
  ComputeTable();
}

void TTableCommands::ComputeKindThenRepaint(std::int32_t kind) {
  ComputeKind(kind);
  host_.Repaint();
}

void TTableCommands::PlanetTableCommand(std::int32_t objectNumber) {
  TEphemerisPeriodState& period = host_.Period();
  TTableState& table = host_.TableState();
  table.ObjectNumber = objectNumber;
  if (!PeriodCheck()) return;
  if (table.PlaceConfirmed == 0) {
    PrepareLocationFile();
    TObserverRecord& r = period.Start;
    if (ShowDatePlaceDialog(r, true, true)) {
      LocalTimeToUT(r);
      table.PlaceConfirmed = 1;
    }
  }
  table.TableKind = 71;
  if (table.PreviousTableKind != 71 || table.PreviousObjectNumber != table.ObjectNumber) table.TableChanged = 1;
  table.PreviousObjectNumber = table.ObjectNumber;
  ComputeTable();
}

void TTableCommands::Pluto1Click() {
  const TEphemerisPeriodState& p = host_.Period();
  // Julian centuries of both ends (dynamical time is close enough for the range).
  const double tStart = (p.Start.Mjd - 51544.5) / 36525.0;
  const double tEnd = (p.End.Mjd - 51544.5) / 36525.0;
  if (!DateInTheoryRange(p.Selection, tStart) || !DateInTheoryRange(p.Selection, tEnd)) {
    ShowPlutoDateInvalid();
    return;
  }
  PlanetTableCommand(kPluto);
}

void TTableCommands::KeineTabelle1Click() {
  host_.Window().setWindowTitle(kMainWindowCaption);
  host_.RefreshMenuStates();
  host_.TableState().TableKind = kNoTableKind;
  ComputeTable();
}

// --- the Moon, the comet, the user object and the integrated orbits ---------------------------

void TTableCommands::RegisterBodyKinds() {
  // The Moon: from the window's Moon cache when its flag is set.
  dispatcher_->Register(61, [this] {
    const TComputingSettings& s = host_.Computing();
    const TTableRequest request = Request();
    const std::uint8_t cache = s.NumericOptions.InterpolateMoon;
    const std::uint8_t option = MoonOptionByte(s.NumericOptions);
    Tmondtab table(cache, option, request, &host_.Workbook());
    table.initialisieren(cache, option, request);
    RunStandardTable(table, 61);
  });
  // The current comet.
  dispatcher_->Register(41, [this] { RunElementsTable<TKometeph>(*this, host_, host_.Objects().CurrentComet, 41); });
  // The current object of the user catalogue; an index outside the list
  // is refused by the table with its message.
  dispatcher_->Register(72, [this] {
    const TEphemerisPeriodState& p = host_.Period();
    const tuserobject* object = host_.UserObjects().Item(host_.Objects().UserObjectIndex);
    Tusertab table(object, Request(), &host_.Workbook(), kBodyIndexAsteroid);
    table.schleife(p.PositionFiles, p.ApparentSiderealTime, 1);
    PrepareOutput(table);
    dispatcher_->FinishStandardRun(table, 72);
  });
  // The integrated asteroid orbit and its element-file data.
  for (const std::int32_t code : {22, 4014}) {
    dispatcher_->Register(code, [this, code] {
      const TCurrentObjects& s = host_.Objects();
      const TTableRequest request = Request();
      TKeplereph table(request, &host_.Workbook(), s.CurrentAsteroid);
      table.initialisieren(request, s.CurrentAsteroid);
      RunIntegratedTable(table, code, table.Epoch, s.CurrentAsteroid.Name);
    });
  }
  // The integrated comet orbit and its element-file data; the integration
  // starts from the record's epoch (the perihelion time when it has none).
  for (const std::int32_t code : {42, 4016}) {
    dispatcher_->Register(code, [this, code] {
      const TCurrentObjects& s = host_.Objects();
      const TTableRequest request = Request();
      TKometeph table(request, &host_.Workbook(), s.CurrentComet);
      table.initialisieren(request, s.CurrentComet);
      const double epoch = table.SecondEpoch > 0 ? table.SecondEpoch : table.Epoch;
      RunIntegratedTable(table, code, epoch, s.CurrentComet.Name);
    });
  }
  // The integrator's state vectors.
  dispatcher_->Register(34, [this] { host_.StateVectorOutput(); });
}

void TTableCommands::RunIntegratedTable(TKeplereph& table, std::int32_t code, double epochJd, const std::string& name) {
  const TEphemerisPeriodState& p = host_.Period();
  if (std::fabs(MjdToJd(p.Start.Mjd) - epochJd) < kIntegrationEpochMinDays) {
    LeaveWithoutTable(host_);
    ShowIntegrationStartTooNear(LanguageEnglish);
    host_.Window().update();
    ZeitraumfrTabelle1Click();
    return;
  }
  const bool elementTable = code == 4014 || code == 4016;
  table.integriere(p.PositionFiles, p.ApparentSiderealTime, 1, elementTable ? 1 : 0);
  if (elementTable) table.ObjectName = name;
  PrepareOutput(table);
  dispatcher_->FinishStandardRun(table, code, elementTable);
}

void TTableCommands::Benutzerkatalog1Click() {
  if (!FindUserCatalogObject) return;
  const int index = FindUserCatalogObject(host_.UserObjects());
  if (index < 0) return;
  TCurrentObjects& objects = host_.Objects();
  TTableState& table = host_.TableState();
  if (objects.UserObjectIndex != index) table.TableChanged = 1;
  objects.UserObjectIndex = index;
  PlainCommand(72);
}

void TTableCommands::IntegratedOrbitCommand(std::int32_t kind) {
  TComputingSettings& computing = host_.Computing();
  TTableState& table = host_.TableState();
  const TTheorySelection selection = host_.Selection();
  // The default question: only when the planets would come from a slow
  // theory (not the internal series, no position database, VSOP allowed).
  if (selection.bytes[0] != kPlanetTheoryInternal && computing.UseIntegrationDatabase == 0 && selection.bytes[2] == 0 &&
      !host_.SlowTheoryQuestion("", "", 0)) {
    return;
  }
  if (!PeriodCheck()) return;
  table.TableKind = kind;
  if (kind == 4014 || kind == 4016) {
    table.TableChanged = 1;
  } else {
    table.PreviousObjectNumber = 0;
    if (table.PreviousTableKind != kind) table.TableChanged = 1;
  }
  ComputeTable();
}

void TTableCommands::EingabemaskefrStatusvektor1Click() {
  TTableState& s = host_.TableState();
  s.ObjectChanged = 1;
  s.TableChanged = 1;
  s.PreviousTableKind = kPeriodRefusedKind;
  host_.RefreshMenuStates();
  s.TableKind = 34;
  ComputeTable();
}

// --- time and place -------------------------------------------------------------------------------

void TTableCommands::ComputeWithoutKind() {
  host_.TableState().TableKind = kNoTableKind;
  ComputeTable();
}

namespace {

// The tables whose columns the table configuration chooses and that a
// repeated run computes without asking anything: the asteroid (from its
// elements and from the database), the comet, the Sun, the Moon, a planet,
// a user object, the daily ephemeris, the meridian transits and the moons
// of Jupiter and Saturn.
constexpr std::int32_t kColumnTableKinds[] = {21, 33, 41, 51, 61, 71, 72, 75, 82, 100, 110, 111};

}  // namespace

void TTableCommands::RecomputeShownTable() {
  TTableState& table = host_.TableState();
  const std::int32_t shown = table.PreviousTableKind;
  const bool columnTable = std::ranges::find(kColumnTableKinds, shown) != std::end(kColumnTableKinds);
  const bool unchanged = host_.DocumentState().UndoFlag == 1 && !host_.DocumentState().EditedSinceTable();
  table.TableKind = columnTable && unchanged ? shown : kNoTableKind;
  ComputeTable();
}

void TTableCommands::DatumundOrteingeben1Click() {
  TEphemerisPeriodState& period = host_.Period();
  TTableState& table = host_.TableState();
  TObserverRecord& r = period.Start;
  const TObserverRecord before = r;
  PrepareLocationFile();
  if (ShowDatePlaceDialog(r, true, true)) {
    table.DateListMode = 0;
    const bool changed = ObserverDateOrPlaceChanged(before, r);
    if (changed) LocalTimeToUT(r);
    table.TableChanged = changed ? 1 : 0;
    if (table.TableChanged != 0 || table.ObjectChanged != 0) ComputeWithoutKind();
  }
  table.PlaceConfirmed = 1;
}

void TTableCommands::Ortwhlen1Click() {
  TEphemerisPeriodState& period = host_.Period();
  TTableState& table = host_.TableState();
  TObserverRecord& r = period.Start;
  PrepareLocationFile();
  const std::optional<TObserverRecord> chosen = ChooseLocation(r, TDatumortForm::KeepUT());
  if (!chosen) return;
  TakeLocationFields(r, *chosen);
  table.TableChanged = 1;
  // "Weltzeit beibehalten": the same instant, read on the new place's clock;
  // otherwise the same clock time at the new place.
  if (TDatumortForm::KeepUT()) {
    UTToLocalTime(r);
  } else {
    LocalTimeToUT(r);
  }
  ComputeWithoutKind();
}

void TTableCommands::CheckPeriod() {
  TEphemerisPeriodState& period = host_.Period();
  period.ApplyTheorySelection = [this](TTheorySelection selection) { host_.SetTheorySelection(selection); };
  period.UpdateStatusLine = [this] { host_.UpdateStatusLine(); };
  CheckEphemerisPeriod(period);
}

void TTableCommands::ZeitraumfrTabelle1Click() {
  TEclipseSettings& eclipses = host_.EclipseSettings();
  TTableState& table = host_.TableState();
  TEphemerisPeriodState& p = host_.Period();
  SetAutoEndSwitch(p.End, p.AutoEnd);
  std::int32_t interval = static_cast<std::int32_t>(eclipses.SolarEclipseSearchMinutes);
  std::int32_t span = static_cast<std::int32_t>(eclipses.SolarEclipseSearchSpanHours);
  const int result =
      ShowPeriodDialog(eclipses.PhaseTableMinutes, eclipses.PhaseTableSeconds, p.Start, p.End, interval, span, p.Step);
  if (result != QDialog::Accepted || PeriodAccepted(p.End) == 0) return;
  eclipses.SolarEclipseSearchMinutes = interval;
  eclipses.SolarEclipseSearchSpanHours = span;
  table.DateListMode = 0;
  p.Step.StepDays = p.Step.Days + p.Step.Hours / 24.0;
  p.AutoEnd = AutoEndSwitch(p.End);
  LocalTimeToUT(p.Start);
  if (p.AutoEnd == 0) LocalTimeToUT(p.End);
  table.TableChanged = 1;
  ComputeWithoutKind();
}

// --- the planet tables of the theory libraries -------------------------------------------------
// One instant (the start record's T): the tables are written at once into
// the sheet or the grid by the main window's view switch; an absent library
// gives its message and leaves the sheet as it was.

namespace {

struct LibraryTableCommand {
  const char* Command;
  std::int32_t Kind;
};
constexpr LibraryTableCommand kLibraryTableCommands[] = {
    {"StatusvektorVSOP87A1", kTableKindStateVectorVsop87a},
    {"OrbitalElementsVSOP87A1", kTableKindElementsVsop82},
};

}  // namespace

void TTableCommands::RegisterLibraryTables() {
  for (const LibraryTableCommand& c : kLibraryTableCommands) {
    const std::int32_t kind = c.Kind;
    dispatcher_->Register(kind, [this, kind] {
      TComputingSettings& computing = host_.Computing();
      TDocumentState& document = host_.DocumentState();
      const TEphemerisPeriodState& p = host_.Period();
      TLibraryTableTarget target;
      target.WorkbookView = document.WorkbookView;
      target.Sheet = &host_.Workbook();
      target.Grid = &host_.Grid();
      target.Language = LanguageEnglish;
      target.Output = Output();
      const TLibraryAvailability& libraries = host_.TheoryState().Libraries;
      const bool written =
          kind == kTableKindStateVectorVsop87a
              ? PlanetCoordinateTableVsop87a(p.PositionFiles, target, p.Start, computing.Accuracy.VsopLevelA,
                                             p.TableConfig, libraries)
              : PlanetCoordinateTableVsop82(p.PositionFiles, target, p.Start, p.TableConfig, libraries);
      if (written) {
        document.DocumentSaved = 0;
      } else {
        LeaveWithoutTable(host_);
      }
    });
    host_.Commands().RegisterHandler(c.Command, [this, kind] {
      host_.TableState().TableKind = kind;
      ComputeTable();
    });
  }
}

void TTableCommands::RefreshLibraryTableMenus() {
  for (const LibraryTableCommand& c : kLibraryTableCommands)
    host_.Commands().SetEnabled(c.Command, dispatcher_->HasHandler(c.Kind));
}

}  // namespace kvx
