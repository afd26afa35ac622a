// libvsop87d.so: VSOP87 version D, heliocentric spherical coordinates of the
// planets referred to the mean dynamical ecliptic and equinox of date.
#include "theories/libraries/library_support.h"
#include "theories/libraries/theory_library_abi.h"

namespace {
using namespace kvx::theory_data;

// L, B in degrees (L in [0, 360)), R in AU.
void Spherical(VsopPlanet planet, double T, double* L, double* B, double* R, double level) {
  try {
    const VsopSpherical s = Vsop87D().Evaluate(planet, Millennia(T), TruncationThreshold(level), false);
    Store(L, DegreesIn360(s.L));
    Store(B, s.B * kRadToDeg);
    Store(R, s.R);
  } catch (...) {
    Store(L, 0.0);
    Store(B, 0.0);
    Store(R, 0.0);
  }
}
}  // namespace

KVX_THEORY_EXPORT std::int32_t ping() {
  return ProbeAnswer(kvx::theory_abi::kProbeVsop87D, [] { return Vsop87D().TermCount() > 0; });
}

#define KVX_VSOP87D_ENTRY(name, planet)                                                  \
  KVX_THEORY_EXPORT void name(double T, double* L, double* B, double* R, double level) { \
    Spherical(planet, T, L, B, R, level);                                                \
  }

KVX_VSOP87D_ENTRY(vsopmerkur_hel, kMercury)
KVX_VSOP87D_ENTRY(vsopvenus_hel, kVenus)
KVX_VSOP87D_ENTRY(vsopmars_hel, kMars)
KVX_VSOP87D_ENTRY(vsopjupiter_hel, kJupiter)
KVX_VSOP87D_ENTRY(vsopsaturn_hel, kSaturn)
KVX_VSOP87D_ENTRY(vsopuranus_hel, kUranus)
KVX_VSOP87D_ENTRY(vsopneptun_hel, kNeptune)

// The Sun seen from the Earth: the Earth's heliocentric longitude plus 180
// degrees, its latitude negated, the same distance.
KVX_THEORY_EXPORT void vsopsun_l(double T, double* L, double* B, double* R, double level) {
  double l = 0.0, b = 0.0, r = 0.0;
  Spherical(kEarth, T, &l, &b, &r, level);
  l += 180.0;
  if (l >= 360.0) l -= 360.0;
  Store(L, l);
  Store(B, -b);
  Store(R, r);
}
