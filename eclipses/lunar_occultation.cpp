#include "eclipses/lunar_occultation.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <optional>
#include <vector>

#include "core/angle_constants.h"
#include "core/apparent_place_fit.h"
#include "core/frames.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "eclipses/besselian.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/progress.h"
#include "theories/apparent_sun_moon.h"
#include "theories/low_precision.h"
#include "theories/observer_completion.h"

namespace kvx {

namespace {

constexpr double kSiderealRate = 1.0027379;
// 20 days in Julian centuries, and the fit's margin (about three hours).
constexpr double kStarInterval = 0.0005475701574;
constexpr double kFitMargin = 3.42e-6;
constexpr int kMoonFitOrder = 19;
// Intervals whose Moon fits are kept at most (about 110 years).
constexpr std::size_t kKeptMoonFits = 2000;
// |r sin(d - d*)| below this (Earth radii) lets a conjunction through.
constexpr double kConjunctionReach = 1.5;
// Roots of the contact scan closer than this (hours, a third of a
// millisecond) are one root.
constexpr double kSameRootHours = 1e-7;
// Declination offset (degrees) beyond which no conjunction is accepted,
// with 0.15 degree of margin over 1.5 Earth radii at the least lunar
// distance.
constexpr double kDeclinationReach = 1.7;
// The star must stand above this altitude (degrees) at one contact.
constexpr double kMinimumStarAltitude = 5.0;

double SinD(double x) { return std::sin(x * kDegToRad); }
double CosD(double x) { return std::cos(x * kDegToRad); }

double CenturiesOfMjd(double mjd) { return JulianCenturiesJ2000(MjdToJd(mjd)); }

// Regula falsi on f(t) = ra(t) - target over [t0, t1] with f(t0) <= 0 <= f(t1).
double RegulaFalsi(const TOcculterPlace& occulter, double t0, double f0, double t1, double f1, double target,
                   double tolerance, int maxSteps) {
  double c = t1;
  for (int step = 0; step < maxSteps; ++step) {
    const double denominator = f1 - f0;
    if (denominator == 0) break;
    c = t1 - (t1 - t0) * f1 / denominator;
    double ra = 0, dec = 0, r = 0;
    occulter(c, ra, dec, r);
    const double fc = ra - target;
    if (!std::isfinite(fc)) break;
    if (std::fabs(fc) < tolerance) break;
    if (fc > 0) {
      t1 = c;
      f1 = fc;
    } else {
      t0 = c;
      f0 = fc;
    }
  }
  return c;
}

bool WithinReach(const TOcculterPlace& occulter, double t, double sourceDec) {
  double ra = 0, dec = 0, r = 0;
  occulter(t, ra, dec, r);
  return std::fabs(r * SinD(dec - sourceDec)) < kConjunctionReach;
}

}  // namespace

// --- the fundamental plane ----------------------------------------------------------------

TOccultationFrame OccultationFrameAt(double T, double deltaT, std::uint8_t sidereal, double longitude, double rhoCos,
                                     double rhoSin) {
  TOccultationFrame frame;
  frame.T = T;
  frame.Mjd0 = T * 36525.0 + 51544.5 - deltaT / 86400.0;
  frame.Lst0 = LocalSiderealTime(sidereal, frame.Mjd0, longitude);
  frame.RhoCos = rhoCos;
  frame.RhoSin = rhoSin;
  return frame;
}

TPlaneOffset FundamentalPlaneOffset(const TOcculterPlace& occulter, const TOccultationFrame& frame,
                                    const TPointSource& source, double hours) {
  double ra = 0, dec = 0, r = 0;
  occulter(frame.T + hours * kHourCenturies, ra, dec, r);
  const double dRa = ra - source.Ra;
  const double H = (frame.Lst0 + kSiderealRate * hours) * 15.0 - source.Ra;
  const double sd = SinD(dec), cd = CosD(dec);
  const double ss = SinD(source.Dec), cs = CosD(source.Dec);
  TPlaneOffset p;
  p.x = r * cd * SinD(dRa) - frame.RhoCos * SinD(H);
  p.y = r * (sd * cs - cd * ss * CosD(dRa)) - frame.RhoSin * cs + frame.RhoCos * ss * CosD(H);
  return p;
}

TContactCircumstances ContactCircumstances(const TOcculterPlace& occulter, const TOccultationFrame& frame,
                                           const TPointSource& source, double hours,
                                           const TContactScanSettings& settings) {
  TContactCircumstances c;
  c.Hours = hours;
  c.Mjd = frame.Mjd0 + hours / 24.0;
  const TPlaneOffset p = FundamentalPlaneOffset(occulter, frame, source, hours);
  const TPlaneOffset q = FundamentalPlaneOffset(occulter, frame, source, hours + settings.MotionHours);
  const double xDot = (q.x - p.x) / settings.MotionHours;
  const double yDot = (q.y - p.y) / settings.MotionHours;
  double angle = std::atan2(-p.x, -p.y) / kDegToRad;
  if (angle < 0) angle += 360.0;
  c.PositionAngle = angle;
  const double d = 1.047 / (p.x * xDot + p.y * yDot);
  const double H = (frame.Lst0 + kSiderealRate * hours) * 15.0 - source.Ra;
  const double ss = SinD(source.Dec), cs = CosD(source.Dec);
  c.A = -d * frame.RhoCos * (p.x * CosD(H) + p.y * SinD(H) * ss);
  c.B = -d * ((p.x * SinD(H) - p.y * ss * CosD(H)) * frame.RhoSin - frame.RhoCos * p.y * cs);
  const double s = frame.RhoSin * ss + frame.RhoCos * cs * CosD(H);
  c.Altitude = std::asin(std::clamp(s, -1.0, 1.0)) / kDegToRad;
  return c;
}

void SetContactPair(tergebnisdatensatz& row, const TContactCircumstances& c1, const TContactCircumstances& c2) {
  row.Contact1Time = c1.Mjd;
  row.PositionAngle1 = c1.PositionAngle;
  row.CoefficientA1 = c1.A;
  row.CoefficientB1 = c1.B;
  row.Contact2Time = c2.Mjd;
  row.PositionAngle2 = c2.PositionAngle;
  row.CoefficientA2 = c2.A;
  row.CoefficientB2 = c2.B;
}

void SetContactAltitudes(tergebnisdatensatz& row, const TObserverRecord& observer, double altitude1, double altitude2,
                         double sun1, double sun2) {
  const auto refracted = [&observer](double h) {
    return observer.RefractionOn != 0 ? Refraction(h, observer.Pressure, observer.Temperature) : h;
  };
  row.Altitude1 = refracted(altitude1);
  row.SunAltitude1 = refracted(sun1);
  row.Altitude2 = refracted(altitude2);
  row.SunAltitude2 = refracted(sun2);
}

TContactPair OccultationContacts(const TOcculterPlace& occulter, const TOccultationFrame& frame, TPointSource source,
                                 const TContactScanSettings& settings, const TSourceMotion& motion) {
  TContactPair pair;
  const double radius2 = settings.Radius * settings.Radius;
  const auto f = [&](double hours) {
    if (motion) motion(hours, source);
    const TPlaneOffset p = FundamentalPlaneOffset(occulter, frame, source, hours);
    return p.x * p.x + p.y * p.y - radius2;
  };
  const TParabolaScanResult scan = ScanParabolaRoots(
      f, -settings.HalfWindowHours, settings.HalfWindowHours - settings.SpacingHours, settings.SpacingHours, 3);
  pair.Source = source;
  // Two windows' parabolas may place one root a rounding apart on both
  // sides of their common border: such a root counts once.
  std::vector<double> roots;
  for (double root : scan.Roots) {
    if (roots.empty() || std::fabs(root - roots.back()) > kSameRootHours) roots.push_back(root);
  }
  if (roots.size() != 2) return pair;
  // A moving source is taken at each contact's own hour: its place at the
  // end of the scan would turn the position angle of a fast planet by tens
  // of degrees.
  for (int i = 0; i < 2; ++i) {
    const double hours = roots[static_cast<std::size_t>(i)];
    if (motion) motion(hours, source);
    pair.Contact[i] = ContactCircumstances(occulter, frame, source, hours, settings);
  }
  pair.Found = true;
  return pair;
}

// --- conjunctions in right ascension -----------------------------------------------------------

namespace {

// A star's right ascension (degrees, 0..360) on the continuous scale of the
// Moon's fitted right ascension, which rises from a0 to a1 over an interval
// (and starts below 0 when it passes 0 h in it): the value itself, else a
// turn less; none when neither lies in [a0, a1].
std::optional<double> StarRightAscensionWithin(double a0, double a1, double ra) {
  for (const double candidate : {ra, ra - 360.0}) {
    if (a0 <= candidate && candidate <= a1) return candidate;
  }
  return std::nullopt;
}

}  // namespace

TConjunction FindStarConjunctionInRA(const TOcculterPlace& occulter, double t0, double t1, double a0, double a1,
                                     double sourceRa, double sourceDec, double tolerance, int maxSteps) {
  TConjunction result;
  const std::optional<double> within = StarRightAscensionWithin(a0, a1, sourceRa);
  if (!within) return result;
  const double target = *within;
  result.T = RegulaFalsi(occulter, t0, a0 - target, t1, a1 - target, target, tolerance, maxSteps);
  result.Found = WithinReach(occulter, result.T, sourceDec);
  return result;
}

TConjunction FindPlanetConjunctionInRA(const TOcculterPlace& occulter, double t0, double t1, double sourceRa,
                                       double sourceDec, double tolerance, int maxSteps) {
  TConjunction result;
  double ra = 0, dec = 0, r = 0;
  occulter(t0, ra, dec, r);
  double a0 = ra;
  occulter(t1, ra, dec, r);
  double a1 = ra;
  double target = sourceRa;
  // Both ends and the source made continuous across 0/360 degrees.
  AngleDifferenceSigned(a0, a1, target);
  if (!(a0 < target && target < a1)) return result;
  // The fit's own values at the ends, against the reduced target.
  occulter(t0, ra, dec, r);
  const double shift0 = a0 - ra;
  const TOcculterPlace shifted = [&occulter, shift0](double T, double& a, double& d, double& dist) {
    occulter(T, a, d, dist);
    a += shift0;
  };
  result.T = RegulaFalsi(shifted, t0, a0 - target, t1, a1 - target, target, tolerance, maxSteps);
  result.Found = WithinReach(occulter, result.T, sourceDec);
  return result;
}

// --- the star name search ---------------------------------------------------------------------

std::int32_t FindStarByName(const TStarCatalogue& catalogue, const std::string& text, float limitMagnitude) {
  if (text.empty()) return 0;
  const auto lower = [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); };
  std::string needle(text.size(), ' ');
  std::transform(text.begin(), text.end(), needle.begin(), lower);
  const double limit = static_cast<double>(limitMagnitude) * 100.0;
  std::string name;
  for (std::int32_t i = 1; i <= catalogue.Count(); ++i) {
    const tsterndatensatz& star = catalogue.Star(i);
    if (!(static_cast<double>(star.Magnitude100) <= limit)) continue;
    if (star.Name.size() < needle.size()) continue;
    name.resize(star.Name.size());
    std::transform(star.Name.begin(), star.Name.end(), name.begin(), lower);
    if (name.find(needle) != std::string::npos) return i;
  }
  return 0;
}

double MoonReachLatitude(double T) { return 5.35 + 1.03 + 0.29 + 1.0 + 0.015 * std::fabs(T + 0.5); }

// --- the Sun -------------------------------------------------------------------------------------

double OccultationSunAltitude(const TSearchContext& context, bool preciseSun, double mjd, double rhoCos, double rhoSin,
                              double longitude) {
  const double T = (mjd - 51544.5) * 2.7378507871321e-05;
  double raHours = 0, dec = 0;
  if (preciseSun) {
    double raDeg = 0, r = 0;
    SunApparentCoordinates(context.MoonOption, context.Settings, context.Selection, T, raDeg, dec, r,
                           context.VsopLevelA);
    raHours = raDeg / 15.0;
  } else {
    SunLowPrecision(raHours, dec, T);
  }
  const double H = (LocalSiderealTime(context.Sidereal, mjd, longitude) - raHours) * 15.0;
  const double s = SinD(dec) * rhoSin + CosD(dec) * rhoCos * CosD(H);
  return std::asin(std::clamp(s, -1.0, 1.0)) / kDegToRad;
}

// --- the search --------------------------------------------------------------------------------

tsternbedeckung::tsternbedeckung(std::shared_ptr<const TStarCatalogue> catalogue) : catalogue_(std::move(catalogue)) {}

TOccultationRunStatus tsternbedeckung::rechnen(const TSearchContext& context, const TObserverRecord& end,
                                               const TObserverRecord& start, const TLunarOccultationOptions& options,
                                               const std::function<void(const char*, const char*)>& panel) {
  ergebnisse.Clear();
  Aborted = 0;
  Options = options;
  Start = start;
  LastStarName.clear();
  const std::int32_t count = catalogue_ ? catalogue_->Count() : 0;
  const std::int32_t selected = options.SelectedStar;
  if (selected != -1 && (selected < 1 || selected > count)) {
    ShowMessage("Kein Stern mit diesem Namen gefunden.", "No star with this name found.", MessageIcon::Error);
    return TOccultationRunStatus::Refused;
  }
  if (!catalogue_) return TOccultationRunStatus::Refused;
  if (selected != -1) LastStarName = catalogue_->Star(selected).Name;

  sinH0_ = SinD(options.MinimumSunAltitude);
  const double limit = static_cast<double>(options.LimitingMagnitude) * 100.0;
  AbortRequested = 0;
  startT_ = CenturiesOfMjd(start.Mjd);
  endT_ = CenturiesOfMjd(end.Mjd);
  ObserverGeocentricRho(rhoCos_, rhoSin_, start.Latitude);

  // The bar's step per star, guarded for an empty catalogue and an empty
  // period of one star.
  double step = 0;
  const double days = (endT_ - startT_) * 36525.0;
  if (selected == -1) {
    const double stars = (std::trunc(days * 0.05) + 1.0) * static_cast<double>(count);
    step = stars > 0 ? 100.0 / stars : 0.0;
  } else {
    const double intervals = std::fabs(days) * 0.05;
    step = intervals > 0 ? 100.0 / intervals : 0.0;
  }

  ProgressSession session(CurrentProgress(), ByLanguage("Sternbedeckungen", "Occultations"), 100);
  ProgressReporter& progress = session.Reporter();
  const bool oldPrecession = options.OldPrecession != 0;

  TChebyshevPolyA raPoly, decPoly, rPoly;
  moon_ = FittedMoonPlace<TChebyshevPolyA, ChebyshevEvaluateA>(raPoly, decPoly, rPoly);
  long counter = 1;
  const std::int32_t first = selected == -1 ? 1 : selected;
  const std::int32_t last = selected == -1 ? count : selected;
  StepIntervals(startT_, endT_, kStarInterval, t0_, t1_, [&] {
    if (panel) panel("Berechne Mondpositionen", "Calculating Moon ephemeris");
    if (!FitMoon(context, t0_ - kFitMargin, t1_ + kFitMargin, raPoly, decPoly, rPoly)) {
      if (panel) panel(nullptr, nullptr);
      return false;
    }
    const double m = 0.5 * (t0_ + t1_);
    const TStarReduction reduction = StarReductionAt(m, oldPrecession, TStarAberration::SunTerms);
    a0_ = ChebyshevEvaluateA(raPoly, t0_);
    a1_ = ChebyshevEvaluateA(raPoly, t1_);
    if (options.LatitudeFilter) TabulateMoon();
    const double reach = MoonReachLatitude(m);
    if (panel) panel(nullptr, nullptr);
    for (std::int32_t i = first; i <= last; ++i) {
      ++counter;
      progress.ProcessEvents();
      if (counter % 50 == 0)
        progress.Step(static_cast<int>(std::clamp(static_cast<double>(counter) * step, 0.0, 100.0)));
      const tsterndatensatz& star = catalogue_->Star(i);
      if (!star.Usable) continue;
      // The chosen star is searched whatever its magnitude.
      if (selected == -1 && !(static_cast<double>(star.Magnitude100) < limit)) continue;
      if (selected == -1 && options.LatitudeFilter) {
        const double years = (m + 0.5) * 100.0;
        const double motion = std::fabs(years) * (std::fabs(star.ProperMotionRA) + std::fabs(star.ProperMotionDec));
        if (std::fabs(star.EclipticLatitude) > reach + motion) continue;
      }
      double raEpoch = 0, decEpoch = 0;
      StarPlaceAtEpoch(star.RightAscension, star.Declination, star.ProperMotionRA, star.ProperMotionDec, m, raEpoch,
                       decEpoch);
      double ra = 0, dec = 0;
      StarToDate(reduction, raEpoch, decEpoch, ra, dec);
      if (selected == -1 && options.LatitudeFilter && !MoonMayReach(ra, dec)) continue;
      EvaluateStar(context, i, raEpoch, decEpoch, ra, dec);
      if (AbortRequested != 0) return false;
    }
    return true;
  });
  return EndOccultationRun(Aborted);
}

TObserverRecord ObserverAtTT(const TObserverRecord& start, double T, double deltaT, const TSearchContext& context) {
  TObserverRecord r = start;
  r.AutoDeltaT = 0;
  r.DeltaTSeconds = deltaT;
  r.Mjd = T * 36525.0 + 51544.5 - deltaT / 86400.0;
  UTToLocalTime(r);
  CompleteObserverRecord(context.Sidereal, context.Selection, TTableConfigRecord{}, context.VsopLevelA, r,
                         context.Settings);
  return r;
}

TOccultationRunStatus EndOccultationRun(std::uint8_t& cancelled) {
  const bool requested = AbortRequested != 0;
  AbortRequested = 0;
  if (!requested) return TOccultationRunStatus::Done;
  cancelled = 1;
  return TOccultationRunStatus::Cancelled;
}

bool tsternbedeckung::FitMoon(const TSearchContext& context, double t0, double t1, TChebyshevPolyA& ra,
                              TChebyshevPolyA& dec, TChebyshevPolyA& r) {
  const TTheorySelection moonSelection = MoonSelectionOf(context);
  TMoonFitSettings settings{moonSelection.bytes, context.MoonOption, context.VsopLevelA, {}};
  for (std::size_t i = 0; i < settings.Files.size(); ++i) settings.Files[i] = context.Settings[i].stream;
  if (!(settings == keptSettings_) || keptFits_.size() >= kKeptMoonFits) {
    keptFits_.clear();
    keptSettings_ = settings;
  }
  const auto key = std::bit_cast<std::uint64_t>(t0);
  const auto kept = keptFits_.find(key);
  if (kept != keptFits_.end() && std::bit_cast<std::uint64_t>(kept->second.T1) == std::bit_cast<std::uint64_t>(t1)) {
    ra = kept->second.Ra;
    dec = kept->second.Dec;
    r = kept->second.R;
    return true;
  }
  if (!ChebyshevFitMoonB(context.MoonOption, context.Settings, moonSelection, t0, t1, kMoonFitOrder, ra, dec, r,
                         context.VsopLevelA))
    return false;
  keptFits_[key] = TKeptMoonFit{t1, ra, dec, r};
  return true;
}

void tsternbedeckung::TabulateMoon() {
  for (int k = 0; k <= kMoonNodes; ++k) {
    double r = 0;
    moon_(t0_ + (t1_ - t0_) * k / kMoonNodes, nodeRa_[static_cast<std::size_t>(k)],
          nodeDec_[static_cast<std::size_t>(k)], r);
  }
}

bool tsternbedeckung::MoonMayReach(double ra, double dec) const {
  // The coarse conjunction of EvaluateStar brackets the right ascension in
  // the same way; the Moon's right ascension rises over the interval.
  const std::optional<double> target = StarRightAscensionWithin(a0_, a1_, ra);
  if (!target) return false;
  const auto first = nodeRa_.begin();
  const auto last = first + kMoonNodes + 1;
  const auto above = std::upper_bound(first, last, *target);
  const std::size_t k1 = std::min<std::size_t>(static_cast<std::size_t>(std::max<std::ptrdiff_t>(above - first, 1)),
                                               static_cast<std::size_t>(kMoonNodes));
  const double d0 = nodeDec_[k1 - 1] - dec, d1 = nodeDec_[k1] - dec;
  // Within a node step (six hours) the declination runs nearly straight:
  // when both ends lie beyond kDeclinationReach on one side, the Moon's
  // centre passes more than 1.5 Earth radii from the star even at its
  // least distance (55.7 Earth radii: 1.54 degrees).
  return !(d0 * d1 > 0 && std::min(std::fabs(d0), std::fabs(d1)) > kDeclinationReach);
}

void tsternbedeckung::EvaluateStar(const TSearchContext& context, std::int32_t index, double raEpoch, double decEpoch,
                                   double raDate, double decDate) {
  const tsterndatensatz& star = catalogue_->Star(index);
  LastStarName = star.Name;
  TConjunction c = FindStarConjunctionInRA(moon_, t0_, t1_, a0_, a1_, raDate, decDate, 0.01);
  if (!c.Found) return;
  const bool oldPrecession = Options.OldPrecession != 0;
  const TStarReduction refined =
      StarReductionAt(c.T, oldPrecession, oldPrecession ? TStarAberration::Equatorial1 : TStarAberration::Equatorial2);
  double ra = 0, dec = 0;
  StarToDate(refined, raEpoch, decEpoch, ra, dec);
  c = FindStarConjunctionInRA(moon_, t0_, t1_, a0_, a1_, ra, dec, 0.0001);
  if (!c.Found) return;

  const double deltaT = Start.AutoDeltaT != 0 ? DeltaT(JdFromJulianCenturies(c.T)) : Start.DeltaTSeconds;
  const TOccultationFrame frame = OccultationFrameAt(c.T, deltaT, context.Sidereal, Start.Longitude, rhoCos_, rhoSin_);
  const TContactPair pair = OccultationContacts(moon_, frame, TPointSource{ra, dec}, TContactScanSettings{});
  if (!pair.Found) return;
  const TContactCircumstances& c1 = pair.Contact[0];
  const TContactCircumstances& c2 = pair.Contact[1];
  if (!(c1.Altitude > kMinimumStarAltitude || c2.Altitude > kMinimumStarAltitude)) return;
  const bool preciseSun = Options.PreciseSun != 0;
  const double sun1 = OccultationSunAltitude(context, preciseSun, c1.Mjd, rhoCos_, rhoSin_, Start.Longitude);
  const double sun2 = OccultationSunAltitude(context, preciseSun, c2.Mjd, rhoCos_, rhoSin_, Start.Longitude);
  const bool dark1 = SinD(sun1) < sinH0_;
  const bool dark2 = SinD(sun2) < sinH0_;
  if (!(dark1 || dark2)) return;
  if (CenturiesOfMjd(c1.Mjd) > endT_ || CenturiesOfMjd(c2.Mjd) < startT_) return;

  auto row = std::make_unique<tergebnisdatensatz>();
  SetContactPair(*row, c1, c2);
  SetContactAltitudes(*row, Start, c1.Altitude, c2.Altitude, sun1, sun2);
  row->Magnitude = star.Magnitude100;
  row->ExtraValue = 0;
  row->EventFlag = 1;
  row->ObjectName = star.Name;
  row->RightAscension = ra;
  row->Declination = dec;
  ergebnisse.Add(std::move(row));
}

}  // namespace kvx
