// Occultations of point sources (stars, planets' centres) by a nearer body
// for one observer: the contact geometry in the fundamental plane, shared
// by every occultation search, and tsternbedeckung, the search for the
// catalogue stars the Moon hides over a period.
//
// Times: Julian centuries from J2000 of the occulter's fit (dynamical time,
// called T or t here); MJD of UT for contact times. Angles in degrees;
// distances in Earth equatorial radii; hours of UT measured from the
// conjunction in right ascension. Longitude east negative.
//
// The fundamental plane is perpendicular to the direction of the occulted
// object (alpha*, delta*); x points east, y north. At h hours from the
// conjunction (t):
//   x = r cos d sin(a - a*) - rho cos phi' sin H
//   y = r (sin d cos d* - cos d sin d* cos(a - a*)) - rho sin phi' cos d*
//       + rho cos phi' sin d* cos H
// with the occulter at (a, d, r) at t + h and the hour angle
// H = (LST0 + 1.0027379 h) x 15 - a*. A contact is a root of
// f = x^2 + y^2 - radius^2.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/apparent_place_fit.h"
#include "core/observer_record.h"
#include "core/star_reduction.h"
#include "eclipses/occultation_results.h"
#include "eclipses/star_catalogue.h"
#include "engine/search_object.h"

namespace kvx {

// The occulter at T (centuries of its fit): right ascension (degrees,
// continuous over the fit's interval), declination (degrees), distance
// (Earth radii).
using TOcculterPlace = std::function<void(double T, double& ra, double& dec, double& r)>;

// The Moon's place from its three fitted series (right ascension,
// declination, distance), each read by `Evaluate` at T; the series are held
// by reference and must outlive the place.
template <class Poly, double (*Evaluate)(const Poly&, double)>
TOcculterPlace FittedMoonPlace(const Poly& raPoly, const Poly& decPoly, const Poly& rPoly) {
  return [&raPoly, &decPoly, &rPoly](double T, double& ra, double& dec, double& r) {
    ra = Evaluate(raPoly, T);
    dec = Evaluate(decPoly, T);
    r = Evaluate(rPoly, T);
  };
}

// The contact scan's settings. The Moon's: radius 0.2725 Earth radii, the
// window +-2.5 h, samples a quarter hour apart, motions over a quarter hour.
// A planet hiding a star: its radius, +-20 h, 2 h and 2 h.
struct TContactScanSettings {
  double Radius = 0.2725;        // occulter radius, Earth radii
  double HalfWindowHours = 2.5;  // window around the conjunction
  double SpacingHours = 0.25;    // distance of the three samples of one parabola
  double MotionHours = 0.25;     // interval of the plane motion (x', y')
};

// The observer and the instant the hours count from.
struct TOccultationFrame {
  double T = 0;       // conjunction, centuries of the occulter's fit
  double Mjd0 = 0;    // the same instant, MJD of UT
  double Lst0 = 0;    // local sidereal time at Mjd0, hours
  double RhoCos = 0;  // rho cos phi', Earth radii
  double RhoSin = 0;  // rho sin phi'
};

// The frame of a conjunction at T (centuries of TT) for an observer at
// `longitude` (degrees, east positive) with geocentric rho cos phi' and
// rho sin phi' (Earth radii): Mjd0 is T less Delta T `deltaT` (seconds),
// Lst0 its local sidereal time (apparent when `sidereal` is set).
TOccultationFrame OccultationFrameAt(double T, double deltaT, std::uint8_t sidereal, double longitude, double rhoCos,
                                     double rhoSin);

// The occulted object's direction, degrees (apparent, of date).
struct TPointSource {
  double Ra = 0;
  double Dec = 0;
};

// Called before every evaluation of the plane at `hours` so that a moving
// occulted object (a planet) can update its place; may be empty.
using TSourceMotion = std::function<void(double hours, TPointSource& source)>;

struct TPlaneOffset {
  double x = 0, y = 0;  // Earth radii
};

// (x, y) of the occulter relative to the observer's line of sight to the
// source at `hours` from the conjunction.
TPlaneOffset FundamentalPlaneOffset(const TOcculterPlace& occulter, const TOccultationFrame& frame,
                                    const TPointSource& source, double hours);

// Circumstances of one contact.
struct TContactCircumstances {
  double Hours = 0;          // from the conjunction
  double Mjd = 0;            // MJD of UT
  double PositionAngle = 0;  // degrees [0, 360), from north through east
  double Altitude = 0;       // the source's geocentric-plane altitude, degrees (unrefracted)
  double A = 0;              // minutes of time per degree of longitude; not finite when undefined
  double B = 0;              // minutes of time per degree of latitude
};

// Position angle, a, b and altitude at `hours`; the motion from the plane
// `settings.MotionHours` later. a and b are not finite when x x' + y y'
// vanishes. Sign convention: a contact seen from the place moved by dLon
// degrees of longitude (west positive, as the records count it) and dLat
// degrees of latitude (north positive) comes a dLon + b dLat minutes later,
// to first order.
TContactCircumstances ContactCircumstances(const TOcculterPlace& occulter, const TOccultationFrame& frame,
                                           const TPointSource& source, double hours,
                                           const TContactScanSettings& settings);

// The contact scan: roots of f over the window by the parabola scan
// (a root on the border of two windows counted once). Found only with
// exactly two roots: contact 1 (disappearance) and contact 2. `motion`
// moves the source before each evaluation; each contact's circumstances
// use the source moved to that contact.
struct TContactPair {
  bool Found = false;
  TContactCircumstances Contact[2];
  TPointSource Source;  // the source as the scan last computed it
};
TContactPair OccultationContacts(const TOcculterPlace& occulter, const TOccultationFrame& frame, TPointSource source,
                                 const TContactScanSettings& settings, const TSourceMotion& motion = {});
// Copies the two contacts' times (MJD, UT), position angles and a, b
// coefficients into a result record; altitudes are the caller's.
void SetContactPair(tergebnisdatensatz& row, const TContactCircumstances& c1, const TContactCircumstances& c2);
// Stores the altitudes (degrees) of the occulted object and of the Sun at
// the two contacts in a result record, refracted with the observer record's
// pressure and temperature when its refraction is on.
void SetContactAltitudes(tergebnisdatensatz& row, const TObserverRecord& observer, double altitude1, double altitude2,
                         double sun1, double sun2);

// Regula falsi of the occulter's right ascension on the source's over
// [t0, t1] (degrees of tolerance, at most `maxSteps` steps, ending with the
// last estimate): the star form takes the source as given and tries
// alpha* - 360 (the fit's right ascension runs continuously and may start
// below 0); found only when |r sin(d - d*)| < 1.5 Earth radii at t.
struct TConjunction {
  bool Found = false;
  double T = 0;
};
TConjunction FindStarConjunctionInRA(const TOcculterPlace& occulter, double t0, double t1, double a0, double a1,
                                     double sourceRa, double sourceDec, double tolerance, int maxSteps = 100);
// The planet form: both ends reduced to [0, 360) (the one above 180 lowered
// by 360 when they lie more than 180 apart), the source reduced likewise;
// found only when it lies strictly between the ends.
TConjunction FindPlanetConjunctionInRA(const TOcculterPlace& occulter, double t0, double t1, double sourceRa,
                                       double sourceDec, double tolerance, int maxSteps = 101);

// The star of the catalogue whose lower-cased name contains the lower-cased
// `text` (ASCII case folding; any bytes accepted), the first in catalogue
// order whose magnitude x 100 is not above `limitMagnitude` x 100; 0 when
// none matches or the text is empty.
std::int32_t FindStarByName(const TStarCatalogue& catalogue, const std::string& text, float limitMagnitude);

// The largest |ecliptic latitude| (degrees, B1950) a star may have and
// still be hidden by the Moon for some observer at T: the Moon's greatest
// latitude 5.35, plus its greatest parallax 1.03 and radius 0.29, plus 1.0
// of margin, plus the ecliptic's precession (0.015 per century from 1950).
double MoonReachLatitude(double T);

// The search's inputs besides the period.
struct TLunarOccultationOptions {
  std::int32_t SelectedStar = -1;        // -1 all stars, else 1..count
  float LimitingMagnitude = 8.0f;        // stars strictly brighter are searched
  std::int32_t MinimumSunAltitude = -6;  // degrees; the Sun must be below at a contact
  std::uint8_t OldPrecession = 1;        // Newcomb's precession with the empirical term
  std::uint8_t PreciseSun = 0;           // the Sun from the selected theory
  // Skip stars the Moon cannot reach: ecliptic latitude, and the Moon's
  // declination where it passes the star's right ascension.
  bool LatitudeFilter = true;
};

// The observer record `start` moved to T (centuries of TT) with the fixed
// Delta T `deltaT` (seconds, not recomputed): its UT date and local time,
// completed with the search context's sidereal-time choice, theory
// selection and VSOP level A, for the occulting body's place at T.
TObserverRecord ObserverAtTT(const TObserverRecord& start, double T, double deltaT, const TSearchContext& context);

// The search's walk over [startT, endT) (centuries) in intervals of
// `length`: t0 and t1 are set to each interval's ends before `interval()`
// is called; it gives false to end the walk (a cancel, a failed fit).
template <class Interval>
void StepIntervals(double startT, double endT, double length, double& t0, double& t1, Interval interval) {
  double next = startT;
  do {
    t0 = next;
    next = t0 + length;
    t1 = next;
  } while (interval() && next < endT);
}

enum class TOccultationRunStatus : std::uint8_t { Done, Cancelled, Refused };

// Ends a search run: clears the abort request and, when one was made, sets
// `cancelled` and gives Cancelled; Done otherwise.
TOccultationRunStatus EndOccultationRun(std::uint8_t& cancelled);

// Sun altitude (degrees, unrefracted) for the observer at an MJD of UT:
// the precise apparent Sun or the low-precision one.
double OccultationSunAltitude(const TSearchContext& context, bool preciseSun, double mjd, double rhoCos, double rhoSin,
                              double longitude);

class tsternbedeckung {
 public:
  explicit tsternbedeckung(std::shared_ptr<const TStarCatalogue> catalogue);
  virtual ~tsternbedeckung() = default;

  // Runs the search over [start, end] (MJD of UT of the records; place,
  // Delta T and refraction from start). Progress, cancel and the panel
  // text go through the progress seam and `panel` (may be empty). Refused
  // (with the message) for a selected star other than -1 and 1..count.
  virtual TOccultationRunStatus rechnen(const TSearchContext& context, const TObserverRecord& end,
                                        const TObserverRecord& start, const TLunarOccultationOptions& options,
                                        const std::function<void(const char* german, const char* english)>& panel = {});

  const TStarCatalogue* Catalogue() const { return catalogue_.get(); }
  const std::shared_ptr<const TStarCatalogue>& SharedCatalogue() const { return catalogue_; }

  TOccultationResultList ergebnisse;
  std::uint8_t Aborted = 0;
  TObserverRecord Start;             // copy of the start record of the last run
  TLunarOccultationOptions Options;  // of the last run
  std::string LastStarName;          // the last star examined

 protected:
  // One accepted star in the current interval.
  void EvaluateStar(const TSearchContext& context, std::int32_t index, double raEpoch, double decEpoch, double raDate,
                    double decDate);

  // The Moon's fit of the interval [t0, t1] (centuries) under the context's
  // theory settings: kept from an earlier run when it fitted the same
  // interval under the same settings (a search of one star after another
  // over one period tabulates the Moon once). False when the fit fails.
  bool FitMoon(const TSearchContext& context, double t0, double t1, TChebyshevPolyA& ra, TChebyshevPolyA& dec,
               TChebyshevPolyA& r);
  struct TKeptMoonFit {
    double T1 = 0;
    TChebyshevPolyA Ra, Dec, R;
  };
  struct TMoonFitSettings {
    std::array<std::uint8_t, 12> Selection{};
    std::uint8_t MoonOption = 0;
    std::int32_t VsopLevel = 0;
    std::array<std::FILE*, 9> Files{};
    bool operator==(const TMoonFitSettings&) const = default;
  };
  TMoonFitSettings keptSettings_;
  std::map<std::uint64_t, TKeptMoonFit> keptFits_;  // by the bits of the interval's start

  // The Moon's place at kMoonNodes + 1 nodes of the interval, and the test
  // whether the coarse conjunction can accept a star.
  static constexpr int kMoonNodes = 80;
  void TabulateMoon();
  bool MoonMayReach(double ra, double dec) const;

  std::shared_ptr<const TStarCatalogue> catalogue_;
  TOcculterPlace moon_;
  std::array<double, kMoonNodes + 1> nodeRa_{};
  std::array<double, kMoonNodes + 1> nodeDec_{};
  double t0_ = 0, t1_ = 0, a0_ = 0, a1_ = 0;
  double startT_ = 0, endT_ = 0;
  double rhoCos_ = 0, rhoSin_ = 0;
  double sinH0_ = 0;
};

}  // namespace kvx
