#include "orbitdet/ui/orbit_options_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

#include "platform/globals.h"
#include "platform/help.h"
#include "platform/messages.h"
#include "platform/qt/dialog_buttons.h"
#include "platform/qt/named_widgets.h"
#include "setup/ui/edit_controls.h"

namespace kvx {

namespace {
constexpr double kLastJd = 5373484.4583;
QString Text(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }
}  // namespace

TOrbdetoptionenform::TOrbdetoptionenform(const TOrbDetOptions& options, double currentJd, QWidget* parent)
    : QDialog(parent), work_(options), current_jd_(currentJd) {
  setObjectName("Orbdetoptionenform");
  setWindowTitle(Text("Vorgaben für die Bahnbestimmung", "Settings for orbit determinations"));
  auto* layout = new QVBoxLayout(this);
  auto* display = new QGroupBox(Text("Optionen für die &Datenausgabe", "&Display options"), this);
  auto* dl = new QVBoxLayout(display);
  log_ = new QCheckBox(Text("Rechnung protokollieren (nur Gauss)", "C&reate log (Gauss method only)"), display);
  show_ = new QCheckBox(Text("Datei mit Beobachtungen", "Show file with observations"), display);
  topo_ = new QCheckBox(Text("&Beobachtungen sind topozentrisch", "&Use topocentric coordinates"), display);
  dl->addWidget(log_);
  dl->addWidget(show_);
  dl->addWidget(topo_);
  layout->addWidget(display);
  auto* improve = new QGroupBox(Text("Bahnverbesserung", "Orbit improvement"), this);
  auto* il = new QVBoxLayout(improve);
  auto* methodLabel = new QLabel(Text("Bevorzugte Rechen&methode", "Calculation &method"), improve);
  il->addWidget(methodLabel);
  method_[0] =
      new QRadioButton(Text("Störungen berücksichtigen (sehr langsam)", "Include perturbations (very slow)"), improve);
  method_[1] = new QRadioButton(
      Text("Hohe Genauigkeit ohne Störungen (langsam)", "High precision, without perturbations"), improve);
  method_[2] = new QRadioButton(
      Text("Niedrige Genauigkeit, ohne Störungen (schnell)", "Lower precision, without perturbations (very quick)"),
      improve);
  for (QRadioButton* b : method_) il->addWidget(b);
  // With a buddy the label shows its mnemonic instead of a literal "&".
  methodLabel->setBuddy(method_[0]);
  auto* form = new QFormLayout;
  jd_ = NewNamed<TFloatEdit>("JdForM", improve);
  rate_ = NewNamed<TFloatEdit>("ChangeRate", improve);
  form->addRow(Text("&Julianisches Datum für M:", "&Julian date for M:"), jd_);
  auto* now = NamedButton(improve, Text("&Aktuell verwendetes JD", "&Actually used JD"), "ActualJd");
  form->addRow(QString(), now);
  form->addRow(Text("&Änderungsrate (%):", "&Change (%):"), rate_);
  il->addLayout(form);
  layout->addWidget(improve);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
  ApplyDialogButtonLanguage(buttons->button(QDialogButtonBox::Cancel), buttons->button(QDialogButtonBox::Help));
  SetHelpContext(this, kHelpTopicOrbitOptions, buttons->button(QDialogButtonBox::Help));
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  log_->setChecked(work_.Log != 0);
  show_->setChecked(work_.ShowObservations != 0);
  topo_->setChecked(work_.Topocentric != 0);
  method_[std::min<int>(work_.Method, 2)]->setChecked(true);
  jd_->SetValue(work_.JdForM, 4);
  rate_->SetValue(work_.ChangeRate, 2);
  jd_shown_ = jd_->text();
  rate_shown_ = rate_->text();
  connect(now, &QPushButton::clicked, this, [this] {
    work_.JdForM = current_jd_;
    jd_->SetValue(current_jd_, 4);
    jd_shown_ = jd_->text();
  });
}

void TOrbdetoptionenform::accept() {
  double jd = work_.JdForM, rate = work_.ChangeRate;
  if (jd_->text() != jd_shown_ && (!jd_->Value(jd) || !std::isfinite(jd) || jd < 0 || jd > kLastJd)) {
    ShowMessage("Das Julianische Datum für M liegt außerhalb des zulässigen Bereichs.",
                "The Julian date for M is outside the allowed range.", MessageIcon::Error);
    jd_->setFocus();
    return;
  }
  if (rate_->text() != rate_shown_ && (!rate_->Value(rate) || !std::isfinite(rate) || rate <= 0 || rate > 100)) {
    ShowMessage("Die Änderungsrate muss größer als 0 und höchstens 100 % sein.",
                "The change rate must be above 0 and at most 100 %.", MessageIcon::Error);
    rate_->setFocus();
    return;
  }
  work_.JdForM = jd;
  work_.ChangeRate = rate;
  work_.Log = log_->isChecked() ? 1 : 0;
  work_.ShowObservations = show_->isChecked() ? 1 : 0;
  work_.Topocentric = topo_->isChecked() ? 1 : 0;
  for (std::uint8_t k = 0; k < 3; ++k) {
    if (method_[k]->isChecked()) work_.Method = k;
  }
  QDialog::accept();
}

int ShowOrbDetOptionsDialog(TOrbDetOptions& options, double currentJd) {
  TOrbdetoptionenform dialog(options, currentJd);
  if (dialog.exec() != QDialog::Accepted) return 2;
  options = dialog.Options();
  return 1;
}

}  // namespace kvx
