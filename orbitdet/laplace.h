// Preliminary orbit by Laplace's method: the observed direction and its first
// two derivatives at one epoch, with the Sun seen from the observer and its
// derivatives, give the heliocentric distance through an equation of the
// eighth degree.
//
// Time: derivatives per Gaussian time unit tau = k (t - epoch), k = kGaussK,
// t in TT days. Frame: equatorial J2000; lengths in AU; RA in hours, Dec in
// degrees.
// Reference: Danby, Fundamentals of Celestial Mechanics, 2nd ed., ch. 7;
// Escobal, Methods of Orbit Determination, ch. 7.
#pragma once

#include <array>
#include <span>

#include "orbitdet/observations.h"

namespace kvx {

inline constexpr int kMaxLinearEquations = 11;
// Augmented matrix: row i holds the n coefficients, then the right-hand side
// in column n (0-based).
using TLinearSystem = std::array<std::array<double, kMaxLinearEquations + 1>, kMaxLinearEquations>;

// Gaussian elimination with the largest pivot of each column. Singular when
// a pivot is below 1e-14 times the largest coefficient.
TOrbitStatus SolveLinearSystem(TLinearSystem& a, int n, std::array<double, kMaxLinearEquations>& x);

// Least-squares polynomials in tau of RA and Dec of the samples about the
// epoch (JD TT), degree min(degree, max(2, n - 2)). RA is unwrapped about
// the middle sample's value; the fitted RA is reduced to [0, 24). TooMany
// (and the message "Datenstruktur zu groß" / "Out of memory") above 1000
// samples; `out` is then left alone.
TOrbitStatus FitObservationPolynomial(TDirectionRecord& out, int degree, double epochTT,
                                      std::span<const TChosenObservation> samples);

// Local sidereal angle (degrees, [0, 360)) for a JD (UT) and a longitude
// (degrees, west positive).
double LocalSiderealAngle(double jd, double longitudeWest);

// Lagrange interpolation through three nodes: the value and its first and
// second derivatives per Gaussian time unit at t (days).
void LagrangeThreePoint(const std::array<double, 3>& t, const std::array<std::array<double, 3>, 3>& y, double at,
                        std::array<double, 3>& value, std::array<double, 3>& first, std::array<double, 3>& second);

// The Sun seen from the observer at `jdTT`: three geocentric Sun positions
// (AU, equatorial J2000) at the TT days `times`, interpolated, plus the
// observer's offset on a spherical Earth from the packed (D.MMSS) longitude
// (west positive) and latitude, with the sidereal angle of `jdUT`.
void ObserverSunVector(TSunRecord& out, const std::array<std::array<double, 3>, 3>& sun,
                       const std::array<double, 3>& times, double longitudePacked, double latitudePacked, double jdUT,
                       double jdTT);

// The state vector from the direction and Sun records; the epoch (JD TT) is
// replaced by the light-time corrected one. NoCurvature when the direction
// shows no curvature, IterationFailed when Newton's method from r = 3 does
// not converge in 100 steps with r > 0, NonFinite otherwise on failure.
TOrbitStatus LaplacePreliminaryOrbit(TStateVector& state, double& epoch, const TDirectionRecord& direction,
                                     const TSunRecord& sun);

}  // namespace kvx
