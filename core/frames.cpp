// Precession, frame rotations, aberration, observer and horizontal
// coordinates, galactic coordinates, separation and interpolation.
#include "core/frames.h"

#include <cmath>
#include <numbers>

#include "core/angle_constants.h"
#include "core/sun_longitude.h"
#include "core/tabulated_constants.h"
#include "core/time_scales.h"
#include "core/vector_math.h"

namespace kvx {

namespace {

// Fills the rows of an equatorial precession matrix from zeta, z and theta
// (radians).
template <typename Matrix>
void EquatorialRows(Matrix& M, long double zeta, long double z, long double theta) {
  const long double sz = std::sin(zeta), cz = std::cos(zeta);
  const long double sZ = std::sin(z), cZ = std::cos(z);
  const long double st = std::sin(theta), ct = std::cos(theta);
  M.m[0][0] = cz * ct * cZ - sz * sZ;
  M.m[0][1] = -sz * ct * cZ - cz * sZ;
  M.m[0][2] = -st * cZ;
  M.m[1][0] = cz * ct * sZ + sz * cZ;
  M.m[1][1] = -sz * ct * sZ + cz * cZ;
  M.m[1][2] = -st * sZ;
  M.m[2][0] = cz * st;
  M.m[2][1] = -sz * st;
  M.m[2][2] = ct;
}

// Ecliptic precession matrix for T1 -> T2 in extended precision.
template <typename Matrix>
void EclipticRows(Matrix& M, long double t1, long double t2) {
  const long double T = t1, t = t2 - t1;
  const long double eta =
      ((47.0029L - 0.06603L * T + 0.000598L * T * T) * t + (-0.03302L + 0.000598L * T) * t * t + 0.00006L * t * t * t) *
      kArcsecToRadExtended;
  const long double pi =
      174.876383889L * kDegToRadExtended +
      (3289.4789L * T + 0.60622L * T * T - (869.8089L + 0.50491L * T) * t + 0.03536L * t * t) * kArcsecToRadExtended;
  const long double p = ((5029.0966L + 2.22226L * T - 0.000042L * T * T) * t + (1.11113L - 0.000042L * T) * t * t -
                         0.000006L * t * t * t) *
                        kArcsecToRadExtended;
  const long double a = pi + p;
  const long double sa = std::sin(a), ca = std::cos(a);
  const long double sp = std::sin(pi), cp = std::cos(pi);
  const long double se = std::sin(eta), ce = std::cos(eta);
  M.m[0][0] = ca * cp + sa * ce * sp;
  M.m[0][1] = ca * sp - sa * ce * cp;
  M.m[0][2] = -sa * se;
  M.m[1][0] = sa * cp - ca * ce * sp;
  M.m[1][1] = sa * sp + ca * ce * cp;
  M.m[1][2] = ca * se;
  M.m[2][0] = se * sp;
  M.m[2][1] = -se * cp;
  M.m[2][2] = ce;
}

// Annual aberration shared by both forms.
void AddAberration(double& ra, double& dec, double sinEps, double cosEps, double sinL, double cosL) {
  double cosRa = 0, cosDec = 0;
  const double sinRa = SinCosDeg(cosRa, ra);
  const double sinDec = SinCosDeg(cosDec, dec);
  AddAberrationOfDirection(ra, dec, sinRa, cosRa, sinDec, cosDec, sinEps, cosEps, sinL, cosL);
}

}  // namespace

void AddAberrationOfDirection(double& ra, double& dec, double sinRa, double cosRa, double sinDec, double cosDec,
                              double sinEps, double cosEps, double sinL, double cosL) {
  constexpr double kKappa = 0.0056932;  // degrees (20.49552")
  const double dRa = -kKappa * (cosRa * cosL * cosEps + sinRa * sinL) / cosDec;
  const double dDec = -kKappa * ((sinEps * cosDec - sinRa * sinDec * cosEps) * cosL + cosRa * sinDec * sinL);
  ra += dRa;
  dec += dDec;
}

// ---------------------------------------------------------------------------
// Precession.

void PrecessionMatrixEquatorial(TMatrix33& M, double t1, double t2) {
  const long double T = t1, t = static_cast<long double>(t2) - t1;
  const long double zeta =
      (2306.2181L + 1.39656L * T - 0.000139L * T * T) * t + (0.30188L - 0.000345L * T) * t * t + 0.017998L * t * t * t;
  const long double z = zeta + (0.7928L + 0.000411L * T) * t * t + 0.000205L * t * t * t;
  const long double theta =
      (2004.3109L - 0.8533L * T - 0.000217L * T * T) * t - (0.42665L + 0.000217L * T) * t * t - 0.041833L * t * t * t;
  TMatrix33Ext E;
  EquatorialRows(E, zeta * kArcsecToRadExtended, z * kArcsecToRadExtended, theta * kArcsecToRadExtended);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) M.m[i][j] = static_cast<double>(E.m[i][j]);
}

void PrecessionMatrixEcliptic(TMatrix33& M, double t1, double t2) {
  TMatrix33Ext E;
  EclipticRows(E, t1, t2);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) M.m[i][j] = static_cast<double>(E.m[i][j]);
}

void EclipticPrecessionMatrix(TMatrix33Ext& M, double t1, double t2) { EclipticRows(M, t1, t2); }

void PrecessionMatrixNewcomb(TMatrix33& M, double t) {
  const long double u = t + 0.5L;  // centuries from 1950.0
  const long double zeta = 2304.948L * u + 0.302L * u * u + 0.018L * u * u * u;
  const long double z = 2304.948L * u + 1.093L * u * u + 0.019L * u * u * u;
  const long double theta = 2004.255L * u - 0.426L * u * u - 0.042L * u * u * u;
  TMatrix33Ext E;
  EquatorialRows(E, zeta * kArcsecToRadExtended, z * kArcsecToRadExtended, theta * kArcsecToRadExtended);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) M.m[i][j] = static_cast<double>(E.m[i][j]);
}

// ---------------------------------------------------------------------------
// Ecliptic and equator.

void EclipticToEquatorial(double& x, double& y, double& z, double t) {
  double cosEps = 0;
  const double sinEps = SinCosDeg(cosEps, MeanObliquity(t));
  const double oy = y, oz = z;
  y = oy * cosEps - oz * sinEps;
  z = oy * sinEps + oz * cosEps;
  (void)x;
}

void EquatorialToEcliptic(double& x, double& y, double& z, double t) {
  double cosEps = 0;
  const double sinEps = SinCosDeg(cosEps, MeanObliquity(t));
  EquatorialToEclipticBy(y, z, sinEps, cosEps);
  (void)x;
}

void EquatorialToEclipticBy(double& y, double& z, double sinEps, double cosEps) {
  const double oy = y, oz = z;
  y = oy * cosEps + oz * sinEps;
  z = -oy * sinEps + oz * cosEps;
}

void EquatorialToEclipticExtended(long double& x, long double& y, long double& z, double t) {
  double dx = static_cast<double>(x), dy = static_cast<double>(y), dz = static_cast<double>(z);
  EquatorialToEcliptic(dx, dy, dz, t);
  x = dx;
  y = dy;
  z = dz;
}

void EquatorialToEclipticExt(long double x, long double& y, long double& z, long double t) {
  (void)x;
  const long double eps = 23.43929111L - (46.815L * t + 0.00059L * t * t - 0.001813L * t * t * t) / 3600.0L;
  const long double sinEps = SinDegExt(eps), cosEps = CosDegExt(eps);
  const long double oy = y, oz = z;
  y = oy * cosEps + oz * sinEps;
  z = -oy * sinEps + oz * cosEps;
}

// ---------------------------------------------------------------------------
// Nutation on positions.

void NutationEquatorial(double& x, double& y, double& z, double t) {
  const double eps = MeanObliquity(t) * kPiAsTabulated / 180.0;
  double dpsi = 0, deps = 0;
  NutationAngles(dpsi, deps, t);
  SmallRotateVector(x, y, z, deps, dpsi * std::sin(eps), dpsi * std::cos(eps));
}

void ApplyNutationToDirection(double& ra, double& dec, double t, double eps) {
  double x = 0, y = 0, z = 0;
  PolarToCartesian(x, y, z, 1.0, dec, ra);
  double dpsi = 0, deps = 0;
  NutationAngles(dpsi, deps, t);
  double cosEps = 0;
  const double sinEps = SinCosDeg(cosEps, eps);
  SmallRotateVector(x, y, z, deps, dpsi * sinEps, dpsi * cosEps);
  double r = 0;
  CartesianToPolar(r, dec, ra, x, y, z);
}

// ---------------------------------------------------------------------------
// Aberration and FK5.

void AberrationEquatorial(int mode, double& ra, double& dec, double t, double eps) {
  double longitude = 0, eccentricity = 0;
  SunTrueLongitude(longitude, eccentricity, t);
  double cosL = 0;
  double sinL = SinCosDeg(cosL, longitude);
  if (mode == 2) {
    const double perihelion = 102.93735 + 1.71954 * t + 0.00046 * t * t;
    double cosPeri = 0;
    const double sinPeri = SinCosDeg(cosPeri, perihelion);
    cosL -= eccentricity * cosPeri;
    sinL -= eccentricity * sinPeri;
  }
  double cosEps = 0;
  const double sinEps = SinCosDeg(cosEps, eps);
  AddAberration(ra, dec, sinEps, cosEps, sinL, cosL);
}

void AberrationFromSunTerms(double& ra, double& dec, double t, double sinEps, double cosEps, double sinL, double cosL,
                            double x) {
  (void)t;
  (void)x;
  AddAberration(ra, dec, sinEps, cosEps, sinL, cosL);
}

void FK5Correction(double& l, double& b, double t) {
  const double lp = l - 1.397 * t - 0.00031 * t * t;
  double cosLp = 0;
  const double sinLp = SinCosDeg(cosLp, lp);
  const double dl = (-0.09033 + 0.03916 * (cosLp + sinLp) * TanDeg(b)) / 3600.0;
  const double db = 0.03916 * (cosLp - sinLp) / 3600.0;
  l += dl;
  b += db;
}

// ---------------------------------------------------------------------------
// Observer, topocentric, horizontal.

void GeocentricLatitudeAndRadius(double& phiC, double& rho, double phi, double h) {
  phiC = phi - 0.192425 * SinDeg(2.0 * phi) + 0.0003222222 * SinDeg(4.0 * phi);
  rho = 0.9983271 + 0.0016764 * CosDeg(2.0 * phiC) - 0.0000035 * CosDeg(4.0 * phiC) + h / 6378140.0;
}

void TopocentricFromGeocentric(double& ra, double& dec, double& dist, double ra0, double dec0, double dist0,
                               double phiC, double lst, double k1, double k2) {
  double x = 0, y = 0, z = 0;
  PolarToCartesian(x, y, z, dist0, dec0, ra0);
  double ox = 0, oy = 0, oz = 0;
  PolarToCartesian(ox, oy, oz, k1 * k2, phiC, 15.0 * lst);
  CartesianToPolar(dist, dec, ra, x - ox, y - oy, z - oz);
}

void EquatorialToHorizontal(bool refract, double& H, double& alt, double lst, double phi, double ra, double dec,
                            double P, double temp, double& az) {
  const double h0 = 15.0 * lst - ra;
  double cosPhi = 0, cosDec = 0, cosH = 0;
  const double sinPhi = SinCosDeg(cosPhi, phi);
  const double sinDec = SinCosDeg(cosDec, dec);
  const double sinH = SinCosDeg(cosH, h0);
  const double X = sinPhi * cosDec * cosH - cosPhi * sinDec;
  const double Y = sinH * cosDec;
  const double Z = sinPhi * sinDec + cosPhi * cosDec * cosH;
  double r = 0;
  CartesianToPolar(r, alt, az, X, Y, Z);
  H = Mod24(h0 / 15.0);
  if (refract) alt = Refraction(alt, P, temp);
}

double Refraction(double h, double P, double temp) {
  // The formula has a pole at h = -5.11 and is meaningless well below the
  // horizon: there the true altitude stands.
  if (h < kLowestRefractedAltitude) return h;
  const double r = (1.02 / TanDeg(h + 10.3 / (h + 5.11))) * (P / 1010.0) * (283.0 / (273.0 + temp)) / 60.0;
  return h + r;
}

double AltitudeOfObject(std::uint8_t flag, double ra, double dec, double mjd, double phi, double lon) {
  const double H = (LocalSiderealTime(flag, mjd, lon) - ra / 15.0) * 15.0;
  return ArcSinDeg(SinDeg(phi) * SinDeg(dec) + CosDeg(phi) * CosDeg(dec) * CosDeg(H));
}

void RotateHourAngleFrame(double& out1, double& out2, double a, double b, double c, double s) {
  double cosA = 0, cosB = 0, cosC = 0;
  const double sinA = SinCosDeg(cosA, a);
  const double sinB = SinCosDeg(cosB, b);
  const double sinC = SinCosDeg(cosC, c);
  const double X = sinA * sinB - cosA * cosB * cosC;
  const double Y = cosB * sinC;
  const double Z = cosA * sinB + sinA * cosB * cosC;
  double r = 0, lat = 0, lon = 0;
  CartesianToPolar(r, lat, lon, X, Y, Z);
  out1 = Mod360(15.0 * s - lon);
  out2 = lat;
}

// ---------------------------------------------------------------------------
// Galactic.

namespace {
constexpr double kGalacticPoleRa = 192.25;
constexpr double kGalacticPoleDec = 27.4;
constexpr double kGalacticNodeLongitude = 33.0;
}  // namespace

void EquatorialToGalactic(double& l, double& b, double ra, double dec) {
  const double x = ra - kGalacticPoleRa;
  double cosDec = 0, cosX = 0, cosPole = 0;
  const double sinDec = SinCosDeg(cosDec, dec);
  const double sinX = SinCosDeg(cosX, x);
  const double sinPole = SinCosDeg(cosPole, kGalacticPoleDec);
  const double X = cosDec * sinX;
  const double Y = sinDec * cosPole - cosDec * sinPole * cosX;
  const double Z = sinDec * sinPole + cosDec * cosPole * cosX;
  double r = 0, lon = 0;
  CartesianToPolar(r, b, lon, X, Y, Z);
  l = Mod360(lon + kGalacticNodeLongitude);
}

void GalacticToEquatorial(double& ra, double& dec, double l, double b) {
  const double u = l - kGalacticNodeLongitude;
  double cosB = 0, cosU = 0, cosPole = 0;
  const double sinB = SinCosDeg(cosB, b);
  const double sinU = SinCosDeg(cosU, u);
  const double sinPole = SinCosDeg(cosPole, kGalacticPoleDec);
  const double X = sinB * cosPole - cosB * sinPole * sinU;
  const double Y = cosB * cosU;
  const double Z = cosB * cosPole * sinU + sinB * sinPole;
  double r = 0, lon = 0;
  CartesianToPolar(r, dec, lon, X, Y, Z);
  ra = Mod360(lon + kGalacticPoleRa);
}

// ---------------------------------------------------------------------------
// Separation and interpolation.

double AngularSeparation(const TAngularSeparationRecord& rec) {
  constexpr double kPlaneFormLimit = 10.0 / 60.0;  // 10 arc minutes
  double d =
      ArcCosDeg(SinDeg(rec.dec1) * SinDeg(rec.dec2) + CosDeg(rec.dec1) * CosDeg(rec.dec2) * CosDeg(rec.ra1 - rec.ra2));
  if (d < kPlaneFormLimit) {
    // Right ascensions on both sides of 0h are compared the short way round.
    double dRa = rec.ra1 - rec.ra2;
    dRa -= 360.0 * std::round(dRa / 360.0);
    const double across = CosDeg((rec.dec1 + rec.dec2) / 2.0) * dRa;
    const double along = rec.dec1 - rec.dec2;
    d = std::sqrt(across * across + along * along);
  }
  if (rec.dec2 > rec.dec1) d = -d;
  return d;
}

void QuadraticInterpolation(double ym, double y0, double yp, double& xe, double& ye, double& z1, double& z2, int& nz) {
  nz = 0;
  double a = (yp + ym) / 2.0 - y0;
  if (a == 0) a = 1e-10;
  const double b = (yp - ym) / 2.0;
  const double c = y0;
  xe = -b / (2.0 * a);
  ye = (a * xe + b) * xe + c;
  const double d = b * b - 4.0 * a * c;
  if (d >= 0) {
    const double dx = 0.5 * std::sqrt(d) / std::fabs(a);
    z1 = xe - dx;
    z2 = xe + dx;
    if (std::fabs(z1) <= 1.0) ++nz;
    if (std::fabs(z2) <= 1.0) ++nz;
    if (z1 < -1.0) z1 = z2;
  }
}

}  // namespace kvx
