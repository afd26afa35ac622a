// The start of the position chain that the single-instant disc routines
// share (the central meridian search, the drawing measurement).
#pragma once

#include <cstdint>

#include "engine/kepler.h"

namespace kvx {

// Runs the body's chain up to the equatorial places of date with VSOP level
// A `vsopLevel`: elements of date, heliocentric place, geometric geocentric
// place (no light time), Ekliptik_aequator. The body's observer record must
// be completed for the instant.
inline void GeometricPlacesOfDate(TKepler& body, std::int32_t vsopLevel) {
  body.Accuracy.VsopLevelA = vsopLevel;
  body.bahnlageelemente();
  body.heliozentrisch(0, 0, 0, 0);
  body.geozentrischekliptikalgeometrisch();
  body.Ekliptik_aequator();
}

}  // namespace kvx
