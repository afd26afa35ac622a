#include "core/conjunction_kinds.h"

#include "platform/globals.h"

namespace kvx {

namespace {
std::uint8_t OptionByte(std::span<const std::uint8_t> options, std::size_t index) {
  return index < options.size() ? options[index] : 0;
}
}  // namespace

int ConjunctionKindOf(std::span<const std::uint8_t> options) {
  if (OptionByte(options, 2) != 0) return 3;
  if (OptionByte(options, 1) != 0) return 2;
  return 1;
}

std::string ConjunctionKindText(int kind) {
  switch (kind) {
    case 3:
      return ByLanguage("Winkelabstand minimal", "Smallest angular separation");
    case 2:
      return ByLanguage("Konjunktion in Länge", "Conjunction in Longitude");
    default:
      return ByLanguage("Konjunktion in RA", "Conjunction in RA");
  }
}

std::string ConjunctionKindAbbrev(std::span<const std::uint8_t> options) {
  switch (ConjunctionKindOf(options)) {
    case 3:
      return "A.S.";
    case 2:
      return "K.L.";
    default:
      return "K.RA";
  }
}

}  // namespace kvx
