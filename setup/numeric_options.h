// The numeric options the computations share: reference altitudes of rise,
// set and twilight, altitude limits of the occultation, conjunction and
// planetary-moon searches, the magnitude limit of lunar occultations, the
// Moon interpolation cache and a few accuracy and output switches. The main
// window owns one TNumericOptions; the options dialog (setup/ui) edits a copy.
#pragma once

#include <cstdint>
#include <string>

#include "setup/setup_routines.h"

namespace kvx {

struct TNumericOptions {
  // Moon interpolation cache.
  std::int32_t MoonCacheOrder = 13;  // n, 5 .. 13
  std::int32_t MoonCacheSpan = 12;   // days, 3 .. 20
  // Conjunction searches, degrees (-90 .. 90).
  std::int32_t ConjunctionMaxSunAltitude = 90;
  std::int32_t ConjunctionMinAltitude1 = -90;
  std::int32_t ConjunctionMinAltitude2 = -90;
  // Lunar occultations.
  float MagnitudeLimit = 8.0f;                  // mag
  std::int32_t OccultationMaxSunAltitude = -6;  // degrees
  // Phenomena of the planetary moons, degrees.
  std::int32_t PhenomenaMaxSunAltitude = -3;
  std::int32_t PhenomenaMinObjectAltitude = 6;
  // Reference altitudes (setup_routines.h).
  THorizonAltitudes HorizonAltitudes = {-34.0, 8.0, -50.0, -6.0, -12.0, -18.0};
  // Switches (0/1); the "defaults" button leaves them alone. Each is the one
  // home of its setting: the tables and searches read it here (the azimuth
  // origin and the Moon option byte through the two routines below).
  std::uint8_t Fk4Positions = 0;
  std::uint8_t AzimuthFromNorth = 0;
  std::uint8_t FastConjunctions = 0;
  std::uint8_t ExactSunMoon = 0;
  std::uint8_t ExactMoonParallax = 0;  // while on, the Moon's reference altitude is not edited
  std::uint8_t NeverSlowElp = 0;
  std::uint8_t LeadingZeros = 0;
  std::uint8_t PhenomenaAbbreviations = 0;
  std::uint8_t GeometricMoonDistance = 0;  // the ELP Moon's distance of the instant itself
  std::uint8_t InterpolateMoon = 0;        // Moon positions through the Chebyshev cache

  bool operator==(const TNumericOptions&) const = default;
};

// The azimuth origin in degrees: 180 while "Azimut von Nord" is on, else 0.
double AzimuthOrigin(const TNumericOptions& options);
// The Moon option byte handed to the Moon theory and the rise/set searches
// (and stored in the configuration): 0 while the geometric distance is
// chosen, else 1.
std::uint8_t MoonOptionByte(const TNumericOptions& options);

// Limits of the cache controls and the altitude scroll bars.
inline constexpr int kMoonCacheOrderMin = 5;
inline constexpr int kMoonCacheOrderMax = 13;
inline constexpr int kMoonCacheSpanMin = 3;
inline constexpr int kMoonCacheSpanMax = 20;
inline constexpr int kAltitudeLimit = 90;
// The magnitude scroll bar: position = magnitude x 100.
inline constexpr int kMagnitudeLimitMin = -200;
inline constexpr int kMagnitudeLimitMax = 1500;

// The "defaults" button of the search and cache values: every value of the
// record except the switches and the reference altitudes back to its default.
void DefaultNumericValues(TNumericOptions& options);

// The presets of the cache: polar coordinates (span 15, n 11) and Cartesian
// coordinates (span 12, n 13).
void PolarCachePreset(TNumericOptions& options);
void CartesianCachePreset(TNumericOptions& options);

// Reference altitude `field` (0 .. 5): the limit its absolute value must stay
// below, 5400 arc minutes for fields 0-2 and 90 degrees for fields 3-5.
int ReferenceAltitudeLimit(int field);
// Reads a reference altitude as typed: blanks around it ignored, "," or "."
// as the decimal mark. False for text that is not a number, for NaN and
// infinities, and for |value| >= the field's limit.
bool ParseReferenceAltitude(int field, const std::string& text, double& value);
// The refusal: "Bitte einen Wert <5400 und >-5400 eingeben!" and its English form.
std::string ReferenceAltitudeMessage(int field, bool english);

// Copies the dialog's result back into the main window's record: everything,
// except that the occultation Sun altitude, the two phenomena altitudes and
// the magnitude limit are copied only when `copyBack` is set.
void CopyNumericOptionsBack(const TNumericOptions& edited, bool copyBack, TNumericOptions& target);

}  // namespace kvx
