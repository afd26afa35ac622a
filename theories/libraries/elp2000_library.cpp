// libelp2000.so: the Moon by ELP-2000/82B.
#include "theories/libraries/library_support.h"
#include "theories/libraries/theory_library_abi.h"

using namespace kvx::theory_data;

KVX_THEORY_EXPORT std::int32_t ping_elp() {
  return ProbeAnswer(kvx::theory_abi::kProbeElp2000, [] { return Elp82B().TermCount() > 0; });
}

// JD: Julian date, dynamical time. X, Y, Z: geocentric, km, mean ecliptic and
// equinox of J2000.
KVX_THEORY_EXPORT void ELP82B(double JD, double* X, double* Y, double* Z, double level) {
  ElpPosition m;
  try {
    m = Elp82B().Evaluate(JD, TruncationThreshold(level));
  } catch (...) {
    m = ElpPosition{};
  }
  Store(X, m.x);
  Store(Y, m.y);
  Store(Z, m.z);
}
