// Angle, vector and matrix arithmetic: the lowest layer of the core library.
//
// Three families, chosen by the caller through the routine it calls:
//   - double precision, angles in degrees (used everywhere);
//   - radians, with the vector record TVectorXYZR (Earth-satellite code);
//   - 80-bit extended precision (`long double`), angles in degrees, with
//     TVector3Ext and TMatrix33Ext (eclipse, occultation, Kepler-orbit and
//     integrator code).
// No routine keeps state. Degree routines convert with the extended factor
// 0.0174532925199433 rad/deg and back with 57.29577951308231 deg/rad.
//
// Inverse trigonometric routines never fail: arguments that leave [-1, 1]
// by rounding are clamped to it.
#pragma once

#include <cstdint>

#include "core/tabulated_constants.h"

namespace kvx {

// 3x3 rotation matrix of doubles, row by row: m[row][column], so m[0][1] is
// m12. Applied to column vectors: x' = m11 x + m12 y + m13 z, ...
struct TMatrix33 {
  double m[3][3] = {};
};

// The same with 80-bit extended elements.
struct TMatrix33Ext {
  long double m[3][3] = {};
};

// Vector of the satellite code: x, y, z and its length r (valid once
// SetVectorLength has run).
struct TVectorXYZR {
  double x = 0, y = 0, z = 0, r = 0;
};

// Vector of 80-bit extended components.
struct TVector3Ext {
  long double x = 0, y = 0, z = 0;
};

// Rounds a value to the precision of the 6-byte real type (48 bits: a sign,
// a 39-bit stored fraction with a hidden leading bit, an exponent biased by
// 129). Round to nearest; magnitudes below 2^-129 become 0. Used where stored
// constants and intermediate sums are kept in that type.
long double RoundToSixByteReal(long double x);

// ---------------------------------------------------------------------------
// Double-precision family, angles in degrees.

// sin, cos, tan of x degrees.
double SinDeg(double x);
double CosDeg(double x);
double TanDeg(double x);
// Returns sin x and writes cos x into c (x in degrees).
double SinCosDeg(double& c, double x);

// arctan x in degrees, (-90, 90).
double ArcTanDeg(double x);
// arcsin x in degrees, [-90, 90]; x is clamped to [-1, 1].
double ArcSinDeg(double x);
// arccos x in degrees, [0, 180]; x is clamped to [-1, 1]. Near 0 the linear
// form 90 - x (in degrees) is used.
double ArcCosDeg(double x);
// Angle of the point (x, y) in degrees, (-180, 180]; (0, 0) gives 0. The
// arctangent is always taken of the smaller ratio, so accuracy holds near
// the axes.
double ArcTan2Deg(double y, double x);

// x reduced to [0, 360) degrees.
double Mod360(double x);
// An hour angle given in hours as degrees (15 an hour), reduced to
// [0, 360): the form in which every table writes it.
double HourAngleDegrees(double hours);
// Angles above 180 lowered by 360 (180 itself stays); nothing else changes.
double AngleToPlusMinus180(double x);
// Fraction of x in [0, 1) (x - Int(x), plus 1 when negative).
double FracPositive(double x);
// 1, -1 or 0 by the sign of x.
double Sign(double x);
// Common logarithm, ln x / ln 10.
double Log10(double x);
// Days to hours (24 x) and hours to days (x / 24); also handed around as
// routine values.
double DaysToHours(double x);
double HoursToDays(double x);

// Spherical (r, latitude, longitude in degrees) to rectangular (same unit
// as r): x = r cos lat cos lon, y = r cos lat sin lon, z = r sin lat.
void PolarToCartesian(double& x, double& y, double& z, double r, double lat, double lon);
// Rectangular to spherical: r, latitude in [-90, 90] and longitude in
// [0, 360) degrees. (0, 0, 0) gives r = lat = lon = 0.
void CartesianToPolar(double& r, double& lat, double& lon, double x, double y, double z);

// (x, y, z) := M (x, y, z), in place.
void MatrixTimesVector(const TMatrix33& M, double& x, double& y, double& z);
// Point (xx, yy) of an orbit plane to space by the first two columns of M:
// x = m11 xx + m12 yy, y = m21 xx + m22 yy, z = m31 xx + m32 yy.
void OrbitPlaneToSpace(const TMatrix33& M, double xx, double yy, double& x, double& y, double& z);

// Reduces both angles to [0, 360); when they are more than 180 apart the
// larger one (if above 180) is lowered by 360, a first, so that a - b is the
// short way round. (350, 10) gives (-10, 10); (10, 350) gives (10, -10).
void AlignAnglePair(double& a, double& b);
// AlignAnglePair(a, b); d := Mod360(d), lowered by 360 when it exceeds 180
// and one of the aligned angles is negative.
void AngleDifferenceSigned(double& a, double& b, double& d);
// True when x lies strictly between b1 and b2 (in either order).
bool IsBetween(double b1, double b2, double x);
// Time at which the line through (t1, a1), (t2, a2) meets the line through
// (t1, b1), (t2, b2).
double LinearCrossingTime(double t1, double t2, double a1, double a2, double b1, double b2);

// The quadrant logic of ArcTan2Deg with artanh in place of arctan, degrees.
// Meant for abs(y) < abs(x); for abs(y) >= abs(x) the result is finite but
// has no geometric meaning.
double HyperbolicAngleDeg(double y, double x);
// CartesianToPolar with HyperbolicAngleDeg in place of ArcTan2Deg.
void HyperbolicCartesianToPolar(double& r, double& lat, double& lon, double x, double y, double z);

// Position and velocity from spherical coordinates and their rates: angles
// in degrees, dlon and dlat in radians per unit of time, dr in r's unit per
// unit of time. Position as PolarToCartesian.
void SphericalToRectangularWithVelocity(double& x, double& y, double& z, double lon, double lat, double r, double dlon,
                                        double dlat, double dr, double& vx, double& vy, double& vz);
// x - Trunc(x) with a 32-bit truncation, plus 1 when negative: [0, 1).
double FracPositiveTrunc(double x);

// Adds the first-order effect of a rotation by three small angles a, b, c
// (radians) about the x, y and z axes; every new component is computed
// from the old ones: x += -(c y + b z); y += c x - a z; z += b x + a y.
void SmallRotateVector(double& x, double& y, double& z, double a, double b, double c);

// The larger and the smaller of two values.
std::int32_t LargerInt(std::int32_t a, std::int32_t b);
double SmallerDouble(double a, double b);

// ---------------------------------------------------------------------------
// Extended-precision family (80-bit), angles in degrees.

long double SinDegExt(long double x);
long double CosDegExt(long double x);
long double TanDegExt(long double x);
// arcsin x in degrees; x clamped to [-1, 1].
long double ArcSinDegExt(long double x);
// arccos x in degrees; x > 1 gives 0, x < -1 gives 180.
long double ArcCosDegExt(long double x);
// As ArcTan2Deg.
long double ArcTan2DegExt(long double y, long double x);
// As AngleToPlusMinus180.
long double AngleToPlusMinus180Ext(long double x);
// As PolarToCartesian.
void SphericalToRectExt(long double& x, long double& y, long double& z, long double r, long double lat,
                        long double lon);
// c = a x b.
void CrossProductExt(const TVector3Ext& a, const TVector3Ext& b, TVector3Ext& c);
// a . b and |v|.
long double DotProductExt(const TVector3Ext& a, const TVector3Ext& b);
long double VectorLengthExt(const TVector3Ext& v);
// (x, y, z) := M (x, y, z), in place.
void MatrixTimesVectorExt(const TMatrix33Ext& M, long double& x, long double& y, long double& z);
// Orientation of an orbit: the columns of M are the unit vectors P (to the
// perihelion), Q (90 degrees ahead in the plane) and R (the pole), for the
// longitude of the node, the inclination and the argument of perihelion in
// degrees.
void RotationMatrixFromAngles(TMatrix33Ext& M, long double node, long double incl, long double argPeri);
// As OrbitPlaneToSpace (note the argument order).
void OrbitPlaneToEcliptic(const TMatrix33Ext& M, long double& x, long double& y, long double& z, long double xx,
                          long double yy);

// Wrappers for extended variables over the double routines: the values are
// copied to doubles, computed, and copied back.
void PolarToCartesianExtended(long double& x, long double& y, long double& z, double r, double lat, double lon);
void MatrixTimesVectorExtended(const TMatrix33& M, long double& x, long double& y, long double& z);

// Second extended vector set: as CrossProductExt; DotProductExtended returns
// the dot product rounded to the 6-byte real type (about 11 significant
// digits), VectorLengthExtended the square root of that rounded value.
void CrossProductExtended(const TVector3Ext& a, const TVector3Ext& b, TVector3Ext& c);
double DotProductExtended(const TVector3Ext& a, const TVector3Ext& b);
double VectorLengthExtended(const TVector3Ext& v);

// ---------------------------------------------------------------------------
// Radian family (satellite code).

// x^3.
double Cube(double x);
// base^exponent as exp(exponent ln base); base <= 0 gives 1.
double Power(double base, double exponent);
// Degrees to radians and back (extended factors pi/180, 180/pi).
double DegToRad(double x);
double RadToDeg(double x);
// sin x / cos x, x in radians.
double TanRad(double x);
// arcsin x in radians; x clamped to [-1, 1].
double ArcSinRad(double x);
// x reduced to [0, period) with a 32-bit quotient.
double FloatModulo(double x, double period);
// x reduced to [0, 2 pi).
double Mod2Pi(double x);
// Angle of (x, y) in radians, (-pi/2, 3pi/2]. x = 0 gives pi/2 for y > 0 and
// 3pi/2 for y <= 0 (so (0, 0) gives 3pi/2).
double ArcTan2Rad(double y, double x);
// a . b of the x, y, z components.
double DotProduct3(const TVectorXYZR& a, const TVectorXYZR& b);
// v.r := |(x, y, z)|.
void SetVectorLength(TVectorXYZR& v);

}  // namespace kvx
