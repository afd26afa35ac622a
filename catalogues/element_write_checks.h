// What an element-list writer checks before it writes anything: each
// record's line, read back by the format's own reader, gives the object
// again, with every value the format holds within the decimals it is
// written with. When a record does not fit, the save is refused with a
// message naming the object, the field and the format, and the old file
// stays as it was.
//
// Field names in the messages are those of the own files' first lines:
// asteroids a e i node per m n equinox epoch h g, comets q e i node per
// equinox T H G epoch, and "Name".
#pragma once

#include <array>
#include <string>

#include "catalogues/foreign_lines.h"
#include "core/asteroid_elements.h"
#include "core/comet_elements.h"

namespace kvx {

// How a format holds a numeric field: with this many decimals (0 or more),
// exactly (to a few units of its last binary digit), or not at all (the
// reader supplies its own value, which is not compared).
inline constexpr int kHeldExactly = -1;
inline constexpr int kNotHeld = -2;

using TAsteroidPrecision = std::array<int, 11>;  // a e i node per m n equinox epoch h g
using TCometPrecision = std::array<int, 10>;     // q e i node per equinox T H G epoch

// The formats' precisions.
inline constexpr TAsteroidPrecision kAsteroidExact = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
inline constexpr TAsteroidPrecision kSkyMapAsteroid = {6, 6, 3, 3, 3, 3, kNotHeld, kHeldExactly, 3, 2, 2};
inline constexpr TAsteroidPrecision kHomePlanetAsteroid = {-1, -1, -1, -1, -1, -1, kNotHeld, -1, -1, -1, -1};
inline constexpr TCometPrecision kCometExact = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
inline constexpr TCometPrecision kSkyMapComet = {6, 6, 3, 3, 3, kHeldExactly, 3, 1, 1, kNotHeld};
inline constexpr TCometPrecision kGuideComet = {7, 7, 7, 7, 7, 1, 4, 1, 1, kNotHeld};
inline constexpr TCometPrecision kHomePlanetComet = {-1, -1, -1, -1, -1, -1, 3, kNotHeld, kNotHeld, kNotHeld};

// The first field of `read` that differs from `written` by more than its
// precision allows; nullptr when none does.
const char* ChangedField(const TAsteroidElements& written, const TAsteroidElements& read,
                         const TAsteroidPrecision& precision);
const char* ChangedField(const TCometElements& written, const TCometElements& read, const TCometPrecision& precision);

// The field that makes a record unusable (not finite; a <= 0, e outside
// 0 <= e < 1; q <= 0, e < 0); nullptr for a usable record.
const char* UnusableField(const TAsteroidElements& e);
const char* UnusableField(const TCometElements& e);

// The value of a field as the messages show it (the name in quotes).
std::string FieldValueText(const TAsteroidElements& e, const std::string& field);
std::string FieldValueText(const TCometElements& e, const std::string& field);

// The refusal of platform/messages.h for "<object>: <field> = <value>"
// (the object alone when `field` is empty).
void ShowDoesNotFitFormat(const std::string& object, const std::string& field, const std::string& value,
                          const std::string& format, const std::string& fileName);

// Checks one record's written line, `result` and `read` being what the
// format's reader made of it: true when the reader keeps the object and
// every held value; otherwise the refusal message (above) and false.
bool LineKeepsRecord(const TAsteroidElements& written, TForeignLineRead result, const TAsteroidElements& read,
                     const TAsteroidPrecision& precision, const char* format, const std::string& fileName);
bool LineKeepsRecord(const TCometElements& written, TForeignLineRead result, const TCometElements& read,
                     const TCometPrecision& precision, const char* format, const std::string& fileName);

// A name that the format cannot hold: refused by the same message, field
// "Name".
void RefuseName(const std::string& name, const char* format, const std::string& fileName);
// True when a fixed name field of `width` characters holds the name as the
// writers put it (WritableName, trailing blanks dropped); otherwise the
// refusal (RefuseName) and false.
bool NameFitsField(const std::string& name, std::size_t width, const char* format, const std::string& fileName);
// The SkyMap writers' check of one line: the name fits the reader's name
// field (35 characters for asteroids, 45 for comets), the line the
// reader's limit for a first line (kSkyMapLineLimit), and the line reads
// back (LineKeepsRecord); otherwise the refusal and false.
bool SkyMapLineKeepsRecord(const TAsteroidElements& e, const std::string& line, const std::string& fileName);
bool SkyMapLineKeepsRecord(const TCometElements& e, const std::string& line, const std::string& fileName);

}  // namespace kvx
