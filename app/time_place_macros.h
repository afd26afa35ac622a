// Cell macros of the Tools menu and the sheet context menu, and the record
// changes of the time and place commands that need no dialog.
//
// Macros walk every range of the sheet's selection, clipped to the used area
// (last used row and column), and refresh the sheet at the end. Cells that
// hold zero, a text that is no number, or nothing are left as they are.
// Angles are degrees; packed sexagesimal values are D.MMSSss; times of day
// are written as day fractions with a clock-time number format.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/observer_record.h"
#include "platform/workbook/cell_reference.h"

namespace kvx {

namespace workbook {
class TWorkbook;
}

// The selection's ranges cut to the used area; ranges wholly outside are
// dropped.
std::vector<workbook::TRange> SelectionInUsedArea(const workbook::TWorkbook& sheet);

// Each returns the number of cells it changed.
// Degrees -> packed D.MMSSss.
int MacroDegToDms(workbook::TWorkbook& sheet);
// Packed D.MMSSss -> degrees.
int MacroDmsToDeg(workbook::TWorkbook& sheet);
// A time as a fraction of a day -> hours (x 24); every selected cell then
// gets the six-decimal number format of the locale's decimal separator.
int MacroTimeToDeg(workbook::TWorkbook& sheet);
// Hours -> a fraction of a day (/ 24); every selected cell then gets the
// clock-time format.
int MacroDegToTime(workbook::TWorkbook& sheet);
// A packed D.MMSSss value -> the text 12°34'56,78'' (arc) or 12h34m56,78s.
int MacroNumberToMarkText(workbook::TWorkbook& sheet, bool arcMarks);
// The reverse of MacroNumberToMarkText ("Layout -> Zahl"): a text
// 12°34'56,78'' or 12h34m56,78s (blanks and a sign allowed, later fields may
// be left out) -> the packed number 12.345678; a text that is a plain
// number -> that number. Minutes or seconds of 60 or more are no layout.
int MacroMarkTextToNumber(workbook::TWorkbook& sheet);
// One text as that macro reads it; false when it is neither form.
bool MarkTextToPacked(const std::string& text, double& packed);
// A Julian date -> its UT as a time of day: ((fraction + 0.5) mod 1) days.
int MacroJulianDateToUT(workbook::TWorkbook& sheet);

// Writers at the active cell, going right.
// Date (text dd.mm.yyyy), local time, zone text "<zone>+<minutes>min  <name>".
void WriteDateAtActiveCell(workbook::TWorkbook& sheet, const TObserverRecord& r, const std::string& zoneName);
// JD (five decimals), UT as a time of day, "UT".
void WriteJulianDateAtActiveCell(workbook::TWorkbook& sheet, const TObserverRecord& r);
// Place name, latitude, longitude (format slots 177 and 178).
void WritePlaceAtActiveCell(workbook::TWorkbook& sheet, const TObserverRecord& r);

// Daylight saving on or off with the local time kept: UT and MJD follow.
void ToggleDaylightSaving(TObserverRecord& r);

// True when the Julian-date dialog changed something: the MJD compared as
// text with ten decimals, or the zone hours or minutes.
bool JulianDateEntryChanged(double mjdBefore, std::int32_t zoneBefore, std::int32_t minutesBefore, double mjdAfter,
                            std::int32_t zoneAfter, std::int32_t minutesAfter);

}  // namespace kvx
