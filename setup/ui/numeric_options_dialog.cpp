#include "setup/ui/numeric_options_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>

#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/qt/dialog_buttons.h"
#include "platform/qt/dialog_rows.h"
#include "platform/qt/named_widgets.h"

namespace kvx {

namespace {

QString Tr(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

// A number as the user's locale writes it (shortest exact form).
QString LocaleNumber(double value) {
  QString text = QString::number(value, 'g', 12);
  return text.replace('.', QChar(IntlSeparators.Decimal));
}

QString MagnitudeText(int position) {
  return QString::number(position / 100.0, 'f', 2).replace('.', QChar(IntlSeparators.Decimal)) + " mag";
}

}  // namespace

TNumOptions::TNumOptions(const TNumericOptions& options, std::uint8_t fullCalculation, QWidget* owner)
    : QDialog(owner), options_(options), full_calculation_(fullCalculation) {
  setWindowTitle(Tr("Optionen", "Options"));
  SetHelpSection(this, "options");
  auto* columns = new QHBoxLayout;

  // Left column: rise and set, Moon cache.
  auto* left = new QVBoxLayout;
  auto* riseSet = new QGroupBox(Tr("Höhen für Auf- und Untergang", "Altitudes for rise and set"), this);
  auto* riseGrid = new QGridLayout(riseSet);
  const char* altitudeCaptions[6][2] = {
      {"Planeten und Sterne (Bogenminuten):", "Planets and stars (arc minutes):"},
      {"Mond (Bogenminuten):", "Moon (arc minutes):"},
      {"Sonne (Bogenminuten):", "Sun (arc minutes):"},
      {"Bürgerliche Dämmerung (Grad):", "Civil twilight (degrees):"},
      {"Nautische Dämmerung (Grad):", "Nautical twilight (degrees):"},
      {"Astronomische Dämmerung (Grad):", "Astronomical twilight (degrees):"},
  };
  for (int field = 0; field < 6; ++field) {
    altitudes_[field] = new QLineEdit(riseSet);
    altitudes_[field]->setObjectName(QString("altitude%1").arg(field));
    AddCaptionedField(riseGrid, field, 0, Tr(altitudeCaptions[field][0], altitudeCaptions[field][1]),
                      altitudes_[field]);
    connect(altitudes_[field], &QLineEdit::editingFinished, this, [this, field] {
      if (!checking_ && altitudes_[field]->isModified() && !CheckAltitude(field)) refused_ = true;
    });
  }
  QPushButton* altitudeDefaults =
      AddPresetButton(Tr("&Standardwerte", "&Use defaults"), riseSet, "altitudeDefaults",
                      [](TNumericOptions& o) { DefaultHorizonAltitudes(o.HorizonAltitudes); });
  riseGrid->addWidget(altitudeDefaults, 6, 1);
  left->addWidget(riseSet);

  auto* cache = new QGroupBox(Tr("Interpolation der Mondkoordinaten", "Interpolation of the Moon"), this);
  auto* cacheGrid = new QGridLayout(cache);
  order_ = NewSpinBox(cache, "order", kMoonCacheOrderMin, kMoonCacheOrderMax);
  span_ = NewSpinBox(cache, "span", kMoonCacheSpanMin, kMoonCacheSpanMax);
  auto* orderLabel = new QLabel(Tr("&n:", "&n:"), cache);
  orderLabel->setBuddy(order_);
  cacheGrid->addWidget(orderLabel, 0, 0);
  cacheGrid->addWidget(order_, 0, 1);
  AddCaptionedField(cacheGrid, 1, 0, Tr("Bereich (Tage):", "Range (days):"), span_);
  QPushButton* polar = AddPresetButton(Tr("&Polarkoordinaten", "&Polar coordinates"), cache, "polar", PolarCachePreset);
  QPushButton* cartesian =
      AddPresetButton(Tr("&Kartesische Koord.", "&Cartesic coordinates"), cache, "cartesian", CartesianCachePreset);
  cacheGrid->addWidget(polar, 2, 0);
  cacheGrid->addWidget(cartesian, 2, 1);
  connect(order_, &QSpinBox::valueChanged, this, [this](int v) {
    if (!refilling_) options_.MoonCacheOrder = v;
  });
  connect(span_, &QSpinBox::valueChanged, this, [this](int v) {
    if (!refilling_) options_.MoonCacheSpan = v;
  });
  left->addWidget(cache);
  left->addStretch();

  // Middle column: the searches.
  auto* middle = new QVBoxLayout;
  middle->addWidget(AddBarBox(Tr("Konjunktionen", "Conjunctions"),
                              {{&conjunctionSun_, "Maximale Sonnenhöhe:", "Maximal sun altitude:",
                                &options_.ConjunctionMaxSunAltitude, "conjunctionSun"},
                               {&conjunctionObject1_, "Minimale Höhe Objekt 1:", "Minimal altitude object 1:",
                                &options_.ConjunctionMinAltitude1, "conjunctionObject1"},
                               {&conjunctionObject2_, "Minimale Höhe Objekt 2:", "Minimal altitude object 2:",
                                &options_.ConjunctionMinAltitude2, "conjunctionObject2"}}));

  auto* occultations = new QGroupBox(Tr("Sternbedeckungen", "Lunar occultations"), this);
  auto* occultationGrid = new QGridLayout(occultations);
  auto* magnitudeLabel = new QLabel(Tr("Grenzgrö&ße:", "Magnitude limit:"), occultations);
  occultationGrid->addWidget(magnitudeLabel, 0, 0);
  magnitude_ = new QScrollBar(Qt::Horizontal, occultations);
  magnitudeLabel->setBuddy(magnitude_);
  magnitude_->setObjectName("magnitude");
  magnitude_->setRange(kMagnitudeLimitMin, kMagnitudeLimitMax);
  magnitude_->setMinimumWidth(160);
  magnitudeValue_ = NewNamed<QLabel>("magnitudeValue", occultations);
  magnitudeValue_->setMinimumWidth(70);
  occultationGrid->addWidget(magnitude_, 0, 1);
  occultationGrid->addWidget(magnitudeValue_, 0, 2);
  connect(magnitude_, &QScrollBar::valueChanged, this, [this](int position) {
    magnitudeValue_->setText(MagnitudeText(position));
    if (!refilling_) options_.MagnitudeLimit = static_cast<float>(position / 100.0);
  });
  occultationSun_ = AddBar(occultationGrid, 1, Tr("Maximale Sonnenhöhe:", "Maximal sun altitude:"),
                           &options_.OccultationMaxSunAltitude, "occultationSun");
  middle->addWidget(occultations);

  middle->addWidget(AddBarBox(
      Tr("Erscheinungen der Planetenmonde", "Phenomena of the planetary moons"),
      {{&phenomenaSun_, "Maximale Sonnenhöhe:", "Maximal sun altitude:", &options_.PhenomenaMaxSunAltitude,
        "phenomenaSun"},
       {&phenomenaObject_, "Minimale Objekthöhe:", "Minimal object altitude:", &options_.PhenomenaMinObjectAltitude,
        "phenomenaObject"}}));
  middle->addWidget(AddPresetButton(Tr("Standard&werte", "Use defaults"), this, "valueDefaults", DefaultNumericValues));
  middle->addStretch();

  // Right column: the switches.
  auto* right = new QVBoxLayout;
  auto* switches = new QGroupBox(Tr("Berechnung und Ausgabe", "Computation and output"), this);
  auto* switchLayout = new QVBoxLayout(switches);
  struct SwitchRow {
    const char* german;
    const char* english;
    std::uint8_t* target;
    const char* name;
  };
  const SwitchRow rows[] = {
      {"Umfassende Berechnung", "Full calculation", &full_calculation_, "fullCalculation"},
      {"FK4-Positionen für Sternbedeckungen", "FK4 positions", &options_.Fk4Positions, "fk4"},
      {"Azimut von Nord", "Azimut from north", &options_.AzimuthFromNorth, "azimuthNorth"},
      {"Schnelle Berechnung von Konjunktionen und Ergeignissen", "Use Newcomb theories for conjunctions and events",
       &options_.FastConjunctions, "fastConjunctions"},
      {"Genaue Rechenmethoden für Sonne und Mond", "High accuracy for Sun and Moon", &options_.ExactSunMoon,
       "exactSunMoon"},
      {"Genaue Parallaxe für Mond berücksichtigen", "Use exact parallax and diameter for Moon",
       &options_.ExactMoonParallax, "exactParallax"},
      {"Nie die langsame ELP2000-Mondtheorie verwenden", "Do not use the slow ELP2000 Moon theory",
       &options_.NeverSlowElp, "neverSlowElp"},
      {"Führende Nullen bei Laden von Planetoiden einbauen", "Add leading zeros while loading asteroids",
       &options_.LeadingZeros, "leadingZeros"},
      {"Abkürzungen für die Phänome verwenden", "Use abbreviations for the phenomena", &options_.PhenomenaAbbreviations,
       "abbreviations"},
      {"&Geometrische Distanz für den Mond (nur bei ELP2000)", "Geometric distance for the moon if using ELP2000",
       &options_.GeometricMoonDistance, "geometricDistance"},
      {"&Mondkoordinaten interpolieren", "Use interpolations for the moon if helpfull", &options_.InterpolateMoon,
       "interpolateMoon"},
  };
  for (const SwitchRow& row : rows) {
    QCheckBox* box = AddSwitch(Tr(row.german, row.english), row.target, row.name);
    switchLayout->addWidget(box);
    if (row.target == &options_.ExactMoonParallax) exactParallax_ = box;
  }
  connect(exactParallax_, &QCheckBox::toggled, this, [this](bool on) { altitudes_[1]->setEnabled(!on); });
  right->addWidget(switches);
  right->addStretch();

  columns->addLayout(left);
  columns->addLayout(middle);
  columns->addLayout(right);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("ok");
  buttons->button(QDialogButtonBox::Cancel)->setObjectName("cancel");
  buttons->button(QDialogButtonBox::Cancel)->setText(Tr("Abbrechen", "Cancel"));
  connect(buttons, &QDialogButtonBox::accepted, this, &TNumOptions::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);

  Refill();
}

TNumOptions::Bar TNumOptions::AddBar(QGridLayout* grid, int row, const QString& caption, std::int32_t* target,
                                     const char* name) {
  Bar bar{new QScrollBar(Qt::Horizontal), new QLabel};
  bar.bar->setObjectName(name);
  bar.bar->setRange(-kAltitudeLimit, kAltitudeLimit);
  bar.bar->setMinimumWidth(160);
  bar.value->setObjectName(QString(name) + "Value");
  bar.value->setMinimumWidth(40);
  grid->addWidget(new QLabel(caption), row, 0);
  grid->addWidget(bar.bar, row, 1);
  grid->addWidget(bar.value, row, 2);
  QLabel* value = bar.value;
  connect(bar.bar, &QScrollBar::valueChanged, this, [this, target, value](int v) {
    value->setText(QString::number(v) + "°");
    if (!refilling_) *target = v;
  });
  return bar;
}

QGroupBox* TNumOptions::AddBarBox(const QString& title, std::initializer_list<BarRow> rows) {
  auto* box = new QGroupBox(title, this);
  auto* grid = new QGridLayout(box);
  int row = 0;
  for (const BarRow& r : rows) *r.bar = AddBar(grid, row++, Tr(r.german, r.english), r.target, r.name);
  return box;
}

QPushButton* TNumOptions::AddPresetButton(const QString& caption, QWidget* parent, const char* name,
                                          void (*preset)(TNumericOptions&)) {
  QPushButton* button = NamedButton(parent, caption, name);
  connect(button, &QPushButton::clicked, this, [this, preset] {
    preset(options_);
    Refill();
  });
  return button;
}

QCheckBox* TNumOptions::AddSwitch(const QString& caption, std::uint8_t* target, const char* name) {
  auto* box = new QCheckBox(caption);
  box->setObjectName(name);
  switches_.emplace_back(box, target);
  connect(box, &QCheckBox::toggled, this, [this, target](bool on) {
    if (!refilling_) *target = on ? 1 : 0;
  });
  return box;
}

void TNumOptions::Refill() {
  refilling_ = true;
  order_->setValue(options_.MoonCacheOrder);
  span_->setValue(options_.MoonCacheSpan);
  const std::pair<Bar*, std::int32_t> bars[] = {
      {&conjunctionSun_, options_.ConjunctionMaxSunAltitude},
      {&conjunctionObject1_, options_.ConjunctionMinAltitude1},
      {&conjunctionObject2_, options_.ConjunctionMinAltitude2},
      {&occultationSun_, options_.OccultationMaxSunAltitude},
      {&phenomenaSun_, options_.PhenomenaMaxSunAltitude},
      {&phenomenaObject_, options_.PhenomenaMinObjectAltitude},
  };
  for (const auto& [bar, value] : bars) {
    bar->bar->setValue(value);
    bar->value->setText(QString::number(value) + "°");
  }
  const int position = static_cast<int>(std::lround(options_.MagnitudeLimit * 100.0));
  magnitude_->setValue(position);
  magnitudeValue_->setText(MagnitudeText(position));
  for (int field = 0; field < 6; ++field) {
    altitudes_[field]->setText(LocaleNumber(options_.HorizonAltitudes[static_cast<std::size_t>(field)]));
    altitudes_[field]->setModified(false);
  }
  for (const auto& [box, target] : switches_) box->setChecked(*target != 0);
  altitudes_[1]->setEnabled(options_.ExactMoonParallax == 0);
  refilling_ = false;
}

bool TNumOptions::CheckAltitude(int field) {
  double value = 0.0;
  if (ParseReferenceAltitude(field, altitudes_[field]->text().toStdString(), value)) {
    options_.HorizonAltitudes[static_cast<std::size_t>(field)] = value;
    altitudes_[field]->setModified(false);
    return true;
  }
  checking_ = true;  // the message takes the focus: no second check meanwhile
  ShowMessage(ReferenceAltitudeMessage(field, false), ReferenceAltitudeMessage(field, true), MessageIcon::Error);
  Refill();
  altitudes_[field]->setFocus();
  checking_ = false;
  return false;
}

void TNumOptions::accept() {
  // A field refused on leaving (the user may have left it by pressing OK)
  // refuses this close request.
  if (refused_) {
    refused_ = false;
    return;
  }
  for (int field = 0; field < 6; ++field) {
    if (!altitudes_[field]->isEnabled()) continue;  // the Moon's field while the exact parallax is on
    if (!CheckAltitude(field)) return;
  }
  QDialog::accept();
}

int ShowNumericOptionsDialog(TNumericOptions& options, std::uint8_t& fullCalculation, bool copyBack, QWidget* owner) {
  TNumOptions dialog(options, fullCalculation, owner);
  const int result = dialog.exec();
  if (result == QDialog::Accepted) {
    CopyNumericOptionsBack(dialog.Options(), copyBack, options);
    fullCalculation = dialog.FullCalculation();
  }
  return result;
}

}  // namespace kvx
