// The plain side of the main window's remaining commands: the clock bar's
// rows, the movable feasts of a year, the external program's menu captions
// and command line, the manual's file and the asteroid database's files.
// No Qt here; the commands in app/ui/settings_commands.cpp call these.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/mystringgrid.h"
#include "platform/workbook/workbook.h"
#include "setup/clock_list.h"

namespace kvx {

// --- clock bar --------------------------------------------------------------
// One row per clock from row 1, columns 1 to 5: name, local time, UT,
// local sidereal time (hours, reduced to 0..24) and the Julian date, each
// through the grid's writers (row and column 0 are the grid's unused
// titles). `mjdUT` is the current instant (MJD of UT); the clocks' own
// records are not changed. The grid gets exactly one row per clock.
void FillClockGrid(tmystringgrid& grid, const TClockList& clocks, double mjdUT);
// The record of one clock at `mjdUT`: UT, MJD and the local date and time
// in the clock's zone.
TObserverRecord ClockAt(const TObserverRecord& clock, double mjdUT);

// --- movable feasts ---------------------------------------------------------
// Every day of `year` that has a feast name: the name in column 1, the date
// in column 2, from row 1; "A1" selected. Returns the rows written.
int WriteMovableFeasts(workbook::TWorkbook& sheet, std::int32_t year);

// --- external program -------------------------------------------------------
enum class TExternalFileFamily : std::uint8_t { None, Workbook, Orbit, Csv };
// The family of a document's extension (with or without the dot, any
// case): xls and xlsx, orb, csv; anything else is None.
TExternalFileFamily ExternalFileFamily(const std::string& extension);
// The arguments the program is started with for a saved document: the
// document's name for workbooks, csv files and a document without a name
// (empty name: none), nothing for orbit files; nullopt: nothing is started.
std::optional<std::vector<std::string>> ExternalProgramArguments(const std::string& documentName);
// "Starte " / "Start " and "Zeige Datei in " / "Show file in " with the
// program's file name, first letter upper-cased.
std::string ExternalProgramStartCaption(const std::string& programPath, bool english);
std::string ExternalProgramShowCaption(const std::string& programPath, bool english);

// --- manual -----------------------------------------------------------------
// "Manual/varbo.pdf", else "varbo.pdf" in `folder`; empty when neither is a
// file (the Help command then opens the README, if any).
std::string FindManual(const std::string& folder);

// --- asteroid database files ---------------------------------------------
// The file name (without ".csv") of an asteroid's database file: the name
// trimmed, its first dot removed, "/" and control characters made "_"
// ("asteroid" when nothing is left); a name already in `used` gets " (2)",
// " (3)", ... The result is added to `used`.
std::string DatabaseFileName(const std::string& asteroidName, std::vector<std::string>& used);
// The used rows of the sheet as text lines, each cell's shown text followed
// by the separator except the last of the row.
std::string SheetAsSeparatedText(const workbook::TWorkbook& sheet, char separator);

}  // namespace kvx
