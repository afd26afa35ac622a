// The step of an ephemeris table as the period dialogs edit it and the table
// objects step by it.
//
// Stored as 20 bytes, little-endian, no padding:
//   offset 0  int32   whole days of the step as entered
//   offset 4  double  hours of the step as entered (decimal hours)
//   offset 12 double  the step in days that the time loop adds to the MJD
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kvx {

struct TTableStep {
  std::int32_t Days = 1;  // whole days, as entered
  double Hours = 0;       // hours, as entered
  double StepDays = 1;    // step in days (Days + Hours/24 for a plain step)
};

inline constexpr std::size_t kTableStepSize = 20;
using TTableStepBytes = std::array<std::uint8_t, kTableStepSize>;

void EncodeTableStep(const TTableStep& step, std::span<std::uint8_t, kTableStepSize> out);
TTableStepBytes EncodeTableStep(const TTableStep& step);
TTableStep DecodeTableStep(std::span<const std::uint8_t, kTableStepSize> in);

}  // namespace kvx
