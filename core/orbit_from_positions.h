// The orbit through two heliocentric positions at two times (the two-position
// boundary problem of a preliminary orbit): the ratio of the orbital sector to
// the triangle of the two radius vectors, and the elements that follow.
//
// Positions are heliocentric rectangular (AU), ecliptic or equatorial as the
// caller works; the angles come out in that same frame. Times are Julian days.
#pragma once

#include "core/vector_math.h"

namespace kvx {

// The function of the sector-to-triangle ratio eta whose root
// SectorTriangleRatio seeks: 1 - eta + (w + l) W(w) with w = m/eta^2 - l
// (Gauss's equations). m and l are the two auxiliary quantities of the pair.
double SectorTriangleFunction(double eta, double m, double l);

// Sector-to-triangle ratio of the orbit through ra and rb.
// Given ra, rb: heliocentric positions (AU); tau = k |tb - ta| (k the Gaussian
// constant, times in days).
// Returns eta (dimensionless, >= 1 for an ellipse). A secant iteration of at
// most 30 steps; eta never falls below its smallest admissible value.
double SectorTriangleRatio(const TVector3Ext& ra, const TVector3Ext& rb, double tau);

// Elements of the orbit through ra (at Julian day ta) and rb (at tb), the body
// moving from ra toward rb by less than half a revolution.
// Returned perihelionTime (Julian centuries from J2000, that is from JD
// 2451545.0); q (AU); e; inclination (degrees, [0, 180]), node (degrees,
// (-180, 180]; 0 for an orbit in the reference plane) and
// argumentOfPerihelion (degrees, [0, 360)), in the frame of the positions.
// An exact parabola (e = 1) takes its perihelion time from Barker's equation.
// Returns false, with the outputs left 0, when no orbit follows: a zero
// position, two parallel positions (the plane is undefined), or equal times.
bool ElementsFromTwoPositions(const TVector3Ext& ra, const TVector3Ext& rb, double& perihelionTime, double ta,
                              double tb, double& q, double& e, double& inclination, double& node,
                              double& argumentOfPerihelion);

}  // namespace kvx
