#include "app/ui/table_commands.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QStackedWidget>

#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "core/observer_record.h"
#include "core/text_conversion.h"
#include "engine/ephemeris_table.h"
#include "engine/planet.h"
#include "engine/sun.h"
#include "engine/table_globals.h"
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
    {"Sonne1", 51, 0},   {"Merkur1", 71, 1},  {"Venus1", 71, 2},   {"Mars1", 71, 4},
    {"Jupiter1", 71, 5}, {"Saturn1", 71, 6},  {"Uranus1", 71, 7},  {"Netptun1", 71, 8},
    {"Pluto1", 71, 9},   {"Planetoid1", 21, 0},
    // The moons of Jupiter and Saturn, the moon phases and the Earth satellites.
    {"Jupitermonde1", 100, 0}, {"Saturnmonde1", 111, 0}, {"Mondphasen1", 80, 0},
    {"Satellit1", 880, 0},     {"AlleSatelliten1", 881, 0},
};

constexpr const char* kNoAsteroidName = "Kein Planetoid";
constexpr std::int32_t kPluto = 9;

}  // namespace

TTableCommands::TTableCommands(TMainForm& form) : QObject(&form), form_(form) {
  TDispatchHooks hooks;
  hooks.ShowHourglass = [this] { form_.ShowHourglass(); };
  hooks.RestoreCursor = [this] { form_.RestoreCursor(); };
  hooks.Invalidate = [this] { form_.update(); };
  hooks.RefreshMenus = [this] { RefreshMenus(); };
  hooks.CheckPeriod = [this] {
    TEphemerisPeriodState& period = form_.State().Period;
    period.ApplyTheorySelection = [this](TTheorySelection selection) { form_.SetTheorySelection(selection); };
    period.UpdateStatusLine = [this] { form_.UpdateStatusLine(); };
    CheckEphemerisPeriod(period);
  };
  hooks.CommitTransaction = [this] {
    if (form_.Workbook().InTransaction()) form_.Workbook().TransactionCommit();
  };
  hooks.BeginTransaction = [this] { form_.Workbook().TransactionBegin(); };
  hooks.ClearSheet = [this] {
    workbook::TWorkbook& book = form_.Workbook();
    book.SetSelection(1, 1, 1, 1);
    book.ClearRange(-1, -1, -1, -1, 1);
  };
  SetDialogOwner(&form_);
  hooks.SuspendViews = [this] {
    if (QWidget* views = form_.CentralStack()) views->setUpdatesEnabled(false);
  };
  hooks.ResumeViews = [this] {
    if (QWidget* views = form_.CentralStack()) {
      views->setUpdatesEnabled(true);
      views->update();
    }
  };
  dispatcher_ = std::make_unique<TTableDispatcher>(form_.State(), std::move(hooks));
  SetPeriodDialogHook([this] { ZeitraumfrTabelle1Click(); });
  if (!form_.RefreshMenusHook) form_.RefreshMenusHook = [this] { RefreshMenus(); };
  RegisterKinds();
  RegisterCommands();
  RefreshMenus();
  for (const char* panel : {"Datumpanel", "Ortpanel"})
    if (QLabel* label = form_.Panel(panel)) label->installEventFilter(this);
}

bool TTableCommands::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonDblClick) {
    if (watched == form_.Panel("Datumpanel")) {
      DatumundOrteingeben1Click();
      return true;
    }
    if (watched == form_.Panel("Ortpanel")) {
      Ortwhlen1Click();
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

TTableCommands::~TTableCommands() { SetPeriodDialogHook({}); }

void TTableCommands::ComputeTable() { dispatcher_->ComputeTableGuarded(); }

void TTableCommands::PrepareLocationFile() {
  const std::string& folder = form_.State().DataFolder;
  if (!folder.empty()) TOrtwahldialog::DefaultFileName() = folder + "/orte.csv";
}

void TTableCommands::PrepareOutput(TKeplereph& table) {
  table.OutputSheet = &form_.Workbook();
  table.OutputGrid = &form_.Grid();
  table.OutputSettings.SecondEquinoxText = SecondEquinoxText;
  table.OutputSettings.AzimuthOrigin = form_.State().HalfTurnOffsetAngle;
}

// --- the kinds ------------------------------------------------------------------------------

void TTableCommands::RegisterKinds() {
  // The asteroid: the elements of the chosen asteroid, no database.
  dispatcher_->Register(21, [this] {
    TMainFormState& s = form_.State();
    const TEphemerisPeriodState& p = s.Period;
    TKeplereph table(LanguageEnglish, p.Selection, &form_.Workbook(), p.TableConfig, s.CurrentAsteroid, p.Start,
                     p.End, s.Step, s.IntegrationTolerance, s.VsopLevelA, s.VsopLevelB);
    table.initialisieren(LanguageEnglish, p.Selection, p.TableConfig, s.CurrentAsteroid, p.Start, p.End, s.Step,
                         s.IntegrationTolerance, s.VsopLevelA, s.VsopLevelB, 0, std::string());
    table.schleife(p.PositionFiles, p.ApparentSiderealTime, 1);
    PrepareOutput(table);
    dispatcher_->FinishStandardRun(table, 21);
    if (table.Stopped == 0) {
      shown_kind_ = 21;
      shown_object_ = 0;
    }
  });
  // The Sun.
  dispatcher_->Register(51, [this] {
    TMainFormState& s = form_.State();
    const TEphemerisPeriodState& p = s.Period;
    TSonnetab table(LanguageEnglish, p.Selection, &form_.Workbook(), p.TableConfig, p.Start, p.End, s.Step,
                    s.IntegrationTolerance, s.VsopLevelA, s.VsopLevelB);
    table.initialisieren(LanguageEnglish, p.Selection, p.TableConfig, p.Start, p.End, s.Step, s.IntegrationTolerance,
                         s.VsopLevelA, s.VsopLevelB);
    table.schleife(p.PositionFiles, p.ApparentSiderealTime, 1);
    PrepareOutput(table);
    dispatcher_->FinishStandardRun(table, 51);
    if (table.Stopped == 0) {
      shown_kind_ = 51;
      shown_object_ = 0;
    }
  });
  // The planets: Pluto only within its theory's range (nothing is made
  // or painted outside it).
  dispatcher_->Register(71, [this] {
    TMainFormState& s = form_.State();
    const TEphemerisPeriodState& p = s.Period;
    if (s.ObjectNumber == kPluto && !DateInTheoryRange(p.Selection, p.Start.Centuries)) {
      ShowPlutoDateInvalid();
      s.PreviousTableKind = kPeriodRefusedKind;
      s.TableKind = kPeriodRefusedKind;
      dispatcher_->ComputeTable();
      return;
    }
    Tplatab table(LanguageEnglish, p.Selection, &form_.Workbook(), s.ObjectNumber, p.TableConfig, p.Start, p.End,
                  s.Step, s.IntegrationTolerance, s.VsopLevelA, s.VsopLevelB);
    table.initialisieren(LanguageEnglish, p.Selection, s.ObjectNumber, p.TableConfig, p.Start, p.End, s.Step,
                         s.IntegrationTolerance, s.VsopLevelA, s.VsopLevelB);
    table.schleife(p.PositionFiles, p.ApparentSiderealTime, 1);
    PrepareOutput(table);
    dispatcher_->FinishStandardRun(table, 71);
    if (table.Stopped == 0) {
      shown_kind_ = 71;
      shown_object_ = s.ObjectNumber;
    }
  });
  RegisterMoonAndSatelliteKinds();
}

// --- menu states ------------------------------------------------------------------------------

void TTableCommands::RefreshMenus() {
  TMenuCommands& commands = form_.Commands();
  for (const TableCommand& c : kTableCommands) {
    bool enabled = dispatcher_->HasHandler(c.Kind);
    if (c.Kind == 21 && form_.State().CurrentAsteroid.Name == kNoAsteroidName) enabled = false;
    if ((c.Kind == 880 || c.Kind == 881) && !SatelliteTablesEnabled()) enabled = false;
    commands.SetEnabled(c.Command, enabled);
  }
}

// --- the commands ------------------------------------------------------------------------------

void TTableCommands::RegisterCommands() {
  TMenuCommands& commands = form_.Commands();
  for (const TableCommand& c : kTableCommands) {
    const std::int32_t kind = c.Kind;
    const std::int32_t object = c.Object;
    TMenuCommands::Handler handler;
    if (kind == 71 && object == kPluto) handler = [this] { Pluto1Click(); };
    else if (kind == 71) handler = [this, object] { PlanetTableCommand(object); };
    else handler = [this, kind] { PlainCommand(kind); };
    commands.RegisterHandler(c.Command, handler);
  }
  commands.RegisterHandler("Satelliten1", [this] { Satelliten1Click(); });
  commands.RegisterHandler("Erdsatelliten1", [this] { Erdsatelliten1Click(); });
  commands.RegisterHandler("DatumundOrteingeben1", [this] { DatumundOrteingeben1Click(); });
  commands.RegisterHandler("Ortwhlen1", [this] { Ortwhlen1Click(); });
  commands.RegisterHandler("ZeitraumfrTabelle1", [this] { ZeitraumfrTabelle1Click(); });
  RegisterToolCommands();
}

bool TTableCommands::PeriodCheck() {
  const TEphemerisPeriodState& p = form_.State().Period;
  if (p.End.Mjd > p.Start.Mjd) return true;
  AskFixEndBeforeStart();
  return false;
}

void TTableCommands::PlainCommand(std::int32_t kind) {
  if (!PeriodCheck()) return;
  TMainFormState& s = form_.State();
  s.TableKind = kind;
  s.PreviousObjectNumber = 0;
  if (s.PreviousTableKind != kind) s.TableChanged = 1;
  ComputeTable();
}

void TTableCommands::PlanetTableCommand(std::int32_t objectNumber) {
  TMainFormState& s = form_.State();
  s.ObjectNumber = objectNumber;
  if (!PeriodCheck()) return;
  if (s.PlaceConfirmed == 0) {
    PrepareLocationFile();
    TObserverRecord& r = s.Period.Start;
    bool refraction = r.RefractionOn != 0;
    bool autoDeltaT = r.AutoDeltaT != 0;
    if (ShowDatePlaceDialog(r.Day, r.Month, r.Year, r.Zone, r.ZoneMinutes, r.LocalHours, r.DeltaTSeconds,
                            r.Latitude, r.Longitude, r.PlaceName, r.DaylightHours, r.Height, r.Temperature,
                            r.Pressure, refraction, autoDeltaT, true, true)) {
      r.RefractionOn = refraction ? 1 : 0;
      r.AutoDeltaT = autoDeltaT ? 1 : 0;
      LocalTimeToUT(r);
      s.PlaceConfirmed = 1;
    }
  }
  s.TableKind = 71;
  if (s.PreviousTableKind != 71 || s.PreviousObjectNumber != s.ObjectNumber) s.TableChanged = 1;
  s.PreviousObjectNumber = s.ObjectNumber;
  ComputeTable();
}

void TTableCommands::Pluto1Click() {
  TMainFormState& s = form_.State();
  const TEphemerisPeriodState& p = s.Period;
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
  form_.setWindowTitle(kMainWindowCaption);
  RefreshMenus();
  form_.State().TableKind = kNoTableKind;
  ComputeTable();
}

// --- time and place -------------------------------------------------------------------------------

void TTableCommands::RecomputeShownTable() {
  TMainFormState& s = form_.State();
  if (s.TableChanged != 0 && shown_kind_ != kNoTableKind && dispatcher_->HasHandler(shown_kind_)) {
    s.TableKind = shown_kind_;
    s.ObjectNumber = shown_object_;
  }
  ComputeTable();
}

void TTableCommands::DatumundOrteingeben1Click() {
  TMainFormState& s = form_.State();
  TObserverRecord& r = s.Period.Start;
  const TObserverRecord before = r;
  PrepareLocationFile();
  bool refraction = r.RefractionOn != 0;
  bool autoDeltaT = r.AutoDeltaT != 0;
  const bool ok = ShowDatePlaceDialog(r.Day, r.Month, r.Year, r.Zone, r.ZoneMinutes, r.LocalHours,
                                      r.DeltaTSeconds, r.Latitude, r.Longitude, r.PlaceName, r.DaylightHours,
                                      r.Height, r.Temperature, r.Pressure, refraction, autoDeltaT, true, true);
  if (ok) {
    r.RefractionOn = refraction ? 1 : 0;
    r.AutoDeltaT = autoDeltaT ? 1 : 0;
    DateListMode = 0;
    TObserverRecord a = before;
    TObserverRecord b = r;
    LocalTimeToUT(a);
    LocalTimeToUT(b);
    const bool changed = r.Year != before.Year || r.Month != before.Month || r.Day != before.Day ||
                         r.Latitude != before.Latitude || r.Longitude != before.Longitude ||
                         r.Zone != before.Zone || r.ZoneMinutes != before.ZoneMinutes ||
                         r.DeltaTSeconds != before.DeltaTSeconds || r.AutoDeltaT != before.AutoDeltaT ||
                         a.Mjd != b.Mjd;
    if (changed) LocalTimeToUT(r);
    s.TableChanged = changed ? 1 : 0;
    if (s.TableChanged != 0 || s.ObjectChanged != 0) RecomputeShownTable();
  }
  s.PlaceConfirmed = 1;
}

void TTableCommands::Ortwhlen1Click() {
  TMainFormState& s = form_.State();
  TObserverRecord& r = s.Period.Start;
  PrepareLocationFile();
  TOrtwahldialog& dialog = LocationDialog();
  dialog.Record = r;
  dialog.Record.Latitude = DegToDmsPackedSec(r.Latitude);
  dialog.Record.Longitude = DegToDmsPackedSec(r.Longitude);
  dialog.KeepUT()->setChecked(TDatumortForm::KeepUT());
  if (dialog.exec() != QDialog::Accepted) return;
  r.Latitude = dialog.Record.Latitude;
  r.Longitude = dialog.Record.Longitude;
  r.Zone = dialog.Record.Zone;
  r.ZoneMinutes = dialog.Record.ZoneMinutes;
  r.Height = dialog.Record.Height;
  r.Pressure = dialog.Record.Pressure;
  r.Temperature = dialog.Record.Temperature;
  r.PlaceName = dialog.Record.PlaceName;
  r.DaylightHours = dialog.Record.DaylightHours;
  r.RefractionOn = dialog.Record.RefractionOn;
  s.TableChanged = 1;
  TDatumortForm::KeepUT() = dialog.KeepUT()->isChecked();
  if (!TDatumortForm::KeepUT()) {
    UTToLocalTime(r);
  } else {
    LocalTimeToUT(r);
  }
  RecomputeShownTable();
}

void TTableCommands::ZeitraumfrTabelle1Click() {
  TMainFormState& s = form_.State();
  TEphemerisPeriodState& p = s.Period;
  SetAutoEndSwitch(p.End, p.AutoEnd);
  std::int32_t interval = static_cast<std::int32_t>(s.SolarEclipseSearchMinutes);
  std::int32_t span = static_cast<std::int32_t>(s.SolarEclipseSearchSpanHours);
  const int result = ShowPeriodDialog(s.PhaseTableMinutes, s.PhaseTableSeconds, p.Start, p.End, interval, span, s.Step);
  if (result != QDialog::Accepted || PeriodAccepted(p.End) == 0) return;
  s.SolarEclipseSearchMinutes = interval;
  s.SolarEclipseSearchSpanHours = span;
  DateListMode = 0;
  s.Step.StepDays = s.Step.Days + s.Step.Hours / 24.0;
  p.StepDays = s.Step.StepDays;
  p.AutoEnd = AutoEndSwitch(p.End);
  LocalTimeToUT(p.Start);
  if (p.AutoEnd == 0) LocalTimeToUT(p.End);
  s.TableChanged = 1;
  RecomputeShownTable();
}

}  // namespace kvx
