#include "theories/seasons.h"

#include "core/frames.h"
#include "core/moon_phases.h"
#include "core/vector_math.h"
#include "theories/planet_positions.h"
#include "theories/sun_position.h"

namespace kvx {

double ApparentSunLongitude(const PositionFileHandles& handles, TTheorySelection selection, TTruncationLevel level,
                            double T) {
  TDispatchSun s;
  SunPosition(handles, selection, s.L, T, s.B, s.R, s.X, s.Y, s.Z, s.VX, s.VY, s.VZ, level);
  TDispatchPlanet sunAsPlanet;
  PlanetPositionDispatch(handles, level, selection, T, kDispatchSun, 2, s, sunAsPlanet);
  double aX = sunAsPlanet.ApparentX, aY = sunAsPlanet.ApparentY, aZ = sunAsPlanet.ApparentZ;
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
