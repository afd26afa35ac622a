// The element-file editors: one form over TElementEditorModelBase, used for
// the asteroid, comet and variable-star files. Modal; created, shown and
// freed by its opener.
//
// Checks: the edits are checked when the user leaves them. A half-typed
// text ("", "-", ".") or a refused value brings the stored value back, a
// refused one after its message; an accepted one is stored and the whole
// file written. Values shown from the file are never checked.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "catalogues/element_editor_model.h"
#include "platform/qt/editor_file_rows.h"
#include "platform/qt/widget_forward.h"

namespace kvx {

class ElementListCombo;

class TElementEditorForm : public TFileEditorForm {
  Q_OBJECT

 public:
  // `dataFolder` holds the default and offered files; `jd` is the main
  // window's date for new entries.
  TElementEditorForm(std::unique_ptr<TElementEditorModelBase> model, const std::string& dataFolder, double jd,
                     QWidget* owner = nullptr);
  ~TElementEditorForm() override;

  TElementEditorModelBase& Model() { return *model_; }
  // The opening sequence: the registered file, else the offered one.
  void OpenStartFile();
  bool LoadFile(const std::string& fileName) override;
  // The edit of field `field` (the name is ID110).
  QLineEdit* FieldEdit(std::size_t field) const { return edits_.at(field); }
  QLineEdit* NameEdit() const { return name_; }

  // The buttons.
  void UndoClick() override;
  void DeleteClick() override;
  void NewClick() override;
  void NewFileClick() override;
  void LoadClick() override;
  void SetEquinox(double year);
  // A day-fraction button of field `field` (T, epoch): the entered Julian
  // day is stored and written.
  void DayFractionClick(std::size_t field);
  // The day-fraction entry behind those buttons (hidden while unset).
  void SetDayFractionHook(std::function<bool(double& jd)> hook);
  QPushButton* DayFractionButton(std::size_t field) const;

 protected:
  std::optional<std::string> AskFileToOpen(const std::string& start) override;
  bool CreateEditorFile(const std::string& fileName) override { return model_->CreateFile(fileName, jd_); }
  std::string EditedFileName() const override { return model_->FileName; }

 private:
  void ShowRecord();
  void MarkChanged();
  void FieldLeft(std::size_t field);
  void NameLeft();
  void WriteBack();
  void Search(const QString& text) override;
  const char* DataFileKeyword() const;

  std::unique_ptr<TElementEditorModelBase> model_;
  double jd_;
  ElementListCombo* combo_ = nullptr;
  QLineEdit* name_ = nullptr;
  std::vector<QLineEdit*> edits_;
  QComboBox* type_ = nullptr;
  std::vector<std::pair<std::size_t, QPushButton*>> fractionButtons_;
  std::function<bool(double& jd)> dayFraction_;
  bool changed_ = false;
};

// The openers of the file utilities menu.
void EditAsteroidElementFile(const std::string& dataFolder, double jd, QWidget* owner = nullptr);
// `dayFraction` is the entry behind the day-fraction buttons.
void EditCometElementFile(bool hints, const std::string& dataFolder, double jd, QWidget* owner = nullptr,
                          std::function<bool(double& jd)> dayFraction = {});
void EditVariableStarFile(bool hints, const std::string& dataFolder, double jd, QWidget* owner = nullptr,
                          std::function<bool(double& jd)> dayFraction = {});

// Runs `driver` on each editor form before it is shown (tests); the form
// is shown modally when no driver is set.
void SetElementEditorDriver(std::function<void(TElementEditorForm&)> driver);

}  // namespace kvx
