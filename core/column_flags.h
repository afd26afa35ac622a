// The column flags of the table configuration (TColumnFlags, 134 bytes): one
// byte per column or option, 0 off and 1 on. Bytes 0-3 summarise the four
// display groups, the bytes from 4 below kUsedColumnFlagCount switch single
// columns or options, the others are reserved (never set by the dialogs or
// the column sets, kept as read).
//
// ColumnFlagTable describes every used byte once: its display group, the
// format slots that head its columns and the caption of its box in the
// configuration dialog. The configuration dialog and the table writers read it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kvx {

inline constexpr std::size_t kColumnFlagCount = 134;
inline constexpr std::size_t kUsedColumnFlagCount = 114;  // bytes 0 .. kUsedColumnFlagCount - 1

using TColumnFlags = std::array<std::uint8_t, kColumnFlagCount>;

namespace column_flag {
// Group summaries: set when any flag of the group is on.
inline constexpr std::size_t kSummaryCoordinates = 0;
inline constexpr std::size_t kSummaryTopocentric = 1;  // topocentric, horizon, rise and set
inline constexpr std::size_t kSummaryPhysical = 2;
inline constexpr std::size_t kSummaryElements = 3;
// Date and time columns.
inline constexpr std::size_t kDateOnly = 4;  // 1: date only, 0: date and time of day
inline constexpr std::size_t kJulianDate = 5;
inline constexpr std::size_t kLocalSiderealTime = 6;
inline constexpr std::size_t kGreenwichSiderealTime = 7;
inline constexpr std::size_t kLongitudeOfAries = 8;  // geocentric longitude of the vernal equinox
// Coordinates (group 0).
inline constexpr std::size_t kMeanAnomaly = 9;
inline constexpr std::size_t kHelioLongitude = 10;
inline constexpr std::size_t kHelioLatitude = 11;
inline constexpr std::size_t kHelioRadius = 12;  // AU
inline constexpr std::size_t kHelioRadiusMillionKm = 13;
inline constexpr std::size_t kGeoDistance = 14;  // AU
inline constexpr std::size_t kGeoDistanceMillionKm = 15;
inline constexpr std::size_t kGeoLongitude = 16;
inline constexpr std::size_t kGeoLatitude = 17;
inline constexpr std::size_t kRightAscension = 18;  // apparent, equinox of date
inline constexpr std::size_t kDeclination = 19;
inline constexpr std::size_t kHourlyMotionRA = 20;   // arc seconds
inline constexpr std::size_t kHourlyMotionDec = 21;  // arc seconds
inline constexpr std::size_t kHourlyMotion = 22;
inline constexpr std::size_t kHourlyMotionAngle = 23;  // position angle of the motion
inline constexpr std::size_t kHelioLongitudeSecondEquinox = 24;
inline constexpr std::size_t kHelioLatitudeSecondEquinox = 25;
inline constexpr std::size_t kGeoLongitudeSecondEquinox = 26;
inline constexpr std::size_t kGeoLatitudeSecondEquinox = 27;
inline constexpr std::size_t kRightAscensionSecondEquinox = 28;
inline constexpr std::size_t kDeclinationSecondEquinox = 29;
inline constexpr std::size_t kLightTime = 30;
inline constexpr std::size_t kTopoRightAscension = 31;  // groups 0 and 1
inline constexpr std::size_t kTopoDeclination = 32;
inline constexpr std::size_t kTopoDistance = 33;
inline constexpr std::size_t kAstrometricRightAscension = 34;  // in the additional equinox
inline constexpr std::size_t kAstrometricDeclination = 35;
inline constexpr std::size_t kTopoDistanceMillionKm = 36;
// Horizon, rise and set (group 1).
inline constexpr std::size_t kAltitude = 37;
inline constexpr std::size_t kAzimuth = 38;
inline constexpr std::size_t kHourAngle = 39;
inline constexpr std::size_t kMoonGeoAltitude = 40;
inline constexpr std::size_t kMoonGeoAzimuth = 41;
inline constexpr std::size_t kMoonGeoHourAngle = 42;
inline constexpr std::size_t kRise = 43;
inline constexpr std::size_t kTransit = 44;
inline constexpr std::size_t kSet = 45;
inline constexpr std::size_t kTransitAltitude = 46;
inline constexpr std::size_t kRiseAzimuth = 47;
inline constexpr std::size_t kSetAzimuth = 48;
inline constexpr std::size_t kTimeAboveHorizon = 49;
inline constexpr std::size_t kTwilight = 50;      // Sun: civil, nautical, astronomical
inline constexpr std::size_t kNightLengths = 51;  // Sun
// Physical ephemeris (group 2).
inline constexpr std::size_t kElongation = 52;
inline constexpr std::size_t kMoonTopoElongation = 53;
inline constexpr std::size_t kBrightLimbAngle = 54;
inline constexpr std::size_t kMoonTopoBrightLimbAngle = 55;
inline constexpr std::size_t kSunLongitudeDifference = 56;
inline constexpr std::size_t kMoonTopoSunLongitudeDifference = 57;
inline constexpr std::size_t kPhaseAngle = 58;
inline constexpr std::size_t kMoonTopoPhaseAngle = 59;
inline constexpr std::size_t kIlluminatedFraction = 60;
inline constexpr std::size_t kMoonTopoIlluminatedFraction = 61;
inline constexpr std::size_t kMagnitude = 62;
inline constexpr std::size_t kAxisPositionAngle = 63;
inline constexpr std::size_t kCentreLatitude = 64;  // planetocentric latitude of the Earth
inline constexpr std::size_t kCentreLatitudePlanetographic = 65;
inline constexpr std::size_t kCentralMeridian = 66;
inline constexpr std::size_t kMoonTopoAxisPositionAngle = 67;
inline constexpr std::size_t kMoonTopoCentreLatitude = 68;
inline constexpr std::size_t kMoonTopoCentralMeridian = 69;
inline constexpr std::size_t kCentralMeridianSystem2 = 70;  // system II or III
inline constexpr std::size_t kDiameter = 71;
inline constexpr std::size_t kMoonTopoSemidiameter = 72;
inline constexpr std::size_t kPolarDiameter = 73;
inline constexpr std::size_t kEquationOfTime = 74;
inline constexpr std::size_t kRotationNumber = 75;  // groups 0 and 2
inline constexpr std::size_t kSunPositionAngle = 76;
inline constexpr std::size_t kSubsolarLatitude = 77;
inline constexpr std::size_t kSubsolarLatitudePlanetographic = 78;
inline constexpr std::size_t kSubsolarLongitude = 79;
inline constexpr std::size_t kDefectOfIllumination = 80;
inline constexpr std::size_t kRingMajorAxis = 81;
inline constexpr std::size_t kRingMinorAxis = 82;
inline constexpr std::size_t kMoonColongitude = 83;
inline constexpr std::size_t kMoonSunLatitude = 84;
inline constexpr std::size_t kMoonAge = 85;
inline constexpr std::size_t kHorizontalParallax = 86;
// Rectangular vectors (group 0).
inline constexpr std::size_t kMoonEclipticPosition = 87;
inline constexpr std::size_t kMoonHeliocentricPosition = 88;
inline constexpr std::size_t kMoonEclipticPositionJ2000 = 89;
inline constexpr std::size_t kHelioEclipticPosition = 90;
inline constexpr std::size_t kHelioEclipticVelocity = 91;
inline constexpr std::size_t kHelioEquatorialPosition = 92;
inline constexpr std::size_t kHelioEquatorialVelocity = 93;
inline constexpr std::size_t kElementsEquatorialPosition = 94;  // equinox of the elements
inline constexpr std::size_t kElementsEquatorialVelocity = 95;
// Integrated osculating elements (group 3).
inline constexpr std::size_t kElementSemiMajorAxis = 96;
inline constexpr std::size_t kElementPerihelionDistance = 97;
inline constexpr std::size_t kElementEccentricity = 98;
inline constexpr std::size_t kElementInclination = 99;
inline constexpr std::size_t kElementNode = 100;
inline constexpr std::size_t kElementArgumentOfPerihelion = 101;
inline constexpr std::size_t kElementLongitudeOfPerihelion = 102;
inline constexpr std::size_t kElementMeanAnomaly = 103;
inline constexpr std::size_t kElementMeanMotion = 104;
inline constexpr std::size_t kElementPerihelionTime = 105;
inline constexpr std::size_t kElementEquinoxYear = 106;
inline constexpr std::size_t kElementEquinoxJulianDate = 107;
inline constexpr std::size_t kGaussVectors = 108;  // P and Q
// Further columns.
inline constexpr std::size_t kMoonDistanceKm = 109;      // group 0
inline constexpr std::size_t kCrescentVisibility = 110;  // group 2
inline constexpr std::size_t kSunEquatorialJ2000 = 111;  // no group
inline constexpr std::size_t kDarkness = 112;            // group 1, four columns
inline constexpr std::size_t kDarknessSum = 113;         // group 1
inline constexpr std::size_t kFirstReserved = 114;       // 114 .. 133
}  // namespace column_flag

// Display groups a flag counts for (bits of TColumnFlagInfo::groups).
enum ColumnFlagGroup : std::uint8_t {
  kGroupCoordinates = 1u << 0,
  kGroupTopocentric = 1u << 1,
  kGroupPhysical = 1u << 2,
  kGroupElements = 1u << 3,
};

// The page of the configuration dialog that shows a flag's box; the boxes
// of a page follow in byte order. The summaries and the date-only switch
// have boxes of their own on the group and date pages.
enum ColumnFlagPage : std::uint8_t {
  kPageNone = 0,
  kPageGeneral = 1,  // "Ephemeridengrößen"
  kPageSpecial = 2,  // "Spezielle Ephemeriden"
};

// One used flag byte.
struct TColumnFlagInfo {
  std::uint8_t byte;
  std::uint8_t groups;  // ColumnFlagGroup bits; 0 for the summaries and the ungrouped flags
  std::uint8_t slotCount;
  std::array<std::uint8_t, 6>
      formatSlots;     // format slots heading its columns, in column order (not "slots": a Qt keyword)
  bool secondEquinox;  // headings followed by the additional equinox
  std::uint8_t page;   // ColumnFlagPage of its box
  const char* german;  // caption of its box (UTF-8)
  const char* english;
};

// Rows for the used bytes, row n describing byte n.
extern const std::array<TColumnFlagInfo, kUsedColumnFlagCount> ColumnFlagTable;

}  // namespace kvx
