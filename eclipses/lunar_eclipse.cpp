#include "eclipses/lunar_eclipse.h"

#include <algorithm>
#include <cmath>

#include "core/angle_constants.h"
#include "core/column_flags.h"
#include "core/data_format_slots.h"
#include "core/frames.h"
#include "core/input_checks.h"
#include "core/time_scales.h"
#include "engine/moon.h"
#include "engine/table_sink.h"
#include "platform/globals.h"
#include "platform/progress.h"
#include "theories/observer_completion.h"

namespace kvx {

namespace {

double SinD(double x) { return std::sin(x * kDegToRad); }
double CosD(double x) { return std::cos(x * kDegToRad); }

// Lunations per Julian century (T = k / 1236.85).
constexpr double kLunationsPerCentury = 1236.85;
// Mean synodic month, days, and the mean new moon of lunation 0 (JDE).
constexpr double kSynodicMonth = 29.530588853;
constexpr double kLunationZeroJde = 2451550.09765;
// Delta T divides by 86370 s in the search's look-back target: a long-kept
// value; 30 s over a day change the target by under a second.
constexpr double kLookBackSecondsPerDay = 86370.0;
constexpr double kLookBackDays = 10.0;

double MeanPhaseJde(double k) {
  const double T = k / kLunationsPerCentury;
  return kLunationZeroJde + kSynodicMonth * k + T * T * (0.0001337 + T * (-1.5e-7 + T * 7.3e-10));
}

// Half-duration (minutes) of the phase whose shadow edge lies at h Earth
// radii from the axis; 0 when the Moon's centre never reaches it.
double HalfDuration(double h, double gamma, double n) {
  const double d = h * h - gamma * gamma;
  return d > 0 ? 60.0 / n * std::sqrt(d) : 0.0;
}

// The Moon at one instant: only its topocentric place and altitude (no
// rise and set, no physical ephemeris).
class TEclipseMoon : public Tmond {
 public:
  using Tmond::Tmond;
  void rechnen(TComputeSettingsBlock settings) override { PlaceAndHorizon(settings); }
};

}  // namespace

// --- the series ---------------------------------------------------------------------

double LunarEclipseStartLunation(double mjd) {
  const double years = (MjdToJd(mjd) - 2451545.0) / 365.25;
  // One lunation more than the plain count, so that the periodic terms
  // (up to half a day) and the ten-day look-back never put the first
  // candidate after the target.
  return std::floor(years * 12.3685) - 2.5;
}

TLunarEclipseElements LunarEclipseOfLunation(double k) {
  TLunarEclipseElements e;
  e.K = k;
  e.Jde = MeanPhaseJde(k);
  const double T = k / kLunationsPerCentury;
  const double T2 = T * T, T3 = T2 * T, T4 = T3 * T;
  const double E = 1 - 0.002516 * T - 7.4e-6 * T2;
  const double M = 2.5534 + 29.10535669 * k - 2.18e-5 * T2 - 1.1e-7 * T3;
  const double Mp = 201.5643 + 385.81693528 * k + 0.0107438 * T2 + 1.239e-5 * T3 - 5.8e-8 * T4;
  const double F = 160.7108 + 390.67050274 * k - 0.0016341 * T2 - 2.27e-6 * T3 + 1.1e-8 * T4;
  const double Omega = 124.7746 - 1.5637558 * k + 0.0020691 * T2 + 2.15e-6 * T3;
  if (std::fabs(SinD(F)) > 0.36) return e;
  const double F1 = F - 0.02665 * SinD(Omega);
  const double A1 = 299.77 + 0.107408 * k - 0.009173 * T2;

  e.Jde += -0.4065 * SinD(Mp) + 0.1727 * E * SinD(M) + 0.0161 * SinD(2 * Mp) - 0.0097 * SinD(2 * F1) +
           0.0073 * E * SinD(Mp - M) - 0.0050 * E * SinD(Mp + M) - 0.0023 * SinD(Mp - 2 * F1) +
           0.0021 * E * SinD(2 * M) + 0.0012 * SinD(Mp + 2 * F1) + 0.0006 * E * SinD(2 * Mp + M) -
           0.0004 * SinD(3 * Mp) - 0.0003 * E * SinD(M + 2 * F1) + 0.0003 * SinD(A1) - 0.0002 * E * SinD(M - 2 * F1) -
           0.0002 * E * SinD(2 * Mp - M) - 0.0002 * SinD(Omega);

  const double P = 0.2070 * E * SinD(M) + 0.0024 * E * SinD(2 * M) - 0.0392 * SinD(Mp) + 0.0116 * SinD(2 * Mp) -
                   0.0073 * E * SinD(Mp + M) + 0.0067 * E * SinD(Mp - M) + 0.0118 * SinD(2 * F1);
  const double Q = 5.2207 - 0.0048 * E * CosD(M) + 0.0020 * E * CosD(2 * M) - 0.3299 * CosD(Mp) -
                   0.0060 * E * CosD(Mp + M) + 0.0041 * E * CosD(Mp - M);
  const double W = std::fabs(CosD(F1));
  e.Gamma = (P * CosD(F1) + Q * SinD(F1)) * (1 - 0.0048 * W);
  e.U = 0.0059 + 0.0046 * E * CosD(M) - 0.0182 * CosD(Mp) + 0.0004 * CosD(2 * Mp) - 0.0005 * CosD(M + Mp);

  const double g = std::fabs(e.Gamma);
  e.PenumbralMagnitude = (kPenumbraLimit + e.U - g) / kMoonDiameterInEarthRadii;
  e.UmbralMagnitude = (kUmbraLimit - e.U - g) / kMoonDiameterInEarthRadii;
  if (e.PenumbralMagnitude > 0) e.Kind = kLunarEclipsePenumbral;
  if (e.UmbralMagnitude > 0) e.Kind = kLunarEclipseUmbral;
  if (e.Kind == kLunarEclipseNone) return e;

  e.PenumbraRadius = (1.2985 + e.U) * kEarthRadiiPerMoonRadius;
  e.UmbraRadius = e.Kind == kLunarEclipseUmbral ? (0.7432 - e.U) * kEarthRadiiPerMoonRadius : 0.0;
  const double n = 0.5458 + 0.04 * CosD(Mp);
  e.PartialHalfMinutes = HalfDuration(kUmbraLimit - e.U, e.Gamma, n);
  e.TotalHalfMinutes = HalfDuration(kTotalityLimit - e.U, e.Gamma, n);
  e.PenumbralHalfMinutes = HalfDuration(kPenumbraLimit + e.U, e.Gamma, n);
  return e;
}

TLunarEclipseElements NextLunarEclipse(double k, double targetJde) {
  // Whole lunations to the last full moon before the target, then one by one.
  while (MeanPhaseJde(k + 1) <= targetJde - 1) k += 1;
  for (;;) {
    k += 1;
    if (MeanPhaseJde(k) <= targetJde) continue;
    TLunarEclipseElements e = LunarEclipseOfLunation(k);
    if (e.Kind != kLunarEclipseNone) return e;
  }
}

std::int32_t ClampLunarMinimumAltitude(std::int32_t degrees) { return std::clamp(degrees, -90, 90); }

// --- the event list -------------------------------------------------------------------

int TLunarEclipseList::EventCount() const {
  return static_cast<int>(std::count_if(Lines.begin(), Lines.end(), [](const auto& l) { return !l.IsMagnitude; }));
}

const char* LunarEclipseLabel(int line, std::uint8_t english) {
  static constexpr const char* kLabels[8][2] = {
      {"Erster Kontakt mit dem Halbschatten: ", "First contact with the penumbra: "},
      {"Anfang der partiellen Phase: ", "Begin of partial phase: "},
      {"Anfang der totalen Phase: ", "Begin of total phase: "},
      {"Maximum der Finsternis: ", "Maximum of the eclipse: "},
      {"Ende der totalen Phase: ", "End of total phase: "},
      {"Ende der partiellen Phase: ", "End of partial phase: "},
      {"Letzter Kontakt mit dem Halbschatten: ", "Last contact with the penumbra: "},
      {"Größe der Finsternis: ", "Size of eclipse: "},
  };
  if (line < 0 || line > 7) return "";
  return kLabels[line][english != 0 ? 1 : 0];
}

TEclipseSky::TEclipseSky(const TSearchContext& context, const TTableConfigRecord& config,
                         const TObserverRecord& observer)
    : context_(context),
      config_(config),
      moon_(std::make_unique<TEclipseMoon>(context.MoonCache, context.MoonOption, context.Body, context.Selection, 0,
                                           config, observer, TAccuracySettings{1e-10L, context.VsopLevelA, 10})) {}

TEclipseSky::~TEclipseSky() = default;

void TEclipseSky::At(TObserverRecord& r, double& moonAltitude, double& sunAltitude) {
  UTToLocalTime(r);
  CompleteObserverRecord(context_.Sidereal, context_.Selection, TTableConfigRecord{}, context_.VsopLevelA, r,
                         context_.Settings);
  moon_->initialisieren(context_.MoonCache, context_.MoonOption, context_.Body, context_.Selection, config_, r,
                        {1e-10L, context_.VsopLevelA, 10});
  moon_->rechnen(context_.Settings);
  moonAltitude = moon_->Result.Altitude;
  double hourAngle = 0, azimuth = 0;
  EquatorialToHorizontal(r.RefractionOn != 0, hourAngle, sunAltitude, r.SiderealHours, r.Latitude, r.SunApparentRA,
                         r.SunApparentDec, r.Pressure, r.Temperature, azimuth);
}

TMondfinsternisformular::TMondfinsternisformular(const TSearchContext& context, const TTableConfigRecord& config,
                                                 const TObserverRecord& observer, const TLunarEclipseElements& eclipse,
                                                 const TLunarEclipseCriteria& criteria)
    : context_(context), config_(config), observer_(observer), eclipse_(eclipse), criteria_(criteria) {}

void TMondfinsternisformular::FormActivate(TLunarEclipseList& list) {
  list.Lines.clear();
  list.Eclipse = eclipse_;
  list.Visible = false;
  const double maximumMjd = JdToMjd(eclipse_.Jde) - observer_.DeltaTSeconds / 86400.0;
  // Offsets (minutes) of the seven events; a phase that does not occur is
  // left out.
  const bool umbral = eclipse_.Kind == kLunarEclipseUmbral;
  const bool total = umbral && eclipse_.TotalHalfMinutes > 0;
  const struct {
    bool present;
    double minutes;
  } events[7] = {
      {true, -eclipse_.PenumbralHalfMinutes}, {umbral, -eclipse_.PartialHalfMinutes},
      {total, -eclipse_.TotalHalfMinutes},    {true, 0.0},
      {total, eclipse_.TotalHalfMinutes},     {umbral, eclipse_.PartialHalfMinutes},
      {true, eclipse_.PenumbralHalfMinutes},
  };
  TEclipseSky sky(context_, config_, observer_);
  for (int i = 0; i < 7; ++i) {
    if (!events[i].present) continue;
    tmondfinsternisergebnis line;
    line.Label = LunarEclipseLabel(i, LanguageEnglish);
    line.Observer = observer_;
    line.Observer.Mjd = maximumMjd + events[i].minutes / 1440.0;
    sky.At(line.Observer, line.MoonAltitude, line.SunAltitude);
    if (criteria_.AltitudeCondition == 0 || line.MoonAltitude > criteria_.MinimumAltitude) list.Visible = true;
    list.Lines.push_back(std::move(line));
  }
  tmondfinsternisergebnis magnitude;
  magnitude.Label = LunarEclipseLabel(7, LanguageEnglish);
  magnitude.Observer = observer_;
  magnitude.Observer.Mjd = maximumMjd;
  magnitude.IsMagnitude = true;
  magnitude.Magnitude = umbral ? eclipse_.UmbralMagnitude : eclipse_.PenumbralMagnitude;
  list.Lines.push_back(std::move(magnitude));
}

// --- the search -----------------------------------------------------------------------

int FindLunarEclipse(const TSearchContext& context, TLunarEclipseList& list, TObserverRecord& record, bool listEvents,
                     double& umbraRadius, double& penumbraRadius, const TTableConfigRecord& config,
                     const TLunarEclipseCriteria& criteria) {
  const double target = MjdToJd(record.Mjd) - kLookBackDays + record.DeltaTSeconds / kLookBackSecondsPerDay;
  const TLunarEclipseElements e = NextLunarEclipse(LunarEclipseStartLunation(record.Mjd), target);
  umbraRadius = e.UmbraRadius;
  penumbraRadius = e.PenumbraRadius;
  list.Eclipse = e;
  list.Lines.clear();
  list.Visible = false;
  // Greatest eclipse in UT, with Delta T of the eclipse's date when the
  // record follows the date.
  if (record.AutoDeltaT != 0) record.DeltaTSeconds = DeltaT(e.Jde);
  record.Mjd = JdToMjd(e.Jde) - record.DeltaTSeconds / 86400.0;
  UTToLocalTime(record);
  if (!listEvents) return 2;
  TMondfinsternisformular form(context, config, record, e, criteria);
  form.FormActivate(list);
  return 1;
}

// --- the writer ---------------------------------------------------------------------------

namespace {

constexpr int kMoonAltitudeSlot = 47;
constexpr int kMagnitudeSlot = 181;

bool KindRefused(const TLunarEclipseList& list, const TLunarEclipseCriteria& criteria) {
  const int lines = static_cast<int>(list.Lines.size());
  return (criteria.Kind == 1 && lines < 6) || (criteria.Kind == 2 && lines < 8);
}

}  // namespace

bool WriteLunarEclipseSheet(const TLunarEclipseList& list, TCellSink& sink, const TTableConfigRecord& config, int& row,
                            bool calendar, const TLunarEclipseCriteria& criteria) {
  if (list.Lines.empty()) return false;
  if (calendar && (!list.Visible || KindRefused(list, criteria))) {
    if (row > 1) --row;
    return false;
  }
  const bool jd = config.Flags[column_flag::kJulianDate] != 0;
  const int moonCol = jd ? 5 : 4;
  if (row <= 1) {
    row = 1;
    sink.Text(row, 1, LanguageEnglish != 0 ? "Lunar eclipse" : "Mondfinsternis");
    sink.Text(row, 3, config.ColumnTitles[kSlotTime]);
    sink.Width(3, kSlotTime);
    if (jd) {
      sink.Text(row, 4, config.ColumnTitles[kSlotJulianDay]);
      sink.Width(4, kSlotJulianDay);
    }
    sink.Text(row, moonCol, config.ColumnTitles[kMoonAltitudeSlot]);
    sink.Width(moonCol, kMoonAltitudeSlot);
    sink.Text(row, moonCol + 1, config.ColumnTitles[kSlotSunAltitude]);
    sink.Width(moonCol + 1, kSlotSunAltitude);
    ++row;
  }
  for (const tmondfinsternisergebnis& line : list.Lines) {
    sink.Text(row, 1, line.Label);
    if (line.IsMagnitude) {
      sink.Value(TCellFamily::Number, row, 2, kMagnitudeSlot, line.Magnitude);
    } else {
      const TObserverRecord& r = line.Observer;
      sink.Date(row, 2, kSlotDate, r.Year, r.Month, r.Day);
      sink.Value(TCellFamily::TimeOfDay, row, 3, kSlotTime, r.LocalHours);
      if (jd) sink.Value(TCellFamily::Number, row, 4, kSlotJulianDay, MjdToJd(r.Mjd));
      sink.Value(TCellFamily::Angle, row, moonCol, kMoonAltitudeSlot, line.MoonAltitude);
      sink.Value(TCellFamily::Angle, row, moonCol + 1, kSlotSunAltitude, line.SunAltitude);
    }
    ++row;
  }
  return true;
}

// --- the calendar ---------------------------------------------------------------------------

namespace {

const char* NoEclipsesText() { return LanguageEnglish != 0 ? "No eclipses found" : "Keine Finsternisse gefunden"; }

}  // namespace

int LunarEclipseCalendar(const TSearchContext& context, const TTableConfigRecord& config, const TObserverRecord& start,
                         const TObserverRecord& end, const TLunarEclipseCriteria& criteria, TCellSink& sink,
                         bool* cancelled) {
  AbortRequested = 0;
  if (cancelled != nullptr) *cancelled = false;
  std::vector<TLunarEclipseList> found;
  {
    const double span = std::max(end.Mjd - start.Mjd, 1.0);
    const int steps = static_cast<int>(std::min(span, 1e6));
    ProgressSession session(CurrentProgress(),
                            LanguageEnglish != 0 ? "Searching lunar eclipses" : "Suche Mondfinsternisse", steps);
    TObserverRecord working = start;
    working.Mjd = start.Mjd - 20.0;
    while (working.Mjd < end.Mjd) {
      working.Mjd += 20.0;
      TLunarEclipseList list;
      double umbra = 0, penumbra = 0;
      FindLunarEclipse(context, list, working, true, umbra, penumbra, config, criteria);
      // Only eclipses whose maximum lies within the period.
      if (working.Mjd >= start.Mjd && working.Mjd <= end.Mjd) found.push_back(std::move(list));
      session.Reporter().Step(static_cast<int>(std::clamp(working.Mjd - start.Mjd, 0.0, span) / span * steps));
      if (AbortRequested != 0) {
        AbortRequested = 0;
        if (cancelled != nullptr) *cancelled = true;
        break;
      }
    }
  }

  // The grid emptied, then two rows and columns (it grows as it is written).
  SizeGrid(sink, 1, 1);
  SizeGrid(sink, 2, 2);
  sink.Text(1, 1, NoEclipsesText());
  const bool jd = config.Flags[column_flag::kJulianDate] != 0;
  const int cols = jd ? 6 : 5;
  int row = 0;
  int written = 0;
  int lastRow = 1;
  for (const TLunarEclipseList& list : found) {
    if (row != 1) ++row;
    const bool shown = list.Visible && !KindRefused(list, criteria);
    if (shown && row + static_cast<int>(list.Lines.size()) > kLunarCalendarMaxRows) {
      ShowRowLimitReached();
      break;
    }
    if (WriteLunarEclipseSheet(list, sink, config, row, true, criteria)) {
      ++written;
      lastRow = row - 1;
    }
  }
  if (written > 0) SizeGrid(sink, lastRow + 1, cols + 1);
  return written;
}

}  // namespace kvx
