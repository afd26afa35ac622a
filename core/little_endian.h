// Little-endian fields of the binary files and records: integers and IEEE
// reals stored byte by byte, lowest byte first, whatever the host order.
#pragma once

#include <bit>
#include <cstdint>

namespace kvx::little_endian {

inline void PutU32(std::uint8_t* out, std::uint32_t v) {
  for (int k = 0; k < 4; ++k) out[k] = static_cast<std::uint8_t>(v >> (8 * k));
}
inline void PutU64(std::uint8_t* out, std::uint64_t v) {
  for (int k = 0; k < 8; ++k) out[k] = static_cast<std::uint8_t>(v >> (8 * k));
}
inline std::uint32_t GetU32(const std::uint8_t* in) {
  std::uint32_t v = 0;
  for (int k = 3; k >= 0; --k) v = (v << 8) | in[k];
  return v;
}
inline std::uint64_t GetU64(const std::uint8_t* in) {
  std::uint64_t v = 0;
  for (int k = 7; k >= 0; --k) v = (v << 8) | in[k];
  return v;
}
inline void PutI32(std::uint8_t* out, std::int32_t v) { PutU32(out, static_cast<std::uint32_t>(v)); }
inline void PutF32(std::uint8_t* out, float v) { PutU32(out, std::bit_cast<std::uint32_t>(v)); }
inline void PutF64(std::uint8_t* out, double v) { PutU64(out, std::bit_cast<std::uint64_t>(v)); }
inline std::int32_t GetI32(const std::uint8_t* in) { return static_cast<std::int32_t>(GetU32(in)); }
inline float GetF32(const std::uint8_t* in) { return std::bit_cast<float>(GetU32(in)); }
inline double GetF64(const std::uint8_t* in) { return std::bit_cast<double>(GetU64(in)); }

}  // namespace kvx::little_endian
