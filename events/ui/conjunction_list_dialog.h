// TKonjlistdlg: "Liste mit Konjunktionen erzeugen" / "Multiple
// conjunctions". A range of user objects against a range of the asteroid
// list, of the comet list, or the asteroids selected from the asteroid
// database (radio group "Liste aller Konjunktionen mit"), over the main
// window's period (TUserObjectMinorBodyConjunctionRun). Three bars: user
// objects, asteroids or comets, and the whole run.
#pragma once

#include "events/ui/user_conjunction_dialog_base.h"
#include "platform/qt/widget_forward.h"

namespace kvx {

// What the dialog asks of the element lists and the database selection.
// Source: 0 asteroid list, 1 comet list, 2 database selection.
struct TMinorBodySources {
  std::function<void()> EnsureLists;  // loads the element lists not yet loaded
  std::function<std::vector<std::string>(int source)> Names;
  std::function<std::int32_t(int source)> Count;
  std::function<bool(int source, std::int32_t index, TMinorBodyEntry& entry)> At;
  // SelectAsteroidsFromDatabase on the main window's selection.
  std::function<void()> SelectDatabase;
};

class TKonjlistdlg : public TUserConjunctionDialog {
  Q_OBJECT

 public:
  // `asteroidRange` and `cometRange` are pairs 2 and 3 of the file ranges;
  // the flags choose the radio item (database before comets).
  TKonjlistdlg(TUserObjectMinorBodyConjunctionRun& run, TUserConjunctionDialogHooks hooks, TMinorBodySources sources,
               std::uint8_t databaseFlag, std::uint8_t cometFlag, QWidget* parent = nullptr);

  void FormShow();
  // "&Suchen"; false when nothing was searched.
  bool Button1Click();
  void Button3Click();  // asteroids: the database selection or the list range
  void Button6Click();  // comets: the list range
  void RadioGroup1Click(int item);
  bool FloatEdit3Exit();  // magnitude limit of asteroids and comets

  int Source() const;
  TFileRange AsteroidRange, CometRange;

  QButtonGroup* SourceGroup() const { return source_; }
  QLineEdit* MinorMagnitudeEdit() const { return minor_magnitude_; }
  QLabel* AsteroidRangeLabel() const { return asteroid_range_; }
  QLabel* CometRangeLabel() const { return comet_range_; }
  QProgressBar* MinorBar() const { return minor_bar_; }
  QProgressBar* TotalBar() const { return total_bar_; }

 protected:
  void Progress(const TUserConjunctionProgress& progress) override;

 private:
  void ShowMinorRanges();
  void PrepareRun();

  TUserObjectMinorBodyConjunctionRun& list_run_;
  TMinorBodySources sources_;
  QButtonGroup* source_ = nullptr;
  QLineEdit* minor_magnitude_ = nullptr;
  QLabel* asteroid_range_ = nullptr;
  QLabel* comet_range_ = nullptr;
  QLabel* minor_label_ = nullptr;
  QProgressBar* minor_bar_ = nullptr;
  QLabel* total_label_ = nullptr;
  QProgressBar* total_bar_ = nullptr;
};

}  // namespace kvx
