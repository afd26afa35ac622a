#include "setup/ui/location_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>
#include <memory>

#include "catalogues/ui/data_file_dialog.h"
#include "core/input_checks.h"
#include "core/name_tables.h"
#include "core/text_conversion.h"
#include "platform/file_dialog.h"
#include "platform/globals.h"
#include "platform/qt/dialog_buttons.h"
#include "platform/qt/dialog_rows.h"
#include "platform/qt/named_widgets.h"
#include "platform/settings_store.h"
#include "platform/text_encoding.h"
#include "setup/edit_rules.h"
#include "setup/ui/dialog_owner.h"
#include "setup/ui/edit_controls.h"
#include "setup/ui/place_fields.h"

namespace kvx {

namespace {

QString Tr(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

}  // namespace

// --- the combo box of a location list -----------------------------------------------

TLocationCombo::TLocationCombo(Orttabelle& list, QWidget* parent) : QComboBox(parent), list_(list) {
  connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (!filling_ && index >= 0) list_.SetItemIndex(index);
  });
}

void TLocationCombo::Reload() {
  filling_ = true;
  clear();
  QStringList names;
  names.reserve(list_.Count());
  for (const std::string& name : list_.Names()) names << QString::fromStdString(name);
  addItems(names);
  setCurrentIndex(list_.ItemIndex());
  filling_ = false;
}

void TLocationCombo::ShowCurrent() {
  filling_ = true;
  setCurrentIndex(list_.ItemIndex());
  filling_ = false;
}

// --- the dialog -------------------------------------------------------------------------

TOrtwahldialog::TOrtwahldialog(QWidget* parent) : QDialog(parent) {
  setObjectName("Ortwahldialog");
  SetHelpSection(this, "choose-location");
  auto* layout = new QVBoxLayout(this);

  auto* fileGroup = NewNamed<QGroupBox>("FileGroup", this);
  auto* fileGrid = new QGridLayout(fileGroup);
  combo_ = NewNamed<TLocationCombo>("Orttabelle1", list_, fileGroup);
  search_ = NewNamed<QLineEdit>("Edit1", fileGroup);
  postcode_search_ = NewNamed<QLineEdit>("Edit6", fileGroup);
  word_start_ = NewNamed<QCheckBox>("wortanfang", fileGroup);
  open_button_ = NewNamed<QPushButton>("Button2", fileGroup);
  file_label_ = NewNamed<QLabel>("FileLabel", fileGroup);
  keep_ut_ = NewNamed<QCheckBox>("weltzeitc", fileGroup);
  int row = 0;
  for (const auto& [name, widget] : std::initializer_list<std::pair<const char*, QWidget*>>{
           {"ListLabel", combo_}, {"SearchLabel", search_}, {"PostcodeSearchLabel", postcode_search_}}) {
    AddLabelledRow(fileGrid, row++, name, widget);
  }
  fileGrid->addWidget(word_start_, row++, 1);
  fileGrid->addWidget(open_button_, row++, 0, 1, 2);
  fileGrid->addWidget(file_label_, row++, 0, 1, 2);
  fileGrid->addWidget(keep_ut_, row++, 0, 1, 2);
  layout->addWidget(fileGroup);

  auto* placeGroup = NewNamed<QGroupBox>("PlaceGroup", this);
  auto* placeGrid = new QGridLayout(placeGroup);
  name_ = NewNamed<QLineEdit>("Edit2", placeGroup);
  name_->setMaxLength(255);
  postcode_ = NewNamed<QLabel>("PostcodeValue", placeGroup);
  longitude_ = NewNamed<QLineEdit>("Edit3", placeGroup);
  latitude_ = NewNamed<QLineEdit>("Edit4", placeGroup);
  longitude_degrees_ = NewNamed<QLabel>("LongitudeDegrees", placeGroup);
  latitude_degrees_ = NewNamed<QLabel>("LatitudeDegrees", placeGroup);
  const TZoneFields zoneFields = MakeZoneFields(placeGroup, "UTButton");
  zone_ = zoneFields.Zone;
  zone_name_ = zoneFields.ZoneName;
  extra_minutes_ = zoneFields.ExtraMinutes;
  QPushButton* utButton = zoneFields.UT;
  daylight_ = NewNamed<QCheckBox>("CheckBox1", placeGroup);
  const char* labelNames[6] = {"PlaceLabel",    "PostcodeLabel", "LongitudeLabel",
                               "LatitudeLabel", "ZoneLabel",     "MinutesLabel"};
  QWidget* fields[6] = {name_, postcode_, longitude_, latitude_, zone_, extra_minutes_};
  QWidget* extras[6] = {nullptr, nullptr, longitude_degrees_, latitude_degrees_, zone_name_, utButton};
  for (int i = 0; i < 6; ++i) {
    AddLabelledRow(placeGrid, i, labelNames[i], fields[i]);
    if (extras[i] != nullptr) placeGrid->addWidget(extras[i], i, 2);
  }
  auto* eastNote = NewNamed<QLabel>("EastNote", placeGroup);
  placeGrid->addWidget(eastNote, 2, 3);
  placeGrid->addWidget(daylight_, 6, 1);
  layout->addWidget(placeGroup);

  auto* manualGroup = NewNamed<QGroupBox>("ManualGroup", this);
  auto* manualGrid = new QGridLayout(manualGroup);
  const TWeatherFields weather = MakeWeatherFields(manualGroup);
  height_ = weather.Height;
  temperature_ = weather.Temperature;
  pressure_ = weather.Pressure;
  refraction_ = weather.Refraction;
  for (TIntegerEdit* edit : {height_, static_cast<TIntegerEdit*>(temperature_), static_cast<TIntegerEdit*>(pressure_)})
    edit->SetRefusal("Bitte plausible Werte eingeben.", "Please enter realistic values.");
  const char* manualLabels[3] = {"HeightLabel", "TemperatureLabel", "PressureLabel"};
  QWidget* manualFields[3] = {height_, temperature_, pressure_};
  for (int i = 0; i < 3; ++i) AddLabelledRow(manualGrid, i, manualLabels[i], manualFields[i]);
  manualGrid->addWidget(refraction_, 3, 0, 1, 2);
  layout->addWidget(manualGroup);

  layout->addLayout(MakeOkCancelRow(this, "Button1", "CancelButton").Row);

  const bool byBeginning = CurrentSettingsStore().ReadBool("Settings", "SearchLocationByBeginning").value_or(true);
  word_start_->setChecked(byBeginning);
  list_.SetSearchAnywhere(!byBeginning);
  list_.OnChange = [this] {
    if (!refreshing_) ShowPlace();
  };

  connect(search_, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (list_.Count() > 0) list_.suchen(text.toStdString());
  });
  connect(postcode_search_, &QLineEdit::textChanged, this,
          [this](const QString& text) { list_.plzsuchen(text.toStdString()); });
  connect(word_start_, &QCheckBox::clicked, this, [this](bool checked) {
    list_.SetSearchAnywhere(!checked);
    if (list_.Count() > 0) list_.suchen(search_->text().toStdString());
  });
  connect(open_button_, &QPushButton::clicked, this, &TOrtwahldialog::OpenFile);
  connect(zone_, &QSpinBox::valueChanged, this, [this](int zone) {
    zone_name_->setText(ZoneLabel(zone, extra_minutes_->value()));
    if (refreshing_) return;
    Record.Zone = zone;
    refreshing_ = true;
    list_.SetZoneIndex(zone);
    refreshing_ = false;
  });
  connect(extra_minutes_, &QSpinBox::valueChanged, this, [this](int minutes) {
    zone_name_->setText(ZoneLabel(zone_->value(), minutes));
    if (refreshing_) return;
    Record.ZoneMinutes = minutes;
    refreshing_ = true;
    list_.SetExtraMinutes(minutes);
    refreshing_ = false;
  });
  connect(name_, &QLineEdit::textEdited, this, [this](const QString& text) {
    Record.PlaceName = Utf8Prefix(text.toStdString(), 255);
    refreshing_ = true;
    list_.SetPlaceName(Record.PlaceName);
    refreshing_ = false;
  });
  connect(daylight_, &QCheckBox::toggled, this, [this](bool on) { Record.DaylightHours = on ? 1 : 0; });
  connect(utButton, &QPushButton::clicked, this, [this] { zone_->setValue(-Record.DaylightHours); });
  connect(refraction_, &QCheckBox::toggled, this, [this](bool on) { Record.RefractionOn = on ? 1 : 0; });
  connect(longitude_, &QLineEdit::editingFinished, this, [this] {
    if (isVisible() && !refreshing_ && longitude_->isModified()) CheckLongitude();
  });
  connect(latitude_, &QLineEdit::editingFinished, this, [this] {
    if (isVisible() && !refreshing_ && latitude_->isModified()) CheckLatitude();
  });
  connect(height_, &TIntegerEdit::Accepted, this, [this] {
    if (isVisible() && !refreshing_) CheckHeight();
  });
  connect(temperature_, &TIntegerEdit::Accepted, this, [this] {
    if (isVisible() && !refreshing_) CheckTemperature();
  });
  connect(pressure_, &TIntegerEdit::Accepted, this, [this] {
    if (isVisible() && !refreshing_) CheckPressure();
  });
}

TOrtwahldialog::~TOrtwahldialog() {
  list_.OnChange = nullptr;
  list_.ClearLocationTable();
}

void TOrtwahldialog::SetCaptions() {
  setWindowTitle(Tr("Geographischen Ort aus Datei laden oder eingeben", "Geographic location"));
  static constexpr TCaption kTexts[] = {
      {"ListLabel", "O&rte:", "L&ocations"},
      {"SearchLabel", "&suchen nach:", "&find:"},
      {"wortanfang", "nur nach &Wortanfang", "only by  the binning of &words"},
      {"PostcodeSearchLabel", "&Postleizahl suchen:", "Find postal code:"},
      {"weltzeitc", "Weltzeit beibehalten", "Do not change UT"},
      {"Button2", "&Datei mit geographischen Koordinaten öffnen...", "Load &database with geographic locations..."},
      {"PlaceLabel", "Or&t:", "Loca&tion:"},
      {"PostcodeLabel", "PLZ:", "Postal code:"},
      {"LongitudeLabel", "Geogr. &Länge:", "Geogr. &longitude:"},
      {"LatitudeLabel", "Geogr. &Breite:", "Geogr. latitude:"},
      {"EastNote", "(östlich: negativ)", "(East: negativ)"},
      {"ZoneLabel", "&Zeitzone:", "Time zone:"},
      {"MinutesLabel",
       "Zusätzliche Differenz zur Zeitzone in Minuten:", "Additional difference to the time zone in minutes:"},
      {"CheckBox1", "Sommerzeit", "Daylight saving"},
      {"HeightLabel", "&Meereshöhe (m):", "Altitude above sea level (m):"},
      {"TemperatureLabel", "Temperatur (°&C):", "Temperature (°&C):"},
      {"PressureLabel", "Lu&ftdruck (Millibar):", "Atmospheric pressure (millibar):"},
      {"CBRefraktion", "Refraktion ber&ücksichtigen", "Correction for atmospheric refraction"},
      {"CancelButton", "&Abbruch", "&Cancel"},
  };
  ApplyCaptions(*this, kTexts);
  findChild<QGroupBox*>("FileGroup")
      ->setTitle(Tr("Aus Datei mit geographischen Koordinaten übernehmen", "Using database"));
  findChild<QGroupBox*>("PlaceGroup")->setTitle(Tr("Verwendete Koordinaten", "Actually used geographic location"));
  findChild<QGroupBox*>("ManualGroup")
      ->setTitle(Tr("Weitere Eingaben (nur manuell)", "Additional values (not from database)"));
}

void TOrtwahldialog::ShowFileLabel() {
  if (list_.Count() == 0) {
    file_label_->setText(Tr("Momentan ist keine Datei mit geogr. Koordinaten geladen",
                            "For the moment there no file with geogr. coordinates is used"));
    file_label_->setStyleSheet("color: red");
  } else {
    file_label_->setText(Tr("Verwendete Datei: ", "File: ") + QString::fromStdString(list_.FileName()));
    file_label_->setStyleSheet("color: black");
  }
}

namespace {

// True when the list's current place is its chosen item: the same name and
// coordinates (the file's four decimals).
bool IsChosenPlace(const Orttabelle& list) {
  const int item = list.ItemIndex();
  if (item < 0 || item >= list.Count()) return false;
  const TOrtdatens& place = list.Place(item);
  return list.Name(item) == list.PlaceName() && std::fabs(place.Latitude - list.Latitude()) < 5e-5 &&
         std::fabs(place.Longitude - list.Longitude()) < 5e-5;
}

}  // namespace

void TOrtwahldialog::showEvent(QShowEvent* event) {
  error_ = false;
  kept_list_.reset();
  // Nothing below may write the list's place back into the record before
  // the record has been handed to the list.
  refreshing_ = true;
  if (load_on_show_) {
    load_on_show_ = false;
    if (LocationFileName.empty()) LocationFileName = DefaultFileName();
    list_.Neuedateiladen(LocationFileName, 0, false);
    combo_->Reload();
  }
  daylight_->setChecked(Record.DaylightHours == 1);
  extra_minutes_->setValue(Record.ZoneMinutes);
  list_.SetSearchAnywhere(!word_start_->isChecked());
  SetCaptions();
  ShowFileLabel();
  // The list's current place takes the record (packed D.MMSS as handed in).
  list_.SetLatitudeText(TrimBlanks(FormatFixed(Record.Latitude, 0, 4)));
  list_.SetLongitudeText(TrimBlanks(FormatFixed(Record.Longitude, 0, 4)));
  list_.SetZoneIndex(Record.Zone);
  list_.SetExtraMinutes(Record.ZoneMinutes);
  list_.SetPlaceName(Record.PlaceName);
  // The postcode is the chosen list place's: beside a record that is
  // another place it would name the wrong one.
  if (!IsChosenPlace(list_)) list_.SetPostcode("");
  refreshing_ = false;
  ShowPlace();
  QDialog::showEvent(event);
}

std::string& TOrtwahldialog::DefaultFileName() {
  static std::string name;
  return name;
}

void TOrtwahldialog::hideEvent(QHideEvent* event) {
  CurrentSettingsStore().WriteBool("Settings", "SearchLocationByBeginning", word_start_->isChecked());
  QDialog::hideEvent(event);
}

void TOrtwahldialog::ShowPlace() {
  refreshing_ = true;
  combo_->ShowCurrent();
  postcode_->setText(QString::fromStdString(list_.GetPostcode()));
  name_->setText(QString::fromStdString(list_.PlaceName()));
  longitude_->setText(QString::fromStdString(DmsArcText(TrimBlanks(FormatFixed(list_.Longitude(), 0, 4)))));
  latitude_->setText(QString::fromStdString(DmsArcText(TrimBlanks(FormatFixed(list_.Latitude(), 0, 4)))));
  zone_->setValue(list_.Zone());
  zone_name_->setText(ZoneLabel(list_.Zone(), list_.ExtraMinutes()));
  extra_minutes_->setValue(list_.ExtraMinutes());
  height_->SetAcceptedText(QString::number(Record.Height));
  temperature_->SetValue(Record.Temperature, 1);
  pressure_->SetValue(Record.Pressure, 1);
  refraction_->setChecked(Record.RefractionOn != 0);
  latitude_degrees_->setText(DegreeLabel(DmsPackedToDeg(list_.Latitude())));
  longitude_degrees_->setText(DegreeLabel(DmsPackedToDeg(list_.Longitude())));
  Record.Latitude = list_.Latitude();
  Record.Longitude = list_.Longitude();
  Record.Zone = list_.Zone();
  Record.ZoneMinutes = list_.ExtraMinutes();
  Record.PlaceName = list_.PlaceName();
  refreshing_ = false;
}

void TOrtwahldialog::Refused(QWidget* field) {
  ShowPlace();
  error_ = true;
  field->setFocus();
}

bool TOrtwahldialog::CheckAngle(QLineEdit* edit, QLabel* degreesLabel, bool (*read)(const std::string&, double&),
                                void (Orttabelle::*store)(const std::string&), double (Orttabelle::*stored)() const,
                                double& recordField) {
  double degrees = 0;
  if (!read(edit->text().toStdString(), degrees)) {
    Refused(edit);
    return false;
  }
  refreshing_ = true;
  (list_.*store)(FormatFixed(DegToDmsPackedSec(degrees), 0, 4));
  refreshing_ = false;
  recordField = (list_.*stored)();
  degreesLabel->setText(DegreeLabel(degrees));
  return true;
}

bool TOrtwahldialog::CheckLongitude() {
  return CheckAngle(longitude_, longitude_degrees_, ReadLongitudeText, &Orttabelle::SetLongitudeText,
                    &Orttabelle::Longitude, Record.Longitude);
}

bool TOrtwahldialog::CheckLatitude() {
  return CheckAngle(latitude_, latitude_degrees_, ReadLatitudeText, &Orttabelle::SetLatitudeText, &Orttabelle::Latitude,
                    Record.Latitude);
}

bool TOrtwahldialog::CheckHeight() {
  bool ok = false;
  const long long h = height_->text().toLongLong(&ok);
  if (!ok || std::llabs(h) > 310000) {
    ShowImplausibleValues();
    Refused(height_);
    return false;
  }
  Record.Height = static_cast<std::int32_t>(h);
  return true;
}

bool TOrtwahldialog::CheckTemperature() {
  double t = 0;
  if (!temperature_->Value(t) || std::fabs(t) > 273.0) {
    ShowImplausibleValues();
    Refused(temperature_);
    return false;
  }
  Record.Temperature = t;
  return true;
}

bool TOrtwahldialog::CheckPressure() {
  double p = 0;
  if (!pressure_->Value(p) || p < 0.0 || p > 12000.0) {
    ShowImplausibleValues();
    Refused(pressure_);
    return false;
  }
  Record.Pressure = p;
  return true;
}

void TOrtwahldialog::SetLocationFile(const std::string& fileName) {
  LocationFileName = fileName;
  if (load_on_show_) return;
  refreshing_ = true;
  list_.Neuedateiladen(fileName, 0, false);
  refreshing_ = false;
  combo_->Reload();
}

void TOrtwahldialog::OpenFile() {
  // The data-file dialog of the location kind: it refuses a file whose first
  // line is no location header.
  VamurDateien dialog;
  dialog.SetFileDialogLanguage(LanguageEnglish != 0 ? "ENGLISH" : "GERMAN");
  dialog.SetFileDialogKind("orte");
  dialog.FileName = list_.FileName().empty() ? LocationFileName : list_.FileName();
  if (!dialog.Execute()) return;
  const std::optional<std::string> chosen = dialog.FileName;
  if (!kept_list_) {
    kept_list_ = std::make_unique<Orttabelle>(list_);
    kept_file_ = LocationFileName;
  }
  LocationFileName = *chosen;
  search_->clear();
  refreshing_ = true;
  list_.Neuedateiladen(*chosen, 0, true);
  refreshing_ = false;
  combo_->Reload();
  ShowPlace();
  ShowFileLabel();
}

void TOrtwahldialog::accept() {
  // The focus leaves the field it is in, so that the field's own check runs
  // before the checks of OK.
  QWidget* focused = focusWidget();
  open_button_->setFocus();
  error_ = false;
  const bool ok = CheckLatitude() && CheckLongitude() && CheckTemperature() && CheckHeight() && CheckPressure();
  if (!ok) {
    error_ = false;  // the refusal keeps the dialog open once
    return;
  }
  // The kept dialog shows again with the focus where it was: left on the
  // open button, Return at the next showing would open a file instead of
  // confirming.
  if (focused != nullptr && focused != open_button_ && isAncestorOf(focused)) {
    focused->setFocus();
  } else {
    combo_->setFocus();
  }
  Record.RefractionOn = refraction_->isChecked() ? 1 : 0;
  Record.Latitude = DmsPackedToDeg(list_.Latitude());
  Record.Longitude = DmsPackedToDeg(list_.Longitude());
  Record.PlaceName = Utf8Prefix(name_->text().toStdString(), 255);
  kept_list_.reset();
  QDialog::accept();
}

void TOrtwahldialog::reject() {
  error_ = false;
  if (kept_list_) {
    list_ = *kept_list_;
    LocationFileName = kept_file_;
    kept_list_.reset();
    refreshing_ = true;
    combo_->Reload();
    refreshing_ = false;
    ShowFileLabel();
  }
  QDialog::reject();
}

TOrtwahldialog& LocationDialog() {
  static QPointer<TOrtwahldialog> dialog;
  return KeptDialog(dialog);
}

std::optional<TObserverRecord> ChooseLocation(const TObserverRecord& observer, bool& keepUT) {
  TOrtwahldialog& dialog = LocationDialog();
  dialog.Record = observer;
  dialog.Record.Latitude = DegToDmsPackedSec(observer.Latitude);
  dialog.Record.Longitude = DegToDmsPackedSec(observer.Longitude);
  dialog.KeepUT()->setChecked(keepUT);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  keepUT = dialog.KeepUT()->isChecked();
  return dialog.Record;
}

}  // namespace kvx
