// The user's guides the program ships, German and English: every help
// topic of the dialogs and every menu's section has its anchor in both,
// every picture they show is shipped, every item of the menu bar is
// described under the caption the program shows in that language, the help
// window shows every word of every section, the search finds each
// language's words in its own guide only and the meant section first, and
// every quoted caption, message and menu path of a guide is one the program
// shows in that language.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextList>
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/help_place_names.h"
#include "app/menu_table.h"
#include "platform/help.h"
#include "platform/help_search.h"
#include "platform/qt/qt_help_viewer.h"

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
    // F1 in a dialog without a section of its own opens its menu's.
    for (const TMenuRow& row : MenuTable()) {
      if (row.Kind != TMenuRowKind::Item || row.Command[0] == '\0') continue;
      const std::string anchor = MenuHelpSection(row.Command);
      if (!anchor.empty()) {
        EXPECT_TRUE(FindHelpAnchor(sections, anchor).has_value()) << row.Command << " " << anchor;
      }
    }
    EXPECT_EQ(std::string(MenuHelpSection("ZeitraumfrTabelle1")), "menu-time-place");
    EXPECT_EQ(std::string(MenuHelpSection("Browser1")), "file-tools");
    EXPECT_EQ(std::string(MenuHelpSection("OptimaleBreite1")), "menu-format");
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

  // Each language's text is searched in its own guide only, the stems
  // being enough (a guide's keywords may hold the other language's words).
  const std::vector<THelpSection> german = SplitHelpSections(Guide(false));
  const std::vector<THelpSection> english = SplitHelpSections(Guide(true));
  EXPECT_GT(FindHelpSections(german, "Finsternisse").size(), 2u);
  EXPECT_GT(FindHelpSections(german, "Zeitraum Sommerzeit").size(), 1u);
  EXPECT_TRUE(FindHelpSections(english, "Schrittweite").empty());
  EXPECT_TRUE(FindHelpSections(english, "Tabellenkalkulation").empty());
  EXPECT_GT(FindHelpSections(english, "eclipses").size(), 2u);
  EXPECT_GT(FindHelpSections(english, "period daylight").size(), 1u);
  EXPECT_TRUE(FindHelpSections(german, "angles").empty());
}

// --- the guides in the help window and in the search ------------------------------------

// The words of a text (runs of letters and digits), in order.
std::vector<QString> WordsOf(const QString& text) {
  static const QRegularExpression word(QStringLiteral("[\\p{L}\\p{N}]+"));
  std::vector<QString> words;
  for (QRegularExpressionMatchIterator it = word.globalMatch(text); it.hasNext();)
    words.push_back(it.next().captured());
  return words;
}

// The text of a document as the reader sees it: each paragraph with the
// number of its list item, the cells of tables in order.
QString Seen(const QTextDocument& document) {
  QString text;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    if (const QTextList* list = block.textList()) text += list->itemText(block) + QLatin1Char(' ');
    text += block.text() + QLatin1Char('\n');
  }
  return text;
}

TEST(HelpGuide, TheHelpWindowShowsEveryWordOfEverySection) {
  // Only the targets of links and pictures are markup; a text in angle
  // brackets ("<ENTER>") and a picture's description are words to show.
  const QRegularExpression target(QStringLiteral("\\]\\([^)]*\\)"));
  for (const bool english : {false, true}) {
    SCOPED_TRACE(english ? "English guide" : "German guide");
    THelpForm form;
    form.SetPictureFolder((kShipped / "help").string());
    form.SetSections(SplitHelpSections(Guide(english)));
    std::size_t checked = 0;
    for (std::size_t i = 0; i < form.Sections().size(); ++i) {
      form.ShowSection(i);
      const std::vector<QString> shown = WordsOf(Seen(*form.Viewer()->document()));
      const std::vector<QString> source =
          WordsOf(QString::fromStdString(form.Sections()[i].Text).replace(target, QStringLiteral("]")));
      // The words of the source, in their order, among those shown.
      std::size_t at = 0;
      for (std::size_t w = 0; w < source.size(); ++w, ++at) {
        while (at < shown.size() && shown[at] != source[w]) ++at;
        if (at == shown.size()) {
          ADD_FAILURE() << form.Sections()[i].Title << ": word " << w + 1 << " of " << source.size() << " \""
                        << source[w].toStdString() << "\" and what follows are not shown";
          break;
        }
      }
      checked += source.size();
    }
    EXPECT_GT(checked, 10000u);
  }
}

// The search puts the section a reader means first for the everyday words
// of either language: a compound the guide holds only as parts
// ("Sonnenuntergang": "Sonne" and "Untergang"), a word it holds as it stands,
// two words standing together, a word whose title is a compound of it; a
// section that explains the word (the columns of the tables, a dialog, a
// menu's items) before one that mentions it in passing. The title page,
// which names nearly everything, is never listed when another section holds
// the key. The sections' keywords bring the words an observer types that
// the text does not use: everyday names, abbreviations, the other
// language's terms, a word the guide names otherwise or only in a side
// section, a synonym of its own term; with fill words around them,
// inflected, in a compound the guide does not hold, or in a key that mixes
// both languages. A word no section holds is named and leaves the contents,
// or, beside known words, is named while their sections are listed.
TEST(HelpGuide, TheSearchPutsTheMeantSectionFirst) {
  struct TCase {
    bool english;
    const char* key;
    const char* anchor;
  };
  const TCase cases[] = {
      // the columns of the tables, rise, set and twilight among them
      {false, "Sonnenuntergang", "reading-tables"},
      {false, "Sonnenaufgang", "reading-tables"},
      {false, "Dämmerung", "reading-tables"},
      {false, "Mondaufgang", "reading-tables"},
      {false, "Azimut", "reading-tables"},
      {false, "Delta T", "reading-tables"},
      {false, "Rektaszension", "reading-tables"},
      {false, "Helligkeit", "reading-tables"},
      {true, "sunset", "reading-tables"},
      {true, "sunrise", "reading-tables"},
      {true, "twilight", "reading-tables"},
      {true, "moonrise", "reading-tables"},
      {true, "azimuth", "reading-tables"},
      {true, "delta t", "reading-tables"},
      {true, "right ascension", "reading-tables"},
      // the tables where the Sun does not rise or set
      {false, "Mitternachtssonne", "high-latitudes"},
      {false, "Polarnacht", "high-latitudes"},
      {true, "midnight sun", "high-latitudes"},
      {true, "polar night", "high-latitudes"},
      // the observer's zone
      {false, "Zeitzone", "place-zone"},
      {true, "time zone", "place-zone"},
      // entering the date
      {false, "Julianisches Datum", "julian-day"},
      {false, "Tagesbruchteil", "julian-day"},
      {true, "julian day", "julian-day"},
      {true, "day fraction", "julian-day"},
      // the tables of the Ephemerides menu
      {false, "Mondfinsternis", "menu-ephemerides"},
      {false, "Sonnenfinsternis", "menu-ephemerides"},
      {false, "Mondphasen", "menu-ephemerides"},
      {false, "Vollmond", "menu-ephemerides"},
      {false, "Jahreszeiten", "menu-ephemerides"},
      {false, "Merkurdurchgang", "menu-ephemerides"},
      {false, "Jupitermonde", "menu-ephemerides"},
      {true, "lunar eclipse", "menu-ephemerides"},
      {true, "solar eclipse", "menu-ephemerides"},
      {true, "moon phases", "menu-ephemerides"},
      {true, "full moon", "menu-ephemerides"},
      {true, "seasons", "menu-ephemerides"},
      {true, "transit of mercury", "menu-ephemerides"},
      {true, "moons of jupiter", "menu-ephemerides"},
      // a dialog of its own
      {false, "Sternbedeckung", "lunar-occultations"},
      {true, "occultation", "lunar-occultations"},
      // a menu item's caption
      {false, "Kometenbahn", "menu-integration"},
      {true, "comet orbit", "menu-integration"},
      // a title that is the word's plural before texts that name the word in bold
      {false, "Planetoid", "asteroid-elements"},
      {true, "asteroid", "asteroid-elements"},
      // the word as typed before one that starts with it ("eastern") or its stem ("east")
      {false, "Ostern", "menu-tools"},
      {true, "easter", "menu-tools"},
      // a command
      {false, "Drucken", "menu-file"},
      {true, "print", "menu-file"},
      // a title
      {false, "Bahnbestimmung", "orbit-determination"},
      {true, "orbit determination", "orbit-determination"},
      // a short title before a long one
      {false, "Genauigkeit", "accuracy"},
      {true, "accuracy", "accuracy"},
      // a file
      {false, "Ortsdatei", "location-files"},
      {true, "location file", "location-files"},
      // an everyday name the text does not use
      {false, "Raumstation", "satellites"},
      {false, "Excel", "workbook-files"},
      {false, "Pfingsten", "menu-tools"},
      {false, "Export", "menu-file"},
      {true, "space station", "satellites"},
      {true, "excel", "workbook-files"},
      {true, "pentecost", "menu-tools"},
      {true, "export", "menu-file"},
      // an abbreviation
      {false, "ISS", "satellites"},
      {false, "JD", "julian-day"},
      {false, "MEZ", "place-zone"},
      {true, "ISS", "satellites"},
      {true, "JD", "julian-day"},
      {true, "UTC", "place-zone"},
      // a thing the guide names otherwise
      {false, "Neumond", "menu-ephemerides"},
      {false, "Kleinplanet", "asteroid-elements"},
      {false, "gesperrt", "greyed-items"},
      {false, "Venustransit", "menu-ephemerides"},
      {true, "new moon", "menu-ephemerides"},
      {true, "minor planet", "asteroid-elements"},
      {true, "disabled", "greyed-items"},
      {true, "elevation", "date-place"},
      // a word the text holds only in a side section
      {false, "Luftdruck", "date-place"},
      {false, "Stillstand", "event-search"},
      {true, "printing", "menu-file"},
      {true, "air pressure", "date-place"},
      {true, "stationary point", "event-search"},
      // the other language's word
      {false, "Eclipse", "menu-ephemerides"},
      {false, "Sunset", "reading-tables"},
      {true, "Mondfinsternis", "menu-ephemerides"},
      {true, "Sonnenaufgang", "reading-tables"},
      // plural and inflected forms
      {false, "Städte", "world-cities"},
      {false, "Finsternissen", "menu-ephemerides"},
      {false, "Veränderlichen", "variable-stars"},
      {true, "cities", "world-cities"},
      {true, "variables", "variable-stars"},
      // fill words around the term
      {false, "Sprache umstellen", "menu-view"},
      {false, "wie genau ist das", "accuracy"},
      {true, "how to change the language", "menu-view"},
      {true, "how to print", "menu-file"},
      // a compound the guide does not hold, by its known end or start
      {false, "Hauptstadt", "world-cities"},
      {false, "Vollmondtermine", "menu-ephemerides"},
      {true, "timezone", "place-zone"},
      // a synonym of the guide's own term
      {false, "Himmelsrichtung", "reading-tables"},
      {false, "Dezimalpunkt", "workbook-files"},
      {false, "Datei überschreiben", "workbook-files"},
      {false, "Breitengrad", "place-zone"},
      {true, "compass direction", "reading-tables"},
      {true, "decimal separator", "workbook-files"},
      {true, "overwrite file", "workbook-files"},
      {true, "daylight saving", "place-zone"},
      // more abbreviations
      {false, "MESZ", "place-zone"},
      {false, "TLE", "satellites"},
      {true, "TLE", "satellites"},
      {true, "AU", "reading-tables"},
      // both languages in one key, as an observer mixes them
      {false, "Eclipse Kalender", "menu-ephemerides"},
      {false, "Sunrise München", "reading-tables"},
      {true, "Finsternis calendar", "menu-ephemerides"},
      {true, "Sonnenuntergang time", "reading-tables"},
  };
  const std::vector<THelpSection> guides[] = {SplitHelpSections(Guide(false)), SplitHelpSections(Guide(true))};
  const THelpSearch searches[] = {THelpSearch(guides[0]), THelpSearch(guides[1])};
  int perLanguage[2] = {0, 0};
  for (const TCase& c : cases) {
    ++perLanguage[c.english ? 1 : 0];
    const std::vector<THelpSection>& sections = guides[c.english ? 1 : 0];
    const std::vector<std::size_t> found = searches[c.english ? 1 : 0].Find(c.key);
    ASSERT_FALSE(found.empty()) << c.key;
    std::string listed;
    for (std::size_t i = 0; i < found.size() && i < 4; ++i) listed += " " + sections[found[i]].Anchor;
    EXPECT_EQ(sections[found.front()].Anchor, c.anchor) << c.key << ": found" << listed;
    EXPECT_EQ(std::count(found.begin(), found.end(), std::size_t{0}), 0) << c.key;
  }
  EXPECT_GE(perLanguage[0], 55);
  EXPECT_GE(perLanguage[1], 55);
  // A word no section holds: named, and nothing listed (the search dialog
  // then shows the contents).
  for (const bool english : {false, true}) {
    const THelpFindings none = searches[english ? 1 : 0].Search(english ? "horoscope" : "Horoskop");
    EXPECT_TRUE(none.Sections.empty());
    EXPECT_EQ(none.Unknown, (std::vector<std::string>{english ? "horoscope" : "Horoskop"}));
  }
  // A key that mixes a known word with one no section holds: the sections of
  // the known word, and the other named.
  const THelpFindings mixed = searches[1].Search("ISS Sichtbarkeit");
  ASSERT_FALSE(mixed.Sections.empty());
  EXPECT_EQ(guides[1][mixed.Sections.front()].Anchor, "satellites");
  EXPECT_EQ(mixed.Unknown, std::vector<std::string>{"Sichtbarkeit"});
  // "Auf- und Untergang" alone holds "Aufgang": the options hold the
  // altitudes of rise and set.
  const std::vector<std::size_t> rise = searches[0].Find("Aufgang");
  EXPECT_NE(std::find_if(rise.begin(), rise.end(), [&](std::size_t i) { return guides[0][i].Anchor == "options"; }),
            rise.end());
}

// What a reader types that the guide's words do not hold: a slip of one
// letter, an everyday word of observers (without a keyword for it), the
// name of a city (answered by the world database and the location files,
// whose names the window's search knows), and terms the guide names
// otherwise; in each guide, in its language and the other.
TEST(HelpGuide, TheSearchForgivesASlipAndKnowsObserversWordsAndPlaces) {
  struct TCase {
    bool english;
    const char* key;
    const char* anchor;
  };
  const TCase cases[] = {
      // one letter wrong, left out, added, or two swapped
      {true, "eclipce", "menu-ephemerides"},
      {true, "asteorid", "asteroid-elements"},
      {false, "Kommet", "comet-elements"},
      {false, "Finsternise", "menu-ephemerides"},
      // the observer's everyday words
      {true, "dusk", "reading-tables"},
      {true, "dawn", "reading-tables"},
      {true, "sunup", "reading-tables"},
      {true, "sundown", "reading-tables"},
      {true, "Dämmerung", "reading-tables"},
      {false, "Morgengrauen", "reading-tables"},
      {false, "Tagesanbruch", "reading-tables"},
      {false, "dusk", "reading-tables"},
      {false, "sundown", "reading-tables"},
      // cities of the world database or of the location file, accents aside
      {false, "Zürich", "world-cities"},
      {false, "Honolulu", "world-cities"},
      {true, "Honolulu", "world-cities"},
      {true, "Zurich", "world-cities"},
      // the guide's own words for them
      {false, "Planetenpositionen", "menu-ephemerides"},
      {true, "planet positions", "menu-ephemerides"},
      {false, "Datumsformat", "date-place"},
      {true, "date format", "date-place"},
  };
  const THelpPlaceNames places = HelpPlaceNames(kShipped.string(), [] { return (kShipped / "orte.csv").string(); });
  const std::vector<THelpSection> guides[] = {SplitHelpSections(Guide(false)), SplitHelpSections(Guide(true))};
  const THelpSearch searches[] = {THelpSearch(guides[0], places), THelpSearch(guides[1], places)};
  for (const TCase& c : cases) {
    const std::vector<THelpSection>& sections = guides[c.english ? 1 : 0];
    const std::vector<std::size_t> found = searches[c.english ? 1 : 0].Find(c.key);
    ASSERT_FALSE(found.empty()) << c.key;
    std::string listed;
    for (std::size_t i = 0; i < found.size() && i < 4; ++i) listed += " " + sections[found[i]].Anchor;
    EXPECT_EQ(sections[found.front()].Anchor, c.anchor) << c.key << ": found" << listed;
    if (std::string(c.anchor) == "world-cities") {
      EXPECT_NE(listed.find("location-files"), std::string::npos) << c.key << ": found" << listed;
    }
  }
  // A city is no word of the guide without the place names; a slip is
  // taken only in a word of five letters or more, and a word that is no
  // slip of the guide's stays unknown.
  EXPECT_EQ(THelpSearch(guides[1]).Search("Honolulu").Unknown, std::vector<std::string>{"Honolulu"});
  EXPECT_EQ(searches[0].Search("Mord").Unknown, std::vector<std::string>{"Mord"});
  EXPECT_EQ(searches[1].Search("horoscope").Unknown, std::vector<std::string>{"horoscope"});
  EXPECT_EQ(PlaceNameKey("ZÜRICH Łódź Straße"), "zurich lodz strasse");
}

// --- the quoted captions of the guides ------------------------------------------------

// A text as a caption compares: runs of blanks and line breaks as one blank,
// no blanks at the ends, without a closing ':' or full stop.
std::string Spaced(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == ' ' || c == '\n' || c == '\r' || c == '\t') {
      if (!out.empty() && out.back() != ' ') out += ' ';
    } else {
      out += c;
    }
  }
  while (!out.empty() && (out.back() == ' ' || out.back() == ':')) out.pop_back();
  // A sentence's full stop, not an ellipsis.
  if (out.size() >= 2 && out.back() == '.' && out[out.size() - 2] != '.') out.pop_back();
  return out;
}

// A caption of the program as the user reads it: the access-key '&' left
// out ("&&" shows one '&').
std::string Shown(const std::string& caption) {
  std::string out;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] != '&') {
      out += caption[i];
    } else if (i + 1 < caption.size() && caption[i + 1] == '&') {
      out += '&';
      ++i;
    }
  }
  return Spaced(out);
}

// The texts the program can show, by language: the captions of the menu
// table and every string literal of the other sources (adjacent literals
// joined). Every bilingual call and table of the program writes the German
// text before the English one, so of two literals that stand alone as
// neighbouring arguments ("Optionen", "Options") the first is German and the
// second English; any other literal (one of a longer list, or beside an
// object name) may be shown in either language.
class TProgramTexts {
 public:
  explicit TProgramTexts(const std::filesystem::path& root) {
    for (const char* folder : {"app", "core", "theories", "engine", "setup", "tables", "catalogues", "eclipses",
                               "events", "orbitdet", "platform"}) {
      for (const auto& entry : std::filesystem::recursive_directory_iterator(root / folder)) {
        const std::string ext = entry.path().extension().string();
        if (entry.path().filename() == "menu_table.cpp") continue;  // read as a table below
        if (entry.is_regular_file() && (ext == ".cpp" || ext == ".h")) Read(entry.path());
      }
    }
    for (const TMenuRow& row : MenuTable()) {
      german_.insert(Shown(row.German));
      english_.insert(Shown(row.English));
    }
    for (const bool on : {false, true}) {
      german_.insert(Shown(DaylightSavingCaption(on, false)));
      english_.insert(Shown(DaylightSavingCaption(on, true)));
    }
  }
  const std::set<std::string>& Of(bool english) const { return english ? english_ : german_; }
  std::size_t Files() const { return files_; }

 private:
  // A literal (its text) or a comma; anything else between them is kOther.
  struct TToken {
    enum Kind { kLiteral, kComma, kOther } kind;
    std::string text;
  };

  void Read(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    ++files_;
    const std::vector<TToken> tokens = Tokens(text.str());
    auto literal = [&tokens](std::size_t i) { return i < tokens.size() && tokens[i].kind == TToken::kLiteral; };
    auto comma = [&tokens](std::size_t i) { return i < tokens.size() && tokens[i].kind == TToken::kComma; };
    // Literals at i and i + 2 with a comma between and no literal next to
    // them, neither an object name.
    auto pair = [&](std::size_t i) {
      return literal(i) && comma(i + 1) && literal(i + 2) && !(i >= 2 && comma(i - 1) && literal(i - 2)) &&
             !(comma(i + 3) && literal(i + 4)) && !IsObjectName(tokens[i].text) && !IsObjectName(tokens[i + 2].text);
    };
    for (std::size_t i = 0; i < tokens.size(); ++i) {
      if (!literal(i)) continue;
      const bool germanOfPair = pair(i);
      const bool englishOfPair = i >= 2 && pair(i - 2);
      const std::string shown = Shown(tokens[i].text);
      if (germanOfPair || !englishOfPair) german_.insert(shown);
      if (englishOfPair || !germanOfPair) english_.insert(shown);
    }
  }

  // An identifier with a digit, an underscore or a capital inside
  // ("RadioGroup1", "WZ"): an object name or a code, no caption in a pair.
  static bool IsObjectName(const std::string& text) {
    if (text.empty() || std::isalpha(static_cast<unsigned char>(text[0])) == 0) return false;
    bool inner = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const unsigned char c = static_cast<unsigned char>(text[i]);
      if (std::isalnum(c) == 0 && c != '_') return false;
      if (i > 0 && (std::isdigit(c) != 0 || std::isupper(c) != 0 || c == '_')) inner = true;
    }
    return inner;
  }

  // The literals and commas of a C++ source; comments, character literals
  // and preprocessor lines left out.
  static std::vector<TToken> Tokens(const std::string& src) {
    std::vector<TToken> out;
    auto other = [&out] {
      if (out.empty() || out.back().kind != TToken::kOther) out.push_back({TToken::kOther, {}});
    };
    bool lineStart = true;
    for (std::size_t i = 0; i < src.size();) {
      const char c = src[i];
      if (c == '\n') {
        lineStart = true;
        ++i;
        continue;
      }
      if (c == ' ' || c == '\t' || c == '\r') {
        ++i;
        continue;
      }
      if (lineStart && c == '#') {  // a preprocessor line, with its continuations
        while (i < src.size() && !(src[i] == '\n' && src[i - 1] != '\\')) ++i;
        continue;
      }
      lineStart = false;
      if (src.compare(i, 2, "//") == 0) {
        i = src.find('\n', i);
        if (i == std::string::npos) i = src.size();
      } else if (src.compare(i, 2, "/*") == 0) {
        const std::size_t end = src.find("*/", i + 2);
        i = end == std::string::npos ? src.size() : end + 2;
      } else if (c == '\'') {
        if (i > 0 && std::isalnum(static_cast<unsigned char>(src[i - 1])) != 0) {
          ++i;  // a digit separator (1'000)
          continue;
        }
        for (++i; i < src.size() && src[i] != '\''; ++i) {
          if (src[i] == '\\') ++i;
        }
        ++i;
        other();
      } else if (c == '"') {
        std::string text;
        for (++i; i < src.size() && src[i] != '"'; ++i) {
          if (src[i] != '\\') {
            text += src[i];
            continue;
          }
          const char e = src[++i];
          if (e == 'n' || e == 't' || e == 'r') {
            text += ' ';
          } else if (e == 'x') {
            int value = 0;
            while (i + 1 < src.size() && std::isxdigit(static_cast<unsigned char>(src[i + 1])) != 0) {
              value = value * 16 + std::stoi(std::string(1, src[++i]), nullptr, 16);
            }
            text += static_cast<char>(value);
          } else if (e >= '0' && e <= '7') {
            int value = e - '0';
            for (int k = 0; k < 2 && i + 1 < src.size() && src[i + 1] >= '0' && src[i + 1] <= '7'; ++k) {
              value = value * 8 + (src[++i] - '0');
            }
            text += static_cast<char>(value);
          } else {
            text += e;
          }
        }
        ++i;
        if (!out.empty() && out.back().kind == TToken::kLiteral) {
          out.back().text += text;  // "a" "b" is one literal
        } else {
          out.push_back({TToken::kLiteral, text});
        }
      } else if (c == ',') {
        out.push_back({TToken::kComma, {}});
        ++i;
      } else {
        // A literal's prefix (u8"...") does not part it from a comma before.
        if (!(c == 'u' && src.compare(i, 3, "u8\"") == 0)) other();
        i += c == 'u' && src.compare(i, 3, "u8\"") == 0 ? 2 : 1;
      }
    }
    return out;
  }

  std::set<std::string> german_, english_;
  std::size_t files_ = 0;
};

// The quotes of a guide ("..." in its text, Markdown code left out), each
// with the line it starts on. A '"' after a digit or after "' " outside a
// quote is the seconds mark (52° 31' 00", ° ' "). A quote does not reach
// over a blank line: one left open there is reported as `unclosed`.
struct TQuote {
  int line;
  std::string text;
};
std::vector<TQuote> Quotes(const std::string& guide, std::vector<int>& unclosed) {
  std::vector<TQuote> quotes;
  bool fence = false, code = false, open = false;
  int line = 1;
  std::string current;
  int startLine = 0;
  std::size_t lineStart = 0;
  for (std::size_t i = 0; i < guide.size(); ++i) {
    const char c = guide[i];
    if (i == lineStart && guide.compare(i, 3, "```") == 0) fence = !fence;
    if (c == '\n') {
      ++line;
      lineStart = i + 1;
      const std::size_t next = guide.find_first_not_of(" \t\r", i + 1);
      if (next == std::string::npos || guide[next] == '\n') {  // a blank line ends a paragraph
        if (open) unclosed.push_back(startLine);
        open = code = false;
      }
      if (open) current += ' ';
      continue;
    }
    if (fence) continue;
    if (c == '`') {
      code = !code;
      continue;
    }
    if (code) continue;
    if (c == '"') {
      if (open) {
        quotes.push_back({startLine, Spaced(current)});
        open = false;
        continue;
      }
      const bool afterDigit = i > 0 && std::isdigit(static_cast<unsigned char>(guide[i - 1])) != 0;
      const bool afterMinutes = i >= 2 && guide.compare(i - 2, 2, "' ") == 0;
      if (afterDigit || afterMinutes) continue;
      open = true;
      current.clear();
      startLine = line;
      continue;
    }
    if (open) current += c;
  }
  if (open) unclosed.push_back(startLine);
  return quotes;
}

// The parts of a quote around its placeholders: a "..." with a blank or the
// quote's end on one side stands for a name or a number ("Die Hilfedatei ...
// kann nicht gelesen werden."), and so do "n" and "k" standing alone; a
// "..." closing a word is the caption's own ("Suchen...").
std::vector<std::string> QuoteParts(const std::string& quote) {
  std::vector<std::string> parts(1);
  for (std::size_t i = 0; i < quote.size();) {
    if (quote.compare(i, 3, "...") == 0) {
      std::size_t end = i;
      while (end < quote.size() && quote[end] == '.') ++end;
      const bool blankBefore = i == 0 || quote[i - 1] == ' ';
      const bool blankAfter = end == quote.size() || quote[end] == ' ';
      if (blankBefore && (blankAfter || i == 0)) {
        parts.emplace_back();
        i = end;
        continue;
      }
    }
    // "n" and "k" stand for numbers ("n Zeilen ... (erste: Zeile k)").
    const bool alone = (i == 0 || std::isalnum(static_cast<unsigned char>(quote[i - 1])) == 0) &&
                       (i + 1 == quote.size() || quote[i + 1] == ' ' || quote[i + 1] == ')');
    if ((quote[i] == 'n' || quote[i] == 'k') && alone) {
      parts.emplace_back();
      ++i;
      continue;
    }
    parts.back() += quote[i++];
  }
  std::vector<std::string> kept;
  for (const std::string& part : parts) {
    if (!Spaced(part).empty()) kept.push_back(Spaced(part));
  }
  return kept;
}

// A menu path "Menu | Item" (or "Menu | Sub-menu | Item") of the menu bar, a
// context menu or a tool bar, each part under the one before with the
// caption of `english`.
bool IsMenuPath(const std::string& quote, bool english) {
  std::vector<std::string> parts;
  for (std::size_t start = 0;;) {
    const std::size_t bar = quote.find(" | ", start);
    parts.push_back(Spaced(quote.substr(start, bar == std::string::npos ? std::string::npos : bar - start)));
    if (bar == std::string::npos) break;
    start = bar + 3;
  }
  std::vector<std::string> level = {""};  // the names of the rows matched so far
  for (const std::string& part : parts) {
    std::vector<std::string> next;
    for (const TMenuRow& row : MenuTable()) {
      if (std::find(level.begin(), level.end(), row.Parent) == level.end() || row.Name[0] == '\0') continue;
      std::vector<std::string> captions = {Shown(RowCaption(row, english))};
      if (std::string(row.Name) == "Sommerzeit1") {
        captions = {Shown(DaylightSavingCaption(true, english)), Shown(DaylightSavingCaption(false, english))};
      }
      if (std::find(captions.begin(), captions.end(), part) != captions.end()) next.emplace_back(row.Name);
    }
    if (next.empty()) return false;
    level = next;
  }
  return true;
}

// A quote the program shows: a menu path, or a text of the program in that
// language (also without a closing remark in brackets; a quote of four words
// or more also within a longer text; the parts around placeholders within
// one text, in their order, or each part a text of its own).
bool ProgramShows(const std::string& quote, const std::set<std::string>& texts, bool english) {
  if (quote.find(" | ") != std::string::npos) return IsMenuPath(quote, english);
  if (texts.count(quote) != 0) return true;
  // A caption without the remark in brackets at its end ("Störende Planeten"
  // for "Störende Planeten (bei der numerischen Integration ...)").
  for (const std::string& text : texts) {
    if (text.size() > quote.size() + 2 && text.compare(0, quote.size() + 2, quote + " (") == 0 && text.back() == ')') {
      return true;
    }
  }
  // A sentence of a longer message, four words or more.
  if (std::count(quote.begin(), quote.end(), ' ') >= 3) {
    for (const std::string& text : texts) {
      if (text.find(quote) != std::string::npos) return true;
    }
  }
  const std::vector<std::string> parts = QuoteParts(quote);
  if (parts.empty() || (parts.size() == 1 && parts[0] == quote)) return false;
  for (const std::string& text : texts) {
    std::size_t at = 0;
    bool all = true;
    for (const std::string& part : parts) {
      at = text.find(part, at);
      if (at == std::string::npos) {
        all = false;
        break;
      }
      at += part.size();
    }
    if (all) return true;
  }
  for (const std::string& part : parts) {
    if (texts.count(part) == 0) return false;
  }
  return true;
}

// Quotes of either guide that are no text of the program, with the reason.
const std::map<std::string, std::string> kNoCaption = {
    {"Ja", "a message box's standard button, captioned by Qt in the program's language"},
    {"Nein", "a message box's standard button, captioned by Qt in the program's language"},
    {"Yes", "a message box's standard button, captioned by Qt"},
    {"No", "a message box's standard button, captioned by Qt"},
    {"####", "what the sheet draws in a cell too narrow for its value"},
    {"C12", "a cell address as the user types it"},
    {"nan", "an entry the element dialogs refuse"},
    {"(MEZ)", "a time zone's name as the date-and-place dialog shows it beside the zone"},
    {"(CET)", "a time zone's name as the date-and-place dialog shows it beside the zone"},
    {"(UTC+14)", "the offset the date-and-place dialog shows beside a zone more than 12 h from UT"},
    {":ELEMENTE VARIABLE VAMUR!", "the first line of a variable-star file"},
    {":LONGITUDES!", "the first line of a surface-feature file"},
};

TEST(HelpGuide, EveryQuotedCaptionAndMenuPathIsTheProgramsOwn) {
  const TProgramTexts program(KVX_SOURCE_DIR);
  ASSERT_GT(program.Files(), 200u);
  // The reader tells the languages apart (a fault here would let every
  // quote through or none).
  EXPECT_EQ(program.Of(false).count("Zeitraum und Schrittweite für Ephemeride"), 1u);
  EXPECT_EQ(program.Of(true).count("Zeitraum und Schrittweite für Ephemeride"), 0u);
  EXPECT_EQ(program.Of(false).count("Jahr: muß >=-4712 und <=20000 sein!"), 1u);
  EXPECT_EQ(program.Of(true).count("Year: must be >=-4712 and <=20000"), 1u);
  EXPECT_EQ(program.Of(true).count("Anzeige der Ephemeridentabelle konfigurieren"), 0u);
  EXPECT_TRUE(IsMenuPath("Zeit/Ort | Zeitraum für Tabelle...", false));
  EXPECT_FALSE(IsMenuPath("Zeit/Ort | Zeitraum für Tabelle...", true));
  EXPECT_FALSE(IsMenuPath("Einstellungen | Zeitraum für Tabelle...", false));

  std::set<std::string> excepted;
  for (const bool english : {false, true}) {
    SCOPED_TRACE(english ? "English guide" : "German guide");
    std::vector<int> unclosed;
    const std::vector<TQuote> quotes = Quotes(Guide(english), unclosed);
    EXPECT_GT(quotes.size(), 250u);
    for (int line : unclosed) ADD_FAILURE() << "line " << line << ": a quote is not closed in its paragraph";
    for (const TQuote& quote : quotes) {
      if (kNoCaption.count(quote.text) != 0) {
        excepted.insert(quote.text);
        continue;
      }
      EXPECT_TRUE(ProgramShows(quote.text, program.Of(english), english))
          << "line " << quote.line << ": \"" << quote.text << "\" is no caption, message or menu path of the program";
    }
  }
  // An exception the guides no longer need goes.
  for (const auto& [quote, reason] : kNoCaption) EXPECT_EQ(excepted.count(quote), 1u) << "unused: " << quote;
}

}  // namespace
}  // namespace kvx
