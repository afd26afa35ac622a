#include "eclipses/transit.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "core/frames.h"
#include "core/input_checks.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "engine/planet.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/progress.h"
#include "theories/apparent_sun_moon.h"
#include "theories/observer_completion.h"

namespace kvx {

namespace {

constexpr double kDayCenturies = 2.7378507871321012e-05;
// The Earth's equatorial radius in AU and the AU in Earth radii.
constexpr double kEarthRadiusAu = 4.263523270752451e-05;
constexpr double kAuEarthRadii = 23454.779920164812;
// The Sun's diameter in Earth radii for the shadow-axis test; its radius for
// the contacts.
constexpr double kSunDiameter = 218.25;
constexpr long double kSunRadius = 109.1227L;
// A candidate conjunction: the planet within this ecliptic latitude, degrees.
constexpr double kCandidateLatitude = 1.5;
// The annual aberration of the Sun's longitude at 1 AU, degrees.
constexpr double kSunAberration = 0.0056916;
// The least separation lies this close to the conjunction in longitude, hours.
constexpr double kLeastSeparationHours = 3.0;
// The position files begin here (JD).
constexpr double kPositionFilesFirstJd = 2415020.0;

double MjdOf(double T) { return 36525.0 * T + 51544.5; }

bool Cancelled() { return AbortRequested.load() != 0; }

void RefuseDate() { ShowMessage("Ungültiges Datum für die Suche.", "Invalid date for search.", MessageIcon::Error); }

bool SearchDateUsable(double mjd) { return std::isfinite(mjd) && MjdInDateRange(mjd) && mjd <= kSearchMjdLimit; }

// The theory selection of one instant: the internal series under the
// fast-search switch; the position files only within their span.
TTheorySelection SelectionAt(const TSearchContext& context, double Ttt) {
  TTheorySelection selection = context.Selection;
  if (context.FastSearch != 0) {
    selection.bytes[0] = kPlanetTheoryInternal;
  } else if (selection.bytes[0] == kPlanetTheoryPositionFiles) {
    const double jd = JdFromJulianCenturies(Ttt);
    if (jd < kPositionFilesFirstJd || jd > context.PositionFilesLastJd - 3) selection.bytes[0] = kPlanetTheoryVsop87C;
  }
  return selection;
}

}  // namespace

double ApparentSunLongitude(const TTransitPlanetPlace& place) {
  double deps = 0;
  const double dpsi = NutationDegrees(deps, place.Ttt);
  return place.SunGeometricLongitude + dpsi - kSunAberration / (place.SunDistance > 0 ? place.SunDistance : 1.0);
}

namespace {

// a - b brought into (-180, 180].
double Wrap180(double a) {
  a = std::fmod(a, 360.0);
  if (a > 180.0) a -= 360.0;
  if (a <= -180.0) a += 360.0;
  return a;
}

double ReduceOpen360(double a) {
  a = std::fmod(a, 360.0);
  if (a <= 0) a += 360.0;
  return a;
}

// Chebyshev fit of degree N of the planet's place over [Ta, Tb] (centuries
// of TT) at the N + 1 Chebyshev nodes, the right ascension made continuous
// by the nearest turn: the planet moves retrograde around an inferior
// conjunction, and the node spacing stays far below half a turn. False when
// a place is missing.
bool FitPlanet(const TSearchContext& context, std::int32_t planet, double Ta, double Tb, int N, TBesselFits& fits) {
  if (N < 0 || N > TChebyshevPoly::kMaxDegree) return false;
  const int K = N + 1;
  double ra[TChebyshevPoly::kMaxDegree + 1], dec[TChebyshevPoly::kMaxDegree + 1], r[TChebyshevPoly::kMaxDegree + 1];
  const double h = 0.5 * (Tb - Ta), m = 0.5 * (Tb + Ta);
  for (int k = 0; k < K; ++k) {
    TTransitPlanetPlace p;
    if (!PlanetPlaceAt(context, planet, m + h * std::cos(std::numbers::pi * (2 * k + 1) / (2.0 * K)), p)) return false;
    ra[k] = p.Ra;
    dec[k] = p.Dec;
    r[k] = p.Distance;
    if (k > 0) ra[k] = ra[k - 1] + Wrap180(ra[k] - ra[k - 1]);
  }
  for (TChebyshevPoly* poly : {&fits.BodyRa, &fits.BodyDec, &fits.BodyR}) {
    poly->N = N;
    poly->Ta = Ta;
    poly->Tb = Tb;
  }
  for (int j = 0; j <= N; ++j) {
    double a = 0, b = 0, c = 0;
    for (int k = 0; k < K; ++k) {
      const double w = std::cos(std::numbers::pi * j * (2 * k + 1) / (2.0 * K));
      a += ra[k] * w;
      b += dec[k] * w;
      c += r[k] * w;
    }
    const auto jj = static_cast<std::size_t>(j);
    fits.BodyRa.C[jj] = 2.0 / K * a;
    fits.BodyDec.C[jj] = 2.0 / K * b;
    fits.BodyR.C[jj] = 2.0 / K * c;
  }
  return true;
}

bool FitSun(const TSearchContext& context, double Ta, double Tb, int degree, TBesselFits& fits) {
  return ChebyshevFitSun(context.MoonOption, context.Settings, SelectionAt(context, 0.5 * (Ta + Tb)), Ta, Tb, degree,
                         fits.SunRa, fits.SunDec, fits.SunR, context.VsopLevelA);
}

}  // namespace

std::int32_t TransitPlanetIndex(std::int32_t planetWord) {
  return planetWord == kTransitVenus ? kTransitVenus : kTransitMercury;
}

const TTransitPlanet& TransitPlanetConstants(std::int32_t planet) {
  static const TTransitPlanet kMercury{0.8, 0.5, 6.0, 0.382399885L, 5.0};
  static const TTransitPlanet kVenus{0.4, 1.0, 10.0, 0.948709185L, 3.0};
  return planet == kTransitVenus ? kVenus : kMercury;
}

const char* TransitPlanetGermanName(std::int32_t planet) { return planet == kTransitVenus ? "Venus" : "Merkur"; }
const char* TransitPlanetEnglishName(std::int32_t planet) { return planet == kTransitVenus ? "Venus" : "Mercury"; }

bool PlanetPlaceAt(const TSearchContext& context, std::int32_t planet, double Ttt, TTransitPlanetPlace& out) {
  if (!std::isfinite(Ttt)) return false;
  // A record at Greenwich whose UT is the wanted TT and whose Delta T is 0:
  // the completion then takes its Centuries as the instant itself.
  TObserverRecord r;
  r.Zone = 0;
  r.ZoneMinutes = 0;
  r.DaylightHours = 0;
  r.AutoDeltaT = 0;
  r.DeltaTSeconds = 0;
  r.Mjd = MjdOf(Ttt);
  UTToLocalTime(r);
  const TTheorySelection selection = SelectionAt(context, Ttt);
  const TTableConfigRecord config;
  // No sidereal time is needed here: the mean one spares a nutation.
  CompleteObserverRecord(0, selection, config, context.VsopLevelA, r, context.Settings);
  // The completion rebuilds Mjd from the local date and hours; the planet
  // follows the completed record's Centuries, which differ from Ttt by
  // rounding only.
  tplaShort_lg body(context.Body, selection, 0, TransitPlanetIndex(planet), config, r, {1e-10L, 0, 0});
  body.Accuracy.VsopLevelA = context.VsopLevelA;
  body.rechnen(context.Settings);
  const TKeplerPosition& p = body.Result.Position;
  if (!std::isfinite(p.GeoDistance) || !(p.GeoDistance > 0) || !std::isfinite(p.RightAscension) ||
      !std::isfinite(p.Declination) || !std::isfinite(r.SunLongitude))
    return false;
  out.Distance = p.GeoDistance * kAuEarthRadii;
  out.Latitude = p.GeoLatitude;
  out.Longitude = p.GeoLongitude;
  out.Ra = p.RightAscension;
  out.Dec = p.Declination;
  out.SunGeometricLongitude = r.SunLongitude;
  out.SunDistance = r.SunDistance;
  out.Ttt = r.Centuries;
  return true;
}

bool TransitFits(const TSearchContext& context, std::int32_t planet, double Ta, double Tb, TBesselFits& fits) {
  return FitSun(context, Ta, Tb, 8, fits) && FitPlanet(context, planet, Ta, Tb, 8, fits);
}

// --- local circumstances ---------------------------------------------------------------------------

bool TransitLocalCircumstances(const TSearchContext& context, std::int32_t planet, const TTransitPlace& place,
                               double deltaTSeconds, double T0, TLocalEclipseCircumstances& out) {
  out = TLocalEclipseCircumstances{};
  for (double& c : out.Contact) c = T0;
  out.Maximum = T0;
  const double offset = deltaTSeconds * kSecondCenturies;
  if (!std::isfinite(T0) || !std::isfinite(offset)) return false;
  const double Ta = T0 + offset - 5e-5;
  const double Tb = T0 + offset + 5e-5;
  TBesselFits fits;
  if (!TransitFits(context, planet, Ta, Tb, fits)) return false;
  TOccultingBody body;
  body.Radius = TransitPlanetConstants(planet).Radius;
  body.SunRadius = kSunRadius;
  body.InnerContactWindow = 20.25 * kHourCenturies;
  body.ScanHalfSpanHours = 10.0;
  const TBesselCalculator calc(body, fits, deltaTSeconds);
  LocalContacts(calc, T0, place.RhoCos, place.RhoSin, place.Longitude, out);
  if (out.Kind == 0) return true;

  for (int n = 0; n < 4; ++n) {
    const bool outer = n == 0 || n == 3;
    if (!outer && out.Kind < 2) continue;
    const TShadowAtObserver s = calc.Shadow(out.Contact[n], place.RhoCos, place.RhoSin, place.Longitude);
    long double L = outer ? s.L1 : s.L2;
    if (L == 0) L = 1e-30L;
    const double dx = static_cast<double>((s.Elements.x - s.Observer.xi) / L);
    const double dy = static_cast<double>((s.Elements.y - s.Observer.eta) / L);
    const double P = ArcTan2Deg(dx, dy);
    const double q = ArcTan2Deg(static_cast<double>(s.Observer.xi), static_cast<double>(s.Observer.eta));
    out.PositionAngle[n] = ReduceOpen360(P);
    out.VertexAngle[n] = ReduceOpen360(P - q);
    double ra = 0, dec = 0;
    calc.SunPlace(out.Contact[n], ra, dec);
    const double lst = LocalSiderealTime(context.Sidereal, MjdOf(out.Contact[n]), place.Longitude);
    double H = 0, alt = 0, az = 0;
    EquatorialToHorizontal(place.Refraction, H, alt, lst, place.Latitude, ra, dec, place.Pressure, place.Temperature,
                           az);
    out.SunAltitude[n] = std::isfinite(alt) ? alt : 0.0;
  }
  return true;
}

// --- ttransit -------------------------------------------------------------------------------------

ttransit::ttransit(std::int32_t planet) : planet_(TransitPlanetIndex(planet)) {}

bool ttransit::planetenposition(const TSearchContext& context, double Ttt, TTransitPlanetPlace& place) const {
  return PlanetPlaceAt(context, planet_, Ttt, place);
}

bool ttransit::planetenposition_lg(const TSearchContext& context, double Ttt, TTransitPlanetPlace& place) const {
  return PlanetPlaceAt(context, planet_, Ttt, place);
}

TShadowAxis ttransit::intsect(double sunRa, double sunDec, double sunR, double planetRa, double planetDec,
                              double planetR) const {
  // The cones' diameters at a distance x from the planet along the axis,
  // from the Sun's diameter and the planet's.
  const double diameter = 2.0 * static_cast<double>(Constants().Radius);
  const TShadowCones cones{kSunDiameter - diameter, diameter, kSunDiameter + diameter, diameter};
  double p[3], s[3];
  EquatorialToRectangular(planetRa, planetDec, planetR, kEarthFlatteningScale, p);
  EquatorialToRectangular(sunRa, sunDec, sunR, kEarthFlatteningScale, s);
  return ShadowAxisAtEarth(p, s, cones);
}

void ttransit::central(const TSearchContext& context, const TBesselFits& sunFit, double T, double deltaT,
                       std::uint8_t& art, double& laenge, double& breite, double& dauer) const {
  const auto axisAt = [&](double tt, TShadowAxis& axis) {
    TTransitPlanetPlace p;
    if (!planetenposition(context, tt, p)) return false;
    axis = intsect(ChebyshevEvaluate(sunFit.SunRa, tt), ChebyshevEvaluate(sunFit.SunDec, tt),
                   ChebyshevEvaluate(sunFit.SunR, tt) * kAuEarthRadii, p.Ra, p.Dec, p.Distance);
    return true;
  };
  CentralLinePoint(axisAt, context.Sidereal, T, deltaT, art, laenge, breite, dauer);
}

double ttransit::LeastAxisDistanceTime(const TSearchContext& context, const TBesselFits& sunFit, double T,
                                       double deltaT) const {
  // The squared distance of the axis from the Earth's centre is nearly
  // quadratic in time: its vertex through three samples an hour apart.
  const double hour = kHourCenturies;
  double q[3] = {0, 0, 0};
  for (int i = 0; i < 3; ++i) {
    const double tt = T + (i - 1) * hour + deltaT * kSecondCenturies;
    TTransitPlanetPlace p;
    if (!planetenposition(context, tt, p)) return T;
    double P[3], S[3];
    EquatorialToRectangular(p.Ra, p.Dec, p.Distance, 1.0, P);
    EquatorialToRectangular(ChebyshevEvaluate(sunFit.SunRa, tt), ChebyshevEvaluate(sunFit.SunDec, tt),
                            ChebyshevEvaluate(sunFit.SunR, tt) * kAuEarthRadii, 1.0, S);
    const double d[3] = {P[0] - S[0], P[1] - S[1], P[2] - S[2]};
    const double D2 = d[0] * d[0] + d[1] * d[1] + d[2] * d[2];
    const double pd = P[0] * d[0] + P[1] * d[1] + P[2] * d[2];
    q[i] = P[0] * P[0] + P[1] * P[1] + P[2] * P[2] - pd * pd / D2;
  }
  const double curvature = q[0] - 2 * q[1] + q[2];
  if (!(curvature > 0)) return T;
  const double n = std::clamp(0.5 * (q[0] - q[2]) / curvature, -kLeastSeparationHours, kLeastSeparationHours);
  return T + n * hour;
}

TEclipseSearchStatus ttransit::FindNextConjunction(const TSearchContext& context, double Ttt, double limitTt,
                                                   double& Tc) const {
  const TTransitPlanet& c = Constants();
  ProgressReporter& progress = CurrentProgress();
  double T = Ttt;
  // The place at a step's end serves as the next step's start.
  TTransitPlanetPlace carried;
  bool haveCarried = false;
  for (;;) {
    if (Cancelled()) return TEclipseSearchStatus::Cancelled;
    if (T > limitTt) return TEclipseSearchStatus::NoEclipse;
    if (!SearchDateUsable(MjdOf(T))) {
      RefuseDate();
      return TEclipseSearchStatus::Refused;
    }
    TTransitPlanetPlace p0 = carried;
    if (!haveCarried && !planetenposition_lg(context, T, p0)) {
      RefuseDate();
      return TEclipseSearchStatus::Refused;
    }
    haveCarried = false;
    progress.ProcessEvents();
    const bool near = p0.Distance * kEarthRadiusAu < c.NearLimitAu;
    if (near && SkipFarFromConjunction) {
      // While the planet stands well away from the Sun in longitude no
      // conjunction can fall into the next near steps: they are passed
      // over whole, without a place.
      const double elongation = std::fabs(Wrap180(p0.Longitude - p0.SunGeometricLongitude));
      const double reach = c.MaxRelativeSpeed * c.NearStepDays;  // degrees per near step, at most
      const double skipped = std::floor(elongation / reach) - 1.0;
      if (skipped >= 1.0) {
        T += skipped * c.NearStepDays / 36525.0;
        continue;
      }
    }
    const double T1 = T + (near ? c.NearStepDays : c.FarStepDays) / 36525.0;
    if (near && std::fabs(p0.Latitude) < kCandidateLatitude) {
      TTransitPlanetPlace p1;
      if (!planetenposition_lg(context, T1, p1)) {
        RefuseDate();
        return TEclipseSearchStatus::Refused;
      }
      carried = p1;
      haveCarried = true;
      // Longitudes counted from the planet's first one, so that 0/360 does
      // not break the straight lines.
      const double a1 = Wrap180(p1.Longitude - p0.Longitude);
      const double b0 = Wrap180(ApparentSunLongitude(p0) - p0.Longitude);
      const double b1 = Wrap180(ApparentSunLongitude(p1) - p0.Longitude);
      if (std::fabs(b0) < 90.0) {
        const double t = LinearCrossingTime(T, T1, 0.0, a1, b0, b1);
        if (std::isfinite(t) && T < t && t < T1) {
          Tc = t;
          return TEclipseSearchStatus::Found;
        }
      }
    }
    T = T1;
  }
}

double ttransit::rechnen(const TSearchContext& context, std::uint8_t /*lokalListe*/, std::uint8_t& maxArt,
                         std::int32_t windowDays, std::int32_t stepMinutes, const TObserverRecord& observer,
                         TEventStep /*eventStep*/) {
  Observer = observer;
  ergebnisse.clear();
  list.clear();
  Local = TLocalEclipseCircumstances{};
  Status = TEclipseSearchStatus::Refused;
  if (!SearchDateUsable(observer.Mjd) || !std::isfinite(observer.DeltaTSeconds)) {
    RefuseDate();
    return 0;
  }
  if (stepMinutes < 1) stepMinutes = 120;
  windowDays = std::clamp(windowDays, 0, 10);
  const double startT = (observer.Mjd - 51544.5) / 36525.0;
  double T = startT + observer.DeltaTSeconds * kSecondCenturies;
  const double limit = SearchLimitTt > 0 ? SearchLimitTt : T + kTransitSearchYears / 100.0;
  const double progressStart = ProgressStartTt != 0 ? ProgressStartTt : startT;
  const double window = windowDays * kDayCenturies;
  const double step = stepMinutes / 1440.0 / 36525.0;
  ProgressReporter& progress = CurrentProgress();
  const bool english = LanguageEnglish != 0;
  for (;;) {
    double Tc = 0;
    Status = FindNextConjunction(context, T, limit, Tc);
    if (Status != TEclipseSearchStatus::Found) {
      if (Status == TEclipseSearchStatus::NoEclipse && SearchLimitTt <= 0) ShowNoEventFound();
      ergebnisse.clear();
      return T;
    }
    if (Observer.AutoDeltaT != 0) Observer.DeltaTSeconds = DeltaT(JdFromJulianCenturies(Tc));
    const double deltaT = Observer.DeltaTSeconds;
    const double ttShift = deltaT * kSecondCenturies;
    const double Tut = Tc - ttShift;
    {
      TObserverRecord at = Observer;
      at.AutoDeltaT = 0;
      at.Mjd = MjdOf(Tut);
      UTToLocalTime(at);
      std::string date;
      DateToText(at.Day, at.Month, at.Year, date, '.');
      progress.SetLabel(
          english ? std::string("Examine possible transit for ") + TransitPlanetEnglishName(planet_) + " at " + date
                  : std::string("Untersuche möglichen ") + TransitPlanetGermanName(planet_) + "durchgang am " + date);
      progress.Step(static_cast<int>(std::clamp((Tc - progressStart) / (limit - progressStart), 0.0, 1.0) * 1000.0));
    }
    TBesselFits sunFit;
    const double margin = kLeastSeparationHours * kHourCenturies;
    if (FitSun(context, Tut - window + ttShift - margin, Tut + window + ttShift + margin, 4, sunFit)) {
      const long steps = static_cast<long>(std::floor(2.0 * window / step + 1e-9));
      for (long n = 0; n <= steps; ++n) {
        if (Cancelled()) {
          ergebnisse.clear();
          Status = TEclipseSearchStatus::Cancelled;
          return Tut;
        }
        const double t = Tut - window + static_cast<double>(n) * step;
        tfinsternisergebnis r;
        central(context, sunFit, t, deltaT, r.art, r.laenge, r.breite, r.dauer);
        if (r.art == 0) continue;
        r.Observer = Observer;
        r.mjd = MjdOf(t);
        if (r.art > maxArt) maxArt = r.art;
        ergebnisse.push_back(r);
      }
      // A grazing transit can miss the Earth at the conjunction in
      // longitude and touch it at the least separation, up to an hour
      // away: that instant decides then.
      if (ergebnisse.empty()) {
        const double tMin = LeastAxisDistanceTime(context, sunFit, Tut, deltaT);
        tfinsternisergebnis r;
        central(context, sunFit, tMin, deltaT, r.art, r.laenge, r.breite, r.dauer);
        if (r.art != 0) {
          r.Observer = Observer;
          r.mjd = MjdOf(tMin);
          if (r.art > maxArt) maxArt = r.art;
          ergebnisse.push_back(r);
        }
      }
    }
    if (!ergebnisse.empty()) {
      if (Cancelled()) {
        ergebnisse.clear();
        Status = TEclipseSearchStatus::Cancelled;
        return Tut;
      }
      TTransitPlace place;
      ObserverGeocentricRho(place.RhoCos, place.RhoSin, Observer.Latitude);
      place.Longitude = Observer.Longitude;
      place.Latitude = Observer.Latitude;
      place.Refraction = Observer.RefractionOn != 0;
      place.Pressure = Observer.Pressure;
      place.Temperature = Observer.Temperature;
      TransitLocalCircumstances(context, planet_, place, deltaT, Tut, Local);
      Status = TEclipseSearchStatus::Found;
      return Tut;
    }
    // Not seen from the Earth: on past this conjunction.
    T = Tc + 0.5 * kDayCenturies;
  }
}

}  // namespace kvx
