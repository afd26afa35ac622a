#include "app/settings_io.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>

#include "platform/messages.h"
#include "platform/number_text.h"
#include "platform/paths.h"
#include "platform/safe_file_write.h"

namespace kvx {

namespace {

std::int32_t IntegerIn(SettingsStore& store, const char* section, const char* name, std::int64_t low, std::int64_t high,
                       std::int32_t fallback) {
  const std::optional<std::int64_t> value = store.ReadInteger(section, name);
  if (!value || *value < low || *value > high) return fallback;
  return static_cast<std::int32_t>(*value);
}

constexpr std::int64_t kCoordinateLimit = 1'000'000;

}  // namespace

TStoredSettings DefaultStoredSettings(const std::string& dataFolder) {
  TStoredSettings s;
  s.DefaultFolder = dataFolder + "/";
  s.AsteroidFolder = dataFolder + "/Asteroids";
  s.CitiesDatabase = dataFolder + "/cities";
  s.OldAsteroidFolder = dataFolder + "/Asteroids";
  return s;
}

TStoredSettings ReadStoredSettings(SettingsStore& store, const std::string& dataFolder) {
  TStoredSettings s = DefaultStoredSettings(dataFolder);
  std::string defaultFolder = store.StringOr("Data", "DefaultFolder", s.DefaultFolder);
  s.DefaultFolder = StripTrailingBackslash(defaultFolder) + "/";
  s.AsteroidFolder = store.StringOr("Data", "AsteroidFolder", s.AsteroidFolder);
  s.CitiesDatabase = store.StringOr("Data", "CitiesDatabase", s.CitiesDatabase);
  s.CurrentDatabaseAsteroid = store.StringOr("Settings", "CurrentAsteroid", "");
  s.OldAsteroidFolder = store.StringOr("Data", "OldAsteroidFolder", s.OldAsteroidFolder);
  s.OldAsteroidCount = store.ReadInteger("Data", "OldAsteroidCount");
  s.FirstRun = store.BoolOr("Settings", "FirstRun", true);
  if (!s.FirstRun) s.Language = static_cast<std::uint8_t>(IntegerIn(store, "Settings", "Language", 0, 1, 1));
  s.RecentFilesCount = IntegerIn(store, "Files", "nLastfiles", 0, kLargestRecentFilesCount, 10);
  s.Spreadsheet = store.BoolOr("Settings", "Spreadsheet", true);
  s.DefaultSheetNumber = IntegerIn(store, "Settings", "DefaultSheetNumber", 1, 255, 16);
  s.Warnings = store.BoolOr("Settings", "Warnings", true);
  s.TipsOfTheDay = store.BoolOr("Settings", "Tips of the day", true);
  s.ExternalApplication = store.StringOr("Settings", "ExternalApplication", "");

  TWindowSettings& w = s.Window;
  w.BreakToolbar = store.BoolOr("Window", "BreakToolbar", true);
  w.Hints = store.BoolOr("Window", "Hints", true);
  w.EditBar = store.BoolOr("Window", "Edit Bar", true);
  w.Maximized = store.BoolOr("Window", "maximized", true);
  w.X = IntegerIn(store, "Window", "x", -kCoordinateLimit, kCoordinateLimit, 0);
  w.Y = IntegerIn(store, "Window", "y", -kCoordinateLimit, kCoordinateLimit, 0);
  w.W = IntegerIn(store, "Window", "w", 1, kCoordinateLimit, 600);
  w.H = IntegerIn(store, "Window", "h", 1, kCoordinateLimit, 400);
  w.BrowserW = IntegerIn(store, "Window", "Browser w", 1, kCoordinateLimit, 590);
  w.BrowserX = IntegerIn(store, "Window", "Browser x", -kCoordinateLimit, kCoordinateLimit, 0);
  w.BrowserY = IntegerIn(store, "Window", "Browser y", -kCoordinateLimit, kCoordinateLimit, 0);
  w.BrowserH = IntegerIn(store, "Window", "Browser h", 1, kCoordinateLimit, 390);
  w.StatusBar = store.BoolOr("Window", "Status Bar", true);
  w.Toolbar = store.BoolOr("Window", "Toolbar", true);
  w.Clocks = store.BoolOr("Window", "Clocks", false);
  w.TableToolbar = store.BoolOr("Window", "Kandrevoltinexbar", false);
  return s;
}

void WriteStoredSettings(SettingsStore& store, const TStoredSettings& s, const std::string& dataFolder,
                         std::int64_t elementListCount) {
  const TWindowSettings& w = s.Window;
  store.WriteInteger("Settings", "DefaultSheetNumber", s.DefaultSheetNumber);
  store.WriteInteger("Window", "x", w.X);
  store.WriteInteger("Window", "y", w.Y);
  store.WriteInteger("Window", "w", w.W);
  store.WriteInteger("Window", "h", w.H);
  store.WriteInteger("Files", "nLastfiles", s.RecentFilesCount);
  store.WriteInteger("Settings", "Language", s.Language != 0 ? 1 : 0);
  store.WriteBool("Settings", "Spreadsheet", s.Spreadsheet);
  store.WriteBool("Settings", "Warnings", s.Warnings);
  store.WriteBool("Settings", "Tips of the day", s.TipsOfTheDay);
  store.WriteBool("Window", "BreakToolbar", w.BreakToolbar);
  store.WriteString("Settings", "ExternalApplication", s.ExternalApplication);
  store.WriteString("Data", "DefaultFolder", s.DefaultFolder);
  store.WriteString("Data", "AsteroidFolder", s.AsteroidFolder);
  store.WriteString("Data", "CitiesDatabase", s.CitiesDatabase);
  store.WriteString("Settings", "CurrentAsteroid", s.CurrentDatabaseAsteroid);
  store.WriteString("Data", "OldAsteroidFolder", s.AsteroidFolder);
  store.WriteInteger("Data", "OldAsteroidCount", elementListCount);
  store.WriteBool("Window", "Hints", w.Hints);
  store.WriteBool("Window", "maximized", w.Maximized);
  store.WriteBool("Window", "Status Bar", w.StatusBar);
  store.WriteBool("Window", "Toolbar", w.Toolbar);
  store.WriteBool("Window", "Clocks", w.Clocks);
  store.WriteBool("Window", "Kandrevoltinexbar", w.TableToolbar);
  store.WriteBool("Window", "Edit Bar", w.EditBar);
  // The browser window's bounds are kept for the window that owns them.
  store.WriteInteger("Window", "Browser w", w.BrowserW);
  store.WriteInteger("Window", "Browser x", w.BrowserX);
  store.WriteInteger("Window", "Browser y", w.BrowserY);
  store.WriteInteger("Window", "Browser h", w.BrowserH);
  if (!dataFolder.empty()) store.WriteString("Data", "Path", dataFolder);
}

bool DatabaseListChangedSinceLastRun(const TStoredSettings& s, std::size_t elementListCount,
                                     const std::string& chosenListPath) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(chosenListPath, error)) return true;
  const bool sameCount = s.OldAsteroidCount && *s.OldAsteroidCount >= 0 &&
                         static_cast<std::uint64_t>(*s.OldAsteroidCount) == elementListCount;
  return !sameCount || s.OldAsteroidFolder != s.AsteroidFolder;
}

std::uint8_t AskFirstRunLanguage(SettingsStore& store) {
  static const std::string text =
      "Do you want to switch to the german version?\r\n"
      "Möchten Sie auf die deutsche Sprachversion umschalten?";
  const MessageResult answer =
      ShowMessage(text, text, MessageIcon::Question, MessageButtons::YesNoDefaultNo, "Kandrevoltinex 4.6");
  const std::uint8_t language = answer == MessageResult::Yes ? 0 : 1;
  store.WriteBool("Settings", "FirstRun", false);
  store.WriteInteger("Settings", "Language", language);
  return language;
}

bool SeparatorsUsable(const TIntlSeparators& separators) {
  for (const char c : {separators.Decimal, separators.List, separators.Date, separators.Time, separators.Thousands}) {
    if (c == '#' || c == '*') return false;
  }
  return true;
}

std::vector<double> ReadIntegrationDates(const std::string& path) {
  std::vector<double> dates;
  std::ifstream in(path, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    std::size_t first = line.find_first_not_of(' ');
    if (first == std::string::npos) continue;
    if (const auto date = ReadNumber(std::string_view(line).substr(first))) dates.push_back(date->Number);
  }
  return dates;
}

bool SaveIntegrationDates(const std::string& path, const std::vector<double>& dates, std::string& error) {
  std::string text;
  char buffer[32];
  for (double jd : dates) {
    if (!std::isfinite(jd)) continue;
    text.append(buffer, ShortestNumberChars(jd, '.', buffer));
    text += '\n';
  }
  return WriteFileReplacing(path, text, error);
}

}  // namespace kvx
