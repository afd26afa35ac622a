#include "platform/safe_file_write.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "support/temp_folder.h"

namespace kvx {
namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(SafeFileWrite, ReplacesTheTargetAndLeavesNoTemporaryFile) {
  const test::TempFolder scratch;
  const fs::path& folder = scratch.Path();
  const std::string target = (folder / "table.txt").string();
  std::string error;
  ASSERT_TRUE(WriteFileReplacing(target, "old\r\n", error)) << error;
  ASSERT_TRUE(WriteFileReplacing(target, std::string_view("new\0\xE4", 5), error)) << error;
  EXPECT_EQ(Contents(target), std::string("new\0\xE4", 5));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);

  // A writer that makes the temporary file itself, then a failed rename:
  // the temporary file goes and the target stays as it was.
  const std::string temporary = FreeTemporaryPath(target);
  EXPECT_EQ(temporary, target + ".kvxtmp");
  { std::ofstream(temporary, std::ios::binary) << "partial"; }
  EXPECT_EQ(FreeTemporaryPath(target), target + ".kvxtmp1");
  fs::create_directories(folder / "sub" / "inner");
  EXPECT_FALSE(ReplaceWithTemporary(temporary, (folder / "sub").string(), error));
  EXPECT_NE(error.find("cannot replace " + (folder / "sub").string()), std::string::npos) << error;
  EXPECT_FALSE(fs::exists(temporary));
  EXPECT_EQ(Contents(target), std::string("new\0\xE4", 5));
}

TEST(SafeFileWrite, ReportsAFolderThatCannotBeWritten) {
  const std::string target = (fs::temp_directory_path() / "kvx_no_such_folder" / "x" / "table.txt").string();
  std::string error;
  EXPECT_FALSE(WriteFileReplacing(target, "data", error));
  EXPECT_EQ(error, "cannot create " + target + ".kvxtmp");
  EXPECT_FALSE(WriteFileReplacing(target, "data"));
}

}  // namespace
}  // namespace kvx
