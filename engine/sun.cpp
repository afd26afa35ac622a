#include "engine/sun.h"

#include <array>
#include <cmath>

#include "core/column_flags.h"
#include "core/frames.h"
#include "core/physical_ephemeris.h"
#include "core/rise_set_search.h"
#include "core/time_scales.h"
#include "core/vector_math.h"
#include "engine/darkness.h"
#include "theories/apparent_sun_moon.h"
#include "theories/low_precision.h"
#include "theories/planet_positions.h"
#include "theories/rise_set.h"

namespace kvx {

namespace {

constexpr std::array<std::array<const char*, 2>, 13> kProgressCaptions = {{
    {"Berechne Ephemeride der Sonne", "Calculating ephemeris of the Sun"},
    {"Berechne Merkurephemeride", "Calculating ephemeris of Mercury"},
    {"Berechne Venusephemeride", "Calculating ephemeris of Venus"},
    {"", ""},
    {"Berechne Marsephemeride", "Calculating ephemeris of  Mars"},
    {"Berechne Jupiterephemeride", "Calculating ephemeris of Jupiter"},
    {"Berechne Saturnephemeride", "Calculating ephemeris of Saturn"},
    {"Berechne Uranusephemeride", "Calculating ephemeris of Uranus"},
    {"Berechne Neptunephemeride", "Calculating ephemeris of Neptune"},
    {"Berechne Plutoephemeride", "Calculating ephemeris of Pluto"},
    {"Berechne Ephemeride des Mondes", "Calculating ephemeris of the Moon"},
    {"Berechne Ephemeride des Planetoiden", "Calculating ephemeris of the Asteroid"},
    {"Berechne Ephemeride des Kometen", "Calculating ephemeris of the Comet"},
}};

const char* SunName(std::uint8_t language) { return language != 0 ? "Sun" : "Sonne"; }

bool AnyColumn(const TTableConfigRecord& config, std::initializer_list<std::size_t> flags) {
  for (std::size_t f : flags) {
    if (config.Flags[f] != 0) return true;
  }
  return false;
}

double FiniteOr(double value, double unset) { return std::isfinite(value) ? value : unset; }

}  // namespace

const char* BodyProgressCaption(TBodyIndex body, std::uint8_t language) {
  if (body < 0 || body >= static_cast<TBodyIndex>(kProgressCaptions.size())) return "";
  return kProgressCaptions[static_cast<std::size_t>(body)][language != 0 ? 1 : 0];
}

double EquationOfTimeHours(double localSiderealHours, double utHours, double rightAscension, double longitude) {
  return 12.0 - Mod24(((localSiderealHours - utHours) * 15.0 - rightAscension + longitude) * (1.0 / 15.0));
}

// ---------------------------------------------------------------------------
// Shared steps.

namespace sun_chain {

void ZeroHeliocentric(TKepler& body) {
  TKeplerPosition& p = body.Result.Position;
  p.HelioX = p.HelioY = p.HelioZ = 0;
  p.HelioDistance = p.HelioLatitude = p.HelioLongitude = 0;
  body.Result.HelioVX = body.Result.HelioVY = body.Result.HelioVZ = 0;
}

void DispatchGeocentric(TKepler& body, TComputeSettingsBlock settings, std::int32_t dispatchMode,
                        std::array<double, 3>& savedVelocity) {
  TEphemerisResultRecord& r = body.Result;
  TKeplerPosition& p = r.Position;
  const TObserverRecord& o = body.Observer;
  const std::uint8_t theory = body.TheorySelection.PlanetTheory();
  const bool savedBefore = theory == kPlanetTheoryVsop87C || theory == kPlanetTheoryPositionFiles;
  if (savedBefore) savedVelocity = {r.HelioVX, r.HelioVY, r.HelioVZ};

  TDispatchPlanet d;
  d.L = p.HelioLongitude, d.B = p.HelioLatitude, d.R = p.HelioDistance;
  d.X = p.HelioX, d.Y = p.HelioY, d.Z = p.HelioZ;
  d.VX = r.HelioVX, d.VY = r.HelioVY, d.VZ = r.HelioVZ;
  PlanetPositionDispatch(settings, body.Accuracy.VsopLevelA, body.TheorySelection, o.Centuries, body.BodyIndex,
                         dispatchMode, DispatchSunOf(o), d);
  if (!savedBefore && dispatchMode > 0) {
    r.HelioVX = d.VX;
    r.HelioVY = d.VY;
    r.HelioVZ = d.VZ;
  }
  if (!savedBefore) savedVelocity = {r.HelioVX, r.HelioVY, r.HelioVZ};

  r.GeometricX = p.HelioX + o.SunX;
  r.GeometricY = p.HelioY + o.SunY;
  r.GeometricZ = p.HelioZ + o.SunZ;
  r.GeometricDistance = d.Distance;
  // The chain's astrometric vector carries light time and aberration, as the
  // two-body chain's does when it computes fully.
  r.AstrometricX = d.ApparentX;
  r.AstrometricY = d.ApparentY;
  r.AstrometricZ = d.ApparentZ;
  CartesianToPolar(p.GeoDistance, p.GeoLatitude, p.GeoLongitude, d.ApparentX, d.ApparentY, d.ApparentZ);
}

void SunEquatorialJ2000(const TObserverRecord& observer, double& x, double& y, double& z) {
  x = observer.SunX;
  y = observer.SunY;
  z = observer.SunZ;
  EclipticToEquatorial(x, y, z, observer.Centuries);
  TMatrix33 m{};
  PrecessionMatrixEquatorial(m, observer.Centuries, 0.0);
  MatrixTimesVector(m, x, y, z);
}

void SunRiseSet(TKepler& body, TComputeSettingsBlock settings, int firstLevel, int lastLevel) {
  if (firstLevel < 1) firstLevel = 1;
  if (lastLevel > TRiseSetBlock::kLevels) lastLevel = TRiseSetBlock::kLevels;
  const TObserverRecord& o = body.Observer;
  TRiseSetBlock& block = body.Result.RiseSet;
  const TRiseSetSettings& r = body.RiseSet;
  TRiseSetMoonSunDay day;
  day.RiseAzimuth = block.RiseAzimuth;
  day.SetAzimuth = block.SetAzimuth;
  RiseSetMoonSun({r.MoonOption, r.MoonLimb, r.Precise, o.DeltaTSeconds, r.InternalMoon, r.Altitudes, body.Language,
                  body.TheorySelection, body.Accuracy.VsopLevelA, firstLevel, lastLevel, kBodyIndexSun, MjdToJd(o.Mjd),
                  o.Latitude, -o.Longitude, ZoneOffsetHours(o)},
                 settings, day);
  block.RiseAzimuth = day.RiseAzimuth;
  block.SetAzimuth = day.SetAzimuth;
  block.TransitTime = day.TransitTime;
  block.TransitAltitude = day.TransitAltitude;
  for (int level = firstLevel; level <= lastLevel; ++level) {
    const std::size_t i = static_cast<std::size_t>(level - 1);
    TRiseSetLevel& out = block.Levels[static_cast<std::size_t>(level)];
    out.Rise = day.RiseTimes[i];
    out.Set = day.SetTimes[i];
    out.Duration = day.Durations[i];
    out.RiseMarker = day.RiseMarkers[i] != nullptr ? day.RiseMarkers[i] : "";
    out.SetMarker = day.SetMarkers[i] != nullptr ? day.SetMarkers[i] : "";
    out.Status = day.StatusTexts[i] != nullptr ? day.StatusTexts[i] : "";
  }
}

void PlacesOfDate(TKepler& body) {
  body.bahnlageelemente();
  body.heliozentrisch(0, 0, 0, 0);
  body.geozentrischekliptikalgeometrisch();
  body.Ekliptik_aequator();
  body.aequinoktium_reduktion();
}

double PhysicalBlock(TKepler& body) {
  TPhysicalBlock& block = body.Result.Physical;
  PlanetMagnitude(body.BodyIndex, body.Observer, body.Result.Position, block);
  if (body.BodyIndex != kBodyIndexSun) return 0;
  const TObserverRecord& o = body.Observer;
  block.EquationOfTime =
      EquationOfTimeHours(o.SiderealHours, o.UTHours, body.Result.Position.RightAscension, o.Longitude);
  block.RotationNumber = CarringtonRotationNumber(block.centralMeridian1, MjdToJd(o.Mjd));
  return block.RotationNumber;
}

void ClearNonFiniteEvents(TEphemerisResultRecord& result) {
  TRiseSetBlock& b = result.RiseSet;
  for (TRiseSetLevel& level : b.Levels) {
    level.Rise = FiniteOr(level.Rise, 0);
    level.Set = FiniteOr(level.Set, 0);
    level.Duration = FiniteOr(level.Duration, 0);
  }
  b.TransitTime = FiniteOr(b.TransitTime, 0);
  b.TransitAltitude = FiniteOr(b.TransitAltitude, 0);
  b.RiseAzimuth = FiniteOr(b.RiseAzimuth, -360);
  b.SetAzimuth = FiniteOr(b.SetAzimuth, -360);
  TDarknessBlock& d = result.Darkness;
  for (double* v : {&d.FirstStart, &d.FirstEnd, &d.SecondStart, &d.SecondEnd, &d.Total}) *v = FiniteOr(*v, -1);
}

}  // namespace sun_chain

// ---------------------------------------------------------------------------
// TSunSteps

template <class Base>
void TSunSteps<Base>::heliozentrisch(double /*x*/, double /*y*/, double /*vx*/, double /*vy*/) {
  sun_chain::ZeroHeliocentric(*this);
}

template <class Base>
void TSunSteps<Base>::geozentrischekliptikalgeometrisch() {
  sun_chain::DispatchGeocentric(*this, this->settings_, DispatchMode, savedVelocity_);
}

template <class Base>
void TSunSteps<Base>::Aufgang_untergang(int mode) {
  Aufgang_untergang(this->settings_, mode, mode);
}

template <class Base>
void TSunSteps<Base>::Aufgang_untergang(TComputeSettingsBlock settings, int firstLevel, int lastLevel) {
  sun_chain::SunRiseSet(*this, settings, firstLevel, lastLevel);
}

template <class Base>
bool TSunSteps<Base>::ElementsUsable(std::string* /*german*/, std::string* /*english*/) const {
  return true;
}

template class TSunSteps<TKepler>;
template class TSunSteps<TKeplereph>;

// ---------------------------------------------------------------------------
// TSonne

TSonne::TSonne(const TBodySettings& body, TTheorySelection selection, std::int32_t creatorWord,
               const TTableConfigRecord& config, const TObserverRecord& observer, long double integrationTolerance)
    : TSunSteps(body, creatorWord, config, TAsteroidElements{}, observer,
                TAccuracySettings{integrationTolerance, 0, 0}) {
  TheorySelection = selection;
  H = 1.0;
  Stopped = 0;
  ProgressCaption.clear();
  DispatchMode = kSunPlanetDispatchMode;
  BodyIndex = kBodyIndexSun;
  Name = SunName(body.Language);
  FullComputation = 0;
}

void TSonne::initialisieren(const TBodySettings& body, TTheorySelection selection, const TTableConfigRecord& config,
                            const TObserverRecord& observer, long double integrationTolerance) {
  SetBodySettings(body);
  TheorySelection = selection;
  TableConfig = config;
  Observer = observer;
  Accuracy.IntegrationTolerance = integrationTolerance;
  Stopped = 0;
  FullComputation = 1;
}

void TSonne::physischeEphemeride() { CarringtonRotation = sun_chain::PhysicalBlock(*this); }

void TSonne::rechnen(TComputeSettingsBlock settings) {
  settings_ = settings;
  sun_chain::PlacesOfDate(*this);
  topozentr();
  horizont();
  Aufgang_untergang(settings, TRiseSetBlock::kBodyLevel, TRiseSetBlock::kAstronomicalTwilight);
  physischeEphemeride();
  sun_chain::ClearNonFiniteEvents(Result);
}

// ---------------------------------------------------------------------------
// TSonnetab

TSonnetab::TSonnetab(const TTableRequest& request, TSheet* outputSheet) : TSunSteps(request, outputSheet) {
  TSonnetab::initialisieren(request);
  ProgressCaption = BodyProgressCaption(kBodyIndexSun, request.Language);
  FullComputation = 0;
}

void TSonnetab::initialisieren(const TTableRequest& request) {
  TakeRequest(request);
  DispatchMode = kSunPlanetDispatchMode;
  BodyIndex = kBodyIndexSun;
  H = 1.0;
  Stopped = 0;
  Name = SunName(request.Language);
  ObjectName.clear();
  DatabaseFlag = 0;
  FullComputation = 1;
}

void TSonnetab::initialisieren(const TTableRequest& request, const TAsteroidElements& /*elements*/,
                               std::uint8_t /*databaseFlag*/, const std::string& /*name*/) {
  initialisieren(request);
}

void TSonnetab::geozentrischekliptikalgeometrisch() {
  TSunSteps::geozentrischekliptikalgeometrisch();
  sun_chain::SunEquatorialJ2000(Observer, Result.SunJ2000X, Result.SunJ2000Y, Result.SunJ2000Z);
}

void TSonnetab::Aufgang_untergang(TComputeSettingsBlock settings, int firstLevel, int lastLevel) {
  TSunSteps::Aufgang_untergang(settings, firstLevel, lastLevel);
  if (lastLevel >= TRiseSetBlock::kAstronomicalTwilight &&
      AnyColumn(TableConfig, {column_flag::kDarkness, column_flag::kDarknessSum})) {
    ComputeDarkness(settings);
  }
}

void TSonnetab::physischeEphemeride() { sun_chain::PhysicalBlock(*this); }

int TSonnetab::RiseSetLastLevel() const {
  namespace f = column_flag;
  if (AnyColumn(TableConfig, {f::kTwilight, f::kNightLengths, f::kDarkness, f::kDarknessSum})) {
    return TRiseSetBlock::kAstronomicalTwilight;
  }
  // The azimuths and the time above the horizon come from the same search.
  if (AnyColumn(TableConfig, {f::kRise, f::kTransit, f::kSet, f::kTransitAltitude, f::kRiseAzimuth, f::kSetAzimuth,
                              f::kTimeAboveHorizon})) {
    return TRiseSetBlock::kBodyLevel;
  }
  return 0;
}

void TSonnetab::rechnen(TComputeSettingsBlock settings) {
  settings_ = settings;
  sun_chain::PlacesOfDate(*this);
  if (TableConfig.Flags[column_flag::kSummaryTopocentric] == 1 ||
      TableConfig.Flags[column_flag::kSummaryPhysical] == 1) {
    topozentr();
  }
  if (ColumnOn(column_flag::kSummaryTopocentric)) {
    horizont();
    const int last = RiseSetLastLevel();
    if (last > 0) Aufgang_untergang(settings, TRiseSetBlock::kBodyLevel, last);
  }
  if (ColumnOn(column_flag::kSummaryPhysical)) physischeEphemeride();
  sun_chain::ClearNonFiniteEvents(Result);
}

double TSonnetab::Sin_Alt_moon(double sinLatitude, double cosLatitude, double longitude, double jd0, double hour,
                               double deltaT, std::uint8_t precise, std::uint8_t internalMoon, double& rightAscension,
                               double& declination, double& hourAngle) {
  const double jd = jd0 + hour / 24.0;
  const double T = (jd + deltaT * 1.1574074074074073e-05 - 2451545.0) / 36525.0;
  double distance = 0;
  if (precise != 0) {
    TTheorySelection selection = TheorySelection;
    if (internalMoon != 0) selection.bytes[1] = 0;
    double ra = 0;
    MoonApparentCoordinates(RiseSet.MoonOption, settings_, selection, T, ra, declination, distance,
                            Accuracy.VsopLevelA);
    rightAscension = ra / 15.0;
  } else {
    MoonLowPrecision(rightAscension, declination, distance, T);
  }
  // Local mean sidereal time from 0 h UT of the date and the UT of day.
  const double mjd = JdToMjd(jd);
  const double mjd0 = std::floor(mjd);
  const double ut = (mjd - mjd0) * 24.0;
  const double lst = Mod24(GreenwichMeanSiderealHours(ut, MjdToJd(mjd0)) - longitude / 15.0);
  const double tau = (lst - rightAscension) * 15.0;
  hourAngle = tau / 15.0;
  TRiseSetSample sample;
  sample.sinAltitude = sinLatitude * SinDeg(declination) + cosLatitude * CosDeg(declination) * CosDeg(tau);
  sample.distance = distance;
  if (!(distance > 1.0) || !std::isfinite(distance)) return std::nan("");
  return MeasuredSineOfAltitude(MoonUpperLimbLevel(), sample);
}

double TSonnetab::MoonLimbAltitude(double hour) {
  const double offset = ZoneOffsetHours(Observer);
  const double mjd = CalendarDateToMjd(Observer.Day, Observer.Month, Observer.Year, hour - offset);
  const double jd = MjdToJd(mjd);
  const double jd0 = std::trunc(jd + offset / 24.0 - 0.5) + 0.5 - offset / 24.0;
  double ra = 0, dec = 0, tau = 0;
  const double s = Sin_Alt_moon(SinDeg(Observer.Latitude), CosDeg(Observer.Latitude), Observer.Longitude, jd0, hour,
                                Observer.DeltaTSeconds, RiseSet.Precise, RiseSet.InternalMoon, ra, dec, tau);
  return std::isfinite(s) ? ArcSinDeg(s) : std::nan("");
}

void TSonnetab::ComputeDarkness(TComputeSettingsBlock settings) {
  const TObserverRecord& o = Observer;
  TRiseSetMoonSunDay moon;
  RiseSetMoonSun({RiseSet.MoonOption, RiseSet.MoonLimb, RiseSet.Precise, o.DeltaTSeconds, RiseSet.InternalMoon,
                  RiseSet.Altitudes, Language, TheorySelection, Accuracy.VsopLevelA, kRiseSetMoonEvent,
                  kRiseSetMoonEvent, kBodyIndexMoon, MjdToJd(o.Mjd), o.Latitude, -o.Longitude, ZoneOffsetHours(o)},
                 settings, moon);
  const TRiseSetLevel& dark = Result.RiseSet.Levels[TRiseSetBlock::kAstronomicalTwilight];
  TDarknessDay day;
  day.Moonrise = moon.RiseTimes[0];
  day.Moonset = moon.SetTimes[0];
  day.Dawn = dark.Rise;
  day.Dusk = dark.Set;
  day.NeverDark = dark.Status == RiseSetBrightWord(Language);
  Result.Darkness = DarknessIntervals(day, [this](double hour) { return MoonLimbAltitude(hour) < 0; });
}

}  // namespace kvx
