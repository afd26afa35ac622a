#include "engine/planet.h"

#include <array>
#include <cmath>

#include "core/column_flags.h"
#include "core/name_tables.h"
#include "core/physical_ephemeris.h"
#include "core/rise_set_search.h"
#include "core/time_scales.h"
#include "theories/planet_positions.h"
#include "theories/planet_series.h"
#include "theories/pluto.h"
#include "theories/rise_set.h"

namespace kvx {

namespace {

constexpr TBodyIndex kBodyIndexEarth = 3;
constexpr TBodyIndex kBodyIndexMercury = 1;
constexpr TBodyIndex kBodyIndexNeptune = 8;
constexpr TBodyIndex kBodyIndexPluto = 9;

// The German name of a body 0..9 (the core's name table), else "".
std::string GermanBodyName(TBodyIndex body) {
  if (body < 0 || body > kBodyIndexPluto) return "";
  return SunAndPlanetNames[static_cast<std::size_t>(body)];
}

bool HasPhysicalEphemeris(TBodyIndex body) { return body == kBodyIndexSun || HasPlanetRoutine(body); }

// The planet routines of Mercury to Neptune by body index, with the entry of
// the position-file block each reads (Pluto's routine takes no level).
using THeliocentricRoutine = void (*)(PositionFileHandle, TTheorySelection, double, double&, double&, double&, double&,
                                      double&, double&, double&, double&, double&, TTruncationLevel);
struct TPlanetRoutine {
  THeliocentricRoutine heliocentric;
  std::size_t positionFile;
};
constexpr std::array<TPlanetRoutine, 9> kPlanetRoutines = {{
    {nullptr, 0},
    {MercuryHeliocentric, 1},
    {VenusHeliocentric, 2},
    {nullptr, 0},
    {MarsHeliocentric, 3},
    {JupiterHeliocentric, 4},
    {SaturnHeliocentric, 5},
    {UranusHeliocentric, 6},
    {NeptuneHeliocentric, 7},
}};

}  // namespace

bool HasPlanetRoutine(TBodyIndex body) { return body == 1 || body == 2 || (body >= 4 && body <= kBodyIndexPluto); }

namespace planet_chain {

void Heliocentric(TKepler& body, TComputeSettingsBlock settings) {
  const TBodyIndex index = body.BodyIndex;
  if (!HasPlanetRoutine(index)) return;
  const double T = body.Observer.Centuries;
  const TTheorySelection s = body.TheorySelection;
  // Pluto's series are not extrapolated beyond the interval they serve.
  if (index == kBodyIndexPluto && !DateInTheoryRange(s, T)) return;
  TEphemerisResultRecord& r = body.Result;
  TKeplerPosition& p = r.Position;
  if (index == kBodyIndexPluto) {
    PlutoHeliocentric(settings[8], s, T, p.HelioLongitude, p.HelioLatitude, p.HelioDistance, p.HelioX, p.HelioY,
                      p.HelioZ, r.HelioVX, r.HelioVY, r.HelioVZ);
    return;
  }
  const TPlanetRoutine& routine = kPlanetRoutines[static_cast<std::size_t>(index)];
  routine.heliocentric(settings[routine.positionFile], s, T, p.HelioLongitude, p.HelioLatitude, p.HelioDistance,
                       p.HelioX, p.HelioY, p.HelioZ, r.HelioVX, r.HelioVY, r.HelioVZ, body.Accuracy.VsopLevelA);
}

void PlanetRiseSet(TKepler& body, TComputeSettingsBlock settings) {
  const TObserverRecord& o = body.Observer;
  TRiseSetBlock& block = body.Result.RiseSet;
  TRiseSetLevel& out = block.Levels[TRiseSetBlock::kBodyLevel];
  const char* status = kRiseSetBlank;
  const char* riseMarker = kRiseSetBlank;
  const char* setMarker = kRiseSetBlank;
  RiseSetPlanet(body.RiseSet.Altitudes, settings, body.Language, o.DeltaTSeconds, body.TheorySelection, MjdToJd(o.Mjd),
                -o.Longitude, o.Latitude, body.BodyIndex, ZoneOffsetHours(o), out.Rise, out.Set, out.Duration,
                block.TransitTime, block.TransitAltitude, block.RiseAzimuth, block.SetAzimuth, status, riseMarker,
                setMarker, body.Accuracy.VsopLevelA);
  if (std::fabs(o.Latitude) == 90 && HasPlanetRoutine(body.BodyIndex)) {
    // At a pole the altitude is the declination (with the sign of the
    // pole) all day: no rise or set, only the status.
    const double altitude = o.Latitude > 0 ? body.Result.Position.Declination : -body.Result.Position.Declination;
    const bool above = altitude > body.RiseSet.Altitudes[0] / 60.0;
    status = above ? RiseSetVisibleWord(body.Language) : RiseSetInvisibleWord(body.Language);
    out.Duration = above ? RiseSetWholeDayHours() : 0.0;
    riseMarker = setMarker = kRiseSetPolar;
    block.TransitTime = 0;
    block.TransitAltitude = 0;
  }
  out.Status = status != nullptr ? status : "";
  out.RiseMarker = riseMarker != nullptr ? riseMarker : "";
  out.SetMarker = setMarker != nullptr ? setMarker : "";
}

void PlacesOfDate(TKepler& body, const std::array<double, 3>& savedVelocity) {
  body.bahnlageelemente();
  body.heliozentrisch(0, 0, 0, 0);
  body.geozentrischekliptikalgeometrisch();
  body.Ekliptik_aequator();
  body.Result.HelioVX = savedVelocity[0];
  body.Result.HelioVY = savedVelocity[1];
  body.Result.HelioVZ = savedVelocity[2];
}

}  // namespace planet_chain

// ---------------------------------------------------------------------------
// TPlanetSteps

template <class SunClass>
void TPlanetSteps<SunClass>::heliozentrisch(double /*x*/, double /*y*/, double /*vx*/, double /*vy*/) {
  planet_chain::Heliocentric(*this, this->settings_);
}

template <class SunClass>
void TPlanetSteps<SunClass>::Aufgang_untergang(TComputeSettingsBlock settings, int /*firstLevel*/, int /*lastLevel*/) {
  planet_chain::PlanetRiseSet(*this, settings);
}

template <class SunClass>
void TPlanetSteps<SunClass>::physischeEphemeride() {
  if (HasPhysicalEphemeris(this->BodyIndex)) sun_chain::PhysicalBlock(*this);
}

template class TPlanetSteps<TSonne>;
template class TPlanetSteps<TSonnetab>;

// ---------------------------------------------------------------------------
// Tpla and its reduced variants

Tpla::Tpla(const TBodySettings& bodySettings, TTheorySelection selection, std::int32_t creatorWord, TBodyIndex body,
           const TTableConfigRecord& config, const TObserverRecord& observer, long double integrationTolerance)
    : TPlanetSteps(bodySettings, selection, creatorWord, config, observer, integrationTolerance) {
  BodyIndex = body;
  SetBodyTexts(body);
}

void Tpla::SetBodyTexts(TBodyIndex body) {
  ProgressCaption = BodyProgressCaption(body, Language);
  Name = GermanBodyName(body);
}

void Tpla::initialisieren(const TBodySettings& bodySettings, TTheorySelection selection, TBodyIndex body,
                          const TTableConfigRecord& config, const TObserverRecord& observer,
                          long double integrationTolerance) {
  TSonne::initialisieren(bodySettings, selection, config, observer, integrationTolerance);
  BodyIndex = body;
  H = 1.0;
  SetBodyTexts(body);
}

void Tpla::rechnen(TComputeSettingsBlock settings) {
  settings_ = settings;
  planet_chain::PlacesOfDate(*this, savedVelocity_);
  aequinoktium_reduktion();
  topozentr();
  horizont();
  Aufgang_untergang(settings, TRiseSetBlock::kBodyLevel, TRiseSetBlock::kBodyLevel);
  physischeEphemeride();
  sun_chain::ClearNonFiniteEvents(Result);
}

tplaShort::tplaShort(const TBodySettings& bodySettings, TTheorySelection selection, std::int32_t creatorWord,
                     TBodyIndex body, const TTableConfigRecord& config, const TObserverRecord& observer,
                     const TAccuracySettings& accuracy)
    : Tpla(bodySettings, selection, creatorWord, body, config, observer, accuracy.IntegrationTolerance) {
  Topocentric = 0;
  FullComputation = 1;
}

void tplaShort::rechnen(TComputeSettingsBlock settings) {
  settings_ = settings;
  planet_chain::PlacesOfDate(*this, savedVelocity_);
  if (Topocentric != 0) {
    topozentr();
  } else {
    Result.TopoRightAscension = Result.Position.RightAscension;
    Result.TopoDeclination = Result.Position.Declination;
    Result.TopoDistance = Result.EquatorialDistance;
  }
}

void tplaShort_lg::rechnen(TComputeSettingsBlock settings) {
  settings_ = settings;
  bahnlageelemente();
  heliozentrisch(0, 0, 0, 0);
  geozentrischekliptikalgeometrisch();
  Ekliptik_aequator();
}

// ---------------------------------------------------------------------------
// Tplatab

Tplatab::Tplatab(const TTableRequest& request, TSheet* outputSheet, TBodyIndex body)
    : TPlanetSteps(request, outputSheet) {
  BodyIndex = body;
  ProgressCaption = BodyProgressCaption(body, request.Language);
  Name = GermanBodyName(body);
}

void Tplatab::initialisieren(const TTableRequest& request, TBodyIndex body) {
  const std::string previousName = Name;
  TSonnetab::initialisieren(request);
  BodyIndex = body;
  ProgressCaption = BodyProgressCaption(body, request.Language);
  if (body == kBodyIndexSun || body == kBodyIndexEarth) {
    Name = previousName;
  } else if (request.Language != 0 && body == kBodyIndexMercury) {
    Name = "Mercury";
  } else if (request.Language != 0 && body == kBodyIndexNeptune) {
    Name = "Neptune";
  } else {
    Name = GermanBodyName(body);
  }
}

void Tplatab::initialisieren(const TTableRequest& request) { initialisieren(request, BodyIndex); }

void Tplatab::rechnen(TComputeSettingsBlock settings) {
  settings_ = settings;
  planet_chain::PlacesOfDate(*this, savedVelocity_);
  aequinoktium_reduktion();
  if (TableConfig.Flags[column_flag::kSummaryTopocentric] == 1 ||
      TableConfig.Flags[column_flag::kSummaryPhysical] == 1) {
    topozentr();
  }
  if (ColumnOn(column_flag::kSummaryTopocentric)) {
    horizont();
    Aufgang_untergang(settings, TRiseSetBlock::kBodyLevel, TRiseSetBlock::kBodyLevel);
  }
  if (ColumnOn(column_flag::kSummaryPhysical)) physischeEphemeride();
  sun_chain::ClearNonFiniteEvents(Result);
}

}  // namespace kvx
