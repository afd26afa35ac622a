#include "eclipses/planet_star_occultation.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/angle_constants.h"
#include "core/apparent_place_fit.h"
#include "core/frames.h"
#include "core/name_tables.h"
#include "core/star_reduction.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "engine/kepler.h"
#include "engine/planet.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/progress.h"
#include "theories/observer_completion.h"
#include "theories/planet_positions.h"

namespace kvx {

namespace {

constexpr double kEarthRadiusKm = 6378.14;
constexpr double kAuInEarthRadii = 149597870000.0 / 6378140.0;
constexpr double kDayCenturies = 1.0 / 36525.0;
constexpr double kLongStep = 8.213552361e-05;  // 3 days
constexpr double kShortStep = 3.04205643e-05;  // 10/9 day
constexpr double kThirtySeconds = 9.506426344209e-09;
constexpr double kCatalogueEpochT = -0.5;
constexpr double kCoarseTolerance = 0.1;
constexpr double kRefineTolerance = 0.001;
constexpr double kDeclinationWindow = 0.3;
constexpr double kDistanceReach = 20000.0;
constexpr double kPolarDeclination = 60.0;
// Precession in declination, degrees a year (20.04" at most).
constexpr double kDeclinationPrecession = 20.1 / 3600.0;
// Nutation (16"), aberration (20.5"), the body's further motion in the
// refinement's day on either side of a step (planets under 2 degrees a day)
// and the bulge of its track between the step's ends (under 0.5 degree in
// 3 days), degrees.
constexpr double kDeclinationReach = 2.5 + 40.0 / 3600.0;
constexpr int kMaxFalsiSteps = 100;
constexpr std::array<double, 9> kRadiusKm = {2439.0,  6052.0,  6378.14, 3397.2, 71398.0,
                                             60000.0, 25400.0, 24300.0, 2500.0};

double SinD(double x) { return std::sin(x * kDegToRad); }
double CosD(double x) { return std::cos(x * kDegToRad); }
double CenturiesOfMjd(double mjd) { return JulianCenturiesJ2000(MjdToJd(mjd)); }

// The body's right ascension at both ends and the star's, made continuous:
// true when the star lies strictly between the ends.
bool Brackets(double& a0, double& a1, double& target) {
  AngleDifferenceSigned(a0, a1, target);
  return IsBetween(a0, a1, target);
}

}  // namespace

double OccultingBodyRadius(std::int32_t body, std::int32_t asteroidDiameterKm) {
  if (body == kOccultingAsteroid) return 0.5 * static_cast<double>(asteroidDiameterKm) / kEarthRadiusKm;
  if (body < 1 || body > 9) return 0;
  return kRadiusKm[static_cast<std::size_t>(body - 1)] / kEarthRadiusKm;
}

tsternbedeckungpl::tsternbedeckungpl(const TSearchContext& context, const TTableConfigRecord& config,
                                     const TObserverRecord& start, std::shared_ptr<const TStarCatalogue> catalogue)
    : Start(start), context_(context), config_(config), catalogue_(std::move(catalogue)) {
  planet_ = std::make_unique<tplaShort>(context_.Body, context_.Selection, 6, 1, config_, start,
                                        TAccuracySettings{1e-10L, context_.VsopLevelA, 10});
}

tsternbedeckungpl::~tsternbedeckungpl() = default;

double tsternbedeckungpl::MarginDegrees(double days, double properMotion) {
  const double years = 0.5 * std::fabs(days) / 365.25 + 0.02;
  const double precession = 5.4 / 3600.0;
  const double nutation = 28.0 / 3600.0;
  const double aberration = 20.5 / 3600.0 / CosD(kPolarDeclination);
  return 1.2 * (years * (precession + std::fabs(properMotion)) + nutation + aberration + 1.0 / 3600.0) + 0.01;
}

void tsternbedeckungpl::BodyPlaceAt(double T, double& ra, double& dec, double& distance) {
  const TObserverRecord r = ObserverAtTT(Start, T, deltaT_, context_);
  if (body_ == kOccultingAsteroid && asteroid_ != nullptr) {
    TKepler& a = *asteroid_;
    a.Observer = r;
    a.FullComputation = 1;
    a.bahnlageelemente();
    a.Bahn2heliozentrisch(context_.Settings, r.Mjd + r.DeltaTSeconds / 86400.0);
    a.geozentrischekliptikalgeometrisch();
    a.Geozentrischekliptikalastrometrisch();
    a.Ekliptik_aequator();
    ra = a.Result.Position.RightAscension;
    dec = a.Result.Position.Declination;
    distance = a.Result.EquatorialDistance * kAuInEarthRadii;
    return;
  }
  planet_->initialisieren(context_.Body, context_.Selection, body_, config_, r, 1e-10L);
  planet_->Topocentric = 0;
  planet_->rechnen(context_.Settings);
  ra = planet_->Result.TopoRightAscension;
  dec = planet_->Result.TopoDeclination;
  distance = planet_->Result.TopoDistance * kAuInEarthRadii;
}

void tsternbedeckungpl::BuildIndex(double middleT, double days) {
  index_.clear();
  polar_.clear();
  const double limit = static_cast<double>(Options.LimitingMagnitude) * 100.0;
  const TStarReduction mean = StarReductionAt(middleT, Options.OldPrecession != 0, TStarAberration::None);
  double fastest = 0, fastestDec = 0;
  for (std::int32_t i = 1; i <= catalogue_->Count(); ++i) {
    const tsterndatensatz& star = catalogue_->Star(i);
    if (!star.Usable || !(static_cast<double>(star.Magnitude100) < limit)) continue;
    double raEpoch = 0, decEpoch = 0, ra = 0, dec = 0;
    StarPlaceAtEpoch(star.RightAscension, star.Declination, star.ProperMotionRA, star.ProperMotionDec, middleT, raEpoch,
                     decEpoch);
    StarToDate(mean, raEpoch, decEpoch, ra, dec);
    fastestDec = std::max(fastestDec, std::fabs(static_cast<double>(star.ProperMotionDec)));
    if (std::fabs(dec) > kPolarDeclination - 1.0) {
      polar_.push_back({ra, dec, i});
      continue;
    }
    fastest = std::max(fastest, std::fabs(static_cast<double>(star.ProperMotionRA)));
    index_.push_back({ra, dec, i});
  }
  std::sort(index_.begin(), index_.end(), [](const TCandidate& a, const TCandidate& b) { return a.Ra < b.Ra; });
  std::sort(polar_.begin(), polar_.end(), [](const TCandidate& a, const TCandidate& b) { return a.Dec < b.Dec; });
  indexMargin_ = MarginDegrees(days, fastest);
  const double years = 0.5 * std::fabs(days) / 365.25 + 0.02;
  declinationMargin_ = years * (kDeclinationPrecession + fastestDec) + kDeclinationReach;
}

TOccultationRunStatus tsternbedeckungpl::rechnen(std::int32_t body, TKepler* asteroid, const TObserverRecord& end,
                                                 const TObserverRecord& start, const TPlanetStarOptions& options) {
  Options = options;
  Start = start;
  Cancelled = 0;
  AbortRequested = 0;
  const std::int32_t count = catalogue_ ? catalogue_->Count() : 0;
  const std::int32_t selected = options.SelectedStar;
  if (selected != -1 && (selected < 1 || selected > count)) {
    ShowMessage("Kein Stern mit diesem Namen gefunden.", "No star with this name found.", MessageIcon::Error);
    return TOccultationRunStatus::Refused;
  }
  StarName = selected != -1 ? catalogue_->Star(selected).Name : std::string();
  body_ = body;
  asteroid_ = asteroid;
  if (body == kOccultingAsteroid) {
    if (asteroid == nullptr) return TOccultationRunStatus::Refused;
    name_ = asteroid->Name;
    limitArcsec_ = 8000.0;
  } else {
    name_ = body >= 1 && body <= 9 ? PlanetNames[static_cast<std::size_t>(body - 1)] : std::string();
    limitArcsec_ = 400.0;
  }
  radius_ = OccultingBodyRadius(body, options.AsteroidDiameter);
  deltaT_ = start.DeltaTSeconds;
  startT_ = CenturiesOfMjd(start.Mjd);
  endT_ = options.WholePeriod != 0 ? CenturiesOfMjd(end.Mjd) : startT_;
  if (body == 9 && !(DateInTheoryRange(context_.Selection, startT_) && DateInTheoryRange(context_.Selection, endT_))) {
    ShowMessage("Ungültiges Datum für Pluto", "Invalid date for Pluto", MessageIcon::Error);
    return TOccultationRunStatus::Refused;
  }
  SearchedBodies.push_back(name_);
  ObserverGeocentricRho(rhoCos_, rhoSin_, start.Latitude);
  const double step = options.WholePeriod != 0 ? kLongStep : kShortStep;
  const double days = (endT_ - startT_) * 36525.0;
  const bool indexed = options.UseIndex && selected == -1 && count > 0;
  // One index serves every body of the search.
  const TIndexKey key{0.5 * (startT_ + endT_), days, options.LimitingMagnitude, options.OldPrecession};
  if (indexed && !(indexKey_ && *indexKey_ == key)) {
    BuildIndex(key.MiddleT, days);
    indexKey_ = key;
  }
  const double steps = std::max(1.0, std::ceil((endT_ - startT_) / step));

  ProgressSession session(CurrentProgress(),
                          std::string(ByLanguage("Sternbedeckungen durch ", "Occultations of stars by ")) + name_, 100);
  ProgressReporter& progress = session.Reporter();
  const bool old = options.OldPrecession != 0;
  const double limit = static_cast<double>(options.LimitingMagnitude) * 100.0;
  std::vector<std::int32_t> stars;
  int done = 0;
  tb_ = startT_;
  do {
    ta_ = tb_;
    tb_ = ta_ + step;
    const double tm = 0.5 * (ta_ + tb_);
    const TStarReduction reduction = StarReductionAt(tm, old, TStarAberration::SunTerms);
    deltaT_ = start.DeltaTSeconds;
    BodyPlaceAt(ta_, raA_, decA_, distA_);
    BodyPlaceAt(tb_, raB_, decB_, distB_);
    stars.clear();
    if (selected != -1) {
      stars.push_back(selected);
    } else if (indexed) {
      // The body's declinations at the step's ends widened by the
      // conjunction limit, the coarse test's window, the body's motion over
      // the step and the declination margin.
      const double pad = limitArcsec_ / 3600.0 + kDeclinationWindow + std::fabs(decB_ - decA_) + declinationMargin_;
      const double decLo = std::min(decA_, decB_) - pad, decHi = std::max(decA_, decB_) + pad;
      // The body's right-ascension bracket, continuous, widened by the margin.
      double a0 = raA_, a1 = raB_, dummy = 0;
      Brackets(a0, a1, dummy);
      const double lo = std::min(a0, a1) - indexMargin_, hi = std::max(a0, a1) + indexMargin_;
      const auto add = [&](double from, double to) {
        auto it = std::lower_bound(index_.begin(), index_.end(), from,
                                   [](const TCandidate& c, double v) { return c.Ra < v; });
        for (; it != index_.end() && it->Ra <= to; ++it) {
          if (it->Dec >= decLo && it->Dec <= decHi) stars.push_back(it->Index);
        }
      };
      add(lo, hi);
      if (lo < 0) add(lo + 360.0, 360.0);
      if (hi >= 360.0) add(0.0, hi - 360.0);
      // Stars beyond 60 degrees by their declination alone.
      const auto first = std::lower_bound(polar_.begin(), polar_.end(), decLo,
                                          [](const TCandidate& c, double v) { return c.Dec < v; });
      for (auto it = first; it != polar_.end() && it->Dec <= decHi; ++it) stars.push_back(it->Index);
      std::sort(stars.begin(), stars.end());
      stars.erase(std::unique(stars.begin(), stars.end()), stars.end());
    } else {
      for (std::int32_t i = 1; i <= count; ++i) stars.push_back(i);
    }
    for (const std::int32_t i : stars) {
      const tsterndatensatz& star = catalogue_->Star(i);
      // The chosen star is searched whatever its magnitude.
      if (selected == -1 && (!star.Usable || !(static_cast<double>(star.Magnitude100) < limit))) continue;
      double raEpoch = 0, decEpoch = 0, ra = 0, dec = 0;
      StarPlaceAtEpoch(star.RightAscension, star.Declination, star.ProperMotionRA, star.ProperMotionDec, tm, raEpoch,
                       decEpoch);
      StarToDate(reduction, raEpoch, decEpoch, ra, dec);
      EvaluateStar(i, raEpoch, decEpoch, ra, dec);
      if (AbortRequested != 0) break;
    }
    ++done;
    progress.Step(static_cast<int>(std::clamp(100.0 * done / steps, 0.0, 100.0)));
    progress.ProcessEvents();
    if (AbortRequested != 0) break;
  } while (tb_ < endT_);
  return EndOccultationRun(Cancelled);
}

TConjunction tsternbedeckungpl::FindConjunctionInRA(bool refine, double tLo, double tHi, double starRa, double starDec,
                                                    double tolerance) {
  TConjunction result;
  double aLo = raA_, aHi = raB_;
  if (refine) {
    // Each end of the bracket carries the body's place at its own time;
    // when the window does not bracket the star, the step's ends do.
    double dec = 0, dist = 0;
    BodyPlaceAt(tLo, aLo, dec, dist);
    BodyPlaceAt(tHi, aHi, dec, dist);
    double a0 = aLo, a1 = aHi, target = starRa;
    if (!Brackets(a0, a1, target)) {
      tLo = ta_;
      tHi = tb_;
      aLo = raA_;
      aHi = raB_;
    }
  }
  double a0 = aLo, a1 = aHi, target = starRa;
  if (!Brackets(a0, a1, target)) return result;
  if (!refine && !(std::fabs(decA_ - starDec) < kDeclinationWindow || std::fabs(decB_ - starDec) < kDeclinationWindow ||
                   std::fabs(decA_ - decB_) > kDeclinationWindow)) {
    return result;
  }
  double dLo = a0 - target, dHi = a1 - target;
  double t = tHi;
  for (int k = 0; k < kMaxFalsiSteps; ++k) {
    if (dHi == dLo) break;
    t = tHi - (tHi - tLo) * dHi / (dHi - dLo);
    double ra = 0, dec = 0, dist = 0;
    BodyPlaceAt(t, ra, dec, dist);
    const double d = AngleToPlusMinus180(Mod360(ra - target));
    if (!std::isfinite(d) || std::fabs(d) < tolerance) break;
    // The end whose offset has the same sign is replaced (the body may be
    // retrograde).
    if ((d > 0) == (dHi > 0)) {
      tHi = t;
      dHi = d;
    } else {
      tLo = t;
      dLo = d;
    }
    if (std::fabs(tHi - tLo) < kThirtySeconds) break;
  }
  double ra = 0, dec = 0, dist = 0;
  BodyPlaceAt(t, ra, dec, dist);
  dDecArcsec_ = (starDec - dec) * 3600.0;
  result.T = t;
  result.Found = std::fabs(SinD(dec - starDec)) * dist < kDistanceReach && std::fabs(dDecArcsec_) < limitArcsec_;
  return result;
}

void tsternbedeckungpl::EvaluateStar(std::int32_t index, double raEpoch, double decEpoch, double ra, double dec) {
  TConjunction c = FindConjunctionInRA(false, ta_, tb_, ra, dec, kCoarseTolerance);
  if (!c.Found) return;
  const bool old = Options.OldPrecession != 0;
  const TStarReduction refined =
      StarReductionAt(c.T, old, old ? TStarAberration::Equatorial1 : TStarAberration::Equatorial2);
  StarToDate(refined, raEpoch, decEpoch, ra, dec);
  c = FindConjunctionInRA(true, c.T - kDayCenturies, c.T + kDayCenturies, ra, dec, kRefineTolerance);
  if (!c.Found) return;
  const double dDec = dDecArcsec_;

  // One Delta T for the whole event: the places, the sidereal time and the
  // UT of the contacts agree.
  deltaT_ = Start.AutoDeltaT != 0 ? DeltaT(JdFromJulianCenturies(c.T)) : Start.DeltaTSeconds;
  const TOccultationFrame frame =
      OccultationFrameAt(c.T, deltaT_, context_.Sidereal, Start.Longitude, rhoCos_, rhoSin_);
  const TOcculterPlace occulter = [this](double T, double& a, double& d, double& r) { BodyPlaceAt(T, a, d, r); };
  TContactScanSettings scan;
  scan.Radius = radius_;
  scan.HalfWindowHours = 20.0;
  scan.SpacingHours = 2.0;
  scan.MotionHours = 2.0;
  TContactPair pair;
  if (Options.ConjunctionsOnly == 0 && radius_ > 0) {
    const TPointSource source{ra, dec};
    pair = OccultationContacts(occulter, frame, source, scan);
    if (pair.Found) {
      // The parabolas over 2-hour samples place the contacts of a small
      // body minutes off (its motion is not straight over 4 hours): each
      // root is refined on f itself by the secant method.
      const double r2 = radius_ * radius_;
      const auto f = [&](double hours) {
        const TPlaneOffset p = FundamentalPlaneOffset(occulter, frame, source, hours);
        return p.x * p.x + p.y * p.y - r2;
      };
      for (TContactCircumstances& contact : pair.Contact) {
        double h0 = contact.Hours - 0.01, h1 = contact.Hours + 0.01;
        double f0 = f(h0), f1 = f(h1);
        for (int k = 0; k < 12 && f1 != f0; ++k) {
          const double h2 = h1 - f1 * (h1 - h0) / (f1 - f0);
          if (!std::isfinite(h2) || std::fabs(h2 - contact.Hours) > 1.0) break;
          h0 = h1;
          f0 = f1;
          h1 = h2;
          f1 = f(h1);
          if (std::fabs(h1 - h0) < 1e-7) break;
        }
        if (std::fabs(h1 - contact.Hours) <= 1.0) contact = ContactCircumstances(occulter, frame, source, h1, scan);
      }
      if (!(pair.Contact[0].Hours < pair.Contact[1].Hours)) pair.Found = false;
    }
  }
  deltaT_ = Start.DeltaTSeconds;

  const tsterndatensatz& star = catalogue_->Star(index);
  auto row = std::make_unique<tergebnisdatensatz>();
  double altitude1 = 0, altitude2 = 0;
  if (pair.Found) {
    const TContactCircumstances& c1 = pair.Contact[0];
    const TContactCircumstances& c2 = pair.Contact[1];
    row->EventFlag = 1;
    SetContactPair(*row, c1, c2);
    altitude1 = c1.Altitude;
    altitude2 = c2.Altitude;
  } else {
    // A conjunction: no contact, so no position angle, a or b.
    const double none = std::numeric_limits<double>::quiet_NaN();
    row->EventFlag = 0;
    row->Contact1Time = row->Contact2Time = frame.Mjd0;
    row->PositionAngle1 = row->PositionAngle2 = none;
    row->CoefficientA1 = row->CoefficientB1 = row->CoefficientA2 = row->CoefficientB2 = none;
    double H = 0, azimuth = 0;
    EquatorialToHorizontal(false, H, altitude1, frame.Lst0, Start.Latitude, ra, dec, Start.Pressure, Start.Temperature,
                           azimuth);
    altitude2 = altitude1;
  }
  const bool precise = Options.PreciseSun != 0;
  const double sun1 = OccultationSunAltitude(context_, precise, row->Contact1Time, rhoCos_, rhoSin_, Start.Longitude);
  const double sun2 = OccultationSunAltitude(context_, precise, row->Contact2Time, rhoCos_, rhoSin_, Start.Longitude);
  if (CenturiesOfMjd(row->Contact1Time) > endT_ || CenturiesOfMjd(row->Contact2Time) < startT_) return;
  SetContactAltitudes(*row, Start, altitude1, altitude2, sun1, sun2);
  row->Magnitude = star.Magnitude100;
  row->ExtraValue = dDec;
  row->ObjectName = star.Name;
  row->RightAscension = ra;
  row->Declination = dec;
  row->Label = name_;
  ergebnisse.Add(std::move(row));
}

TOccultationRunStatus RunPlanetStarOccultations(tsternbedeckungpl& search, const TPlanetStarOptions& options,
                                                const TAsteroidElements& asteroid, bool warnings,
                                                const TObserverRecord& end, const TObserverRecord& start) {
  search.ergebnisse.Clear();
  search.SearchedBodies.clear();
  search.Cancelled = 0;
  std::unique_ptr<TKepler> kepler;
  const bool loaded = asteroid.Name != "Kein Planetoid" && !asteroid.Name.empty();
  if (options.Bodies[8] != 0 && loaded) {
    kepler = std::make_unique<TKepler>(search.Context().Body, 0, TTableConfigRecord{}, asteroid, start,
                                       TAccuracySettings{1e-10L, -1, 10});
    kepler->Name = asteroid.Name;
    const double days = std::fabs(MjdToJd(start.Mjd) - asteroid.Epoch);
    if (warnings && days > 50.0) {
      const std::string age = std::to_string(static_cast<long long>(std::trunc(days)));
      const MessageResult answer =
          ShowMessage("Die oskulierenden Bahnelemente von " + asteroid.Name + " sind " + age +
                          " Tage alt. Dennoch mit diesen veralteten Elementen weiterrechnen?",
                      "The osculating orbital elements of " + asteroid.Name + " are " + age +
                          " days old. Continue calculating with these old elements?",
                      MessageIcon::Warning, MessageButtons::YesNo, ByLanguage("Warnung", "Warning"));
      if (answer != MessageResult::Yes) {
        search.Cancelled = 1;
        return TOccultationRunStatus::Cancelled;
      }
    }
    if (!kepler->CheckElements()) kepler.reset();
  }
  static constexpr std::array<std::int32_t, 9> kBodies = {1, 2, 4, 5, 6, 7, 8, 9, kOccultingAsteroid};
  for (std::size_t i = 0; i < kBodies.size(); ++i) {
    if (options.Bodies[i] == 0) continue;
    if (kBodies[i] == kOccultingAsteroid && !kepler) continue;
    const TOccultationRunStatus status = search.rechnen(kBodies[i], kepler.get(), end, start, options);
    if (status == TOccultationRunStatus::Cancelled) return status;
    if (status == TOccultationRunStatus::Refused && kBodies[i] != 9) return status;
  }
  return TOccultationRunStatus::Done;
}

}  // namespace kvx
