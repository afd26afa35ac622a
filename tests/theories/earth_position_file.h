// A temporary "sun.vsc" whose Earth runs on a simple circle, opened as
// slot 0 of the position-file handles, for the Sun's position-file road.
#pragma once

#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <vector>

#include <unistd.h>

#include "position_file_writer.h"
#include "theories/position_files.h"
#include "theories/theory_types.h"

namespace kvx::test {

class EarthPositionFile {
 public:
  static constexpr long kFirstDay = 0;  // records are numbered by their day
  static constexpr long kLastDay = 39500;   // JD 2452517

  // The Earth's heliocentric longitude (degrees), radius and height above
  // the ecliptic (AU) on a day number of the file.
  static double Longitude(double day) { return 100.0 + 0.9856 * (day - 38528.0); }
  static constexpr double kRadius = 0.99;
  static constexpr double kHeight = 0.0002;

  EarthPositionFile() {
    char name[] = "/tmp/kvx_earth_file_XXXXXX";
    folder_ = mkdtemp(name);
    WritePositionFile(folder_ / "sun.vsc", kFirstDay, kLastDay, 6, [](int field, long day) {
      const double l = Longitude(double(day)) * M_PI / 180;
      switch (field) {
        case 1: return kRadius * std::cos(l);
        case 2: return kRadius * std::sin(l);
        case 3: return kHeight;
        case 4: return -0.0172 * std::sin(l);
        case 5: return 0.0172 * std::cos(l);
        default: return 0.0;
      }
    });
    stream_ = std::fopen((folder_ / "sun.vsc").c_str(), "rb");
    block_.assign(kVscBlockBytes, 0);
  }
  ~EarthPositionFile() {
    if (stream_ != nullptr) std::fclose(stream_);
    std::filesystem::remove_all(folder_);
  }
  EarthPositionFile(const EarthPositionFile&) = delete;
  EarthPositionFile& operator=(const EarthPositionFile&) = delete;

  PositionFileHandles Handles() {
    PositionFileHandles h{};
    h[0] = {stream_, block_.data(), start_.data(), end_.data()};
    return h;
  }
  static double LastJulianDay() { return kLastDay + kPositionFileEpoch; }

 private:
  std::filesystem::path folder_;
  std::FILE* stream_ = nullptr;
  std::vector<std::uint8_t> block_;
  std::array<std::uint8_t, 6> start_{}, end_{};
};

}  // namespace kvx::test
