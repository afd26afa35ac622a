// The seasons table: the instants against the Swiss Ephemeris fixture of
// the season search (tests/theories/fixtures/seasons_swe.tsv, written by
// the theories' reference script), converted to UT with the start record's
// Delta T and to local time with its zone; Meeus' example 27.a in its row;
// the layout of three years in the sheet and the grid.
#include "tables/season_table.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/column_flags.h"
#include "core/name_tables.h"
#include "core/time_scales.h"
#include "platform/globals.h"
#include "platform/workbook/workbook.h"
#include "setup/column_sets.h"
#include "support/fixtures.h"

namespace kvx {
namespace {

TObserverRecord Record(int year, int zone, double deltaT) {
  TObserverRecord r;
  r.Year = year;
  r.Month = 1;
  r.Day = 1;
  r.Zone = zone;
  r.DeltaTSeconds = deltaT;
  return r;
}

TTheorySelection InternalSeries() {
  TTheorySelection s;
  s.bytes[0] = 0;
  return s;
}

std::vector<tjahreszeitergebnis> Seasons(int first, int last, int zone, double deltaT) {
  return ComputeSeasons(Record(first, zone, deltaT), Record(last, zone, deltaT), {}, InternalSeries(), kFullTheory);
}

TEST(SeasonTable, InstantsAgreeWithSwissEphemerisInLocalTime) {
  // Zone +2, Delta T 70 s for every year: each season's UT is the Swiss
  // Ephemeris JDE minus 70 s within 60 s (the internal solar series), and
  // its local date and time lie two hours later.
  const auto table = test::ReadFixture(KVX_FIXTURE_DIR "/../../theories/fixtures/seasons_swe.tsv");
  const auto years = Seasons(2000, 2050, 2, 70.0);
  ASSERT_EQ(years.size() * 4, table.Rows());
  double worst = 0;
  for (std::size_t row = 0; row < table.Rows(); ++row) {
    const auto& r = years[row / 4].Seasons[row % 4];
    const double ut = table.Number(row, "jde") - 70.0 / 86400;
    worst = std::max(worst, std::fabs(MjdToJd(r.Mjd) - ut) * 86400);
    int day = 0, month = 0, year = 0;
    double hours = 0;
    JdToCalendarDate(day, month, year, hours, MjdToJd(r.Mjd) + 2.0 / 24);
    EXPECT_EQ(r.Year * 10000 + r.Month * 100 + r.Day, year * 10000 + month * 100 + day);
    EXPECT_NEAR(r.LocalHours, hours, 1e-6);
  }
  EXPECT_LT(worst, 60.0);
  std::printf("seasons table: worst %.1f s from the Swiss Ephemeris\n", worst);
  // An end year before the start year computes nothing.
  EXPECT_TRUE(Seasons(2001, 2000, 0, 0).empty());
}

TEST(SeasonTable, ThreeYearsInSheetAndGridWithMeeusExample) {
  InitAstroNameTables();
  LanguageEnglish = 0;
  TTableConfigRecord config = NewTableConfigRecord();
  const TSeasonCaptions captions{"Frühling", "Sommer", "Herbst", "Winter"};
  // Meeus, Astronomical Algorithms 2nd ed., example 27.a: the June solstice
  // of 1962 at JDE 2437837.39245 = June 21, 21h25m08s TD; with Delta T 34 s
  // at zone 0 the table shows 21:24:34 within a minute.
  const auto years = Seasons(1961, 1963, 0, 34.0);
  ASSERT_EQ(years.size(), 3u);
  for (int jd = 0; jd <= 1; ++jd) {
    config.Flags[column_flag::kJulianDate] = static_cast<std::uint8_t>(jd);
    workbook::TWorkbook sheet;
    tmystringgrid grid;
    TTableOutputSettings settings;
    PaintSeasonTable(config, &sheet, &grid, 1, settings, years, captions);
    PaintSeasonTable(config, &sheet, &grid, 0, settings, years, captions);
    EXPECT_EQ(sheet.LastRow(), 13);
    EXPECT_EQ(sheet.LastCol(), 3 + jd);
    EXPECT_EQ(grid.RowCount(), 14);
    EXPECT_EQ(grid.ColCount(), 4 + jd);
    EXPECT_EQ(sheet.Text(1, 1), config.ColumnTitles[163]);
    EXPECT_EQ(sheet.Text(1, 2), config.ColumnTitles[0]);
    // Texts equal; the Julian day (a number cell in the sheet) equal to the
    // grid's five decimals.
    for (int row = 1; row <= 13; ++row) {
      for (int col = 1; col <= 3; ++col) EXPECT_EQ(sheet.Text(row, col), grid.Cells(col, row)) << row << "," << col;
      if (jd == 1 && row > 1) {
        EXPECT_NEAR(sheet.Number(row, 4), std::stod(grid.Cells(4, row)), 0.6e-5) << row;
      }
    }
    // Row 4y + k + 1: the summer of the second year in row 7.
    EXPECT_EQ(sheet.Text(7, 1), "Sommer");
    EXPECT_EQ(sheet.Text(13, 1), "Winter");
    const TObserverRecord& june = years[1].Seasons[1];
    EXPECT_EQ(june.Day, 21);
    EXPECT_EQ(june.Month, 6);
    EXPECT_NEAR(june.LocalHours, 21 + 24 / 60.0 + 34 / 3600.0, 1 / 60.0);
    if (jd == 1) {
      EXPECT_NEAR(sheet.Number(7, 4), 2437837.39245 - 34.0 / 86400, 60.0 / 86400);
    }
  }
  // Nothing is written for an empty list.
  workbook::TWorkbook empty;
  PaintSeasonTable(config, &empty, nullptr, 1, TTableOutputSettings{}, {}, captions);
  EXPECT_EQ(empty.LastRow(), 0);
}

}  // namespace
}  // namespace kvx
