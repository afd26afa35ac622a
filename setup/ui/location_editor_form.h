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
#include <optional>
#include <string>

#include "platform/qt/editor_file_rows.h"
#include "platform/qt/widget_forward.h"
#include "setup/location_editor.h"

namespace kvx {

class TLocationCombo;

class Tcsved : public TFileEditorForm {
  Q_OBJECT

 public:
  explicit Tcsved(const std::string& dataFolder, QWidget* owner = nullptr);
  ~Tcsved() override;

  TLocationEditorModel& Model() { return model_; }
  // The opening sequence: the registered file, else the offered one.
  void OpenStartFile();
  bool LoadFile(const std::string& fileName) override;
  QLineEdit* NameEdit() const { return name_; }
  QLineEdit* LongitudeEdit() const { return longitude_; }
  QLineEdit* LatitudeEdit() const { return latitude_; }
  QLineEdit* PostcodeEdit() const { return postcode_; }
  QSpinBox* ZoneEdit() const { return zone_; }
  QSpinBox* ExtraMinutesEdit() const { return extra_; }

  void UndoClick() override;
  void DeleteClick() override;
  void NewClick() override;
  void NewFileClick() override;
  void LoadClick() override;
  void Search(const QString& text) override;

 protected:
  std::optional<std::string> AskFileToOpen(const std::string& start) override;
  bool CreateEditorFile(const std::string& fileName) override { return TLocationEditorModel::CreateFile(fileName); }
  std::string EditedFileName() const override { return model_.FileName; }

 private:
  void ShowRecord();
  void MarkChanged();
  void CoordinateLeft(bool latitude);
  void TextLeft();
  void SpinLeft();
  void WriteBack();
  // Fills the combo box again from the list, its signals not acted on.
  void ReloadCombo();
  // After a record was added or deleted: the list again, no undo.
  void ShowChangedList();

  TLocationEditorModel model_;
  QLabel* zoneName_ = nullptr;
  TLocationCombo* combo_ = nullptr;
  QLineEdit* name_ = nullptr;
  QLineEdit* longitude_ = nullptr;
  QLineEdit* latitude_ = nullptr;
  QLineEdit* postcode_ = nullptr;
  QSpinBox* zone_ = nullptr;
  QSpinBox* extra_ = nullptr;
};

// The opener of the file utilities menu.
void EditLocationFile(const std::string& dataFolder, QWidget* owner = nullptr);

// Runs `driver` on the editor before it is shown (tests); the editor is
// shown modally when no driver is set.
void SetLocationEditorDriver(std::function<void(Tcsved&)> driver);

}  // namespace kvx
