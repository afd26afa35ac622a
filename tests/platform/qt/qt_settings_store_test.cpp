#include "platform/qt/qt_settings_store.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "core/name_tables.h"
#include "platform/globals.h"
#include "platform/number_text.h"
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

  QtSettingsStore reopened(expected);
  EXPECT_EQ(reopened.ReadInteger("Window", "FormatsSheet"), 2);
  EXPECT_EQ(reopened.ReadString("Files", "Last formats, file"), "/a b/c.epf");
  EXPECT_EQ(reopened.ReadBool("Settings", "Spreadsheet"), false);
  EXPECT_EQ(reopened.ReadString("Data", "Gone"), std::nullopt);
  EXPECT_EQ(reopened.ReadInteger("Files", "Last formats, file"), std::nullopt);
  reopened.EraseValue("Window", "FormatsSheet");
  EXPECT_EQ(reopened.ReadInteger("Window", "FormatsSheet"), std::nullopt);
}

// The file is the same whatever desktop writes it or reads it: a whole
// number that a desktop would group is written plain and read back with its
// sign, and the texts typed into number boxes on a Swiss, a French and a
// German desktop (grouped, with a decimal point or comma) come back as they
// were typed, commas included, on another desktop.
TEST(QtSettingsStore, NumbersAndTypedTextsReadBackUnderAnotherDesktop) {
  const TIntlSeparators desktop = IntlSeparators;
  test::TempFolder folder;
  const std::string path = folder.File("kandrevoltinex.ini");
  const std::string typed[] = {"-1234567.5",
                               "-1'234'567.5",
                               "-1234567,5",
                               "-1\xE2\x80\xAF"
                               "234\xE2\x80\xAF"
                               "567,5",
                               "-1.234.567,5",
                               "2448000,5",
                               "0,0",
                               "1,5, 2,5"};
  const TIntlSeparators swiss{'.', ';', '.', ':', '\'', TShortDateOrder::DayMonthYear};
  const TIntlSeparators french{',', ';', '/', ':', ' ', TShortDateOrder::DayMonthYear};
  const TIntlSeparators us{'.', ',', '/', ':', ',', TShortDateOrder::MonthDayYear};
  for (const auto& [writer, reader] : {std::pair{swiss, french}, std::pair{french, us}, std::pair{us, swiss}}) {
    ApplyLocaleSeparators(writer);
    {
      QtSettingsStore store(path);
      store.WriteInteger("Window", "x", -1234567);
      for (std::size_t k = 0; k < std::size(typed); ++k) store.WriteString("Typed", WholeNumberText(k), typed[k]);
    }
    const std::string text = test::TempFolder::Read(path);
    EXPECT_NE(text.find("x=-1234567\n"), std::string::npos) << text;

    ApplyLocaleSeparators(reader);
    QtSettingsStore store(path);
    EXPECT_EQ(store.ReadInteger("Window", "x"), -1234567);
    for (std::size_t k = 0; k < std::size(typed); ++k) {
      EXPECT_EQ(store.ReadString("Typed", WholeNumberText(k)), typed[k]) << text;
    }
  }
  ApplyLocaleSeparators(desktop);
}

}  // namespace
}  // namespace kvx
