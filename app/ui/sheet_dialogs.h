// The small dialogs of the sheet commands: move sheet, row height and
// column width, sort, insert and delete cells, alignment, cell protection,
// go to, and the layout of the result grid. Each sets its German or English
// texts by LanguageEnglish when it is created; what OK does lies in
// app/sheet_dialog_actions.h. A refused entry (a message says why) keeps
// the dialog open.
//
// The Show... functions are what the menu commands call: each creates its
// dialog on the workbook (or the result grid), runs it modally and applies
// the answer. They return true when the workbook or grid changed.
#pragma once

#include <QDialog>

#include "app/sheet_dialog_actions.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace kvx {

// Move sheet: the current sheet goes before the chosen one.
class TDlgTabVersch : public QDialog {
  Q_OBJECT

 public:
  explicit TDlgTabVersch(const workbook::TWorkbook& book, QWidget* parent = nullptr);
  QListWidget* ListBox1;
};
bool ShowMoveSheetDialog(QWidget* parent, workbook::TWorkbook& book);

// Row height or column width of the selection. The dialog ends with the
// answer codes of sheet_dialog_actions.h (OK 1, Automatic 4, Show 6,
// Hide 7, Cancel 2).
class TZeilenSpaltendialog : public QDialog {
  Q_OBJECT

 public:
  TZeilenSpaltendialog(workbook::TWorkbook& book, TSizeKind kind, QWidget* parent = nullptr);
  QLineEdit* FloatEdit1;
  QCheckBox* CheckBox1;  // use as default
  QPushButton* OkButton;
  QPushButton* AutoButton;
  QPushButton* HideButton;
  QPushButton* ShowButton;
  QPushButton* CancelButton;

 private:
  void Answer(int answer);
  workbook::TWorkbook& book_;
  TSizeKind kind_;
};
bool ShowRowHeightDialog(QWidget* parent, workbook::TWorkbook& book);
bool ShowColumnWidthDialog(QWidget* parent, workbook::TWorkbook& book);

// Sort of the first selection range by up to three keys.
class TDlgSort : public QDialog {
  Q_OBJECT

 public:
  explicit TDlgSort(const workbook::TWorkbook& book, QWidget* parent = nullptr);
  // The keys as list indexes, negated for descending; 0 for a key not
  // chosen or in a disabled group.
  int Key(int group) const;  // group 1..3
  bool ByRows() const;

  QRadioButton* rbZeilen;
  QRadioButton* rbSpalten;
  QGroupBox* GroupBox[3];
  QComboBox* KeyBox[3];
  QRadioButton* Ascending[3];
  QRadioButton* Descending[3];

 private:
  void FillKeyLists();
  const workbook::TWorkbook& book_;
};
// Refuses (with its message, without showing the dialog) a selection of
// several ranges.
bool ShowSortDialog(QWidget* parent, workbook::TWorkbook& book);

// Insert or delete cells: mode 1..4 by the four radio buttons.
class TForm2 : public QDialog {
  Q_OBJECT

 public:
  TForm2(bool deleteMode, QWidget* parent = nullptr);
  int Mode() const;
  QRadioButton* Choice[4];
};
bool ShowInsertCellsDialog(QWidget* parent, workbook::TWorkbook& book);
bool ShowDeleteCellsDialog(QWidget* parent, workbook::TWorkbook& book);

// Alignment: horizontal codes 1..7, vertical 1..3, word wrap.
class TAusrichtung : public QDialog {
  Q_OBJECT

 public:
  TAusrichtung(const workbook::TAlignment& current, QWidget* parent = nullptr);
  int Horizontal() const;
  int Vertical() const;
  QRadioButton* HorizontalButton[7];
  QRadioButton* VerticalButton[3];
  QCheckBox* WrapBox;
};
bool ShowAlignmentDialog(QWidget* parent, workbook::TWorkbook& book);

// Cell protection: locked and formula hidden.
class TSchutzFrm : public QDialog {
  Q_OBJECT

 public:
  TSchutzFrm(const workbook::TProtection& current, QWidget* parent = nullptr);
  QCheckBox* Gesperrt;
  QCheckBox* FormelAusblenden;
};
bool ShowProtectionDialog(QWidget* parent, workbook::TWorkbook& book);

// Go to: the typed reference becomes the selection.
class TDlgGoto : public QDialog {
  Q_OBJECT

 public:
  TDlgGoto(workbook::TWorkbook& book, QWidget* parent = nullptr);
  QLineEdit* Edit1;

 private:
  workbook::TWorkbook& book_;
};
bool ShowGoToDialog(QWidget* parent, workbook::TWorkbook& book);

// Layout of the result grid: sizes in percent, the fixed first column and
// row (given to the grid at once, so they stay when the dialog is
// cancelled), the two line flags. The caller shows the look again
// afterwards in either case (line flags and fixed sizes).
class TSpaltenbreitefestlegen : public QDialog {
  Q_OBJECT

 public:
  TSpaltenbreitefestlegen(tmystringgrid& grid, TResultGridLook& look, QWidget* parent = nullptr);
  TLayoutChoice Choice() const;
  QSpinBox* SpinEdit1;  // column width, percent
  QSpinBox* SpinEdit2;  // row height, percent
  QSpinBox* SpinEdit3;  // fixed first column, pixels
  QSpinBox* SpinEdit4;  // fixed first row, pixels
  QPushButton* Unchanged1;
  QPushButton* Unchanged2;
  QCheckBox* CheckBox1;  // lines between cells
  QCheckBox* CheckBox2;  // lines between heads
};
bool ShowLayoutDialog(QWidget* parent, tmystringgrid& grid, TResultGridLook& look);

}  // namespace kvx
