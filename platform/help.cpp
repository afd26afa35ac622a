#include "platform/help.h"

#include <sstream>
#include <utility>

namespace kvx {

namespace {

HelpViewer* current_viewer = nullptr;

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

// ASCII letters and the two-byte UTF-8 forms of the Latin-1 capitals
// (U+00C0..U+00DE but the multiplication sign) in lower case.
std::string Lowered(const std::string& text) {
  std::string out(text);
  for (std::size_t i = 0; i < out.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(out[i]);
    if (c >= 'A' && c <= 'Z') {
      out[i] = static_cast<char>(c - 'A' + 'a');
    } else if (c == 0xC3 && i + 1 < out.size()) {
      const unsigned char next = static_cast<unsigned char>(out[i + 1]);
      if (next >= 0x80 && next <= 0x9E && next != 0x97) out[i + 1] = static_cast<char>(next + 0x20);
      ++i;
    }
  }
  return out;
}

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::istringstream in(text);
  for (std::string word; in >> word;) words.push_back(Lowered(word));
  return words;
}

}  // namespace

std::vector<THelpSection> SplitHelpSections(const std::string& markdown, const std::string& preamble) {
  std::vector<THelpSection> sections;
  THelpSection current{preamble, 1, {}};
  bool inFence = false;
  std::istringstream in(markdown);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("```", 0) == 0) inFence = !inFence;
    const int level = inFence ? 0 : HeadingLevel(line);
    if (level > 0) {
      if (!sections.empty() || Trimmed(current.Text).size() > 0) sections.push_back(std::move(current));
      current = THelpSection{Trimmed(line.substr(static_cast<std::size_t>(level))), level, {}};
    }
    current.Text += line;
    current.Text += '\n';
  }
  if (!sections.empty() || Trimmed(current.Text).size() > 0) sections.push_back(std::move(current));
  return sections;
}

std::vector<std::size_t> FindHelpSections(const std::vector<THelpSection>& sections, const std::string& key) {
  const std::vector<std::string> words = Words(key);
  std::vector<std::size_t> found;
  for (std::size_t i = 0; i < sections.size(); ++i) {
    const std::string text = Lowered(sections[i].Title) + "\n" + Lowered(sections[i].Text);
    bool all = true;
    for (const std::string& word : words) all = all && text.find(word) != std::string::npos;
    if (all) found.push_back(i);
  }
  return found;
}

std::optional<std::size_t> FindHelpTopic(const std::vector<THelpSection>& sections, const std::string& title) {
  const std::string wanted = Lowered(Trimmed(title));
  for (std::size_t i = 0; i < sections.size(); ++i) {
    if (Lowered(sections[i].Title) == wanted) return i;
  }
  return std::nullopt;
}

std::string HowToUseHelpText(bool english) {
  if (english) {
    return "# Using help\n\n"
           "The help is the program's description, divided into sections by their headings.\n\n"
           "- **Contents** (F1) opens the help window: the list on the left holds the section titles, "
           "the right side shows the chosen section. Click a title to read its section.\n"
           "- **Search...** asks for one or more words and lists the sections that contain all of "
           "them (upper and lower case do not matter). Double-click a title, or choose it and press "
           "\"Show\", to read that section. An empty search lists every section.\n"
           "- The **Help** buttons of the dialogs open the section that describes the dialog.\n"
           "- **Legend** lists every column heading of the tables with what it means.\n"
           "- **Manual** opens the manual (a PDF) when one is installed.\n\n"
           "Opened from the menu, the help window stays open beside the main window until you close it; "
           "opened from a dialog, close it to go on in the dialog.\n";
  }
  return "# Hilfe benutzen\n\n"
         "Die Hilfe ist die Beschreibung des Programms, nach ihren Überschriften in Abschnitte geteilt.\n\n"
         "- **Inhalt** (F1) öffnet das Hilfefenster: die Liste links enthält die Überschriften der "
         "Abschnitte, rechts steht der gewählte Abschnitt. Ein Klick auf eine Überschrift zeigt ihren "
         "Abschnitt.\n"
         "- **Suchen...** fragt nach einem oder mehreren Wörtern und listet die Abschnitte, die alle "
         "enthalten (Groß- und Kleinschreibung zählen nicht). Ein Doppelklick auf eine Überschrift, "
         "oder Auswählen und \"Anzeigen\", zeigt den Abschnitt. Eine leere Suche listet alle "
         "Abschnitte.\n"
         "- Die Schaltflächen **Hilfe** der Dialoge öffnen den Abschnitt, der den Dialog beschreibt.\n"
         "- **Legende** listet jede Spaltenüberschrift der Tabellen mit ihrer Bedeutung.\n"
         "- **Handbuch** öffnet das Handbuch (PDF), wenn eines installiert ist.\n\n"
         "Aus dem Menü geöffnet bleibt das Hilfefenster neben dem Hauptfenster offen, bis Sie es schließen; "
         "aus einem Dialog geöffnet, schließen Sie es, um im Dialog weiterzuarbeiten.\n";
}

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

void ShowHelpTopic(const std::string& title) {
  if (current_viewer != nullptr) current_viewer->ShowTopic(title);
}

}  // namespace kvx
