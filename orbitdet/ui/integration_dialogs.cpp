#include "orbitdet/ui/integration_dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>
#include <limits>

#include "core/name_tables.h"
#include "core/text_conversion.h"
#include "orbitdet/integration_accuracy.h"
#include "platform/globals.h"
#include "platform/help.h"
#include "platform/messages.h"
#include "platform/qt/dialog_buttons.h"
#include "platform/qt/named_widgets.h"
#include "setup/ui/edit_controls.h"

namespace kvx {

namespace {

QString Tr(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

QRadioButton* Radio(QWidget* parent, const char* name, const QString& caption) {
  auto* button = new QRadioButton(caption, parent);
  button->setObjectName(name);
  return button;
}

// A group of two radio buttons side by side.
QGroupBox* Pair(QWidget* parent, const QString& caption, QRadioButton* a, QRadioButton* b) {
  auto* group = new QGroupBox(caption, parent);
  auto* layout = new QVBoxLayout(group);
  a->setParent(group);
  b->setParent(group);
  layout->addWidget(a);
  layout->addWidget(b);
  return group;
}

// OK, Cancel and Help in a row, by language (Help in German only).
void AddOkCancel(QDialog* dialog, QVBoxLayout* layout) {
  const TOkCancelRow row = MakeOkCancelRow(dialog, "OK", "Abbruch");
  QPushButton* help = NamedButton(dialog, QStringLiteral("&Hilfe"), "HelpButton");
  row.Row->addWidget(help);
  ConnectHelpButton(dialog, help);
  ApplyDialogButtonLanguage(row.Cancel, help);
  layout->addLayout(row.Row);
}

}  // namespace

// --- output format ------------------------------------------------------------------

TrkAusgkfFrm::TrkAusgkfFrm(const TIntegrationSetup& setup, bool adams, QWidget* owner) : QDialog(owner), setup_(setup) {
  SetHelpContext(this, kHelpTopicIntegrationOutput);
  setObjectName("rkAusgkfFrm");
  setWindowTitle(Tr("Ausgabeformat für numerische Integration", "Select output for numerical integration"));
  const int n = std::clamp(setup_.N, 1, kMaxIntegrationBodies);
  auto* layout = new QVBoxLayout(this);
  auto* columns = new QHBoxLayout;

  auto* objects = new QGroupBox(Tr("&Objekte für Ausgabe wählen", "Select &objects for output"), this);
  auto* objectGrid = new QGridLayout(objects);
  for (int i = 0; i < kMaxIntegrationBodies; ++i) {
    const auto u = static_cast<std::size_t>(i);
    labels_[u] = new QLabel(QString::fromStdString(BodyNameInLanguage(setup_.Names[u], LanguageEnglish != 0)), objects);
    labels_[u]->setObjectName(QString("Label%1").arg(i + 1));
    outputs_[u] = new QCheckBox(objects);
    outputs_[u]->setObjectName(QString("CheckBox%1").arg(15 + i));
    const bool shown = i < n;
    outputs_[u]->setChecked(shown && setup_.OutputFlags[u] != 0);
    labels_[u]->setVisible(shown);
    outputs_[u]->setVisible(shown);
    if (i + 1 == setup_.CentreBody) labels_[u]->setStyleSheet("color: #800000;");
    objectGrid->addWidget(outputs_[u], i, 0);
    objectGrid->addWidget(labels_[u], i, 1);
  }
  columns->addWidget(objects);

  auto* format = new QGroupBox(Tr("Ausgabe &formatieren", "Output format"), this);
  auto* formatLayout = new QVBoxLayout(format);
  coordinates_ = Radio(format, "RadioButton1", Tr("Koordinaten", "Coordinates"));
  elements_ = Radio(format, "RadioButton2", Tr("Bahnelemente", "Orbital elements"));
  cartesian_ = Radio(format, "RadioButton3", Tr("Kartesisch", "Cartesian"));
  polar_ = Radio(format, "RadioButton4", "Polar");
  ecliptic_ = Radio(format, "RadioButton5", Tr("Ekliptikal", "Ekliptical"));
  equatorial_ = Radio(format, "RadioButton6", Tr("Äquatorial", "Equatorial"));
  helio_ = Radio(format, "RadioButton7", Tr("Heliozentrisch", "Heliocentric"));
  planeto_ = Radio(format, "RadioButton8", Tr("Planetozentrisch", "Planetocentric"));
  formatLayout->addWidget(Pair(format, Tr("Au&sgabeform", "Mode"), coordinates_, elements_));
  type_ = Pair(format, Tr("&Koordinatentyp", "Type"), cartesian_, polar_);
  frame_ = Pair(format, Tr("&Bezugssystem", "Reference"), ecliptic_, equatorial_);
  origin_ = Pair(format, Tr("&Ursprung", "Origin of coordinates"), helio_, planeto_);
  formatLayout->addWidget(type_);
  formatLayout->addWidget(frame_);
  formatLayout->addWidget(origin_);
  centre_label_ =
      NewNamed<QLabel>("Label32", Tr("&Planetozentrische Koordinaten für", "Reduce coordinates to this body:"), format);
  centre_ = NewNamed<QComboBox>("ComboBox1", format);
  centre_label_->setBuddy(centre_);
  for (int i = 0; i < n; ++i)
    centre_->addItem(
        QString::fromStdString(BodyNameInLanguage(setup_.Names[static_cast<std::size_t>(i)], LanguageEnglish != 0)));
  centre_->setCurrentIndex(std::clamp(static_cast<int>(setup_.CentreBody) - 1, 0, n - 1));
  formatLayout->addWidget(centre_label_);
  formatLayout->addWidget(centre_);
  civil_ = NewNamed<QCheckBox>("CheckBox1", Tr("auch bürgerliches &Datum ausgeben", "show civil date besides julian"),
                               format);
  new_state_ = new QCheckBox(
      Tr("Am &Ende der Ephemeride neuen Statusvektor ausgeben", "Show new stat&e-vector at the end of the ephemeris"),
      format);
  new_state_->setObjectName("CheckBox3");
  formatLayout->addWidget(civil_);
  formatLayout->addWidget(new_state_);
  columns->addWidget(format);
  layout->addLayout(columns);

  step_group_ =
      NewNamed<QGroupBox>("StepGroup", Tr("Schrittweite und Wiederholungen", "Settings for integration steps"), this);
  auto* stepGrid = new QGridLayout(step_group_);
  step_ = NewNamed<TFloatEdit>("eddeltat", step_group_);
  repetitions_ = NewSpinBox(step_group_, "spitera", 1, std::numeric_limits<std::int32_t>::max());
  interval_ = NewSpinBox(step_group_, "speausgint", 1, 65535);
  auto* stepLabel = new QLabel(Tr("Sch&rittweite:", "Time between steps:"), step_group_);
  stepLabel->setBuddy(step_);
  auto* repetitionsLabel = new QLabel(Tr("&Wiederholungen:", "Number of Iterations:"), step_group_);
  repetitionsLabel->setBuddy(repetitions_);
  auto* intervalLabel = new QLabel(Tr("Aus&gabe bei jedem", "Show results after"), step_group_);
  intervalLabel->setBuddy(interval_);
  stepGrid->addWidget(stepLabel, 0, 0);
  stepGrid->addWidget(step_, 0, 1);
  stepGrid->addWidget(new QLabel(Tr("Tage", "Days"), step_group_), 0, 2);
  stepGrid->addWidget(repetitionsLabel, 1, 0);
  stepGrid->addWidget(repetitions_, 1, 1);
  stepGrid->addWidget(intervalLabel, 2, 0);
  stepGrid->addWidget(interval_, 2, 1);
  stepGrid->addWidget(new QLabel(Tr(". Schritt", "Steps"), step_group_), 2, 2);
  step_group_->setVisible(!adams);
  layout->addWidget(step_group_);
  AddOkCancel(this, layout);

  (setup_.Elements ? elements_ : coordinates_)->setChecked(true);
  (setup_.Cartesian ? cartesian_ : polar_)->setChecked(true);
  (setup_.Ecliptic ? ecliptic_ : equatorial_)->setChecked(true);
  (setup_.Heliocentric ? helio_ : planeto_)->setChecked(true);
  civil_->setChecked(setup_.DateTimeColumns != 0);
  new_state_->setChecked(setup_.WriteStateVectors != 0);
  step_->SetValue(static_cast<double>(setup_.H), 4);
  step_->setProperty("shown", step_->text());
  repetitions_->setValue(std::max(1, setup_.Repetitions));
  interval_->setValue(std::max<int>(1, setup_.OutputInterval));
  connect(coordinates_, &QRadioButton::toggled, this, &TrkAusgkfFrm::UpdateEnabled);
  connect(step_, &QLineEdit::editingFinished, this, &TrkAusgkfFrm::StepLeft);
  UpdateEnabled();
}

void TrkAusgkfFrm::UpdateEnabled() {
  const bool on = coordinates_->isChecked();
  for (QWidget* w : {static_cast<QWidget*>(type_), static_cast<QWidget*>(frame_), static_cast<QWidget*>(origin_),
                     static_cast<QWidget*>(centre_label_), static_cast<QWidget*>(centre_)})
    w->setEnabled(on);
}

bool TrkAusgkfFrm::ReadStep() {
  // An untouched step keeps its full value (the edit shows 4 decimals).
  if (step_->text() == step_->property("shown").toString()) return true;
  long double x = 0;
  if (!StrToExtended(DecimalSepToDot(TrimBlanks(step_->text().toStdString())), x) || !std::isfinite(x)) return false;
  setup_.H = x;
  step_->setProperty("shown", step_->text());
  return true;
}

void TrkAusgkfFrm::StepLeft() {
  if (!ReadStep()) return;
  if (std::fabs(setup_.H) > 500) {
    ShowMessage("Schrittweite zu groß!", "The time step between to large between two integretation is too large!",
                MessageIcon::Information, MessageButtons::Ok, ByLanguage("Fehler", "Error"));
  }
}

void TrkAusgkfFrm::accept() {
  const int n = std::clamp(setup_.N, 1, kMaxIntegrationBodies);
  bool valid = ReadStep();
  for (int i = 0; i < kMaxIntegrationBodies; ++i) {
    const auto u = static_cast<std::size_t>(i);
    setup_.OutputFlags[u] = i < n && outputs_[u]->isChecked() ? 1 : 0;
    if (i < n && setup_.Names[u].empty()) valid = false;
  }
  setup_.Repetitions = repetitions_->value();
  setup_.OutputInterval = static_cast<std::uint16_t>(interval_->value());
  setup_.CentreBody = static_cast<std::uint8_t>(centre_->currentIndex() + 1);
  setup_.Elements = elements_->isChecked() ? 1 : 0;
  setup_.Cartesian = cartesian_->isChecked() ? 1 : 0;
  setup_.Ecliptic = ecliptic_->isChecked() ? 1 : 0;
  setup_.Heliocentric = helio_->isChecked() ? 1 : 0;
  setup_.DateTimeColumns = civil_->isChecked() ? 1 : 0;
  setup_.WriteStateVectors = new_state_->isChecked() ? 1 : 0;
  if (setup_.H == 0 || !std::isfinite(setup_.H) || setup_.Repetitions < 1 || setup_.OutputInterval < 1) valid = false;
  if (!valid) {
    ShowMessage(
        "Sie haben einen ungültige Koordinatensätze oder Integrationsbedingungen eingegeben. Bitte "
        "korrigieren oder mit \"Abbrechen\" die Änderungen aufheben",
        "Invalid sets of coordinates or starting conditions. Please enter correct values or cancel", MessageIcon::Error,
        MessageButtons::Ok, ByLanguage("Ungültiger Wert oder Koordinatensatz", "Invalid data"));
    return;
  }
  QDialog::accept();
}

bool ShowIntegrationOutputDialog(TIntegrationSetup& setup, bool adams, QWidget* owner) {
  TrkAusgkfFrm dialog(setup, adams, owner);
  if (dialog.exec() != QDialog::Accepted) return false;
  const TIntegrationSetup& d = dialog.Setup();
  setup.WriteStateVectors = d.WriteStateVectors;
  setup.OutputFlags = d.OutputFlags;
  setup.H = d.H;
  setup.Repetitions = d.Repetitions;
  setup.OutputInterval = d.OutputInterval;
  setup.CentreBody = d.CentreBody;
  setup.Cartesian = d.Cartesian;
  setup.Ecliptic = d.Ecliptic;
  setup.Heliocentric = d.Heliocentric;
  setup.Elements = d.Elements;
  setup.DateTimeColumns = d.DateTimeColumns;
  return true;
}

// --- accuracy -----------------------------------------------------------------------

TRechengenauigkeit::TRechengenauigkeit(const TTheorySelection& selection, bool neverVsop, bool adams,
                                       std::uint8_t digits, QWidget* owner)
    : QDialog(owner), selection_(selection) {
  SetHelpContext(this, kHelpTopicIntegrationAccuracy);
  setObjectName("Rechengenauigkeit");
  setWindowTitle(Tr("Numerische Integration für Ephemeriden und Bahnverbesserung",
                    "Numerical integrations for ephemerides and orbit omprovement"));
  auto* layout = new QVBoxLayout(this);
  auto* integrator = NewNamed<QGroupBox>("RadioGroup1", "Integrator", this);
  auto* integratorLayout = new QHBoxLayout(integrator);
  adams_ = Radio(integrator, "Adams", "Adams");
  runge_kutta_ = Radio(integrator, "RungeKutta", "Runge-Kutta");
  integratorLayout->addWidget(adams_);
  integratorLayout->addWidget(runge_kutta_);
  (adams ? adams_ : runge_kutta_)->setChecked(true);
  layout->addWidget(integrator);

  auto* digitsRow = new QHBoxLayout;
  auto* digitsLabel = new QLabel(Tr("Anzahl der gültigen Dezimalstellen für die Integration von Planetoiden- und "
                                    "Kometenbahnen:",
                                    "Numbers of decimals for the integration of asteroid and comet orbits:"),
                                 this);
  digitsLabel->setWordWrap(true);
  digits_ = NewSpinBox(this, "SpinEdit1", 8, 18);
  digits_->setValue(std::clamp(digits & 0x7F, 8, 18));
  digitsLabel->setBuddy(digits_);
  digitsRow->addWidget(digitsLabel, 1);
  digitsRow->addWidget(digits_);
  layout->addLayout(digitsRow);
  auto* hint = new QLabel(Tr("Für Integrationen über lange Zeitspannen sind 11 bis 12 Stellen empfehlenswert. Bei "
                             "zunehmender Stellenzahl sinkt die Performance.",
                             "For integrations over long periods 11 or 12 decimals are recommended. With more "
                             "decimals perfomance is dedreasing."),
                          this);
  hint->setWordWrap(true);
  layout->addWidget(hint);
  layout->addWidget(new QLabel(
      Tr("Die VSOP-Theorien sind zwar genau, jedoch sehr langsam.", "The VSOP theories are accurate, but slow."),
      this));
  never_vsop_ = new QCheckBox(Tr("N&ie die VSOP-Theorien für numerische Integrationen verwenden.",
                                 "N&ever use VSOP theories for numerical integrations."),
                              this);
  never_vsop_->setObjectName("CheckBox1");
  never_vsop_->setChecked(neverVsop);
  layout->addWidget(never_vsop_);

  auto* perturbers = new QGroupBox(Tr("Störende &Planeten (bei der numerischen Integration von Planetoiden- und "
                                      "Kometenbahnen)",
                                      "Perturbators (at numerical integrations of asteroid or comet orbits)"),
                                   this);
  auto* grid = new QGridLayout(perturbers);
  // Selection bytes 3..11, Mercury to Pluto, with the boxes' names.
  const char* names[9] = {"CheckBox2", "CheckBox3", "CheckBox10", "CheckBox4", "CheckBox5",
                          "CheckBox6", "CheckBox7", "CheckBox8",  "CheckBox9"};
  const char* captions[9][2] = {{"Merkur", "Mercury"}, {"Venus", "Venus"},     {"Erde", "Earth"},
                                {"Mars", "Mars"},      {"Jupiter", "Jupiter"}, {"Saturn", "Saturn"},
                                {"Uranus", "Uranus"},  {"Neptun", "Neptune"},  {"Pluto", "Pluto"}};
  for (int p = 0; p < 9; ++p) {
    const auto u = static_cast<std::size_t>(p);
    planets_[u] = new QCheckBox(Tr(captions[p][0], captions[p][1]), perturbers);
    planets_[u]->setObjectName(names[p]);
    planets_[u]->setChecked(selection_.bytes[3 + u] != 0);
    grid->addWidget(planets_[u], p / 3, p % 3);
  }
  auto* all = NamedButton(perturbers, Tr("All&e Planeten berücksichtigen", "All Plan&ts"), "Button1");
  all->setAutoDefault(false);
  grid->addWidget(all, 3, 0, 1, 3);
  connect(all, &QPushButton::clicked, this, &TRechengenauigkeit::AllPlanets);
  layout->addWidget(perturbers);
  AddOkCancel(this, layout);
}

void TRechengenauigkeit::AllPlanets() {
  for (QCheckBox* box : planets_) box->setChecked(true);
}

TTheorySelection TRechengenauigkeit::Selection() const {
  TTheorySelection s = selection_;
  for (std::size_t p = 0; p < 9; ++p) s.bytes[3 + p] = planets_[p]->isChecked() ? 1 : 0;
  return s;
}
bool TRechengenauigkeit::NeverVsop() const { return never_vsop_->isChecked(); }
bool TRechengenauigkeit::Adams() const { return adams_->isChecked(); }
std::uint8_t TRechengenauigkeit::Digits() const { return static_cast<std::uint8_t>(digits_->value()); }

bool ShowIntegrationPrecisionDialog(TTheorySelection& selection, bool& neverVsop, long double& tolerance, bool& adams,
                                    std::uint8_t& digits, QWidget* owner) {
  TRechengenauigkeit dialog(selection, neverVsop, adams, digits, owner);
  if (dialog.exec() != QDialog::Accepted) return false;
  selection = dialog.Selection();
  neverVsop = dialog.NeverVsop();
  adams = dialog.Adams();
  digits = dialog.Digits();
  tolerance = DigitsToTolerance(digits);
  return true;
}

}  // namespace kvx
