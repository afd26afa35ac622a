// The cell-text matchers of find and replace, and the cell reference typed
// into the go-to box.
#pragma once

#include <cstdint>
#include <string>

namespace kvx {

// `position` is the 1-based character position of the match (1 for the
// whole-text matchers). The no-case variants compare upper-cased texts
// (umlauts included, UpperCaseText of platform/text_encoding.h).
bool MatchWholeCase(const std::string& searched, const std::string& cell, int& position);
bool MatchWholeNoCase(const std::string& searched, const std::string& cell, int& position);
bool MatchPartCase(const std::string& searched, const std::string& cell, int& position);
bool MatchPartNoCase(const std::string& searched, const std::string& cell, int& position);

// A cell reference like "B:12": row 12, column 2 (A = 1). Anything else gives
// row 1 and column 1.
void ParseColumnRowRef(const std::string& text, std::int32_t& row, std::int32_t& column);

}  // namespace kvx
