// Cell and text formatting of the output quantities.
//
// Every value a table writer puts into the workbook sheet or the result
// grid, and every value a dialog shows as text, passes through one routine
// here. The routine is told the quantity by its format slot (0 to 220) and
// looks up DataFormatKind and DataFormatDecimals (core/name_tables.h):
//   kind 0  decimal number, written as a number with the pattern of
//           DecimalPatternTable[decimals]
//   kind 1  text: sexagesimal text with degree marks, a date or time text,
//           or a number with its unit mark
//   kind 2  angle / 15 (degrees to hours), then as kind 0
//   kind 3  angle / 15, then as kind 1 with hour marks
// For sexagesimal text the decimals byte is the precision: 0..2 whole
// minutes, 3 degrees and minutes to a tenth, 4 whole seconds, 5 tenths and
// 6 or more hundredths of a second. Decimals above 15 are taken as 15; a
// format slot outside 0..220 is taken as kind 0 with 2 decimals.
//
// Three families with the same rules:
//   Write...ToSheet(sheet, row, col, slot, value)  into the current sheet
//     of a workbook (rows and columns from 1). In number mode the cell gets
//     the number format and the number; in text mode the text. Dates and
//     times in number mode are entered as typed input, so that the sheet
//     stores date and time values.
//   Write...ToGrid(grid, row, col, slot, value)  into the result grid:
//     SetGridNumberFormat and SetGridCellFloat, or SetGridCellText.
//   Format...ForSlot(slot, result, value)  the text a dialog shows.
// Numbers in texts carry the locale's decimal separator (IntlSeparators).
//
// Angles are in degrees, times of day in hours, durations in minutes (or
// hours for the hours-as-minutes family), small angles for the arc-minute
// family in degrees.
#pragma once

#include <cstdint>
#include <string>

#include "engine/mystringgrid.h"
#include "platform/workbook/workbook.h"

namespace kvx {

using TSheet = workbook::TWorkbook;

// The kind and the decimals (clamped to 0..15) of a format slot.
struct TSlotFormat {
  std::uint8_t Kind = 0;
  int Decimals = 2;
};
TSlotFormat SlotFormat(int slot);

// Sexagesimal text of an angle (degrees, or hours for the hour marks) at
// the precision step of a decimals byte; arcMarks chooses "°'''" over
// "hms".
std::string SexagesimalText(double value, int decimals, bool arcMarks);

// Angle or time (degrees).
void WriteAngleToSheet(TSheet& sheet, int row, int col, int slot, double value);
void WriteAngleToGrid(tmystringgrid& grid, int row, int col, int slot, double value);
void FormatAngleForSlot(int slot, std::string& result, double value);

// Plain number.
void WriteNumberToSheet(TSheet& sheet, int row, int col, int slot, double value);
void WriteNumberToGrid(tmystringgrid& grid, int row, int col, int slot, double value);
void FormatNumberForSlot(int slot, std::string& result, double value);
// The magnitude parameters H and G of an element row: a plain number with
// the slot's decimals, but at least the two the element files hold.
void WriteElementMagnitudeToSheet(TSheet& sheet, int row, int col, int slot, double value);
void WriteElementMagnitudeToGrid(tmystringgrid& grid, int row, int col, int slot, double value);

// Calendar date (astronomical year numbering).
void WriteDateToSheet(TSheet& sheet, int row, int col, int slot, int year, int month, int day);
void WriteDateToGrid(tmystringgrid& grid, int row, int col, int slot, int year, int month, int day);
void FormatDateForSlot(int slot, std::string& result, int year, int month, int day);

// Time of day (hours).
void WriteTimeOfDayToSheet(TSheet& sheet, int row, int col, int slot, double hours);
void WriteTimeOfDayToGrid(tmystringgrid& grid, int row, int col, int slot, double hours);
void FormatTimeOfDayForSlot(int slot, std::string& result, double hours);

// Seconds of arc.
void WriteArcsecondsToSheet(TSheet& sheet, int row, int col, int slot, double arcseconds);
void WriteArcsecondsToGrid(tmystringgrid& grid, int row, int col, int slot, double arcseconds);
void FormatArcsecondsForSlot(int slot, std::string& result, double arcseconds);

// Small angle (degrees) shown as minutes and seconds of arc; as a number
// it is written in arc minutes.
void WriteArcminutesToSheet(TSheet& sheet, int row, int col, int slot, double degrees);
void WriteArcminutesToGrid(tmystringgrid& grid, int row, int col, int slot, double degrees);
void FormatArcminutesForSlot(int slot, std::string& result, double degrees);

// Numbers with a unit mark appended in text mode.
void WriteMarkedNumberToSheet(TSheet& sheet, int row, int col, int slot, double value, const std::string& mark);
void WriteMarkedNumberToGrid(tmystringgrid& grid, int row, int col, int slot, double value, const std::string& mark);
void WriteSecondsMarkedNumberToSheet(TSheet& sheet, int row, int col, int slot, double value);
void WriteSecondsMarkedNumberToGrid(tmystringgrid& grid, int row, int col, int slot, double value);
void WriteDegreeMarkedNumberToSheet(TSheet& sheet, int row, int col, int slot, double value);
void WriteDegreeMarkedNumberToGrid(tmystringgrid& grid, int row, int col, int slot, double value);

// Longitude with its direction word: text "10,0° West"; as a number
// negative for "West".
void WriteLongitudeToSheet(TSheet& sheet, int row, int col, int slot, double value, const std::string& direction);
void WriteLongitudeToGrid(tmystringgrid& grid, int row, int col, int slot, double value, const std::string& direction);

// The caller's label and the number, joined by "° " in text mode and by
// " " otherwise.
void FormatLabeledNumberForSlot(int slot, std::string& result, const std::string& label, double value);

// Magnitude: " mag" appended in text mode.
void WriteMagnitudeToSheet(TSheet& sheet, int row, int col, int slot, double value);
void WriteMagnitudeToGrid(tmystringgrid& grid, int row, int col, int slot, double value);
void FormatMagnitudeForSlot(int slot, std::string& result, double value);

// Duration in minutes: "12m30s" in text mode.
void WriteMinutesToSheet(TSheet& sheet, int row, int col, int slot, double minutes);
void WriteMinutesToGrid(tmystringgrid& grid, int row, int col, int slot, double minutes);
void FormatMinutesForSlot(int slot, std::string& result, double minutes);

// Duration in hours, shown as minutes.
void WriteHoursAsMinutesToSheet(TSheet& sheet, int row, int col, int slot, double hours);
void WriteHoursAsMinutesToGrid(tmystringgrid& grid, int row, int col, int slot, double hours);
void FormatHoursAsMinutesForSlot(int slot, std::string& result, double hours);

}  // namespace kvx
