#include "app/window_commands.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>

#include "core/data_format_slots.h"
#include "core/moon_phases.h"
#include "core/observer_record.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "engine/cell_format.h"
#include "platform/ascii_case.h"

namespace kvx {

namespace {

// The format slot of the clock row's sidereal time.
constexpr int kSlotSiderealTime = 190;

std::string ProgramName(const std::string& programPath) {
  std::string name = std::filesystem::path(programPath).filename().string();
  if (!name.empty()) name[0] = AsciiUpper(name[0]);
  return name;
}

}  // namespace

// --- clock bar ------------------------------------------------------------------

TObserverRecord ClockAt(const TObserverRecord& clock, double mjdUT) {
  TObserverRecord r = clock;
  r.Mjd = mjdUT;
  r.UTHours = (mjdUT - std::floor(mjdUT)) * 24.0;
  UTToLocalTime(r);
  return r;
}

void FillClockGrid(tmystringgrid& grid, const TClockList& clocks, double mjdUT) {
  grid.SetColCount(6);
  grid.SetRowCount(static_cast<int>(clocks.size()) + 1);
  for (int row = 1; row <= static_cast<int>(clocks.size()); ++row) {
    const TObserverRecord r = ClockAt(clocks[static_cast<std::size_t>(row - 1)].Record, mjdUT);
    grid.SetCells(1, row, r.PlaceName);
    WriteTimeOfDayToGrid(grid, row, 2, kSlotTime, r.LocalHours);
    WriteTimeOfDayToGrid(grid, row, 3, kSlotUT, r.UTHours);
    double lst = std::fmod(LocalSiderealTime(0, r.Mjd, r.Longitude), 24.0);
    if (lst < 0) lst += 24.0;
    WriteTimeOfDayToGrid(grid, row, 4, kSlotSiderealTime, lst);
    WriteNumberToGrid(grid, row, 5, kSlotJulianDay, r.Mjd + 2400000.5);
  }
}

// --- movable feasts -------------------------------------------------------------

int WriteMovableFeasts(workbook::TWorkbook& sheet, std::int32_t year) {
  int row = 0;
  const double first = CalendarDateToMjd(1, 1, year, 0.0);
  for (int n = 0; n < 366; ++n) {
    int day = 0, month = 0, y = 0;
    double hours = 0;
    MjdToCalendarDate(day, month, y, hours, first + n + 0.5);
    if (y != year) break;
    std::string name;
    HolidayNameForDate(day, month, y, name);
    if (name.empty()) continue;
    ++row;
    sheet.SetText(row, 1, name);
    WriteDateToSheet(sheet, row, 2, kSlotDate, y, month, day);
  }
  if (row > 0) {
    sheet.SetColWidthAuto(1, 1, row, 2);
    sheet.SetRowHeightAuto(1, 1, row, 2);
  }
  sheet.SetSelectionText("A1:A1");
  return row;
}

// --- external program -------------------------------------------------------------

TExternalFileFamily ExternalFileFamily(const std::string& extension) {
  std::string e = AsciiLower(extension);
  if (!e.empty() && e[0] == '.') e.erase(0, 1);
  if (e == "xls" || e == "xlsx") return TExternalFileFamily::Workbook;
  if (e == "orb") return TExternalFileFamily::Orbit;
  if (e == "csv") return TExternalFileFamily::Csv;
  return TExternalFileFamily::None;
}

std::optional<std::vector<std::string>> ExternalProgramArguments(const std::string& documentName) {
  if (documentName.empty()) return std::vector<std::string>{};
  switch (ExternalFileFamily(std::filesystem::path(documentName).extension().string())) {
    case TExternalFileFamily::Workbook:
    case TExternalFileFamily::Csv:
      return std::vector<std::string>{documentName};
    case TExternalFileFamily::Orbit:
      return std::vector<std::string>{};
    case TExternalFileFamily::None:
      break;
  }
  return std::nullopt;
}

std::string ExternalProgramStartCaption(const std::string& programPath, bool english) {
  return (english ? "Start " : "Starte ") + ProgramName(programPath);
}

std::string ExternalProgramShowCaption(const std::string& programPath, bool english) {
  return (english ? "Show file in " : "Zeige Datei in ") + ProgramName(programPath);
}

// --- asteroid database files ---------------------------------------------------------

std::string DatabaseFileName(const std::string& asteroidName, std::vector<std::string>& used) {
  std::string name = asteroidName;
  const std::size_t first = name.find_first_not_of(" \t");
  const std::size_t last = name.find_last_not_of(" \t");
  name = first == std::string::npos ? std::string() : name.substr(first, last - first + 1);
  name = RemoveFirstDot(name);
  for (char& c : name) {
    if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '_';
  }
  if (name.empty() || name == "." || name == "..") name = "asteroid";
  std::string candidate = name;
  for (int n = 2; std::find(used.begin(), used.end(), AsciiLower(candidate)) != used.end(); ++n) {
    candidate = name + " (" + std::to_string(n) + ")";
  }
  used.push_back(AsciiLower(candidate));
  return candidate;
}

std::string SheetAsSeparatedText(const workbook::TWorkbook& sheet, char separator) {
  std::string text;
  const int rows = sheet.LastRow();
  const int cols = sheet.LastCol();
  for (int row = 1; row <= rows; ++row) {
    for (int col = 1; col <= cols; ++col) {
      if (col > 1) text.push_back(separator);
      text += sheet.Text(row, col);
    }
    text.push_back('\n');
  }
  return text;
}

// --- manual -----------------------------------------------------------------------

std::string FindManual(const std::string& folder) {
  std::error_code error;
  for (const char* name : {"Manual/varbo.pdf", "varbo.pdf"}) {
    const std::filesystem::path path = std::filesystem::path(folder) / name;
    if (std::filesystem::is_regular_file(path, error)) return path.string();
  }
  return {};
}

}  // namespace kvx
