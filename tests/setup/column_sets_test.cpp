#include "setup/column_sets.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <vector>

#include "core/name_tables.h"
#include "core/quantity_headings.h"

namespace kvx {
namespace {

std::set<int> OnBytes(const TColumnFlags& flags) {
  std::set<int> on;
  for (std::size_t k = 0; k < flags.size(); ++k) {
    if (flags[k] != 0) on.insert(static_cast<int>(k));
  }
  return on;
}

std::set<int> Bytes(std::initializer_list<std::pair<int, int>> ranges) {
  std::set<int> out;
  for (auto [from, to] : ranges) {
    for (int k = from; k <= to; ++k) out.insert(k);
  }
  return out;
}

// The reserved bytes after the used ones.
constexpr int kReservedFrom = static_cast<int>(kUsedColumnFlagCount), kReservedTo = static_cast<int>(kColumnFlagCount);

TColumnFlags AllOnWithReserved() {
  TColumnFlags flags;
  flags.fill(1);
  for (std::size_t k = kUsedColumnFlagCount; k < kColumnFlagCount; ++k) flags[k] = 7;
  return flags;
}

TEST(ColumnSets, DefaultSelectAllAndPresetsSwitchExactlyTheirBytes) {
  TColumnFlags flags = AllOnWithReserved();
  SetDefaultColumns(flags);
  std::set<int> expected = {0,  1,  2,  3,  4,  10, 11, 12, 14, 16, 17, 18, 19, 28, 29, 34, 35, 43, 44,
                            45, 46, 52, 58, 60, 62, 63, 64, 66, 70, 71, 80, 81, 82, 83, 84, 85, 86};
  for (int k = kReservedFrom; k < kReservedTo; ++k) expected.insert(k);  // reserved bytes untouched
  EXPECT_EQ(OnBytes(flags), expected);

  flags.fill(0);
  SelectAllColumns(flags);
  EXPECT_EQ(flags[4], 0);  // date and time
  EXPECT_EQ(OnBytes(flags), Bytes({{0, 3}, {5, kReservedFrom - 1}}));

  struct Preset {
    void (*apply)(TColumnFlags&);
    bool clearsReserved;
    std::set<int> on;
  };
  const Preset presets[] = {
      {ColumnPresetA, false, Bytes({{52, 52}, {54, 54}, {58, 58}, {60, 60}, {62, 66}, {70, 71}, {73, 85}})},
      {ColumnPresetB, false, {4, 43, 44, 45, 46, 50}},
      {ColumnPresetC, false, Bytes({{4, 5}, {12, 12}, {14, 14}, {20, 25}, {28, 29}, {43, 46}, {52, 52}, {58, 58}, {62, 62}})},
      {ColumnPresetD, false, {5, 96, 98, 99, 100, 101, 103, 104, 106}},
      {ColumnPresetE, true, Bytes({{4, 4}, {10, 12}, {14, 14}, {16, 19}, {30, 30}, {43, 46}, {50, 50}, {52, 52},
                                   {54, 54}, {58, 58}, {60, 60}, {62, 66}, {70, 71}, {73, 85}})},
      {ColumnPresetF, true, Bytes({{4, 4}, {12, 12}, {14, 14}, {24, 30}, {43, 46}, {50, 50}, {52, 52}, {54, 54},
                                   {56, 56}, {58, 58}, {60, 60}, {62, 66}, {70, 71}, {73, 85}})},
      {ColumnPresetG, false, Bytes({{4, 4}, {12, 12}, {14, 14}, {24, 25}, {28, 29}, {43, 46}, {52, 52}, {58, 58}, {62, 62}})},
      {ColumnPresetH, false, Bytes({{4, 5}, {97, 101}, {103, 107}})},
  };
  for (const Preset& preset : presets) {
    flags = AllOnWithReserved();
    preset.apply(flags);
    std::set<int> expectedOn = preset.on;
    if (!preset.clearsReserved) {
      for (int k = kReservedFrom; k < kReservedTo; ++k) expectedOn.insert(k);
    }
    EXPECT_EQ(OnBytes(flags), expectedOn);  // summaries 0-3 cleared by every preset
  }
}

// The summaries follow the documented byte lists, whatever the flags.
TEST(ColumnSets, SummariesFollowTheGroupRule) {
  const std::set<int> coordinates = [] {
    std::set<int> s = Bytes({{9, 36}, {87, 95}});
    s.insert(75);
    s.insert(109);
    return s;
  }();
  const std::set<int> topocentric = Bytes({{31, 33}, {36, 51}, {112, 113}});
  const std::set<int> physical = [] {
    std::set<int> s = Bytes({{52, 86}});
    s.insert(110);
    return s;
  }();
  const std::set<int> elements = Bytes({{96, 108}});
  auto any = [](const TColumnFlags& f, const std::set<int>& bytes) {
    for (int b : bytes) {
      if (f[static_cast<std::size_t>(b)] != 0) return 1;
    }
    return 0;
  };
  std::mt19937 random(12);
  for (int round = 0; round < 400; ++round) {
    TColumnFlags flags{};
    const int switched = 1 + static_cast<int>(random() % 3);
    for (int k = 0; k < switched; ++k) flags[4 + random() % 130] = 1;
    RecomputeColumnSummaries(flags);
    ASSERT_EQ(flags[0], any(flags, coordinates));
    ASSERT_EQ(flags[1], any(flags, topocentric));
    ASSERT_EQ(flags[2], any(flags, physical));
    ASSERT_EQ(flags[3], any(flags, elements));
  }
  TColumnFlags onlyReserved{};
  onlyReserved[120] = 1;
  onlyReserved[0] = 1;
  RecomputeColumnSummaries(onlyReserved);
  EXPECT_EQ(onlyReserved[0], 0);
}

TEST(ColumnSets, NewRecordsTakeTheirTitlesFromTheCurrentLanguage) {
  InitAstroNameTables();
  SetQuantityHeadingLanguage(true);
  TTableConfigRecord english = NewTableConfigRecord();
  SetQuantityHeadingLanguage(false);
  TTableConfigRecord german = NewTableConfigRecord();
  EXPECT_EQ(english.ColumnTitles[47], "Alt.");
  EXPECT_EQ(german.ColumnTitles[47], "h");
  EXPECT_EQ(english.ColumnTitles[19], "Dec \"/h");
  EXPECT_EQ(german.ColumnTitles[15], "Erdrad.");
  EXPECT_EQ(english.ColumnTitles[kColumnTitleCount - 1], "Neu/New");
  EXPECT_EQ(english.Flags, german.Flags);
  EXPECT_EQ(german.Flags[column_flag::kDateOnly], 1);
  // Every default heading fits its 101-character slot without loss.
  for (const TQuantityHeading& h : QuantityHeadings) {
    for (const char* text : {h.german, h.english}) {
      TTableConfigRecord r;
      r.ColumnTitles[0] = text;
      EXPECT_EQ(DecodeTableConfigRecord(EncodeTableConfigRecord(r)).ColumnTitles[0], text);
    }
  }
}

}  // namespace
}  // namespace kvx
