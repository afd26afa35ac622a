// Preparation of the observations for a first orbit, and Gauss's method on
// one run of three observations.
//
// Directions and Sun vectors: rectangular ecliptic of the elements' equinox,
// AU; the Sun is taken at each observation's TT instant. Times in the
// iteration are TT days; the perihelion time comes out in Julian centuries
// (TT) from J2000.
// Reference: Montenbruck and Pfleger, Astronomy on the Personal Computer,
// ch. 11 (Gauss's method with sector-to-triangle ratios).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "orbitdet/observations.h"

namespace kvx {

// Fills the direction, the ecliptic longitude and latitude and the Sun of
// every observation of the set: directions turned to the ecliptic of the
// observations' equinox and precessed to the elements' equinox; the Sun
// from SunPosition (theory selection, level A) at the observation's TT,
// precessed from the date to the elements' equinox.
void PrepareObservations(torbdet& od);

// The geocentric Sun (AU) in the equator and equinox of J2000 at a TT day,
// from the theory selection and level A of od.
std::array<double, 3> GeocentricSunJ2000(const torbdet& od, double jdTT);

// The result of Gauss's method on one triple.
struct TGaussResult {
  int Status = 0;                                  // 0 converged, 1 iteration failed, 3 no orbit
  double PerihelionTime = 0;                       // Julian centuries (TT) from J2000
  double Q = 0, E = 0, I = 0, Node = 0, Peri = 0;  // AU and degrees, frame of the directions
  std::array<double, 3> Rho{};                     // geocentric distances, AU
  std::array<double, 3> R{};                       // heliocentric distances, AU
  std::vector<std::array<double, 3>> RhoLog;       // rho1..3 of every pass
};

// Gauss's method: light time, sector-to-triangle ratios, at most 101
// passes (more than 50: status 1), elements from the outer two positions.
// Status 3 for times not strictly increasing, coplanar directions
// (|D0| < 1e-12), no elements, or any non-finite value.
TGaussResult GaussTripleOrbit(const std::array<TVector3Ext, 3>& direction, const std::array<TVector3Ext, 3>& sun,
                              const std::array<double, 3>& jdTT);

// The verdicts on a set of elements in their order, German or English, and
// the status they set (the given one when none applies).
std::string OrbitVerdicts(bool iterationFailed, bool doubleSolution, double q, double e, bool english, int& status);

}  // namespace kvx
