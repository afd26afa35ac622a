// The user's guides the program ships, German and English: every help
// topic of the dialogs has its section in both, every picture they show is
// shipped, every item of the menu bar is described under the caption the
// program shows in that language, and the search finds each language's
// words in its own guide only.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/menu_table.h"
#include "platform/help.h"

namespace kvx {
namespace {

const std::filesystem::path kShipped = KVX_BINARY_DIR "/share/kandrevoltinex/data";

std::string Guide(bool english) {
  std::ifstream in(kShipped / HelpFileName(english), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A caption as the guide writes it: without the access-key '&', blanks
// run together, a trailing "..." kept (the guide quotes captions whole).
std::string Plain(const std::string& caption) {
  std::string out;
  for (char c : caption) {
    if (c == '&') continue;
    if (c == ' ' && !out.empty() && out.back() == ' ') continue;
    out += c;
  }
  return out;
}

// The targets of the Markdown links "](target)" in `text`; `pictures`
// picks those of pictures ("![...](target)"), otherwise the others.
std::vector<std::string> LinkTargets(const std::string& text, bool pictures) {
  std::vector<std::string> targets;
  for (std::size_t at = text.find("]("); at != std::string::npos; at = text.find("](", at + 2)) {
    const std::size_t open = text.rfind('[', at);
    const std::size_t end = text.find(')', at);
    if (open == std::string::npos || end == std::string::npos) continue;
    const bool picture = open > 0 && text[open - 1] == '!';
    if (picture == pictures) targets.push_back(text.substr(at + 2, end - at - 2));
  }
  return targets;
}

// The items of the menu bar's menus (not the context menus or tool bars).
std::vector<const TMenuRow*> MenuBarItems() {
  std::set<std::string> menus;
  std::vector<const TMenuRow*> items;
  for (const TMenuRow& row : MenuTable()) {
    const bool root = row.Parent[0] == '\0';
    if (row.Kind == TMenuRowKind::Menu && (root || menus.count(row.Parent) != 0)) menus.insert(row.Name);
    if (row.Kind == TMenuRowKind::Item && menus.count(row.Parent) != 0) items.push_back(&row);
    if (row.Kind == TMenuRowKind::Menu && menus.count(row.Parent) != 0) items.push_back(&row);
  }
  return items;
}

TEST(HelpGuide, TopicsPicturesAndMenusOfBothLanguages) {
  for (const bool english : {false, true}) {
    SCOPED_TRACE(english ? "English guide" : "German guide");
    const std::string text = Guide(english);
    ASSERT_GT(text.size(), 20000u);
    const std::vector<THelpSection> sections = SplitHelpSections(text);

    // Anchors: unique, and every topic of the table has its section.
    std::set<std::string> anchors;
    for (const THelpSection& section : sections) {
      if (!section.Anchor.empty()) {
        EXPECT_TRUE(anchors.insert(section.Anchor).second) << section.Anchor;
      }
    }
    for (const THelpTopic& topic : HelpTopics()) {
      EXPECT_TRUE(FindHelpAnchor(sections, topic.Anchor).has_value()) << topic.Number << " " << topic.Anchor;
    }
    // Links within the guide lead to a section; pictures are shipped, in
    // the guide's language.
    for (const std::string& target : LinkTargets(text, false)) {
      ASSERT_FALSE(target.empty());
      EXPECT_EQ(target[0], '#') << target;
      EXPECT_EQ(anchors.count(target.substr(1)), 1u) << "link to " << target;
    }
    int pictures = 0;
    for (const std::string& name : LinkTargets(text, true)) {
      ++pictures;
      EXPECT_TRUE(std::filesystem::is_regular_file(kShipped / "help" / name)) << name;
      EXPECT_NE(name.find(english ? "-en." : "-de."), std::string::npos) << name;
    }
    EXPECT_GE(pictures, 3);

    // Every item and sub-menu of the menu bar, under its caption in this
    // language; the decimals 1 to 15 are described together.
    for (const TMenuRow* row : MenuBarItems()) {
      const std::string name = row->Name;
      if (name.size() >= 2 && name[0] == 'N' && std::isdigit(static_cast<unsigned char>(name[1]))) continue;
      std::vector<std::string> captions = {Plain(RowCaption(*row, english))};
      if (name == "Sommerzeit1") {
        captions = {Plain(DaylightSavingCaption(true, english)), Plain(DaylightSavingCaption(false, english))};
      }
      for (const std::string& caption : captions) {
        EXPECT_NE(text.find("**" + caption + "**"), std::string::npos) << name << ": \"" << caption << "\"";
      }
    }
  }

  // Each language's words are found in its own guide only, their stems
  // being enough.
  const std::vector<THelpSection> german = SplitHelpSections(Guide(false));
  const std::vector<THelpSection> english = SplitHelpSections(Guide(true));
  EXPECT_GT(FindHelpSections(german, "Finsternisse").size(), 2u);
  EXPECT_GT(FindHelpSections(german, "Zeitraum Sommerzeit").size(), 1u);
  EXPECT_TRUE(FindHelpSections(english, "Finsternisse").empty());
  EXPECT_TRUE(FindHelpSections(english, "Zeitraum").empty());
  EXPECT_GT(FindHelpSections(english, "eclipses").size(), 2u);
  EXPECT_GT(FindHelpSections(english, "period daylight").size(), 1u);
  EXPECT_TRUE(FindHelpSections(german, "eclipses").empty());
  EXPECT_TRUE(FindHelpSections(german, "daylight").empty());
}

}  // namespace
}  // namespace kvx
