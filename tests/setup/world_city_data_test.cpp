// The committed world city database (tools/make_world_cities.py) and the
// zone offsets from the system time zone database.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/text_encoding.h"
#include "setup/city_zones.h"
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

}  // namespace
}  // namespace kvx
