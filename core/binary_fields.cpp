#include "core/binary_fields.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

#include "core/little_endian.h"
#include "platform/text_encoding.h"

namespace kvx {
namespace {

constexpr double kTwoTo39 = 549755813888.0;  // 2^39
constexpr int kExtendedBias = 16383;
constexpr std::uint64_t kIntegerBit = std::uint64_t{1} << 63;

double Signed(bool negative, double magnitude) { return negative ? -magnitude : magnitude; }

}  // namespace

// --- Six-byte real ----------------------------------------------------------

double Real48ToDouble(const std::uint8_t* bytes) {
  const int exponent = bytes[0];
  if (exponent == 0) return 0.0;
  std::uint64_t fraction = 0;
  for (int i = 5; i >= 1; --i) fraction = (fraction << 8) | bytes[i];
  const bool negative = (fraction >> 39) & 1u;
  fraction &= (std::uint64_t{1} << 39) - 1;
  const double value = std::ldexp(1.0 + static_cast<double>(fraction) / kTwoTo39, exponent - 129);
  return negative ? -value : value;
}

void DoubleToReal48(double value, std::uint8_t* bytes) {
  std::memset(bytes, 0, kReal48Size);
  if (value == 0.0 || std::isnan(value)) return;
  const bool negative = std::signbit(value);
  std::uint64_t fraction = 0;
  int exponent = 0;
  if (std::isinf(value)) {
    exponent = 255;
    fraction = (std::uint64_t{1} << 39) - 1;
  } else {
    int e = 0;
    const double m = std::frexp(std::fabs(value), &e);  // m in [0.5, 1)
    exponent = e + 128;
    double scaled = std::nearbyint((2.0 * m - 1.0) * kTwoTo39);
    if (scaled >= kTwoTo39) {  // rounded up to the next power of two
      scaled = 0.0;
      ++exponent;
    }
    fraction = static_cast<std::uint64_t>(scaled);
    if (exponent <= 0) return;  // too small: 0
    if (exponent > 255) {       // too large: the largest value
      exponent = 255;
      fraction = (std::uint64_t{1} << 39) - 1;
    }
  }
  if (negative) fraction |= std::uint64_t{1} << 39;
  bytes[0] = static_cast<std::uint8_t>(exponent);
  for (int i = 1; i <= 5; ++i) {
    bytes[i] = static_cast<std::uint8_t>(fraction & 0xFF);
    fraction >>= 8;
  }
}

// --- Extended real ----------------------------------------------------------

double ExtendedToDouble(const std::uint8_t* bytes) {
  const std::uint64_t significand = little_endian::GetU64(bytes);
  const unsigned signAndExponent = bytes[8] | (static_cast<unsigned>(bytes[9]) << 8);
  const bool negative = (signAndExponent & 0x8000u) != 0;
  const int exponent = static_cast<int>(signAndExponent & 0x7FFFu);

  if (exponent == 0x7FFF) {
    if ((significand & ~kIntegerBit) == 0) return Signed(negative, std::numeric_limits<double>::infinity());
    return Signed(negative, std::numeric_limits<double>::quiet_NaN());
  }
  if (significand == 0) return Signed(negative, 0.0);

  // value = significand 2^scale; denormals (exponent 0) use the exponent 1.
  const int scale = std::max(exponent, 1) - kExtendedBias - 63;
  const int top = 63 - std::countl_zero(significand);  // position of the leading bit
  const int unbiased = scale + top;                    // value = 1.f 2^unbiased
  if (unbiased > 1023) return Signed(negative, std::numeric_limits<double>::infinity());

  // Significant bits a double keeps at this size: 53, fewer for subnormals.
  const int kept = unbiased >= -1022 ? 53 : unbiased + 1075;
  const int shift = top + 1 - kept;
  if (shift <= 0) return Signed(negative, std::ldexp(static_cast<double>(significand), scale));
  if (shift > top + 1) return Signed(negative, 0.0);  // below half the smallest subnormal

  // Round to `kept` bits, ties to even.
  std::uint64_t quotient = shift >= 64 ? 0 : significand >> shift;
  const std::uint64_t remainder = shift >= 64 ? significand : significand & ((std::uint64_t{1} << shift) - 1);
  const std::uint64_t half = std::uint64_t{1} << (shift - 1);
  if (remainder > half || (remainder == half && (quotient & 1u) != 0)) ++quotient;
  return Signed(negative, std::ldexp(static_cast<double>(quotient), scale + shift));
}

void DoubleToExtended(double value, std::uint8_t* bytes) {
  // A double is exactly a long double: one encoder for both.
  LongDoubleToExtended(static_cast<long double>(value), bytes);
}

long double ExtendedToLongDouble(const std::uint8_t* bytes) {
  const std::uint64_t significand = little_endian::GetU64(bytes);
  const unsigned signAndExponent = bytes[8] | (static_cast<unsigned>(bytes[9]) << 8);
  const bool negative = (signAndExponent & 0x8000u) != 0;
  const int exponent = static_cast<int>(signAndExponent & 0x7FFFu);
  long double value = 0;
  if (exponent == 0x7FFF) {
    value = (significand & ~kIntegerBit) == 0 ? std::numeric_limits<long double>::infinity()
                                              : std::numeric_limits<long double>::quiet_NaN();
  } else if (significand != 0) {
    // value = significand 2^(exponent - bias - 63); denormals use the exponent 1.
    value = std::ldexp(static_cast<long double>(significand), std::max(exponent, 1) - kExtendedBias - 63);
  }
  return negative ? -value : value;
}

void LongDoubleToExtended(long double value, std::uint8_t* bytes) {
  const bool negative = std::signbit(value);
  std::uint64_t significand = 0;
  unsigned exponent = 0;
  if (std::isnan(value)) {
    exponent = 0x7FFF;
    significand = kIntegerBit | (kIntegerBit >> 1);
  } else if (std::isinf(value)) {
    exponent = 0x7FFF;
    significand = kIntegerBit;
  } else if (value != 0) {
    int e = 0;
    const long double m = std::frexp(std::fabs(value), &e);  // m in [0.5, 1)
    int biased = e - 1 + kExtendedBias;
    if (biased >= 1) {
      significand = static_cast<std::uint64_t>(std::ldexp(m, 64));
      exponent = static_cast<unsigned>(biased);
    } else {  // an extended denormal: exponent field 0, scale 2^(1 - bias - 63)
      significand = static_cast<std::uint64_t>(std::ldexp(std::fabs(value), kExtendedBias - 1 + 63));
    }
  }
  little_endian::PutU64(bytes, significand);
  const unsigned signAndExponent = exponent | (negative ? 0x8000u : 0u);
  bytes[8] = static_cast<std::uint8_t>(signAndExponent & 0xFF);
  bytes[9] = static_cast<std::uint8_t>(signAndExponent >> 8);
}

// --- Short strings ----------------------------------------------------------

bool ShortStringHolds(std::string_view utf8, std::size_t capacity) {
  const std::string stored = Utf8ToCp1252(utf8);
  return stored.size() <= capacity && IsValidUtf8(utf8) && Cp1252ToUtf8(stored) == utf8;
}

void PutShortString(std::uint8_t* out, std::size_t capacity, std::string_view utf8) {
  std::string stored = Utf8ToCp1252(utf8);
  if (stored.size() > capacity) stored.resize(capacity);
  out[0] = static_cast<std::uint8_t>(stored.size());
  std::memcpy(out + 1, stored.data(), stored.size());
  std::memset(out + 1 + stored.size(), 0, capacity - stored.size());
}

std::string GetShortString(const std::uint8_t* in, std::size_t capacity) {
  const std::size_t length = std::min<std::size_t>(in[0], capacity);
  return Cp1252ToUtf8(std::string_view(reinterpret_cast<const char*>(in + 1), length));
}

// --- Field writer -----------------------------------------------------------

std::uint8_t* FieldWriter::Take(std::size_t count) {
  if (!ok_ || count > out_.size() - pos_) {
    ok_ = false;
    return nullptr;
  }
  std::uint8_t* at = out_.data() + pos_;
  pos_ += count;
  return at;
}

void FieldWriter::U8(std::uint8_t v) {
  if (std::uint8_t* at = Take(1)) *at = v;
}
void FieldWriter::I16(std::int16_t v) {
  if (std::uint8_t* at = Take(2)) {
    const auto u = static_cast<std::uint16_t>(v);
    at[0] = static_cast<std::uint8_t>(u & 0xFF);
    at[1] = static_cast<std::uint8_t>(u >> 8);
  }
}
void FieldWriter::I32(std::int32_t v) {
  if (std::uint8_t* at = Take(4)) little_endian::PutI32(at, v);
}
void FieldWriter::U32(std::uint32_t v) {
  if (std::uint8_t* at = Take(4)) little_endian::PutU32(at, v);
}
void FieldWriter::F32(float v) {
  if (std::uint8_t* at = Take(4)) little_endian::PutF32(at, v);
}
void FieldWriter::F64(double v) {
  if (std::uint8_t* at = Take(8)) little_endian::PutF64(at, v);
}
void FieldWriter::Real48(double v) {
  if (std::uint8_t* at = Take(kReal48Size)) DoubleToReal48(v, at);
}
void FieldWriter::Extended(double v) {
  if (std::uint8_t* at = Take(kExtendedSize)) DoubleToExtended(v, at);
}
void FieldWriter::ExtendedLong(long double v) {
  if (std::uint8_t* at = Take(kExtendedSize)) LongDoubleToExtended(v, at);
}
void FieldWriter::ShortString(std::size_t capacity, std::string_view utf8) {
  if (std::uint8_t* at = Take(capacity + 1)) PutShortString(at, capacity, utf8);
}
void FieldWriter::Bytes(std::span<const std::uint8_t> bytes) {
  if (std::uint8_t* at = Take(bytes.size())) std::copy(bytes.begin(), bytes.end(), at);
}
void FieldWriter::Zeros(std::size_t count) {
  if (std::uint8_t* at = Take(count)) std::memset(at, 0, count);
}
void FieldWriter::Seek(std::size_t offset) {
  if (offset > out_.size()) {
    ok_ = false;
    return;
  }
  pos_ = offset;
}

// --- Field reader -----------------------------------------------------------

const std::uint8_t* FieldReader::Take(std::size_t count) {
  if (!ok_ || count > in_.size() - pos_) {
    ok_ = false;
    return nullptr;
  }
  const std::uint8_t* at = in_.data() + pos_;
  pos_ += count;
  return at;
}

std::uint8_t FieldReader::U8() {
  const std::uint8_t* at = Take(1);
  return at != nullptr ? *at : 0;
}
std::int16_t FieldReader::I16() {
  const std::uint8_t* at = Take(2);
  return at != nullptr ? static_cast<std::int16_t>(at[0] | (at[1] << 8)) : 0;
}
std::int32_t FieldReader::I32() {
  const std::uint8_t* at = Take(4);
  return at != nullptr ? little_endian::GetI32(at) : 0;
}
std::uint32_t FieldReader::U32() {
  const std::uint8_t* at = Take(4);
  return at != nullptr ? little_endian::GetU32(at) : 0;
}
float FieldReader::F32() {
  const std::uint8_t* at = Take(4);
  return at != nullptr ? little_endian::GetF32(at) : 0.0f;
}
double FieldReader::F64() {
  const std::uint8_t* at = Take(8);
  return at != nullptr ? little_endian::GetF64(at) : 0.0;
}
double FieldReader::Real48() {
  const std::uint8_t* at = Take(kReal48Size);
  return at != nullptr ? Real48ToDouble(at) : 0.0;
}
double FieldReader::Extended() {
  const std::uint8_t* at = Take(kExtendedSize);
  return at != nullptr ? ExtendedToDouble(at) : 0.0;
}
long double FieldReader::ExtendedLong() {
  const std::uint8_t* at = Take(kExtendedSize);
  return at != nullptr ? ExtendedToLongDouble(at) : 0.0L;
}
std::string FieldReader::ShortString(std::size_t capacity) {
  const std::uint8_t* at = Take(capacity + 1);
  return at != nullptr ? GetShortString(at, capacity) : std::string();
}
void FieldReader::Bytes(std::span<std::uint8_t> bytes) {
  const std::uint8_t* at = Take(bytes.size());
  if (at != nullptr) {
    std::copy(at, at + bytes.size(), bytes.begin());
  } else {
    std::fill(bytes.begin(), bytes.end(), std::uint8_t{0});
  }
}
void FieldReader::Skip(std::size_t count) { Take(count); }
void FieldReader::Seek(std::size_t offset) {
  if (offset > in_.size()) {
    ok_ = false;
    return;
  }
  pos_ = offset;
}

}  // namespace kvx
