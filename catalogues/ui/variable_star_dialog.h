// The variable-star choice (Telementevarform): a star picked from a
// variable-star file, or none ("Kein Variabler"). Modal, created once and
// kept with its loaded list; the record reaches the caller only on OK.
// A chosen file is loaded unless it is the file already loaded (compared as
// canonical paths, since names differing in case are different files).
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "catalogues/variable_star_list.h"
#include "platform/qt/widget_forward.h"

namespace kvx {

class ElementListCombo;

class Telementevarform : public QDialog {
  Q_OBJECT

 public:
  explicit Telementevarform(QWidget* parent = nullptr);

  TVariableStarElements Record;
  variablentabelle variablentabelle1;
  std::string FileName;  // "variab.csv" in DataFolder when empty at the first showing
  std::string DataFolder;
  std::uint8_t LoadPending = 1;
  std::uint8_t SearchAnywhere = 0;
  std::uint8_t Hints = 1;

  // The first showing's loading, the captions and the name.
  void ShowSequence();
  // The document loader: reloads the stored file unless the first showing
  // is still to come.
  void SetVariableStarFileName(bool showMessages);
  // The data-file dialog; the chosen file replaces the list only when it
  // can be read and holds a star.
  void OpenFile();
  void NoObject();

  QLineEdit* SearchEdit() const { return search_; }
  QLabel* NameLabel() const { return name_; }
  QCheckBox* BeginningCheck() const { return wortanfang_; }
  ElementListCombo* ListCombo() const { return combo_; }

 protected:
  void hideEvent(QHideEvent* event) override;

 private:
  friend int ChooseVariableStar(Telementevarform& form, bool hints, TVariableStarElements& record);
  void ShowName();
  // Selects the chosen star in the list and shows it in the drop-down box
  // (none for "no object" or a star the list lacks).
  void ShowRecordInList();
  void DoSearch();

  // Set by the first file opened in a showing: puts the list and the file
  // name of the showing's start back (Cancel).
  std::function<void()> undo_load_;
  bool keeping_record_ = false;  // a list reload does not take its selection
  ElementListCombo* combo_;
  QLineEdit* search_;
  QCheckBox* wortanfang_;
  QLabel* name_;
  QLabel* name_caption_;
  QLabel* search_caption_;
  QPushButton* open_;
  QPushButton* none_;
  QPushButton* cancel_;
};

// Shows the form modally on a copy of `record`; on OK (result 1) the chosen
// record is copied back, otherwise a file opened meanwhile is undone.
// Returns the modal result.
int ChooseVariableStar(Telementevarform& form, bool hints, TVariableStarElements& record);

}  // namespace kvx
