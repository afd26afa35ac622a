// The fixed-size element records that element files, the configuration file
// and the body objects exchange. The asteroid record is built here; the comet
// and variable-star records stand beside it.
//
// Asteroid element record, 132 bytes, little-endian, read and written field
// by field:
//   offset  size  field
//        0     8  a, semi-major axis (double, AU)
//        8     8  e, eccentricity
//       16     8  i, inclination (degrees, ecliptic of the equinox)
//       24     8  node, longitude of the ascending node (degrees)
//       32     8  argument of perihelion (degrees)
//       40     8  M, mean anomaly at the epoch (degrees)
//       48     8  n, mean daily motion (degrees/day; 0 = derive it from a)
//       56     8  equinox of the angular elements as a year (2000 = J2000)
//       64     8  epoch of osculation, Julian day (TT)
//       72     8  H, absolute magnitude
//       80     8  G, slope parameter
//       88     1  length of the name, 0..40
//       89    40  name, Windows-1252 (bytes after the length not significant)
//      129     3  padding (written as zero, ignored on reading)
//
// Comet element record, 124 bytes, little-endian, field by field:
//   offset  size  field
//        0     8  q, perihelion distance (double, AU)
//        8     8  e, eccentricity
//       16     8  i, inclination (degrees, ecliptic of the equinox)
//       24     8  node (degrees)
//       32     8  argument of perihelion (degrees)
//       40     8  equinox as a year
//       48     8  T, perihelion time, Julian day (TT)
//       56     8  H, absolute magnitude
//       64     8  G, slope (coefficient of 2.5 log10 r)
//       72     8  epoch of the elements, Julian day
//       80     1  length of the name, 0..40
//       81    40  name, Windows-1252
//      121     3  padding (written as zero, ignored on reading)
//
// Variable-star element record, 92 bytes, little-endian, field by field:
//   offset  size  field
//        0     8  RA, packed hours H.MMSS (double)
//        8     8  Dec, packed degrees D.MMSS
//       16     8  magnitude at maximum
//       24     8  magnitude at minimum
//       32     8  epoch of an extremum, Julian day
//       40     8  period, days
//       48     8  equinox as a year
//       56     1  length of the name, 0..30
//       57    30  name, Windows-1252
//       87     1  length of the type, 0..1
//       88     1  type character
//       89     3  padding (written as zero, ignored on reading)
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/asteroid_elements.h"
#include "core/comet_elements.h"
#include "core/variable_star_elements.h"

namespace kvx {

inline constexpr std::size_t kAsteroidElementRecordSize = 132;
inline constexpr std::size_t kElementNameLength = 40;

using TAsteroidElementRecordBytes = std::array<std::uint8_t, kAsteroidElementRecordSize>;

// Writes the 132-byte image of `elements`. The name is converted to
// Windows-1252 (characters outside it become '?') and cut to 40 bytes; the
// bytes after it and the padding are zero.
void EncodeAsteroidElementRecord(const TAsteroidElements& elements,
                                 std::span<std::uint8_t, kAsteroidElementRecordSize> out);
TAsteroidElementRecordBytes EncodeAsteroidElementRecord(const TAsteroidElements& elements);

// Reads a 132-byte image. A length byte above 40 is taken as 40; the name is
// converted from Windows-1252 to UTF-8. The doubles are taken as stored
// (validation is the caller's: the body objects refuse unusable elements).
TAsteroidElements DecodeAsteroidElementRecord(std::span<const std::uint8_t, kAsteroidElementRecordSize> in);

inline constexpr std::size_t kCometElementRecordSize = 124;
using TCometElementRecordBytes = std::array<std::uint8_t, kCometElementRecordSize>;

// The comet record's image and its reading, with the name rules of the
// asteroid record.
void EncodeCometElementRecord(const TCometElements& elements, std::span<std::uint8_t, kCometElementRecordSize> out);
TCometElementRecordBytes EncodeCometElementRecord(const TCometElements& elements);
TCometElements DecodeCometElementRecord(std::span<const std::uint8_t, kCometElementRecordSize> in);

inline constexpr std::size_t kVariableStarRecordSize = 92;
inline constexpr std::size_t kVariableStarNameLength = 30;
using TVariableStarRecordBytes = std::array<std::uint8_t, kVariableStarRecordSize>;

// The variable-star record's image and its reading: the name is cut to 30
// characters, the type to one; length bytes above their room count as the
// room; unused bytes and the padding are written as zero.
void EncodeVariableStarRecord(const TVariableStarElements& elements,
                              std::span<std::uint8_t, kVariableStarRecordSize> out);
TVariableStarRecordBytes EncodeVariableStarRecord(const TVariableStarElements& elements);
TVariableStarElements DecodeVariableStarRecord(std::span<const std::uint8_t, kVariableStarRecordSize> in);

// Cuts a UTF-8 name to the 40 characters an element record holds.
std::string ElementRecordName(const std::string& name);

}  // namespace kvx
