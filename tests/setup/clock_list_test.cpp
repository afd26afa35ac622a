#include "setup/clock_list.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "platform/messages.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

TObserverRecord Place(const char* name, double longitude, double latitude, int zone) {
  TObserverRecord r;
  r.PlaceName = name;
  r.Longitude = longitude;
  r.Latitude = latitude;
  r.Zone = zone;
  return r;
}

TEST(ClockListTest, WholeRecordsAreReadAndBadOnesSkipped) {
  test::TempFolder folder;
  RecordingMessageSink sink;
  ScopedMessageSink guard(sink);
  const std::string path = folder.File("clocks.dat");
  TClockList clocks{tdatumortobjekt(Place("Berlin", -13.4, 52.5, 1)), tdatumortobjekt(Place("Perth", -115.9, -32, 8))};
  ASSERT_TRUE(SaveClocksFile(path, clocks));
  std::string bytes = test::TempFolder::Read(path);
  ASSERT_EQ(bytes.size(), 1472u);

  TClockList loaded{tdatumortobjekt(Place("old", 0, 0, 0))};
  ASSERT_TRUE(LoadClocksFile(folder.Write("partial.dat", bytes + std::string(28, 'x')), loaded));  // 1500 bytes
  ASSERT_EQ(loaded.size(), 2u);
  EXPECT_EQ(loaded[1].Text(), "Perth");
  EXPECT_EQ(loaded[0].Record.Zone, 1);

  // Latitude 91, longitude -181, zone 15, NaN, 1000 extra minutes, 3 hours
  // of daylight saving: each record is skipped; a zone of 13 hours, as clocks
  // were stored before, is zone 12 and 60 minutes.
  TClockList bad{tdatumortobjekt(Place("a", 0, 91, 0)),   tdatumortobjekt(Place("b", -181, 0, 0)),
                 tdatumortobjekt(Place("c", 0, 0, 15)),   tdatumortobjekt(Place("d", NAN, 0, 0)),
                 tdatumortobjekt(Place("e", 180, -90, -12)), tdatumortobjekt(Place("Nuku'alofa", -175.2, -21.1, 13)),
                 tdatumortobjekt(Place("f", 0, 0, 0)),    tdatumortobjekt(Place("g", 0, 0, 0))};
  bad[6].Record.ZoneMinutes = 1000;
  bad[7].Record.DaylightHours = 3;
  ASSERT_TRUE(SaveClocksFile(path, bad));
  ASSERT_TRUE(LoadClocksFile(path, loaded));
  ASSERT_EQ(loaded.size(), 2u);
  EXPECT_EQ(loaded[0].Text(), "e");
  EXPECT_EQ(loaded[1].Record.Zone * 100 + loaded[1].Record.ZoneMinutes, 1260);

  EXPECT_FALSE(LoadClocksFile(folder.File("missing.dat"), loaded));
  EXPECT_TRUE(loaded.empty());

  // An empty list writes an empty file; a failed save says why and keeps it.
  ASSERT_TRUE(SaveClocksFile(path, TClockList{}));
  EXPECT_EQ(std::filesystem::file_size(path), 0u);
  EXPECT_TRUE(sink.messages.empty());
  EXPECT_FALSE(SaveClocksFile(folder.File("no/folder/clocks.dat"), clocks));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_NE(sink.messages[0].text.find("no/folder/clocks.dat"), std::string::npos);
}

// At start-up an empty file is an empty list, while a short or foreign
// file is refused with a message and leaves the list empty.
TEST(ClockListTest, StartupRefusesShortAndForeignFiles) {
  test::TempFolder folder;
  RecordingMessageSink sink;
  ScopedMessageSink guard(sink);
  TClockList clocks{tdatumortobjekt(Place("old", 0, 0, 0))};
  const std::string path = folder.File("clocks.dat");
  ASSERT_TRUE(SaveClocksFile(path, TClockList{tdatumortobjekt(Place("Berlin", -13.4, 52.5, 1))}));
  LoadClocksAtStartup(path, clocks);
  ASSERT_EQ(clocks.size(), 1u);
  EXPECT_EQ(clocks[0].Text(), "Berlin");

  for (const std::string& bytes : {std::string(), std::string(100, 'x'), std::string(736 * 2, '\xff')}) {
    LoadClocksAtStartup(folder.Write("clocks.dat", bytes), clocks);
    EXPECT_TRUE(clocks.empty()) << bytes.size();
  }
  ASSERT_EQ(sink.messages.size(), 2u) << "the empty file is no error";
  EXPECT_NE(sink.messages[0].text.find(path), std::string::npos);
  LoadClocksAtStartup(folder.File("missing.dat"), clocks);
  EXPECT_EQ(sink.messages.size(), 2u);
}

}  // namespace
}  // namespace kvx
