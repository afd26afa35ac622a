// The almanac's option record as stored in the configuration file and the
// overview's option text of the settings. Any image decodes to flags of 0
// and 1 that re-encode to a fixed point, with a byte set exactly where the
// image's byte was not 0; any text gives a record, all flags on unless it is
// exactly 39 digits, and a record written as text reads back unchanged.
#include <string>

#include "events/almanac_options.h"
#include "fuzz/fuzz_support.h"

using namespace kvx;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::span<const std::uint8_t> bytes(data, size);

  const TAlmanacOptions decoded = DecodeAlmanacOptions(bytes);
  for (std::size_t i = 0; i < kAlmanacFlagCount; ++i) {
    fuzz::Require(decoded.Flags[i] == (i < size && data[i] != 0 ? 1 : 0), "flag set where the byte was not 0");
  }
  const TAlmanacOptionsImage once = EncodeAlmanacOptions(decoded);
  fuzz::Require(EncodeAlmanacOptions(DecodeAlmanacOptions(once)) == once, "image fixed point");
  const int bodies = decoded.SelectedBodies();
  fuzz::Require(bodies >= 0 && bodies <= kAlmanacBodies, "selected bodies counted");

  const std::string text(reinterpret_cast<const char*>(data), size);
  const TAlmanacOptions read = TodayOptionsFromText(text);
  bool digits = text.size() == kAlmanacFlagCount;
  for (const char c : text) digits = digits && c >= '0' && c <= '9';
  for (std::size_t i = 0; i < kAlmanacFlagCount; ++i) {
    fuzz::Require(read.Flags[i] == 0 || read.Flags[i] == 1, "flags of a text are 0 or 1");
    if (!digits) fuzz::Require(read.Flags[i] == 1, "a malformed text gives every flag on");
    if (digits) fuzz::Require(read.Flags[i] == (text[i] != '0' ? 1 : 0), "a digit other than 0 sets its flag");
  }
  const std::string written = TodayOptionsToText(read);
  fuzz::Require(written.size() == kAlmanacFlagCount, "written text has 39 digits");
  fuzz::Require(TodayOptionsFromText(written).Flags == read.Flags, "text round trip");
  fuzz::Require(TodayOptionsToText(DecodeAlmanacOptions(once)) == TodayOptionsToText(decoded), "text of the image");
  return 0;
}
