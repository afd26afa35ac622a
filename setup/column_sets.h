// The column sets of the table configuration: the default set, clearing and
// selecting all columns, the eight presets of the configuration dialog and
// the summary bytes 0-3. All take the flags (core/column_flags.h) by
// reference and never touch the reserved bytes 114-133 unless said so; the
// column titles are never touched.
#pragma once

#include "core/table_config.h"

namespace kvx {

// Default set: date only; heliocentric l, b, r; geocentric distance, lg, br;
// apparent RA and Dec, RA and Dec in the additional equinox, also
// astrometric; rise, transit, set and altitude at transit; elongation, phase
// angle, phase, magnitude, P, B, Z, System II/III, diameter, defect of
// illumination, Saturn's ring, the Moon's colongitude, latitude of the Sun and
// age, horizontal parallax; the four summaries on; every other used byte off.
void SetDefaultColumns(TColumnFlags& flags);
// Bytes 0-113 off.
void ClearColumns(TColumnFlags& flags);
// Bytes 0-3 and 5-113 on, byte 4 off (date and time).
void SelectAllColumns(TColumnFlags& flags);

// The presets of the dialog. A-D, G and H start from ClearColumns; E and F
// clear all 134 bytes. The summaries stay off until RecomputeColumnSummaries.
void ColumnPresetA(TColumnFlags& flags);  // physical ephemerides
void ColumnPresetB(TColumnFlags& flags);  // rise and set
void ColumnPresetC(TColumnFlags& flags);  // comets
void ColumnPresetD(TColumnFlags& flags);  // orbital elements of asteroids
void ColumnPresetE(TColumnFlags& flags);  // planets, equinox of date
void ColumnPresetF(TColumnFlags& flags);  // planets, equinox 2000
void ColumnPresetG(TColumnFlags& flags);  // asteroids
void ColumnPresetH(TColumnFlags& flags);  // orbital elements of comets

// Sets each summary byte 0-3 to 1 when any flag of its display group is on,
// else to 0.
void RecomputeColumnSummaries(TColumnFlags& flags);

// A new configuration: the default set, reserved bytes zero, every title from
// QuantityHeadingTable (core/quantity_headings.h).
TTableConfigRecord NewTableConfigRecord();

}  // namespace kvx
