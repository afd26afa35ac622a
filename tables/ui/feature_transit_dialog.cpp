#include "tables/ui/feature_transit_dialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/binary_fields.h"
#include "platform/file_dialog.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "platform/qt/dialog_buttons.h"
#include "platform/qt/named_widgets.h"
#include "platform/text_encoding.h"
#include "setup/setup_routines.h"
#include "setup/ui/edit_controls.h"

namespace kvx {

namespace {

QString Tr(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

constexpr const char* kSystemsGerman[5] = {"&Mars", "&Jupiter System I", "J&upiter System II", "&Saturn System I",
                                           "Sa&turn System III"};
constexpr const char* kSystemsEnglish[5] = {"&Mars", "&Jupiter System I", "J&upiter System II", "&Saturn System I",
                                            "Sa&turn System III"};

}  // namespace

TPlanetenpassage::TPlanetenpassage(QWidget* parent) : QDialog(parent) {
  SetHelpSection(this, "menu-ephemerides");
  setObjectName("Planetenpassage");
  setWindowTitle(Tr("Durchgangszeiten eines Oberflächenmerkmals", "Transit of objects on a planet"));
  auto* layout = new QVBoxLayout(this);
  auto* box = NewNamed<QGroupBox>("RadioGroup1",
                                  Tr("Zentralmeridian und Objekt wählen", "Select central meridian and object"), this);
  auto* grid = new QGridLayout(box);
  RadioGroup1 = new QButtonGroup(this);
  for (int i = 0; i < 5; ++i) {
    auto* radio = new QRadioButton(Tr(kSystemsGerman[i], kSystemsEnglish[i]), box);
    radio->setObjectName(QString("System%1").arg(i));
    RadioGroup1->addButton(radio, i);
    FloatEdits[i] = new TFloatEdit(box);
    FloatEdits[i]->setObjectName(QString("FloatEdit%1").arg(i + 1));
    Edits[i] = new QLineEdit(box);
    Edits[i]->setObjectName(QString("Edit%1").arg(i + 1));
    ComboBoxes[i] = new QComboBox(box);
    ComboBoxes[i]->setObjectName(QString("ComboBox%1").arg(i + 1));
    ComboBoxes[i]->setMinimumWidth(180);
    grid->addWidget(radio, i, 0);
    grid->addWidget(FloatEdits[i], i, 1);
    grid->addWidget(Edits[i], i, 2);
    grid->addWidget(ComboBoxes[i], i, 3);
    connect(ComboBoxes[i], QOverload<int>::of(&QComboBox::activated), this, [this, i](int) { ComboChanged(i); });
  }
  layout->addWidget(box);
  FileLabel = NewNamed<QLabel>("FileLabel", this);
  layout->addWidget(FileLabel);
  auto* buttons = new QHBoxLayout;
  LoadButton = NamedButton(this, Tr("Aus &Datei mit Oberflächenmerkmalen laden", "Loa&d from file"), "LoadButton");
  Ok = NamedButton(this, "OK", "OK");
  Ok->setDefault(true);
  Cancel = NamedButton(this, Tr("Abbrechen", "Cancel"), "Cancel");
  buttons->addWidget(LoadButton);
  buttons->addStretch();
  buttons->addWidget(Ok);
  buttons->addWidget(Cancel);
  layout->addLayout(buttons);
  connect(LoadButton, &QPushButton::clicked, this, [this] { LoadClick(); });
  connect(Ok, &QPushButton::clicked, this, [this] { OkClick(); });
  connect(Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TPlanetenpassage::ShowFileName(bool cancelled) {
  const bool none = FileName.empty() || FileName.find('*') != std::string::npos || cancelled;
  FileLabel->setText(none ? Tr("Zur Zeit ist keine Datei mit Oberflächenmerkmalen in Gebrauch",
                               "No file with planetographic longitudes in use.")
                          : QString::fromStdString(FileName));
  FileLabel->setStyleSheet(cancelled ? "color: red;" : "");
}

void TPlanetenpassage::FormShow() {
  for (int i = 0; i < 5; ++i) {
    const auto k = static_cast<std::size_t>(i);
    FloatEdits[i]->SetValue(Settings.longitude[k], 2);
    Edits[i]->setText(QString::fromStdString(Settings.name[k]));
    ComboBoxes[i]->clear();
  }
  if (QAbstractButton* b = RadioGroup1->button(std::clamp<int>(Settings.system, 0, 4))) b->setChecked(true);
  for (std::size_t n = 0; n < Features.size(); ++n) {
    const int system = SurfaceFeatureSystem(Features[n].Entry.key);
    ComboBoxes[system]->addItem(QString::fromStdString(Features[n].Name), static_cast<int>(n));
  }
  for (QComboBox* c : ComboBoxes)
    if (c->count() > 0) c->setCurrentIndex(0);
  ShowFileName(false);
}

void TPlanetenpassage::ComboChanged(int row) {
  QComboBox* c = ComboBoxes[row];
  const int n = c->currentData().toInt();
  if (c->currentIndex() < 0 || n < 0 || n >= static_cast<int>(Features.size())) return;
  const TSurfaceFeature& f = Features[static_cast<std::size_t>(n)];
  FloatEdits[row]->setText(QString::number(f.Entry.longitude, 'g', 10));
  Edits[row]->setText(QString::fromStdString(f.Name));
  if (QAbstractButton* b = RadioGroup1->button(row)) b->setChecked(true);
}

void TPlanetenpassage::LoadClick() {
  FileDialogRequest request;
  request.title = ByLanguage("Datei Oberflächenmerkmalen öffnen", "Planetary featurs");
  request.filters = {ByLanguage("Oberflächenmerkmale (*.csv)", "*.csv-Files (*.csv)")};
  request.start = FileName;
  request.defaultExtension = "csv";
  const std::optional<std::string> chosen = AskOpenFileName(request);
  if (!chosen) {
    ShowFileName(true);
    return;
  }
  if (LoadSurfaceFeatureFile(*chosen, Features, true) > 0) FileName = *chosen;
  FormShow();
}

bool TPlanetenpassage::NameRefused(int row) {
  const std::string name = Edits[row]->text().toStdString();
  if (ShortStringHolds(name, kMeridianFeatureNameLength)) return false;
  const std::string room = std::to_string(kMeridianFeatureNameLength);
  if (Utf8Length(name) > kMeridianFeatureNameLength) {
    ShowMessage("Der Name \"" + name + "\" ist länger als " + room + " Zeichen.",
                "The name \"" + name + "\" is longer than " + room + " characters.", MessageIcon::Error);
  } else {
    ShowMessage("Der Name \"" + name +
                    "\" enthält Zeichen, die die Konfigurationsdatei nicht speichern kann "
                    "(nur Windows-1252).",
                "The name \"" + name +
                    "\" holds characters that the configuration file cannot store "
                    "(Windows-1252 only).",
                MessageIcon::Error);
  }
  Edits[row]->setFocus();
  Edits[row]->selectAll();
  return true;
}

void TPlanetenpassage::OkClick() {
  // A name the configuration file cannot keep is refused, not cut.
  for (int i = 0; i < 5; ++i) {
    if (NameRefused(i)) return;
  }
  for (int i = 0; i < 5; ++i) {
    const auto k = static_cast<std::size_t>(i);
    double x = 0;
    if (FloatEdits[i]->Value(x)) Settings.longitude[k] = x;
    Settings.name[k] = Edits[i]->text().toStdString();
  }
  Settings.system = std::max(0, RadioGroup1->checkedId());
  done(1);
}

int ShowPlanetFeatureTransitDialog(TSurfaceFeatureList& features, TFeatureTransitSettings& settings,
                                   std::string& fileName, QWidget* parent) {
  TPlanetenpassage dialog(parent);
  dialog.Features = features;
  dialog.Settings = settings;
  dialog.FileName = fileName;
  dialog.FormShow();
  const int result = dialog.exec();
  // Cancel keeps the list in use before, also after a file was loaded.
  if (result == 1) {
    features = dialog.Features;
    settings = dialog.Settings;
    fileName = dialog.FileName;
  }
  return result;
}

}  // namespace kvx
