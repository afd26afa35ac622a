#include "eclipses/solar_eclipse.h"

#include <algorithm>
#include <cmath>

#include "core/input_checks.h"
#include "core/tabulated_constants.h"
#include "core/time_scales.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/progress.h"
#include "theories/apparent_sun_moon.h"

namespace kvx {

namespace {

constexpr double kDayCenturies = 2.7378507871321012e-05;
// The astronomical unit in Earth radii, as the axis geometry takes it.
constexpr double kAuEarthRadii = 23454.78;

double Frac(double x) {
  double f = x - std::trunc(x);
  if (f < 0) f += 1.0;
  return f;
}

double MjdOf(double T) { return 36525.0 * T + 51544.5; }

bool Cancelled() { return AbortRequested.load() != 0; }

void RefuseDate() { ShowMessage("Ungültiges Datum für die Suche.", "Invalid date for search.", MessageIcon::Error); }

bool SearchDateUsable(double mjd) { return std::isfinite(mjd) && MjdInDateRange(mjd) && mjd <= kSearchMjdLimit; }

}  // namespace

bool CheckEclipseSearchSettings(std::int32_t stepMinutes, std::int32_t spanHours) {
  if (stepMinutes < 1 || stepMinutes > kEclipseStepMinutesMax) {
    ShowMessage("Intervall für Sonnenfinsternisse muß>0 min und <=30 min sein!",
                "Interval for solar eclipses must be >0 min and <=30!", MessageIcon::Error);
    return false;
  }
  if (spanHours < 1 || spanHours > kEclipseSpanHoursMax) {
    ShowMessage("Suchzeitraum für Sonnenfinsternisse muß>0 h und <=12 h sein!",
                "Search interval for solar eclipses must be>0 h and <=12 h!", MessageIcon::Error);
    return false;
  }
  return true;
}

std::string tSonnenfinsternis::get_phase_buffer(std::uint8_t kind) {
  static const char* const kGerman[6] = {
      "    ----", " partiell", " ringförmig (nicht zentral)", " total (nicht zentral)", " ringförmig", " total"};
  static const char* const kEnglish[6] = {"    ----", " partial", " annular (not central)", " total (not cental)",
                                          " annular", " total"};
  if (kind > 5) return {};
  return LanguageEnglish != 0 ? kEnglish[kind] : kGerman[kind];
}

void ImproveNewMoon(double& T, double& beta) {
  const double l = kTwoPiAsTabulated * Frac(0.374897 + 1325.55241 * T);
  const double ls = kTwoPiAsTabulated * Frac(0.993133 + 99.997361 * T);
  const double D = kTwoPiAsTabulated * (Frac(1.327361 + 1236.853086 * T) - 0.5);
  const double F = kTwoPiAsTabulated * Frac(0.259086 + 1342.227825 * T);
  const double dL = 22640 * std::sin(l) - 4586 * std::sin(l - 2 * D) + 2370 * std::sin(2 * D) + 769 * std::sin(2 * l) -
                    668 * std::sin(ls) - 412 * std::sin(2 * F) - 212 * std::sin(2 * l - 2 * D) -
                    206 * std::sin(l + ls - 2 * D) + 192 * std::sin(l + 2 * D) - 165 * std::sin(ls - 2 * D) -
                    125 * std::sin(D) - 110 * std::sin(l + ls) + 148 * std::sin(l - ls) - 55 * std::sin(2 * F - 2 * D);
  const double dLambda =
      (dL - (6893 * std::sin(ls) + 72 * std::sin(2 * ls))) * 7.716049382716049e-07 + D * 0.15915494309644432;
  beta = (18520 * std::sin(F + dL * 4.848136812202333e-06) - 526 * std::sin(F - 2 * D)) / 3600.0;
  T -= 0.0008085034603697468 * dLambda;
}

TBesselFitter MoonBesselFitter(const TSearchContext& context) {
  return [context](double Ta, double Tb, TBesselFits& f) {
    return ChebyshevFitMoon(context.MoonOption, context.Settings, context.Selection, Ta, Tb, 8, f.BodyRa, f.BodyDec,
                            f.BodyR, context.VsopLevelA) &&
           ChebyshevFitSun(context.MoonOption, context.Settings, context.Selection, Ta, Tb, 8, f.SunRa, f.SunDec,
                           f.SunR, context.VsopLevelA);
  };
}

// --- shadow axis ---------------------------------------------------------------------------------

TShadowAxis tSonnenfinsternis::schattenachse(double moonRa, double moonDec, double moonR, double sunRa, double sunDec,
                                             double sunR) const {
  // The Moon's shadow: umbra 217.705 x / D - 0.545, penumbra 218.795 x / D
  // + 0.545 Earth radii (the Sun's and the Moon's diameters).
  constexpr TShadowCones kMoonShadow{217.705, 0.545, 218.795, 0.545};
  double m[3], s[3];
  EquatorialToRectangular(moonRa, moonDec, moonR, kEarthFlatteningScale, m);
  EquatorialToRectangular(sunRa, sunDec, sunR * kAuEarthRadii, kEarthFlatteningScale, s);
  return ShadowAxisAtEarth(m, s, kMoonShadow);
}

void tSonnenfinsternis::finsternisphase(std::uint8_t sternzeitFlag, const TBesselFits& fits, double T, double deltaT,
                                        std::uint8_t& art, double& laenge, double& breite, double& dauer) const {
  const auto axisAt = [&](double tt, TShadowAxis& axis) {
    axis = schattenachse(ChebyshevEvaluate(fits.BodyRa, tt), ChebyshevEvaluate(fits.BodyDec, tt),
                         ChebyshevEvaluate(fits.BodyR, tt), ChebyshevEvaluate(fits.SunRa, tt),
                         ChebyshevEvaluate(fits.SunDec, tt), ChebyshevEvaluate(fits.SunR, tt));
    return true;
  };
  CentralLinePoint(axisAt, sternzeitFlag, T, deltaT, art, laenge, breite, dauer);
}

// --- the search ------------------------------------------------------------------------------------

double tSonnenfinsternis::rechnen(const TSearchContext& context, std::uint8_t lokalListe, std::uint8_t& maxArt,
                                  std::int32_t spanHours, std::int32_t stepMinutes, const TObserverRecord& observer,
                                  TEventStep eventStep) {
  Observer = observer;
  ergebnisse.clear();
  list.clear();
  Local = TLocalEclipseCircumstances{};
  Status = TEclipseSearchStatus::Refused;
  if (!CheckEclipseSearchSettings(stepMinutes, spanHours)) return 0;
  if (!SearchDateUsable(observer.Mjd) || !std::isfinite(observer.DeltaTSeconds)) {
    RefuseDate();
    return 0;
  }
  const double startT = (observer.Mjd - 51544.5) / 36525.0;
  double k = std::trunc(1236.853086 * startT);
  const double window = spanHours / 24.0 * kDayCenturies;
  const double step = stepMinutes / 1440.0 / 36525.0;
  ProgressReporter& progress = CurrentProgress();
  int emptyCandidates = 0;
  for (;;) {
    if (Cancelled()) {
      Status = TEclipseSearchStatus::Cancelled;
      return 0;
    }
    progress.ProcessEvents();
    double T = 0, beta = 0;
    do {
      T = (k - 0.827361) * 0.0008085034603697468;
      ImproveNewMoon(T, beta);
      ImproveNewMoon(T, beta);
      k += 1;
      if (T < startT) beta = 2;
    } while (std::fabs(beta) >= 1.6);
    if (!SearchDateUsable(MjdOf(T))) {
      RefuseDate();
      return T;
    }
    if (Observer.AutoDeltaT != 0) Observer.DeltaTSeconds = DeltaT(JdFromJulianCenturies(T));
    const double deltaT = Observer.DeltaTSeconds;
    const double ttShift = deltaT * kSecondCenturies;
    const double Ta = T - window;
    const double Tb = T + window;
    TBesselFits fits;
    const bool fitted =
        ChebyshevFitMoon(context.MoonOption, context.Settings, context.Selection, Ta + ttShift - 1.14e-6,
                         Tb + ttShift + 1.14e-6, 8, fits.BodyRa, fits.BodyDec, fits.BodyR, context.VsopLevelA) &&
        ChebyshevFitSun(context.MoonOption, context.Settings, context.Selection, Ta + ttShift - 1.14e-6,
                        Tb + ttShift + 1.14e-6, 3, fits.SunRa, fits.SunDec, fits.SunR, context.VsopLevelA);
    double firstMjd = 0;
    if (fitted) {
      const long steps = static_cast<long>(std::floor((Tb - Ta) / step + 1e-9));
      for (long n = 0; n <= steps; ++n) {
        if (Cancelled()) {
          ergebnisse.clear();
          Status = TEclipseSearchStatus::Cancelled;
          return T;
        }
        const double t = Ta + static_cast<double>(n) * step;
        tfinsternisergebnis r;
        finsternisphase(context.Sidereal, fits, t, deltaT, r.art, r.laenge, r.breite, r.dauer);
        if (r.art == 0) continue;
        r.Observer = Observer;
        r.mjd = MjdOf(t);
        if (ergebnisse.empty()) firstMjd = r.mjd;
        if (r.art > maxArt) maxArt = r.art;
        ergebnisse.push_back(r);
      }
    }
    if (ergebnisse.empty()) {
      if (++emptyCandidates >= kEclipseCandidateLimit) {
        Status = TEclipseSearchStatus::NoEclipse;
        return T;
      }
      continue;
    }
    LocalEclipseCircumstances(MoonBesselFitter(context), TOccultingBody{}, lokalListe != 0, Observer, context.Sidereal,
                              eventStep, firstMjd, Local, list);
    Status = TEclipseSearchStatus::Found;
    return T;
  }
}

bool tSonnenfinsternis::CalendarRows(const TSearchContext& context, TEventStep eventStep, const TObserverRecord& start,
                                     const TObserverRecord& end, std::int32_t stepMinutes, std::int32_t spanHours,
                                     std::uint8_t criterion, std::vector<TSolarCalendarRow>& rows) {
  rows.clear();
  if (!CheckEclipseSearchSettings(stepMinutes, spanHours)) return false;
  TObserverRecord work = start;
  const double span = end.Mjd - start.Mjd;
  ProgressReporter& progress = CurrentProgress();
  while (work.Mjd <= end.Mjd) {
    std::uint8_t maxArt = 0;
    const double T = rechnen(context, 0, maxArt, spanHours, stepMinutes, work, eventStep);
    if (Status == TEclipseSearchStatus::Cancelled) return true;  // the rows found until then
    if (Status == TEclipseSearchStatus::Refused) {
      rows.clear();
      return false;
    }
    if (Status != TEclipseSearchStatus::Found) break;
    // Only eclipses whose new moon lies within the period.
    if (MjdOf(T) > end.Mjd) break;
    if (Local.Kind >= criterion) {
      if (static_cast<int>(rows.size()) + 1 >= kEclipseCalendarRowLimit) {
        ShowRowLimitReached();
        break;
      }
      rows.push_back({T, maxArt, Local});
    }
    const double next = T + 0.0003832991101984942;
    work.Mjd = MjdOf(next);
    UTToLocalTime(work);
    work.Centuries = next + work.DeltaTSeconds * kSecondCenturies;
    if (span > 0) progress.Step(static_cast<int>(std::min(1.0, (work.Mjd - start.Mjd) / span) * 1000.0));
  }
  return true;
}

}  // namespace kvx
