// The dialog of the central-meridian transits: the rotation system and, per
// system, the feature's longitude (degrees) and name, with a drop-down list
// of the features of the features file (tables/surface_features.h) and the
// button that loads another features file.
#pragma once

#include <QDialog>
#include <string>

#include "platform/qt/widget_forward.h"
#include "tables/meridian_transit.h"
#include "tables/surface_features.h"

namespace kvx {

class TFloatEdit;

class TPlanetenpassage : public QDialog {
  Q_OBJECT

 public:
  explicit TPlanetenpassage(QWidget* parent = nullptr);

  TSurfaceFeatureList Features;
  TFeatureTransitSettings Settings;
  std::string FileName;

  // The edits, the system and the lists from the three values above.
  void FormShow();
  // Takes the row's chosen feature into its edits and selects its system.
  void ComboChanged(int row);
  // The file dialog, then the features of the chosen file.
  void LoadClick();
  // The edits into Settings; result 1. A name longer than its field or
  // with a character Windows-1252 lacks is refused with a message (the
  // dialog stays open, the edit gets the focus).
  void OkClick();

  QButtonGroup* RadioGroup1 = nullptr;
  TFloatEdit* FloatEdits[5] = {};
  QLineEdit* Edits[5] = {};
  QComboBox* ComboBoxes[5] = {};
  QLabel* FileLabel = nullptr;
  QPushButton* LoadButton = nullptr;
  QPushButton* Ok = nullptr;
  QPushButton* Cancel = nullptr;

 private:
  void ShowFileName(bool cancelled);
  // Shows why the name of `row` cannot be stored and focuses its edit;
  // false when the name can be stored.
  bool NameRefused(int row);
};

// Runs the dialog on the three values; on OK (result 1) they are taken
// back. The feature list is replaced as soon as a file is loaded in the
// dialog, also when it is then cancelled.
int ShowPlanetFeatureTransitDialog(TSurfaceFeatureList& features, TFeatureTransitSettings& settings,
                                   std::string& fileName, QWidget* parent = nullptr);

}  // namespace kvx
