// Teinzelephform: the single-date page of one body. It shows the page
// model of tables/single_date_page.h in its boxes; it is made once and kept
// by the main window, and each call replaces what it shows.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "core/observer_record.h"
#include "engine/ephemeris_result.h"
#include "engine/kepler.h"
#include "platform/qt/widget_forward.h"
#include "tables/single_date_page.h"

namespace kvx {

class Teinzelephform : public QDialog {
  Q_OBJECT

 public:
  explicit Teinzelephform(QWidget* parent = nullptr);

  // Stores the record, kind, observer record and body object, sets the
  // caption and shows the page modally. `body` must stay alive until it
  // returns.
  void ShowSingleDateEphemeris(const TEphemerisResultRecord& result, TBodyIndex kind, const std::string& name,
                               TObserverRecord observer, const TKepler* body);
  // Fills every box from the stored items (run each time the page shows).
  void FormActivate();
  void HilfeClick();

  // Set by the main window before the page shows.
  TSingleDateContext Context;
  const TSingleDatePageModel& Model() const { return model_; }
  QGroupBox* BoxWidget(TSingleDateBoxId id) const { return boxes_[static_cast<std::size_t>(id)]; }

  // A hook the tests set to drive the page instead of exec; unset, the
  // page runs modally.
  static std::function<void(Teinzelephform&)>& Driver();

 private:
  TEphemerisResultRecord result_;
  TBodyIndex kind_ = 0;
  std::string name_;
  TObserverRecord observer_;
  const TKepler* body_ = nullptr;
  TSingleDatePageModel model_;
  QGroupBox* boxes_[kSingleDateBoxCount] = {};
  QGridLayout* layouts_[kSingleDateBoxCount] = {};
  QPushButton* ok_;
  QPushButton* help_;
};

}  // namespace kvx
