#include "setup/ui/place_fields.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include "core/name_tables.h"
#include "setup/ui/edit_controls.h"

namespace kvx {

QString ZoneLabel(int zone) {
  if (zone < -12 || zone > 12) return QStringLiteral("()");
  return "(" + QString::fromStdString(ZoneNames[static_cast<std::size_t>(zone + 12)]) + ")";
}

QString DegreeLabel(double degrees) { return QString::number(degrees, 'f', 4) + QString::fromUtf8("°"); }

TZoneFields MakeZoneFields(QWidget* parent, const char* utButtonName) {
  TZoneFields f;
  f.Zone = new QSpinBox(parent);
  f.Zone->setObjectName("EditZeitzone");
  f.Zone->setRange(-12, 12);
  f.ZoneName = new QLabel(parent);
  f.ExtraMinutes = new QSpinBox(parent);
  f.ExtraMinutes->setObjectName("SpinEdit1");
  f.ExtraMinutes->setRange(-720, 720);
  f.UT = new QPushButton("UT", parent);
  f.UT->setObjectName(utButtonName);
  return f;
}

TWeatherFields MakeWeatherFields(QWidget* parent) {
  TWeatherFields f;
  f.Height = new TIntegerEdit(parent);
  f.Height->setObjectName("EDMeereshoehe");
  f.Temperature = new TFloatEdit(parent);
  f.Temperature->setObjectName("EDTemperatur");
  f.Pressure = new TFloatEdit(parent);
  f.Pressure->setObjectName("EDLuftdruck");
  f.Refraction = new QCheckBox(parent);
  f.Refraction->setObjectName("CBRefraktion");
  return f;
}

}  // namespace kvx
