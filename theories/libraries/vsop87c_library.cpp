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

KVX_VSOP87_RECTANGULAR_ENTRY(vsop_c_mer, Vsop87D, kMercury)
KVX_VSOP87_RECTANGULAR_ENTRY(vsop_c_ven, Vsop87D, kVenus)
KVX_VSOP87_RECTANGULAR_ENTRY(vsop_c_mar, Vsop87D, kMars)
KVX_VSOP87_RECTANGULAR_ENTRY(vsop_c_jup, Vsop87D, kJupiter)
KVX_VSOP87_RECTANGULAR_ENTRY(vsop_c_sat, Vsop87D, kSaturn)
KVX_VSOP87_RECTANGULAR_ENTRY(vsop_c_ura, Vsop87D, kUranus)
KVX_VSOP87_RECTANGULAR_ENTRY(vsop_c_nep, Vsop87D, kNeptune)
// The Earth's heliocentric state (not the Sun's geocentric one).
KVX_VSOP87_RECTANGULAR_ENTRY(vsopcsun, Vsop87D, kEarth)
