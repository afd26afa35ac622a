// The help text cut into sections, the search over them and the titles the
// dialogs ask for, on a small text and on the README the program ships.
#include "platform/help.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace kvx {
namespace {

TEST(HelpText, SectionsSearchAndTopics) {
  const std::string text =
      "Intro line\n"
      "# Über das Programm\n"
      "Berechnet Örter.\n"
      "```\n"
      "# not a heading inside a fence\n"
      "```\n"
      "## Satellites ##\n"
      "Two-line ELEMENTS and passes.\r\n"
      "#no heading without a blank\n"
      "### Passes\n"
      "    # an indented code line\n";
  const std::vector<THelpSection> sections = SplitHelpSections(text, "Start");
  ASSERT_EQ(sections.size(), 4u);
  EXPECT_EQ(sections[0].Title, "Start");
  EXPECT_EQ(sections[1].Title, "Über das Programm");
  EXPECT_EQ(sections[1].Level, 1);
  EXPECT_NE(sections[1].Text.find("# not a heading inside a fence"), std::string::npos);
  EXPECT_EQ(sections[2].Title, "Satellites");
  EXPECT_EQ(sections[2].Level, 2);
  EXPECT_NE(sections[2].Text.find("#no heading"), std::string::npos);
  EXPECT_EQ(sections[2].Text.find('\r'), std::string::npos);
  EXPECT_EQ(sections[3].Title, "Passes");

  // Every word, case ignored, also for umlauts; a blank key finds all.
  EXPECT_EQ(FindHelpSections(sections, "elements PASSES"), (std::vector<std::size_t>{2}));
  EXPECT_EQ(FindHelpSections(sections, "ÜBER örter"), (std::vector<std::size_t>{1}));
  EXPECT_EQ(FindHelpSections(sections, "passes"), (std::vector<std::size_t>{2, 3}));
  EXPECT_TRUE(FindHelpSections(sections, "elements nowhere").empty());
  EXPECT_EQ(FindHelpSections(sections, "  ").size(), 4u);
  EXPECT_EQ(FindHelpTopic(sections, "satellites"), 2u);
  EXPECT_FALSE(FindHelpTopic(sections, "Satell").has_value());
  EXPECT_TRUE(SplitHelpSections("").empty());

  // A heading of nothing but '#' marks has an empty title, and that title
  // finds it (it used to be "#", which no title could find).
  const std::vector<THelpSection> marks = SplitHelpSections("# A\ntext\n## ##\nunder marks\n# B\n");
  ASSERT_EQ(marks.size(), 3u);
  EXPECT_EQ(marks[1].Title, "");
  EXPECT_EQ(FindHelpTopic(marks, ""), 1u);
  EXPECT_EQ(FindHelpTopic(marks, "  #"), 1u);
  EXPECT_EQ(FindHelpTopic(marks, "B"), 2u);

  // The shipped README holds every title a help button asks for.
  std::ifstream in(KVX_BINARY_DIR "/share/kandrevoltinex/README.md");
  ASSERT_TRUE(in.good());
  std::ostringstream readme;
  readme << in.rdbuf();
  const std::vector<THelpSection> shipped = SplitHelpSections(readme.str());
  ASSERT_GT(shipped.size(), 10u);
  EXPECT_EQ(shipped[0].Title, "Kandrevoltinex 4.6");
  for (const char* topic : {kHelpTopicSatellites, kHelpTopicOrbits, kHelpTopicIntegration, "Help"}) {
    EXPECT_TRUE(FindHelpTopic(shipped, topic).has_value()) << topic;
  }
  EXPECT_NE(HowToUseHelpText(false).find("# Hilfe benutzen"), std::string::npos);
  EXPECT_NE(HowToUseHelpText(true).find("# Using help"), std::string::npos);
}

}  // namespace
}  // namespace kvx
