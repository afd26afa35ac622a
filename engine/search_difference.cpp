// The search engine's second loop (schleife_2): the root of the difference
// of one angle of two bodies (conjunctions and oppositions), with the
// bounds of the bodies' angular speeds that let its scan pass over
// instants where no root can lie.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/angle_constants.h"
#include "core/frames.h"
#include "core/root_search.h"
#include "core/vector_math.h"
#include "engine/search_object.h"
#include "engine/search_passes.h"
#include "platform/messages.h"

namespace kvx {

using namespace search_pass;

double tsuchobjekt::Difference(int eventKind, bool ecliptic, const TSearchSample& a, const TSearchSample& b) const {
  double angleA = 0, angleB = 0;
  // The difference of the kinds of the difference loop is one of geocentric
  // ecliptic longitudes of date.
  const TEventKindInfo* info = EventKindInfo(eventKind);
  const bool toSun = info != nullptr && info->DifferenceToSun();
  if (toSun) {
    angleA = a.Record().Position.GeoLongitude;
    angleB = b.Record().Position.GeoLongitude;
  } else {
    auto first = [&](const TSearchSample& s) {
      const bool topo = context_.Topocentric != 0;
      const double ra = topo ? s.Record().TopoRightAscension : s.Record().Position.RightAscension;
      const double dec = topo ? s.Record().TopoDeclination : s.Record().Position.Declination;
      if (!ecliptic) return ra;
      double x = CosDeg(dec) * CosDeg(ra), y = CosDeg(dec) * SinDeg(ra), z = SinDeg(dec);
      EquatorialToEcliptic(x, y, z, s.Observer.Centuries);
      return Mod360(std::atan2(y, x) * 180.0 / kPi);
    };
    angleA = first(a);
    angleB = first(b);
  }
  double d = Mod360(angleB - angleA);
  // A kind that looks for the least cosine of the difference (opposition)
  // roots the difference less 180 degrees.
  if (toSun && info->Extremum == TEventExtremum::Minimum) d -= 180;
  d = std::remainder(d, 360.0);
  if (d <= -180) d += 360;
  return d;
}

double tsuchobjekt::AngularRateBound(int body, std::int32_t starIndex, std::int32_t userIndex) const {
  // Largest geocentric angular speed of each body (degrees a day, with a
  // tenth or more to spare): the Sun, Mercury .. Pluto, the Moon.
  static constexpr double kBodyRates[] = {1.1, 2.4, 1.4, 0.9, 0.27, 0.15, 0.075, 0.045, 0.05, 16.5};
  if (body >= 0 && body <= search_kind::kMoon) {
    double rate = kBodyRates[body];
    // The place seen from the observer turns with the Earth: the Moon's
    // parallax of up to a degree once a day, the nearest planets' half a
    // minute.
    if (context_.Topocentric != 0) rate += body == search_kind::kMoon ? 7.0 : 0.06;
    return rate;
  }
  // A fixed object moves by its proper motion and the year's aberration,
  // nutation and precession (under an arc second a day), more in right
  // ascension the nearer it stands to a pole; within 10 degrees of one no
  // bound is given.
  double declination = 0, properMotion = 0;  // degrees, degrees a year
  if (body == search_kind::kStar) {
    TSearchStar star;
    if (!context_.StarAt || starIndex < 1 || starIndex > context_.StarCount || !context_.StarAt(starIndex, star))
      return kInfinity;
    declination = star.Declination1950;
    properMotion = std::fabs(star.ProperMotionRA) + std::fabs(star.ProperMotionDec);
  } else if (body == search_kind::kUserObject) {
    const tuserobject* object =
        context_.UserObjects != nullptr && userIndex >= 1 ? context_.UserObjects->Item(userIndex - 1) : nullptr;
    if (object == nullptr) return kInfinity;
    declination = object->Angle2;
    // Seconds of time and arc seconds a year.
    properMotion = (std::fabs(object->Value3) * 15.0 + std::fabs(object->Value4)) / 3600.0;
  } else {
    return kInfinity;  // an asteroid or comet may pass close to the Earth
  }
  if (!std::isfinite(declination) || !std::isfinite(properMotion) || std::fabs(declination) > 80) return kInfinity;
  return (3e-4 + properMotion / 365.25) / CosDeg(std::fabs(declination) + 10) * 1.5;
}

double tsuchobjekt::EventRateBound(int eventKind, int body) const {
  const TEventKindInfo* info = EventKindInfo(eventKind);
  if (info == nullptr) return kInfinity;
  switch (info->Rate) {
    case TEventRate::BodyAndSun:
      return (AngularRateBound(body, 1, 1) + AngularRateBound(search_kind::kSun, 1, 1)) * 1.06;
    case TEventRate::PerBody:
      return body >= 0 && body <= search_kind::kMoon ? info->RatePerBody[body] : kInfinity;
    case TEventRate::None:
      break;
  }
  return kInfinity;
}

double tsuchobjekt::DifferenceRateBound(const TSearchLoopRequest& request) const {
  const double rate = AngularRateBound(request.Body, request.StarIndex, request.UserIndex) +
                      AngularRateBound(request.SecondBody, request.StarIndex, request.UserIndex);
  const bool longitudes = request.Ecliptic || DifferenceToSunKind(request.EventKind);
  // Right ascension runs faster than the motion by up to the secant of the
  // declination (below 42 degrees for the planets and the Moon); ecliptic
  // longitude by the secant of the latitude (below 18 degrees).
  return rate * (longitudes ? 1.06 : 1.35);
}

tsuchobjekt::PassEnd tsuchobjekt::Pass2(const TSearchLoopRequest& request, double& time, TObserverRecord& middle) {
  const int eventKind = request.EventKind, bodyA = request.Body, bodyB = request.SecondBody;
  const std::int32_t starIndex = request.StarIndex, userIndex = request.UserIndex;
  const bool ecliptic = request.Ecliptic;
  const TObserverRecord& start = request.Start;
  const double step = request.Step;
  const std::int32_t maxSteps = request.MaxSteps;
  // The scan runs on the grid start + k step, k = -1, 0, 1, ...; a window of
  // the three samples k - 1, k, k + 1 reports a root between k - 1 and
  // k + 1. Where the difference lies further from zero than it can move
  // before a later grid point (its rate is bounded by the bodies' motions),
  // the points in between are not computed: no root can lie there. Near a
  // root every grid point is taken, and the root itself is then found by
  // Brent's method on the difference.
  struct TPair {
    TSearchSample A, B;
    double D = kNaN;
    std::int64_t K = 0;
  };
  TPair pairs[3];
  TPair* w[3] = {&pairs[0], &pairs[1], &pairs[2]};
  auto instant = [&](std::int64_t k) { return start.Mjd + static_cast<double>(k) * step; };
  auto take = [&](TPair& p, const TObserverRecord& base, std::int64_t k) {
    p.K = k;
    const double mjd = instant(k);
    const bool ok = Sample(bodyA, base, mjd, step, starIndex, userIndex, p.A) &&
                    Sample(bodyB, base, mjd, step, starIndex, userIndex, p.B);
    p.D = ok ? Difference(eventKind, ecliptic, p.A, p.B) : kNaN;
    return ok;
  };
  if (!take(*w[0], start, -1) || !take(*w[1], start, 0)) return PassEnd::NotFound;
  const TEventKindInfo* info = EventKindInfo(eventKind);
  const bool conjunctionByDistance = info != nullptr && info->SunSide != TSunSide::Either;
  // The grid point at which the scan stops: the window count, the bound
  // (the newest sample reaching it) and the period end (the oldest one
  // past it). A root is reported up to the stop, within the window count.
  std::int64_t last = static_cast<std::int64_t>(maxSteps) + 1;
  if (request.Bounded && !conjunctionByDistance && std::isfinite(request.BoundMjd)) {
    const double k = std::ceil((request.BoundMjd - start.Mjd) / step);
    if (k < static_cast<double>(last)) last = std::max<std::int64_t>(1, static_cast<std::int64_t>(k));
  }
  if (request.EndCheck && std::isfinite(request.EndMjd)) {
    const double k = std::floor((request.EndMjd - start.Mjd) / step) + 3;
    if (k < static_cast<double>(last)) last = std::max<std::int64_t>(1, static_cast<std::int64_t>(k));
  }
  const std::int64_t lastFound = std::min<std::int64_t>(last, static_cast<std::int64_t>(maxSteps) - 1);
  const double rateBound = DifferenceRateBound(request);
  // The difference at an instant off the grid (Brent's method), with its
  // samples kept for the caller.
  TPair probe;
  const double probeStep = step * 1e-3;
  auto difference = [&](double mjd) {
    const bool ok = Sample(bodyA, w[1]->A.Observer, mjd, probeStep, starIndex, userIndex, probe.A) &&
                    Sample(bodyB, w[1]->A.Observer, mjd, probeStep, starIndex, userIndex, probe.B);
    return ok ? Difference(eventKind, ecliptic, probe.A, probe.B) : kNaN;
  };
  // A root between two neighbouring samples, or, among three neighbours,
  // where the parabola through them dips through zero and back between two
  // of them (the difference is then probed at the parabola's vertex).
  // Returns the bracket's start sample, null for none.
  double lo = kNaN, dLo = kNaN, hi = kNaN, dHi = kNaN;
  auto bracket = [&](const TPair* older, const TPair& previous, const TPair& newest) -> const TPair* {
    if (newest.K != previous.K + 1 || !(std::fabs(previous.D) < 90) || !(std::fabs(newest.D) < 90)) return nullptr;
    if (newest.D == 0 || (previous.D < 0) != (newest.D < 0)) {
      lo = instant(previous.K);
      dLo = previous.D;
      hi = instant(newest.K);
      dHi = newest.D;
      return &previous;
    }
    if (older == nullptr || previous.K != older->K + 1 || !(std::fabs(older->D) < 90)) return nullptr;
    double xe = 0, ye = 0, z1 = 0, z2 = 0;
    int nz = 0;
    QuadraticInterpolation(older->D, previous.D, newest.D, xe, ye, z1, z2, nz);
    if (nz <= 0 || !(std::fabs(xe) < 1) || (ye < 0) == (previous.D < 0)) return nullptr;
    const double tv = instant(previous.K) + xe * step;
    const double dv = difference(tv);
    if (!(std::fabs(dv) < 90) || (dv < 0) == (previous.D < 0)) return nullptr;
    const TPair* side = xe < 0 ? older : &previous;
    lo = instant(side->K);
    dLo = side->D;
    hi = tv;
    dHi = dv;
    return side;
  };
  // A kind with a side of the Sun takes the root only on that side (body B
  // in the Sun's place).
  auto accepted = [&](const TPair& at) {
    return !conjunctionByDistance ||
           ConjunctionSideAccepted(eventKind, DistanceAu(bodyA, at.A.Record()), DistanceAu(bodyB, at.B.Record()));
  };
  auto found = [&](const TPair& at) {
    const double t = BrentRoot(difference, lo, dLo, hi, dHi, kRootTolerance);
    if (!Pump(at.A.Observer, false, kRefinedInstants)) return PassEnd::Aborted;
    if (!std::isfinite(t)) return PassEnd::NotFound;
    time = t;
    middle = at.A.Observer;
    return PassEnd::Found;
  };
  if (const TPair* at = bracket(nullptr, *w[0], *w[1]); at != nullptr && accepted(*at) && lastFound >= 1)
    return found(*at);
  while (true) {
    // No root lies nearer than |D| / rate: the grid points before it are
    // passed over.
    const std::int64_t skip =
        SafeSkipSteps(std::fabs(w[1]->D), rateBound, step, std::max<std::int64_t>(1, last - w[1]->K));
    const bool valid = take(*w[2], w[1]->A.Observer, w[1]->K + skip);
    if (!Pump(w[2]->A.Observer, true, static_cast<int>(skip))) return PassEnd::Aborted;
    if (!datum_pruefen(request.DateCheck, selection_, bodyA, bodyB, w[1]->A.Observer.Mjd)) return PassEnd::Aborted;
    if (!valid) return PassEnd::NotFound;
    const TPair* at = bracket(w[0], *w[1], *w[2]);
    const bool root = at != nullptr && accepted(*at);
    if (root && w[2]->K <= lastFound) return found(*at);
    if (root || w[2]->K >= last) return PassEnd::NotFound;
    std::rotate(w, w + 1, w + 3);
  }
}

bool tsuchobjekt::schleife_2(const TSearchLoopRequest& request, double& time, double& separation) {
  TakeElements(request);
  if (EventKindInfo(request.EventKind) == nullptr) {
    ShowMessage("Unbekannte Ereignisart.", "Unknown kind of event.", MessageIcon::Error);
    return false;
  }
  if (!CheckInput(request)) return false;
  TFillScope scope(*this, TRecordFill::Places);
  // The longitudes of the elongation kinds are ecliptic places; the others
  // read right ascension and declination.
  TValueScope<bool> eclipticScope(fixedEcliptic_, DifferenceToSunKind(request.EventKind));
  ShownProgress shown(request.Show);
  double t = 0;
  TObserverRecord middle;
  if (Pass2(request, t, middle) != PassEnd::Found) return false;
  TObserverRecord at = middle;
  at.Mjd = t;
  ObserverRecordDateFromMjd(at);
  double s = 0;
  if (!schleife_3(request, at, s)) return false;
  time = t;
  separation = s;
  return true;
}

}  // namespace kvx
