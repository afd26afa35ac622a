// Planetocentric longitude and latitude of a detail measured on a drawing
// of the disc of the Sun, Mars, Jupiter or Saturn.
//
// The drawing: the disc's equatorial and polar diameters and the detail's
// offsets x (to the right) and y (up) from the disc centre, all in one
// unit (the radius is half the diameter entered); north up, or south up
// with `SouthAbove` (the point is then mirrored through the centre). The
// disc data of the instant: P the position angle of the rotation axis, B
// the latitude of the disc centre, L0 the longitude of the central
// meridian (degrees, from the physical ephemeris).
//
// Sun and Mars are spheres: z = sqrt(R² - x² - y²),
//   β = asin((z sin B - s x cos B sin P + s y cos B cos P) / R),
//   Δ = asin(s (x cos P + y sin P) / (R cos β)),
// longitude L0 + Δ for the Sun, L0 - Δ for Mars. Jupiter and Saturn are
// spheroids X² + Y² + Z²/(1 - f)² = R², f = (R - Rp)/R, Z along the axis:
// with u = s (x cos P + y sin P), v = s (-x sin P + y cos P), the visible
// surface point X = u, Y = w cos B - v sin B, Z = v cos B + w sin B (w the
// larger root, towards the observer) gives β = asin(Z/r), Δ = asin(X/(r
// cos β)) with r = |(X, Y, Z)|, longitude L0 - Δ; f = 0 gives the sphere.
// Longitudes in [0, 360), latitudes planetocentric, degrees.
#pragma once

#include <cstdint>

#include "core/observer_record.h"
#include "engine/body_settings.h"
#include "theories/theory_types.h"

namespace kvx {

// 0 Sun, 1 Mars, 2 Jupiter, 3 Saturn.
struct TDrawingMeasurement {
  int Body = 0;
  double P = 0, B = 0, L0 = 0;               // degrees
  double Diameter = 10, PolarDiameter = 10;  // drawing units
  double X = 0, Y = 0;                       // drawing units from the centre
  bool SouthAbove = false;
};

// A polar diameter larger than the equatorial one becomes 0.98 of it.
double LimitPolarDiameter(double polar, double equatorial);

// False (the results untouched) for a point off the disc or any value out
// of range or not finite.
bool MeasureDrawingPoint(const TDrawingMeasurement& m, double& longitude, double& latitude);

// P, B and L0 (degrees) of the Sun (body 0) or of Mars, Jupiter, Saturn
// (1..3) at the record's instant from the physical ephemeris (the record
// is completed here); `bodySettings` for the body objects. False when the
// body has no place.
bool DrawingDiscData(int body, TObserverRecord observer, TTheorySelection selection, std::int32_t vsopLevel,
                     const TBodySettings& bodySettings, double& P, double& B, double& L0);

}  // namespace kvx
