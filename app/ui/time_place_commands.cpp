#include "app/ui/time_place_commands.h"

#include <QLocale>
#include <QMainWindow>
#include <QPointer>
#include <QStatusBar>
#include <QTimeZone>
#include <QToolBar>
#include <cstdint>
#include <memory>

#include "app/file_dialog_request.h"
#include "app/main_form_state.h"
#include "app/time_place_macros.h"
#include "app/ui/command_host.h"
#include "app/ui/menu_commands.h"
#include "app/ui/table_commands.h"
#include "core/observer_record.h"
#include "core/quantity_headings.h"
#include "core/time_scales.h"
#include "engine/table_globals.h"
#include "platform/file_dialog.h"
#include "platform/globals.h"
#include "setup/column_sets.h"
#include "setup/julian_date_cells.h"
#include "setup/table_config_file.h"
#include "setup/ui/table_config_dialog.h"
#include "setup/ui/time_entry_dialogs.h"

namespace kvx {

namespace {

constexpr bool kShowHints = true;

// The date-list form lives as long as the main window.
QPointer<TFrmJDListe> date_list_form;

TObserverRecord& Start(TWindowRecords& records) { return records.Period().Start; }

// After a new date: table changed, the period completed by the dispatcher
// without a table kind (the sheet keeps its table), the status line anew.
void DateChanged(TCommandHost& host) {
  host.TableState().TableChanged = 1;
  host.Tables().ComputeWithoutKind();
  host.UpdateStatusLine();
}

// Apply date: local date from UT, then DateChanged.
void ApplyDate(TCommandHost& host) {
  UTToLocalTime(Start(host));
  DateChanged(host);
}

void JulianischesDatum1Click(TCommandHost& host) {
  TObserverRecord copy = Start(host);
  double mjd = copy.Mjd;
  std::int32_t zone = copy.Zone;
  std::int32_t minutes = copy.ZoneMinutes;
  if (!ShowJulianDateDialog(kShowHints, mjd, zone, minutes, nullptr, &host.Window()) ||
      !JulianDateEntryChanged(copy.Mjd, copy.Zone, copy.ZoneMinutes, mjd, zone, minutes)) {
    host.TableState().TableChanged = 0;
    return;
  }
  copy.Mjd = mjd;
  copy.Zone = zone;
  copy.ZoneMinutes = minutes;
  Start(host) = copy;
  host.TableState().DateListMode = 0;
  ApplyDate(host);
}

void Systemdatum1Click(TCommandHost& host) {
  host.TableState().DateListMode = 0;
  CurrentDateToRecord(Start(host));
  LocalTimeToUT(Start(host));
  DateChanged(host);
}

// The day with fraction in UT, as the dialog's label says; both buttons of
// the Julian date shown afterwards take the instant entered. The period is
// checked first, so that the dialog shows the instant the tables use.
void Tagesbruchteil1Click(TCommandHost& host) {
  host.Tables().CheckPeriod();
  TObserverRecord entered = Start(host);
  const TUniversalDay shown = UniversalDayOf(entered.Mjd);
  TUniversalDay typed = shown;
  if (ShowDayFractionDialog(kShowHints, typed, &host.Window()) != 1) return;
  if (typed != shown) ApplyUniversalDay(entered, typed);  // left as shown, the instant stays exact
  ShowDayFractionJulianDate(kShowHints, MjdToJd(entered.Mjd), &host.Window());
  Start(host) = entered;
  ApplyDate(host);
}

void Sommerzeit1Click(TCommandHost& host) {
  ToggleDaylightSaving(Start(host));
  host.Commands().SetDaylightSaving(Start(host).DaylightHours != 0);
  DateChanged(host);
}

// The UT dialog hands back the instant typed (or the record as it was) with
// its local date and time; the period is checked first, as for the day
// fraction.
void UTeingeben1Click(TCommandHost& host) {
  host.Tables().CheckPeriod();
  TObserverRecord copy = Start(host);
  if (ShowUTInputDialog(kShowHints, copy, &host.Window()) != 1) return;
  host.TableState().DateListMode = 0;
  Start(host) = copy;
  DateChanged(host);
}

void ZeitraumfrTabelleJD1Click(TCommandHost& host) {
  TTableState& table = host.TableState();
  TEphemerisPeriodState& p = host.Period();
  if (ShowPeriodJDDialog(p.Start, p.End, p.Step, &table.DateListMode, &host.Window()) != 1) return;
  p.AutoEnd = 0;
  table.DateListMode = 0;
  UTToLocalTime(p.Start);
  UTToLocalTime(p.End);
  DateChanged(host);
}

void JulianischesDatumausTabelle1Click(TCommandHost& host) {
  double jd = 0;
  if (!JulianDateFromMarkedCell(host.Workbook(), jd)) return;
  Start(host).Mjd = jd - 2400000.5;
  ApplyDate(host);
}

void EphemeridenzeitpunkteausTabelle1Click(TCommandHost& host) {
  if (date_list_form == nullptr) date_list_form = new TFrmJDListe(host.Workbook(), &host.Window());
  TTableState& s = host.TableState();
  ShowJulianDateListForm(*date_list_form, s.JulianDateList, s.DateListMode);
}

// --- table configuration ---------------------------------------------------------

void Tabellenkonfigurieren1Click(TCommandHost& host) {
  TComputingSettings& computing = host.Computing();
  TEphemerisPeriodState& period = host.Period();
  TTableState& table = host.TableState();
  int preview = table.TableConfigPreview;
  double equinox = computing.SecondEquinox;
  std::uint8_t sidereal = period.ApparentSiderealTime;
  // The planets' element columns exist while the VSOP82 library is present.
  const bool planetElements = host.TheoryState().Libraries.Vsop82 == 1;
  if (ShowTableConfigDialog(preview, equinox, period.TableConfig, table.RiseSetAsJulianDate, sidereal, planetElements,
                            &host.Window()) != 1) {
    return;
  }
  table.TableConfigPreview = preview;
  host.SetTableEquinox(equinox);
  period.ApparentSiderealTime = sidereal;
  table.TableChanged = 1;
  host.Tables().RecomputeShownTable();
}

// The table tool bar: a column set into the main window's table
// configuration and its group summaries recomputed; the next table command
// writes the new columns, the sheet keeps what it holds.
void ApplyColumnSet(TCommandHost& host, void (*set)(TColumnFlags&)) {
  TEphemerisPeriodState& period = host.Period();
  TTableState& table = host.TableState();
  set(period.TableConfig.Flags);
  RecomputeColumnSummaries(period.TableConfig.Flags);
  table.TableChanged = 1;
  host.Tables().ComputeWithoutKind();
}

struct TColumnSetButton {
  const char* Command;
  void (*Set)(TColumnFlags&);
};
constexpr TColumnSetButton kColumnSetButtons[] = {
    {"SpeedButton34", ColumnPresetE},      // planets, equinox of date
    {"SpeedButton35", ColumnPresetF},      // planets, equinox 2000
    {"SpeedButton36", ColumnPresetA},      // physical ephemerides
    {"SpeedButton37", ColumnPresetB},      // rise and set
    {"SpeedButton38", ColumnPresetG},      // asteroids
    {"SpeedButton39", ColumnPresetC},      // comets
    {"SpeedButton40", ColumnPresetH},      // orbital elements of comets
    {"SpeedButton41", ColumnPresetD},      // orbital elements of asteroids
    {"SpeedButton42", SetDefaultColumns},  // the default set
    {"SpeedButton43", SelectAllColumns},   // every column
};

void LoadTableConfigurationClick(TCommandHost& host) {
  FileDialogRequest request = FileDialogRequestOf("KonfigOpenDialog");
  request.start = host.DataFolder();
  request.defaultExtension = "etd";
  const std::optional<std::string> path = AskOpenFileName(request);
  if (!path) return;
  TTableConfigFile file;
  if (!LoadTableConfigFile(*path, file)) return;  // its message shown, nothing changed
  TEphemerisPeriodState& period = host.Period();
  TTableState& table = host.TableState();
  period.TableConfig = file.Record;
  TitlesFollowLanguage(period.TableConfig, LanguageEnglish != 0);
  host.SetTableEquinox(EquinoxYearToCenturies(file.EquinoxYear));
  period.ApparentSiderealTime = file.ApparentSiderealTime;
  table.RiseSetAsJulianDate = file.RiseSetAsJulianDate;
  table.TableChanged = 1;
  host.Tables().ComputeWithoutKind();
}

// A view toggle: the item's check mark shows or hides the bar.
void ShowBar(THostCommands& commands, const char* command, QWidget* bar) {
  if (bar != nullptr) bar->setVisible(commands.Commands().IsChecked(command));
}

// The system zone's long name in the interface language.
std::string ZoneName() {
  const QLocale locale(LanguageEnglish != 0 ? QLocale::English : QLocale::German);
  return QTimeZone::systemTimeZone()
      .displayName(QDateTime::currentDateTime(), QTimeZone::LongName, locale)
      .toStdString();
}

}  // namespace

void InstallTimePlaceCommands(TCommandHost& host) {
  TMenuCommands& c = host.Commands();
  TCommandHost* f = &host;
  c.RegisterHandler("JulianischesDatum1", [f] { JulianischesDatum1Click(*f); });
  c.RegisterHandler("Systemdatum1", [f] { Systemdatum1Click(*f); });
  c.RegisterHandler("Tagesbruchteil1", [f] { Tagesbruchteil1Click(*f); });
  c.RegisterHandler("Sommerzeit1", [f] { Sommerzeit1Click(*f); });
  c.RegisterHandler("UTeingeben1", [f] { UTeingeben1Click(*f); });
  c.RegisterHandler("ZeitraumfrTabelleJD1", [f] { ZeitraumfrTabelleJD1Click(*f); });
  c.RegisterHandler("JulianischesDatumausTabelle1", [f] { JulianischesDatumausTabelle1Click(*f); });
  c.RegisterHandler("EphemeridenzeitpunkteausTabelle1", [f] { EphemeridenzeitpunkteausTabelle1Click(*f); });

  c.RegisterHandler("DMS1", [f] { MacroDegToDms(f->Workbook()); });
  c.RegisterHandler("DEG1", [f] { MacroDmsToDeg(f->Workbook()); });
  c.RegisterHandler("TimetoDEG1", [f] { MacroTimeToDeg(f->Workbook()); });
  c.RegisterHandler("DEGtoTime1", [f] { MacroDegToTime(f->Workbook()); });
  c.RegisterHandler("Zahl1", [f] { MacroNumberToMarkText(f->Workbook(), true); });
  c.RegisterHandler("Layouttodecimal1", [f] { MacroMarkTextToNumber(f->Workbook()); });
  c.RegisterHandler("Zahlhms1", [f] { MacroNumberToMarkText(f->Workbook(), false); });
  c.RegisterHandler("JDUT1", [f] { MacroJulianDateToUT(f->Workbook()); });
  c.RegisterHandler("Datum1", [f] { WriteDateAtActiveCell(f->Workbook(), Start(*f), ZoneName()); });
  c.RegisterHandler("UT1", [f] { WriteJulianDateAtActiveCell(f->Workbook(), Start(*f)); });
  c.RegisterHandler("Ort1", [f] { WritePlaceAtActiveCell(f->Workbook(), Start(*f)); });

  c.RegisterHandler("Tabellenkonfigurieren1", [f] { Tabellenkonfigurieren1Click(*f); });
  c.RegisterHandler("SpeedButton44", [f] { LoadTableConfigurationClick(*f); });
  for (const TColumnSetButton& button : kColumnSetButtons) {
    c.RegisterHandler(button.Command, [f, set = button.Set] { ApplyColumnSet(*f, set); });
  }

  c.RegisterHandler("s1", [f] { ShowBar(*f, "s1", f->Window().statusBar()); });
  c.RegisterHandler("Symbolleiste1", [f] { ShowBar(*f, "Symbolleiste1", f->Commands().ToolBar("SpeedBar")); });
  c.RegisterHandler("TabellengrenWerkzeug1",
                    [f] { ShowBar(*f, "TabellengrenWerkzeug1", f->Commands().ToolBar("TabellenToolbar")); });
  c.RegisterHandler("Warnheinweisezeigen1", [f] {
    std::uint8_t& option = f->Computing().WarningsOption;
    option = option != 0 ? 0 : 1;
    f->Commands().SetChecked("Warnheinweisezeigen1", option != 0);
  });
}

}  // namespace kvx
