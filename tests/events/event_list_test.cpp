// The event list: key order, time order under one key, duplicates, removal
// by pointer and position, the view by instant; the named accessors and the
// missing-value markers of an event.
#include "events/event_list.h"

#include <gtest/gtest.h>

#include <limits>

namespace kvx {
namespace {

std::unique_ptr<tEvent> MakeEvent(double mjd, const std::string& name = "Mars") {
  return std::make_unique<tEvent>(name, "Opposition", 6, TObserverRecord{}, mjd, 1.5, EventMissingValueMarker(3),
                                  EventMissingValueMarker(4), EventMissingValueMarker(5), EventMissingValueMarker(6),
                                  EventMissingValueMarker(7), EventMissingValueMarker(8), EventMissingValueMarker(9),
                                  "AE", "", "", 2);
}

TEST(EventList, OrdersByKeyThenInstantKeepsDuplicatesAndRemoves) {
  TEventList list;
  EXPECT_EQ(list.Add("b", MakeEvent(300)), 0);
  EXPECT_EQ(list.Add("a", MakeEvent(500)), 0);
  EXPECT_EQ(list.Add("b", MakeEvent(100)), 1);  // same key, earlier instant: before the other "b"
  EXPECT_EQ(list.Add("b", MakeEvent(300, "Venus")), 3);  // duplicate key and instant: after the first
  EXPECT_EQ(list.Add("b", MakeEvent(std::numeric_limits<double>::quiet_NaN())), 4);
  EXPECT_EQ(list.Add("a", nullptr), -1);
  ASSERT_EQ(list.Count(), 5);
  EXPECT_EQ(list.Key(0), "a");
  EXPECT_DOUBLE_EQ(list.At(1).Mjd(), 100);
  EXPECT_EQ(list.At(2).ObjectName(), "Mars");
  EXPECT_EQ(list.At(3).ObjectName(), "Venus");

  const auto byInstant = list.ByInstant();
  ASSERT_EQ(byInstant.size(), 5u);
  EXPECT_DOUBLE_EQ(byInstant[0]->Mjd(), 100);
  EXPECT_EQ(byInstant[1]->ObjectName(), "Mars");
  EXPECT_EQ(byInstant[2]->ObjectName(), "Venus");
  EXPECT_DOUBLE_EQ(byInstant[3]->Mjd(), 500);

  const tEvent* venus = &list.At(3);
  EXPECT_TRUE(list.Remove(venus));
  EXPECT_FALSE(list.Remove(venus));
  EXPECT_FALSE(list.RemoveAt(4));
  EXPECT_TRUE(list.RemoveAt(0));
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Key(0), "b");
  list.Clear();
  EXPECT_TRUE(list.Empty());
}

TEST(EventList, AccessorsNameTheFieldsAndMarkersReadAsMissing) {
  const auto e = MakeEvent(51544.5);
  EXPECT_DOUBLE_EQ(e->Value(), 1.5);
  EXPECT_EQ(e->SecondName(), "Opposition");
  EXPECT_EQ(e->Unit(), "AE");
  EXPECT_EQ(e->Kind(), 6);
  EXPECT_EQ(e->ConjunctionKind(), 2);
  for (int n = 3; n <= 9; ++n) EXPECT_TRUE(e->IsMissing(n)) << n;
  EXPECT_FALSE(e->IsMissing(2));
  EXPECT_DOUBLE_EQ(e->SunAltitude(), -90);
  EXPECT_DOUBLE_EQ(e->Angle2(), -360);
  EXPECT_DOUBLE_EQ(e->Magnitude1(), -100);
}

}  // namespace
}  // namespace kvx
