// The solar eclipse table and calendar: one writer per table, through the
// cell sink, for the workbook sheet and the result grid alike.
#include <algorithm>
#include <cmath>
#include <string>

#include "core/table_config.h"
#include "eclipses/eclipse_sheet.h"
#include "eclipses/solar_eclipse.h"
#include "engine/cell_format.h"
#include "platform/globals.h"

namespace kvx {

namespace {

// Format slots of the eclipse tables (with those the transit tables share).
using namespace eclipse_columns;
constexpr int kSlotLatitude = 177;
constexpr int kSlotLongitude = 178;
constexpr int kSlotDuration = 179;
constexpr int kSlotMagnitude = 180;
constexpr int kSlotObscuration = 181;

// The number of slot 181 as the magnitude texts show it.
std::string Slot181Text(double value) {
  std::string text;
  FormatNumberForSlot(kSlotObscuration, text, std::isfinite(value) ? value : 0.0);
  return text;
}

std::string MagnitudeText(const TLocalEclipseCircumstances& local) {
  return Slot181Text(local.Magnitude) + " (" + Slot181Text(local.Obscuration) + ")";
}

bool English() { return LanguageEnglish != 0; }

}  // namespace

// --- one eclipse ---------------------------------------------------------------------------------

void tSonnenfinsternis::WriteGlobalRow(TCellSink& sink, std::uint8_t kind, int row, const TObserverRecord& observer,
                                       double dauer, double breite, double laenge, double mjd) {
  const TObserverRecord local = EclipseLocalTime(observer, (mjd - 51544.5) / 36525.0);
  sink.Date(row, 1, kSlotDate, local.Year, local.Month, local.Day);
  sink.Value(TCellFamily::TimeOfDay, row, 2, kSlotTime, local.LocalHours);
  if (jdspalte != 0) sink.Value(TCellFamily::Number, row, 3, kSlotJulianDay, mjd + 2400000.5);
  const int c = 3 + jdspalte;
  if (kind >= eclipse_kind::kAnnular) {
    sink.Value(TCellFamily::Angle, row, c, kSlotLatitude, breite);
    sink.Value(TCellFamily::Angle, row, c + 1, kSlotLongitude, laenge);
    sink.Value(TCellFamily::Minutes, row, c + 2, kSlotDuration, dauer);
  } else {
    for (int i = 0; i < 3; ++i) sink.Text(row, c + i, "    -----");
  }
  sink.Text(row, c + 3, get_phase_buffer(kind));
}

void tSonnenfinsternis::WriteLocalBlock(TCellSink& sink, const TTableConfigRecord& config, int col0) {
  const bool english = English();
  const TLocalEclipseCircumstances& l = Local;
  std::string title;
  if (l.Kind == 0) {
    title = (english ? "Invisible in " : "Unsichtbar in ") + Observer.PlaceName;
  } else {
    static const char* const kGerman[4] = {"", "Partielle Finsternis", "Ringförmige Finsternis", "Totale Finsternis"};
    static const char* const kEnglishSheet[4] = {"", "Partial eclipse", "Annular eclipse", "Total eclipse"};
    std::string name = english ? kEnglishSheet[l.Kind] : kGerman[l.Kind];
    if (english && sink.IsGrid() && l.Kind == 3) name = "Totale eclipse";
    title = name + " " + MagnitudeText(l);
  }
  sink.Text(1, col0, title);
  sink.Text(2, col0, english ? "Local circumstances" : "Lokale Umstände");
  if (l.Kind == 0) return;
  const int jd = jdspalte;
  const TObserverRecord maximum = EclipseLocalTime(Observer, l.Maximum);
  sink.Text(3, col0, english ? "Maximum at" : "Maximum um");
  sink.Date(3, col0 + 1, kSlotDate, maximum.Year, maximum.Month, maximum.Day);
  sink.Value(TCellFamily::TimeOfDay, 3, col0 + 2, kSlotTime, maximum.LocalHours);
  if (jd != 0) sink.Value(TCellFamily::Number, 3, col0 + 3, kSlotJulianDay, 36525.0 * l.Maximum + 2451545.0);
  for (int n = 0; n < 4; ++n) {
    if ((n == 1 || n == 2) && l.Kind < 2) continue;
    const int row = 4 + n;
    sink.Text(row, col0, std::to_string(n + 1) + (english ? ". contact: " : ". Kontakt: "));
    if (l.SunAltitude[n] < 0) continue;
    const TObserverRecord c = EclipseLocalTime(Observer, l.Contact[n]);
    sink.Date(row, col0 + 1, kSlotDate, c.Year, c.Month, c.Day);
    sink.Value(TCellFamily::TimeOfDay, row, col0 + 2, kSlotTime, c.LocalHours);
    if (jd != 0) sink.Value(TCellFamily::Number, row, col0 + 3, kSlotJulianDay, 36525.0 * l.Contact[n] + 2451545.0);
    sink.Value(TCellFamily::Angle, row, col0 + 3 + jd, kSlotPositionAngle, l.PositionAngle[n]);
    sink.Value(TCellFamily::Angle, row, col0 + 4 + jd, kSlotVertexAngle, l.VertexAngle[n]);
    sink.Value(TCellFamily::Angle, row, col0 + 5 + jd, kSlotSunAltitude, l.SunAltitude[n]);
  }
  if (list.empty()) return;
  sink.Text(8, col0 + 2, Title(config, kSlotTime));
  if (jd != 0) sink.Text(8, col0 + 3, Title(config, kSlotJulianDay));
  sink.Text(8, col0 + 3 + jd, Title(config, kSlotMagnitude));
  sink.Text(8, col0 + 4 + jd, Title(config, kSlotObscuration));
  sink.Text(8, col0 + 5 + jd, Title(config, kSlotSunAltitude));
  int row = 9;
  for (const tlocalEventList& e : list) {
    const TObserverRecord t = EclipseLocalTime(Observer, e.Time);
    sink.Date(row, col0 + 1, kSlotDate, t.Year, t.Month, t.Day);
    sink.Value(TCellFamily::TimeOfDay, row, col0 + 2, kSlotTime, t.LocalHours);
    if (jd != 0) sink.Value(TCellFamily::Number, row, col0 + 3, kSlotJulianDay, 36525.0 * e.Time + 2451545.0);
    sink.Value(TCellFamily::Number, row, col0 + 3 + jd, kSlotMagnitude, e.Magnitude);
    sink.Value(TCellFamily::Number, row, col0 + 4 + jd, kSlotObscuration, e.Obscuration);
    sink.Value(TCellFamily::Angle, row, col0 + 5 + jd, kSlotSunAltitude, e.SunAltitude);
    ++row;
  }
}

void tSonnenfinsternis::WriteTable(TCellSink& sink, const TTableConfigRecord& config) {
  jdspalte = config.Flags[column_flag::kJulianDate] != 0 ? 1 : 0;
  const bool english = English();
  if (ergebnisse.empty()) {
    sink.Date(1, 1, kSlotDate, Observer.Year, Observer.Month, Observer.Day);
    sink.Text(2, 2, english ? (sink.IsGrid() ? "No solar eclipse)" : "No eclipse") : "Keine Sonnenfinsternis");
    return;
  }
  sink.Text(1, 1, english ? (sink.IsGrid() ? "Solar eclipse" : "Solar Eclipse") : "Sonnenfinsternis");
  sink.Text(1, 2, Title(config, kSlotTime));
  if (jdspalte != 0) sink.Text(1, 3, Title(config, kSlotJulianDay));
  for (int i = 0; i < 4; ++i) sink.Text(1, 3 + jdspalte + i, Title(config, kSlotLatitude + i));
  int row = 2;
  for (const tfinsternisergebnis& r : ergebnisse) {
    WriteGlobalRow(sink, r.art, row, r.Observer, r.dauer, r.breite, r.laenge, r.mjd);
    ++row;
  }
  WriteLocalBlock(sink, config, 7 + jdspalte);
}

void tSonnenfinsternis::paint(TSheet& sheet, const TTableConfigRecord& config) {
  TSheetSink sink(sheet);
  WriteTable(sink, config);
  CentreAndFitEclipseSheet(sheet, std::max(1, sheet.LastCol()));
}

void tSonnenfinsternis::paint_grid(tmystringgrid& grid, const TTableOutputSettings& output,
                                   const TTableConfigRecord& config) {
  jdspalte = config.Flags[column_flag::kJulianDate] != 0 ? 1 : 0;
  const int rows = std::max<int>(static_cast<int>(ergebnisse.size()) + 1, 8 + static_cast<int>(list.size())) + 1;
  PrepareEclipseGrid(grid, output, rows, 13 + jdspalte, kSlotObscuration);
  TGridSink sink(grid, output);
  WriteTable(sink, config);
}

void tSonnenfinsternis::paintzeile(std::uint8_t kind, int row, TSheet& sheet, const TObserverRecord& observer,
                                   double dauer, double breite, double laenge, double mjd) {
  TSheetSink sink(sheet);
  WriteGlobalRow(sink, kind, row, observer, dauer, breite, laenge, mjd);
}

void tSonnenfinsternis::paintzeile_grid(std::uint8_t kind, int row, tmystringgrid& grid,
                                        const TTableOutputSettings& output, const TObserverRecord& observer,
                                        double dauer, double breite, double laenge, double mjd) {
  TGridSink sink(grid, output);
  WriteGlobalRow(sink, kind, row, observer, dauer, breite, laenge, mjd);
}

// --- the calendar ----------------------------------------------------------------------------------

void tSonnenfinsternis::WriteCalendar(TCellSink& sink, const TTableConfigRecord& config,
                                      const std::vector<TSolarCalendarRow>& rows) {
  jdspalte = config.Flags[column_flag::kJulianDate] != 0 ? 1 : 0;
  const bool english = English();
  const int jd = jdspalte;
  sink.Text(1, 1, Title(config, kSlotDate));
  if (jd != 0) sink.Text(1, 2, Title(config, kSlotJulianDay));
  sink.Text(1, 2 + jd, "Phase global");
  sink.Text(1, 3 + jd, english ? "Phase local" : "Phase lokal");
  sink.Text(1, 4 + jd, english ? "Midth local" : "Mitte lokal");
  for (int n = 1; n <= 4; ++n) {
    const int c = n * 4 + 1 + jd;
    sink.Text(1, c, std::to_string(n) + (english ? ". contact: " : ". Kontakt: "));
    sink.Text(1, c + 1, Title(config, kSlotPositionAngle));
    sink.Text(1, c + 2, Title(config, kSlotVertexAngle));
    sink.Text(1, c + 3, Title(config, kSlotSunAltitude));
  }
  if (rows.empty()) {
    sink.Text(
        2, 1,
        english ? "No eclipses found." : "Keine Finsternisse im Suchzeitraum, die den Suchkriterien entsprechen.");
    return;
  }
  static const char* const kGlobalGerman[6] = {
      "", " partiell", " ringförmig (nicht zentral)", " total (nicht zentral)", " ringförmig", " total"};
  static const char* const kGlobalEnglish[6] = {
      "", " partial", " annular (not central)", " total (not central)", " annular", " total"};
  static const char* const kLocalGerman[4] = {"unsichtbar in", "partiell", "ringförmig", "total"};
  static const char* const kLocalEnglish[4] = {"invisible", "partial", "annular", "total"};
  int row = 2;
  for (const TSolarCalendarRow& r : rows) {
    const TLocalEclipseCircumstances& l = r.Local;
    std::uint8_t kind = l.Kind;
    if (kind != 0 && l.SunAltitude[1] < 0 && l.SunAltitude[2] < 0) kind = 1;
    const TObserverRecord maximum = EclipseLocalTime(Observer, l.Maximum);
    sink.Date(row, 1, kSlotDate, maximum.Year, maximum.Month, maximum.Day);
    if (jd != 0) sink.Value(TCellFamily::Number, row, 2, kSlotJulianDay, 36525.0 * l.Maximum + 2451545.0);
    const std::uint8_t global = std::min<std::uint8_t>(r.MaxArt, 5);
    sink.Text(row, 2 + jd, english ? kGlobalEnglish[global] : kGlobalGerman[global]);
    if (kind == 0) {
      sink.Text(row, 3 + jd, std::string(english ? kLocalEnglish[0] : kLocalGerman[0]) + " " + Observer.PlaceName);
    } else {
      sink.Text(row, 3 + jd, std::string(english ? kLocalEnglish[kind] : kLocalGerman[kind]) + " " + MagnitudeText(l));
      sink.Value(TCellFamily::TimeOfDay, row, 4 + jd, kSlotTime, maximum.LocalHours);
    }
    for (int n = 0; n < 4; ++n) {
      if (l.PositionAngle[n] == 0 && l.VertexAngle[n] == 0) continue;
      if (l.SunAltitude[n] < 0) continue;
      const int c = (n + 1) * 4 + 1 + jd;
      sink.Value(TCellFamily::TimeOfDay, row, c, kSlotTime, EclipseLocalTime(Observer, l.Contact[n]).LocalHours);
      sink.Value(TCellFamily::Angle, row, c + 1, kSlotPositionAngle, l.PositionAngle[n]);
      sink.Value(TCellFamily::Angle, row, c + 2, kSlotVertexAngle, l.VertexAngle[n]);
      sink.Value(TCellFamily::Angle, row, c + 3, kSlotSunAltitude, l.SunAltitude[n]);
    }
    ++row;
  }
}

bool tSonnenfinsternis::kalenderrechnen(const TSearchContext& context, TEventStep eventStep, TSheet& sheet,
                                        const TTableConfigRecord& config, const TObserverRecord& start,
                                        const TObserverRecord& end, std::int32_t stepMinutes, std::int32_t spanHours,
                                        std::uint8_t criterion) {
  std::vector<TSolarCalendarRow> rows;
  if (!CalendarRows(context, eventStep, start, end, stepMinutes, spanHours, criterion, rows)) return false;
  Observer = start;
  TSheetSink sink(sheet);
  WriteCalendar(sink, config, rows);
  CentreAndFitEclipseSheet(sheet, std::max(1, sheet.LastCol()));
  return true;
}

bool tSonnenfinsternis::kalenderrechnen_grid(const TSearchContext& context, TEventStep eventStep, tmystringgrid& grid,
                                             const TTableOutputSettings& output, const TTableConfigRecord& config,
                                             const TObserverRecord& start, const TObserverRecord& end,
                                             std::int32_t stepMinutes, std::int32_t spanHours, std::uint8_t criterion) {
  std::vector<TSolarCalendarRow> rows;
  if (!CalendarRows(context, eventStep, start, end, stepMinutes, spanHours, criterion, rows)) return false;
  Observer = start;
  jdspalte = config.Flags[column_flag::kJulianDate] != 0 ? 1 : 0;
  PrepareEclipseGrid(grid, output, static_cast<int>(rows.size()) + 2, 20 + jdspalte, kSlotObscuration);
  TGridSink sink(grid, output);
  WriteCalendar(sink, config, rows);
  return true;
}

}  // namespace kvx
