#include "core/table_step.h"

#include "core/binary_fields.h"

namespace kvx {

void EncodeTableStep(const TTableStep& step, std::span<std::uint8_t, kTableStepSize> out) {
  FieldWriter w(out);
  w.I32(step.Days);
  w.F64(step.Hours);
  w.F64(step.StepDays);
}

TTableStepBytes EncodeTableStep(const TTableStep& step) {
  TTableStepBytes bytes{};
  EncodeTableStep(step, bytes);
  return bytes;
}

TTableStep DecodeTableStep(std::span<const std::uint8_t, kTableStepSize> in) {
  FieldReader r(in);
  TTableStep step;
  step.Days = r.I32();
  step.Hours = r.F64();
  step.StepDays = r.F64();
  return step;
}

}  // namespace kvx
