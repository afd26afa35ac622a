// The axis of a shadow cast by a body in front of the Sun and where it meets
// the Earth: the geometry the solar eclipses (the Moon's shadow) and the
// transits of Mercury and Venus (the planet's) share. All lengths are in
// equatorial Earth radii, geocentric, equator and equinox of date; z is
// stretched by the Earth's flattening so that the Earth is a unit sphere.
#pragma once

#include <cstdint>
#include <functional>

namespace kvx {

// The shadow axis at one instant.
struct TShadowAxis {
  double x = 0, y = 0, z = 0;  // the central point (Earth radii) when the axis meets the Earth
  std::uint8_t art = 0;
  double u = 0;             // umbra diameter, negative: total
  double e[3] = {0, 0, 0};  // unit vector of the axis from the Sun towards the body
};

// The two cones of the shadow as straight lines in the distance x (Earth
// radii, from the body towards the Earth along the axis) over D, the
// Sun-body distance: umbra diameter UmbraSlope x / D - UmbraOffset (negative
// where the umbra has closed into the antumbra's vertex), penumbra diameter
// PenumbraSlope x / D + PenumbraOffset.
struct TShadowCones {
  double UmbraSlope = 0, UmbraOffset = 0;
  double PenumbraSlope = 0, PenumbraOffset = 0;
};

// Rectangular coordinates of a place given by right ascension and
// declination (degrees) and distance r (any unit); v[2] is multiplied by
// zScale (kEarthFlatteningScale for the stretched frame above, 1 for the
// plain one).
void EquatorialToRectangular(double ra, double dec, double r, double zScale, double v[3]);

// z of the stretched frame per z of the plain one (the Earth's axis ratio
// inverted, 1 / 0.996633...).
inline constexpr double kEarthFlatteningScale = 1.0033783749885865;

// The axis through the Sun's place `sun` and the body's place `body`
// (rectangular, stretched frame, Earth radii), the kind of eclipse it makes
// on the Earth (eclipse_kind) and, while the axis meets the Earth, the
// central point (unstretched z) and the umbra's diameter there. A body on
// the Sun's place gives a default axis (kind 0).
TShadowAxis ShadowAxisAtEarth(const double body[3], const double sun[3], const TShadowCones& cones);

// The axis at an instant (centuries of TT); false when no place is known.
using TShadowAxisAt = std::function<bool(double tt, TShadowAxis& axis)>;

// The kind on the Earth at T (centuries of UT, Delta T in seconds) and, while
// the eclipse is central (annular or total), the point of the central line
// (longitude in degrees, west positive, [-180, 180); geodetic latitude in
// degrees) and the duration of the central phase there (minutes), from the
// axis point's speed over the turning ground between T and 6 s later (or
// earlier, when the axis has left the Earth by then). Sidereal time:
// `sidereal` as GreenwichSiderealTime takes it. All zero when no axis is
// known at T, the place and duration zero unless central.
void CentralLinePoint(const TShadowAxisAt& axisAt, std::uint8_t sidereal, double T, double deltaT, std::uint8_t& art,
                      double& laenge, double& breite, double& dauer);

}  // namespace kvx
