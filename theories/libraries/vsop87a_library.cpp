// libvsop87a.so: heliocentric rectangular coordinates and velocities referred
// to the dynamical ecliptic and equinox of J2000, from the series of version
// B; the Earth, and the Earth-Moon barycentre from the Earth and the Moon of
// ELP-2000/82B.
#include "theories/libraries/library_support.h"
#include "theories/libraries/theory_library_abi.h"

using namespace kvx::theory_data;

KVX_THEORY_EXPORT std::int32_t ping_a() {
  return ProbeAnswer(kvx::theory_abi::kProbeVsop87A,
                     [] { return Vsop87B().TermCount() > 0 && Elp82B().TermCount() > 0; });
}

KVX_VSOP87_PLANET_ENTRIES(Vsop87B, vsop_a_mer, vsop_a_ven, vsop_a_mar, vsop_a_jup, vsop_a_sat, vsop_a_ura, vsop_a_nep)
KVX_VSOP87_RECTANGULAR_ENTRY(vsop_a_erd, Vsop87B, kEarth)

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
