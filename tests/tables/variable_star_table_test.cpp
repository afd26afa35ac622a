// The variable-star extrema against astropy (fixture by
// make_variable_star_reference.py, the shipped data/variab.csv): the
// heliocentric instants whole periods from the epoch, the light-time
// correction within 1 s, the star's and the Sun's altitudes within 0.02°;
// the sheet rows (observable columns, Mira dates, the "not found" row) and
// refused periods.
#include "tables/variable_star_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "catalogues/variable_star_list.h"
#include "core/name_tables.h"
#include "core/time_scales.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/workbook/workbook.h"
#include "setup/column_sets.h"
#include "support/fixtures.h"
#include "support/recording_message_sink.h"

namespace kvx {
namespace {

TObserverRecord Kassel(double mjd) {
  TObserverRecord r;
  r.Latitude = 51.191;
  r.Longitude = -9.301;
  r.AutoDeltaT = 1;
  r.Mjd = mjd;
  UTToLocalTime(r);
  return r;
}

std::map<std::string, TVariableStarElements> ShippedStars() {
  variablentabelle list;
  EXPECT_TRUE(list.ReadVariableFile(std::string(KVX_DATA_DIR) + "/variab.csv"));
  std::map<std::string, TVariableStarElements> stars;
  for (int i = 0; i < list.Count(); ++i) {
    std::string key = list.Data(i).Name;
    for (char& c : key)
      if (c == ' ') c = '_';
    stars[key] = list.Data(i);
  }
  return stars;
}

TEST(VariableStarTable, ExtremaAgreeWithAstropy) {
  const test::FixtureTable ref = test::ReadFixture(std::string(KVX_FIXTURE_DIR) + "/variable_star_astropy.tsv");
  const auto stars = ShippedStars();
  ASSERT_EQ(stars.size(), 5u);
  std::map<std::string, std::vector<std::size_t>> rows;
  for (std::size_t i = 0; i < ref.Rows(); ++i) rows[ref.text[i][0]].push_back(i);
  ASSERT_EQ(rows.size(), 4u);  // Mira has no maximum in these two months
  for (const auto& [name, indices] : rows) {
    SCOPED_TRACE(name);
    const TVariableStarElements& star = stars.at(name);
    Tvareph table(Kassel(60370.0), Kassel(60430.0), star, NewTableConfigRecord(), TTheorySelection{}, 0);
    table.schleife(0);
    ASSERT_EQ(table.Results().size(), indices.size());
    for (std::size_t k = 0; k < indices.size(); ++k) {
      const tvarergebnis& e = table.Results()[k];
      const std::size_t i = indices[k];
      const double T = ref.Number(i, "T");
      // Whole periods from the epoch before the correction.
      const double cycles = (T - JdToMjd(star.Epoch)) / star.Period;
      EXPECT_NEAR(cycles, std::round(cycles), 1e-9);
      EXPECT_NEAR((e.t - ref.Number(i, "t")) * 86400.0, 0.0, 1.0);
      EXPECT_NEAR(e.altStar, ref.Number(i, "altStar"), 0.02);
      EXPECT_NEAR(e.altSun, ref.Number(i, "altSun"), 0.02);
      EXPECT_GE(e.t, 60370.0);
      EXPECT_LE(e.t, 60430.0);
    }
  }
}

TEST(VariableStarTable, SheetRowsMiraNotFoundAndRefusedPeriods) {
  InitAstroNameTables();
  LanguageEnglish = 0;
  const auto stars = ShippedStars();
  TTableOutputSettings settings;
  const TTableConfigRecord config = NewTableConfigRecord();

  // Algol: observable columns only with the Sun at or below -12° and the
  // star above 5°.
  Tvareph algol(Kassel(60370.0), Kassel(60430.0), stars.at("Algol_(Beta_Per)"), config, TTheorySelection{}, 0);
  algol.schleife(0);
  workbook::TWorkbook sheet;
  algol.paint(&sheet, nullptr, 1, settings);
  EXPECT_EQ(sheet.Text(1, 1), "Algol (Beta Per)");
  const int jd = config.Flags[column_flag::kJulianDate] != 0 ? 1 : 0;
  EXPECT_EQ(sheet.Text(1, 5 + jd), "Bedeckungsveränderlicher");
  int observable = 0;
  for (std::size_t k = 0; k < algol.Results().size(); ++k) {
    const tvarergebnis& e = algol.Results()[k];
    const bool shown = !sheet.Text(static_cast<int>(k) + 2, 5 + jd).empty();
    EXPECT_EQ(shown, e.altSun <= -12.0 && e.altStar > 5.0) << k;
    observable += shown ? 1 : 0;
  }
  EXPECT_GT(observable, 0);
  EXPECT_LT(observable, static_cast<int>(algol.Results().size()));

  // Mira over four years: one maximum a year or so, date only.
  Tvareph mira(Kassel(60000.0), Kassel(61461.0), stars.at("Mira_(Omicron_Cet)"), config, TTheorySelection{}, 0);
  mira.schleife(0);
  ASSERT_GE(mira.Results().size(), 4u);
  workbook::TWorkbook miraSheet;
  mira.paint(&miraSheet, nullptr, 1, settings);
  EXPECT_EQ(miraSheet.Text(1, 5 + jd), "Mirastern");
  EXPECT_FALSE(miraSheet.Text(2, 1).empty());
  for (int c = 2; c <= 6; ++c) EXPECT_TRUE(miraSheet.Text(2, c).empty()) << c;

  // A period shorter than the star's without an extremum.
  Tvareph none(Kassel(60000.0), Kassel(60010.0), stars.at("Mira_(Omicron_Cet)"), config, TTheorySelection{}, 0);
  none.schleife(0);
  EXPECT_TRUE(none.Results().empty());
  workbook::TWorkbook noneSheet;
  none.paint(&noneSheet, nullptr, 1, settings);
  EXPECT_EQ(noneSheet.Text(1, 2), "Kein Minimum bzw. Maximum zwischen 25.2.2023 und 7.3.2023 gefunden!");

  // Periods that cannot be stepped are refused before the loop.
  RecordingMessageSink messages;
  ScopedMessageSink sink(messages);
  for (double period : {0.0, -1.0, std::nan("")}) {
    TVariableStarElements bad = stars.at("Algol_(Beta_Per)");
    bad.Period = period;
    Tvareph t(Kassel(60370.0), Kassel(60430.0), bad, config, TTheorySelection{}, 0);
    t.schleife(0);
    EXPECT_TRUE(t.Results().empty());
  }
  ASSERT_EQ(messages.messages.size(), 3u);
  EXPECT_EQ(messages.messages[0].text, "Die Periode des Sterns muss positiv sein.");
  // A tiny period stops at the row limit instead of running on.
  TVariableStarElements fast = stars.at("Algol_(Beta_Per)");
  fast.Period = 1e-4;
  Tvareph t(Kassel(60370.0), Kassel(60430.0), fast, config, TTheorySelection{}, 0);
  t.schleife(0);
  EXPECT_EQ(t.Results().size(), 16382u);
  EXPECT_EQ(t.RowLimitReached, 1);
}

}  // namespace
}  // namespace kvx
