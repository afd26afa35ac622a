#include "platform/help.h"

#include <cstring>
#include <sstream>
#include <utility>

#include "platform/text_encoding.h"

namespace kvx {

namespace {

HelpViewer* current_viewer = nullptr;
std::string fallback_section;

// The heading level of a line ("## Title" gives 2), 0 for any other line.
int HeadingLevel(const std::string& line) {
  std::size_t marks = 0;
  while (marks < line.size() && line[marks] == '#') ++marks;
  if (marks == 0 || marks > 6 || marks >= line.size() || line[marks] != ' ') return 0;
  return static_cast<int>(marks);
}

// Without the blanks around it and the closing '#' marks of a heading; a
// text of nothing but blanks and '#' marks gives an empty text.
std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  const std::size_t last = text.find_last_not_of(" \t\r#");
  if (first == std::string::npos || last == std::string::npos || last < first) return {};
  return text.substr(first, last - first + 1);
}

// Takes a trailing "{#name}" off a heading line and returns the name
// (empty when the line has none).
std::string CutAnchor(std::string& line) {
  const std::size_t end = line.find_last_not_of(" \t");
  if (end == std::string::npos || line[end] != '}') return {};
  const std::size_t open = line.rfind("{#", end);
  if (open == std::string::npos) return {};
  std::string anchor = line.substr(open + 2, end - open - 2);
  if (anchor.empty() || anchor.find_first_of(" {}") != std::string::npos) return {};
  line.erase(line.find_last_not_of(' ', open == 0 ? 0 : open - 1) + 1);
  return anchor;
}

// The keyword comment of a section: "<!-- keywords: word, two words -->",
// on one line or several.
constexpr const char* kKeywordsStart = "<!-- keywords:";
constexpr const char* kCommentEnd = "-->";

bool StartsKeywords(const std::string& line) {
  const std::size_t first = line.find_first_not_of(" \t");
  return first != std::string::npos && line.compare(first, std::strlen(kKeywordsStart), kKeywordsStart) == 0;
}

// Takes one line of a keyword comment (the first line with its start) into
// `comment`; at the comment's end its keywords go to `keywords`. True while
// the comment goes on after the line.
bool TakeKeywords(std::string line, std::string& comment, std::vector<std::string>& keywords) {
  if (StartsKeywords(line)) line.erase(0, line.find(kKeywordsStart) + std::strlen(kKeywordsStart));
  const std::size_t end = line.find(kCommentEnd);
  comment += ' ' + line.substr(0, end);
  if (end == std::string::npos) return true;
  std::istringstream words(comment);
  for (std::string word; std::getline(words, word, ',');) {
    word = Trimmed(word);
    if (!word.empty()) keywords.push_back(word);
  }
  comment.clear();
  return false;
}

constexpr THelpTopic kTopics[] = {
    {kHelpTopicIntegrationAccuracy, "integration-method"},
    {kHelpTopicFileBrowser, "file-browser"},
    {kHelpTopicDatePlace, "date-place"},
    {kHelpTopicJulianDate, "julian-day"},
    {kHelpTopicLunarOccultations, "lunar-occultations"},
    {kHelpTopicVsopAccuracy, "vsop-accuracy"},
    {kHelpTopicAsteroidElements, "asteroid-elements"},
    {kHelpTopicCometElements, "comet-elements"},
    {kHelpTopicSatellites, "satellites"},
    {kHelpTopicVariableStars, "variable-stars"},
    {kHelpTopicStartValues, "start-values"},
    {kHelpTopicIntegrationOutput, "integration-output"},
    {kHelpTopicSingleDatePage, "single-date-page"},
    {kHelpTopicSatelliteVisibility, "satellite-visibility"},
    {kHelpTopicEventSearch, "event-search"},
    {kHelpTopicConjunctions, "conjunctions"},
    {kHelpTopicSeveralObjects, "several-objects"},
    {kHelpTopicAlmanac, "almanac"},
    {kHelpTopicEventFound, "event-found"},
    {kHelpTopicObservationChoice, "observation-choice"},
    {kHelpTopicResiduals, "residuals"},
    {kHelpTopicOrbitOptions, "orbit-settings"},
    {kHelpTopicMoonEvent, "moon-events"},
    {kHelpTopicLocationFiles, "location-files"},
    {kHelpTopicAsteroidFiles, "element-files"},
    {kHelpTopicCometFiles, "element-files"},
    {kHelpTopicConfigurationFiles, "configuration-files"},
};

}  // namespace

std::vector<THelpSection> SplitHelpSections(const std::string& markdown, const std::string& preamble) {
  std::vector<THelpSection> sections;
  THelpSection current{preamble, 1, {}, {}, {}};
  bool inFence = false;
  bool inKeywords = false;
  std::string comment;
  std::istringstream in(markdown);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!inFence && (inKeywords || StartsKeywords(line))) {
      inKeywords = TakeKeywords(line, comment, current.Keywords);
      continue;
    }
    if (line.rfind("```", 0) == 0) inFence = !inFence;
    const int level = inFence ? 0 : HeadingLevel(line);
    if (level > 0) {
      if (!sections.empty() || Trimmed(current.Text).size() > 0) sections.push_back(std::move(current));
      std::string anchor = CutAnchor(line);
      current = THelpSection{Trimmed(line.substr(static_cast<std::size_t>(level))), level, {}, std::move(anchor), {}};
    }
    current.Text += line;
    current.Text += '\n';
  }
  if (!sections.empty() || Trimmed(current.Text).size() > 0) sections.push_back(std::move(current));
  return sections;
}

std::optional<std::size_t> FindHelpTopic(const std::vector<THelpSection>& sections, const std::string& title) {
  const std::string wanted = LowerCaseLatinText(Trimmed(title));
  for (std::size_t i = 0; i < sections.size(); ++i) {
    if (LowerCaseLatinText(sections[i].Title) == wanted) return i;
  }
  return std::nullopt;
}

std::optional<std::size_t> FindHelpAnchor(const std::vector<THelpSection>& sections, const std::string& anchor) {
  for (std::size_t i = 0; i < sections.size(); ++i) {
    if (!anchor.empty() && sections[i].Anchor == anchor) return i;
  }
  return std::nullopt;
}

std::string HelpFileName(bool english) { return english ? "help/guide-en.md" : "help/guide-de.md"; }

std::span<const THelpTopic> HelpTopics() { return kTopics; }

const char* HelpTopicAnchor(int topic) {
  for (const THelpTopic& entry : kTopics) {
    if (entry.Number == topic) return entry.Anchor;
  }
  return nullptr;
}

std::string HowToUseHelpText(bool english) {
  if (english) {
    return "# Using help\n\n"
           "The help is the program's user's guide, in the language the program speaks "
           "(\"English version\" in the View menu switches both). It is divided into sections by "
           "its headings.\n\n"
           "- **Contents** (F1 in the main window) opens the help window at the guide's first "
           "section. The list on the left holds the section titles, indented by level; the right "
           "side shows the chosen section. Click a title, or move through the list with the arrow "
           "keys, to read its section. Words in blue are links to other sections.\n"
           "- **F1 in a dialog** or in another window of the program opens the section that "
           "describes that window; where the guide has no section of its own for it, the section "
           "of the menu you opened it from. The dialogs of the English program have no Help "
           "buttons.\n"
           "- **Search...** (also the \"Search...\" button of the help window) asks for one or more "
           "words and lists the sections that contain all of them, the best first: words in the title "
           "count most, then words in bold (the terms a section explains), then the other matches; the "
           "words as typed count more than their stems, and words standing together as in the search "
           "more than scattered ones. "
           "Upper and lower case do not matter, and the stem of a word is enough: \"eclipse\" also "
           "finds \"eclipses\". A word the guide does not hold is looked for by its parts: "
           "\"sunrise\" finds the sections on \"sun\" and \"rise\". "
           "Everyday words of observers find the guide's terms (\"dusk\" and \"dawn\" the twilight), "
           "the name of a city the world database and the location files, and a word with one "
           "letter wrong, left out, added or swapped the guide's word (\"eclipce\" finds "
           "\"eclipse\"). "
           "Each section also knows words a reader may type for it that its text does not use "
           "(everyday names, abbreviations such as JD or ISS, German terms); they count like its title. "
           "Words such as \"the\", \"how\" or \"change\" are not needed in a section. A word no section "
           "holds is named above the list; when it is all you typed, the list shows the contents "
           "instead. "
           "Double-click a title, or choose it and press \"Show\", to read that section. An empty "
           "search lists every section.\n"
           "- **Using help** shows this page; choose a title on the left to go back to the guide.\n"
           "- **Legend** lists every column heading of the tables with what it means.\n"
           "- **Handbuch** (the item keeps its German caption) opens the manual (a PDF) when one is "
           "installed.\n\n"
           "Opened from a dialog, the help window stays on top of the dialog: close it "
           "(\"Close\") to go on with the dialog. Opened from the menu, it stays open beside the "
           "main window until you close it.\n";
  }
  return "# Hilfe benutzen\n\n"
         "Die Hilfe ist das Benutzerhandbuch des Programms, in der Sprache, die das Programm gerade "
         "spricht (\"Englische Version\" im Menü Ansicht schaltet beides um). Es ist nach seinen "
         "Überschriften in Abschnitte geteilt.\n\n"
         "- **Inhalt** (F1 im Hauptfenster) öffnet das Hilfefenster beim ersten Abschnitt des "
         "Handbuchs. Die Liste links enthält die Überschriften der Abschnitte, nach ihrer Ebene "
         "eingerückt; rechts steht der gewählte Abschnitt. Ein Klick auf eine Überschrift, oder die "
         "Pfeiltasten in der Liste, zeigen ihren Abschnitt. Blau gesetzte Wörter sind Verweise auf "
         "andere Abschnitte.\n"
         "- **F1 in einem Dialog** oder einem anderen Fenster des Programms öffnet den Abschnitt, der "
         "dieses Fenster beschreibt; hat das Handbuch keinen eigenen Abschnitt dafür, den Abschnitt "
         "des Menüs, aus dem Sie es geöffnet haben. Die Schaltfläche **Hilfe** eines Dialogs öffnet "
         "denselben Abschnitt.\n"
         "- **Suchen...** (auch die Schaltfläche \"Suchen...\" des Hilfefensters) fragt nach einem oder "
         "mehreren Wörtern und listet die Abschnitte, die alle enthalten, die besten zuerst: Wörter in "
         "der Überschrift zählen am meisten, dann fett gesetzte (die Begriffe, die ein Abschnitt "
         "erklärt), dann die übrigen Treffer; die Wörter, wie getippt, zählen mehr als ihr Stamm, und "
         "Wörter, die wie in der Suche beieinanderstehen, mehr als verstreute. Groß- und "
         "Kleinschreibung zählen nicht, und der Wortstamm genügt: "
         "\"Finsternis\" findet auch \"Finsternisse\". Zusammengesetzte Wörter findet die Suche "
         "auch über ihre Teile: \"Sonnenaufgang\" findet die Abschnitte über \"Sonne\" und "
         "\"Aufgang\", und \"Aufgang\" findet auch \"Auf- und Untergang\". Alltagswörter von "
         "Beobachtern finden die Begriffe des Handbuchs (\"Morgengrauen\" und \"Tagesanbruch\" die "
         "Dämmerung), der Name einer Stadt die Weltdatenbank und die Ortsdateien, und ein Wort mit "
         "einem falschen, fehlenden, überzähligen oder vertauschten Buchstaben das Wort des "
         "Handbuchs (\"Komett\" findet \"Komet\"). Jeder Abschnitt kennt "
         "außerdem Wörter, die man für ihn tippen mag, die sein Text aber nicht verwendet "
         "(Alltagsnamen, Abkürzungen wie JD oder ISS, englische Begriffe); sie zählen wie seine "
         "Überschrift. Wörter wie \"der\", \"wie\" oder \"ändern\" muss ein Abschnitt nicht enthalten. "
         "Ein Wort, das kein Abschnitt enthält, nennt die Suche über der Liste; ist es alles, was Sie "
         "getippt haben, zeigt die Liste stattdessen das Inhaltsverzeichnis. Ein "
         "Doppelklick auf eine Überschrift, oder Auswählen und \"Anzeigen\", zeigt den Abschnitt. Eine "
         "leere Suche listet alle Abschnitte.\n"
         "- **Hilfe benutzen** zeigt diese Seite; eine Überschrift links führt zurück ins Handbuch.\n"
         "- **Legende** listet jede Spaltenüberschrift der Tabellen mit ihrer Bedeutung.\n"
         "- **Handbuch** öffnet das Handbuch (PDF), wenn eines installiert ist.\n\n"
         "Aus einem Dialog geöffnet steht das Hilfefenster über dem Dialog: schließen Sie es "
         "(\"Schließen\"), um im Dialog weiterzuarbeiten. Aus dem Menü geöffnet bleibt es neben dem "
         "Hauptfenster offen, bis Sie es schließen.\n";
}

const std::string& HelpFallbackSection() { return fallback_section; }

ScopedHelpFallback::ScopedHelpFallback(std::string anchor) : previous_(fallback_section) {
  if (!anchor.empty()) fallback_section = std::move(anchor);
}

ScopedHelpFallback::~ScopedHelpFallback() { fallback_section = std::move(previous_); }

HelpViewer* SetHelpViewer(HelpViewer* viewer) { return std::exchange(current_viewer, viewer); }

void ShowHelpContents() {
  if (current_viewer != nullptr) current_viewer->ShowContents();
}

void ShowHelpSearch() {
  if (current_viewer != nullptr) current_viewer->ShowSearch();
}

void ShowHelpHowToUse() {
  if (current_viewer != nullptr) current_viewer->ShowHowToUse();
}

void ShowHelpTopic(int topic) {
  if (current_viewer != nullptr) current_viewer->ShowTopic(topic);
}

void ShowHelpSection(const std::string& anchor) {
  if (current_viewer != nullptr) current_viewer->ShowSection(anchor);
}

}  // namespace kvx
