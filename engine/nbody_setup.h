// The n-body integration set-up (TIntegrationSetup): start values, working
// state, masses, names and output choices of up to 14 mutually attracting
// bodies, with its 2,616-byte record, its checks and the start-value file.
//
// Units and frame: positions in AU, velocities in AU per day, masses in
// solar masses, times as Julian days (TT). Coordinates are rectangular and
// equatorial, referred to the mean equinox of EquinoxJD; the default start
// values are heliocentric, equinox J2000, epoch JD 2450600.5.
//
// The record, little-endian, "extended" the 10-byte x87 format
// (core/binary_fields.h):
//   offset size  field
//        0   10  JD of the working state (extended)
//       10   10  start JD, epoch of the start values (extended)
//       20   10  equinox JD (extended)
//       30    2  padding
//       32    4  N, bodies (int32, 1..14)
//       36    4  int32 kept for the record (no integrator reads it)
//       40   10  Runge-Kutta step h, days (extended)
//       50  840  start values: 14 bodies x (x, y, z, x1, y1, z1), extended
//      890  840  working state, same layout
//     1730  140  masses of bodies 1..14 (extended; 0 = massless)
//     1870  714  names of bodies 1..14, ShortString[50] in Windows-1252
//     2584    2  output interval, Runge-Kutta steps per row (uint16)
//     2586    2  padding
//     2588    4  repetitions, Runge-Kutta steps of one run (int32)
//     2592    1  centre body (1..14)
//     2593   14  output flag of bodies 1..14
//     2607    7  switches: date-and-time columns, Cartesian, ecliptic,
//                heliocentric, osculating elements, reduce to body 1,
//                write the state vectors after a run
//     2614    2  padding
// Padding bytes read from a record are kept and written back.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace kvx {

inline constexpr int kMaxIntegrationBodies = 14;
inline constexpr std::size_t kIntegrationSetupSize = 2616;
inline constexpr std::size_t kBodyNameLength = 50;

// k^2 of the n-body force law, AU^3 per day^2 per solar mass.
inline constexpr long double kNBodyK2 = 0.0002959122082856L;

// One body's state x, y, z (AU), x1, y1, z1 (AU/day); all 14 bodies.
using TBodyState = std::array<long double, 6>;
using TNBodyState = std::array<TBodyState, kMaxIntegrationBodies>;

struct TIntegrationSetup {
  long double JD = 0;         // epoch of the working state
  long double StartJD = 0;    // epoch of the start values
  long double EquinoxJD = 0;  // equinox of the coordinates
  std::int32_t N = 0;
  std::int32_t Reserved = 0;  // offset 36, stored only
  long double H = 0;          // Runge-Kutta step, days
  TNBodyState StartValues{};
  TNBodyState WorkingState{};
  std::array<long double, kMaxIntegrationBodies> Masses{};
  std::array<std::string, kMaxIntegrationBodies> Names{};  // UTF-8
  std::uint16_t OutputInterval = 0;
  std::int32_t Repetitions = 0;
  std::uint8_t CentreBody = 0;
  std::array<std::uint8_t, kMaxIntegrationBodies> OutputFlags{};
  std::uint8_t DateTimeColumns = 0;
  std::uint8_t Cartesian = 0;
  std::uint8_t Ecliptic = 0;
  std::uint8_t Heliocentric = 0;
  std::uint8_t Elements = 0;
  std::uint8_t ReduceToFirstBody = 0;
  std::uint8_t WriteStateVectors = 0;
  // The padding bytes at offsets 30, 2586 and 2614 (two each).
  std::array<std::uint8_t, 6> Padding{};
};

using TIntegrationSetupBytes = std::array<std::uint8_t, kIntegrationSetupSize>;

// The default set-up: the Sun and the nine major planets at JD 2450600.5,
// heliocentric equatorial J2000, h 0.5 d, 400 repetitions, a row every 10
// steps, centre body 4, output for every body but 1 and 4.
TIntegrationSetup DefaultIntegrationSetup();

// The record image and back. Decoding refuses (false, `out` unchanged) a
// buffer of another size; it does not check the values
// (ValidateIntegrationSetup does).
TIntegrationSetupBytes EncodeIntegrationSetup(const TIntegrationSetup& setup);
bool DecodeIntegrationSetup(std::span<const std::uint8_t> bytes, TIntegrationSetup& out);

// What a run needs of the set-up. Checks N and the centre body (1..14), the
// output interval (>= 1), the repetitions (>= 1), h (finite, not 0), the
// masses of bodies 1..N (finite, >= 0), the JDs and the states of bodies
// 1..N (finite). Returns an empty text when usable, else the reason (UTF-8,
// German or English by LanguageEnglish).
std::string IntegrationSetupProblem(const TIntegrationSetup& setup);
// IntegrationSetupProblem with the reason shown through ShowMessage (stop
// icon). True when usable.
bool ValidateIntegrationSetup(const TIntegrationSetup& setup);

// The first line of a start-value file (and the state-vector block's cell).
inline constexpr const char* kStartValuesHeader = ":name;x;y;z;x1;y1;z1;1/m;jdequinox;jd";

// The start-value file itself: orbitdet/start_values_file.h.

// Cuts a UTF-8 name to at most 50 characters (not bytes).
std::string CutBodyName(const std::string& utf8);

}  // namespace kvx
