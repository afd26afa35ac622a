#include "theories/sgp4.h"

#include <cmath>
#include <numbers>

#include "core/angle_constants.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "theories/tle.h"

namespace kvx {

namespace {

constexpr double kTwoThirds = 2.0 / 3.0;

// WGS-72 constants of the models (the length unit, one earth radius, is
// kSatEarthRadiusKm).
constexpr double kCk2 = 0.0005413079;             // J2 / 2
constexpr double kCk4Times125 = 7.762359375e-07;  // 1.25 CK4, CK4 = -3/8 J4
constexpr double kA3ovk2 = 0.004690140306468832;  // -J3 / CK2
constexpr double kMinutesPerDay = 1440.0;
constexpr double kS0 = 78.0;   // km, atmosphere parameter s
constexpr double kQ0 = 120.0;  // km, atmosphere parameter q0

double ComputeXke() { return std::sqrt(1434962880.0 / (kSatEarthRadiusKm * kSatEarthRadiusKm * kSatEarthRadiusKm)); }
double ComputeQoms2t() { return std::pow((kQ0 - kS0) / kSatEarthRadiusKm, 4.0); }

// ---------------------------------------------------------------------------
// Deep-space terms.

// The Moon's orbit and the Sun's and Moon's mean anomalies for a day count
// (days from J2000 = days from 1950 January 0.0 + 18261.5). They depend on
// the day only, so a set loaded again reuses them.
struct LunarSolarGeometry {
  double day = 0;  // day count they belong to (0: none yet)
  double zcosil = 0, zsinil = 0, zsinhl = 0, zcoshl = 0, zcosgl = 0, zsingl = 0;
  double zmol = 0, zmos = 0;
};
LunarSolarGeometry lunar_solar_geometry;

void UpdateLunarSolarGeometry(double day) {
  LunarSolarGeometry& g = lunar_solar_geometry;
  if (g.day == day) return;
  g.day = day;
  double xnodce = Mod2Pi(4.5236020 - 9.2422029e-4 * day);
  double stem = std::sin(xnodce), ctem = std::cos(xnodce);
  g.zcosil = 0.91375164 - 0.03568096 * ctem;
  g.zsinil = std::sqrt(1.0 - g.zcosil * g.zcosil);
  g.zsinhl = 0.089683511 * stem / g.zsinil;
  g.zcoshl = std::sqrt(1.0 - g.zsinhl * g.zsinhl);
  double gam = 5.8351514 + 0.0019443680 * day;
  double zx = 0.39785416 * stem / g.zsinil;
  double zy = g.zcoshl * ctem + 0.91744867 * g.zsinhl * stem;
  zx = ArcTan2Rad(zx, zy);
  zx = gam + zx - xnodce;
  g.zcosgl = std::cos(zx);
  g.zsingl = std::sin(zx);
  g.zmol = Mod2Pi(4.7199672 + 0.22997150 * day - gam);
  g.zmos = Mod2Pi(6.2565837 + 0.017201977 * day);
}

// Periodic coefficients of one perturbing body (the Sun or the Moon): of
// eccentricity, inclination, mean anomaly, perigee plus node, and node.
struct PeriodicCoefficients {
  double e2 = 0, e3 = 0, i2 = 0, i3 = 0, l2 = 0, l3 = 0, l4 = 0, gh2 = 0, gh3 = 0, gh4 = 0, h2 = 0, h3 = 0;
};

// One body's contribution to eccentricity, inclination, mean anomaly,
// perigee plus node and node: secular rates (per minute) or periodic terms.
struct ElementTerms {
  double e = 0, i = 0, l = 0, gh = 0, h = 0;
};

// Everything the deep-space terms carry from the initialisation to the
// secular and periodic steps.
struct DeepSpaceModel {
  double gsto = 0;  // Greenwich sidereal angle at epoch, radians
  // Lunar-solar periodic coefficients.
  PeriodicCoefficients sun, moon;
  double zmol = 0, zmos = 0;
  // Lunar-solar secular rates per minute.
  double dedt = 0, didt = 0, dmdt = 0, domdt = 0, dnodt = 0;
  // Resonance: 0 none, 1 synchronous (24 h), 2 half-day (12 h).
  int resonance = 0;
  double del1 = 0, del2 = 0, del3 = 0;
  double d2201 = 0, d2211 = 0, d3210 = 0, d3222 = 0, d4410 = 0, d4422 = 0, d5220 = 0, d5232 = 0, d5421 = 0, d5433 = 0;
  double xfact = 0, xlamo = 0;
  // Integrator state: time reached (minutes), resonant longitude and mean motion there.
  double atime = 0, xli = 0, xni = 0;
};

// ---------------------------------------------------------------------------
// Coefficients of one initialised model.

struct ModelCoefficients {
  // Elements at epoch.
  double mo = 0, nodeo = 0, argpo = 0, inclo = 0, ecco = 0, bstar = 0;
  double no = 0;    // un-Kozai'd mean motion N, radians per minute
  double aodp = 0;  // semi-major axis a0 / (1 - delta0), earth radii
  double cosio = 0, sinio = 0, x3thm1 = 0, x1mth2 = 0, x7thm1 = 0;
  double eta = 0, c1 = 0, c4 = 0, c5 = 0, d2 = 0, d3 = 0, d4 = 0;
  double t2cof = 0, t3cof = 0, t4cof = 0, t5cof = 0;
  double delmo = 0, sinmo = 0, omgcof = 0, xmcof = 0, xnodcf = 0;
  double xmdot = 0, omgdot = 0, xnodot = 0, xlcof = 0, aycof = 0;
  bool simpleDrag = false;
  bool deep = false;
  DeepSpaceModel ds;
  bool valid = false;
};

ModelCoefficients sgp4_model;
ModelCoefficients sdp4_model;

// The lunar-solar coefficients of one body (Sun or Moon) for the satellite's
// orbit at epoch: the z.. and s.. quantities of the report.
struct BodyTerms {
  double s1, s2, s3, s4, s5, s6, s7;
  double z1, z2, z3, z11, z12, z13, z21, z22, z23, z31, z32, z33;
};

BodyTerms ComputeBodyTerms(double zcosg, double zsing, double zcosi, double zsini, double zcosh, double zsinh,
                           double cc, double em, double nm, double cosim, double sinim, double cosomm, double sinomm) {
  double emsq = em * em;
  double betasq = 1.0 - emsq;
  double rtemsq = std::sqrt(betasq);
  double a1 = zcosg * zcosh + zsing * zcosi * zsinh;
  double a3 = -zsing * zcosh + zcosg * zcosi * zsinh;
  double a7 = -zcosg * zsinh + zsing * zcosi * zcosh;
  double a8 = zsing * zsini;
  double a9 = zsing * zsinh + zcosg * zcosi * zcosh;
  double a10 = zcosg * zsini;
  double a2 = cosim * a7 + sinim * a8;
  double a4 = cosim * a9 + sinim * a10;
  double a5 = -sinim * a7 + cosim * a8;
  double a6 = -sinim * a9 + cosim * a10;
  double x1 = a1 * cosomm + a2 * sinomm;
  double x2 = a3 * cosomm + a4 * sinomm;
  double x3 = -a1 * sinomm + a2 * cosomm;
  double x4 = -a3 * sinomm + a4 * cosomm;
  double x5 = a5 * sinomm;
  double x6 = a6 * sinomm;
  double x7 = a5 * cosomm;
  double x8 = a6 * cosomm;
  BodyTerms b{};
  b.z31 = 12.0 * x1 * x1 - 3.0 * x3 * x3;
  b.z32 = 24.0 * x1 * x2 - 6.0 * x3 * x4;
  b.z33 = 12.0 * x2 * x2 - 3.0 * x4 * x4;
  b.z1 = 3.0 * (a1 * a1 + a2 * a2) + b.z31 * emsq;
  b.z2 = 6.0 * (a1 * a3 + a2 * a4) + b.z32 * emsq;
  b.z3 = 3.0 * (a3 * a3 + a4 * a4) + b.z33 * emsq;
  b.z11 = -6.0 * a1 * a5 + emsq * (-24.0 * x1 * x7 - 6.0 * x3 * x5);
  b.z12 = -6.0 * (a1 * a6 + a3 * a5) + emsq * (-24.0 * (x2 * x7 + x1 * x8) - 6.0 * (x3 * x6 + x4 * x5));
  b.z13 = -6.0 * a3 * a6 + emsq * (-24.0 * x2 * x8 - 6.0 * x4 * x6);
  b.z21 = 6.0 * a2 * a5 + emsq * (24.0 * x1 * x5 - 6.0 * x3 * x7);
  b.z22 = 6.0 * (a4 * a5 + a2 * a6) + emsq * (24.0 * (x2 * x5 + x1 * x6) - 6.0 * (x4 * x7 + x3 * x8));
  b.z23 = 6.0 * a4 * a6 + emsq * (24.0 * x2 * x6 - 6.0 * x4 * x8);
  b.z1 = b.z1 + b.z1 + betasq * b.z31;
  b.z2 = b.z2 + b.z2 + betasq * b.z32;
  b.z3 = b.z3 + b.z3 + betasq * b.z33;
  b.s3 = cc / nm;
  b.s2 = -0.5 * b.s3 / rtemsq;
  b.s4 = b.s3 * rtemsq;
  b.s1 = -15.0 * em * b.s4;
  b.s5 = x1 * x3 + x2 * x4;
  b.s6 = x2 * x3 + x1 * x4;
  b.s7 = x2 * x4 - x1 * x3;
  return b;
}

constexpr double kZns = 1.19459e-5;              // solar mean motion, radians per minute
constexpr double kZes = 0.01675;                 // solar eccentricity
constexpr double kZnl = 1.5835218e-4;            // lunar mean motion, radians per minute
constexpr double kZel = 0.05490;                 // lunar eccentricity
constexpr double kEarthRotation = 0.0043752691;  // radians per minute
constexpr double kIncLimit = 5.2359877e-2;       // 3 degrees

// The periodic coefficients of one body from its terms; ze is the body's
// eccentricity (kZes or kZel).
PeriodicCoefficients PeriodicCoefficientsOf(const BodyTerms& b, double emsq, double ze) {
  PeriodicCoefficients c;
  c.e2 = 2.0 * b.s1 * b.s6;
  c.e3 = 2.0 * b.s1 * b.s7;
  c.i2 = 2.0 * b.s2 * b.z12;
  c.i3 = 2.0 * b.s2 * (b.z13 - b.z11);
  c.l2 = -2.0 * b.s3 * b.z2;
  c.l3 = -2.0 * b.s3 * (b.z3 - b.z1);
  c.l4 = -2.0 * b.s3 * (-21.0 - 9.0 * emsq) * ze;
  c.gh2 = 2.0 * b.s4 * b.z32;
  c.gh3 = 2.0 * b.s4 * (b.z33 - b.z31);
  c.gh4 = -18.0 * b.s4 * ze;
  c.h2 = -2.0 * b.s2 * b.z22;
  c.h3 = -2.0 * b.s2 * (b.z23 - b.z21);
  return c;
}

// The secular rates one body gives (per minute); zn is its mean motion
// (kZns or kZnl). The node rate is not yet divided by sin i.
ElementTerms SecularRatesOf(const BodyTerms& b, double emsq, double zn) {
  ElementTerms r;
  r.e = b.s1 * zn * b.s5;
  r.i = b.s2 * zn * (b.z11 + b.z13);
  r.l = -zn * b.s3 * (b.z1 + b.z3 - 14.0 - 6.0 * emsq);
  r.gh = b.s4 * zn * (b.z31 + b.z33 - 6.0);
  r.h = -zn * b.s2 * (b.z21 + b.z23);
  return r;
}

// Deep-space initialisation: lunar-solar periodic coefficients and secular
// rates, and the resonance set-up.
void DeepSpaceInit(ModelCoefficients& m) {
  DeepSpaceModel& ds = m.ds;
  ds = DeepSpaceModel{};
  ds.gsto = EpochSiderealAngle(SgpElements.epoch);
  double day = SgpEpochDaysSince1950 + 18261.5;
  UpdateLunarSolarGeometry(day);
  const LunarSolarGeometry& g = lunar_solar_geometry;

  double em = m.ecco, nm = m.no;
  double emsq = em * em;
  double sinim = std::sin(m.inclo), cosim = std::cos(m.inclo);
  double snodm = std::sin(m.nodeo), cnodm = std::cos(m.nodeo);
  double sinomm = std::sin(m.argpo), cosomm = std::cos(m.argpo);

  // Sun: fixed orientation of the ecliptic.
  BodyTerms sun = ComputeBodyTerms(0.1945905, -0.98088458, 0.91744867, 0.39785416, cnodm, snodm, 2.9864797e-6, em, nm,
                                   cosim, sinim, cosomm, sinomm);
  // Moon: orbit of the day.
  double zcosh = g.zcoshl * cnodm + g.zsinhl * snodm;
  double zsinh = snodm * g.zcoshl - cnodm * g.zsinhl;
  BodyTerms moon = ComputeBodyTerms(g.zcosgl, g.zsingl, g.zcosil, g.zsinil, zcosh, zsinh, 4.7968065e-7, em, nm, cosim,
                                    sinim, cosomm, sinomm);
  ds.zmol = g.zmol;
  ds.zmos = g.zmos;

  ds.sun = PeriodicCoefficientsOf(sun, emsq, kZes);
  ds.moon = PeriodicCoefficientsOf(moon, emsq, kZel);

  // Secular rates.
  bool nearEquatorial = m.inclo < kIncLimit || m.inclo > kPi - kIncLimit;
  const ElementTerms solar = SecularRatesOf(sun, emsq, kZns);
  const ElementTerms lunar = SecularRatesOf(moon, emsq, kZnl);
  double shs = solar.h;
  if (nearEquatorial) shs = 0.0;
  if (sinim != 0.0) shs /= sinim;
  double sgs = solar.gh - cosim * shs;

  ds.dedt = solar.e + lunar.e;
  ds.didt = solar.i + lunar.i;
  ds.dmdt = solar.l + lunar.l;
  double shll = lunar.h;
  if (nearEquatorial) shll = 0.0;
  ds.domdt = sgs + lunar.gh;
  ds.dnodt = shs;
  if (sinim != 0.0) {
    ds.domdt -= cosim / sinim * shll;
    ds.dnodt += shll / sinim;
  }

  // Resonance.
  ds.resonance = 0;
  if (nm > 0.0034906585 && nm < 0.0052359877)
    ds.resonance = 1;
  else if (nm >= 8.26e-3 && nm <= 9.24e-3 && em >= 0.5)
    ds.resonance = 2;
  if (ds.resonance == 0) return;

  double theta = Mod2Pi(ds.gsto);
  double aonv = std::pow(nm / XKE, kTwoThirds);
  if (ds.resonance == 2) {
    double cosisq = cosim * cosim;
    double eoc = em * emsq;
    double g201 = -0.306 - (em - 0.64) * 0.440;
    double g211, g310, g322, g410, g422, g520, g521, g532, g533;
    if (em <= 0.65) {
      g211 = 3.616 - 13.2470 * em + 16.2900 * emsq;
      g310 = -19.302 + 117.3900 * em - 228.4190 * emsq + 156.5910 * eoc;
      g322 = -18.9068 + 109.7927 * em - 214.6334 * emsq + 146.5816 * eoc;
      g410 = -41.122 + 242.6940 * em - 471.0940 * emsq + 313.9530 * eoc;
      g422 = -146.407 + 841.8800 * em - 1629.014 * emsq + 1083.4350 * eoc;
      g520 = -532.114 + 3017.977 * em - 5740.032 * emsq + 3708.2760 * eoc;
    } else {
      g211 = -72.099 + 331.819 * em - 508.738 * emsq + 266.724 * eoc;
      g310 = -346.844 + 1582.851 * em - 2415.925 * emsq + 1246.113 * eoc;
      g322 = -342.585 + 1554.908 * em - 2366.899 * emsq + 1215.972 * eoc;
      g410 = -1052.797 + 4758.686 * em - 7193.992 * emsq + 3651.957 * eoc;
      g422 = -3581.690 + 16178.110 * em - 24462.770 * emsq + 12422.520 * eoc;
      if (em > 0.715)
        g520 = -5149.66 + 29936.92 * em - 54087.36 * emsq + 31324.56 * eoc;
      else
        g520 = 1464.74 - 4664.75 * em + 3763.64 * emsq;
    }
    if (em < 0.7) {
      g533 = -919.22770 + 4988.6100 * em - 9064.7700 * emsq + 5542.21 * eoc;
      g521 = -822.71072 + 4568.6173 * em - 8491.4146 * emsq + 5337.524 * eoc;
      g532 = -853.66600 + 4690.2500 * em - 8624.7700 * emsq + 5341.4 * eoc;
    } else {
      g533 = -37995.780 + 161616.52 * em - 229838.20 * emsq + 109377.94 * eoc;
      g521 = -51752.104 + 218913.95 * em - 309468.16 * emsq + 146349.42 * eoc;
      g532 = -40023.880 + 170470.89 * em - 242699.48 * emsq + 115605.82 * eoc;
    }
    double sini2 = sinim * sinim;
    double f220 = 0.75 * (1.0 + 2.0 * cosim + cosisq);
    double f221 = 1.5 * sini2;
    double f321 = 1.875 * sinim * (1.0 - 2.0 * cosim - 3.0 * cosisq);
    double f322 = -1.875 * sinim * (1.0 + 2.0 * cosim - 3.0 * cosisq);
    double f441 = 35.0 * sini2 * f220;
    double f442 = 39.3750 * sini2 * sini2;
    double f522 = 9.84375 * sinim *
                  (sini2 * (1.0 - 2.0 * cosim - 5.0 * cosisq) + 0.33333333 * (-2.0 + 4.0 * cosim + 6.0 * cosisq));
    double f523 = sinim * (4.92187512 * sini2 * (-2.0 - 4.0 * cosim + 10.0 * cosisq) +
                           6.56250012 * (1.0 + 2.0 * cosim - 3.0 * cosisq));
    double f542 = 29.53125 * sinim * (2.0 - 8.0 * cosim + cosisq * (-12.0 + 8.0 * cosim + 10.0 * cosisq));
    double f543 = 29.53125 * sinim * (-2.0 - 8.0 * cosim + cosisq * (12.0 + 8.0 * cosim - 10.0 * cosisq));
    constexpr double kRoot22 = 1.7891679e-6, kRoot32 = 3.7393792e-7, kRoot44 = 7.3636953e-9, kRoot52 = 1.1428639e-7,
                     kRoot54 = 2.1765803e-9;
    double temp1 = 3.0 * nm * nm * aonv * aonv;
    double temp = temp1 * kRoot22;
    ds.d2201 = temp * f220 * g201;
    ds.d2211 = temp * f221 * g211;
    temp1 *= aonv;
    temp = temp1 * kRoot32;
    ds.d3210 = temp * f321 * g310;
    ds.d3222 = temp * f322 * g322;
    temp1 *= aonv;
    temp = 2.0 * temp1 * kRoot44;
    ds.d4410 = temp * f441 * g410;
    ds.d4422 = temp * f442 * g422;
    temp1 *= aonv;
    temp = temp1 * kRoot52;
    ds.d5220 = temp * f522 * g520;
    ds.d5232 = temp * f523 * g532;
    temp = 2.0 * temp1 * kRoot54;
    ds.d5421 = temp * f542 * g521;
    ds.d5433 = temp * f543 * g533;
    ds.xlamo = Mod2Pi(m.mo + m.nodeo + m.nodeo - theta - theta);
    ds.xfact = m.xmdot + ds.dmdt + 2.0 * (m.xnodot + ds.dnodt - kEarthRotation) - m.no;
  } else {
    constexpr double kQ22 = 1.7891679e-6, kQ31 = 2.1460748e-6, kQ33 = 2.2123015e-7;
    double g200 = 1.0 + emsq * (-2.5 + 0.8125 * emsq);
    double g310 = 1.0 + 2.0 * emsq;
    double g300 = 1.0 + emsq * (-6.0 + 6.60937 * emsq);
    double f220 = 0.75 * (1.0 + cosim) * (1.0 + cosim);
    double f311 = 0.9375 * sinim * sinim * (1.0 + 3.0 * cosim) - 0.75 * (1.0 + cosim);
    double f330 = 1.875 * Cube(1.0 + cosim);
    double del1 = 3.0 * nm * nm * aonv * aonv;
    ds.del2 = 2.0 * del1 * f220 * g200 * kQ22;
    ds.del3 = 3.0 * del1 * f330 * g300 * kQ33 * aonv;
    ds.del1 = del1 * f311 * g310 * kQ31 * aonv;
    ds.xlamo = Mod2Pi(m.mo + m.nodeo + m.argpo - theta);
    ds.xfact = m.xmdot + (m.omgdot + m.xnodot) - kEarthRotation + ds.dmdt + ds.domdt + ds.dnodt - m.no;
  }
  ds.xli = ds.xlamo;
  ds.xni = m.no;
  ds.atime = 0.0;
}

// Deep-space secular terms at t minutes: the lunar-solar secular rates and
// the resonance integration (fixed 720-minute steps from epoch, forwards or
// backwards). Updates the mean elements in place.
void DeepSpaceSecular(ModelCoefficients& m, double t, double& em, double& argpm, double& inclm, double& mm,
                      double& nodem, double& nm) {
  DeepSpaceModel& ds = m.ds;
  em += ds.dedt * t;
  inclm += ds.didt * t;
  argpm += ds.domdt * t;
  nodem += ds.dnodt * t;
  mm += ds.dmdt * t;
  if (ds.resonance == 0) return;

  constexpr double kFasx2 = 0.13130908, kFasx4 = 2.8843198, kFasx6 = 0.37448087;
  constexpr double kG22 = 5.7686396, kG32 = 0.95240898, kG44 = 1.8014998, kG52 = 1.0508330, kG54 = 4.4108898;
  constexpr double kStep = 720.0, kStep2 = 259200.0;

  // Integrate from epoch whenever the target is not further out on the same side.
  if (ds.atime == 0.0 || t * ds.atime <= 0.0 || std::fabs(t) < std::fabs(ds.atime)) {
    ds.atime = 0.0;
    ds.xni = m.no;
    ds.xli = ds.xlamo;
  }
  double delt = t > 0.0 ? kStep : -kStep;
  double xndt = 0, xldot = 0, xnddt = 0, ft = 0;
  // The number of steps is bounded by |t| / 720 (t is finite).
  for (;;) {
    if (ds.resonance == 1) {
      xndt = ds.del1 * std::sin(ds.xli - kFasx2) + ds.del2 * std::sin(2.0 * (ds.xli - kFasx4)) +
             ds.del3 * std::sin(3.0 * (ds.xli - kFasx6));
      xldot = ds.xni + ds.xfact;
      xnddt = ds.del1 * std::cos(ds.xli - kFasx2) + 2.0 * ds.del2 * std::cos(2.0 * (ds.xli - kFasx4)) +
              3.0 * ds.del3 * std::cos(3.0 * (ds.xli - kFasx6));
      xnddt *= xldot;
    } else {
      double xomi = m.argpo + m.omgdot * ds.atime;
      double x2omi = xomi + xomi;
      double x2li = ds.xli + ds.xli;
      xndt = ds.d2201 * std::sin(x2omi + ds.xli - kG22) + ds.d2211 * std::sin(ds.xli - kG22) +
             ds.d3210 * std::sin(xomi + ds.xli - kG32) + ds.d3222 * std::sin(-xomi + ds.xli - kG32) +
             ds.d4410 * std::sin(x2omi + x2li - kG44) + ds.d4422 * std::sin(x2li - kG44) +
             ds.d5220 * std::sin(xomi + ds.xli - kG52) + ds.d5232 * std::sin(-xomi + ds.xli - kG52) +
             ds.d5421 * std::sin(xomi + x2li - kG54) + ds.d5433 * std::sin(-xomi + x2li - kG54);
      xldot = ds.xni + ds.xfact;
      xnddt = ds.d2201 * std::cos(x2omi + ds.xli - kG22) + ds.d2211 * std::cos(ds.xli - kG22) +
              ds.d3210 * std::cos(xomi + ds.xli - kG32) + ds.d3222 * std::cos(-xomi + ds.xli - kG32) +
              ds.d5220 * std::cos(xomi + ds.xli - kG52) + ds.d5232 * std::cos(-xomi + ds.xli - kG52) +
              2.0 * (ds.d4410 * std::cos(x2omi + x2li - kG44) + ds.d4422 * std::cos(x2li - kG44) +
                     ds.d5421 * std::cos(xomi + x2li - kG54) + ds.d5433 * std::cos(-xomi + x2li - kG54));
      xnddt *= xldot;
    }
    if (std::fabs(t - ds.atime) < kStep) {
      ft = t - ds.atime;
      break;
    }
    ds.xli += xldot * delt + xndt * kStep2;
    ds.xni += xndt * delt + xnddt * kStep2;
    ds.atime += delt;
  }
  nm = ds.xni + xndt * ft + xnddt * ft * ft * 0.5;
  double xl = ds.xli + xldot * ft + xndt * ft * ft * 0.5;
  double theta = Mod2Pi(ds.gsto + t * kEarthRotation);
  if (ds.resonance == 1)
    mm = xl - nodem - argpm + theta;
  else
    mm = xl - 2.0 * nodem + 2.0 * theta;
}

// One body's periodic terms at t minutes: zmo is its mean anomaly at epoch,
// zn its mean motion, ze its eccentricity.
ElementTerms PeriodicTermsAt(const PeriodicCoefficients& c, double zmo, double zn, double ze, double t) {
  const double zm = zmo + zn * t;
  const double zf = zm + 2.0 * ze * std::sin(zm);
  const double sinzf = std::sin(zf);
  const double f2 = 0.5 * sinzf * sinzf - 0.25;
  const double f3 = -0.5 * sinzf * std::cos(zf);
  ElementTerms p;
  p.e = c.e2 * f2 + c.e3 * f3;
  p.i = c.i2 * f2 + c.i3 * f3;
  p.l = c.l2 * f2 + c.l3 * f3 + c.l4 * sinzf;
  p.gh = c.gh2 * f2 + c.gh3 * f3 + c.gh4 * sinzf;
  p.h = c.h2 * f2 + c.h3 * f3;
  return p;
}

// Deep-space periodic terms at t minutes, added to the elements in place.
// They are computed afresh for every t: reusing the terms of a time up to 30
// minutes away, as the original deep-space code did to save time, moves a
// high orbit by kilometres.
void DeepSpacePeriodic(const ModelCoefficients& m, double t, double& ep, double& inclp, double& nodep, double& argpp,
                       double& mp) {
  const DeepSpaceModel& ds = m.ds;
  const ElementTerms solar = PeriodicTermsAt(ds.sun, ds.zmos, kZns, kZes, t);
  const ElementTerms lunar = PeriodicTermsAt(ds.moon, ds.zmol, kZnl, kZel, t);
  double pe = solar.e + lunar.e, pinc = solar.i + lunar.i, pl = solar.l + lunar.l, pgh = solar.gh + lunar.gh,
         ph = solar.h + lunar.h;
  inclp += pinc;
  ep += pe;
  double sinip = std::sin(inclp), cosip = std::cos(inclp);
  if (inclp >= 0.2) {
    ph /= sinip;
    pgh -= cosip * ph;
    argpp += pgh;
    nodep += ph;
    mp += pl;
  } else {
    // Low inclination: apply the node and inclination terms to the
    // components of the orbit normal (Lyddane's form), keeping the node in
    // the quadrant it came from.
    double sinop = std::sin(nodep), cosop = std::cos(nodep);
    double alfdp = sinip * sinop + (ph * cosop + pinc * cosip * sinop);
    double betdp = sinip * cosop + (-ph * sinop + pinc * cosip * cosop);
    nodep = std::fmod(nodep, kTwoPi);
    double xls = mp + argpp + cosip * nodep;
    double dls = pl + pgh - pinc * nodep * sinip;
    xls += dls;
    double xnoh = nodep;
    nodep = std::atan2(alfdp, betdp);
    if (std::fabs(xnoh - nodep) > kPi) nodep += nodep < xnoh ? kTwoPi : -kTwoPi;
    mp += pl;
    argpp = xls - mp - cosip * nodep;
  }
}

// ---------------------------------------------------------------------------
// Initialisation common to both models.

bool InitialiseModel(ModelCoefficients& m, bool deep) {
  const TSgpElements& el = SgpElements;
  m = ModelCoefficients{};
  m.deep = deep;
  m.mo = el.meanAnomaly;
  m.nodeo = el.node;
  m.argpo = el.argPerigee;
  m.inclo = el.inclination;
  m.ecco = el.eccentricity;
  m.bstar = el.bstar;
  double n = el.meanMotion;
  double e = m.ecco;
  if (!(n > 0.0) || !(e >= 0.0 && e < 1.0)) return false;

  m.cosio = std::cos(m.inclo);
  m.sinio = std::sin(m.inclo);
  double theta2 = m.cosio * m.cosio;
  m.x3thm1 = 3.0 * theta2 - 1.0;
  double betao2 = 1.0 - e * e;
  double betao = std::sqrt(betao2);
  double a1 = std::pow(XKE / n, kTwoThirds);
  double del = 1.5 * kCk2 * m.x3thm1 / (betao * betao2);
  double del1 = del / (a1 * a1);
  double ao = a1 * (1.0 - del1 * (1.0 / 3.0 + del1 * (1.0 + 134.0 / 81.0 * del1)));
  double delo = del / (ao * ao);
  m.no = n / (1.0 + delo);
  m.aodp = ao / (1.0 - delo);

  double perigeeRadius = m.aodp * (1.0 - e);
  m.simpleDrag = deep || perigeeRadius < 1.0 + 220.0 / kSatEarthRadiusKm;
  double perigeeHeight = (perigeeRadius - 1.0) * kSatEarthRadiusKm;
  double s4 = 1.0 + kS0 / kSatEarthRadiusKm;
  double qoms24 = QOMS2T;
  if (perigeeHeight < 156.0) {
    double s4km = perigeeHeight <= 98.0 ? 20.0 : perigeeHeight - kS0;
    qoms24 = std::pow((kQ0 - s4km) / kSatEarthRadiusKm, 4.0);
    s4 = 1.0 + s4km / kSatEarthRadiusKm;
  }
  double pinvsq = 1.0 / (m.aodp * m.aodp * betao2 * betao2);
  double tsi = 1.0 / (m.aodp - s4);
  m.eta = m.aodp * e * tsi;
  double etasq = m.eta * m.eta;
  double eeta = e * m.eta;
  double psisq = std::fabs(1.0 - etasq);
  double coef = qoms24 * std::pow(tsi, 4.0);
  double coef1 = coef / std::pow(psisq, 3.5);
  double c2 = coef1 * m.no *
              (m.aodp * (1.0 + 1.5 * etasq + eeta * (4.0 + etasq)) +
               0.75 * kCk2 * tsi / psisq * m.x3thm1 * (8.0 + 3.0 * etasq * (8.0 + etasq)));
  m.c1 = m.bstar * c2;
  double c3 = e > 1.0e-4 ? coef * tsi * kA3ovk2 * m.no * m.sinio / e : 0.0;
  m.x1mth2 = 1.0 - theta2;
  m.c4 = 2.0 * m.no * coef1 * m.aodp * betao2 *
         (m.eta * (2.0 + 0.5 * etasq) + e * (0.5 + 2.0 * etasq) -
          2.0 * kCk2 * tsi / (m.aodp * psisq) *
              (-3.0 * m.x3thm1 * (1.0 - 2.0 * eeta + etasq * (1.5 - 0.5 * eeta)) +
               0.75 * m.x1mth2 * (2.0 * etasq - eeta * (1.0 + etasq)) * std::cos(2.0 * m.argpo)));
  m.c5 = 2.0 * coef1 * m.aodp * betao2 * (1.0 + 2.75 * (etasq + eeta) + eeta * etasq);
  double theta4 = theta2 * theta2;
  double temp1 = 3.0 * kCk2 * pinvsq * m.no;
  double temp2 = temp1 * kCk2 * pinvsq;
  double temp3 = kCk4Times125 * pinvsq * pinvsq * m.no;
  m.xmdot = m.no + 0.5 * temp1 * betao * m.x3thm1 + 0.0625 * temp2 * betao * (13.0 - 78.0 * theta2 + 137.0 * theta4);
  double x1m5th = 1.0 - 5.0 * theta2;
  m.omgdot = -0.5 * temp1 * x1m5th + 0.0625 * temp2 * (7.0 - 114.0 * theta2 + 395.0 * theta4) +
             temp3 * (3.0 - 36.0 * theta2 + 49.0 * theta4);
  double xhdot1 = -temp1 * m.cosio;
  m.xnodot = xhdot1 + (0.5 * temp2 * (4.0 - 19.0 * theta2) + 2.0 * temp3 * (3.0 - 7.0 * theta2)) * m.cosio;
  m.omgcof = m.bstar * c3 * std::cos(m.argpo);
  m.xmcof = e > 1.0e-4 ? -kTwoThirds * coef * m.bstar / eeta : 0.0;
  m.xnodcf = 3.5 * betao2 * xhdot1 * m.c1;
  m.t2cof = 1.5 * m.c1;
  // (1 + cos i) vanishes for i = 180 degrees; keep the quotient finite there.
  double onePlusCos = 1.0 + m.cosio;
  if (std::fabs(onePlusCos) < 1.5e-12) onePlusCos = 1.5e-12;
  m.xlcof = 0.125 * kA3ovk2 * m.sinio * (3.0 + 5.0 * m.cosio) / onePlusCos;
  m.aycof = 0.25 * kA3ovk2 * m.sinio;
  m.delmo = Cube(1.0 + m.eta * std::cos(m.mo));
  m.sinmo = std::sin(m.mo);
  m.x7thm1 = 7.0 * theta2 - 1.0;
  if (!m.simpleDrag) {
    double c1sq = m.c1 * m.c1;
    m.d2 = 4.0 * m.aodp * tsi * c1sq;
    double temp = m.d2 * tsi * m.c1 / 3.0;
    m.d3 = (17.0 * m.aodp + s4) * temp;
    m.d4 = 0.5 * temp * m.aodp * tsi * (221.0 * m.aodp + 31.0 * s4) * m.c1;
    m.t3cof = m.d2 + 2.0 * c1sq;
    m.t4cof = 0.25 * (3.0 * m.d3 + m.c1 * (12.0 * m.d2 + 10.0 * c1sq));
    m.t5cof = 0.2 * (3.0 * m.d4 + 12.0 * m.c1 * m.d3 + 6.0 * m.d2 * m.d2 + 15.0 * c1sq * (2.0 * m.d2 + c1sq));
  }
  if (deep) DeepSpaceInit(m);
  m.valid = true;
  return true;
}

void ClearState(TVectorXYZR& position, TVectorXYZR& velocity) {
  position = TVectorXYZR{};
  velocity = TVectorXYZR{};
}

// Propagation common to both models.
TSatelliteError PropagateModel(ModelCoefficients& m, double t, TVectorXYZR& position, TVectorXYZR& velocity) {
  ClearState(position, velocity);
  if (!m.valid) return kSatInvalidSet;
  if (!std::isfinite(t)) return kSatNumericFailure;

  // Secular gravity and drag.
  double xmdf = m.mo + m.xmdot * t;
  double argpm = m.argpo + m.omgdot * t;
  double nodedf = m.nodeo + m.xnodot * t;
  double mm = xmdf;
  double t2 = t * t;
  double nodem = nodedf + m.xnodcf * t2;
  double tempa = 1.0 - m.c1 * t;
  double tempe = m.bstar * m.c4 * t;
  double templ = m.t2cof * t2;
  if (!m.simpleDrag) {
    double delomg = m.omgcof * t;
    double delm = m.xmcof * (Cube(1.0 + m.eta * std::cos(xmdf)) - m.delmo);
    double temp = delomg + delm;
    mm = xmdf + temp;
    argpm -= temp;
    double t3 = t2 * t, t4 = t3 * t;
    tempa -= m.d2 * t2 + m.d3 * t3 + m.d4 * t4;
    tempe += m.bstar * m.c5 * (std::sin(mm) - m.sinmo);
    templ += m.t3cof * t3 + t4 * (m.t4cof + t * m.t5cof);
  }
  double nm = m.no, em = m.ecco, inclm = m.inclo;
  double a;
  if (m.deep) {
    if (m.ds.resonance != 0 && std::fabs(t) > kSatResonanceSpanDays * kMinutesPerDay) return kSatOutsideSpan;
    DeepSpaceSecular(m, t, em, argpm, inclm, mm, nodem, nm);
    if (!(nm > 0.0)) return kSatMeanMotion;
    a = std::pow(XKE / nm, kTwoThirds) * tempa * tempa;
  } else {
    a = m.aodp * tempa * tempa;
  }
  if (!(a > 0.0)) return kSatMeanEccentricity;
  nm = XKE / std::pow(a, 1.5);
  em -= tempe;
  if (!(em < 1.0 && em >= -0.001)) return kSatMeanEccentricity;
  if (em < 1.0e-6) em = 1.0e-6;
  mm += m.no * templ;

  // Lunar-solar periodics.
  double ep = em, xincp = inclm, argpp = argpm, nodep = nodem, mp = mm;
  double sinip = m.sinio, cosip = m.cosio;
  double xlcof = m.xlcof, aycof = m.aycof, x3thm1 = m.x3thm1, x1mth2 = m.x1mth2, x7thm1 = m.x7thm1;
  if (m.deep) {
    DeepSpacePeriodic(m, t, ep, xincp, nodep, argpp, mp);
    if (xincp < 0.0) {
      xincp = -xincp;
      nodep += kPi;
      argpp -= kPi;
    }
    if (!(ep >= 0.0 && ep <= 1.0)) return kSatPerturbedEccentricity;
    sinip = std::sin(xincp);
    cosip = std::cos(xincp);
    aycof = 0.25 * kA3ovk2 * sinip;
    double onePlusCos = 1.0 + cosip;
    if (std::fabs(onePlusCos) < 1.5e-12) onePlusCos = 1.5e-12;
    xlcof = 0.125 * kA3ovk2 * sinip * (3.0 + 5.0 * cosip) / onePlusCos;
    double cosisq = cosip * cosip;
    x3thm1 = 3.0 * cosisq - 1.0;
    x1mth2 = 1.0 - cosisq;
    x7thm1 = 7.0 * cosisq - 1.0;
  }

  // Long-period periodics.
  double axnl = ep * std::cos(argpp);
  double temp = 1.0 / (a * (1.0 - ep * ep));
  double aynl = ep * std::sin(argpp) + temp * aycof;
  double xl = mp + argpp + nodep + temp * xlcof * axnl;

  // Kepler's equation for the eccentric longitude (Newton steps, each at
  // most 0.95 radians, at most 10 of them).
  double u = Mod2Pi(xl - nodep);
  double eo1 = u;
  double sineo1 = 0, coseo1 = 0;
  for (int step = 0; step < 10; ++step) {
    sineo1 = std::sin(eo1);
    coseo1 = std::cos(eo1);
    double change = (u - aynl * coseo1 + axnl * sineo1 - eo1) / (1.0 - coseo1 * axnl - sineo1 * aynl);
    if (change > 0.95)
      change = 0.95;
    else if (change < -0.95)
      change = -0.95;
    eo1 += change;
    if (std::fabs(change) <= 1.0e-6) break;
  }
  sineo1 = std::sin(eo1);
  coseo1 = std::cos(eo1);

  // Short-period preliminaries.
  double ecose = axnl * coseo1 + aynl * sineo1;
  double esine = axnl * sineo1 - aynl * coseo1;
  double el2 = axnl * axnl + aynl * aynl;
  double pl = a * (1.0 - el2);
  if (!(pl >= 0.0)) return kSatSemiLatusRectum;
  double rl = a * (1.0 - ecose);
  double rdotl = XKE * std::sqrt(a) * esine / rl;
  double rvdotl = XKE * std::sqrt(pl) / rl;
  double betal = std::sqrt(1.0 - el2);
  temp = esine / (1.0 + betal);
  double sinu = a / rl * (sineo1 - aynl - axnl * temp);
  double cosu = a / rl * (coseo1 - axnl + aynl * temp);
  double su = std::atan2(sinu, cosu);
  double sin2u = (cosu + cosu) * sinu;
  double cos2u = 1.0 - 2.0 * sinu * sinu;
  temp = 1.0 / pl;
  double temp1 = kCk2 * temp;
  double temp2 = temp1 * temp;

  // Short periodics.
  double mrt = rl * (1.0 - 1.5 * temp2 * betal * x3thm1) + 0.5 * temp1 * x1mth2 * cos2u;
  su -= 0.25 * temp2 * x7thm1 * sin2u;
  double xnode = nodep + 1.5 * temp2 * cosip * sin2u;
  double xinc = xincp + 1.5 * temp2 * cosip * sinip * cos2u;
  double mvt = rdotl - nm * temp1 * x1mth2 * sin2u;
  double rvdot = rvdotl + nm * temp1 * (x1mth2 * cos2u + 1.5 * x3thm1);

  // Orientation vectors.
  double sinsu = std::sin(su), cossu = std::cos(su);
  double snod = std::sin(xnode), cnod = std::cos(xnode);
  double sini = std::sin(xinc), cosi = std::cos(xinc);
  double xmx = -snod * cosi, xmy = cnod * cosi;
  double ux = xmx * sinsu + cnod * cossu;
  double uy = xmy * sinsu + snod * cossu;
  double uz = sini * sinsu;
  double vx = xmx * cossu - cnod * sinsu;
  double vy = xmy * cossu - snod * sinsu;
  double vz = sini * cossu;
  position.x = mrt * ux;
  position.y = mrt * uy;
  position.z = mrt * uz;
  velocity.x = mvt * ux + rvdot * vx;
  velocity.y = mvt * uy + rvdot * vy;
  velocity.z = mvt * uz + rvdot * vz;
  SetVectorLength(position);
  SetVectorLength(velocity);
  if (!std::isfinite(position.r) || !std::isfinite(velocity.r)) {
    ClearState(position, velocity);
    return kSatNumericFailure;
  }
  if (mrt < 1.0) {
    ClearState(position, velocity);
    return kSatDecayed;
  }
  return kSatOk;
}

TSatelliteError RunModel(ModelCoefficients& m, bool deep, std::int32_t& newElements, TVectorXYZR& position,
                         TVectorXYZR& velocity, double minutes) {
  if (newElements != 0) {
    newElements = 0;
    if (!InitialiseModel(m, deep)) m.valid = false;
  }
  return PropagateModel(m, minutes, position, velocity);
}

}  // namespace

TSgpElements SgpElements;
double XKE = ComputeXke();
double QOMS2T = ComputeQoms2t();
double SgpEpochDaysSince1950 = 0.0;

void SgpConstants() {
  XKE = ComputeXke();
  QOMS2T = ComputeQoms2t();
}

void SgpUnitInit() { SgpConstants(); }

std::string SatelliteErrorText(TSatelliteError error) {
  switch (error) {
    case kSatOk:
      return {};
    case kSatMeanEccentricity:
      return ByLanguage("Die mittlere Exzentrizität liegt außerhalb des gültigen Bereichs.",
                        "The mean eccentricity is out of range.");
    case kSatMeanMotion:
      return ByLanguage("Die mittlere Bewegung ist nicht positiv.", "The mean motion is not positive.");
    case kSatPerturbedEccentricity:
      return ByLanguage("Die gestörte Exzentrizität liegt außerhalb des gültigen Bereichs.",
                        "The perturbed eccentricity is out of range.");
    case kSatSemiLatusRectum:
      return ByLanguage("Der Bahnparameter ist negativ.", "The semi-latus rectum is negative.");
    case kSatDecayed:
      return ByLanguage("Der Satellit ist verglüht.", "The satellite has decayed.");
    case kSatInvalidSet:
      return ByLanguage("Der Bahnelementsatz ist ungültig (Epoche, mittlere Bewegung oder Exzentrizität).",
                        "The element set is invalid (epoch, mean motion or eccentricity).");
    case kSatNumericFailure:
      return ByLanguage("Die Bahnrechnung divergiert.", "The orbit computation diverges.");
    case kSatNoSet:
      return ByLanguage("Es ist kein Bahnelementsatz geladen.", "No element set is loaded.");
    case kSatOutsideSpan:
      return ByLanguage("Das Datum liegt mehr als 100 Jahre von der Epoche des Bahnelementsatzes entfernt.",
                        "The date lies more than 100 years from the epoch of the element set.");
    case kSatNonFiniteField:
      break;
  }
  const int field = error - kSatNonFiniteField;
  if (field >= 0 && field < kTleNumberFieldCount) {
    const bool english = LanguageEnglish != 0;
    const std::string name = TleNumberFieldName(static_cast<TTleNumberField>(field), english);
    return english ? "The element set is invalid: field \"" + name + "\" is not a finite number."
                   : "Der Bahnelementsatz ist ungültig: Feld \"" + name + "\" ist keine endliche Zahl.";
  }
  return {};
}

TSatelliteError NonFiniteFieldError(TTleNumberField field) {
  return static_cast<TSatelliteError>(kSatNonFiniteField + static_cast<int>(field));
}

void ShowSatelliteError(TSatelliteError error, const std::string& satelliteName) {
  if (error == kSatOk) return;
  std::uint8_t language = LanguageEnglish;
  LanguageEnglish = 0;
  std::string german = satelliteName + ": " + SatelliteErrorText(error);
  LanguageEnglish = 1;
  std::string english = satelliteName + ": " + SatelliteErrorText(error);
  LanguageEnglish = language;
  ShowMessage(german, english, MessageIcon::Error);
}

double JulianDateOfYear(double year) {
  double a = std::trunc((year - 1.0) / 100.0);
  double b = 2.0 - a + std::trunc(a / 4.0);
  return std::trunc(365.25 * (year - 1.0)) + 428.0 + 1720994.5 + b;
}

double JulianDateOfEpoch(double epoch) {
  double year = std::trunc(epoch / 1000.0);
  double day = epoch - year * 1000.0;
  year += year < 57.0 ? 2000.0 : 1900.0;
  return JulianDateOfYear(year) + day;
}

double GreenwichSiderealAngle(double julianDate) {
  double ut = julianDate + 0.5 - std::floor(julianDate + 0.5);
  double j0 = julianDate - ut;
  double tu = (j0 - 2451545.0) / 36525.0;
  double g = 24110.54841 + tu * (8640184.812866 + tu * (0.093104 - tu * 6.2e-6));
  g = FloatModulo(g + 86636.555366976 * ut, 86400.0);
  return kTwoPi * g / 86400.0;
}

double EpochSiderealAngle(double epoch) {
  double julianDate = JulianDateOfEpoch(epoch);
  SgpEpochDaysSince1950 = julianDate - 2433281.5;
  return GreenwichSiderealAngle(julianDate);
}

TSatelliteError LoadTwoLineElements(int slot) {
  SgpElements = TSgpElements{};
  SgpElements.newElements = 1;
  if (slot < 1 || slot > kSatelliteSlots) return kSatNoSet;
  const TTleEntry& entry = SatelliteTable[static_cast<std::size_t>(slot)];
  const std::string& l1 = entry.line1;
  if (!TleEpochValid(l1)) return kSatInvalidSet;
  if (const std::optional<TTleNumberField> field = TleNonFiniteField(entry)) return NonFiniteFieldError(*field);
  const auto value = [&entry](TTleNumberField field) { return TleNumberValue(entry, field); };
  TSgpElements el;
  el.epoch = TleFieldReal(l1, 19, 14);
  el.epochJulianDate = JulianDateOfEpoch(el.epoch);
  el.bstar = value(TTleNumberField::Bstar);
  el.inclination = DegToRad(value(TTleNumberField::Inclination));
  el.node = DegToRad(value(TTleNumberField::Node));
  el.eccentricity = value(TTleNumberField::Eccentricity);
  el.argPerigee = DegToRad(value(TTleNumberField::ArgumentOfPerigee));
  el.meanAnomaly = DegToRad(value(TTleNumberField::MeanAnomaly));
  el.meanMotion = value(TTleNumberField::MeanMotion) * kTwoPi / kMinutesPerDay;
  el.newElements = 1;
  if (!(el.meanMotion > 0.0) || !(el.eccentricity >= 0.0 && el.eccentricity < 1.0)) return kSatInvalidSet;

  // Model mean motion N with the J2 part taken out of the file's mean motion.
  double n = el.meanMotion;
  double cosi = std::cos(el.inclination);
  double betao2 = 1.0 - el.eccentricity * el.eccentricity;
  double a1 = std::pow(XKE / n, kTwoThirds);
  double del = 1.5 * kCk2 * (3.0 * cosi * cosi - 1.0) / (betao2 * std::sqrt(betao2));
  double del1 = del / (a1 * a1);
  double a0 = a1 * (1.0 - del1 * (1.0 / 3.0 + del1 * (1.0 + 134.0 / 81.0 * del1)));
  double del0 = del / (a0 * a0);
  double nodp = n / (1.0 + del0);
  el.deepSpace = kTwoPi / nodp >= 225.0 ? 1 : 0;
  SgpElements = el;
  return kSatOk;
}

TSatelliteError Sgp4Propagate(std::int32_t& newElements, TVectorXYZR& position, TVectorXYZR& velocity, double minutes) {
  return RunModel(sgp4_model, false, newElements, position, velocity, minutes);
}

TSatelliteError Sdp4Propagate(std::int32_t& newElements, TVectorXYZR& position, TVectorXYZR& velocity, double minutes) {
  return RunModel(sdp4_model, true, newElements, position, velocity, minutes);
}

TSatelliteError SatellitePropagate(TVectorXYZR& position, TVectorXYZR& velocity, double julianDate) {
  double minutes = (julianDate - SgpElements.epochJulianDate) * kMinutesPerDay;
  if (SgpElements.deepSpace != 0) return Sdp4Propagate(SgpElements.newElements, position, velocity, minutes);
  return Sgp4Propagate(SgpElements.newElements, position, velocity, minutes);
}

void SatStateToKilometres(TVectorXYZR& position, TVectorXYZR& velocity) {
  position.x *= kSatEarthRadiusKm;
  position.y *= kSatEarthRadiusKm;
  position.z *= kSatEarthRadiusKm;
  velocity.x *= kSatEarthRadiusKm / 60.0;
  velocity.y *= kSatEarthRadiusKm / 60.0;
  velocity.z *= kSatEarthRadiusKm / 60.0;
  SetVectorLength(position);
  SetVectorLength(velocity);
}

}  // namespace kvx
