// The moon-phase table: Meeus' worked examples 49.a and 49.b in their rows,
// every year 1900-2100 with 12 or 13 entries per phase and each quarter and
// full moon in the row of its lunation's new moon, the instants against
// PyEphem (fixtures/moon_phases_ephem.tsv, make_tables_reference.py), the
// local-time offset and the sheet and grid layouts.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

#include "core/name_tables.h"
#include "core/time_scales.h"
#include "platform/globals.h"
#include "setup/column_sets.h"
#include "support/fixtures.h"
#include "tables/moon_phase_table.h"

namespace kvx {
namespace {

using T = TMondphasentabelle;

TObserverRecord Year(int year, int zone = 0, double deltaT = 0) {
  TObserverRecord r;
  r.Year = year;
  r.Zone = zone;
  r.DeltaTSeconds = deltaT;
  return r;
}

T Computed(const TObserverRecord& r, bool julianDate = false, std::uint8_t language = 0) {
  TTableConfigRecord config = NewTableConfigRecord();
  config.Flags[column_flag::kJulianDate] = julianDate ? 1 : 0;
  T table(r, language);
  table.initialisieren(r, config);
  table.rechnen();
  return table;
}

TEST(MoonPhaseTable, WorkedExamplesLandInTheirRows) {
  // 49.a: the new moon of 1977 February 18, JDE 2443192.65118, the year's
  // second new moon: row 4.
  const T t1977 = Computed(Year(1977));
  bool found = false;
  for (int i = T::kFirstIndex; i <= T::kLastIndex; ++i) {
    if (std::fabs(t1977.PhaseTime(0, i) - 2443192.65118) < 1e-4) {
      found = true;
      EXPECT_EQ(t1977.RowOf(0, i), 4);
    }
  }
  EXPECT_TRUE(found);
  // 49.b: the last quarter of 2044 January 22, JDE 2467636.49186, before
  // the year's first new moon (January 30): row 2.
  const T t2044 = Computed(Year(2044));
  found = false;
  for (int i = T::kFirstIndex; i <= T::kLastIndex; ++i) {
    if (std::fabs(t2044.PhaseTime(3, i) - 2467636.49186) < 1e-4) {
      found = true;
      EXPECT_EQ(t2044.RowOf(3, i), 2);
    }
  }
  EXPECT_TRUE(found);
}

TEST(MoonPhaseTable, EveryYearHasItsLunationsAlignedAndMatchesPyEphem) {
  int earlyPhaseYear = 0;
  for (int year = 1900; year <= 2100; ++year) {
    const T t = Computed(Year(year));
    std::map<int, double> newMoonByRow;
    for (int p = 0; p < 4; ++p) {
      int entries = 0;
      for (int i = T::kFirstIndex; i <= T::kLastIndex; ++i) {
        const int row = t.RowOf(p, i);
        if (row == 0) continue;
        ++entries;
        int d = 0, m = 0, y = 0;
        double h = 0;
        JdToCalendarDate(d, m, y, h, t.PhaseTime(p, i));
        ASSERT_EQ(y, year);
        if (p == 0) {
          ASSERT_GE(row, 3);
          newMoonByRow[row] = t.PhaseTime(0, i);
        } else if (row == 2) {
          ASSERT_LT(t.PhaseTime(p, i), newMoonByRow.begin()->second) << year;
          if (p == 2 && earlyPhaseYear == 0) earlyPhaseYear = year;
        } else {
          // After its row's new moon and before the next one.
          ASSERT_TRUE(newMoonByRow.count(row)) << year << " phase " << p;
          const double phase = t.PhaseTime(p, i);
          ASSERT_GT(phase, newMoonByRow[row]) << year;
          ASSERT_LT(phase - newMoonByRow[row], 29.6) << year;
        }
      }
      EXPECT_TRUE(entries == 12 || entries == 13) << year << " phase " << p << ": " << entries;
    }
  }
  // A year whose first full moon comes before its first new moon.
  ASSERT_NE(earlyPhaseYear, 0);
  std::printf("first full moon before the first new moon: %d\n", earlyPhaseYear);

  // The instants (zone 0, Delta T 0: dynamical time) against PyEphem.
  const test::FixtureTable ref = test::ReadFixture(KVX_FIXTURE_DIR "/moon_phases_ephem.tsv");
  ASSERT_GT(ref.Rows(), 500u);
  double worst = 0;
  int matched = 0;
  for (int year : {1900, 1901, 1950, 1977, 1999, 2000, 2024, 2025, 2038, 2044, 2099, 2100}) {
    const T t = Computed(Year(year));
    for (int p = 0; p < 4; ++p) {
      for (int i = T::kFirstIndex; i <= T::kLastIndex; ++i) {
        if (t.RowOf(p, i) == 0) continue;
        double best = 1e9;
        for (std::size_t k = 0; k < ref.Rows(); ++k) {
          if (static_cast<int>(ref.Number(k, "phase")) == p) {
            best = std::min(best, std::fabs(ref.Number(k, "jde") - t.PhaseTime(p, i)));
          }
        }
        worst = std::max(worst, best * 1440.0);
        ++matched;
      }
    }
  }
  std::printf("moon phases against PyEphem: %d instants, worst %.3f min\n", matched, worst);
  EXPECT_GT(matched, 550);
  EXPECT_LT(worst, 1.0);
}

TEST(MoonPhaseTable, LocalTimeSheetAndGrid) {
  // Zone +1 with 30 extra minutes and daylight saving, Delta T 69 s.
  TObserverRecord r = Year(2024, 1, 69.0);
  r.ZoneMinutes = 30;
  r.DaylightHours = 1;
  const T utc = Computed(Year(2024));
  T t = Computed(r, true);
  EXPECT_NEAR(t.PhaseTime(2, 5) - utc.PhaseTime(2, 5), 2.5 / 24.0 - 69.0 / 86400.0, 1e-9);

  InitAstroNameTables();
  workbook::TWorkbook sheet;
  tmystringgrid grid;
  TTableOutputSettings settings;
  LanguageEnglish = 0;
  t.paint(&sheet, &grid, 1, settings);
  EXPECT_EQ(sheet.Text(1, 1), " Neumond");
  EXPECT_EQ(sheet.Text(1, 4), " Erstes Viertel");
  EXPECT_EQ(sheet.LastCol(), 12) << "three columns per phase";
  // The Julian date column holds UT.
  for (int i = T::kFirstIndex; i <= T::kLastIndex; ++i) {
    const int row = t.RowOf(0, i);
    if (row == 0) continue;
    EXPECT_NEAR(sheet.Number(row, 3), t.PhaseTime(0, i) - 2.5 / 24.0, 1e-5);
  }
  LanguageEnglish = 1;
  T plain = Computed(Year(2024), false, 1);
  workbook::TWorkbook sheet2;
  plain.paint(&sheet2, &grid, 1, settings);
  EXPECT_EQ(sheet2.Text(1, 5), " Full Moon");
  EXPECT_EQ(sheet2.LastCol(), 8) << "two columns per phase";
  plain.paint(&sheet2, &grid, 0, settings);
  EXPECT_EQ(grid.Cells(5, 1), "Full");
  EXPECT_EQ(grid.Cells(1, 1), "Newmoon");
  EXPECT_EQ(grid.ColCount(), 9);
  LanguageEnglish = 0;
}

}  // namespace
}  // namespace kvx
