// The kinds of conjunction of the conjunction search, read from its options
// record, with their captions and abbreviations.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace kvx {

// The options of the conjunction search are a 40-byte record; its byte 1 asks
// for conjunctions in longitude, byte 2 for the smallest angular separation.
inline constexpr std::size_t kConjunctionOptionsSize = 40;

// 3 (smallest separation) when byte 2 is set, else 2 (longitude) when byte 1
// is set, else 1 (right ascension).
int ConjunctionKindOf(std::span<const std::uint8_t> options);
// Caption of a kind, German or English by LanguageEnglish.
std::string ConjunctionKindText(int kind);
// "A.S.", "K.L." or "K.RA".
std::string ConjunctionKindAbbrev(std::span<const std::uint8_t> options);

}  // namespace kvx
