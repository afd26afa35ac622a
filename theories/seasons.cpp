#include "theories/seasons.h"

#include "core/frames.h"
#include "core/moon_phases.h"
#include "core/vector_math.h"
#include "theories/planet_positions.h"
#include "theories/sun_position.h"

namespace kvx {

double ApparentSunLongitude(const PositionFileHandles& handles, TTheorySelection selection, TTruncationLevel level,
                            double T) {
  double sL = 0, sB = 0, sR = 0, sX = 0, sY = 0, sZ = 0, sVX = 0, sVY = 0, sVZ = 0;
  SunPosition(handles, selection, sL, T, sB, sR, sX, sY, sZ, sVX, sVY, sVZ, level);
  double pX = 0, pY = 0, pZ = 0;
  double aX = 0, aY = 0, aZ = 0, asX = 0, asY = 0, asZ = 0, distance = 0, pVX = 0, pVY = 0, pVZ = 0;
  PlanetPositionDispatch(handles, level, selection, T, 0.0, 0.0, 0.0, sL, sB, sR, kDispatchSun, 2, pX, pY, pZ, sX, sY,
                         sZ, aX, aY, aZ, asX, asY, asZ, distance, sVX, sVY, sVZ, pVX, pVY, pVZ);
  EclipticToEquatorial(aX, aY, aZ, T);
  NutationEquatorial(aX, aY, aZ, T);
  EquatorialToEcliptic(aX, aY, aZ, T);
  double r = 0, latitude = 0, longitude = 0;
  CartesianToPolar(r, latitude, longitude, aX, aY, aZ);
  return longitude;
}

void SeasonStartsOfYear(const PositionFileHandles& handles, TTheorySelection selection, std::int32_t year,
                        std::int32_t yearOffset, std::array<double, 4>& starts, TTruncationLevel level) {
  const std::int32_t wanted = year + yearOffset - 2;
  for (std::int32_t season = 0; season < 4; ++season) {
    double jde = 0;
    MeanSeasonJde(wanted, season, jde);
    for (int pass = 0; pass < 3; ++pass) {
      const double T = (jde - 2451545.0) / 36525.0;
      const double lambda = ApparentSunLongitude(handles, selection, level, T);
      jde += 58.0 * SinDeg(90.0 * season - lambda);
    }
    starts[season] = jde;
  }
}

}  // namespace kvx
