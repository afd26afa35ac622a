// The four Galilean moons of Jupiter: apparent rectangular coordinates of
// Io, Europa, Ganymede and Callisto relative to Jupiter's disk, seen from
// the Earth and seen from the Sun.
#pragma once

#include <array>

#include "core/observer_record.h"
#include "core/position_blocks.h"
#include "theories/theory_types.h"

namespace kvx {

// Positions of the Galilean moons for the instant of an observer record.
//
// Given:
//   handles    the nine open position files, handed unchanged to Jupiter's
//              planet routine (slot 4) and to PlanetPositionDispatch
//   level      truncation level of the theory libraries, handed on
//   selection  theory selection, handed on (the source of Jupiter's place)
//   observer   a completed record: Mjd (UT), Centuries (T, dynamical
//              time), DeltaTSeconds and the Sun's geocentric ecliptic
//              SunLongitude, SunLatitude (degrees, of date), SunDistance
//              (AU) with its rectangular SunX.. and SunVX.. (AU, AU/day)
// Returned (block):
//   Jupiter's place: heliocentric HelioX..HelioL and velocity at T,
//   geometric geocentric distance Delta (AU), the apparent ecliptic vector
//   ApparentX..Z and its polar form with nutation, the astrometric vector
//   (equatorial of date), the apparent equatorial vector with nutation and
//   its declination, right ascension (degrees) and distance (AU).
//   EarthX/Y/Z[i], SunX/Y/Z[i] for i = 0 Io .. 3 Callisto: X and Y in the
//   sky plane (X positive towards the west, Y along the projected rotation
//   axis, north positive), Z along the line of sight (positive when the
//   moon is farther than Jupiter); equatorial radii of Jupiter. X and Y are
//   corrected for the differential light time and for perspective.
// Notes:
//   The moons are taken at the instant whose light reaches the Earth at
//   the record's time (t = JDE - 2443000.5 - 0.0057755183 Delta days); the
//   set seen from the Sun describes the same instant and places the moons
//   relative to Jupiter's shadow. Every distance field of the block stays
//   geocentric: the Sun-Jupiter distance of the second viewpoint is not
//   written anywhere.
// Reference: Lieske's theory E5 of the Galilean satellites in the high-
//   accuracy form of Meeus, "Astronomical Algorithms" (2nd ed.), ch. 44.
void GalileanMoonsPositions(const PositionFileHandles& handles, TTruncationLevel level, TTheorySelection selection,
                            const TObserverRecord& observer, TJupiterMoonsBlock& block);

// Arguments of the periodic terms of the Galilean moons, degrees; index
// 0 Io .. 3 Callisto.
struct TGalileanArguments {
  std::array<double, 4> l{};      // mean longitudes, in [0, 360)
  std::array<double, 4> pi{};     // longitudes of the perijoves (unreduced)
  std::array<double, 4> omega{};  // longitudes of the nodes on Jupiter's equator (unreduced)
  std::array<double, 4> L{};      // true longitudes l + Sigma (latitude terms only)
  std::array<double, 4> Sigma{};  // longitude perturbations (latitude terms only)
  double psi = 0;                 // node of Jupiter's equator on the ecliptic
  double GSaturn = 0;             // G', mean anomaly of Saturn
  double G = 0;                   // mean anomaly of Jupiter
  double phiLambda = 0;           // the great-inequality argument phi-lambda
  double Pi = 13.469942;          // longitude of Jupiter's perihelion
};

// Mean elements and common arguments for t days (dynamical time, light time
// removed) from JD 2443000.5. L and Sigma stay 0.
TGalileanArguments GalileanMeanArguments(double t);

// Perturbations in longitude Sigma1..Sigma4, degrees.
double IoLongitudeTerms(const TGalileanArguments& a);
double EuropaLongitudeTerms(const TGalileanArguments& a);
double GanymedeLongitudeTerms(const TGalileanArguments& a);
double CallistoLongitudeTerms(const TGalileanArguments& a);
// Latitudes above Jupiter's equator, degrees (arctangent of the sum); need
// a.L and a.Sigma.
double IoLatitudeTerms(const TGalileanArguments& a);
double EuropaLatitudeTerms(const TGalileanArguments& a);
double GanymedeLatitudeTerms(const TGalileanArguments& a);
double CallistoLatitudeTerms(const TGalileanArguments& a);
// Radius vectors, equatorial radii of Jupiter.
double IoRadiusTerms(const TGalileanArguments& a);
double EuropaRadiusTerms(const TGalileanArguments& a);
double GanymedeRadiusTerms(const TGalileanArguments& a);
double CallistoRadiusTerms(const TGalileanArguments& a);

}  // namespace kvx
