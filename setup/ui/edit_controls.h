// The edit controls of the dialogs: integer and number boxes, times of day
// ("hh:mm", "hh:mm:ss") and calendar dates held as a Julian day, and the
// search of a text in a combo box or list. Key presses are filtered as
// they are typed; pasted or dropped text is checked when editing finishes
// and refused with the field's message, the previous text coming back.
#pragma once

#include <QLineEdit>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

#include "platform/qt/widget_forward.h"

class QDialog;

namespace kvx {

// An edit box for integers: digits and "-" only.
class TIntegerEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit TIntegerEdit(QWidget* parent = nullptr);
  // The message shown when the finished text is refused (German, English).
  void SetRefusal(const std::string& german, const std::string& english);
  // Sets the text as accepted.
  void SetAcceptedText(const QString& text);
  const QString& AcceptedText() const { return accepted_; }

 signals:
  // The finished text was refused and the previous one restored.
  void Refused();
  // The finished text passed the check.
  void Accepted();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  virtual bool TextAcceptable(const QString& text) const;
  virtual char FilterKey(char key) const;

 private:
  void CheckFinishedText();
  QString accepted_;
  std::string refusal_german_ = "Bitte eine ganze Zahl eingeben!";
  std::string refusal_english_ = "Please enter an integer!";
};

// A number box: digits, "-" and the decimal separator ("," and "." are
// both typed as the separator of the locale).
class TFloatEdit : public TIntegerEdit {
  Q_OBJECT

 public:
  explicit TFloatEdit(QWidget* parent = nullptr);
  char Separator() const { return separator_; }
  // The value of the text ("," read as "."); false for no number.
  bool Value(double& x) const;
  // Shows `x` with `decimals` decimals and the separator.
  void SetValue(double x, int decimals);

 protected:
  bool TextAcceptable(const QString& text) const override;
  char FilterKey(char key) const override;

 private:
  char separator_;
};

// A time of day in decimal hours, shown as "hh:mm".
class TUhrzeitEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit TUhrzeitEdit(QWidget* parent = nullptr);
  // The time held: exactly the one set (to the fraction of a second the
  // text does not show) until a changed text is read.
  double Uhrzeit() const { return hours_; }
  void SetUhrzeit(double hours);
  void SetRefusal(const std::string& german, const std::string& english);
  // Reads the text now (as leaving the box does); false when refused. A text
  // unchanged since it was shown or last read is no entry: the time held
  // stays and Changed does not fire.
  bool ReadText();
  // True while the text differs from the time held (typed, not yet read).
  bool Edited() const { return text() != shown_; }
  // True when the time held was read from a typed text, false when it was set.
  bool Typed() const { return typed_; }

 signals:
  void Changed();
  void Refused();

 protected:
  explicit TUhrzeitEdit(bool withSeconds, QWidget* parent);

 private:
  bool with_seconds_;
  double hours_ = 0;
  QString shown_;
  bool typed_ = false;
  std::string refusal_german_ = "Uhrzeit: Wert muß >=0 und < 24 sein!";
  std::string refusal_english_ = "Time must be >=0 and < 24!";
};

// The same shown as "hh:mm:ss".
class TEditUhrzeithms : public TUhrzeitEdit {
  Q_OBJECT

 public:
  explicit TEditUhrzeithms(QWidget* parent = nullptr);
};

// A calendar date held as a Julian day (0 h), shown and typed as
// day.month.year.
class TAstroDatumEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit TAstroDatumEdit(QWidget* parent = nullptr);
  double JD() const { return jd_; }
  // Accepted within 0 .. 5373484.4583; otherwise the range message and the
  // previous day comes back. False when refused.
  bool SetJD(double jd);
  // 1 year, 2 month, 3 day; -1 for other n.
  std::int32_t Part(int n) const;
  void SetPart(int n, std::int32_t value);
  // Reads the typed text now (as leaving the box does). A day that does not
  // exist in its month and year (31.02., 29.02. of a common year, 5 to 14
  // October 1582) is refused with a message naming it: the previous date
  // comes back and false is returned.
  bool ReadText();
  std::int32_t pDay = 1, pMonth = 1, pYear = 2000;

 signals:
  void Changed();

 private:
  void Show();
  double jd_ = 2451544.5;
};

// Finds `text` in the items (case ignored): the hit earliest in its item or
// in a shorter item wins, the last such one in list order. The best item is
// selected, its index and text returned and shown in `label`; without a
// hit the label shows "Nicht gefunden" / "Not found".
// The lines of `list` as they are shown, UTF-8, top to bottom.
std::vector<std::string> ListLines(const QListWidget& list);
// `lines` (UTF-8) as Qt strings, for QListWidget::addItems.
QStringList ListItemTexts(const std::vector<std::string>& lines);

bool FindInListControl(const QString& text, QComboBox& box, int& index, QString& found, QLabel* label);
bool FindInListControl(const QString& text, QListWidget& list, int& index, QString& found, QLabel* label);

// The search of a list picker: every change of the text of `search` runs
// FindInListControl over `list`, its outcome shown in `status`.
void SearchListAsTyped(QLineEdit* search, QListWidget* list, QLabel* status);
// A double click on an item of `list` makes it current and accepts `dialog`.
void AcceptOnDoubleClick(QDialog* dialog, QListWidget* list);

}  // namespace kvx
