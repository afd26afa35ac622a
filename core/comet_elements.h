// The perihelion elements of one comet as the ephemeris and search code use
// them (the element files keep them as a 124-byte record: ten doubles in
// this order and a name of up to 40 characters).
#pragma once

#include <string>

namespace kvx {

struct TCometElements {
  double PerihelionDistance = 0;  // q, AU
  double Eccentricity = 0;        // e (1 parabola, above 1 hyperbola)
  double Inclination = 0;         // i, degrees, ecliptic of Equinox
  double Node = 0;                // longitude of the ascending node, degrees
  double Perihelion = 0;          // argument of perihelion, degrees
  double Equinox = 0;             // equinox of the elements, a year (2000 = J2000)
  double PerihelionTime = 0;      // T, Julian day (TT)
  double H = 0;                   // absolute magnitude
  double G = 0;                   // slope: the coefficient of 2.5 log10 r
  double Epoch = 0;               // epoch of the elements, Julian day
  std::string Name;               // up to 40 characters, UTF-8

  bool operator==(const TCometElements&) const = default;
};

}  // namespace kvx
