#include "orbitdet/ui/start_values_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>

#include "core/name_tables.h"
#include "core/text_conversion.h"
#include "orbitdet/start_values_file.h"
#include "platform/file_dialog.h"
#include "platform/globals.h"
#include "platform/help.h"
#include "platform/messages.h"
#include "platform/qt/dialog_buttons.h"
#include "platform/qt/named_widgets.h"
#include "setup/ui/edit_controls.h"

namespace kvx {

namespace {

QString Tr(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

constexpr const char* kDarkRed = "color: #800000;";

// The equinox buttons: J2000, J2050, B1900, B1950 as Julian days.
constexpr long double kEquinoxJD[4] = {2451545.0L, 2469807.5L, 2415020.3135L, 2433282.4235L};

}  // namespace

std::string StartValuesOpenTitle() {
  return ByLanguage("Datei mit Startwerten für Integration öffnen", "Open file with start values for integration");
}
std::string StartValuesSaveTitle() {
  return ByLanguage("Momentane verwendete Startwerten für Integration speichern",
                    "Save file with start values for integration");
}
std::string StartValuesFilter() {
  return ByLanguage("Startwerte für Integration (*.csv)", "Statevectors for integrations (*.csv)");
}
void ShowNotStartValuesFileMessage() {
  ShowMessage("Dies ist keine *.csv-Datei mit Startwerten für eine numerische Integration.",
              "This is no *.csv file with starting values for a numerical Integration", MessageIcon::Error,
              MessageButtons::Ok, ByLanguage("Fehlerhaftes Dateiformat", "Wrong file format"));
}

TRKAnfgFrm::TRKAnfgFrm(const std::string& fileName, const TIntegrationSetup& setup, bool hideReset, QWidget* owner,
                       TOpenedFile* read)
    : QDialog(owner), setup_(setup), file_name_(fileName), read_(read) {
  setObjectName("RKAnfgFrm");
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  const char* headings[8] = {"x", "y", "z", "vx", "vy", "vz", nullptr, nullptr};
  grid->addWidget(new QLabel(Tr("Objektname", "Object"), this), 0, 1);
  for (int k = 0; k < 6; ++k) grid->addWidget(new QLabel(headings[k], this), 0, 2 + k);
  grid->addWidget(new QLabel(Tr("Masse", "Mass"), this), 0, 8);
  for (int i = 0; i < kMaxIntegrationBodies; ++i) {
    Row& row = rows_[static_cast<std::size_t>(i)];
    grid->addWidget(new QLabel(QString::number(i + 1), this), i + 1, 0);
    row.name = new QLineEdit(this);
    row.name->setObjectName(QString("Edit%1").arg(i + 1));
    row.name->setMaxLength(static_cast<int>(kBodyNameLength));
    row.name->installEventFilter(this);
    grid->addWidget(row.name, i + 1, 1);
    for (int k = 0; k < 6; ++k) {
      row.state[static_cast<std::size_t>(k)] = new TFloatEdit(this);
      row.state[static_cast<std::size_t>(k)]->setObjectName(QString("State%1_%2").arg(i + 1).arg(k + 1));
      grid->addWidget(row.state[static_cast<std::size_t>(k)], i + 1, 2 + k);
    }
    row.mass = new TFloatEdit(this);
    row.mass->setObjectName(QString("Mass%1").arg(i + 1));
    grid->addWidget(row.mass, i + 1, 8);
  }
  layout->addLayout(grid);

  auto* times = new QHBoxLayout;
  auto* countLabel = new QLabel(Tr("&Körper", "&Body"), this);
  count_ = NewSpinBox(this, "spedn", 1, kMaxIntegrationBodies);
  countLabel->setBuddy(count_);
  times->addWidget(countLabel);
  times->addWidget(count_);
  auto* epochLabel = new QLabel("&JD:", this);
  epoch_ = NewNamed<TFloatEdit>("EDJD", this);
  epochLabel->setBuddy(epoch_);
  times->addWidget(epochLabel);
  times->addWidget(epoch_);
  auto* equinoxLabel = new QLabel(Tr("A&equinoktium (JD):", "&Equinox (JD):"), this);
  equinox_ = NewNamed<TFloatEdit>("EDEquinox", this);
  equinoxLabel->setBuddy(equinox_);
  times->addWidget(equinoxLabel);
  times->addWidget(equinox_);
  const char* equinoxCaptions[4] = {"&2000", "20&50", "&1900", "&1950"};
  for (int b = 0; b < 4; ++b) {
    auto* button = new QPushButton(equinoxCaptions[b], this);
    button->setObjectName(QString("Button%1").arg(4 + b));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, b] { SetEquinox(kEquinoxJD[b]); });
    times->addWidget(button);
  }
  times->addStretch();
  layout->addLayout(times);

  reduce_ =
      new QCheckBox(Tr("Koordinaten nach jeder Iteration auf K&örper 1 reduzieren (für heliozentrische Koordinaten)",
                       "Reduce coordinates after each step to body 1 (to get heliocentric coordinates)"),
                    this);
  reduce_->setObjectName("CheckBox1");
  connect(reduce_, &QCheckBox::toggled, this, [this](bool on) {
    if (!building_) setup_.ReduceToFirstBody = on ? 1 : 0;
  });
  layout->addWidget(reduce_);
  auto* note = new QLabel(
      Tr("Einheit der Masse ist Sonnenmasse/Masse des Körpers. Für \"massenlose\" Körper (Kometen, Planetoiden) "
         "bitte 0 eingeben (wird programmintern richtig verarbeitet!). Die Koordinaten sind "
         "heliozentrisch/äquatorial. Körper 1 ist immer die Sonne!",
         "Units of the mass is: sun´s mass/mass of the body. For bodys with mass near to 0 (comets, asteroids) just "
         "enter 0.The coordinates are heliocentric equatorial. Body 1 is usually the sun!"),
      this);
  note->setWordWrap(true);
  layout->addWidget(note);
  file_label_ = NewNamed<QLabel>("lbFileName", this);
  layout->addWidget(file_label_);

  auto* buttons = new QHBoxLayout;
  reset_ = NamedButton(this, Tr("&Zurücksetzen", "&Reset"), "Button1");
  reset_->setVisible(!hideReset);
  auto* open = NamedButton(this, Tr("Datei ö&ffnen", "Open &file"), "Button2");
  auto* save = NamedButton(this, Tr("Datei &speichern", "&Save file"), "Button3");
  auto* ok = NamedButton(this, "&OK", "OK");
  ok->setDefault(true);
  cancel_ = NewNamed<QPushButton>("Abbruch", this);
  auto* help = NewNamed<QPushButton>("Hilfe", this);
  ApplyDialogButtonLanguage(cancel_, help);
  for (QPushButton* b : {reset_, open, save}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  buttons->addStretch();
  for (QPushButton* b : {ok, cancel_, help}) buttons->addWidget(b);
  layout->addLayout(buttons);
  connect(reset_, &QPushButton::clicked, this, &TRKAnfgFrm::ResetToWorkingState);
  connect(open, &QPushButton::clicked, this, &TRKAnfgFrm::OpenFile);
  connect(save, &QPushButton::clicked, this, &TRKAnfgFrm::SaveFile);
  connect(ok, &QPushButton::clicked, this, &TRKAnfgFrm::accept);
  connect(cancel_, &QPushButton::clicked, this, &TRKAnfgFrm::reject);
  SetHelpContext(this, kHelpTopicStartValues, help);
  connect(count_, &QSpinBox::valueChanged, this, &TRKAnfgFrm::CountChanged);

  setWindowTitle(
      Tr("Aktuell verwendete Anfangswerte für numerische Integration (heliozentrisch äquatoriale "
         "Koordinaten)",
         "Starting conditions for numeric integration"));
  setup_.N = std::clamp(setup_.N, 1, kMaxIntegrationBodies);
  BuildDisplay();
}

void TRKAnfgFrm::UpdateLabel() {
  file_label_->setText(Tr("Werte aus Datei ", "Values from file ") + QString::fromStdString(file_name_));
}

void TRKAnfgFrm::ShowNumber(QLineEdit* edit, long double value, int decimals) {
  std::string text;
  FloatToStrTrimExt(decimals, text, value);
  edit->setText(QString::fromStdString(DotToDecimalSepTrim(text)));
  edit->setModified(false);
  // Remembered so that only a changed text is read back.
  edit->setProperty("shown", edit->text());
}

void TRKAnfgFrm::BuildDisplay() {
  building_ = true;
  UpdateLabel();
  const int n = setup_.N;
  for (int i = 0; i < kMaxIntegrationBodies; ++i) {
    Row& row = rows_[static_cast<std::size_t>(i)];
    const bool used = i < n;
    row.name->setEnabled(used);
    row.name->setText(used ? QString::fromStdString(
                                 BodyNameInLanguage(setup_.Names[static_cast<std::size_t>(i)], LanguageEnglish != 0))
                           : QString());
    row.name->setStyleSheet(i + 1 == setup_.CentreBody ? kDarkRed : "");
    for (int k = 0; k < 6; ++k) {
      TFloatEdit* edit = row.state[static_cast<std::size_t>(k)];
      edit->setEnabled(used);
      ShowNumber(edit, used ? setup_.StartValues[static_cast<std::size_t>(i)][static_cast<std::size_t>(k)] : 0, 9);
    }
    const long double mass = setup_.Masses[static_cast<std::size_t>(i)];
    row.mass->setEnabled(used);
    ShowNumber(row.mass, used && mass != 0 ? 1.0L / mass : 0, 3);
  }
  ShowNumber(epoch_, setup_.StartJD, 5);
  ShowNumber(equinox_, setup_.EquinoxJD, 5);
  reduce_->setChecked(setup_.ReduceToFirstBody != 0);
  count_->setValue(n);
  building_ = false;
}

bool TRKAnfgFrm::ReadNumber(QLineEdit* edit, long double& value) const {
  if (edit->text() == edit->property("shown").toString()) return true;
  long double x = 0;
  if (!StrToExtended(DecimalSepToDot(TrimBlanks(edit->text().toStdString())), x) || !std::isfinite(x)) return false;
  value = x;
  return true;
}

bool TRKAnfgFrm::ReadBack() {
  bool ok = true;
  for (int i = 0; i < setup_.N; ++i) {
    const auto u = static_cast<std::size_t>(i);
    Row& row = rows_[u];
    setup_.Names[u] = CutBodyName(row.name->text().toStdString());
    for (int k = 0; k < 6; ++k)
      ok = ReadNumber(row.state[static_cast<std::size_t>(k)], setup_.StartValues[u][static_cast<std::size_t>(k)]) && ok;
    long double inverse = setup_.Masses[u] == 0 ? 0 : 1.0L / setup_.Masses[u];
    if (ReadNumber(row.mass, inverse) && inverse >= 0) {
      setup_.Masses[u] = inverse == 0 ? 0 : 1.0L / inverse;
    } else {
      ok = false;
    }
  }
  ok = ReadNumber(epoch_, setup_.StartJD) && ok;
  ok = ReadNumber(equinox_, setup_.EquinoxJD) && ok;
  return ok;
}

bool TRKAnfgFrm::ValidForUse() {
  bool valid = ReadBack();
  for (int i = 0; i < setup_.N && valid; ++i) {
    const auto u = static_cast<std::size_t>(i);
    const TBodyState& s = setup_.StartValues[u];
    if (setup_.Names[u].empty()) valid = false;
    if (setup_.Masses[u] == 0 && s[0] == 0 && s[1] == 0 && s[2] == 0) valid = false;
  }
  if (setup_.H == 0) valid = false;
  if (setup_.StartJD == 0 || setup_.EquinoxJD == 0 || !std::isfinite(setup_.StartJD) ||
      !std::isfinite(setup_.EquinoxJD))
    valid = false;
  if (!valid) {
    Beep();
    ShowMessage(
        "Sie haben ungültige Koordinatensätze oder Integrationsbedingungen eingegeben. Bitte korrigieren "
        "oder mit \"Abbrechen\" die Änderungen aufheben",
        "Invalid coordinates. Please enter new values or press \"Cancel\".", MessageIcon::Error, MessageButtons::Ok,
        ByLanguage("Ungültiger Wert oder Koordinatensatz", ""));
    return false;
  }
  // What a run needs, on the values as they would be used.
  TIntegrationSetup trial = setup_;
  trial.CentreBody = static_cast<std::uint8_t>(std::min<int>(std::max<int>(trial.CentreBody, 1), trial.N));
  CopyStartToWorking(trial);
  if (!ValidateIntegrationSetup(trial)) {
    Beep();
    return false;
  }
  for (int i = 0; i < setup_.N; ++i) {
    for (int j = i + 1; j < setup_.N; ++j) {
      const TBodyState& a = setup_.StartValues[static_cast<std::size_t>(i)];
      const TBodyState& b = setup_.StartValues[static_cast<std::size_t>(j)];
      if (a[0] == b[0] && a[1] == b[1] && a[2] == b[2]) {
        Beep();
        const std::string pair = std::to_string(i + 1) + " / " + std::to_string(j + 1);
        ShowMessage("Die Körper " + pair + " stehen am selben Ort.", "Bodies " + pair + " are at the same place.",
                    MessageIcon::Error);
        return false;
      }
    }
  }
  return true;
}

void TRKAnfgFrm::accept() {
  if (ValidForUse()) QDialog::accept();
}

void TRKAnfgFrm::CountChanged(int count) {
  if (building_) return;
  // What was typed in the rows stays, read before the display is rebuilt.
  ReadBack();
  setup_.N = std::clamp(count, 1, kMaxIntegrationBodies);
  if (setup_.CentreBody > setup_.N) setup_.CentreBody = static_cast<std::uint8_t>(setup_.N);
  BuildDisplay();
}

void TRKAnfgFrm::SetEquinox(long double jd) {
  setup_.EquinoxJD = jd;
  ShowNumber(equinox_, jd, 5);
}

void TRKAnfgFrm::ResetToWorkingState() {
  ReadBack();
  setup_.StartValues = setup_.WorkingState;
  setup_.StartJD = setup_.JD;
  BuildDisplay();
}

void TRKAnfgFrm::OpenFile() {
  FileDialogRequest request{StartValuesOpenTitle(), {StartValuesFilter()}, file_name_, "csv"};
  const std::optional<std::string> path = AskOpenFileName(request);
  if (!path) return;
  if (!IsStartValuesFile(*path)) {
    ShowNotStartValuesFileMessage();
    return;
  }
  if (!ReadStartValuesFile(*path, setup_, read_)) return;
  file_name_ = *path;
  CopyStartToWorking(setup_);
  if (setup_.CentreBody > setup_.N) setup_.CentreBody = static_cast<std::uint8_t>(setup_.N);
  BuildDisplay();
}

void TRKAnfgFrm::SaveFile() {
  if (!ValidForUse()) return;
  FileDialogRequest request{StartValuesSaveTitle(), {StartValuesFilter()}, {}, "csv"};
  const std::optional<std::string> path = AskSaveFileName(request);
  if (!path || !WriteStartValuesFile(*path, setup_, read_)) return;
  file_name_ = *path;
  CopyStartToWorking(setup_);
  BuildDisplay();
}

bool TRKAnfgFrm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut && !building_ && isVisible()) {
    for (int i = 0; i < setup_.N; ++i) {
      QLineEdit* name = rows_[static_cast<std::size_t>(i)].name;
      if (watched != name) continue;
      // Leaving for Cancel is always allowed; OK checks the names again.
      QWidget* next = QApplication::focusWidget();
      if (next == cancel_ || cancel_->underMouse()) break;
      if (name->text().trimmed().isEmpty()) {
        ShowMessage("Bitte einen Objektnamen eingeben", "Please enter ab object name", MessageIcon::Error);
        name->setFocus();
      } else {
        setup_.Names[static_cast<std::size_t>(i)] = CutBodyName(name->text().toStdString());
      }
      break;
    }
  }
  return QDialog::eventFilter(watched, event);
}

bool ShowStartValuesDialog(std::string& fileName, TOpenedFile& read, TIntegrationSetup& setup, bool hideReset,
                           QWidget* owner) {
  TRKAnfgFrm dialog(fileName, setup, hideReset, owner, &read);
  if (dialog.exec() != QDialog::Accepted) return false;
  const TIntegrationSetup& d = dialog.Setup();
  fileName = dialog.FileName();
  setup.StartValues = d.StartValues;
  setup.StartJD = d.StartJD;
  setup.N = d.N;
  setup.EquinoxJD = d.EquinoxJD;
  setup.Masses = d.Masses;
  setup.Names = d.Names;
  setup.WorkingState = d.WorkingState;
  setup.ReduceToFirstBody = d.ReduceToFirstBody;
  setup.JD = d.StartJD;
  if (setup.CentreBody > setup.N) setup.CentreBody = static_cast<std::uint8_t>(setup.N);
  return true;
}

}  // namespace kvx
