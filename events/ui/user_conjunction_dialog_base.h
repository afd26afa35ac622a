// TUserConjunctionDialog: what the two conjunction-list dialogs of user
// objects share (TKonjPlanStar, TKonjlistdlg): the separation limit, the
// step, the topocentric box, the kind of conjunction, the magnitude limit of
// user objects, the user-object range, the filter label, the result list
// with "Löschen" / "Entfernen", the status and counter labels and the
// user-object progress bar. The main window reaches it through hooks, so the
// dialog knows nothing of the main window.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "events/user_object_conjunctions.h"
#include "platform/qt/widget_forward.h"

namespace kvx {

struct TUserConjunctionDialogHooks {
  // The main window's options dialog; returns the filter afterwards.
  std::function<TVisibilityFilter()> ChangeFilter;
  // The range dialog on `names`: true with the chosen range (0-based).
  std::function<bool(TFileRange& range, const std::vector<std::string>& names)> SelectRange;
};

class TUserConjunctionDialog : public QDialog {
  Q_OBJECT

 public:
  TUserConjunctionDialog(TUserConjunctionSearch& run, TUserConjunctionDialogHooks hooks, QWidget* parent);

  // The handlers both dialogs share.
  bool Floatedit1Exit();            // the separation limit
  bool Edit300Exit();               // the step
  void ID150Click();                // topocentric
  bool FloatEdit2Exit();            // magnitude limit of user objects
  void RadioGroup2Click(int item);  // the kind of conjunction
  void Button2Click();              // the user-object range
  void FilterClick();               // "&Filter ändern..."
  void Button4Click();              // "Löschen"
  void Button5Click();              // "Entfernen"

  QLineEdit* LimitEdit() const { return limit_; }
  QLineEdit* StepEdit() const { return step_; }
  QLineEdit* UserMagnitudeEdit() const { return user_magnitude_; }
  QCheckBox* TopocentricBox() const { return topocentric_; }
  QButtonGroup* KindGroup() const { return kind_; }
  QListWidget* Results() const { return results_; }
  QLabel* FoundLabel() const { return found_; }
  QLabel* StatusLabel() const { return status_; }
  QLabel* FilterLabel() const { return filter_label_; }
  QLabel* UserRangeLabel() const { return user_range_; }
  QPushButton* FindButton() const { return find_; }

 protected:
  // Builds the shared controls; `extra` takes the dialog's own group boxes
  // and bars, placed left of the shared fields.
  void BuildShared(QBoxLayout* extra);
  // The shared part of FormShow.
  void ShowShared();
  void ShowFilterState();
  void ShowUserRange();
  // Around a search: the dialog disabled, the status labels shown, the
  // run's hooks connected to the labels and bars.
  void BeginSearch();
  void EndSearch();
  void RefreshList();
  virtual void Progress(const TUserConjunctionProgress& progress);
  // A magnitude edit: -3..30 or ShowImplausibleValues with the old value.
  static bool MagnitudeExit(QLineEdit* edit, double& limit);

  TUserConjunctionSearch& run_;
  TUserConjunctionDialogHooks hooks_;
  std::vector<std::string> UserNames() const;

  QWidget* controls_ = nullptr;
  QLineEdit* limit_ = nullptr;
  QLabel* limit_dms_ = nullptr;
  QLineEdit* step_ = nullptr;
  QCheckBox* topocentric_ = nullptr;
  QButtonGroup* kind_ = nullptr;
  QLineEdit* user_magnitude_ = nullptr;
  QGridLayout* magnitudes_ = nullptr;
  QLabel* user_range_ = nullptr;
  QGridLayout* ranges_ = nullptr;
  QLabel* filter_label_ = nullptr;
  QListWidget* results_ = nullptr;
  QLabel* found_ = nullptr;
  QLabel* status_ = nullptr;
  QLabel* object_label_ = nullptr;
  QProgressBar* object_bar_ = nullptr;
  QPushButton* find_ = nullptr;
};

}  // namespace kvx
