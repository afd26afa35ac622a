// The world city search ("In weltweiter Ortsdatenbank suchen" / "Search in
// the worldwide database"): names searched with wildcards within their
// initial-letter group (setup/world_cities.h), browsing by record number,
// page and letter, and the chosen city's place, coordinates, zone, extra
// minutes and daylight-saving hours handed back. The zone comes from the
// system time zone database when "cities.zones" names one for the record,
// else from the longitude.
//
// Settings, section "CitiesDatabase": "Suchlaenge" (default 3: typed
// characters from which every match is listed), "Previewcount" (default 100:
// records per page), "Sofortsuche" (0 search while typing, 1 on Enter; any
// other value counts as 1).
#pragma once

#include <QDialog>
#include <atomic>
#include <string>
#include <vector>

#include "core/observer_record.h"
#include "platform/qt/widget_forward.h"
#include "setup/world_cities.h"

namespace kvx {

class TDlgCities : public QDialog {
  Q_OBJECT

 public:
  TDlgCities(const std::string& folder, const std::string& fileName, const TObserverRecord& record, bool keepUT,
             QWidget* owner);
  ~TDlgCities() override;

  const TObserverRecord& Record() const { return record_; }
  bool KeepUT() const;
  bool SearchEnabled() const { return indexValid_; }

  // The name search on the search edit's text.
  void Search();
  // Shows the page of records from `number` (clamped to 1 .. count).
  void ShowPage(std::int64_t number);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ChooseResult(int row);
  void AddResult(std::int64_t number);
  void ClearResults();
  void ReadRecordNumber();
  void UpdateCountLabel();

  TCityFile file_;
  TCityIndex index_{};
  bool indexValid_ = false;
  std::vector<std::string> zones_;
  TObserverRecord record_;
  std::vector<std::int64_t> results_;  // record numbers of the result list
  std::atomic<bool> stop_{false};
  bool busy_ = false;
  int fullSearchLength_ = 3;
  int previewCount_ = 100;

  QLineEdit* search_;
  QRadioButton* typingMode_;
  QRadioButton* enterMode_;
  QLabel* searching_;
  QPushButton* stopButton_;
  QSpinBox* fullLength_;
  QListWidget* results_List_;
  QLineEdit* findInResults_;
  QLabel* countLabel_;
  QLabel* nameLabel_;
  QLabel* latitudeLabel_;
  QLabel* longitudeLabel_;
  QSpinBox* zone_;
  QSpinBox* minutes_;
  QCheckBox* keepUT_;
  QLineEdit* recordNumber_;
  QScrollBar* scrollBar_;
  QSpinBox* pageSize_;
  QListWidget* letters_;
  QPushButton* ok_;
};

// The message of a missing "cities.ved" or "index.ved".
void ShowWorldCitiesMissing();

// Runs the search on `folder`/`fileName` and the index in the same folder.
// On OK sets the record's place, longitude, latitude, zone, extra minutes and
// daylight-saving hours and `keepUT`, and returns true. A missing record or
// index file: the message, false (the caller asks for the folder).
bool ShowWorldCitiesDialog(const std::string& folder, const std::string& fileName, TObserverRecord& record,
                           bool& keepUT, QWidget* owner = nullptr);

}  // namespace kvx
