// The program's stored settings: the values the settings loader reads at
// start-up and the saver writes at shut-down, their defaults and their
// ranges; the first-run language question; the list of integration dates
// ("jdlist.txt" in the data folder). Plain C++ on the settings seam
// (platform/settings_store.h) and the message seam (platform/messages.h).
//
// Sections and value names, as they stand in the settings file:
//   "Data":     "Path", "DefaultFolder", "AsteroidFolder", "CitiesDatabase",
//               "OldAsteroidFolder", "OldAsteroidCount"
//   "Settings": "FirstRun", "Language", "Spreadsheet", "DefaultSheetNumber",
//               "Warnings", "Tips of the day", "ExternalApplication",
//               "CurrentAsteroid"
//   "Files":    "nLastfiles" (the recent files themselves as "HistoryN")
//   "Window":   "BreakToolbar", "Hints", "Edit Bar", "maximized", "x", "y",
//               "w", "h", "Browser w", "Browser x", "Browser y", "Browser h",
//               "Status Bar", "Toolbar", "Clocks", "Kandrevoltinexbar"
// A value that is missing, of the wrong type or out of range takes its
// default. Folders use '/' and carry no trailing '/' except DefaultFolder,
// which ends in exactly one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/globals.h"
#include "platform/locale_reader.h"
#include "platform/settings_store.h"

namespace kvx {

// Bounds of the main window and the observation browser (pixels, screen
// coordinates) and the visibility of the bars.
struct TWindowSettings {
  bool BreakToolbar = true;
  bool Hints = true;
  bool EditBar = true;
  bool Maximized = true;
  std::int32_t X = 0, Y = 0, W = 600, H = 400;
  std::int32_t BrowserW = 590, BrowserX = 0, BrowserY = 0, BrowserH = 390;
  bool StatusBar = true;
  bool Toolbar = true;
  bool Clocks = false;
  bool TableToolbar = false;  // "Kandrevoltinexbar"
};

struct TStoredSettings {
  std::string DefaultFolder;  // ends in '/'
  std::string AsteroidFolder;
  std::string CitiesDatabase;
  std::string CurrentDatabaseAsteroid;
  std::string OldAsteroidFolder;
  std::optional<std::int64_t> OldAsteroidCount;
  bool FirstRun = true;
  std::uint8_t Language = 1;  // 0 German, 1 English
  std::int32_t RecentFilesCount = 10;
  bool Spreadsheet = true;
  std::int32_t DefaultSheetNumber = 16;
  bool Warnings = true;
  bool TipsOfTheDay = true;
  std::string ExternalApplication;
  TWindowSettings Window;
};

inline constexpr std::int32_t kLargestRecentFilesCount = 100;

// The defaults for a data folder (no trailing '/').
TStoredSettings DefaultStoredSettings(const std::string& dataFolder);

// Reads every value (the language only when "FirstRun" is false) with the
// range checks above: "nLastfiles" 0..100, "DefaultSheetNumber" 1..255,
// "Language" 0 or 1, window sizes positive.
TStoredSettings ReadStoredSettings(SettingsStore& store, const std::string& dataFolder);

// Writes what the saver keeps ("FirstRun" is written by the first-run
// question, the recent files by their list). "Data"/"Path" is written only
// when `dataFolder` is not empty. `elementListCount` becomes
// "OldAsteroidCount", the asteroid folder "OldAsteroidFolder".
void WriteStoredSettings(SettingsStore& store, const TStoredSettings& settings, const std::string& dataFolder,
                         std::int64_t elementListCount);

// The start-up's test of the asteroid database: true when the choice of
// database files must start anew from the files found (the selection dialog
// offers every file then), because `chosenListPath` ("astdst.txt" in the
// data folder) is missing, or because the number of element-list files found
// now or the asteroid folder differs from the "OldAsteroidCount" and
// "OldAsteroidFolder" the last run saved (a missing count differs from
// every number).
bool DatabaseListChangedSinceLastRun(const TStoredSettings& settings, std::size_t elementListCount,
                                     const std::string& chosenListPath);

// The first-run question (Yes: German, No: English): asks through the
// message seam, writes "Settings"/"FirstRun" false and "Settings"/"Language".
// Returns the language byte (0 German, 1 English).
std::uint8_t AskFirstRunLanguage(SettingsStore& store);

// True when none of the five separators is "#" or "*" (the sheet's number
// patterns use both).
bool SeparatorsUsable(const TIntlSeparators& separators);

// "jdlist.txt": one Julian date per line. Reading skips lines that do not
// read as a finite number; a missing file gives an empty list.
std::vector<double> ReadIntegrationDates(const std::string& path);
// Written through a temporary file and a rename, so a failed save leaves
// the previous list whole. False (with `error`) on failure.
bool SaveIntegrationDates(const std::string& path, const std::vector<double>& dates, std::string& error);

}  // namespace kvx
