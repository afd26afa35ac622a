#include "setup/ui/time_entry_dialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/input_checks.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "platform/globals.h"
#include "platform/help.h"
#include "platform/messages.h"
#include "platform/qt/dialog_buttons.h"
#include "platform/qt/dialog_rows.h"
#include "platform/qt/named_widgets.h"
#include "platform/workbook/workbook.h"
#include "setup/entry_checks.h"
#include "setup/julian_date_cells.h"

namespace kvx {

namespace {

QString Tr(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

constexpr double kMjdOffset = 2400000.5;

QString Fixed(double value, int decimals) {
  return QString::number(value, 'f', decimals).replace('.', QChar(IntlSeparators.Decimal));
}

QLineEdit* Edit(QWidget* parent, const char* name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  return edit;
}

// OK and Cancel (or Abbrechen) in a row.
QHBoxLayout* OkCancelRow(QDialog* dialog) {
  return MakeOkCancelRow(dialog, "ok", "cancel", Tr("&Abbrechen", "&Cancel")).Row;
}

// Copy: select the field's text and put it on the clipboard. Paste: replace
// the text by the clipboard's and check it as if the field was left.
void AddCopyPaste(QDialog* dialog, QGridLayout* grid, int row, QLineEdit* field, const QString& copyCaption,
                  const QString& pasteCaption, const std::function<void()>& check) {
  const QString base = field->objectName();
  auto* copy = NamedButton(dialog, copyCaption, (base + "Copy").toLatin1().constData());
  auto* paste = NamedButton(dialog, pasteCaption, (base + "Paste").toLatin1().constData());
  grid->addWidget(copy, row, 2);
  grid->addWidget(paste, row, 3);
  QObject::connect(copy, &QPushButton::clicked, dialog, [field] {
    field->selectAll();
    QApplication::clipboard()->setText(field->text());
  });
  QObject::connect(paste, &QPushButton::clicked, dialog, [field, check] {
    field->selectAll();
    field->setText(QApplication::clipboard()->text().trimmed());
    check();
  });
}

bool Blank(const QLineEdit* field) { return field->text().trimmed().isEmpty(); }

}  // namespace

// --- TCheckedDialog ----------------------------------------------------------

void TCheckedDialog::accept() {
  if (Error) {  // a refusal when a field was left (OK may have taken the focus)
    Error = false;
    return;
  }
  if (!CheckAll()) {
    Error = false;
    return;
  }
  QDialog::accept();
}

void TCheckedDialog::reject() {
  Error = false;
  QDialog::reject();
}

void TCheckedDialog::Refuse(QLineEdit* field, const std::function<void()>& show) {
  QApplication::beep();
  show();
  Error = true;
  field->setFocus();
}

// --- TZeitraumJDDlg ----------------------------------------------------------

TZeitraumJDDlg::TZeitraumJDDlg(TObserverRecord& start, TObserverRecord& end, TTableStep& step, QWidget* owner)
    : TCheckedDialog(owner), start_(start), end_(end), step_(step) {
  SetHelpContext(this, kHelpTopicJulianDate);
  setWindowTitle(Tr("Zeitraum und Schrittweite für Ephemeride", "Period for ephemerides"));
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  startEdit_ = Edit(this, "start");
  endEdit_ = Edit(this, "end");
  intervalEdit_ = Edit(this, "interval");
  AddCaptionedField(grid, 0, 0, Tr("Anfangsdatum:", "Startdate:"), startEdit_);
  AddCaptionedField(grid, 1, 0, Tr("Enddatum:", "Enddate:"), endEdit_);
  AddCaptionedField(grid, 2, 0, Tr("Intervall (Tage):", "Interval (days):"), intervalEdit_);
  AddCopyPaste(this, grid, 0, startEdit_, Tr("&Kopieren", "Co&py"), Tr("&Einfügen", "P&aste"),
               [this] { CheckStart(); });
  AddCopyPaste(this, grid, 1, endEdit_, Tr("Ko&pieren", "Cop&y"), Tr("E&infügen", "Pas&te"), [this] { CheckEnd(); });
  layout->addLayout(grid);
  layout->addLayout(OkCancelRow(this));
  connect(startEdit_, &QLineEdit::editingFinished, this, [this] { CheckStart(); });
  connect(endEdit_, &QLineEdit::editingFinished, this, [this] { CheckEnd(); });
  connect(intervalEdit_, &QLineEdit::editingFinished, this, [this] { CheckInterval(); });
  ShowValues();
}

void TZeitraumJDDlg::ShowValues() {
  shown_[0] = Fixed(start_.Mjd + kMjdOffset, 5);
  shown_[1] = Fixed(end_.Mjd + kMjdOffset, 5);
  shown_[2] = Fixed(step_.StepDays, 4);
  startEdit_->setText(shown_[0]);
  endEdit_->setText(shown_[1]);
  intervalEdit_->setText(shown_[2]);
}

bool TZeitraumJDDlg::CheckDate(QLineEdit* edit, TObserverRecord& record, bool end) {
  double jd = 0;
  if (Blank(edit)) return true;
  QString& shown = shown_[end ? 1 : 0];
  if (edit->text() == shown) return true;  // as shown: the date stays exact
  if (ParseEntryJulianDate(edit->text().toStdString(), jd)) {
    record.Mjd = jd - kMjdOffset;
    shown = edit->text();  // the date now is this text's
    return true;
  }
  Refuse(edit, [end] { ShowJulianDateRangeError(end); });
  return false;
}

bool TZeitraumJDDlg::CheckInterval() {
  double days = 0;
  if (Blank(intervalEdit_)) return true;
  if (intervalEdit_->text() == shown_[2]) return true;
  if (ParseTableInterval(intervalEdit_->text().toStdString(), days)) {
    step_.StepDays = days;
    shown_[2] = intervalEdit_->text();
    return true;
  }
  Refuse(intervalEdit_, ShowIntervalError);
  return false;
}

bool TZeitraumJDDlg::CheckAll() {
  if (!CheckStart() || !CheckEnd() || !CheckInterval()) return false;
  if (!(start_.Mjd < end_.Mjd)) {
    ShowEndBeforeStartError();
    return false;
  }
  return true;
}

// --- TJDForm -----------------------------------------------------------------

TJDForm::TJDForm(double& mjd, std::int32_t& zone, std::int32_t& zoneMinutes, QWidget* owner)
    : TCheckedDialog(owner), mjd_(mjd), zone_(zone), zoneMinutes_(zoneMinutes) {
  SetHelpContext(this, kHelpTopicJulianDate);
  setWindowTitle(Tr("Julianisches Datum", "Julian Date"));
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  edit1_ = Edit(this, "edit1");
  shown_ = Fixed(mjd + kMjdOffset, 5);
  edit1_->setText(shown_);
  AddCaptionedField(grid, 0, 0, Tr("Julianisches Datum:", "Julian Date:"), edit1_);
  AddCopyPaste(this, grid, 0, edit1_, Tr("Kopieren", "Copy"), Tr("&Einfügen", "&Paste"), [this] { CheckJulianDate(); });
  zoneEdit_ = NewSpinBox(this, "EditZeitzone", -12, 12);
  zoneEdit_->setValue(zone);
  minutesEdit_ = NewSpinBox(this, "SpinEdit1", -720, 720);  // as the date dialog's extra minutes
  minutesEdit_->setValue(zoneMinutes);
  AddCaptionedField(grid, 1, 0, Tr("Zeitzone:", "Time zone:"), zoneEdit_);
  AddCaptionedField(grid, 2, 0, Tr("Zusätzliche Minuten:", "Additional minutes:"), minutesEdit_);
  layout->addLayout(grid);
  layout->addLayout(OkCancelRow(this));
  connect(edit1_, &QLineEdit::editingFinished, this, [this] { CheckJulianDate(); });
  connect(zoneEdit_, &QSpinBox::valueChanged, this, [this](int v) { zone_ = v; });
  connect(minutesEdit_, &QSpinBox::valueChanged, this, [this](int v) { zoneMinutes_ = v; });
}

bool TJDForm::CheckJulianDate() {
  double jd = 0;
  if (Blank(edit1_)) return true;
  if (edit1_->text() == shown_) return true;  // untouched: the date stays exact
  if (ParseEntryJulianDate(edit1_->text().toStdString(), jd)) {
    mjd_ = jd - kMjdOffset;
    shown_ = edit1_->text();  // the date now is this text's
    return true;
  }
  Refuse(edit1_, [] { ShowJulianDateRangeError(false, true); });
  shown_ = Fixed(mjd_ + kMjdOffset, 5);
  edit1_->setText(shown_);
  return false;
}

bool TJDForm::CheckAll() { return CheckJulianDate(); }

// --- TUTForm -----------------------------------------------------------------

TUTForm::TUTForm(TObserverRecord& record, QWidget* owner) : TCheckedDialog(owner), record_(record) {
  MjdToCalendarDate(day_, month_, year_, hours_, record.Mjd);
  SetHelpContext(this, kHelpTopicJulianDate);
  setWindowTitle(Tr("UT eingeben", "Enter UT"));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  dateEdit_ = Edit(this, "EditDatum");
  timeEdit_ = Edit(this, "ID103");
  form->addRow(Tr("&Datum (UT):", "&Date (UT):"), dateEdit_);
  form->addRow(Tr("&UT:", "&UT:"), timeEdit_);
  layout->addLayout(form);
  layout->addLayout(OkCancelRow(this));
  connect(dateEdit_, &QLineEdit::editingFinished, this, [this] { CheckDate(); });
  connect(timeEdit_, &QLineEdit::editingFinished, this, [this] { CheckTime(); });
  ShowValues();
}

void TUTForm::ShowValues() {
  // day.month.year as the date edits show it, whatever the locale's short
  // date looks like: the text CheckDate reads back unchanged.
  char date[48];
  std::snprintf(date, sizeof date, "%d.%d.%s%04d", day_, month_, year_ < 0 ? "-" : "", std::abs(year_));
  dateShown_ = QString::fromLatin1(date);
  dateEdit_->setText(dateShown_);
  std::string time;
  HourToTimeStr(hours_, time);
  timeShown_ = QString::fromStdString(time);
  timeEdit_->setText(timeShown_);
}

bool TUTForm::CheckDate() {
  if (dateEdit_->text() == dateShown_) return true;
  std::int32_t day = 0, month = 0, year = 0;
  const bool read = ReadDateText(dateEdit_->text().toStdString(), day, month, year) && year >= kEarliestEntryYear &&
                    year <= kLatestEntryYear;
  if (read && DateExists(day, month, year)) {
    day_ = day;
    month_ = month;
    year_ = year;
    dateShown_ = dateEdit_->text();
    entered_ = true;
    return true;
  }
  if (read) {
    Refuse(dateEdit_, [day, month, year] { ShowImpossibleDate(day, month, year); });
  } else {
    Refuse(dateEdit_, [] {
      ShowMessage("Bitte ein gültiges Datum (Tag.Monat.Jahr, Jahr -4712 bis 20000) eingeben!",
                  "Please enter a valid date (day.month.year, year -4712 to 20000)!", MessageIcon::Error);
    });
  }
  ShowValues();
  return false;
}

bool TUTForm::CheckTime() {
  if (timeEdit_->text() == timeShown_) return true;
  double hours = 0;
  if (ParseClockText(timeEdit_->text().toStdString(), hours)) {
    hours_ = hours + 0.00000005;
    timeShown_ = timeEdit_->text();
    entered_ = true;
    return true;
  }
  Refuse(timeEdit_, [] {
    ShowMessage("Bitte eine Uhrzeit hh:mm:ss von 0:00:00 bis 23:59:59 eingeben!",
                "Please enter a time hh:mm:ss from 0:00:00 to 23:59:59!", MessageIcon::Error);
  });
  ShowValues();
  return false;
}

bool TUTForm::CheckAll() {
  if (!CheckDate() || !CheckTime()) return false;
  // Left as shown, the instant stays to the last digit.
  if (entered_) SetUniversalTime(record_, day_, month_, year_, hours_);
  return true;
}

// --- TTagbrForm --------------------------------------------------------------

TTagbrForm::TTagbrForm(TUniversalDay& day, QWidget* owner) : TCheckedDialog(owner), day_(day) {
  SetHelpContext(this, kHelpTopicJulianDate);
  setWindowTitle(Tr("Datum mit Tagesbruchteil eingeben", "Enter date with day fraction"));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  yearEdit_ = Edit(this, "ID101");
  monthEdit_ = Edit(this, "ID102");
  dayEdit_ = Edit(this, "ID103");
  form->addRow(Tr("&Jahr:", "&Year:"), yearEdit_);
  form->addRow(Tr("&Monat:", "&Month:"), monthEdit_);
  form->addRow(Tr("Tag und &Bruchteil (UT):", "Day and &fraction (UT):"), dayEdit_);
  layout->addLayout(form);
  layout->addLayout(OkCancelRow(this));
  connect(yearEdit_, &QLineEdit::editingFinished, this, [this] { CheckYear(); });
  connect(monthEdit_, &QLineEdit::editingFinished, this, [this] { CheckMonth(); });
  connect(dayEdit_, &QLineEdit::editingFinished, this, [this] { CheckDay(); });
  ShowValues();
}

void TTagbrForm::ShowValues() {
  yearEdit_->setText(QString::number(day_.Year));
  monthEdit_->setText(QString::number(day_.Month));
  dayShown_ = Fixed(day_.Day, 5);
  dayEdit_->setText(dayShown_);
}

bool TTagbrForm::CheckYear() {
  if (ParseEntryYear(yearEdit_->text().toStdString(), day_.Year)) return true;
  Refuse(yearEdit_, ShowEntryYearError);
  ShowValues();
  return false;
}

bool TTagbrForm::CheckMonth() {
  if (ParseEntryMonth(monthEdit_->text().toStdString(), day_.Month)) return true;
  Refuse(monthEdit_, ShowEntryMonthError);
  ShowValues();
  return false;
}

bool TTagbrForm::CheckDay() {
  if (Blank(dayEdit_)) return true;
  double day = 0;
  if (ParseDayWithFraction(dayEdit_->text().toStdString(), day_.Year, day_.Month, day)) {
    // The text as shown keeps the day to the last digit (it shows five
    // decimals); it is still read, so that it must lie in the month.
    if (dayEdit_->text() != dayShown_) {
      day_.Day = day;
      dayShown_ = dayEdit_->text();
    }
    return true;
  }
  QApplication::beep();
  ShowDayFractionError(day_.Year, day_.Month);
  Error = true;
  ShowValues();
  dayEdit_->setFocus();
  return false;
}

bool TTagbrForm::CheckAll() { return CheckYear() && CheckMonth() && CheckDay(); }

// --- TTagesbranzeige ---------------------------------------------------------

TTagesbranzeige::TTagesbranzeige(double jd, QWidget* owner) : QDialog(owner) {
  SetHelpContext(this, kHelpTopicJulianDate);
  setWindowTitle(Tr("Jul. Datum des Tagesbruchteils", "Julian Date of day with fraction"));
  auto* layout = new QVBoxLayout(this);
  auto* value = Edit(this, "julianDate");
  value->setReadOnly(true);
  value->setText(Fixed(jd, 4));
  layout->addWidget(value);
  auto* row = new QHBoxLayout;
  auto* copy = NamedButton(this, Tr("&Kopieren", "&Copy"), "copy");
  auto* apply = NamedButton(this, Tr("Ü&bernehmen", "&Apply"), "apply");
  auto* ok = NamedButton(this, Tr("&OK", "&OK"), "ok");
  ok->setDefault(true);
  for (QPushButton* button : {copy, apply, ok}) row->addWidget(button);
  layout->addLayout(row);
  connect(copy, &QPushButton::clicked, this, [value] {
    value->selectAll();
    QApplication::clipboard()->setText(value->text());
  });
  connect(apply, &QPushButton::clicked, this, [this] { done(1); });
  connect(ok, &QPushButton::clicked, this, [this] { done(2); });
}

// --- TFrmJDListe -------------------------------------------------------------

TFrmJDListe::TFrmJDListe(const workbook::TWorkbook& sheet, QWidget* owner) : QDialog(owner), sheet_(sheet) {
  setModal(false);
  SetHelpContext(this, kHelpTopicJulianDate);
  auto* layout = new QVBoxLayout(this);
  hint_ = new QLabel(this);
  layout->addWidget(hint_);
  listBox_ = NewNamed<QListWidget>("list", this);
  layout->addWidget(listBox_);
  auto* row = new QHBoxLayout;
  auto* read = NamedButton(this, QString(), "read");
  auto* clear = NamedButton(this, QString(), "clear");
  auto* ok = NamedButton(this, QStringLiteral("&OK"), "ok");
  auto* cancel = NamedButton(this, QString(), "cancel");
  for (QPushButton* button : {read, clear, ok, cancel}) row->addWidget(button);
  layout->addLayout(row);
  connect(read, &QPushButton::clicked, this, &TFrmJDListe::ReadValues);
  connect(clear, &QPushButton::clicked, this, [this] {
    if (list_ != nullptr) list_->clear();
    Refill();
  });
  connect(ok, &QPushButton::clicked, this, [this] {
    if (listMode_ != nullptr) *listMode_ = list_ != nullptr && !list_->empty() ? 1 : 0;
    close();
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::close);
}

void TFrmJDListe::Attach(std::vector<std::string>& list, std::uint8_t& listMode) {
  list_ = &list;
  listMode_ = &listMode;
  Refill();
}

void TFrmJDListe::showEvent(QShowEvent* event) {
  // The form outlives language switches: its texts are set on each showing.
  setWindowTitle(Tr("Julianische Daten aus Tabelle einlesen", "Read Julian Dates from sheet"));
  hint_->setText(
      Tr("Bitte die Zellen mit julianischen Daten markieren.", "Please select the cells with Julian Dates."));
  findChild<QPushButton*>("read")->setText(Tr("&Werte lesen", "&Read values"));
  findChild<QPushButton*>("clear")->setText(Tr("&Löschen", "&Delete"));
  findChild<QPushButton*>("cancel")->setText(Tr("&Abbruch", "&Cancel"));
  QDialog::showEvent(event);
  ReadValues();
}

void TFrmJDListe::ReadValues() {
  if (list_ == nullptr) return;
  ReadJulianDateColumn(sheet_, *list_);
  Refill();
}

void TFrmJDListe::Refill() {
  listBox_->clear();
  if (list_ == nullptr) return;
  for (const std::string& text : *list_) listBox_->addItem(QString::fromStdString(text));
}

// --- Openers -----------------------------------------------------------------

int ShowPeriodJDDialog(TObserverRecord& start, TObserverRecord& end, TTableStep& step, std::uint8_t* listMode,
                       QWidget* owner) {
  TObserverRecord startCopy = start, endCopy = end;
  TTableStep stepCopy = step;
  TZeitraumJDDlg dialog(startCopy, endCopy, stepCopy, owner);
  if (dialog.exec() != QDialog::Accepted) return 2;
  start = startCopy;
  end = endCopy;
  step = stepCopy;
  if (listMode != nullptr) *listMode = 0;
  return 1;
}

bool ShowJulianDateDialog(bool showHints, double& mjd, std::int32_t& zone, std::int32_t& zoneMinutes,
                          std::uint8_t* modeFlag, QWidget* owner) {
  double mjdCopy = mjd;
  std::int32_t zoneCopy = zone, minutesCopy = zoneMinutes;
  TJDForm dialog(mjdCopy, zoneCopy, minutesCopy, owner);
  dialog.setToolTipDuration(showHints ? -1 : 0);
  if (dialog.exec() != QDialog::Accepted) return false;
  mjd = mjdCopy;
  zone = zoneCopy;
  zoneMinutes = minutesCopy;
  if (modeFlag != nullptr) *modeFlag = 0;
  return true;
}

int ShowUTInputDialog(bool showHints, TObserverRecord& record, QWidget* owner) {
  TObserverRecord copy = record;
  TUTForm dialog(copy, owner);
  dialog.setToolTipDuration(showHints ? -1 : 0);
  if (dialog.exec() != QDialog::Accepted) return 2;
  record = copy;
  return 1;
}

int ShowDayFractionDialog(bool showHints, TUniversalDay& day, QWidget* owner) {
  TUniversalDay entered = day;
  TTagbrForm dialog(entered, owner);
  dialog.setToolTipDuration(showHints ? -1 : 0);
  if (dialog.exec() != QDialog::Accepted) return 2;
  day = entered;
  return 1;
}

int ShowDayFractionJulianDate(bool showHints, double jd, QWidget* owner) {
  TTagesbranzeige dialog(jd, owner);
  dialog.setToolTipDuration(showHints ? -1 : 0);
  const int result = dialog.exec();
  return result == 1 ? 1 : 2;
}

void ShowJulianDateListForm(TFrmJDListe& form, std::vector<std::string>& list, std::uint8_t& listMode) {
  form.Attach(list, listMode);
  form.show();
  form.raise();
}

}  // namespace kvx
