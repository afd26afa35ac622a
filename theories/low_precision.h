// Low-precision Sun and Moon: closed-form right ascension and declination
// from a few mean arguments and periodic terms, for searches that need many
// evaluations (rise and set, twilight, satellite visibility, eclipses).
// They never consult the theory selection.
#pragma once

namespace kvx {

// Geocentric place of the Sun, equator and equinox of date.
// Given:    T    Julian centuries of 36525 days from J2000.0 (JD 2451545.0),
//                in whatever time scale the caller works in.
// Returned: ra   right ascension, hours, 0 <= ra < 24
//           dec  declination, degrees
// Notes:    fixed obliquity (cos 0.91748, sin 0.39778), no nutation or
//           aberration; error about 0.01 degree over 1900-2100.
void SunLowPrecision(double& ra, double& dec, double T);

// Geocentric place of the Moon, equator and equinox of date.
// Given:    T         Julian centuries from J2000.0 (caller's time scale).
// Returned: ra        right ascension, hours, 0 <= ra < 24
//           dec       declination, degrees
//           distance  from the Earth's centre, equatorial Earth radii
//                     (from the horizontal parallax, about 56..64)
// Notes:    fourteen longitude and seven latitude terms; error of a few
//           tenths of a degree.
void MoonLowPrecision(double& ra, double& dec, double& distance, double T);

}  // namespace kvx
