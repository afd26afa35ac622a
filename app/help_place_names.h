// The place names the help's search knows (THelpPlaceNames,
// platform/help_search.h): the cities of the world database and the places
// of the location file, so that a search for "Zürich" or "Honolulu" leads
// to the sections on the world database and the location files.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/help_search.h"

namespace kvx {

// A name or a key word as they are compared: lower case, the accents of
// the Latin letters left off, "ß" as "ss" ("Zürich", "ZURICH" and "zurich"
// alike).
std::string PlaceNameKey(std::string_view utf8);

// Whether a key word is the whole name of a city of the world database
// (cities.ved in `dataFolder`) or of a place of the location file that
// `locationFile` names (read again when it names another). The files are
// read at the first question; a missing or unreadable one holds no names.
THelpPlaceNames HelpPlaceNames(std::string dataFolder, std::function<std::string()> locationFile);

}  // namespace kvx
