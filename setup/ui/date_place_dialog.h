// The date, time and place dialog: the observer's date, local time, zone,
// daylight saving, Delta T ("ET-UT" on screen) and place. One window whose
// texts follow the language; kept for the run. The caller's variables
// change only on OK.
//
// Units: local hours decimal; Delta T seconds (TT - UT); latitude and
// longitude decimal degrees, longitude east negative; height metres;
// temperature degrees C; pressure mbar.
#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSpinBox;

namespace kvx {

class TAstroDatumEdit;
class TEditUhrzeithms;
class TFloatEdit;
class TIntegerEdit;

class TDatumortForm : public QDialog {
  Q_OBJECT

 public:
  explicit TDatumortForm(QWidget* parent = nullptr);

  // Working values.
  std::int32_t Day = 1, Month = 1, Year = 2000;
  std::int32_t Zone = 0, ExtraMinutes = 0;
  double LocalHours = 0;
  double DeltaTSeconds = 0;
  double Latitude = 0, Longitude = 0;
  std::string Place;
  std::int32_t DaylightHours = 0;
  std::int32_t Height = 0;
  double Temperature = 10, Pressure = 1010;
  bool Refraction = true;
  bool DeltaTAutomatic = true;
  bool ErrorFlag = false;

  // Shows every working value (also after a refused entry).
  void FormActivate();
  // Captions by the language.
  void SetCaptions();
  // The Help button's action (the main window opens its README).
  static std::function<void()>& HelpHook();
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
  bool CheckLatitude();
  bool CheckLongitude();
  bool CheckHeight();
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

// The eighteen values of the observer; with show false it returns false at
// once. True after OK, the values copied back (the place cut to 255 bytes).
bool ShowDatePlaceDialog(std::int32_t& day, std::int32_t& month, std::int32_t& year, std::int32_t& zone,
                         std::int32_t& extraMinutes, double& localHours, double& deltaT, double& latitude,
                         double& longitude, std::string& place, std::int32_t& daylightHours, std::int32_t& height,
                         double& temperature, double& pressure, bool& refraction, bool& deltaTAutomatic, bool showHints,
                         bool show);
// The dialog the opener uses (created on first use, kept for the run).
TDatumortForm& DatePlaceDialog();

}  // namespace kvx
