#include "core/name_tables.h"

#include <gtest/gtest.h>

#include <climits>

#include "platform/text_encoding.h"

namespace kvx {
namespace {

class NameTables : public ::testing::Test {
 protected:
  void SetUp() override { InitCoreTablesAtStartup(TIntlSeparators{}); }
  void TearDown() override { InitCoreTablesAtStartup(TIntlSeparators{}); }
};

TEST_F(NameTables, StartUpFillsCommaPatternsFirstThenFollowsTheLocale) {
  TIntlSeparators dotLocale;
  dotLocale.Decimal = '.';
  dotLocale.Time = '.';
  InitAstroNameTables();
  // Before the locale is read the patterns carry the comma.
  EXPECT_EQ(DecimalPatternTable[0], "0");
  EXPECT_EQ(DecimalPatternTable[1], "0,0");
  EXPECT_EQ(DecimalPatternTable[15], "0," + std::string(15, '0'));

  ApplyLocaleSeparators(dotLocale);
  EXPECT_EQ(DecimalPatternTable[0], "0");
  EXPECT_EQ(DecimalPatternTable[3], "0.000");
  EXPECT_EQ(DecimalPatternTable[15], "0." + std::string(15, '0'));
  EXPECT_EQ(TimePatternHms, "h.mm.ss");
  EXPECT_EQ(TimePatternHm, "h.mm");
  EXPECT_EQ(IntlSeparators.Decimal, '.');

  // The whole sequence in its order gives the same.
  TIntlSeparators german;
  german.Decimal = ',';
  german.Time = ':';
  InitCoreTablesAtStartup(german);
  EXPECT_EQ(DecimalPatternTable[2], "0,00");
  EXPECT_EQ(TimePatternHms, "h:mm:ss");
  EXPECT_EQ(TimePatternHm, "h:mm");
}

TEST_F(NameTables, InitFormatStringsFollowsAChangedTimeSeparator) {
  IntlSeparators.Time = '.';
  InitFormatStrings();
  EXPECT_EQ(TimePatternHms, "h.mm.ss");
  EXPECT_LE(Utf8Length(TimePatternHms), 10u);
  EXPECT_LE(Utf8Length(TimePatternHm), 8u);
}

TEST_F(NameTables, ZoneAndWeekdayLookupsStayInsideTheirTables) {
  EXPECT_EQ(ZoneName(-12), "Neuseelandzeit");
  EXPECT_EQ(ZoneName(12), "Neuseelandzeit");
  EXPECT_EQ(ZoneName(0), "UT");
  EXPECT_EQ(ZoneName(1), "MEZ");
  EXPECT_EQ(ZoneName(13), "");
  EXPECT_EQ(ZoneName(-13), "");
  EXPECT_EQ(ZoneName(INT_MIN), "");

  EXPECT_EQ(WeekdayName(0), "Sonntag");
  EXPECT_EQ(WeekdayName(6), "Samstag");
  EXPECT_EQ(WeekdayName(7), "Sonntag");
  // Early dates give negative day counts: floored, not truncated.
  EXPECT_EQ(WeekdayName(-1), "Samstag");
  EXPECT_EQ(WeekdayName(-7), "Sonntag");
  EXPECT_EQ(WeekdayName(-8), "Samstag");
  EXPECT_EQ(WeekdayName(LLONG_MIN), WeekdayNames[FlooredModulo(LLONG_MIN, 7)]);
  EXPECT_EQ(FlooredModulo(-1, 7), 6);

  EXPECT_EQ(NameAt(PlanetNames, 3), "Mars");
  EXPECT_EQ(NameAt(PlanetNames, 9), "");
  EXPECT_EQ(NameAt(PlanetNames, -1), "");
  EXPECT_EQ(NameAt(EventKindNames, kEventKindNameCount), "");
  EXPECT_EQ(NameAt(SearchBodyNames, 3), "Mars");  // no Earth in the search list
}

TEST_F(NameTables, NameTablesHoldTheirTextsWithinTheirLengths) {
  EXPECT_EQ(DaylightSavingMarks[0], "WZ");
  EXPECT_EQ(DaylightSavingMarks[1], "SZ");
  EXPECT_EQ(SeasonNames[0], "Frühling");
  EXPECT_EQ(VsopBodyNames[3], "Erde/Mond Baryzentrum");
  EXPECT_EQ(SunAndPlanetNames[0], "Sonne");
  EXPECT_EQ(SunAndPlanetNames[10], "");
  EXPECT_EQ(EventKindNames[search_code::kElongationEast], "Größte östliche Elongation");
  EXPECT_EQ(EventKindNames[almanac_entry::kConjunction], "Konjunktion");
  EXPECT_EQ(ZoneNames[20], "Chines. Küstenz.");

  // Lengths in characters of the stored single-byte form.
  auto maxLength = [](const auto& table) {
    std::size_t n = 0;
    for (const std::string& s : table) n = std::max(n, Utf8ToCp1252(s).size());
    return n;
  };
  EXPECT_LE(maxLength(WeekdayNames), 10u);
  EXPECT_LE(maxLength(SeasonNames), 9u);  // zero-terminated arrays of 10
  EXPECT_LE(maxLength(PlanetNames), 9u);
  EXPECT_LE(maxLength(VsopBodyNames), 21u);
  EXPECT_LE(maxLength(SunAndPlanetNames), 10u);
  EXPECT_LE(maxLength(SearchBodyNames), 10u);
  EXPECT_LE(maxLength(DefaultColumnHeadings), 101u);
  EXPECT_LE(maxLength(DefaultColumnDescriptions), 101u);
  for (const std::string& s : DefaultColumnDescriptions) {
    EXPECT_FALSE(s.empty());
    EXPECT_EQ(Utf8ToCp1252(s).find('?'), std::string::npos) << s;  // every character fits the files
  }
}

// The format defaults, group by group as they are documented for the users.
TEST_F(NameTables, QuantityDefaultsFollowTheDocumentedGroups) {
  const int hoursText[] = {16, 23, 26, 48, 51, 94, 96};
  for (int i : hoursText) EXPECT_EQ(DataFormatKind[i], kFormatHoursText) << i;
  int counts[4] = {};
  for (int i = 0; i < kQuantityCount; ++i) ++counts[DataFormatKind[i]];
  EXPECT_EQ(counts[kFormatText], 47);
  EXPECT_EQ(counts[kFormatHoursText], 7);
  EXPECT_EQ(counts[kFormatDecimalHours], 0);

  int decimals[9] = {};
  for (int i = 0; i < kQuantityCount; ++i) {
    ASSERT_LE(DataFormatDecimals[i], 8) << i;
    ++decimals[DataFormatDecimals[i]];
  }
  EXPECT_EQ(decimals[1], 54);
  EXPECT_EQ(decimals[2], 33);
  EXPECT_EQ(decimals[3], 8);
  EXPECT_EQ(decimals[4], 27);
  EXPECT_EQ(decimals[5], 19);
  EXPECT_EQ(decimals[6], 1);
  EXPECT_EQ(decimals[7], 1);
  EXPECT_EQ(decimals[8], 41);
  EXPECT_EQ(DataFormatDecimals[142], 6);
  EXPECT_EQ(DataFormatDecimals[199], 7);
  EXPECT_EQ(DataFormatDecimals[192], 8);
  EXPECT_EQ(DataFormatKind[192], kFormatText);

  EXPECT_EQ(DefaultColumnHeadings[0], "Datum");
  EXPECT_EQ(DefaultColumnHeadings[18], "RA \"/h");
  EXPECT_EQ(DefaultColumnHeadings[19], "DK \"/h");
  EXPECT_EQ(DefaultColumnHeadings[20], "\"/h");
  EXPECT_EQ(DefaultColumnHeadings[167], "Distanz ''");
  EXPECT_EQ(DefaultColumnHeadings[200], "Art");
  EXPECT_EQ(DefaultColumnDescriptions[89], "Zeitgleichung (mm:ss)");
  EXPECT_EQ(DefaultColumnDescriptions[197], "Dunkele Nacht (Höhe Mond<0, Sonne<-18)");
  for (int i = kUsedFormatSlotCount; i < kQuantityCount; ++i) {
    EXPECT_EQ(DefaultColumnHeadings[i], "Neu/New");
    EXPECT_EQ(DataFormatKind[i], 0);
    EXPECT_EQ(DataFormatDecimals[i], 0);
  }
}

TEST_F(NameTables, InitialisationRestoresFormatsTheDialogsChanged) {
  DataFormatKind[16] = kFormatDecimalHours;
  DataFormatDecimals[16] = 2;
  DefaultColumnHeadings[16] = "Alpha";
  InitAstroNameTables();
  EXPECT_EQ(DataFormatKind[16], kFormatHoursText);
  EXPECT_EQ(DataFormatDecimals[16], 5);
  EXPECT_EQ(DefaultColumnHeadings[16], "RA");
}

}  // namespace
}  // namespace kvx
