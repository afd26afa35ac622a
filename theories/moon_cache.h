// A cache of the Moon's geocentric position: Chebyshev series of longitude,
// latitude and distance fitted over a few days, refitted whenever a request
// leaves the covered span or the Moon theory or truncation level changes.
// The program keeps one instance for the whole run (the main window creates
// it with the span and degree of its settings); the Moon tables and the
// event searches ask it for positions instead of evaluating the ELP-2000/82
// library every time.
//
// The spans lie on a fixed grid of the time axis (span k covers k x span to
// (k + 1) x span days from J2000), so that the position of an instant is the
// same whatever was asked before: a table gives the same numbers whether it
// runs first or after other tables, searches or the window's idle refit.
// The last two fits are kept, so that a search stepping back and forth over
// the border of two spans does not refit at every step.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "core/apparent_place_fit.h"
#include "theories/theory_types.h"

namespace kvx {

// One fitted quantity: degree N, fitted interval [Ta, Tb] in Julian
// centuries, coefficients C[0..N] (C[0] enters with weight 1/2); the large
// record of the apparent-place fits.
using TMoonChebPoly = TChebyshevPolyA;

// Value of a series at t (Julian centuries), Clenshaw recurrence; t is not
// checked against [Ta, Tb]. A degree outside 0..19 is read as the nearest
// one that fits. The same evaluation as ChebyshevEvaluateA.
double MoonChebEvaluate(const TMoonChebPoly& poly, double t);

// Limits of the two settings.
inline constexpr std::int32_t kMoonCacheDefaultSpanDays = 12;
inline constexpr std::int32_t kMoonCacheMinSpanDays = 2;
inline constexpr std::int32_t kMoonCacheMaxSpanDays = 20;
inline constexpr std::int32_t kMoonCacheDefaultDegree = 13;
inline constexpr std::int32_t kMoonCacheMinDegree = 6;
inline constexpr std::int32_t kMoonCacheMaxDegree = 13;
// Covered start and end while nothing is cached.
inline constexpr double kMoonCacheEmpty = -1000.0;

class tmooncheb {
 public:
  // MoonChebCreate: the cache with the span (days) and degree of the
  // settings (see MoonChebSetup).
  tmooncheb(std::int32_t span, std::int32_t degree);

  // Sets span and degree and empties the cache. Span 0 means 12 days,
  // other values are clamped to 2..20; degree 0 means 13, others are
  // clamped to 6..13.
  void MoonChebSetup(std::int32_t span, std::int32_t degree);

  // Makes the cache cover T (Julian centuries, TT) for the Moon's
  // light-time option `shortcut` (the option byte every direct MoonPosition
  // call of the caller receives), the Moon theory (selection byte 1) and
  // the truncation level: the fit of the grid span that holds T becomes the
  // current one. Nothing is computed when that fit is one of the two kept
  // with the same three keys; otherwise the series are fitted over the span
  // [k x span, (k + 1) x span], k = floor(T / span), with N + 1 Moon
  // positions of that option, theory and level, in place of the older kept
  // fit. While no progress bar is shown, the progress panel shows "Berechne
  // Mondpositionen <node>" / "Calculate moon ephemeris <node>" during a
  // refit, and window events run. The new fit is made apart and kept only
  // once complete; a request those events make (the idle keeper, a table
  // command) is not fitted: false when no kept fit serves it, true when
  // the current fit covers T. When those events set the cache up anew
  // (MoonChebSetup: another span or degree), the fit made for the old
  // settings is dropped and the answer is false.
  bool MoonChebEnsure(std::uint8_t shortcut, TTheorySelection selection, TTruncationLevel level, double T);

  // The Moon's geocentric position at T from the cache (refitted first
  // when needed, see MoonChebEnsure); the same as MoonPosition with the
  // same option byte, theory and level. A request made while a refit runs
  // and that no kept fit serves is MoonPosition itself.
  // Returned: lambda   ecliptic longitude of date, degrees, NOT reduced
  //                    (it may lie below 0 after unwrapping)
  //           beta     ecliptic latitude of date, degrees
  //           distance Earth radii (6378.14 km); with the ELP library and
  //                    the light-time shortcut off, the geometric distance
  //                    at T, as MoonPosition gives it
  //           X2000, Y2000, Z2000  ecliptic rectangular of J2000, km
  //           X, Y, Z  ecliptic rectangular of date, km
  // Notes:    agrees with MoonPosition to a few milliarcseconds with the
  //           default span and degree.
  void MoonChebPosition(std::uint8_t shortcut, TTheorySelection selection, TTruncationLevel level, double T,
                        double& lambda, double& beta, double& distance, double& X2000, double& Y2000, double& Z2000,
                        double& X, double& Y, double& Z);

  // The span of the current fit (kMoonCacheEmpty while nothing is cached).
  double CoveredStart() const { return fits_[0].Start; }
  double CoveredEnd() const { return fits_[0].End; }
  std::int32_t SpanDays() const { return span_; }
  std::int32_t Degree() const { return degree_; }
  double SpanCenturies() const { return span_centuries_; }
  // Number of refits since construction (each costs Degree() + 1 Moon
  // positions).
  std::int64_t Refits() const { return refits_; }
  const TMoonChebPoly& LongitudePoly() const { return fits_[0].Longitude; }
  const TMoonChebPoly& LatitudePoly() const { return fits_[0].Latitude; }
  const TMoonChebPoly& DistancePoly() const { return fits_[0].Distance; }

 private:
  // One fitted span with the keys it was fitted for.
  struct Fit {
    double Start = kMoonCacheEmpty;
    double End = kMoonCacheEmpty;
    double Index = 0;           // the span's place on the grid, k
    std::uint8_t Shortcut = 0;  // the light-time option, 0 or 1
    std::uint8_t MoonTheory = 0;
    TTruncationLevel Level = 0;
    TMoonChebPoly Longitude;  // degrees, unwrapped
    TMoonChebPoly Latitude;   // degrees
    TMoonChebPoly Distance;   // km with the ELP library, Earth radii with the internal series
    bool Serves(double index, std::uint8_t shortcut, std::uint8_t moonTheory, TTruncationLevel level) const {
      return Start != kMoonCacheEmpty && Index == index && Shortcut == shortcut && MoonTheory == moonTheory &&
             Level == level;
    }
  };
  // Fits `fit` over [start, end] with its keys.
  void Refit(Fit& fit, TTheorySelection selection, double start, double end);

  std::array<Fit, 2> fits_;  // the current fit first, then the one before
  std::int32_t span_ = kMoonCacheDefaultSpanDays;
  std::int32_t degree_ = kMoonCacheDefaultDegree;
  double span_centuries_ = 0;
  std::int64_t refits_ = 0;
  bool refitting_ = false;    // a refit is running (its panel processes window events)
  std::uint64_t setups_ = 0;  // MoonChebSetup calls, to tell a refit that the grid changed under it
};

// What the main window keeps for the Moon cache: the two stored cache
// settings and the one cache instance of the run. (The Moon's light-time
// option is a computing setting, which every caller hands to the cache with
// each request, as to MoonPosition.)
struct TMoonCacheState {
  TMoonCacheState() = default;
  TMoonCacheState(const TMoonCacheState&) = delete;
  TMoonCacheState& operator=(const TMoonCacheState&) = delete;

  std::int32_t SpanDays = kMoonCacheDefaultSpanDays;  // as stored in the settings
  std::int32_t Degree = kMoonCacheDefaultDegree;
  std::unique_ptr<tmooncheb> Cache;

  // Start-up: creates the cache with the stored span and degree.
  void Create();
  // The settings' setters: store the value and, once the cache exists,
  // set it up again with both settings (which empties it).
  void SetSpanDays(std::int32_t span);
  void SetDegree(std::int32_t degree);
};

}  // namespace kvx
