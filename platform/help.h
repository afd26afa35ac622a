// The program's help: the help text (the README shipped beside the data
// folder, Markdown) cut into sections at its headings, the search over
// them, the page on using the help, and the seam through which the Help
// menu and the dialogs' help buttons show it. The main window installs the
// Qt viewer (platform/qt/qt_help_viewer.h); tests install a
// RecordingHelpViewer (tests/support/recording_help_viewer.h). With no
// viewer installed nothing is shown.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/seam.h"

namespace kvx {

// One section of the help text: its heading without the '#' marks, the
// heading's level (1 for "#", 2 for "##", ...) and its Markdown from the
// heading line up to the next heading of any level.
struct THelpSection {
  std::string Title;
  int Level = 1;
  std::string Text;
};

// Cuts a Markdown text into its sections. Heading lines start with 1 to 6
// '#' and a blank at the start of the line; lines inside ``` fences are
// text. Text before the first heading becomes a section titled `preamble`
// (left out when it is blank).
std::vector<THelpSection> SplitHelpSections(const std::string& markdown, const std::string& preamble = "");

// The sections whose title or text holds every blank-separated word of
// `key`, case ignored (ASCII and the Latin-1 letters of UTF-8), in the
// order of the text; a blank key finds every section.
std::vector<std::size_t> FindHelpSections(const std::vector<THelpSection>& sections, const std::string& key);

// The section whose title equals `title`, case ignored.
std::optional<std::size_t> FindHelpTopic(const std::vector<THelpSection>& sections, const std::string& title);

// The page on how to use the help (Markdown), German or English.
std::string HowToUseHelpText(bool english);

// Section titles the dialogs ask for; each stands as a heading of the
// README (a test checks them).
inline constexpr const char* kHelpTopicSatellites = "Earth satellites";
inline constexpr const char* kHelpTopicOrbits = "Observations and first orbits";
inline constexpr const char* kHelpTopicIntegration = "Files the program reads";

class HelpViewer {
 public:
  virtual ~HelpViewer() = default;
  // "&Inhalt" / "&Contents": the help text from its first section.
  virtual void ShowContents() = 0;
  // "&Suchen..." / "&Search...": the search with an empty key.
  virtual void ShowSearch() = 0;
  // "&Hilfe benutzen" / "&Using help".
  virtual void ShowHowToUse() = 0;
  // One section by its title; the contents when there is no such section.
  virtual void ShowTopic(const std::string& title) = 0;
};

// Installs the viewer the routines below use; returns the previous one.
HelpViewer* SetHelpViewer(HelpViewer* viewer);
void ShowHelpContents();
void ShowHelpSearch();
void ShowHelpHowToUse();
void ShowHelpTopic(const std::string& title);

using ScopedHelpViewer = TScopedSeam<HelpViewer, SetHelpViewer>;

}  // namespace kvx
