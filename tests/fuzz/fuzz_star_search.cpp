// The star field of the conjunction dialog: typed text searched over a small
// catalogue whose names, places and usable flags come from the input, and
// the engine's star lookup by any index. Input: one byte (the number of
// stars, at most 16), per star a name length byte, the name, a flag byte and
// two doubles (place), then an index (int32), then the typed text.
// Promises: a find is a star whose upper-cased name holds the upper-cased
// text; the lookup answers only for usable stars inside the catalogue.
#include <algorithm>
#include <cctype>
#include <memory>

#include "events/conjunction_stars.h"
#include "fuzz/fuzz_support.h"
#include "platform/ascii_case.h"

using namespace kvx;

namespace {


}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::SilenceMessages();
  fuzz::Bytes in(data, size);
  const int count = in.Byte() % 17;
  std::vector<tsterndatensatz> stars;
  for (int i = 0; i < count; ++i) {
    tsterndatensatz star;
    const int length = in.Byte() % 12;
    for (int k = 0; k < length; ++k) star.Name.push_back(static_cast<char>(in.Byte()));
    star.Usable = (in.Byte() & 1) != 0;
    star.RightAscension = static_cast<float>(in.Double());
    star.Declination = static_cast<float>(in.Double());
    stars.push_back(star);
  }
  const std::int32_t index = in.Int32();
  const std::string text = in.Rest();
  auto catalogue = std::make_shared<const TStarCatalogue>(1, "fuzz", stars);

  const std::int32_t found = FindStarByText(*catalogue, text);
  fuzz::Require(found >= 0 && found <= count, "find inside the catalogue");
  if (found > 0) {
    fuzz::Require(!text.empty(), "empty text finds nothing");
    fuzz::Require(AsciiUpper(catalogue->Star(found).Name).find(AsciiUpper(text)) != std::string::npos, "name holds the text");
    for (std::int32_t i = 1; i < found; ++i)
      fuzz::Require(AsciiUpper(catalogue->Star(i).Name).find(AsciiUpper(text)) == std::string::npos, "first match");
  }
  TSearchStarLookup lookup = CatalogueStarLookup(catalogue);
  TSearchStar star;
  if (lookup(index, star)) {
    fuzz::Require(index >= 1 && index <= count && catalogue->Star(index).Usable, "lookup inside, usable");
  }
  CatalogueStarName(*catalogue, index);
  return 0;
}
