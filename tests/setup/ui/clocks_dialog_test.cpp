#include "setup/ui/clocks_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <filesystem>

#include "dialog_test_support.h"
#include "platform/messages.h"
#include "support/recording_message_sink.h"
#include "support/temp_folder.h"

namespace kvx {
namespace {

using test::Child;

TEST(ClocksDialogTest, AddRemoveClearAndAlwaysSave) {
  test::TempFolder folder;
  RecordingMessageSink messages;
  ScopedMessageSink guard(messages);
  const std::string file = folder.File("clocks.dat");
  TClockList clocks;
  TClocksDialogHost host;
  host.StartRecord.PlaceName = "Berlin";
  host.StartRecord.Longitude = -13.4;
  host.StartRecord.Latitude = 52.5;
  host.StartRecord.Zone = 1;
  host.StartRecord.Day = 1;
  host.StartRecord.Month = 7;
  host.StartRecord.Year = 2024;
  host.StartRecord.LocalHours = 12;
  bool barShown = false;
  host.ShowClockBar = [&](bool on) { barShown = on; };
  // The location dialog stand-in: Tokyo, nine hours east.
  host.EditPlace = [](TObserverRecord& r) {
    r.PlaceName = "Tokio";
    r.Longitude = -139.7;
    r.Latitude = 35.7;
    r.Zone = 9;
    return true;
  };

  // Cancel (closing) after Add still saves the new clock.
  test::WhenModalShown([&](QDialog& dialog) {
    Child<QPushButton>(dialog, "add")->click();
    Child<QPushButton>(dialog, "add")->click();
    Child<QCheckBox>(dialog, "showClocks")->click();
    test::SavePicture(dialog, "clocks");
    dialog.reject();
  });
  EXPECT_EQ(ShowClocksDialog(clocks, folder.Path().string(), host), 2);
  ASSERT_EQ(clocks.size(), 2u);
  EXPECT_TRUE(barShown);
  EXPECT_EQ(std::filesystem::file_size(file), 1472u);
  // The start record's local time, now at the new place: 12 h in zone 9 is 3 UT.
  EXPECT_NEAR(clocks[0].Record.UTHours, 3.0, 1e-9);
  EXPECT_NEAR(clocks[0].Record.LocalHours, 12.0, 1e-6);
  EXPECT_EQ(clocks[0].Record.Day, 1);

  TClockList loaded;
  ASSERT_TRUE(LoadClocksFile(file, loaded));
  ASSERT_EQ(loaded.size(), 2u);
  EXPECT_EQ(loaded[1].Text(), "Tokio");

  // Remove by double-click, then Clear all and OK: an empty file.
  test::WhenModalShown([&](QDialog& dialog) {
    auto* list = Child<QListWidget>(dialog, "list");
    list->setCurrentRow(0);
    emit list->itemDoubleClicked(list->item(0));
    EXPECT_EQ(list->count(), 1);
    Child<QPushButton>(dialog, "remove")->click();  // nothing selected: nothing happens
    EXPECT_EQ(list->count(), 1);
    Child<QPushButton>(dialog, "clear")->click();
    Child<QPushButton>(dialog, "ok")->click();
  });
  EXPECT_EQ(ShowClocksDialog(clocks, folder.Path().string(), host), 1);
  EXPECT_TRUE(clocks.empty());
  EXPECT_EQ(std::filesystem::file_size(file), 0u);
  EXPECT_TRUE(messages.messages.empty());
}

}  // namespace
}  // namespace kvx
