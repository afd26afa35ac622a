// The options of the orbit determination ("Vorgaben für die Bahnbestimmung"):
// the display options, the preferred method of the improvement, the JD at
// which the mean anomaly of the result is given (4 decimals) and the change
// rate of the improvement in percent (2 decimals, within (0, 100]).
#pragma once

#include <QDialog>

#include "orbitdet/observations.h"
#include "platform/qt/widget_forward.h"

namespace kvx {

class TFloatEdit;

class TOrbdetoptionenform : public QDialog {
  Q_OBJECT
 public:
  TOrbdetoptionenform(const TOrbDetOptions& options, double currentJd, QWidget* parent = nullptr);
  // The working copy; only edits whose text the user changed are read back,
  // so untouched values keep their full precision.
  const TOrbDetOptions& Options() const { return work_; }
  void accept() override;

 private:
  TOrbDetOptions work_;
  double current_jd_;
  QCheckBox* log_;
  QCheckBox* show_;
  QCheckBox* topo_;
  QRadioButton* method_[3];
  TFloatEdit* jd_;
  TFloatEdit* rate_;
  QString jd_shown_, rate_shown_;
};

// Shows the dialog; on OK the options are copied back. Returns the modal
// result (1 OK, 2 Cancel).
int ShowOrbDetOptionsDialog(TOrbDetOptions& options, double currentJd);

}  // namespace kvx
