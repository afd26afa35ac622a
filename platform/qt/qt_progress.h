// Progress reporting on a progress bar and a cancel button of the main
// window. The cancel button sets AbortRequested.
#pragma once

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "platform/progress.h"

namespace kvx {

class QtProgress : public ProgressReporter {
 public:
  QtProgress(QProgressBar* bar, QLabel* caption, QPushButton* cancel);
  void Begin(const std::string& caption, int steps) override;
  void Step(int position) override;
  void ProcessEvents() override;
  void SetLabel(const std::string& label) override;
  void End() override;
  bool Visible() const override;

 private:
  QProgressBar* bar_;
  QLabel* caption_;
  QPushButton* cancel_;
};

}  // namespace kvx
