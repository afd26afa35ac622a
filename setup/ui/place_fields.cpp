#include "setup/ui/place_fields.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include "core/name_tables.h"
#include "platform/qt/named_widgets.h"
#include "setup/ui/edit_controls.h"

namespace kvx {

QString ZoneLabel(int zone, int extraMinutes) {
  if (zone < -12 || zone > 12) return QStringLiteral("()");
  if (ZoneBeyondNames(zone, extraMinutes))
    return "(" + QString::fromStdString(ZoneOffsetName(zone, extraMinutes)) + ")";
  return "(" + QString::fromStdString(ZoneName(zone)) + ")";
}

QString DegreeLabel(double degrees) { return QString::number(degrees, 'f', 4) + QString::fromUtf8("°"); }

TZoneFields MakeZoneFields(QWidget* parent, const char* utButtonName) {
  TZoneFields f;
  f.Zone = NewSpinBox(parent, "EditZeitzone", -12, 12);
  f.ZoneName = NewNamed<QLabel>("ZoneNameLabel", parent);
  f.ExtraMinutes = NewSpinBox(parent, "SpinEdit1", -720, 720);
  f.UT = new QPushButton("UT", parent);
  f.UT->setObjectName(utButtonName);
  return f;
}

TWeatherFields MakeWeatherFields(QWidget* parent) {
  TWeatherFields f;
  f.Height = NewNamed<TIntegerEdit>("EDMeereshoehe", parent);
  f.Temperature = NewNamed<TFloatEdit>("EDTemperatur", parent);
  f.Pressure = NewNamed<TFloatEdit>("EDLuftdruck", parent);
  f.Refraction = NewNamed<QCheckBox>("CBRefraktion", parent);
  return f;
}

}  // namespace kvx
