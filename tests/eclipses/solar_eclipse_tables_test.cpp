// The eclipse table and the calendar in the sheet and the grid: the same
// texts in both (apart from the grid's own headings), the Julian-date column
// moving the later columns, the block of a place that sees nothing, the
// criterion, and a written calendar read back from .xlsx by openpyxl.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/name_tables.h"
#include "core/time_scales.h"
#include "eclipses/solar_eclipse.h"
#include "platform/globals.h"
#include "platform/workbook/workbook.h"
#include "platform/workbook/workbook_files.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

TObserverRecord Place(double lonEast, double lat, double jd, const char* name) {
  TObserverRecord r;
  r.Longitude = -lonEast;
  r.Latitude = lat;
  r.DeltaTSeconds = 69;
  r.PlaceName = name;
  r.Mjd = jd - 2400000.5;
  UTToLocalTime(r);
  r.Centuries = (jd - 2451545.0) / 36525.0 + 69 / 86400.0 / 36525.0;
  return r;
}

TSearchContext Internal() {
  TSearchContext c;
  c.Selection.bytes[0] = 0;
  c.Selection.bytes[1] = 0;
  return c;
}

TTableConfigRecord Config(bool julianDate) {
  TTableConfigRecord config;
  for (int slot : {0, 1, 3, 63, 158, 177, 178, 179, 180, 181, 182}) {
    std::string title(1, 'T');
    title += std::to_string(slot);
    config.ColumnTitles[static_cast<std::size_t>(slot)] = title;
  }
  config.Flags[column_flag::kJulianDate] = julianDate ? 1 : 0;
  return config;
}

class SolarEclipseTables : public ::testing::Test {
 protected:
  void SetUp() override {
    InitCoreTablesAtStartup(IntlSeparators);
    LanguageEnglish = 0;
    AbortRequested = 0;
  }
};

TEST_F(SolarEclipseTables, SheetAndGridShowOneTableAndTheJulianDateMovesColumns) {
  tSonnenfinsternis e;
  std::uint8_t maxArt = 0;
  e.rechnen(Internal(), 1, maxArt, 8, 5, Place(-96.8, 32.78, 2460400.5, "Dallas"), TEventStep{1, 0});
  ASSERT_EQ(e.Status, TEclipseSearchStatus::Found);
  ASSERT_EQ(e.Local.Kind, 3);
  std::string withoutJd[3];
  for (bool jd : {false, true}) {
    SCOPED_TRACE(jd ? "with the Julian date" : "without the Julian date");
    const int shift = jd ? 1 : 0;
    workbook::TWorkbook book;
    tmystringgrid grid;
    e.paint(book, Config(jd));
    e.paint_grid(grid, TTableOutputSettings{}, Config(jd));
    EXPECT_EQ(book.Text(1, 1), "Sonnenfinsternis");
    EXPECT_EQ(book.Text(1, 3 + shift), "T177");
    EXPECT_EQ(book.Text(1, 6 + shift), "T180");
    EXPECT_EQ(book.Text(2, 3 + shift), "    -----") << "the first instant is partial";
    EXPECT_EQ(book.Text(2, 6 + shift), " partiell");
    EXPECT_EQ(book.Text(1, 7 + shift).rfind("Totale Finsternis ", 0), 0u);
    EXPECT_EQ(book.Text(3, 7 + shift), "Maximum um");
    EXPECT_EQ(book.Text(5, 7 + shift), "2. Kontakt: ");
    EXPECT_EQ(book.Text(8, 10 + 2 * shift), "T180");
    EXPECT_FALSE(book.Text(9, 10 + 2 * shift).empty()) << "the course from row 9";
    if (jd) {
      EXPECT_EQ(book.Text(1, 3), "T3");
      EXPECT_EQ(book.Text(4, 12), withoutJd[0]) << "P of contact 1 two columns on";
      EXPECT_EQ(book.Text(9, 12), withoutJd[1]) << "course magnitude two columns on";
      EXPECT_EQ(book.Text(2, 7), withoutJd[2]);
    } else {
      withoutJd[0] = book.Text(4, 10);
      withoutJd[1] = book.Text(9, 10);
      withoutJd[2] = book.Text(2, 6);
    }
    int compared = 0;
    for (int row = 1; row <= book.LastRow(); ++row) {
      for (int col = 1; col <= 14; ++col) {
        if (row == 1 && col == 1) continue;
        EXPECT_EQ(grid.Cells(col, row), book.Text(row, col)) << "row " << row << " column " << col;
        ++compared;
      }
    }
    EXPECT_GT(compared, 1000);
  }
  // The grid's own English texts.
  LanguageEnglish = 1;
  tmystringgrid grid;
  e.paint_grid(grid, TTableOutputSettings{}, Config(false));
  EXPECT_EQ(grid.Cells(1, 1), "Solar eclipse");
  EXPECT_EQ(grid.Cells(7, 1).rfind("Totale eclipse ", 0), 0u);
  workbook::TWorkbook book;
  e.paint(book, Config(false));
  EXPECT_EQ(book.Text(1, 7).rfind("Total eclipse ", 0), 0u);
}

TEST_F(SolarEclipseTables, InvisibleBlockCriterionAndCalendarReadBack) {
  // Sydney sees nothing of 2017 Aug 21: the block names the place, no rows.
  tSonnenfinsternis e;
  std::uint8_t maxArt = 0;
  e.rechnen(Internal(), 1, maxArt, 8, 5, Place(151.21, -33.87, 2457980.5, "Sydney"), TEventStep{1, 0});
  ASSERT_EQ(e.Local.Kind, 0);
  workbook::TWorkbook book;
  e.paint(book, Config(false));
  EXPECT_EQ(book.Text(1, 7), "Unsichtbar in Sydney");
  EXPECT_TRUE(book.Text(3, 7).empty());
  EXPECT_TRUE(book.Text(4, 7).empty());
  // Delhi lies under the shadow of 8 Apr 2024 seen through the Earth: its
  // contacts exist, the Sun is down at both, so it sees nothing either.
  e.rechnen(Internal(), 1, maxArt, 8, 5, Place(77.2, 28.6, 2460400.5, "Delhi"), TEventStep{1, 0});
  EXPECT_EQ(e.Local.Kind, 0);
  EXPECT_LT(e.Local.Contact[0], e.Local.Contact[3]);
  EXPECT_LT(e.Local.SunAltitude[0], 0);
  EXPECT_LT(e.Local.SunAltitude[3], 0);

  // 2024 from Dallas: criterion 0 lists both eclipses (8 Apr total, 2 Oct
  // invisible).
  const TObserverRecord start = Place(-96.8, 32.78, 2460310.5, "Dallas");
  const TObserverRecord end = Place(-96.8, 32.78, 2460675.5, "Dallas");
  workbook::TWorkbook all;
  ASSERT_TRUE(e.kalenderrechnen(Internal(), TEventStep{}, all, Config(false), start, end, 5, 8, 0));
  EXPECT_EQ(all.Text(2, 2), " total");
  EXPECT_EQ(all.Text(3, 2), " ringförmig");
  EXPECT_EQ(all.Text(3, 3), "unsichtbar in Dallas");
  EXPECT_TRUE(all.Text(3, 5).empty()) << "no contacts for an invisible eclipse";
  EXPECT_TRUE(all.Text(4, 1).empty());
  EXPECT_EQ(all.Text(1, 5), "1. Kontakt: ");
  tmystringgrid grid;
  ASSERT_TRUE(e.kalenderrechnen_grid(Internal(), TEventStep{}, grid, TTableOutputSettings{}, Config(false), start, end,
                                     5, 8, 0));
  for (int row = 1; row <= 3; ++row) {
    for (int col = 1; col <= 20; ++col) EXPECT_EQ(grid.Cells(col, row), all.Text(row, col)) << row << " " << col;
  }
  workbook::TWorkbook none;
  ASSERT_TRUE(e.kalenderrechnen(Internal(), TEventStep{}, none, Config(false), start,
                                Place(-96.8, 32.78, 2460330.5, "Dallas"), 5, 8, 0));
  EXPECT_EQ(none.Text(2, 1), "Keine Finsternisse im Suchzeitraum, die den Suchkriterien entsprechen.");

  // The calendar as .xlsx, read by openpyxl.
  if (std::system("/usr/bin/python3 -c 'import openpyxl' 2>/dev/null") != 0) GTEST_SKIP() << "no python3-openpyxl";
  test::TempFolder folder;
  const std::string path = (folder.Path() / "calendar.xlsx").string();
  std::string error;
  ASSERT_TRUE(workbook::WriteXlsx(all, path, error)) << error;
  const std::string out = (folder.Path() / "out.txt").string();
  const std::string command = "/usr/bin/python3 -c \"import openpyxl,sys; w=openpyxl.load_workbook(sys.argv[1]).active; "
                              "print(w.cell(1,2).value); print(w.cell(2,2).value); print(w.cell(3,3).value)\" '" +
                              path + "' > '" + out + "' 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
  std::ifstream in(out);
  std::string a, b, c;
  std::getline(in, a);
  std::getline(in, b);
  std::getline(in, c);
  EXPECT_EQ(a, "Phase global");
  EXPECT_EQ(b, " total");
  EXPECT_EQ(c, "unsichtbar in Dallas");
}

}  // namespace
}  // namespace kvx
