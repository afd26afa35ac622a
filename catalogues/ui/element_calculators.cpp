#include "catalogues/ui/element_calculators.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdio>

#include "core/text_conversion.h"
#include "core/two_body.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/qt/dialog_buttons.h"

namespace kvx {

namespace {

QString Q(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

QString Fixed(double x, int decimals) { return QString::fromStdString(FixedPointText(x, decimals)); }

using Messages = std::pair<std::string, std::string>;

// A number check with a message; `accept` tells whether the value is valid.
TCalculatorDialog::Check NumberCheck(std::function<bool(double)> accept, Messages messages) {
  return [accept = std::move(accept), messages = std::move(messages)](const std::string& text) -> Messages {
    double x = 0;
    if (ParseCalculatorNumber(text, x) && accept(x)) return {};
    return messages;
  };
}

double Value(const QLineEdit* edit) {
  double x = 0;
  ParseCalculatorNumber(edit->text().toStdString(), x);
  return x;
}

QLineEdit* AddRow(QGridLayout* grid, int row, const QString& label, const QString& text, const char* name) {
  auto* caption = new QLabel(label);
  auto* edit = new QLineEdit(text);
  edit->setObjectName(QString::fromLatin1(name));
  caption->setBuddy(edit);
  grid->addWidget(caption, row, 0);
  grid->addWidget(edit, row, 1);
  return edit;
}

QDialogButtonBox* OkCancel(QDialog* dialog) {
  auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  box->button(QDialogButtonBox::Cancel)->setText(Q("Abbrechen", "Cancel"));
  QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return box;
}

// The kept result window of `name` under `owner` (created on first use),
// with one read-only edit and copy button per row.
QDialog* ResultWindow(QWidget* owner, const char* name, const QString& title, const std::vector<QString>& labels,
                      const std::vector<QString>& copyCaptions) {
  const QString objectName = QString::fromLatin1(name);
  QDialog* window = owner != nullptr ? owner->findChild<QDialog*>(objectName, Qt::FindDirectChildrenOnly) : nullptr;
  if (window == nullptr) {
    window = new QDialog(owner);
    window->setObjectName(objectName);
    window->setModal(false);
    SetHelpSection(window, "menu-tools");
    auto* layout = new QVBoxLayout(window);
    auto* grid = new QGridLayout;
    for (std::size_t i = 0; i < labels.size(); ++i) {
      const int row = static_cast<int>(i);
      auto* edit = new QLineEdit;
      edit->setReadOnly(true);
      edit->setObjectName(QStringLiteral("Wert%1").arg(row));
      grid->addWidget(new QLabel, row, 0);
      grid->addWidget(edit, row, 1);
      if (i < copyCaptions.size()) {
        auto* copy = new QPushButton;
        copy->setObjectName(QStringLiteral("Kopieren%1").arg(row));
        QObject::connect(copy, &QPushButton::clicked, edit, [edit] {
          edit->selectAll();
          QGuiApplication::clipboard()->setText(edit->text());
        });
        grid->addWidget(copy, row, 2);
      }
    }
    layout->addLayout(grid);
    auto* close = new QPushButton;
    close->setObjectName(QStringLiteral("Schliessen"));
    QObject::connect(close, &QPushButton::clicked, window, &QDialog::close);
    layout->addWidget(close, 0, Qt::AlignRight);
  }
  window->setWindowTitle(title);
  window->findChild<QPushButton*>(QStringLiteral("Schliessen"))->setText(Q("Schließen", "Close"));
  auto* grid = window->findChild<QGridLayout*>();
  for (std::size_t i = 0; i < labels.size(); ++i) {
    const int row = static_cast<int>(i);
    if (auto* label = qobject_cast<QLabel*>(grid->itemAtPosition(row, 0)->widget())) label->setText(labels[i]);
    if (i < copyCaptions.size()) {
      if (auto* copy = qobject_cast<QPushButton*>(grid->itemAtPosition(row, 2)->widget()))
        copy->setText(copyCaptions[i]);
    }
  }
  return window;
}

void SetResult(QDialog* window, int row, const QString& text) {
  if (auto* edit = window->findChild<QLineEdit*>(QStringLiteral("Wert%1").arg(row))) edit->setText(text);
}

void ShowKept(QDialog* window, bool hints) {
  window->setToolTipDuration(hints ? -1 : 0);
  window->show();
  window->raise();
}

// The result window with `values` in its rows, shown.
void ShowResults(QWidget* owner, const char* name, const QString& title, const std::vector<QString>& labels,
                 const std::vector<QString>& copyCaptions, const std::vector<QString>& values, bool hints) {
  QDialog* window = ResultWindow(owner, name, title, labels, copyCaptions);
  for (std::size_t i = 0; i < values.size(); ++i) SetResult(window, static_cast<int>(i), values[i]);
  ShowKept(window, hints);
}

// The input dialog's frame: its name, title and hints, and the grid of rows
// that FinishInput puts above the OK and cancel buttons.
struct TInputFrame {
  QVBoxLayout* Layout = nullptr;
  QGridLayout* Grid = nullptr;
};

TInputFrame StartInput(TCalculatorDialog& dialog, const char* name, const QString& title, bool hints) {
  dialog.setObjectName(QString::fromLatin1(name));
  dialog.setWindowTitle(title);
  dialog.setToolTipDuration(hints ? -1 : 0);
  return {new QVBoxLayout(&dialog), new QGridLayout};
}

// The grid, then `extra` when given, then the buttons.
void FinishInput(TCalculatorDialog& dialog, const TInputFrame& frame, QWidget* extra = nullptr) {
  frame.Layout->addLayout(frame.Grid);
  if (extra != nullptr) frame.Layout->addWidget(extra);
  frame.Layout->addWidget(OkCancel(&dialog));
}

const Messages kNumberTitle{"Zahlenwert oder Eingabeformat ungültig", "Input value or format invalide"};

}  // namespace

// --- the checking dialog ------------------------------------------------------------------------

TCalculatorDialog::TCalculatorDialog(QWidget* owner) : QDialog(owner) {
  setModal(true);
  SetHelpSection(this, "menu-tools");
}

void TCalculatorDialog::AddCheck(QLineEdit* edit, Check check) {
  fields_.push_back(Field{edit, std::move(check), edit->text()});
  connect(edit, &QLineEdit::editingFinished, this, [this, edit] { CheckEdit(edit); });
}

bool TCalculatorDialog::CheckEdit(QLineEdit* edit) {
  for (Field& f : fields_) {
    if (f.Edit != edit) continue;
    const Messages problem = f.Test(edit->text().toStdString());
    if (problem.first.empty()) {
      f.LastValid = edit->text();
      return true;
    }
    // Showing the message takes the focus from the edit, which reports
    // leaving it once more: that second report is not checked again.
    if (checking_) return false;
    checking_ = true;
    QApplication::beep();
    ShowMessage(problem.first, problem.second, MessageIcon::Warning, MessageButtons::Ok,
                LanguageEnglish != 0 ? kNumberTitle.second : kNumberTitle.first);
    edit->setText(f.LastValid);
    edit->setFocus();
    checking_ = false;
    return false;
  }
  return true;
}

void TCalculatorDialog::accept() {
  for (Field& f : fields_) {
    if (!CheckEdit(f.Edit)) return;
  }
  QDialog::accept();
}

// --- mean daily motion ----------------------------------------------------------------------------

bool InputSemimajorAxis(bool hints, double& a, QWidget* owner) {
  TCalculatorDialog dialog(owner);
  const TInputFrame frame = StartInput(dialog, "TEing_a", Q("Große Halbachse", "Semimajor axis"), hints);
  QLineEdit* edit = AddRow(frame.Grid, 0, Q("a (&in AE)", "a (&in AU)"), Fixed(a, 8), "Edit_a");
  FinishInput(dialog, frame);
  dialog.AddCheck(edit, NumberCheck([](double x) { return x > 0; },
                                    {"Bitte eine positive Zahl für a eingeben!", "Please enter a positive number!"}));
  if (dialog.exec() != QDialog::Accepted) return false;
  a = Value(edit);
  return true;
}

void ShowAxisAndDailyMotion(bool hints, double a, double n, QWidget* owner) {
  ShowResults(owner, "TAusg_taegl", Q("Bahnelemente a und n", "Semimajor axis and mean motion"),
              {Q("gr. Halbachse (AE):", "Semimajor axis (AU):"), Q("Tägliche Bewegung (°):", "Mean motion (°/day):")},
              {Q("&Kopieren", "&Copy")}, {Fixed(a, 8), Fixed(n, 8)}, hints);
}

// --- perihelion distance ----------------------------------------------------------------------------

bool InputAQTransformation(bool hints, double& aq, double& e, std::uint8_t direction, QWidget* owner) {
  TCalculatorDialog dialog(owner);
  const TInputFrame frame =
      StartInput(dialog, "TQ_A_Form",
                 direction != 0 ? QStringLiteral("Transformation a->q") : QStringLiteral("Transformation q->a"), hints);
  QLineEdit* aEdit =
      AddRow(frame.Grid, 0, direction != 0 ? Q("a (&in AE)", "a (&in AU)") : Q("q (&in AE)", "q (&in AU)"),
             Fixed(aq, 8), "Edit_a");
  QLineEdit* eEdit = AddRow(frame.Grid, 1, QStringLiteral("&e"), Fixed(e, 8), "Edit_e");
  FinishInput(dialog, frame);
  dialog.AddCheck(aEdit, NumberCheck([](double) { return true; }, {"Bitte eine gültige Zahl für a eingeben!",
                                                                   "Please enter a valid number for a."}));
  dialog.AddCheck(eEdit, NumberCheck([](double x) { return x >= 0; }, {"e muß >=0 sein!", "e must be >=0."}));
  if (dialog.exec() != QDialog::Accepted) return false;
  aq = Value(aEdit);
  e = Value(eEdit);
  return true;
}

void ShowAQResult(bool hints, double a, double q, QWidget* owner) {
  ShowResults(
      owner, "Tq_a_ausform", Q("Bahnelemente a und q", "A and q"),
      {Q("gr. Halbachse (AE):", "Semimajor axis (AU):"), Q("Periheldistanz (AE):", "Perihelion distance (AU):")},
      {Q("&Kopieren", "&Copy"), Q("Ko&pieren", "Co&py")}, {Fixed(a, 8), Fixed(q, 8)}, hints);
}

// --- orientation elements ----------------------------------------------------------------------------

bool InputOrbitOrientationElements(bool hints, TOrientationRecord& r, double jd, QWidget* owner) {
  TCalculatorDialog dialog(owner);
  const TInputFrame frame =
      StartInput(dialog, "TBahnlageelementeform",
                 Q("Transformation der Bahnlageelemente", "Precession of orbital elements"), hints);
  QGridLayout* grid = frame.Grid;
  QLineEdit* iEdit = AddRow(grid, 0, QStringLiteral("&i:"), Fixed(r.Inclination, 8), "Edit_i");
  QLineEdit* nodeEdit = AddRow(grid, 1, Q("&Knoten:", "&Node:"), Fixed(r.Node, 8), "Edit_Kn");
  QLineEdit* perEdit = AddRow(grid, 2, Q("&Perihel:", "&Perihelion:"), Fixed(r.Perihelion, 8), "Edit_Per");
  QLineEdit* oldEdit = AddRow(grid, 3, Q("&Altes Äquinoktium:", "&Old equinox:"), Fixed(r.OldEquinox, 2), "Edit_alt");
  QLineEdit* newEdit = AddRow(grid, 4, Q("&Neues Äquinoktium:", "N&ew equinox:"), Fixed(r.NewEquinox, 2), "Edit_neu");
  // The equinox buttons: 2000.0, 1950.0 and the equinox of the main window's date.
  const double dateEquinox = EquinoxOfJd(jd);
  int row = 3;
  for (QLineEdit* target : {oldEdit, newEdit}) {
    const QString suffix = row == 3 ? QStringLiteral("Alt") : QStringLiteral("Neu");
    int col = 2;
    for (const auto& [name, value] : {std::pair<QString, double>{QStringLiteral("2000"), 2000.0},
                                      std::pair<QString, double>{QStringLiteral("1950"), 1950.0},
                                      std::pair<QString, double>{QStringLiteral("Datum"), dateEquinox}}) {
      auto* button = new QPushButton(name == QStringLiteral("Datum") ? Q("Datum", "Date") : name);
      button->setObjectName(QStringLiteral("Knopf") + name + suffix);
      button->setAutoDefault(false);
      QObject::connect(button, &QPushButton::clicked, target,
                       [target, value = value] { target->setText(Fixed(value, 2)); });
      grid->addWidget(button, row, col++);
    }
    ++row;
  }
  auto* flag = new QCheckBox(Q("Perihelwert ist &Perihellänge", "Perihelion value is &longitude of perihelion"));
  flag->setObjectName(QStringLiteral("Perihellaenge"));
  flag->setChecked(r.LongitudeOfPerihelion != 0);
  FinishInput(dialog, frame, flag);
  auto angle = [](double x) { return x >= -360 && x <= 360; };
  dialog.AddCheck(iEdit, NumberCheck(angle, {"i muß >=-360 und <=360 sein!", "i must be >=-360 and <=360!"}));
  dialog.AddCheck(nodeEdit, NumberCheck(angle, {"Kn muß >=-360 und <=360 sein!", "Kn must be >=-360 and <=360!"}));
  dialog.AddCheck(perEdit, NumberCheck(angle, {"Per muß >=-360 und <=360 sein!", "Per must be >=-360 and <=360!"}));
  auto any = [](double) { return true; };
  dialog.AddCheck(oldEdit, NumberCheck(any, {"Altes Äquinoktium: ungültiger Wert", "Old equinox: invalid value"}));
  dialog.AddCheck(newEdit, NumberCheck(any, {"Neues Äquinoktium: ungültiger Wert", "New equinox: invalid value"}));
  if (dialog.exec() != QDialog::Accepted) return false;
  r.Inclination = Value(iEdit);
  r.Node = Value(nodeEdit);
  r.Perihelion = Value(perEdit);
  r.OldEquinox = Value(oldEdit);
  r.NewEquinox = Value(newEdit);
  r.LongitudeOfPerihelion = flag->isChecked() ? 1 : 0;
  return true;
}

void ShowOrbitOrientationResult(bool hints, const TOrientationRecord& r, QWidget* owner) {
  const QString perihelion =
      r.LongitudeOfPerihelion != 0 ? Q("Perihellänge:", "Long. of perihelion:") : Q("Perihel:", "Perihelon:");
  ShowResults(owner, "TBahnlageanzeigeform", Q("Bahnlageelemente", "Orientation elements"),
              {QStringLiteral("i:"), Q("Knoten:", "Node:"), perihelion, Q("Äquinoktium:", "Equinox:")},
              {Q("&Kopieren", "&Copy"), Q("Ko&pieren", "Co&py"), Q("Kop&ieren", "Cop&y")},
              {Fixed(r.Inclination, 8), Fixed(r.Node, 8), Fixed(r.Perihelion, 8), Fixed(r.NewEquinox, 1)}, hints);
}

}  // namespace kvx
