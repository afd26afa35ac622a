// State vector to elements, and the two-body place of one observation from a
// trial state vector.
//
// State vectors: heliocentric equatorial J2000, x, y, z in AU and x', y', z'
// in AU per Gaussian time unit (1/k days, k = kGaussK); epochs are JD (TT).
// Elements refer to the ecliptic of J2000 (obliquity 23.439291 degrees).
// Reference: Vallado, Fundamentals of Astrodynamics and Applications,
// algorithms 8 and 9 (universal variables).
#pragma once

#include <array>

#include "core/comet_elements.h"
#include "orbitdet/observations.h"

namespace kvx {

// The J2000 obliquity the elements are referred to, degrees.
inline constexpr double kOrbitObliquityJ2000 = 23.439291;

// Elements of a state vector. mu is GM of the Sun in Gaussian units (1).
// Kind 1 (parabola) when |1 - e| < 0.001: size q and time element T; kind 2
// (hyperbola): size a < 0 and T; kind 0: size a and M. The perihelion time
// always follows from the actual e. i < 1e-10 rad gives node 0; e < 1e-10
// gives omega 0 and M the argument of latitude. False (record zero) for a
// zero position or non-finite input.
bool OrbitElementsFromState(const TStateVector& state, double epoch, double mu, TOrbitElementRecord& elements);

// The comet element record of a trial orbit: q, e, i, node, omega, T,
// the state's epoch and the equinox 2000.0.
TCometElements ElementsForTrialOrbit(const TOrbitElementRecord& elements, double epoch);

// RA (hours, [0, 24)) and Dec (degrees) of one observation from the trial
// state vector at `epoch` (JD TT): the observation's TT day and the Sun seen
// from the observer (AU, equatorial J2000). Universal variables with
// closed-form Stumpff functions away from zero, a bracketed Newton step,
// the light time iterated; at most 1000 steps in all.
TOrbitStatus PropagateTwoBodyUniversal(const TStateVector& state, double epoch, double jdTT,
                                       const std::array<double, 3>& sunFromObserver, double& raHours,
                                       double& decDegrees);

// Position and velocity (Gaussian units) after dt Gaussian time units.
TOrbitStatus PropagateUniversal(const TStateVector& state, double dt, TStateVector& out, int& steps);

// Stumpff's c2 and c3 of z = alpha x^2, series near 0, closed forms elsewhere.
void StumpffC2C3(double z, double& c2, double& c3);

}  // namespace kvx
