#include "tables/single_date_page.h"

#include <cmath>
#include <cstdio>

#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "engine/cell_format.h"
#include "engine/sun.h"
#include "platform/globals.h"

namespace kvx {

namespace {

// Light time per AU used by the page, days.
constexpr double kPageLightTimePerAU = 0.0057755183;

using Box = TSingleDateBoxId;

class TPageBuilder {
 public:
  TPageBuilder(const TEphemerisResultRecord& r, TBodyIndex kind, const TSingleDateContext& c)
      : r_(r), kind_(kind), en_(c.English != 0), context_(c) {}

  const char* T(const char* german, const char* english) const { return en_ ? english : german; }

  static std::string Angle(int slot, double v) { return Format(FormatAngleForSlot, slot, v); }
  static std::string Number(int slot, double v) { return Format(FormatNumberForSlot, slot, v); }
  static std::string Arcsec(int slot, double v) { return Format(FormatArcsecondsForSlot, slot, v); }
  static std::string Arcmin(int slot, double v) { return Format(FormatArcminutesForSlot, slot, v); }
  static std::string Time(int slot, double v) { return Format(FormatTimeOfDayForSlot, slot, v); }

  static std::string Format(void (*f)(int, std::string&, double), int slot, double v) {
    if (!std::isfinite(v)) return "";
    std::string s;
    f(slot, s, v);
    return s;
  }

  TSingleDatePageModel Build(const std::string& name, const TObserverRecord& observer, const TKepler* body) {
    TSingleDatePageModel m;
    m.Caption = std::string(T("Ephemeride für ", "Ephemeris for ")) + name;
    m.OkText = "&OK";
    m.HelpText = T("&Hilfe", "&Help");
    m.Boxes.resize(kSingleDateBoxCount);
    for (int i = 0; i < kSingleDateBoxCount; ++i) m.Boxes[static_cast<std::size_t>(i)].Id = static_cast<Box>(i);
    const bool moon = kind_ == kBodyIndexMoon;
    const bool sun = kind_ == kBodyIndexSun;

    TSingleDateBox& helio = At(m, Box::Heliocentric);
    helio.Title = T("Heliozentrisch", "Heliocentric");
    helio.Visible = !sun && !moon;
    helio.Lines = {{"lg:", Angle(7, r_.Position.HelioLongitude), {}},
                   {T("br:", "lat:"), Angle(8, r_.Position.HelioLatitude), {}},
                   {T("r:", "dst:"), Number(9, r_.Position.HelioDistance), {}}};

    const char* distanceCaption = moon ? "RD:" : T("AE:", "AU");
    TSingleDateBox& ecl = At(m, Box::Ecliptic);
    ecl.Title = T("Ekliptikal", "Ecliptical");
    ecl.Lines = {{"Lg:", Angle(11, r_.Position.GeoLongitude), {}},
                 {T("Br:", "Lat:"), Angle(12, r_.Position.GeoLatitude), {}},
                 {distanceCaption, Number(moon ? 15 : 13, r_.Position.GeoDistance), {}}};

    TSingleDateBox& equ = At(m, Box::Equatorial);
    equ.Title = T("Äquatorsystem", "Equatorial");
    equ.Lines = {{"RA:", Angle(16, r_.Position.RightAscension), {}},
                 {T("Dk:", "Dec:"), Angle(17, r_.Position.Declination), {}}};

    TSingleDateBox& second = At(m, Box::SecondEquinox);
    second.Title = std::string(T("Aequin. ", "Equinox ")) + FixedPointText(std::round(context_.SecondEquinoxYear), 0);
    second.Lines = {{"RA:", Angle(16, r_.SecondRightAscension), {}},
                    {T("Dk:", "Dec:"), Angle(17, r_.SecondDeclination), {}}};
    if (moon) {
      second.Lines.push_back({"", "", {}});
    } else {
      const double minutes = kPageLightTimePerAU * r_.Position.GeoDistance * 60.0 * 24.0;
      second.Lines.push_back({T("Lichtzeit:", "Lighttime:"), Format(FormatMinutesForSlot, 22, minutes), {}});
    }

    TSingleDateBox& topo = At(m, Box::Topocentric);
    topo.Title = T("Topozentrisch", "Topocentric");
    topo.Lines = {{"RA:", Angle(23, r_.TopoRightAscension), {}},
                  {T("Dk:", "Dec:"), Angle(24, r_.TopoDeclination), {}},
                  {distanceCaption, Number(moon ? 29 : 25, r_.TopoDistance), {}}};

    BuildPhysical(m, observer, body);
    BuildVisibility(m);
    return m;
  }

 private:
  static TSingleDateBox& At(TSingleDatePageModel& m, Box id) { return m.Boxes[static_cast<std::size_t>(id)]; }

  void BuildPhysical(TSingleDatePageModel& m, const TObserverRecord& observer, const TKepler* body) {
    const TPhysicalBlock& p = r_.Physical;
    TSingleDateBox& phys = At(m, Box::Physical);
    phys.Title = T("Physische Ephemeriden", "Physical ephemerides");
    TSingleDateBox& grid = At(m, Box::Grid);
    grid.Title = T("Gradnetz", "Grid");
    grid.Visible = kind_ <= kBodyIndexMoon;
    const std::string elongation = Angle(52, p.elongation) + (p.sideText.empty() ? "" : " " + p.sideText);
    if (kind_ == kBodyIndexSun) {
      double rotation = p.RotationNumber;
      if (const auto* sunObject = dynamic_cast<const TSonne*>(body)) rotation = sunObject->CarringtonRotation;
      const std::string text = std::isfinite(rotation) ? FixedPointText(std::trunc(rotation), 0, 4) : std::string();
      phys.Lines = {
          {T("Halbmesser:", "Radius"), Arcmin(79, p.diameter), {}},
          {T("Zeitgleichung:", "Equ. of time"), Format(FormatHoursAsMinutesForSlot, 89, p.EquationOfTime), {}},
          {T("Rotationsnummer:", "Rotation No."), text, {}},
          {"mag:", Format(FormatMagnitudeForSlot, 62, p.magnitude), {}}};
    } else if (kind_ == kBodyIndexMoon) {
      const bool waning = Mod360(r_.Position.GeoLongitude - observer.SunLongitude) > 180.0;
      std::string phase = waning ? T(" Abnehmend", " Decreas") : T(" Zunehmend", "Increas");
      phase += T("er Mond, Phasenwinkel ca.", "ing Moon, phase angle ca.");
      phys.Lines = {{phase, Angle(58, p.phaseAngle), {}},
                    {"mag:", Format(FormatMagnitudeForSlot, 62, p.magnitude), {}},
                    {T("Mondalter:", "Age:"), Number(86, p.MoonAge), {}},
                    {T("Neumond:", "Newmoon:"), NewMoonText(observer), {}},
                    {T("Halbmesser:", "Radius:"), Arcmin(79, p.Semidiameter), {}}};
    } else {
      phys.Lines = {{"Elongation:", elongation, {}},
                    {T("Lg.Sonne - Lg.Obj.:", "L. Sun - L.Obj:"), Angle(56, p.sideAngle), {}},
                    {T("Phasenw.(i):", "Phase angle:"), Angle(58, p.phaseAngle), {}},
                    {"Phase (k):", Number(60, p.illuminatedFraction), {}}};
      if (kind_ < kBodyIndexMoon) {
        phys.Lines.push_back({"mag:", Format(FormatMagnitudeForSlot, 62, p.magnitude), {}});
        phys.Lines.push_back({"q:", Arcsec(78, p.defect), {}});
        phys.Lines.push_back({T("Pw.Sonne:", "Pos.-ang. Sun"), Angle(72, p.brightLimbAngle), {}});
        phys.Lines.push_back({T("Durchmesser:", "Diameter:"), Arcsec(79, p.diameter), {}});
        if (kind_ == 5 || kind_ == 6) phys.Lines.push_back({T("Pol:", "Pole:"), Arcsec(80, p.polarDiameter), {}});
        if (kind_ == 6) phys.Lines.push_back({"Ring:", Arcsec(82, p.ringMajor) + " x " + Arcsec(83, p.ringMinor), {}});
      }
    }
    if (kind_ == kBodyIndexMoon) {
      grid.Lines = {{"P:", Angle(63, p.axisAngle), {}},
                    {"Lat.:", Angle(64, p.subEarthLatC), {}},
                    {"L:", Angle(66, p.centralMeridian1), {}},
                    {"Colong.:", Angle(84, p.SunColongitude), {}},
                    {T("B Sonne:", "Lat. Sun"), Angle(85, p.SunSelenographicLatitude), {}}};
    } else if (kind_ < kBodyIndexMoon) {
      grid.Lines = {{"P:", Angle(63, p.axisAngle), {}},
                    {"Lat.", Angle(64, p.subEarthLatC), {}},
                    {"L:", Angle(66, p.centralMeridian1), {}}};
      if (kind_ == 5 || kind_ == 6) grid.Lines.push_back({"System II:", Angle(70, p.centralMeridian2), {}});
    }
  }

  // The new moon before the instant: date and local time of the instant
  // (the observer record's UT) less the Moon's age.
  std::string NewMoonText(const TObserverRecord& observer) const {
    const double age = r_.Physical.MoonAge;
    const double jd = MjdToJd(observer.Mjd);
    if (!std::isfinite(age) || !std::isfinite(jd)) return "";
    int day = 0, month = 0, year = 0;
    double hours = 0;
    JdToCalendarDate(day, month, year, hours, jd - age + ZoneOffsetHours(observer) / 24.0);
    std::string date;
    FormatDateForSlot(0, date, year, month, day);
    return date + " " + Time(1, hours);
  }

  // An event time, or the level's text in place of a missing one.
  std::string Event(double hours, const std::string& text, int slot) const {
    return hours == 0 || !std::isfinite(hours) ? text : Time(slot, hours);
  }

  void BuildVisibility(TSingleDatePageModel& m) {
    const int k = kind_ == kBodyIndexMoon ? TRiseSetBlock::kMoonLevel : TRiseSetBlock::kBodyLevel;
    const TRiseSetLevel& level = r_.RiseSet.Levels[static_cast<std::size_t>(k)];
    TSingleDateBox& vis = At(m, Box::Visibility);
    vis.Title = T("Sichtbarkeit", "Visibility");
    std::string rise = Event(level.Rise, level.RiseMarker, 30);
    if (level.Status.size() > 5) rise = level.Status;
    const bool transit = r_.RiseSet.HasTransit();
    std::string altitude;
    if (std::isfinite(r_.Altitude)) {
      altitude = FixedPointText(r_.Altitude, 1, 2);
      std::replace(altitude.begin(), altitude.end(), '.', IntlSeparators.Decimal);
    }
    vis.Lines = {{T("Aufgang:", "Rise:"), rise, {}},
                 {T("Kulmination:", "Transit:"), transit ? Time(31, r_.RiseSet.TransitTime) : "", {}},
                 {T("Untergang:", "Set:"), Event(level.Set, level.SetMarker, 32), {}},
                 {T("Kulm.-höhe:", "Trans. alt.:"), transit ? Angle(33, r_.RiseSet.TransitAltitude) : "", {}},
                 {T("h:", "alt:"), altitude[0] != 0 ? std::string(altitude) + "°" : "", {}},
                 {"az:", Angle(46, Mod360(r_.Azimuth + context_.AzimuthOrigin)), {}},
                 {T("Stdw.:", "H. ang.:"), Angle(48, HourAngleDegrees(r_.HourAngle)), {}},
                 {T("Sichtbar:", "Visible:"), Time(36, level.Duration), {}}};

    TSingleDateBox& twilight = At(m, Box::Twilight);
    twilight.Title = T("Dämmerung", "Twilight");
    twilight.Visible = kind_ == kBodyIndexSun;
    twilight.Lines.push_back({"", T("Anfang:", "Begin:"), T("Ende:", "End:")});
    const char* names[3][2] = {{"bürgerlich:", "Civil:"}, {"nautisch:", "Nautical:"}, {"astronom.:", "Astronom.:"}};
    for (int i = 0; i < 3; ++i) {
      const TRiseSetLevel& l = r_.RiseSet.Levels[static_cast<std::size_t>(TRiseSetBlock::kCivilTwilight + i)];
      std::string begin = Event(l.Rise, l.RiseMarker, 37 + 2 * i);
      if (l.Status.size() > 3) begin = l.Status;
      twilight.Lines.push_back({T(names[i][0], names[i][1]), begin, Event(l.Set, l.SetMarker, 38 + 2 * i)});
    }
  }

  const TEphemerisResultRecord& r_;
  TBodyIndex kind_;
  bool en_;
  TSingleDateContext context_;
};

}  // namespace

std::string TSingleDatePageModel::ValueOf(TSingleDateBoxId id, const std::string& caption) const {
  for (const TSingleDateLine& line : Box(id).Lines)
    if (line.Caption == caption) return line.Value;
  return "";
}

TSingleDatePageModel BuildSingleDatePage(const TEphemerisResultRecord& result, TBodyIndex kind, const std::string& name,
                                         const TObserverRecord& observer, const TKepler* body,
                                         const TSingleDateContext& context) {
  return TPageBuilder(result, kind, context).Build(name, observer, body);
}

std::string SingleDateBodyName(TBodyIndex kind, std::uint8_t english) {
  if (kind == kBodyIndexSun) return english != 0 ? "the Sun" : "die Sonne";
  if (kind == kBodyIndexMoon) return english != 0 ? "the Moon" : "den Mond";
  static const char* const kGerman[10] = {"",        "Merkur", "Venus",  "",       "Mars",
                                          "Jupiter", "Saturn", "Uranus", "Neptun", "Pluto"};
  static const char* const kEnglish[10] = {"",        "Mercury", "Venus",  "",        "Mars",
                                           "Jupiter", "Saturn",  "Uranus", "Neptune", "Pluto"};
  if (kind >= 1 && kind <= 9) return english != 0 ? kEnglish[kind] : kGerman[kind];
  return "";
}

}  // namespace kvx
