// The transit block of one transit and the table of the transits of a
// period: one writer each, through the cell sink, for the workbook sheet
// and the result grid alike; the loop of the table.
#include <algorithm>
#include <cmath>
#include <string>

#include "core/input_checks.h"
#include "core/table_config.h"
#include "core/time_scales.h"
#include "eclipses/eclipse_sheet.h"
#include "eclipses/transit.h"
#include "engine/cell_format.h"
#include "platform/globals.h"
#include "platform/progress.h"

namespace kvx {

namespace {

using namespace eclipse_columns;

// Searches a table makes at most, and the days it moves on after a transit.
constexpr int kTransitTablePasses = 16382;
constexpr double kDaysAfterTransit = 100.0;

bool English() { return LanguageEnglish != 0; }

double MjdOf(double T) { return 36525.0 * T + 51544.5; }

// The grid sized and emptied; the first column wide enough for the titles.
void PrepareTransitGrid(tmystringgrid& grid, const TTableOutputSettings& output, int rows, int cols) {
  grid.SetColWidths(1, 2 * PrepareEclipseGrid(grid, output, rows, cols, kSlotPositionAngle));
}

}  // namespace

// --- one transit ----------------------------------------------------------------------------------

void ttransit::WriteTransitBlock(TCellSink& sink, const TTableConfigRecord& config) {
  jdspalte = config.Flags[column_flag::kJulianDate] != 0 ? 1 : 0;
  const int J = jdspalte;
  const bool english = English();
  if (ergebnisse.empty()) return;
  for (int row = 2; row <= 7; ++row)
    for (int col = 2 + J; col <= 5 + J; ++col) sink.Text(row, col, "");
  const TLocalEclipseCircumstances& l = Local;
  sink.Text(1, 1,
            english ? std::string("Transit of ") + TransitPlanetEnglishName(planet_)
                    : std::string(TransitPlanetGermanName(planet_)) + "durchgang");
  sink.Text(1, 2, english ? "Maximum at" : "Maximum um");
  sink.Value(TCellFamily::TimeOfDay, 1, 3, kSlotTime, EclipseLocalTime(Observer, l.Maximum).LocalHours);
  sink.Text(2, 1, english ? "Local circumstances" : "Lokale Umstände");
  sink.Text(2, 2, english ? std::string() : Title(config, kSlotDate));
  sink.Text(2, 3, Title(config, kSlotTime));
  if (J != 0) sink.Text(2, 4, Title(config, kSlotJulianDay));
  sink.Text(2, 4 + J, Title(config, kSlotPositionAngle));
  sink.Text(2, 5 + J, Title(config, kSlotVertexAngle));
  sink.Text(2, 6 + J, Title(config, kSlotSunAltitude));
  if (l.Kind == 0) return;
  int row = 3;
  for (int n = 0; n < 4; ++n) {
    if ((n == 1 || n == 2) && l.Kind < 2) continue;
    const TObserverRecord c = EclipseLocalTime(Observer, l.Contact[n]);
    sink.Text(row, 1, std::to_string(n + 1) + (english ? ". contact: " : ". Kontakt: "));
    sink.Date(row, 2, kSlotDate, c.Year, c.Month, c.Day);
    sink.Value(TCellFamily::TimeOfDay, row, 3, kSlotTime, c.LocalHours);
    if (J != 0) sink.Value(TCellFamily::Number, row, 4, kSlotJulianDay, MjdOf(l.Contact[n]) + 2400000.5);
    sink.Value(TCellFamily::Angle, row, 4 + J, kSlotPositionAngle, l.PositionAngle[n]);
    sink.Value(TCellFamily::Angle, row, 5 + J, kSlotVertexAngle, l.VertexAngle[n]);
    sink.Value(TCellFamily::Angle, row, 6 + J, kSlotSunAltitude, l.SunAltitude[n]);
    ++row;
  }
}

void ttransit::paint(TSheet& sheet, const TTableConfigRecord& config) {
  TSheetSink sink(sheet);
  WriteTransitBlock(sink, config);
  CentreAndFitEclipseSheet(sheet, 12 + jdspalte);
}

void ttransit::paint_grid(tmystringgrid& grid, const TTableOutputSettings& output, const TTableConfigRecord& config) {
  jdspalte = config.Flags[column_flag::kJulianDate] != 0 ? 1 : 0;
  PrepareTransitGrid(grid, output, 7, 6 + jdspalte);
  TGridSink sink(grid, output);
  WriteTransitBlock(sink, config);
}

// --- the transits of a period ----------------------------------------------------------------------

ttransittabelle::ttransittabelle(const TObserverRecord& start, const TObserverRecord& end, std::int32_t planet)
    : ttransit(planet), Start(start), End(end) {}

double ttransittabelle::rechnen(const TSearchContext& context, std::uint8_t lokalListe, std::uint8_t& maxArt,
                                std::int32_t windowDays, std::int32_t stepMinutes, const TObserverRecord& /*observer*/,
                                TEventStep eventStep) {
  Lines.clear();
  Status = TEclipseSearchStatus::Refused;
  if (!std::isfinite(Start.Mjd) || !std::isfinite(End.Mjd) || End.Mjd < Start.Mjd) return 0;
  TObserverRecord work = Start;
  if (work.AutoDeltaT != 0) work.DeltaTSeconds = DeltaT(MjdToJd(work.Mjd));
  const double endDeltaT = End.AutoDeltaT != 0 ? DeltaT(MjdToJd(End.Mjd)) : End.DeltaTSeconds;
  // Each search ends silently at the period's end.
  SearchLimitTt = (End.Mjd - 51544.5) / 36525.0 + (std::isfinite(endDeltaT) ? endDeltaT : 0.0) * kSecondCenturies;
  ProgressStartTt = (Start.Mjd - 51544.5) / 36525.0;
  for (int passes = 0; passes < kTransitTablePasses; ++passes) {
    const double T = ttransit::rechnen(context, lokalListe, maxArt, windowDays, stepMinutes, work, eventStep);
    if (Status == TEclipseSearchStatus::Cancelled) return static_cast<double>(Lines.size());
    if (Status == TEclipseSearchStatus::Refused) {
      Lines.clear();
      return 0;
    }
    if (Status != TEclipseSearchStatus::Found) break;
    const double mjd = MjdOf(T);
    // Only transits within the period.
    if (mjd > End.Mjd) break;
    work.Mjd = mjd;
    UTToLocalTime(work);
    Lines.push_back({work});
    work.Mjd = mjd + kDaysAfterTransit;
    UTToLocalTime(work);
    if (work.AutoDeltaT != 0) work.DeltaTSeconds = DeltaT(MjdToJd(work.Mjd));
    work.Centuries = (work.Mjd - 51544.5) / 36525.0 + work.DeltaTSeconds * kSecondCenturies;
    if (work.Mjd > End.Mjd) break;
  }
  Status = TEclipseSearchStatus::Found;
  return static_cast<double>(Lines.size());
}

void ttransittabelle::WriteTransitList(TCellSink& sink, const TTableConfigRecord& config) {
  jdspalte = config.Flags[column_flag::kJulianDate] != 0 ? 1 : 0;
  const bool english = English();
  sink.Text(1, 1,
            english ? std::string("Transits of ") + TransitPlanetEnglishName(planet_)
                    : std::string(TransitPlanetGermanName(planet_)) + "durchgänge");
  sink.Text(1, 2, Title(config, kSlotTime));
  if (jdspalte != 0) sink.Text(1, 3, Title(config, kSlotJulianDay));
  int row = 2;
  for (const ttransitlistergebnis& line : Lines) {
    const TObserverRecord& r = line.Observer;
    sink.Date(row, 1, kSlotDate, r.Year, r.Month, r.Day);
    sink.Value(TCellFamily::TimeOfDay, row, 2, kSlotTime, r.LocalHours);
    if (jdspalte != 0) sink.Value(TCellFamily::Number, row, 3, kSlotJulianDay, r.Mjd + 2400000.5);
    ++row;
  }
}

void ttransittabelle::paint(TSheet& sheet, const TTableConfigRecord& config) {
  TSheetSink sink(sheet);
  WriteTransitList(sink, config);
  CentreAndFitEclipseSheet(sheet, 12 + jdspalte);
}

void ttransittabelle::paint_grid(tmystringgrid& grid, const TTableOutputSettings& output,
                                 const TTableConfigRecord& config) {
  jdspalte = config.Flags[column_flag::kJulianDate] != 0 ? 1 : 0;
  PrepareTransitGrid(grid, output, static_cast<int>(Lines.size()) + 1, 2 + jdspalte);
  TGridSink sink(grid, output);
  WriteTransitList(sink, config);
}

}  // namespace kvx
