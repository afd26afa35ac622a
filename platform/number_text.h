// A whole number's text, "-12", the same in every locale (std::to_chars).
#pragma once

#include <charconv>
#include <cstdint>
#include <string>

namespace kvx {

inline std::string WholeNumberText(std::int64_t value) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  return std::string(digits, end);
}

}  // namespace kvx
