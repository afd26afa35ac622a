#include "engine/ephemeris_table.h"

#include <cmath>
#include <optional>

#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "engine/orbit_integration.h"
#include "engine/table_globals.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/progress.h"
#include "theories/observer_completion.h"

namespace kvx {

namespace {

// Progress runs from 0 to 100 whatever the number of rows.
constexpr int kProgressScale = 100;

// Progress increment per row for an estimate of `rows` rows.
double ProgressIncrement(double rows) {
  if (!(rows < kMaxProgressRows)) rows = kMaxProgressRows;  // also catches NaN
  if (rows < 1) rows = 1;
  return kProgressScale / std::floor(rows);
}

// Moves the bar only when its whole-percent position changes.
class ProgressPosition {
 public:
  ProgressPosition(ProgressReporter* progress, double increment) : progress_(progress), increment_(increment) {}
  void Row(int counter) {
    if (progress_ == nullptr) return;
    progress_->ProcessEvents();
    const int position = static_cast<int>(std::trunc(counter * increment_));
    if (position != last_) {
      last_ = position;
      progress_->Step(position);
    }
  }

 private:
  ProgressReporter* progress_;
  double increment_;
  int last_ = -1;
};

// True when a local time of day (hours, 0 <= h < 24) rounds to midnight
// at whole seconds.
bool AtLocalMidnight(double hours) {
  constexpr double kHalfSecondHours = 0.5 / 3600.0;
  return hours < kHalfSecondHours || hours > 24.0 - kHalfSecondHours;
}

}  // namespace

bool ParseDateListLine(const std::string& line, double& jd) {
  double value = 0;
  if (!ValReal(DecimalSepToDot(TrimBlanks(line)), value) || !std::isfinite(value)) return false;
  jd = value;
  return true;
}

TKeplereph::TKeplereph(const TTableRequest& request, TSheet* outputSheet, const TAsteroidElements& elements)
    : TKepler(BodySettingsOf(request), 0, request.Config, elements, request.Start, request.Accuracy),
      OutputSheet(outputSheet),
      OutputSettings(request.Output),
      DateListMode(request.DateListMode),
      JulianDateList(request.JulianDateList) {
  Stopped = 0;
  ProgressCaption =
      request.Language != 0 ? "Calculating ephemeris of the Asteroid" : "Berechne Ephemeride des Planetoiden";
  TKeplereph::initialisieren(request, elements);
}

void TKeplereph::TakePeriod(const TTableRequest& request) {
  TableConfig = request.Config;
  Observer = request.Start;
  PeriodStart = request.Start;
  PeriodEnd = request.End;
  Step = request.Step;
}

void TKeplereph::initialisieren(const TTableRequest& request, const TAsteroidElements& elements,
                                std::uint8_t databaseFlag, const std::string& name) {
  TakeRequest(request);
  ObjectName = name;
  DatabaseFlag = databaseFlag;
  BodyIndex = kBodyIndexAsteroid;
  FullComputation = 1;
  refusalShown_ = false;
  databaseRefused_ = false;
  if (databaseFlag == 0) {
    SetElements(elements);
    return;
  }
  if (!database_.Load(name)) {
    databaseRefused_ = true;
    return;
  }
  TObserverRecord instant = request.Start;
  LocalTimeToUT(instant);
  std::swap(Observer, instant);
  ReadAsteroidDatabaseRecord(name);
  std::swap(Observer, instant);
}

void TKeplereph::TakeRequest(const TTableRequest& request) {
  TakeRecords(BodySettingsOf(request), request.Config, request.Start, request.Accuracy);
  TakePeriod(request);
  TheorySelection = request.Selection;
  Rows = 0;
}

bool TKeplereph::ReadAsteroidDatabaseRecord(const std::string& fileName) {
  if (!database_.Loaded() || database_.Path() != fileName) return false;
  SetElements(database_.ElementsFor(MjdToJd(Observer.Mjd)));
  PerihelionDistance = 0;
  return true;
}

void TKeplereph::rechnen(TComputeSettingsBlock settings) {
  settings_ = settings;
  if (DatabaseFlag != 0 && !ReadAsteroidDatabaseRecord(ObjectName)) return;
  if (!CheckElements()) return;
  OrbitPlaces(settings);
  if (ColumnOn(column_flag::kSummaryTopocentric)) {
    topozentr();
    horizont();
    Aufgang_untergang(TRiseSetBlock::kBodyLevel);
  }
  if (ColumnOn(column_flag::kSummaryPhysical)) physischeEphemeride();
}

void TKeplereph::paint(std::uint8_t toSheet) {
  if (toSheet != 0) {
    paintdms();
  } else {
    paintdms_grid();
  }
}

bool TKeplereph::TimeOfDayColumnOn() const {
  if (!ColumnOn(column_flag::kDateOnly)) return true;
  if (DateListMode != 0) return ListedTimeOfDay;
  return Step.StepDays < 1.0 - 1e-9;
}

void TKeplereph::ShowTableProgress(std::uint8_t wholeTable, const std::string& name) {
  const bool english = Language != 0;
  std::string label;
  if (wholeTable != 0) {
    label = english ? "Formatting table" : "Tabelle wird formatiert";
  } else {
    label = (english ? "Formatting output for " : "Formatiere Ausgabe für ") + name;
  }
  CurrentProgress().SetLabel(label);
}

void TKeplereph::ComputeRow(TComputeSettingsBlock settings, std::uint8_t siderealFlag) {
  UTToLocalTime(Observer);
  CompleteObserverRecord(siderealFlag, TheorySelection, TableConfig, Accuracy.VsopLevelA, Observer, settings);
  rechnen(settings);
}

void TKeplereph::TakeRowInstant() {
  Result.JD = MjdToJd(Observer.Mjd);
  Result.Year = Observer.Year;
  Result.Month = Observer.Month;
  Result.Day = Observer.Day;
  Result.LocalHours = Observer.LocalHours;
  Result.LocalSiderealHours = Observer.SiderealHours;
}

void TKeplereph::FinishRow(int row, std::uint8_t siderealFlag, std::uint8_t show, bool withGst) {
  Result.Integrated = 0;
  Result.MagnitudeH = static_cast<float>(H);
  Result.MagnitudeG = static_cast<float>(G);
  TakeRowInstant();
  if (withGst) {
    Result.GreenwichSiderealHours = GreenwichSiderealTime(siderealFlag, Observer.Mjd);
    Result.GreenwichSiderealDegrees = GreenwichSiderealTimeDeg(siderealFlag, Observer.Mjd);
  }
  if (show != 0) {
    Result.Name.clear();
    RowStore.Store(row, Result);
  } else {
    Result.Name = Name;
  }
}

int TKeplereph::StepRowWorker(TComputeSettingsBlock settings, std::uint8_t siderealFlag, std::uint8_t show, double step,
                              ProgressReporter* progress) {
  // The end record is local time like the start: its UT bounds the loop.
  TObserverRecord end = PeriodEnd;
  LocalTimeToUT(end);
  ProgressPosition position(progress, ProgressIncrement((end.Mjd - Observer.Mjd) / step + 1));
  const double endJd = MjdToJd(end.Mjd);
  int counter = 0;
  do {
    position.Row(counter);
    if (AbortRequested != 0) break;
    ComputeRow(settings, siderealFlag);
    if (AbortRequested != 0) break;  // cut short: the row is not kept
    FinishRow(counter, siderealFlag, show, true);
    Observer.Mjd += step;
    ++counter;
  } while (MjdToJd(Observer.Mjd) <= endJd && counter < kMaxTableRows);
  return counter;
}

int TKeplereph::DateListRowWorker(TComputeSettingsBlock settings, std::uint8_t siderealFlag, std::uint8_t show,
                                  ProgressReporter* progress) {
  ProgressPosition position(progress, ProgressIncrement(static_cast<double>(JulianDateList.size())));
  int counter = 0;
  int line = 0;
  for (const std::string& text : JulianDateList) {
    position.Row(line++);
    double jd = 0;
    if (!ParseDateListLine(text, jd)) {
      ++SkippedDateLines;
      continue;
    }
    if (AbortRequested != 0) break;
    Observer.Mjd = JdToMjd(jd);
    ComputeRow(settings, siderealFlag);
    if (AbortRequested != 0) break;  // cut short: the row is not kept
    if (!AtLocalMidnight(Observer.LocalHours)) ListedTimeOfDay = true;
    FinishRow(counter, siderealFlag, show, false);
    ++counter;
    if (counter >= kMaxTableRows) break;
  }
  return counter;
}

void TKeplereph::schleife(TComputeSettingsBlock settings, std::uint8_t siderealFlag, std::uint8_t show) {
  Stopped = 0;
  AbortRequested = 0;
  Rows = 0;
  SkippedDateLines = 0;
  ListedTimeOfDay = false;
  if (databaseRefused_) return;  // the set-up has said why

  Observer = PeriodStart;
  LocalTimeToUT(Observer);
  if (DatabaseFlag != 0) ReadAsteroidDatabaseRecord(ObjectName);
  if (!CheckElements()) return;

  double step = Step.StepDays;
  if (DateListMode == 0) {
    if (!(step > 0) || !std::isfinite(step)) {
      ShowMessage("Die Schrittweite der Tabelle muss größer als 0 sein.",
                  "The step of the table must be greater than 0.", MessageIcon::Error);
      return;
    }
    if (step <= kOneSecondDays * (1.0 + 1e-9)) step += kHalfSecondDays;
  }

  int rows = 0;
  {
    std::optional<ProgressSession> session;
    if (show != 0) session.emplace(CurrentProgress(), ProgressCaption, kProgressScale);
    ProgressReporter* progress = session ? &session->Reporter() : nullptr;
    if (progress != nullptr) progress->Step(0);
    rows = DateListMode != 0 ? DateListRowWorker(settings, siderealFlag, show, progress)
                             : StepRowWorker(settings, siderealFlag, show, step, progress);
  }
  Rows = rows;
  if (AbortRequested != 0) Stopped = 1;
  AbortRequested = 0;

  if (SkippedDateLines == 1) {
    ShowMessage("1 Zeile der Datumsliste ist kein Julianisches Datum und wurde übersprungen.",
                "1 line of the date list is not a Julian date and was skipped.", MessageIcon::Warning);
  } else if (SkippedDateLines > 1) {
    const std::string count = std::to_string(SkippedDateLines);
    ShowMessage(count + " Zeilen der Datumsliste sind kein Julianisches Datum und wurden übersprungen.",
                count + " lines of the date list are not a Julian date and were skipped.", MessageIcon::Warning);
  }
}

void TKeplereph::RunOrbitIntegration(TComputeSettingsBlock settings, std::uint8_t siderealFlag, std::uint8_t show,
                                     long double span, std::uint8_t nameFlag) {
  IntegrateOrbitNumerically(settings, siderealFlag, TheorySelection, *this, Accuracy, show, span, nameFlag);
}

void TKeplereph::integriere(TComputeSettingsBlock settings, std::uint8_t siderealFlag, std::uint8_t show,
                            std::uint8_t nameFlag) {
  Stopped = 0;
  AbortRequested = 0;
  if (show != 0) Rows = 0;  // without show no row is kept and Rows stays
  Observer = PeriodStart;
  LocalTimeToUT(Observer);
  {
    std::optional<ProgressSession> session;
    long double span = 1.0L;
    if (show != 0) {
      session.emplace(CurrentProgress(), ProgressCaption, kProgressScale);
      session->Reporter().Step(0);
      span = static_cast<long double>(PeriodEnd.Mjd) - PeriodStart.Mjd;
    }
    RunOrbitIntegration(settings, siderealFlag, show, span, nameFlag);
  }
  if (AbortRequested != 0) Stopped = 1;
  AbortRequested = 0;
}

}  // namespace kvx
