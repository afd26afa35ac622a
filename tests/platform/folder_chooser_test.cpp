#include "platform/folder_chooser.h"

#include <gtest/gtest.h>

#include "support/recording_folder_chooser.h"

namespace kvx {
namespace {

TEST(FolderChooser, SelectFolderGoesThroughTheSeam) {
  std::string folder = "/daten";
  EXPECT_FALSE(SelectFolder(folder, 7, 1));  // no chooser installed
  RecordingFolderChooser chooser;
  FolderChooser* previous = SetFolderChooser(&chooser);
  chooser.QueueAnswer("/daten/neu");
  chooser.QueueAnswer(std::nullopt);
  EXPECT_TRUE(SelectFolder(folder, 7, 1));
  EXPECT_EQ(folder, "/daten/neu");
  EXPECT_FALSE(SelectFolder(folder, 8, 2));
  EXPECT_EQ(folder, "/daten/neu");
  SetFolderChooser(previous);
  ASSERT_EQ(chooser.requests.size(), 2u);
  EXPECT_EQ(chooser.requests[0].startFolder, "/daten");
  EXPECT_EQ(chooser.requests[0].helpContext, 7);
  EXPECT_EQ(chooser.requests[1].options, 2u);
}

}  // namespace
}  // namespace kvx
