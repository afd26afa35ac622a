#include "eclipses/ui/planet_occultation_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>

#include "eclipses/ui/star_choice_row.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/qt/dialog_buttons.h"
#include "platform/qt/named_widgets.h"
#include "setup/ui/edit_controls.h"

namespace kvx {

namespace {

QString Tr(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

constexpr std::int32_t kMaximumDiameter = 2000;

}  // namespace

TPloccultform::TPloccultform(const TPlanetOccultationChoice& choice, std::uint8_t catalogueChoice,
                             const std::string& asteroidName, TStarCatalogueAccess access, QWidget* owner)
    : QDialog(owner), choice_(choice) {
  SetHelpSection(this, "menu-ephemerides");
  setObjectName("Ploccultform");
  setWindowTitle(Tr("Objekt und Optionen für Sternbedeckungen", "Occultations of stars by planets"));
  auto* layout = new QVBoxLayout(this);

  auto* group = NewNamed<QGroupBox>("GroupBox1", QStringLiteral("&Planet"), this);
  auto* bodyGrid = new QGridLayout(group);
  const char* names[9][2] = {{"Merkur", "Mercury"},  {"Venus", "Venus"},   {"Mars", "Mars"},
                             {"Jupiter", "Jupiter"}, {"Saturn", "Saturn"}, {"Uranus", "Uranus"},
                             {"Neptun", "Neptune"},  {"Pluto", "Pluto"},   {"Asteroid", "Asteroid"}};
  for (int i = 0; i < 9; ++i) {
    auto* box = new QCheckBox(Tr(names[i][0], names[i][1]), group);
    box->setObjectName(QString("CheckBox%1").arg(i + 4));
    box->setChecked(choice_.Bodies[static_cast<std::size_t>(i)] != 0);
    bodyGrid->addWidget(box, i % 5, i / 5);
    bodies_[static_cast<std::size_t>(i)] = box;
  }
  const bool asteroidLoaded = asteroidName != "Kein Planetoid" && !asteroidName.empty();
  if (asteroidLoaded) bodies_[8]->setText(QString::fromStdString(asteroidName));
  bodies_[8]->setVisible(asteroidLoaded);
  layout->addWidget(group);

  auto* grid = new QGridLayout;
  const TMagnitudeLimitRow magnitude = AddMagnitudeLimitRow(
      this, grid, Tr("&Grenzgröße für Sterne:", "&Magnitude limit:"), 0, catalogueChoice, 1, choice_.LimitingMagnitude);
  magnitude_bar_ = magnitude.Bar;
  magnitude_label_ = magnitude.Value;
  diameter_label_ = new QLabel(
      Tr("Angenommener &Durchmesser des Asteroiden(km):", "Estimated &diameter of the asteroidn(km):"), this);
  diameter_label_->setObjectName("Label2");
  diameter_ = NewNamed<TIntegerEdit>("IntegerEdit1", this);
  diameter_->SetAcceptedText(QString::number(choice_.AsteroidDiameter));
  diameter_label_->setBuddy(diameter_);
  grid->addWidget(diameter_label_, 1, 0);
  grid->addWidget(diameter_, 1, 1);
  layout->addLayout(grid);

  conjunctions_ = new QCheckBox(Tr("&Nur nach Konjunktionen, nicht nach Bedeckungen suchen",
                                   "&Search for conjunctions only, not for occultations"),
                                this);
  conjunctions_->setObjectName("CheckBox1");
  conjunctions_->setChecked(choice_.ConjunctionsOnly != 0);
  layout->addWidget(conjunctions_);

  star_row_ = new TStarChoiceRow(this, layout, Tr("Alle &Sterne", "All &stars"), Tr("Stern", "Star"), std::move(access),
                                 choice.SelectedStar, [this] { return choice_.LimitingMagnitude; });

  layout->addLayout(MakeOkCancelRow(this, "OK", "Abbruch", Tr("&Abbrechen", "&Cancel")).Row);

  connect(bodies_[8], &QCheckBox::toggled, this, [this] { UpdateDiameterVisibility(); });
  connect(diameter_, &TIntegerEdit::Accepted, this, [this] { DiameterLeft(); });

  UpdateDiameterVisibility();
  star_row_->Start();
}

void TPloccultform::UpdateDiameterVisibility() {
  const bool shown = !bodies_[8]->isHidden() && bodies_[8]->isChecked();
  diameter_label_->setVisible(shown);
  diameter_->setVisible(shown);
}

bool TPloccultform::ReadDiameter() {
  bool number = false;
  const int value = diameter_->text().trimmed().toInt(&number);
  if (number && value >= 0 && value <= kMaximumDiameter) {
    choice_.AsteroidDiameter = value;
    diameter_->SetAcceptedText(QString::number(value));
    return true;
  }
  return false;
}

void TPloccultform::RefuseDiameter() {
  ShowMessage("Bitte einen realistischen Wert für den Durchmesser des Planetoiden eingeben!",
              "Please enter a realistic value (km) for the diameter of an asteroid!", MessageIcon::Error);
  diameter_->SetAcceptedText(QString::number(choice_.AsteroidDiameter));
  diameter_->setFocus();
}

void TPloccultform::DiameterLeft() {
  if (diameter_refused_ || ReadDiameter() || diameter_->text().trimmed().isEmpty()) return;
  diameter_refused_ = true;
  RefuseDiameter();
  QTimer::singleShot(0, this, [this] { diameter_refused_ = false; });
}

TPlanetOccultationChoice TPloccultform::Choice() const {
  TPlanetOccultationChoice out = choice_;
  for (std::size_t i = 0; i < 9; ++i) {
    out.Bodies[i] = bodies_[i]->isChecked() && (i < 8 || !bodies_[i]->isHidden()) ? 1 : 0;
  }
  out.ConjunctionsOnly = conjunctions_->isChecked() ? 1 : 0;
  out.SelectedStar = star_row_->SelectedStar();
  return out;
}

void TPloccultform::accept() {
  const TPlanetOccultationChoice chosen = Choice();
  if (std::none_of(chosen.Bodies.begin(), chosen.Bodies.end(), [](std::uint8_t b) { return b != 0; })) {
    ShowMessage("Bitte mindestens einen Körper wählen.", "Please choose at least one body.", MessageIcon::Warning);
    return;
  }
  if (diameter_refused_) return;
  if (chosen.Bodies[8] != 0 && !ReadDiameter()) {
    RefuseDiameter();
    return;
  }
  if (!star_row_->ConfirmFound()) return;
  QDialog::accept();
}

bool ShowPlanetOccultationOptions(TPlanetOccultationChoice& choice, std::uint8_t catalogueChoice,
                                  const std::string& asteroidName, TStarCatalogueAccess access, QWidget* owner) {
  TPloccultform dialog(choice, catalogueChoice, asteroidName, std::move(access), owner);
  if (dialog.exec() != QDialog::Accepted) return false;
  choice = dialog.Choice();
  return true;
}

}  // namespace kvx
