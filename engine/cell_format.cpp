#include "engine/cell_format.h"

#include <algorithm>
#include <cmath>

#include "core/name_tables.h"
#include "core/pointed_date.h"
#include "core/text_conversion.h"

namespace kvx {

namespace {

// Fixed notation with the locale's decimal separator.
std::string FixedText(double value, int decimals) { return FloatToTextSep(FormatFixed(value, 0, decimals)); }

const std::string& PatternFor(int decimals) {
  return DecimalPatternTable[static_cast<std::size_t>(std::clamp(decimals, 0, kDecimalPatternCount - 1))];
}

void SheetNumber(TSheet& sheet, int row, int col, int decimals, double value) {
  sheet.SetCellNumberFormat(row, col, PatternFor(decimals));
  sheet.SetNumber(row, col, value);
}

void GridNumber(tmystringgrid& grid, int row, int col, int decimals, double value) {
  SetGridNumberFormat(grid, PatternFor(decimals));
  SetGridCellFloat(grid, row, col, value);
}

bool IsTextKind(std::uint8_t kind) { return kind == 1 || kind == 3; }

// The angle family's value: hours for kinds 2 and 3.
double AngleValue(const TSlotFormat& f, double degrees) { return f.Kind > 1 ? degrees * (1.0 / 15.0) : degrees; }

// Minutes and seconds of arc of a small angle; minutes carry on beyond 60
// for any size ("125'30''" for 2° 5' 30'').
std::string ArcMinutesText(double degrees, int decimals) {
  const double magnitude = std::fabs(degrees);
  double packed = 0.0;
  int places = 2;
  if (decimals < 3) {
    packed = DegToDmsPackedSec(magnitude);
  } else if (decimals == 3) {
    packed = DegToDmsPackedTenth(magnitude);
    places = 3;
  } else {
    packed = DegToDmsPackedHundredth(magnitude);
    places = 4;
  }
  const double whole = std::trunc(packed);
  const double minutes = whole * 60.0 + (packed - whole) * 100.0;  // M.SS with the minutes of all degrees
  const std::string number = FormatFixed(minutes, 0, places);
  std::string text = places == 2 ? ArcMinText(number) : ArcMinSecText(number);
  const bool zero = number.find_first_of("123456789") == std::string::npos;
  if (degrees < 0 && !zero) text.insert(0, 1, '-');
  return text;
}

std::string MinutesText(double minutes) {
  // Minutes and whole seconds as M.SS, the point turned into "m".
  return MinSecTimeText(FormatFixed(DegToDmPacked(minutes), 0, 2));
}

bool DateHoldable(int year, int month, int day) { return IsShortFormDate(day, month, year); }

// The text of a date under the slot's data format: "dd.mm.yyyy" (format 1)
// whatever the desktop, else the desktop's short date, or the zero-padded
// text in its order of a date the sheet cannot hold.
std::string DateTextOf(const TSlotFormat& f, int year, int month, int day) {
  if (f.Kind == 1) return PointedDayMonthYear(day, month, year);
  std::string text;
  if (DateHoldable(year, month, day)) {
    DateToText(day, month, year, text, IntlSeparators.Date);
  } else {
    DatePaddedText(day, month, year, text);
  }
  return text;
}

std::string TimeOfDayText(const TSlotFormat& f, double hours) {
  std::string text;
  if (f.Decimals == 4) {
    HourToTimeStr(hours, text);
  } else {
    HourToTimeText(hours, text);
  }
  return text;
}

}  // namespace

TSlotFormat SlotFormat(int slot) {
  TSlotFormat format;
  if (slot < 0 || slot >= kQuantityCount) return format;
  format.Kind = DataFormatKind[static_cast<std::size_t>(slot)];
  if (format.Kind > 3) format.Kind = 0;
  format.Decimals = std::min<int>(DataFormatDecimals[static_cast<std::size_t>(slot)], kDecimalPatternCount - 1);
  return format;
}

std::string SexagesimalText(double value, int decimals, bool arcMarks) {
  const std::uint8_t flag = arcMarks ? 1 : 0;
  if (decimals <= 2) return DmMarkText2(FormatFixed(DegToDmPacked(value), 0, 2), flag);
  if (decimals == 3) {
    // Degrees and minutes to a tenth; the sign is kept (the routine itself
    // reduces to 0..360, which would turn -10° into 350°).
    std::string text;
    DmsMarkTextFixed(std::fabs(value), flag, text);
    text = TrimLeadingBlanks(text);
    if (value < 0 && text.find_first_of("123456789") != std::string::npos) text.insert(0, 1, '-');
    return text;
  }
  if (decimals == 4) return DmMarkText(FormatFixed(DegToDmsPackedSec(value), 0, 4), flag);
  if (decimals == 5) return DmsMarkText(FormatFixed(DegToDmsPackedTenth(value), 0, 5), flag);
  return DmsMarkTextStr(FormatFixed(DegToDmsPackedHundredth(value), 0, 6), flag);
}

// ---------------------------------------------------------------- angles

void WriteAngleToSheet(TSheet& sheet, int row, int col, int slot, double value) {
  const TSlotFormat f = SlotFormat(slot);
  const double v = AngleValue(f, value);
  if (IsTextKind(f.Kind)) {
    sheet.SetText(row, col, SexagesimalText(v, f.Decimals, f.Kind == 1));
  } else {
    SheetNumber(sheet, row, col, f.Decimals, v);
  }
}

void WriteAngleToGrid(tmystringgrid& grid, int row, int col, int slot, double value) {
  const TSlotFormat f = SlotFormat(slot);
  const double v = AngleValue(f, value);
  if (IsTextKind(f.Kind)) {
    SetGridCellText(grid, row, col, SexagesimalText(v, f.Decimals, f.Kind == 1));
  } else {
    GridNumber(grid, row, col, f.Decimals, v);
  }
}

void FormatAngleForSlot(int slot, std::string& result, double value) {
  const TSlotFormat f = SlotFormat(slot);
  const double v = AngleValue(f, value);
  result = IsTextKind(f.Kind) ? SexagesimalText(v, f.Decimals, f.Kind == 1) : FixedText(v, f.Decimals);
}

// --------------------------------------------------------------- numbers

void WriteNumberToSheet(TSheet& sheet, int row, int col, int slot, double value) {
  SheetNumber(sheet, row, col, SlotFormat(slot).Decimals, value);
}

void WriteNumberToGrid(tmystringgrid& grid, int row, int col, int slot, double value) {
  GridNumber(grid, row, col, SlotFormat(slot).Decimals, value);
}

namespace {
constexpr int kElementMagnitudeDecimals = 2;
}  // namespace

void WriteElementMagnitudeToSheet(TSheet& sheet, int row, int col, int slot, double value) {
  SheetNumber(sheet, row, col, std::max<int>(SlotFormat(slot).Decimals, kElementMagnitudeDecimals), value);
}

void WriteElementMagnitudeToGrid(tmystringgrid& grid, int row, int col, int slot, double value) {
  GridNumber(grid, row, col, std::max<int>(SlotFormat(slot).Decimals, kElementMagnitudeDecimals), value);
}

void FormatNumberForSlot(int slot, std::string& result, double value) {
  result = FixedText(value, SlotFormat(slot).Decimals);
}

// ----------------------------------------------------------------- dates

// Format 1 ("dd.mm.yyyy") is day, month and four-digit year joined by
// points on every desktop, kept as text in the sheet; any other format is
// the desktop's short date, typed into the sheet so that it holds a date.
void WriteDateToSheet(TSheet& sheet, int row, int col, int slot, int year, int month, int day) {
  const TSlotFormat f = SlotFormat(slot);
  const std::string text = DateTextOf(f, year, month, day);
  // Format 1 keeps its text; the desktop's short date is typed in, so that
  // the sheet holds a date.
  if (f.Kind != 1 && DateHoldable(year, month, day)) {
    sheet.SetEntry(row, col, text);
  } else {
    sheet.SetText(row, col, text);
  }
}

void WriteDateToGrid(tmystringgrid& grid, int row, int col, int slot, int year, int month, int day) {
  SetGridCellText(grid, row, col, DateTextOf(SlotFormat(slot), year, month, day));
}

void FormatDateForSlot(int slot, std::string& result, int year, int month, int day) {
  result = DateTextOf(SlotFormat(slot), year, month, day);
}

// ---------------------------------------------------------- times of day

void WriteTimeOfDayToSheet(TSheet& sheet, int row, int col, int slot, double hours) {
  const TSlotFormat f = SlotFormat(slot);
  const std::string text = TimeOfDayText(f, hours);
  if (f.Kind == 1) {
    sheet.SetText(row, col, text);
  } else {
    sheet.SetEntry(row, col, text);
  }
}

void WriteTimeOfDayToGrid(tmystringgrid& grid, int row, int col, int slot, double hours) {
  SetGridCellText(grid, row, col, TimeOfDayText(SlotFormat(slot), hours));
}

void FormatTimeOfDayForSlot(int slot, std::string& result, double hours) {
  result = TimeOfDayText(SlotFormat(slot), hours);
}

// ------------------------------------------------------------ arcseconds

void WriteArcsecondsToSheet(TSheet& sheet, int row, int col, int slot, double arcseconds) {
  const TSlotFormat f = SlotFormat(slot);
  if (f.Kind == 1) {
    sheet.SetText(row, col, FixedText(arcseconds, f.Decimals) + "''");
  } else {
    WriteAngleToSheet(sheet, row, col, slot, arcseconds);
  }
}

void WriteArcsecondsToGrid(tmystringgrid& grid, int row, int col, int slot, double arcseconds) {
  const TSlotFormat f = SlotFormat(slot);
  if (f.Kind == 1) {
    SetGridCellText(grid, row, col, FixedText(arcseconds, f.Decimals) + "''");
  } else {
    WriteAngleToGrid(grid, row, col, slot, arcseconds);
  }
}

void FormatArcsecondsForSlot(int slot, std::string& result, double arcseconds) {
  const TSlotFormat f = SlotFormat(slot);
  if (f.Kind == 1) {
    result = FixedText(arcseconds, f.Decimals) + "''";
  } else {
    FormatAngleForSlot(slot, result, arcseconds);
  }
}

// ------------------------------------------------------------ arcminutes

void WriteArcminutesToSheet(TSheet& sheet, int row, int col, int slot, double degrees) {
  const TSlotFormat f = SlotFormat(slot);
  if (f.Kind == 1) {
    sheet.SetText(row, col, ArcMinutesText(degrees, f.Decimals));
  } else {
    SheetNumber(sheet, row, col, f.Decimals, degrees * 60.0);
  }
}

void WriteArcminutesToGrid(tmystringgrid& grid, int row, int col, int slot, double degrees) {
  const TSlotFormat f = SlotFormat(slot);
  if (f.Kind == 1) {
    SetGridCellText(grid, row, col, ArcMinutesText(degrees, f.Decimals));
  } else {
    GridNumber(grid, row, col, f.Decimals, degrees * 60.0);
  }
}

void FormatArcminutesForSlot(int slot, std::string& result, double degrees) {
  const TSlotFormat f = SlotFormat(slot);
  result = f.Kind == 1 ? ArcMinutesText(degrees, f.Decimals) : FixedText(degrees * 60.0, f.Decimals);
}

// -------------------------------------------------------- marked numbers

void WriteMarkedNumberToSheet(TSheet& sheet, int row, int col, int slot, double value, const std::string& mark) {
  const TSlotFormat f = SlotFormat(slot);
  if (f.Kind == 1) {
    sheet.SetText(row, col, FixedText(value, f.Decimals) + mark);
  } else {
    SheetNumber(sheet, row, col, f.Decimals, value);
  }
}

void WriteMarkedNumberToGrid(tmystringgrid& grid, int row, int col, int slot, double value, const std::string& mark) {
  const TSlotFormat f = SlotFormat(slot);
  if (f.Kind == 1) {
    SetGridCellText(grid, row, col, FixedText(value, f.Decimals) + mark);
  } else {
    GridNumber(grid, row, col, f.Decimals, value);
  }
}

void WriteSecondsMarkedNumberToSheet(TSheet& sheet, int row, int col, int slot, double value) {
  WriteMarkedNumberToSheet(sheet, row, col, slot, value, "''");
}

void WriteSecondsMarkedNumberToGrid(tmystringgrid& grid, int row, int col, int slot, double value) {
  WriteMarkedNumberToGrid(grid, row, col, slot, value, "''");
}

void WriteDegreeMarkedNumberToSheet(TSheet& sheet, int row, int col, int slot, double value) {
  WriteMarkedNumberToSheet(sheet, row, col, slot, value, "\u00B0");
}

void WriteDegreeMarkedNumberToGrid(tmystringgrid& grid, int row, int col, int slot, double value) {
  WriteMarkedNumberToGrid(grid, row, col, slot, value, "\u00B0");
}

// ------------------------------------------------------------ longitudes

void WriteLongitudeToSheet(TSheet& sheet, int row, int col, int slot, double value, const std::string& direction) {
  const TSlotFormat f = SlotFormat(slot);
  if (f.Kind == 1) {
    sheet.SetText(row, col, FixedText(value, f.Decimals) + "\u00B0 " + direction);
  } else {
    SheetNumber(sheet, row, col, f.Decimals, direction == "West" ? -value : value);
  }
}

void WriteLongitudeToGrid(tmystringgrid& grid, int row, int col, int slot, double value, const std::string& direction) {
  const TSlotFormat f = SlotFormat(slot);
  if (f.Kind == 1) {
    SetGridCellText(grid, row, col, FixedText(value, f.Decimals) + "\u00B0 " + direction);
  } else {
    GridNumber(grid, row, col, f.Decimals, direction == "West" ? -value : value);
  }
}

void FormatLabeledNumberForSlot(int slot, std::string& result, const std::string& label, double value) {
  const TSlotFormat f = SlotFormat(slot);
  result = label + (f.Kind == 1 ? "\u00B0 " : " ") + FixedText(value, f.Decimals);
}

// ------------------------------------------------------------ magnitudes

void WriteMagnitudeToSheet(TSheet& sheet, int row, int col, int slot, double value) {
  const TSlotFormat f = SlotFormat(slot);
  if (f.Kind == 1) {
    sheet.SetText(row, col, FixedText(value, f.Decimals) + " mag");
  } else {
    SheetNumber(sheet, row, col, f.Decimals, value);
  }
}

void WriteMagnitudeToGrid(tmystringgrid& grid, int row, int col, int slot, double value) {
  const TSlotFormat f = SlotFormat(slot);
  if (f.Kind == 1) {
    SetGridCellText(grid, row, col, FixedText(value, f.Decimals) + " mag");
  } else {
    GridNumber(grid, row, col, f.Decimals, value);
  }
}

void FormatMagnitudeForSlot(int slot, std::string& result, double value) {
  const TSlotFormat f = SlotFormat(slot);
  result = FixedText(value, f.Decimals) + (f.Kind == 1 ? " mag" : "");
}

// ------------------------------------------------------------- durations

void WriteMinutesToSheet(TSheet& sheet, int row, int col, int slot, double minutes) {
  const TSlotFormat f = SlotFormat(slot);
  if (f.Kind == 1) {
    sheet.SetText(row, col, MinutesText(minutes));
  } else {
    SheetNumber(sheet, row, col, f.Decimals, minutes);
  }
}

void WriteMinutesToGrid(tmystringgrid& grid, int row, int col, int slot, double minutes) {
  const TSlotFormat f = SlotFormat(slot);
  if (f.Kind == 1) {
    SetGridCellText(grid, row, col, MinutesText(minutes));
  } else {
    GridNumber(grid, row, col, f.Decimals, minutes);
  }
}

void FormatMinutesForSlot(int slot, std::string& result, double minutes) {
  const TSlotFormat f = SlotFormat(slot);
  result = f.Kind == 1 ? MinutesText(minutes) : FixedText(minutes, f.Decimals);
}

void WriteHoursAsMinutesToSheet(TSheet& sheet, int row, int col, int slot, double hours) {
  WriteMinutesToSheet(sheet, row, col, slot, hours * 60.0);
}

void WriteHoursAsMinutesToGrid(tmystringgrid& grid, int row, int col, int slot, double hours) {
  WriteMinutesToGrid(grid, row, col, slot, hours * 60.0);
}

void FormatHoursAsMinutesForSlot(int slot, std::string& result, double hours) {
  FormatMinutesForSlot(slot, result, hours * 60.0);
}

}  // namespace kvx
