// The sheet-editing commands of the main window: the Edit, Insert, Format
// and View items that act on the workbook sheet or the result grid, the
// formatting tool bar, find and replace, the decimals commands, the undo of
// the last table, the control events of the sheet and the menus' states
// when they open. The rules without windows are app/sheet_editing.h.
#pragma once

#include <QDialog>
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>

#include "app/sheet_editing.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace kvx {

class TCommandHost;

// Find (and, with `replace`, replace): the text, whole word, match case;
// Find next, and for replace Replace and Replace all. Stays open; each
// button runs the search on the sheet.
class TSheetFindDialog : public QDialog {
  Q_OBJECT

 public:
  TSheetFindDialog(bool replace, QWidget* parent = nullptr);
  TSearchRequest Request() const;
  QString Replacement() const;

  QLineEdit* FindText;
  QLineEdit* ReplaceText = nullptr;
  QCheckBox* WholeWord;
  QCheckBox* MatchCase;
  QPushButton* FindNext;
  QPushButton* ReplaceButton = nullptr;
  QPushButton* ReplaceAllButton = nullptr;
  // The language its texts were made in (LanguageEnglish at creation).
  const std::uint8_t Language;

 signals:
  void FindRequested();
  void ReplaceRequested(bool all);
};

class TSheetCommands : public QObject {
  Q_OBJECT

 public:
  explicit TSheetCommands(TCommandHost& host);

  // The input box of the rename command (caption, prompt, text in and out);
  // false for Cancel. Tests replace it.
  std::function<bool(const QString&, const QString&, QString&)> InputBox;

  TSheetSearchState& SearchState() { return search_; }
  // The workbook's cells or sheets changed since the last table was written.
  TSheetFindDialog* FindDialog() const { return find_; }
  TSheetFindDialog* ReplaceDialog() const { return replace_; }
  // The handlers a test or another command calls directly.
  void ShowFind(bool replace);
  void RunFind();
  void RunReplace(bool replace, bool all);
  void FontNameChanged(const QString& face);
  void FontSizeChanged(int size);
  void ZoomChanged(int percent);
  // stringgrid1SelChange and stringgrid1TopLeftChanged.
  void SelectionChanged();
  // "Remove protection" while the sheet is protected, else the menu's caption.
  void ShowProtectionCaption();
  void TopLeftChanged();
  // The View menu's marks of the language and the table tool bar.
  void ApplyMenuState();
  // The bars and the clock by their View checks, the normal bounds kept.
  void FormResize();

 private:
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool InWorkbook() const;
  void Register();
  void ConnectControls();
  void CommitTransaction();
  void InsertSheet();
  void DeleteSheet();
  void RenameSheets();
  void MoveSheet();
  void InsertOrDeleteCells(bool deleting);
  void StepSheet(int delta);
  void ClipboardCommand(int kind);  // 0 cut, 1 copy
  void TableFontDialog();
  void ToggleProtection();
  void FitRanges(bool rows, bool cols);
  void PickGridColour(bool fixedCells);
  void ColumnHeadings();
  void ToggleEditBar();
  void ToggleFormulas();
  void UndoTable();
  void Decimals(int count);
  void FontStyle(int bit);
  void Align(int code);
  void ShowTableFont();
  void DoubleClicked(int row, int col);

  TCommandHost& host_;
  TSheetSearchState search_;
  TSheetFindDialog* find_ = nullptr;
  TSheetFindDialog* replace_ = nullptr;
  bool filling_bar_ = false;  // the tool bar follows the selection
};

}  // namespace kvx
