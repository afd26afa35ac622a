// Small dialogs that set instants in other ways than the date and time
// dialog: the period of a table as Julian dates ("Zeitraum und Schrittweite
// für Ephemeride"), a Julian date with zone ("Julianisches Datum"), a date
// with a UT clock time ("UT eingeben"), a date with a day fraction ("Datum
// mit Tagesbruchteil eingeben"), the Julian date of a day with fraction for
// copying, and the non-modal form that reads a column of Julian dates from
// the sheet into the main window's date list.
//
// Every field is checked when it is left and again on OK. A refusal shows its
// message, puts the shown values back and the focus on the field, and sets
// the error flag; a set error flag refuses the next close request once.
// Julian dates are days (JD = MJD + 2400000.5, MJD of UT). The fields are
// plain line edits with the checks of setup/entry_checks.h.
#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/observer_record.h"
#include "core/table_step.h"
#include "platform/qt/widget_forward.h"

namespace kvx {

namespace workbook {
class TWorkbook;
}

// A dialog whose error flag refuses one close request.
class TCheckedDialog : public QDialog {
  Q_OBJECT

 public:
  using QDialog::QDialog;
  bool Error = false;
  void reject() override;

 protected:
  // Runs the checks of OK; false keeps the dialog open.
  virtual bool CheckAll() = 0;
  void accept() override;
  // Shows the message through `show`, sets the error flag and returns the
  // focus to `field`.
  void Refuse(QLineEdit* field, const std::function<void()>& show);
};

class TZeitraumJDDlg : public TCheckedDialog {
  Q_OBJECT

 public:
  TZeitraumJDDlg(TObserverRecord& start, TObserverRecord& end, TTableStep& step, QWidget* owner);

 protected:
  bool CheckAll() override;

 private:
  bool CheckStart() { return CheckDate(startEdit_, start_, false); }
  bool CheckEnd() { return CheckDate(endEdit_, end_, true); }
  // The Julian date of `edit` into `record` (blank: kept); refused with the
  // range message of the start or the end date.
  bool CheckDate(QLineEdit* edit, TObserverRecord& record, bool end);
  bool CheckInterval();
  void ShowValues();

  TObserverRecord& start_;
  TObserverRecord& end_;
  TTableStep& step_;
  // The texts start, end and interval were shown as: left as they are, the
  // values stay exact (the fields show fewer decimals than they hold).
  QString shown_[3];
  QLineEdit* startEdit_;
  QLineEdit* endEdit_;
  QLineEdit* intervalEdit_;
};

class TJDForm : public TCheckedDialog {
  Q_OBJECT

 public:
  TJDForm(double& mjd, std::int32_t& zone, std::int32_t& zoneMinutes, QWidget* owner);

 protected:
  bool CheckAll() override;

 private:
  bool CheckJulianDate();
  double& mjd_;
  // The text the date was shown as: left as it is, it keeps the exact date
  // (the field shows fewer decimals than the date holds).
  QString shown_;
  std::int32_t& zone_;
  std::int32_t& zoneMinutes_;
  QLineEdit* edit1_;
  QSpinBox* zoneEdit_;
  QSpinBox* minutesEdit_;
};

class TUTForm : public TCheckedDialog {
  Q_OBJECT

 public:
  TUTForm(TObserverRecord& record, QWidget* owner);

 protected:
  bool CheckAll() override;

 private:
  bool CheckDate();
  bool CheckTime();
  void ShowValues();
  TObserverRecord& record_;
  // The UT date and time shown and read; the record takes them on OK when
  // one was entered.
  int day_ = 1, month_ = 1, year_ = 2000;
  double hours_ = 0;
  bool entered_ = false;
  QString dateShown_, timeShown_;
  QLineEdit* dateEdit_;
  QLineEdit* timeEdit_;
};

class TTagbrForm : public TCheckedDialog {
  Q_OBJECT

 public:
  explicit TTagbrForm(TUniversalDay& day, QWidget* owner);

 protected:
  bool CheckAll() override;

 private:
  bool CheckYear();
  bool CheckMonth();
  bool CheckDay();
  void ShowValues();
  TUniversalDay& day_;
  QString dayShown_;  // the day's text as shown or last read
  QLineEdit* yearEdit_;
  QLineEdit* monthEdit_;
  QLineEdit* dayEdit_;
};

// Shows the Julian date of a day with fraction (four decimals) for copying.
class TTagesbranzeige : public QDialog {
  Q_OBJECT

 public:
  TTagesbranzeige(double jd, QWidget* owner);
};

// The date-list form: kept by the main window and shown without waiting.
class TFrmJDListe : public QDialog {
  Q_OBJECT

 public:
  TFrmJDListe(const workbook::TWorkbook& sheet, QWidget* owner);
  // The main window's list of date texts and its list mode byte (1: the next
  // table runs over the list).
  void Attach(std::vector<std::string>& list, std::uint8_t& listMode);
  void ReadValues();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Refill();
  const workbook::TWorkbook& sheet_;
  std::vector<std::string>* list_ = nullptr;
  std::uint8_t* listMode_ = nullptr;
  QLabel* hint_;
  QListWidget* listBox_;
};

// Period as Julian dates: start and end MJD, step days. Written back only on
// OK; OK also clears `listMode` when given. Returns 1 for OK, 2 for Cancel.
int ShowPeriodJDDialog(TObserverRecord& start, TObserverRecord& end, TTableStep& step, std::uint8_t* listMode = nullptr,
                       QWidget* owner = nullptr);
// Julian date with zone and extra minutes; true after OK (values written
// back; `modeFlag` cleared when given).
bool ShowJulianDateDialog(bool showHints, double& mjd, std::int32_t& zone, std::int32_t& zoneMinutes,
                          std::uint8_t* modeFlag = nullptr, QWidget* owner = nullptr);
// The UT date and time of the record's instant (Mjd), 0 <= h < 24. 1 after
// OK: a UT date or time typed is the record's instant (Mjd, UTHours, the
// local date and time in its zone); left as shown, the record is as it was.
// Else 2, the record untouched.
int ShowUTInputDialog(bool showHints, TObserverRecord& record, QWidget* owner = nullptr);
// A UT day with fraction ("Tag und Bruchteil (UT)"): year, month and the day
// of the month with the time of day as its fraction. 1 after OK (`day`
// takes what was entered; a day whose text was left as shown keeps every
// digit it was given with), else 2 and `day` unchanged.
int ShowDayFractionDialog(bool showHints, TUniversalDay& day, QWidget* owner = nullptr);
// 1 for "Übernehmen"/"Apply", 2 for OK.
int ShowDayFractionJulianDate(bool showHints, double jd, QWidget* owner = nullptr);
// Shows the kept form on the main window's list (non-modal).
void ShowJulianDateListForm(TFrmJDListe& form, std::vector<std::string>& list, std::uint8_t& listMode);

}  // namespace kvx
