// Heliocentric position of Pluto: from its position file, from the
// table-driven series (when a VSOP87 library is the planet theory; VSOP87
// has no Pluto) or from a short internal series.
#pragma once

#include <cstdint>

#include "theories/theory_types.h"

namespace kvx {

// Heliocentric position of Pluto.
//
// Given:
//   handle     Pluto's open position file (read only with planet theory 3);
//              the file holds equatorial coordinates of the equinox J2000
//   selection  byte 0: 3 position file, 1 or 2 table-driven series, any
//              other value the internal series
//   T          Julian centuries of 36525 days from JD 2451545.0, dynamical
//              time
// Returned:
//   L, B       heliocentric ecliptic longitude [0, 360) and latitude,
//              degrees, mean ecliptic and equinox of date
//   R          radius vector, AU
//   X, Y, Z    heliocentric rectangular ecliptic coordinates of date, AU
//   VX, VY, VZ velocity, AU per day, same frame (table-driven series and
//              file); exactly 0.0 for the internal series
// Notes:
//   File and table-driven series: rotated from the equator of J2000 to the
//   ecliptic of J2000 (mean obliquity of J2000), then precessed to the
//   ecliptic of date. The internal series gives the ecliptic of 1950 and
//   precesses it to the date with a rigorous rotation of its own; it is
//   meant for 1900-2100 (accuracy a few arcseconds).
void PlutoHeliocentric(PositionFileHandle handle, TTheorySelection selection, double T, double& L, double& B, double& R,
                       double& X, double& Y, double& Z, double& VX, double& VY, double& VZ);

// Table-driven series of Pluto: heliocentric equatorial rectangular
// coordinates of the equinox J2000.
//
// Given:
//   jd         Julian day, dynamical time
// Returned:
//   X, Y, Z    position, AU
//   VX, VY, VZ velocity, AU per day
//   status     always 0
// Notes:
//   Fitted over JD 2341972.5 .. 2488092.5 (1700-2100); a day outside that
//   interval is evaluated the same way, without a warning and with
//   growing error.
// Reference: a frequency-analysis solution of Pluto's motion (cubic secular
//   part and 106 periodic and mixed terms).
void TableDrivenSeries(double& X, double& Y, double& Z, double jd, double& VX, double& VY, double& VZ,
                       std::int32_t& status);

}  // namespace kvx
