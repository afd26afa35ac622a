// The rules behind the edit controls of the dialogs, without any widget:
// which keys and texts an integer or number box takes, the time-of-day
// texts "hh:mm" and "hh:mm:ss" with their packed H.MMSS reading, the
// calendar date held as a Julian day, and the best hit of a text in a list.
//
// Units: hours are decimal hours of a day (0 <= h < 24 once reduced); a
// Julian day counts days from 4713 BC noon; the date edit takes dates of
// the Julian calendar before JD 2299161 and of the Gregorian from it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text_encoding.h"

namespace kvx {

// Lower case for ASCII and the Latin-1 capitals of UTF-8, enough for place
// names (LowerCaseLatinText).
inline std::string LowerText(const std::string& text) { return LowerCaseLatinText(text); }

// --- integer and number boxes -----------------------------------------------
// Keys an integer box lets through: the digits and the signs "-" and "+"
// (backspace is no character here).
bool IntegerKeyAllowed(char key);
// Keys a number box lets through: "," and "." come back as `separator`;
// 0 for a key that is dropped.
char FloatKeyFilter(char key, char separator);
// Text checks for editing finished (typed or pasted): an optional sign
// ("-" or "+") then digits only; a number with "." or "," as its mark. The
// empty text passes both (the fields treat it as "no entry").
bool IsIntegerText(const std::string& text);
bool IsFloatText(const std::string& text);
// A whole number as the files and fields hold it: blanks (and a CR) around
// it, an optional sign ("+1" is 1), then at least one digit and nothing
// else; false for any other text and for a value beyond the 32-bit range
// (`value` is then left alone).
bool ReadWholeNumberText(std::string_view text, std::int32_t& value);

// --- time of day -------------------------------------------------------------
// "hh:mm" normalising: blanks removed, the first ":" becomes `separator`
// with a "0" in front when it stood second, further ":" removed, at most
// two characters after the mark.
std::string NormalizeTimeHhMm(const std::string& text, char separator);
// "hh:mm:ss" normalising: blanks removed, the first ":" becomes
// `separator` (a "0" in front when it stood second), the second ":" is
// removed with a "0" where it stood when one digit lay between them.
std::string NormalizeTimeHhMmSs(const std::string& text, char separator);
// Packed H.MMSS to decimal hours (sign kept).
double PackedHoursToHours(double packed);
// Decimal hours to packed H.MMSS, whole seconds, 60 s and 60 min carried.
double HoursToPackedHours(double hours);
// Hours brought into 0 <= h < 24.
double ReduceHours24(double hours);
// The automatic length of a period as the period dialog accepts it: whole
// days >= 0 and hours (packed H.MMSS) 0 <= h < 24, and with the automatic
// end on (`automaticEnd`) not both 0.
bool AutomaticLengthAccepted(std::int32_t days, double packedHours, bool automaticEnd);
// The reading of a time edit when it is left: normalised, read as packed
// H.MMSS, decimal hours reduced to 0..24 (25:00 is 1 h). False when the
// text is no time (no number, or three or more digits of hours); the hours
// are then left alone.
bool TimeEditTextToHours(const std::string& text, bool withSeconds, double& hours);
// The display of a time edit: "hh:mm" or "hh:mm:ss", rounded to the
// millisecond and then cut to the shown unit.
std::string TimeOfDayText(double hours, bool withSeconds);
// The whole seconds of the day (0..86399) that TimeOfDayText shows for
// `hours` (reduced to 0..24 first); -1 for a time that is not a number.
// Whatever shows a time beside its text (the period dialog's hour, minute
// and second boxes) takes these seconds, so that both say the same time.
long TimeOfDaySeconds(double hours);

// --- calendar date as a Julian day ----------------------------------------------
inline constexpr double kAstroDateMaxJd = 5373484.4583;
// 1 year, 2 month, 3 day of the JD's calendar date; -1 for other n.
std::int32_t AstroDatePart(double jd, int n);
// Days of a month by the leap rule of the Gregorian calendar (the rule the
// edit's day check uses for every year).
int DaysInMonth(int month, int year);
// Replaces one part when v > 0 and the rules allow it (month <= 12, day <=
// the month's length) and returns the JD of the resulting date at 0 h.
double AstroDateSetPart(double jd, int n, std::int32_t v);
bool AstroDateInRange(double jd);
// d.m.yyyy, the year padded to four digits with "-" in front when negative.
std::string AstroDateText(double jd);
// A typed date: day "." month "." year, every part defaulting to `todayJd`'s;
// a two-character year lies in today's century. The parts as typed (they
// may name a day that does not exist, DateExists tells), and the JD at 0 h
// (a day beyond its month carries over).
void ParseAstroDateParts(const std::string& text, double todayJd, std::int32_t& day, std::int32_t& month,
                         std::int32_t& year);
double ParseAstroDateText(const std::string& text, double todayJd);
// The range message of the date edit.
void ShowAstroDateOutOfRange();

// --- finding a text in a list ------------------------------------------------------
// The item holding `text` (case ignored) earliest, among equally early ones
// a shorter one later in the list; -1 when none holds it or the text is empty.
int FindBestListMatch(const std::string& text, const std::vector<std::string>& items);

}  // namespace kvx

namespace kvx {

// A date typed as day.month.year (no defaults): the three parts when each
// is an integer; false otherwise. Ranges are the caller's.
bool ParseDottedDate(const std::string& text, std::int32_t& day, std::int32_t& month, std::int32_t& year);

}  // namespace kvx

namespace kvx {

// A typed angle: degree notation (13°24'30'') is packed D.MMSS and comes
// back as decimal degrees; a plain number ("." or ",") is decimal degrees.
// False when it is no number.
bool ReadDegreeText(const std::string& text, double& degrees);
// A typed latitude (|degrees| <= 90) or longitude (|degrees| <= 180) read
// as ReadDegreeText. A text that is no number gets the not-a-number
// message, a number beyond the range the range message; false then, and
// `degrees` is left alone.
bool ReadLatitudeText(const std::string& text, double& degrees);
bool ReadLongitudeText(const std::string& text, double& degrees);
// Decimal degrees as D°MM'SS'' (whole seconds).
std::string DegreesArcText(double degrees);

}  // namespace kvx
