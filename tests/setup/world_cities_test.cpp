#include "setup/world_cities.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kvx {
namespace {

TEST(WorldCitiesTest, Wildcards) {
  // The examples of the search help (names folded to lower case).
  EXPECT_TRUE(MatchesWildcard("borken", "borke?"));
  EXPECT_TRUE(MatchesWildcard("borkel", "borke?"));
  EXPECT_FALSE(MatchesWildcard("borkenes", "borke?"));
  EXPECT_TRUE(MatchesWildcard("birken", "b?rken"));
  EXPECT_FALSE(MatchesWildcard("birkenau", "b?rken"));
  EXPECT_TRUE(MatchesWildcard("birkenau", "b?rken*"));
  EXPECT_TRUE(MatchesWildcard("berlin", "b?rlin"));
  EXPECT_TRUE(MatchesWildcard("oberhausen", "*ber*"));
  EXPECT_TRUE(MatchesWildcard("ber", "*ber*"));
  EXPECT_FALSE(MatchesWildcard("bxer", "*ber*"));
  EXPECT_TRUE(MatchesWildcard("abcabd", "*ab?"));  // the star gives back characters
  EXPECT_FALSE(MatchesWildcard("", "?"));
  EXPECT_TRUE(MatchesWildcard("", "*"));
  // Sets, ranges, negation; a "[" at the end, "[[" or "[]" match nothing.
  EXPECT_TRUE(MatchesWildcard("berlin", "[abc]erlin"));
  EXPECT_TRUE(MatchesWildcard("merlin", "[a-z]erlin"));
  EXPECT_FALSE(MatchesWildcard("9erlin", "[a-z]erlin"));
  EXPECT_FALSE(MatchesWildcard("berlin", "[^b]erlin"));
  EXPECT_TRUE(MatchesWildcard("kerlin", "[^b]erlin"));
  EXPECT_TRUE(MatchesWildcard("-x", "[a-]x"));
  EXPECT_FALSE(MatchesWildcard("b", "b["));
  EXPECT_FALSE(MatchesWildcard("b[", "b["));
  EXPECT_FALSE(MatchesWildcard("bb", "b[[b]"));
  EXPECT_FALSE(MatchesWildcard("b]", "b[]"));
  EXPECT_FALSE(MatchesWildcard("bx", "b[x"));
  EXPECT_FALSE(MatchesWildcard("xyzzy", "*[a"));
}

TEST(WorldCitiesTest, ZoneEstimateFoldingAndGroups) {
  EXPECT_EQ(EstimatedZone(-13.4), 1);
  EXPECT_EQ(EstimatedZone(7.4), 0);
  EXPECT_EQ(EstimatedZone(-7.6), 1);
  EXPECT_EQ(EstimatedZone(100), -7);
  EXPECT_EQ(EstimatedZone(0), 0);
  EXPECT_EQ(FoldCase1252("BERLIN \xC4\xD6\xDC\xD7\x8A"), "berlin \xE4\xF6\xFC\xD7\x9A");
  EXPECT_EQ(CityGroup(' '), 0);
  EXPECT_EQ(CityGroup('a'), 1);
  EXPECT_EQ(CityGroup('z'), 26);
  EXPECT_EQ(CityGroup(0xE4), 26);  // accented letters sit behind z
}

// Builds a record file of the given names (already in group order).
std::string Records(const std::vector<std::pair<std::string, float>>& cities) {
  std::string bytes;
  for (const auto& [name, longitude] : cities) {
    char record[kCityRecordSize] = {};
    const float latitude = 50.0f;
    std::memcpy(record, &longitude, 4);
    std::memcpy(record + 4, &latitude, 4);
    record[8] = static_cast<char>(name.size());
    std::memcpy(record + 9, name.data(), std::min(name.size(), std::size_t{35}));
    bytes.append(record, kCityRecordSize);
  }
  return bytes;
}

TEST(WorldCitiesTest, IndexChecksAndSearch) {
  TCityFile file;
  file.Assign(Records({{"Aachen", -6.1f}, {"Berlin", -13.4f}, {"Bern", -7.4f}, {"Bonn", -7.1f},
                       {"Oberhausen", -6.9f}, {"\xC4mari", -21.0f}}));
  // group 0 empty, a: 1, b: 2-4, c..o: 5, o: 5, p..z: 6, z: 6 (Ämari folds behind z)
  std::string indexText;
  for (int g = 0; g <= 27; ++g) {
    int start = g <= 1 ? 1 : g == 2 ? 2 : g <= 15 ? 5 : g <= 26 ? 6 : 7;
    indexText += std::to_string(start) + "\r\n";
  }
  TCityIndex index{};
  ASSERT_TRUE(ParseCityIndex(indexText, file.Count(), index));
  TCityIndex untouched = index;
  EXPECT_FALSE(ParseCityIndex(indexText, 7, index));                   // last is not count + 1
  EXPECT_FALSE(ParseCityIndex(indexText.substr(0, 20), 6, index));     // short
  EXPECT_FALSE(ParseCityIndex("2\n" + indexText.substr(3), 6, index));  // first is not 1
  std::string descending = indexText;
  descending.replace(descending.find("5\r\n"), 1, "1");
  EXPECT_FALSE(ParseCityIndex(descending, 6, index));
  EXPECT_FALSE(ParseCityIndex("x\n" + indexText, 6, index));
  EXPECT_EQ(index, untouched);

  // Plain text below the full length jumps to the first match; at the full
  // length every match of the group is listed; patterns; accented capitals.
  EXPECT_EQ(SearchCities(file, index, "BE", 3, nullptr, nullptr).JumpTo, 2);
  EXPECT_EQ(SearchCities(file, index, "ber", 3, nullptr, nullptr).Matches, (std::vector<std::int64_t>{2, 3}));
  EXPECT_EQ(SearchCities(file, index, "b?nn", 3, nullptr, nullptr).Matches, (std::vector<std::int64_t>{4}));
  EXPECT_EQ(SearchCities(file, index, "o*ber*", 3, nullptr, nullptr).Matches, (std::vector<std::int64_t>{5}));
  EXPECT_EQ(SearchCities(file, index, "ÄMA", 3, nullptr, nullptr).Matches, (std::vector<std::int64_t>{6}));
  EXPECT_TRUE(SearchCities(file, index, "xyz", 3, nullptr, nullptr).Matches.empty());

  const tcitieobj bonn = file.Record(4);
  EXPECT_EQ(bonn.Name, "Bonn");
  EXPECT_FLOAT_EQ(bonn.Longitude, -7.1f);
  EXPECT_TRUE(bonn.Usable());
  EXPECT_FALSE((tcitieobj{200.0f, 0.0f, "x"}).Usable());

  // A length byte above 35 is clamped; the stop flag ends a long scan.
  std::string many;
  for (int i = 0; i < 5000; ++i) many += Records({{"Bad", 0.0f}});
  many[8] = 60;
  file.Assign(many);
  EXPECT_EQ(file.Name(1).size(), 35u);
  std::string manyIndex = "1\n1\n1\n";
  for (int g = 3; g <= 27; ++g) manyIndex += "5001\n";
  ASSERT_TRUE(ParseCityIndex(manyIndex, 5000, index));
  std::atomic<bool> stop{false};
  int pumps = 0;
  const auto stopped = SearchCities(file, index, "bad", 3, [&] { stop = ++pumps == 2; }, &stop);
  EXPECT_TRUE(stopped.Stopped);
  EXPECT_FALSE(stop.load());
  EXPECT_EQ(stopped.Matches.size(), 2047u);
}

}  // namespace
}  // namespace kvx
