// libvsop87c.so: heliocentric rectangular coordinates and velocities of the
// planets referred to the mean dynamical ecliptic and equinox of date, from
// the series of version D (the positions of version D in rectangular form,
// the velocities from the analytic derivative of the series).
#include "theories/libraries/library_support.h"
#include "theories/libraries/theory_library_abi.h"

namespace {
using namespace kvx::theory_data;

// X, Y, Z in AU; VX, VY, VZ in AU per day.
void Rectangular(VsopPlanet planet, double T, double* X, double* Y, double* Z, double* VX, double* VY, double* VZ,
                 double level) {
  StoreRectangular(Vsop87D(), planet, T, X, Y, Z, VX, VY, VZ, level);
}
}  // namespace

KVX_THEORY_EXPORT std::int32_t ping_c() {
  try {
    return Vsop87D().TermCount() > 0 ? kvx::theory_abi::kProbeVsop87C : 0;
  } catch (...) {
    return 0;
  }
}

#define KVX_VSOP87C_ENTRY(name, planet)                                                                      \
  KVX_THEORY_EXPORT void name(double T, double* X, double* Y, double* Z, double* VX, double* VY, double* VZ, \
                              double level) {                                                                \
    Rectangular(planet, T, X, Y, Z, VX, VY, VZ, level);                                                      \
  }

KVX_VSOP87C_ENTRY(vsop_c_mer, kMercury)
KVX_VSOP87C_ENTRY(vsop_c_ven, kVenus)
KVX_VSOP87C_ENTRY(vsop_c_mar, kMars)
KVX_VSOP87C_ENTRY(vsop_c_jup, kJupiter)
KVX_VSOP87C_ENTRY(vsop_c_sat, kSaturn)
KVX_VSOP87C_ENTRY(vsop_c_ura, kUranus)
KVX_VSOP87C_ENTRY(vsop_c_nep, kNeptune)
// The Earth's heliocentric state (not the Sun's geocentric one).
KVX_VSOP87C_ENTRY(vsopcsun, kEarth)
