#include "setup/table_config_model.h"

#include <array>
#include <cmath>
#include <cstdio>

#include "core/data_format_slots.h"
#include "core/text_conversion.h"
#include "platform/messages.h"
#include "setup/column_sets.h"
#include "setup/entry_checks.h"

namespace kvx {

namespace {

namespace cf = column_flag;

// --- Which entries of the preview list show a flag's columns ---------------
// Bit k stands for preview entry k (see the header).
using EntryMask = std::uint16_t;
constexpr EntryMask Bit(int k) { return static_cast<EntryMask>(1u << k); }
constexpr EntryMask kAll = 0x7FFF;
constexpr EntryMask kAllBodies = Bit(0);
constexpr EntryMask kSun = Bit(1);
constexpr EntryMask kPlanets = 0x3FC;  // entries 2-9
constexpr EntryMask kJupiter = Bit(5);
constexpr EntryMask kSaturn = Bit(6);
constexpr EntryMask kMoon = Bit(10);
constexpr EntryMask kAsteroid = Bit(11);
constexpr EntryMask kComet = Bit(12);
constexpr EntryMask kIntegrated = Bit(13) | Bit(14);

struct VisibilityRule {
  std::uint8_t first, last;  // flag bytes, inclusive
  EntryMask entries;
};

constexpr VisibilityRule kVisibility[] = {
    {cf::kJulianDate, cf::kLongitudeOfAries, kAll},
    {cf::kGeoDistance, cf::kDeclination, kAll},
    {cf::kGeoLongitudeSecondEquinox, cf::kHourAngle, kAll},
    {cf::kRise, cf::kTimeAboveHorizon, kAll},
    {cf::kDarkness, cf::kDarknessSum, kAll},
    {cf::kMeanAnomaly, cf::kMeanAnomaly, kAllBodies | kAsteroid | kComet},
    {cf::kHelioLongitude, cf::kHelioRadiusMillionKm, kAll & ~(kSun | kMoon)},
    {cf::kHelioLongitudeSecondEquinox, cf::kHelioLatitudeSecondEquinox, kAll & ~(kSun | kMoon)},
    {cf::kHelioEclipticPosition, cf::kHelioEquatorialVelocity, kAll & ~(kSun | kMoon)},
    {cf::kHourlyMotionRA, cf::kHourlyMotionAngle, kAll & ~kMoon},
    {cf::kMoonGeoAltitude, cf::kMoonGeoHourAngle, kAllBodies | kMoon},
    {cf::kMoonTopoElongation, cf::kMoonTopoElongation, kAllBodies | kMoon},
    {cf::kMoonTopoSunLongitudeDifference, cf::kMoonTopoSunLongitudeDifference, kAllBodies | kMoon},
    {cf::kMoonTopoIlluminatedFraction, cf::kMoonTopoIlluminatedFraction, kAllBodies | kMoon},
    {cf::kMoonTopoAxisPositionAngle, cf::kMoonTopoCentralMeridian, kAllBodies | kMoon},
    {cf::kMoonTopoSemidiameter, cf::kMoonTopoSemidiameter, kAllBodies | kMoon},
    {cf::kMoonColongitude, cf::kMoonEclipticPositionJ2000, kAllBodies | kMoon},
    {cf::kMoonDistanceKm, cf::kCrescentVisibility, kAllBodies | kMoon},
    {cf::kTwilight, cf::kNightLengths, kAllBodies | kSun},
    {cf::kEquationOfTime, cf::kRotationNumber, kAllBodies | kSun},
    {cf::kSunEquatorialJ2000, cf::kSunEquatorialJ2000, kAllBodies | kSun},
    {cf::kElongation, cf::kElongation, kAll & ~kSun},
    {cf::kBrightLimbAngle, cf::kBrightLimbAngle, kAll & ~kSun},
    {cf::kSunLongitudeDifference, cf::kSunLongitudeDifference, kAll & ~kSun},
    {cf::kPhaseAngle, cf::kIlluminatedFraction, kAll & ~kSun},
    {cf::kMagnitude, cf::kMagnitude, kAll & ~(kSun | kMoon)},
    {cf::kAxisPositionAngle, cf::kAxisPositionAngle, kAllBodies | kSun | kPlanets},
    {cf::kCentreLatitudePlanetographic, cf::kCentreLatitudePlanetographic, kAllBodies | kSun | kPlanets},
    {cf::kCentreLatitude, cf::kCentreLatitude, kAllBodies | kSun | kPlanets | kMoon},
    {cf::kCentralMeridian, cf::kCentralMeridian, kAllBodies | kSun | kPlanets | kMoon},
    {cf::kDiameter, cf::kDiameter, kAllBodies | kSun | kPlanets | kMoon},
    {cf::kCentralMeridianSystem2, cf::kCentralMeridianSystem2, kAllBodies | kJupiter | kSaturn},
    {cf::kPolarDiameter, cf::kPolarDiameter, kAllBodies | kJupiter | kSaturn},
    {cf::kSunPositionAngle, cf::kSubsolarLatitude, kAllBodies | kPlanets | kMoon},
    {cf::kSubsolarLongitude, cf::kDefectOfIllumination, kAllBodies | kPlanets | kMoon},
    {cf::kSubsolarLatitudePlanetographic, cf::kSubsolarLatitudePlanetographic, kAllBodies | kPlanets},
    {cf::kRingMajorAxis, cf::kRingMinorAxis, kAllBodies | kSaturn},
    {cf::kElementsEquatorialPosition, cf::kElementsEquatorialVelocity, kAsteroid | kComet | kIntegrated},
    {cf::kElementSemiMajorAxis, cf::kGaussVectors, kAllBodies | kIntegrated},  // and the planets while the element
                                                                               // switch is on byte 55: never
};

constexpr std::array<EntryMask, kUsedColumnFlagCount> MakeVisibility() {
  std::array<EntryMask, kUsedColumnFlagCount> masks{};
  for (const VisibilityRule& rule : kVisibility) {
    for (int b = rule.first; b <= rule.last; ++b) masks[b] = rule.entries;
  }
  return masks;
}
constexpr std::array<EntryMask, kUsedColumnFlagCount> kEntriesOfFlag = MakeVisibility();

// --- The columns in table order -------------------------------------------
// One step of the preview: the columns of flag `byte` (all its slots, or
// only slot `part` of its list), `repeat` times; `also` is a second byte that
// switches the step on as well. Special bytes: the date column always, the
// time column while byte 4 is off.
constexpr std::uint8_t kAlways = 250;
constexpr std::uint8_t kTimeOfDay = 251;
constexpr std::uint8_t kNone = 255;
constexpr std::int8_t kAllParts = -1;
constexpr std::int8_t kJulianDateSlot = -2;  // slot 3 after a vector pair

struct PreviewStep {
  std::uint8_t byte;
  std::uint8_t also = kNone;
  std::int8_t part = kAllParts;
  std::uint8_t repeat = 1;
};

constexpr PreviewStep F(std::size_t flag) { return {static_cast<std::uint8_t>(flag)}; }

constexpr PreviewStep kPreviewOrder[] = {
    {kAlways},
    {kTimeOfDay},
    F(cf::kJulianDate),
    F(cf::kLocalSiderealTime),
    F(cf::kGreenwichSiderealTime),
    F(cf::kLongitudeOfAries),
    F(cf::kMoonEclipticPosition),
    F(cf::kMoonEclipticPositionJ2000),
    F(cf::kMoonDistanceKm),
    F(cf::kMoonHeliocentricPosition),
    F(cf::kSunEquatorialJ2000),
    F(cf::kMeanAnomaly),
    F(cf::kHelioLongitude),
    F(cf::kHelioLatitude),
    F(cf::kHelioRadius),
    F(cf::kHelioRadiusMillionKm),
    F(cf::kHelioEclipticPosition),
    F(cf::kHelioEclipticVelocity),
    {cf::kHelioEclipticPosition, cf::kHelioEclipticVelocity, kJulianDateSlot},
    F(cf::kHelioEquatorialPosition),
    F(cf::kHelioEquatorialVelocity),
    {cf::kHelioEquatorialPosition, cf::kHelioEquatorialVelocity, kJulianDateSlot},
    F(cf::kElementsEquatorialPosition),
    F(cf::kElementsEquatorialVelocity),
    {cf::kElementsEquatorialPosition, cf::kElementsEquatorialVelocity, kJulianDateSlot},
    F(cf::kHelioLongitudeSecondEquinox),
    F(cf::kHelioLatitudeSecondEquinox),
    F(cf::kGeoLongitude),
    F(cf::kGeoLatitude),
    F(cf::kGeoDistance),
    F(cf::kGeoDistanceMillionKm),
    F(cf::kGeoLongitudeSecondEquinox),
    F(cf::kGeoLatitudeSecondEquinox),
    F(cf::kRightAscension),
    F(cf::kDeclination),
    F(cf::kHourlyMotionRA),
    F(cf::kHourlyMotionDec),
    F(cf::kHourlyMotion),
    F(cf::kHourlyMotionAngle),
    F(cf::kRightAscensionSecondEquinox),
    F(cf::kDeclinationSecondEquinox),
    F(cf::kAstrometricRightAscension),
    F(cf::kAstrometricDeclination),
    F(cf::kLightTime),
    F(cf::kTopoRightAscension),
    F(cf::kTopoDeclination),
    F(cf::kTopoDistance),
    F(cf::kTopoDistanceMillionKm),
    F(cf::kAzimuth),
    F(cf::kAltitude),
    F(cf::kHourAngle),
    F(cf::kMoonGeoAzimuth),
    F(cf::kMoonGeoAltitude),
    F(cf::kMoonGeoHourAngle),
    F(cf::kRise),
    F(cf::kTransit),
    F(cf::kSet),
    F(cf::kTransitAltitude),
    F(cf::kRiseAzimuth),
    F(cf::kSetAzimuth),
    F(cf::kTimeAboveHorizon),
    // twilight and night lengths interleaved: civil begin, end, first night, ...
    {cf::kTwilight, kNone, 0},
    {cf::kTwilight, kNone, 1},
    {cf::kNightLengths, kNone, 0},
    {cf::kTwilight, kNone, 2},
    {cf::kTwilight, kNone, 3},
    {cf::kNightLengths, kNone, 1},
    {cf::kTwilight, kNone, 4},
    {cf::kTwilight, kNone, 5},
    {cf::kNightLengths, kNone, 2},
    {cf::kDarkness, kNone, kAllParts, 4},  // four darkness columns under one heading
    F(cf::kDarknessSum),
    F(cf::kElongation),
    F(cf::kMoonTopoElongation),
    F(cf::kSunLongitudeDifference),
    F(cf::kMoonTopoSunLongitudeDifference),
    F(cf::kPhaseAngle),
    F(cf::kMoonTopoPhaseAngle),
    F(cf::kBrightLimbAngle),
    F(cf::kIlluminatedFraction),
    F(cf::kMoonTopoIlluminatedFraction),
    F(cf::kMagnitude),
    F(cf::kAxisPositionAngle),
    F(cf::kCentreLatitude),
    F(cf::kCentreLatitudePlanetographic),
    F(cf::kCentralMeridian),
    F(cf::kMoonTopoAxisPositionAngle),
    F(cf::kMoonTopoCentreLatitude),
    F(cf::kMoonTopoCentralMeridian),
    F(cf::kCentralMeridianSystem2),
    F(cf::kDiameter),
    F(cf::kPolarDiameter),
    F(cf::kDefectOfIllumination),
    F(cf::kSunPositionAngle),
    F(cf::kSubsolarLatitude),
    F(cf::kSubsolarLatitudePlanetographic),
    F(cf::kSubsolarLongitude),
    F(cf::kRingMajorAxis),
    F(cf::kRingMinorAxis),
    F(cf::kMoonColongitude),
    F(cf::kMoonSunLatitude),
    F(cf::kMoonTopoSemidiameter),
    F(cf::kMoonAge),
    F(cf::kHorizontalParallax),
    F(cf::kCrescentVisibility),
    F(cf::kEquationOfTime),
    F(cf::kRotationNumber),
    F(cf::kElementSemiMajorAxis),
    F(cf::kElementPerihelionDistance),
    F(cf::kElementEccentricity),
    F(cf::kElementInclination),
    F(cf::kElementNode),
    F(cf::kElementArgumentOfPerihelion),
    F(cf::kElementLongitudeOfPerihelion),
    F(cf::kElementMeanAnomaly),
    F(cf::kElementMeanMotion),
    F(cf::kElementPerihelionTime),
    F(cf::kElementEquinoxYear),
    F(cf::kElementEquinoxJulianDate),
    F(cf::kGaussVectors),
};

// Group members set by the "on"/"off" buttons.
struct ByteRange {
  std::uint8_t first, last;
};
constexpr ByteRange kCoordinatesMembers[] = {{cf::kMeanAnomaly, cf::kLightTime},
                                             {cf::kMoonEclipticPosition, cf::kElementsEquatorialVelocity},
                                             {cf::kSunEquatorialJ2000, cf::kSunEquatorialJ2000}};
constexpr ByteRange kTopocentricMembers[] = {{cf::kTopoRightAscension, cf::kTopoDistance},
                                             {cf::kAltitude, cf::kHourAngle},
                                             {cf::kRise, cf::kTransitAltitude},
                                             {cf::kTwilight, cf::kNightLengths},
                                             {cf::kEquationOfTime, cf::kEquationOfTime},
                                             {cf::kDarkness, cf::kDarknessSum}};
constexpr ByteRange kPhysicalMembers[] = {{cf::kMoonGeoAltitude, cf::kMoonGeoHourAngle},
                                          {cf::kElongation, cf::kPolarDiameter},
                                          {cf::kRotationNumber, cf::kHorizontalParallax},
                                          {cf::kCrescentVisibility, cf::kCrescentVisibility}};
constexpr ByteRange kElementsMembers[] = {{cf::kElementSemiMajorAxis, cf::kGaussVectors}};

template <std::size_t N>
void SetBytes(TColumnFlags& flags, const ByteRange (&ranges)[N], std::uint8_t value) {
  for (const ByteRange& r : ranges) {
    for (int b = r.first; b <= r.last; ++b) flags[b] = value;
  }
}

std::string Title(const TTableConfigRecord& record, int slot) {
  return slot >= 0 && slot < static_cast<int>(kColumnTitleCount) ? record.ColumnTitles[slot] : std::string();
}

}  // namespace

std::vector<std::string> PreviewHeadings(const TTableConfigRecord& record, int kind, double secondEquinoxYear,
                                         bool elementsForPlanets) {
  std::vector<std::string> headings;
  if (kind < 0 || kind >= kPreviewKindCount) kind = 0;
  const TColumnFlags& flags = record.Flags;
  const std::string yearText = FixedPointText(std::round(secondEquinoxYear), 0);
  for (const PreviewStep& step : kPreviewOrder) {
    if (step.byte == kAlways) {
      headings.push_back(Title(record, kSlotDate));
      continue;
    }
    if (step.byte == kTimeOfDay) {
      if (flags[cf::kDateOnly] == 0) headings.push_back(Title(record, kSlotTime));
      continue;
    }
    const bool on = flags[step.byte] != 0 || (step.also != kNone && flags[step.also] != 0);
    if (!on) continue;
    EntryMask shown = kEntriesOfFlag[step.byte];
    if (elementsForPlanets && step.byte >= cf::kElementSemiMajorAxis && step.byte <= cf::kGaussVectors) {
      shown |= kPlanets;
    }
    if ((shown & Bit(kind)) == 0) continue;
    if (step.part == kJulianDateSlot) {
      headings.push_back(Title(record, kSlotJulianDay));
      continue;
    }
    const TColumnFlagInfo& info = ColumnFlagTable[step.byte];
    const std::string suffix = info.secondEquinox ? yearText : "";
    for (int n = 0; n < step.repeat; ++n) {
      if (step.part >= 0) {
        headings.push_back(Title(record, info.formatSlots[step.part]) + suffix);
      } else {
        for (int s = 0; s < info.slotCount; ++s) headings.push_back(Title(record, info.formatSlots[s]) + suffix);
      }
    }
  }
  return headings;
}

std::vector<int> SlotsOfFlag(std::size_t byte) {
  if (byte >= kUsedColumnFlagCount) return {};
  const TColumnFlagInfo& info = ColumnFlagTable[byte];
  return std::vector<int>(info.formatSlots.begin(), info.formatSlots.begin() + info.slotCount);
}

bool ParseEquinoxYear(const std::string& text, double& year) {
  double value = 0;
  if (!ParseLocaleNumber(text, value) || value < kEarliestEquinoxYear || value > kLatestEquinoxYear) return false;
  year = value;
  return true;
}

TTableConfigModel::TTableConfigModel(const TTableConfigRecord& record, double equinoxCenturies,
                                     std::uint8_t julianDateSwitch, std::uint8_t siderealSwitch, int previewKind)
    : JulianDateSwitch(julianDateSwitch),
      SiderealSwitch(siderealSwitch),
      EquinoxYear(EquinoxCenturiesToYear(equinoxCenturies)),
      PreviewKind(previewKind >= 0 && previewKind < kPreviewKindCount ? previewKind : 0),
      result_(record),
      working_(record),
      undo_(record) {}

void TTableConfigModel::SaveUndo() {
  undo_ = working_;
  undoAvailable_ = true;
}

void TTableConfigModel::Undo() {
  working_ = undo_;
  undoAvailable_ = false;
}

void TTableConfigModel::SetGroup(ColumnGroup group, bool on) {
  SaveUndo();
  const std::uint8_t value = on ? 1 : 0;
  TColumnFlags& flags = working_.Flags;
  flags[static_cast<std::size_t>(group)] = value;
  switch (group) {
    case ColumnGroup::Coordinates:
      SetBytes(flags, kCoordinatesMembers, value);
      flags[cf::kTopoDistanceMillionKm] = flags[cf::kSummaryTopocentric];
      break;
    case ColumnGroup::Topocentric:
      SetBytes(flags, kTopocentricMembers, value);
      break;
    case ColumnGroup::Physical:
      SetBytes(flags, kPhysicalMembers, value);
      break;
    case ColumnGroup::Elements:
      SetBytes(flags, kElementsMembers, value);
      break;
  }
}

void TTableConfigModel::SetDefault() {
  SaveUndo();
  SetDefaultColumns(working_.Flags);
  JulianDateSwitch = SiderealSwitch = 0;
}

void TTableConfigModel::SelectAll() {
  SaveUndo();
  SelectAllColumns(working_.Flags);
  JulianDateSwitch = SiderealSwitch = 1;
}

void TTableConfigModel::ClearAll() {
  SaveUndo();
  ClearColumns(working_.Flags);
  JulianDateSwitch = SiderealSwitch = 0;
}

void TTableConfigModel::ApplyPreset(ColumnPreset preset) {
  SaveUndo();
  using Preset = void (*)(TColumnFlags&);
  static constexpr Preset kPresets[] = {ColumnPresetA, ColumnPresetB, ColumnPresetC, ColumnPresetD,
                                        ColumnPresetE, ColumnPresetF, ColumnPresetG, ColumnPresetH};
  kPresets[static_cast<int>(preset)](working_.Flags);
}

std::string TTableConfigModel::EquinoxText() const { return FloatToTextSep(FixedPointText(EquinoxYear, 2)); }

bool TTableConfigModel::CheckEquinoxText(std::string& text) {
  bool blank = true;
  for (char c : text) blank = blank && (c == ' ' || c == '\t');
  if (blank) return true;
  double year = 0;
  if (ParseEquinoxYear(text, year)) {
    EquinoxYear = year;
    return true;
  }
  Error = true;
  ShowMessage("Benutzerdefiniertes Äquinoktium muß zwischen -4000 und 10000 liegen.",
              "Benutzerdefiniertes Äquinoktium muß zwischen -4000 und 10000 liegen.", MessageIcon::Error,
              MessageButtons::Ok, "Fehler");
  text = EquinoxText();
  return false;
}

void TTableConfigModel::Commit() { RecomputeColumnSummaries(working_.Flags); }

bool TTableConfigModel::Accept(std::string& equinoxText) {
  Error = false;
  if (!CheckEquinoxText(equinoxText)) return false;
  Commit();
  result_ = working_;
  return true;
}

std::vector<std::string> TTableConfigModel::Preview() const {
  return PreviewHeadings(working_, PreviewKind, EquinoxYear, ElementsForPlanets);
}

TTableConfigFile TTableConfigModel::ToFile() const {
  TTableConfigFile file;
  file.EquinoxYear = EquinoxYear;
  file.Record = working_;
  file.ApparentSiderealTime = SiderealSwitch;
  file.RiseSetAsJulianDate = JulianDateSwitch;
  return file;
}

void TTableConfigModel::TakeFile(const TTableConfigFile& file) {
  SaveUndo();
  EquinoxYear = file.EquinoxYear;
  working_ = file.Record;
  SiderealSwitch = file.ApparentSiderealTime;
  JulianDateSwitch = file.RiseSetAsJulianDate;
}

void TTableConfigModel::CopyBack(int& previewKind, double& equinoxCenturies, TTableConfigRecord& record,
                                 std::uint8_t& julianDateSwitch, std::uint8_t& siderealSwitch) const {
  previewKind = PreviewKind;
  equinoxCenturies = EquinoxYearToCenturies(EquinoxYear);
  record = result_;
  julianDateSwitch = JulianDateSwitch;
  siderealSwitch = SiderealSwitch;
}

}  // namespace kvx
