// Little-endian field readers for the coefficient files of the theory
// libraries. Every number is decoded field by field from its bytes.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string_view>

namespace kvx::theory_data {

class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::uint64_t Unsigned(std::size_t width) {
    Need(width);
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < width; ++i) value |= std::uint64_t{bytes_[pos_ + i]} << (8 * i);
    pos_ += width;
    return value;
  }
  std::uint32_t U32() { return static_cast<std::uint32_t>(Unsigned(4)); }
  std::int8_t I8() { return static_cast<std::int8_t>(Unsigned(1)); }
  double F64() { return std::bit_cast<double>(Unsigned(8)); }

  // Consumes `text` or throws when the bytes differ.
  void Expect(std::string_view text) {
    Need(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
      if (bytes_[pos_ + i] != static_cast<std::uint8_t>(text[i])) throw std::runtime_error("bad magic");
    pos_ += text.size();
  }
  void Skip(std::size_t n) {
    Need(n);
    pos_ += n;
  }

 private:
  void Need(std::size_t n) const {
    if (pos_ + n > bytes_.size()) throw std::runtime_error("coefficient file too short");
  }
  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
};

}  // namespace kvx::theory_data
