#include "platform/qt/qt_settings_store.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/temp_folder.h"

namespace kvx {
namespace {

TEST(QtSettingsStore, KeepsValuesInTheIniFileUnderTheConfigFolder) {
  test::TempFolder folder;
  const char* savedConfig = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = savedConfig != nullptr ? savedConfig : "";
  setenv("XDG_CONFIG_HOME", folder.Path().c_str(), 1);
  const std::string expected = folder.File("kandrevoltinex/kandrevoltinex.ini");
  {
    QtSettingsStore store;
    EXPECT_EQ(store.FilePath(), expected);
    store.WriteInteger("Window", "FormatsSheet", 2);
    // A signed number a desktop would group: the file holds it in the form
    // every desktop reads (this test runs under German, French, Swiss and
    // Turkish desktops too).
    store.WriteInteger("Window", "x", -1234567);
    store.WriteString("Files", "Last formats, file", "/a b/c.epf");
    store.WriteBool("Settings", "Spreadsheet", false);
    store.WriteString("Data", "Gone", "x");
    store.EraseSection("Data");
  }
  if (savedConfig != nullptr) {
    setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
  } else {
    unsetenv("XDG_CONFIG_HOME");
  }
  const std::string text = test::TempFolder::Read(expected);
  EXPECT_NE(text.find("[Window]"), std::string::npos) << text;
  EXPECT_NE(text.find("FormatsSheet=2"), std::string::npos) << text;
  EXPECT_NE(text.find("\nx=-1234567\n"), std::string::npos) << text;

  QtSettingsStore reopened(expected);
  EXPECT_EQ(reopened.ReadInteger("Window", "FormatsSheet"), 2);
  EXPECT_EQ(reopened.ReadInteger("Window", "x"), -1234567);
  // A value grouped by a desktop's marks is no number, never a part of one.
  for (const char* grouped : {"-1.234.567", "-1,234,567", "-1 234 567", "-1'234'567", "\xE2\x88\x92" "1234567"}) {
    reopened.WriteString("Window", "y", grouped);
    EXPECT_EQ(reopened.ReadInteger("Window", "y"), std::nullopt) << grouped;
  }
  EXPECT_EQ(reopened.ReadString("Files", "Last formats, file"), "/a b/c.epf");
  EXPECT_EQ(reopened.ReadBool("Settings", "Spreadsheet"), false);
  EXPECT_EQ(reopened.ReadString("Data", "Gone"), std::nullopt);
  EXPECT_EQ(reopened.ReadInteger("Files", "Last formats, file"), std::nullopt);
  reopened.EraseValue("Window", "FormatsSheet");
  EXPECT_EQ(reopened.ReadInteger("Window", "FormatsSheet"), std::nullopt);
}

}  // namespace
}  // namespace kvx
