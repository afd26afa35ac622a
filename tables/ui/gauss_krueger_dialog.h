// The Gauss-Krüger dialog (German only): Rechtswert and Hochwert in metres
// and the geographic longitude (east positive here) and latitude in decimal
// and sexagesimal degrees, converted whichever field was left last
// (tables/gauss_krueger.h), each with a button copying it to the clipboard.
// "&Werte übernehmen" ends with result 6 and hands the place back.
#pragma once

#include <QDialog>
#include <functional>

#include "platform/qt/widget_forward.h"

namespace kvx {

class TFloatEdit;

class Tkonf2geoform : public QDialog {
  Q_OBJECT

 public:
  explicit Tkonf2geoform(QWidget* parent = nullptr);

  // The values; longitude east-positive in degrees, within (-180, 180].
  double Longitude = 0;
  double Latitude = 0;
  double Rechtswert = 0;
  double Hochwert = 0;
  double A = 0;  // ellipsoid (m); 0 selects the conversion's own values
  double B = 0;

  // The show handler: fields from longitude and latitude, forward conversion.
  void Prepare();
  // Leaving the fields (also called by the tests).
  void RechtswertLeft();
  void HochwertLeft();
  void LongitudeDecimalLeft();
  void LatitudeDecimalLeft();
  void LongitudeTextLeft();
  void LatitudeTextLeft();

  TFloatEdit* FloatEdit1 = nullptr;  // Rechtswert
  TFloatEdit* FloatEdit2 = nullptr;  // Hochwert
  TFloatEdit* Label3 = nullptr;      // longitude, decimal degrees
  TFloatEdit* Label5 = nullptr;      // latitude, decimal degrees
  QLineEdit* label4 = nullptr;       // longitude, sexagesimal
  QLineEdit* LAbel6 = nullptr;       // latitude, sexagesimal
  QPushButton* CopyButtons[6] = {};  // R, H, λ, λ dms, φ, φ dms
  QPushButton* TakeOver = nullptr;
  QPushButton* Close = nullptr;

 private:
  void Forward();
  void Inverse();
  void ShowValues();
};

// Shows the dialog for the observer's place (longitude east-negative, as
// stored). True after "&Werte übernehmen", with both copied back; false and
// the arguments unchanged otherwise.
bool ShowGaussKruegerDialog(double& latitude, double& longitude);

// Tests run the dialog through this instead of exec (empty: exec).
using TGaussKruegerDialogDriver = std::function<int(Tkonf2geoform& dialog)>;
void SetGaussKruegerDialogDriver(TGaussKruegerDialogDriver driver);

}  // namespace kvx
