#include "core/table_step.h"

#include "core/little_endian.h"

namespace kvx {

void EncodeTableStep(const TTableStep& step, std::span<std::uint8_t, kTableStepSize> out) {
  little_endian::PutI32(out.data(), step.Days);
  little_endian::PutF64(out.data() + 4, step.Hours);
  little_endian::PutF64(out.data() + 12, step.StepDays);
}

TTableStepBytes EncodeTableStep(const TTableStep& step) {
  TTableStepBytes bytes{};
  EncodeTableStep(step, bytes);
  return bytes;
}

TTableStep DecodeTableStep(std::span<const std::uint8_t, kTableStepSize> in) {
  TTableStep step;
  step.Days = little_endian::GetI32(in.data());
  step.Hours = little_endian::GetF64(in.data() + 4);
  step.StepDays = little_endian::GetF64(in.data() + 12);
  return step;
}

}  // namespace kvx
