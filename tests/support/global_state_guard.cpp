// Linked into every test program (nothing references it): a listener that
// notes the process-wide state when a test suite or a test starts and puts
// it back when it ends, after the fixture is gone. A test may change that
// state freely (the language, a seam, an environment variable) without
// reaching the tests after it, in whatever order they run: ./test.sh runs
// each program once more in one process with its tests shuffled.
//
// The state: the switches of platform/globals.h (language, cancel flag,
// locale separators), the name and heading tables that follow the language
// and the separators (core/name_tables.h), every platform seam, the
// environment and the working folder.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <map>
#include <string>
#include <system_error>
#include <vector>

#include "core/name_tables.h"
#include "platform/busy_cursor.h"
#include "platform/clock.h"
#include "platform/color_chooser.h"
#include "platform/desktop_opener.h"
#include "platform/file_dialog.h"
#include "platform/folder_chooser.h"
#include "platform/globals.h"
#include "platform/help.h"
#include "platform/messages.h"
#include "platform/progress.h"
#include "platform/settings_store.h"

extern char** environ;

namespace kvx {
namespace {

// The seam installed now, read without changing it.
template <class Interface>
Interface* Installed(Interface* (*set)(Interface*)) {
  Interface* current = set(nullptr);
  set(current);
  return current;
}

std::map<std::string, std::string> Environment() {
  std::map<std::string, std::string> variables;
  for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
    const std::string text = *entry;
    const auto equals = text.find('=');
    if (equals != std::string::npos) variables[text.substr(0, equals)] = text.substr(equals + 1);
  }
  return variables;
}

struct TProcessState {
  std::uint8_t Language = 0;
  std::uint8_t Abort = 0;
  TIntlSeparators Separators;
  BusyCursor* Cursor = nullptr;
  SystemClock* Clock = nullptr;
  ColorChooser* Colors = nullptr;
  DesktopOpener* Opener = nullptr;
  FileDialog* Files = nullptr;
  FolderChooser* Folders = nullptr;
  HelpViewer* Help = nullptr;
  MessageSink* Messages = nullptr;
  ProgressReporter* Progress = nullptr;
  SettingsStore* Settings = nullptr;
  std::map<std::string, std::string> Variables;
  std::filesystem::path Folder;
  // core/name_tables.h, the column headings among them.
  decltype(WeekdayNames) Weekdays;
  decltype(DaylightSavingMarks) DaylightMarks;
  decltype(SeasonNames) Seasons;
  decltype(PlanetNames) Planets;
  decltype(VsopBodyNames) VsopBodies;
  decltype(SunAndPlanetNames) SunAndPlanets;
  decltype(SearchBodyNames) SearchBodies;
  decltype(EventKindNames) EventKinds;
  decltype(ZoneNames) Zones;
  decltype(DecimalPatternSources) PatternSources;
  decltype(DecimalPatternTable) Patterns;
  std::string Hms, Hm;
  decltype(DefaultColumnHeadings) Headings;
  decltype(DefaultColumnDescriptions) Descriptions;
  decltype(DataFormatKind) FormatKinds;
  decltype(DataFormatDecimals) FormatDecimals;

  static TProcessState Now() {
    TProcessState s;
    s.Language = LanguageEnglish;
    s.Abort = AbortRequested.load();
    s.Separators = IntlSeparators;
    s.Cursor = Installed(&SetBusyCursor);
    s.Clock = Installed(&SetSystemClock);
    s.Colors = Installed(&SetColorChooser);
    s.Opener = Installed(&SetDesktopOpener);
    s.Files = Installed(&SetFileDialog);
    s.Folders = Installed(&SetFolderChooser);
    s.Help = Installed(&SetHelpViewer);
    s.Messages = Installed(&SetMessageSink);
    s.Progress = Installed(&SetProgressReporter);
    s.Settings = Installed(&SetSettingsStore);
    s.Variables = Environment();
    std::error_code error;
    s.Folder = std::filesystem::current_path(error);
    s.Weekdays = WeekdayNames;
    s.DaylightMarks = DaylightSavingMarks;
    s.Seasons = SeasonNames;
    s.Planets = PlanetNames;
    s.VsopBodies = VsopBodyNames;
    s.SunAndPlanets = SunAndPlanetNames;
    s.SearchBodies = SearchBodyNames;
    s.EventKinds = EventKindNames;
    s.Zones = ZoneNames;
    s.PatternSources = DecimalPatternSources;
    s.Patterns = DecimalPatternTable;
    s.Hms = TimePatternHms;
    s.Hm = TimePatternHm;
    s.Headings = DefaultColumnHeadings;
    s.Descriptions = DefaultColumnDescriptions;
    s.FormatKinds = DataFormatKind;
    s.FormatDecimals = DataFormatDecimals;
    return s;
  }

  void Restore() const {
    LanguageEnglish = Language;
    AbortRequested.store(Abort);
    IntlSeparators = Separators;
    SetBusyCursor(Cursor);
    SetSystemClock(Clock);
    SetColorChooser(Colors);
    SetDesktopOpener(Opener);
    SetFileDialog(Files);
    SetFolderChooser(Folders);
    SetHelpViewer(Help);
    SetMessageSink(Messages);
    SetProgressReporter(Progress);
    SetSettingsStore(Settings);
    const auto now = Environment();
    bool zoneChanged = false;
    for (const auto& [name, value] : now) {
      if (Variables.count(name) == 0) {
        unsetenv(name.c_str());
        zoneChanged |= name == "TZ";
      }
    }
    for (const auto& [name, value] : Variables) {
      const auto found = now.find(name);
      if (found == now.end() || found->second != value) {
        setenv(name.c_str(), value.c_str(), 1);
        zoneChanged |= name == "TZ";
      }
    }
    if (zoneChanged) tzset();
    std::error_code error;
    if (!Folder.empty()) std::filesystem::current_path(Folder, error);
    WeekdayNames = Weekdays;
    DaylightSavingMarks = DaylightMarks;
    SeasonNames = Seasons;
    PlanetNames = Planets;
    VsopBodyNames = VsopBodies;
    SunAndPlanetNames = SunAndPlanets;
    SearchBodyNames = SearchBodies;
    EventKindNames = EventKinds;
    ZoneNames = Zones;
    DecimalPatternSources = PatternSources;
    DecimalPatternTable = Patterns;
    TimePatternHms = Hms;
    TimePatternHm = Hm;
    DefaultColumnHeadings = Headings;
    DefaultColumnDescriptions = Descriptions;
    DataFormatKind = FormatKinds;
    DataFormatDecimals = FormatDecimals;
  }
};

class TGlobalStateGuard : public ::testing::EmptyTestEventListener {
 public:
  void OnTestSuiteStart(const ::testing::TestSuite&) override { saved_.push_back(TProcessState::Now()); }
  void OnTestSuiteEnd(const ::testing::TestSuite&) override { Pop(); }
  void OnTestStart(const ::testing::TestInfo&) override { saved_.push_back(TProcessState::Now()); }
  void OnTestEnd(const ::testing::TestInfo&) override { Pop(); }

 private:
  void Pop() {
    if (saved_.empty()) return;
    saved_.back().Restore();
    saved_.pop_back();
  }

  std::vector<TProcessState> saved_;
};

[[maybe_unused]] const bool kGuardInstalled = [] {
  ::testing::UnitTest::GetInstance()->listeners().Append(new TGlobalStateGuard);
  return true;
}();

}  // namespace
}  // namespace kvx
