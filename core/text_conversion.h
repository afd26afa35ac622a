// Numbers, angles, dates and times as text and back.
//
// Packed sexagesimal numbers (D.MMSS..., core/packed_sexagesimal.h, which
// this header includes for its callers) are written and read here as text.
//
// The marked texts use the program's own marks: hours, minutes and seconds of
// time "h", "m", "s"; degrees, arc minutes and arc seconds "°", "'", "''".
// Every text is UTF-8; positions named in the comments count characters.
// Routines that insert or read the decimal or date separator use the current
// IntlSeparators (platform/globals.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/observer_record.h"
#include "core/packed_sexagesimal.h"
#include "platform/number_text.h"

namespace kvx {

// --- Marked texts from number texts ----------------------------------------
// The marks, index 0 for time, 1 for arc: "h" / "°", "m" / "'", "s" / "''".
inline constexpr const char* FirstMarks[2] = {"h", "\u00B0"};
inline constexpr const char* SecondMarks[2] = {"m", "'"};
inline constexpr const char* ThirdMarks[2] = {"s", "''"};
// `flag` 0 chooses the time marks (h, m, s), non-zero the arc marks (°, ', '').
// p is the position of the first "." of the input; an input without "." is
// returned unchanged.

// D.MMSSss -> 12h34m56,78s / 12°34'56,78'' (decimal separator of the locale).
std::string DmsMarkText(const std::string& text, std::uint8_t flag);
std::string DmsMarkTextStr(const std::string& text, std::uint8_t flag);
// D.MMSS -> 12h34m56s / 12°34'56''.
std::string DmMarkText(const std::string& text, std::uint8_t flag);
// D.MM -> 12h34m / 12°34'.
std::string DmMarkText2(const std::string& text, std::uint8_t flag);
// Angle in degrees -> degrees and minutes to a tenth of a minute, right
// aligned in a field of 20, for example "            123°45,7'". The angle
// is reduced to [0, 360) after adding half a tenth of a minute; that reduced
// angle is returned.
double DmsMarkTextFixed(double degrees, std::uint8_t flag, std::string& text);
// D.MM -> 12°34'.
std::string DegMinText(const std::string& text);
// D.MMSS -> 12°34'56''.
std::string DmsArcText(const std::string& text);
// H.MMSS -> 12:34:56; a leading blank becomes "0" ( 9.3015 -> 09:30:15).
std::string HmsColonText(const std::string& text);
// H:MM:SS -> H.MMSS; a one-digit minute gets its leading zero (12:3:56 ->
// 12.0356).
std::string HmsColonToNumberText(const std::string& text);
// M.SS -> 12'34''.
std::string ArcMinText(const std::string& text);
// M.SSs -> 12'34,5''.
std::string ArcMinSecText(const std::string& text);
// M.SS or M,SS -> 12m34s.
std::string MinSecTimeText(const std::string& text);
// D,MMSS (with the locale's decimal separator) -> 12°34'56''.
std::string DmsTextWithMarks(const std::string& text);

// --- Numbers and the decimal separator -------------------------------------
// The fixed-point text of x with `decimals` decimals, right aligned in a
// field of `width` characters (wider when needed); rounds half away from
// zero; a text that rounds to zero carries no minus sign.
std::string FormatFixed(double x, int width, int decimals);
std::string FormatFixedExt(long double x, int width, int decimals);
// x with `decimals` decimals and with `digits` significant digits, as
// printf's "%*.*f" (right aligned in `width` characters) and "%.*g" give it
// in the "C" locale: "." as decimal point, whatever the C library's locale
// (std::to_chars).
std::string FixedPointText(double x, int decimals, int width = 0);
std::string SignificantDigitsText(double x, int digits);
// The shortest text that reads back (ValReal, StrToExtended) to exactly x
// is ShortestNumberText (platform/number_text.h).
// x with `decimals` decimals ("." as decimal point, no blanks) when that
// text reads back to exactly x, else ShortestNumberText(x): the text of a
// free-format field (one its reader splits off at a separator or a blank)
// that keeps every value it is given.
std::string KeptNumberText(double x, int decimals);
std::string KeptNumberTextExt(long double x, int decimals);

// s = x in a field of intDigits + decimals + 1, at most 30 characters.
void RealToStrFixed(int intDigits, int decimals, std::string& s, double x);
// x with `decimals` decimals, without leading blanks.
void FloatToStrTrim(int decimals, std::string& s, double x);
void FloatToStrTrimExt(int decimals, std::string& s, long double x);
// The text without its leading blanks.
std::string TrimLeadingBlanks(const std::string& text);
// The text without leading and trailing blanks and tabs.
std::string TrimBlanks(const std::string& text);
// The text with every blank (space) removed.
std::string RemoveBlanks(const std::string& text);
// The first "." becomes the decimal separator.
std::string FloatToTextSep(const std::string& text);
// The first "." becomes the decimal separator; leading blanks removed.
std::string DotToDecimalSepTrim(const std::string& text);
// The first "," becomes ".".
std::string DecimalSepToDot(const std::string& text);
// The first "," becomes "."; leading blanks removed.
std::string ShortCommaToDot(const std::string& text);
// Every blank removed, then the first "." becomes the decimal separator; a
// text without "." keeps its digits as they are.
std::string StripBlanksLocalizePoint(const std::string& text);

// Reads a number with "." as decimal point (leading blanks allowed, optional
// sign, digits, decimals and exponent; nothing may follow) by ReadNumber
// (platform/number_text.h): beyond the double range no number, below it 0.
// False when the text is not such a number; x is then 0.
bool ValReal(const std::string& text, double& x);
// ValReal after putting "0" after a "." that follows a digit and stands
// before no digit ("5." is 5, "5.e3" is 5000; a lone "." or "-." is no
// number).
bool StrToFloatDot(const std::string& text, double& x);
// ValReal after removing every blank.
bool StrToFloatNoBlanks(const std::string& text, double& x);
// ValReal into a long double.
bool StrToExtended(const std::string& text, long double& x);
// A number written with the locale's decimal separator (blanks around it
// allowed); ok = 1 and the value, or ok = 0 and 0 when it is not a number.
double TextToNumberCallback(const std::string& text, std::uint8_t& ok);
// Turns a typed angle into a number text for ValReal: the first "°" (else
// the first ".", else the first ",") becomes "."; every "'" is deleted; a
// trailing "." gets a "0". isDecimal = 0 exactly when degree or minute marks
// were typed (the result is then packed D.MMSS), else 1.
void ParseDegreeText(const std::string& text, std::uint8_t& isDecimal, std::string& result);

double InchToCm(double inches);
double CmToInch(double centimetres);

// --- Dates and times -----------------------------------------------------------
// Dates are day, month, year with astronomical year numbering; dates up to
// 4 October 1582 belong to the Julian calendar, later ones to the Gregorian.
// The short date form of the sheet is dd.mm.yyyy with the locale's date
// separator; times are hh:mm (short) or hh:mm:ss (long) with its time
// separator. The date texts below show "--" for a month outside 1..12 or a
// day outside 1..31 (the calendar conversion gives day and month 0 for an
// instant that has no date).

// True when the date exists in the proleptic Gregorian calendar with a year
// of 1 to 9999 (the dates the short date form can show).
bool IsShortFormDate(std::int32_t day, std::int32_t month, std::int32_t year);
// True when the date exists in the program's calendar (Julian up to 1582,
// Gregorian after; 5 to 14 October 1582 count as Gregorian).
bool IsCalendarDate(std::int32_t day, std::int32_t month, std::int32_t year);
// True when the day exists in the program's calendar as the calendar
// routines count it: Julian up to 4 October 1582, Gregorian from 15 October
// 1582, so that 5 to 14 October 1582 do not exist. The test of a date that a
// user types.
bool DateExists(std::int32_t day, std::int32_t month, std::int32_t year);

// Day and month zero-padded to two digits, the year to four, with "-" in
// front of a negative year, joined by the date separator in the order of the
// desktop's short date (IntlSeparators.DateOrder): 05-03-0844, 05-03--0044
// day first, 03/05/0844 month first.
void DatePaddedText(std::int32_t day, std::int32_t month, std::int32_t year, std::string& s);
// The short date form is the desktop's: day, month and year zero-padded (the
// year to four digits) in its order, joined by its separator: 07.12.2026,
// 12/07/2026, 2026-12-07.
// From 15 October 1582 (and up to the year 9999) the short date form;
// earlier dates, and dates the short form cannot show, as DatePaddedText
// joined by `separator`, after the weekday name and ", " when
// weekdayIndex >= 0 ("Donnerstag, 04.10.1582").
void DateText(std::int32_t day, std::int32_t month, std::int32_t year, std::int32_t weekdayIndex, char separator,
              std::string& s);
// The short date form; a date it cannot show as plain integers joined by
// `separator` in the desktop's order (29.2.1500).
void DateToText(std::int32_t day, std::int32_t month, std::int32_t year, std::string& s, char separator);
// DateText of the record's local date and weekday with the date separator.
void ObserverDateText(const TObserverRecord& r, std::string& s);
// "Montag, 03.05.2004 21:15 MEZ30min": weekday, date, local time rounded to
// the minute, zone name and the extra zone minutes when there are any.
// A date without day and month (see below) shows "--" for the weekday and
// the date, a time that is not a finite number "--:--".
void ObserverDateTimeText(const TObserverRecord& r, std::string& s);
// Decimal hours as hh:mm, rounded to the nearest minute unless that would
// give 24:00 (23.995 h gives 23:59). The sign is ignored. Hours that are not
// a finite number give "--:--" (with the time separator).
void HourToTimeText(double hours, std::string& s);
// Decimal hours as hh:mm:ss (to the nearest millisecond, seconds cut);
// "--:--:--" for hours that are not a finite number.
void HourToTimeStr(double hours, std::string& s);

// Reads a date typed as day.month.year. Missing parts are today's: "1.2."
// is 1 February of this year; a text without a second point keeps today's
// month and reads the rest as the year; a two-digit year lies in the current
// century. False for a missing or non-numeric day, a bad month or year, a
// year of 32000 or more in magnitude (kDateYearLimit; also 1e30 or "nan"),
// and for dates that do not exist (32.13.2000, 29.2.1900).
bool ParseDateText(const std::string& text, std::int32_t& day, std::int32_t& month, std::int32_t& year);
// The same with "today" given (for the date dialogs' defaults and tests).
bool ParseDateTextOn(const std::string& text, std::int32_t todayDay, std::int32_t todayMonth, std::int32_t todayYear,
                     std::int32_t& day, std::int32_t& month, std::int32_t& year);
// The same reading without the check that the date exists: any day 1..31
// of a month 1..12 passes (31.2.2026), so that a caller can name the date it
// refuses (DateExists).
bool ReadDateText(const std::string& text, std::int32_t& day, std::int32_t& month, std::int32_t& year);

// --- Minor-planet catalogue routines ---------------------------------------
// One digit of a packed date: "1".."9" -> 1..9, "A".."V" -> 10..31. Any
// other text (also the empty one, "0", a blank or two characters) is no
// digit and gives 0, which no month or day takes: a damaged date is refused
// by its reader instead of being read as the 31st.
int PackedDateDigitValue(const std::string& digit);
// Trims a designation and pads its number to five digits so that the texts
// sort by number: "(433) Eros" -> "(00433) Eros", "433 Eros" -> "00433 Eros".
// A designation whose number part is not a whole number >= 0 is returned
// trimmed but otherwise unchanged.
std::string NormalizeDesignation(const std::string& designation);
std::string FormatNumberedDesignation(const std::string& designation);
std::string FormatParenthesisedDesignation(const std::string& designation);

// --- Files and markup --------------------------------------------------------
// Checks that a text file has line breaks the program can read: a first line
// of 255 characters or more asks the user whether to convert the file. On
// Yes the file is rewritten with CR/LF line ends (through a temporary file
// that replaces it, so nothing is lost on failure) and the result is true;
// on No, or when the rewrite fails, false. A shorter first line, or a file
// that cannot be opened, gives true.
bool CheckTextFileFormat(const std::string& fileName);
// Removes everything up to and including the last ">".
std::string StripTagBrackets(const std::string& text);

// --- Small texts -------------------------------------------------------------
// Removes the first ".".
std::string RemoveFirstDot(const std::string& text);
// An hour value of [0, 24) as a whole hour, rounded, but never "24". "--"
// for a value that is not a finite number or has a magnitude of 1e15 or more.
std::string RoundedHourText(double hours);
// " nördlich" / " northern" for x >= 0, " südlich" / " southern" otherwise.
std::string NorthSouthText(double x);

}  // namespace kvx
