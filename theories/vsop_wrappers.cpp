#include "theories/vsop_wrappers.h"

#include "core/frames.h"
#include "core/vector_math.h"
#include "theories/theory_libraries.h"

namespace kvx {
namespace {

using LibraryEntry = void (*)(double, double&, double&, double&, double&, double&, double&, double);

void Wrap(LibraryEntry entry, double& L, double& B, double& R, double T, double& X, double& Y, double& Z, double& VX,
          double& VY, double& VZ, TTruncationLevel level) {
  entry(T, X, Y, Z, VX, VY, VZ, static_cast<double>(level));
  CartesianToPolar(R, B, L, X, Y, Z);
  FK5Correction(L, B, T);
  PolarToCartesian(X, Y, Z, R, B, L);
}

}  // namespace

#define KVX_VSOP_WRAPPER(name, entry)                                                                           \
  void name(double& L, double& B, double& R, double T, double& X, double& Y, double& Z, double& VX, double& VY, \
            double& VZ, TTruncationLevel level) {                                                               \
    Wrap(entry, L, B, R, T, X, Y, Z, VX, VY, VZ, level);                                                        \
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
