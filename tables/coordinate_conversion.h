// One position of the sky in eight frames at once, for the observer's date
// and place, with hour angle, rise, culmination and set.
//
// Frames (angles in degrees, right ascensions too):
//   0 equatorial, mean equinox of date      4 ecliptic J2000
//   1 equatorial J2000                      5 ecliptic 1950.0
//   2 equatorial 1950.0                     6 galactic (1950.0 pole
//   3 ecliptic of date                         192.25°/27.4°, node 33°)
//                                           7 horizontal, azimuth from the
//                                             south through the west, no
//                                             refraction
// Every pair is a mean place of its equinox: no nutation, no aberration.
// 1950.0 is J2000 precessed back by exactly half a Julian century with the
// IAU 1976 formulas (T = -0.5); no FK4 catalogue terms (E-terms, equinox
// offset), so it differs from FK4 B1950 by up to about a second of arc.
// T is the observer record's instant (MJD UT plus Delta T) in Julian
// centuries from J2000. Rise and set are for a horizon at -34'.
#pragma once

#include <cstdint>

#include "core/observer_record.h"
#include "core/table_config.h"
#include "engine/table_sink.h"

namespace kvx {

struct TCoordinateBlock {
  double raDate = 0, decDate = 0;
  double raJ2000 = 0, decJ2000 = 0;
  double raB1950 = 0, decB1950 = 0;
  double lonDate = 0, latDate = 0;
  double lonJ2000 = 0, latJ2000 = 0;
  double lonB1950 = 0, latB1950 = 0;
  double galLon = 0, galLat = 0;
  double altitude = 0, azimuth = 0;
  double hourAngle = 0;                       // hours
  double rise = 0, culmination = 0, set = 0;  // local clock hours
  std::uint8_t risesAndSets = 0;
  std::uint8_t inputSystem = 0;  // 0..7
};

// The names of the input systems in the current language.
const char* CoordinateSystemName(int system);

// Fills every pair but the input pair (kept as entered) from it. False and
// the block unchanged for a system above 7, a non-finite input or a
// latitude, declination or altitude beyond ±90°.
bool ConvertPositionFrames(TObserverRecord r, TCoordinateBlock& block);

// Kind 890: the block as a table into the sheet (non-zero toSheet) or the
// grid: row 1 the equinox headings, rows 2-13 right ascension, declination,
// ecliptic longitude and latitude for date, J2000 and 1950.0, galactic
// longitude and latitude, azimuth, altitude, hour angle, rise, culmination
// and set ("---" for an object that does not rise and set).
void CoordinateConversionTable(TSheet* sheet, tmystringgrid* grid, std::uint8_t toSheet,
                               const TTableConfigRecord& config, const TCoordinateBlock& block,
                               const TTableOutputSettings& settings, std::uint8_t language);

}  // namespace kvx
