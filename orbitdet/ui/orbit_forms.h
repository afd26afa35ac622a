// The residuals form ("Residuen") and the observation selection dialog of
// the orbit determination, the Qt faces of ResidualsView and
// ObservationChooser.
//
// Lines: JD (UT, 5 decimals), RA as packed hh.mmsss and Dec as packed
// dd.mmsss (0.1 s), the residuals in arcseconds. State edits: AU and AU per
// Gaussian time unit, 7 decimals; element edits: J2000 ecliptic, degrees,
// 5 decimals. Only edits whose text the user changed are read back, so
// untouched values keep their full precision. Leaving a state edit stores
// it; leaving an element edit recomputes the state from all seven elements
// (StateFromElements) and refills the state edits.
#pragma once

#include <QDialog>
#include <vector>

#include "orbitdet/differential_correction.h"
#include "orbitdet/orbit_driver.h"
#include "platform/file_dialog.h"
#include "platform/qt/widget_forward.h"

namespace kvx {

class TFloatEdit;

// One line of an observation: "JD:  RA=...hms  |  Dec=..." (residuals when
// given, DA/DD in arcseconds).
std::string ObservationLine(double jd, double raHours, double decDegrees, const double* dra, const double* ddec);

// What the load and save buttons work on: the orbit-determination object
// (LoadStateVector and SaveStateVector write its vector and epoch), the
// main window's state-vector file name and the two file dialogs.
struct TStateVectorFiles {
  torbdet* OrbDet = nullptr;
  std::string* FileName = nullptr;
  FileDialogRequest Load, Save;
};

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
  // Load and save are enabled once these are given.
  void SetStateVectorFiles(const TStateVectorFiles& files);
  // Reads back the edits the user changed; false (message shown, old value
  // kept) when one is refused.
  bool CommitEdits();
  // The reduced form ("State vector aus Tabelle"): state, epoch, elements,
  // P and Q, save, OK and Cancel. Filled from `fill`; true when closed with
  // OK, `state` and `epoch` then holding the form's. The whole form is
  // shown again afterwards, captioned "Residuen".
  bool ShowStateVectorFromSheet(const TResidualsFill& fill, TStateVector& state, double& epoch);
  // The elements as the form holds them (the time element and the
  // perihelion time agree for parabolas and hyperbolas).
  const TOrbitElementRecord& Elements() const { return elements_; }
  QListWidget* Lines() const { return lines_; }
  QLabel* SizeLabel() const { return size_label_; }
  QLabel* TimeLabel() const { return time_label_; }
  QLabel* PLine() const { return p_line_; }
  QLabel* QLine() const { return q_line_; }

 private:
  struct TCaption {
    QWidget* Widget;
    const char* German;
    const char* English;
  };
  // Sets a text by LanguageEnglish and keeps it for ApplyLanguage.
  void Caption(QWidget* widget, const char* german, const char* english);
  void ApplyLanguage();
  void Finish(int result);
  void ShowElements();
  void ShowState();
  void SetReduced(bool reduced);
  void Refill(const TStateVector& state, double epoch);
  bool TakeStateEdit(int k);
  // Takes the number of `edit` (shown_[k]) into `value` when it changed and
  // `acceptable` holds for it; otherwise the message, and `value` comes back
  // with `decimals` decimals. False when refused.
  bool TakeNumberEdit(TFloatEdit* edit, int k, double& value, int decimals, bool (*acceptable)(double),
                      const char* german, const char* english);
  bool TakeEpochEdit();
  bool TakeRateEdit();
  bool TakeElementEdit(int k);
  TStateVector state_{};
  double epoch_ = 0;
  std::uint8_t method_ = 2;
  std::uint8_t topocentric_ = 1;
  double rate_ = 0.1;
  bool reload_ = false;
  bool reduced_ = false;
  TOrbitElementRecord elements_;
  TResidualsFill last_fill_;
  TStateVectorFiles files_;
  QListWidget* lines_;
  QLabel* rms_;
  QLabel* size_label_;
  QLabel* time_label_;
  QLabel* p_line_;
  QLabel* q_line_;
  QLabel* rate_label_;
  TFloatEdit* state_edits_[6];
  TFloatEdit* epoch_edit_;
  TFloatEdit* rate_edit_;
  TFloatEdit* element_edits_[7];
  QGroupBox* methods_;
  QRadioButton* method_buttons_[3];
  QCheckBox* topo_box_;
  std::vector<QPushButton*> run_buttons_;  // continue, reload, previous, close
  QPushButton* cancel_;
  QPushButton* ok_;
  QPushButton* load_;
  QPushButton* save_;
  QPushButton* help_;
  std::vector<TCaption> captions_;
  QString shown_[8];  // state edits, epoch, rate
  QString element_shown_[7];
};

class TSelectObservations : public QDialog, public ObservationChooser {
  Q_OBJECT
 public:
  explicit TSelectObservations(QWidget* parent = nullptr);
  bool Choose(std::vector<TChosenObservation>& chosen, const std::string& caption, const std::string& hint) override;
  // The list the dialog holds right now.
  const std::vector<TChosenObservation>& Current() const { return current_; }
  // "3", "4" and "5 Beobachtungen": the evenly spread pick, kept as the
  // last choice, closes the dialog with 1.
  QPushButton* PickButton(int n) const { return pick_[n - 3]; }
  QPushButton* RemoveButton() const { return remove_; }
  QPushButton* AllButton() const { return all_; }
  QPushButton* LastButton() const { return last_button_; }
  QListWidget* List() const { return list_; }
  QPushButton* CancelButton() const { return cancel_; }
  // OK: the list becomes the last choice; closes with 1.
  void accept() override;

 private:
  void SetCaptions();
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
  QPushButton* ok_;
  QPushButton* cancel_;
};

}  // namespace kvx
