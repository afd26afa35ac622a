// The almanac table: the period filter at its bounds without empty rows,
// the empty time of a solar eclipse, the value decimals by kind (Moon
// perigee two, perihelion five), the unsigned separation of a conjunction,
// an empty cell for a value that is not finite, the JD column, the grid's
// size, and the sheet and the grid equal cell by cell.
#include "events/almanac_writer.h"

#include <gtest/gtest.h>

#include <limits>

#include "core/column_flags.h"
#include "core/name_tables.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "events/almanac.h"
#include "platform/globals.h"

namespace kvx {
namespace {

TEST(AlmanacTable, PeriodFormatsAndSheetEqualsGrid) {
  InitCoreTablesAtStartup(IntlSeparators);
  TTableConfigRecord config;
  config.ColumnTitles[0] = "Datum";
  config.ColumnTitles[1] = "Zeit";
  config.ColumnTitles[3] = "JD";
  config.ColumnTitles[161] = "Objekt";
  config.ColumnTitles[162] = "Ereignis";
  TObserverRecord start{}, end{};
  start.Mjd = 60000.0;
  end.Mjd = 60010.0;
  TEventList list;
  auto add = [&](double mjd, int kind, const std::string& object, const std::string& event, double value) {
    TObserverRecord r{};
    r.Mjd = mjd;
    AddAlmanacEvent(list, r, kind, object, event, value, "");
  };
  add(59999.9999, almanac_entry::kSeasons, "Mond", "Vollmond", -100);         // just before: not printed
  add(60000.0, search_code::kPerigee, "Mond", "Perigäum", 57.123456);        // at the start
  add(60003.25, search_code::kPerihelion, "Mars", "Perihel", 1.381234567);
  add(60004.5, almanac_entry::kSolarEclipse, "Sonnenfinsternis, total", "total", -100);
  add(60005.5, almanac_entry::kConjunction, "Venus", "Jupiter", -0.5);
  add(60006.0, search_code::kBrightest, "Mars", "Größte Helligkeit", std::numeric_limits<double>::quiet_NaN());
  add(60010.0, almanac_entry::kSeasons, "", "Sommeranfang", -100);            // at the end
  add(60010.0001, almanac_entry::kSeasons, "", "Herbstanfang", -100);         // just after: not printed
  tmystringgrid grid{5, 5};
  TTableOutputSettings output;
  for (const bool jd : {false, true}) {
    config.Flags[column_flag::kJulianDate] = jd ? 1 : 0;
    TSheet sheet;
    WriteAlmanacToSheet(config, sheet, list, end, start);
    WriteAlmanacToGrid(config, grid, output, list, start, end);
    const int v = jd ? 6 : 5;  // value column
    EXPECT_EQ(sheet.LastRow(), 7);
    EXPECT_EQ(sheet.Text(1, v - 1), "Ereignis/Objekt");
    EXPECT_EQ(sheet.Text(2, v - 1), "Perigäum");
    EXPECT_EQ(sheet.Text(2, v), "57.12");
    EXPECT_EQ(sheet.Text(3, v), "1.38123");
    EXPECT_EQ(sheet.Text(4, 2), "");  // eclipse: no time
    EXPECT_FALSE(sheet.Text(5, 2).empty());
    EXPECT_EQ(sheet.Text(5, v).find('-'), std::string::npos) << sheet.Text(5, v);
    EXPECT_FALSE(sheet.Text(5, v).empty());
    EXPECT_EQ(sheet.Text(6, v), "");  // no number for NaN
    EXPECT_EQ(sheet.Text(7, v - 1), "Sommeranfang");
    if (jd) {
      EXPECT_EQ(sheet.Text(1, 3), "JD");
      EXPECT_NE(sheet.Text(3, 3).find("2460003"), std::string::npos) << sheet.Text(3, 3);
    }
    EXPECT_EQ(grid.ColCount(), jd ? 7 : 6);
    EXPECT_EQ(grid.RowCount(), list.Count() + 2);
    for (int r = 1; r <= 7; ++r) {
      for (int c = 1; c <= v; ++c) EXPECT_EQ(sheet.Text(r, c), grid.Cells(c, r)) << r << "," << c;
    }
  }
}

}  // namespace
}  // namespace kvx
