#include "engine/planet_elements.h"

#include <array>
#include <cmath>
#include <limits>

#include "core/frames.h"
#include "core/time_scales.h"
#include "core/two_body.h"
#include "theories/planet_positions.h"
#include "theories/pluto.h"
#include "theories/theory_libraries.h"

namespace kvx {

namespace {

using TElementsEntry = void (*)(double, double&, double&, double&, double&, double&, double&, double);

// Mercury .. Neptune (index 1 .. 8; the Earth's slot is the barycentre).
constexpr std::array<TElementsEntry, 8> kEntries = {vsop_mer, vsop_ven, vsop_ear, vsop_mar,
                                                    vsop_jup, vsop_sat, vsop_ura, vsop_nep};

// Inverse masses of the VSOP theories; Pluto's from the later ephemerides.
constexpr std::array<double, 9> kInverseMass = {6023600.0, 408523.5, 328900.5, 3098710.0,  1047.355,
                                                3498.5,    22869.0,  19314.0,  130000000.0};

bool Finite(const TOsculatingElements& el) {
  for (long double v : {el.a, el.q, el.e, el.i, el.node, el.argPerihelion, el.lonPerihelion, el.M, el.n}) {
    if (!std::isfinite(static_cast<double>(v))) return false;
  }
  return true;
}

}  // namespace

TOsculatingElements TOsculatingElements::Unknown() {
  constexpr long double nan = std::numeric_limits<long double>::quiet_NaN();
  return {nan, nan, nan, nan, nan, nan, nan, nan, nan, nan};
}

long double PlanetMassRatio(int planet) {
  if (planet < 1 || planet > 9) return 0;
  return 1.0L / kInverseMass[static_cast<std::size_t>(planet - 1)];
}

bool PlanetPositionsVsop82(PositionFileHandles handles, TTheorySelection selection, std::uint8_t vsop82Available,
                           int planet, double jdTT, long double mass, TOsculatingElements& out) {
  out = TOsculatingElements::Unknown();
  if (!std::isfinite(jdTT) || planet < 1 || planet > 9) return false;
  const double T = JulianCenturiesJ2000(jdTT);
  TOsculatingElements el = TOsculatingElements::Unknown();
  if (planet <= 8) {
    if (vsop82Available == 0) return false;
    double a = 0, lambda = 0, k = 0, h = 0, q = 0, p = 0;
    kEntries[static_cast<std::size_t>(planet - 1)](T, a, lambda, k, h, q, p, -1.0);
    if (!(a > 0)) return false;  // an absent or failing library gives zeros
    TElementsEquinoctialResult r;
    ElementsFromEquinoctial(r, mass, a, lambda, h, k, p, q);
    el.a = r.a;
    el.e = r.e;
    el.i = r.i;
    el.node = r.node;
    el.argPerihelion = r.argPerihelion;
    el.lonPerihelion = r.lonPerihelion;
    el.M = r.meanAnomaly;
    el.n = r.meanMotion;
    el.q = PerihelionDistance(static_cast<double>(r.e), static_cast<double>(r.a));
  } else {
    if (!DateInTheoryRange(selection, T)) return false;
    double L = 0, B = 0, R = 0;
    std::array<double, 6> s{};
    PlutoHeliocentric(handles[8], selection, T, L, B, R, s[0], s[1], s[2], s[3], s[4], s[5]);
    TMatrix33 toJ2000;
    PrecessionMatrixEcliptic(toJ2000, T, 0.0);
    MatrixTimesVector(toJ2000, s[0], s[1], s[2]);
    MatrixTimesVector(toJ2000, s[3], s[4], s[5]);
    // The short internal series gives no velocity: no orbit to speak of.
    if (s[3] == 0 && s[4] == 0 && s[5] == 0) return false;
    TStateVectorExt state{};
    for (std::size_t j = 0; j < 6; ++j) state[j] = s[j];
    long double p = 0;
    std::uint8_t kind = 0;
    ElementsFromStateVector(state, el.a, el.q, jdTT, mass, el.e, el.i, el.node, el.argPerihelion, el.lonPerihelion, p,
                            el.M, el.n, el.perihelionTime, kind);
    el.perihelionTime = std::numeric_limits<long double>::quiet_NaN();
  }
  if (!Finite(el)) return false;
  out = el;
  return true;
}

}  // namespace kvx
