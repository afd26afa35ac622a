#include "app/ui/time_place_commands.h"

#include <QPointer>
#include <QStatusBar>
#include <QToolBar>
#include <QTimeZone>
#include <cstdint>
#include <memory>

#include "app/file_dialog_texts.h"
#include "app/time_place_macros.h"
#include "app/ui/main_window.h"
#include "app/ui/menu_commands.h"
#include "app/ui/table_commands.h"
#include "core/observer_record.h"
#include "engine/table_globals.h"
#include "platform/file_dialog.h"
#include "platform/globals.h"
#include "setup/julian_date_cells.h"
#include "setup/table_config_file.h"
#include "setup/ui/table_config_dialog.h"
#include "setup/ui/time_entry_dialogs.h"

namespace kvx {

namespace {

constexpr bool kShowHints = true;

// The table-configuration dialog's switch for rise, set and twilight times
// as Julian dates, kept for the run.
std::uint8_t rise_set_as_jd = 0;
// The date-list form lives as long as the main window.
QPointer<TFrmJDListe> date_list_form;

TObserverRecord& Start(TMainForm& form) { return form.State().Period.Start; }

// Apply date: local date from UT, table changed, the table on show again
// (the dispatcher checks the period first).
void ApplyDate(TMainForm& form) {
  UTToLocalTime(Start(form));
  form.State().TableChanged = 1;
  form.Tables().RecomputeShownTable();
  form.UpdateStatusLine();
}

void JulianischesDatum1Click(TMainForm& form) {
  TObserverRecord copy = Start(form);
  double mjd = copy.Mjd;
  std::int32_t zone = copy.Zone;
  std::int32_t minutes = copy.ZoneMinutes;
  if (!ShowJulianDateDialog(kShowHints, mjd, zone, minutes, nullptr, &form) ||
      !JulianDateEntryChanged(copy.Mjd, copy.Zone, copy.ZoneMinutes, mjd, zone, minutes)) {
    form.State().TableChanged = 0;
    return;
  }
  copy.Mjd = mjd;
  copy.Zone = zone;
  copy.ZoneMinutes = minutes;
  Start(form) = copy;
  DateListMode = 0;
  ApplyDate(form);
}

void Systemdatum1Click(TMainForm& form) {
  DateListMode = 0;
  CurrentDateToRecord(Start(form));
  LocalTimeToUT(Start(form));
  form.State().TableChanged = 1;
  form.Tables().RecomputeShownTable();
  form.UpdateStatusLine();
}

void Tagesbruchteil1Click(TMainForm& form) {
  TObserverRecord copy = Start(form);
  double day = DayWithFraction(copy);
  if (ShowDayFractionDialog(kShowHints, copy, day, &form) != 1) return;
  ApplyDayWithFraction(copy, day);
  ShowDayFractionJulianDate(kShowHints, copy.Mjd + 2400000.5, &form);
  Start(form) = copy;
  ApplyDate(form);
}

void Sommerzeit1Click(TMainForm& form) {
  ToggleDaylightSaving(Start(form));
  form.Commands().SetDaylightSaving(Start(form).DaylightHours != 0);
  form.State().TableChanged = 1;
  form.Tables().RecomputeShownTable();
  form.UpdateStatusLine();
}

void UTeingeben1Click(TMainForm& form) {
  TObserverRecord copy = Start(form);
  if (ShowUTInputDialog(kShowHints, copy, &form) != 1) return;
  DateListMode = 0;
  ApplyUTEntry(copy);
  Start(form) = copy;
  form.State().TableChanged = 1;
  form.Tables().RecomputeShownTable();
  form.UpdateStatusLine();
}

void ZeitraumfrTabelleJD1Click(TMainForm& form) {
  TMainFormState& s = form.State();
  TEphemerisPeriodState& p = s.Period;
  if (ShowPeriodJDDialog(p.Start, p.End, s.Step, &DateListMode, &form) != 1) return;
  p.AutoEnd = 0;
  DateListMode = 0;
  p.StepDays = s.Step.StepDays;
  UTToLocalTime(p.Start);
  UTToLocalTime(p.End);
  s.TableChanged = 1;
  form.Tables().RecomputeShownTable();
  form.UpdateStatusLine();
}

void JulianischesDatumausTabelle1Click(TMainForm& form) {
  double jd = 0;
  if (!JulianDateFromMarkedCell(form.Workbook(), jd)) return;
  Start(form).Mjd = jd - 2400000.5;
  ApplyDate(form);
}

void EphemeridenzeitpunkteausTabelle1Click(TMainForm& form) {
  if (date_list_form == nullptr) date_list_form = new TFrmJDListe(form.Workbook(), &form);
  ShowJulianDateListForm(*date_list_form, JulianDateList, DateListMode);
}

// --- table configuration ---------------------------------------------------------

void Tabellenkonfigurieren1Click(TMainForm& form) {
  TMainFormState& s = form.State();
  int preview = 0;
  double equinox = s.SecondEquinox;
  std::uint8_t sidereal = s.Period.ApparentSiderealTime;
  std::uint8_t riseSetJd = rise_set_as_jd;
  if (ShowTableConfigDialog(preview, equinox, s.Period.TableConfig, riseSetJd, sidereal, false, &form) != 1) return;
  form.SetTableEquinox(equinox);
  s.Period.ApparentSiderealTime = sidereal;
  rise_set_as_jd = riseSetJd;
  s.TableChanged = 1;
  form.Tables().RecomputeShownTable();
}

std::vector<std::string> SplitFilters(const std::string& filters) {
  std::vector<std::string> result;
  std::size_t from = 0;
  while (from <= filters.size()) {
    const std::size_t at = filters.find(";;", from);
    result.push_back(filters.substr(from, at == std::string::npos ? std::string::npos : at - from));
    if (at == std::string::npos) break;
    from = at + 2;
  }
  return result;
}

void LoadTableConfigurationClick(TMainForm& form) {
  FileDialogRequest request;
  request.title = FileDialogTitle("KonfigOpenDialog");
  request.filters = SplitFilters(FileDialogFilter("KonfigOpenDialog"));
  request.start = form.State().DataFolder;
  request.defaultExtension = "etd";
  const std::optional<std::string> path = AskOpenFileName(request);
  if (!path) return;
  TTableConfigFile file;
  if (!LoadTableConfigFile(*path, file)) return;  // its message shown, nothing changed
  TMainFormState& s = form.State();
  s.Period.TableConfig = file.Record;
  form.SetTableEquinox(EquinoxYearToCenturies(file.EquinoxYear));
  s.Period.ApparentSiderealTime = file.ApparentSiderealTime;
  rise_set_as_jd = file.RiseSetAsJulianDate;
  s.TableChanged = 1;
  form.Tables().RecomputeShownTable();
}

// A view toggle: the item's check mark shows or hides the bar.
void ShowBar(TMainForm& form, const char* command, QWidget* bar) {
  if (bar != nullptr) bar->setVisible(form.Commands().IsChecked(command));
}

std::string ZoneName() { return QTimeZone::systemTimeZone().displayName(QDateTime::currentDateTime()).toStdString(); }

}  // namespace

void InstallTimePlaceCommands(TMainForm& form) {
  TMenuCommands& c = form.Commands();
  TMainForm* f = &form;
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
  c.RegisterHandler("Zahlhms1", [f] { MacroNumberToMarkText(f->Workbook(), false); });
  c.RegisterHandler("JDUT1", [f] { MacroJulianDateToUT(f->Workbook()); });
  c.RegisterHandler("Datum1", [f] { WriteDateAtActiveCell(f->Workbook(), Start(*f), ZoneName()); });
  c.RegisterHandler("UT1", [f] { WriteJulianDateAtActiveCell(f->Workbook(), Start(*f)); });
  c.RegisterHandler("Ort1", [f] { WritePlaceAtActiveCell(f->Workbook(), Start(*f)); });

  c.RegisterHandler("Tabellenkonfigurieren1", [f] { Tabellenkonfigurieren1Click(*f); });
  c.RegisterHandler("SpeedButton44", [f] { LoadTableConfigurationClick(*f); });

  c.RegisterHandler("s1", [f] { ShowBar(*f, "s1", f->statusBar()); });
  c.RegisterHandler("Symbolleiste1", [f] { ShowBar(*f, "Symbolleiste1", f->Commands().ToolBar("SpeedBar")); });
  c.RegisterHandler("TabellengrenWerkzeug1",
                    [f] { ShowBar(*f, "TabellengrenWerkzeug1", f->Commands().ToolBar("TabellenToolbar")); });
  c.RegisterHandler("Warnheinweisezeigen1", [f] {
    std::uint8_t& option = f->State().WarningsOption;
    option = option != 0 ? 0 : 1;
    f->Commands().SetChecked("Warnheinweisezeigen1", option != 0);
  });
}

}  // namespace kvx
