// The light elements of one variable star as the extremum table and the
// variable-star list use them (the configuration file keeps them as a 92-byte
// record: seven doubles in this order, a name of up to 30 characters and a
// one-character type).
#pragma once

#include <string>

namespace kvx {

struct TVariableStarElements {
  double RA = 0;       // right ascension, packed hours H.MMSS of Equinox
  double Dec = 0;      // declination, packed degrees D.MMSS of Equinox
  double MaxMag = 0;   // magnitude at maximum (the brightest value)
  double MinMag = 0;   // magnitude at minimum
  double Epoch = 0;    // Julian day of one extremum
  double Period = 0;   // period, days
  double Equinox = 0;  // equinox of RA and Dec as a year
  std::string Name;    // up to 30 characters, UTF-8
  std::string Type;    // one character: "b" eclipsing binary, "c" Cepheid, "m" Mira star

  bool operator==(const TVariableStarElements&) const = default;
};

}  // namespace kvx
