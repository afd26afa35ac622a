// The committed world city database (tools/make_world_cities.py) and the
// zone offsets from the system time zone database.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <regex>
#include <sstream>

#include "core/text_conversion.h"
#include "platform/text_encoding.h"
#include "setup/city_zones.h"
#include "setup/edit_rules.h"
#include "setup/world_cities.h"
#include "support/fixtures.h"

namespace kvx {
namespace {

TEST(WorldCityDataTest, RecordsIndexAndZonesAgree) {
  const std::string folder = KVX_DATA_DIR;
  TCityFile file;
  ASSERT_TRUE(file.Open(folder + "/cities.ved"));
  EXPECT_EQ(file.Count(), 24361);
  std::string indexText, error;
  ASSERT_TRUE(ReadFileBytes(folder + "/index.ved", indexText, error));
  TCityIndex index{};
  ASSERT_TRUE(ParseCityIndex(indexText, file.Count(), index));
  // Every record lies in the run of its own group.
  for (int g = 0; g < kCityGroupCount; ++g) {
    for (std::int64_t n = index[g]; n < index[g + 1]; ++n) {
      const std::string_view name = file.Name(n);
      ASSERT_FALSE(name.empty()) << n;
      ASSERT_EQ(CityGroup(FoldCase1252(static_cast<std::uint8_t>(name[0]))), g) << n;
      ASSERT_TRUE(file.Record(n).Usable()) << n;
    }
  }
  const std::vector<std::string> zones = LoadCityZones(folder + "/cities.zones");
  ASSERT_EQ(zones.size(), static_cast<std::size_t>(file.Count()));

  // A few cities against their GeoNames coordinates (single precision;
  // longitudes stored east negative), found by the search itself.
  struct City {
    const char* name;
    double latitude, longitude;  // GeoNames, east positive
    const char* zone;
  };
  const City cities[] = {{"Berlin", 52.52437, 13.41053, "Europe/Berlin"},
                         {"Kolkata", 22.56263, 88.36304, "Asia/Kolkata"},
                         {"St. John's", 47.56494, -52.70931, "America/St_Johns"},
                         {"Düsseldorf", 51.22172, 6.77616, "Europe/Berlin"},
                         {"Örebro", 59.27412, 15.2066, "Europe/Stockholm"}};  // sorted behind z
  for (const City& city : cities) {
    const TCitySearchResult found = SearchCities(file, index, city.name, 3, nullptr, nullptr);
    bool matched = false;
    for (std::int64_t n : found.Matches) {
      const tcitieobj record = file.Record(n);
      if (Cp1252ToUtf8(record.Name) != city.name) continue;
      matched = true;
      EXPECT_EQ(record.Latitude, static_cast<float>(city.latitude)) << city.name;
      EXPECT_EQ(record.Longitude, static_cast<float>(-city.longitude)) << city.name;
      EXPECT_EQ(zones[n - 1], city.zone);
    }
    EXPECT_TRUE(matched) << city.name;
  }
}

TEST(WorldCityDataTest, ZoneOffsetsFollowTheTimeZoneDatabase) {
  const test::FixtureTable table = test::ReadFixture(std::string(KVX_FIXTURE_DIR) + "/zone_offsets.tsv");
  ASSERT_GT(table.Rows(), 8u);
  for (std::size_t row = 0; row < table.Rows(); ++row) {
    TZoneOffsets offsets;
    const std::string& name = table.text[row][table.Column("zone")];
    ASSERT_TRUE(ZoneOffsetsAt(name, table.Number(row, "mjd"), offsets)) << name;
    EXPECT_EQ(offsets.Zone, table.Number(row, "zone_hours")) << name;  // exact
    EXPECT_EQ(offsets.ZoneMinutes, table.Number(row, "zone_minutes")) << name;
    EXPECT_EQ(offsets.DaylightHours, table.Number(row, "daylight_hours")) << name;
  }
  TZoneOffsets untouched{7, 7, 7};
  EXPECT_FALSE(ZoneOffsetsAt("Nowhere/Atlantis", 60000, untouched));
  EXPECT_FALSE(ZoneOffsetsAt("", 60000, untouched));
  EXPECT_FALSE(ZoneOffsetsAt("Europe/Berlin", NAN, untouched));
  EXPECT_EQ(untouched.Zone, 7);
}


// The examples of the guides' section on typing angles, German and English:
// per city the latitude and longitude (east negative) as decimal degrees
// and as degrees and minutes, and the time zone; then the same places in
// D.MMSS for the location-file editor. Each figure is measured against the
// shipped world database: both notations, read as the dialogs read them
// (ReadDegreeText), and the D.MMSS forms lie within 1' of the city's
// GeoNames place (the rounding of the minutes), and the zone is the
// standard offset of the city's IANA zone in January 2026.
TEST(WorldCityDataTest, TheGuidesAngleExamplesAreTheCitiesPlaces) {
  const std::string folder = KVX_DATA_DIR;
  TCityFile file;
  ASSERT_TRUE(file.Open(folder + "/cities.ved"));
  std::string indexText, error;
  ASSERT_TRUE(ReadFileBytes(folder + "/index.ved", indexText, error));
  TCityIndex index{};
  ASSERT_TRUE(ParseCityIndex(indexText, file.Count(), index));
  const std::vector<std::string> zones = LoadCityZones(folder + "/cities.zones");
  const char* cities[] = {"Tromsø", "New York", "Buenos Aires"};  // the rows' order
  const std::regex code("`([^`]*)`");
  const std::regex pair("`([^`]*)`/`([^`]*)`");
  for (const char* language : {"de", "en"}) {
    SCOPED_TRACE(std::string("guide-") + language);
    std::ifstream in(folder + "/help/guide-" + language + ".md");
    std::vector<std::vector<std::string>> rows;  // per city: the cells' code texts, then the zone
    std::vector<std::pair<std::string, std::string>> packed;
    for (std::string line; std::getline(in, line);) {
      for (const char* city : cities) {
        if (line.rfind(std::string("| ") + city + " (", 0) != 0) continue;
        std::vector<std::string> cells;
        for (std::sregex_iterator it(line.begin(), line.end(), code), end; it != end; ++it) cells.push_back((*it)[1]);
        cells.push_back(line.substr(line.find_last_of('|', line.size() - 2) + 1));
        rows.push_back(cells);
      }
      if (rows.size() == 3 && packed.size() < 3) {  // the sentence after the table
        for (std::sregex_iterator it(line.begin(), line.end(), pair), end; it != end; ++it) {
          packed.emplace_back((*it)[1], (*it)[2]);
        }
      }
    }
    ASSERT_EQ(rows.size(), 3u);
    ASSERT_EQ(packed.size(), 3u);
    for (std::size_t c = 0; c < 3; ++c) {
      SCOPED_TRACE(cities[c]);
      const TCitySearchResult found = SearchCities(file, index, cities[c], 3, nullptr, nullptr);
      std::int64_t record = 0;
      for (std::int64_t n : found.Matches) {
        if (Cp1252ToUtf8(file.Record(n).Name) == cities[c]) record = n;
      }
      ASSERT_GT(record, 0);
      const tcitieobj place = file.Record(record);
      ASSERT_EQ(rows[c].size(), 5u);  // latitude twice, longitude twice, zone
      for (int i = 0; i < 4; ++i) {
        double degrees = 0;
        ASSERT_TRUE(ReadDegreeText(rows[c][i], degrees)) << rows[c][i];
        EXPECT_NEAR(degrees, i < 2 ? place.Latitude : place.Longitude, 1.0 / 60) << rows[c][i];
      }
      EXPECT_NEAR(DmsPackedToDeg(std::stod(packed[c].first)), place.Latitude, 1.0 / 60) << packed[c].first;
      EXPECT_NEAR(DmsPackedToDeg(std::stod(packed[c].second)), place.Longitude, 1.0 / 60) << packed[c].second;
      TZoneOffsets offsets;
      ASSERT_TRUE(ZoneOffsetsAt(zones[record - 1], 61055.0, offsets));  // 2026 Jan 15
      EXPECT_EQ(offsets.Zone, std::stoi(rows[c][4]));
      EXPECT_EQ(offsets.ZoneMinutes, 0);
    }
  }
}

}  // namespace
}  // namespace kvx
