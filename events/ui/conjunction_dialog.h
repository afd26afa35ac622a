// TKonjunktionsuchen: the dialog of the conjunction search (mode 0,
// "Konjunktionen suchen") and of the separation table (mode 1,
// "Winkelabstände berechnen"). It gathers the two objects, the kind of
// conjunction, step, repetitions and separation limit, runs
// TConjunctionSearchRun (events/conjunction_search.h) and lists what it
// found; the main window's objects, period and filter reach it through
// hooks, so the dialog knows nothing of the main window.
//
// Modal results: 1 "S&chließen", 2 "&Abbruch", 500 "Schließen und Datum
// weiterverwenden". "&Hilfe" runs the help hook and leaves the dialog open.
#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/records.h"
#include "eclipses/star_catalogue.h"
#include "events/conjunction_search.h"
#include "platform/qt/widget_forward.h"

namespace kvx {

inline constexpr int kConjunctionClose = 1;
inline constexpr int kConjunctionCancel = 2;
inline constexpr int kConjunctionUseDate = 500;

// What the dialog reads from the main window (again after each hook that
// may change it).
struct TConjunctionWindowState {
  TAsteroidElements Asteroid{};
  TCometElements Comet{};
  std::string AsteroidName, CometName;
  bool AsteroidAvailable = false;  // an asteroid is chosen from the element files
  // The asteroid of the binary database (used while "Keplerelemente
  // verwenden" is clear): its ".eel" file and its name; both empty when
  // none is chosen.
  std::string DatabaseAsteroidFile, DatabaseAsteroidName;
  bool CometAvailable = false;
  std::shared_ptr<const TStarCatalogue> Catalogue;  // null: none loaded
  const tuserlist* UserObjects = nullptr;
  TVisibilityFilter Filter;
  TObserverRecord Period;  // the date record: start of the ephemeris period
  TObserverRecord End;
  double TableStep = 1;  // days
};

struct TConjunctionDialogHooks {
  std::function<TConjunctionWindowState()> Read;
  // Loads the star catalogue when none is held; false (the loader's message
  // shown) when it cannot.
  std::function<bool()> EnsureStarCatalogue;
  std::function<void()> ChangePeriod;    // "Zeitraum ändern..."
  std::function<void()> ChangeAsteroid;  // "Planetoid ändern"
  std::function<void()> ChangeFilter;    // "Filter ändern..."
  // The user-catalogue picker: true with the chosen number (from 1). Empty
  // while the program has none: the button stays disabled.
  std::function<bool(std::int32_t& number)> PickUserObject;
  TConjunctionAnswerer Answerer;  // the event-found dialog
};

class TKonjunktionsuchen : public QDialog {
  Q_OBJECT

 public:
  // `run` holds the options, limit, flags, star and user numbers and the
  // start record on entry and keeps what the dialog changed.
  TKonjunktionsuchen(std::uint8_t mode, TConjunctionSearchRun& run, TConjunctionDialogHooks hooks,
                     QWidget* parent = nullptr);

  // The start button: "&Suchen" (mode 0), "&Berechnen" (mode 1), and
  // "&Berechnung anhalten" while a table is computed.
  void StartClick();
  // The star field's text changed.
  void StarTextChanged(const QString& text);
  // Leaving the separation-limit edit.
  bool LimitExit();
  // Checked radios into the options' object fields.
  void ReadObjects();

  QPushButton* StartButton() const { return start_; }
  QListWidget* Results() const { return results_; }
  QRadioButton* FirstRadio(int index) const;
  QRadioButton* SecondRadio(int index) const;
  QLabel* FilterLabel() const { return filter_label_; }
  QLabel* StarLabel() const { return star_name_; }
  QLineEdit* LimitEdit() const { return limit_; }
  QCheckBox* KeplerCheck() const { return kepler_; }
  QPushButton* HelpButton() const { return help_; }

 private:
  void Build();
  void Activate();
  void ReadWindow();
  void SetObjectRadios();
  void ShowFilterState();
  void RefreshList();
  void SetRunning(bool running);
  void CheckPlutoDate();
  void SetUserObjectState();
  // The asteroid of the chosen source (element files or database) into
  // the run: its name and, for the database, its file.
  void UseAsteroidSource();

  std::uint8_t mode_;
  TConjunctionSearchRun& run_;
  TConjunctionDialogHooks hooks_;
  TConjunctionWindowState window_;
  bool running_ = false;

  QButtonGroup* first_ = nullptr;
  QButtonGroup* second_ = nullptr;
  QButtonGroup* kind_ = nullptr;
  QLineEdit* step_ = nullptr;
  QLineEdit* repetitions_ = nullptr;
  QLineEdit* limit_ = nullptr;
  QLineEdit* star_text_ = nullptr;
  QLabel* star_name_ = nullptr;
  QLabel* user_name_ = nullptr;
  QLabel* filter_label_ = nullptr;
  QPushButton* user_button_ = nullptr;
  QCheckBox* table_ = nullptr;
  QCheckBox* period_ = nullptr;
  QCheckBox* topocentric_ = nullptr;
  QCheckBox* kepler_ = nullptr;
  QListWidget* results_ = nullptr;
  QPushButton* start_ = nullptr;
  QPushButton* use_date_ = nullptr;
  QPushButton* help_ = nullptr;
  QWidget* controls_ = nullptr;
};

}  // namespace kvx
