// The event-kind table: the rules a row must keep so that the engine, the
// dialogs, the almanac and the writers, which all read it, agree.
#include "core/event_kinds.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace kvx {
namespace {

TEST(EventKinds, EveryRowKeepsTheRulesItsReadersRelyOn) {
  constexpr std::uint16_t kAlmanacBodyBits = (1u << 10) - 1;  // Sun .. Moon
  ASSERT_EQ(EventKindRows().size(), static_cast<std::size_t>(kEventKindCount));
  for (int k = 0; k < kEventKindCount; ++k) {
    SCOPED_TRACE(k);
    ASSERT_EQ(EventKindInfo(k), &EventKindRows()[static_cast<std::size_t>(k)]);
    const TEventKindInfo& row = *EventKindInfo(k);
    EXPECT_EQ(row.Code, k);
    // Offered somewhere; the almanac offers a kind only where the searches do.
    EXPECT_NE(row.Bodies, 0);
    EXPECT_EQ(row.AlmanacBodies & ~(row.Bodies & kAlmanacBodyBits), 0);
    // A refined kind needs the rate bound of its sign-change search; the
    // difference loop's kinds are refined.
    EXPECT_EQ(row.Refined(), row.Rate != TEventRate::None);
    if (row.Loop == TEventLoop::DifferenceToSun) {
      EXPECT_TRUE(row.Refined());
    }
    if (row.Rate == TEventRate::PerBody) {
      ASSERT_NE(row.RatePerBody, nullptr);
      for (int body = 0; body <= search_kind::kMoon; ++body) EXPECT_GT(row.RatePerBody[body], 0);
    }
    // A value shown has its unit and table format, and none without one.
    const bool shown = row.Transform != TEventValueTransform::None;
    EXPECT_EQ(shown, std::string(row.TableFormat) != "");
    EXPECT_EQ(shown, std::string(row.UnitGerman) != "" && std::string(row.UnitEnglish) != "");
    // The Moon's steps and window are the ones the searches can take.
    EXPECT_TRUE(row.MoonStep == 1 || row.MoonStep == 2 || row.MoonStep == 4);
    EXPECT_TRUE(row.MoonWindow == 0 || row.MoonWindow == 100);
    for (const TEventText* text : {&row.Name, &row.Caption, &row.AlmanacCaption}) {
      EXPECT_STRNE(text->German, "");
      EXPECT_STRNE(text->English, "");
    }
  }
  // Outside the table: no row, and no kind.
  EXPECT_FALSE(EventKindKnown(-1));
  EXPECT_FALSE(EventKindKnown(kEventKindCount));
  EXPECT_EQ(EventKindInfo(-1), nullptr);
  EXPECT_EQ(EventKindInfo(kEventKindCount), nullptr);
  // The almanac's own entries follow the kinds.
  EXPECT_EQ(almanac_entry::kSolarEclipse, kEventKindCount);
  EXPECT_STREQ(AlmanacEntryName(almanac_entry::kConjunction).English, "Conjunction");
}

}  // namespace
}  // namespace kvx
