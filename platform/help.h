// The program's help: the user's guide (Markdown, one file per language in
// the shipped data folder's "help" folder, with its pictures) cut into
// sections at its headings (searched by platform/help_search.h), the page on
// using the help, the table of the dialogs' help topics, and the seam through
// which the Help menu and the dialogs' help buttons show it. The main window
// installs the Qt viewer (platform/qt/qt_help_viewer.h); tests install a
// RecordingHelpViewer (tests/support/recording_help_viewer.h). With no
// viewer installed nothing is shown.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/seam.h"

namespace kvx {

// One section of the help text: its heading without the '#' marks, the
// heading's level (1 for "#", 2 for "##", ...), its anchor (the name in a
// trailing "{#name}" of the heading, empty without one), its Markdown from
// the heading line (without the anchor) up to the next heading of any level,
// and the words a reader may search it by that its text does not show.
struct THelpSection {
  std::string Title;
  int Level = 1;
  std::string Text;
  std::string Anchor;
  std::vector<std::string> Keywords;
};

// Cuts a Markdown text into its sections. Heading lines start with 1 to 6
// '#' and a blank at the start of the line; lines inside ``` fences are
// text. Text before the first heading becomes a section titled `preamble`
// (left out when it is blank). A comment that starts a line with
// "<!-- keywords:" holds the section's keywords, separated by commas, up to
// its "-->" (on that line or a later one); it is no part of the text.
std::vector<THelpSection> SplitHelpSections(const std::string& markdown, const std::string& preamble = "");

// The section whose title equals `title`, case ignored.
std::optional<std::size_t> FindHelpTopic(const std::vector<THelpSection>& sections, const std::string& title);

// The section whose anchor is `anchor`.
std::optional<std::size_t> FindHelpAnchor(const std::vector<THelpSection>& sections, const std::string& anchor);

// The page on how to use the help (Markdown), German or English.
std::string HowToUseHelpText(bool english);

// The guide of a language, relative to the shipped data folder.
std::string HelpFileName(bool english);

// The numbered help topics of the dialogs: the number a dialog's help button
// (and F1 in the dialog) asks for, and the anchor of the guide's section
// that describes the dialog. A dialog without a number names its section's
// anchor instead. Both guides hold every anchor (a test checks them).
struct THelpTopic {
  int Number;
  const char* Anchor;
};
std::span<const THelpTopic> HelpTopics();
// The anchor of a topic number, nullptr for an unknown number.
const char* HelpTopicAnchor(int topic);

// The section F1 opens in a window that names no section of its own: while
// a menu command runs, the section of the menu that holds it (the main
// window sets it around each command, see ScopedHelpFallback); empty
// otherwise, which leaves the contents.
const std::string& HelpFallbackSection();
// Sets the fallback section for its lifetime and puts the previous one back
// (a command that runs another one gets the inner command's menu meanwhile);
// an empty anchor keeps the one set.
class ScopedHelpFallback {
 public:
  explicit ScopedHelpFallback(std::string anchor);
  ~ScopedHelpFallback();
  ScopedHelpFallback(const ScopedHelpFallback&) = delete;
  ScopedHelpFallback& operator=(const ScopedHelpFallback&) = delete;

 private:
  std::string previous_;
};

inline constexpr int kHelpTopicIntegrationAccuracy = 51;   // numerical integration method
inline constexpr int kHelpTopicFileBrowser = 70;           // file browser
inline constexpr int kHelpTopicDatePlace = 101;            // date, time and place
inline constexpr int kHelpTopicJulianDate = 137;           // Julian day, UT, day fraction
inline constexpr int kHelpTopicLunarOccultations = 149;    // occultations of stars by the Moon
inline constexpr int kHelpTopicVsopAccuracy = 151;         // accuracy of the VSOP series
inline constexpr int kHelpTopicAsteroidElements = 155;     // asteroid elements
inline constexpr int kHelpTopicCometElements = 157;        // comet elements
inline constexpr int kHelpTopicSatellites = 159;           // choice of the satellites
inline constexpr int kHelpTopicVariableStars = 160;        // variable stars
inline constexpr int kHelpTopicStartValues = 188;          // start values of the integration
inline constexpr int kHelpTopicIntegrationOutput = 191;    // output of the integration
inline constexpr int kHelpTopicSingleDatePage = 195;       // the single-date page of a body
inline constexpr int kHelpTopicSatelliteVisibility = 205;  // satellite visibility
inline constexpr int kHelpTopicEventSearch = 220;          // event search of one object
inline constexpr int kHelpTopicConjunctions = 221;         // conjunctions of two objects
inline constexpr int kHelpTopicSeveralObjects = 222;       // events of several objects
inline constexpr int kHelpTopicAlmanac = 223;              // almanac
inline constexpr int kHelpTopicEventFound = 234;           // event found
inline constexpr int kHelpTopicObservationChoice = 236;    // choice of observations
inline constexpr int kHelpTopicResiduals = 237;            // residuals form
inline constexpr int kHelpTopicOrbitOptions = 242;         // orbit-determination settings
inline constexpr int kHelpTopicMoonEvent = 244;            // moons of Jupiter and Saturn
inline constexpr int kHelpTopicLocationFiles = 9500;       // location files
inline constexpr int kHelpTopicAsteroidFiles = 9502;       // asteroid element files
inline constexpr int kHelpTopicCometFiles = 9504;          // comet and variable-star files
inline constexpr int kHelpTopicConfigurationFiles = 9508;  // configuration files

class HelpViewer {
 public:
  virtual ~HelpViewer() = default;
  // "&Inhalt" / "&Contents": the help text from its first section.
  virtual void ShowContents() = 0;
  // "&Suchen..." / "&Search...": the search with an empty key.
  virtual void ShowSearch() = 0;
  // "&Hilfe benutzen" / "&Using help".
  virtual void ShowHowToUse() = 0;
  // The section of a help topic (see HelpTopics); the contents when there
  // is no such section.
  virtual void ShowTopic(int topic) = 0;
  // The section with the anchor `anchor`; the contents when there is none.
  virtual void ShowSection(const std::string& anchor) = 0;
};

// Installs the viewer the routines below use; returns the previous one.
HelpViewer* SetHelpViewer(HelpViewer* viewer);
void ShowHelpContents();
void ShowHelpSearch();
void ShowHelpHowToUse();
void ShowHelpTopic(int topic);
void ShowHelpSection(const std::string& anchor);

using ScopedHelpViewer = TScopedSeam<HelpViewer, SetHelpViewer>;

}  // namespace kvx
