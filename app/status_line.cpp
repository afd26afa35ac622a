#include "app/status_line.h"

#include <cmath>

#include "core/name_tables.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "setup/setup_routines.h"

namespace kvx {

namespace {

std::string FixedWithSeparator(int intDigits, int decimals, double x) {
  std::string text;
  RealToStrFixed(intDigits, decimals, text, x);
  return FloatToTextSep(text);
}

std::string AngleText(double degrees) { return DmsTextWithMarks(FixedWithSeparator(1, 4, DegToDmsPackedSec(degrees))); }

}  // namespace

std::string DatePanelText(const TObserverRecord& r, std::uint8_t apparentSiderealTime) {
  const char* label = apparentSiderealTime != 0 ? "   LAST: " : "   LMST: ";
  std::string date;
  DateText(r.Day, r.Month, r.Year, r.Weekday, IntlSeparators.Date, date);
  std::string local;
  HourToTimeStr(r.LocalHours, local);
  std::string text = " " + date + "  " + local + "  ";
  if (ZoneBeyondNames(r.Zone, r.ZoneMinutes)) {
    text += ZoneOffsetName(r.Zone, r.ZoneMinutes);  // no zone name is that zone
  } else {
    text += ZoneName(r.Zone);
    if (r.ZoneMinutes != 0) text += "+" + std::to_string(r.ZoneMinutes) + "min  ";
  }
  // UT and sidereal time of the record's instant (its MJD): a command that
  // moved the instant without completing the record leaves UTHours and
  // SiderealHours behind, and the panel must not show them.
  std::string ut;
  HourToTimeStr(Mod24((r.Mjd - std::floor(r.Mjd)) * 24.0), ut);
  std::string sidereal;
  HourToTimeStr(LocalSiderealTime(apparentSiderealTime, r.Mjd, r.Longitude), sidereal);
  text += "  " + NameAt(DaylightSavingMarks, r.DaylightHours) + " " + ut +
          " UT  JD: " + FixedWithSeparator(1, 5, MjdToJd(r.Mjd)) + label + sidereal;
  return text;
}

std::string PlacePanelText(const TObserverRecord& r, bool english) {
  return std::string(english ? " Lat: " : " GB: ") + AngleText(r.Latitude) + (english ? "  Lon: " : "  GL: ") +
         AngleText(r.Longitude) + "   " + r.PlaceName + "   ET-UT: " + FixedWithSeparator(1, 1, r.DeltaTSeconds) +
         " sec";
}

TStatusTexts BuildStatusTexts(const TMainFormState& s, bool english) {
  TStatusTexts t;
  t.Date = DatePanelText(s.Period.Start, s.Period.ApparentSiderealTime);
  t.Place = PlacePanelText(s.Period.Start, english);
  t.Accuracy = std::to_string(s.Computing.AccuracyDigits);
  switch (s.Period.Selection.PlanetTheory()) {
    case kPlanetTheoryVsop87D:
      t.Vsop = "VSOP87 D " + AccuracyPairText(s.Computing.Accuracy.VsopLevelA, s.Computing.Accuracy.VsopLevelB);
      break;
    case kPlanetTheoryVsop87C:
      t.Vsop = "VSOP87 C " + AccuracyPairText(s.Computing.Accuracy.VsopLevelA, s.Computing.Accuracy.VsopLevelB);
      break;
    case kPlanetTheoryPositionFiles:
      t.Vsop = english ? "Positions from file" : "Positionen aus Datei";
      break;
    default:
      t.Vsop = "Newcomb";
      break;
  }
  t.Moon = s.Period.Selection.MoonTheory() != 0 ? "ELP-2000/82" : "Brown";
  if (s.Computing.IntegrationDatabase != 0) {
    t.Integration = english ? "Quick integr." : "Integr. schnell";
  } else {
    t.Integration = english ? "Slow integr." : "Integr. langsam";
  }
  return t;
}

}  // namespace kvx
