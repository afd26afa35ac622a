// The table of the events found (kind 84): the caption row alone for an
// empty list; the value decimals by kind and object (Moon perigee two, Mars
// perihelion five, elongations in degrees), an empty value cell for a
// station with its unit column still written, the JD column on and off, and
// the sheet and the grid equal cell by cell.
#include "events/event_table_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

#include "core/column_flags.h"
#include "core/name_tables.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "events/event_search.h"
#include "platform/globals.h"

namespace kvx {
namespace {

std::unique_ptr<tEvent> Event(const std::string& object, int kind, double mjd, double value, int objectCode) {
  TObserverRecord r{};
  r.Mjd = mjd;
  r.Zone = 0;
  UTToLocalTime(r);
  return std::make_unique<tEvent>(object, EventKindNames[static_cast<std::size_t>(kind)],
                                  static_cast<std::uint8_t>(kind), r, mjd, value, -90, -90, -360, -360, -90, -100,
                                  -100, EventUnitText(kind, objectCode), "", "", 0);
}

class EventTable : public ::testing::Test {
 protected:
  void SetUp() override {
    InitCoreTablesAtStartup(IntlSeparators);
    config_.ColumnTitles[161] = "Objekt";
    config_.ColumnTitles[162] = "Ereignis";
    config_.ColumnTitles[0] = "Datum";
    config_.ColumnTitles[1] = "Zeit";
    config_.ColumnTitles[3] = "JD";
    config_.Flags[column_flag::kJulianDate] = 1;
  }
  // Every cell of rows 1..rows, columns 1..cols: sheet text equals grid text.
  void ExpectSheetEqualsGrid(const TSheet& sheet, int rows, int cols) {
    for (int r = 1; r <= rows; ++r) {
      for (int c = 1; c <= cols; ++c) EXPECT_EQ(sheet.Text(r, c), grid_.Cells(c, r)) << r << "," << c;
    }
  }
  TTableConfigRecord config_;
  tmystringgrid grid_{5, 5};
  TTableOutputSettings output_;
};

TEST_F(EventTable, EmptyListGivesTheCaptionRowOnly) {
  const TEventList empty;
  TSheet sheet_;
  WriteEventSearchResultsToSheet(config_, sheet_, empty);
  WriteEventSearchResultsToGrid(config_, grid_, output_, empty);
  EXPECT_EQ(sheet_.LastRow(), 1);
  EXPECT_EQ(sheet_.Text(1, 1), "Objekt");
  EXPECT_EQ(sheet_.Text(1, 5), "JD");
  EXPECT_EQ(grid_.RowCount(), 2);
  ExpectSheetEqualsGrid(sheet_, 1, 7);
}

TEST_F(EventTable, ValueFormatsByKindAndSheetEqualsGrid) {
  TEventList list;
  const double elongation = std::sin(27.84 * std::numbers::pi / 180);
  list.Add("Perigäum", Event("Mond", 2, 60310.5, 56.98765, 9));
  list.Add("Perihel", Event("Mars", 0, 60400.25, 1.381234567, 3));
  list.Add("Stationär, dann rückläufig", Event("Mars", 10, 60500.75, 0.123, 3));
  list.Add("Größte östliche Elongation", Event("Merkur", 8, 60600.0, elongation, 1));
  list.Add("Perihel", Event("Jupiter", 0, 60700.0, std::numeric_limits<double>::quiet_NaN(), 4));
  for (const bool jd : {true, false}) {
    config_.Flags[column_flag::kJulianDate] = jd ? 1 : 0;
    TSheet sheet_;
    WriteEventSearchResultsToSheet(config_, sheet_, list);
    WriteEventSearchResultsToGrid(config_, grid_, output_, list);
    const int value = jd ? 6 : 5;
    ASSERT_EQ(sheet_.LastRow(), 6);
    EXPECT_EQ(grid_.RowCount(), 7);
    EXPECT_EQ(sheet_.Text(1, value), "");
    // List order: by event name, then instant.
    EXPECT_EQ(sheet_.Text(2, 2), "Größte östliche Elongation");
    EXPECT_EQ(sheet_.Text(2, value), DotToDecimalSepTrim("27.8"));
    EXPECT_EQ(sheet_.Text(2, value + 1), "°");
    EXPECT_EQ(sheet_.Text(3, 1), "Mond");
    EXPECT_EQ(sheet_.Text(3, value), DotToDecimalSepTrim("56.99"));
    EXPECT_EQ(sheet_.Text(3, value + 1), "RD");
    EXPECT_EQ(sheet_.Text(4, 1), "Mars");
    EXPECT_EQ(sheet_.Text(4, value), DotToDecimalSepTrim("1.38123"));
    EXPECT_EQ(sheet_.Text(4, value + 1), "AE");
    // No value: Jupiter's (not a number) and the station's cells empty.
    EXPECT_EQ(sheet_.Text(5, value), "");
    EXPECT_EQ(sheet_.Text(6, 2), "Stationär, dann rückläufig");
    EXPECT_EQ(sheet_.Text(6, value), "");
    EXPECT_EQ(sheet_.Text(6, value + 1), "");
    if (jd) {
      EXPECT_EQ(sheet_.Text(1, 5), "JD");
      EXPECT_NEAR(sheet_.Number(3, 5), 2460311.0, 1e-9);
    } else {
      EXPECT_EQ(sheet_.Text(1, 5), "");
    }
    EXPECT_EQ(sheet_.Text(3, 3), grid_.Cells(3, 3));
    ExpectSheetEqualsGrid(sheet_, 6, value + 1);
  }
}

}  // namespace
}  // namespace kvx
