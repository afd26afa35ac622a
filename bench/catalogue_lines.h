// Synthetic lines of the asteroid catalogues for the benchmarks: one MPCORB
// line of the published layout and one ASTORB record (current layout) for
// record k, with values that vary from record to record.
#pragma once

#include <cstdio>
#include <string>

namespace kvx::bench {

inline std::string MpcorbLine(int k) {
  char line[256];
  std::snprintf(line, sizeof line,
                "%05d   %5.2f  0.15 K2434 %9.5f  %9.5f  %9.5f  %9.5f  %9.7f %11.8f %11.7f  0 MPO000000  1234  12 "
                "1990-2024 0.55 M-v 3Ek MPCLINUX   0000 (%d) Bench%-20d20240101",
                k % 100000, 10 + (k % 900) / 100.0, (k * 7) % 360 + 0.5, (k * 11) % 360 + 0.25, (k * 13) % 360 + 0.125,
                (k % 30) + 0.5, 0.05 + (k % 80) / 100.0, 0.2, 2.0 + (k % 1000) / 1000.0, k + 1, k);
  return line;
}

inline std::string AstorbLine(int k) {
  char text[400];
  std::snprintf(text, sizeof text,
                "%6d %-18s %-15s %5.2f %5.2f %4s %5s %4s %4d %4d %4d %4d %4d %4d %5d %8s %10.6f %10.6f %10.6f %9.6f "
                "%10.8f %12.8f",
                k % 999999 + 1, ("Bench" + std::to_string(k)).c_str(), "E. Bowell", 10 + (k % 900) / 100.0, 0.15, "",
                "", "", 0, 0, 0, 0, 0, 0, 1234, "20240101", (k * 7) % 360 + 0.5, (k * 11) % 360 + 0.25,
                (k * 13) % 360 + 0.125, (k % 30) + 0.5, 0.05 + (k % 80) / 100.0, 2.0 + (k % 1000) / 1000.0);
  std::string line(text);
  line.resize(266, ' ');
  return line;
}

}  // namespace kvx::bench
