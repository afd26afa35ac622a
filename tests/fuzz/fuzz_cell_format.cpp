// The texts of the output quantities: every Format...ForSlot routine on a
// double from the input (any bit pattern), with the slot's kind and
// decimals also taken from the input. Promise: nothing but the sanitizers'
// checks (no NaN or huge number converted to an integer, no read outside a
// table), and a finite value never shows as "nan" or "inf".
#include <cmath>

#include "core/name_tables.h"
#include "engine/cell_format.h"
#include "fuzz/fuzz_support.h"

using namespace kvx;

namespace {

void NoNanText(const std::string& text, bool finite) {
  if (!finite) return;
  fuzz::Require(text.find("nan") == std::string::npos && text.find("inf") == std::string::npos, "nan in a text");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Bytes in(data, size);
  const int slot = in.Byte() % kQuantityCount;
  DataFormatKind[static_cast<std::size_t>(slot)] = in.Byte() % 5;
  DataFormatDecimals[static_cast<std::size_t>(slot)] = in.Byte() % 20;
  const int date = in.Int32();
  const double x = in.Double();
  const bool finite = std::isfinite(x);

  std::string s;
  FormatAngleForSlot(slot, s, x);
  NoNanText(s, finite);
  FormatNumberForSlot(slot, s, x);
  NoNanText(s, finite);
  FormatTimeOfDayForSlot(slot, s, x);
  NoNanText(s, finite);
  FormatArcsecondsForSlot(slot, s, x);
  NoNanText(s, finite);
  FormatArcminutesForSlot(slot, s, x);
  NoNanText(s, finite);
  FormatLabeledNumberForSlot(slot, s, "L", x);
  NoNanText(s, finite);
  FormatMagnitudeForSlot(slot, s, x);
  NoNanText(s, finite);
  FormatMinutesForSlot(slot, s, x);
  NoNanText(s, finite);
  FormatHoursAsMinutesForSlot(slot, s, x);
  NoNanText(s, finite);
  FormatDateForSlot(slot, s, date / 10000, date / 100 % 100, date % 100);
  NoNanText(SexagesimalText(x, in.Byte() % 20, in.Byte() & 1), finite);
  return 0;
}
