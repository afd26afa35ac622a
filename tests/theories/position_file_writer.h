// Test-side writer of position files: records of consecutive days whose
// fields follow given functions of the day number.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "theories/position_files.h"

namespace kvx::test {

// value of field f (1-based) on day d
using FieldFunction = std::function<double(int field, long day)>;

// Writes records for days first..last (inclusive) with `fields` fields after
// the day number. `dayNumber` may change the day written into field 0.
inline void WritePositionFile(const std::filesystem::path& path, long first, long last, int fields,
                              const FieldFunction& value,
                              const std::function<double(long)>& dayNumber = [](long d) { return double(d); }) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  std::uint8_t bytes[6];
  for (long day = first; day <= last; ++day) {
    DoubleToReal48(dayNumber(day), bytes);
    out.write(reinterpret_cast<const char*>(bytes), 6);
    for (int f = 1; f <= fields; ++f) {
      DoubleToReal48(value(f, day), bytes);
      out.write(reinterpret_cast<const char*>(bytes), 6);
    }
  }
}

// A smooth test signal, a polynomial of degree 4 in the day (exact under
// the five-point interpolation), different for each field.
inline double QuarticSignal(int field, double day) {
  const double x = (day - 4000.0) / 4000.0;
  return field + 0.5 * x - 0.25 * field * x * x + 0.125 * x * x * x + 0.0625 * x * x * x * x;
}

}  // namespace kvx::test
