// The column catalogue of the ephemeris tables: every column a body table
// can show, in the order the table writers write them (after the name and
// date columns). One descriptor per written column; a quantity with three
// components has three descriptors with the same flag.
//
// Per column: the catalogue row it belongs to (1..110, the osculating
// elements being 110), the table-configuration flag that switches it on, the
// bodies it applies to, the group switch it also needs (flag 1 for the
// topocentric, horizon and rise/set rows 39-64, flag 2 for the physical rows
// 65-109), the format slot of its value and of its heading, how the heading
// is made, the cell-writer family, a value rule and the value taken from the
// row's result record.
//
// Values: angles in degrees, times of day in local hours, distances in AU
// (the Moon's in Earth radii), durations in minutes or hours as the family
// says. The writers' loop (TKeplereph::paintdms, paintdms_grid) decides
// which columns a table has from its first row, once.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "engine/ephemeris_result.h"
#include "engine/table_sink.h"

namespace kvx {

// Bodies by bits of their body index: 0 the Sun, 1..9 the planets (5
// Jupiter, 6 Saturn), 10 the Moon, 11 an asteroid, 12 a comet; any other
// index (objects without a body number of their own) counts as bit 13.
namespace column_bodies {
inline constexpr std::uint16_t kSun = 1u << 0;
inline constexpr std::uint16_t kPlanets = 0x3FEu;  // 1..9
inline constexpr std::uint16_t kJupiter = 1u << 5;
inline constexpr std::uint16_t kSaturn = 1u << 6;
inline constexpr std::uint16_t kMoon = 1u << 10;
inline constexpr std::uint16_t kAsteroid = 1u << 11;
inline constexpr std::uint16_t kComet = 1u << 12;
inline constexpr std::uint16_t kOther = 1u << 13;
inline constexpr std::uint16_t kAll = 0x3FFFu;
inline constexpr std::uint16_t kNotSun = kAll & ~kSun;
inline constexpr std::uint16_t kNotMoon = kAll & ~kMoon;
inline constexpr std::uint16_t kNotSunNotMoon = kAll & ~kSun & ~kMoon;
inline constexpr std::uint16_t kSmallBodies = kAsteroid | kComet;
}  // namespace column_bodies

std::uint16_t BodyBit(std::int32_t bodyIndex);

enum class TColumnHeading : std::uint8_t {
  Plain,          // the heading of the slot
  SecondEquinox,  // the heading of the slot and the second-equinox text
  DarkFirst,      // H
  DarkUntil,      // "bis" / "up to"
  DarkSecond,     // "2. " H / "2nd " H
};

enum class TColumnRule : std::uint8_t {
  None,
  EventTime,        // 0: empty; as a Julian day when asked
  Twilight,         // as EventTime, 0 shows the level's status text
  Darkness,         // negative: "----"
  NonNegative,      // negative: 0
  Azimuth,          // -360: empty, else Mod360(value + azimuth origin)
  TransitAltitude,  // empty when there is no transit
  MeanAnomaly,      // -1000: empty; the sink chooses the family
};

enum class TColumnHook : std::uint8_t { None, MoonExtras, Elements };

// What the value functions read: the record and what the loop works out
// once per row.
struct TRowValues {
  const TEphemerisResultRecord* R = nullptr;
  double AzimuthOrigin = 0;
  int EventLevel = TRiseSetBlock::kBodyLevel;  // the Moon's own level for the Moon
  // Heliocentric position and velocity turned equatorial (of the row's
  // date), and precessed to the equinox of the elements (AU, AU/day).
  std::array<double, 3> EquatorialPosition{}, EquatorialVelocity{};
  std::array<double, 3> ElementsPosition{}, ElementsVelocity{};
};

using TColumnValue = double (*)(const TRowValues&);
using TColumnText = const std::string& (*)(const TRowValues&);

struct TColumnDescriptor {
  std::uint8_t Row;  // catalogue row
  std::uint8_t Flag;
  std::uint16_t Bodies;
  std::uint8_t Group;  // 0 none, 1 or 2: that flag must be on too
  std::int16_t Slot;   // format slot of the value
  std::int16_t HeadingSlot;
  bool OwnWidth;  // the grid sets the column's width from HeadingSlot
  TColumnHeading Heading;
  TCellFamily Family;
  TColumnRule Rule;
  TColumnHook Hook;
  TColumnValue Value;
  TColumnText Text;  // direction word (longitude family) or status text (twilight)
};

std::span<const TColumnDescriptor> ColumnCatalogue();

// The (first) column of catalogue row `row`, for the tables that write
// single columns of the catalogue in a layout of their own; throws
// std::out_of_range for a row that has no column (20 and 110 are blocks).
const TColumnDescriptor& CatalogueColumn(int row);

}  // namespace kvx
