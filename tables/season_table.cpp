#include "tables/season_table.h"

#include <algorithm>

#include "core/column_flags.h"
#include "core/data_format_slots.h"
#include "core/time_scales.h"
#include "theories/seasons.h"

namespace kvx {

namespace {

// The format slots of the four columns.
constexpr int kSeasonSlot = 163;

bool WithJulianDate(const TTableConfigRecord& config) { return config.Flags[column_flag::kJulianDate] != 0; }

int ColumnsUsed(const TTableConfigRecord& config) { return WithJulianDate(config) ? 4 : 3; }

void WriteYear(TCellSink& sink, const TTableConfigRecord& config, const tjahreszeitergebnis& entry, int index,
               const TSeasonCaptions& captions) {
  const bool jd = WithJulianDate(config);
  if (index == 0) {
    if (sink.IsGrid()) {
      sink.Width(1, kSeasonSlot);
      sink.Width(2, kSlotDate);
      sink.Width(3, kSlotTime);
      if (jd) sink.Width(4, kSlotJulianDay);
    }
    sink.Text(1, 1, config.ColumnTitles[kSeasonSlot]);
    sink.Text(1, 2, config.ColumnTitles[kSlotDate]);
    sink.Text(1, 3, config.ColumnTitles[kSlotTime]);
    if (jd) sink.Text(1, 4, config.ColumnTitles[kSlotJulianDay]);
  }
  for (int k = 1; k <= 4; ++k) {
    const TObserverRecord& r = entry.Seasons[static_cast<std::size_t>(k - 1)];
    const int row = 4 * index + k + 1;
    sink.Text(row, 1, captions[static_cast<std::size_t>(k - 1)]);
    sink.Date(row, 2, kSlotDate, r.Year, r.Month, r.Day);
    sink.Value(TCellFamily::TimeOfDay, row, 3, kSlotTime, r.LocalHours);
    if (jd) sink.Value(TCellFamily::Number, row, 4, kSlotJulianDay, MjdToJd(r.Mjd));
  }
}

}  // namespace

std::vector<tjahreszeitergebnis> ComputeSeasons(const TObserverRecord& start, const TObserverRecord& end,
                                                const PositionFileHandles& handles, TTheorySelection selection,
                                                TTruncationLevel level) {
  std::vector<tjahreszeitergebnis> years;
  if (end.Year < start.Year) return years;
  years.reserve(static_cast<std::size_t>(end.Year - start.Year + 1));
  for (std::int32_t year = start.Year; year <= end.Year; ++year) {
    std::array<double, 4> starts{};
    SeasonStartsOfYear(handles, selection, year, 2, starts, level);
    tjahreszeitergebnis result;
    for (std::size_t k = 0; k < 4; ++k) {
      TObserverRecord r = start;
      // Delta T of the start record for every year, as the period's tables do.
      r.AutoDeltaT = 0;
      r.Mjd = JdToMjd(starts[k]) - start.DeltaTSeconds / 60.0 / 60.0 / 24.0;
      UTToLocalTime(r);
      r.AutoDeltaT = start.AutoDeltaT;
      result.Seasons[k] = r;
    }
    years.push_back(result);
  }
  return years;
}

void WriteSeasonRowToSheet(const TTableConfigRecord& config, TSheet& sheet, const tjahreszeitergebnis& entry, int index,
                           const TSeasonCaptions& captions) {
  TSheetSink sink(sheet);
  WriteYear(sink, config, entry, index, captions);
}

void FinishSeasonSheet(const TTableConfigRecord& config, TSheet& sheet) {
  FitSheetToContents(sheet, ColumnsUsed(config));
}

void PrepareSeasonGrid(tmystringgrid& grid, int years) {
  grid.SetRowCount(4 * years + 2);
  grid.SetColCount(5);
  for (int r = 1; r < grid.RowCount(); ++r) {
    for (int c = 1; c < grid.ColCount(); ++c) grid.SetCells(c, r, std::string());
  }
}

void WriteSeasonRowToGrid(const TTableConfigRecord& config, tmystringgrid& grid, const TTableOutputSettings& settings,
                          const tjahreszeitergebnis& entry, int index, const TSeasonCaptions& captions) {
  TGridSink sink(grid, settings);
  WriteYear(sink, config, entry, index, captions);
}

void FinishSeasonGrid(const TTableConfigRecord& config, tmystringgrid& grid) {
  grid.SetColCount(ColumnsUsed(config) + 1);
}

void PaintSeasonTable(const TTableConfigRecord& config, TSheet* sheet, tmystringgrid* grid, std::uint8_t toSheet,
                      const TTableOutputSettings& settings, const std::vector<tjahreszeitergebnis>& years,
                      const TSeasonCaptions& captions) {
  if (years.empty()) return;
  const int count = static_cast<int>(years.size());
  if (toSheet != 0) {
    if (sheet == nullptr) return;
    for (int i = 0; i < count; ++i)
      WriteSeasonRowToSheet(config, *sheet, years[static_cast<std::size_t>(i)], i, captions);
    FinishSeasonSheet(config, *sheet);
    return;
  }
  if (grid == nullptr) return;
  PrepareSeasonGrid(*grid, count);
  for (int i = 0; i < count; ++i)
    WriteSeasonRowToGrid(config, *grid, settings, years[static_cast<std::size_t>(i)], i, captions);
  FinishSeasonGrid(config, *grid);
}

}  // namespace kvx
