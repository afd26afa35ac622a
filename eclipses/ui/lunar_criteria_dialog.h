// The criteria dialog of the lunar-eclipse calendar ("Suchkriterien" /
// "Criteria"): which eclipses to list (all, no penumbral ones, only total
// ones), whether the Moon must stand above a minimum altitude (whole
// degrees) on one of the eclipse's events, and the period searched, shown
// as a label that "&Ändern..." changes through the main window's period
// dialog.
#pragma once

#include <QDialog>

#include "eclipses/lunar_eclipse.h"
#include "eclipses/ui/criteria_boxes.h"
#include "platform/qt/widget_forward.h"

namespace kvx {

class TMoFiSuchkriterien : public QDialog {
  Q_OBJECT

 public:
  // `hooks` give the period label's text (asked again after a period
  // change) and open the period dialog (either may be empty).
  TMoFiSuchkriterien(const TLunarEclipseCriteria& criteria, TEclipsePeriodHooks hooks, QWidget* owner);

  const TLunarEclipseCriteria& Criteria() const { return criteria_; }
  void RefillPeriod();

 private:
  TLunarEclipseCriteria criteria_;
  TEclipsePeriodHooks hooks_;
  QButtonGroup* kinds_;
  QCheckBox* condition_;
  QSpinBox* altitude_;
  QLabel* period_;
};

// Shows the dialog modally on `criteria`; on OK copies the choices back.
// Returns 1 for OK and 2 for Cancel.
int ShowLunarEclipseCriteria(TLunarEclipseCriteria& criteria, const TEclipsePeriodHooks& hooks,
                             QWidget* owner = nullptr);

}  // namespace kvx
