// Gauss-Krüger conformal coordinates on the Bessel ellipsoid, 3° zones.
//
//   Rechtswert R (easting, m)  = zone k × 1 000 000 + 500 000 + y
//   Hochwert   H (northing, m) = distance along the central meridian 3k°
//                                 from the equator plus the conformal terms
//   longitude λ east-positive (degrees), latitude φ (degrees)
//
// The forward conversion picks the zone k = round(λ / 3) (halves to even:
// 7.5° is zone 2, 10.5° zone 4); the inverse takes k = floor(R / 1 000 000),
// so a Rechtswert below 1 000 000 is zone 0 and negative zones (west
// longitudes) come back to where they were. The series are good to about a
// centimetre and 1e-7° within 1.5° of the central meridian.
#pragma once

namespace kvx {

// Bessel values used when a or b is 0.
inline constexpr double kBesselForwardA = 6377397.15508;
inline constexpr double kBesselForwardB = 6356078.9629;
inline constexpr double kBesselInverseA = 6377397.155;
inline constexpr double kBesselInverseB = 6356078.96325;
// The forward conversion's meridian-arc factor (m), whatever a and b.
inline constexpr double kGaussKruegerArcFactor = 6366742.5199586805;

// λ, φ in degrees, a and b in metres (0 selects the Bessel values). False
// (and R, H untouched) for non-finite input or |φ| >= 90°.
bool GeographicToGaussKrueger(double longitude, double latitude, double a, double b, double& rechtswert,
                              double& hochwert);

// R, H in metres. False (λ, φ untouched) for non-finite input or when the
// footpoint latitude does not converge within 50 passes or lies at a pole.
bool GaussKruegerToGeographic(double rechtswert, double hochwert, double a, double b, double& longitude,
                              double& latitude);

// A longitude in degrees reduced to (-180, 180].
double LongitudeToHalfTurn(double longitude);

}  // namespace kvx
