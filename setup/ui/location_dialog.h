// The observer location dialog: a place chosen from the location file or
// typed, with zone, extra minutes, daylight saving, height, temperature,
// pressure and refraction. Kept for the whole run: the loaded file, the
// search settings and the chosen place survive between uses.
//
// Callers put longitude (east negative) and latitude into Record as packed
// D.MMSS; after OK they hold decimal degrees.
#pragma once

#include <QComboBox>
#include <QDialog>
#include <memory>
#include <optional>
#include <string>

#include "core/observer_record.h"
#include "platform/qt/widget_forward.h"
#include "setup/location_list.h"

namespace kvx {

class TFloatEdit;
class TIntegerEdit;

// A combo box showing the places of a location list; choosing an item
// makes it the list's current place.
class TLocationCombo : public QComboBox {
  Q_OBJECT

 public:
  explicit TLocationCombo(Orttabelle& list, QWidget* parent = nullptr);
  // Fills the items from the list (after a load).
  void Reload();
  // Shows the list's current item.
  void ShowCurrent();

 private:
  Orttabelle& list_;
  bool filling_ = false;
};

class TOrtwahldialog : public QDialog {
  Q_OBJECT

 public:
  explicit TOrtwahldialog(QWidget* parent = nullptr);
  ~TOrtwahldialog() override;

  TObserverRecord Record;        // working copy (see the header comment)
  std::string LocationFileName;  // loaded at the first show
  // Another location file (a loaded configuration's): read at once when the
  // dialog has been shown, else at its first show.
  void SetLocationFile(const std::string& fileName);
  // The file loaded when no other was named (the data folder's "orte.csv").
  static std::string& DefaultFileName();
  Orttabelle& List() { return list_; }
  QCheckBox* KeepUT() const { return keep_ut_; }
  bool ErrorFlag() const { return error_; }

 public slots:
  void accept() override;
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void SetCaptions();
  void ShowFileLabel();
  void ShowPlace();  // the fields from the list's current place
  // Reads a longitude or latitude from `edit` with `read`; accepted, it goes
  // to the list by `store` and back from it by `stored` into `recordField`,
  // and `degreesLabel` shows it in degrees.
  bool CheckAngle(QLineEdit* edit, QLabel* degreesLabel, bool (*read)(const std::string&, double&),
                  void (Orttabelle::*store)(const std::string&), double (Orttabelle::*stored)() const,
                  double& recordField);
  bool CheckLongitude();
  bool CheckLatitude();
  bool CheckHeight();
  bool CheckTemperature();
  bool CheckPressure();
  void Refused(QWidget* field);
  void OpenFile();

  Orttabelle list_;
  // The list and file of the showing's start, kept by the first file opened
  // in it: Cancel puts them back.
  std::unique_ptr<Orttabelle> kept_list_;
  std::string kept_file_;
  bool load_on_show_ = true;
  bool error_ = false;
  bool refreshing_ = false;
  TLocationCombo* combo_ = nullptr;
  QLineEdit* search_ = nullptr;
  QLineEdit* postcode_search_ = nullptr;
  QCheckBox* word_start_ = nullptr;
  QCheckBox* keep_ut_ = nullptr;
  QLineEdit* name_ = nullptr;
  QLineEdit* longitude_ = nullptr;
  QLineEdit* latitude_ = nullptr;
  QSpinBox* zone_ = nullptr;
  QLabel* zone_name_ = nullptr;
  QSpinBox* extra_minutes_ = nullptr;
  QCheckBox* daylight_ = nullptr;
  TIntegerEdit* height_ = nullptr;
  TFloatEdit* temperature_ = nullptr;
  TFloatEdit* pressure_ = nullptr;
  QCheckBox* refraction_ = nullptr;
  QLabel* latitude_degrees_ = nullptr;
  QLabel* longitude_degrees_ = nullptr;
  QLabel* postcode_ = nullptr;
  QLabel* file_label_ = nullptr;
  QPushButton* open_button_ = nullptr;
};

// The dialog kept for the run (created on first use).
TOrtwahldialog& LocationDialog();

// Runs the kept dialog on `observer` (Latitude and Longitude decimal degrees,
// handed to the dialog as packed D.MMSS) with its "Weltzeit beibehalten" box
// set from `keepUT`. After OK: the dialog's record (decimal degrees), and
// `keepUT` takes the box; after Cancel: nothing, `keepUT` as it was.
std::optional<TObserverRecord> ChooseLocation(const TObserverRecord& observer, bool& keepUT);

}  // namespace kvx
