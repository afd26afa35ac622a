// The two satellite dialogs: the selection of the element file, the current
// satellite, the epoch window and the twilight limit; and the visibility
// search with its 10-second steps (over tables/satellite_search.h).
#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>
#include <string>

#include "core/observer_record.h"
#include "platform/qt/widget_forward.h"
#include "tables/satellite_search.h"

namespace kvx {

class TSatellitenwahlform : public QDialog {
  Q_OBJECT

 public:
  explicit TSatellitenwahlform(QWidget* parent = nullptr);

  // The values edited; set before exec, read after it.
  std::int32_t Count = 0;
  std::int32_t EpochWindowDays = kDefaultEpochWindowDays;
  std::string FileName;
  std::uint8_t TwilightChoice = 0;
  bool FileLoaded = false;

  // Captions, list and controls from the values (the show handler).
  void Prepare();
  // Loads an element file as the open button does after its file dialog.
  void LoadFile(const std::string& path);
  void OpenFileClick();
  void OkClick();

  QListWidget* List() const { return list_; }
  QLineEdit* SearchEdit() const { return search_; }
  QLabel* SearchStatus() const { return status_; }
  QSpinBox* WindowSpin() const { return window_; }
  QComboBox* TwilightBox() const { return twilight_; }

 private:
  void FillList();
  QLabel* fileLabel_;
  QLabel* searchLabel_;
  QLabel* windowLabel_;
  QLabel* twilightLabel_;
  QLabel* status_;
  QPushButton* open_;
  QPushButton* ok_;
  QPushButton* cancel_;
  QPushButton* help_;
  QListWidget* list_;
  QLineEdit* search_;
  QSpinBox* window_;
  QComboBox* twilight_;
  QWidget* options_;
};

// Runs the selection dialog on the four values; true (and the values
// copied back) after OK or when a file was loaded.
bool ShowSatelliteSelectionDialog(std::int32_t& count, std::int32_t& epochWindowDays, std::string& fileName,
                                  std::uint8_t& twilightChoice);

class TSatellitensuche : public QDialog {
  Q_OBJECT

 public:
  explicit TSatellitensuche(QWidget* parent = nullptr);

  // The satellite list, the record saved and the first test.
  void Activate(std::int32_t count, const TObserverRecord& record, const TSatelliteSettings& settings);
  void SearchClick();
  void CancelSearchClick();
  void StepBackClick();
  void StepForwardClick();
  void SatelliteChanged(int index);
  // The result lines of the last test.
  void ShowResult();

  TSatelliteVisibilitySearch& Search() { return search_; }
  // The satellite of the found pass (1-based), 0 before a find.
  int ChosenSatellite() const { return chosen_; }
  QComboBox* SatelliteBox() const { return box_; }
  QLabel* Line(int i) const { return lines_[i]; }
  QLabel* Status() const { return status_; }
  QPushButton* SearchButton() const { return find_; }
  QPushButton* AbortButton() const { return abort_; }
  // The lines as one text (tests).
  QString ResultText() const;

  static constexpr int kLines = 9;

 private:
  void EnableControls(bool enable);
  TSatelliteVisibilitySearch search_;
  int chosen_ = 0;
  double azimuthOrigin_ = 0;
  bool filling_ = false;
  QComboBox* box_;
  QLabel* boxLabel_;
  QLabel* lines_[kLines];
  QLabel* status_;
  QPushButton* find_;
  QPushButton* abort_;
  QPushButton* back_;
  QPushButton* forward_;
  QPushButton* ok_;
  QPushButton* close_;
  QPushButton* help_;
};

// Runs the search dialog; on OK the (possibly advanced) record is copied
// back and the listed satellite made current. Returns the dialog result.
int ShowSatelliteVisibilityDialog(std::int32_t count, TObserverRecord& record, const TSatelliteSettings& settings);

// A hook the tests set to drive a dialog instead of exec (returns the
// result); unset, the dialogs run modally.
using TSatelliteDialogDriver = std::function<int(QDialog& dialog)>;
void SetSatelliteDialogDriver(TSatelliteDialogDriver driver);

}  // namespace kvx
