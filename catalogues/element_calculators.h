// The element calculators of the two-body menu: mean daily motion from the
// semi-major axis, perihelion distance from a and e, and the reduction of
// the orientation elements i, node and perihelion between two equinoxes.
#pragma once

#include <cstdint>
#include <string>

namespace kvx {

// The orientation elements and their equinoxes, kept between uses.
struct TOrientationRecord {
  double Inclination = 0;                  // degrees
  double Node = 0;                         // longitude of the ascending node, degrees
  double Perihelion = 0;                   // argument (or, with the flag, longitude) of perihelion, degrees
  double OldEquinox = 1950;                // years
  double NewEquinox = 2000;                // years
  std::uint8_t LongitudeOfPerihelion = 0;  // non-zero: Perihelion is a longitude of perihelion
};

// Reduces i, node and perihelion from the old to the new equinox (ecliptic
// and equinox of each, Julian centuries (equinox - 2000) / 100). With the
// flag the node is taken off the longitude of perihelion first and added
// again afterwards. Every angle is returned in [0, 360).
void ReduceOrientationElements(TOrientationRecord& r);

// The equinox (years) of a Julian day: 2000 + (jd - 2451545) / 36525 x 100.
double EquinoxOfJd(double jd);

// A typed number ("." or "," as decimal mark, blanks around it): true and
// the value when it is a finite number.
bool ParseCalculatorNumber(const std::string& text, double& x);

// An element value as the windows show it: 8 decimals.
std::string CalculatorValueText(double x);

}  // namespace kvx
