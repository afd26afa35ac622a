// Precomputed position files: daily heliocentric positions of the Sun (the
// Earth's file), the planets and Pluto read from files instead of computed.
//
// Two kinds of file, both plain sequences of fixed-size records without a
// header, every number a six-byte real:
//   - one ".vsc" file per body ("sun.vsc", "mer.vsc", ... "plu.vsc"), 42-byte
//     records: day number, X, Y, Z, VX, VY, VZ;
//   - "pos.vsp", 168-byte records: day number, then X, Y, Z of Mercury,
//     Venus, Earth, Mars, Jupiter, Saturn, Uranus, Neptune and Pluto.
// Record n holds day n counted from Julian date 2413017.0 (its field 0 is n).
// Coordinates are heliocentric, AU; the frame and the velocity unit are
// those the files were written in and are passed on unchanged.
//
// Each open file has one block buffer of 8001 records and the block bounds
// S (Julian date of block record 3 minus 2000; 0 while no block is loaded)
// and E (Julian date of the block's last record plus 2000).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "core/binary_fields.h"
#include "theories/theory_types.h"

namespace kvx {

inline constexpr double kPositionFileEpoch = 2413017.0;  // Julian date of day 0
inline constexpr int kPositionBlockRecords = 8001;
inline constexpr std::size_t kVscRecordSize = 42;
inline constexpr std::size_t kVspRecordSize = 168;
inline constexpr std::size_t kVscBlockBytes = kVscRecordSize * kPositionBlockRecords;  // 336,042
inline constexpr std::size_t kVspBlockBytes = kVspRecordSize * kPositionBlockRecords;  // 1,344,168

// Six-byte reals: Real48ToDouble and DoubleToReal48 in core/binary_fields.h.

// Stirling's central-difference interpolation on five values of consecutive
// days (y3 the middle day) at the offset n days from the middle day.
// Exact for polynomials of degree 4; n = 0 returns y3.
double StirlingInterpolate(double y1, double y2, double y3, double y4, double y5, double n);

// Position of one body from its ".vsc" file.
//   Given:    handle  the body's open file, block buffer and six-byte bounds;
//             T       Julian centuries from J2000 (the caller's time scale).
//   Returned: X, Y, Z heliocentric, AU; VX, VY, VZ the stored velocity;
//             R (AU), B and L (degrees, L in [0, 360)) from X, Y, Z.
// Reloads the block when the date lies outside it (JD - S - 2000 below -1 or
// above 7994). A block that would begin before the file or end after it is
// moved inside the file; a file shorter than a block fills what it can. Such
// a block serves the first and last days of the file without a reload.
// The five records interpolated must be the consecutive days around the
// date, so a file serves the dates from day 1 to the day before its last.
// When the file cannot serve the date (it starts later or ends earlier, a
// read fails, or the records read are not the expected days) the routine
// shows "Zeitraum für
// Ephemeride überschreitet die Datenbank ..." / "No positions for this date
// in the position-files ...", sets AbortRequested, sets every output to 0,
// leaves no block loaded and returns false.
bool ReadPositionFile(PositionFileHandle handle, double& L, double& B, double T, double& R, double& X, double& Y,
                      double& Z, double& VX, double& VY, double& VZ);

// Positions of the nine bodies from "pos.vsp".
//   Given:    S, E    the file's block bounds (Julian dates, updated);
//             buffer  its block buffer (kVspBlockBytes);
//             stream  the open file; T Julian centuries from J2000.
//   Returned: out     a 168-byte record: fields 1-27 receive the
//                     interpolated X, Y, Z of the nine bodies as six-byte
//                     reals; field 0 is left as it was.
// On a date the file cannot serve it fails as ReadPositionFile does (same
// message, AbortRequested set, block unloaded), leaves `out` untouched and
// returns false.
bool InterpolatePositionFile(double& S, double& E, std::uint8_t* buffer, std::uint8_t* out, std::FILE* stream,
                             double T);

}  // namespace kvx
