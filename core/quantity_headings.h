// The default column headings of the 221 output quantities (format slots), in
// German and English. QuantityHeadingTable is the table in the current
// language (the same storage as DefaultColumnHeadings of core/name_tables.h);
// new table configurations take their titles from it.
#pragma once

#include <array>
#include <string>

#include "core/name_tables.h"

namespace kvx {

struct TQuantityHeading {
  const char* german;  // UTF-8
  const char* english;
};

extern const std::array<TQuantityHeading, kQuantityCount> QuantityHeadings;

// The current-language default headings.
inline std::array<std::string, kQuantityCount>& QuantityHeadingTable = DefaultColumnHeadings;

// Refills QuantityHeadingTable in German (false) or English (true).
void SetQuantityHeadingLanguage(bool english);

}  // namespace kvx
