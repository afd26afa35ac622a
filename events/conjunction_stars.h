// The occultation star catalogue as the conjunction search reads it: the
// engine's star lookup over a loaded catalogue, and the star field's search
// by typed text.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "eclipses/star_catalogue.h"
#include "engine/search_object.h"

namespace kvx {

// Star i (1..Count()) of `catalogue` for the search engine: the mean place
// of B1950 in degrees, proper motions in degrees per year, the V magnitude.
// An index outside the catalogue and a record the loader marked unusable
// give false. A null catalogue gives an empty lookup.
TSearchStarLookup CatalogueStarLookup(std::shared_ptr<const TStarCatalogue> catalogue);

// The first star from entry 1 on whose upper-cased name contains the
// upper-cased `text` (ASCII letters); 0 when none does or the text is empty.
std::int32_t FindStarByText(const TStarCatalogue& catalogue, const std::string& text);

// The name shown for star i ("SAO " + number for a numbered star); empty
// outside the catalogue.
std::string CatalogueStarName(const TStarCatalogue& catalogue, std::int32_t index);

}  // namespace kvx
