// The search engine's closest approach of two bodies: their separation
// at one instant (schleife_3) and its first local minimum below a limit
// (schleife_4).
#include <cmath>
#include <cstdint>

#include "core/frames.h"
#include "engine/search_object.h"
#include "engine/search_passes.h"

namespace kvx {

using namespace search_pass;

namespace {

// Steps of one closest-approach pass at most.
constexpr int kMaxApproachSteps = 1000;

}  // namespace

bool tsuchobjekt::schleife_3(const TSearchLoopRequest& request, const TObserverRecord& observer, double& separation) {
  TakeElements(request);
  return Separation(request, observer, separation);
}

bool tsuchobjekt::Separation(const TSearchLoopRequest& request, const TObserverRecord& observer, double& separation) {
  TSearchSample a, b;
  if (!Sample(request.Body, observer, observer.Mjd, 0, request.StarIndex, request.UserIndex, a) ||
      !Sample(request.SecondBody, observer, observer.Mjd, 0, request.StarIndex, request.UserIndex, b))
    return false;
  const bool topo = context_.Topocentric != 0;
  TAngularSeparationRecord rec;
  rec.ra1 = topo ? a.Record().TopoRightAscension : a.Record().Position.RightAscension;
  rec.dec1 = topo ? a.Record().TopoDeclination : a.Record().Position.Declination;
  rec.ra2 = topo ? b.Record().TopoRightAscension : b.Record().Position.RightAscension;
  rec.dec2 = topo ? b.Record().TopoDeclination : b.Record().Position.Declination;
  const double s = AngularSeparation(rec);
  if (!std::isfinite(s)) return false;
  separation = s;
  return true;
}

tsuchobjekt::PassEnd tsuchobjekt::Pass4(const TSearchLoopRequest& request, bool onGrid, double& time,
                                        TObserverRecord& middle) {
  const TObserverRecord& start = request.Start;
  const double step = request.Step;
  double sep[3] = {kNaN, kNaN, kNaN};
  double index = onGrid ? std::ceil(start.Mjd / step) : 0;
  const double first = onGrid ? index * step : start.Mjd;
  TObserverRecord obs[3];
  auto at = [&](int i, const TObserverRecord& base, double mjd) {
    obs[i] = base;
    obs[i].Mjd = mjd;
    ObserverRecordDateFromMjd(obs[i]);
    double s = 0;
    const bool ok = Separation(request, obs[i], s);
    obs[i].Mjd = mjd;
    sep[i] = ok ? std::fabs(s) : kNaN;
    return ok;
  };
  if (!at(0, start, onGrid ? (index - 1) * step : start.Mjd - step) || !at(1, start, first)) return PassEnd::NotFound;
  std::int32_t counter = 0;
  while (true) {
    index += 1;
    const bool valid = at(2, obs[1], onGrid ? index * step : obs[1].Mjd + step);
    if (!Pump(obs[2], counter % 10 == 0)) return PassEnd::Aborted;
    if (!datum_pruefen(request.DateCheck, selection_, request.Body, request.SecondBody, obs[1].Mjd))
      return PassEnd::Aborted;
    if (!valid) return PassEnd::NotFound;
    ++counter;
    if (sep[1] < sep[0] && sep[1] < sep[2] && sep[1] < request.Limit) {
      time = obs[1].Mjd;
      middle = obs[1];
      return PassEnd::Found;
    }
    if (counter > kMaxApproachSteps || counter > request.MaxSteps || (request.EndCheck && obs[0].Mjd > request.EndMjd))
      return PassEnd::NotFound;
    obs[0] = obs[1];
    obs[1] = obs[2];
    sep[0] = sep[1];
    sep[1] = sep[2];
  }
}

bool tsuchobjekt::schleife_4(const TSearchLoopRequest& request, double& time, double& separation) {
  TakeElements(request);
  if (!CheckInput(request)) return false;
  TFillScope scope(*this, TRecordFill::Places);
  TValueScope<bool> eclipticScope(fixedEcliptic_, false);  // separations of right ascension and declination
  ShownProgress shown(request.Show);
  double t = 0;
  TObserverRecord middle;
  if (Pass4(request, false, t, middle) != PassEnd::Found) return false;
  // On the grid of the fine step, as schleife_2's finer passes.
  TSearchLoopRequest fine = request;
  fine.EndCheck = false;
  fine.Start = middle;
  fine.Start.Mjd = t - 2;
  fine.Step = 1.0 / 48.0;
  fine.MaxSteps = kMaxApproachSteps;
  double t2 = 0;
  TObserverRecord middle2;
  const PassEnd end = Pass4(fine, true, t2, middle2);
  if (end == PassEnd::Aborted) return false;
  if (end == PassEnd::Found) {
    t = t2;
    middle = middle2;
  }
  double s = 0;
  if (!schleife_3(request, middle, s)) return false;
  time = t;
  separation = s;
  return true;
}

}  // namespace kvx
