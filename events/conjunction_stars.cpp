#include "events/conjunction_stars.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "platform/ascii_case.h"

namespace kvx {

namespace {}  // namespace

TSearchStarLookup CatalogueStarLookup(std::shared_ptr<const TStarCatalogue> catalogue) {
  if (!catalogue) return {};
  return [catalogue](std::int32_t index, TSearchStar& star) {
    if (index < 1 || index > catalogue->Count()) return false;
    const tsterndatensatz& s = catalogue->Star(index);
    if (!s.Usable) return false;
    star.RightAscension1950 = s.RightAscension;
    star.Declination1950 = s.Declination;
    star.ProperMotionRA = s.ProperMotionRA;
    star.ProperMotionDec = s.ProperMotionDec;
    star.Magnitude = s.Magnitude100 / 100.0;
    return std::isfinite(star.RightAscension1950) && std::isfinite(star.Declination1950);
  };
}

std::int32_t FindStarByText(const TStarCatalogue& catalogue, const std::string& text) {
  if (text.empty()) return 0;
  const std::string wanted = AsciiUpper(text);
  for (std::int32_t i = 1; i <= catalogue.Count(); ++i) {
    if (AsciiUpper(catalogue.Star(i).Name).find(wanted) != std::string::npos) return i;
  }
  return 0;
}

std::string CatalogueStarName(const TStarCatalogue& catalogue, std::int32_t index) {
  if (index < 1 || index > catalogue.Count()) return {};
  return SaoPrefixName(catalogue.Star(index).Name);
}

}  // namespace kvx
