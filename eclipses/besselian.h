// Local circumstances of an eclipse of the Sun by a nearer body (the Moon,
// or a planet in transit) from Besselian quantities of the fundamental
// plane.
//
// Times: Julian centuries of UT from J2000 (T); the fits of the occulting
// body and of the Sun are evaluated at TT = T + DeltaT/(86400 x 36525).
// Distances: Earth equatorial radii. Angles: degrees. Frame: true equator
// and equinox of date (the apparent places of the fits).
//
// The fundamental plane passes through the Earth's centre perpendicular to
// the shadow axis k (from the occulting body towards the Sun); i lies in
// the equator, j = k x i points north. x, y are the body's coordinates in
// that plane, l1 and l2 the radii of the penumbra and the umbra there
// (l2 < 0: the umbral cone reaches the plane, a total phase). Computed in
// 80-bit extended precision.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "core/apparent_place_fit.h"
#include "core/frames.h"
#include "core/observer_record.h"
#include "core/vector_math.h"

namespace kvx {

// One hour in Julian centuries.
inline constexpr double kHourCenturies = 1.1407711613050422e-06;
// One second of time in Julian centuries.
inline constexpr double kSecondCenturies = 3.168808781402895e-10;
// The astronomical unit in Earth equatorial radii.
inline constexpr long double kAuInEarthRadii = 23454.77992L;

// The occulting body: its radius, the Sun's radius (Earth radii) and the
// half window in which the inner contacts are looked for around the local
// maximum (centuries). The Moon's by default.
struct TOccultingBody {
  long double Radius = 0.2725076L;
  long double SunRadius = 109.1227L;
  double InnerContactWindow = 2.8519279032626056e-07;  // 900 s
  // The span of the contact scan on each side of the given instant (hours).
  double ScanHalfSpanHours = 10.0;
};

// Fits of the occulting body (right ascension, declination in degrees,
// distance in Earth radii) and of the Sun (distance in AU) over one
// interval (centuries of TT).
struct TBesselFits {
  TChebyshevPoly BodyRa, BodyDec, BodyR;
  TChebyshevPoly SunRa, SunDec, SunR;
};

// Fills the fits over [Ta, Tb] (centuries of TT); false when they cannot be
// made.
using TBesselFitter = std::function<bool(double Ta, double Tb, TBesselFits& fits)>;

// Besselian quantities at one instant.
struct TBesselElements {
  TMatrix33Ext Basis{};  // rows i, j, k
  long double x = 0, y = 0, z = 0;
  long double l1 = 0, l2 = 0;        // penumbra and umbra radii on the plane
  long double tanf1 = 0, tanf2 = 0;  // tangents of the cone half angles
};

// The observer in the fundamental plane.
struct TObserverFundamental {
  long double xi = 0, eta = 0, zeta = 0;
};

// Local circumstances of one eclipse for one place.
struct TLocalEclipseCircumstances {
  double Contact[4] = {0, 0, 0, 0};        // c1..c4, T (UT)
  double PositionAngle[4] = {0, 0, 0, 0};  // P1..P4, degrees (0, 360], 0 when not computed
  double VertexAngle[4] = {0, 0, 0, 0};    // V1..V4, degrees (0, 360], 0 when not computed
  double Maximum = 0;                      // T (UT) of the local maximum
  double Magnitude = 0;
  double Obscuration = 0;                // fraction of the Sun's disc covered
  std::uint8_t Kind = 0;                 // 0 not seen, 1 partial, 2 annular, 3 total
  double SunAltitude[4] = {0, 0, 0, 0};  // degrees, at c1..c4
};

// One row of the local course.
struct tlocalEventList {
  double Magnitude = 0;
  double Obscuration = 0;
  double Time = 0;         // T (UT)
  double SunAltitude = 0;  // degrees
};

// The step of the course rows.
struct TEventStep {
  std::int32_t Minutes = 1;
  std::int32_t Seconds = 0;
};

// The most rows of one course.
inline constexpr int kMaxCourseRows = 32000;

// Regula falsi with the Pegasus modification on [a, b]: the root within
// `tolerance` or after `maxIterations` steps. When f(a) and f(b) have the
// same sign (or one is 0) the result is a.
double PegasusRoot(const std::function<double(double)>& f, double a, double b, double tolerance,
                   int maxIterations = 30);

// Steps f along [from, to] with parabolas through three samples `half`
// apart (the windows' middles 2 x half apart, the first middle at from +
// half, the last window the one whose middle lies below `to`), collecting
// the roots in time order (a root on the border of two windows counted
// once) until `maxRoots` are found, and the last extremum that lies inside
// a window.
struct TParabolaScanResult {
  std::vector<double> Roots;
  bool HasExtremum = false;
  double Extremum = 0;
};
TParabolaScanResult ScanParabolaRoots(const std::function<double(double)>& f, double from, double to, double half,
                                      int maxRoots);

// Magnitude and obscuration of the Sun for the shadow radii L1, L2 and the
// observer's distance m from the axis. `kind`: 1 partial, 2 annular, 3
// total. Finite for every finite input (m = 0 counts as central).
void EclipseMagnitude(int kind, long double L1, long double L2, long double m, double& magnitude, double& obscuration);

// The shadow at the observer: the elements, the observer in the plane, the
// radii L1, L2 of penumbra and umbra at the observer and the observer's
// distance M from the axis.
struct TShadowAtObserver {
  TBesselElements Elements;
  TObserverFundamental Observer;
  long double L1 = 0, L2 = 0, M = 0;
};

// The Besselian machinery over one set of fits.
class TBesselCalculator {
 public:
  TBesselCalculator(const TOccultingBody& body, const TBesselFits& fits, double deltaTSeconds);

  TBesselElements Elements(double T) const;
  // rhoCos, rhoSin: the observer's place factors; longitude east negative.
  TObserverFundamental Observer(double T, double rhoCos, double rhoSin, double longitude) const;
  TObserverFundamental ObserverIn(const TBesselElements& e, double T, double rhoCos, double rhoSin,
                                  double longitude) const;
  TShadowAtObserver Shadow(double T, double rhoCos, double rhoSin, double longitude) const;
  // (x - xi)^2 + (y - eta)^2 - L^2 with L1 (penumbra) or L2 (umbra).
  double ContactFunction(double T, bool umbra, double rhoCos, double rhoSin, double longitude) const;
  // The Sun's apparent right ascension and declination at T (degrees).
  void SunPlace(double T, double& ra, double& dec) const;
  const TOccultingBody& Body() const { return body_; }

 private:
  TOccultingBody body_;
  TBesselFits fits_;
  double ttOffset_;
};

// Contacts and maximum (kinds 0..3, magnitude, obscuration, inner contacts)
// of the place at rhoCos, rhoSin, longitude around T0.
void LocalContacts(const TBesselCalculator& calc, double T0, double rhoCos, double rhoSin, double longitude,
                   TLocalEclipseCircumstances& out);

// The whole local circumstances for the observer at the instant `mjd` (UT)
// at which an eclipse is in progress somewhere: the fits of degree 8 over
// T0 +- 5e-5 centuries, contacts, angles, the Sun's altitudes (with the
// record's refraction settings), and with `withCourse` the course rows.
// `deltaTSeconds` is the observer record's Delta T. False (and `out` with
// kind 0 and every contact at the instant) when the fits fail.
bool LocalEclipseCircumstances(const TBesselFitter& fitter, const TOccultingBody& body, bool withCourse,
                               const TObserverRecord& observer, std::uint8_t siderealFlag, TEventStep step, double mjd,
                               TLocalEclipseCircumstances& out, std::vector<tlocalEventList>& course);

}  // namespace kvx
