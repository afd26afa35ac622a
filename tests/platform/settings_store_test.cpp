#include "platform/settings_store.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace kvx {
namespace {

TEST(MemorySettingsStore, ReadsWritesAndErases) {
  MemorySettingsStore store;
  store.WriteString("Window", "Sort alphabetical", "ja");
  store.WriteInteger("Window", "FormatsSheet", 2);
  store.WriteBool("Settings", "Spreadsheet", true);
  store.WriteString("Settings", "Broken number", "12x");

  EXPECT_EQ(store.ReadString("Window", "Sort alphabetical"), "ja");
  EXPECT_EQ(store.ReadInteger("Window", "FormatsSheet"), 2);
  EXPECT_EQ(store.ReadBool("Settings", "Spreadsheet"), true);
  EXPECT_EQ(store.ReadInteger("Settings", "Broken number"), std::nullopt);
  EXPECT_EQ(store.IntegerOr("Settings", "Broken number", 7), 7);
  EXPECT_EQ(store.ReadString("window", "FormatsSheet"), std::nullopt);  // names are exact

  store.EraseValue("Window", "FormatsSheet");
  EXPECT_EQ(store.IntegerOr("Window", "FormatsSheet", 1), 1);
  EXPECT_TRUE(store.ReadString("Window", "Sort alphabetical"));
  store.EraseSection("Window");
  EXPECT_FALSE(store.ReadString("Window", "Sort alphabetical"));
  EXPECT_EQ(store.ReadBool("Settings", "Spreadsheet"), true);
}

TEST(SettingsFilePath, FollowsTheEnvironment) {
  const char* savedConfig = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = savedConfig != nullptr ? savedConfig : "";
  setenv("XDG_CONFIG_HOME", "/tmp/cfg/", 1);
  EXPECT_EQ(SettingsFilePath(), "/tmp/cfg/kandrevoltinex/kandrevoltinex.ini");
  setenv("XDG_CONFIG_HOME", "relative", 1);  // not absolute: ignored
  const std::string home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
  EXPECT_EQ(SettingsFilePath(), home + "/.config/kandrevoltinex/kandrevoltinex.ini");
  if (savedConfig != nullptr) {
    setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
  } else {
    unsetenv("XDG_CONFIG_HOME");
  }
}

}  // namespace
}  // namespace kvx
