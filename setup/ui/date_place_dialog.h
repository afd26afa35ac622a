// The date, time and place dialog: the observer's date, local time, zone,
// daylight saving, Delta T ("ET-UT" on screen) and place. One window whose
// texts follow the language; kept for the run. The caller's record
// changes only on OK.
//
// Units: local hours decimal; Delta T seconds (TT - UT); latitude and
// longitude decimal degrees, longitude east negative; height metres;
// temperature degrees C; pressure mbar.
#pragma once

#include <QDialog>
#include <cstdint>
#include <string>

#include "core/observer_record.h"
#include "platform/qt/widget_forward.h"

namespace kvx {

class TAstroDatumEdit;
class TEditUhrzeithms;
class TFloatEdit;
class TIntegerEdit;

class TDatumortForm : public QDialog {
  Q_OBJECT

 public:
  explicit TDatumortForm(QWidget* parent = nullptr);

  // Working copy: the dialog edits Day, Month, Year, LocalHours,
  // DeltaTSeconds, Latitude, Longitude (decimal degrees), DaylightHours,
  // PlaceName, AutoDeltaT, RefractionOn, Zone, Height, ZoneMinutes, Pressure
  // and Temperature; the other fields pass through unchanged.
  TObserverRecord Record;
  bool ErrorFlag = false;

  // Shows every working value (also after a refused entry).
  void FormActivate();
  // Captions by the language.
  void SetCaptions();
  // The keep-UT choice handed to and taken from the location dialog.
  static bool& KeepUT();
  // The context menus of the date and time group ("0:00 UT", "Now",
  // "Ephemeris time", "Approximate ET-UT") and of the place group ("Load
  // geogr. coordinates..."); each item runs its button.
  QMenu* TimeMenu() const { return time_menu_; }
  QMenu* PlaceMenu() const { return place_menu_; }

 public slots:
  void accept() override;
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // "Jetzt": the date and local time of the computer's present instant in
  // the zone the dialog shows.
  void TakeComputerTime();
  void EstimateDeltaT();
  void DateFromEdit();
  void DateSpinsChanged();
  void ShowDateInEdit();
  void OpenLocationDialog();
  bool CheckDeltaT();
  bool CheckLatitude() { return CheckCoordinate(true); }
  bool CheckLongitude() { return CheckCoordinate(false); }
  // The latitude (true) or longitude text into the record and its degree label.
  bool CheckCoordinate(bool latitude);
  bool CheckHeight();
  // An empty `edit` passes; a number within lowest..highest goes to
  // `value`; otherwise the message and the focus back to `edit`.
  bool CheckWeatherValue(TFloatEdit* edit, double lowest, double highest, const char* german, const char* english,
                         double& value);
  bool CheckTemperature();
  bool CheckPressure();
  void Refuse(QWidget* field);

  bool filling_ = false;
  TAstroDatumEdit* date_ = nullptr;
  QSpinBox* day_ = nullptr;
  QSpinBox* month_ = nullptr;
  QSpinBox* year_ = nullptr;
  TEditUhrzeithms* time_ = nullptr;
  QSpinBox* hour_ = nullptr;
  QSpinBox* minute_ = nullptr;
  QSpinBox* second_ = nullptr;
  TFloatEdit* delta_t_ = nullptr;
  QPushButton* approximate_ = nullptr;
  QPushButton* ephemeris_time_ = nullptr;
  QCheckBox* delta_t_auto_ = nullptr;
  QCheckBox* daylight_ = nullptr;
  QLineEdit* place_ = nullptr;
  QLineEdit* latitude_ = nullptr;
  QLineEdit* longitude_ = nullptr;
  QLabel* latitude_degrees_ = nullptr;
  QLabel* longitude_degrees_ = nullptr;
  TIntegerEdit* height_ = nullptr;
  TFloatEdit* temperature_ = nullptr;
  TFloatEdit* pressure_ = nullptr;
  QCheckBox* refraction_ = nullptr;
  QSpinBox* zone_ = nullptr;
  QLabel* zone_name_ = nullptr;
  QSpinBox* extra_minutes_ = nullptr;
  QPushButton* help_ = nullptr;
  QMenu* time_menu_ = nullptr;
  QMenu* place_menu_ = nullptr;
};

// Runs the dialog on the observer's date, time and place; with show false
// it returns false at once. True after OK, `observer` holding the dialog's
// record (the place cut to 255 bytes); after Cancel `observer` is unchanged.
bool ShowDatePlaceDialog(TObserverRecord& observer, bool showHints, bool show);
// The dialog the opener uses (created on first use, kept for the run).
TDatumortForm& DatePlaceDialog();

}  // namespace kvx
