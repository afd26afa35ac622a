// The reference observations of tests/orbitdet/make_observation_fixtures.py
// (and of make_ceres_vesta_swe.sh, the same rows):
// truth orbits (state at the epoch, AU and AU/day, equatorial J2000),
// observation sets (UT and TT days, astrometric RA in hours and Dec in
// degrees, the Sun seen from the Earth) and long-arc places.
#pragma once

#include <array>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/two_body.h"

namespace kvx::test {

struct ReferencePlace {
  std::string Set;
  double Ut = 0, Tt = 0, Ra = 0, Dec = 0;
  std::array<double, 3> Sun{};
};

struct ReferenceOrbit {
  double Epoch = 0;
  TStateVector State{};  // AU and AU per Gaussian time unit
  std::vector<ReferencePlace> Observations;
  std::vector<ReferencePlace> LongArc;
  std::vector<std::array<double, 3>> Sidereal;  // JD (UT), longitude west, angle (degrees)
  std::array<double, 5> Elements{};             // a, e, i, node, peri (J2000 ecliptic)
  std::vector<ReferencePlace> Set(const std::string& name) const {
    std::vector<ReferencePlace> out;
    for (const ReferencePlace& p : Observations) {
      if (p.Set == name) out.push_back(p);
    }
    return out;
  }
};

inline std::map<std::string, ReferenceOrbit> ReadReferenceOrbits(const std::string& file = "orbit_reference.csv") {
  std::map<std::string, ReferenceOrbit> orbits;
  std::ifstream in(std::string(KVX_FIXTURE_DIR) + "/" + file);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> f;
    std::stringstream ss(line);
    std::string cell;
    while (std::getline(ss, cell, ',')) f.push_back(cell);
    ReferenceOrbit& o = orbits[f[1]];
    if (f[0] == "orbit") {
      o.Epoch = std::stod(f[2]);
      for (int k = 0; k < 6; ++k) o.State[static_cast<std::size_t>(k)] = std::stod(f[static_cast<std::size_t>(3 + k)]);
      for (int k = 3; k < 6; ++k) o.State[static_cast<std::size_t>(k)] /= kGaussK;
    } else if (f[0] == "obs") {
      ReferencePlace p;
      p.Set = f[2];
      p.Ut = std::stod(f[3]);
      p.Tt = std::stod(f[4]);
      p.Ra = std::stod(f[5]);
      p.Dec = std::stod(f[6]);
      for (int k = 0; k < 3; ++k) p.Sun[static_cast<std::size_t>(k)] = std::stod(f[static_cast<std::size_t>(7 + k)]);
      o.Observations.push_back(p);
    } else if (f[0] == "elements") {
      for (int k = 0; k < 5; ++k) o.Elements[static_cast<std::size_t>(k)] = std::stod(f[static_cast<std::size_t>(2 + k)]);
    } else if (f[0] == "sidereal") {
      o.Sidereal.push_back({std::stod(f[2]), std::stod(f[3]), std::stod(f[4])});
    } else if (f[0] == "prop") {
      ReferencePlace p;
      p.Tt = std::stod(f[2]);
      p.Ra = std::stod(f[3]);
      p.Dec = std::stod(f[4]);
      for (int k = 0; k < 3; ++k) p.Sun[static_cast<std::size_t>(k)] = std::stod(f[static_cast<std::size_t>(5 + k)]);
      o.LongArc.push_back(p);
    }
  }
  return orbits;
}

}  // namespace kvx::test
