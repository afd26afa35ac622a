// The moon-phase table: the instants of new moon, first quarter, full moon
// and last quarter of one calendar year in local civil time, one column
// group per phase and one row per lunation.
//
// Time: the phase series gives dynamical time (JDE); the table shows local
// civil time = JDE + (zone + zone minutes / 60 + daylight hours) / 24 -
// Delta T / 86400, with the observer record's offsets and Delta T for the
// whole year. The Julian-date column is UT.
//
// Rows: 1 the headings; 2 a phase that comes before the year's first new
// moon; from 3 on one row per lunation, each phase in the row of the new
// moon that begins its lunation.
#pragma once

#include <array>
#include <cstdint>

#include "core/observer_record.h"
#include "core/table_config.h"
#include "engine/table_sink.h"

namespace kvx {

class TMondphasentabelle {
 public:
  static constexpr int kPhases = 4;
  static constexpr int kFirstIndex = -1;
  static constexpr int kLastIndex = 13;
  static constexpr int kIndexCount = kLastIndex - kFirstIndex + 1;

  // `language`: of the table's texts (0 German, else English).
  TMondphasentabelle(const TObserverRecord& observer, std::uint8_t language);
  virtual ~TMondphasentabelle() = default;

  // Copies both records and clears the computed flag.
  void initialisieren(const TObserverRecord& observer, const TTableConfigRecord& config);
  // The phase times of the record's year.
  virtual void rechnen();
  // Non-zero toSheet: the sheet; otherwise paint_grid.
  virtual void paint(TSheet* sheet, tmystringgrid* grid, std::uint8_t toSheet, const TTableOutputSettings& settings);
  virtual void paint_grid(tmystringgrid& grid, const TTableOutputSettings& settings);

  // Local civil Julian date of phase p (0 new moon .. 3 last quarter) of
  // lunation index i (kFirstIndex .. kLastIndex).
  double PhaseTime(int phase, int index) const;
  // The offset from UT to local civil time, days.
  double ZoneOffsetDays() const;

  // Where paint puts an entry: its sheet row (2 or more), or 0 when the
  // entry lies outside the year. Filled by paint and paint_grid.
  int RowOf(int phase, int index) const;
  // 3 with the Julian-date column, else 2.
  int GroupWidth() const;

  std::uint8_t Computed = 0;
  TObserverRecord Observer;
  TTableConfigRecord Config;
  std::uint8_t Language = 0;

 private:
  void Layout();
  void WriteCells(TCellSink& sink, bool grid, bool english);

  std::array<std::array<double, kIndexCount>, kPhases> times_{};
  std::array<std::array<int, kIndexCount>, kPhases> rows_{};
};

}  // namespace kvx
