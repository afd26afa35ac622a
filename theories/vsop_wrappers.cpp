#include "theories/vsop_wrappers.h"

#include "core/frames.h"
#include "core/vector_math.h"
#include "theories/theory_libraries.h"

namespace kvx {
namespace {

using LibraryEntry = void (*)(double, double&, double&, double&, double&, double&, double&, double);

// The place from one body's library entry point, FK5-corrected.
THeliocentricPlace Vsop87Place(LibraryEntry entry, double T, TTruncationLevel level) {
  THeliocentricPlace p;
  entry(T, p.X, p.Y, p.Z, p.VX, p.VY, p.VZ, static_cast<double>(level));
  CartesianToPolar(p.R, p.B, p.L, p.X, p.Y, p.Z);
  FK5Correction(p.L, p.B, T);
  PolarToCartesian(p.X, p.Y, p.Z, p.R, p.B, p.L);
  return p;
}

}  // namespace

#define KVX_VSOP_WRAPPER(name, entry)                                                                           \
  void name(double& L, double& B, double& R, double T, double& X, double& Y, double& Z, double& VX, double& VY, \
            double& VZ, TTruncationLevel level) {                                                               \
    Vsop87Place(entry, T, level).CopyTo(L, B, R, X, Y, Z, VX, VY, VZ);                                          \
  }

KVX_VSOP_WRAPPER(Vsop87AMercury, vsop_a_mer)
KVX_VSOP_WRAPPER(Vsop87AVenus, vsop_a_ven)
KVX_VSOP_WRAPPER(Vsop87AMars, vsop_a_mar)
KVX_VSOP_WRAPPER(Vsop87AJupiter, vsop_a_jup)
KVX_VSOP_WRAPPER(Vsop87ASaturn, vsop_a_sat)
KVX_VSOP_WRAPPER(Vsop87AUranus, vsop_a_ura)
KVX_VSOP_WRAPPER(Vsop87ANeptune, vsop_a_nep)
KVX_VSOP_WRAPPER(Vsop87AEarth, vsop_a_erd)
KVX_VSOP_WRAPPER(Vsop87AEarthMoon, vsop_a_emo)
KVX_VSOP_WRAPPER(Vsop87CMercury, vsop_c_mer)
KVX_VSOP_WRAPPER(Vsop87CVenus, vsop_c_ven)
KVX_VSOP_WRAPPER(Vsop87CMars, vsop_c_mar)
KVX_VSOP_WRAPPER(Vsop87CJupiter, vsop_c_jup)
KVX_VSOP_WRAPPER(Vsop87CSaturn, vsop_c_sat)
KVX_VSOP_WRAPPER(Vsop87CUranus, vsop_c_ura)
KVX_VSOP_WRAPPER(Vsop87CNeptune, vsop_c_nep)
KVX_VSOP_WRAPPER(Vsop87CSun, vsopcsun)

#undef KVX_VSOP_WRAPPER

int TruncationLevelItem(TTruncationLevel level) {
  for (int item = 0; item < 5; ++item)
    if (kTruncationLevels[item] == level) return item;
  return -1;
}

}  // namespace kvx
