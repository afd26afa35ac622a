#include "tables/daily_overview.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "core/column_flags.h"
#include "core/name_tables.h"
#include "core/observer_record.h"
#include "core/time_scales.h"
#include "engine/moon.h"
#include "engine/table_globals.h"
#include "platform/globals.h"
#include "platform/progress.h"
#include "theories/observer_completion.h"
#include "theories/planet_positions.h"

namespace kvx {

namespace {

namespace cf = column_flag;
using R = TEphemerisResultRecord;

constexpr std::array<TBodyIndex, kDailyOverviewBodies> kBodies = {0, 1, 2, 4, 5, 6, 7, 8, 9, kBodyIndexMoon};
constexpr int kPlutoPosition = 8;
constexpr int kProgressSteps = 100;

// What a column leaves out.
enum class TRule : std::uint8_t {
  None,
  NotMoon,           // heliocentric cells: empty in the Moon's row
  NotMoonUntouched,  // light time: the Moon's cell is not written at all
  EmptyWhenZero,     // rise, transit, set
  NeedsTransit,      // altitude at transit
  NotSun,            // magnitude
};

// One column of the overview: its flag, group (0: always, else the summary
// byte that must be on), format slot (and the Moon's slot), family, rule,
// value and, for the elongation, its side text.
struct TOverviewColumn {
  std::size_t Flag;
  std::size_t Group;
  int Slot;
  int MoonSlot;
  TCellFamily Family;
  TRule Rule;
  bool SecondEquinox;
  double (*Value)(const R&);
  bool SideText = false;
};

const TRiseSetLevel& Events(const R& r) { return r.RiseSet.Levels[TRiseSetBlock::kBodyLevel]; }

constexpr std::size_t kAlways = 0xff;
using F = TCellFamily;

const TOverviewColumn kColumns[] = {
    {cf::kJulianDate, kAlways, 3, 3, F::Number, TRule::None, false, [](const R& r) { return r.JD; }},
    {cf::kHelioLongitude, kAlways, 7, 7, F::Angle, TRule::NotMoon, false,
     [](const R& r) { return r.Position.HelioLongitude; }},
    {cf::kHelioLatitude, kAlways, 8, 8, F::Angle, TRule::NotMoon, false,
     [](const R& r) { return r.Position.HelioLatitude; }},
    {cf::kHelioRadius, kAlways, 9, 9, F::Number, TRule::NotMoon, false,
     [](const R& r) { return r.Position.HelioDistance; }},
    {cf::kHelioLongitudeSecondEquinox, kAlways, 7, 7, F::Angle, TRule::NotMoon, true,
     [](const R& r) { return r.SecondHelioLongitude; }},
    {cf::kHelioLatitudeSecondEquinox, kAlways, 8, 8, F::Angle, TRule::NotMoon, true,
     [](const R& r) { return r.SecondHelioLatitude; }},
    {cf::kGeoLongitude, kAlways, 11, 11, F::Angle, TRule::None, false,
     [](const R& r) { return r.Position.GeoLongitude; }},
    {cf::kGeoLatitude, kAlways, 12, 12, F::Angle, TRule::None, false,
     [](const R& r) { return r.Position.GeoLatitude; }},
    {cf::kGeoDistance, kAlways, 13, 15, F::Number, TRule::None, false,
     [](const R& r) { return r.Position.GeoDistance; }},
    {cf::kGeoLongitudeSecondEquinox, kAlways, 11, 11, F::Angle, TRule::None, true,
     [](const R& r) { return r.SecondGeoLongitude; }},
    {cf::kGeoLatitudeSecondEquinox, kAlways, 12, 12, F::Angle, TRule::None, true,
     [](const R& r) { return r.SecondGeoLatitude; }},
    {cf::kRightAscension, kAlways, 16, 16, F::Angle, TRule::None, false,
     [](const R& r) { return r.Position.RightAscension; }},
    {cf::kDeclination, kAlways, 17, 17, F::Angle, TRule::None, false,
     [](const R& r) { return r.Position.Declination; }},
    {cf::kRightAscensionSecondEquinox, kAlways, 16, 16, F::Angle, TRule::None, true,
     [](const R& r) { return r.SecondRightAscension; }},
    {cf::kDeclinationSecondEquinox, kAlways, 17, 17, F::Angle, TRule::None, true,
     [](const R& r) { return r.SecondDeclination; }},
    {cf::kLightTime, kAlways, 22, 22, F::Minutes, TRule::NotMoonUntouched, false,
     [](const R& r) { return r.LightTime * 60.0 * 24.0; }},
    {cf::kTopoRightAscension, cf::kSummaryTopocentric, 23, 23, F::Angle, TRule::None, false,
     [](const R& r) { return r.TopoRightAscension; }},
    {cf::kTopoDeclination, cf::kSummaryTopocentric, 24, 24, F::Angle, TRule::None, false,
     [](const R& r) { return r.TopoDeclination; }},
    {cf::kTopoDistance, cf::kSummaryTopocentric, 25, 29, F::Number, TRule::None, false,
     [](const R& r) { return r.TopoDistance; }},
    // The azimuth as the record holds it: no origin is added here.
    {cf::kAzimuth, cf::kSummaryTopocentric, 46, 46, F::Angle, TRule::None, false, [](const R& r) { return r.Azimuth; }},
    {cf::kAltitude, cf::kSummaryTopocentric, 47, 47, F::Angle, TRule::None, false,
     [](const R& r) { return r.Altitude; }},
    {cf::kHourAngle, cf::kSummaryTopocentric, 48, 48, F::Angle, TRule::None, false,
     [](const R& r) { return r.HourAngle * 15.0; }},
    {cf::kRise, cf::kSummaryTopocentric, 30, 30, F::TimeOfDay, TRule::EmptyWhenZero, false,
     [](const R& r) { return Events(r).Rise; }},
    {cf::kTransit, cf::kSummaryTopocentric, 31, 31, F::TimeOfDay, TRule::EmptyWhenZero, false,
     [](const R& r) { return r.RiseSet.TransitTime; }},
    {cf::kSet, cf::kSummaryTopocentric, 32, 32, F::TimeOfDay, TRule::EmptyWhenZero, false,
     [](const R& r) { return Events(r).Set; }},
    {cf::kTransitAltitude, cf::kSummaryTopocentric, 33, 33, F::Angle, TRule::NeedsTransit, false,
     [](const R& r) { return r.RiseSet.TransitAltitude; }},
    {cf::kElongation, cf::kSummaryPhysical, 52, 52, F::Longitude, TRule::None, false,
     [](const R& r) { return r.Physical.elongation; }, true},
    {cf::kSunLongitudeDifference, cf::kSummaryPhysical, 56, 56, F::Angle, TRule::None, false,
     [](const R& r) { return r.Physical.sideAngle; }},
    {cf::kPhaseAngle, cf::kSummaryPhysical, 58, 58, F::Angle, TRule::None, false,
     [](const R& r) { return r.Physical.phaseAngle; }},
    {cf::kIlluminatedFraction, cf::kSummaryPhysical, 60, 60, F::Number, TRule::None, false,
     [](const R& r) { return r.Physical.illuminatedFraction; }},
    {cf::kMagnitude, cf::kSummaryPhysical, 62, 62, F::Magnitude, TRule::NotSun, false,
     [](const R& r) { return r.Physical.magnitude; }},
};

// The Moon with the overview's gating of its chain.
class TOverviewMoon : public Tmond {
 public:
  using Tmond::Tmond;
  void Compute(TComputeSettingsBlock settings) {
    settings_ = settings;
    const bool topocentric = ColumnOn(cf::kSummaryTopocentric);
    const bool physical = ColumnOn(cf::kSummaryPhysical);
    heliozentrisch(0, 0, 0, 0);
    Geozentrischekliptikalastrometrisch();
    Ekliptik_aequator();
    aequinoktium_reduktion();
    if (topocentric || physical) topozentr();
    if (topocentric) {
      horizont();
      Aufgang_untergang(TRiseSetBlock::kMoonLevel);
      // The writers read every body's events from level 2.
      Result.RiseSet.Levels[TRiseSetBlock::kBodyLevel] = Result.RiseSet.Levels[TRiseSetBlock::kMoonLevel];
    }
    if (physical) physischeEphemeride();
  }
};

}  // namespace

TBodyIndex DailyOverviewBody(int position) {
  return position >= 0 && position < kDailyOverviewBodies ? kBodies[static_cast<std::size_t>(position)] : -1;
}

ttagesephemeride::ttagesephemeride(const TTableRequest& request, TSheet* outputSheet)
    : Tplatab(request, outputSheet, 2) {
  OutputSheet = outputSheet;
  Language = request.Language;
  Stopped = 0;
  ProgressCaption = request.Language != 0 ? "Calculating Ephemerides" : "Berechne Tagesepehemeride";
  ttagesephemeride::initialisieren(request);
}

void ttagesephemeride::initialisieren(const TTableRequest& request) {
  Language = request.Language;
  TableConfig = request.Config;
  Step = request.Step;
  Observer = request.Start;
  PeriodStart = request.Start;
  PeriodEnd = request.End;
  ObjectName = request.Language != 0 ? "No Objectname" : "Objektname nicht belegt";
  TheorySelection = request.Selection;
  VsopLevelA = request.VsopLevelA;
  VsopLevelB = request.VsopLevelB;
  IntegrationTolerance = request.IntegrationTolerance;
  Rows = 0;
  FullComputation = 1;
}

TTableRequest ttagesephemeride::BodyRequest(std::int32_t vsopLevel) const {
  TTableRequest request = PeriodRequest(Language, TheorySelection, TableConfig, Observer, Observer, Step);
  request.IntegrationTolerance = IntegrationTolerance;
  request.VsopLevelA = vsopLevel;
  request.VsopLevelB = VsopLevelB;
  return request;
}

void ttagesephemeride::rechnen(std::uint8_t moonOption, TComputeSettingsBlock settings, std::int32_t vsopLevel) {
  const TBodyIndex body = BodyIndex;
  if (body == kBodyIndexSun) {
    TSonnetab sun(BodyRequest(vsopLevel), nullptr);
    sun.Observer = Observer;
    sun.FullComputation = 1;
    sun.rechnen(settings);
    Result = sun.Result;
  } else if (body == kBodyIndexMoon) {
    TOverviewMoon moon(0, moonOption, Language, TheorySelection, 0, TableConfig, Observer, IntegrationTolerance,
                       vsopLevel, VsopLevelB);
    moon.FullComputation = 1;
    moon.Compute(settings);
    Result = moon.Result;
  } else {
    Tplatab planet(BodyRequest(vsopLevel), nullptr, body);
    planet.Observer = Observer;
    planet.FullComputation = 1;
    planet.rechnen(settings);
    Result = planet.Result;
  }
}

void ttagesephemeride::schleife(TComputeSettingsBlock settings, std::uint8_t siderealFlag, std::uint8_t show) {
  Stopped = 0;
  AbortRequested = 0;
  Rows = 0;
  BodyIndex = -1;
  Observer = PeriodStart;
  LocalTimeToUT(Observer);
  CompleteObserverRecord(siderealFlag, TheorySelection, TableConfig, VsopLevelA, Observer, settings);
  const bool inRange = DateInTheoryRange(TheorySelection, Observer.Centuries);
  plutoInRange_ = inRange;
  {
    std::optional<ProgressSession> session;
    if (show != 0) {
      session.emplace(CurrentProgress(), Language != 0 ? "Calculation Ephemeris Table" : "Berechne Tabelle",
                      kProgressSteps);
      session->Reporter().Step(0);
    }
    int progress = 0;
    for (int position = 0; position < kDailyOverviewBodies; ++position) {
      BodyIndex = kBodies[static_cast<std::size_t>(position)];
      ++Rows;
      if (position == kPlutoPosition && !inRange) {
        Result = TEphemerisResultRecord{};
      } else {
        if (session) {
          session->Reporter().ProcessEvents();
          progress += kProgressSteps / kDailyOverviewBodies;
          session->Reporter().Step(progress);
        }
        rechnen(RiseSetMoonOption, settings, VsopLevelA);
        Result.JD = MjdToJd(Observer.Mjd);
        Result.Year = Observer.Year;
        Result.Month = Observer.Month;
        Result.Day = Observer.Day;
        Result.LocalHours = Observer.LocalHours;
      }
      Result.Name = SearchBodyNames[static_cast<std::size_t>(position)];
      if (show != 0) RowStore.Store(position, Result);
      if (AbortRequested != 0) break;
    }
  }
  if (AbortRequested != 0) Stopped = 1;  // the bodies computed so far stay in Rows
  AbortRequested = 0;
}

// --- the writers --------------------------------------------------------------------------

void ttagesephemeride::paintdms(std::uint8_t rowCountFlag) {
  if (OutputSheet == nullptr) return;
  TSheetSink sink(*OutputSheet);
  writingSheet_ = true;
  WriteTable(sink, rowCountFlag);
  writingSheet_ = false;
}

void ttagesephemeride::paintdms_grid(std::uint8_t rowCountFlag) {
  if (OutputGrid == nullptr) return;
  TGridSink sink(*OutputGrid, OutputSettings);
  WriteTable(sink, rowCountFlag);
}

void ttagesephemeride::ShowTableProgress(std::uint8_t wholeTable, const std::string& name) {
  const bool english = Language != 0;
  if (wholeTable == 0) {
    CurrentProgress().SetLabel((english ? "Formatting Output for " : "Formatiere Ausgabe für ") + name);
  } else if (writingSheet_) {
    CurrentProgress().SetLabel(english ? "Formatting Table" : "Formatiere Tabelle");
  } else {
    Tplatab::ShowTableProgress(wholeTable, name);
  }
}

void ttagesephemeride::WriteTable(TCellSink& sink, std::uint8_t rowCountFlag) {
  if (Rows < 1) return;
  const bool inRange = plutoInRange_;
  // Outside the range the frame writes one data row less; the Moon's
  // record follows Neptune's.
  const int rows = Rows;
  if (!inRange && Rows > kPlutoPosition) Rows = Rows - 1;
  WriteTableFrame(sink, rowCountFlag,
                  [this, inRange](TCellSink& s, int k, bool heading) { WriteOverviewRow(s, k, heading, inRange); });
  if (Rows != 0) Rows = rows;
}

void ttagesephemeride::WriteOverviewRow(TCellSink& sink, int k, bool heading, bool inRange) {
  const int position = heading ? 0 : (!inRange && k > kPlutoPosition ? k : k - 1);
  const R& r = RowStore.Row(position);
  const bool english = Language != 0;
  const int row = OutputRow;
  const bool moon = !heading && position == kDailyOverviewBodies - 1;

  // Name and date.
  {
    const int col = OutputColumn++;
    if (heading) {
      std::string jd;
      FormatNumberForSlot(3, jd, r.JD);
      WriteHeadingCell(sink, row, col, 0, "JD: " + jd, true);
    } else {
      sink.Text(row, col, r.Name);
    }
  }
  {
    const int col = OutputColumn++;
    if (heading) {
      WriteHeadingCell(sink, row, col, 0, english ? "Date" : "Datum", true);
    } else {
      sink.Date(row, col, 0, r.Year, r.Month, r.Day);
      std::string jd;
      FormatNumberForSlot(3, jd, RowStore.Row(0).JD);
      ShowTableProgress(0, jd);
    }
  }
  if (!ColumnOn(cf::kDateOnly)) {
    const int col = OutputColumn++;
    if (heading) {
      WriteHeadingCell(sink, row, col, 1, TableConfig.ColumnTitles[1], true);
    } else {
      sink.Value(F::TimeOfDay, row, col, 1, r.LocalHours);
    }
  }

  for (const TOverviewColumn& c : kColumns) {
    if (c.Group != kAlways && !ColumnOn(c.Group)) continue;
    if (!ColumnOn(c.Flag)) continue;
    const int col = OutputColumn++;
    if (heading) {
      std::string title = TableConfig.ColumnTitles[static_cast<std::size_t>(c.Slot)];
      if (c.SecondEquinox) title += OutputSettings.SecondEquinoxText;
      WriteHeadingCell(sink, row, col, c.Slot, title, true);
      continue;
    }
    const double value = c.Value(r);
    bool empty = false;
    switch (c.Rule) {
      case TRule::None:
        break;
      case TRule::NotMoon:
        empty = moon;
        break;
      case TRule::NotMoonUntouched:
        if (moon) continue;
        break;
      case TRule::EmptyWhenZero:
        empty = value == 0;
        break;
      case TRule::NeedsTransit:
        empty = r.RiseSet.TransitTime == 0;
        break;
      case TRule::NotSun:
        empty = position == 0;
        break;
    }
    if (empty) {
      if (sink.IsGrid()) sink.Text(row, col, "");
      continue;
    }
    const int slot = moon ? c.MoonSlot : c.Slot;
    sink.Value(c.Family, row, col, slot, value, c.SideText ? r.Physical.sideText : std::string());
  }
}

}  // namespace kvx
