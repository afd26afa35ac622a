// The constant description of the 221 output quantities (format slots
// 0 .. 220): how each value may be written, which group and list filter it
// belongs to, its largest and default decimals, its default format and its
// description in both languages. The start-up defaults of DataFormatKind and
// DataFormatDecimals (core/name_tables.h) and the "Default" buttons of the
// data-formats dialog both come from this one table.
//
// Value types and the meaning of the stored format (DataFormatKind):
//   0 date            0 the locale's short date, 1 dd.mm.yyyy; no decimals
//   1 time of day     0 formatted time, 1 time as text; decimals 2, 4, ...
//   2, 8 decimal      0 decimal number, 1 laid-out text (sexagesimal)
//   3 angle or hours  0 decimal degrees 0-360, 1 text 0-360°, 2 decimal hours
//                     0-24h, 3 hours as text (2 and 3 divide by 15)
//   4 number          no choice
//   5, 6 minutes      0 minutes and decimals, 1 minutes and seconds
//   7 number          0 decimal number, 1 laid-out text
//   9 text            no choice, no decimals
// Slots 201-220 are free ("Neu/New").
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kvx {

inline constexpr int kFormatSlotCount = 221;
// The slots the quantities use, 0..kUsedFormatSlotCount-1; the others are
// free (FreeFormatSlot). A new quantity takes the first free slot and moves
// this count up.
inline constexpr int kUsedFormatSlotCount = 201;

// The slots of the columns that many tables write: the civil date, the
// local time of day, UT, the Julian day and the Sun's altitude.
inline constexpr int kSlotDate = 0, kSlotTime = 1, kSlotUT = 2, kSlotJulianDay = 3;
inline constexpr int kSlotSunAltitude = 158;

struct TDataFormatSlot {
  std::uint8_t valueType;    // 0 .. 9, above
  std::uint8_t group;        // format group 0 .. 12; 13: touched by no group change
  std::uint8_t category;     // list filter 0 .. 10; 11: shown only without a filter
  std::uint8_t maxDecimals;  // largest allowed decimals
  std::uint8_t defaultDecimals;
  std::uint8_t defaultFormat;
  const char* english;  // description (UTF-8)
  const char* german;
};

extern const std::array<TDataFormatSlot, kFormatSlotCount> DataFormatSlots;

// The description that marks a free slot.
inline constexpr const char* kFreeSlotDescription = "Neu/New";

// True for a slot no quantity uses yet.
bool FreeFormatSlot(std::size_t slot);

}  // namespace kvx
