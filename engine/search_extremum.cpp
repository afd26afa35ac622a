// The search engine's first loop (schleife_1): the extremum or zero of one
// body's quantity, with the quantities of the event kinds.
#include <algorithm>
#include <cmath>
#include <functional>

#include "core/frames.h"
#include "core/root_search.h"
#include "core/vector_math.h"
#include "engine/search_object.h"
#include "engine/search_passes.h"
#include "platform/globals.h"
#include "platform/messages.h"

namespace kvx {

using namespace search_pass;

namespace {

// Parabola through three values: vertex (or, for a kind that looks for a
// zero, first root in [-1, 1]) in steps from the middle value, and the
// vertex value. False when there is none or a value is not finite.
bool FitWindow(bool zero, double y0, double y1, double y2, double& x, double& y) {
  if (!std::isfinite(y0) || !std::isfinite(y1) || !std::isfinite(y2)) return false;
  if (zero) {
    double xe = 0, ye = 0, z1 = 0, z2 = 0;
    int nz = 0;
    QuadraticInterpolation(y0, y1, y2, xe, ye, z1, z2, nz);
    if (nz <= 0 || !std::isfinite(z1)) return false;
    x = z1;
    y = z1;
    return true;
  }
  double xe = 0, ye = 0;
  ParabolaExtremum(xe, ye, y0, y1, y2);
  if ((y0 + y2) / 2 - y1 == 0) return false;
  if (!std::isfinite(xe) || !std::isfinite(ye)) return false;
  x = xe;
  y = ye;
  return true;
}

// The latitude of the Sun seen from the body (the Moon: selenographic).
double SunLatitudeOf(int body, const TPhysicalBlock& p) {
  return body == search_kind::kMoon ? p.SunSelenographicLatitude : p.subSolarLatC;
}

}  // namespace

bool SearchFindsMaximum(int eventKind) {
  const TEventKindInfo* info = EventKindInfo(eventKind);
  return info == nullptr || info->Maximum();
}

double SearchQuantity(int eventKind, int body, const TEphemerisResultRecord& r, double sunLongitude) {
  const TEventKindInfo* info = EventKindInfo(eventKind);
  if (info == nullptr) return kNaN;
  const TPhysicalBlock& p = r.Physical;
  switch (info->Quantity) {
    case TEventQuantity::HelioDistance:
      return r.Position.HelioDistance;
    case TEventQuantity::GeoDistance:
      return r.Position.GeoDistance;
    case TEventQuantity::Magnitude:
      return p.magnitude;
    case TEventQuantity::SunElongationCosine:
      return std::isnan(sunLongitude) ? CosDeg(p.sideAngle) : CosDeg(r.Position.GeoLongitude - sunLongitude);
    case TEventQuantity::ElongationSine:
      return SinDeg(Sign(SinDeg(p.sideAngle)) * p.elongation);
    case TEventQuantity::RightAscension:
      return Mod360(r.Position.RightAscension);
    case TEventQuantity::OrbitLatitudeCosine:
      return CosDeg(body == search_kind::kMoon ? r.Position.GeoLatitude : r.Position.HelioLatitude);
    case TEventQuantity::PhaseAngle:
      return p.phaseAngle;
    case TEventQuantity::EarthLatitudeCosine:
      return CosDeg(p.subEarthLatC);
    case TEventQuantity::EarthLatitude:
      return p.subEarthLatC;
    case TEventQuantity::SunLatitudeCosine:
      return CosDeg(SunLatitudeOf(body, p));
    case TEventQuantity::CentralMeridianCosine:
      return CosDeg(p.centralMeridian1);
    case TEventQuantity::CentralMeridianSine:
      return SinDeg(std::fabs(p.centralMeridian1));
  }
  return kNaN;
}

tsuchobjekt::PassEnd tsuchobjekt::Pass1(const TSearchLoopRequest& request, double& time, double& value,
                                        TObserverRecord& middle) {
  const int eventKind = request.EventKind, body = request.Body;
  const TEventKindInfo& info = *EventKindInfo(eventKind);  // schleife_1 has checked the kind
  const TObserverRecord& start = request.Start;
  const double step = request.Step;
  const std::int32_t star = request.StarIndex, user = request.UserIndex;
  // The window moves on by turning the pointers, not by copying records.
  TSearchSample samples[3];
  TSearchSample* s[3] = {&samples[0], &samples[1], &samples[2]};
  const bool unwrap = info.Quantity == TEventQuantity::RightAscension;
  const bool zero = info.Extremum == TEventExtremum::Zero;
  if (!Sample(body, start, start.Mjd - step, step, star, user, *s[0]) ||
      !Sample(body, start, start.Mjd, step, star, user, *s[1]))
    return PassEnd::NotFound;
  for (int i = 0; i < 2; ++i) s[i]->Value = Quantity(eventKind, body, *s[i]);
  std::int32_t counter = 0;
  while (true) {
    const bool valid = Sample(body, s[1]->Observer, s[1]->Observer.Mjd + step, step, star, user, *s[2]);
    if (!Pump(s[2]->Observer, true)) return PassEnd::Aborted;
    if (!datum_pruefen(request.DateCheck, selection_, body, body, s[1]->Observer.Mjd)) return PassEnd::Aborted;
    if (!valid) return PassEnd::NotFound;
    s[2]->Value = Quantity(eventKind, body, *s[2]);
    double y[3] = {s[0]->Value, s[1]->Value, s[2]->Value};
    if (unwrap && (std::fabs(y[0] - y[1]) > 120 || std::fabs(y[1] - y[2]) > 120)) {
      for (double& v : y) v = AngleToPlusMinus180(v);
    }
    double x = 0, ye = 0;
    bool vertex = FitWindow(zero, y[0], y[1], y[2], x, ye);
    bool accepted = vertex;
    if (vertex && !zero) {
      const bool isMaximum = (y[0] + y[2]) / 2 - y[1] < 0;
      accepted = isMaximum == (FindMaximum != 0);
      // Codes 12 and 13 by the middle sample's distance against 1 AU.
      accepted = accepted && ConjunctionSideAcceptedByDistance(eventKind, DistanceAu(body, s[1]->Record()));
    }
    ++counter;
    const bool pastEnd = request.EndCheck && s[0]->Observer.Mjd > request.EndMjd;
    if (pastEnd || (accepted && std::fabs(x) < 0.5) || counter > request.MaxSteps) {
      if (accepted && std::fabs(x) < 0.6 && counter < request.MaxSteps) {
        time = s[1]->Observer.Mjd + x * step;
        value = info.SignedAngleValue ? ExtremeValue(info.Quantity, body, ye, s[2]->Record()) : ye;
        middle = s[1]->Observer;
        return PassEnd::Found;
      }
      return PassEnd::NotFound;
    }
    std::rotate(s, s + 1, s + 3);
  }
}

double ExtremeValue(TEventQuantity quantity, int body, double extreme, const TEphemerisResultRecord& r) {
  const TPhysicalBlock& p = r.Physical;
  // The quantities QuantityHasSignedAngle names, and no other (a test calls
  // every quantity).
  switch (quantity) {
    case TEventQuantity::EarthLatitudeCosine:
      return ArcCosDeg(extreme) * Sign(p.subEarthLatC);
    case TEventQuantity::SunLatitudeCosine:
      return ArcCosDeg(extreme) * Sign(SunLatitudeOf(body, p));
    case TEventQuantity::CentralMeridianSine:
      return ArcSinDeg(extreme) * Sign(p.centralMeridian1);
    case TEventQuantity::HelioDistance:
    case TEventQuantity::GeoDistance:
    case TEventQuantity::Magnitude:
    case TEventQuantity::SunElongationCosine:
    case TEventQuantity::ElongationSine:
    case TEventQuantity::RightAscension:
    case TEventQuantity::OrbitLatitudeCosine:
    case TEventQuantity::PhaseAngle:
    case TEventQuantity::EarthLatitude:
    case TEventQuantity::CentralMeridianCosine:
      break;
  }
  return extreme;
}

double tsuchobjekt::Quantity(int eventKind, int body, TSearchSample& sample) {
  double sunLongitude = kNaN;
  if (DifferenceToSunKind(eventKind)) {
    // The Sun's place of the same instant, reduced as the body's is.
    if (body == search_kind::kSun) return kNaN;
    TSearchSample sun;
    const TFillScope places(*this, TRecordFill::Places);
    if (!Sample(search_kind::kSun, sample.Observer, sample.Observer.Mjd, 0, 1, 1, sun)) return kNaN;
    sunLongitude = sun.Record().Position.GeoLongitude;
  }
  return SearchQuantity(eventKind, body, sample.Record(), sunLongitude);
}

tsuchobjekt::PassEnd tsuchobjekt::RefineExtremum(int eventKind, int body, const TObserverRecord& base, double step,
                                                 double& time, double& value) {
  const TEventKindInfo& info = *EventKindInfo(eventKind);  // schleife_1 has checked the kind
  const double probeStep = step * 1e-3;
  bool aborted = false;
  TSearchSample sample;
  auto quantity = [&](double mjd) {
    if (aborted) return kNaN;
    const bool ok = Sample(body, base, mjd, probeStep, 1, 1, sample);
    if (!Pump(sample.Observer, false, 0)) aborted = true;
    return ok && !aborted ? Quantity(eventKind, body, sample) : kNaN;
  };
  const bool rightAscension = info.Quantity == TEventQuantity::RightAscension;
  // The central difference over 2h: its zero is the extremum's instant to
  // far below a second for the quantities' smooth courses.
  const double h = std::min(0.01, step * 0.01);
  auto rate = [&](double mjd) {
    const double d = quantity(mjd + h) - quantity(mjd - h);
    return rightAscension ? std::remainder(d, 360.0) : d;
  };
  const bool root = info.Extremum == TEventExtremum::Zero;
  const std::function<double(double)> f = root ? std::function<double(double)>(quantity) : rate;
  const double estimate = time;
  double a = estimate - 0.5 * step, b = estimate + 0.5 * step;
  double fa = f(a), fb = f(b);
  if (std::isfinite(fa) && std::isfinite(fb) && (fa < 0) == (fb < 0) && fa != 0 && fb != 0) {
    a = estimate - step;
    b = estimate + step;
    fa = f(a);
    fb = f(b);
  }
  if (aborted) return PassEnd::Aborted;
  if (!std::isfinite(fa) || !std::isfinite(fb) || ((fa < 0) == (fb < 0) && fa != 0 && fb != 0))
    return PassEnd::NotFound;
  const double t = BrentRoot(f, a, fa, b, fb, kRootTolerance);
  if (!Pump(base, false, kRefinedInstants)) aborted = true;
  if (aborted) return PassEnd::Aborted;
  if (!std::isfinite(t)) return PassEnd::NotFound;
  const double q = quantity(t);
  if (aborted) return PassEnd::Aborted;
  if (!std::isfinite(q)) return PassEnd::NotFound;
  time = t;
  // A zero keeps the abscissa of the window's root as its value.
  if (!root) value = info.SignedAngleValue ? ExtremeValue(info.Quantity, body, q, sample.Record()) : q;
  return PassEnd::Found;
}

bool tsuchobjekt::schleife_1(const TSearchLoopRequest& request, double& time, double& value) {
  AbortRequested = 0;
  TakeElements(request);
  const TEventKindInfo* kind = EventKindInfo(request.EventKind);
  if (kind == nullptr) {
    ShowMessage("Unbekannte Ereignisart.", "Unknown kind of event.", MessageIcon::Error);
    return false;
  }
  // One body; a star or user object is the first of its list.
  TSearchLoopRequest one = request;
  one.SecondBody = request.Body;
  one.StarIndex = 1;
  one.UserIndex = 1;
  if (!CheckInput(one)) return false;
  const TEventKindInfo& info = *kind;
  FindMaximum = info.Maximum() ? 1 : 0;
  // Distances, right ascension and the latitudes need no physical block.
  TFillScope scope(*this, info.Physical ? TRecordFill::Full : TRecordFill::Places);
  ShownProgress shown(request.Show);
  double t = 0, v = 0;
  TObserverRecord middle;
  if (Pass1(one, t, v, middle) != PassEnd::Found) return false;
  // The instant itself: the zero of the quantity's rate of change (of the
  // quantity for a zero kind) near the window's estimate. When it cannot be
  // bracketed the estimate stands.
  if (RefineExtremum(request.EventKind, request.Body, middle, request.Step, t, v) == PassEnd::Aborted) return false;
  time = t;
  value = v;
  return true;
}

}  // namespace kvx
