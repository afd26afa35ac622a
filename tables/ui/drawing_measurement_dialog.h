// The measurement on drawings: the body, the disc data of the observer's
// instant, the drawing's diameters, the detail's x and y and the
// orientation give the planetocentric longitude and latitude
// (tables/drawing_measurement.h); "Write to sheet" appends them with two
// descriptions. The entries are kept in the settings ("FrmOrt").
#pragma once

#include <QDialog>
#include <functional>

#include "core/observer_record.h"
#include "core/table_config.h"
#include "engine/cell_format.h"
#include "platform/qt/widget_forward.h"
#include "tables/drawing_measurement.h"
#include "theories/theory_types.h"

namespace kvx {

class TFloatEdit;

// What the dialog takes from the main window.
struct TDrawingMeasurementHooks {
  std::function<TObserverRecord()> Observer;  // the current instant and place
  std::function<void()> ChangeDateAndTime;    // the main window's date-and-place command
  TSheet* Sheet = nullptr;
  TTableConfigRecord Config;
  bool JulianDate = false;
  TTheorySelection Selection;
  std::int32_t VsopLevel = -1;
  TBodySettings Body;  // the main window's, for the body objects
};

class TOrtsbest : public QDialog {
  Q_OBJECT

 public:
  TOrtsbest(TDrawingMeasurementHooks hooks, QWidget* parent = nullptr);
  ~TOrtsbest() override;

  // The disc data of the instant, then the position.
  void Refresh();
  // The position from the entries; "ERROR" in both results on failure.
  bool Recompute();
  void WriteClick();

  TDrawingMeasurement Measurement;
  double Longitude = 0, Latitude = 0;
  bool Valid = false;

  QComboBox* Body = nullptr;
  QLabel* LabelP = nullptr;
  QLabel* LabelB = nullptr;
  QLabel* LabelZ = nullptr;
  QLabel* Status = nullptr;
  TFloatEdit* Diameter = nullptr;
  TFloatEdit* Diameter2 = nullptr;
  TFloatEdit* EditX = nullptr;
  TFloatEdit* EditY = nullptr;
  QCheckBox* SouthAbove = nullptr;
  QLineEdit* Description = nullptr;
  QLineEdit* Description2 = nullptr;
  QLabel* ResultLongitude = nullptr;
  QLabel* ResultLatitude = nullptr;
  QPushButton* ChangeDate = nullptr;
  QPushButton* Write = nullptr;
  QPushButton* Ok = nullptr;

 private:
  void ReadEntries();
  void LoadSettings();
  void SaveSettings();
  TDrawingMeasurementHooks hooks_;
  TObserverRecord observer_;
  bool firstWrite_ = true;
  int nextRow_ = 2;
};

void ShowPlanetMeasurementDialog(TDrawingMeasurementHooks hooks, QWidget* parent = nullptr);

}  // namespace kvx
