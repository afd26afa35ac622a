// Circular import: the bytes as a circular's text (any encoding and line
// ends). Every input is either imported with finite numbers or refused with
// EmpecFileError; nothing else may escape.
#include <cmath>

#include "catalogues/circular_import.h"
#include "core/records.h"
#include "fuzz/fuzz_support.h"
#include "platform/text_encoding.h"

using namespace kvx;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::SilenceMessages();
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> lines = SplitTextLines(DecodeTextBytes(bytes));
  try {
    const TCircularElements r = ImportCircular(lines);
    if (r.Comet) {
      fuzz::Require(std::isfinite(r.CometSet.PerihelionDistance) && std::isfinite(r.CometSet.PerihelionTime) &&
                        std::isfinite(r.CometSet.Epoch),
                    "finite comet elements");
    } else {
      fuzz::Require(std::isfinite(r.Asteroid.SemiMajorAxis) && std::isfinite(r.Asteroid.Epoch) &&
                        std::isfinite(r.Asteroid.MeanAnomaly),
                    "finite asteroid elements");
    }
  } catch (const EmpecFileError&) {
  }
  return 0;
}
