#include "core/vector_math.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <utility>

#include "core/angle_constants.h"

namespace kvx {

namespace {

constexpr long double kOneOver360 = 1.0L / 360.0L;
constexpr long double kTwoPower31 = 2147483648.0L;

// trunc of an extended value without switching the x87 rounding mode (the
// library's truncation and a conversion to an integer both do, and the
// switch stalls the floating-point unit): the integer of the value rounded
// to double, moved by one where that rounding crossed an integer. A zero
// result keeps the sign of q with `signedZero`, as std::trunc does;
// otherwise it is +0, as a conversion to an integer gives.
long double TruncExt(long double q, bool signedZero) {
  if (!(std::fabs(q) < 0x1p52L)) return std::trunc(q);  // also NaN and the infinities
  long double n = static_cast<long double>(static_cast<std::int64_t>(static_cast<double>(q)));
  if (q >= 0 && n > q) n -= 1;
  if (q < 0 && n < q) n += 1;
  if (n == 0) return signedZero && std::signbit(q) ? -0.0L : 0.0L;
  return n;
}

// Trunc to a 32-bit integer, as the stored routines do; quotients beyond
// the 32-bit range (which callers avoid) fall back to a real truncation
// instead of overflowing.
long double Trunc32(long double x) {
  if (std::fabs(x) < kTwoPower31) return TruncExt(x, false);
  return std::trunc(x);
}

// Clamps an argument of arcsin or arccos into [-1, 1]; NaN stays NaN.
long double ClampUnit(long double x) {
  if (x > 1.0L) return 1.0L;
  if (x < -1.0L) return -1.0L;
  return x;
}

// The quadrant logic shared by the degree arctangents: `angleOfRatio`
// maps a ratio in [0, 1] to degrees.
template <typename Real, typename AngleOfRatio>
Real QuadrantAngle(Real y, Real x, AngleOfRatio angleOfRatio) {
  if (x == 0 && y == 0) return 0;
  const Real ax = std::fabs(x);
  const Real ay = std::fabs(y);
  Real angle = ax > ay ? angleOfRatio(ay / ax) : 90 - angleOfRatio(ax / ay);
  if (x < 0) angle = 180 - angle;
  if (y < 0) angle = -angle;
  return angle;
}

// sin and cos of x * kDegToRadFactor radians without the library's general
// argument reduction. x = 90 n + r exactly (|r| <= 45), and 90 degrees of
// the stored factor exceed a right angle by the tiny kQuarterExcess, so the
// angle is n right angles plus delta = r * factor + n * excess, |delta| just
// above pi/4 at most: the quadrant turns sin and cos of delta. The value is
// that of the product x * factor taken exactly, one rounding of the 64-bit
// significand better than reducing the rounded product.
struct TQuarterExcess {
  long double Value;
  TQuarterExcess() {
    // 90 * factor = high + low exactly; pi / 2 = halfPiHigh + halfPiLow.
    const long double high = 90.0L * kDegToRadFactor;
    const long double low = std::fma(90.0L, kDegToRadFactor, -high);
    constexpr long double halfPiHigh = kPiExtended / 2;
    // pi / 2 - halfPiHigh, to 2^-128.
    constexpr long double halfPiLow = -2.508278806334166011779e-20L;
    Value = ((high - halfPiHigh) - halfPiLow) + low;
  }
};
const TQuarterExcess kQuarterExcess;

// Largest |x| (degrees) reduced here; beyond it the library reduces.
constexpr long double kReducedRange = 0x1p52L;

// sin and cos of |delta| up to about 0.8 (radians) by their series in
// extended precision; the last term left out is below 2^-75.
constexpr long double InverseFactorial(int k) {
  long double v = 1;
  for (int i = 2; i <= k; ++i) v *= i;
  return 1.0L / v;
}

// The series' coefficients, innermost first: sin: -1/21!, 1/19!, ...,
// 1/3!; cos: 1/22!, -1/20!, ..., 1/2!.
constexpr auto kSinSeries = [] {
  std::array<long double, 10> c{};
  for (int i = 0; i < 10; ++i) c[i] = (i % 2 == 0 ? -1 : 1) * InverseFactorial(21 - 2 * i);
  return c;
}();
constexpr auto kCosSeries = [] {
  std::array<long double, 11> c{};
  for (int i = 0; i < 11; ++i) c[i] = (i % 2 == 0 ? 1 : -1) * InverseFactorial(22 - 2 * i);
  return c;
}();

long double SinSmallExt(long double delta) {
  const long double z = delta * delta;
  long double p = kSinSeries[0];
  for (std::size_t i = 1; i < kSinSeries.size(); ++i) p = kSinSeries[i] + z * p;
  return delta - delta * z * p;
}

long double CosSmallExt(long double delta) {
  const long double z = delta * delta;
  long double p = kCosSeries[0];
  for (std::size_t i = 1; i < kCosSeries.size(); ++i) p = kCosSeries[i] + z * p;
  return 1.0L - z * p;
}

// The reduction of x degrees: delta (radians, |delta| just above pi/4 at
// most) and the quadrant (0..3) of x * factor = quadrant right angles +
// delta; false beyond the reduced range.
bool ReduceDegrees(long double x, long double& delta, int& quadrant) {
  if (!(std::fabs(x) < kReducedRange)) return false;
  // The quadrant through double: converting an extended value to an integer
  // switches the x87 rounding mode, which stalls; any integer near x / 90
  // leaves r exact.
  const double q = static_cast<double>(x * (1.0L / 90.0L));
  const std::int64_t n = static_cast<std::int64_t>(q + (q >= 0 ? 0.5 : -0.5));
  const long double nExt = static_cast<long double>(n);
  const long double r = x - 90.0L * nExt;  // exact
  delta = r * kDegToRadFactor + nExt * kQuarterExcess.Value;
  quadrant = static_cast<int>(n & 3);
  return true;
}

void SinCosDegreesExt(long double x, long double& s, long double& c) {
  long double delta = 0;
  int quadrant = 0;
  if (!ReduceDegrees(x, delta, quadrant)) {
    const long double a = x * kDegToRadFactor;
    s = std::sin(a);
    c = std::cos(a);
    return;
  }
  const long double sd = SinSmallExt(delta), cd = CosSmallExt(delta);
  switch (quadrant) {
    case 0:
      s = sd;
      c = cd;
      break;
    case 1:
      s = cd;
      c = -sd;
      break;
    case 2:
      s = -sd;
      c = -cd;
      break;
    default:
      s = -cd;
      c = sd;
      break;
  }
}

// sin or cos alone: one series. The sine of quadrant q + delta; the
// cosine is the sine one quadrant on.
long double QuadrantSineExt(long double delta, int quadrant) {
  switch (quadrant & 3) {
    case 0:
      return SinSmallExt(delta);
    case 1:
      return CosSmallExt(delta);
    case 2:
      return -SinSmallExt(delta);
    default:
      return -CosSmallExt(delta);
  }
}

long double SinDegreesExt(long double x) {
  long double delta = 0;
  int quadrant = 0;
  if (!ReduceDegrees(x, delta, quadrant)) return std::sin(x * kDegToRadFactor);
  return QuadrantSineExt(delta, quadrant);
}

long double CosDegreesExt(long double x) {
  long double delta = 0;
  int quadrant = 0;
  if (!ReduceDegrees(x, delta, quadrant)) return std::cos(x * kDegToRadFactor);
  return QuadrantSineExt(delta, quadrant + 1);
}

// arctan in extended precision without the library's general routine:
// atan x = atan c + atan t with c the nearest eighth to x (x in [0, 1]) and
// t = (x - c) / (1 + x c), |t| <= 1/16, by its series (the first term left
// out is below 2^-64 of t). Larger x through atan x = pi/2 - atan(1/x).
constexpr long double kArcTanOfEighths[9] = {
    0.0L,
    0.12435499454676143503135485L,
    0.24497866312686415417208248L,
    0.35877067027057222039592006L,
    0.46364760900080611621425623L,
    0.55859931534356243597150822L,
    0.64350110879328438680280923L,
    0.71882999962162450541701415L,
    0.78539816339744830961566085L,
};

long double ArcTanUnitExt(long double x) {  // 0 <= x <= 1, or NaN
  if (!(x >= 0.0L && x <= 1.0L)) return std::numeric_limits<long double>::quiet_NaN();
  // The nearest eighth by comparisons (no conversion to an integer).
  int k = 0;
  for (int i = 0; i < 8; ++i) k += x > (2 * i + 1) / 16.0L ? 1 : 0;
  const long double c = k * 0.125L;
  const long double t = k == 0 ? x : (x - c) / (1.0L + x * c);
  const long double z = t * t;
  long double p = -1.0L / 17;
  p = 1.0L / 15 + z * p;
  p = -1.0L / 13 + z * p;
  p = 1.0L / 11 + z * p;
  p = -1.0L / 9 + z * p;
  p = 1.0L / 7 + z * p;
  p = -1.0L / 5 + z * p;
  p = 1.0L / 3 + z * p;
  return kArcTanOfEighths[k] + (t - t * z * p);
}

long double ArcTanExt(long double x) {
  if (std::isnan(x)) return x;
  const long double a = std::fabs(x);
  const long double angle =
      a <= 1.0L ? ArcTanUnitExt(a) : std::numbers::pi_v<long double> / 2 - ArcTanUnitExt(1.0L / a);
  return x < 0 ? -angle : angle;
}

// Keeps a reduced value below its period when adding the period to a tiny
// negative remainder rounded up to the period itself.
double BelowPeriod(double value, double period) { return value >= period ? 0.0 : value; }

}  // namespace

long double RoundToSixByteReal(long double x) {
  if (x == 0 || !std::isfinite(x)) return x;
  // Smallest stored exponent byte 1 stands for 2^-128.
  if (std::fabs(x) < 0x1p-128L) return 0.0L;
  // Veltkamp split of the 64-bit extended significand: the high part keeps
  // 64 - 24 = 40 significant bits, rounded to nearest.
  static_assert(std::numeric_limits<long double>::digits == 64, "80-bit extended reals expected");
  const long double scaled = x * (0x1p24L + 1.0L);
  const long double high = scaled - (scaled - x);
  return high;
}

// ---------------------------------------------------------------------------
// Double-precision family.

double SinDeg(double x) { return static_cast<double>(SinDegreesExt(x)); }
double CosDeg(double x) { return static_cast<double>(CosDegreesExt(x)); }
double TanDeg(double x) {
  long double s = 0, c = 0;
  SinCosDegreesExt(x, s, c);
  return static_cast<double>(s / c);
}

double SinCosDeg(double& c, double x) {
  long double s = 0, ce = 0;
  SinCosDegreesExt(x, s, ce);
  c = static_cast<double>(ce);
  return static_cast<double>(s);
}

double ArcTanDeg(double x) { return static_cast<double>(ArcTanExt(static_cast<long double>(x)) * kRadToDegFactor); }

double ArcSinDeg(double x) {
  const long double v = ClampUnit(x);
  if (v == 1.0L) return 90.0;
  if (v == -1.0L) return -90.0;
  return static_cast<double>(ArcTanExt(v / std::sqrt(1.0L - v * v)) * kRadToDegFactor);
}

double ArcCosDeg(double x) {
  const long double v = ClampUnit(x);
  if (std::fabs(v) == 1.0L) return static_cast<double>(90.0L - 90.0L * v);
  if (std::fabs(v) <= 1e-7L) return static_cast<double>(90.0L - kRadToDegFactor * v);
  return static_cast<double>(90.0L - ArcTanExt(v / std::sqrt((1.0L - v) * (1.0L + v))) * kRadToDegFactor);
}

double ArcTan2Deg(double y, double x) {
  return static_cast<double>(
      QuadrantAngle<long double>(y, x, [](long double ratio) { return ArcTanUnitExt(ratio) * kRadToDegFactor; }));
}

double Mod360(double x) {
  long double r = x - 360.0L * TruncExt(x * kOneOver360, true);
  if (r < 0) r += 360.0L;
  return BelowPeriod(static_cast<double>(r), 360.0);
}

double HourAngleDegrees(double hours) { return Mod360(hours * 15.0); }

double AngleToPlusMinus180(double x) { return x > 180.0 ? x - 360.0 : x; }

double FracPositive(double x) {
  long double r = x - TruncExt(x, true);
  if (r < 0) r += 1.0L;
  return BelowPeriod(static_cast<double>(r), 1.0);
}

double Sign(double x) {
  if (x > 0) return 1.0;
  if (x < 0) return -1.0;
  return 0.0;
}

double Log10(double x) { return static_cast<double>(std::log(static_cast<long double>(x)) / std::log(10.0L)); }

double DaysToHours(double x) { return 24.0 * x; }
double HoursToDays(double x) { return static_cast<double>(x * (1.0L / 24.0L)); }

namespace {

// Sines and cosines of a latitude and a longitude, both in degrees.
struct TLatLonTrig {
  double sinLat = 0, cosLat = 0, sinLon = 0, cosLon = 0;
};

TLatLonTrig LatLonTrig(double lat, double lon) {
  TLatLonTrig t;
  t.sinLat = SinCosDeg(t.cosLat, lat);
  t.sinLon = SinCosDeg(t.cosLon, lon);
  return t;
}

// The point at distance r in the direction whose sines and cosines t holds.
void PointInDirection(const TLatLonTrig& t, double r, double& x, double& y, double& z) {
  x = r * t.cosLat * t.cosLon;
  y = r * t.cosLat * t.sinLon;
  z = r * t.sinLat;
}

}  // namespace

void PolarToCartesian(double& x, double& y, double& z, double r, double lat, double lon) {
  PointInDirection(LatLonTrig(lat, lon), r, x, y, z);
}

void CartesianToPolar(double& r, double& lat, double& lon, double x, double y, double z) {
  const double s = x * x + y * y;
  r = std::sqrt(z * z + s);
  lon = ArcTan2Deg(y, x);
  if (lon < 0) lon = BelowPeriod(lon + 360.0, 360.0);
  lat = ArcTan2Deg(z, std::sqrt(s));
}

void MatrixTimesVector(const TMatrix33& M, double& x, double& y, double& z) {
  const double ox = x, oy = y, oz = z;
  x = M.m[0][0] * ox + M.m[0][1] * oy + M.m[0][2] * oz;
  y = M.m[1][0] * ox + M.m[1][1] * oy + M.m[1][2] * oz;
  z = M.m[2][0] * ox + M.m[2][1] * oy + M.m[2][2] * oz;
}

void OrbitPlaneToSpace(const TMatrix33& M, double xx, double yy, double& x, double& y, double& z) {
  x = M.m[0][0] * xx + M.m[0][1] * yy;
  y = M.m[1][0] * xx + M.m[1][1] * yy;
  z = M.m[2][0] * xx + M.m[2][1] * yy;
}

void AlignAnglePair(double& a, double& b) {
  a = Mod360(a);
  b = Mod360(b);
  if (std::fabs(a - b) > 180.0) {
    if (a > 180.0)
      a -= 360.0;
    else if (b > 180.0)
      b -= 360.0;
  }
}

void AngleDifferenceSigned(double& a, double& b, double& d) {
  AlignAnglePair(a, b);
  d = Mod360(d);
  if (d > 180.0 && (a < 0 || b < 0)) d -= 360.0;
}

bool IsBetween(double b1, double b2, double x) {
  if (b1 > b2) std::swap(b1, b2);
  return b1 < x && x < b2;
}

double LinearCrossingTime(double t1, double t2, double a1, double a2, double b1, double b2) {
  const double sa = (a1 - a2) / (t1 - t2);
  const double sb = (b1 - b2) / (t1 - t2);
  return t1 + (b1 - a1) / (sa - sb);
}

double HyperbolicAngleDeg(double y, double x) {
  // artanh(1) is infinite: ratios are kept just below 1 so that points with
  // abs(y) >= abs(x), which the one caller never passes, stay finite.
  constexpr long double kBelowOne = 1.0L - std::numeric_limits<double>::epsilon();
  return static_cast<double>(QuadrantAngle<long double>(
      y, x, [](long double ratio) { return std::atanh(std::fmin(ratio, kBelowOne)) * kRadToDegFactor; }));
}

void HyperbolicCartesianToPolar(double& r, double& lat, double& lon, double x, double y, double z) {
  const double s = x * x + y * y;
  r = std::sqrt(z * z + s);
  lon = HyperbolicAngleDeg(y, x);
  if (lon < 0) lon += 360.0;
  lat = HyperbolicAngleDeg(z, std::sqrt(s));
}

void SphericalToRectangularWithVelocity(double& x, double& y, double& z, double lon, double lat, double r, double dlon,
                                        double dlat, double dr, double& vx, double& vy, double& vz) {
  const TLatLonTrig t = LatLonTrig(lat, lon);
  PointInDirection(t, r, x, y, z);
  vx = dr * t.cosLon * t.cosLat - r * dlon * t.sinLon * t.cosLat - r * dlat * t.cosLon * t.sinLat;
  vy = dr * t.sinLon * t.cosLat + r * dlon * t.cosLon * t.cosLat - r * dlat * t.sinLon * t.sinLat;
  vz = dr * t.sinLat + r * dlat * t.cosLat;
}

double FracPositiveTrunc(double x) {
  long double r = x - Trunc32(x);
  if (r < 0) r += 1.0L;
  return BelowPeriod(static_cast<double>(r), 1.0);
}

void SmallRotateVector(double& x, double& y, double& z, double a, double b, double c) {
  const double ox = x, oy = y, oz = z;
  x = ox - (c * oy + b * oz);
  y = oy + c * ox - a * oz;
  z = oz + b * ox + a * oy;
}

std::int32_t LargerInt(std::int32_t a, std::int32_t b) { return a > b ? a : b; }

double SmallerDouble(double a, double b) { return a < b ? a : b; }

// ---------------------------------------------------------------------------
// Extended-precision family.

long double SinDegExt(long double x) { return SinDegreesExt(x); }
long double CosDegExt(long double x) { return CosDegreesExt(x); }
long double TanDegExt(long double x) {
  long double s = 0, c = 0;
  SinCosDegreesExt(x, s, c);
  return s / c;
}

long double ArcSinDegExt(long double x) {
  const long double v = ClampUnit(x);
  if (std::fabs(v) == 1.0L) return 90.0L * v;
  if (std::fabs(v) <= 1e-13L) return kRadToDegFactor * v;
  return ArcTanExt(v / std::sqrt((1.0L - v) * (1.0L + v))) * kRadToDegFactor;
}

long double ArcCosDegExt(long double x) {
  if (std::isnan(x)) return 0.0L;
  if (x > 1.0L) return 0.0L;
  if (x < -1.0L) return 180.0L;
  if (std::fabs(x) == 1.0L) return 90.0L - 90.0L * x;
  if (std::fabs(x) <= 1e-13L) return 90.0L - kRadToDegFactor * x;
  return 90.0L - ArcTanExt(x / std::sqrt((1.0L - x) * (1.0L + x))) * kRadToDegFactor;
}

long double ArcTan2DegExt(long double y, long double x) {
  return QuadrantAngle<long double>(y, x, [](long double ratio) { return ArcTanUnitExt(ratio) * kRadToDegFactor; });
}

long double AngleToPlusMinus180Ext(long double x) { return x > 180.0L ? x - 360.0L : x; }

void SphericalToRectExt(long double& x, long double& y, long double& z, long double r, long double lat,
                        long double lon) {
  const long double cosLat = CosDegExt(lat);
  x = r * cosLat * CosDegExt(lon);
  y = r * cosLat * SinDegExt(lon);
  z = r * SinDegExt(lat);
}

void CrossProductExt(const TVector3Ext& a, const TVector3Ext& b, TVector3Ext& c) {
  const TVector3Ext result{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
  c = result;
}

long double DotProductExt(const TVector3Ext& a, const TVector3Ext& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

long double VectorLengthExt(const TVector3Ext& v) { return std::sqrt(DotProductExt(v, v)); }

void MatrixTimesVectorExt(const TMatrix33Ext& M, long double& x, long double& y, long double& z) {
  const long double ox = x, oy = y, oz = z;
  x = M.m[0][0] * ox + M.m[0][1] * oy + M.m[0][2] * oz;
  y = M.m[1][0] * ox + M.m[1][1] * oy + M.m[1][2] * oz;
  z = M.m[2][0] * ox + M.m[2][1] * oy + M.m[2][2] * oz;
}

void RotationMatrixFromAngles(TMatrix33Ext& M, long double node, long double incl, long double argPeri) {
  const long double sN = SinDegExt(node), cN = CosDegExt(node);
  const long double si = SinDegExt(incl), ci = CosDegExt(incl);
  const long double sw = SinDegExt(argPeri), cw = CosDegExt(argPeri);
  // Column 0: P, column 1: Q, column 2: R.
  M.m[0][0] = cw * cN - sw * ci * sN;
  M.m[1][0] = cw * sN + sw * ci * cN;
  M.m[2][0] = sw * si;
  M.m[0][1] = -sw * cN - cw * ci * sN;
  M.m[1][1] = -sw * sN + cw * ci * cN;
  M.m[2][1] = cw * si;
  M.m[0][2] = si * sN;
  M.m[1][2] = -si * cN;
  M.m[2][2] = ci;
}

void OrbitPlaneToEcliptic(const TMatrix33Ext& M, long double& x, long double& y, long double& z, long double xx,
                          long double yy) {
  x = M.m[0][0] * xx + M.m[0][1] * yy;
  y = M.m[1][0] * xx + M.m[1][1] * yy;
  z = M.m[2][0] * xx + M.m[2][1] * yy;
}

void PolarToCartesianExtended(long double& x, long double& y, long double& z, double r, double lat, double lon) {
  double dx = 0, dy = 0, dz = 0;
  PolarToCartesian(dx, dy, dz, r, lat, lon);
  x = dx;
  y = dy;
  z = dz;
}

void MatrixTimesVectorExtended(const TMatrix33& M, long double& x, long double& y, long double& z) {
  double dx = static_cast<double>(x), dy = static_cast<double>(y), dz = static_cast<double>(z);
  MatrixTimesVector(M, dx, dy, dz);
  x = dx;
  y = dy;
  z = dz;
}

void CrossProductExtended(const TVector3Ext& a, const TVector3Ext& b, TVector3Ext& c) { CrossProductExt(a, b, c); }

double DotProductExtended(const TVector3Ext& a, const TVector3Ext& b) {
  return static_cast<double>(RoundToSixByteReal(DotProductExt(a, b)));
}

double VectorLengthExtended(const TVector3Ext& v) { return std::sqrt(DotProductExtended(v, v)); }

// ---------------------------------------------------------------------------
// Radian family.

double Cube(double x) { return x * x * x; }

double Power(double base, double exponent) {
  if (base <= 0) return 1.0;
  return std::exp(exponent * std::log(base));
}

double DegToRad(double x) { return static_cast<double>(x * kPiExtended * (1.0L / 180.0L)); }
double RadToDeg(double x) { return static_cast<double>(x * 180.0L * (1.0L / kPiExtended)); }

double TanRad(double x) { return std::sin(x) / std::cos(x); }

double ArcSinRad(double x) {
  const long double v = ClampUnit(x);
  if (v == 1.0L) return static_cast<double>(kPiExtended / 2);
  if (v == -1.0L) return static_cast<double>(-kPiExtended / 2);
  return std::atan(static_cast<double>(v / std::sqrt(1.0L - v * v)));
}

double FloatModulo(double x, double period) {
  const double q = static_cast<double>(Trunc32(x / period));
  double r = x - q * period;
  if (r < 0) r = BelowPeriod(r + period, period);
  return r;
}

double Mod2Pi(double x) { return FloatModulo(x, 2.0 * std::numbers::pi); }

double ArcTan2Rad(double y, double x) {
  if (x == 0) return y > 0 ? kPi / 2 : 3 * kPi / 2;
  if (x > 0) return std::atan(y / x);
  return std::atan(y / x) + kPi;
}

double DotProduct3(const TVectorXYZR& a, const TVectorXYZR& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

void SetVectorLength(TVectorXYZR& v) { v.r = std::sqrt((v.x * v.x + v.y * v.y) + v.z * v.z); }

}  // namespace kvx
