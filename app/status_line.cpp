#include "app/status_line.h"

#include <cmath>

#include "core/name_tables.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "platform/number_text.h"
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

std::string PlanetTheoryName(std::uint8_t theory, bool english) {
  switch (theory) {
    case kPlanetTheoryInternal:
      return "Newcomb";
    case kPlanetTheoryVsop87D:
      return "VSOP87 D";
    case kPlanetTheoryVsop87C:
      return "VSOP87 C";
    case kPlanetTheoryPositionFiles:
      return english ? "Positions from file" : "Positionen aus Datei";
    default:
      return WholeNumberText(theory);
  }
}

std::string MoonTheoryName(std::uint8_t theory) { return theory != 0 ? "ELP-2000/82" : "Brown"; }

std::string TheoryFallbackText(const TTheorySelection& asked, const TTheorySelection& used, bool english) {
  auto sentence = [english](const char* kind, const std::string& wanted, const std::string& taken) {
    if (english) {
      return std::string("The configuration asks for the ") + kind + " theory \"" + wanted +
             "\", which is not present; \"" + taken + "\" is used instead.";
    }
    return std::string("Die Konfiguration verlangt die ") + kind + "theorie \"" + wanted +
           "\", die nicht vorhanden ist; gerechnet wird mit \"" + taken + "\".";
  };
  std::string text;
  if (asked.PlanetTheory() != used.PlanetTheory()) {
    text = sentence(english ? "planetary" : "Planeten", PlanetTheoryName(asked.PlanetTheory(), english),
                    PlanetTheoryName(used.PlanetTheory(), english));
  }
  if ((asked.MoonTheory() != 0) != (used.MoonTheory() != 0)) {
    if (!text.empty()) text += "\n";
    text += sentence(english ? "lunar" : "Mond", MoonTheoryName(asked.MoonTheory()), MoonTheoryName(used.MoonTheory()));
  }
  return text;
}

TStatusTexts BuildStatusTexts(const TMainFormState& s, bool english) {
  TStatusTexts t;
  t.Date = DatePanelText(s.Period.Start, s.Period.ApparentSiderealTime);
  t.Place = PlacePanelText(s.Period.Start, english);
  t.Accuracy = std::to_string(s.Computing.AccuracyDigits);
  const std::uint8_t planets = s.Period.Selection.PlanetTheory();
  const bool vsop = planets == kPlanetTheoryVsop87D || planets == kPlanetTheoryVsop87C;
  t.Vsop = PlanetTheoryName(vsop || planets == kPlanetTheoryPositionFiles ? planets : kPlanetTheoryInternal, english);
  if (vsop) {
    t.Vsop.append(" ").append(AccuracyPairText(s.Computing.Accuracy.VsopLevelA, s.Computing.Accuracy.VsopLevelB));
  }
  t.Moon = MoonTheoryName(s.Period.Selection.MoonTheory());
  if (s.Computing.IntegrationDatabase != 0) {
    t.Integration = english ? "Quick integr." : "Integr. schnell";
  } else {
    t.Integration = english ? "Slow integr." : "Integr. langsam";
  }
  return t;
}

}  // namespace kvx
