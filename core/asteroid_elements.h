// The osculating elements of one asteroid as the ephemeris and search code
// use them (the element files keep them as a 132-byte record: eleven doubles
// in this order and a name of up to 40 characters).
#pragma once

#include <string>

namespace kvx {

struct TAsteroidElements {
  double SemiMajorAxis = 0;  // a, AU
  double Eccentricity = 0;   // e
  double Inclination = 0;    // i, degrees, ecliptic of Equinox
  double Node = 0;           // longitude of the ascending node, degrees
  double Perihelion = 0;     // argument of perihelion, degrees
  double MeanAnomaly = 0;    // M at Epoch, degrees
  double MeanMotion = 0;     // n, degrees per day
  double Equinox = 0;        // equinox of the elements, a year (2000 = J2000)
  double Epoch = 0;          // epoch of the elements, Julian day (TT)
  double H = 0;              // absolute magnitude
  double G = 0;              // slope parameter
  std::string Name;          // up to 40 characters, UTF-8

  bool operator==(const TAsteroidElements&) const = default;
};

}  // namespace kvx
