#include "setup/column_sets.h"

#include <initializer_list>

#include "core/quantity_headings.h"

namespace kvx {

namespace {

namespace cf = column_flag;

// A list of flags and inclusive ranges {first, last} of flags.
struct ByteRange {
  std::size_t first;
  std::size_t last;
  ByteRange(std::size_t single) : first(single), last(single) {}  // NOLINT: a single flag reads as a range
  ByteRange(std::size_t from, std::size_t to) : first(from), last(to) {}
};

void SwitchOn(TColumnFlags& flags, std::initializer_list<ByteRange> ranges) {
  for (const ByteRange& range : ranges) {
    for (std::size_t byte = range.first; byte <= range.last; ++byte) flags[byte] = 1;
  }
}

void ClearAll(TColumnFlags& flags) { flags.fill(0); }

}  // namespace

void ClearColumns(TColumnFlags& flags) {
  for (std::size_t byte = 0; byte < kUsedColumnFlagCount; ++byte) flags[byte] = 0;
}

void SetDefaultColumns(TColumnFlags& flags) {
  ClearColumns(flags);
  SwitchOn(flags, {cf::kSummaryCoordinates,
                   cf::kSummaryTopocentric,
                   cf::kSummaryPhysical,
                   cf::kSummaryElements,
                   cf::kDateOnly,
                   cf::kHelioLongitude,
                   cf::kHelioLatitude,
                   cf::kHelioRadius,
                   cf::kGeoDistance,
                   cf::kGeoLongitude,
                   cf::kGeoLatitude,
                   cf::kRightAscension,
                   cf::kDeclination,
                   cf::kRightAscensionSecondEquinox,
                   cf::kDeclinationSecondEquinox,
                   cf::kAstrometricRightAscension,
                   cf::kAstrometricDeclination,
                   cf::kRise,
                   cf::kTransit,
                   cf::kSet,
                   cf::kTransitAltitude,
                   cf::kElongation,
                   cf::kPhaseAngle,
                   cf::kIlluminatedFraction,
                   cf::kMagnitude,
                   cf::kAxisPositionAngle,
                   cf::kCentreLatitude,
                   cf::kCentralMeridian,
                   cf::kCentralMeridianSystem2,
                   cf::kDiameter,
                   cf::kDefectOfIllumination,
                   cf::kRingMajorAxis,
                   cf::kRingMinorAxis,
                   cf::kMoonColongitude,
                   cf::kMoonSunLatitude,
                   cf::kMoonAge,
                   cf::kHorizontalParallax});
}

void SelectAllColumns(TColumnFlags& flags) {
  // Every used flag, the summaries included; "date only" off (date and time).
  for (const TColumnFlagInfo& info : ColumnFlagTable) flags[info.byte] = info.byte == cf::kDateOnly ? 0 : 1;
}

void ColumnPresetA(TColumnFlags& flags) {
  ClearColumns(flags);
  SwitchOn(flags, {cf::kElongation,
                   cf::kBrightLimbAngle,
                   cf::kPhaseAngle,
                   cf::kIlluminatedFraction,
                   {cf::kMagnitude, cf::kCentralMeridian},
                   cf::kCentralMeridianSystem2,
                   cf::kDiameter,
                   {cf::kPolarDiameter, cf::kMoonAge}});
}

void ColumnPresetB(TColumnFlags& flags) {
  ClearColumns(flags);
  SwitchOn(flags, {cf::kDateOnly, cf::kRise, cf::kTransit, cf::kSet, cf::kTransitAltitude, cf::kTwilight});
}

void ColumnPresetC(TColumnFlags& flags) {
  ClearColumns(flags);
  SwitchOn(flags, {cf::kDateOnly,
                   cf::kJulianDate,
                   cf::kHelioRadius,
                   cf::kGeoDistance,
                   {cf::kHourlyMotionRA, cf::kHelioLatitudeSecondEquinox},
                   cf::kRightAscensionSecondEquinox,
                   cf::kDeclinationSecondEquinox,
                   {cf::kRise, cf::kTransitAltitude},
                   cf::kElongation,
                   cf::kPhaseAngle,
                   cf::kMagnitude});
}

void ColumnPresetD(TColumnFlags& flags) {
  ClearColumns(flags);
  SwitchOn(flags, {cf::kJulianDate, cf::kElementSemiMajorAxis, cf::kElementEccentricity, cf::kElementInclination,
                   cf::kElementNode, cf::kElementArgumentOfPerihelion, cf::kElementMeanAnomaly, cf::kElementMeanMotion,
                   cf::kElementEquinoxYear});
}

void ColumnPresetE(TColumnFlags& flags) {
  ClearAll(flags);
  SwitchOn(flags, {cf::kDateOnly,
                   cf::kHelioLongitude,
                   cf::kHelioLatitude,
                   cf::kHelioRadius,
                   cf::kGeoDistance,
                   cf::kGeoLongitude,
                   cf::kGeoLatitude,
                   cf::kRightAscension,
                   cf::kDeclination,
                   cf::kLightTime,
                   {cf::kRise, cf::kTransitAltitude},
                   cf::kTwilight,
                   cf::kElongation,
                   cf::kBrightLimbAngle,
                   cf::kPhaseAngle,
                   cf::kIlluminatedFraction,
                   {cf::kMagnitude, cf::kCentralMeridian},
                   cf::kCentralMeridianSystem2,
                   cf::kDiameter,
                   {cf::kPolarDiameter, cf::kMoonAge}});
}

void ColumnPresetF(TColumnFlags& flags) {
  ClearAll(flags);
  SwitchOn(flags, {cf::kDateOnly,
                   cf::kHelioRadius,
                   cf::kGeoDistance,
                   {cf::kHelioLongitudeSecondEquinox, cf::kLightTime},
                   {cf::kRise, cf::kTransitAltitude},
                   cf::kTwilight,
                   cf::kElongation,
                   cf::kBrightLimbAngle,
                   cf::kSunLongitudeDifference,
                   cf::kPhaseAngle,
                   cf::kIlluminatedFraction,
                   {cf::kMagnitude, cf::kCentralMeridian},
                   cf::kCentralMeridianSystem2,
                   cf::kDiameter,
                   {cf::kPolarDiameter, cf::kMoonAge}});
}

void ColumnPresetG(TColumnFlags& flags) {
  ClearColumns(flags);
  SwitchOn(flags, {cf::kDateOnly,
                   cf::kHelioRadius,
                   cf::kGeoDistance,
                   cf::kHelioLongitudeSecondEquinox,
                   cf::kHelioLatitudeSecondEquinox,
                   cf::kRightAscensionSecondEquinox,
                   cf::kDeclinationSecondEquinox,
                   {cf::kRise, cf::kTransitAltitude},
                   cf::kElongation,
                   cf::kPhaseAngle,
                   cf::kMagnitude});
}

void ColumnPresetH(TColumnFlags& flags) {
  ClearColumns(flags);
  SwitchOn(flags, {cf::kDateOnly,
                   cf::kJulianDate,
                   {cf::kElementPerihelionDistance, cf::kElementArgumentOfPerihelion},
                   {cf::kElementMeanAnomaly, cf::kElementEquinoxJulianDate}});
}

void RecomputeColumnSummaries(TColumnFlags& flags) {
  std::uint8_t groupsOn = 0;
  for (const TColumnFlagInfo& info : ColumnFlagTable) {
    if (info.byte > cf::kSummaryElements && flags[info.byte] != 0) groupsOn |= info.groups;
  }
  flags[cf::kSummaryCoordinates] = (groupsOn & kGroupCoordinates) != 0 ? 1 : 0;
  flags[cf::kSummaryTopocentric] = (groupsOn & kGroupTopocentric) != 0 ? 1 : 0;
  flags[cf::kSummaryPhysical] = (groupsOn & kGroupPhysical) != 0 ? 1 : 0;
  flags[cf::kSummaryElements] = (groupsOn & kGroupElements) != 0 ? 1 : 0;
}

TTableConfigRecord NewTableConfigRecord() {
  TTableConfigRecord record;
  SetDefaultColumns(record.Flags);
  for (std::size_t slot = 0; slot < kColumnTitleCount; ++slot) record.ColumnTitles[slot] = QuantityHeadingTable[slot];
  return record;
}

}  // namespace kvx
