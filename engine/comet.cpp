#include "engine/comet.h"

#include <cmath>
#include <limits>

#include "core/element_records.h"
#include "core/physical_ephemeris.h"
#include "core/time_scales.h"
#include "core/two_body.h"
#include "core/vector_math.h"
#include "engine/orbit_integration.h"

namespace kvx {

namespace {

// ParabolicOrbitPosition's mark for "no solution".
constexpr double kNoSolution = 1e-8;

double Centuries(double jd) { return (jd - 2451545.0) / 36525.0; }

}  // namespace

TCometOrbitPlace CometOrbitPlace(double q, double e, double perihelionJd, double jd) {
  TCometOrbitPlace p;
  const double a = e == 1.0 ? q : std::fabs(q / (1.0 - e));
  p.SemiMajorAxis = a;
  p.MeanMotion = kGaussDegreesPerDay / (a * std::sqrt(a));
  const double anomaly = (jd - perihelionJd) * p.MeanMotion;
  p.MeanAnomaly = Mod360(anomaly);
  const double t = Centuries(jd), t0 = Centuries(perihelionJd);

  const double fromPerihelion = e >= 1.0 ? std::fabs(anomaly) : std::fabs(AngleToPlusMinus180(p.MeanAnomaly));
  if (fromPerihelion < kNearParabolicDegrees && std::fabs(1.0 - e) < kNearParabolicEccentricity) {
    ParabolicOrbitPosition(p.X, p.Y, p.VX, p.VY, t, t0, q, e);
    const bool noSolution = p.X == kNoSolution && p.Y == kNoSolution && p.VX == kNoSolution && p.VY == kNoSolution;
    if (!noSolution) {
      p.Routine = CometOrbitRoutine::NearParabolic;
      return p;
    }
  }
  if (e < 1.0) {
    EllipticOrbitPosition(p.X, p.Y, p.VX, p.VY, p.MeanAnomaly, a, e);
    p.Routine = CometOrbitRoutine::Elliptic;
  } else if (e > 1.0) {
    HyperbolicOrbitPosition(p.X, p.Y, p.VX, p.VY, t, t0, a, e);
    p.Routine = CometOrbitRoutine::Hyperbolic;
  } else {
    ParabolicOrbitPosition(p.X, p.Y, p.VX, p.VY, t, t0, q, e);
    p.Routine = CometOrbitRoutine::Parabolic;
  }
  return p;
}

double CometMagnitude(double H, double G, double delta, double r) {
  if (!(delta > 0) || !(r > 0)) return std::numeric_limits<double>::quiet_NaN();
  return H + 5.0 * Log10(delta) + 2.5 * G * Log10(r);
}

void SetCometElements(TKepler& body, const TCometElements& e) {
  body.SemiMajorAxis = 0;
  body.Eccentricity = e.Eccentricity;
  body.Inclination = e.Inclination;
  body.Node = e.Node;
  body.Perihelion = e.Perihelion;
  body.Epoch = e.PerihelionTime;
  body.SecondEpoch = e.Epoch;
  body.MeanAnomaly = 0;
  body.MeanMotion = 0;
  body.H = e.H;
  body.G = e.G;
  body.PerihelionDistance = e.PerihelionDistance;
  body.Equinox = e.Equinox;
  body.Name = ElementRecordName(e.Name);
}

TCometElements CometElementsOf(const TKepler& body) {
  TCometElements e;
  e.PerihelionDistance = body.PerihelionDistance;
  e.Eccentricity = body.Eccentricity;
  e.Inclination = body.Inclination;
  e.Node = body.Node;
  e.Perihelion = body.Perihelion;
  e.Equinox = body.Equinox;
  e.PerihelionTime = body.Epoch;
  e.H = body.H;
  e.G = body.G;
  e.Epoch = body.SecondEpoch;
  e.Name = body.Name;
  return e;
}

bool CometElementsUsable(const TKepler& b, std::string* german, std::string* english) {
  bool finite = true;
  for (double v : {b.PerihelionDistance, b.Eccentricity, b.Inclination, b.Node, b.Perihelion, b.Equinox, b.Epoch, b.H,
                   b.G, b.SecondEpoch}) {
    finite = finite && std::isfinite(v);
  }
  std::string de, en;
  if (!finite) {
    de = "enthalten einen Wert, der keine Zahl ist";
    en = "contain a value that is not a number";
  } else if (!(b.PerihelionDistance > 0)) {
    de = "haben eine Periheldistanz q <= 0";
    en = "have a perihelion distance q <= 0";
  } else if (!(b.Eccentricity >= 0)) {
    de = "haben eine Exzentrizität e < 0";
    en = "have an eccentricity e < 0";
  } else {
    return true;
  }
  if (german != nullptr) *german = "Die Bahnelemente von " + b.Name + " " + de + ". Es wird nichts berechnet.";
  if (english != nullptr) *english = "The orbital elements of " + b.Name + " " + en + ". Nothing is computed.";
  return false;
}

namespace {

// The orbit step shared by both classes; returns M'.
double CometStep(TKepler& body, double mjdTT, CometOrbitRoutine& routine) {
  const TCometOrbitPlace p = CometOrbitPlace(body.PerihelionDistance, body.Eccentricity, body.Epoch, MjdToJd(mjdTT));
  body.SemiMajorAxis = p.SemiMajorAxis;
  body.MeanMotion = p.MeanMotion;
  routine = p.Routine;
  body.heliozentrisch(p.X, p.Y, p.VX, p.VY);
  return p.MeanAnomaly;
}

void CometPhysical(TKepler& body) {
  AsteroidMagnitudeHG(kBodyIndexComet, body.Observer, body.Result.Position, 1.0, 0.0, body.Result.Physical);
  body.Result.Physical.magnitude =
      CometMagnitude(body.H, body.G, body.Result.Position.GeoDistance, body.Result.Position.HelioDistance);
}

}  // namespace

// --- TKomet -------------------------------------------------------------------

TKomet::TKomet(const TBodySettings& body, TTheorySelection selection, std::int32_t creatorWord,
               const TTableConfigRecord& config, const TCometElements& elements, const TObserverRecord& observer,
               const TAccuracySettings& accuracy)
    : TKepler(body, creatorWord, config, TAsteroidElements{}, observer, accuracy) {
  Stopped = 0;
  ProgressCaption.assign(1, ' ');
  BodyIndex = kBodyIndexComet;
  SetCometElements(*this, elements);
  TheorySelection = selection;
}

void TKomet::initialisieren(const TBodySettings& body, TTheorySelection selection, const TTableConfigRecord& config,
                            const TCometElements& elements, const TObserverRecord& observer,
                            const TAccuracySettings& accuracy) {
  TakeRecords(body, config, observer, accuracy);
  Stopped = 0;
  ProgressCaption.assign(1, ' ');
  BodyIndex = kBodyIndexComet;
  FullComputation = 1;
  refusalShown_ = false;
  SetCometElements(*this, elements);
  TheorySelection = selection;
}

void TKomet::Bahn2heliozentrisch(TComputeSettingsBlock /*settings*/, double mjdTT) {
  CometStep(*this, mjdTT, LastRoutine);
}

void TKomet::physischeEphemeride() { CometPhysical(*this); }

bool TKomet::ElementsUsable(std::string* german, std::string* english) const {
  return CometElementsUsable(*this, german, english);
}

// --- TKometeph ----------------------------------------------------------------

TKometeph::TKometeph(const TTableRequest& request, TSheet* outputSheet, const TCometElements& elements)
    : TKeplereph(request, outputSheet) {
  ProgressCaption.clear();
  BodyIndex = kBodyIndexComet;
  SetCometElements(*this, elements);
}

void TKometeph::initialisieren(const TTableRequest& request, const TCometElements& elements) {
  TKeplereph::initialisieren(request, TAsteroidElements{});
  BodyIndex = kBodyIndexComet;
  ProgressCaption = request.Language != 0 ? "Calculating ephemeris of the Comet" : "Berechne Ephemeride des Kometen";
  SetCometElements(*this, elements);
}

void TKometeph::Bahn2heliozentrisch(TComputeSettingsBlock /*settings*/, double mjdTT) {
  Result.MeanAnomaly = CometStep(*this, mjdTT, LastRoutine);
}

void TKometeph::physischeEphemeride() { CometPhysical(*this); }

void TKometeph::RunOrbitIntegration(TComputeSettingsBlock settings, std::uint8_t siderealFlag, std::uint8_t show,
                                    long double span, std::uint8_t nameFlag) {
  IntegrateCometOrbitNumerically(settings, siderealFlag, TheorySelection, *this, Accuracy, show, span, nameFlag);
}

bool TKometeph::ElementsUsable(std::string* german, std::string* english) const {
  return CometElementsUsable(*this, german, english);
}

}  // namespace kvx
