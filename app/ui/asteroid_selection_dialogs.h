// Choosing asteroids of the binary asteroid database.
//
// TAsteroidenwahldlg ("Planetoiden auswählen" / "Select Asteroid"): any
// number of database files with two lists, the files not chosen and the
// chosen ones, kept between runs in "astsrc.txt" and "astdst.txt" of the
// data folder (saved whenever the dialog closes, however closed).
// TSelectAsteroidDlg ("Planetoid wählen" / "Select asteroid"): one database
// file with its covered period.
#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/observer_record.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kvx {

// What the dialogs work on: the main window's database folder and the list
// of its ".eel" files (full paths), the list-changed flag, the data folder
// with the two selection lists, and the observer record whose time zone the
// covered periods are shown in.
struct TAsteroidDatabaseContext {
  std::string* DatabaseFolder = nullptr;
  std::vector<std::string>* DatabaseFiles = nullptr;
  std::uint8_t* ListChanged = nullptr;
  std::string DataFolder;
  TObserverRecord Observer;
  // Called after the folder was searched again, true when files were found.
  std::function<void(bool)> EnableCommands;
};

class TAsteroidenwahldlg : public QDialog {
  Q_OBJECT

 public:
  explicit TAsteroidenwahldlg(TAsteroidDatabaseContext context, QWidget* parent = nullptr);

  // Activation: a changed database list reloads, otherwise the lists are
  // read from the selection files; the flag is cleared.
  void Activate();
  // Fills the lists from the selection files; with `check` every path whose
  // file has gone is removed.
  void LoadLists(bool check);
  void Reload();
  void ChangePath();
  void Include();
  void Exclude();

  QListWidget* SrcList() const { return src_; }
  QListWidget* DstList() const { return dst_; }
  QLineEdit* SrcSearch() const { return edit1_; }
  QLineEdit* DstSearch() const { return edit2_; }
  QLabel* SrcLabel() const { return label3_; }
  QLabel* DstLabel() const { return label4_; }
  QPushButton* IncludeButton() const { return include_; }
  QPushButton* ExcludeButton() const { return exclude_; }
  std::vector<std::string> Chosen() const;

  void done(int result) override;

 private:
  void Move(QListWidget* from, QListWidget* to);
  void UpdateButtons();
  void ShowPeriod(QListWidget* list, QLabel* label);
  void SaveLists();
  std::string ListPath(const char* name) const;

  TAsteroidDatabaseContext context_;
  QListWidget* src_;
  QListWidget* dst_;
  QLineEdit* edit1_;
  QLineEdit* edit2_;
  QLabel* label3_;
  QLabel* label4_;
  QLabel* status_;
  QPushButton* include_;
  QPushButton* exclude_;
};

// Runs the list dialog; on OK `result` receives the chosen files (full
// paths, in list order) and true is returned.
bool SelectAsteroidsFromDatabase(TAsteroidDatabaseContext context, std::vector<std::string>& result,
                                 QWidget* parent = nullptr);

class TSelectAsteroidDlg : public QDialog {
  Q_OBJECT

 public:
  TSelectAsteroidDlg(const std::string& folder, const std::vector<std::string>& files, const std::string& current,
                     const TObserverRecord& observer, QWidget* parent = nullptr);

  QListWidget* List() const { return list_; }
  QLineEdit* SearchEdit() const { return search_; }
  QLabel* PeriodLabel() const { return label2_; }
  QPushButton* OkButton() const { return ok_; }
  // The full path of the selected item, empty without a selection.
  std::string ChosenFile() const;

 private:
  void SelectionChanged();

  TObserverRecord observer_;
  QListWidget* list_;
  QLineEdit* search_;
  QLabel* label2_;
  QLabel* status_;
  QPushButton* ok_;
};

// Runs the single-file choice over `files` of the database folder; the
// chosen file's full path on OK (or a double click), otherwise empty.
std::string SelectAsteroidFile(const std::string& folder, const std::vector<std::string>& files,
                               const std::string& current, const TObserverRecord& observer, QWidget* parent = nullptr);

}  // namespace kvx
