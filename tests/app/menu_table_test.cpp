#include "app/menu_table.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>

namespace kvx {
namespace {

TEST(MenuTable, HoldsEveryCaptionOnceWithUniqueNamesAndShortcuts) {
  std::set<std::string> names;
  std::map<std::string, std::string> shortcutOwner;
  std::set<std::string> commands;
  std::vector<std::string> topMenus;
  int contextMenus = 0;
  for (const TMenuRow& row : MenuTable()) {
    const std::string name = row.Name;
    if (row.Kind == TMenuRowKind::Separator) {
      EXPECT_TRUE(name.empty());
      continue;
    }
    EXPECT_TRUE(names.insert(name).second) << "object name twice: " << name;
    const std::string parent = row.Parent;
    if (!parent.empty()) {
      EXPECT_TRUE(names.count(parent)) << name << " comes before its parent " << parent;
    }
    if (row.Kind == TMenuRowKind::Menu && parent.empty()) topMenus.push_back(name);
    if (row.Kind == TMenuRowKind::ContextMenu) ++contextMenus;
    if (row.Kind == TMenuRowKind::Item || row.Kind == TMenuRowKind::Button) {
      EXPECT_NE(*row.Command, '\0') << name;
      commands.insert(row.Command);
    }
    if (*row.Shortcut != '\0') {
      auto [it, fresh] = shortcutOwner.emplace(row.Shortcut, row.Command);
      EXPECT_TRUE(fresh || it->second == row.Command) << row.Shortcut << " on " << it->second << " and " << name;
    }
    if (row.Fixed) {
      EXPECT_STREQ(row.German, row.English) << name;
    }
  }
  EXPECT_EQ(topMenus, (std::vector<std::string>{"FileMenu", "Bearbeitn1", "Ansicht1", "Einfgen2", "Format1",
                                                "ZeitundOrt1", "Objekte1", "Objekte2", "Tabellen1", "Integration1",
                                                "KonjunktionenundEreignisse1", "Info1", "HelpMenu"}));
  EXPECT_EQ(contextMenus, 8);
  // Every command a context-menu item or a button runs has a row of its own
  // or is a button's own command.
  for (const TMenuRow& row : MenuTable()) {
    if (*row.Command != '\0') {
      EXPECT_TRUE(names.count(row.Command)) << row.Name << " runs " << row.Command;
    }
  }
  EXPECT_EQ(FindMenuRow("Ortwhlen2")->Command, std::string("Ortwhlen1"));
  EXPECT_EQ(FindMenuRow("Rechenverfahren1")->Command, std::string("Rechengenauigkeit1"));
  EXPECT_STREQ(FindMenuRow("HelpContentsItem")->Shortcut, "F1");
  EXPECT_STREQ(FindMenuRow("N101")->Shortcut, "Ctrl+0");
  EXPECT_STREQ(FindMenuRow("N151")->Shortcut, "Alt+5");
  EXPECT_STREQ(FindMenuRow("JDUT1")->Shortcut, "Ctrl+Shift+F12");
  EXPECT_STREQ(FindMenuRow("SpeedButton10")->German, "Ephemeride für Merkur");
  EXPECT_STREQ(FindMenuRow("SpeedButton16")->English, "Ephemeris for Neptune");
  EXPECT_STREQ(DaylightSavingCaption(true, false), "&Winterzeit");
  EXPECT_STREQ(DaylightSavingCaption(false, true), "&Daylight saving");

  // The captions as the menu texts list them (fixture typed from that list).
  std::ifstream in(KVX_FIXTURE_DIR "/menu_captions.txt");
  ASSERT_TRUE(in);
  std::string line;
  int listed = 0;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    const std::size_t a = line.find('\t');
    const std::size_t b = line.find('\t', a + 1);
    const std::string name = line.substr(0, a);
    const TMenuRow* row = FindMenuRow(name);
    ASSERT_NE(row, nullptr) << name;
    EXPECT_EQ(row->German, line.substr(a + 1, b - a - 1)) << name;
    EXPECT_EQ(row->English, line.substr(b + 1)) << name;
    ++listed;
  }
  EXPECT_EQ(listed, 277);
}

}  // namespace
}  // namespace kvx
