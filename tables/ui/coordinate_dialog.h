// The coordinate entry: one position in any of the eight frames of
// tables/coordinate_conversion.h, converted on every accepted entry, with
// hour angle, culmination, rise and set for the observer. Right ascensions
// are typed in hours, everything else in degrees; the DMS->DEG buttons turn
// a packed D.MMSS (H.MMSS) entry into decimal.
#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>

#include "core/observer_record.h"
#include "platform/qt/widget_forward.h"
#include "tables/coordinate_conversion.h"

namespace kvx {

class TFloatEdit;

class TKoordEingabe : public QDialog {
  Q_OBJECT

 public:
  explicit TKoordEingabe(QWidget* parent = nullptr);

  TCoordinateBlock Block;
  TObserverRecord Observer;
  std::uint8_t ToTable = 0;

  void FormShow();
  // Leaving the edits (and both on OK); false after a refused entry.
  bool EditLgExit();
  bool EditBrExit();
  void BtnLgDEGClick();
  void BtnBrDEGClick();

  QComboBox* ComboBox1 = nullptr;
  TFloatEdit* EditLg = nullptr;
  TFloatEdit* EditBr = nullptr;
  QLabel* CaptionLg = nullptr;
  QLabel* CaptionBr = nullptr;
  QLabel* DmsLg = nullptr;
  QLabel* DmsBr = nullptr;
  QPushButton* BtnLgDEG = nullptr;
  QPushButton* BtnBrDEG = nullptr;
  QCheckBox* CheckBox1 = nullptr;
  QLabel* Hint = nullptr;
  QLabel* Panel1 = nullptr;
  QLabel* Panel2 = nullptr;
  QLabel* HourAngle = nullptr;
  QLabel* Culmination = nullptr;
  QLabel* Rise = nullptr;
  QLabel* Set = nullptr;
  QPushButton* Ok = nullptr;
  QPushButton* Cancel = nullptr;

 private:
  bool ReadEdit(TFloatEdit* edit, bool first);
  double* First();
  double* Second();
  bool changing_ = false;
};

// Runs the dialog on copies; after OK (result 1) the block and the switch
// are copied back. Returns the dialog's result (1 OK, 2 Cancel).
int ShowCoordinateConversionDialog(std::uint8_t& toTable, const TObserverRecord& observer, TCoordinateBlock& block);

using TCoordinateDialogDriver = std::function<int(TKoordEingabe& dialog)>;
void SetCoordinateDialogDriver(TCoordinateDialogDriver driver);

}  // namespace kvx
