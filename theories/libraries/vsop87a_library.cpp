// libvsop87a.so: heliocentric rectangular coordinates and velocities referred
// to the dynamical ecliptic and equinox of J2000, from the series of version
// B; the Earth, and the Earth-Moon barycentre from the Earth and the Moon of
// ELP-2000/82B.
#include "theories/libraries/library_support.h"
#include "theories/libraries/theory_library_abi.h"

namespace {
using namespace kvx::theory_data;

// X, Y, Z in AU; VX, VY, VZ in AU per day.
void Rectangular(VsopPlanet planet, double T, double* X, double* Y, double* Z, double* VX, double* VY, double* VZ,
                 double level) {
  StoreRectangular(Vsop87B(), planet, T, X, Y, Z, VX, VY, VZ, level);
}
}  // namespace

KVX_THEORY_EXPORT std::int32_t ping_a() {
  try {
    return Vsop87B().TermCount() > 0 && Elp82B().TermCount() > 0 ? kvx::theory_abi::kProbeVsop87A : 0;
  } catch (...) {
    return 0;
  }
}

#define KVX_VSOP87A_ENTRY(name, planet)                                                                      \
  KVX_THEORY_EXPORT void name(double T, double* X, double* Y, double* Z, double* VX, double* VY, double* VZ, \
                              double level) {                                                                \
    Rectangular(planet, T, X, Y, Z, VX, VY, VZ, level);                                                      \
  }

KVX_VSOP87A_ENTRY(vsop_a_mer, kMercury)
KVX_VSOP87A_ENTRY(vsop_a_ven, kVenus)
KVX_VSOP87A_ENTRY(vsop_a_mar, kMars)
KVX_VSOP87A_ENTRY(vsop_a_jup, kJupiter)
KVX_VSOP87A_ENTRY(vsop_a_sat, kSaturn)
KVX_VSOP87A_ENTRY(vsop_a_ura, kUranus)
KVX_VSOP87A_ENTRY(vsop_a_nep, kNeptune)
KVX_VSOP87A_ENTRY(vsop_a_erd, kEarth)

KVX_THEORY_EXPORT void vsop_a_emo(double T, double* X, double* Y, double* Z, double* VX, double* VY, double* VZ,
                                  double level) {
  VsopRectangular s;
  try {
    s = EarthMoonBarycentre(T, level);
  } catch (...) {
    s = VsopRectangular{};
  }
  StoreState(s, X, Y, Z, VX, VY, VZ);
}
