// The criteria dialog of the lunar-eclipse calendar ("Suchkriterien" /
// "Criteria"): which eclipses to list (all, no penumbral ones, only total
// ones), whether the Moon must stand above a minimum altitude (whole
// degrees) on one of the eclipse's events, and the period searched, shown
// as a label that "&Ändern..." changes through the main window's period
// dialog.
#pragma once

#include <QDialog>
#include <functional>

#include "core/observer_record.h"
#include "eclipses/lunar_eclipse.h"
#include "platform/qt/widget_forward.h"

namespace kvx {

class TMoFiSuchkriterien : public QDialog {
  Q_OBJECT

 public:
  // `start` and `end` are the main window's records, read again after a
  // period change; `changePeriod` opens the period dialog (may be empty).
  TMoFiSuchkriterien(const TLunarEclipseCriteria& criteria, const TObserverRecord& start, const TObserverRecord& end,
                     std::function<void()> changePeriod, QWidget* owner);

  const TLunarEclipseCriteria& Criteria() const { return criteria_; }
  // " bis " / " to " between the start date and the end's local date.
  void RefillPeriod();

 private:
  TLunarEclipseCriteria criteria_;
  const TObserverRecord& start_;
  const TObserverRecord& end_;
  std::function<void()> changePeriod_;
  QButtonGroup* kinds_;
  QCheckBox* condition_;
  QSpinBox* altitude_;
  QLabel* period_;
};

// Shows the dialog modally on `criteria`; on OK copies the choices back.
// Returns 1 for OK and 2 for Cancel.
int ShowLunarEclipseCriteria(TLunarEclipseCriteria& criteria, const TObserverRecord& start, const TObserverRecord& end,
                             std::function<void()> changePeriod, QWidget* owner = nullptr);

}  // namespace kvx
