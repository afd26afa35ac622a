// The asteroid and comet element dialogs (TElementeplform, TElementekoform):
// manual entry of one element set, choice from a loaded element list, a set
// read from or written into the workbook sheet, the list saved in another
// format and a web page of element lists. Both are created once and shown
// non-modally; OK hands the set to the owner's hook and hides the form,
// which keeps its state for the next showing.
//
// A field is checked when it loses the focus: a refused value sets
// InvalidEntryPending at once (so the OK click that moved the focus is
// swallowed), and after the focus change has finished the message is shown,
// every field returns to the last accepted values and the focus goes back.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "catalogues/asteroid_list.h"
#include "catalogues/comet_list.h"
#include "catalogues/element_dialog_model.h"
#include "core/table_config.h"
#include "platform/qt/widget_forward.h"

namespace kvx {

namespace workbook {
class TWorkbook;
}

class ElementListCombo;

class TElementDialogBase : public QDialog {
  Q_OBJECT

 public:
  TElementDialogBase(TElementDialogKind kind, QWidget* parent);
  ~TElementDialogBase() override;

  TElementDialogState State;
  std::string DataFolder;                // where the default list file lives
  bool Spreadsheet = true;               // the main window's spreadsheet setting, set before each showing
  workbook::TWorkbook* Sheet = nullptr;  // the sheet for reading and writing sets
  // The main window's table configuration: the column titles of the
  // element rows (the default titles while it is not set).
  const TTableConfigRecord* TableConfig = nullptr;
  std::function<void()> OnAccepted;    // OK: the record is handed over here
  std::function<void()> OnFileLoaded;  // another list file was loaded (range reset)
  std::function<void()> OnLoadUndone;  // Cancel put the list of the showing's start back
  // Comets: the day-fraction entry behind the T and epoch buttons. It gets
  // the field's Julian day (0: none yet) and writes the entered one back;
  // false when cancelled. The buttons stay hidden while it is not set.
  std::function<bool(double& jd)> DayFractionHook;

  // The form's show sequence (captions, list loading, fields).
  void ShowSequence();
  // Loads the list file the form names when the list holds nothing yet
  // (the searches over many objects read the list before the form was
  // ever shown); no messages.
  void LoadListWhenEmpty();
  // Checks one field's text (the focus-out rule). True when accepted.
  bool CheckEntry(int field);
  // OK with or without the OK button as sender (the write buttons use false).
  // True when every field passed.
  bool OKClick(bool fromOkButton);
  // Cancel: a list file loaded since the form was shown is undone (the list,
  // its file and format as they were), then the form hides. Escape and the
  // window's close box do the same.
  void CancelClick();
  void reject() override;
  // Reads the set at Edit2's cell reference from the sheet.
  void ReadElementSetFromSheet();
  void WriteToSheet(bool withHeader);
  void OpenWebPage();
  void SaveList();
  void OpenListFile();
  void SetNoObject();
  // Selects the dialog's record in the list and shows it in the drop-down
  // box: the item holding it (TElementList::IndexOfRecord), none when the
  // record is "no object" or not in the list. The record stays.
  void ShowRecordInList();

  QLineEdit* FieldEdit(int field) const;
  QLineEdit* NameEdit() const { return name_; }
  QLineEdit* SheetRefEdit() const { return sheet_ref_; }
  QLineEdit* SearchEdit() const { return search_; }
  QLineEdit* WebAddressEdit() const { return web_; }
  QGroupBox* SheetGroup() const { return sheet_group_; }
  QLabel* UsedFileLabel() const { return used_file_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* HelpButton() const { return help_; }
  // The comet dialog's day-fraction buttons (T, epoch); null for asteroids.
  QPushButton* PerihelionTimeFractionButton() const { return t_fraction_; }
  QPushButton* EpochFractionButton() const { return epoch_fraction_; }
  // A day-fraction button's click: field 9 (T) or 12 (epoch).
  void DayFractionClick(int field);
  ElementListCombo* ListCombo() const { return combo_; }
  TElementDialogKind Kind() const { return kind_; }

 protected:
  void hideEvent(QHideEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

  virtual double& Field(int field) = 0;
  virtual std::string& Name() = 0;
  virtual TElementListBase& List() = 0;
  virtual bool LoadListFile(bool showMessages) = 0;
  // The file the user opened: loaded into a fresh list, which replaces the
  // dialog's list only when the file is accepted (kind updated). A refused
  // file leaves the list, its selection and the form as they were.
  virtual bool LoadChosenFile(const std::string& fileName) = 0;
  virtual void TakeListRecord() = 0;
  // The list item holding the record (-1: none, also for "no object").
  virtual int RecordIndexInList() = 0;
  virtual void PutRecordIntoList() = 0;
  virtual bool TakeSheetCells(const std::vector<TSheetCellValue>& cells) = 0;
  // Writes the list as the `choice`-th format writing `fileName`'s
  // extension; on success the list's code becomes that format's.
  virtual bool WriteListFile(std::size_t choice, const std::string& fileName) = 0;
  virtual void SaveRecordCopy() = 0;
  virtual void RestoreRecordCopy() = 0;
  // A copy of the list, its file name and format; the routine puts it back.
  virtual std::function<void()> KeepList() = 0;
  template <typename List>
  std::function<void()> KeepElementList(List& list) {
    auto kept = std::make_shared<typename List::TKept>(list.Kept());
    return [this, &list, kept, file = State.FileName, kind = State.ElementFileKind] {
      list.Restore(std::move(*kept));
      State.FileName = file;
      State.ElementFileKind = kind;
    };
  }
  int SheetCellCount() const { return kind_ == TElementDialogKind::Asteroid ? 12 : 11; }
  // The element-file header and the title row; the record as a new row.
  virtual void WriteHeaderToSheet() = 0;
  virtual void AppendRecordToSheet() = 0;
  TTableConfigRecord TitlesConfig() const;

  void Build();
  void ShowFields();
  void SetCaptions();
  void ShowUsedElementFile();
  void EnableElementEdits();
  void RefuseEntry(int field, QLineEdit* edit);
  void DoSearch();
  void OnSheetRefChanged();

  TElementDialogKind kind_;
  std::vector<int> fields_;
  std::vector<QLineEdit*> edits_;
  std::vector<QLabel*> labels_;
  QLineEdit* name_ = nullptr;
  QLineEdit* search_ = nullptr;
  QLineEdit* sheet_ref_ = nullptr;
  QLineEdit* web_ = nullptr;
  QCheckBox* wortanfang_ = nullptr;
  QGroupBox* manual_group_ = nullptr;
  QGroupBox* list_group_ = nullptr;
  QGroupBox* sheet_group_ = nullptr;
  QLabel* used_file_ = nullptr;
  QLabel* label15_ = nullptr;
  QLabel* search_label_ = nullptr;
  QLabel* name_label_ = nullptr;
  QLabel* sheet_label_ = nullptr;
  QPushButton* no_object_ = nullptr;
  QPushButton* open_ = nullptr;
  QPushButton* save_ = nullptr;
  QPushButton* from_cell_ = nullptr;
  QPushButton* write_ = nullptr;
  QPushButton* write_header_ = nullptr;
  QPushButton* web_button_ = nullptr;
  QPushButton* eq2000_ = nullptr;
  QPushButton* eq1950_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QPushButton* help_ = nullptr;  // German only, as every dialog's
  QPushButton* t_fraction_ = nullptr;
  QPushButton* epoch_fraction_ = nullptr;
  ElementListCombo* combo_ = nullptr;
  bool restoring_ = false;
  bool keeping_record_ = false;      // a list reload does not take its selection
  std::function<void()> undo_load_;  // set by the first load of a showing
};

// The part of the asteroid and comet dialogs that differs only by the types
// of the record and the list; both kinds are instantiated in the source file.
template <typename TRecord, typename TList>
class TElementDialogOf : public TElementDialogBase {
 public:
  using TElementDialogBase::TElementDialogBase;
  TRecord Record;

 protected:
  // The form's element list (a member of the form under its own name).
  virtual TList& Table() = 0;
  // Loads the stored file unless the first showing is still to come and the
  // file exists.
  void LoadStoredFile(bool showMessages);

  double& Field(int field) override;
  std::string& Name() override { return Record.Name; }
  TElementListBase& List() override { return Table(); }
  bool LoadListFile(bool showMessages) override;
  bool LoadChosenFile(const std::string& fileName) override;
  void TakeListRecord() override;
  int RecordIndexInList() override;
  void PutRecordIntoList() override { Table().CurrentRecord = Record; }
  bool TakeSheetCells(const std::vector<TSheetCellValue>& cells) override;
  bool WriteListFile(std::size_t choice, const std::string& fileName) override;
  void WriteHeaderToSheet() override;
  void AppendRecordToSheet() override;
  void SaveRecordCopy() override { copy_ = Record; }
  void RestoreRecordCopy() override { Record = copy_; }
  std::function<void()> KeepList() override { return KeepElementList(Table()); }

 private:
  TRecord copy_;
};

extern template class TElementDialogOf<TAsteroidElements, Planetoidentabelle>;
extern template class TElementDialogOf<TCometElements, Kometentabelle>;

class TElementeplform : public TElementDialogOf<TAsteroidElements, Planetoidentabelle> {
  Q_OBJECT

 public:
  explicit TElementeplform(QWidget* parent = nullptr);
  Planetoidentabelle Planetoidentabelle1;
  // The document loader: loads the stored file unless the first showing
  // is still to come and the file exists.
  void SetAsteroidElementFileName(bool showMessages) { LoadStoredFile(showMessages); }

 protected:
  Planetoidentabelle& Table() override { return Planetoidentabelle1; }
};

class TElementekoform : public TElementDialogOf<TCometElements, Kometentabelle> {
  Q_OBJECT

 public:
  explicit TElementekoform(QWidget* parent = nullptr);
  Kometentabelle Kometentabelle1;
  void SetDateiname(bool showMessages) { LoadStoredFile(showMessages); }

 protected:
  Kometentabelle& Table() override { return Kometentabelle1; }
};

// Copy the record into the form and show it non-modally.
void ShowAsteroidElementsDialog(TElementeplform& form, bool hints, const TAsteroidElements& record);
void ShowCometElementsDialog(TElementekoform& form, bool hints, const TCometElements& record);

}  // namespace kvx
