// The conjunction table's layout: the columns decided once per list (a star
// has no magnitude column, a mixed list keeps values under their headings
// and leaves missing ones empty), the Julian-date column, the empty list,
// both languages, and the sheet and the grid equal cell by cell.
#include "events/conjunction_table_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "core/column_flags.h"
#include "core/name_tables.h"
#include "core/table_config.h"
#include "setup/column_sets.h"
#include "platform/globals.h"
#include "platform/workbook/workbook.h"

namespace kvx {
namespace {

TObserverRecord Instant(int day, double hours) {
  TObserverRecord r;
  r.Day = day;
  r.Month = 12;
  r.Year = 2020;
  r.LocalHours = hours;
  r.Mjd = 59180 + day + hours / 24;
  return r;
}

// Jupiter and Saturn with every value; a star and the Moon without the
// star's magnitude.
void AddPlanets(TEventList& list) {
  list.Add("Saturn", std::make_unique<tEvent>("Jupiter", "Saturn", 0, Instant(21, 14.5), 59201.6, -0.1042, 19.5, 19.6,
                                              30.2, 30.3, 10.8, -2.0, 0.6, "", "Ost", "Ost", 1));
}
void AddStar(TEventList& list) {
  list.Add("Mond", std::make_unique<tEvent>("SAO 98967", "Mond", 0, Instant(23, 3.25), 59203.1, 0.52, 40.0, 41.0, 120.0,
                                            121.0, -30.0, -100, -12.1, "", "West", "West", 3));
}

struct Table {
  workbook::TWorkbook sheet;
  tmystringgrid grid;
};

void Write(Table& t, const TTableConfigRecord& config, const TEventList& list) {
  WriteConjunctionResultsToSheet(1, config, t.sheet, list);
  WriteConjunctionResultsToGrid(0, config, t.grid, TTableOutputSettings{}, list);
}

// Every cell of the sheet reads as the grid's: the same text, or the same
// number to the grid's decimals.
void ExpectSheetEqualsGrid(const Table& t, int rows, int cols) {
  EXPECT_EQ(t.grid.RowCount(), rows + 1);
  EXPECT_EQ(t.grid.ColCount(), cols + 1);
  for (int row = 1; row <= rows; ++row) {
    for (int col = 1; col <= cols; ++col) {
      const std::string sheet = t.sheet.Text(row, col), grid = t.grid.Cells(col, row);
      if (sheet == grid) continue;
      char* end = nullptr;
      const double number = std::strtod(grid.c_str(), &end);
      EXPECT_TRUE(end != grid.c_str() && *end == '\0' && std::fabs(t.sheet.Number(row, col) - number) < 0.01)
          << row << "," << col << ": sheet '" << sheet << "' grid '" << grid << "'";
    }
  }
}

TEST(ConjunctionTable, ColumnsFollowTheListInBothTargets) {
  InitAstroNameTables();
  LanguageEnglish = 0;
  TTableConfigRecord config = NewTableConfigRecord();
  config.Flags[column_flag::kJulianDate] = 0;

  // A star first: no magnitude column of object 1, the Moon's magnitude
  // follows the elongations; without the JD column the separation is in 5.
  {
    TEventList list;
    AddStar(list);
    Table t;
    Write(t, config, list);
    EXPECT_EQ(t.sheet.Text(1, 5), config.ColumnTitles[168]);
    EXPECT_EQ(t.sheet.Text(1, 11), config.ColumnTitles[62] + " Obj. 2");
    EXPECT_EQ(t.sheet.Text(1, 12), "");
    EXPECT_EQ(t.sheet.Text(1, 13), config.ColumnTitles[200]);
    EXPECT_EQ(t.sheet.Text(2, 1), "SAO 98967");
    EXPECT_EQ(t.sheet.Text(2, 12), "SAO 98967 nördlich");
    EXPECT_EQ(t.sheet.Text(2, 13), "Winkelabstand minimal");
    EXPECT_EQ(t.sheet.LastCol(), 13);
    ExpectSheetEqualsGrid(t, 2, 13);
  }

  // A planet search and then a star search in one list (no "Löschen"): the
  // columns of the whole list, the star's magnitude cell empty, every value
  // under its heading; the JD column moves the separation to column 6.
  config.Flags[column_flag::kJulianDate] = 1;
  LanguageEnglish = 1;
  InitAstroNameTables();
  {
    TEventList list;
    AddPlanets(list);
    AddStar(list);
    Table t;
    Write(t, config, list);
    EXPECT_EQ(t.sheet.Text(1, 6), config.ColumnTitles[168]);
    EXPECT_EQ(t.sheet.Text(1, 12), config.ColumnTitles[62] + " Obj. 1");
    EXPECT_EQ(t.sheet.Text(1, 15), config.ColumnTitles[200]);
    const int star = list.Key(0) == "Mond" ? 2 : 3, planets = 5 - star;
    EXPECT_EQ(t.sheet.Text(star, 12), "");
    EXPECT_EQ(t.sheet.Text(planets, 12).substr(0, 2), "-2") << t.sheet.Text(planets, 12);
    EXPECT_EQ(t.sheet.Text(planets, 14), "Jupiter southern");
    EXPECT_EQ(t.sheet.Text(planets, 15), "Conjunction in RA");
    EXPECT_EQ(t.sheet.Text(star, 15), "Smallest angular separation");
    EXPECT_NEAR(t.sheet.Number(planets, 5), 59201.6 + 2400000.5, 1e-4);
    ExpectSheetEqualsGrid(t, 3, 15);
    EXPECT_TRUE(ListHoldsConjunctions(list));
  }

  // An empty list: the captions of the columns that are always there.
  {
    TEventList list;
    Table t;
    Write(t, config, list);
    EXPECT_EQ(t.sheet.LastRow(), 1);
    EXPECT_EQ(t.sheet.Text(1, 1), config.ColumnTitles[161]);
    EXPECT_EQ(t.sheet.Text(1, 8), config.ColumnTitles[200]);
    EXPECT_EQ(t.grid.RowCount(), 2);
    EXPECT_FALSE(ListHoldsConjunctions(list));
  }
  LanguageEnglish = 0;
  InitAstroNameTables();
}

}  // namespace
}  // namespace kvx
