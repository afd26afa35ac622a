// The fixed-size binary records that files and the configuration embed: the
// table configuration, the table step and the asteroid element record, and
// the field types under them (six-byte and ten-byte reals, short strings).
// Each record image is the front of the input, padded with zeros. Promise:
// what a decoder makes of any image encodes to an image that decodes and
// encodes to itself; a real read and written back reads the same.
#include <cmath>
#include <cstring>
#include <vector>

#include "core/binary_fields.h"
#include "core/element_records.h"
#include "core/table_config.h"
#include "core/table_step.h"
#include "fuzz/fuzz_support.h"

using namespace kvx;

namespace {

template <std::size_t N>
std::array<std::uint8_t, N> Front(const std::uint8_t* data, std::size_t size) {
  std::array<std::uint8_t, N> image{};
  std::memcpy(image.data(), data, std::min(size, N));
  return image;
}

bool SameDouble(double a, double b) { return (std::isnan(a) && std::isnan(b)) || a == b; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  {
    auto once = EncodeTableConfigRecord(DecodeTableConfigRecord(Front<kTableConfigRecordSize>(data, size)));
    fuzz::Require(EncodeTableConfigRecord(DecodeTableConfigRecord(once)) == once, "table configuration");
  }
  {
    auto once = EncodeTableStep(DecodeTableStep(Front<kTableStepSize>(data, size)));
    fuzz::Require(EncodeTableStep(DecodeTableStep(once)) == once, "table step");
  }
  {
    auto once = EncodeAsteroidElementRecord(DecodeAsteroidElementRecord(Front<kAsteroidElementRecordSize>(data, size)));
    fuzz::Require(EncodeAsteroidElementRecord(DecodeAsteroidElementRecord(once)) == once, "asteroid elements");
  }
  std::vector<std::uint8_t> padded(data, data + size);
  padded.resize(size + 256, 0);
  for (std::size_t k = 0; k + kExtendedSize <= size; k += kExtendedSize) {
    const double value = ExtendedToDouble(padded.data() + k);
    std::uint8_t back[kExtendedSize];
    DoubleToExtended(value, back);
    fuzz::Require(SameDouble(ExtendedToDouble(back), value), "ten-byte real round trip");
    std::uint8_t six[kReal48Size];
    DoubleToReal48(value, six);
    fuzz::Require(std::isfinite(Real48ToDouble(six)), "six-byte real finite");
  }
  const std::size_t capacity = size > 0 ? data[0] : 0;
  const std::string text = GetShortString(padded.data(), capacity);
  std::vector<std::uint8_t> out(capacity + 1);
  PutShortString(out.data(), capacity, text);
  // Windows-1252 survives UTF-8 both ways, so the text comes back as read.
  fuzz::Require(GetShortString(out.data(), capacity) == text, "short string round trip");
  return 0;
}
