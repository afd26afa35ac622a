// The search criteria of the solar eclipse calendar: which eclipses to list
// (the criterion byte: 0 all, 1 all seen from the place, 2 annular or total
// only, 3 total only) and the period searched, which "Ändern..." lets the
// user change through the main window's period dialog.
#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>
#include <string>

#include "eclipses/ui/criteria_boxes.h"
#include "platform/qt/widget_forward.h"

namespace kvx {

// Modal results of the criteria dialogs.
inline constexpr int kCriteriaAccepted = 1;
inline constexpr int kCriteriaCancelled = 2;

class TSofiSuchkriteriendlg : public QDialog {
  Q_OBJECT

 public:
  TSofiSuchkriteriendlg(std::uint8_t criterion, TEclipsePeriodHooks hooks, QWidget* parent = nullptr);
  std::uint8_t Criterion() const { return criterion_; }
  void RefreshPeriod();

  QButtonGroup* RadioGroup1;
  QLabel* PeriodLabel;
  QPushButton* ChangeButton;

 private:
  std::uint8_t criterion_;
  TEclipsePeriodHooks hooks_;
};

// Runs the dialog on `criterion`; copies it back only on OK. Returns 1 (OK)
// or 2 (Cancel).
int ShowSolarEclipseCriteria(std::uint8_t& criterion, const TEclipsePeriodHooks& hooks, QWidget* parent = nullptr);

}  // namespace kvx
