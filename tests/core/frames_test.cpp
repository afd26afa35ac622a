#include "core/frames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "core/sun_longitude.h"
#include "core/time_scales.h"
#include "core/vector_math.h"

namespace kvx {
namespace {

void ExpectIdentity(const TMatrix33& M, double tolerance) {
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) EXPECT_NEAR(M.m[i][j], i == j ? 1.0 : 0.0, tolerance) << i << j;
}

TMatrix33 Product(const TMatrix33& a, const TMatrix33& b) {
  TMatrix33 c;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k) c.m[i][j] += a.m[i][k] * b.m[k][j];
  return c;
}

TEST(PrecessionTest, IdentityInverseAndOrthogonality) {
  TMatrix33 M, back;
  PrecessionMatrixEquatorial(M, 0.37, 0.37);
  ExpectIdentity(M, 0);
  PrecessionMatrixEcliptic(M, -3.1, -3.1);
  ExpectIdentity(M, 1e-16);
  PrecessionMatrixNewcomb(M, -0.5);
  ExpectIdentity(M, 0);
  // There and back agree to the truncation of the angle series (the
  // stored 0.000345 T t^2 of zeta is not exactly reversible: 1e-6" T t^2).
  for (double t1 : {-2.0, 0.0, 0.5}) {
    for (double t2 : {-1.0, 0.25, 2.0}) {
      PrecessionMatrixEquatorial(M, t1, t2);
      PrecessionMatrixEquatorial(back, t2, t1);
      ExpectIdentity(Product(back, M), 1e-10);
      PrecessionMatrixEcliptic(M, t1, t2);
      PrecessionMatrixEcliptic(back, t2, t1);
      ExpectIdentity(Product(back, M), 2e-9);  // truncated ecliptic series: 0.0002" over 4 centuries
      TMatrix33 transpose;
      for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) transpose.m[i][j] = M.m[j][i];
      ExpectIdentity(Product(transpose, M), 1e-15);
    }
  }
}

TEST(PrecessionTest, EclipticAndEquatorialFormsDescribeTheSameMotion) {
  // Precessing in the ecliptic and turning to the equator of T2 equals turning
  // to the equator of T1 and precessing there (to the consistency of the two
  // sets of constants, about 0.01" over two centuries).
  for (double t2 : {-2.0, -0.5, 1.0, 2.0}) {
    double x = 0.3, y = -0.8, z = 0.52;
    double ex = x, ey = y, ez = z;
    TMatrix33 ecl, equ;
    PrecessionMatrixEcliptic(ecl, 0.0, t2);
    MatrixTimesVector(ecl, ex, ey, ez);
    EclipticToEquatorial(ex, ey, ez, t2);
    EclipticToEquatorial(x, y, z, 0.0);
    PrecessionMatrixEquatorial(equ, 0.0, t2);
    MatrixTimesVector(equ, x, y, z);
    const double radians = std::hypot(ex - x, ey - y, ez - z) / std::sqrt(0.3 * 0.3 + 0.8 * 0.8 + 0.52 * 0.52);
    EXPECT_LT(radians * 206264.8, 0.01 * std::fabs(t2) + 1e-4) << t2;
  }
  // The extended twin agrees with the double form.
  TMatrix33 M;
  TMatrix33Ext E;
  PrecessionMatrixEcliptic(M, 0.3, -5.0);
  EclipticPrecessionMatrix(E, 0.3, -5.0);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) EXPECT_NEAR(M.m[i][j], static_cast<double>(E.m[i][j]), 1e-16);
  // Newcomb's 1950 -> 2000 matrix is close to the IAU 1976 one (a few 0.1").
  TMatrix33 newcomb, iau;
  PrecessionMatrixNewcomb(newcomb, 0.0);
  PrecessionMatrixEquatorial(iau, -0.5, 0.0);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) EXPECT_NEAR(newcomb.m[i][j], iau.m[i][j], 5e-6);
}

TEST(FramesTest, EclipticEquatorRotations) {
  double x = 0, y = 0, z = 1;  // ecliptic north pole
  EclipticToEquatorial(x, y, z, 0);
  double r, dec, ra;
  CartesianToPolar(r, dec, ra, x, y, z);
  EXPECT_NEAR(dec, 90 - MeanObliquity(0), 1e-12);
  EXPECT_NEAR(ra, 270, 1e-12);
  EquatorialToEcliptic(x, y, z, 0);
  EXPECT_NEAR(x, 0, 1e-16);
  EXPECT_NEAR(y, 0, 1e-15);
  EXPECT_NEAR(z, 1, 1e-15);
  long double ex = 0.5L, ey = 0.2L, ez = -0.1L;
  EquatorialToEclipticExtended(ex, ey, ez, 1.0);
  double dx = 0.5, dy = 0.2, dz = -0.1;
  EquatorialToEcliptic(dx, dy, dz, 1.0);
  EXPECT_EQ(static_cast<double>(ey), dy);
  EXPECT_EQ(static_cast<double>(ez), dz);
  // The extended variant uses its own obliquity: 23.43929111 at J2000.
  long double py = 0, pz = 1;
  EquatorialToEclipticExt(0.0L, py, pz, 0.0L);
  EXPECT_NEAR(static_cast<double>(ArcTan2DegExt(py, pz)), 23.43929111, 1e-12);
}

TEST(FramesTest, NutationOnVectorsAndDirections) {
  const double t = 0.23;
  double dpsi, deps;
  NutationAngles(dpsi, deps, t);
  const double eps = MeanObliquity(t);
  double x = 1, y = 0, z = 0;  // the mean equinox moves along the ecliptic
  NutationEquatorial(x, y, z, t);
  EXPECT_DOUBLE_EQ(x, 1);
  EXPECT_NEAR(y, dpsi * std::cos(eps * M_PI / 180), 1e-15);
  EXPECT_NEAR(z, dpsi * std::sin(eps * M_PI / 180), 1e-15);
  // The direction form rotates the same way.
  double ra = 123.4, dec = -33.3, vx, vy, vz;
  PolarToCartesian(vx, vy, vz, 1, dec, ra);
  NutationEquatorial(vx, vy, vz, t);
  ApplyNutationToDirection(ra, dec, t, eps);
  double r, vdec, vra;
  CartesianToPolar(r, vdec, vra, vx, vy, vz);
  EXPECT_NEAR(ra, vra, 1e-11);
  EXPECT_NEAR(dec, vdec, 1e-11);
  // Right ascension stays in [0, 360) next to the equinox.
  ra = 359.99999;
  dec = 0;
  ApplyNutationToDirection(ra, dec, 0.0, eps);
  EXPECT_GE(ra, 0);
  EXPECT_LT(ra, 360);
}

TEST(FramesTest, AnnualAberration) {
  const double t = 0.1;
  const double eps = MeanObliquity(t);
  double sunLongitude, e;
  SunTrueLongitude(sunLongitude, e, t);
  // A star in the Sun's direction moves by the full constant, one at the
  // apex of the Earth's motion (90 degrees behind the Sun) not at all.
  auto displacement = [&](double lambda, int mode) {
    double x, y, z, r, dec, ra;
    PolarToCartesian(x, y, z, 1, 0, lambda);
    EclipticToEquatorial(x, y, z, t);
    CartesianToPolar(r, dec, ra, x, y, z);
    double ra2 = ra, dec2 = dec;
    AberrationEquatorial(mode, ra2, dec2, t, eps);
    return std::hypot((ra2 - ra) * std::cos(dec * M_PI / 180), dec2 - dec) * 3600;
  };
  EXPECT_NEAR(displacement(sunLongitude, 0), 20.49552, 0.01);
  EXPECT_LT(displacement(sunLongitude - 90, 0), 0.01);
  // The e-terms move a star by at most kappa e = 0.34".
  double largest = 0;
  for (double lambda = 0; lambda < 360; lambda += 15) {
    double x, y, z, r, dec, ra;
    PolarToCartesian(x, y, z, 1, 0, lambda);
    EclipticToEquatorial(x, y, z, t);
    CartesianToPolar(r, dec, ra, x, y, z);
    double ra0 = ra, dec0 = dec, ra2 = ra, dec2 = dec;
    AberrationEquatorial(0, ra0, dec0, t, eps);
    AberrationEquatorial(2, ra2, dec2, t, eps);
    largest = std::max(largest, std::hypot((ra2 - ra0) * std::cos(dec * M_PI / 180), dec2 - dec0) * 3600);
  }
  EXPECT_NEAR(largest, 0.0056932 * 3600 * e, 0.01);
  // The form with supplied terms equals mode 0.
  double ra1 = 77.7, dec1 = 12.3, ra2 = ra1, dec2 = dec1;
  AberrationEquatorial(1, ra1, dec1, t, eps);
  AberrationFromSunTerms(ra2, dec2, t, SinDeg(eps), CosDeg(eps), SinDeg(sunLongitude), CosDeg(sunLongitude), 99);
  EXPECT_DOUBLE_EQ(ra1, ra2);
  EXPECT_DOUBLE_EQ(dec1, dec2);
}

TEST(FramesTest, FK5CorrectionOfTheDynamicalEcliptic) {
  double l = 0, b = 0;
  FK5Correction(l, b, 0);
  EXPECT_NEAR(l * 3600, -0.09033, 1e-12);
  EXPECT_NEAR(b * 3600, 0.03916, 1e-12);
  l = 90 + 1.397, b = 45;  // L' = 90 at T = 1 (plus the small square term)
  FK5Correction(l, b, 1.0);
  EXPECT_NEAR((l - 91.397) * 3600, -0.09033 + 0.03916, 1e-6);
  EXPECT_NEAR((b - 45) * 3600, -0.03916, 1e-6);
}

TEST(FramesTest, ObserverAndTopocentricPlace) {
  double phiC, rho;
  GeocentricLatitudeAndRadius(phiC, rho, 0, 0);
  EXPECT_EQ(phiC, 0);
  EXPECT_NEAR(rho, 1.0, 1e-12);
  GeocentricLatitudeAndRadius(phiC, rho, 90, 0);
  EXPECT_NEAR(phiC, 90, 1e-12);
  EXPECT_NEAR(rho, 0.9966472, 1e-9);
  GeocentricLatitudeAndRadius(phiC, rho, 45, 6378.14);
  EXPECT_NEAR(phiC, 45 - 0.192425, 1e-12);
  EXPECT_NEAR(rho, 0.9983271 - 0.0000035 * std::cos(4 * phiC * M_PI / 180) +
                       0.0016764 * std::cos(2 * phiC * M_PI / 180) + 0.001, 1e-12);
  // The Moon in the observer's zenith comes one Earth radius closer.
  double ra, dec, dist;
  TopocentricFromGeocentric(ra, dec, dist, 150.0, 40.0, 60.0, 40.0, 10.0, 1.0, 1.0);
  EXPECT_NEAR(dist, 59.0, 1e-12);
  EXPECT_NEAR(ra, 150.0, 1e-10);
  EXPECT_NEAR(dec, 40.0, 1e-10);
  // Six hours east of an observer at the equator the shift is atan(1/60).
  TopocentricFromGeocentric(ra, dec, dist, 60.0, 0.0, 60.0, 0.0, 10.0, 1.0, 1.0);  // hour angle 90 degrees
  EXPECT_NEAR(ra - 60.0, -std::atan(1.0 / 60) * 180 / M_PI, 1e-10);
  EXPECT_NEAR(dist, std::sqrt(3601.0), 1e-12);
}

TEST(FramesTest, HorizontalCoordinatesAndTheirInverse) {
  double H, alt, az;
  EquatorialToHorizontal(false, H, alt, 3.0, 50.0, 45.0, 20.0, 1010, 10, az);  // on the meridian
  EXPECT_NEAR(alt, 60.0, 1e-12);
  EXPECT_NEAR(az, 0.0, 1e-12);
  EXPECT_NEAR(H, 0.0, 1e-12);
  EquatorialToHorizontal(false, H, alt, 6.0, 0.0, 0.0, 0.0, 1010, 10, az);  // setting due west
  EXPECT_NEAR(alt, 0.0, 1e-12);
  EXPECT_NEAR(az, 90.0, 1e-12);
  EXPECT_NEAR(H, 6.0, 1e-12);
  EquatorialToHorizontal(false, H, alt, 1.0, 48.0, 30.0, -10.0, 1010, 10, az);
  EXPECT_NEAR(H, 23.0, 1e-12);
  double refracted, unused;
  EquatorialToHorizontal(true, H, refracted, 1.0, 48.0, 30.0, -10.0, 1010, 10, unused);
  EXPECT_DOUBLE_EQ(refracted, Refraction(alt, 1010, 10));
  // RotateHourAngleFrame takes colatitude, altitude, 180 - azimuth and LST back.
  for (double lst : {0.5, 7.0, 13.25, 22.0}) {
    for (double dec : {-60.0, -5.0, 30.0, 80.0}) {
      EquatorialToHorizontal(false, H, alt, lst, 48.0, 200.0, dec, 1010, 10, az);
      double ra2, dec2;
      RotateHourAngleFrame(ra2, dec2, 90.0 - 48.0, alt, 180.0 - az, lst);
      EXPECT_NEAR(ra2, 200.0, 1e-9);
      EXPECT_NEAR(dec2, dec, 1e-9);
    }
  }
  // AltitudeOfObject agrees with the horizontal conversion at its own LST.
  const double mjd = 60000.3, lon = -13.4, phi = 52.5;
  const double lst = LocalSiderealTime(0, mjd, lon);
  EquatorialToHorizontal(false, H, alt, lst, phi, 111.0, 22.0, 1010, 10, az);
  EXPECT_NEAR(AltitudeOfObject(0, 111.0, 22.0, mjd, phi, lon), alt, 1e-10);
  // In the zenith the arcsine argument may round above 1.
  EXPECT_NEAR(AltitudeOfObject(0, lst * 15, phi, mjd, phi, lon), 90.0, 1e-6);
}

TEST(FramesTest, RefractionAroundAndBelowTheHorizon) {
  EXPECT_NEAR(Refraction(0, 1010, 10) - 0, 1.02 / std::tan(10.3 / 5.11 * M_PI / 180) / 60, 1e-9);
  EXPECT_NEAR(Refraction(0, 1010, 10), 0.48, 0.01);
  EXPECT_EQ(Refraction(0, 0, 10), 0);
  EXPECT_NEAR(Refraction(45, 1010, 10) - 45, 1.02 / std::tan((45 + 10.3 / 50.11) * M_PI / 180) / 60, 1e-12);
  // Down to -2 degrees the correction applies and stays finite and positive.
  const double atLimit = Refraction(-2.0, 1010, 10);
  EXPECT_GT(atLimit, -2.0);
  EXPECT_LT(atLimit, -1.0);
  // Below it the true altitude stands: no jump through the pole at -5.11.
  for (double h : {-2.01, -5.0, -5.11, -5.2, -30.0, -90.0}) EXPECT_EQ(Refraction(h, 1010, 10), h) << h;
  double H, alt, az;
  EquatorialToHorizontal(true, H, alt, 12.0, 50.0, 0.0, -60.0, 1010, 10, az);  // far below the horizon
  EXPECT_NEAR(alt, -80.0, 1e-9);
}

TEST(FramesTest, GalacticCoordinates) {
  double l, b;
  EquatorialToGalactic(l, b, 192.25, 27.4);
  EXPECT_NEAR(b, 90, 1e-9);
  // The B1950 galactic centre (17h42.4m, -28 55').
  EquatorialToGalactic(l, b, 265.6, -28.917);
  EXPECT_NEAR(AngleToPlusMinus180(l), 0.0, 0.1);
  EXPECT_NEAR(b, 0.0, 0.1);
  for (double ra = 5; ra < 360; ra += 37)
    for (double dec = -85; dec < 90; dec += 24) {
      EquatorialToGalactic(l, b, ra, dec);
      double ra2, dec2;
      GalacticToEquatorial(ra2, dec2, l, b);
      ASSERT_NEAR(ra2, ra, 1e-9);
      ASSERT_NEAR(dec2, dec, 1e-9);
    }
}

TEST(FramesTest, AngularSeparation) {
  EXPECT_EQ(AngularSeparation({10, 10, 20, 20}), 0);
  EXPECT_NEAR(AngularSeparation({0, 90, 0, 0}), 90, 1e-12);
  EXPECT_NEAR(AngularSeparation({10, 10, 20, 30}), -10, 1e-12);
  EXPECT_NEAR(AngularSeparation({10, 10, 30, 20}), 10, 1e-12);
  // Small separations use the plane form.
  EXPECT_NEAR(AngularSeparation({100.0, 100.1, 0.0, 0.0}), 0.1, 1e-12);
  EXPECT_NEAR(AngularSeparation({100.0, 100.0, 0.05, 0.0}), 0.05, 1e-12);
  // ... also across 0h of right ascension.
  EXPECT_NEAR(AngularSeparation({359.95, 0.05, 10.0, 10.0}), 0.1 * std::cos(10 * M_PI / 180), 1e-9);
  EXPECT_NEAR(AngularSeparation({0.01, 359.99, -5.0, -5.0}), 0.02 * std::cos(5 * M_PI / 180), 1e-9);
}

TEST(FramesTest, QuadraticInterpolation) {
  double xe, ye, z1 = 7, z2 = 7;
  int nz = -1;
  QuadraticInterpolation(1, 0, 1, xe, ye, z1, z2, nz);
  EXPECT_EQ(xe, 0);
  EXPECT_EQ(ye, 0);
  EXPECT_EQ(z1, 0);
  EXPECT_EQ(z2, 0);
  EXPECT_EQ(nz, 2);
  QuadraticInterpolation(-1, 0, 1, xe, ye, z1, z2, nz);
  EXPECT_EQ(nz, 1);
  EXPECT_NEAR(z1, 0, 1e-6);
  // y = x^2 - 0.25 has roots at -0.5 and 0.5.
  QuadraticInterpolation(0.75, -0.25, 0.75, xe, ye, z1, z2, nz);
  EXPECT_EQ(nz, 2);
  EXPECT_NEAR(z1, -0.5, 1e-15);
  EXPECT_NEAR(z2, 0.5, 1e-15);
  // y = (x - 0.5)(x + 3): one root inside, z1 takes it.
  auto y = [](double x) { return (x - 0.5) * (x + 3); };
  QuadraticInterpolation(y(-1), y(0), y(1), xe, ye, z1, z2, nz);
  EXPECT_EQ(nz, 1);
  EXPECT_NEAR(z1, 0.5, 1e-12);
  EXPECT_NEAR(xe, -1.25, 1e-12);
  EXPECT_NEAR(ye, y(-1.25), 1e-12);
  // No real roots: z1 and z2 keep their values.
  z1 = 3, z2 = 4;
  QuadraticInterpolation(2, 1, 2, xe, ye, z1, z2, nz);
  EXPECT_EQ(nz, 0);
  EXPECT_EQ(z1, 3);
  EXPECT_EQ(z2, 4);
}

}  // namespace
}  // namespace kvx
