// Event-time refinement: the Moon's node passages from their series and
// the refinement of planet events against the search engine's quantities.
//
// Both refinements share one scheme (FindFirstSignChange): a function of
// hours after a base instant is sampled every two hours, a parabola is fitted
// through each three neighbouring values, and the first sign change is
// taken; when one parabola holds two roots the ascending one (negative to
// positive) is preferred.
//
// Times: MJD. The node series and RefineNodePassage work in dynamical time
// (TT): the Moon is evaluated at the instant without a Delta T correction;
// callers subtract Delta T to obtain UT. RefineEventTime works on the MJD of
// UT the engine uses (the engine adds Delta T itself).
//
// Reference: the node-passage series and its coefficients follow J. Meeus,
// Astronomical Algorithms, 2nd ed., chapter 51.
#pragma once

#include <cstdint>
#include <functional>
#include <limits>

#include "core/observer_record.h"
#include "engine/search_object.h"
#include "theories/theory_types.h"

namespace kvx {

// The value returned by a refinement that found nothing.
inline constexpr double kRefinementFailed = -100.0;

// First sign change of f(hours) for hours 0 .. maxHours in two-hour steps.
// Given:    f          the sampled function (hours after the base instant)
//           maxHours   last middle sample (100 or 1000)
//           degreesPerHour  when f is the sine of an angle: an upper bound
//                      of the angle's rate; windows the angle cannot cross
//                      zero in (its arc sine away) are not sampled. Infinite:
//                      every window is sampled.
// Returned: hours of the crossing; true when one was found.
// Notes:    one crossing in a window: ascending when the first value of the
//           window is negative, else descending; two: the ascending one.
//           A non-finite value ends the search with false.
bool FindFirstSignChange(const std::function<double(double)>& f, double maxHours, double& hours,
                         double degreesPerHour = std::numeric_limits<double>::infinity());

// Series time of the Moon's node passage of cycle k (integer k: ascending
// node, k + 0.5: descending; k = 0 near 2000 January 21).
// Returned: Julian Ephemeris Day (TT).
double NodePassageSeriesJde(double k);

// Sine of the Moon's geocentric ecliptic latitude (of date) at
// JD = baseJd + hours/24, evaluated as TT. The context gives the theory
// selection (the internal lunar series when its fast-Moon flag is set), the
// Moon option and the Chebyshev cache flag.
double MoonLatitudeSine(double hours, double baseJd, const TSearchContext& context);

// The Moon's latitude crossing zero within 100 hours after startMjd (TT).
// Returned: result, MJD (TT); false with result = kRefinementFailed.
bool RefineNodePassage(double& result, double startMjd, const TSearchContext& context);

// Node passage of cycle k, refined from a start 1.25 days before the whole
// day of the series time. MJD (TT). When the refinement fails: one beep
// through the message seam and the series time.
double NodePassageTime(double k, const TSearchContext& context);

// The first cycle of node passages at or after the start of a period, less
// one half: the caller adds 0.5 before each passage, so ascending and
// descending passages alternate from the first one after `startMjd`.
// Given:    startMjd  MJD; year = its calendar year
// Notes:    rounds down (also before 2000.05, where rounding toward zero
//           would skip the first passage).
double FirstNodeCycle(double startMjd);

// Sine of the angle of `quantity` for body `body` at JD = baseJd + hours/24
// (UT), for the quantities QuantityHasTrackedSine names: the elongation in
// longitude (the body's apparent geocentric ecliptic longitude minus the
// Sun's, as the search engine compares them; SunElongationCosine), the
// heliocentric ecliptic latitude (the Moon: geocentric;
// OrbitLatitudeCosine), the central-meridian angle (CentralMeridianCosine).
// NaN when the engine gives no place or for any other quantity.
double EventQuantitySine(TEventQuantity quantity, int body, double hours, double baseJd,
                         const TObserverRecord& observer, const TTheorySelection& selection, tsuchobjekt& engine);

// Refines the engine's candidate time `approx` (MJD of UT) of an event of a
// refined kind (the event-kind table's RefineLeadDays): the first sign
// change within 1000 hours from approx less the kind's lead.
// Returned: result, MJD of UT; false with result = kRefinementFailed (also
//           for any other kind).
bool RefineEventTime(int eventKind, const TObserverRecord& observer, const TTheorySelection& selection, double& result,
                     tsuchobjekt& engine, int body, double approx);

}  // namespace kvx
