#include "setup/ui/edit_controls.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <cmath>
#include <vector>

#include "core/input_checks.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "setup/edit_rules.h"
#include "setup/ui/dialog_owner.h"

namespace kvx {

namespace {

void ShowRefusal(const std::string& german, const std::string& english) {
  ShowMessage(german, english, MessageIcon::Error, MessageButtons::Ok, std::string{});
}

double TodayJd() {
  int day = 1, month = 1, year = 2000;
  double hours = 0;
  CurrentDateAndHours(day, month, year, hours);
  return CalendarDateToJd(day, month, year, 0.0);
}

bool IsControlKey(const QKeyEvent* event) {
  const int key = event->key();
  return event->text().isEmpty() || key == Qt::Key_Backspace || key == Qt::Key_Delete || key == Qt::Key_Tab ||
         key == Qt::Key_Backtab || key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape ||
         (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) != 0;
}

}  // namespace

namespace {
QPointer<QWidget> dialog_owner;
}  // namespace

void SetDialogOwner(QWidget* owner) { dialog_owner = owner; }
QWidget* DialogOwner() { return dialog_owner.data(); }

// --- integer and number boxes ---------------------------------------------------

TIntegerEdit::TIntegerEdit(QWidget* parent) : QLineEdit(parent) {
  connect(this, &QLineEdit::editingFinished, this, &TIntegerEdit::CheckFinishedText);
}

void TIntegerEdit::SetRefusal(const std::string& german, const std::string& english) {
  refusal_german_ = german;
  refusal_english_ = english;
}

void TIntegerEdit::SetAcceptedText(const QString& text) {
  accepted_ = text;
  setText(text);
}

bool TIntegerEdit::TextAcceptable(const QString& text) const { return IsIntegerText(text.toStdString()); }

char TIntegerEdit::FilterKey(char key) const { return IntegerKeyAllowed(key) ? key : '\0'; }

void TIntegerEdit::keyPressEvent(QKeyEvent* event) {
  if (IsControlKey(event)) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  const QString typed = event->text();
  if (typed.size() != 1 || typed[0].unicode() > 127) return;
  const char key = FilterKey(static_cast<char>(typed[0].unicode()));
  if (key == '\0') return;
  insert(QString(QChar(key)));
}

void TIntegerEdit::CheckFinishedText() {
  if (TextAcceptable(text())) {
    accepted_ = text();
    emit Accepted();
    return;
  }
  const QString previous = accepted_;
  setText(previous);
  ShowRefusal(refusal_german_, refusal_english_);
  emit Refused();
}

TFloatEdit::TFloatEdit(QWidget* parent) : TIntegerEdit(parent), separator_(IntlSeparators.Decimal) {
  SetRefusal("Bitte eine Zahl eingeben!", "Please enter a number!");
}

bool TFloatEdit::TextAcceptable(const QString& text) const { return IsFloatText(text.toStdString()); }

char TFloatEdit::FilterKey(char key) const { return FloatKeyFilter(key, separator_); }

bool TFloatEdit::Value(double& x) const {
  std::string t = text().toStdString();
  if (t.empty() || !IsFloatText(t)) return false;
  for (char& c : t)
    if (c == ',') c = '.';
  return StrToFloatDot(t, x);
}

void TFloatEdit::SetValue(double x, int decimals) {
  QString s = QString::number(x, 'f', decimals);
  s.replace('.', QChar(separator_));
  SetAcceptedText(s);
}

// --- times of day --------------------------------------------------------------------

TUhrzeitEdit::TUhrzeitEdit(QWidget* parent) : TUhrzeitEdit(false, parent) {}

TUhrzeitEdit::TUhrzeitEdit(bool withSeconds, QWidget* parent) : QLineEdit(parent), with_seconds_(withSeconds) {
  int day = 1, month = 1, year = 2000;
  double hours = 0;
  CurrentDateAndHours(day, month, year, hours);
  SetUhrzeit(hours);
  connect(this, &QLineEdit::editingFinished, this, [this] { ReadText(); });
}

void TUhrzeitEdit::SetUhrzeit(double hours) {
  hours_ = std::isfinite(hours) ? hours : 0.0;
  typed_ = false;
  shown_ = QString::fromStdString(TimeOfDayText(hours_, with_seconds_));
  setText(shown_);
}

void TUhrzeitEdit::SetRefusal(const std::string& german, const std::string& english) {
  refusal_german_ = german;
  refusal_english_ = english;
}

bool TUhrzeitEdit::ReadText() {
  if (!Edited()) return true;
  double hours = 0;
  if (!TimeEditTextToHours(text().toStdString(), with_seconds_, hours)) {
    const bool typed = typed_;
    SetUhrzeit(hours_);
    typed_ = typed;
    ShowRefusal(refusal_german_, refusal_english_);
    emit Refused();
    return false;
  }
  hours_ = hours;
  shown_ = text();
  typed_ = true;
  emit Changed();
  return true;
}

TEditUhrzeithms::TEditUhrzeithms(QWidget* parent) : TUhrzeitEdit(true, parent) {}

// --- calendar dates ------------------------------------------------------------------------

TAstroDatumEdit::TAstroDatumEdit(QWidget* parent) : QLineEdit(parent) {
  jd_ = TodayJd();
  Show();
  connect(this, &QLineEdit::editingFinished, this, [this] { ReadText(); });
}

bool TAstroDatumEdit::SetJD(double jd) {
  if (!std::isfinite(jd) || !AstroDateInRange(jd)) {
    QApplication::beep();
    ShowAstroDateOutOfRange();
    Show();  // the day before the entry stays
    return false;
  }
  jd_ = jd;
  Show();
  return true;
}

std::int32_t TAstroDatumEdit::Part(int n) const { return AstroDatePart(jd_, n); }

void TAstroDatumEdit::SetPart(int n, std::int32_t value) { SetJD(AstroDateSetPart(jd_, n, value)); }

bool TAstroDatumEdit::ReadText() {
  std::int32_t day = 1, month = 1, year = 2000;
  ParseAstroDateParts(text().toStdString(), TodayJd(), day, month, year);
  if (!DateExists(day, month, year)) {
    Show();  // the day before the entry stays; nothing changes
    QApplication::beep();
    ShowImpossibleDate(day, month, year);
    return false;
  }
  const bool ok = SetJD(CalendarDateToJd(day, month, year, 0.0));
  emit Changed();
  return ok;
}

void TAstroDatumEdit::Show() {
  pDay = AstroDatePart(jd_, 3);
  pMonth = AstroDatePart(jd_, 2);
  pYear = AstroDatePart(jd_, 1);
  setText(QString::fromStdString(AstroDateText(jd_)));
}

// --- finding a text in a list -----------------------------------------------------------------

namespace {

bool FindInItems(const QString& text, const std::vector<std::string>& items, int& index, QString& found,
                 QLabel* label) {
  if (text.isEmpty()) {
    if (label != nullptr) label->clear();
    return false;
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const int best = FindBestListMatch(text.toStdString(), items);
  QApplication::restoreOverrideCursor();
  if (best < 0) {
    if (label != nullptr) label->setText(QString::fromUtf8(ByLanguage("Nicht gefunden", "Not found")));
    return false;
  }
  index = best;
  found = QString::fromStdString(items[static_cast<std::size_t>(best)]);
  if (label != nullptr) label->setText(found);
  return true;
}

}  // namespace

bool FindInListControl(const QString& text, QComboBox& box, int& index, QString& found, QLabel* label) {
  std::vector<std::string> items;
  items.reserve(static_cast<std::size_t>(box.count()));
  for (int i = 0; i < box.count(); ++i) items.push_back(box.itemText(i).toStdString());
  if (!FindInItems(text, items, index, found, label)) return false;
  box.setCurrentIndex(index);
  return true;
}

std::vector<std::string> ListLines(const QListWidget& list) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(list.count()));
  for (int i = 0; i < list.count(); ++i) lines.push_back(list.item(i)->text().toStdString());
  return lines;
}

QStringList ListItemTexts(const std::vector<std::string>& lines) {
  QStringList texts;
  texts.reserve(static_cast<qsizetype>(lines.size()));
  for (const std::string& line : lines) texts.push_back(QString::fromStdString(line));
  return texts;
}

bool FindInListControl(const QString& text, QListWidget& list, int& index, QString& found, QLabel* label) {
  if (!FindInItems(text, ListLines(list), index, found, label)) return false;
  if (list.selectionMode() == QAbstractItemView::MultiSelection ||
      list.selectionMode() == QAbstractItemView::ExtendedSelection) {
    list.item(index)->setSelected(true);
  } else {
    list.setCurrentRow(index);
  }
  return true;
}

void SearchListAsTyped(QLineEdit* search, QListWidget* list, QLabel* status) {
  QObject::connect(search, &QLineEdit::textChanged, list, [search, list, status] {
    int index = -1;
    QString found;
    FindInListControl(search->text(), *list, index, found, status);
  });
}

void AcceptOnDoubleClick(QDialog* dialog, QListWidget* list) {
  QObject::connect(list, &QListWidget::itemDoubleClicked, dialog, [dialog, list](QListWidgetItem* item) {
    list->setCurrentItem(item);
    dialog->accept();
  });
}

}  // namespace kvx
