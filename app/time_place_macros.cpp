#include "app/time_place_macros.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "core/name_tables.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "engine/cell_format.h"
#include "platform/workbook/workbook.h"

namespace kvx {

using workbook::TCellKind;
using workbook::TRange;
using workbook::TWorkbook;

namespace {

constexpr int kLatitudeSlot = 177;
constexpr int kLongitudeSlot = 178;

// Runs `visit` on every cell of the clipped selection; `visit` returns
// whether it changed the cell. The answer is the number of changed cells.
template <typename Visit>
int ForEachSelectedCell(TWorkbook& sheet, Visit visit) {
  int changed = 0;
  for (const TRange& range : SelectionInUsedArea(sheet)) {
    for (int row = range.Row1; row <= range.Row2; ++row) {
      for (int col = range.Col1; col <= range.Col2; ++col) {
        if (visit(row, col)) ++changed;
      }
    }
  }
  return changed;
}

// Runs `change` on every non-zero number of the clipped selection; `change`
// returns false to leave the cell alone.
template <typename Change>
int ForEachNumber(TWorkbook& sheet, Change change) {
  return ForEachSelectedCell(sheet, [&](int row, int col) {
    if (sheet.CellKind(row, col) != TCellKind::Number) return false;
    const double value = sheet.Number(row, col);
    if (value == 0.0 || !std::isfinite(value)) return false;
    return change(row, col, value);
  });
}

void FormatSelection(TWorkbook& sheet, const std::string& pattern) {
  ForEachSelectedCell(sheet, [&](int row, int col) {
    sheet.SetCellNumberFormat(row, col, pattern);
    return false;
  });
}

double Fraction(double x) { return x - std::floor(x); }

// The columns of the selection wide enough for the values written into it.
void WidenSelection(TWorkbook& sheet) {
  for (const TRange& range : SelectionInUsedArea(sheet)) {
    sheet.WidenColsToFit(range.Row1, range.Col1, range.Row2, range.Col2);
  }
}

// Replaces every non-zero number of the selection by `convert(value)`, gives
// the whole selection `pattern` when there is one, widens its columns and
// refreshes the sheet. The answer is the number of converted cells.
template <typename Convert>
int ConvertNumbers(TWorkbook& sheet, Convert convert, const std::string* pattern = nullptr) {
  const int n = ForEachNumber(sheet, [&](int row, int col, double v) {
    sheet.SetNumber(row, col, convert(v));
    return true;
  });
  if (pattern != nullptr) FormatSelection(sheet, *pattern);
  WidenSelection(sheet);
  sheet.Refresh();
  return n;
}

}  // namespace

std::vector<TRange> SelectionInUsedArea(const TWorkbook& sheet) {
  std::vector<TRange> ranges;
  const int lastRow = sheet.LastRow();
  const int lastCol = sheet.LastCol();
  for (int i = 0; i < sheet.SelectionCount(); ++i) {
    TRange r = sheet.SelectionRange(i);
    if (r.Row1 > r.Row2) std::swap(r.Row1, r.Row2);
    if (r.Col1 > r.Col2) std::swap(r.Col1, r.Col2);
    r.Row2 = std::min(r.Row2, lastRow);
    r.Col2 = std::min(r.Col2, lastCol);
    if (r.Row1 < 1 || r.Col1 < 1 || r.Row1 > r.Row2 || r.Col1 > r.Col2) continue;
    ranges.push_back(r);
  }
  return ranges;
}

int MacroDegToDms(TWorkbook& sheet) {
  return ConvertNumbers(sheet, [](double v) { return DegToDmsPacked(v); });
}

int MacroDmsToDeg(TWorkbook& sheet) {
  return ConvertNumbers(sheet, [](double v) { return DmsPackedToDeg(v); });
}

int MacroTimeToDeg(TWorkbook& sheet) {
  // The pattern table follows the locale's decimal separator.
  return ConvertNumbers(sheet, DaysToHours, &DecimalPatternTable[6]);
}

int MacroDegToTime(TWorkbook& sheet) { return ConvertNumbers(sheet, HoursToDays, &TimePatternHms); }

bool MarkTextToPacked(const std::string& text, double& packed) {
  std::string t;
  for (char c : DecimalSepToDot(TrimBlanks(text))) {
    if (c != ' ') t += c;
  }
  if (t.empty()) return false;
  if (StrToFloatDot(t, packed)) return std::isfinite(packed);
  bool negative = false;
  std::size_t at = 0;
  if (t[0] == '-' || t[0] == '+') {
    negative = t[0] == '-';
    ++at;
  }
  // Up to three fields, each a number and its mark: the first "°" or "h",
  // the second "'" or "m", the third "''" (or '"') or "s".
  const std::string marks[3][2] = {{"\u00B0", "h"}, {"'", "m"}, {"''", "s"}};
  double fields[3] = {0, 0, 0};
  int field = 0;
  while (at < t.size()) {
    const std::size_t start = at;
    while (at < t.size() && (std::isdigit(static_cast<unsigned char>(t[at])) != 0 || t[at] == '.')) ++at;
    if (at == start) return false;
    double value = 0;
    if (!StrToFloatDot(t.substr(start, at - start), value)) return false;
    int found = -1;
    std::size_t length = 0;
    for (int f = field; f < 3 && found < 0; ++f) {
      for (const std::string& mark : marks[f]) {
        if (t.compare(at, mark.size(), mark) == 0 && (f != 1 || t.compare(at, 2, "''") != 0)) {
          found = f;
          length = mark.size();
          break;
        }
      }
      if (found < 0 && f == 2 && t.compare(at, 1, "\"") == 0) {
        found = 2;
        length = 1;
      }
    }
    if (found < 0) return false;
    fields[found] = value;
    field = found + 1;
    at += length;
  }
  if (field == 0 || fields[1] >= 60 || fields[2] >= 60) return false;
  if (fields[0] != std::trunc(fields[0]) && (fields[1] != 0 || fields[2] != 0)) return false;
  if (fields[1] != std::trunc(fields[1]) && fields[2] != 0) return false;
  packed = fields[0] + fields[1] / 100.0 + fields[2] / 10000.0;
  if (negative) packed = -packed;
  return true;
}

int MacroMarkTextToNumber(TWorkbook& sheet) {
  const int changed = ForEachSelectedCell(sheet, [&](int row, int col) {
    if (sheet.CellKind(row, col) != TCellKind::Text) return false;
    double packed = 0;
    if (!MarkTextToPacked(sheet.Text(row, col), packed)) return false;
    sheet.SetNumber(row, col, packed);
    return true;
  });
  sheet.Refresh();
  return changed;
}

int MacroNumberToMarkText(TWorkbook& sheet, bool arcMarks) {
  const int changed = ForEachSelectedCell(sheet, [&](int row, int col) {
    std::string text;
    const TCellKind kind = sheet.CellKind(row, col);
    if (kind == TCellKind::Number) {
      const double v = sheet.Number(row, col);
      if (v == 0.0 || !std::isfinite(v)) return false;
      text = FixedPointText(v, 6);
    } else if (kind == TCellKind::Text) {
      text = DecimalSepToDot(TrimBlanks(sheet.Text(row, col)));
      double v = 0;
      if (text.empty() || !StrToFloatDot(text, v) || v == 0.0) return false;
    } else {
      return false;
    }
    if (text.find('.') == std::string::npos) return false;  // nothing to convert
    const std::string converted = DmsMarkText(text, arcMarks ? 1 : 0);
    if (converted.empty() || converted == text) return false;
    sheet.SetText(row, col, converted);
    return true;
  });
  sheet.Refresh();
  return changed;
}

int MacroJulianDateToUT(TWorkbook& sheet) {
  const int n = ForEachNumber(sheet, [&](int row, int col, double jd) {
    // The day starts at noon of the Julian day: keep the time within 0..24 h.
    sheet.SetNumber(row, col, Fraction(Fraction(jd) + 0.5));
    sheet.SetCellNumberFormat(row, col, TimePatternHms);
    return true;
  });
  WidenSelection(sheet);
  sheet.Refresh();
  return n;
}

void WriteDateAtActiveCell(TWorkbook& sheet, const TObserverRecord& r, const std::string& zoneName) {
  const int row = sheet.Row();
  const int col = sheet.Col();
  char date[48];
  std::snprintf(date, sizeof date, "%02d.%02d.%d", r.Day, r.Month, r.Year);
  sheet.SetText(row, col, date);
  sheet.SetNumber(row, col + 1, r.LocalHours / 24.0);
  sheet.SetCellNumberFormat(row, col + 1, TimePatternHms);
  sheet.SetText(row, col + 2, std::to_string(r.Zone) + "+" + std::to_string(r.ZoneMinutes) + "min  " + zoneName);
  sheet.WidenColsToFit(row, col + 1, row, col + 1);
  sheet.Refresh();
}

void WriteJulianDateAtActiveCell(TWorkbook& sheet, const TObserverRecord& r) {
  const int row = sheet.Row();
  const int col = sheet.Col();
  sheet.SetNumber(row, col, r.Mjd + 2400000.5);
  sheet.SetCellNumberFormat(row, col, DecimalPatternTable[5]);
  sheet.SetNumber(row, col + 1, Fraction(r.Mjd));
  sheet.SetCellNumberFormat(row, col + 1, TimePatternHms);
  sheet.SetText(row, col + 2, "UT");
  sheet.WidenColsToFit(row, col, row, col + 1);
  sheet.Refresh();
}

void WritePlaceAtActiveCell(TWorkbook& sheet, const TObserverRecord& r) {
  const int row = sheet.Row();
  const int col = sheet.Col();
  sheet.SetText(row, col, r.PlaceName);
  WriteAngleToSheet(sheet, row, col + 1, kLatitudeSlot, r.Latitude);
  WriteAngleToSheet(sheet, row, col + 2, kLongitudeSlot, r.Longitude);
  sheet.WidenColsToFit(row, col + 1, row, col + 2);
  sheet.Refresh();
}

void ToggleDaylightSaving(TObserverRecord& r) {
  r.DaylightHours = r.DaylightHours != 0 ? 0 : 1;
  LocalTimeToUT(r);
}

bool JulianDateEntryChanged(double mjdBefore, std::int32_t zoneBefore, std::int32_t minutesBefore, double mjdAfter,
                            std::int32_t zoneAfter, std::int32_t minutesAfter) {
  return FormatFixed(mjdBefore, 0, 10) != FormatFixed(mjdAfter, 0, 10) || zoneBefore != zoneAfter ||
         minutesBefore != minutesAfter;
}

}  // namespace kvx
