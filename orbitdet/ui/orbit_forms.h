// The residuals form ("Residuen") and the observation selection dialog of
// the orbit determination, the Qt faces of ResidualsView and
// ObservationChooser.
//
// Lines: JD (UT, 5 decimals), RA as packed hh.mmsss and Dec as packed
// dd.mmsss (0.1 s), the residuals in arcseconds. State edits: AU and AU per
// Gaussian time unit, 7 decimals; only edits whose text the user changed
// are read back, so untouched values keep their full precision.
#pragma once

#include <QDialog>
#include <vector>

#include "orbitdet/differential_correction.h"
#include "orbitdet/orbit_driver.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace kvx {

class TFloatEdit;

// One line of an observation: "JD:  RA=...hms  |  Dec=..." (residuals when
// given, DA/DD in arcseconds).
std::string ObservationLine(double jd, double raHours, double decDegrees, const double* dra, const double* ddec);

class TResidualsForm : public QDialog, public ResidualsView {
  Q_OBJECT
 public:
  explicit TResidualsForm(QWidget* parent = nullptr);
  bool Fill(const TResidualsFill& fill, TOrbitElementRecord& elements) override;
  int ShowModal() override;
  TStateVector State() const override { return state_; }
  double Epoch() const override { return epoch_; }
  std::uint8_t Method() const override { return method_; }
  std::uint8_t Topocentric() const override { return topocentric_; }
  double ChangeRate() const override { return rate_; }
  bool ReloadRequested() const override { return reload_; }
  // Reads back the edits the user changed; false (message shown, old value
  // kept) when one is refused.
  bool CommitEdits();
  QListWidget* Lines() const { return lines_; }
  QLabel* SizeLabel() const { return size_label_; }
  QLabel* PLine() const { return p_line_; }
  QLabel* QLine() const { return q_line_; }

 private:
  void Finish(int result);
  void ShowElements();
  TStateVector state_{};
  double epoch_ = 0;
  std::uint8_t method_ = 2;
  std::uint8_t topocentric_ = 1;
  double rate_ = 0.1;
  bool reload_ = false;
  TOrbitElementRecord elements_;
  QListWidget* lines_;
  QLabel* rms_;
  QLabel* size_label_;
  QLabel* time_label_;
  QLabel* element_values_;
  QLabel* p_line_;
  QLabel* q_line_;
  TFloatEdit* state_edits_[6];
  TFloatEdit* epoch_edit_;
  TFloatEdit* rate_edit_;
  QRadioButton* method_buttons_[3];
  QCheckBox* topo_box_;
  QString shown_[8];
};

class TSelectObservations : public QDialog, public ObservationChooser {
  Q_OBJECT
 public:
  explicit TSelectObservations(QWidget* parent = nullptr);
  bool Choose(std::vector<TChosenObservation>& chosen, const std::string& caption, const std::string& hint) override;
  // The list the dialog holds right now.
  const std::vector<TChosenObservation>& Current() const { return current_; }
  QPushButton* PickButton(int n) const { return pick_[n - 3]; }
  QPushButton* RemoveButton() const { return remove_; }
  QPushButton* AllButton() const { return all_; }
  QPushButton* LastButton() const { return last_button_; }
  QListWidget* List() const { return list_; }
  void accept() override;

 private:
  void Pick(int n);
  void RemoveCurrent();
  void Refill();
  std::vector<TChosenObservation> all_records_, current_, last_;
  QLabel* hint_;
  QListWidget* list_;
  QPushButton* pick_[3];
  QPushButton* remove_;
  QPushButton* all_;
  QPushButton* last_button_;
};

}  // namespace kvx
