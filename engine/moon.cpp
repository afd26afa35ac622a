#include "engine/moon.h"

#include <cmath>
#include <memory>

#include "core/column_flags.h"
#include "core/frames.h"
#include "core/moon_phases.h"
#include "core/moon_physical.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "engine/sun.h"
#include "theories/moon_cache.h"
#include "theories/moon_position.h"
#include "theories/rise_set.h"

namespace kvx {

tmooncheb* MoonPositionCache = nullptr;

const char* MoonName(std::uint8_t language) { return language != 0 ? "Moon" : "Mond"; }
const char* MoonTableCaption(std::uint8_t language) {
  return language != 0 ? "Calculating ephemeris of the Moon" : "Berechne Ephemeride des Mondes";
}

namespace {

namespace cf = column_flag;

// Light time of one Earth radius, days.
constexpr double kLightTimePerEarthRadius = kMoonDistanceUnitKm / 299792.458 / 86400.0;

// The Moon's geocentric ecliptic place of date into the result: polar place,
// the six further coordinates and the rectangular vector (geometric and
// astrometric alike).
void MoonPlace(TKepler& body, std::uint8_t cacheFlag, std::uint8_t option, TTruncationLevel level) {
  TEphemerisResultRecord& r = body.Result;
  TKeplerPosition& p = r.Position;
  auto& c = r.Moon.FurtherCoordinates;
  const double T = body.Observer.Centuries;
  double lambda = 0, beta = 0, distance = 0;
  if (cacheFlag != 0 && MoonPositionCache != nullptr) {
    MoonPositionCache->MoonChebPosition(option, body.TheorySelection, level, T, lambda, beta, distance, c[0], c[1],
                                        c[2], c[3], c[4], c[5]);
  } else {
    double distance2 = 0;
    MoonPosition(option, body.TheorySelection, lambda, T, beta, distance, c[0], c[1], c[2], c[3], c[4], c[5], distance2,
                 level);
  }
  p.GeoLongitude = Mod360(lambda);
  p.GeoLatitude = beta;
  p.GeoDistance = distance;
  PolarToCartesian(r.GeometricX, r.GeometricY, r.GeometricZ, distance, beta, p.GeoLongitude);
  r.GeometricDistance = distance;
  r.AstrometricX = r.GeometricX;
  r.AstrometricY = r.GeometricY;
  r.AstrometricZ = r.GeometricZ;
}

void ZeroHourlyMotion(TEphemerisResultRecord& r) {
  r.HourlyRightAscension = r.HourlyDeclination = r.HourlyTotal = r.HourlyDirection = 0;
}

// Moonrise, transit and moonset of level 1 (the Moon's own level).
void MoonRiseSet(TKepler& body, TComputeSettingsBlock settings, std::uint8_t cacheFlag, std::uint8_t option,
                 TTruncationLevel level) {
  const TObserverRecord& o = body.Observer;
  // The search samples the Moon many times a day: through the cache too.
  const ScopedRiseSetMoonCache cache(cacheFlag != 0 ? MoonPositionCache : nullptr);
  TRiseSetBlock& block = body.Result.RiseSet;
  constexpr int kLevel = TRiseSetBlock::kMoonLevel;
  const TRiseSetSettings& r = body.RiseSet;
  TRiseSetMoonSunDay day;
  RiseSetMoonSun(
      {option, r.MoonLimb, r.Precise, o.DeltaTSeconds, r.InternalMoon, r.Altitudes, body.Language, body.TheorySelection,
       level, kLevel, kLevel, kRiseSetMoonBodyCode, MjdToJd(o.Mjd), o.Latitude, -o.Longitude, ZoneOffsetHours(o)},
      settings, day);
  block.RiseAzimuth = day.RiseAzimuth;
  block.SetAzimuth = day.SetAzimuth;
  block.TransitTime = day.TransitTime;
  block.TransitAltitude = day.TransitAltitude;
  TRiseSetLevel& out = block.Levels[kLevel];
  out.Rise = day.RiseTimes[0];
  out.Set = day.SetTimes[0];
  out.Duration = day.Durations[0];
  out.RiseMarker = day.RiseMarkers[0] != nullptr ? day.RiseMarkers[0] : "";
  out.SetMarker = day.SetMarkers[0] != nullptr ? day.SetMarkers[0] : "";
  out.Status = day.StatusTexts[0] != nullptr ? day.StatusTexts[0] : "";
}

// The physical block: MoonPhysicalEphemeris, semi-diameters, horizontal
// parallax and the age.
void MoonPhysical(TKepler& body) {
  TEphemerisResultRecord& r = body.Result;
  const TKeplerPosition& p = r.Position;
  TMoonPositionBlock moon;
  moon.EclipticLongitude = p.GeoLongitude;
  moon.EclipticLatitude = p.GeoLatitude;
  moon.Distance = p.GeoDistance;
  moon.RightAscension = p.RightAscension;
  moon.Declination = p.Declination;
  moon.EquatorialDistance = r.EquatorialDistance;
  moon.TopocentricRightAscension = r.TopoRightAscension;
  moon.TopocentricDeclination = r.TopoDeclination;
  moon.TopocentricDistance = r.TopoDistance;
  TMoonPhysicalEphemeris e;
  MoonPhysicalEphemeris(kBodyIndexMoon, body.Observer, moon, e);

  TPhysicalBlock& b = r.Physical;
  b.elongation = e.elongation;
  b.sideAngle = e.longitudeDifference;
  b.phaseAngle = e.phaseAngle;
  b.illuminatedFraction = e.illuminatedFraction;
  b.brightLimbAngle = e.brightLimbAngle;
  b.axisAngle = e.axisAngle;
  b.subEarthLatC = e.librationLatitude;
  b.centralMeridian1 = e.librationLongitude;
  b.magnitude = e.magnitude;
  b.sideText = e.sideText;
  b.SunColongitude = e.sunColongitude;
  b.SunSelenographicLatitude = e.sunSelenographicLatitude;
  b.Semidiameter = kMoonSemidiameterFactor / r.EquatorialDistance;
  b.TopoSemidiameter = kMoonSemidiameterFactor / r.TopoDistance;
  b.HorizontalParallax = ArcSinDeg(1.0 / p.GeoDistance);

  TMoonExtraBlock& m = r.Moon;
  m.TopoElongation = e.topoElongation;
  m.TopoSideText = e.topoSideText;
  m.TopoSideAngle = e.topoLongitudeDifference;
  m.TopoPhaseAngle = e.topoPhaseAngle;
  m.TopoBrightLimbAngle = e.topoBrightLimbAngle;
  m.TopoIlluminatedFraction = e.topoIlluminatedFraction;
  m.TopoAxisAngle = e.topoAxisAngle;
  m.TopoCentreLatitude = e.topoLibrationLatitude;
  m.TopoCentralMeridian = e.topoLibrationLongitude;

  std::int32_t day = 0, month = 0, year = 0;
  double hours = 0;
  b.MoonAge = MoonAgeForDate(body.Observer, day, month, year, hours);
}

void MoonSecondEquinoxLightTime(TEphemerisResultRecord& r) {
  r.LightTime = kLightTimePerEarthRadius * r.Position.GeoDistance;
}

}  // namespace

// --- TMoonSteps ---------------------------------------------------------------

template <class Base>
void TMoonSteps<Base>::Geozentrischekliptikalastrometrisch() {
  MoonPlace(*this, MoonCacheFlag, MoonOption, MoonTheoryLevel());
}

template <class Base>
void TMoonSteps<Base>::aequinoktium_reduktion() {
  TKepler::aequinoktium_reduktion();
  MoonSecondEquinoxLightTime(this->Result);
}

template <class Base>
void TMoonSteps<Base>::Aufgang_untergang(int /*mode*/) {
  MoonRiseSet(*this, this->settings_, MoonCacheFlag, MoonOption, MoonTheoryLevel());
}

template <class Base>
void TMoonSteps<Base>::physischeEphemeride() {
  MoonPhysical(*this);
}

template <class Base>
void TMoonSteps<Base>::stuendlich_aequatorial() {
  ZeroHourlyMotion(this->Result);
}

template <class Base>
bool TMoonSteps<Base>::ElementsUsable(std::string* /*german*/, std::string* /*english*/) const {
  return true;
}

template class TMoonSteps<TKepler>;
template class TMoonSteps<TKeplereph>;

// --- Tmond --------------------------------------------------------------------

Tmond::Tmond(std::uint8_t cacheFlag, std::uint8_t moonOption, const TBodySettings& body, TTheorySelection selection,
             std::int32_t creatorWord, const TTableConfigRecord& config, const TObserverRecord& observer,
             const TAccuracySettings& accuracy)
    : TMoonSteps(body, creatorWord, config, TAsteroidElements{}, observer, accuracy),
      MoonLevelA(accuracy.VsopLevelA),
      MoonLevelB(accuracy.VsopLevelB) {
  MoonCacheFlag = cacheFlag;
  MoonOption = moonOption;
  ProgressCaption.clear();
  BodyIndex = kBodyIndexMoon;
  H = 1.0;
  Stopped = 0;
  Name = MoonName(body.Language);
  TheorySelection = selection;
}

void Tmond::initialisieren(std::uint8_t cacheFlag, std::uint8_t moonOption, const TBodySettings& body,
                           TTheorySelection selection, const TTableConfigRecord& config,
                           const TObserverRecord& observer, const TAccuracySettings& accuracy) {
  MoonCacheFlag = cacheFlag;
  MoonOption = moonOption;
  TakeRecords(body, config, observer, accuracy);
  TheorySelection = selection;
  MoonLevelA = accuracy.VsopLevelA;
  MoonLevelB = accuracy.VsopLevelB;
  ProgressCaption.clear();
  DispatchMode = 2;
  H = 1.0;
  Stopped = 0;
  FullComputation = 1;
}

void Tmond::heliozentrisch(double /*x*/, double /*y*/, double /*vx*/, double /*vy*/) {
  sun_chain::ZeroHeliocentric(*this);
}

void Tmond::topozentr() {
  const TKeplerPosition& p = Result.Position;
  TopocentricFromGeocentric(Result.TopoRightAscension, Result.TopoDeclination, Result.TopoDistance, p.RightAscension,
                            p.Declination, Result.EquatorialDistance, Observer.GeocentricLatitude,
                            Observer.SiderealHours, Observer.GeocentricRadius, 1.0);
}

void Tmond::PlaceAndHorizon(TComputeSettingsBlock settings) {
  settings_ = settings;
  heliozentrisch(0, 0, 0, 0);
  Geozentrischekliptikalastrometrisch();
  Ekliptik_aequator();
  aequinoktium_reduktion();
  topozentr();
  horizont();
}

void Tmond::rechnen(TComputeSettingsBlock settings) {
  PlaceAndHorizon(settings);
  Aufgang_untergang(TRiseSetBlock::kMoonLevel);
  physischeEphemeride();
}

// --- Tmondtab -----------------------------------------------------------------

Tmondtab::Tmondtab(std::uint8_t cacheFlag, std::uint8_t moonOption, const TTableRequest& request, TSheet* outputSheet)
    : TMoonSteps(request, outputSheet) {
  Tmondtab::initialisieren(cacheFlag, moonOption, request);
}

void Tmondtab::initialisieren(std::uint8_t cacheFlag, std::uint8_t moonOption, const TTableRequest& request) {
  TKeplereph::initialisieren(request, TAsteroidElements{});
  MoonCacheFlag = cacheFlag;
  MoonOption = moonOption;
  DispatchMode = 2;
  BodyIndex = kBodyIndexMoon;
  H = 1.0;
  Name = MoonName(request.Language);
  ProgressCaption = MoonTableCaption(request.Language);
  sun_chain::ZeroHeliocentric(*this);
}

void Tmondtab::Geozentrischekliptikalastrometrisch() {
  TMoonSteps::Geozentrischekliptikalastrometrisch();
  Result.Moon.SunX = Observer.SunX;
  Result.Moon.SunY = Observer.SunY;
  Result.Moon.SunZ = Observer.SunZ;
}

void Tmondtab::topozentr() {
  const TKeplerPosition& p = Result.Position;
  const double phiC = Observer.GeocentricLatitude, lst = Observer.SiderealHours, rho = Observer.GeocentricRadius;
  TopocentricFromGeocentric(Result.TopoRightAscension, Result.TopoDeclination, Result.TopoDistance, p.RightAscension,
                            p.Declination, Result.EquatorialDistance, phiC, lst, rho, 1.0);
  TopocentricFromGeocentric(Result.TopoSecondRightAscension, Result.TopoSecondDeclination, Result.TopoSecondDistance,
                            Result.SecondRightAscension, Result.SecondDeclination, p.GeoDistance, phiC, lst, rho, 1.0);
}

void Tmondtab::horizont() {
  TKeplereph::horizont();
  EquatorialToHorizontal(Observer.RefractionOn != 0, Result.Moon.GeoHourAngle, Result.Moon.GeoAltitude,
                         Observer.SiderealHours, Observer.Latitude, Result.Position.RightAscension,
                         Result.Position.Declination, Observer.Pressure, Observer.Temperature, Result.Moon.GeoAzimuth);
}

void Tmondtab::physischeEphemeride() {
  TMoonSteps::physischeEphemeride();
  if (!ColumnOn(column_flag::kCrescentVisibility)) return;
  // The Sun of the same instant; owned here, so it goes on every way out.
  auto sun = std::make_unique<TSonne>(BodySettings(), TheorySelection, 0, TableConfig, Observer,
                                      Accuracy.IntegrationTolerance);
  sun->initialisieren(BodySettings(), TheorySelection, TableConfig, Observer, Accuracy.IntegrationTolerance);
  sun->rechnen(settings_);
  const TEphemerisResultRecord& s = sun->Result;
  TMoonExtraBlock& m = Result.Moon;
  m.RelativeAzimuth = s.Azimuth - m.GeoAzimuth;
  m.ElongationValue = Result.Physical.elongation;
  m.AltitudeDifference = s.Altitude - m.GeoAltitude;
  m.LimbAltitudeDifference = (s.Altitude + s.Physical.diameter) - (m.GeoAltitude + Result.Physical.Semidiameter);
}

void Tmondtab::rechnen(TComputeSettingsBlock settings) {
  settings_ = settings;
  Geozentrischekliptikalastrometrisch();
  Ekliptik_aequator();
  aequinoktium_reduktion();
  const bool topocentric = ColumnOn(column_flag::kSummaryTopocentric);
  const bool physical = ColumnOn(column_flag::kSummaryPhysical);
  if (topocentric || physical) topozentr();
  if (topocentric) {
    horizont();
    Aufgang_untergang(TRiseSetBlock::kMoonLevel);
  }
  if (physical) physischeEphemeride();
}

}  // namespace kvx
