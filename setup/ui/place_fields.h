// The controls that the date-and-place dialog and the location dialog share:
// the time zone with its name, the extra minutes and the UT button; height,
// temperature, pressure and the refraction switch; and the texts they show.
// Each builder creates its widgets in the order of the tab chain.
#pragma once

#include <QString>

#include "platform/qt/widget_forward.h"

namespace kvx {

class TFloatEdit;
class TIntegerEdit;

// "(name)" of a time zone in whole hours east (-12..12) from the zone name
// table, "(UTC+14)" when the extra minutes carry it more than 12 h from UT;
// "()" for whole hours outside -12..12.
QString ZoneLabel(int zone, int extraMinutes);

// Decimal degrees with four decimals and "°", as beside the coordinate edits.
QString DegreeLabel(double degrees);

struct TZoneFields {
  QSpinBox* Zone = nullptr;          // "EditZeitzone", -12..12
  QLabel* ZoneName = nullptr;        // the zone's name, ZoneLabel
  QSpinBox* ExtraMinutes = nullptr;  // "SpinEdit1", -720..720
  QPushButton* UT = nullptr;         // "UT", object name as given
};
TZoneFields MakeZoneFields(QWidget* parent, const char* utButtonName);

struct TWeatherFields {
  TIntegerEdit* Height = nullptr;     // "EDMeereshoehe", metres
  TFloatEdit* Temperature = nullptr;  // "EDTemperatur", degrees C
  TFloatEdit* Pressure = nullptr;     // "EDLuftdruck", mbar
  QCheckBox* Refraction = nullptr;    // "CBRefraktion"
};
// The refusal messages of the three edits are the dialog's own.
TWeatherFields MakeWeatherFields(QWidget* parent);

}  // namespace kvx
