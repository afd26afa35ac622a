// The start-values dialog of the n-body integration ("Anfangsbedingungen"):
// names, heliocentric equatorial states (AU, AU/day) and inverse masses
// (solar mass / body mass, 0 = massless) of up to 14 bodies, the epoch and
// equinox (JD), the reduction to body 1, and the start-values file.
//
// The dialog edits a copy of the set-up and hands it back only on OK. An
// edit is read back only when its text was changed, so OK on untouched
// values keeps them to the last bit (the display shows 9 decimals).
#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <string>

#include "engine/nbody_setup.h"
#include "platform/qt/widget_forward.h"
#include "platform/save_failure.h"

namespace kvx {

class TFloatEdit;

class TRKAnfgFrm : public QDialog {
  Q_OBJECT

 public:
  // `read`: where the start values' file is kept as last read or written
  // (TOpenedFile; none: nothing kept), updated by Open and Save.
  TRKAnfgFrm(const std::string& fileName, const TIntegrationSetup& setup, bool hideReset, QWidget* owner = nullptr,
             TOpenedFile* read = nullptr);

  const TIntegrationSetup& Setup() const { return setup_; }
  const std::string& FileName() const { return file_name_; }

  // OK: reads the changed edits back and closes only when the set-up is
  // valid (each body named and with a non-zero 1/m or position, step not 0,
  // finite non-zero epoch and equinox, usable for a run, no two bodies at
  // one place); otherwise a beep and the message, and the dialog stays.
  void accept() override;

  // The handlers of the buttons (also for tests).
  void OpenFile();
  void SaveFile();
  void ResetToWorkingState();
  void SetEquinox(long double jd);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Row {
    QLineEdit* name;
    std::array<TFloatEdit*, 6> state;
    TFloatEdit* mass;
  };
  void BuildDisplay();
  void SetTexts();
  void ShowNumber(QLineEdit* edit, long double value, int decimals);
  // Reads a changed edit into `value`; false when its text is no finite
  // number (the value then stays).
  bool ReadNumber(QLineEdit* edit, long double& value) const;
  // The edits of rows 1..N, the epoch and equinox into setup_; false when
  // an edit holds no number.
  bool ReadBack();
  bool ValidForUse();
  void CountChanged(int count);
  void UpdateLabel();

  TIntegrationSetup setup_;
  std::string file_name_;
  TOpenedFile* read_;
  std::array<Row, kMaxIntegrationBodies> rows_{};
  TFloatEdit* epoch_;
  TFloatEdit* equinox_;
  QSpinBox* count_;
  QCheckBox* reduce_;
  QPushButton* reset_;
  QPushButton* cancel_;
  QLabel* file_label_;
  bool building_ = false;
};

// Runs the dialog on `setup` and `fileName`. On OK: the file name, start
// values, epoch, count, equinox, masses, names, working state and the
// reduction switch come back; the working JD becomes the start epoch and the
// centre body is kept within the count. Cancel changes nothing.
bool ShowStartValuesDialog(std::string& fileName, TOpenedFile& read, TIntegrationSetup& setup, bool hideReset,
                           QWidget* owner);

// The texts and filters of the file dialogs, shared with the main window's
// open and save commands.
std::string StartValuesOpenTitle();
std::string StartValuesSaveTitle();
std::string StartValuesFilter();
// The message for a file that is not a start-values file (stop icon).
void ShowNotStartValuesFileMessage();

}  // namespace kvx
