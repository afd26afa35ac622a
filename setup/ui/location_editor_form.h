// The location-file editor: one place at a time from a location file,
// changed, added or deleted; every accepted change writes the whole file.
// Modal; created, shown and freed by EditLocationFile.
//
// Checks: longitude and latitude are checked when the user leaves them. A
// half-typed text brings the stored value back silently; a value outside
// the range is refused with its message and the stored value comes back.
// Values shown from the file are never checked.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "platform/qt/widget_forward.h"
#include "setup/location_editor.h"

namespace kvx {

class TLocationCombo;

class Tcsved : public QDialog {
  Q_OBJECT

 public:
  explicit Tcsved(const std::string& dataFolder, QWidget* owner = nullptr);
  ~Tcsved() override;

  TLocationEditorModel& Model() { return model_; }
  // The opening sequence: the registered file, else the offered one.
  void OpenStartFile();
  bool LoadFile(const std::string& fileName);
  QString Status() const;
  QString Position() const;
  QLineEdit* NameEdit() const { return name_; }
  QLineEdit* LongitudeEdit() const { return longitude_; }
  QLineEdit* LatitudeEdit() const { return latitude_; }
  QLineEdit* PostcodeEdit() const { return postcode_; }
  QSpinBox* ZoneEdit() const { return zone_; }
  QSpinBox* ExtraMinutesEdit() const { return extra_; }

  void UndoClick();
  void DeleteClick();
  void NewClick();
  void NewFileClick();
  void LoadClick();
  void Search(const QString& text);
  // "File" (when it exists) and "Wortanf" into "OrteEdit".
  void StoreSettings();

 private:
  void ShowRecord();
  void MarkChanged();
  void CoordinateLeft(bool latitude);
  void TextLeft();
  void SpinLeft();
  void WriteBack();

  TLocationEditorModel model_;
  std::string dataFolder_;
  QLabel* fileLabel_ = nullptr;
  QLabel* status_ = nullptr;
  QLabel* position_ = nullptr;
  QLabel* zoneName_ = nullptr;
  QCheckBox* wordStart_ = nullptr;
  QLineEdit* search_ = nullptr;
  TLocationCombo* combo_ = nullptr;
  QLineEdit* name_ = nullptr;
  QLineEdit* longitude_ = nullptr;
  QLineEdit* latitude_ = nullptr;
  QLineEdit* postcode_ = nullptr;
  QSpinBox* zone_ = nullptr;
  QSpinBox* extra_ = nullptr;
  QPushButton* undo_ = nullptr;
  bool showing_ = false;
};

// The opener of the file utilities menu.
void EditLocationFile(const std::string& dataFolder, QWidget* owner = nullptr);

// Runs `driver` on the editor before it is shown (tests); the editor is
// shown modally when no driver is set.
void SetLocationEditorDriver(std::function<void(Tcsved&)> driver);

}  // namespace kvx
