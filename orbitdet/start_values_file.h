// The start-values file of the n-body integration: one body a line,
//   name;x;y;z;x1;y1;z1;1/m;jdequinox;jd
// under the header line kStartValuesHeader (engine/nbody_setup.h).
//
// Units and frame: x, y, z in AU, x1, y1, z1 in AU/day, heliocentric
// rectangular equatorial for the equinox jdequinox (JD); 1/m is the Sun's
// mass over the body's (0 for a massless body); jd is the epoch (JD, TT).
// Numbers are written with "." (x..z1 with 17 decimals, 1/m with 8, the
// Julian days with 5, or the shortest text that keeps a value those
// decimals would change) and read with "." or ","; names are
// Windows-1252, or UTF-8 when a name needs it; lines end in CR LF.
//
// The epoch and equinox of a file are those of its second body line (the
// first body is the Sun); every line repeats them.
#pragma once

#include <cstddef>
#include <string>

#include "engine/nbody_setup.h"
#include "platform/save_failure.h"

namespace kvx {

// Files larger than this are refused unread.
inline constexpr std::size_t kMaxStartValuesFileBytes = 1u << 20;

// One body line as read.
struct trukudaten {
  std::string Name;             // UTF-8, as in the file
  long double State[6] = {};    // x, y, z (AU), x1, y1, z1 (AU/day)
  long double InverseMass = 0;  // 1/m; 0 = massless
  long double EquinoxJD = 0;
  long double JD = 0;
};

enum class TStartValuesLineStatus {
  Body,     // `out` holds the body
  Skipped,  // empty, or the header or a comment: led by ":" and no whole body
  Refused,  // `field` names the field that is not usable
};

// Splits a line: nine fields at the first ";" each, the rest is the tenth
// field with its first remaining ";" deleted (so a trailing ";" is allowed).
// Each number is trimmed, its first "," read as ".", and read whole; "nan",
// "inf", a missing field, a negative 1/m and a non-finite value are
// refused. `field` then holds the field's heading ("x", "1/m", "jd", ...).
TStartValuesLineStatus ParseStartValuesLine(const std::string& line, trukudaten& out, std::string& field);

// True when the first 37 characters of the file's first line (after a
// byte-order mark) equal the header; false for a file that cannot be read.
bool IsStartValuesFile(const std::string& path);

// Start values of every body cleared: StartJD, EquinoxJD, masses, names and
// start states; the working state, JD, N and the output fields stay.
void ClearStartValues(TIntegrationSetup& setup);
// Body `index` (1-based) from a line: the start state, mass 1/(1/m) or 0,
// the name cut to 50 characters; the second body gives StartJD and
// EquinoxJD; N := index.
void StoreStartValuesBody(const trukudaten& body, TIntegrationSetup& setup, int index);

// Reads the file into a copy of `setup` (cleared, at most 14 bodies). A file
// that cannot be read, is over 1 MiB, has a line that is refused or holds
// no body shows a message naming the file (and the line and field) and
// gives false with `setup` untouched. On success the copy's bodies, StartJD
// and EquinoxJD replace those of `setup`; the caller then copies start to
// working state (CopyStartToWorking).
// With `read`, the file as it was read is kept there (TOpenedFile).
bool ReadStartValuesFile(const std::string& path, TIntegrationSetup& setup, TOpenedFile* read = nullptr);

// The file's text for bodies 1..N (header, CR LF line ends).
std::string StartValuesFileText(const TIntegrationSetup& setup);
// Writes that text on the road of every file the user picks (SaveUserFile):
// the file `read` names, changed by another program since, only when the
// user says so; a failure is told with its cause, naming the file, and
// gives false; so does a body that the reader would refuse (a negative
// mass, a value that is not finite), naming the body, and no file is
// written.
bool WriteStartValuesFile(const std::string& path, const TIntegrationSetup& setup, TOpenedFile* read = nullptr);

// WorkingState := StartValues, JD := StartJD.
void CopyStartToWorking(TIntegrationSetup& setup);

}  // namespace kvx
