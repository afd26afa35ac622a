// The data-formats dialog ("Formate und Nachkommastellen festlegen"): edits
// DataFormatKind and DataFormatDecimals per quantity or per group of
// quantities and saves or loads them as a formats file (".epf"). Changes act
// on the live tables at once; "Close" keeps them (modal result 1), closing
// the window any other way brings back the tables of the moment of opening.
#pragma once

#include <QDialog>
#include <string>

#include "platform/qt/widget_forward.h"
#include "setup/data_formats.h"

namespace kvx {

class TDatenformatDlg : public QDialog {
  Q_OBJECT

 public:
  TDatenformatDlg(const std::string& fileName, QWidget* owner);

  // The file of the last save or load (the name given at opening otherwise).
  const std::string& FileName() const { return fileName_; }
  // The slot shown on the first page, or -1.
  int CurrentSlot() const;
  // Shows `slot` on the first page (when the list holds it).
  void SelectSlot(int slot);

  void done(int result) override;

 private:
  void BuildFirstPage(QWidget* page);
  void BuildSecondPage(QWidget* page);
  // The "Format" box of a page, named `name` + "Box": four radio buttons
  // named `name` + 0..3 into `buttons`, stacked, and into the new `group`
  // with ids 0..3.
  QGroupBox* BuildFormatBox(QWidget* page, const char* name, QButtonGroup*& group, QRadioButton* (&buttons)[4]);
  void FillQuantityList();
  void Search();
  void ShowSlot();
  void ShowExample(int slot);
  void ShowGroup();
  void SaveFile();
  void LoadFile();

  std::string fileName_;
  TDataFormats undo_;
  bool filling_ = false;

  QTabWidget* pages_;
  QComboBox* filter_;
  QCheckBox* sorted_;
  QLineEdit* search_;
  QCheckBox* wordStart_;
  QListWidget* quantities_;
  QSpinBox* decimals_;
  QGroupBox* formatBox_;
  QButtonGroup* formats_;
  QRadioButton* formatButtons_[4];
  QLabel* description_;
  QLabel* example_;

  QListWidget* groups_;
  QSpinBox* groupDecimals_;
  QGroupBox* groupFormatBox_;
  QButtonGroup* groupFormats_;
  QRadioButton* groupFormatButtons_[4];
  QPushButton* applyDecimals_;
  QPushButton* applyFormat_;
};

// Copies both tables (the undo copies) and the file name into the dialog,
// shows it modally and returns the modal result; on 1 `fileName` becomes the
// file of the last save or load.
int ShowDataFormatsDialog(std::string& fileName, QWidget* owner);

}  // namespace kvx
