#include "tables/daily_overview.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "core/column_flags.h"
#include "core/name_tables.h"
#include "core/observer_record.h"
#include "core/time_scales.h"
#include "engine/column_catalogue.h"
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

// What a column leaves out in the overview (the catalogue's own rules are
// those of the ephemeris tables).
enum class TRule : std::uint8_t {
  None,
  NotMoon,           // heliocentric cells: empty in the Moon's row
  NotMoonUntouched,  // light time: the Moon's cell is not written at all
  EmptyWhenZero,     // rise, transit, set
  NeedsTransit,      // altitude at transit
  NotSun,            // magnitude
};

// One column of the overview: the catalogue row that gives its switch,
// group, heading, format slot, family and value; the row the Moon's cells
// take instead (0: the same); what the overview leaves out; and a value of
// its own where the overview writes the record's value unchanged.
struct TOverviewColumn {
  int Row;
  int MoonRow;
  TRule Rule;
  double (*OwnValue)(const R&) = nullptr;
};

const TOverviewColumn kColumns[] = {
    {1, 0, TRule::None},      // time of day: stands while flag 4 is off
    {2, 0, TRule::None},      // Julian date
    {8, 0, TRule::NotMoon},   // heliocentric longitude
    {9, 0, TRule::NotMoon},   // heliocentric latitude
    {10, 0, TRule::NotMoon},  // radius vector
    {18, 0, TRule::NotMoon},  // heliocentric longitude and latitude, second equinox
    {19, 0, TRule::NotMoon},
    {21, 0, TRule::None},   // geocentric longitude
    {22, 0, TRule::None},   // geocentric latitude
    {23, 24, TRule::None},  // distance (the Moon's in Earth radii)
    {26, 0, TRule::None},   // geocentric longitude and latitude, second equinox
    {27, 0, TRule::None},
    {28, 0, TRule::None},  // right ascension
    {29, 0, TRule::None},  // declination
    {34, 0, TRule::None},  // right ascension and declination, second equinox
    {35, 0, TRule::None},
    {38, 0, TRule::NotMoonUntouched},  // light time
    {39, 0, TRule::None},              // topocentric right ascension
    {40, 0, TRule::None},              // topocentric declination
    {41, 42, TRule::None},             // topocentric distance (the Moon's in Earth radii)
    // The azimuth as the record holds it: no origin is added here.
    {44, 0, TRule::None, [](const R& r) { return r.Azimuth; }},
    {45, 0, TRule::None},  // altitude
    // The hour angle in degrees, not reduced to 0 .. 360.
    {46, 0, TRule::None, [](const R& r) { return r.HourAngle * 15.0; }},
    {50, 0, TRule::EmptyWhenZero},  // rise
    {51, 0, TRule::EmptyWhenZero},  // transit
    {52, 0, TRule::EmptyWhenZero},  // set
    {53, 0, TRule::NeedsTransit},   // altitude at transit
    {65, 0, TRule::None},           // elongation with its side
    {67, 0, TRule::None},           // difference in longitude from the Sun
    {69, 0, TRule::None},           // phase angle
    {73, 0, TRule::None},           // illuminated fraction
    {75, 0, TRule::NotSun},         // magnitude
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
  TakeRequest(request);
  ObjectName = request.Language != 0 ? "No Objectname" : "Objektname nicht belegt";
  FullComputation = 1;
}

TTableRequest ttagesephemeride::BodyRequest(std::int32_t vsopLevel) const {
  TTableRequest request = PeriodRequest(Language, TheorySelection, TableConfig, Observer, Observer, Step);
  request.Accuracy = Accuracy;
  request.Accuracy.VsopLevelA = vsopLevel;
  request.SecondEquinoxT = SecondEquinoxT;
  request.RiseSet = RiseSet;
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
    TOverviewMoon moon(0, moonOption, BodySettings(), TheorySelection, 0, TableConfig, Observer,
                       {Accuracy.IntegrationTolerance, vsopLevel, Accuracy.VsopLevelB});
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
  CompleteObserverRecord(siderealFlag, TheorySelection, TableConfig, Accuracy.VsopLevelA, Observer, settings);
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
        rechnen(RiseSet.MoonOption, settings, Accuracy.VsopLevelA);
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
  TRowValues v;
  v.R = &r;
  v.EventLevel = TRiseSetBlock::kBodyLevel;
  for (const TOverviewColumn& c : kColumns) {
    const TColumnDescriptor& column = CatalogueColumn(c.Row);
    if (column.Group != 0 && !ColumnOn(column.Group)) continue;
    // Flag 4 asks for the date alone.
    const bool on = column.Flag == cf::kDateOnly ? !ColumnOn(cf::kDateOnly) : ColumnOn(column.Flag);
    if (!on) continue;
    if (heading) {
      WriteCatalogueCell(sink, column, v, true);
      continue;
    }
    const TColumnDescriptor& d = moon && c.MoonRow != 0 ? CatalogueColumn(c.MoonRow) : column;
    const int col = OutputColumn++;
    const double value = c.OwnValue != nullptr ? c.OwnValue(r) : d.Value(v);
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
        empty = !r.RiseSet.HasTransit();
        break;
      case TRule::NotSun:
        empty = position == 0;
        break;
    }
    if (empty) {
      if (sink.IsGrid()) sink.Text(row, col, "");
      continue;
    }
    sink.Value(d.Family, row, col, d.Slot, value, d.Text != nullptr ? d.Text(v) : std::string());
  }
}

}  // namespace kvx
