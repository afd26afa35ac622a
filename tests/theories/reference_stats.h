// Running maximum and root-mean-square of differences against a reference.
#pragma once

#include <cmath>
#include <string>

#include <gtest/gtest.h>

namespace kvx::test {

struct ErrorStats {
  double max = 0;
  double sumSquares = 0;
  int count = 0;
  double maxAt = 0;

  void Add(double error, double at = 0) {
    const double a = std::fabs(error);
    if (a > max) {
      max = a;
      maxAt = at;
    }
    sumSquares += error * error;
    ++count;
  }
  double Rms() const { return count > 0 ? std::sqrt(sumSquares / count) : 0; }
  // Writes the figures into the test's XML record and its output.
  void Report(const std::string& name) const {
    ::testing::Test::RecordProperty(name + "_max", std::to_string(max));
    ::testing::Test::RecordProperty(name + "_rms", std::to_string(Rms()));
    std::printf("  %-28s max %.4g (at %.1f)  rms %.4g  (%d values)\n", name.c_str(), max, maxAt, Rms(), count);
  }
};

// Difference of two angles in degrees, reduced to [-180, 180).
inline double AngleDifference(double a, double b) {
  double d = std::fmod(a - b, 360.0);
  if (d < -180) d += 360;
  if (d >= 180) d -= 360;
  return d;
}

}  // namespace kvx::test
