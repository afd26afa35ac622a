// The default column headings of the 221 output quantities (format slots), in
// German and English. QuantityHeadingTable is the table in the current
// language (the same storage as DefaultColumnHeadings of core/name_tables.h);
// new table configurations take their titles from it.
#pragma once

#include <array>
#include <string>

#include "core/name_tables.h"
#include "core/table_config.h"

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

// The titles of `record` that are the default heading of their slot in the
// other language become the default of the language `english` names; a
// title the user typed (the default of neither language) stays as it is.
// Run on each language switch and on every record loaded from a file, so a
// configuration written in one language reads in the other.
void TitlesFollowLanguage(TTableConfigRecord& record, bool english);

}  // namespace kvx
