// libvsop87c.so: heliocentric rectangular coordinates and velocities of the
// planets referred to the mean dynamical ecliptic and equinox of date, from
// the series of version D (the positions of version D in rectangular form,
// the velocities from the analytic derivative of the series).
#include "theories/libraries/library_support.h"
#include "theories/libraries/theory_library_abi.h"

using namespace kvx::theory_data;

KVX_THEORY_EXPORT std::int32_t ping_c() {
  return ProbeAnswer(kvx::theory_abi::kProbeVsop87C, [] { return Vsop87D().TermCount() > 0; });
}

KVX_VSOP87_PLANET_ENTRIES(Vsop87D, vsop_c_mer, vsop_c_ven, vsop_c_mar, vsop_c_jup, vsop_c_sat, vsop_c_ura, vsop_c_nep)
// The Earth's heliocentric state (not the Sun's geocentric one).
KVX_VSOP87_RECTANGULAR_ENTRY(vsopcsun, Vsop87D, kEarth)
