#include "eclipses/besselian.h"

#include <algorithm>
#include <cmath>

#include "core/angle_constants.h"
#include "core/time_scales.h"
#include "core/vector_math.h"

namespace kvx {

namespace {

long double Clamp1(long double v) { return std::clamp(v, -1.0L, 1.0L); }

// The angles' sines and cosines in double precision (relative error 1e-16,
// far below the fits' own), the products in extended precision.
TVector3Ext Rect(long double r, double latDeg, double lonDeg) {
  const long double cl = std::cos(latDeg * kDegToRad);
  return {r * cl * std::cos(lonDeg * kDegToRad), r * cl * std::sin(lonDeg * kDegToRad),
          r * std::sin(latDeg * kDegToRad)};
}

// tan(arcsin(a)) for |a| < 1.
long double TanOfArcSin(long double a) {
  a = Clamp1(a);
  const long double c = std::sqrt(std::max(1e-30L, 1.0L - a * a));
  return a / c;
}

// Reduces an angle into (0, 360]: 0 becomes 360.
double ReduceOpen360(double a) {
  if (a > 0) return a - 360.0 * std::trunc(a / 360.0);
  return a - 360.0 * std::trunc(a / 360.0) + 360.0;
}

double MjdOf(double T) { return 36525.0 * T + 51544.5; }

}  // namespace

double PegasusRoot(const std::function<double(double)>& f, double a, double b, double tolerance, int maxIterations) {
  double fa = f(a);
  double fb = f(b);
  double root = a;
  if (!(fa * fb < 0)) return root;
  for (int i = 0; i < maxIterations; ++i) {
    const double denominator = fb - fa;
    if (denominator == 0) break;
    const double x = b - fb * (b - a) / denominator;
    const double fx = f(x);
    if (fx * fb > 0) {
      fa = fa * fb / (fb + fx);
    } else {
      a = b;
      fa = fb;
    }
    root = std::fabs(fx) <= std::fabs(fa) ? x : a;
    if (std::fabs(x - a) <= tolerance) break;
    b = x;
    fb = fx;
  }
  return root;
}

TParabolaScanResult ScanParabolaRoots(const std::function<double(double)>& f, double from, double to, double half,
                                      int maxRoots) {
  TParabolaScanResult result;
  if (!(half > 0) || !std::isfinite(from) || !std::isfinite(to)) return result;
  double yMinus = f(from);
  bool first = true;
  for (long n = 0;; ++n) {
    const double t = from + half + 2.0 * half * static_cast<double>(n);
    const double y0 = f(t);
    const double yPlus = f(t + half);
    double xe = 0, ye = 0, z1 = 0, z2 = 0;
    int nz = 0;
    QuadraticInterpolation(yMinus, y0, yPlus, xe, ye, z1, z2, nz);
    // A root at the left border was counted by the window before.
    const double lowest = first ? -1.0 : -1.0 + 1e-12;
    double found[2];
    int count = 0;
    if (nz == 1) {
      if (z1 >= lowest && z1 <= 1.0) found[count++] = z1;
    } else if (nz == 2) {
      if (z1 >= lowest && z1 <= 1.0) found[count++] = z1;
      if (z2 >= lowest && z2 <= 1.0) found[count++] = z2;
    }
    for (int i = 0; i < count && static_cast<int>(result.Roots.size()) < maxRoots; ++i)
      result.Roots.push_back(t + half * found[i]);
    if (xe > -1.0 && xe < 1.0) {
      result.HasExtremum = true;
      result.Extremum = t + half * xe;
    }
    yMinus = yPlus;
    first = false;
    if (!(t < to) || static_cast<int>(result.Roots.size()) >= maxRoots) break;
  }
  return result;
}

void EclipseMagnitude(int kind, long double L1, long double L2, long double m, double& magnitude, double& obscuration) {
  magnitude = 0;
  obscuration = 0;
  if (kind <= 0) return;
  const long double sum = L1 + L2;
  if (!(std::fabs(sum) > 0)) return;
  const long double A = (L1 - L2) / sum;  // the occulting body's diameter over the Sun's
  if (kind == 3) {
    magnitude = static_cast<double>(A);
    obscuration = 1;
  } else if (kind == 2) {
    magnitude = static_cast<double>(A);
    obscuration = static_cast<double>(std::min(A * A, 1.0L));
  } else {
    magnitude = static_cast<double>((L1 - m) / sum);
    const long double d = L1 * L1 - L2 * L2;
    if (m <= 1e-15L || !(std::fabs(d) > 0)) {
      // On the axis: the whole disc of the smaller body lies on the Sun.
      obscuration = static_cast<double>(L2 < 0 ? 1.0L : std::min(A * A, 1.0L));
    } else {
      const long double B = std::acos(Clamp1((m * m + L1 * L2) / (sum * m)));
      const long double C = std::acos(Clamp1((L1 * L1 + L2 * L2 - 2 * m * m) / d));
      obscuration = static_cast<double>((A * A * (kPiExtended - B - C) + B - A * std::sin(C)) / kPiExtended);
    }
  }
  if (!std::isfinite(magnitude)) magnitude = 0;
  if (!std::isfinite(obscuration)) obscuration = 0;
  obscuration = std::clamp(obscuration, 0.0, 1.0);
}

// --- TBesselCalculator ---------------------------------------------------------------------

TBesselCalculator::TBesselCalculator(const TOccultingBody& body, const TBesselFits& fits, double deltaTSeconds)
    : body_(body), fits_(fits), ttOffset_(deltaTSeconds * kSecondCenturies) {}

void TBesselCalculator::SunPlace(double T, double& ra, double& dec) const {
  const double tt = T + ttOffset_;
  ra = ChebyshevEvaluate(fits_.SunRa, tt);
  dec = ChebyshevEvaluate(fits_.SunDec, tt);
}

TBesselElements TBesselCalculator::Elements(double T) const {
  const double tt = T + ttOffset_;
  const TVector3Ext m = Rect(ChebyshevEvaluate(fits_.BodyR, tt), ChebyshevEvaluate(fits_.BodyDec, tt),
                             ChebyshevEvaluate(fits_.BodyRa, tt));
  const TVector3Ext s = Rect(static_cast<long double>(ChebyshevEvaluate(fits_.SunR, tt)) * kAuInEarthRadii,
                             ChebyshevEvaluate(fits_.SunDec, tt), ChebyshevEvaluate(fits_.SunRa, tt));
  const TVector3Ext g{s.x - m.x, s.y - m.y, s.z - m.z};
  const long double G = VectorLengthExt(g);
  TBesselElements e;
  const TVector3Ext k{g.x / G, g.y / G, g.z / G};
  long double q = std::sqrt(k.x * k.x + k.y * k.y);
  if (!(q > 0)) q = 1e-30L;  // the axis through a pole: any direction in the equator serves
  const TVector3Ext i{-k.y / q, k.x / q, 0};
  TVector3Ext j;
  CrossProductExt(k, i, j);
  const TVector3Ext rows[3] = {i, j, k};
  for (int r = 0; r < 3; ++r) {
    e.Basis.m[r][0] = rows[r].x;
    e.Basis.m[r][1] = rows[r].y;
    e.Basis.m[r][2] = rows[r].z;
  }
  e.x = DotProductExt(m, i);
  e.y = DotProductExt(m, j);
  e.z = DotProductExt(m, k);
  const long double outer = body_.SunRadius + body_.Radius;
  const long double inner = body_.SunRadius - body_.Radius;
  e.tanf1 = TanOfArcSin(outer / G);
  e.tanf2 = TanOfArcSin(inner / G);
  e.l1 = body_.Radius + outer * e.z / G;
  e.l2 = inner * e.z / G - body_.Radius;
  return e;
}

TObserverFundamental TBesselCalculator::Observer(double T, double rhoCos, double rhoSin, double longitude) const {
  const TBesselElements e = Elements(T);
  return ObserverIn(e, T, rhoCos, rhoSin, longitude);
}

TObserverFundamental TBesselCalculator::ObserverIn(const TBesselElements& e, double T, double rhoCos, double rhoSin,
                                                   double longitude) const {
  const double theta = 15.0 * LocalSiderealTime(0, MjdOf(T), longitude) * kDegToRad;
  const long double v[3] = {rhoCos * std::cos(theta), rhoCos * std::sin(theta), rhoSin};
  TObserverFundamental o;
  o.xi = e.Basis.m[0][0] * v[0] + e.Basis.m[0][1] * v[1] + e.Basis.m[0][2] * v[2];
  o.eta = e.Basis.m[1][0] * v[0] + e.Basis.m[1][1] * v[1] + e.Basis.m[1][2] * v[2];
  o.zeta = e.Basis.m[2][0] * v[0] + e.Basis.m[2][1] * v[1] + e.Basis.m[2][2] * v[2];
  return o;
}

TShadowAtObserver TBesselCalculator::Shadow(double T, double rhoCos, double rhoSin, double longitude) const {
  TShadowAtObserver s;
  s.Elements = Elements(T);
  s.Observer = ObserverIn(s.Elements, T, rhoCos, rhoSin, longitude);
  s.L1 = s.Elements.l1 - s.Observer.zeta * s.Elements.tanf1;
  s.L2 = s.Elements.l2 - s.Observer.zeta * s.Elements.tanf2;
  const long double dx = s.Elements.x - s.Observer.xi;
  const long double dy = s.Elements.y - s.Observer.eta;
  s.M = std::sqrt(dx * dx + dy * dy);
  return s;
}

double TBesselCalculator::ContactFunction(double T, bool umbra, double rhoCos, double rhoSin, double longitude) const {
  const TShadowAtObserver s = Shadow(T, rhoCos, rhoSin, longitude);
  const long double L = umbra ? s.L2 : s.L1;
  return static_cast<double>(s.M * s.M - L * L);
}

// --- local contacts ---------------------------------------------------------------------------

namespace {

int KindAt(const TShadowAtObserver& s) {
  if (s.M < -s.L2) return 3;
  if (s.M < s.L2) return 2;
  return 1;
}

}  // namespace

void LocalContacts(const TBesselCalculator& calc, double T0, double rhoCos, double rhoSin, double longitude,
                   TLocalEclipseCircumstances& out) {
  for (double& c : out.Contact) c = T0;
  out.Maximum = T0;
  out.Kind = 0;
  out.Magnitude = 0;
  out.Obscuration = 0;
  const double half = 0.1 * kHourCenturies;
  const double span = calc.Body().ScanHalfSpanHours * kHourCenturies;
  const auto penumbral = [&](double t) { return calc.ContactFunction(t, false, rhoCos, rhoSin, longitude); };
  const TParabolaScanResult scan = ScanParabolaRoots(penumbral, T0 - span - half, T0 + span, half, 2);
  if (scan.Roots.empty()) return;
  out.Contact[0] = scan.Roots[0];
  if (scan.Roots.size() > 1) out.Contact[3] = scan.Roots[1];
  if (scan.HasExtremum) out.Maximum = scan.Extremum;
  const TShadowAtObserver s = calc.Shadow(out.Maximum, rhoCos, rhoSin, longitude);
  out.Kind = static_cast<std::uint8_t>(KindAt(s));
  EclipseMagnitude(out.Kind, s.L1, s.L2, s.M, out.Magnitude, out.Obscuration);
  if (out.Kind >= 2) {
    const auto umbral = [&](double t) { return calc.ContactFunction(t, true, rhoCos, rhoSin, longitude); };
    const double w = calc.Body().InnerContactWindow;
    out.Contact[1] = PegasusRoot(umbral, out.Maximum - w, out.Maximum, 1e-10);
    out.Contact[2] = PegasusRoot(umbral, out.Maximum, out.Maximum + w, 1e-10);
  }
}

namespace {

double SunAltitudeAt(const TBesselCalculator& calc, const TObserverRecord& observer, std::uint8_t siderealFlag,
                     double T) {
  double ra = 0, dec = 0;
  calc.SunPlace(T, ra, dec);
  const double lst = LocalSiderealTime(siderealFlag, MjdOf(T), observer.Longitude);
  double H = 0, alt = 0, az = 0;
  EquatorialToHorizontal(observer.RefractionOn != 0, H, alt, lst, observer.Latitude, ra, dec, observer.Pressure,
                         observer.Temperature, az);
  return std::isfinite(alt) ? alt : 0.0;
}

}  // namespace

bool LocalEclipseCircumstances(const TBesselFitter& fitter, const TOccultingBody& body, bool withCourse,
                               const TObserverRecord& observer, std::uint8_t siderealFlag, TEventStep step, double mjd,
                               TLocalEclipseCircumstances& out, std::vector<tlocalEventList>& course) {
  out = TLocalEclipseCircumstances{};
  course.clear();
  const double T0 = (mjd - 51544.5) / 36525.0;
  for (double& c : out.Contact) c = T0;
  out.Maximum = T0;
  double rhoCos = 0, rhoSin = 0;
  ObserverGeocentricRho(rhoCos, rhoSin, observer.Latitude);
  const double offset = observer.DeltaTSeconds * kSecondCenturies;
  TBesselFits fits;
  if (!std::isfinite(T0) || !std::isfinite(offset) || !fitter(T0 + offset - 5e-5, T0 + offset + 5e-5, fits))
    return false;
  const TBesselCalculator calc(body, fits, observer.DeltaTSeconds);
  const double lon = observer.Longitude;
  LocalContacts(calc, T0, rhoCos, rhoSin, lon, out);

  // Position and vertex angles.
  for (int n = 0; n < 4; ++n) {
    const bool wanted = out.Kind >= 2 || (out.Kind == 1 && (n == 0 || n == 3));
    if (!wanted) continue;
    const TShadowAtObserver s = calc.Shadow(out.Contact[n], rhoCos, rhoSin, lon);
    long double L = (n == 0 || n == 3) ? s.L1 : s.L2;
    if (L == 0) L = 1e-30L;
    const long double dx = (s.Elements.x - s.Observer.xi) / L;
    const long double dy = (s.Elements.y - s.Observer.eta) / L;
    const double P = ArcTan2Deg(static_cast<double>(dx), static_cast<double>(dy));
    const double q = ArcTan2Deg(static_cast<double>(s.Observer.xi), static_cast<double>(s.Observer.eta));
    out.PositionAngle[n] = ReduceOpen360(P);
    out.VertexAngle[n] = ReduceOpen360(P - q);
  }
  for (int n = 0; n < 4; ++n)
    if (out.Contact[n] != 0) out.SunAltitude[n] = SunAltitudeAt(calc, observer, siderealFlag, out.Contact[n]);

  if (withCourse && out.Kind != 0) {
    // The first row on the whole local minute before the first contact.
    TObserverRecord local = observer;
    local.Mjd = MjdOf(out.Contact[0] - 4.8 * kSecondCenturies);
    local.AutoDeltaT = 0;
    UTToLocalTime(local);
    const double minutes = local.LocalHours * 60.0;
    double rowMjd = local.Mjd - (minutes - std::floor(minutes)) / 1440.0;
    double stepDays = step.Minutes / 1440.0 + step.Seconds / 86400.0;
    if (!(stepDays > 0)) stepDays = 1.0 / 1440.0;
    const double lastMjd = MjdOf(out.Contact[3]);
    for (int row = 0; row < kMaxCourseRows && rowMjd <= lastMjd; ++row) {
      const double t = (rowMjd - 51544.5) / 36525.0;
      const TShadowAtObserver s = calc.Shadow(t, rhoCos, rhoSin, lon);
      tlocalEventList r;
      r.Time = t;
      EclipseMagnitude(KindAt(s), s.L1, s.L2, s.M, r.Magnitude, r.Obscuration);
      if (t < out.Contact[0]) {
        r.Obscuration = 0;
        r.Magnitude = std::max(0.0, r.Magnitude);
      }
      r.SunAltitude = SunAltitudeAt(calc, observer, siderealFlag, t);
      course.push_back(r);
      rowMjd += stepDays;
    }
  }

  // Not seen when the Sun is down.
  if (out.Kind < 2 && out.SunAltitude[0] < 0 && out.SunAltitude[3] < 0) out.Kind = 0;
  if (out.Kind >= 2 && out.SunAltitude[0] < 0 && out.SunAltitude[1] < 0 && out.SunAltitude[2] < 0 &&
      out.SunAltitude[3] < 0)
    out.Kind = 0;
  return true;
}

}  // namespace kvx
