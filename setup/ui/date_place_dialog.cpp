#include "setup/ui/date_place_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <memory>

#include "core/input_checks.h"
#include "core/name_tables.h"
#include "core/observer_place.h"
#include "core/observer_record.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "platform/globals.h"
#include "platform/help.h"
#include "platform/messages.h"
#include "platform/qt/dialog_buttons.h"
#include "platform/qt/dialog_rows.h"
#include "platform/qt/named_widgets.h"
#include "platform/text_encoding.h"
#include "setup/edit_rules.h"
#include "setup/ui/dialog_owner.h"
#include "setup/ui/edit_controls.h"
#include "setup/ui/location_dialog.h"
#include "setup/ui/place_fields.h"

namespace kvx {

namespace {

QString Tr(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

void ShowFieldMessage(const char* german, const char* english) {
  ShowMessage(german, english, MessageIcon::Error, MessageButtons::Ok,
              LanguageEnglish != 0 ? std::string{} : std::string("Fehlerhaft oder unrealistischer Wert"));
}

}  // namespace

bool& TDatumortForm::KeepUT() {
  static bool keep = false;
  return keep;
}

TDatumortForm::TDatumortForm(QWidget* parent) : QDialog(parent) {
  SetHelpContext(this, kHelpTopicDatePlace);
  Record.Temperature = 10;
  Record.Pressure = 1010;
  Record.RefractionOn = 1;
  Record.AutoDeltaT = 1;
  setObjectName("DatumortForm");
  auto* layout = new QVBoxLayout(this);

  auto* dateGroup = NewNamed<QGroupBox>("DateGroup", this);
  auto* dateGrid = new QGridLayout(dateGroup);
  date_ = NewNamed<TAstroDatumEdit>("EditDatum", dateGroup);
  day_ = NewSpinBox(dateGroup, "EditTag", 0, 99);
  month_ = NewSpinBox(dateGroup, "EditMonat", 0, 99);
  year_ = NewSpinBox(dateGroup, "EditJahr", -99999, 99999);
  time_ = NewNamed<TEditUhrzeithms>("EditUhrzeit", dateGroup);
  time_->SetRefusal("Uhrzeit: Wert muß >=0 und < 24 sein! Die Eingabe wird im Format (h)h:mm:ss erwartet.",
                    "Time must be >=0 and < 24 as (h)h:mm:ss.");
  hour_ = NewSpinBox(dateGroup, "SpHour", 0, 23);
  minute_ = NewSpinBox(dateGroup, "SpMin", 0, 59);
  second_ = NewSpinBox(dateGroup, "SpSec", 0, 59);
  delta_t_ = NewNamed<TFloatEdit>("EditDT", dateGroup);
  delta_t_->SetRefusal("ET-Ut (Sekunden): ungültiger Wert!", "ET-UT (seconds): invalide value!");
  auto* zeroUt = NewNamed<QPushButton>("NullUhrUT", dateGroup);
  auto* now = NewNamed<QPushButton>("Systemzeit", dateGroup);
  auto* today = NewNamed<QPushButton>("Button2", dateGroup);
  approximate_ = NewNamed<QPushButton>("ETUTAutomatisch", dateGroup);
  ephemeris_time_ = NewNamed<QPushButton>("Ephmeridenzeit", dateGroup);
  delta_t_auto_ = NewNamed<QCheckBox>("cbetautomatisch", dateGroup);
  daylight_ = NewNamed<QCheckBox>("CheckBox1", dateGroup);
  const TZoneFields zoneFields = MakeZoneFields(dateGroup, "Button3");
  zone_ = zoneFields.Zone;
  zone_name_ = zoneFields.ZoneName;
  extra_minutes_ = zoneFields.ExtraMinutes;
  QPushButton* utButton = zoneFields.UT;
  auto* dateLabel = NewNamed<QLabel>("DateLabel", dateGroup);
  dateLabel->setBuddy(date_);
  auto* timeLabel = NewNamed<QLabel>("TimeLabel", dateGroup);
  timeLabel->setBuddy(time_);
  auto* deltaLabel = NewNamed<QLabel>("DeltaTLabel", dateGroup);
  deltaLabel->setBuddy(delta_t_);
  auto* zoneLabel = NewNamed<QLabel>("ZoneLabel", dateGroup);
  zoneLabel->setBuddy(zone_);
  date_->setMinimumWidth(110);
  time_->setMinimumWidth(90);
  delta_t_->setMinimumWidth(90);
  dateGrid->addWidget(dateLabel, 0, 0);
  dateGrid->addWidget(date_, 0, 1);
  dateGrid->addWidget(day_, 0, 2);
  dateGrid->addWidget(month_, 0, 3);
  dateGrid->addWidget(year_, 0, 4);
  dateGrid->addWidget(today, 0, 5);
  dateGrid->addWidget(timeLabel, 1, 0);
  dateGrid->addWidget(time_, 1, 1);
  dateGrid->addWidget(hour_, 1, 2);
  dateGrid->addWidget(minute_, 1, 3);
  dateGrid->addWidget(second_, 1, 4);
  dateGrid->addWidget(now, 1, 5);
  dateGrid->addWidget(zeroUt, 1, 6);
  dateGrid->addWidget(zoneLabel, 2, 0);
  dateGrid->addWidget(zone_, 2, 1);
  dateGrid->addWidget(zone_name_, 2, 2, 1, 2);
  dateGrid->addWidget(extra_minutes_, 2, 4);
  dateGrid->addWidget(utButton, 2, 5);
  dateGrid->addWidget(daylight_, 3, 1, 1, 4);
  dateGrid->addWidget(deltaLabel, 4, 0);
  dateGrid->addWidget(delta_t_, 4, 1);
  dateGrid->addWidget(approximate_, 4, 2, 1, 2);
  dateGrid->addWidget(ephemeris_time_, 4, 4, 1, 2);
  dateGrid->addWidget(delta_t_auto_, 5, 1, 1, 5);
  layout->addWidget(dateGroup);

  auto* placeGroup = NewNamed<QGroupBox>("PlaceGroup", this);
  auto* placeGrid = new QGridLayout(placeGroup);
  place_ = NewNamed<QLineEdit>("EditOrt", placeGroup);
  place_->setMaxLength(255);
  latitude_ = NewNamed<QLineEdit>("EditGB", placeGroup);
  longitude_ = NewNamed<QLineEdit>("EditGl", placeGroup);
  latitude_degrees_ = NewNamed<QLabel>("LatitudeDegrees", placeGroup);
  longitude_degrees_ = NewNamed<QLabel>("LongitudeDegrees", placeGroup);
  const TWeatherFields weather = MakeWeatherFields(placeGroup);
  height_ = weather.Height;
  temperature_ = weather.Temperature;
  pressure_ = weather.Pressure;
  refraction_ = weather.Refraction;
  height_->SetRefusal("Bitte einen realistischen Wert für die Meereshöhe eingeben!",
                      "Please enter a realistic values for height above sea level!");
  temperature_->SetRefusal("Bitte einen realistischen Wert für die Temperatur in °Celsius eingeben!",
                           "Please enter a realistic value for temperature in ° celsius!");
  pressure_->SetRefusal("Bitte einen realistischen Wert für den Luftdruck eingeben!",
                        "Please enter a realistic value for air pressure!");
  auto* openLocations = NewNamed<QPushButton>("Button1", placeGroup);
  const char* labelNames[6] = {"PlaceLabel",  "LatitudeLabel",    "LongitudeLabel",
                               "HeightLabel", "TemperatureLabel", "PressureLabel"};
  QWidget* fields[6] = {place_, latitude_, longitude_, height_, temperature_, pressure_};
  for (int i = 0; i < 6; ++i) AddLabelledRow(placeGrid, i, labelNames[i], fields[i]);
  placeGrid->addWidget(latitude_degrees_, 1, 2);
  placeGrid->addWidget(longitude_degrees_, 2, 2);
  placeGrid->addWidget(refraction_, 6, 1, 1, 2);
  placeGrid->addWidget(openLocations, 7, 0, 1, 3);
  layout->addWidget(placeGroup);

  const TOkCancelRow buttons = MakeOkCancelRow(this, "OK", "Abbruch");
  help_ = NewNamed<QPushButton>("Hilfe", this);
  buttons.Row->addWidget(help_);
  layout->addLayout(buttons.Row);

  ConnectHelpButton(this, help_);
  connect(zeroUt, &QPushButton::clicked, this, [this] {
    Record.LocalHours = Mod24(Record.Zone + Record.DaylightHours + Record.ZoneMinutes / 60.0);
    FormActivate();
  });
  connect(ephemeris_time_, &QPushButton::clicked, this, [this] {
    Record.DeltaTSeconds = 0;
    delta_t_->SetValue(0, 1);
  });
  // Today and now in the zone the dialog shows, from the clock's UTC.
  connect(today, &QPushButton::clicked, this, [this] {
    double hours = 0;
    CurrentDateAndHoursAt(Record.Zone + Record.ZoneMinutes / 60.0 + Record.DaylightHours, Record.Day, Record.Month,
                          Record.Year, hours);
    FormActivate();
  });
  connect(now, &QPushButton::clicked, this, &TDatumortForm::TakeComputerTime);
  connect(approximate_, &QPushButton::clicked, this, [this] {
    DateFromEdit();
    if (time_->ReadText()) Record.LocalHours = time_->Uhrzeit();
    EstimateDeltaT();
  });
  connect(utButton, &QPushButton::clicked, this, [this] {
    zone_->setValue(-Record.DaylightHours);
    extra_minutes_->setValue(0);
  });
  connect(openLocations, &QPushButton::clicked, this, &TDatumortForm::OpenLocationDialog);

  // The context menus of the two groups repeat the buttons.
  time_menu_ = NewNamed<QMenu>("TimeMenu", dateGroup);
  // Their captions are set with the others (SetCaptions).
  for (QPushButton* button : {zeroUt, now, ephemeris_time_, approximate_}) {
    connect(time_menu_->addAction(QString()), &QAction::triggered, button, &QPushButton::click);
  }
  place_menu_ = NewNamed<QMenu>("PlaceMenu", placeGroup);
  connect(place_menu_->addAction(QString()), &QAction::triggered, openLocations, &QPushButton::click);
  for (const auto& [group, menu] : {std::pair<QGroupBox*, QMenu*>{dateGroup, time_menu_}, {placeGroup, place_menu_}}) {
    group->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(group, &QWidget::customContextMenuRequested, this,
            [group, menu](const QPoint& at) { menu->popup(group->mapToGlobal(at)); });
  }
  connect(day_, &QSpinBox::editingFinished, this, [this] {
    if (!filling_) FormActivate();
  });
  connect(month_, &QSpinBox::editingFinished, this, [this] {
    if (!filling_) FormActivate();
  });
  for (QSpinBox* spin : {day_, month_, year_})
    connect(spin, &QSpinBox::valueChanged, this, [this] { DateSpinsChanged(); });
  connect(date_, &TAstroDatumEdit::Changed, this, [this] {
    if (filling_) return;
    DateFromEdit();
    filling_ = true;
    day_->setValue(Record.Day);
    month_->setValue(Record.Month);
    year_->setValue(Record.Year);
    filling_ = false;
    if (Record.AutoDeltaT != 0) EstimateDeltaT();
  });
  connect(time_, &TUhrzeitEdit::Changed, this, [this] {
    if (filling_) return;
    Record.LocalHours = time_->Uhrzeit() + 0.00000005;
    filling_ = true;
    hour_->setValue(static_cast<int>(std::trunc(Record.LocalHours)));
    minute_->setValue(static_cast<int>(std::trunc((Record.LocalHours - std::trunc(Record.LocalHours)) * 60)));
    second_->setValue(static_cast<int>(std::trunc(std::fmod(Record.LocalHours * 60, 1.0) * 60 + 0.5)) % 60);
    filling_ = false;
  });
  for (QSpinBox* spin : {hour_, minute_, second_})
    connect(spin, &QSpinBox::valueChanged, this, [this] {
      if (filling_) return;
      Record.LocalHours = hour_->value() + minute_->value() / 60.0 + second_->value() / 3600.0;
      filling_ = true;
      time_->SetUhrzeit(Record.LocalHours);
      filling_ = false;
    });
  connect(zone_, &QSpinBox::valueChanged, this, [this](int zone) {
    if (filling_) return;
    Record.Zone = zone;
    zone_name_->setText(ZoneLabel(zone, Record.ZoneMinutes));
  });
  connect(extra_minutes_, &QSpinBox::valueChanged, this, [this](int minutes) {
    if (filling_) return;
    Record.ZoneMinutes = minutes;
    zone_name_->setText(ZoneLabel(Record.Zone, minutes));
  });
  connect(daylight_, &QCheckBox::toggled, this, [this](bool on) {
    if (!filling_) Record.DaylightHours = on ? 1 : 0;
  });
  connect(delta_t_auto_, &QCheckBox::toggled, this, [this](bool on) {
    if (filling_) return;
    Record.AutoDeltaT = on ? 1 : 0;
    FormActivate();
  });
  connect(place_, &QLineEdit::editingFinished, this, [this] { Record.PlaceName = place_->text().toStdString(); });
  connect(delta_t_, &TIntegerEdit::Accepted, this, [this] {
    if (!filling_ && isVisible()) CheckDeltaT();
  });
  connect(latitude_, &QLineEdit::editingFinished, this, [this] {
    if (!filling_ && isVisible() && latitude_->isModified()) CheckLatitude();
  });
  connect(longitude_, &QLineEdit::editingFinished, this, [this] {
    if (!filling_ && isVisible() && longitude_->isModified()) CheckLongitude();
  });
  connect(height_, &TIntegerEdit::Accepted, this, [this] {
    if (!filling_ && isVisible()) CheckHeight();
  });
  connect(temperature_, &TIntegerEdit::Accepted, this, [this] {
    if (!filling_ && isVisible()) CheckTemperature();
  });
  connect(pressure_, &TIntegerEdit::Accepted, this, [this] {
    if (!filling_ && isVisible()) CheckPressure();
  });
}

void TDatumortForm::TakeComputerTime() {
  TObserverRecord clock;
  clock.Zone = Record.Zone;
  clock.ZoneMinutes = Record.ZoneMinutes;
  clock.DaylightHours = Record.DaylightHours;
  CurrentDateToRecord(clock);
  Record.Day = clock.Day;
  Record.Month = clock.Month;
  Record.Year = clock.Year;
  Record.LocalHours = clock.LocalHours;
  FormActivate();
}

void TDatumortForm::SetCaptions() {
  setWindowTitle(Tr("Datum und Ort eingeben", "Date and Location"));
  static constexpr TCaption kTexts[] = {
      {"DateLabel", "&Datum (tt.mm.jjjj): ", "&Date (tt.mm.jjjj): "},
      {"TimeLabel", "&Uhrzeit:", "&Time:"},
      {"DeltaTLabel", "E&T-UT (sec):", "E&T-UT (sec):"},
      {"ZoneLabel", "&Zeitzone:", "Time &zone:"},
      {"NullUhrUT", "&0 h UT", "&0 h UT"},
      {"Systemzeit", "Jet&zt", "Now"},
      {"Button2", "Heu&te", "Today"},
      {"ETUTAutomatisch", "N&äherung für ET-UT", "Approximate ET-UT"},
      {"Ephmeridenzeit", "&Ephemeridenzeit", "&Ephemeris time"},
      {"cbetautomatisch", "Näherungswert für ET-UT automatisch verwenden",
       "Automatically use approximate value for ET-UT"},
      {"CheckBox1", "Sommerzeit verwenden", "Daylight Saving"},
      {"PlaceLabel", "&Ort:", "&Location:"},
      {"LatitudeLabel", "Geogr. &Breite:", "Geogr. &latitude:"},
      {"LongitudeLabel", "Geogr. &Länge (östlich negativ):", "Geogr. l&ongitude (East negative):"},
      {"HeightLabel", "&Meereshöhe (m):", "&Height above sea level (m):"},
      {"TemperatureLabel", "Temperatur (°C):", "Temperature (°C):"},
      {"PressureLabel", "Luftdruck (mbar):", "Air pressure (mbar):"},
      {"CBRefraktion", "Re&fraktion berücksichtigen", "Include refraction"},
      {"Button1", "Datei mit geographischen Koordinaten öffnen...", "Open file with geographic locations"},
      {"Abbruch", "&Abbruch", "&Cancel"},
      {"Hilfe", "&Hilfe", "&Help"},
  };
  ApplyCaptions(*this, kTexts);
  const QList<QAction*> timeItems = time_menu_->actions();
  timeItems[0]->setText(QStringLiteral("0:00 UT"));
  timeItems[1]->setText(Tr("Jetzt", "Now"));
  timeItems[2]->setText(Tr("Ephemeridenzeit", "Ephemeris time"));
  timeItems[3]->setText(Tr("Näherung für ET-UT", "Approximate ET-UT"));
  place_menu_->actions()[0]->setText(Tr("Geogr. Koordinaten laden...", "Load geogr. coordinates..."));
  findChild<QGroupBox*>("DateGroup")->setTitle(Tr("Datum und Uhrzeit", "Date and time"));
  findChild<QGroupBox*>("PlaceGroup")->setTitle(Tr("Ort", "Location"));
  // Only the German window has the Help button.
  help_->setVisible(LanguageEnglish == 0);
}

void TDatumortForm::FormActivate() {
  filling_ = true;
  daylight_->setChecked(Record.DaylightHours == 1);
  delta_t_auto_->setChecked(Record.AutoDeltaT != 0);
  approximate_->setEnabled(Record.AutoDeltaT == 0);
  ephemeris_time_->setEnabled(Record.AutoDeltaT == 0);
  delta_t_->setEnabled(Record.AutoDeltaT == 0);
  zone_->setValue(Record.Zone);
  zone_name_->setText(ZoneLabel(Record.Zone, Record.ZoneMinutes));
  extra_minutes_->setValue(Record.ZoneMinutes);
  date_->SetJD(CalendarDateToJd(Record.Day, Record.Month, Record.Year, 0.0));
  Record.Day = date_->Part(3);
  Record.Month = date_->Part(2);
  Record.Year = date_->Part(1);
  time_->SetUhrzeit(Record.LocalHours);
  delta_t_->SetValue(Record.DeltaTSeconds, 1);
  temperature_->SetValue(Record.Temperature, 1);
  pressure_->SetValue(Record.Pressure, 1);
  height_->SetAcceptedText(QString::number(Record.Height));
  longitude_->setText(QString::fromStdString(DegreesArcText(Record.Longitude)));
  latitude_->setText(QString::fromStdString(DegreesArcText(Record.Latitude)));
  latitude_degrees_->setText(DegreeLabel(Record.Latitude));
  longitude_degrees_->setText(DegreeLabel(Record.Longitude));
  place_->setText(QString::fromStdString(Record.PlaceName));
  refraction_->setChecked(Record.RefractionOn != 0);
  day_->setValue(Record.Day);
  month_->setValue(Record.Month);
  year_->setValue(Record.Year);
  const double h = Record.LocalHours;
  hour_->setValue(static_cast<int>(std::trunc(h)));
  minute_->setValue(static_cast<int>(std::trunc((h - std::trunc(h)) * 60)));
  second_->setValue(static_cast<int>(std::trunc(std::fmod(h * 60, 1.0) * 60 + 0.5)) % 60);
  filling_ = false;
  if (Record.AutoDeltaT != 0) EstimateDeltaT();
}

void TDatumortForm::EstimateDeltaT() {
  TObserverRecord instant = Record;
  ObserverRecordMjdFromDate(instant);
  Record.DeltaTSeconds = DeltaT(MjdToJd(instant.Mjd));
  delta_t_->SetValue(Record.DeltaTSeconds, 1);
}

void TDatumortForm::DateFromEdit() {
  Record.Day = date_->Part(3);
  Record.Month = date_->Part(2);
  Record.Year = date_->Part(1);
}

void TDatumortForm::DateSpinsChanged() {
  if (filling_) return;
  filling_ = true;
  int day = day_->value();
  const int month = std::clamp(month_->value(), 1, 12);
  const int year = std::clamp(year_->value(), -4712, 9999);
  // Never a day beyond the month (30 February would become 2 March).
  day = std::clamp(day, 1, 31);
  while (day > 28 && !DateExists(day, month, year)) --day;
  day_->setValue(day);
  month_->setValue(month);
  year_->setValue(year);
  Record.Day = day;
  Record.Month = month;
  Record.Year = year;
  date_->SetJD(CalendarDateToJd(Record.Day, Record.Month, Record.Year, 0.0));
  filling_ = false;
  if (Record.AutoDeltaT != 0) EstimateDeltaT();
}

void TDatumortForm::OpenLocationDialog() {
  const std::optional<TObserverRecord> chosen = ChooseLocation(Record, KeepUT());
  if (!chosen) return;
  TakeLocationFields(Record, *chosen);
  FormActivate();
}

void TDatumortForm::Refuse(QWidget* field) {
  ErrorFlag = true;
  FormActivate();
  field->setFocus();
}

bool TDatumortForm::CheckDeltaT() {
  if (delta_t_->text().isEmpty()) return true;
  double x = 0;
  if (!delta_t_->Value(x)) {
    ShowMessage("ET-Ut (Sekunden): ungültiger Wert!", "ET-UT (seconds): invalide value!", MessageIcon::Error);
    Refuse(delta_t_);
    return false;
  }
  Record.DeltaTSeconds = x;
  return true;
}

bool TDatumortForm::CheckCoordinate(bool latitude) {
  QLineEdit* edit = latitude ? latitude_ : longitude_;
  const std::string text = edit->text().toStdString();
  double degrees = 0;
  if (!(latitude ? ReadLatitudeText(text, degrees) : ReadLongitudeText(text, degrees))) {
    Refuse(edit);
    return false;
  }
  (latitude ? Record.Latitude : Record.Longitude) = degrees;
  (latitude ? latitude_degrees_ : longitude_degrees_)->setText(DegreeLabel(degrees));
  return true;
}

bool TDatumortForm::CheckHeight() {
  if (height_->text().isEmpty()) return true;
  bool ok = false;
  const long long h = height_->text().toLongLong(&ok);
  if (!ok || std::llabs(h) > 31000) {
    ShowFieldMessage("Bitte einen realistischen Wert für die Meereshöhe eingeben!",
                     "Please enter a realistic values for height above sea level!");
    Refuse(height_);
    return false;
  }
  Record.Height = static_cast<std::int32_t>(h);
  return true;
}

bool TDatumortForm::CheckWeatherValue(TFloatEdit* edit, double lowest, double highest, const char* german,
                                      const char* english, double& value) {
  if (edit->text().isEmpty()) return true;
  double x = 0;
  if (!edit->Value(x) || x < lowest || x > highest) {
    ShowFieldMessage(german, english);
    Refuse(edit);
    return false;
  }
  value = x;
  return true;
}

bool TDatumortForm::CheckTemperature() {
  return CheckWeatherValue(temperature_, -273.0, 273.0,
                           "Bitte einen realistischen Wert für die Temperatur in °Celsius eingeben!",
                           "Please enter a realistic value for temperature in ° celsius!", Record.Temperature);
}

bool TDatumortForm::CheckPressure() {
  return CheckWeatherValue(pressure_, 0.0, 12000.0, "Bitte einen realistischen Wert für den Luftdruck eingeben!",
                           "Please enter a realistic value for air pressure!", Record.Pressure);
}

void TDatumortForm::showEvent(QShowEvent* event) {
  ErrorFlag = false;
  QDialog::showEvent(event);
}

void TDatumortForm::accept() {
  ErrorFlag = false;
  filling_ = true;
  const bool dateOk = date_->ReadText();
  const bool timeOk = dateOk && time_->ReadText();
  filling_ = false;
  if (!dateOk || !timeOk) return;
  DateFromEdit();
  // A time left as shown keeps the record's own, to the fraction of a second
  // the edit does not show.
  if (time_->Typed()) Record.LocalHours = time_->Uhrzeit() + 0.00000005;
  if (!(CheckDeltaT() && CheckLatitude() && CheckLongitude() && CheckTemperature() && CheckHeight() &&
        CheckPressure())) {
    ErrorFlag = false;  // refused once: the dialog stays open
    return;
  }
  Record.RefractionOn = refraction_->isChecked() ? 1 : 0;
  Record.PlaceName = place_->text().toStdString();
  QDialog::accept();
}

void TDatumortForm::reject() {
  ErrorFlag = false;
  QDialog::reject();
}

TDatumortForm& DatePlaceDialog() {
  static QPointer<TDatumortForm> dialog;
  return KeptDialog(dialog);
}

bool ShowDatePlaceDialog(TObserverRecord& observer, bool showHints, bool show) {
  if (!show) return false;
  TDatumortForm& form = DatePlaceDialog();
  form.Record = observer;
  form.Record.RefractionOn = observer.RefractionOn != 0 ? 1 : 0;
  form.Record.AutoDeltaT = observer.AutoDeltaT != 0 ? 1 : 0;
  form.setToolTipDuration(showHints ? -1 : 0);
  form.SetCaptions();
  form.FormActivate();
  if (form.exec() != QDialog::Accepted) return false;
  observer = form.Record;
  // The record keeps 255 characters of the name (never half of one).
  observer.PlaceName = Utf8Prefix(observer.PlaceName, 255);
  return true;
}

}  // namespace kvx
