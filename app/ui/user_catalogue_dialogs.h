// The user catalogue's editor (TdlgUsercat, "Benutzerdefinierter Katalog" /
// "User defined catalogue") and picker (TUserCatFind).
//
// The editor shows every line of the catalogue, lets the user edit the
// selected line in a one-line edit, switch entries off and on by double
// click (a leading ":"; never the first line), add and delete entries, save
// the lines back to the file and reload, load another catalogue or use none.
// It works on the catalogue the caller owns (TUserCatalogueContext) and
// reloads through the caller's loader, so the main window's objects and its
// chosen range follow every save and load.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "catalogues/user_catalogue.h"
#include "core/records.h"
#include "platform/save_failure.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace kvx {

struct TUserCatalogueContext {
  std::string* FileName = nullptr;  // empty: no catalogue
  std::vector<std::string>* Lines = nullptr;
  TOpenedFile* Read = nullptr;  // the file as Lines were last read or written
  tuserlist* Objects = nullptr;
  // Loads *FileName into Lines and Objects (messages shown when asked);
  // true when at least one object was built.
  std::function<bool(bool showMessages, const TUserCatalogueProgress& progress)> Load;
  // The settings changed (the catalogue is part of the configuration).
  std::function<void()> SettingsChanged;
};

class TdlgUsercat : public QDialog {
  Q_OBJECT

 public:
  explicit TdlgUsercat(TUserCatalogueContext context, QWidget* parent = nullptr);

  // Lines as shown, the file name and count labels, the refresh rule.
  void Refresh();
  void LoadCatalogue();
  void UseNoCatalogue();
  void AddItem();
  void DeleteItem();
  void SaveCatalogue();
  // Double click on row `row`: entry off or on again (never row 0).
  void ToggleRow(int row);

  QListWidget* List() const { return list_; }
  QLineEdit* Memo() const { return memo_; }
  QLineEdit* SearchEdit() const { return search_; }
  QLabel* FileLabel() const { return file_; }
  QLabel* CountLabel() const { return count_; }
  QProgressBar* Progress() const { return progress_; }

 private:
  void RowChanged(int row);
  void MemoEdited(const QString& text);
  void Search();
  std::vector<std::string> ShownLines() const;
  // Loads the named catalogue with messages; on failure the previous file
  // name comes back.
  void LoadNamed(const std::string& fileName);

  TUserCatalogueContext context_;
  QListWidget* list_;
  QLineEdit* memo_;
  QLineEdit* search_;
  QLabel* search_caption_;
  QLabel* status_;
  QLabel* file_;
  QLabel* count_;
  QProgressBar* progress_;
  bool copying_ = false;
};

// Runs the editor modally.
void ShowUserCatalogDialog(TUserCatalogueContext context, QWidget* parent = nullptr);

class TUserCatFind : public QDialog {
  Q_OBJECT

 public:
  explicit TUserCatFind(const tuserlist& objects, QWidget* parent = nullptr);

  QListWidget* List() const { return list_; }
  QLineEdit* SearchEdit() const { return search_; }
  QPushButton* OkButton() const { return ok_; }

 private:
  QListWidget* list_;
  QLineEdit* search_;
  QLabel* status_;
  QPushButton* ok_;
};

// Runs the picker on the names of `objects`: the chosen object's index, or
// -1 when cancelled, nothing is selected or the list is empty.
int FindUserCatalogObject(const tuserlist& objects, QWidget* parent = nullptr);

}  // namespace kvx
