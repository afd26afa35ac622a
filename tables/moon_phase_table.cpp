#include "tables/moon_phase_table.h"

#include <algorithm>
#include <cmath>

#include "core/column_flags.h"
#include "core/moon_phases.h"
#include "core/time_scales.h"

namespace kvx {

namespace {

using PhaseRoutine = void (*)(double&, double&, std::int32_t);
constexpr PhaseRoutine kPhaseRoutines[TMondphasentabelle::kPhases] = {NewMoonTime, FirstQuarterTime, FullMoonTime,
                                                                      LastQuarterTime};

constexpr const char* kGermanHeadings[4] = {" Neumond", " Erstes Viertel", " Vollmond", " Letztes Viertel"};
constexpr const char* kEnglishSheetHeadings[4] = {" Newmoon", " First quartier", " Full Moon", " Last quartier"};
constexpr const char* kEnglishGridHeadings[4] = {"Newmoon", "First quartier", "Full", "Last quartier"};

constexpr std::size_t At(int index) { return static_cast<std::size_t>(index - TMondphasentabelle::kFirstIndex); }

}  // namespace

TMondphasentabelle::TMondphasentabelle(const TObserverRecord& observer, std::uint8_t language)
    : Observer(observer), Language(language) {}

void TMondphasentabelle::initialisieren(const TObserverRecord& observer, const TTableConfigRecord& config) {
  Observer = observer;
  Config = config;
  Computed = 0;
}

double TMondphasentabelle::ZoneOffsetDays() const {
  return (Observer.Zone + Observer.ZoneMinutes / 60.0 + Observer.DaylightHours) / 24.0;
}

void TMondphasentabelle::rechnen() {
  double year = Observer.Year;
  const double offset = ZoneOffsetDays() - Observer.DeltaTSeconds / 86400.0;
  for (int p = 0; p < kPhases; ++p) {
    for (int i = kFirstIndex; i <= kLastIndex; ++i) {
      double jde = 0;
      kPhaseRoutines[p](year, jde, i);
      times_[static_cast<std::size_t>(p)][At(i)] = jde + offset;
    }
  }
  Computed = 1;
  Layout();
}

double TMondphasentabelle::PhaseTime(int phase, int index) const {
  return times_[static_cast<std::size_t>(phase)][At(index)];
}

int TMondphasentabelle::RowOf(int phase, int index) const { return rows_[static_cast<std::size_t>(phase)][At(index)]; }

int TMondphasentabelle::GroupWidth() const { return Config.Flags[column_flag::kJulianDate] != 0 ? 3 : 2; }

void TMondphasentabelle::Layout() {
  double firstNewMoon = 0;
  bool haveNewMoon = false;
  for (int p = 0; p < kPhases; ++p) {
    int counter = 2;
    for (int i = kFirstIndex; i <= kLastIndex; ++i) {
      int& row = rows_[static_cast<std::size_t>(p)][At(i)];
      row = 0;
      const double jd = PhaseTime(p, i);
      int day = 0, month = 0, year = 0;
      double hours = 0;
      JdToCalendarDate(day, month, year, hours, jd);
      if (year != Observer.Year) continue;
      if (p == 0 && !haveNewMoon) {
        firstNewMoon = jd;
        haveNewMoon = true;
      }
      if (p > 0 && haveNewMoon && jd < firstNewMoon) --counter;
      row = counter + 1;
      ++counter;
    }
  }
}

void TMondphasentabelle::WriteCells(TCellSink& sink, bool grid, bool english) {
  const int w = GroupWidth();
  const double zone = ZoneOffsetDays();
  for (int p = 0; p < kPhases; ++p) {
    const int col = p * w + 1;
    const char* heading = english ? (grid ? kEnglishGridHeadings[p] : kEnglishSheetHeadings[p]) : kGermanHeadings[p];
    if (grid) {
      sink.Width(col, 0);
      sink.Width(col + 1, 1);
      if (w == 3) sink.Width(col + 2, 3);
    }
    sink.Text(1, col, heading);
    for (int i = kFirstIndex; i <= kLastIndex; ++i) {
      const int row = RowOf(p, i);
      if (row == 0) continue;
      const double jd = PhaseTime(p, i);
      int day = 0, month = 0, year = 0;
      double hours = 0;
      JdToCalendarDate(day, month, year, hours, jd);
      sink.Date(row, col, 0, year, month, day);
      sink.Value(TCellFamily::TimeOfDay, row, col + 1, 1, hours);
      if (w == 3) sink.Value(TCellFamily::Number, row, col + 2, 3, jd - zone);
    }
  }
}

void TMondphasentabelle::paint(TSheet* sheet, tmystringgrid* grid, std::uint8_t toSheet,
                               const TTableOutputSettings& settings) {
  if (Computed == 0) return;
  if (toSheet == 0) {
    if (grid != nullptr) paint_grid(*grid, settings);
    return;
  }
  if (sheet == nullptr) return;
  sheet->SetColWidth(-1, -1, 800.0 / 256.0, true);  // the standard width of a table
  sheet->ClearRange(1, 1, 5, 17, 1);
  TSheetSink sink(*sheet);
  WriteCells(sink, false, Language != 0);
  FitSheetToContents(*sheet, 4 * GroupWidth() + 2);
}

void TMondphasentabelle::paint_grid(tmystringgrid& grid, const TTableOutputSettings& settings) {
  if (Computed == 0) return;
  const int w = GroupWidth();
  grid.SetRowCount(17);
  grid.SetColCount(4 * w + 1);
  for (int r = 1; r < 17; ++r) {
    for (int c = 1; c <= 4 * w; ++c) grid.SetCells(c, r, std::string());
  }
  TGridSink sink(grid, settings);
  WriteCells(sink, true, Language != 0);
  int lastRow = 1;
  for (const auto& phase : rows_) lastRow = std::max(lastRow, *std::max_element(phase.begin(), phase.end()));
  grid.SetRowCount(lastRow + 1);
}

}  // namespace kvx
