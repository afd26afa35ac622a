#include "eclipses/planet_occultation.h"

#include <algorithm>
#include <cmath>

#include "core/apparent_place_fit.h"
#include "core/frames.h"
#include "core/name_tables.h"
#include "core/time_scales.h"
#include "eclipses/besselian.h"
#include "engine/planet.h"
#include "platform/globals.h"
#include "platform/progress.h"
#include "theories/apparent_sun_moon.h"
#include "theories/observer_completion.h"
#include "theories/planet_positions.h"

namespace kvx {

namespace {

constexpr double kPlanetInterval = 0.0002737850787;  // 10 days, centuries
constexpr double kFitMargin = 3.42e-6;
constexpr int kMoonFitOrder = 13;
constexpr double kReferenceStep = 6.844626967830253e-05;  // 2.5 days, centuries

double CenturiesOfMjd(double mjd) { return JulianCenturiesJ2000(MjdToJd(mjd)); }

}  // namespace

tplanetbedeckung::tplanetbedeckung(const TSearchContext& context, const TTableConfigRecord& config,
                                   const TObserverRecord& start)
    : Start(start), context_(context), config_(config) {
  planet_ = std::make_unique<tplaShort>(context_.Body, context_.Selection, 6, 1, config_, start,
                                        TAccuracySettings{1e-10L, context_.VsopLevelA, 10});
}

tplanetbedeckung::~tplanetbedeckung() = default;

int tplanetbedeckung::PlanetCount(const TTheorySelection& selection, double startT, double endT) {
  return DateInTheoryRange(selection, startT) && DateInTheoryRange(selection, endT) ? 9 : 8;
}

void tplanetbedeckung::SetPlanet(std::int32_t planet) {
  planetNumber_ = planet;
  planetName_ = planet >= 1 && planet <= 9 ? PlanetNames[static_cast<std::size_t>(planet - 1)] : std::string();
}

void tplanetbedeckung::PlanetPlaceAt(double T, double& ra, double& dec) {
  const TObserverRecord r = ObserverAtTT(Start, T, deltaT_, context_);
  planet_->initialisieren(context_.Body, context_.Selection, planetNumber_, config_, r, 1e-10L);
  // The observer's own view of the planet: the contact geometry treats the
  // occulted object as infinitely far, which holds for the topocentric
  // direction (Venus's parallax reaches half an arc minute).
  planet_->Topocentric = 1;
  planet_->rechnen(context_.Settings);
  ra = planet_->Result.TopoRightAscension;
  dec = planet_->Result.TopoDeclination;
}

TOccultationRunStatus tplanetbedeckung::rechnen(const TObserverRecord& end, const TObserverRecord& start,
                                                const std::function<void(const char*, const char*)>& panel) {
  ergebnisse.Clear();
  Aborted = 0;
  AbortRequested = 0;
  Start = start;
  deltaT_ = start.DeltaTSeconds;
  startT_ = CenturiesOfMjd(start.Mjd);
  endT_ = CenturiesOfMjd(end.Mjd);
  ObserverGeocentricRho(rhoCos_, rhoSin_, start.Latitude);
  const int n = PlanetCount(context_.Selection, startT_, endT_);
  double count = (std::trunc((endT_ - startT_) * 36525.0 * 0.1) - 1.0) * n;
  if (!(count > 0)) count = 1;
  const double step = 100.0 / count;

  ProgressSession session(CurrentProgress(), ByLanguage("Planetenbedeckungen", "Occultations"), 100);
  ProgressReporter& progress = session.Reporter();
  TChebyshevPolyB raPoly, decPoly, rPoly;
  moon_ = FittedMoonPlace<TChebyshevPolyB, ChebyshevEvaluateB>(raPoly, decPoly, rPoly);
  long counter = 1;
  StepIntervals(startT_, endT_, kPlanetInterval, t0_, t1_, [&] {
    if (panel) panel("Berechne Mondpositionen", "Calulating Moon ephemeris");
    const bool fitted =
        ChebyshevFitMoonC(context_.MoonOption, context_.Settings, MoonSelectionOf(context_), t0_ - kFitMargin,
                          t1_ + kFitMargin, kMoonFitOrder, raPoly, decPoly, rPoly, context_.VsopLevelA);
    if (panel) panel(nullptr, nullptr);
    if (!fitted) return false;
    const double m = 0.5 * (t0_ + t1_);
    const double d = kReferenceStep;
    for (std::int32_t p = 1; p <= n; ++p) {
      if (p == 3) continue;
      SetPlanet(p);
      ++counter;
      progress.ProcessEvents();
      if (counter % 5 == 0) {
        const double position = static_cast<double>(counter) * step;
        if (position >= 0 && position <= 100) progress.Step(static_cast<int>(position));
      }
      bool found = false;
      if (p < 4) found = EvaluatePlanet(m - 2 * d);
      if (!found && p < 7) found = EvaluatePlanet(m - d);
      if (!found && (p < 4 || p > 6)) found = EvaluatePlanet(m);
      if (!found && p < 7) found = EvaluatePlanet(m + d);
      if (!found && p < 4) EvaluatePlanet(m + 2 * d);
      if (AbortRequested != 0) return false;
    }
    return true;
  });
  return EndOccultationRun(Aborted);
}

bool tplanetbedeckung::EvaluatePlanet(double referenceT) {
  double ra = 0, dec = 0;
  PlanetPlaceAt(referenceT, ra, dec);
  TConjunction c = FindPlanetConjunctionInRA(moon_, t0_, t1_, ra, dec, 0.01);
  if (!c.Found) return false;
  PlanetPlaceAt(c.T, ra, dec);
  c = FindPlanetConjunctionInRA(moon_, t0_, t1_, ra, dec, 0.0001);
  if (c.Found) {
    PlanetPlaceAt(c.T, ra, dec);
    c = FindPlanetConjunctionInRA(moon_, t0_, t1_, ra, dec, 0.0001);
  }
  if (!c.Found) return false;
  PlanetPlaceAt(c.T, ra, dec);
  const double conjunctionRa = ra, conjunctionDec = dec;

  const double deltaT = Start.AutoDeltaT != 0 ? DeltaT(JdFromJulianCenturies(c.T)) : Start.DeltaTSeconds;
  deltaT_ = deltaT;
  const TOccultationFrame frame = OccultationFrameAt(c.T, deltaT, context_.Sidereal, Start.Longitude, rhoCos_, rhoSin_);
  const TSourceMotion motion = [this, &frame](double hours, TPointSource& source) {
    PlanetPlaceAt(frame.T + hours * kHourCenturies, source.Ra, source.Dec);
  };
  const TContactPair pair = OccultationContacts(moon_, frame, TPointSource{ra, dec}, TContactScanSettings{}, motion);
  deltaT_ = Start.DeltaTSeconds;
  if (!pair.Found) return false;
  const TContactCircumstances& c1 = pair.Contact[0];
  const TContactCircumstances& c2 = pair.Contact[1];
  const double sun1 = OccultationSunAltitude(context_, PreciseSun != 0, c1.Mjd, rhoCos_, rhoSin_, Start.Longitude);
  const double sun2 = OccultationSunAltitude(context_, PreciseSun != 0, c2.Mjd, rhoCos_, rhoSin_, Start.Longitude);
  if (CenturiesOfMjd(c1.Mjd) > endT_ || CenturiesOfMjd(c2.Mjd) < startT_) return false;
  auto row = std::make_unique<tergebnisdatensatz>();
  SetContactPair(*row, c1, c2);
  SetContactAltitudes(*row, Start, c1.Altitude, c2.Altitude, sun1, sun2);
  row->Magnitude = 0.0;
  row->EventFlag = 1;
  row->ObjectName = planetName_;
  row->RightAscension = conjunctionRa;
  row->Declination = conjunctionDec;
  ergebnisse.Add(std::move(row));
  return true;
}

}  // namespace kvx
