// The host planet's place in the Jupiter and Saturn moon blocks.
#include "theories/moon_host_planet.h"

#include "core/frames.h"
#include "core/vector_math.h"
#include "theories/planet_positions.h"
#include "theories/planet_series.h"

namespace kvx {

void FillHostPlanetBlock(const PositionFileHandles& handles, TTruncationLevel level, TTheorySelection selection,
                         const TObserverRecord& observer, std::int32_t body, double T, TPlanetMoonsBodyBlock& block) {
  block = TPlanetMoonsBodyBlock{};
  TPlanetMoonsBodyBlock& b = block;
  if (body == kHostSaturn) {
    SaturnHeliocentric(handles[5], selection, T, b.HelioL, b.HelioB, b.HelioR, b.HelioX, b.HelioY, b.HelioZ, b.HelioVX,
                       b.HelioVY, b.HelioVZ, level);
  } else {
    JupiterHeliocentric(handles[4], selection, T, b.HelioL, b.HelioB, b.HelioR, b.HelioX, b.HelioY, b.HelioZ, b.HelioVX,
                        b.HelioVY, b.HelioVZ, level);
  }
  TDispatchPlanet d;
  d.L = b.HelioL, d.B = b.HelioB, d.R = b.HelioR;
  d.X = b.HelioX, d.Y = b.HelioY, d.Z = b.HelioZ;
  d.VX = b.HelioVX, d.VY = b.HelioVY, d.VZ = b.HelioVZ;
  PlanetPositionDispatch(handles, level, selection, T, body, 2, DispatchSunOf(observer), d);
  b.HelioX = d.X, b.HelioY = d.Y, b.HelioZ = d.Z;
  b.HelioVX = d.VX, b.HelioVY = d.VY, b.HelioVZ = d.VZ;
  b.ApparentX = d.ApparentX, b.ApparentY = d.ApparentY, b.ApparentZ = d.ApparentZ;
  b.AstrometricX = d.AstrometricX, b.AstrometricY = d.AstrometricY, b.AstrometricZ = d.AstrometricZ;
  b.Delta = d.Distance;
  b.HelioZCopy = b.HelioZ;

  // Apparent place on the true equator of date, then back on the ecliptic.
  double x = b.ApparentX, y = b.ApparentY, z = b.ApparentZ;
  EclipticToEquatorial(x, y, z, T);
  NutationEquatorial(x, y, z, T);
  b.EquatorialX = x;
  b.EquatorialY = y;
  b.EquatorialZ = z;
  CartesianToPolar(b.EquatorialDistance, b.Declination, b.RightAscension, x, y, z);
  EquatorialToEcliptic(x, y, z, T);
  CartesianToPolar(b.ApparentDistance, b.ApparentLatitude, b.ApparentLongitude, x, y, z);

  EclipticToEquatorial(b.AstrometricX, b.AstrometricY, b.AstrometricZ, T);
}

}  // namespace kvx
