// The help text cut into sections, the search over them (words, stems,
// compounds, order) and the titles the dialogs ask for, on small texts (the
// shipped guides: tests/app).
#include "platform/help.h"
#include "platform/help_search.h"

#include <gtest/gtest.h>


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

  // Every word, case ignored, also for umlauts; a blank key finds all; a
  // title that holds the key comes first.
  EXPECT_EQ(FindHelpSections(sections, "elements PASSES"), (std::vector<std::size_t>{2}));
  EXPECT_EQ(FindHelpSections(sections, "ÜBER örter"), (std::vector<std::size_t>{1}));
  EXPECT_EQ(FindHelpSections(sections, "passes"), (std::vector<std::size_t>{3, 2}));
  EXPECT_TRUE(FindHelpSections(sections, "nowhere").empty());
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

  // Anchors: "{#name}" leaves the title and the shown heading; a brace
  // that is no anchor stays.
  const std::vector<THelpSection> anchored =
      SplitHelpSections("# Datum und Ort {#date-place}\nText\n## Menge {a, b}\n## Leer {#}\n");
  ASSERT_EQ(anchored.size(), 3u);
  EXPECT_EQ(anchored[0].Title, "Datum und Ort");
  EXPECT_EQ(anchored[0].Anchor, "date-place");
  EXPECT_EQ(anchored[0].Text, "# Datum und Ort\nText\n");
  EXPECT_EQ(anchored[1].Title, "Menge {a, b}");
  EXPECT_EQ(anchored[1].Anchor, "");
  EXPECT_EQ(anchored[2].Title, "Leer {#}");
  EXPECT_EQ(FindHelpAnchor(anchored, "date-place"), 0u);
  EXPECT_FALSE(FindHelpAnchor(anchored, "").has_value());

  // Word stems: plural and case endings of the key are not needed in the
  // text, short words keep their letters; a stem finds itself with an
  // ending, not a longer word.
  const std::vector<THelpSection> words = SplitHelpSections(
      "# A\nDie Finsternisse und der Planet am Markt.\n# B\nEclipse tables, Planetoiden.\n"
      "# C\nMarsmonde, das Jahr, the ecliptic.\n");
  EXPECT_EQ(FindHelpSections(words, "Finsternisse"), (std::vector<std::size_t>{0}));
  EXPECT_EQ(FindHelpSections(words, "finsternissen planeten"), (std::vector<std::size_t>{0}));
  EXPECT_EQ(FindHelpSections(words, "ECLIPSES"), (std::vector<std::size_t>{1}));
  EXPECT_EQ(FindHelpSections(words, "eclipse"), (std::vector<std::size_t>{1}));
  EXPECT_EQ(FindHelpSections(words, "Mars"), (std::vector<std::size_t>{2}));
  EXPECT_EQ(FindHelpSections(words, "Jahre"), (std::vector<std::size_t>{2}));
  EXPECT_EQ(FindHelpSections(words, "Planeten"), (std::vector<std::size_t>{0}));
  EXPECT_EQ(FindHelpSections(words, "Planetoiden"), (std::vector<std::size_t>{1}));

  // Compounds: a key word the text does not hold is found by its parts
  // (words of the text, linking letters between them), anywhere in the
  // section; a part of a key word matches a word or a part of a compound,
  // not the start of a longer word ("set" is not "settings"); a key word
  // matches a later part of a compound ("Untergang" in "Monduntergang",
  // "Zone" in "Zeitzonendatenbank"), not any letters inside a word, and a
  // cut compound ("Auf- und Untergang" holds "Aufgang"). Best first: the
  // title, then bold text, then more matches; the title page only when it
  // is all there is.
  const std::vector<THelpSection> compounds = SplitHelpSections(
      "# Handbuch\nSonne und Mond, Auf- und Untergang, Zeitzone, moon settings.\n"
      "# Orte\nZeit: die Zeitzonendatenbank kennt jede Zone, auch Raimondo.\n"
      "# Sonne\nDer Aufgang der Sonne. The moon will set.\n"
      "# Tabellen\nSpalten **Auf- und Untergang** der Sonne, Sonne, Sonne und des Mondes.\n"
      "# Mond\nMonduntergang, Untergang und Mondaufgang; moon and settings.\n"
      "# Zeitzone\nDie Zeitzone in Stunden.\n");
  const THelpSearch search(compounds);
  EXPECT_EQ(search.Parts("sonnenaufgang"), (std::vector<std::string>{"sonne", "aufgang"}));
  EXPECT_TRUE(search.Parts("sonnenxyz").empty());
  EXPECT_EQ(search.Find("Sonnenaufgang"), (std::vector<std::size_t>{2, 3}));
  EXPECT_EQ(search.Find("moonset"), (std::vector<std::size_t>{2}));
  EXPECT_EQ(search.Find("Mondaufgang"), (std::vector<std::size_t>{4}));  // held as it stands: not split
  EXPECT_EQ(search.Find("Untergang"), (std::vector<std::size_t>{3, 4}));
  EXPECT_EQ(search.Find("ZONE"), (std::vector<std::size_t>{5, 1}));
  EXPECT_EQ(search.Find("Mond"), (std::vector<std::size_t>{4, 3}));  // not in "Raimondo"
  EXPECT_EQ(search.Find("Aufgang Tabellen"), (std::vector<std::size_t>{3}));
  EXPECT_EQ(search.Find("Handbuch"), (std::vector<std::size_t>{0}));
  EXPECT_TRUE(search.Find("Sonnenuhr").empty());

  // Keywords: a comment "<!-- keywords: ... -->" (on one line or several)
  // is no part of the text, outside a fence; its words find the section as
  // its title does, before a text that names them. A key word no section
  // holds is named and left out; when no section holds every other one,
  // those holding the most are listed; fill words ("how", "the") need not
  // be held. A long key word the guide does not hold, nor its parts, is
  // found by its end ("Nachtpasses") or by a start ("Stationsliste").
  const std::vector<THelpSection> keyed = SplitHelpSections(
      "# Guide\nAbout satellites and passes.\n"
      "# Satellites\n<!-- keywords: ISS, space\nstation, TLE -->\nTwo-line elements of Mir.\n"
      "# Passes\nThe pass of the ISS near a space station, with elements.\n<!-- a comment -->\n"
      "```\n<!-- keywords: fenced -->\n```\n");
  ASSERT_EQ(keyed.size(), 3u);
  EXPECT_EQ(keyed[1].Keywords, (std::vector<std::string>{"ISS", "space station", "TLE"}));
  EXPECT_EQ(keyed[1].Text, "# Satellites\nTwo-line elements of Mir.\n");
  EXPECT_TRUE(keyed[2].Keywords.empty());
  EXPECT_NE(keyed[2].Text.find("<!-- keywords: fenced -->"), std::string::npos);
  EXPECT_NE(keyed[2].Text.find("<!-- a comment -->"), std::string::npos);
  const THelpSearch keySearch(keyed);
  EXPECT_EQ(keySearch.Find("ISS"), (std::vector<std::size_t>{1, 2}));
  EXPECT_EQ(keySearch.Find("space station"), (std::vector<std::size_t>{1, 2}));
  EXPECT_EQ(keySearch.Find("how to find the tle"), (std::vector<std::size_t>{1}));
  const THelpFindings none = keySearch.Search("xyzzy the");
  EXPECT_TRUE(none.Sections.empty());
  EXPECT_EQ(none.Unknown, (std::vector<std::string>{"xyzzy"}));
  const THelpFindings partly = keySearch.Search("Mir Xyzzy");
  EXPECT_EQ(partly.Sections, (std::vector<std::size_t>{1}));
  EXPECT_EQ(partly.Unknown, (std::vector<std::string>{"Xyzzy"}));
  EXPECT_TRUE(partly.AllWords);
  const THelpFindings most = keySearch.Search("Mir pass");
  EXPECT_EQ(most.Sections, (std::vector<std::size_t>{2, 1}));
  EXPECT_FALSE(most.AllWords);
  EXPECT_EQ(keySearch.Find("Nachtpasses"), (std::vector<std::size_t>{2}));
  EXPECT_EQ(keySearch.Find("Stationsliste").front(), 1u);
  EXPECT_TRUE(keySearch.Find("Sommerabendpasses").empty());  // "passes" is under half of it

  // Every topic has an anchor; the numbers are unique.
  for (std::size_t i = 0; i < HelpTopics().size(); ++i) {
    EXPECT_NE(HelpTopicAnchor(HelpTopics()[i].Number), nullptr);
    for (std::size_t j = i + 1; j < HelpTopics().size(); ++j) {
      EXPECT_NE(HelpTopics()[i].Number, HelpTopics()[j].Number);
    }
  }
  EXPECT_EQ(HelpTopicAnchor(1), nullptr);
  EXPECT_NE(HowToUseHelpText(false).find("# Hilfe benutzen"), std::string::npos);
  EXPECT_NE(HowToUseHelpText(true).find("# Using help"), std::string::npos);
}

}  // namespace
}  // namespace kvx
