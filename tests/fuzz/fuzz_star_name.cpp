// The criteria dialog's name search over a small catalogue: any typed bytes
// of any length; the first byte picks the magnitude limit.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "eclipses/lunar_occultation.h"
#include "eclipses/star_catalogue.h"

namespace {

const kvx::TStarCatalogue& Catalogue() {
  static const kvx::TStarCatalogue catalogue = [] {
    std::vector<kvx::tsterndatensatz> stars;
    const char* names[] = {"Regulus", "SAO 98967", "Aldebaran", "", "Alcyone", "\xC4rger", "SAO 1", "Spica"};
    float magnitude = 100;
    for (const char* name : names) {
      kvx::tsterndatensatz star;
      star.Name = name;
      star.Magnitude100 = magnitude;
      magnitude += 120;
      stars.push_back(star);
    }
    return kvx::TStarCatalogue(1, "OCCINP8.DAT", stars);
  }();
  return catalogue;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const float limit = static_cast<float>(data[0]) * 0.05f - 2.0f;
  const std::string typed(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::int32_t found = kvx::FindStarByName(Catalogue(), typed, limit);
  if (found < 0 || found > Catalogue().Count()) __builtin_trap();
  if (found > 0 && typed.empty()) __builtin_trap();
  return 0;
}
