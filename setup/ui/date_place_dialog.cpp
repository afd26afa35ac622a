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
#include "core/observer_record.h"
#include "core/text_conversion.h"
#include "core/time_scales.h"
#include "platform/globals.h"
#include "platform/messages.h"
#include "setup/edit_rules.h"
#include "setup/ui/dialog_owner.h"
#include "setup/ui/edit_controls.h"
#include "setup/ui/location_dialog.h"

namespace kvx {

namespace {

QString Tr(const char* german, const char* english) { return QString::fromUtf8(ByLanguage(german, english)); }

QString DegreeLabel(double degrees) { return QString::number(degrees, 'f', 4) + QString::fromUtf8("°"); }

QString ZoneLabel(int zone) {
  if (zone < -12 || zone > 12) return "()";
  return "(" + QString::fromStdString(ZoneNames[static_cast<std::size_t>(zone + 12)]) + ")";
}

void ShowFieldMessage(const char* german, const char* english) {
  ShowMessage(german, english, MessageIcon::Error, MessageButtons::Ok,
              LanguageEnglish != 0 ? std::string{} : std::string("Fehlerhaft oder unrealistischer Wert"));
}

}  // namespace

std::function<void()>& TDatumortForm::HelpHook() {
  static std::function<void()> hook;
  return hook;
}

bool& TDatumortForm::KeepUT() {
  static bool keep = false;
  return keep;
}

TDatumortForm::TDatumortForm(QWidget* parent) : QDialog(parent) {
  setObjectName("DatumortForm");
  auto* layout = new QVBoxLayout(this);

  auto* dateGroup = new QGroupBox(this);
  dateGroup->setObjectName("DateGroup");
  auto* dateGrid = new QGridLayout(dateGroup);
  date_ = new TAstroDatumEdit(dateGroup);
  date_->setObjectName("EditDatum");
  day_ = new QSpinBox(dateGroup);
  day_->setObjectName("EditTag");
  day_->setRange(0, 99);
  month_ = new QSpinBox(dateGroup);
  month_->setObjectName("EditMonat");
  month_->setRange(0, 99);
  year_ = new QSpinBox(dateGroup);
  year_->setObjectName("EditJahr");
  year_->setRange(-99999, 99999);
  time_ = new TEditUhrzeithms(dateGroup);
  time_->setObjectName("EditUhrzeit");
  time_->SetRefusal("Uhrzeit: Wert muß >=0 und < 24 sein! Die Eingabe wird im Format (h)h:mm:ss erwartet.",
                    "Time must be >=0 and < 24 as (h)h:mm:ss.");
  hour_ = new QSpinBox(dateGroup);
  hour_->setObjectName("SpHour");
  hour_->setRange(0, 23);
  minute_ = new QSpinBox(dateGroup);
  minute_->setObjectName("SpMin");
  minute_->setRange(0, 59);
  second_ = new QSpinBox(dateGroup);
  second_->setObjectName("SpSec");
  second_->setRange(0, 59);
  delta_t_ = new TFloatEdit(dateGroup);
  delta_t_->setObjectName("EditDT");
  delta_t_->SetRefusal("ET-Ut (Sekunden): ungültiger Wert!", "ET-UT (seconds): invalide value!");
  auto* zeroUt = new QPushButton(dateGroup);
  zeroUt->setObjectName("NullUhrUT");
  auto* now = new QPushButton(dateGroup);
  now->setObjectName("Systemzeit");
  auto* today = new QPushButton(dateGroup);
  today->setObjectName("Button2");
  approximate_ = new QPushButton(dateGroup);
  approximate_->setObjectName("ETUTAutomatisch");
  ephemeris_time_ = new QPushButton(dateGroup);
  ephemeris_time_->setObjectName("Ephmeridenzeit");
  delta_t_auto_ = new QCheckBox(dateGroup);
  delta_t_auto_->setObjectName("cbetautomatisch");
  daylight_ = new QCheckBox(dateGroup);
  daylight_->setObjectName("CheckBox1");
  zone_ = new QSpinBox(dateGroup);
  zone_->setObjectName("EditZeitzone");
  zone_->setRange(-12, 12);
  zone_name_ = new QLabel(dateGroup);
  extra_minutes_ = new QSpinBox(dateGroup);
  extra_minutes_->setObjectName("SpinEdit1");
  extra_minutes_->setRange(-720, 720);
  auto* utButton = new QPushButton("UT", dateGroup);
  utButton->setObjectName("Button3");
  auto* dateLabel = new QLabel(dateGroup);
  dateLabel->setObjectName("DateLabel");
  dateLabel->setBuddy(date_);
  auto* timeLabel = new QLabel(dateGroup);
  timeLabel->setObjectName("TimeLabel");
  timeLabel->setBuddy(time_);
  auto* deltaLabel = new QLabel(dateGroup);
  deltaLabel->setObjectName("DeltaTLabel");
  deltaLabel->setBuddy(delta_t_);
  auto* zoneLabel = new QLabel(dateGroup);
  zoneLabel->setObjectName("ZoneLabel");
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

  auto* placeGroup = new QGroupBox(this);
  placeGroup->setObjectName("PlaceGroup");
  auto* placeGrid = new QGridLayout(placeGroup);
  place_ = new QLineEdit(placeGroup);
  place_->setObjectName("EditOrt");
  place_->setMaxLength(255);
  latitude_ = new QLineEdit(placeGroup);
  latitude_->setObjectName("EditGB");
  longitude_ = new QLineEdit(placeGroup);
  longitude_->setObjectName("EditGl");
  latitude_degrees_ = new QLabel(placeGroup);
  latitude_degrees_->setObjectName("LatitudeDegrees");
  longitude_degrees_ = new QLabel(placeGroup);
  longitude_degrees_->setObjectName("LongitudeDegrees");
  height_ = new TIntegerEdit(placeGroup);
  height_->setObjectName("EDMeereshoehe");
  height_->SetRefusal("Bitte einen realistischen Wert für die Meereshöhe eingeben!",
                      "Please enter a realistic values for height above sea level!");
  temperature_ = new TFloatEdit(placeGroup);
  temperature_->setObjectName("EDTemperatur");
  temperature_->SetRefusal("Bitte einen realistischen Wert für die Temperatur in °Celsius eingeben!",
                           "Please enter a realistic value for temperature in ° celsius!");
  pressure_ = new TFloatEdit(placeGroup);
  pressure_->setObjectName("EDLuftdruck");
  pressure_->SetRefusal("Bitte einen realistischen Wert für den Luftdruck eingeben!",
                        "Please enter a realistic value for air pressure!");
  refraction_ = new QCheckBox(placeGroup);
  refraction_->setObjectName("CBRefraktion");
  auto* openLocations = new QPushButton(placeGroup);
  openLocations->setObjectName("Button1");
  const char* labelNames[6] = {"PlaceLabel",  "LatitudeLabel",    "LongitudeLabel",
                               "HeightLabel", "TemperatureLabel", "PressureLabel"};
  QWidget* fields[6] = {place_, latitude_, longitude_, height_, temperature_, pressure_};
  for (int i = 0; i < 6; ++i) {
    auto* label = new QLabel(placeGroup);
    label->setObjectName(labelNames[i]);
    label->setBuddy(fields[i]);
    placeGrid->addWidget(label, i, 0);
    placeGrid->addWidget(fields[i], i, 1);
  }
  placeGrid->addWidget(latitude_degrees_, 1, 2);
  placeGrid->addWidget(longitude_degrees_, 2, 2);
  placeGrid->addWidget(refraction_, 6, 1, 1, 2);
  placeGrid->addWidget(openLocations, 7, 0, 1, 3);
  layout->addWidget(placeGroup);

  auto* buttons = new QHBoxLayout;
  auto* ok = new QPushButton("&OK", this);
  ok->setObjectName("OK");
  ok->setDefault(true);
  auto* cancel = new QPushButton(this);
  cancel->setObjectName("Abbruch");
  help_ = new QPushButton(this);
  help_->setObjectName("Hilfe");
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  buttons->addWidget(help_);
  layout->addLayout(buttons);

  connect(ok, &QPushButton::clicked, this, &TDatumortForm::accept);
  connect(cancel, &QPushButton::clicked, this, &TDatumortForm::reject);
  connect(help_, &QPushButton::clicked, this, [] {
    if (HelpHook()) HelpHook()();
  });
  connect(zeroUt, &QPushButton::clicked, this, [this] {
    LocalHours = Mod24(Zone + DaylightHours + ExtraMinutes / 60.0);
    FormActivate();
  });
  connect(ephemeris_time_, &QPushButton::clicked, this, [this] {
    DeltaTSeconds = 0;
    delta_t_->SetValue(0, 1);
  });
  // Today and now in the zone the dialog shows, from the clock's UTC.
  connect(today, &QPushButton::clicked, this, [this] {
    double hours = 0;
    CurrentDateAndHoursAt(Zone + ExtraMinutes / 60.0 + DaylightHours, Day, Month, Year, hours);
    FormActivate();
  });
  connect(now, &QPushButton::clicked, this, &TDatumortForm::TakeComputerTime);
  connect(approximate_, &QPushButton::clicked, this, [this] {
    DateFromEdit();
    if (time_->ReadText()) LocalHours = time_->Uhrzeit();
    EstimateDeltaT();
  });
  connect(utButton, &QPushButton::clicked, this, [this] {
    zone_->setValue(-DaylightHours);
    extra_minutes_->setValue(0);
  });
  connect(openLocations, &QPushButton::clicked, this, &TDatumortForm::OpenLocationDialog);

  // The context menus of the two groups repeat the buttons.
  time_menu_ = new QMenu(dateGroup);
  time_menu_->setObjectName("TimeMenu");
  // Their captions are set with the others (SetCaptions).
  for (QPushButton* button : {zeroUt, now, ephemeris_time_, approximate_}) {
    connect(time_menu_->addAction(QString()), &QAction::triggered, button, &QPushButton::click);
  }
  place_menu_ = new QMenu(placeGroup);
  place_menu_->setObjectName("PlaceMenu");
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
    day_->setValue(Day);
    month_->setValue(Month);
    year_->setValue(Year);
    filling_ = false;
    if (DeltaTAutomatic) EstimateDeltaT();
  });
  connect(time_, &TUhrzeitEdit::Changed, this, [this] {
    if (filling_) return;
    LocalHours = time_->Uhrzeit() + 0.00000005;
    filling_ = true;
    hour_->setValue(static_cast<int>(std::trunc(LocalHours)));
    minute_->setValue(static_cast<int>(std::trunc((LocalHours - std::trunc(LocalHours)) * 60)));
    second_->setValue(static_cast<int>(std::trunc(std::fmod(LocalHours * 60, 1.0) * 60 + 0.5)) % 60);
    filling_ = false;
  });
  for (QSpinBox* spin : {hour_, minute_, second_})
    connect(spin, &QSpinBox::valueChanged, this, [this] {
      if (filling_) return;
      LocalHours = hour_->value() + minute_->value() / 60.0 + second_->value() / 3600.0;
      filling_ = true;
      time_->SetUhrzeit(LocalHours);
      filling_ = false;
    });
  connect(zone_, &QSpinBox::valueChanged, this, [this](int zone) {
    if (filling_) return;
    Zone = zone;
    zone_name_->setText(ZoneLabel(zone));
  });
  connect(extra_minutes_, &QSpinBox::valueChanged, this, [this](int minutes) {
    if (!filling_) ExtraMinutes = minutes;
  });
  connect(daylight_, &QCheckBox::toggled, this, [this](bool on) {
    if (!filling_) DaylightHours = on ? 1 : 0;
  });
  connect(delta_t_auto_, &QCheckBox::toggled, this, [this](bool on) {
    if (filling_) return;
    DeltaTAutomatic = on;
    FormActivate();
  });
  connect(place_, &QLineEdit::editingFinished, this, [this] { Place = place_->text().toStdString(); });
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
  clock.Zone = Zone;
  clock.ZoneMinutes = ExtraMinutes;
  clock.DaylightHours = DaylightHours;
  CurrentDateToRecord(clock);
  Day = clock.Day;
  Month = clock.Month;
  Year = clock.Year;
  LocalHours = clock.LocalHours;
  FormActivate();
}

void TDatumortForm::SetCaptions() {
  setWindowTitle(Tr("Datum und Ort eingeben", "Date and Location"));
  struct Text {
    const char* name;
    const char* german;
    const char* english;
  };
  static constexpr Text kTexts[] = {
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
  for (const Text& t : kTexts) {
    QWidget* w = findChild<QWidget*>(t.name);
    if (auto* label = qobject_cast<QLabel*>(w))
      label->setText(Tr(t.german, t.english));
    else if (auto* button = qobject_cast<QAbstractButton*>(w))
      button->setText(Tr(t.german, t.english));
  }
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
  daylight_->setChecked(DaylightHours == 1);
  delta_t_auto_->setChecked(DeltaTAutomatic);
  approximate_->setEnabled(!DeltaTAutomatic);
  ephemeris_time_->setEnabled(!DeltaTAutomatic);
  delta_t_->setEnabled(!DeltaTAutomatic);
  zone_->setValue(Zone);
  zone_name_->setText(ZoneLabel(Zone));
  extra_minutes_->setValue(ExtraMinutes);
  date_->SetJD(CalendarDateToJd(Day, Month, Year, 0.0));
  Day = date_->Part(3);
  Month = date_->Part(2);
  Year = date_->Part(1);
  time_->SetUhrzeit(LocalHours);
  delta_t_->SetValue(DeltaTSeconds, 1);
  temperature_->SetValue(Temperature, 1);
  pressure_->SetValue(Pressure, 1);
  height_->SetAcceptedText(QString::number(Height));
  longitude_->setText(QString::fromStdString(DegreesArcText(Longitude)));
  latitude_->setText(QString::fromStdString(DegreesArcText(Latitude)));
  latitude_degrees_->setText(DegreeLabel(Latitude));
  longitude_degrees_->setText(DegreeLabel(Longitude));
  place_->setText(QString::fromStdString(Place));
  refraction_->setChecked(Refraction);
  day_->setValue(Day);
  month_->setValue(Month);
  year_->setValue(Year);
  const double h = LocalHours;
  hour_->setValue(static_cast<int>(std::trunc(h)));
  minute_->setValue(static_cast<int>(std::trunc((h - std::trunc(h)) * 60)));
  second_->setValue(static_cast<int>(std::trunc(std::fmod(h * 60, 1.0) * 60 + 0.5)) % 60);
  filling_ = false;
  if (DeltaTAutomatic) EstimateDeltaT();
}

void TDatumortForm::EstimateDeltaT() {
  const double utHours = LocalHours + 0.00005 - (Zone + ExtraMinutes / 60.0 + DaylightHours);
  DeltaTSeconds = DeltaT(CalendarDateToJd(Day, Month, Year, utHours));
  delta_t_->SetValue(DeltaTSeconds, 1);
}

void TDatumortForm::DateFromEdit() {
  Day = date_->Part(3);
  Month = date_->Part(2);
  Year = date_->Part(1);
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
  Day = day;
  Month = month;
  Year = year;
  date_->SetJD(CalendarDateToJd(Day, Month, Year, 0.0));
  filling_ = false;
  if (DeltaTAutomatic) EstimateDeltaT();
}

void TDatumortForm::OpenLocationDialog() {
  TOrtwahldialog& dialog = LocationDialog();
  dialog.Record.Longitude = DegToDmsPackedSec(Longitude);
  dialog.Record.Latitude = DegToDmsPackedSec(Latitude);
  dialog.Record.Zone = Zone;
  dialog.Record.ZoneMinutes = ExtraMinutes;
  dialog.Record.PlaceName = Place;
  dialog.Record.Height = Height;
  dialog.Record.Pressure = Pressure;
  dialog.Record.Temperature = Temperature;
  dialog.Record.DaylightHours = DaylightHours;
  dialog.Record.RefractionOn = Refraction ? 1 : 0;
  dialog.KeepUT()->setChecked(KeepUT());
  if (dialog.exec() != QDialog::Accepted) return;
  Longitude = dialog.Record.Longitude;
  Latitude = dialog.Record.Latitude;
  Zone = dialog.Record.Zone;
  ExtraMinutes = dialog.Record.ZoneMinutes;
  Place = dialog.Record.PlaceName;
  Height = dialog.Record.Height;
  Pressure = dialog.Record.Pressure;
  Temperature = dialog.Record.Temperature;
  DaylightHours = dialog.Record.DaylightHours;
  Refraction = dialog.Record.RefractionOn != 0;
  KeepUT() = dialog.KeepUT()->isChecked();
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
  DeltaTSeconds = x;
  return true;
}

bool TDatumortForm::CheckLatitude() {
  double degrees = 0;
  if (!ReadLatitudeText(latitude_->text().toStdString(), degrees)) {
    Refuse(latitude_);
    return false;
  }
  Latitude = degrees;
  latitude_degrees_->setText(DegreeLabel(degrees));
  return true;
}

bool TDatumortForm::CheckLongitude() {
  double degrees = 0;
  if (!ReadLongitudeText(longitude_->text().toStdString(), degrees)) {
    Refuse(longitude_);
    return false;
  }
  Longitude = degrees;
  longitude_degrees_->setText(DegreeLabel(degrees));
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
  Height = static_cast<std::int32_t>(h);
  return true;
}

bool TDatumortForm::CheckTemperature() {
  if (temperature_->text().isEmpty()) return true;
  double t = 0;
  if (!temperature_->Value(t) || std::fabs(t) > 273.0) {
    ShowFieldMessage("Bitte einen realistischen Wert für die Temperatur in °Celsius eingeben!",
                     "Please enter a realistic value for temperature in ° celsius!");
    Refuse(temperature_);
    return false;
  }
  Temperature = t;
  return true;
}

bool TDatumortForm::CheckPressure() {
  if (pressure_->text().isEmpty()) return true;
  double p = 0;
  if (!pressure_->Value(p) || p < 0.0 || p > 12000.0) {
    ShowFieldMessage("Bitte einen realistischen Wert für den Luftdruck eingeben!",
                     "Please enter a realistic value for air pressure!");
    Refuse(pressure_);
    return false;
  }
  Pressure = p;
  return true;
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
  LocalHours = time_->Uhrzeit() + 0.00000005;
  if (!(CheckDeltaT() && CheckLatitude() && CheckLongitude() && CheckTemperature() && CheckHeight() &&
        CheckPressure())) {
    ErrorFlag = false;  // refused once: the dialog stays open
    return;
  }
  Refraction = refraction_->isChecked();
  Place = place_->text().toStdString();
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

bool ShowDatePlaceDialog(std::int32_t& day, std::int32_t& month, std::int32_t& year, std::int32_t& zone,
                         std::int32_t& extraMinutes, double& localHours, double& deltaT, double& latitude,
                         double& longitude, std::string& place, std::int32_t& daylightHours, std::int32_t& height,
                         double& temperature, double& pressure, bool& refraction, bool& deltaTAutomatic, bool showHints,
                         bool show) {
  if (!show) return false;
  TDatumortForm& form = DatePlaceDialog();
  form.Day = day;
  form.Month = month;
  form.Year = year;
  form.Zone = zone;
  form.ExtraMinutes = extraMinutes;
  form.LocalHours = localHours;
  form.DeltaTSeconds = deltaT;
  form.Latitude = latitude;
  form.Longitude = longitude;
  form.Place = place;
  form.DaylightHours = daylightHours;
  form.Height = height;
  form.Temperature = temperature;
  form.Pressure = pressure;
  form.Refraction = refraction;
  form.DeltaTAutomatic = deltaTAutomatic;
  form.setToolTipDuration(showHints ? -1 : 0);
  form.SetCaptions();
  form.FormActivate();
  if (form.exec() != QDialog::Accepted) return false;
  day = form.Day;
  month = form.Month;
  year = form.Year;
  zone = form.Zone;
  extraMinutes = form.ExtraMinutes;
  localHours = form.LocalHours;
  deltaT = form.DeltaTSeconds;
  latitude = form.Latitude;
  longitude = form.Longitude;
  place = form.Place.substr(0, 255);
  daylightHours = form.DaylightHours;
  height = form.Height;
  temperature = form.Temperature;
  pressure = form.Pressure;
  refraction = form.Refraction;
  deltaTAutomatic = form.DeltaTAutomatic;
  return true;
}

}  // namespace kvx
