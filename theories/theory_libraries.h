// Loader of the five theory libraries and their entry points.
//
// The libraries (libelp2000.so, libvsop82.so, libvsop87d.so, libvsop87c.so,
// libvsop87a.so) are opened once at start-up with dlopen. Each has a probe
// that returns its code; a library counts as present only when it opens,
// every entry point resolves and the probe returns exactly its code. The
// main window keeps one availability byte per library (TLibraryAvailability)
// and calls a library only when its byte is set. Calling the entry point of
// an absent library is harmless: every output is set to 0.
//
// Common arguments of the entry points:
//   T      Julian centuries from J2000 (JD 2451545.0), dynamical time;
//   JD     Julian date, dynamical time;
//   level  the truncation level (TTruncationLevel) as a double: -1 for the
//          full series; 4, 6, 8, 10 leave out the terms whose amplitude is
//          below 10^(level - 14) of the unit of the series (radian, AU; for
//          the lunar distance the mean distance 384747.98 km).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kvx {

// One byte per library, 1 when present. Start-up order of the probes:
// ELP-2000/82, VSOP82, VSOP87 D, VSOP87 C, VSOP87 A.
struct TLibraryAvailability {
  std::uint8_t Elp2000 = 0;
  std::uint8_t Vsop82 = 0;
  std::uint8_t Vsop87D = 0;
  std::uint8_t Vsop87C = 0;
  std::uint8_t Vsop87A = 0;
};

// The folders the program looks for the libraries in, in this order:
// "<program folder>/../lib" (the installed layout and the build tree), then
// the program folder itself. Each library is looked up on its own, so one
// missing file hides no other.
std::vector<std::string> TheoryLibraryFolders(const std::string& programFolder);
// The folders of the running program (ExecutableFolder).
std::vector<std::string> DefaultTheoryLibraryFolders();

// Opens the five libraries, each from the first of `folders` where it opens
// with every entry point (closing any opened before), calls ping_elp,
// ping_82, ping, ping_c and ping_a once each in this order and returns which
// libraries are present. Missing or faulty libraries are closed again and
// count as absent; nothing is reported to the user.
TLibraryAvailability OpenTheoryLibraries(const std::vector<std::string>& folders);
// The same with one folder.
TLibraryAvailability OpenTheoryLibraries(const std::string& folder);
// Closes every opened library; the entry points then return zeros.
void CloseTheoryLibraries();

// --- Probes (no arguments, 32-bit result; 0 when the library is absent) ---
std::int32_t ping_elp();  // 17
std::int32_t ping_82();   // 115
std::int32_t ping();      // 112, VSOP87 D
std::int32_t ping_c();    // 113
std::int32_t ping_a();    // 114

// --- VSOP87 D: heliocentric ecliptic longitude L and latitude B (degrees,
// L in [0, 360)) and radius R (AU), mean ecliptic and equinox of date. ---
void vsopmerkur_hel(double T, double& L, double& B, double& R, double level);
void vsopvenus_hel(double T, double& L, double& B, double& R, double level);
void vsopmars_hel(double T, double& L, double& B, double& R, double level);
void vsopjupiter_hel(double T, double& L, double& B, double& R, double level);
void vsopsaturn_hel(double T, double& L, double& B, double& R, double level);
void vsopuranus_hel(double T, double& L, double& B, double& R, double level);
void vsopneptun_hel(double T, double& L, double& B, double& R, double level);
// The Sun's geocentric longitude, latitude (degrees) and distance (AU) of date.
void vsopsun_l(double T, double& L, double& B, double& R, double level);

// --- VSOP87 C: heliocentric rectangular ecliptic position (AU) and velocity
// (AU per day), mean ecliptic and equinox of date. ---
void vsop_c_mer(double T, double& X, double& Y, double& Z, double& VX, double& VY, double& VZ, double level);
void vsop_c_ven(double T, double& X, double& Y, double& Z, double& VX, double& VY, double& VZ, double level);
void vsop_c_mar(double T, double& X, double& Y, double& Z, double& VX, double& VY, double& VZ, double level);
void vsop_c_jup(double T, double& X, double& Y, double& Z, double& VX, double& VY, double& VZ, double level);
void vsop_c_sat(double T, double& X, double& Y, double& Z, double& VX, double& VY, double& VZ, double level);
void vsop_c_ura(double T, double& X, double& Y, double& Z, double& VX, double& VY, double& VZ, double level);
void vsop_c_nep(double T, double& X, double& Y, double& Z, double& VX, double& VY, double& VZ, double level);
// The Earth's heliocentric state (not negated).
void vsopcsun(double T, double& X, double& Y, double& Z, double& VX, double& VY, double& VZ, double level);

// --- VSOP87 A: as VSOP87 C, referred to the dynamical ecliptic and equinox
// of J2000; the Earth and the Earth-Moon barycentre. ---
void vsop_a_mer(double T, double& X, double& Y, double& Z, double& VX, double& VY, double& VZ, double level);
void vsop_a_ven(double T, double& X, double& Y, double& Z, double& VX, double& VY, double& VZ, double level);
void vsop_a_mar(double T, double& X, double& Y, double& Z, double& VX, double& VY, double& VZ, double level);
void vsop_a_jup(double T, double& X, double& Y, double& Z, double& VX, double& VY, double& VZ, double level);
void vsop_a_sat(double T, double& X, double& Y, double& Z, double& VX, double& VY, double& VZ, double level);
void vsop_a_ura(double T, double& X, double& Y, double& Z, double& VX, double& VY, double& VZ, double level);
void vsop_a_nep(double T, double& X, double& Y, double& Z, double& VX, double& VY, double& VZ, double level);
void vsop_a_erd(double T, double& X, double& Y, double& Z, double& VX, double& VY, double& VZ, double level);
void vsop_a_emo(double T, double& X, double& Y, double& Z, double& VX, double& VY, double& VZ, double level);

// --- VSOP82 interface: heliocentric osculating equinoctial elements,
// ecliptic and equinox of J2000: a (AU), mean longitude lambda (radians,
// [0, 2 pi)), k = e cos and h = e sin of the longitude of perihelion,
// q = sin(i/2) cos and p = sin(i/2) sin of the node. The Earth's are those
// of the Earth-Moon barycentre. Callers pass precision -1. ---
void vsop_mer(double T, double& a, double& lambda, double& k, double& h, double& q, double& p, double precision);
void vsop_ven(double T, double& a, double& lambda, double& k, double& h, double& q, double& p, double precision);
void vsop_ear(double T, double& a, double& lambda, double& k, double& h, double& q, double& p, double precision);
void vsop_mar(double T, double& a, double& lambda, double& k, double& h, double& q, double& p, double precision);
void vsop_jup(double T, double& a, double& lambda, double& k, double& h, double& q, double& p, double precision);
void vsop_sat(double T, double& a, double& lambda, double& k, double& h, double& q, double& p, double precision);
void vsop_ura(double T, double& a, double& lambda, double& k, double& h, double& q, double& p, double precision);
void vsop_nep(double T, double& a, double& lambda, double& k, double& h, double& q, double& p, double precision);

// --- ELP-2000/82B: the Moon's geocentric rectangular ecliptic coordinates,
// km, mean ecliptic and equinox of J2000. ---
void ELP82B(double JD, double& X, double& Y, double& Z, double level);

}  // namespace kvx
