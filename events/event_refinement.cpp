#include "events/event_refinement.h"

#include <algorithm>
#include <cmath>

#include "core/frames.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "engine/moon.h"
#include "platform/messages.h"
#include "theories/moon_cache.h"
#include "theories/moon_position.h"

namespace kvx {

namespace {

constexpr double kNoCrossing = -100000.0;

// One periodic term of the node series: coefficient (days), whether it is
// multiplied by the eccentricity factor E, and the argument as multiples of
// D, M, M', and the extra arguments Omega, V and P.
struct TNodeTerm {
  double Coefficient;
  bool TimesE;
  int D, M, Mp, Omega, V, P;
};
constexpr TNodeTerm kNodeTerms[] = {
    {-0.4721, false, 0, 0, 1, 0, 0, 0},  {-0.1649, false, 2, 0, 0, 0, 0, 0},  {-0.0868, false, 2, 0, -1, 0, 0, 0},
    {+0.0084, false, 2, 0, 1, 0, 0, 0},  {-0.0083, true, 2, -1, 0, 0, 0, 0},  {-0.0039, true, 2, -1, -1, 0, 0, 0},
    {+0.0034, false, 0, 0, 2, 0, 0, 0},  {-0.0031, false, 2, 0, -2, 0, 0, 0}, {+0.0030, true, 2, 1, 0, 0, 0, 0},
    {+0.0028, true, 0, 1, -1, 0, 0, 0},  {+0.0026, true, 0, 1, 0, 0, 0, 0},   {+0.0025, false, 4, 0, 0, 0, 0, 0},
    {+0.0024, false, 1, 0, 0, 0, 0, 0},  {+0.0022, true, 0, 1, 1, 0, 0, 0},   {+0.0017, false, 0, 0, 0, 1, 0, 0},
    {+0.0014, false, 4, 0, -1, 0, 0, 0}, {+0.0005, true, 2, 1, -1, 0, 0, 0},  {+0.0004, true, 2, -1, 1, 0, 0, 0},
    {-0.0003, true, 2, -2, 0, 0, 0, 0},  {+0.0003, true, 4, -1, 0, 0, 0, 0},  {+0.0003, false, 0, 0, 0, 0, 1, 0},
    {+0.0003, false, 0, 0, 0, 0, 0, 1},
};
static_assert(sizeof kNodeTerms / sizeof kNodeTerms[0] == 22);

}  // namespace

bool FindFirstSignChange(const std::function<double(double)>& f, double maxHours, double& hours,
                         double degreesPerHour) {
  double ascending = kNoCrossing, descending = 0;
  bool crossed = false;
  double h = 1;
  double yPrev = f(h - 1);
  while (!crossed && h < maxHours) {
    // A sine far from zero cannot reach it before its angle has moved by
    // its arc sine: whole windows of two hours are passed over.
    if (std::isfinite(yPrev) && std::fabs(yPrev) <= 1) {
      const double windows = std::floor(ArcSinDeg(std::fabs(yPrev)) / (2 * degreesPerHour));
      if (windows >= 1 && std::isfinite(windows)) {
        const double skipped = std::min(windows, std::floor((maxHours - h) / 2));
        if (skipped >= 1) {
          h += 2 * skipped;
          yPrev = f(h - 1);
          continue;
        }
      }
    }
    const double yMid = f(h), yNext = f(h + 1);
    if (!std::isfinite(yPrev) || !std::isfinite(yMid) || !std::isfinite(yNext)) return false;
    double xm = 0, ym = 0, r1 = 0, r2 = 0;
    int n = 0;
    QuadraticInterpolation(yPrev, yMid, yNext, xm, ym, r1, r2, n);
    if (n == 1) {
      if (yPrev < 0) {
        ascending = h + r1;
      } else {
        descending = h + r1;
      }
      crossed = true;
    } else if (n == 2) {
      if (ym < 0) {
        ascending = h + r2;
        descending = h + r1;
      } else {
        ascending = h + r1;
        descending = h + r2;
      }
      crossed = true;
    }
    yPrev = yNext;
    h += 2;
  }
  if (!crossed) return false;
  hours = ascending != kNoCrossing ? ascending : descending;
  return std::isfinite(hours);
}

double NodePassageSeriesJde(double k) {
  const double T = k * 0.0007450287953629408;
  const double T2 = T * T, T3 = T2 * T, T4 = T3 * T;
  const double D = 183.638 + 331.73735691 * k + 0.0015057 * T2 + 0.00000209 * T3 - 0.00000001 * T4;
  const double M = 17.4006 + 26.8203725 * k + 0.0000999 * T2 + 0.00000006 * T3;
  const double Mp = 38.3776 + 355.52747322 * k + 0.0123577 * T2 + 0.000014628 * T3 - 0.000000069 * T4;
  const double Omega = 123.9767 - 1.44098949 * k + 0.0020625 * T2 + 0.00000214 * T3 - 0.000000016 * T4;
  const double V = 299.75 + 132.85 * T - 0.009173 * T2;
  const double P = Omega + 272.75 - 2.3 * T;
  const double E = 1 - 0.002516 * T - 0.0000074 * T2;
  double jde = 2451565.1619 + 27.212220817 * k + 0.0002572 * T2 + 0.000000021 * T3 - 0.000000000088 * T4;
  for (const TNodeTerm& term : kNodeTerms) {
    const double argument = term.D * D + term.M * M + term.Mp * Mp + term.Omega * Omega + term.V * V + term.P * P;
    jde += term.Coefficient * (term.TimesE ? E : 1.0) * SinDeg(argument);
  }
  return jde;
}

double MoonLatitudeSine(double hours, double baseJd, const TSearchContext& context) {
  const double T = (baseJd + hours / 24 - 2451545) * 2.7378507871321012e-05;
  TTheorySelection selection = context.Selection;
  if (context.FastMoon != 0) selection.bytes[1] = 0;
  double lambda = 0, beta = 0, distance = 0, c[6] = {};
  if (context.MoonCache != 0 && MoonPositionCache != nullptr) {
    MoonPositionCache->MoonChebPosition(context.MoonOption, selection, kFullTheory, T, lambda, beta, distance, c[0],
                                        c[1], c[2], c[3], c[4], c[5]);
  } else {
    double distance2 = 0;
    MoonPosition(context.MoonOption, selection, lambda, T, beta, distance, c[0], c[1], c[2], c[3], c[4], c[5],
                 distance2, kFullTheory);
  }
  return SinDeg(beta);
}

bool RefineNodePassage(double& result, double startMjd, const TSearchContext& context) {
  result = kRefinementFailed;
  const double baseJd = MjdToJd(startMjd);
  double hours = 0;
  if (!FindFirstSignChange([&](double h) { return MoonLatitudeSine(h, baseJd, context); }, 100, hours)) return false;
  result = JdToMjd(baseJd + hours / 24);
  return true;
}

double NodePassageTime(double k, const TSearchContext& context) {
  const double mjd0 = JdToMjd(NodePassageSeriesJde(k));
  double refined = 0;
  if (RefineNodePassage(refined, std::trunc(mjd0) - 1.25, context)) return refined;
  Beep();
  return mjd0;
}

double FirstNodeCycle(double startMjd) {
  int day = 1, month = 1, year = 2000;
  double hours = 0;
  MjdToCalendarDate(day, month, year, hours, startMjd);
  const double yearStart = CalendarDateToMjd(1, 1, year, 0);
  const double y = year + (startMjd - yearStart) * 0.0027378507871321013 - 2000.05;
  return std::floor(y * 13.4223) - 0.5;
}

double EventQuantitySine(TEventQuantity quantity, int body, double hours, double baseJd,
                         const TObserverRecord& observer, const TTheorySelection& selection, tsuchobjekt& engine) {
  TObserverRecord at = observer;
  at.Mjd = JdToMjd(baseJd + hours / 24);
  UTToLocalTime(at);
  TTheorySelection copy = selection;
  TEphemerisResultRecord r;
  // The quantities QuantityHasTrackedSine names, and no other (a test calls
  // every quantity).
  switch (quantity) {
    case TEventQuantity::SunElongationCosine: {
      // The body's and the Sun's apparent longitudes of the instant, as the
      // search compares them: their places are all it needs.
      const tsuchobjekt::TFillScope places(engine, tsuchobjekt::TRecordFill::Places);
      TObserverRecord sunAt = at;
      TTheorySelection sunCopy = selection;
      TEphemerisResultRecord sun;
      if (!engine.planet(copy, body, at, r, 0) || !engine.planet(sunCopy, search_kind::kSun, sunAt, sun, 0))
        return std::nan("");
      return SinDeg(r.Position.GeoLongitude - sun.Position.GeoLongitude);
    }
    case TEventQuantity::OrbitLatitudeCosine:
      if (!engine.planet(copy, body, at, r, 0)) return std::nan("");
      return SinDeg(body == search_kind::kMoon ? r.Position.GeoLatitude : r.Position.HelioLatitude);
    case TEventQuantity::CentralMeridianCosine:
      if (!engine.planet(copy, body, at, r, 0)) return std::nan("");
      return SinDeg(r.Physical.centralMeridian1);
    case TEventQuantity::HelioDistance:
    case TEventQuantity::GeoDistance:
    case TEventQuantity::Magnitude:
    case TEventQuantity::ElongationSine:
    case TEventQuantity::RightAscension:
    case TEventQuantity::PhaseAngle:
    case TEventQuantity::EarthLatitudeCosine:
    case TEventQuantity::EarthLatitude:
    case TEventQuantity::SunLatitudeCosine:
    case TEventQuantity::CentralMeridianSine:
      break;
  }
  return std::nan("");
}

bool RefineEventTime(int eventKind, const TObserverRecord& observer, const TTheorySelection& selection, double& result,
                     tsuchobjekt& engine, int body, double approx) {
  result = kRefinementFailed;
  const TEventKindInfo* info = EventKindInfo(eventKind);
  if (info == nullptr || !info->Refined()) return false;
  if (!std::isfinite(approx)) return false;
  const double baseJd = MjdToJd(approx - info->RefineLeadDays);
  double hours = 0;
  auto f = [&](double h) { return EventQuantitySine(info->Quantity, body, h, baseJd, observer, selection, engine); };
  if (!FindFirstSignChange(f, 1000, hours, engine.EventRateBound(eventKind, body) / 24)) return false;
  result = JdToMjd(baseJd + hours / 24);
  return true;
}

}  // namespace kvx
