// The table writers on synthetic row stores: column layout by body and
// flags, the value rules, sheet and grid agreeing cell by cell, the row
// export, the Moon's extra block, the osculating-element columns and the
// element tables.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/column_flags.h"
#include "core/name_tables.h"
#include "core/quantity_headings.h"
#include "core/two_body.h"
#include "engine/ephemeris_table.h"
#include "engine/table_globals.h"
#include "platform/globals.h"
#include "platform/progress.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

namespace cf = column_flag;

// A row with every field set to something recognisable; `day` 1..28.
TEphemerisResultRecord SyntheticRow(int day) {
  TEphemerisResultRecord r;
  r.Year = 2024;
  r.Month = 3;
  r.Day = day;
  r.LocalHours = 21.5;
  r.JD = 2460370.5 + day;
  r.LocalSiderealHours = 7.25;
  r.GreenwichSiderealHours = 7.0;
  r.GreenwichSiderealDegrees = 105.0;
  r.MeanAnomaly = 10.0 * day;
  r.Position.HelioDistance = 2.5;
  r.Position.HelioLatitude = 1.5;
  r.Position.HelioLongitude = 120.0 + day;
  r.Position.HelioX = -1.2;
  r.Position.HelioY = 2.1;
  r.Position.HelioZ = 0.06;
  r.HelioVX = -0.009;
  r.HelioVY = -0.005;
  r.HelioVZ = 0.0003;
  r.Position.GeoLongitude = 130.0;
  r.Position.GeoLatitude = -2.0;
  r.Position.GeoDistance = 1.6;
  r.Position.RightAscension = 133.25 + day;
  r.Position.Declination = 17.5;
  r.SecondRightAscension = 132.5;
  r.SecondDeclination = 17.6;
  r.LightTime = 0.009;
  r.HourlyRightAscension = 12.5;
  r.HourlyDeclination = -3.25;
  r.HourlyTotal = 13.0;
  r.HourlyDirection = 290.0;
  r.TopoRightAscension = 133.3;
  r.TopoDeclination = 17.4;
  r.TopoDistance = 1.6;
  r.Azimuth = 200.0;
  r.Altitude = 35.0;
  r.HourAngle = 2.0;
  auto& level = r.RiseSet.Levels[TRiseSetBlock::kBodyLevel];
  level.Rise = 10.25;
  level.Set = 3.5;
  level.Duration = 17.25;
  r.RiseSet.TransitTime = 18.75;
  r.RiseSet.TransitAltitude = 56.0;
  r.RiseSet.RiseAzimuth = 120.0;
  r.RiseSet.SetAzimuth = 240.0;
  for (int l = 3; l <= 5; ++l) {
    r.RiseSet.Levels[static_cast<std::size_t>(l)].Rise = 5.0 - 0.5 * l;
    r.RiseSet.Levels[static_cast<std::size_t>(l)].Set = 18.0 + 0.5 * l;
  }
  r.Darkness = {20.5, 23.75, 1.0, 4.25, 6.5};
  r.Physical.elongation = 140.0;
  r.Physical.sideText = "Ost";
  r.Physical.magnitude = 7.3;
  r.Physical.diameter = 0.27;
  return r;
}

// The table of one body with the German default headings and every flag
// on, over `rows` synthetic rows.
class TableWriters : public ::testing::Test {
 protected:
  void SetUp() override {
    previousProgress_ = SetProgressReporter(&progress);
    AbortRequested = 0;
    savedSeparators_ = IntlSeparators;
    InitAstroNameTables();
    ApplyLocaleSeparators(TIntlSeparators{',', ';', '.', ':', '.'});
    SetQuantityHeadingLanguage(false);
    for (std::size_t s = 0; s < kColumnTitleCount; ++s) config.ColumnTitles[s] = QuantityHeadingTable[s];
    config.Flags.fill(1);
    for (std::size_t f = cf::kFirstReserved; f < kColumnFlagCount; ++f) config.Flags[f] = 0;
  }
  void TearDown() override {
    SetProgressReporter(previousProgress_);
    AbortRequested = 0;
    ApplyLocaleSeparators(savedSeparators_);
  }

  // A table object of body `body` over `rows` rows made by `make`.
  TKeplereph& Table(int body, int rows, const std::function<TEphemerisResultRecord(int)>& make = SyntheticRow) {
    TObserverRecord start;
    table_ = std::make_unique<TKeplereph>(0, TTheorySelection{}, &sheet, config, TAsteroidElements{}, start, start,
                                          TTableStep{1, 0, 1}, 1e-10L, -1, 10);
    table_->TableConfig = config;
    table_->BodyIndex = body;
    table_->Name = "Objekt";
    table_->OutputGrid = &grid;
    for (int k = 0; k < rows; ++k) RowStore.Store(k, make(k + 1));
    table_->Rows = rows;
    return *table_;
  }

  std::vector<std::string> SheetHeadings() const {
    std::vector<std::string> h;
    for (int c = 1; c <= sheet.LastCol(); ++c) h.push_back(sheet.Text(1, c));
    return h;
  }
  static bool Has(const std::vector<std::string>& v, const std::string& s) {
    return std::find(v.begin(), v.end(), s) != v.end();
  }
  int SheetColumnOf(const std::string& heading) const {
    for (int c = 1; c <= sheet.LastCol(); ++c) {
      if (sheet.Text(1, c) == heading) return c;
    }
    return 0;
  }

  TTableConfigRecord config;
  workbook::TWorkbook sheet;
  tmystringgrid grid;
  RecordingProgress progress;

 private:
  std::unique_ptr<TKeplereph> table_;
  ProgressReporter* previousProgress_ = nullptr;
  TIntlSeparators savedSeparators_;
};

// Which columns each body gets with every flag on, and the group switches.
TEST_F(TableWriters, BodiesAndGroupsChooseTheColumns) {
  Table(0, 2).paintdms();  // the Sun
  auto sun = SheetHeadings();
  EXPECT_EQ(sun[0], "Objekt");
  EXPECT_EQ(sun[1], "JD");  // flag 4 set: the date alone, no time column
  EXPECT_TRUE(Has(sun, "x J2000") && Has(sun, "Bürg. Anf.") && Has(sun, "Zeitgl.") && Has(sun, "Rot.-Nr."));
  EXPECT_FALSE(Has(sun, "l") || Has(sun, "Elong.") || Has(sun, "k") || Has(sun, "M. An."));

  sheet.Reset(1);
  Table(kBodyIndexMoon, 2).paintdms();
  auto moon = SheetHeadings();
  EXPECT_TRUE(Has(moon, "Erdrad.") && Has(moon, "x geoz. (km)") && Has(moon, "RD (km)") && Has(moon, "Colong."));
  EXPECT_FALSE(Has(moon, "Rd (AE)") || Has(moon, "Rd Mio. km") || Has(moon, "Lichtz.") || Has(moon, "Dunkelheit"));
  // The Moon's extra block stands after the heliocentric second-equinox
  // columns and before the geocentric longitude.
  EXPECT_EQ(SheetColumnOf("x geoz. (km)") + 10, SheetColumnOf("Lg"));

  sheet.Reset(1);
  Table(6, 2).paintdms();  // Saturn
  auto saturn = SheetHeadings();
  EXPECT_TRUE(Has(saturn, "Ring Äqu.") && Has(saturn, "Sys. III") && !Has(saturn, "Sys. II"));
  EXPECT_FALSE(Has(saturn, "a"));  // no element block without the VSOP82 library

  // Group 1 and group 2 off: no topocentric, horizon, rise, twilight,
  // darkness or physical column of a comet.
  config.Flags[cf::kSummaryTopocentric] = 0;
  config.Flags[cf::kSummaryPhysical] = 0;
  sheet.Reset(1);
  Table(kBodyIndexComet, 2).paintdms();
  auto comet = SheetHeadings();
  EXPECT_TRUE(Has(comet, "M. An.") && Has(comet, "x (Elem.)") && Has(comet, "RA"));
  for (const char* gone : {"RA Topoz.", "Az", "Aufgang", "Dunkelheit", "Dunkel insgesamt", "Elong.", "mag"}) {
    EXPECT_FALSE(Has(comet, gone)) << gone;
  }
}

// Date-only tables, tables of many objects, and an empty row store.
TEST_F(TableWriters, DateOnlyManyObjectsAndEmpty) {
  config.Flags.fill(0);
  config.Flags[cf::kDateOnly] = 1;
  Table(kBodyIndexAsteroid, 3).paintdms();
  EXPECT_EQ(sheet.LastCol(), 1);
  EXPECT_EQ(sheet.LastRow(), 4);
  EXPECT_EQ(sheet.Text(1, 1), "Objekt");
  EXPECT_NE(sheet.Text(2, 1), "");

  sheet.Reset(1);
  config.Flags[cf::kRightAscension] = 1;
  auto named = [](int k) {
    TEphemerisResultRecord r = SyntheticRow(1);
    r.Name = "Asteroid " + std::to_string(k);
    return r;
  };
  auto& table = Table(kBodyIndexAsteroid, 2, named);
  table.paintdms();
  EXPECT_EQ(sheet.Text(1, 1).rfind("JD: 2460371", 0), 0u) << sheet.Text(1, 1);
  EXPECT_EQ(sheet.Text(1, 2), "");
  EXPECT_EQ(sheet.Text(3, 1), "Asteroid 2");
  table.paintdms_grid();
  EXPECT_EQ(grid.Cells(1, 1), "JD: 2460371,5000");
  EXPECT_EQ(grid.Cells(2, 1), "Datum");

  sheet.Reset(1);
  sheet.SetText(5, 5, "kept");
  table.Rows = 0;
  table.paintdms();
  EXPECT_EQ(sheet.LastRow(), 5);
  EXPECT_EQ(sheet.Text(1, 1), "");
}

// Missing events, Julian-day events, darkness, the second equinox, and rows
// without a mean anomaly keep every cell under its heading.
TEST_F(TableWriters, ValueRules) {
  auto rows = [](int k) {
    TEphemerisResultRecord r = SyntheticRow(k);
    if (k == 2) {
      r.RiseSet.Levels[TRiseSetBlock::kBodyLevel].Rise = 0;
      r.RiseSet.RiseAzimuth = -360;
      r.MeanAnomaly = -1000;
      r.Darkness = {-1, -1, 1.0, 4.25, -0.5};
      r.Position.Declination = std::numeric_limits<double>::quiet_NaN();
    }
    return r;
  };
  TTableOutputSettings settings;
  settings.SecondEquinoxText = " 1950";
  auto& table = Table(kBodyIndexAsteroid, 3, rows);
  table.OutputSettings = settings;
  table.paintdms();
  const int rise = SheetColumnOf("Aufgang");
  const int ma = SheetColumnOf("M. An.");
  ASSERT_GT(rise, 0);
  ASSERT_GT(ma, 0);
  EXPECT_EQ(sheet.Text(2, rise), "10:15");
  EXPECT_EQ(sheet.Text(3, rise), "");
  EXPECT_EQ(sheet.Text(3, SheetColumnOf("Az Aufg.")), "");
  EXPECT_EQ(sheet.Text(3, ma), "");
  EXPECT_NE(sheet.Text(4, ma), "");
  EXPECT_EQ(sheet.Text(3, SheetColumnOf("DK")), "");  // NaN: empty, not a number
  EXPECT_EQ(sheet.Text(3, SheetColumnOf("Unterg.")), "03:30");  // the rest of the row stands
  EXPECT_GT(SheetColumnOf("RA 1950"), 0);
  EXPECT_GT(SheetColumnOf("Lg 1950"), 0);
  const int dark = SheetColumnOf("Dunkelheit");
  EXPECT_EQ(sheet.Text(1, dark + 1), "bis");
  EXPECT_EQ(sheet.Text(1, dark + 2), "2. Dunkelheit");
  EXPECT_EQ(sheet.Text(3, dark), "----");
  EXPECT_EQ(sheet.Text(3, dark + 2), "01:00");
  EXPECT_EQ(sheet.Text(3, SheetColumnOf("Dunkel insgesamt")), "00:00");

  // Rise as a Julian day; a table whose first row has no mean anomaly (an
  // integrated one) has no such column.
  settings.RiseSetAsJulianDate = 1;
  sheet.Reset(1);
  auto& integrated = Table(kBodyIndexAsteroid, 2, [](int k) {
    TEphemerisResultRecord r = SyntheticRow(k);
    r.MeanAnomaly = -1000;
    r.Integrated = 1;
    return r;
  });
  integrated.OutputSettings = settings;
  integrated.paintdms();
  EXPECT_EQ(SheetColumnOf("M. An."), 0);
  EXPECT_NEAR(sheet.Number(2, SheetColumnOf("Aufgang")), 2460370.5 + 10.25 / 24, 1e-6);
}

// The grid shows the sheet's texts, sized to what was written, with the
// widths of ColumnWidthTable; cancelling keeps the rows written so far.
TEST_F(TableWriters, GridAgreesWithSheet) {
  TTableOutputSettings settings;
  for (int s = 0; s < kQuantityCount; ++s) settings.ColumnWidthTable[static_cast<std::size_t>(s)] = 40 + s;
  settings.FontScale = 1.5;
  auto& table = Table(4, 5);  // Mars
  table.OutputSettings = settings;
  table.paintdms();
  table.paintdms_grid();
  const int cols = sheet.LastCol();
  EXPECT_EQ(grid.RowCount(), 5 + 2);
  EXPECT_EQ(grid.ColCount(), cols + 1);
  int compared = 0;
  for (int r = 1; r <= 6; ++r) {
    for (int c = 2; c <= cols; ++c) {  // the date column is the locale's short date in both, compared below
      EXPECT_EQ(grid.Cells(c, r), sheet.Text(r, c)) << "row " << r << " col " << c << " " << sheet.Text(1, c);
      ++compared;
    }
  }
  EXPECT_GT(compared, 6 * 60);
  EXPECT_EQ(grid.Cells(1, 1), sheet.Text(1, 1));
  const int vx = SheetColumnOf("vx hel. ekl.");
  for (int j = 0; j < 3; ++j) EXPECT_EQ(grid.ColWidths(vx + j), static_cast<int>((160 + j) * 1.5)) << j;
  const int dark = SheetColumnOf("Dunkelheit");
  EXPECT_EQ(grid.ColWidths(dark + 1), tmystringgrid::kDefaultColWidth);  // no width of its own
  // Sheet finishing: row 1 centred, A1 selected.
  EXPECT_EQ(sheet.Selection(), "A1");
  sheet.SetSelection(1, 1, 1, 1);
  EXPECT_EQ(sheet.Alignment().Horizontal, 3);

  // Cancel on the second step of the bar: the rows so far stay, the table
  // counts as cancelled and the window is given back.
  sheet.Reset(1);
  progress.abort_at_step = 40;
  table.Rows = 5;
  table.paintdms();
  EXPECT_EQ(table.Rows, 0);
  EXPECT_EQ(table.Stopped, 1);
  EXPECT_GE(sheet.LastRow(), 2);
  EXPECT_LT(sheet.LastRow(), 6);
  EXPECT_FALSE(progress.Visible());
  EXPECT_EQ(AbortRequested, 0);
}

// RA;Dec;name;day;JD lines, one per row, with the locale's separator; the
// file is replaced only by a whole export.
TEST_F(TableWriters, ExportRows) {
  auto& table = Table(kBodyIndexAsteroid, 3);
  std::ostringstream comma;
  table.exportzeile(comma);
  IntlSeparators.Decimal = '.';
  std::ostringstream dot;
  table.exportzeile(dot);
  EXPECT_EQ(comma.str().substr(0, comma.str().find('\n')), " 134,25000;  17,50000;Objekt;    1;   2460371,50000");
  const std::string dotText = dot.str();
  EXPECT_EQ(std::count(dotText.begin(), dotText.end(), '\n'), 3);
  EXPECT_NE(dot.str().find(" 136.25000;  17.50000;Objekt;    3;   2460373.50000\n"), std::string::npos);

  test::TempFolder folder;
  const std::string path = (folder.Path() / "rows.txt").string();
  std::string error;
  ASSERT_TRUE(table.ExportRowsToFile(path, error)) << error;
  std::ifstream in(path);
  std::stringstream read;
  read << in.rdbuf();
  EXPECT_EQ(read.str(), dot.str());
  EXPECT_FALSE(table.ExportRowsToFile((folder.Path() / "missing" / "rows.txt").string(), error));
}

}  // namespace
}  // namespace kvx
