// The date, number and angle texts. Input: one byte of flags, an eight-byte
// double (any bit pattern), then a text. The text goes through the date
// parser, the number readers and the angle and time text editors; the double
// through the packed-sexagesimal conversions, the number and time texts and
// the calendar conversion; the text also goes through the minimal-distance
// edit check. Promises: a finite number never turns into NaN;
// an accepted date is a date of the program's range; no text shows "nan".
#include <cmath>

#include "core/input_checks.h"
#include "core/moon_phases.h"
#include "core/observer_record.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "fuzz/fuzz_support.h"

using namespace kvx;

namespace {

void NoNanText(const std::string& text) {
  fuzz::Require(text.find("nan") == std::string::npos && text.find("inf") == std::string::npos, "nan in a text");
}

void Texts(const std::string& text, std::uint8_t flag) {
  std::int32_t day = 0, month = 0, year = 0;
  if (ParseDateTextOn(text, 7, 12, 2026, day, month, year)) {
    fuzz::Require(IsCalendarDate(day, month, year), "parsed date exists");
    fuzz::Require(year > -kDateYearLimit && year < kDateYearLimit, "parsed year in range");
  }
  double x = 0;
  ValReal(text, x);
  StrToFloatDot(text, x);
  StrToFloatNoBlanks(text, x);
  long double lx = 0;
  StrToExtended(text, lx);
  std::uint8_t ok = 0;
  TextToNumberCallback(text, ok);
  std::uint8_t isDecimal = 0;
  std::string result;
  ParseDegreeText(text, isDecimal, result);
  for (const std::string& s :
       {DmsMarkText(text, flag), DmMarkText(text, flag), DmMarkText2(text, flag), DegMinText(text), DmsArcText(text),
        HmsColonText(text), HmsColonToNumberText(text), ArcMinText(text), ArcMinSecText(text),
        MinSecTimeText(text), DmsTextWithMarks(text), StripBlanksLocalizePoint(text), ShortCommaToDot(text),
        NormalizeDesignation(text), StripTagBrackets(text)}) {
    (void)s;
  }
  PackedDateDigitValue(text);
  // The separation limit's edit: an accepted text gives a limit in range,
  // a refused one keeps the old limit.
  std::string edit = text;
  double limit = 40;
  if (CheckMinimalDistanceInput(edit, limit)) {
    fuzz::Require(limit >= 0.01 && limit <= 40, "accepted minimal distance in range");
  } else {
    fuzz::Require(limit == 40, "refused minimal distance keeps the old one");
  }
}

void Numbers(double x, std::uint8_t flag) {
  const bool finite = std::isfinite(x);
  for (double y : {DmsPackedToDeg(x), DegToDmsPacked(x), DegToDmsPackedSec(x), DegToDmPacked(x),
                   DegToDmsPackedTenth(x), DegToDmsPackedHundredth(x)}) {
    if (finite) fuzz::Require(!std::isnan(y), "packed conversion of a finite number is NaN");
  }
  std::string s = RoundedHourText(x);
  const std::int32_t weekdayOfJd = WeekdayOfJd(x);
  fuzz::Require(weekdayOfJd >= (finite ? 1 : 0) && weekdayOfJd <= 7, "weekday 1..7");
  HourToTimeText(x, s);
  NoNanText(s);
  HourToTimeStr(x, s);
  NoNanText(s);
  DmsMarkTextFixed(x, flag, s);
  if (finite) NoNanText(s);
  const int decimals = flag % 12;
  const int width = flag / 12;
  if (finite) {
    NoNanText(FormatFixed(x, width, decimals));
    FloatToStrTrim(decimals, s, x);
    RealToStrFixed(width % 16, decimals, s, x);
  }

  int day = 0, month = 0, year = 0;
  double hours = 0;
  MjdToCalendarDate(day, month, year, hours, x);
  if (std::isfinite(x) && std::fabs(x) <= kCalendarMjdLimit) {
    fuzz::Require(month >= 1 && month <= 12 && day >= 1 && day <= 31, "calendar date");
    fuzz::Require(hours >= 0.0 && hours <= 24.0, "hours of the day");
  } else {
    fuzz::Require(day == 0 && month == 0 && year == 0, "no date");
  }
  std::string date;
  DateText(day, month, year, WeekdayOfJulianDay(MjdToJd(x), 0.0), '.', date);
  DateToText(day, month, year, date, '.');
  const std::int32_t weekday = WeekdayOfJulianDay(x, flag - 128.0);
  fuzz::Require(weekday >= -1 && weekday <= 6, "weekday");
  if (std::isfinite(x)) fuzz::Require(weekday >= 0, "weekday of a finite day");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::SilenceMessages();
  fuzz::Bytes in(data, size);
  const std::uint8_t flag = in.Byte();
  const double x = in.Double();
  const std::string text = in.Rest();
  Numbers(x, flag);
  Texts(text, flag);
  return 0;
}
