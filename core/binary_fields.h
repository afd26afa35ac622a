// Fields of the binary records and files, read and written byte by byte at
// explicit offsets, little-endian whatever the host order:
//
//   ShortString[n]   1 + n bytes: a length byte, then n bytes of room. The text
//                    is Windows-1252 on disk and UTF-8 in memory; on writing it
//                    is cut to n bytes and the unused room is zero; on reading a
//                    length byte above n counts as n.
//   six-byte real    byte 0 the exponent biased by 129 (0 means the value 0),
//                    bytes 1-5 a 39-bit fraction, least significant byte first,
//                    the sign in the top bit of byte 5:
//                    value = (-1)^sign (1 + fraction / 2^39) 2^(exponent - 129).
//   extended real    10 bytes, the x87 80-bit format: bytes 0-7 the 64-bit
//                    significand with an explicit integer bit (bit 63), bytes
//                    8-9 the 15-bit exponent biased by 16383 and the sign in the
//                    top bit of byte 9. Converted without the host's long double.
//
// FieldWriter and FieldReader walk a fixed buffer field after field; a field
// that would not fit is not written (or reads as zero) and clears ok().
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kvx {

inline constexpr std::size_t kReal48Size = 6;
inline constexpr std::size_t kExtendedSize = 10;

// The six-byte real at `bytes` as a double (exact: 40 bits of significand).
double Real48ToDouble(const std::uint8_t* bytes);
// Rounds to the nearest six-byte real. Values too small for it (and NaN)
// become 0; values too large become the largest six-byte real of their sign.
void DoubleToReal48(double value, std::uint8_t* bytes);

// The extended real at `bytes` rounded to the nearest double (ties to even):
// values beyond the double range become infinities, values below it
// subnormals or signed zero; infinities keep their sign, every NaN pattern
// gives a quiet NaN, an unnormal (integer bit clear, exponent not zero) is
// read by its value.
double ExtendedToDouble(const std::uint8_t* bytes);
// Writes a double as an extended real (always exact; subnormal doubles become
// normal extended values; NaN becomes the default quiet NaN with its sign).
void DoubleToExtended(double value, std::uint8_t* bytes);
// The extended real at `bytes` as a long double, and back, without rounding
// where long double is the x87 format (64-bit significand); built from the
// significand and exponent, never by overlaying the bytes. Infinities keep
// their sign, every NaN pattern reads as a quiet NaN.
long double ExtendedToLongDouble(const std::uint8_t* bytes);
void LongDoubleToExtended(long double value, std::uint8_t* bytes);

// True when ShortString[capacity] holds the text unchanged: every character
// in Windows-1252 and at most `capacity` of them.
bool ShortStringHolds(std::string_view utf8, std::size_t capacity);
// Writes ShortString[capacity] (1 + capacity bytes) at `out`.
void PutShortString(std::uint8_t* out, std::size_t capacity, std::string_view utf8);
// Reads ShortString[capacity] at `in` as UTF-8.
std::string GetShortString(const std::uint8_t* in, std::size_t capacity);

class FieldWriter {
 public:
  explicit FieldWriter(std::span<std::uint8_t> out) : out_(out) {}

  void U8(std::uint8_t v);
  void I16(std::int16_t v);
  void I32(std::int32_t v);
  void U32(std::uint32_t v);
  void F32(float v);
  void F64(double v);
  void Real48(double v);
  void Extended(double v);
  void ExtendedLong(long double v);
  void ShortString(std::size_t capacity, std::string_view utf8);
  void Bytes(std::span<const std::uint8_t> bytes);
  void Zeros(std::size_t count);

  std::size_t Position() const { return pos_; }
  void Seek(std::size_t offset);
  bool ok() const { return ok_; }

 private:
  std::uint8_t* Take(std::size_t count);
  std::span<std::uint8_t> out_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

class FieldReader {
 public:
  explicit FieldReader(std::span<const std::uint8_t> in) : in_(in) {}

  std::uint8_t U8();
  std::int16_t I16();
  std::int32_t I32();
  std::uint32_t U32();
  float F32();
  double F64();
  double Real48();
  double Extended();
  long double ExtendedLong();
  std::string ShortString(std::size_t capacity);
  void Bytes(std::span<std::uint8_t> bytes);
  void Skip(std::size_t count);

  std::size_t Position() const { return pos_; }
  std::size_t Remaining() const { return in_.size() - pos_; }
  void Seek(std::size_t offset);
  bool ok() const { return ok_; }

 private:
  const std::uint8_t* Take(std::size_t count);
  std::span<const std::uint8_t> in_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

}  // namespace kvx
