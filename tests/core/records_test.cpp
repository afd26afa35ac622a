#include "core/records.h"

#include <gtest/gtest.h>

#include <memory>

namespace kvx {
namespace {

TEST(Records, UserObjectsStoreUnpackedAnglesAndOwnedByTheirList) {
  tuserobject ngc("NGC 224", 0.4244f, 41.1609f, 3.4f, 178.0f, 63.0f, 0.0f);
  EXPECT_NEAR(ngc.Angle1, 0.0 + 42.0 / 60 + 44.0 / 3600, 1e-6);
  EXPECT_NEAR(ngc.Angle2, 41.0 + 16.0 / 60 + 9.0 / 3600, 1e-5);
  EXPECT_FLOAT_EQ(ngc.Value3, 3.4f);
  EXPECT_FLOAT_EQ(ngc.Value6, 0.0f);
  tuserobject south("S", -0.3f, -12.3f, 0, 0, 0, 0);
  EXPECT_NEAR(south.Angle1, -0.5, 1e-6);
  EXPECT_NEAR(south.Angle2, -12.5, 1e-5);
  tuserobject longName(std::string(300, 'x'), 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(longName.Name.size(), 255u);

  tuserlist list;
  list.Add(std::make_unique<tuserobject>("A", 1.0f, 2.0f, 0, 0, 0, 0));
  list.Add(std::make_unique<tuserobject>("B", 1.0f, 2.0f, 0, 0, 0, 0));
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Item(1)->Name, "B");
  EXPECT_EQ(list.Item(2), nullptr);
  EXPECT_EQ(list.Item(-1), nullptr);
  EXPECT_EQ(ObjectNameByIndex(&list, 1), "B");
  EXPECT_EQ(ObjectNameByIndex(&list, 2), "");
  EXPECT_EQ(ObjectNameByIndex(&list, -1), "");
  EXPECT_EQ(ObjectNameByIndex(nullptr, 0), "");
  list.clear();
  EXPECT_EQ(list.Count(), 0);
  list.clear();
}

TEST(Records, EventsCopyEveryArgumentIntoItsField) {
  TObserverRecord observer;
  observer.Day = 4;
  observer.PlaceName = "Sonneberg";
  talmanachevent e("Almanach", "Mars", "Opposition", 1, observer, 1, 2, 3, 4, 5, 6, 7, 8, 9, "t3", "t4", "t5", 2);
  observer.Day = 5;  // the event keeps its own copy
  EXPECT_EQ(e.AlmanacText, "Almanach");
  EXPECT_EQ(e.Text1, "Mars");
  EXPECT_EQ(e.Text2, "Opposition");
  EXPECT_EQ(e.Text3, "t3");
  EXPECT_EQ(e.Text5, "t5");
  EXPECT_EQ(e.Flag1, 1);
  EXPECT_EQ(e.Flag2, 2);
  EXPECT_EQ(e.Value1, 1);
  EXPECT_EQ(e.Value9, 9);
  EXPECT_EQ(e.Observer.Day, 4);
  EXPECT_EQ(e.Observer.PlaceName, "Sonneberg");
  std::unique_ptr<tEvent> base = std::make_unique<talmanachevent>(e);
  EXPECT_EQ(static_cast<talmanachevent&>(*base).AlmanacText, "Almanach");

  EXPECT_EQ(EventMissingValueMarker(3), -90);
  EXPECT_EQ(EventMissingValueMarker(4), -90);
  EXPECT_EQ(EventMissingValueMarker(7), -90);
  EXPECT_EQ(EventMissingValueMarker(5), -360);
  EXPECT_EQ(EventMissingValueMarker(6), -360);
  EXPECT_EQ(EventMissingValueMarker(8), -100);
  EXPECT_EQ(EventMissingValueMarker(9), -100);
  EXPECT_EQ(EventMissingValueMarker(1), 0);

  tjahreszeitergebnis seasons;
  EXPECT_EQ(seasons.Seasons.size(), 4u);
  try {
    throw EmpecFileError("Kein Zirkular");
  } catch (const std::exception& error) {
    EXPECT_STREQ(error.what(), "Kein Zirkular");
  }
}

}  // namespace
}  // namespace kvx
