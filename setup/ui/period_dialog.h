// The period dialog: start and end of an ephemeris table (or an end a
// number of days and hours after the start), the step between two rows,
// and the solar-eclipse search settings. Created once and reused; the
// caller's values change only after OK.
//
// Times are local civil time with the zone in whole hours east positive
// plus extra minutes; the end record's automatic length is whole days and
// packed H.MMSS hours; the step is whole days and decimal hours.
#pragma once

#include <QDialog>
#include <cstdint>

#include "core/observer_record.h"
#include "core/table_step.h"
#include "platform/qt/widget_forward.h"

namespace kvx {

class TAstroDatumEdit;
class TEditUhrzeithms;
class TIntegerEdit;

class Tzeitraumform : public QDialog {
  Q_OBJECT

 public:
  explicit Tzeitraumform(QWidget* parent = nullptr);

  // Working copies; shown by Activate.
  TObserverRecord Start;
  TObserverRecord End;
  TTableStep Step;
  std::int32_t EclipseInterval = 5;  // minutes
  std::int32_t EclipseSpan = 8;      // hours around new Moon
  std::int32_t PhaseMinutes = 1;
  std::int32_t PhaseSeconds = 0;
  std::uint8_t ErrorByte = 0;

  // Captions by the language and every field from the working copies.
  void Activate();
  // The whole chain of checks in its order; false at the first refusal
  // (its message shown, the error byte set).
  bool ValidateAll();

 public slots:
  void accept() override;
  void reject() override;

 private:
  // The date edit of `prefix` ("Start", "End") in `group` with its day, month
  // and year boxes (into `spins`), each following the other.
  QLineEdit* BuildDateEdit(QWidget* group, const QString& prefix, QSpinBox** spins);
  // The names, refusals (German, English) and captions of a length entered
  // as whole days and a time of day.
  struct TDaysHoursTexts {
    const char* DaysName;
    const char* DaysRefusal[2];
    const char* DaysCaption[2];
    const char* HoursName;
    const char* HoursRefusal[2];
    const char* HoursCaption[2];
  };
  // The days edit, the hours edit and the captions after each (`labels`),
  // children of `group`; a days entry accepted runs `check` after setting
  // the hours to 1 when both would be 0.
  void BuildDaysHours(QWidget* group, const TDaysHoursTexts& texts, TIntegerEdit*& days, TEditUhrzeithms*& hours,
                      QLabel* (&labels)[2], bool (Tzeitraumform::*check)());
  QWidget* BuildStartGroup();
  QWidget* BuildEndGroup();
  QWidget* BuildStepGroup();
  QWidget* BuildEclipseGroup();
  void ApplyAutoEnd();
  // With the automatic end on: the greyed end date and time show the end
  // that the start, zone and length give as they stand, typed or not.
  void ShowAutomaticEnd();
  void Refuse(const char* german, const char* english);
  // The readers of the checks: each refuses a bad entry (message shown,
  // error byte set) and returns false, leaving `value` as it was.
  bool ReadTime(TEditUhrzeithms* edit);
  // A whole number >= 0.
  bool ReadCount(const QLineEdit* edit, const char* german, const char* english, std::int32_t& value);
  // A whole number within lowest..highest.
  bool ReadWholeNumber(const QLineEdit* edit, int lowest, int highest, const char* german, const char* english,
                       std::int32_t& value);
  bool CheckDate(QLineEdit* edit, TObserverRecord& r, bool end);
  bool CheckTime(TEditUhrzeithms* edit, TObserverRecord& r, bool end);
  bool CheckStepHours();
  bool CheckStepDays();
  bool CheckAutoDays();
  bool CheckAutoHours();
  bool CheckZone();
  bool CheckEclipseInterval();
  bool CheckEclipseSpan();
  bool CheckStepWhole();
  bool CheckPeriod();
  void ZeroHourUT(TObserverRecord& r, TEditUhrzeithms* edit);
  void SetStep(std::int32_t days, double hours);
  void MirrorDateToSpins(QLineEdit* edit, QSpinBox* const* spins);
  void MirrorSpinsToDate(QLineEdit* edit, QSpinBox* const* spins);
  void MirrorTimeToSpins();
  void LeaveField(bool (Tzeitraumform::*check)());

  bool checking_ = false;
  QPushButton* help_ = nullptr;  // "&Hilfe", shown in German only
  QLineEdit* start_date_ = nullptr;
  QLineEdit* end_date_ = nullptr;
  QString end_date_shown_;              // the end date as Activate or the automatic end showed it
  QSpinBox* start_date_spins_[3] = {};  // day, month, year
  QSpinBox* end_date_spins_[3] = {};
  QSpinBox* start_time_spins_[3] = {};  // hours, minutes, seconds
  TEditUhrzeithms* start_time_ = nullptr;
  TEditUhrzeithms* end_time_ = nullptr;
  TIntegerEdit* zone_ = nullptr;
  TIntegerEdit* extra_minutes_ = nullptr;
  QCheckBox* auto_end_ = nullptr;
  TIntegerEdit* auto_days_ = nullptr;
  TEditUhrzeithms* auto_hours_ = nullptr;
  TIntegerEdit* step_days_ = nullptr;
  TEditUhrzeithms* step_hours_ = nullptr;
  TIntegerEdit* eclipse_interval_ = nullptr;
  TIntegerEdit* eclipse_span_ = nullptr;
  QSpinBox* phase_minutes_ = nullptr;
  QSpinBox* phase_seconds_ = nullptr;
};

// Shows the dialog on the caller's values; on OK (result 1) copies them
// back (a phase-table step of 0 min 0 s comes back as 1 min). Returns the
// modal result.
int ShowPeriodDialog(std::int32_t& phaseMinutes, std::int32_t& phaseSeconds, TObserverRecord& start,
                     TObserverRecord& end, std::int32_t& eclipseInterval, std::int32_t& eclipseSpan, TTableStep& step);
// The dialog ShowPeriodDialog uses (created on first use, kept for the run).
Tzeitraumform& PeriodDialog();

}  // namespace kvx
