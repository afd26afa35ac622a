#include "platform/paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

#include "support/temp_folder.h"

namespace kvx {
namespace {

TEST(Paths, LongPathNameRestoresTheStoredSpelling) {
  test::TempFolder folder;
  folder.Write("DatenOrdner/Ceres.EEL", "x");
  std::string result;
  LongPathName((folder.Path() / "datenordner" / "ceres.eel").string(), result);
  EXPECT_EQ(result, folder.File("DatenOrdner/Ceres.EEL"));
  LongPathName((folder.Path() / "DATENORDNER" / "fehlt" / "Neu.txt").string(), result);
  EXPECT_EQ(result, folder.File("DatenOrdner/fehlt/Neu.txt"));
  LongPathName((folder.Path() / "DatenOrdner" / ".." / "DatenOrdner").string(), result);
  EXPECT_EQ(result, folder.File("DatenOrdner"));
  LongPathName("relativ.txt", result);
  EXPECT_EQ(result, (std::filesystem::current_path() / "relativ.txt").string());
}

TEST(Paths, SeparatorsAndWildcards) {
  std::string path = "C:\\Data\\";
  EXPECT_EQ(StripTrailingBackslash(path), "C:\\Data");
  EXPECT_EQ(path, "C:\\Data");
  // Every trailing separator goes (one is appended after it), a root stays;
  // in a path with "/" a "\" is part of a name.
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\Data", "C:\\Data"}, {"/home/user/daten/", "/home/user/daten"}, {"/", "/"},
      {"/home/user/daten//", "/home/user/daten"}, {"//", "/"}, {"C:\\", "C:\\"},
      {"/home/user/ordner\\", "/home/user/ordner\\"}};
  for (const auto& [given, stripped] : cases) {
    path = given;
    EXPECT_EQ(StripTrailingBackslash(path), stripped) << given;
  }

  EXPECT_TRUE(WildcardMatch("*.eel", "Ceres.EEL"));
  EXPECT_TRUE(WildcardMatch("c?res*", "Ceres.eel"));
  EXPECT_FALSE(WildcardMatch("*.eel", "Ceres.eel.bak"));
  EXPECT_TRUE(WildcardMatch("*", ""));
  EXPECT_FALSE(WildcardMatch("?", ""));
}

TEST(Paths, ShippedDataFolderIsFoundBesideTheExecutable) {
  // Test programs run from the build tree's bin/, which mirrors the
  // installed layout.
  const std::string folder = ShippedDataFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(std::filesystem::path(folder).parent_path(),
            std::filesystem::path(ExecutableFolder()).parent_path() / "share" / "kandrevoltinex");
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(folder) / "vsop87d.bin"));
}

}  // namespace
}  // namespace kvx
